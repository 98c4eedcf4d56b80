#include "platform/registry/WineRegistryFile.h"

#include "platform/text/AnsiText.h"

#include <QFile>

namespace {

constexpr quint32 typeSz = 1;
constexpr quint32 typeExpandSz = 2;
constexpr quint32 typeBinary = 3;
constexpr quint32 typeDword = 4;
constexpr quint32 typeMultiSz = 7;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

qsizetype skipSpaces(QByteArrayView s, qsizetype i)
{
    while (i < s.size() && isSpace(s[i]))
        ++i;
    return i;
}

// Splits the file into lines, dropping a CR before the LF.
class LineReader
{
public:
    explicit LineReader(QByteArrayView text)
        : text_(text)
    {}

    bool next(QByteArrayView &line)
    {
        if (pos_ >= text_.size())
            return false;
        qsizetype end = text_.indexOf('\n', pos_);
        if (end < 0)
            end = text_.size();
        line = text_.sliced(pos_, end - pos_);
        if (line.endsWith('\r'))
            line.chop(1);
        pos_ = end + 1;
        return true;
    }

private:
    QByteArrayView text_;
    qsizetype pos_ = 0;
};

// Comma-separated hex bytes; a trailing backslash continues the list on the next line.
bool parseHex(QByteArrayView rest, LineReader &lines, QByteArray &out)
{
    for (;;) {
        qsizetype i = 0;
        while (i < rest.size() && hexDigit(rest[i]) >= 0) {
            int value = hexDigit(rest[i++]);
            if (i < rest.size() && hexDigit(rest[i]) >= 0)
                value = value * 16 + hexDigit(rest[i++]);
            out.append(char(value));
            if (i < rest.size() && rest[i] == ',')
                ++i;
        }
        i = skipSpaces(rest, i);
        if (i == rest.size())
            return true;
        if (rest[i] != '\\' || !lines.next(rest))
            return false;
        rest = rest.sliced(skipSpaces(rest, 0));
    }
}

QByteArray utf16Bytes(const QString &text)
{
    QByteArray out;
    out.reserve((text.size() + 1) * 2);
    for (const QChar c : text) {
        out.append(char(c.unicode() & 0xff));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

// What RegEnumValueA hands out: string types in the ANSI code page, the rest as stored.
QByteArray ansiData(quint32 type, const QByteArray &stored)
{
    if (type != typeSz && type != typeExpandSz && type != typeMultiSz)
        return stored;
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(stored.constData()), stored.size() / 2);
    return AnsiText::encode(text);
}

struct ParsedValue
{
    QString name;
    quint32 type = 0;
    QByteArray data; // as stored: strings in UTF-16LE with their NUL
};

// The name of a value line ("name"=... or @=...) and where its data starts.
bool parseName(QByteArrayView line, ParsedValue &value, qsizetype &dataStart)
{
    qsizetype i = 0;
    if (line[0] == '@') {
        i = 1;
    } else {
        const qsizetype used = WineRegistryFile::unescape(line.sliced(1), '"', value.name);
        if (used < 0)
            return false;
        i = 1 + used;
    }
    i = skipSpaces(line, i);
    if (i >= line.size() || line[i] != '=')
        return false;
    dataStart = skipSpaces(line, i + 1);
    return true;
}

bool parseData(QByteArrayView rest, LineReader &lines, ParsedValue &value)
{

    struct Tag
    {
        const char *text;
        quint32 type;
        bool isString;
    };
    static const Tag tags[] = {
        {"\"", typeSz, true},
        {"str:\"", typeSz, true},
        {"str(2):\"", typeExpandSz, true},
        {"str(7):\"", typeMultiSz, true},
        {"hex:", typeBinary, false},
    };
    for (const Tag &tag : tags) {
        if (!rest.startsWith(tag.text))
            continue;
        value.type = tag.type;
        rest = rest.sliced(qsizetype(qstrlen(tag.text)));
        if (!tag.isString)
            return parseHex(rest, lines, value.data);
        QString text;
        if (WineRegistryFile::unescape(rest, '"', text) < 0)
            return false;
        value.data = utf16Bytes(text);
        value.data.append(2, '\0');
        return true;
    }
    if (rest.startsWith("dword:")) {
        quint32 number = 0;
        for (qsizetype k = 6; k < rest.size() && hexDigit(rest[k]) >= 0; ++k)
            number = number * 16 + quint32(hexDigit(rest[k]));
        value.type = typeDword;
        for (int b = 0; b < 4; ++b)
            value.data.append(char((number >> (8 * b)) & 0xff));
        return true;
    }
    if (rest.startsWith("hex(")) {
        qsizetype k = 4;
        quint32 type = 0;
        const qsizetype digitsFrom = k;
        while (k < rest.size() && hexDigit(rest[k]) >= 0)
            type = type * 16 + quint32(hexDigit(rest[k++]));
        if (k == digitsFrom || !rest.sliced(k).startsWith("):"))
            return false;
        value.type = type;
        return parseHex(rest.sliced(k + 2), lines, value.data);
    }
    return false;
}

} // namespace

namespace {

// One character of an escaped string starting at text[i] (which is not the end character).
// False when the text ends inside an escape.
bool nextUnit(QByteArrayView text, qsizetype &i, char16_t &unit)
{
    const char c = text[i++];
    if (c != '\\') {
        unit = uchar(c);
        return true;
    }
    if (i >= text.size())
        return false;
    const char e = text[i++];
    switch (e) {
    case 'a':
        unit = u'\a';
        return true;
    case 'b':
        unit = u'\b';
        return true;
    case 'e':
        unit = 0x1b;
        return true;
    case 'f':
        unit = u'\f';
        return true;
    case 'n':
        unit = u'\n';
        return true;
    case 'r':
        unit = u'\r';
        return true;
    case 't':
        unit = u'\t';
        return true;
    case 'v':
        unit = u'\v';
        return true;
    case 'x':
        unit = u'x';
        if (i < text.size() && hexDigit(text[i]) >= 0) {
            unit = 0;
            for (int n = 0; n < 4 && i < text.size() && hexDigit(text[i]) >= 0; ++n)
                unit = char16_t(unit * 16 + hexDigit(text[i++]));
        }
        return true;
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
        unit = char16_t(e - '0');
        for (int n = 0; n < 2 && i < text.size() && text[i] >= '0' && text[i] <= '7'; ++n)
            unit = char16_t(unit * 8 + (text[i++] - '0'));
        return true;
    default:
        unit = uchar(e);
        return true;
    }
}

char16_t upper(char16_t unit)
{
    return QChar(unit).toUpper().unicode();
}

// Whether a key header's escaped name (after its '[') is keyPath, ignoring case. Decodes only
// as far as the first difference: most headers of a large file differ early.
bool headerNames(QByteArrayView text, QStringView keyPath)
{
    qsizetype i = 0;
    qsizetype k = 0;
    char16_t unit = 0;
    while (i < text.size() && text[i] != ']') {
        if (!nextUnit(text, i, unit) || k >= keyPath.size() || upper(unit) != upper(keyPath[k].unicode()))
            return false;
        ++k;
    }
    return i < text.size() && k == keyPath.size();
}

} // namespace

qsizetype WineRegistryFile::unescape(QByteArrayView text, char endChar, QString &out)
{
    out.clear();
    qsizetype i = 0;
    char16_t unit = 0;
    while (i < text.size() && text[i] != endChar) {
        if (!nextUnit(text, i, unit))
            return -1;
        out.append(QChar(unit));
    }
    if (i >= text.size())
        return -1;
    return i + 1;
}

int WineRegistryFile::compareNames(QStringView a, QStringView b)
{
    const qsizetype common = qMin(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const char16_t ua = upper(a[i].unicode());
        const char16_t ub = upper(b[i].unicode());
        if (ua != ub)
            return ua < ub ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

namespace {

// Walks the values of one key in file order and keeps the one that `rank` picks: rank(name,
// kept) is below 0 for a value that displaces the kept one, 0 for one whose data replaces the
// kept one's when it parses, above 0 for one to pass over. Sections of the same key merge.
template <typename Rank> std::optional<RegistryValue> keepValue(QByteArrayView fileText, QStringView keyPath, Rank rank)
{
    LineReader lines(fileText);
    QByteArrayView line;
    if (!lines.next(line) || line != QByteArrayView("WINE REGISTRY Version 2"))
        return std::nullopt;

    std::optional<ParsedValue> kept;
    bool inKey = false;
    while (lines.next(line)) {
        line = line.sliced(skipSpaces(line, 0));
        if (line.isEmpty())
            continue;
        if (line[0] == '[') {
            inKey = headerNames(line.sliced(1), keyPath);
            continue;
        }
        if (!inKey || (line[0] != '@' && line[0] != '"'))
            continue;
        ParsedValue value;
        qsizetype dataStart = 0;
        if (!parseName(line, value, dataStart))
            continue;
        const int order = rank(value.name, kept ? &*kept : nullptr);
        // Parsed whatever the rank: hex data may continue over the following lines.
        if (parseData(line.sliced(dataStart), lines, value)) {
            if (order <= 0)
                kept = std::move(value);
        } else if (order < 0) {
            // Wine creates the value before reading its data, so a bad line still leaves a
            // value behind, empty and of no known type.
            value.type = 0xffffffffu;
            value.data.clear();
            kept = std::move(value);
        }
    }
    if (!kept)
        return std::nullopt;
    return RegistryValue{ansiData(kept->type, kept->data), kept->type};
}

std::optional<QByteArray> readWhole(const QString &filePath)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > WineRegistryFile::maxFileSize)
        return std::nullopt;
    QByteArray text = file.read(WineRegistryFile::maxFileSize + 1);
    if (text.size() > WineRegistryFile::maxFileSize)
        return std::nullopt;
    return text;
}

} // namespace

std::optional<RegistryValue> WineRegistryFile::firstValue(QByteArrayView fileText, QStringView keyPath)
{
    // Wine keeps a key's values sorted by name, so enumeration index 0 is the smallest name
    // (the default value, when there is one), wherever it stands in the file. A name that
    // comes again replaces the data of the earlier one.
    return keepValue(fileText, keyPath, [](const QString &name, const ParsedValue *kept) {
        return kept ? compareNames(name, kept->name) : -1;
    });
}

std::optional<RegistryValue> WineRegistryFile::namedValue(QByteArrayView fileText, QStringView keyPath,
                                                          QStringView valueName)
{
    return keepValue(fileText, keyPath, [valueName](const QString &name, const ParsedValue *kept) {
        if (compareNames(name, valueName) != 0)
            return 1;
        return kept ? 0 : -1;
    });
}

std::optional<RegistryValue> WineRegistryFile::readFirstValue(const QString &filePath, QStringView keyPath)
{
    const auto text = readWhole(filePath);
    return text ? firstValue(*text, keyPath) : std::nullopt;
}

std::optional<RegistryValue> WineRegistryFile::readNamedValue(const QString &filePath, QStringView keyPath,
                                                              QStringView valueName)
{
    const auto text = readWhole(filePath);
    return text ? namedValue(*text, keyPath, valueName) : std::nullopt;
}
