#pragma once

#include "platform/speech/SpeechBackend.h"

#include <QAudioDevice>
#include <QThread>

class FliteSynthesizer;
class QAudioSink;

// Speech without a service: flite synthesises each word in a thread of its own and the
// samples play from memory through the default audio output. A new word cuts off the one
// playing.
class FliteSpeech : public SpeechBackend
{
    Q_OBJECT
public:
    explicit FliteSpeech(QObject *parent = nullptr);
    ~FliteSpeech() override;

    QString name() const override { return QStringLiteral("flite"); }
    void open() override;
    void say(const QStringList &texts) override;
    void prepare(const QStringList &texts) override;

private:
    void play(quint64 id, const QByteArray &pcm, int sampleRate);
    void stopPlaying();

    QThread thread_;
    FliteSynthesizer *synthesizer_ = nullptr;
    QAudioDevice device_;
    QAudioSink *sink_ = nullptr;
    quint64 latest_ = 0;
    bool broken_ = false;
};
