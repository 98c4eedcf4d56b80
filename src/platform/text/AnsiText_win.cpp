#include "platform/text/AnsiText.h"

#include <windows.h>

// Qt on Windows may be built without ICU, so code page 936 goes through Win32 itself.
namespace AnsiText {

namespace {
constexpr UINT kCodePage = 936;
}

QString decode(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    const int n = MultiByteToWideChar(kCodePage, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    QString out(n, Qt::Uninitialized);
    MultiByteToWideChar(kCodePage, 0, bytes.data(), int(bytes.size()), reinterpret_cast<wchar_t *>(out.data()), n);
    return out;
}

std::optional<QString> decodeStrictly(QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return QString();
    const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()), nullptr, 0);
    if (n == 0)
        return std::nullopt;
    QString out(n, Qt::Uninitialized);
    MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), int(bytes.size()),
                        reinterpret_cast<wchar_t *>(out.data()), n);
    return out;
}

QByteArray encode(QStringView text)
{
    if (text.isEmpty())
        return QByteArray();
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int n = WideCharToMultiByte(kCodePage, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    QByteArray out(n, Qt::Uninitialized);
    WideCharToMultiByte(kCodePage, 0, wide, int(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

int cellCount(QStringView text)
{
    int cells = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const wchar_t c = wchar_t(text.at(i).unicode());
        if (c < 0x80) {
            cells += 1;
            continue;
        }
        char buf[4];
        BOOL usedDefault = FALSE;
        const int n = WideCharToMultiByte(kCodePage, 0, &c, 1, buf, sizeof buf, nullptr, &usedDefault);
        cells += (n == 2 && !usedDefault) ? 2 : 1;
    }
    return cells;
}

} // namespace AnsiText
