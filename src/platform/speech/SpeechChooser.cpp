#include "platform/speech/SpeechChooser.h"

#include <QDebug>

SpeechChooser::SpeechChooser(std::vector<Factory> candidates, std::chrono::milliseconds answerTime, QObject *parent)
    : QObject(parent)
    , candidates_(std::move(candidates))
{
    answerTimer_.setSingleShot(true);
    answerTimer_.setInterval(answerTime);
    connect(&answerTimer_, &QTimer::timeout, this, [this] {
        if (current_ && !currentReady_)
            onUnavailable(current_, QStringLiteral("no answer within %1 ms").arg(answerTimer_.interval()));
    });
}

SpeechChooser::~SpeechChooser() = default;

QString SpeechChooser::engine() const
{
    return current_ && currentReady_ ? current_->name() : QString();
}

void SpeechChooser::start()
{
    started_ = true;
    openWhenNeeded();
}

// With reading aloud off nothing is ever said, and no engine or service is started for it.
void SpeechChooser::openWhenNeeded()
{
    if (started_ && !opened_ && !pending_.isEmpty()) {
        opened_ = true;
        tryNext();
    }
}

void SpeechChooser::speak(const QString &text)
{
    if (text.isEmpty() || !problem_.isEmpty())
        return;
    if (current_ && currentReady_) {
        current_->say({text});
        return;
    }
    if (pending_.size() >= kMaxPending)
        pending_.removeFirst();
    pending_.append(text);
    openWhenNeeded();
}

void SpeechChooser::prepare(const QStringList &texts)
{
    if (current_ && currentReady_)
        current_->prepare(texts);
}

void SpeechChooser::tryNext()
{
    while (next_ < candidates_.size()) {
        std::unique_ptr<SpeechBackend> made = candidates_[next_++]();
        if (!made)
            continue;
        current_ = made.release();
        current_->setParent(this);
        currentReady_ = false;
        SpeechBackend *backend = current_;
        connect(backend, &SpeechBackend::ready, this, [this, backend] { onReady(backend); });
        connect(backend, &SpeechBackend::unavailable, this,
                [this, backend](const QString &why) { onUnavailable(backend, why); });
        answerTimer_.start();
        backend->open();
        return;
    }
    problem_ =
        passedOver_.isEmpty() ? QStringLiteral("no speech engine is built in") : passedOver_.join(QLatin1String("; "));
    pending_.clear();
    qWarning().noquote() << "Reading aloud is unavailable:" << problem_;
}

void SpeechChooser::onReady(SpeechBackend *backend)
{
    if (backend != current_ || currentReady_)
        return;
    answerTimer_.stop();
    currentReady_ = true;
    if (passedOver_.isEmpty())
        qInfo().noquote() << "Reading aloud through" << backend->name();
    else
        qInfo().noquote() << "Reading aloud through" << backend->name() << "- passed over"
                          << passedOver_.join(QLatin1String("; "));
    if (!pending_.isEmpty())
        backend->say(std::exchange(pending_, {}));
}

void SpeechChooser::onUnavailable(SpeechBackend *backend, const QString &why)
{
    if (backend != current_)
        return;
    const QString reason = why.isEmpty() ? QStringLiteral("failed without a reason") : why;
    passedOver_.append(currentReady_ ? QStringLiteral("%1: stopped working: %2").arg(backend->name(), reason)
                                     : QStringLiteral("%1: %2").arg(backend->name(), reason));
    dropCurrent();
    tryNext();
}

void SpeechChooser::dropCurrent()
{
    answerTimer_.stop();
    disconnect(current_, nullptr, this, nullptr);
    // It may be inside the call that reported it.
    current_->deleteLater();
    current_ = nullptr;
    currentReady_ = false;
}
