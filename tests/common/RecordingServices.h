#pragma once

#include "platform/HelpDisplay.h"
#include "platform/MessageSink.h"
#include "platform/Speech.h"

#include <QList>
#include <QStringList>

// Fakes for the window's outside services: they record what the program asked for.
class RecordingSpeech : public Speech
{
public:
    void speak(const QString &text) override { spoken.append(text); }
    void prepare(const QStringList &texts) override { prepared = texts; }
    QStringList spoken;
    QStringList prepared;
};

class RecordingMessages : public MessageSink
{
public:
    void showMessage(const QString &text) override { shown.append(text); }
    QStringList shown;
};

class RecordingHelp : public HelpDisplay
{
public:
    void displayTopic(const QString &helpFile, quintptr ownerWindow) override
    {
        shown.append(helpFile);
        owners.append(ownerWindow);
    }
    QStringList shown;
    QList<quintptr> owners;
};
