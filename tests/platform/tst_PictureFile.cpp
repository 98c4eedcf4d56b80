#include "common/TempProgramFolder.h"
#include "gui/PictureFixtures.h"
#include "platform/pictures/PictureFile.h"

#include <QTest>
#include <QtEndian>

using namespace PictureFixtures;

class tst_PictureFile : public QObject
{
    Q_OBJECT
private slots:
    // What cannot be shown says why, in the words of the message; a cut picture shows what
    // the decoder had. Text, and a JPEG too large to show: in the options dialog's suite.
    void load_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // of "picture.jpg"; null: no file
        QTest::addColumn<QSize>("scaledTo");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QString>("reason");
        // A 24-bit BMP header that claims 16000 x 16000 pixels, with none behind it.
        QByteArray bmp = encoded(QImage(4, 4, QImage::Format_RGB32), "BMP").left(54);
        qToLittleEndian<qint32>(16000, bmp.data() + 18), qToLittleEndian<qint32>(16000, bmp.data() + 22);
        const QSize none, noImage(0, 0);
        // clang-format off
        const std::tuple<const char *, QByteArray, QSize, QSize, const char *> rows[] = {
            {"JPEG as a preview", jpeg({1024, 768}), {177, 149}, {177, 149}, ""},
            {"PNG named .jpg", encoded(QImage(5, 7, QImage::Format_RGB32), "PNG"), none, {5, 7}, ""},
            {"JPEG cut in its pixels", jpeg({640, 480}).chopped(200), none, {640, 480}, ""},
            {"JPEG cut in its header", jpeg({64, 48}).left(120), none, noImage, "图片文件已损坏"},
            {"BMP claiming 16000 x 16000", bmp, none, noImage, "图片太大（16000×16000像素）"},
            {"no file", {}, none, noImage, "文件不存在或无法读取"},
        };
        // clang-format on
        for (const auto &[row, bytes, scaledTo, size, reason] : rows)
            QTest::newRow(row) << bytes << scaledTo << size << QString::fromUtf8(reason);
    }
    void load()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, scaledTo);
        TempProgramFolder folder;
        if (!bytes.isNull())
            folder.write("picture.jpg", bytes);
        const LoadedPicture picture = PictureFile::load(folder.file("picture.jpg"), scaledTo);
        QTEST(picture.image.size(), "size");
        QTEST(PictureFile::reason(picture), "reason");
    }
};

QTEST_MAIN(tst_PictureFile)
#include "tst_PictureFile.moc"
