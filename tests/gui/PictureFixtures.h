#pragma once

#include <QBuffer>
#include <QImage>

// Picture files made in memory: sizes tell apart which picture a window shows.
namespace PictureFixtures {

inline QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

inline QByteArray jpeg(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(220, 230, 240));
    return encoded(image, "JPEG");
}

// A small JPEG whose frame header claims another size.
inline QByteArray jpegClaiming(quint16 width, quint16 height)
{
    QByteArray bytes = jpeg(QSize(8, 8));
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    bytes[sof + 5] = char(height >> 8), bytes[sof + 6] = char(height & 0xFF);
    bytes[sof + 7] = char(width >> 8), bytes[sof + 8] = char(width & 0xFF);
    return bytes;
}

} // namespace PictureFixtures
