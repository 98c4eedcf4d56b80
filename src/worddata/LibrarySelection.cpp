#include "worddata/LibrarySelection.h"

#include <QDir>
#include <QFileInfo>

const QString LibrarySelection::dialogTitle = QStringLiteral("选择词库");
const QString LibrarySelection::dialogFilter = QStringLiteral("Tesmar单词Graxo词库(*.qd)");

void LibrarySelection::mnuciku_Click(OpenLibrary &library, const QString &dataFolder, LibraryFileDialog &dialog,
                                     LibraryHost &host)
{
    const QString libraryFolder = QDir(dataFolder).filePath(QStringLiteral("词库"));
    if (!QFileInfo(libraryFolder).isDir())
        return;

    library.previousLibraryName = library.libraryName;
    const std::optional<QString> chosen =
        dialog.getOpenFileName(dialogTitle, dialogFilter, QDir::toNativeSeparators(libraryFolder));
    if (!chosen || chosen->size() < 3)
        return;

    // The last three characters go whatever they are: a name typed without ".qd" loses them too.
    library.libraryName = chosen->chopped(3);
    fenli(library.libraryName, library.libraryName);
    library.openwordfile(dataFolder, host);
}

void LibrarySelection::fenli(QString &ffile, QString &bfile)
{
    const QString s = ffile;
    const qsizetype p = qMax(s.lastIndexOf(QLatin1Char('\\')), s.lastIndexOf(QLatin1Char('/')));
    bfile = s.mid(p + 1);
}
