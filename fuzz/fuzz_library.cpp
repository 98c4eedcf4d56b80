// Both files of a library from one input: the word file, a NUL byte, the association
// file. Whatever the bytes, parsing either succeeds with consistent tables or fails with
// a reason, and the reader's record-at-a-time shortcut gives the values one at a time does.

#include "worddata/AssociationTable.h"
#include "worddata/SequentialReader.h"
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

void checkPairsAgree(QByteArrayView bytes)
{
    SequentialReader single(bytes);
    SequentialReader paired(bytes);
    QByteArrayView value;
    QByteArrayView first;
    QByteArrayView second;
    for (;;) {
        const int got = paired.nextPair(first, second);
        for (int k = 0; k < 2; ++k) {
            const bool more = single.next(value);
            check(more == (got > k));
            if (!more)
                return;
            const QByteArrayView expected = k == 0 ? first : second;
            check(value.data() == expected.data() && value.size() == expected.size());
            check(SequentialReader::valueAt(bytes, value.data() - bytes.data()) == value);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView input(data, qsizetype(size));
    const qsizetype cut = input.indexOf('\0');
    const QByteArray wordBytes = (cut < 0 ? input : input.first(cut)).toByteArray();
    const QByteArray associationBytes = cut < 0 ? QByteArray() : input.sliced(cut + 1).toByteArray();

    checkPairsAgree(input);

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
