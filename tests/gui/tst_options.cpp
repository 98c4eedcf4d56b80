#include "PictureFixtures.h"
#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "dialogs/OptionsHost.h"
#include "dialogs/options.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace PictureFixtures;

namespace {

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

} // namespace

class tst_options : public QObject
{
    Q_OBJECT
private slots:
    // clang-format off
    void opening_data()
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
    void opening()
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
    void ok_data()
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
    void ok()
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

    void layout()
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
};

QTEST_MAIN(tst_options)
#include "tst_options.moc"
