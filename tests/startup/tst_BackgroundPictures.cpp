#include "common/TempProgramFolder.h"
#include "startup/BackgroundPictures.h"

#include <QDir>
#include <QTest>

namespace {

const QStringList kSources = {"011.jpg", "vorn1.jpg", "012.jpg", "vorn2.jpg", "013.jpg", "vorn3.jpg"};

// Files (a trailing slash makes a folder) under a folder.
void make(const QString &folder, const QStringList &paths)
{
    for (const QString &path : paths) {
        if (path.endsWith(u'/'))
            QDir().mkpath(QDir(folder).filePath(path));
        else
            writeFile(QDir(folder).filePath(path), path.toUtf8());
    }
}

} // namespace

class tst_BackgroundPictures : public QObject
{
    Q_OBJECT
private slots:
    void seed_data()
    {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("obstacles"); // in the way of a copy
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("all six sources") << kSources << QStringList() << QStringList();
        QTest::newRow("row with one source missing")
            << QStringList{"011.jpg", "vorn1.jpg", "012.jpg", "013.jpg", "vorn3.jpg"} << QStringList()
            << QStringList{"012.jpg"};
        QTest::newRow("copy fails: a folder where the copy goes")
            << kSources << QStringList{"Dorrit桌面/640x480/01.jpg/"} << QStringList{"011.jpg"};
        QTest::newRow("folder cannot be made: a file in its place") << kSources << QStringList{"Dorrit桌面"} << kSources;
    }
    void seed()
    {
        QFETCH(QStringList, present);
        QFETCH(QStringList, kept);
        TempProgramFolder folder;
        make(folder.path(), present);
        QFETCH(QStringList, obstacles);
        make(folder.path(), obstacles);

        BackgroundPictures::seed(folder.path());

        for (const QString &name : kSources) {
            const QString target = BackgroundPictures::folder(folder.path(), kSources.indexOf(name) / 2 + 1) +
                                   (name.startsWith("vorn") ? "/vorn.jpg" : "/01.jpg");
            // Every picture is somewhere, never lost, never in two places.
            const bool copied = QFileInfo(target).isFile();
            QCOMPARE(folder.exists(name), present.contains(name) && kept.contains(name));
            QCOMPARE(copied, present.contains(name) && !kept.contains(name));
            if (copied)
                QCOMPARE(folder.read(QDir(folder.path()).relativeFilePath(target)), name.toUtf8());
        }
    }

    void chooseAtStart_data()
    {
        QTest::addColumn<QStringList>("files"); // a trailing slash makes a folder
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("random");
        QTest::addColumn<double>("r");
        QTest::addColumn<QString>("expected"); // #k: the k-th jpg in the order the file system lists them
        QTest::newRow("one jpg") << QStringList{"only.jpg", "notes.txt"} << "01.jpg" << true << 0.0 << "only.jpg";
        QTest::newRow("no jpg: the stored bitmap") << QStringList{"mine.bmp"} << "mine.bmp" << true << 0.5 << "mine.bmp";
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
        QTest::newRow("four, r 1.0") << four << "" << true << 1.0 << "#3";
    }
    void chooseAtStart()
    {
        QFETCH(QString, stored);
        QFETCH(bool, random);
        QFETCH(double, r);
        QFETCH(QString, expected);
        TempProgramFolder program;
        const QString folder = BackgroundPictures::folder(program.path(), 3);
        QFETCH(QStringList, files);
        make(folder, files);
        if (expected.startsWith(u'#'))
            expected = QDir(folder).entryList({"*.jpg"}, QDir::Files, QDir::Unsorted).value(expected.mid(1).toInt());
        QCOMPARE(BackgroundPictures::chooseAtStart(folder, stored, random, [r] { return r; }), expected);
    }
};

QTEST_GUILESS_MAIN(tst_BackgroundPictures)
#include "tst_BackgroundPictures.moc"
