#include "platform/files/ProgramFolder.h"

#include "platform/files/InstalledFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace ProgramFolder {

Choice choose(const Places &places, const WritableTest &writable)
{
    // Settings never go into a bin/ folder, not even one that root could write.
    if (!places.systemInstalledFiles.isEmpty() && QFileInfo(places.systemInstalledFiles).isDir())
        return {places.userFolder, places.systemInstalledFiles};
    if (writable(places.executableFolder))
        return {places.executableFolder, QString()};
    return {places.userFolder, places.executableFolder};
}

bool isWritable(const QString &folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".dorrit-write-test-XXXXXX")));
    return probe.open();
}

Places systemPlaces()
{
    Places places;
    places.executableFolder = QCoreApplication::applicationDirPath();
#ifdef DORRIT_INSTALLED_FILES
    // Set by the build: the system layout's data folder relative to its bin/ folder.
    places.systemInstalledFiles =
        QDir::cleanPath(QDir(places.executableFolder).filePath(QStringLiteral(DORRIT_INSTALLED_FILES)));
#endif
    places.userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return places;
}

QString path()
{
    const Choice choice = choose(systemPlaces(), isWritable);
    if (!choice.installedFiles.isEmpty())
        InstalledFiles::bringInto(choice.installedFiles, choice.folder);
    return choice.folder;
}

bool makeCurrent(const QString &folder)
{
    return !folder.isEmpty() && QDir::setCurrent(folder);
}

} // namespace ProgramFolder
