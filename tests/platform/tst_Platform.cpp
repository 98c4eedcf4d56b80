#include "common/TempProgramFolder.h"
#include "platform/files/InstalledFiles.h"
#include "platform/files/ProgramFolder.h"
#include "platform/speech/SpeechChooser.h"
#include "platform/text/AnsiText.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QStringDecoder>
#include <QTest>

namespace {

// Every file under a folder with its bytes, marked when its owner may not change it.
QMap<QString, QByteArray> contents(const QString &folder)
{
    QMap<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        const QByteArray mark = file.permissions() & QFileDevice::WriteOwner ? "" : "read-only ";
        files[QDir(folder).relativeFilePath(file.fileName())] =
            file.open(QIODevice::ReadOnly) ? mark + file.readAll() : "?";
    }
    return files;
}

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

// Services with logic of their own: code page 936, the program folder, the way of reading aloud.
class tst_Platform : public QObject
{
    Q_OBJECT
private slots:
    // Decoding takes a table for speed; it must read every text exactly as the converter does. On
    // Windows the system converts; the rows with a text of their own say what it must give.
    void decodesAsTheConverter_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<QString>("text");
        QByteArray every;
        for (int code = 0x8140; code <= 0xFEFE; ++code)
            every += (code & 0xFF) >= 0x40 && (code & 0xFF) < 0xFF ? QByteArray{char(code >> 8), char(code)} : "";
        // clang-format off
        const std::tuple<const char *, QByteArray, bool, const char16_t *> rows[] = { // bool: the bytes come back
            {"empty", {}, true, u""}, {"ASCII", "tanker, \"n.\"\r\n", true, u"tanker, \"n.\"\r\n"},
            {"Chinese", "n.\xd3\xcd\xb4\xac\xa3\xbb\xbf\xd5", true, u"n.油船；空"}, {"euro sign alone", "\x80", true, u"€"},
            {"0xFF alone", "a\xff" "b", true, nullptr}, {"lead byte before ASCII", "\xc4" "abc", true, nullptr},
            {"half a character at the end", "ab\xc4", false, nullptr}, {"lead byte before 0x7F", "\xc4\x7f", false, nullptr},
            {"lead byte before a line end", "\xc4\r\n", false, nullptr}, {"every two-byte code", every, false, nullptr},
        };
        // clang-format on
        for (const auto &[name, bytes, whole, text] : rows)
            QTest::newRow(name) << bytes << whole << (text ? QString::fromUtf16(text) : QString());
    }
    void decodesAsTheConverter()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        if (!text.isNull())
            QCOMPARE(AnsiText::decode(bytes), text);
        if (QStringDecoder converter("GBK", QStringConverter::Flag::Stateless); converter.isValid())
            QCOMPARE(AnsiText::decode(bytes), converter.decode(bytes));
        // What the libraries and the settings file hold must be written back byte for byte.
        QFETCH(bool, whole);
        if (whole)
            QCOMPARE(AnsiText::encode(AnsiText::decode(bytes)).toHex(), bytes.toHex());
    }

    void chooseProgramFolder_data()
    {
        QTest::addColumn<QString>("share"); // the file made where a system layout keeps its files
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("installedFiles");
        // clang-format off
        const std::tuple<const char *, const char *, bool, const char *, const char *> rows[] = {
            {"portable, writable", "", true, "bin", ""}, {"portable, read-only", "", false, "user", "bin"},
            {"system layout, read-only", "share/011.jpg", false, "user", "share"},
            {"system layout that root could write", "share/011.jpg", true, "user", "share"},
            {"a file where the system's folder would be", "share", true, "bin", ""},
        };
        // clang-format on
        for (const auto &[name, share, writable, folder, installed] : rows)
            QTest::newRow(name) << share << writable << folder << installed;
    }
    void chooseProgramFolder()
    {
        QFETCH(QString, share);
        QFETCH(bool, writable);
        TempProgramFolder root;
        QDir().mkpath(root.file("bin"));
        if (!share.isEmpty())
            root.write(share, "");
        const auto place = [&root](const QString &name) { return name.isEmpty() ? name : root.file(name); };
        const auto choice = ProgramFolder::choose({place("bin"), place("share"), place("user")},
                                                  [&](const QString &) { return writable; });
        QFETCH(QString, folder);
        QFETCH(QString, installedFiles);
        QCOMPARE(choice.folder, place(folder));
        QCOMPARE(choice.installedFiles, place(installedFiles));
    }

    // A new folder gets every file the build installs into a program folder, made the user's
    // own; a folder in use keeps the user's files and gets only this installation's help file.
    void bringInto_data()
    {
        QTest::addColumn<QStringList>("before"); // "-": no folder at all
        QTest::addColumn<QByteArray>("help");    // the folder's help file, a month old; null: none
        QTest::addColumn<bool>("filled");
        // clang-format off
        const std::tuple<const char *, QStringList, QByteArray, bool> rows[] = {
            {"missing", {"-"}, {}, true}, {"empty", {}, {}, true},
            {"later start, older help of the same size", {"Dorrit参数.ini", "Dorrit桌面/1024x768/01.jpg", "词库/mine.qd"},
             "help, last version", false},
            {"settings and help deleted, pictures moved", {"Dorrit桌面/640x480/01.jpg"}, {}, false},
        };
        // clang-format on
        for (const auto &[name, before, help, filled] : rows)
            QTest::newRow(name) << before << help << filled;
    }
    void bringInto()
    {
        QFETCH(QStringList, before);
        QFETCH(QByteArray, help);
        QFETCH(bool, filled);
        const QString helpFile = InstalledFiles::helpFileName;
        TempProgramFolder installed, home;
        auto shipped = contents(DORRIT_SOURCE_DIR "/resources/programfolder");
        shipped[helpFile] = "help, this version";
        // As a package installs them: nobody may change them.
        for (const auto &[name, bytes] : shipped.asKeyValueRange()) {
            installed.write(name, bytes);
            QFile::setPermissions(installed.file(name), QFileDevice::ReadOwner | QFileDevice::ReadOther);
        }
        const QString user = home.file("share/Tesmar单词Dorrit");
        if (before.removeAll("-") == 0)
            QDir().mkpath(user);
        auto expected = filled ? shipped : QMap<QString, QByteArray>(); // a new folder holds nothing of the user's
        for (const QString &name : before)
            home.write("share/Tesmar单词Dorrit/" + name, expected[name] = "the user's " + name.toUtf8());
        if (!help.isNull()) {
            home.write("share/Tesmar单词Dorrit/" + helpFile, help);
            QFile old(QDir(user).filePath(helpFile));
            QVERIFY(old.open(QIODevice::ReadWrite) &&
                    old.setFileTime(QDateTime::currentDateTime().addDays(-30), QFileDevice::FileModificationTime));
        }

        QVERIFY(InstalledFiles::bringInto(installed.path(), user));

        expected[helpFile] = "help, this version";
        QCOMPARE(contents(user), expected);
        // Nothing of the filling is left beside the folder.
        QCOMPARE(QDir(home.file("share")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"Tesmar单词Dorrit"});
    }

    // Steps: "start", "say <text>", "prepare <a|b>", "break" (the engine that speaks stops
    // working) and "settle" (until the log says how reading aloud ends up).
    void speechChoice_data()
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
    void speechChoice()
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

QTEST_GUILESS_MAIN(tst_Platform)
#include "tst_Platform.moc"
