#pragma once

#include "common/TempProgramFolder.h"
#include "platform/text/AnsiText.h"
#include "worddata/LibraryHost.h"

#include <QStringList>
#include <algorithm>
#include <utility>
#include <vector>

// Library files as the companion writes them (quoted values, CR LF, code page 936).
namespace LibraryFixtures {

using Pair = std::pair<QString, QString>;

inline QByteArray records(QByteArray out, const std::vector<Pair> &pairs)
{
    for (const auto &[value, meaning] : pairs)
        out += '"' + AnsiText::encode(value) + "\",\"" + AnsiText::encode(meaning) + "\"\r\n";
    return out;
}

inline QByteArray wordFile(const std::vector<Pair> &pairs)
{
    return records(QByteArray::number(qsizetype(pairs.size())) + "\r\n", pairs);
}

// One group per entry; maxAssoc is the largest group unless given.
inline QByteArray associationFile(const std::vector<std::vector<Pair>> &groups, int maxAssoc = -1)
{
    const bool given = maxAssoc >= 0;
    maxAssoc = std::max(maxAssoc, 0);
    for (const auto &g : groups)
        maxAssoc = given ? maxAssoc : std::max(maxAssoc, int(g.size()));
    QByteArray out = QByteArray::number(maxAssoc) + "\r\n";
    for (const auto &g : groups)
        out = records(out + QByteArray::number(qsizetype(g.size())) + "\r\n", g);
    return out;
}

// Writes both files of a library into dataFolder's two library folders; a null QByteArray leaves
// that file out.
inline void writeLibrary(const QString &dataFolder, const QString &name, const QByteArray &words,
                         const QByteArray &associations)
{
    QDir(dataFolder).mkpath(QStringLiteral("词库"));
    QDir(dataFolder).mkpath(QStringLiteral("联想词库"));
    if (!words.isNull())
        writeFile(dataFolder + QStringLiteral("/词库/") + name + QStringLiteral(".qd"), words);
    if (!associations.isNull())
        writeFile(dataFolder + QStringLiteral("/联想词库/") + name + QStringLiteral(".the"), associations);
}

} // namespace LibraryFixtures

// Records every call, in order, as "reset", "opened:<name>", "none" or "message:<text>".
class FakeLibraryHost : public LibraryHost
{
public:
    void showMessage(const QString &text) override { calls << QStringLiteral("message:") + text; }
    void resetBoard() override { calls << QStringLiteral("reset"); }
    void libraryOpened(const QString &name) override { calls << QStringLiteral("opened:") + name; }
    void noLibraryOpen() override { calls << QStringLiteral("none"); }

    QStringList calls;
};
