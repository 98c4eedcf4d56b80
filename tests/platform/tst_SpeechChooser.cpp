#include "platform/speech/SpeechChooser.h"

#include <QTest>

namespace {

QStringList journal; // what every candidate was asked, in order
QStringList logged;

// A way of speaking that answers 'r' ready, 'u' unavailable or 's' never.
struct FakeBackend : SpeechBackend
{
    QString name_;
    char answer_ = 'r';
    QString name() const override { return name_; }
    void open() override
    {
        journal.append(name_ + " open");
        if (answer_ == 'r')
            emit ready();
        else if (answer_ == 'u')
            emit unavailable("no " + name_);
    }
    void say(const QStringList &texts) override { journal.append(name_ + " say " + texts.join('|')); }
    void prepare(const QStringList &texts) override { journal.append(name_ + " prepare " + texts.join('|')); }
};

} // namespace

class tst_SpeechChooser : public QObject
{
    Q_OBJECT
private slots:
    // Steps: "start", "say <text>", "prepare <a|b>", "break" (the engine that speaks stops
    // working) and "settle" (until the log says how reading aloud ends up).
    void steps_data()
    {
        QTest::addColumn<QByteArray>("answers"); // of candidates a, b, ... in turn
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("log");
        // clang-format off
        const std::tuple<const char *, QByteArray, QString, QString, QString> rows[] = {
            {"first never answers, the latest few words wait", "sr",
             "say one;start;say two;say ;say three;say four;say five;settle", "a open;b open;b say two|three|four|five",
             "Reading aloud through b - passed over a: no answer within 20 ms"},
            {"none can speak", "us", "say welcome;start;settle;say tanker", "a open;b open",
             "Reading aloud is unavailable: a: no a; b: no answer within 20 ms"},
            {"nothing is made before start", "r", "say welcome;prepare x", "", ""},
            {"nor until there is something to say", "r", "start;prepare x|y;say tanker;prepare x|y",
             "a open;a say tanker;a prepare x|y", "Reading aloud through a"},
            {"an engine that stops working hands over", "rr", "say welcome;start;break;say tanker",
             "a open;a say welcome;b open;b say tanker",
             "Reading aloud through a;Reading aloud through b - passed over a: stopped working: broke"},
        };
        // clang-format on
        for (const auto &[name, answers, steps, asked, log] : rows)
            QTest::newRow(name) << answers << steps << asked << log;
    }
    void steps()
    {
        QFETCH(QByteArray, answers);
        QFETCH(QString, steps);
        journal = logged = {};
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) { logged << text; });
        std::vector<SpeechChooser::Factory> candidates;
        FakeBackend *latest = nullptr;
        for (int i = 0; i < answers.size(); ++i) {
            candidates.push_back([&latest, i, answer = answers.at(i)] {
                auto made = std::make_unique<FakeBackend>();
                made->name_ = QChar('a' + i), made->answer_ = answer;
                latest = made.get();
                return made;
            });
        }
        SpeechChooser speech(std::move(candidates), std::chrono::milliseconds(20));
        for (const QString &step : steps.split(';', Qt::SkipEmptyParts)) {
            const QString verb = step.section(' ', 0, 0), text = step.section(' ', 1);
            if (verb == "start")
                speech.start();
            else if (verb == "say")
                speech.speak(text);
            else if (verb == "prepare")
                speech.prepare(text.split('|'));
            else if (verb == "break")
                emit latest->unavailable("broke");
            else
                QTRY_VERIFY(!logged.isEmpty());
        }
        QTEST(journal.join(';'), "asked");
        qInstallMessageHandler(nullptr);
        QTEST(logged.join(';'), "log");
    }
};

QTEST_GUILESS_MAIN(tst_SpeechChooser)
#include "tst_SpeechChooser.moc"
