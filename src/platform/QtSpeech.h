#pragma once

#include "platform/SystemSpeech.h"

#include <QObject>
#include <QStringList>

class QTextToSpeech;

// Speech through Qt TextToSpeech (the system's engine on Windows). The engine is created
// only when start() is called; texts spoken before that are kept and said once it is ready.
class QtSpeech : public QObject, public SystemSpeech
{
    Q_OBJECT
public:
    // An empty engine name takes the platform's default engine.
    explicit QtSpeech(const QString &engineName = QString(), QObject *parent = nullptr);
    ~QtSpeech() override;

    void start() override;
    void speak(const QString &text) override;

    bool started() const { return started_; }
    // The engine is loaded and has not failed.
    bool ready() const;
    // Why nothing is heard, for the log; empty while speech works.
    QString problem() const { return problem_; }

private:
    void flush();
    void fail(const QString &why);

    QString engineName_;
    QTextToSpeech *engine_ = nullptr;
    QStringList pending_;
    QString problem_;
    bool started_ = false;
};
