#pragma once

#include "platform/speech/Speech.h"

#include <QString>
#include <memory>

// The program's speech, made for the platform. Loading an engine can take a while, so it
// starts only when start() is called (after the window's first frame); the latest few texts
// spoken before that are said once an engine is ready.
class SystemSpeech : public Speech
{
public:
    virtual void start() = 0;
};

// moduleFolder: where else to look for the engines, which load as a module where the
// platform has one (empty: beside the executable and in the installed library folder).
std::unique_ptr<SystemSpeech> makeSystemSpeech(const QString &moduleFolder = QString());
