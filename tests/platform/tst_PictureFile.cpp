#include "common/TempProgramFolder.h"
#include "gui/PictureFixtures.h"
#include "platform/PictureFile.h"

#include <QTest>
#include <QtEndian>

using namespace PictureFixtures;

class tst_PictureFile : public QObject
{
    Q_OBJECT
private slots:
    // What cannot be shown says why, in the words of the message; a cut picture shows what
    // the decoder had.
    void load_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("scaledTo");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("reason");
        // A 24-bit BMP header that claims 16000 x 16000 pixels, with none behind it.
        QByteArray bmp = encoded(QImage(4, 4, QImage::Format_RGB32), "BMP").left(54);
        qToLittleEndian<qint32>(16000, bmp.data() + 18), qToLittleEndian<qint32>(16000, bmp.data() + 22);
        const QSize none, noImage(0, 0);
        // clang-format off
        const std::tuple<const char *, const char *, QByteArray, QSize, QSize, const char *> rows[] = {
            {"JPEG", "a.jpg", jpeg({64, 48}), none, {64, 48}, ""},
            {"JPEG as a preview", "a.jpg", jpeg({1024, 768}), {177, 149}, {177, 149}, ""},
            {"PNG named .jpg", "b.jpg", encoded(QImage(5, 7, QImage::Format_RGB32), "PNG"), none, {5, 7}, ""},
            {"JPEG cut in its pixels", "c.jpg", jpeg({640, 480}).chopped(200), none, {640, 480}, ""},
            {"JPEG cut in its header", "d.jpg", jpeg({64, 48}).left(120), none, noImage, "图片文件已损坏"},
            {"text named .jpg", "e.jpg", "not a picture\r\n", none, noImage, "不是可以显示的图片"},
            {"empty file", "f.jpg", "", none, noImage, "不是可以显示的图片"},
            {"JPEG claiming 60000 x 60000", "g.jpg", jpegClaiming(60000, 60000), none, noImage, "图片太大（60000×60000像素）"},
            {"BMP claiming 16000 x 16000", "h.bmp", bmp, none, noImage, "图片太大（16000×16000像素）"},
            // An empty name names the folder itself, as a picture path without a file does.
            {"no file", "", {}, none, noImage, "文件不存在或无法读取"},
        };
        // clang-format on
        for (const auto &[row, name, bytes, scaledTo, size, reason] : rows)
            QTest::newRow(row) << name << bytes << scaledTo << size << QString::fromUtf8(reason);
    }
    void load()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, scaledTo);
        TempProgramFolder folder;
        if (!name.isEmpty())
            folder.write(name, bytes);
        const LoadedPicture picture = PictureFile::load(folder.file(name), scaledTo);
        QTEST(picture.image.size(), "size");
        QTEST(PictureFile::reason(picture), "reason");
    }
};

QTEST_MAIN(tst_PictureFile)
#include "tst_PictureFile.moc"
