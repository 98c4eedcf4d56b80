#include "PictureFixtures.h"
#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "dialogs/options.h"
#include "startup/SettingsFile.h"
#include "startup/UiBoardSurface.h"
#include "startup/frmmain.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

using PictureFixtures::jpeg;

namespace {

// Pictures of distinct sizes tell which one the window shows.
const QMap<QString, QSize> kSources = {{"011.jpg", {64, 48}},   {"vorn1.jpg", {60, 45}}, {"012.jpg", {80, 60}},
                                       {"vorn2.jpg", {76, 57}}, {"013.jpg", {96, 72}},   {"vorn3.jpg", {92, 69}}};
const QSize kBuiltIn(800, 600);

struct Window
{
    TempProgramFolder folder;
    RecordingMessages messages;
    std::unique_ptr<frmmain> window;

    // With a picture name, a settings file of a later start (companion decided) is written first.
    void start(int twips = 11520, const QString &picture = QString(), bool random = true)
    {
        if (!picture.isNull()) {
            Settings s;
            s.companionChecked = true;
            s.desktopPicture = picture;
            s.desktopRandom = random;
            folder.write(SettingsFile::fileName, SettingsFile::format(s));
        }
        frmmain::Services services;
        services.programFolder = folder.path();
        services.messages = &messages;
        services.screenHeightTwips = twips;
        window = std::make_unique<frmmain>(services, Settings{});
    }
    void writeSources() const
    {
        for (auto it = kSources.cbegin(); it != kSources.cend(); ++it)
            folder.write(it.key(), jpeg(it.value()));
    }
    QSize background() const { return window->findChild<UiBoardSurface *>("board")->background().size(); }
    template <typename T> T *inDialog(const QString &name) const
    {
        return window->optionsDialog()->findChild<T *>(name);
    }
};

} // namespace

class tst_frmmainBackground : public QObject
{
    Q_OBJECT
private slots:
    void firstStartSeedsLaterStartsDoNot()
    {
        Window w;
        w.writeSources();
        w.start();
        for (const QString &source : kSources.keys())
            QVERIFY(!w.folder.exists(source));
        for (const char *size : {"640x480", "800x600", "1024x768"}) {
            QVERIFY(w.folder.exists(QStringLiteral("Dorrit桌面/%1/01.jpg").arg(size)));
            QVERIFY(w.folder.exists(QStringLiteral("Dorrit桌面/%1/vorn.jpg").arg(size)));
        }
        const QString shown = w.background() == kSources["013.jpg"] ? "01.jpg" : "vorn.jpg";
        QVERIFY(w.background() == kSources["013.jpg"] || w.background() == kSources["vorn3.jpg"]);
        QCOMPARE(w.window->settings().desktopPicture, shown);

        // Once the companion decision is taken, sources put back stay where they are.
        w.writeSources();
        w.start(11520, "01.jpg");
        for (const QString &source : kSources.keys())
            QVERIFY(w.folder.exists(source));
    }

    void pictureAtStart_data()
    {
        QTest::addColumn<int>("twips");
        QTest::addColumn<QString>("file"); // under Dorrit桌面, or nothing
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("random");
        QTest::addColumn<QSize>("shown");
        QTest::newRow("640x480") << 7200 << "640x480/a.jpg"
                                 << "01.jpg" << true << QSize(64, 48);
        QTest::newRow("800x600") << 9000 << "800x600/a.jpg"
                                 << "01.jpg" << true << QSize(80, 60);
        QTest::newRow("other heights use 1024x768") << 10000 << "1024x768/a.jpg"
                                                    << "01.jpg" << true << QSize(96, 72);
        QTest::newRow("random off: the stored picture") << 11520 << "1024x768/mine.jpg"
                                                        << "mine.jpg" << false << QSize(96, 72);
        QTest::newRow("missing folder: built-in stays") << 11520 << ""
                                                        << "01.jpg" << true << kBuiltIn;
        QTest::newRow("damaged picture: built-in stays") << 11520 << "1024x768/bad.jpg"
                                                         << "01.jpg" << true << kBuiltIn;
    }
    void pictureAtStart()
    {
        QFETCH(int, twips);
        QFETCH(QString, file);
        QFETCH(QString, stored);
        QFETCH(bool, random);
        QFETCH(QSize, shown);
        Window w;
        if (!file.isEmpty())
            w.folder.write("Dorrit桌面/" + file, file.endsWith("bad.jpg") ? QByteArray("\xFF\xD8 cut") : jpeg(shown));
        // A random pick would show this one at times.
        if (!random)
            w.folder.write("Dorrit桌面/1024x768/other.jpg", jpeg({10, 10}));
        w.start(twips, stored, random);
        QCOMPARE(w.background(), shown);
    }

    void optionsDialogFromTheMenu()
    {
        Window w;
        w.folder.write("Dorrit桌面/1024x768/01.jpg", jpeg({96, 72}));
        w.folder.write("Dorrit桌面/1024x768/vorn.jpg", jpeg({92, 69}));
        w.start(11520, "01.jpg", false);
        w.window->findChild<QAction *>("mnuoption")->trigger();
        options *first = w.window->optionsDialog();
        QVERIFY(first && first->isVisible());
        QCOMPARE(first->windowModality(), Qt::ApplicationModal);

        // OK changes the live settings at once: the next hover reads readAloud from them.
        w.inDialog<QTabWidget>("SSTab1")->setCurrentIndex(2);
        w.inDialog<QCheckBox>("Check2")->setChecked(true);
        auto *list = w.inDialog<QListWidget>("List1");
        list->setCurrentItem(list->findItems("vorn.jpg", Qt::MatchExactly).value(0));
        QTest::mouseClick(w.inDialog<QPushButton>("Command1_2"), Qt::LeftButton);
        QVERIFY(w.window->settings().readAloud);
        QCOMPARE(w.background(), QSize(92, 69));
        QVERIFY(first->isHidden());

        // Hidden, not gone: the same dialog comes back on the tab it was left on.
        w.window->mnuoption_Click();
        QCOMPARE(w.window->optionsDialog(), first);
        QCOMPARE(w.inDialog<QTabWidget>("SSTab1")->currentIndex(), 2);

        // The close box forgets it, and the next one starts on the first tab.
        first->close();
        QTRY_VERIFY(!w.window->optionsDialog());
        w.window->mnuoption_Click();
        QCOMPARE(w.inDialog<QTabWidget>("SSTab1")->currentIndex(), 0);
        QVERIFY(w.messages.shown.isEmpty());
    }
};

QTEST_MAIN(tst_frmmainBackground)
#include "tst_frmmainBackground.moc"
