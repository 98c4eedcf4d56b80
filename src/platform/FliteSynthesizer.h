#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <atomic>

// Turns English texts into 16-bit mono samples with flite's built-in US English voice. It is
// meant to live in a thread of its own: a request that a newer one overtook before its turn
// is skipped, so hovering quickly never builds up a backlog.
class FliteSynthesizer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Any thread: makes this the request to work on next.
    void request(quint64 id, const QStringList &texts);

    struct Samples
    {
        QByteArray pcm; // signed 16-bit, native byte order, one channel
        int sampleRate = 0;
    };
    // Synthesises on the calling thread; the texts follow one another after a short pause.
    static Samples synthesize(const QStringList &texts);

signals:
    void synthesized(quint64 id, const QByteArray &pcm, int sampleRate);

private:
    void work(quint64 id, const QStringList &texts);

    std::atomic<quint64> latest_{0};
};
