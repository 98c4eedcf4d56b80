#include "common/LibraryFixtures.h"

#include "common/TempProgramFolder.h"
#include "platform/text/AnsiText.h"

#include <algorithm>

namespace LibraryFixtures {

namespace {

void appendPair(QByteArray &out, const Pair &pair)
{
    out += '"' + AnsiText::encode(pair.first) + "\",\"" + AnsiText::encode(pair.second) + "\"\r\n";
}

} // namespace

QByteArray wordFile(const std::vector<Pair> &records)
{
    QByteArray out = QByteArray::number(qsizetype(records.size())) + "\r\n";
    for (const Pair &r : records)
        appendPair(out, r);
    return out;
}

QByteArray associationFile(const std::vector<std::vector<Pair>> &groups, int maxAssoc)
{
    if (maxAssoc < 0) {
        maxAssoc = 0;
        for (const auto &g : groups)
            maxAssoc = std::max(maxAssoc, int(g.size()));
    }
    QByteArray out = QByteArray::number(maxAssoc) + "\r\n";
    for (const auto &g : groups) {
        out += QByteArray::number(qsizetype(g.size())) + "\r\n";
        for (const Pair &p : g)
            appendPair(out, p);
    }
    return out;
}

void writeLibrary(const QString &dataFolder, const QString &name, const QByteArray &words,
                  const QByteArray &associations)
{
    const QDir data(dataFolder);
    data.mkpath(QStringLiteral("词库"));
    data.mkpath(QStringLiteral("联想词库"));
    if (!words.isNull())
        writeFile(data.filePath(QStringLiteral("词库/") + name + QStringLiteral(".qd")), words);
    if (!associations.isNull())
        writeFile(data.filePath(QStringLiteral("联想词库/") + name + QStringLiteral(".the")), associations);
}

} // namespace LibraryFixtures
