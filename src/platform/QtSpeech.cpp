#include "platform/QtSpeech.h"

#include <QDebug>
#include <QTextToSpeech>

namespace {
// Words queued before the engine exists; only the latest few matter to a listener.
constexpr int kMaxPending = 4;
} // namespace

QtSpeech::QtSpeech(const QString &engineName, QObject *parent)
    : QObject(parent)
    , engineName_(engineName)
{}

bool QtSpeech::ready() const
{
    return engine_ && problem_.isEmpty() && engine_->state() != QTextToSpeech::Error;
}

QtSpeech::~QtSpeech() = default;

void QtSpeech::start()
{
    if (started_)
        return;
    started_ = true;
    const QStringList engines = QTextToSpeech::availableEngines();
    if (engines.isEmpty() || (!engineName_.isEmpty() && !engines.contains(engineName_))) {
        fail(QStringLiteral("no text-to-speech engine is installed"));
        return;
    }
    engine_ = engineName_.isEmpty() ? new QTextToSpeech(this) : new QTextToSpeech(engineName_, this);
    connect(engine_, &QTextToSpeech::errorOccurred, this,
            [this](QTextToSpeech::ErrorReason, const QString &text) { fail(text); });
    connect(engine_, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) {
        if (state == QTextToSpeech::Ready)
            flush();
    });
    if (engine_->state() == QTextToSpeech::Error) {
        fail(engine_->errorString());
        return;
    }
    flush();
}

void QtSpeech::speak(const QString &text)
{
    if (!problem_.isEmpty() || text.isEmpty())
        return;
    if (!engine_ || engine_->state() != QTextToSpeech::Ready) {
        if (pending_.size() >= kMaxPending)
            pending_.removeFirst();
        pending_.append(text);
        return;
    }
    engine_->say(text);
}

void QtSpeech::flush()
{
    if (!engine_ || engine_->state() != QTextToSpeech::Ready || pending_.isEmpty())
        return;
    engine_->say(pending_.takeFirst());
}

void QtSpeech::fail(const QString &why)
{
    if (!problem_.isEmpty())
        return;
    problem_ = why.isEmpty() ? QStringLiteral("the speech engine reported an error") : why;
    pending_.clear();
    qWarning().noquote() << "Reading aloud is unavailable:" << problem_;
}
