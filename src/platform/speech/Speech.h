#pragma once

#include <QString>
#include <QStringList>

// Says a short English text aloud. A missing engine or audio device is silent.
class Speech
{
public:
    virtual ~Speech() = default;
    virtual void speak(const QString &text) = 0;
    // Texts likely to be spoken soon (the ring on show), so that an engine that synthesises
    // them itself can have them ready; the latest call replaces earlier ones. Never starts an
    // engine; without one ready it does nothing.
    virtual void prepare(const QStringList &texts) { Q_UNUSED(texts) }
};
