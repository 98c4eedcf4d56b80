#include "common/LibraryFixtures.h"
#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "dialogs/OptionsHost.h"
#include "dialogs/frmAbout.h"
#include "dialogs/myself.h"
#include "dialogs/options.h"
#include "platform/text/AnsiText.h"
#include "startup/UiBoardSurface.h"
#include "startup/UiCircleShape.h"
#include "startup/UiCompletionList.h"
#include "startup/UiMeaningBox.h"
#include "startup/frmmain.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QThreadPool>
#include <memory>

namespace {

using Pair = LibraryFixtures::Pair;
using Keys = QList<int>;

// The window over a session after a first start without the companion, as main() builds it.
struct Window : RecordedServices
{
    TempProgramFolder folder;
    std::unique_ptr<Session> session;
    std::unique_ptr<frmmain> window;

    Window()
    {
        session = std::make_unique<Session>(
            Session::Services{folder.path(), &speech, &registry, &environment, &dialog, 9000, {}, {}});
        session->Form_Load();
        window = std::make_unique<frmmain>(*session, frmmain::Services{&messages, &help, &registry, &programs, {}});
    }
    void pick(const QString &name)
    {
        dialog.answer = QDir(folder.path()).filePath(QStringLiteral("词库/") + name);
        window->mnuciku_Click();
    }
    bool shown()
    {
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
    // Writes a library into the data folder, opens it from the menu and shows the window.
    bool open(const QString &name, const std::vector<Pair> &words, const std::vector<std::vector<Pair>> &groups)
    {
        LibraryFixtures::writeLibrary(folder.path(), name, LibraryFixtures::wordFile(words),
                                      LibraryFixtures::associationFile(groups));
        pick(name + ".qd");
        return shown();
    }
    template <typename T> T *find(const QString &name) const { return window->findChild<T *>(name); }
    QString text(const QString &label) const { return find<QLabel>(label)->text(); }
};

// Picture files made in memory: sizes tell apart which picture a window shows.
QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray jpeg(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(220, 230, 240));
    return encoded(image, "JPEG");
}

// A small JPEG whose frame header claims another size.
QByteArray jpegClaiming(quint16 width, quint16 height)
{
    QByteArray bytes = jpeg(QSize(8, 8));
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    bytes[sof + 5] = char(height >> 8), bytes[sof + 6] = char(height & 0xFF);
    bytes[sof + 7] = char(width >> 8), bytes[sof + 8] = char(width & 0xFF);
    return bytes;
}

// tanker rings ship (not a headword) and run; run rings nothing.
bool openSample(Window &w)
{
    return w.open("cet4", {{"tanker", "n.油船；空中加油飞机"}, {"run", "v.跑"}},
                  {{{"ship", "n.船"}, {"run", "v.跑"}}, {}});
}

// Type-ahead under the input box, as a user works it (which rows are offered is the session's):
// a fresh window with the library open, the box focused as a click leaves it.
struct Typing : Window
{
    QLineEdit *input = find<QLineEdit>("Text1");
    UiCompletionList *list = find<UiCompletionList>("completionList");

    Typing()
    {
        std::vector<Pair> words;
        for (const char *word : {"tram", "trip", "tree", "trams", "中国", "中文", "随机选或在此输入吧"})
            words.emplace_back(QString::fromUtf8(word), "n.");
        open("lib", words, std::vector<std::vector<Pair>>(7));
        input->activateWindow();
        input->setFocus();
    }
    // Chinese arrives from an input method, committed a word at a time.
    void commit(const QString &text)
    {
        QInputMethodEvent committed;
        committed.setCommitString(text);
        QCoreApplication::sendEvent(input, &committed);
    }
    QString centre() const { return find<QLabel>("Label1_8")->isVisible() ? find<QLabel>("Label1_8")->text() : ""; }
};

// The dialog over a picture folder with two pictures, as the first start leaves it, plus what
// users put there (and a name whose file has gone); it records what OK hands back.
struct Dialog : OptionsHost
{
    TempProgramFolder folder;
    RecordingMessages messages;
    OptionsPage page;
    QList<OptionsChoice> confirmed;
    QStringList replies;
    QList<QSize> applied;
    QPointer<options> dialog;

    Dialog()
    {
        const QList<std::pair<QString, QByteArray>> files = {
            {"01.jpg", jpeg({32, 24})},
            {"vorn.jpg", jpeg({40, 30})},
            {"notes.txt", "not a picture"},
            {"huge.jpg", jpegClaiming(60000, 60000)},
            {"png.jpg", encoded(QImage(5, 7, QImage::Format_RGB32), "PNG")},
            {"cut.jpg", jpeg({640, 480}).chopped(200)},
            {"header.jpg", jpeg({64, 48}).left(120)}};
        for (const auto &[name, bytes] : files)
            folder.write(name, bytes), page.files << name;
        page = {folder.path(), page.files << "gone.jpg", "640x480", "vorn.jpg", true, false};
        dialog = new options({this, &messages, [this](const QImage &image) { applied.append(image.size()); }});
    }
    ~Dialog() override { delete dialog.data(); }
    OptionsPage optionsPage() const override { return page; }
    OptionsOutcome optionsConfirmed(const OptionsChoice &choice) override
    {
        confirmed.append(choice);
        return {choice.pictureProblem.isEmpty() ? choice.picture : QString(), replies};
    }

    template <typename T> T *find(const QString &name) const { return dialog->findChild<T *>(name); }
    QListWidget *list() const { return find<QListWidget>("List1"); }
    QString selected() const { return list()->selectedItems().isEmpty() ? "" : list()->selectedItems()[0]->text(); }
    // As the user would: the selection moves outside the dialog's own filling.
    void pick(const QString &name) const { list()->setCurrentItem(list()->findItems(name, Qt::MatchExactly).value(0)); }
    void click(const QString &button) const { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
};

const QString kTool = "C:\\Tools\\msinfo32.exe";

// An About box as the menu shows it: created with new, shown, and active.
struct Shown
{
    FakeRegistry registry;
    FakeProgramStarter starter;
    RecordingMessages messages;
    QPointer<frmAbout> about;

    Shown()
    {
        registry.machineValues[{"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH"}] =
            RegistryValue{AnsiText::encode(kTool) + QByteArray(1, '\0'), 1};
        starter.startable.insert(kTool);
        about = new frmAbout(registry, starter, messages);
        about->show();
        about->activateWindow();
    }
    ~Shown() { delete about.data(); }
    template <typename T> T *find(const QString &name) const { return about->findChild<T *>(name); }
    myself *card() const { return about->findChild<myself *>(); }
};

} // namespace

// The window as a view: what only its widgets show, the user's actions reaching the session,
// type-ahead, the options dialog and the About box.
class tst_frmmain : public QObject
{
    Q_OBJECT
private slots:
    void controlsAfterStartUp()
    {
        Window w;
        QVERIFY(w.shown());
        // The described tooltips, exactly; the keys are told to screen readers instead.
        const QList<std::tuple<QString, QString, QString>> buttons = {
            {"Command1", "随机选择单词", ""},
            {"Command2", "Let's GO!", ""},
            {"Command3", "上一屏", "PgUp"},
            {"Command4", "下一屏", "PgDown"},
            {"Command5", "上一个单词", "Backspace, Alt+Left"}};
        for (const auto &[name, tip, keys] : buttons) {
            QCOMPARE(w.find<QPushButton>(name)->toolTip(), tip);
            QCOMPARE(w.find<QPushButton>(name)->accessibleDescription(), keys);
        }
        QCOMPARE(w.find<QLineEdit>("Text1")->toolTip(), QString());
    }

    void lookUpHoverTurnAndBack()
    {
        Window w;
        QVERIFY(openSample(w));
        const BoardGeometry &g = w.session->geometry();

        auto *input = w.find<QLineEdit>("Text1");
        input->setFocus();
        QCOMPARE(input->selectedText(), QStringLiteral("随机选或在此输入"));
        QTest::keyClicks(input, QStringLiteral("tanker"));
        QTest::mouseClick(w.find<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(w.text("Label1_8") + w.text("Label3") + w.text("Label1_2") + w.text("Label1_6"),
                 QStringLiteral("tanker1shiprun"));
        QAccessibleInterface *slot = QAccessible::queryAccessibleInterface(w.find<QLabel>("Label1_6"));
        QCOMPARE(slot->text(QAccessible::Name) + slot->text(QAccessible::Description), QStringLiteral("runv.跑"));

        auto *box = w.find<UiMeaningBox>("Text2_8");
        // Becoming selectable when the pointer comes does not move the text; selecting is no turn.
        const QImage before = box->grab().toImage();
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QCoreApplication::sendEvent(box, &enter);
        QCOMPARE(box->textInteractionFlags(), Qt::TextSelectableByMouse);
        QCOMPARE(box->grab().toImage(), before);
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("n.油船；空中加油飞机"));
        QCOMPARE(QAccessible::queryAccessibleInterface(box)->text(QAccessible::Value), box->text());

        // Into slot 6 over its word label: the label passes the pointer on to the board.
        auto *label6 = w.find<QLabel>("Label1_6");
        QTest::mouseMove(label6, QPoint(g.slotX[6], g.slotY[6]) - label6->pos());
        QCOMPARE(label6->geometry().top(), g.slotY[6] - g.focusLabelOffsetY);

        // A double-click on the shown meaning box turns to the word in focus; Back returns.
        QTest::mouseDClick(w.find<UiMeaningBox>("Text2_6"), Qt::LeftButton);
        QCOMPARE(w.text("Label1_8") + w.text("Label3"), QStringLiteral("run2"));
        QTest::mouseClick(w.find<QPushButton>("Command5"), Qt::LeftButton);
        QCOMPARE(w.text("Label1_8"), QStringLiteral("tanker"));

        // Slot 2's word is not a headword: the session's message reaches the message box.
        QTest::mouseMove(w.find<QWidget>("board"), QPoint(g.slotX[2], g.slotY[2] + 30));
        QTest::mouseDClick(w.find<QWidget>("board"), Qt::LeftButton, {}, QPoint(g.slotX[2], g.slotY[2] + 30));
        QCOMPARE(w.messages.shown, QStringList{QStringLiteral("单词 ship 在词库《cet4》中不存在。")});

        QTest::mouseClick(w.find<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(QStringList({"tanker", "run"}).contains(input->text()));
    }

    void keysOnly()
    {
        Window w;
        QVERIFY(openSample(w));
        w.dialog.answer = w.folder.file(QStringLiteral("词库/cet4.qd"));
        w.window->activateWindow();
        QTest::keyClick(w.window.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(w.dialog.asked.size(), 6);
        QWidget *board = w.find<QWidget>("board");
        auto *input = w.find<QLineEdit>("Text1");
        board->setFocus();
        QTest::keyClick(board, Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), input);
        QTest::keyClicks(input, QStringLiteral("tanker\r"));
        QTest::keyClick(input, Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), board);
        // The ring of two is slots 2 and 6: ship, then run.
        for (const auto &[keys, shown] : std::initializer_list<std::pair<QList<QKeyCombination>, QString>>{
                 {{Qt::Key_Right, Qt::Key_Right, Qt::Key_Return}, "run2"},
                 {{Qt::Key_Backspace}, "tanker1"},
                 {{Qt::Key_Right, Qt::Key_Right, Qt::Key_Return}, "run2"},
                 {{Qt::ALT | Qt::Key_Left}, "tanker1"}}) {
            for (const QKeyCombination key : keys)
                QTest::keyClick(board, key.key(), key.keyboardModifiers());
            QCOMPARE(w.text("Label1_8") + w.text("Label3"), shown);
        }
        QTest::keyClick(board, Qt::Key_Slash);
        QCOMPARE(QApplication::focusWidget(), input);
        QVERIFY(w.messages.shown.isEmpty());
    }

    void readingAloudSwitchedOnInOptionsHoldsAtOnce()
    {
        Window w;
        QVERIFY(openSample(w));
        QTest::keyClicks(w.find<QLineEdit>("Text1"), QStringLiteral("tanker"));
        QTest::keyClick(w.find<QLineEdit>("Text1"), Qt::Key_Return);
        const BoardGeometry &g = w.session->geometry();
        QWidget *board = w.find<QWidget>("board");
        QTest::mouseMove(board, QPoint(g.slotX[6], g.slotY[6] + 40));
        QVERIFY(w.speech.spoken.isEmpty());

        w.window->findChild<QAction *>("mnuoption")->trigger();
        options *dialog = w.window->optionsDialog();
        QVERIFY(dialog && dialog->isVisible() && dialog->windowModality() == Qt::ApplicationModal);
        dialog->findChild<QCheckBox *>(QStringLiteral("Check2"))->setChecked(true);
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("Command1_0")), Qt::LeftButton);
        QVERIFY(dialog->isHidden());
        QTest::mouseMove(board, QPoint(g.slotX[8], g.slotY[8]));
        QTest::mouseMove(board, QPoint(g.slotX[6], g.slotY[6] + 40));
        QCOMPARE(w.speech.spoken, QStringList{QStringLiteral("run")});
        // Hidden, not gone: the same dialog comes back; its close box forgets it.
        w.window->mnuoption_Click();
        QCOMPARE(w.window->optionsDialog(), dialog);
        dialog->close();
        QTRY_VERIFY(!w.window->optionsDialog());
    }

    void helpAndAbout()
    {
        Window w;
        w.window->findChild<QAction *>("mnuhelphtm")->trigger();
        QCOMPARE(w.help.shown, QStringList{w.folder.file(QStringLiteral("Tesmar单词Dorrit.chm"))});
        QCOMPARE(w.help.owners, QList<quintptr>{quintptr(w.window->winId())});

        w.window->findChild<QAction *>("mnuabout")->trigger();
        QPointer<frmAbout> about = w.window->findChild<frmAbout *>();
        QVERIFY(about && about->isVisible() && about->windowModality() == Qt::ApplicationModal);
        about->StartSysInfo();
        QCOMPARE(w.messages.shown, QStringList{QStringLiteral("此时系统信息无效")});
    }

    void background_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("a picture") << jpeg({96, 72}) << QSize(96, 72);
        QTest::newRow("damaged: the built-in one") << QByteArray("\xFF\xD8 cut") << QSize(800, 600);
    }
    void background()
    {
        QFETCH(QByteArray, file);
        QFETCH(QSize, shown);
        Window w;
        w.folder.write("picture.jpg", file);
        w.window->setBackgroundLater(
            frmmain::decodeBackground(w.folder.file("picture.jpg"), *QThreadPool::globalInstance()));
        QVERIFY(w.shown());
        QTRY_COMPARE(w.find<UiBoardSurface>("board")->background().size(), shown);
    }

    // clang-format off
    void picking_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<Keys>("keys"); // Qt::Key_unknown: a click on the third row; Qt::Key_Go: on Go
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QString>("shown");
        const QStringList all{"tram", "trip", "tree", "trams"};
        QTest::newRow("second row: Down, Down, Enter") << "tr" << Keys{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return} << all << "trip";
        QTest::newRow("Down stops at the last row") << "tra" << Keys{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Enter}
                                                    << QStringList{"tram", "trams"} << "trams";
        QTest::newRow("Enter without a row looks the text up") << "tram" << Keys{Qt::Key_Return}
                                                               << QStringList{"tram", "trams"} << "tram";
        QTest::newRow("Up above the first row takes the choice back")
            << "tre" << Keys{Qt::Key_Down, Qt::Key_Up, Qt::Key_Return} << QStringList{"tree"} << "";
        QTest::newRow("a click on a row") << "tr" << Keys{Qt::Key_unknown} << all << "tree";
        QTest::newRow("Escape closes, nothing looked up") << "tr" << Keys{Qt::Key_Escape} << all << "";
        QTest::newRow("Go closes, no row picked") << "tr" << Keys{Qt::Key_Go} << all << "";
    }
    // clang-format on
    void picking()
    {
        Typing t;
        QTRY_VERIFY(t.input->hasFocus());
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QVERIFY(t.list->isHidden());
        QTest::keyClicks(t.input, typed);
        QVERIFY(t.list->isVisible());
        QTEST(t.list->headwords(), "offered");
        QFETCH(Keys, keys);
        for (const int key : keys) {
            if (key == Qt::Key_unknown)
                QTest::mouseClick(t.list->viewport(), Qt::LeftButton, {},
                                  t.list->visualItemRect(t.list->item(2)).center());
            else if (key == Qt::Key_Go)
                QTest::mouseClick(t.find<QPushButton>("Command2"), Qt::LeftButton);
            else
                QTest::keyClick(t.input, Qt::Key(key));
        }
        QVERIFY(t.list->isHidden());
        QCOMPARE(t.centre(), shown);
        const QString missing = QStringLiteral("单词 %1 在词库《lib》中不存在，请重新输入。").arg(typed);
        QCOMPARE(t.messages.shown,
                 shown.isEmpty() && keys.last() != Qt::Key_Escape ? QStringList{missing} : QStringList{});
        QCOMPARE(t.input->text(), shown.isEmpty() ? typed : shown);
        // Typing goes on in the box.
        QVERIFY(t.input->hasFocus() || keys.last() == Qt::Key_Go);
    }

    void inputMethodAndPrompt()
    {
        Typing t;
        QTRY_VERIFY(t.input->hasFocus());
        QTest::keyClick(t.input, Qt::Key_Down);
        QVERIFY(t.list->isHidden());
        // Composing offers nothing; a committed word does. Escape keeps the text, Down reopens.
        QInputMethodEvent composing("zhong", {});
        QCoreApplication::sendEvent(t.input, &composing);
        QVERIFY(t.list->isHidden());
        t.commit(QStringLiteral("中"));
        QCOMPARE(t.list->headwords(), QStringList({QStringLiteral("中国"), QStringLiteral("中文")}));
        QTest::keyClick(t.input, Qt::Key_Escape);
        QTest::keyClick(t.input, Qt::Key_Down);
        QVERIFY(t.list->isVisible() && t.input->text() == QStringLiteral("中"));
        // Typed out in full by an input method, the prompt is still the prompt.
        t.input->clear();
        t.commit(QStringLiteral("随机选或在此输入"));
        QVERIFY(t.list->isHidden());
        t.commit(QStringLiteral("吧"));
        QCOMPARE(t.list->headwords(), QStringList{QStringLiteral("随机选或在此输入吧")});
    }

    // clang-format off
    void optionsOpening_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("shown");
        // Windows finds a file whatever the case of its name; the list's names still match exactly.
        const bool caseBlind = QFileInfo::exists(QCoreApplication::applicationFilePath().toUpper());
        QTest::newRow("stored picture") << "vorn.jpg" << "vorn.jpg" << true;
        QTest::newRow("case differs") << "VORN.JPG" << "" << caseBlind;
        QTest::newRow("not in the list") << "away.jpg" << "" << false;
        QTest::newRow("not a picture") << "notes.txt" << "notes.txt" << false;
    }
    // clang-format on
    void optionsOpening()
    {
        QFETCH(QString, selected);
        Dialog d;
        QFETCH(QString, stored);
        d.page.desktopPicture = stored;
        d.dialog->showModal();
        QCOMPARE(d.list()->count(), d.page.files.size());
        QCOMPARE(d.find<QLabel>("Label2")->text(), QStringLiteral("640x480"));
        QCOMPARE(d.selected(), selected);
        QTEST(!d.find<QLabel>("Image1")->pixmap().isNull(), "shown");
        // Opening never troubles the user, whatever the stored name is.
        QVERIFY(d.messages.shown.isEmpty());

        // Cancel hands back nothing; shown again, it shows the settings, not what was left in it.
        d.pick("01.jpg");
        d.find<QCheckBox>("Check2")->setChecked(true);
        d.click("Command2_1");
        QVERIFY(d.dialog->isHidden() && d.confirmed.isEmpty());
        d.dialog->showModal();
        QCOMPARE(d.selected(), selected);
        QVERIFY(!d.find<QCheckBox>("Check2")->isChecked());
    }

    // What cannot be shown says why, in the words of the message; a cut picture shows what the
    // decoder had.
    // clang-format off
    void optionsOk_data()
    {
        QTest::addColumn<QString>("entry"); // empty: no entry selected
        QTest::addColumn<QString>("why");
        QTest::addColumn<QList<QSize>>("applied");
        QTest::newRow("a picture, from any OK button") << "01.jpg" << "" << QList<QSize>{{32, 24}};
        QTest::newRow("PNG named .jpg") << "png.jpg" << "" << QList<QSize>{{5, 7}};
        QTest::newRow("JPEG cut in its pixels") << "cut.jpg" << "" << QList<QSize>{{640, 480}};
        QTest::newRow("not a picture") << "notes.txt" << "不是可以显示的图片" << QList<QSize>{};
        QTest::newRow("JPEG cut in its header") << "header.jpg" << "图片文件已损坏" << QList<QSize>{};
        QTest::newRow("claims 60000 x 60000") << "huge.jpg" << "图片太大（60000×60000像素）" << QList<QSize>{};
        QTest::newRow("file gone") << "gone.jpg" << "文件不存在或无法读取" << QList<QSize>{};
        QTest::newRow("no entry selected") << "" << "" << QList<QSize>{};
    }
    // clang-format on
    void optionsOk()
    {
        QFETCH(QString, entry);
        QFETCH(QString, why);
        Dialog d;
        d.replies = {"reply"};
        d.dialog->showModal();
        const qint64 preview = d.find<QLabel>("Image1")->pixmap().cacheKey();
        if (entry.isEmpty())
            d.list()->clearSelection();
        else
            d.pick(entry);
        if (!why.isEmpty()) // The preview keeps what it showed.
            QCOMPARE(d.find<QLabel>("Image1")->pixmap().cacheKey(), preview);
        d.find<QCheckBox>("Check1")->setChecked(false);
        d.find<QCheckBox>("Check2")->setChecked(true);
        d.click(entry == "01.jpg" ? "Command1_2" : "Command1_0");

        QCOMPARE(d.confirmed.size(), 1);
        const OptionsChoice &choice = d.confirmed.first();
        QCOMPARE(choice.picture + '|' + choice.pictureProblem, entry + '|' + why);
        QVERIFY(!choice.desktopRandom && choice.readAloud && d.dialog->isHidden());
        QTEST(d.applied, "applied");
        const QString problem = QStringLiteral("无法预览“%1”：%2。").arg(entry, why);
        QCOMPARE(d.messages.shown, (why.isEmpty() ? QStringList() : QStringList{problem}) << "reply");
    }

    void optionsLayout()
    {
        Dialog d;
        d.dialog->showModal();
        QCOMPARE(d.dialog->size(), QSize(383, 244));
        QCOMPARE(d.dialog->minimumSize(), d.dialog->maximumSize());
        // The stored picture previewed, decoded straight to the size of its frame.
        QCOMPARE(d.find<QLabel>("Image1")->pixmap().size(), QSize(177, 149));
        auto *tabs = d.find<QTabWidget>("SSTab1");
        QCOMPARE(tabs->tabText(0) + tabs->tabText(1) + tabs->tabText(2), QStringLiteral("环境1环境2运行"));
        // Design rectangles converted from twips, from the tab control's corner; a style with
        // taller tabs moves every control down alike.
        const auto placed = [&](const char *name) {
            auto *control = d.find<QWidget>(name);
            return QRect(control->mapTo(tabs, QPoint(0, 0)), control->size());
        };
        const int shift = placed("List1").top() - 48;
        QVERIFY(shift >= 0 && shift < 10);
        QCOMPARE(placed("List1"), QRect(8, 48 + shift, 161, 148));
        QCOMPARE(placed("Command2_2"), QRect(216, 208 + shift, 57, 17));
        // Enter and Esc press neither button.
        QTest::keyClick(d.dialog, Qt::Key_Escape);
        QTest::keyClick(d.dialog, Qt::Key_Return);
        QVERIFY(d.dialog->isVisible() && d.confirmed.isEmpty());
    }

    // What the end-to-end walk does not see of the About box and the author card (it opens and
    // closes both): the texts, the drawing, the keys and the card's pages.
    void aboutBox()
    {
        Shown s;
        QCOMPARE(s.find<QLabel>("Label1")->text() + s.find<QPushButton>("cmdOK")->text() +
                     s.find<QPushButton>("cmdSysInfo")->text(),
                 QStringLiteral("Ver 0.1确定系统信息(&S)..."));
        // The picture drawn at its own size from the top-left corner.
        const QImage shot = s.about->grab().toImage();
        const QImage picture(QStringLiteral(":/images/about_background.jpg"));
        for (const QPoint at : {QPoint(2, 150), QPoint(200, 120)})
            QCOMPARE(shot.pixelColor(at).rgb(), picture.pixelColor(at).rgb());
        QVERIFY(QTest::qWaitForWindowActive(s.about.data()));
        // A mnemonic clicks the button after a short animation.
        QTest::keyClick(s.about.data(), Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(s.starter.attempts, QStringList{kTool});
        QVERIFY(s.messages.shown.isEmpty());
        // Enter presses OK, which destroys the dialog, later, through the event loop.
        QTest::keyClick(s.about.data(), Qt::Key_Return);
        QTRY_VERIFY(s.about.isNull());
    }

    void card()
    {
        Shown s;
        s.about->Image1_DblClick();
        QPointer<myself> card = s.card();
        QVERIFY(QTest::qWaitForWindowActive(card));
        auto *text = card->findChild<QPlainTextEdit *>("Text1");
        auto *info = card->findChild<QPushButton *>("Command2");
        auto *bye = card->findChild<QPushButton *>("Command1");
        QCOMPARE(card->windowTitle() + info->text() + bye->text(), QStringLiteral("我我的基本情况再见"));
        QVERIFY(!info->autoDefault() && !bye->autoDefault());
        // Tab goes from the text to 再见, then to 我的基本情况.
        QCOMPARE(QApplication::focusWidget(), text);
        QTest::keyClick(text, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), bye);
        QCOMPARE(text->toPlainText(), myself::greeting);
        for (int i = 0; i < 2; ++i) {
            QTest::mouseClick(info, Qt::LeftButton);
            QCOMPARE(text->toPlainText(), myself::introduction);
        }
        // No cancel button: Esc leaves the card open. Opened again, it greets again.
        QTest::keyClick(card.data(), Qt::Key_Escape);
        QVERIFY(card->isVisible());
        QTest::mouseClick(bye, Qt::LeftButton);
        QTRY_VERIFY(card.isNull() && !s.about.isNull());
        s.about->Image1_DblClick();
        QCOMPARE(s.card()->findChild<QPlainTextEdit *>("Text1")->toPlainText(), myself::greeting);
    }
};

QTEST_MAIN(tst_frmmain)
#include "tst_frmmain.moc"
