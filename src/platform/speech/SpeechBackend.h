#pragma once

#include <QObject>
#include <QStringList>

// One way of saying words aloud; SpeechChooser tries them in turn.
class SpeechBackend : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // For the log.
    virtual QString name() const = 0;
    // Gets ready to speak and answers with ready() or unavailable(), possibly before returning.
    virtual void open() = 0;
    // Cuts off whatever is being said and says these texts in order.
    virtual void say(const QStringList &texts) = 0;
    // As Speech::prepare.
    virtual void prepare(const QStringList &texts) { Q_UNUSED(texts) }

signals:
    void ready();
    // Before ready(): this way cannot speak here. After it: it stopped working.
    void unavailable(const QString &why);
};
