#include "platform/SpeechChooser.h"

#include <QTest>

namespace {

QStringList *capturedLog = nullptr;

void captureLog(QtMsgType, const QMessageLogContext &, const QString &message)
{
    if (capturedLog)
        capturedLog->append(message);
}

// A way of speaking whose answer the test decides; everything it is asked goes to a journal
// shared by all candidates, so the order across them shows.
class FakeBackend : public SpeechBackend
{
public:
    // 'r' answers ready, 'u' unavailable, 's' never answers.
    FakeBackend(QString name, char answer, QStringList &journal)
        : name_(std::move(name))
        , answer_(answer)
        , journal_(journal)
    {}
    QString name() const override { return name_; }
    void open() override
    {
        journal_.append(name_ + " open");
        if (answer_ == 'r')
            emit ready();
        else if (answer_ == 'u')
            emit unavailable("no " + name_);
    }
    void say(const QStringList &texts) override { journal_.append(name_ + " say " + texts.join('|')); }
    void prepare(const QStringList &texts) override { journal_.append(name_ + " prepare " + texts.join('|')); }
    void breakDown() { emit unavailable(QStringLiteral("broke")); }

private:
    QString name_;
    char answer_;
    QStringList &journal_;
};

} // namespace

class tst_SpeechChooser : public QObject
{
    Q_OBJECT

    QStringList journal;
    QStringList log;
    std::vector<FakeBackend *> made;

    // Candidates "a", "b", ... answering as the letters of answers say.
    std::unique_ptr<SpeechChooser> chooser(const QByteArray &answers)
    {
        std::vector<SpeechChooser::Factory> candidates;
        for (int i = 0; i < answers.size(); ++i) {
            candidates.push_back([this, i, answer = answers.at(i)] {
                auto backend = std::make_unique<FakeBackend>(QString(QChar('a' + i)), answer, journal);
                made.push_back(backend.get());
                return backend;
            });
        }
        return std::make_unique<SpeechChooser>(std::move(candidates), std::chrono::milliseconds(20));
    }

private slots:
    void init()
    {
        journal.clear();
        log.clear();
        made.clear();
        capturedLog = &log;
        qInstallMessageHandler(captureLog);
    }
    void cleanup()
    {
        qInstallMessageHandler(nullptr);
        capturedLog = nullptr;
    }

    void choice_data()
    {
        QTest::addColumn<QByteArray>("answers");
        QTest::addColumn<QString>("engine");
        QTest::addColumn<QStringList>("expectedJournal");
        QTest::addColumn<QString>("expectedLog");
        QTest::newRow("first answers, second never made")
            << QByteArray("ru") << "a" << QStringList{"a open", "a say welcome"} << "Reading aloud through a";
        QTest::newRow("first unavailable")
            << QByteArray("ur") << "b" << QStringList{"a open", "b open", "b say welcome"}
            << "Reading aloud through b - passed over a: no a";
        QTest::newRow("first never answers")
            << QByteArray("sr") << "b" << QStringList{"a open", "b open", "b say welcome"}
            << "Reading aloud through b - passed over a: no answer within 20 ms";
        QTest::newRow("none can speak") << QByteArray("us") << "" << QStringList{"a open", "b open"}
                                        << "Reading aloud is unavailable: a: no a; b: no answer within 20 ms";
    }
    void choice()
    {
        QFETCH(QByteArray, answers);
        QFETCH(QString, engine);
        QFETCH(QStringList, expectedJournal);
        QFETCH(QString, expectedLog);
        auto speech = chooser(answers);
        speech->speak(QStringLiteral("welcome"));
        speech->start();
        QTRY_COMPARE(log, QStringList{expectedLog});
        QCOMPARE(speech->engine(), engine);
        QCOMPARE(journal, expectedJournal);
        QCOMPARE(speech->problem().isEmpty(), !engine.isEmpty());

        // Later words go straight to the engine, or nowhere, without another log line.
        speech->speak(QStringLiteral("tanker"));
        speech->start();
        if (!engine.isEmpty())
            expectedJournal.append(engine + " say tanker");
        QCOMPARE(journal, expectedJournal);
        QCOMPARE(log.size(), 1);
    }

    // Neither before start nor, with nothing to say, after it: reading aloud may be off.
    void nothingIsMadeUntilStartedWithSomethingToSay()
    {
        auto early = chooser("r");
        early->speak(QStringLiteral("welcome"));
        QCOMPARE(made.size(), std::size_t(0));
        auto quiet = chooser("r");
        quiet->start();
        QCOMPARE(made.size(), std::size_t(0));
        QVERIFY(log.isEmpty());
        quiet->speak(QStringLiteral("tanker"));
        QCOMPARE(journal, (QStringList{"a open", "a say tanker"}));
    }

    // Preparing is a hint for a ready engine: it neither starts one nor waits for one.
    void prepareGoesOnlyToAReadyEngine()
    {
        auto speech = chooser("r");
        speech->start();
        speech->prepare({"tanker", "river"});
        QCOMPARE(made.size(), std::size_t(0));
        speech->speak(QStringLiteral("welcome"));
        speech->prepare({"tanker", "river"});
        QCOMPARE(journal, (QStringList{"a open", "a say welcome", "a prepare tanker|river"}));
    }

    // While no engine is ready only the latest few texts are kept, said in order at once.
    void waitingTextsKeepTheLatestFew()
    {
        auto speech = chooser("sr");
        speech->speak(QStringLiteral("one"));
        speech->start();
        for (const char *word : {"two", "", "three", "four", "five", "six"})
            speech->speak(QString::fromLatin1(word));
        QTRY_COMPARE(speech->engine(), QStringLiteral("b"));
        QCOMPARE(journal, (QStringList{"a open", "b open", "b say three|four|five|six"}));
    }

    void engineThatStopsWorkingHandsOver()
    {
        auto speech = chooser("rr");
        speech->speak(QStringLiteral("welcome"));
        speech->start();
        QCOMPARE(speech->engine(), QStringLiteral("a"));
        made.front()->breakDown();
        QCOMPARE(speech->engine(), QStringLiteral("b"));
        speech->speak(QStringLiteral("tanker"));
        QCOMPARE(journal, (QStringList{"a open", "a say welcome", "b open", "b say tanker"}));
        QCOMPARE(log, (QStringList{"Reading aloud through a",
                                   "Reading aloud through b - passed over a: stopped working: broke"}));
    }
};

QTEST_GUILESS_MAIN(tst_SpeechChooser)
#include "tst_SpeechChooser.moc"
