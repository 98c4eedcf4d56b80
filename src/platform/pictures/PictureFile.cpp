#include "platform/pictures/PictureFile.h"

#include <QFileInfo>
#include <QImageReader>

LoadedPicture PictureFile::load(const QString &path, const QSize &scaledTo)
{
    LoadedPicture result;
    // An empty name joined to a folder names the folder itself.
    if (!QFileInfo(path).isFile()) {
        result.failure = LoadedPicture::Failure::Missing;
        return result;
    }
    QImageReader reader(path);
    reader.setAutoTransform(true);
    if (!reader.canRead()) {
        result.failure =
            reader.error() == QImageReader::FileNotFoundError || reader.error() == QImageReader::DeviceError
                ? LoadedPicture::Failure::Missing
                : LoadedPicture::Failure::NotAPicture;
        return result;
    }
    result.claimedSize = reader.size();
    const int limit = QImageReader::allocationLimit() > 0 ? QImageReader::allocationLimit() : fallbackLimitMegabytes;
    // Four bytes a pixel, as the window keeps it.
    if (result.claimedSize.isValid() &&
        qint64(result.claimedSize.width()) * result.claimedSize.height() * 4 > qint64(limit) * 1024 * 1024) {
        result.failure = LoadedPicture::Failure::TooLarge;
        return result;
    }
    if (scaledTo.isValid() && !scaledTo.isEmpty())
        reader.setScaledSize(scaledTo);
    if (!reader.read(&result.image)) {
        result.image = QImage();
        result.failure = reader.error() == QImageReader::UnsupportedFormatError ? LoadedPicture::Failure::NotAPicture
                                                                                : LoadedPicture::Failure::Damaged;
    }
    return result;
}

QString PictureFile::reason(const LoadedPicture &picture)
{
    switch (picture.failure) {
    case LoadedPicture::Failure::None:
        return QString();
    case LoadedPicture::Failure::Missing:
        return QStringLiteral("文件不存在或无法读取");
    case LoadedPicture::Failure::NotAPicture:
        return QStringLiteral("不是可以显示的图片");
    case LoadedPicture::Failure::TooLarge:
        return QStringLiteral("图片太大（%1×%2像素）")
            .arg(picture.claimedSize.width())
            .arg(picture.claimedSize.height());
    case LoadedPicture::Failure::Damaged:
        return QStringLiteral("图片文件已损坏");
    }
    return QString();
}
