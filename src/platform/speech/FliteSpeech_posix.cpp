#include "platform/speech/FliteSpeech.h"

#include "platform/speech/FliteSynthesizer.h"

#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

FliteSpeech::FliteSpeech(QObject *parent)
    : SpeechBackend(parent)
{}

FliteSpeech::~FliteSpeech()
{
    stopPlaying();
    thread_.quit();
    thread_.wait();
    delete synthesizer_;
}

void FliteSpeech::open()
{
    device_ = QMediaDevices::defaultAudioOutput();
    if (device_.isNull()) {
        emit unavailable(QStringLiteral("no audio output device"));
        return;
    }
    synthesizer_ = new FliteSynthesizer;
    synthesizer_->moveToThread(&thread_);
    connect(synthesizer_, &FliteSynthesizer::synthesized, this, &FliteSpeech::play);
    thread_.setObjectName(QStringLiteral("flite"));
    thread_.start();
    emit ready();
}

void FliteSpeech::say(const QStringList &texts)
{
    if (!synthesizer_ || broken_)
        return;
    stopPlaying();
    synthesizer_->request(++latest_, texts);
}

void FliteSpeech::prepare(const QStringList &texts)
{
    if (synthesizer_ && !broken_)
        synthesizer_->prepare(texts);
}

void FliteSpeech::play(quint64 id, const QByteArray &pcm, int sampleRate)
{
    if (id != latest_ || broken_ || pcm.isEmpty())
        return;
    stopPlaying();
    QAudioFormat format;
    format.setSampleRate(sampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    sink_ = new QAudioSink(device_, format, this);
    auto *samples = new QBuffer(sink_);
    samples->setData(pcm);
    samples->open(QIODevice::ReadOnly);
    QAudioSink *sink = sink_;
    connect(sink, &QAudioSink::stateChanged, this, [this, sink](QAudio::State state) {
        // Stopping from inside the sink's own signal is not safe; it ends on the next turn.
        if (state == QAudio::IdleState)
            QMetaObject::invokeMethod(
                this,
                [this, sink] {
                    if (sink == sink_)
                        stopPlaying();
                },
                Qt::QueuedConnection);
    });
    // Pulled from memory: the sink takes what the sound server asks for, however short the word.
    sink->start(samples);
    if (sink->error() == QAudio::OpenError || sink->error() == QAudio::FatalError) {
        broken_ = true;
        stopPlaying();
        emit unavailable(QStringLiteral("the audio output \"%1\" cannot be opened").arg(device_.description()));
    }
}

void FliteSpeech::stopPlaying()
{
    if (!sink_)
        return;
    QAudioSink *sink = std::exchange(sink_, nullptr);
    sink->disconnect(this);
    sink->stop();
    sink->deleteLater();
}
