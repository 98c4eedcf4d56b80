#pragma once

#include <QString>

// Says a short English text aloud. A missing engine or audio device is silent.
class Speech
{
public:
    virtual ~Speech() = default;
    virtual void speak(const QString &text) = 0;
};
