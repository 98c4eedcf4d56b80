#pragma once

#include "worddata/LibraryHost.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// Library files as the companion writes them (quoted values, CR LF, code page 936).
namespace LibraryFixtures {

using Pair = std::pair<QString, QString>;

QByteArray wordFile(const std::vector<Pair> &records);
// One group per entry; maxAssoc is the largest group unless given.
QByteArray associationFile(const std::vector<std::vector<Pair>> &groups, int maxAssoc = -1);
// Writes both files of a library into dataFolder's two library folders; a null
// QByteArray leaves that file out.
void writeLibrary(const QString &dataFolder, const QString &name, const QByteArray &words,
                  const QByteArray &associations);

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
