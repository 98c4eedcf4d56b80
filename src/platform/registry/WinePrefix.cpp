#include "platform/registry/WinePrefix.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

WinePrefix WinePrefix::fromEnvironment()
{
    const QString configured = qEnvironmentVariable("WINEPREFIX");
    if (!configured.isEmpty())
        return WinePrefix(configured);
    return WinePrefix(QDir::home().filePath(QStringLiteral(".wine")));
}

QString WinePrefix::systemRegistryFile() const
{
    return QDir(folder_).filePath(QStringLiteral("system.reg"));
}

namespace {

QString matchingEntry(const QString &folder, const QString &name)
{
    if (QFileInfo::exists(folder + u'/' + name))
        return name;
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
}

} // namespace

QString WinePrefix::unixPath(const QString &windowsPath) const
{
    if (windowsPath.size() < 2 || windowsPath[1] != u':' || !windowsPath[0].isLetter() ||
        windowsPath[0].unicode() > 0x7f)
        return {};
    const QDir devices(QDir(folder_).filePath(QStringLiteral("dosdevices")));
    QString root;
    for (const QString &drive : {windowsPath.left(2).toLower(), windowsPath.left(2).toUpper()}) {
        root = QFileInfo(devices.filePath(drive)).canonicalFilePath();
        if (!root.isEmpty())
            break;
    }
    if (root.isEmpty())
        return {};

    // Windows resolves "." and ".." by name, never above the drive's root.
    QStringList names;
    const QStringList parts =
        windowsPath.mid(2).split(QRegularExpression(QStringLiteral("[\\\\/]")), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part == u".")
            continue;
        if (part == u"..") {
            if (!names.isEmpty())
                names.removeLast();
            continue;
        }
        names.append(part);
    }
    QString path = root;
    for (const QString &name : names) {
        const QString base = path;
        if (!path.endsWith(u'/'))
            path += u'/';
        path += matchingEntry(base, name);
    }
    return path;
}
