#include "common/LibraryFixtures.h"
#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "startup/Companion.h"
#include "startup/Session.h"
#include "startup/SettingsFile.h"
#include "wordbook/Wordbook.h"

#include <QDir>
#include <QTest>
#include <memory>

using namespace LibraryFixtures;

namespace {

// A session over a fresh program folder, with its outside services recorded.
struct Started
{
    TempProgramFolder folder;
    TempProgramFolder companion;
    RecordingSpeech speech;
    FakeRegistry registry;
    FakeEnvironment environment;
    ScriptedDialog dialog;
    std::unique_ptr<Session> session;
    Session::Start start;

    void run(int twips = 11520)
    {
        const QString tables = DORRIT_SOURCE_DIR "/resources/wordtables/words.dwt";
        session = std::make_unique<Session>(
            Session::Services{folder.path(), &speech, &registry, &environment, &dialog, twips, tables, {}});
        start = session->Form_Load();
    }
    void registerCompanion()
    {
        registry.machineKeys.insert(Companion::registryKey, RegistryValue{"C:\\G\\Graxo.exe\0", 1});
        registry.mapFolder = [this](const QString &) { return companion.path(); };
    }
    QByteArray settingsBytes() const { return folder.read(SettingsFile::fileName); }
};

Settings later(bool readAloud, const QString &picture, bool random)
{
    Settings s;
    s.companionChecked = true;
    s.shareCompanionFolders = false;
    s.readAloud = readAloud;
    s.desktopPicture = picture;
    s.desktopRandom = random;
    return s;
}

// The wordbook as the loader reads it back, an entry a line: "word=meaning=associations=library",
// the associations "word meaning" joined by "|", or "*" for those of the word in its library.
QStringList keptWords(const QString &dataFolder)
{
    OpenLibrary book;
    FakeLibraryHost host;
    book.libraryName = Wordbook::name;
    if (book.openwordfile(dataFolder, host) != OpenLibrary::LoadResult::Loaded)
        return {"!"};
    Wordbook sources(dataFolder);
    QStringList kept;
    for (int i = 1; i <= book.wordLibrary().wordCount() && sources.read(); ++i) {
        const QString word = book.wordLibrary().words(i), library = sources.entry(i - 1).library;
        const auto group = [](const OpenLibrary &l, int w) {
            QStringList pairs;
            for (int k = 1; k <= l.associations().assocCounts(w); ++k)
                pairs << l.associations().assocWords(w, k) + " " + l.associations().assocMeanings(w, k);
            return pairs.join('|');
        };
        OpenLibrary from;
        from.libraryName = library;
        from.openwordfile(dataFolder, host);
        const int there = from.wordLibrary().find(word);
        const QString associations = group(book, i);
        kept << QStringList{word, book.wordLibrary().meanings(i),
                            there && associations == group(from, there) ? "*" : associations, library}
                    .join('=');
    }
    return kept;
}

} // namespace

class tst_Session : public QObject
{
    Q_OBJECT
private slots:
    // The whole start-up sequence: what it leaves on disk and what it hands the window.
    // clang-format off
    void startUp_data()
    {
        QTest::addColumn<QByteArray>("settingsBefore"); // null: no settings file
        QTest::addColumn<bool>("companion");
        QTest::addColumn<int>("twips");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QByteArray>("settingsAfter");
        QTest::addColumn<QStringList>("backgrounds"); // any of these, under Dorrit桌面
        QTest::addColumn<QStringList>("spoken");

        Settings first = later(false, "01.jpg", true);
        const QByteArray firstBytes = SettingsFile::format(first);
        first.shareCompanionFolders = true;
        const QByteArray sharedBytes = SettingsFile::format(first);
        const QByteArray aloud = SettingsFile::format(later(true, "mine.jpg", false));

        QTest::newRow("first start, no companion")
            << QByteArray() << false << 11520 << QStringList{Companion::notInstalledMessage} << firstBytes
            << QStringList{"1024x768/01.jpg", "1024x768/vorn.jpg"} << QStringList{};
        QTest::newRow("first start, companion found")
            << QByteArray() << true << 11520 << QStringList{Companion::foundMessage} << sharedBytes
            << QStringList{"1024x768/01.jpg", "1024x768/vorn.jpg"} << QStringList{};
        QTest::newRow("later start, 800x600, reading aloud, stored picture")
            << aloud << true << 9000 << QStringList{} << aloud << QStringList{"800x600/mine.jpg"}
            << QStringList{"welcome"};
        QTest::newRow("settings file of the wrong form: defaults, asked again")
            << QByteArray("\xFF\xFE garbage\r\n") << false << 7200 << QStringList{Companion::notInstalledMessage}
            << SettingsFile::format(later(false, QString(), true)) << QStringList{"640x480/01.jpg", "640x480/vorn.jpg"} << QStringList{};
    }
    // clang-format on
    void startUp()
    {
        QFETCH(QByteArray, settingsBefore);
        QFETCH(bool, companion);
        QFETCH(int, twips);
        Started s;
        if (!settingsBefore.isNull())
            s.folder.write(SettingsFile::fileName, settingsBefore);
        if (companion)
            s.registerCompanion();
        for (const char *source : {"011.jpg", "012.jpg", "013.jpg", "vorn1.jpg", "vorn2.jpg", "vorn3.jpg"})
            s.folder.write(QString::fromLatin1(source), "picture");
        s.run(twips);

        QTEST(s.start.messages, "messages");
        QTEST(s.settingsBytes(), "settingsAfter");
        QTEST(s.speech.spoken, "spoken");
        QFETCH(QStringList, backgrounds);
        const QString shown = QDir(s.folder.file("Dorrit桌面")).relativeFilePath(s.start.background);
        QVERIFY2(backgrounds.contains(shown), qPrintable(shown));
        // Pictures are seeded while the companion decision is still to take: a start with its message.
        QCOMPARE(s.folder.exists("Dorrit桌面/1024x768/vorn.jpg"), !s.start.messages.isEmpty());
        QCOMPARE(s.session->dataFolder(), companion && settingsBefore.isNull() ? s.companion.path() : s.folder.path());
        const BoardModel &board = s.session->board();
        QCOMPARE(board.slot(BoardModel::centreSlot).meaning, BoardModel::greeting);
        QCOMPARE(board.caption(), BoardModel::programTitle);
        QVERIFY(!board.inputEnabled() && !board.randomEnabled() && !board.backEnabled());
        QVERIFY(s.session->takeMessages().isEmpty());
        // The library dialog opens only where the data folder holds a library folder.
        s.session->chooseLibrary();
        QCOMPARE(s.dialog.asked.isEmpty(), !QFileInfo(s.session->dataFolder() + "/词库").isDir());
    }

    // clang-format off
    void optionsOk_data()
    {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<bool>("unwritable");
        QTest::addColumn<QString>("background"); // relative to the picture folder
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("messages");
        QTest::newRow("picture taken") << "vorn.jpg" << "" << false << "vorn.jpg" << "vorn.jpg" << 0;
        QTest::newRow("nothing selected") << "" << "" << false << "" << "01.jpg" << 0;
        QTest::newRow("no picture: background and name stay")
            << "notes.txt" << "不是可以显示的图片" << false << "" << "01.jpg" << 1;
        QTest::newRow("settings file cannot be written") << "vorn.jpg" << "" << true << "vorn.jpg" << "vorn.jpg" << 1;
    }
    // clang-format on
    void optionsOk()
    {
        QFETCH(QString, picture);
        QFETCH(QString, problem);
        QFETCH(bool, unwritable);
        QFETCH(QString, background);
        QFETCH(QString, stored);
        Started s;
        s.folder.write(SettingsFile::fileName, SettingsFile::format(later(false, "01.jpg", true)));
        s.run();
        const OptionsPage page = s.session->optionsPage();
        QCOMPARE(page.pictureFolder, s.folder.file("Dorrit桌面/1024x768"));
        QCOMPARE(page.resolutionText, QStringLiteral("1024x768"));
        QVERIFY(page.desktopRandom && !page.readAloud);
        if (unwritable) {
            // A folder where the file belongs fails every write, even with root's rights.
            QFile::remove(s.folder.file(SettingsFile::fileName));
            QDir().mkpath(s.folder.file(SettingsFile::fileName));
        }

        const OptionsOutcome outcome = s.session->optionsConfirmed({false, picture, problem, true});
        QCOMPARE(outcome.background, background.isEmpty() ? QString() : QDir(page.pictureFolder).filePath(background));
        QTEST(int(outcome.messages.size()), "messages");
        if (!problem.isEmpty())
            QCOMPARE(outcome.messages.first(),
                     QStringLiteral("“notes.txt”不能用作背景：不是可以显示的图片。背景保持不变。"));
        const Settings expected = later(true, stored, false);
        if (unwritable) {
            QCOMPARE(outcome.messages.first(),
                     QStringLiteral("无法写入设置文件“%1”。新的选项只在这次运行中有效。")
                         .arg(QDir::toNativeSeparators(s.folder.file(SettingsFile::fileName))));
        } else {
            QCOMPARE(s.settingsBytes(), SettingsFile::format(expected));
        }
        // The live settings hold the choice either way: the next hover reads them.
        QCOMPARE(SettingsFile::format(s.session->settings()), SettingsFile::format(expected));
    }

    // clang-format off
    void chooseLibrary_data()
    {
        QTest::addColumn<QString>("picked"); // relative to the data folder; null: cancel
        QTest::addColumn<QString>("open");   // the library open afterwards
        QTest::addColumn<QString>("message"); // part of the one message, if any
        QTest::newRow("file in the library folder") << "词库/cet4.qd" << "cet4" << "";
        QTest::newRow("same name elsewhere: the library folder's") << "elsewhere/cet4.qd" << "cet4" << "";
        QTest::newRow("typed without extension: three characters cut") << "词库/cet4xyz" << "cet4" << "";
        QTest::newRow("cancel changes nothing") << QString() << "old" << "";
        QTest::newRow("damaged library: the open one stays") << "词库/broken.qd" << "old" << "broken.qd";
        QTest::newRow("missing library: the open one stays") << "词库/gone.qd" << "old" << "gone";
    }
    // clang-format on
    void chooseLibrary()
    {
        QFETCH(QString, picked);
        QFETCH(QString, open);
        QFETCH(QString, message);
        Started s;
        s.run();
        writeLibrary(s.folder.path(), "old", wordFile({{"old", "旧"}}), associationFile({{}}));
        writeLibrary(s.folder.path(), "cet4", wordFile({{"tanker", "n.油船"}, {"run", "v.跑"}}),
                     associationFile({{}, {}}));
        writeLibrary(s.folder.path(), "broken", "3\r\n\"a\",\"b\"\r\n", associationFile({{}}));
        s.folder.write("elsewhere/cet4.qd", wordFile({{"impostor", "i"}}));
        s.dialog.answer = s.folder.file("词库/old.qd");
        s.session->chooseLibrary();
        QCOMPARE(s.dialog.asked, QStringList({QStringLiteral("选择词库"), QStringLiteral("Tesmar单词Graxo词库(*.qd)"),
                                              QDir::toNativeSeparators(s.folder.file("词库"))}));
        QCOMPARE(s.session->board().caption(), QStringLiteral("Tesmar单词Dorrit        词库：old"));

        s.dialog.answer.reset();
        if (!picked.isNull())
            s.dialog.answer = s.folder.file(picked);
        s.session->chooseLibrary();
        const QStringList messages = s.session->takeMessages();
        QCOMPARE(messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(messages.first().contains(message), qPrintable(messages.first()));
        QCOMPARE(s.session->library().libraryName, open);
        QCOMPARE(s.session->library().isOpen(), !open.isEmpty());
        QCOMPARE(s.session->board().inputEnabled(), !open.isEmpty());
        if (open == "cet4")
            QCOMPARE(s.session->library().wordLibrary().words(1), QStringLiteral("tanker"));
    }

    // clang-format off
    void fileDropped_data()
    {
        QTest::addColumn<QString>("file"); // dropped from outside the data folder
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QString>("open");   // the library open afterwards
        QTest::addColumn<QString>("report"); // in what is told after
        const QString question = "用“单元2.csv”里的 3 个单词做词库《单元2》吗？";
        QTest::newRow("a word library: the data folder's of its name") << "x/cet4.QD" << false << QStringList{} << "cet4" << "";
        QTest::newRow("a list, yes: made and opened") << "单元2.csv" << true << QStringList{question} << "单元2" << "词库《单元2》已做好：写入 3 个单词";
        QTest::newRow("a list, no: nothing made") << "单元2.csv" << false << QStringList{question} << "old" << "";
        QTest::newRow("a list named as a library: replaced after a yes")
            << "cet4.txt" << true << QStringList{"用“cet4.txt”里的 3 个单词做词库《cet4》吗？\n词库《cet4》已经存在，将被新做的替换。"}
            << "cet4" << "词库《cet4》已做好";
        QTest::newRow("no words: nothing asked, told why") << "empty.tsv" << true << QStringList{} << "old" << "做不成词库：词表里没有单词。";
        QTest::newRow("neither: not taken") << "notes.doc" << true << QStringList{} << "" << "";
    }
    // clang-format on
    void fileDropped()
    {
        QFETCH(QString, file);
        QFETCH(bool, yes);
        QFETCH(QString, open);
        QFETCH(QString, report);
        Started s;
        s.run();
        writeLibrary(s.folder.path(), "old", wordFile({{"old", "旧"}}), associationFile({{}}));
        writeLibrary(s.folder.path(), "cet4", wordFile({{"tanker", "n.油船"}}), associationFile({{}}));
        s.session->openLibrary("old");
        const TempProgramFolder outside;
        outside.write(file, file.startsWith("empty") ? "" : "abandon\nforsake\ndesert\n");
        QCOMPARE(Session::takesDrop(outside.file(file)), !open.isEmpty());
        if (open.isEmpty())
            return;
        QStringList asked;
        const QString told = s.session->fileDropped(outside.file(file), [&](const QString &q) {
            asked << q;
            return yes;
        });
        QTEST(asked, "asked");
        QVERIFY2(report.isEmpty() ? told.isEmpty() : told.contains(report), qPrintable(told));
        QCOMPARE(s.session->board().caption(), QStringLiteral("Tesmar单词Dorrit        词库：") + open);
        QVERIFY(s.session->takeMessages().isEmpty());
        if (open != "old")
            QCOMPARE(s.session->library().wordLibrary().words(1), open == "cet4" && !yes ? "tanker" : "abandon");
    }

    // clang-format off
    void wordbook_data()
    {
        QTest::addColumn<QString>("before"); // the wordbook's files: none, damaged, unwritable, cut short
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("steps"); // open:L, drop, wordbook, look-ups, + (keep the word
                                                // in focus or the centre's), +W (W in the ring), =W (add W again)
        QTest::addColumn<QString>("centre");    // "word depth", "*" when marked
        QTest::addColumn<QStringList>("kept");  // see keptWords; "!" when the loader refuses it
        QTest::addColumn<QStringList>("told");  // part of each question and message, in order
        const QStringList tanker{"open:cet4", "tanker", "+"};
        const QString damaged = "《生词本》无法打开：\n" + QDir::toNativeSeparators("词库/生词本.qd") +
                                "\n文件在第 2 个单词的词条处提前结束（单词数为 3）。\n\n把它的文件改名为《生词本（损坏1）》";
        QTest::newRow("kept from the centre") << "" << true << tanker << "tanker 1 *" << QStringList{"tanker=n.油船=*=cet4"} << QStringList{};
        QTest::newRow("kept again: nothing changes") << "" << true << tanker + QStringList{"=tanker"} << "tanker 1 *"
                                                     << QStringList{"tanker=n.油船=*=cet4"} << QStringList{};
        QTest::newRow("let go by the same key") << "" << true << tanker + QStringList{"run", "+", "tanker", "+"} << "tanker 3"
                                                << QStringList{"run=v.跑=*=cet4"} << QStringList{};
        QTest::newRow("a ring word no headword: no associations") << "" << true << QStringList{"open:cet4", "tanker", "+ship"}
                                                                  << "tanker 1" << QStringList{"ship=n.船==cet4"} << QStringList{};
        QTest::newRow("from a library made from a word list") << "" << true << QStringList{"drop", "abandon", "+"} << "abandon 1 *"
                                                              << QStringList{"abandon=v.放弃；舍；抛弃=*=单元2"} << QStringList{};
        QTest::newRow("the wordbook open: a ring word kept, an earlier word let go")
            << "" << true << tanker + QStringList{"run", "+", "wordbook", "tanker", "+ship", "run", "+tanker"} << "run 1 *"
            << QStringList{"run=v.跑=*=cet4", "ship=n.船==cet4"} << QStringList{};
        QTest::newRow("damaged, yes: put aside, a new one") << "damaged" << true << tanker << "tanker 1 *"
                                                            << QStringList{"tanker=n.油船=*=cet4"} << QStringList{damaged};
        QTest::newRow("damaged, no: nothing changes") << "damaged" << false << tanker << "tanker 1" << QStringList{"!"}
                                                      << QStringList{damaged};
        QTest::newRow("damaged, opened: told, nothing asked") << "damaged" << true << QStringList{"open:cet4", "wordbook"} << " 0"
                                                              << QStringList{"!"} << QStringList{damaged.section("\n\n", 0, 0)};
        QTest::newRow("the data folder cannot be written: told, not marked")
            << "unwritable" << true << tanker << "tanker 1" << QStringList{"!"}
            << QStringList{"无法把“tanker”加入生词本：\n无法写入“" + QDir::toNativeSeparators("联想词库/生词本.the")};
        QTest::newRow("a removal cut short between its writes: finished when read")
            << "cut short" << true << QStringList{"open:cet4", "wordbook", "tanker"} << "tanker 1 *"
            << QStringList{"tanker=n.油船=*=cet4"} << QStringList{};
        QTest::newRow("empty, opened: told how to keep words") << "" << true << QStringList{"open:cet4", "wordbook"} << " 0"
                                                               << QStringList{"!"} << QStringList{"生词本里还没有单词"};
    }
    // clang-format on
    void wordbook()
    {
        QFETCH(QString, before);
        QFETCH(bool, yes);
        QFETCH(QStringList, steps);
        Started s;
        s.run();
        const QString data = s.folder.path();
        writeLibrary(data, "cet4", wordFile({{"tanker", "n.油船"}, {"run", "v.跑"}}),
                     associationFile({{{"ship", "n.船"}, {"run", "v.跑"}}, {{"tanker", "n.油船"}}}));
        const QByteArray damaged = "3\r\n\"a\",\"b\"\r\n";
        if (before == "damaged")
            writeLibrary(data, Wordbook::name, damaged, associationFile({}));
        if (before == "unwritable") // a folder where the file belongs fails every write, even root's
            QDir(data).mkpath("联想词库/生词本.the");
        if (before == "cut short") { // run let go: its group and its line of sources written, the words not
            writeLibrary(data, Wordbook::name, wordFile({{"tanker", "n.油船"}, {"run", "v.跑"}}),
                         associationFile({{{"ship", "n.船"}, {"run", "v.跑"}}}));
            s.folder.write("词库/生词本.from", wordFile({{"tanker", "cet4"}}));
        }
        QStringList said;
        const Session::Ask ask = [&](const QString &question) { return said << question, yes; };
        BoardModel &board = s.session->board();
        for (const QString &step : steps) {
            if (step.startsWith("open:")) {
                s.session->openLibrary(step.mid(5));
            } else if (step == "drop") {
                s.folder.write("单元2.txt", "abandon\nforsake\ndesert\n");
                s.session->fileDropped(s.folder.file("单元2.txt"), ask);
                said.clear();
            } else if (step == "wordbook") {
                s.session->openWordbook();
            } else if (step.startsWith("=")) {
                QCOMPARE(Wordbook(data).add({step.mid(1), "", {}, ""}), Wordbook::Change::Unchanged);
            } else if (step.startsWith("+")) {
                for (int k = 0; k < 8 && step.size() > 1 && board.slot(board.focusSlot()).caption != step.mid(1); ++k)
                    board.keyPressed(BoardModel::Key::Clockwise);
                if (s.session->toggleWordbook(s.session->wordbookSlot(), ask))
                    s.session->saveWordbook();
            } else {
                board.setInputText(step);
                board.Command2_Click();
            }
            said << s.session->takeMessages();
        }
        QFETCH(QStringList, told);
        QCOMPARE(said.size(), told.size());
        for (qsizetype i = 0; i < said.size(); ++i)
            QVERIFY2(said[i].remove(QDir::toNativeSeparators(data + "/")).contains(told[i]), qPrintable(said[i]));
        const BoardModel::Slot &centre = board.slot(BoardModel::centreSlot);
        QTEST(centre.caption + " " + board.counterText() + (centre.inWordbook ? " *" : ""), "centre");
        QTEST(keptWords(data), "kept");
        // No index into tables that changed (every shown word's mark is the monkey's to check).
        QCOMPARE(s.session->library().wordLibrary().words(board.currentWord()),
                 board.currentWord() ? centre.caption : "");
        if (before == "damaged")
            QCOMPARE(s.folder.read(yes && steps.contains("+") ? "词库/生词本（损坏1）.qd" : "词库/生词本.qd"), damaged);
    }

    // clang-format off
    void completions_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("inputOn");
        QTest::addColumn<QStringList>("rows"); // headword=meaning
        QTest::newRow("prefix, exact case first, meaning on one line")
            << "Tr" << true << QStringList{"Trade=n.贸易", "tram=n.电车 车", "trip=n.旅行"};
        QTest::newRow("nothing typed") << "" << true << QStringList{};
        QTest::newRow("the prompt itself") << "随机选或在此输入" << true << QStringList{};
        QTest::newRow("input box disabled") << "tr" << false << QStringList{};
        QTest::newRow("no match") << "zz" << true << QStringList{};
    }
    // clang-format on
    void completions()
    {
        QFETCH(QString, typed);
        QFETCH(bool, inputOn);
        Started s;
        s.run();
        writeLibrary(s.folder.path(), "lib",
                     wordFile({{"tram", "n.电车\r车"}, {"trip", "n.旅行"}, {"Trade", "n.贸易"}, {"go", "v.去"}}),
                     associationFile({{}, {}, {}, {}}));
        if (inputOn)
            s.session->openLibrary("lib");
        QStringList rows;
        for (const Session::Completion &c : s.session->completions(typed))
            rows << c.headword + "=" + c.meaning;
        QTEST(rows, "rows");
    }
};

QTEST_GUILESS_MAIN(tst_Session)
#include "tst_Session.moc"
