#pragma once

#include <QString>

// The six persisted settings: the live copy while the program runs.
struct Settings
{
    float settingsVersion = 0.1f;
    bool companionChecked = false;
    bool shareCompanionFolders = true;
    bool readAloud = false;
    QString desktopPicture;
    bool desktopRandom = true;
};
