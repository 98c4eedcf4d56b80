#include "PictureFixtures.h"
#include "common/TempProgramFolder.h"
#include "platform/PictureFile.h"

#include <QTest>

using namespace PictureFixtures;
using Failure = LoadedPicture::Failure;
Q_DECLARE_METATYPE(Failure)

namespace {

// A 24-bit BMP header claiming the given size, with no pixels behind it.
QByteArray bmpClaiming(qint32 width, qint32 height)
{
    QByteArray bytes = encoded(QImage(4, 4, QImage::Format_RGB32), "BMP").left(54);
    for (int i = 0; i < 4; ++i) {
        bytes[18 + i] = char((width >> (8 * i)) & 0xFF);
        bytes[22 + i] = char((height >> (8 * i)) & 0xFF);
    }
    return bytes;
}

} // namespace

class tst_PictureFile : public QObject
{
    Q_OBJECT
private slots:
    void load_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Failure>("failure");
        QTest::addColumn<QSize>("size");

        QTest::newRow("JPEG") << "a.jpg" << jpeg({64, 48}) << Failure::None << QSize(64, 48);
        QTest::newRow("PNG named .jpg") << "b.jpg" << encoded(QImage(5, 7, QImage::Format_RGB32), "PNG")
                                        << Failure::None << QSize(5, 7);
        // What the decoder had is shown; the rest stays grey.
        QTest::newRow("JPEG cut in its pixels")
            << "c.jpg" << jpeg({640, 480}).chopped(200) << Failure::None << QSize(640, 480);
        QTest::newRow("JPEG cut in its header")
            << "d.jpg" << jpeg({64, 48}).left(120) << Failure::Damaged << QSize(0, 0);
        QTest::newRow("text named .jpg") << "e.jpg" << QByteArray("not a picture\r\n") << Failure::NotAPicture
                                         << QSize(0, 0);
        QTest::newRow("empty file") << "f.jpg" << QByteArray("") << Failure::NotAPicture << QSize(0, 0);
        QTest::newRow("JPEG claiming 60000 x 60000")
            << "g.jpg" << jpegClaiming(60000, 60000) << Failure::TooLarge << QSize(0, 0);
        QTest::newRow("BMP claiming 16000 x 16000")
            << "h.bmp" << bmpClaiming(16000, 16000) << Failure::TooLarge << QSize(0, 0);
        // An empty name names the folder itself, as a picture path without a file does.
        QTest::newRow("no file") << "" << QByteArray() << Failure::Missing << QSize(0, 0);
    }
    void load()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(Failure, failure);
        QFETCH(QSize, size);
        TempProgramFolder folder;
        if (!name.isEmpty())
            folder.write(name, bytes);
        const LoadedPicture picture = PictureFile::load(folder.file(name));
        QCOMPARE(picture.failure, failure);
        QCOMPARE(picture.image.size(), size);
        QCOMPARE(PictureFile::reason(picture).isEmpty(), failure == Failure::None);
    }

    void previewDecodesToItsSize()
    {
        TempProgramFolder folder;
        folder.write("big.jpg", jpeg({1024, 768}));
        QCOMPARE(PictureFile::load(folder.file("big.jpg"), QSize(177, 149)).image.size(), QSize(177, 149));
    }
};

QTEST_MAIN(tst_PictureFile)
#include "tst_PictureFile.moc"
