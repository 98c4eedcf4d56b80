#include "common/TempProgramFolder.h"
#include "startup/BackgroundPictures.h"

#include <QDir>
#include <QTest>

namespace {

const QStringList kSources = {"011.jpg", "vorn1.jpg", "012.jpg", "vorn2.jpg", "013.jpg", "vorn3.jpg"};

QString target(const QString &source)
{
    static const QStringList folders = {"640x480", "800x600", "1024x768"};
    const int row = int(kSources.indexOf(source)) / 2;
    return QStringLiteral("Dorrit桌面/%1/%2").arg(folders[row], source.startsWith("vorn") ? "vorn.jpg" : "01.jpg");
}

} // namespace

class tst_BackgroundPictures : public QObject
{
    Q_OBJECT
private slots:
    void seed_data()
    {
        QTest::addColumn<QStringList>("present");
        // Paths in the program folder that are folders or files in the way of a copy.
        QTest::addColumn<QStringList>("obstacles");
        QTest::addColumn<QStringList>("kept");

        QTest::newRow("all six sources") << kSources << QStringList() << QStringList();
        QTest::newRow("row with one source missing")
            << QStringList{"011.jpg", "vorn1.jpg", "012.jpg", "013.jpg", "vorn3.jpg"} << QStringList()
            << QStringList{"012.jpg"};
        QTest::newRow("copy fails: a folder where the copy goes")
            << kSources << QStringList{"Dorrit桌面/640x480/01.jpg/"} << QStringList{"011.jpg"};
        QTest::newRow("folder cannot be made: a file in its place")
            << kSources << QStringList{"Dorrit桌面"} << kSources;
    }
    void seed()
    {
        QFETCH(QStringList, present);
        QFETCH(QStringList, obstacles);
        QFETCH(QStringList, kept);
        TempProgramFolder folder;
        for (const QString &name : present)
            folder.write(name, "picture " + name.toUtf8());
        for (const QString &path : obstacles) {
            if (path.endsWith(u'/'))
                QDir().mkpath(folder.file(path));
            else
                folder.write(path, "in the way");
        }

        BackgroundPictures::seed(folder.path());

        for (const QString &name : kSources) {
            if (!present.contains(name))
                continue;
            // Every picture is somewhere, never lost, never in two places.
            const bool copied = QFileInfo(folder.file(target(name))).isFile();
            QCOMPARE(folder.exists(name), kept.contains(name));
            QCOMPARE(copied, !kept.contains(name));
            if (copied)
                QCOMPARE(folder.read(target(name)), "picture " + name.toUtf8());
        }
        if (!present.contains("vorn2.jpg"))
            QVERIFY(!folder.exists("Dorrit桌面/800x600/01.jpg"));
    }

    void chooseAtStart_data()
    {
        QTest::addColumn<QStringList>("files"); // a trailing slash makes a folder
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("random");
        QTest::addColumn<double>("r");
        QTest::addColumn<QString>("expected"); // #k: the k-th jpg in the order the file system lists them

        QTest::newRow("one jpg") << QStringList{"only.jpg", "notes.txt"} << "01.jpg" << true << 0.0 << "only.jpg";
        QTest::newRow("no jpg: the stored bitmap")
            << QStringList{"mine.bmp"} << "mine.bmp" << true << 0.5 << "mine.bmp";
        QTest::newRow("missing folder: the stored name") << QStringList() << "01.jpg" << true << 0.5 << "01.jpg";
        QTest::newRow("upper-case extension counts")
            << QStringList{"PHOTO.JPG"} << "01.jpg" << true << 0.5 << "PHOTO.JPG";
        QTest::newRow("hidden and folder names are no pictures")
            << QStringList{".hidden.jpg", "album.jpg/", "seen.jpg"} << "01.jpg" << true << 0.99 << "seen.jpg";
        QTest::newRow("random off: the stored picture")
            << QStringList{"a.jpg", "b.jpg", "c.bmp"} << "c.bmp" << false << 0.0 << "c.bmp";
        QTest::newRow("random off, stored gone: a random pick")
            << QStringList{"a.jpg"} << "gone.jpg" << false << 0.7 << "a.jpg";
        QTest::newRow("random off, stored outside the folder")
            << QStringList{"a.jpg", "../outside.jpg"} << "../outside.jpg" << false << 0.0 << "a.jpg";
        QTest::newRow("random on ignores the stored picture")
            << QStringList{"a.jpg", "c.bmp"} << "c.bmp" << true << 0.0 << "a.jpg";
        // Int(r * count) + 1 on the names as listed; a generator that strays to 1.0 still picks the last.
        const QStringList four = {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.txt"};
        QTest::newRow("four, r 0.375") << four << "" << true << 0.375 << "#1";
        QTest::newRow("four, r 0.875") << four << "" << true << 0.875 << "#3";
        QTest::newRow("four, r 1.0") << four << "" << true << 1.0 << "#3";
    }
    void chooseAtStart()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, stored);
        QFETCH(bool, random);
        QFETCH(double, r);
        QFETCH(QString, expected);
        TempProgramFolder program;
        const QString folder = BackgroundPictures::folder(program.path(), 3);
        for (const QString &name : files) {
            if (name.endsWith(u'/'))
                QDir().mkpath(QDir(folder).filePath(name));
            else
                writeFile(QDir(folder).filePath(name), "x");
        }
        if (expected.startsWith(u'#'))
            expected = QDir(folder).entryList({"*.jpg"}, QDir::Files, QDir::Unsorted).value(expected.mid(1).toInt());
        QCOMPARE(BackgroundPictures::chooseAtStart(folder, stored, random, [r] { return r; }), expected);
    }
};

QTEST_GUILESS_MAIN(tst_BackgroundPictures)
#include "tst_BackgroundPictures.moc"
