#pragma once

#include <QString>

// A Wine prefix: the folder that holds a Windows installation's registry files and its
// drive links (dosdevices/c: -> ../drive_c).
class WinePrefix
{
public:
    explicit WinePrefix(QString folder)
        : folder_(std::move(folder))
    {}

    // $WINEPREFIX, else ~/.wine.
    static WinePrefix fromEnvironment();

    QString folder() const { return folder_; }
    QString systemRegistryFile() const;

    // The Linux path of a Windows path "X:\..." through the drive link of X (letters in any
    // case). Each name is matched case-insensitively against what exists, as Wine does; a
    // name that does not exist is kept as written. Empty for a path without a drive letter
    // or with a drive that has no working link.
    QString unixPath(const QString &windowsPath) const;

private:
    QString folder_;
};
