// The readers of a user's word list and of the word tables file: any bytes give a list whose
// slices lie in its text, or a reason; a table that opens answers every look-up inside itself.
// The first byte chooses which reader gets the rest.

#include "wordlist/WordList.h"
#include "wordlist/WordTables.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

void readList(QByteArrayView bytes)
{
    QString problem;
    const std::optional<WordList> list = WordList::read(bytes, problem);
    check(list.has_value() == problem.isEmpty());
    if (!list)
        return;
    check(list->entries().size() <= WordList::maxWords);
    for (const WordList::Entry &e : list->entries()) {
        check(!list->word(e).isEmpty() && list->word(e).size() <= WordList::maxLineBytes);
        check(list->meaning(e).size() <= WordList::maxLineBytes);
    }
}

void readTables(QByteArrayView bytes)
{
    WordTables tables;
    QString problem;
    if (!tables.load(bytes.toByteArray(), problem))
        return;
    for (quint32 i = 0; i < tables.size(); ++i) {
        const QByteArray key = tables.spelling(i).toByteArray().toLower();
        const quint32 found = tables.find(key);
        check(found == WordSource::none || found < tables.size());
        const quint32 base = tables.findForm(key + "s");
        check(base == WordSource::none || base < tables.size());
        tables.phonetic(QString::fromLatin1(key));
        tables.phonetic(QString::fromLatin1(key + "ed"));
        tables.meaning(i);
        tables.isCommon(i);
        for (const quint32 r : tables.related(i))
            check(r < tables.size());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArrayView rest(data + 1, qsizetype(size - 1));
    if (data[0] & 1)
        readTables(rest);
    else
        readList(rest);
    return 0;
}
