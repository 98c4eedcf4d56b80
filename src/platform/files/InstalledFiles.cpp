#include "platform/files/InstalledFiles.h"

#include "platform/programs/ProgramName.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>

const QString InstalledFiles::helpFileName = programName() + QStringLiteral(".chm");
const QStringList InstalledFiles::names = {
    QStringLiteral("011.jpg"),   QStringLiteral("012.jpg"),   QStringLiteral("013.jpg"),
    QStringLiteral("vorn1.jpg"), QStringLiteral("vorn2.jpg"), QStringLiteral("vorn3.jpg"),
    QStringLiteral("词库"),      QStringLiteral("联想词库"),  helpFileName,
};

namespace {

bool isEmptyFolder(const QString &folder)
{
    return QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

// The copy carries the installed file's time, so that a changed installed file can be told.
bool copyWithTime(const QString &source, const QString &target)
{
    if (!QFile::copy(source, target))
        return false;
    QFile copy(target);
    // Installed files are read-only; the user's copies are theirs to change or delete.
    copy.setPermissions(copy.permissions() | QFileDevice::WriteOwner);
    return copy.open(QIODevice::ReadWrite) &&
           copy.setFileTime(QFileInfo(source).lastModified(), QFileDevice::FileModificationTime);
}

} // namespace

bool InstalledFiles::bringInto(const QString &installed, const QString &folder)
{
    const QFileInfo info(folder);
    if (!info.exists() || (info.isDir() && isEmptyFolder(folder)))
        return fillNew(installed, folder);
    return refreshHelp(installed, folder);
}

bool InstalledFiles::fillNew(const QString &installed, const QString &folder)
{
    if (QFileInfo(folder).isDir())
        return copyAll(installed, folder);
    const QString parent = QFileInfo(folder).absolutePath();
    if (!QDir().mkpath(parent))
        return false;
    QTemporaryDir staging(QDir(parent).filePath(QFileInfo(folder).fileName() + QStringLiteral(".new-XXXXXX")));
    if (!staging.isValid())
        return false;
    const bool complete = copyAll(installed, staging.path());
    // If another start made the folder meanwhile, that one wins.
    if (!QDir().rename(staging.path(), folder))
        return false;
    staging.setAutoRemove(false);
    return complete;
}

bool InstalledFiles::copyAll(const QString &installed, const QString &folder)
{
    bool complete = true;
    for (const QString &name : names) {
        const QString source = QDir(installed).filePath(name);
        const QString target = QDir(folder).filePath(name);
        const QFileInfo sourceInfo(source);
        if (sourceInfo.isDir())
            complete = copyTree(source, target) && complete;
        else if (sourceInfo.isFile())
            complete = copyWithTime(source, target) && complete;
    }
    return complete;
}

bool InstalledFiles::copyTree(const QString &source, const QString &target)
{
    if (!QDir().mkpath(target))
        return false;
    bool complete = true;
    QDirIterator it(source, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QString copy = QDir(target).filePath(QDir(source).relativeFilePath(it.filePath()));
        if (it.fileInfo().isDir())
            complete = QDir().mkpath(copy) && complete;
        else
            complete = copyWithTime(it.filePath(), copy) && complete;
    }
    return complete;
}

bool InstalledFiles::refreshHelp(const QString &installed, const QString &folder)
{
    const QFileInfo source(QDir(installed).filePath(helpFileName));
    const QFileInfo copy(QDir(folder).filePath(helpFileName));
    if (!source.isFile())
        return true;
    // Some file systems keep times to two seconds only.
    if (copy.isFile() && copy.size() == source.size() &&
        std::abs(copy.lastModified().msecsTo(source.lastModified())) < 2000)
        return true;
    // The help file is the program's, not the user's: an updated installation replaces it.
    const QString fresh = copy.filePath() + QStringLiteral(".new");
    QFile::remove(fresh);
    if (!copyWithTime(source.filePath(), fresh))
        return false;
    QFile::remove(copy.filePath());
    return QFile::rename(fresh, copy.filePath());
}
