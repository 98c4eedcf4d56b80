#pragma once

#include <QString>
#include <QStringList>

// What the options dialog shows when it opens: the picture folder of the layout chosen at
// start-up, its ordinary files in listing order, and the three settings it edits.
struct OptionsPage
{
    QString pictureFolder;
    QStringList files;
    QString resolutionText;
    QString desktopPicture;
    bool desktopRandom = true;
    bool readAloud = false;
};

// What the user left in the dialog when pressing OK.
struct OptionsChoice
{
    bool desktopRandom = true;
    // The selected entry; empty when none is selected.
    QString picture;
    // Why that file cannot be shown as a picture; empty when it can.
    QString pictureProblem;
    bool readAloud = false;
};

// What OK asks of the window: a new background (its path; empty keeps the one shown), then
// the messages to show, oldest first.
struct OptionsOutcome
{
    QString background;
    QStringList messages;
};

// The settings behind the options dialog; the dialog itself only shows and collects them.
class OptionsHost
{
public:
    virtual ~OptionsHost() = default;
    virtual OptionsPage optionsPage() const = 0;
    // Takes the choice into the settings and writes the settings file whole.
    virtual OptionsOutcome optionsConfirmed(const OptionsChoice &choice) = 0;
};
