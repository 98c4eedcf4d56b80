#pragma once

#include <QString>

// The six persisted settings: the live copy while the program runs. The initial values here
// are the defaults, the only place they are given.
struct Settings
{
    float settingsVersion = 0.1f;
    bool companionChecked = false;
    bool shareCompanionFolders = true;
    bool readAloud = false;
    QString desktopPicture;
    bool desktopRandom = true;

    // The picture a newly created settings file names.
    static QString firstPicture() { return QStringLiteral("01.jpg"); }

    // Start-up's defaults before the file is read: the four flags; the version and the picture
    // keep what they hold.
    void setDefaults()
    {
        const Settings d;
        readAloud = d.readAloud;
        desktopRandom = d.desktopRandom;
        companionChecked = d.companionChecked;
        shareCompanionFolders = d.shareCompanionFolders;
    }
};
