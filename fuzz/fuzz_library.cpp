// Both files of a library from one input: the word file, a NUL byte, the association
// file. Whatever the bytes, parsing either succeeds with consistent tables or fails with
// a reason.

#include "worddata/AssociationTable.h"
#include "worddata/WordLibrary.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(data, qsizetype(size));
    const qsizetype cut = input.indexOf('\0');
    const QByteArray wordBytes = (cut < 0 ? input : input.first(cut)).toByteArray();
    const QByteArray associationBytes = cut < 0 ? QByteArray() : input.sliced(cut + 1).toByteArray();

    WordLibrary words;
    QString problem;
    if (!WordLibrary::parse(wordBytes, words, problem)) {
        check(!problem.isEmpty() && words.wordCount() == 0);
        return 0;
    }
    const int count = words.wordCount();
    check(count >= 0 && count <= WordLibrary::maxWordCount);
    check(words.words(0).isEmpty() && words.words(count + 1).isEmpty() && words.meanings(count + 1).isEmpty());
    for (int i = 1; i <= count; ++i) {
        const QString word = words.words(i);
        words.meanings(i);
        const int found = words.find(word);
        check(found == 0 || words.words(found) == word);
        // Type-ahead on the first letters: valid, distinct offers that begin with them.
        const QString typed = word.first(std::min<qsizetype>(word.size(), 1 + i % 3));
        const QList<int> offers = words.completions(typed);
        check(offers.size() <= PrefixIndex::maxCompletions);
        for (qsizetype k = 0; k < offers.size(); ++k) {
            check(offers[k] >= 1 && offers[k] <= count && !offers.first(k).contains(offers[k]));
            check(words.words(offers[k]).startsWith(typed, Qt::CaseInsensitive));
        }
    }

    AssociationTable associations;
    if (!AssociationTable::parse(associationBytes, qint16(count), associations, problem)) {
        check(!problem.isEmpty() && associations.assocCounts(1) == 0);
        return 0;
    }
    check(associations.maxAssoc() >= 0 && associations.assocCounts(0) == 0 && associations.assocCounts(count + 1) == 0);
    for (int i = 1; i <= count; ++i) {
        const int n = associations.assocCounts(i);
        check(n >= 0 && n <= associations.maxAssoc());
        for (int k = 0; k <= n + 1; ++k) {
            const QString word = associations.assocWords(i, k);
            const QString meaning = associations.assocMeanings(i, k);
            check(k >= 1 && k <= n ? true : word.isEmpty() && meaning.isEmpty());
        }
    }
    return 0;
}
