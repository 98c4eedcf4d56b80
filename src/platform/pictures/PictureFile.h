#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// A picture read from a file, or why it could not be.
struct LoadedPicture
{
    enum class Failure { None, Missing, NotAPicture, TooLarge, Damaged };

    QImage image;
    Failure failure = Failure::None;
    // What the file claims, when it says; shown when a picture is refused as too large.
    QSize claimedSize;

    bool ok() const { return failure == Failure::None; }
};

// Reads background pictures with Qt's image reader under its allocation limit. A file's
// own claim of its size is checked before any pixel is decoded, so a header that claims
// 60000 x 60000 pixels is refused at once instead of after minutes of decoding.
class PictureFile
{
public:
    // Megabytes a decoded picture may take when the reader's own limit is switched off.
    static constexpr int fallbackLimitMegabytes = 128;

    // With a size, the picture is decoded straight to it (a preview need not hold a photo).
    static LoadedPicture load(const QString &path, const QSize &scaledTo = QSize());
    // Why the picture was refused, as a short Chinese phrase for a message.
    static QString reason(const LoadedPicture &picture);
};
