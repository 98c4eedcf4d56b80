#pragma once

#include "platform/speech/SpeechBackend.h"

struct ISpVoice;

// Windows' own speech engine, SAPI 5, through its voice object. Speaking is asynchronous: the
// engine speaks on a thread of its own, and each new word purges the one before, so the pointer
// never waits for a word.
class SapiSpeech : public SpeechBackend
{
    Q_OBJECT
public:
    explicit SapiSpeech(QObject *parent = nullptr);
    ~SapiSpeech() override;

    QString name() const override { return QStringLiteral("SAPI 5"); }
    void open() override;
    void say(const QStringList &texts) override;

private:
    ISpVoice *voice_ = nullptr;
    bool comInitialized_ = false;
};
