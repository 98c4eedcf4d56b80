#include "PictureFixtures.h"
#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "dialogs/options.h"
#include "startup/SettingsFile.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using namespace PictureFixtures;

namespace {

// The dialog over a picture folder with two pictures, as the first start leaves it, plus
// what users put there.
struct Dialog
{
    TempProgramFolder folder;
    RecordingMessages messages;
    Settings settings;
    QList<QSize> applied;
    QPointer<options> dialog;

    explicit Dialog(int resolutionIndex = 3)
    {
        const QString pictures = "Dorrit桌面/" + QStringList{"640x480", "800x600", "1024x768"}[resolutionIndex - 1];
        folder.write(pictures + "/01.jpg", jpeg({32, 24}));
        folder.write(pictures + "/vorn.jpg", jpeg({40, 30}));
        folder.write(pictures + "/notes.txt", "not a picture");
        folder.write(pictures + "/huge.jpg", jpegClaiming(60000, 60000));
        folder.write(pictures + "/.hidden.jpg", jpeg({8, 8}));
        QDir().mkpath(folder.file(pictures + "/album"));
        settings.companionChecked = true;
        settings.desktopPicture = "vorn.jpg";
        options::Context context;
        context.settings = &settings;
        context.programFolder = folder.path();
        context.resolutionIndex = resolutionIndex;
        context.messages = &messages;
        context.applyBackground = [this](const QImage &image) { applied.append(image.size()); };
        dialog = new options(context);
    }
    ~Dialog() { delete dialog.data(); }

    template <typename T> T *find(const QString &name) const { return dialog->findChild<T *>(name); }
    QListWidget *list() const { return find<QListWidget>("List1"); }
    QStringList entries() const
    {
        QStringList names;
        for (int i = 0; i < list()->count(); ++i)
            names << list()->item(i)->text();
        return names;
    }
    QString selected() const
    {
        const auto items = list()->selectedItems();
        return items.isEmpty() ? QString() : items.first()->text();
    }
    // As the user would: the selection moves outside the dialog's own filling.
    void pick(const QString &name) const { list()->setCurrentRow(int(entries().indexOf(name))); }
    void click(const QString &button) const { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
};

} // namespace

class tst_options : public QObject
{
    Q_OBJECT
private slots:
    void listing()
    {
        // Every other test lists the 1024x768 folder.
        Dialog d(1);
        d.dialog->showModal();
        QVERIFY(d.dialog->isModal());
        // Every ordinary file in the order the file system gives them, no folders, nothing hidden.
        const QDir pictures(d.folder.file("Dorrit桌面/640x480"));
        QCOMPARE(d.entries(), pictures.entryList(QDir::Files, QDir::Unsorted));
        QVERIFY(d.entries().contains("notes.txt"));
        QCOMPARE(d.entries().size(), 4);
        QCOMPARE(d.find<QLabel>("Label2")->text(), QStringLiteral("640x480"));
        QCOMPARE(d.dialog->windowTitle(), QStringLiteral("Tesmar单词Dorrit选项"));
    }

    void preselection_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("selected");
        QTest::newRow("stored picture") << "vorn.jpg"
                                        << "vorn.jpg";
        QTest::newRow("case differs") << "VORN.JPG"
                                      << "";
        QTest::newRow("not in the folder") << "gone.jpg"
                                           << "";
        QTest::newRow("not a picture") << "notes.txt"
                                       << "notes.txt";
    }
    void preselection()
    {
        QFETCH(QString, stored);
        QFETCH(QString, selected);
        Dialog d;
        d.settings.desktopPicture = stored;
        d.dialog->showModal();
        QCOMPARE(d.selected(), selected);
        QCOMPARE(d.find<QLabel>("Image1")->pixmap().isNull(), stored != "vorn.jpg");
        // Opening never troubles the user, whatever the stored name is.
        QVERIFY(d.messages.shown.isEmpty());
    }

    void cancelChangesNothing()
    {
        Dialog d;
        const Settings before = d.settings;
        d.dialog->showModal();
        d.pick("01.jpg");
        d.find<QCheckBox>("Check1")->setChecked(false);
        d.find<QCheckBox>("Check2")->setChecked(true);
        d.click("Command2_1");
        QVERIFY(d.dialog->isHidden());
        QCOMPARE(SettingsFile::format(d.settings), SettingsFile::format(before));
        QVERIFY(d.applied.isEmpty());
        QVERIFY(!d.folder.exists(SettingsFile::fileName));

        d.dialog->showModal();
        QCOMPARE(d.selected(), QStringLiteral("vorn.jpg"));
        QVERIFY(d.find<QCheckBox>("Check1")->isChecked());
        QVERIFY(!d.find<QCheckBox>("Check2")->isChecked());
    }

    void okWithoutChangeWritesTheSameBytes()
    {
        Dialog d;
        d.folder.write(SettingsFile::fileName, SettingsFile::format(d.settings));
        const QByteArray before = d.folder.read(SettingsFile::fileName);
        d.dialog->showModal();
        d.click("Command1_0");
        QCOMPARE(d.folder.read(SettingsFile::fileName), before);
        QCOMPARE(d.applied, QList<QSize>{QSize(40, 30)});
        QVERIFY(d.dialog->isHidden());
    }

    void okStoresTheChoices()
    {
        Dialog d;
        d.dialog->showModal();
        d.pick("01.jpg");
        d.find<QCheckBox>("Check1")->setChecked(false);
        d.find<QCheckBox>("Check2")->setChecked(true);
        d.click("Command1_2");
        Settings expected = d.settings;
        expected.desktopPicture = "01.jpg";
        expected.desktopRandom = false;
        expected.readAloud = true;
        // The live settings and the file alike.
        QCOMPARE(SettingsFile::format(d.settings), SettingsFile::format(expected));
        QCOMPARE(d.folder.read(SettingsFile::fileName), SettingsFile::format(expected));
        QCOMPARE(d.applied, QList<QSize>{QSize(32, 24)});
        QVERIFY(d.messages.shown.isEmpty());
    }

    void unusablePicture_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("why");
        QTest::newRow("not a picture") << "notes.txt"
                                       << "不是可以显示的图片";
        QTest::newRow("claims 60000 x 60000") << "huge.jpg"
                                              << "图片太大（60000×60000像素）";
        QTest::newRow("no entry selected") << ""
                                           << "";
    }
    void unusablePicture()
    {
        QFETCH(QString, entry);
        QFETCH(QString, why);
        Dialog d;
        d.dialog->showModal();
        const QPixmap preview = d.find<QLabel>("Image1")->pixmap();
        if (entry.isEmpty())
            d.list()->clearSelection();
        else
            d.pick(entry);
        // The preview keeps what it showed.
        QCOMPARE(d.find<QLabel>("Image1")->pixmap().cacheKey(), preview.cacheKey());
        d.find<QCheckBox>("Check2")->setChecked(true);
        d.click("Command1_0");

        QStringList expected;
        if (!entry.isEmpty()) {
            expected << QStringLiteral("无法预览“%1”：%2。").arg(entry, why)
                     << QStringLiteral("“%1”不能用作背景：%2。背景保持不变。").arg(entry, why);
        }
        QCOMPARE(d.messages.shown, expected);
        QVERIFY(d.applied.isEmpty());
        QCOMPARE(d.settings.desktopPicture, QStringLiteral("vorn.jpg"));
        QVERIFY(d.settings.readAloud);
        QCOMPARE(d.folder.read(SettingsFile::fileName), SettingsFile::format(d.settings));
    }

    void unwritableSettingsFile()
    {
        Dialog d;
        // A folder where the file belongs fails every write, even with root's rights.
        QDir().mkpath(d.folder.file(SettingsFile::fileName));
        d.dialog->showModal();
        d.find<QCheckBox>("Check2")->setChecked(true);
        d.click("Command1_0");
        QCOMPARE(d.messages.shown,
                 QStringList{QStringLiteral("无法写入设置文件“%1”。新的选项只在这次运行中有效。")
                                 .arg(QDir::toNativeSeparators(d.folder.file(SettingsFile::fileName)))});
        QVERIFY(d.settings.readAloud);
        QVERIFY(d.dialog->isHidden());
    }

    void layout()
    {
        Dialog d;
        d.dialog->showModal();
        QCOMPARE(d.dialog->size(), QSize(383, 244));
        QCOMPARE(d.dialog->minimumSize(), d.dialog->maximumSize());
        QVERIFY(!(d.dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        auto *tabs = d.find<QTabWidget>("SSTab1");
        QCOMPARE(tabs->geometry(), QRect(8, 8, 369, 233));
        QCOMPARE(tabs->tabText(0) + tabs->tabText(1) + tabs->tabText(2), QStringLiteral("环境1环境2运行"));

        // Design rectangles converted from twips, measured from the tab control's corner;
        // a style with taller tabs moves every control down alike.
        const QList<std::pair<QString, QRect>> design = {
            {"Label1", {240, 27, 49, 17}},      {"List1", {8, 48, 161, 148}},       {"Image1", {180, 48, 177, 149}},
            {"Command1_0", {112, 208, 57, 17}}, {"Command2_0", {216, 208, 57, 17}}, {"Command1_1", {112, 208, 57, 17}},
            {"Command2_2", {216, 208, 57, 17}}};
        int shift = -1;
        for (const auto &[name, rect] : design) {
            auto *control = d.find<QWidget>(name);
            const QRect placed(control->mapTo(tabs, QPoint(0, 0)), control->size());
            if (shift < 0)
                shift = placed.top() - rect.top();
            QCOMPARE(placed, rect.translated(0, shift));
        }
        QVERIFY(shift >= 0 && shift < 10);

        // Enter and Esc press neither button.
        QTest::keyClick(d.dialog, Qt::Key_Escape);
        QTest::keyClick(d.dialog, Qt::Key_Return);
        QVERIFY(d.dialog->isVisible());
        QVERIFY(!d.folder.exists(SettingsFile::fileName));
    }
};

QTEST_MAIN(tst_options)
#include "tst_options.moc"
