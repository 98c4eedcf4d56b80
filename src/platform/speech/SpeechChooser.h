#pragma once

#include "platform/speech/SpeechBackend.h"
#include "platform/speech/SystemSpeech.h"

#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

// Speaks through the first of several engines that answers. Engines are tried only once the
// chooser is started and there is something to say; each candidate is made only when its
// turn comes and must answer within a bounded time; one that stops working later hands
// over to the next. The log says once which engine speaks and why others were passed over.
// When none can speak, speech is silent.
class SpeechChooser : public QObject, public SystemSpeech
{
    Q_OBJECT
public:
    using Factory = std::function<std::unique_ptr<SpeechBackend>()>;

    // Texts kept while no engine is ready; only the latest few matter to a listener.
    static constexpr int kMaxPending = 4;

    explicit SpeechChooser(std::vector<Factory> candidates,
                           std::chrono::milliseconds answerTime = std::chrono::seconds(5), QObject *parent = nullptr);
    ~SpeechChooser() override;

    void start() override;
    void speak(const QString &text) override;
    void prepare(const QStringList &texts) override;

    // The engine that speaks; empty while choosing and when none can.
    QString engine() const;
    // Why nothing is heard once every engine was passed over; empty otherwise.
    QString problem() const { return problem_; }

private:
    void openWhenNeeded();
    void tryNext();
    void onReady(SpeechBackend *backend);
    void onUnavailable(SpeechBackend *backend, const QString &why);
    void dropCurrent();

    std::vector<Factory> candidates_;
    std::size_t next_ = 0;
    SpeechBackend *current_ = nullptr;
    bool currentReady_ = false;
    bool started_ = false;
    bool opened_ = false;
    QStringList pending_;
    QStringList passedOver_;
    QString problem_;
    QTimer answerTimer_;
};
