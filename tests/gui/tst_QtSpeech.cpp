#include "platform/QtSpeech.h"

#include <QCoreApplication>
#include <QTest>
#include <QTextToSpeech>

class tst_QtSpeech : public QObject
{
    Q_OBJECT
private slots:
    // Whatever the machine has (an engine with or without a sound device), speaking
    // returns at once and the engine ends either ready or with a reason on record.
    void engineSettles()
    {
        if (QTextToSpeech::availableEngines().isEmpty())
            QSKIP("no speech engine installed");
        QtSpeech speech;
        speech.speak(QStringLiteral("welcome"));
        speech.start();
        for (int i = 0; i < 20; ++i)
            speech.speak(QStringLiteral("word"));
        QVERIFY(speech.started());
        // A machine without a sound device reports it; one with a device keeps the engine.
        QTest::qWait(500);
        QCOMPARE(speech.ready(), speech.problem().isEmpty());
        qInfo().noquote() << "speech:" << (speech.ready() ? QStringLiteral("working") : speech.problem());
    }

    void missingEngineIsSilentAndSaysWhy()
    {
        QtSpeech speech(QStringLiteral("no-such-engine"));
        speech.speak(QStringLiteral("welcome"));
        speech.start();
        speech.speak(QStringLiteral("tanker"));
        QVERIFY(!speech.ready());
        QCOMPARE(speech.problem(), QStringLiteral("no text-to-speech engine is installed"));
    }
};

QTEST_MAIN(tst_QtSpeech)
#include "tst_QtSpeech.moc"
