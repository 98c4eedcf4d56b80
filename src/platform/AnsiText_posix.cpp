#include "platform/AnsiText.h"

#include <QStringDecoder>
#include <QStringEncoder>

// Debian's Qt converts GBK through ICU, which maps the same table as Windows code page 936.
namespace AnsiText {

QString decode(QByteArrayView bytes)
{
    // Opening the converter costs several times what decoding a meaning does, and the
    // board and the type-ahead list decode many short ones.
    thread_local QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

QByteArray encode(QStringView text)
{
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

int cellCount(QStringView text)
{
    QStringEncoder encoder("GBK", QStringConverter::Flag::Stateless);
    int cells = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80) {
            cells += 1;
            continue;
        }
        const QByteArray one = encoder.encode(QStringView(&text.data()[i], 1));
        cells += one.size() == 2 ? 2 : 1;
    }
    return cells;
}

} // namespace AnsiText
