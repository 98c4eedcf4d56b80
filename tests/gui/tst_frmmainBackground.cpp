#include "RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "common/TestMain.h"
#include "dialogs/options.h"
#include "startup/SettingsFile.h"
#include "startup/UiBoardSurface.h"
#include "startup/frmmain.h"

#include <QBuffer>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

QByteArray jpeg(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(230, 240, 250));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

// Pictures of distinct sizes tell which one the window shows.
const QMap<QString, QSize> kSources = {{"011.jpg", {64, 48}},   {"vorn1.jpg", {60, 45}}, {"012.jpg", {80, 60}},
                                       {"vorn2.jpg", {76, 57}}, {"013.jpg", {96, 72}},   {"vorn3.jpg", {92, 69}}};
const QSize kBuiltIn(800, 600);

struct Window
{
    TempProgramFolder folder;
    RecordingMessages messages;
    std::unique_ptr<frmmain> window;

    void start(int twips = 11520)
    {
        frmmain::Services services;
        services.programFolder = folder.path();
        services.messages = &messages;
        services.screenHeightTwips = twips;
        window = std::make_unique<frmmain>(services, Settings{});
    }
    void startWithSettings(const Settings &settings, int twips = 11520)
    {
        folder.write(SettingsFile::fileName, SettingsFile::format(settings));
        start(twips);
    }
    QSize background() const { return window->findChild<UiBoardSurface *>("board")->background().size(); }
    options *dialog() const { return window->optionsDialog(); }
};

Settings decided(const QString &picture, bool random)
{
    Settings s;
    s.companionChecked = true;
    s.shareCompanionFolders = false;
    s.desktopPicture = picture;
    s.desktopRandom = random;
    return s;
}

} // namespace

class tst_frmmainBackground : public QObject
{
    Q_OBJECT
private slots:
    void firstStartSeedsAndShowsOne()
    {
        Window w;
        for (auto it = kSources.cbegin(); it != kSources.cend(); ++it)
            w.folder.write(it.key(), jpeg(it.value()));
        w.start();
        for (const QString &source : kSources.keys())
            QVERIFY(!w.folder.exists(source));
        for (const char *size : {"640x480", "800x600", "1024x768"}) {
            QVERIFY(w.folder.exists(QStringLiteral("Dorrit桌面/%1/01.jpg").arg(size)));
            QVERIFY(w.folder.exists(QStringLiteral("Dorrit桌面/%1/vorn.jpg").arg(size)));
        }
        QVERIFY(w.background() == kSources["013.jpg"] || w.background() == kSources["vorn3.jpg"]);
        QCOMPARE(w.window->settings().desktopPicture, QString(w.background() == QSize(96, 72) ? "01.jpg" : "vorn.jpg"));
    }

    void laterStartsLeaveTheSourcesAlone()
    {
        Window w;
        for (auto it = kSources.cbegin(); it != kSources.cend(); ++it)
            w.folder.write(it.key(), jpeg(it.value()));
        w.startWithSettings(decided("01.jpg", true));
        for (const QString &source : kSources.keys())
            QVERIFY(w.folder.exists(source));
        QVERIFY(!w.folder.exists("Dorrit桌面"));
        QCOMPARE(w.background(), kBuiltIn);
    }

    void pictureOfTheLayout_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<QString>("files"); // folder and picture, or nothing
        QTest::addColumn<QSize>("shown");
        QTest::newRow("640x480") << 7200 << "640x480/a.jpg" << QSize(64, 48);
        QTest::newRow("800x600") << 9000 << "800x600/a.jpg" << QSize(80, 60);
        QTest::newRow("other heights use 1024x768") << 10000 << "1024x768/a.jpg" << QSize(96, 72);
        QTest::newRow("missing folder: built-in stays") << 11520 << "" << kBuiltIn;
        QTest::newRow("damaged picture: built-in stays") << 11520 << "1024x768/bad.jpg" << kBuiltIn;
    }
    void pictureOfTheLayout()
    {
        QFETCH(int, twips);
        QFETCH(QString, files);
        QFETCH(QSize, shown);
        Window w;
        if (!files.isEmpty()) {
            const QByteArray bytes = files.endsWith("bad.jpg") ? QByteArray("\xFF\xD8 truncated") : jpeg(shown);
            w.folder.write("Dorrit桌面/" + files, bytes);
        }
        w.startWithSettings(decided("01.jpg", true), twips);
        QCOMPARE(w.background(), shown);
    }

    void randomOffShowsTheStoredPicture()
    {
        // Any of the pictures would do for a random pick; with random off only the stored one.
        for (int start = 0; start < 4; ++start) {
            Window w;
            for (const char *name : {"a.jpg", "b.jpg", "c.jpg"})
                w.folder.write(QStringLiteral("Dorrit桌面/1024x768/") + name, jpeg({10, 10}));
            QImage mine(33, 22, QImage::Format_RGB32);
            mine.fill(Qt::white);
            mine.save(w.folder.file("Dorrit桌面/1024x768/mine.bmp"), "BMP");
            w.startWithSettings(decided("mine.bmp", false));
            QCOMPARE(w.background(), QSize(33, 22));
            QCOMPARE(w.window->settings().desktopPicture, QStringLiteral("mine.bmp"));
        }
    }

    void optionsDialogFromTheMenu()
    {
        Window w;
        w.folder.write("Dorrit桌面/1024x768/01.jpg", jpeg({96, 72}));
        w.folder.write("Dorrit桌面/1024x768/vorn.jpg", jpeg({92, 69}));
        w.startWithSettings(decided("01.jpg", false));
        QCOMPARE(w.background(), QSize(96, 72));
        w.window->findChild<QAction *>("mnuoption")->trigger();
        options *first = w.dialog();
        QVERIFY(first && first->isVisible());
        QCOMPARE(first->windowModality(), Qt::ApplicationModal);

        // OK changes the live settings at once: the next hover reads readAloud from them.
        first->findChild<QTabWidget *>("SSTab1")->setCurrentIndex(2);
        first->findChild<QCheckBox *>("Check2")->setChecked(true);
        auto *list = first->findChild<QListWidget *>("List1");
        list->setCurrentItem(list->findItems("vorn.jpg", Qt::MatchExactly).value(0));
        QTest::mouseClick(first->findChild<QPushButton *>("Command1_2"), Qt::LeftButton);
        QVERIFY(w.window->settings().readAloud);
        QCOMPARE(w.background(), QSize(92, 69));
        QVERIFY(first->isHidden());

        // Hidden, not gone: the same dialog comes back on the tab it was left on.
        w.window->mnuoption_Click();
        QCOMPARE(w.dialog(), first);
        QCOMPARE(first->findChild<QTabWidget *>("SSTab1")->currentIndex(), 2);

        // The close box forgets it, and the next one starts on the first tab.
        first->close();
        QTRY_VERIFY(!w.dialog());
        w.window->mnuoption_Click();
        QVERIFY(w.dialog());
        QCOMPARE(w.dialog()->findChild<QTabWidget *>("SSTab1")->currentIndex(), 0);
        QVERIFY(w.dialog()->findChild<QCheckBox *>("Check2")->isChecked());
        QVERIFY(w.messages.shown.isEmpty());
    }
};

DORRIT_TEST_CLASS(tst_frmmainBackground)
#include "tst_frmmainBackground.moc"
