#include "platform/text/AnsiText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

// Debian's Qt converts GBK through ICU, which maps the same table as Windows code page 936.
namespace AnsiText {

namespace {

QString slowDecode(QByteArrayView bytes)
{
    // Opening the converter costs several times what decoding a meaning does.
    thread_local QStringDecoder decoder("GBK", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

constexpr int kTrails = 0xFF - 0x40;

// Every code of the code page decoded once by the converter itself, so that the common
// case is a table look-up: a call into the converter costs more than a short meaning.
// 0 marks what is not a whole character alone; such text goes to the converter.
struct CodeTable
{
    std::array<char16_t, 0x7F * kTrails> pairs{}; // lead 0x81..0xFE, trail 0x40..0xFE
    std::array<char16_t, 0x80> single{};          // 0x80..0xFF on their own

    CodeTable()
    {
        // Each code alone on a line, so that a bad one cannot spoil its neighbours.
        QByteArray all;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail)
                all += char(lead), all += char(trail), all += '\n';
        }
        for (int b = 0x80; b <= 0xFF; ++b)
            all += char(b), all += '\n';
        const QString decoded = slowDecode(all);
        const char16_t *d = reinterpret_cast<const char16_t *>(decoded.constData());
        const char16_t *end = d + decoded.size();
        // The next line's character when it is one whole character, else 0.
        const auto entry = [&] {
            const char16_t *line = d;
            while (d < end && *d != u'\n')
                ++d;
            const bool one = d - line == 1 && *line != QChar::ReplacementCharacter;
            if (d < end)
                ++d;
            return one ? *line : char16_t(0);
        };
        for (char16_t &c : pairs)
            c = entry();
        for (char16_t &c : single)
            c = entry();
    }
};

const CodeTable &codeTable()
{
    static const CodeTable table;
    return table;
}

} // namespace

QString decode(QByteArrayView bytes)
{
    // Filled at the first text that needs it: plain ASCII never does.
    const CodeTable *table = nullptr;
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    QString out(n, Qt::Uninitialized);
    char16_t *o = reinterpret_cast<char16_t *>(out.data());
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char b = p[i];
        char16_t c = b;
        if (b >= 0x80) {
            if (!table)
                table = &codeTable();
            if (b >= 0x81 && b <= 0xFE && i + 1 < n && p[i + 1] >= 0x40 && p[i + 1] <= 0xFE)
                c = table->pairs[size_t((b - 0x81) * kTrails + (p[++i] - 0x40))];
            else
                c = table->single[size_t(b - 0x80)];
            // Damaged or unusual text: the converter decides, as it always has.
            if (c == 0)
                return slowDecode(bytes);
        }
        *o++ = c;
    }
    out.truncate(o - reinterpret_cast<char16_t *>(out.data()));
    return out;
}

std::optional<QString> decodeStrictly(QByteArrayView bytes)
{
    QStringDecoder gbk("GBK", QStringConverter::Flag::Stateless);
    QString text = gbk.decode(bytes);
    if (gbk.hasError())
        return std::nullopt;
    return text;
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
