#include "PictureFixtures.h"
#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "dialogs/OptionsHost.h"
#include "dialogs/options.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace PictureFixtures;

namespace {

// Hands out a page over a real picture folder and records what OK hands back.
class RecordingHost : public OptionsHost
{
public:
    OptionsPage page;
    QList<OptionsChoice> confirmed;
    QStringList replies;
    OptionsPage optionsPage() const override { return page; }
    OptionsOutcome optionsConfirmed(const OptionsChoice &choice) override
    {
        confirmed.append(choice);
        return {choice.pictureProblem.isEmpty() ? choice.picture : QString(), replies};
    }
};

// The dialog over a picture folder with two pictures, as the first start leaves it, plus
// what users put there.
struct Dialog
{
    TempProgramFolder folder;
    RecordingMessages messages;
    RecordingHost host;
    QList<QSize> applied;
    QPointer<options> dialog;

    Dialog()
    {
        const QList<std::pair<QString, QByteArray>> files = {{"01.jpg", jpeg({32, 24})},
                                                             {"vorn.jpg", jpeg({40, 30})},
                                                             {"notes.txt", "not a picture"},
                                                             {"huge.jpg", jpegClaiming(60000, 60000)}};
        for (const auto &[name, bytes] : files)
            folder.write(name, bytes);
        host.page = {folder.path(), {"01.jpg", "vorn.jpg", "notes.txt", "huge.jpg"}, "640x480", "vorn.jpg", true,
                     false};
        dialog = new options({&host, &messages, [this](const QImage &image) { applied.append(image.size()); }});
    }
    ~Dialog() { delete dialog.data(); }

    template <typename T> T *find(const QString &name) const { return dialog->findChild<T *>(name); }
    QListWidget *list() const { return find<QListWidget>("List1"); }
    QString selected() const
    {
        const auto items = list()->selectedItems();
        return items.isEmpty() ? QString() : items.first()->text();
    }
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
        QTest::newRow("not in the folder") << "gone.jpg" << "" << false;
        QTest::newRow("not a picture") << "notes.txt" << "notes.txt" << false;
    }
    // clang-format on
    void opening()
    {
        QFETCH(QString, stored);
        QFETCH(QString, selected);
        Dialog d;
        d.host.page.desktopPicture = stored;
        d.dialog->showModal();
        QVERIFY(d.dialog->isModal());
        QCOMPARE(d.list()->count(), 4);
        QCOMPARE(d.find<QLabel>("Label2")->text(), QStringLiteral("640x480"));
        QCOMPARE(d.selected(), selected);
        QFETCH(bool, shown);
        QCOMPARE(!d.find<QLabel>("Image1")->pixmap().isNull(), shown);
        // Opening never troubles the user, whatever the stored name is.
        QVERIFY(d.messages.shown.isEmpty());

        // Cancel hands back nothing; shown again, it shows the settings, not what was left in it.
        d.pick("01.jpg");
        d.find<QCheckBox>("Check2")->setChecked(true);
        d.click("Command2_1");
        QVERIFY(d.dialog->isHidden() && d.host.confirmed.isEmpty());
        d.dialog->showModal();
        QCOMPARE(d.selected(), selected);
        QVERIFY(!d.find<QCheckBox>("Check2")->isChecked());
    }

    // clang-format off
    void ok_data()
    {
        QTest::addColumn<QString>("entry"); // empty: no entry selected
        QTest::addColumn<QString>("why");
        QTest::addColumn<QList<QSize>>("applied");
        QTest::newRow("a picture, from any OK button") << "01.jpg" << "" << QList<QSize>{{32, 24}};
        QTest::newRow("not a picture") << "notes.txt" << "不是可以显示的图片" << QList<QSize>{};
        QTest::newRow("claims 60000 x 60000") << "huge.jpg" << "图片太大（60000×60000像素）" << QList<QSize>{};
        QTest::newRow("no entry selected") << "" << "" << QList<QSize>{};
    }
    // clang-format on
    void ok()
    {
        QFETCH(QString, entry);
        QFETCH(QString, why);
        Dialog d;
        d.host.replies = {"reply"};
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

        QCOMPARE(d.host.confirmed.size(), 1);
        const OptionsChoice &choice = d.host.confirmed.first();
        QCOMPARE(choice.picture, entry);
        QCOMPARE(choice.pictureProblem, why);
        QVERIFY(!choice.desktopRandom && choice.readAloud);
        QTEST(d.applied, "applied");
        QVERIFY(d.dialog->isHidden());
        QStringList expected;
        if (!why.isEmpty())
            expected << QStringLiteral("无法预览“%1”：%2。").arg(entry, why);
        QCOMPARE(d.messages.shown, expected << "reply");
    }

    void layout()
    {
        Dialog d;
        d.dialog->showModal();
        QCOMPARE(d.dialog->size(), QSize(383, 244));
        QCOMPARE(d.dialog->minimumSize(), d.dialog->maximumSize());
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
        QVERIFY(d.dialog->isVisible() && d.host.confirmed.isEmpty());
    }
};

QTEST_MAIN(tst_options)
#include "tst_options.moc"
