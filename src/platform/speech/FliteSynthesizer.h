#pragma once

#include <QByteArray>
#include <QCache>
#include <QObject>
#include <QStringList>

#include <atomic>

// Turns English texts into 16-bit mono samples with flite's built-in US English voice. It is
// meant to live in a thread of its own: a request that a newer one overtook before its turn
// is skipped, so hovering quickly never builds up a backlog, and the words said last are kept
// so that hovering over the same ring again needs no synthesis.
class FliteSynthesizer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Any thread: makes this the request to work on next.
    void request(quint64 id, const QStringList &texts);
    // Any thread: synthesises these texts into the kept words, one at a time and only while
    // no request waits; replaces the texts of an earlier call not yet done.
    void prepare(const QStringList &texts);

    struct Samples
    {
        QByteArray pcm; // signed 16-bit, native byte order, one channel
        int sampleRate = 0;
    };
    // Synthesise on the calling thread, from the first audible sample to the last.
    static Samples synthesize(const QString &text);

signals:
    void synthesized(quint64 id, const QByteArray &pcm, int sampleRate);

private:
    void work(quint64 id, const QStringList &texts);
    void prepareNext();
    const Samples &word(const QString &text);
    static Samples join(const QList<Samples> &words);

    std::atomic<quint64> latest_{0};
    // Only touched in the synthesizer's own thread.
    QCache<QString, Samples> recent_{64};
    QStringList toPrepare_;
};
