#include "wordlist/WordList.h"

#include "platform/text/AnsiText.h"

#include <QStringDecoder>

#include <cstring>
#include <string_view>
#include <unordered_set>

namespace {

struct Field
{
    qsizetype at = 0, length = 0;
    bool separated = false; // a separator follows
};

struct Line
{
    Field word, meaning;
    bool blank = false;
};

void trim(const char *t, qsizetype &from, qsizetype &to)
{
    while (from < to && t[from] == ' ')
        ++from;
    while (to > from && t[to - 1] == ' ')
        --to;
}

// One field from p: quoted as a spreadsheet writes it ("" inside for a quote, unquoted in
// place), or plain up to the separator. sep 0 means not yet known: then a comma or a
// semicolon, whichever comes first, becomes it. p ends past the separator, or at to.
Field readField(char *t, qsizetype &p, qsizetype to, char &sep)
{
    const auto isSeparator = [&](char c) { return sep ? c == sep : c == ',' || c == ';'; };
    while (p < to && t[p] == ' ')
        ++p;
    Field f;
    qsizetype end = p;
    if (p < to && t[p] == '"') {
        qsizetype out = ++p;
        f.at = out;
        while (p < to) {
            if (t[p] == '"') {
                if (p + 1 < to && t[p + 1] == '"') {
                    t[out++] = '"';
                    p += 2;
                    continue;
                }
                ++p;
                break;
            }
            t[out++] = t[p++];
        }
        end = out;
        // Anything between the closing quote and the separator is not part of the field.
        while (p < to && !isSeparator(t[p]))
            ++p;
    } else {
        f.at = p;
        while (p < to && !isSeparator(t[p]))
            ++p;
        end = p;
    }
    if (p < to) {
        if (!sep)
            sep = t[p];
        f.separated = true;
        ++p;
    }
    qsizetype from = f.at;
    trim(t, from, end);
    f.at = from;
    f.length = end - from;
    return f;
}

Line parseLine(char *t, qsizetype from, qsizetype to)
{
    Line line;
    if (to > from && t[to - 1] == '\r')
        --to;
    trim(t, from, to);
    if (from == to || t[from] == '#') {
        line.blank = true;
        return line;
    }
    char sep = std::memchr(t + from, '\t', size_t(to - from)) ? '\t' : 0;
    qsizetype p = from;
    line.word = readField(t, p, to, sep);
    if (line.word.separated)
        line.meaning = readField(t, p, to, sep);
    // The library syntax has no escape for a quote: a meaning loses its quotes.
    qsizetype out = line.meaning.at;
    for (qsizetype i = line.meaning.at; i < line.meaning.at + line.meaning.length; ++i) {
        if (t[i] != '"')
            t[out++] = t[i];
    }
    line.meaning.length = out - line.meaning.at;
    return line;
}

// Code page 936 with no broken sequence and none of its user-defined codes, which no word
// list has but bytes that are not text in this code page decode to (0xFF, say).
bool isCodePage936(QByteArrayView bytes)
{
    const std::optional<QString> text = AnsiText::decodeStrictly(bytes);
    return text && std::none_of(text->begin(), text->end(),
                                [](QChar c) { return c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF; });
}

QString utf16Message()
{
    return QStringLiteral("词表是 UTF-16 编码的；请把它另存为 UTF-8 或 GBK（代码页 936）编码。");
}

} // namespace

void WordList::skipUnencodable(int line, QStringView lineText)
{
    QString chars;
    for (qsizetype i = 0; i < lineText.size() && chars.size() < 8;) {
        const qsizetype n = lineText.at(i).isHighSurrogate() && i + 1 < lineText.size() ? 2 : 1;
        const QStringView c = lineText.sliced(i, n);
        if (AnsiText::decode(AnsiText::encode(c)) != c && !chars.contains(c))
            chars += QStringLiteral("“%1”").arg(c);
        i += n;
    }
    qsizetype end = 0;
    while (end < lineText.size() && !QStringView(u"\t,;").contains(lineText.at(end)))
        ++end;
    QString word = lineText.first(end).trimmed().toString();
    word.remove(u'"');
    skipped_.append({line, word, QStringLiteral("含有代码页 936（GBK）写不下的字符%1").arg(chars)});
}

std::optional<WordList> WordList::read(QByteArrayView bytes, QString &problem)
{
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        problem = utf16Message();
        return std::nullopt;
    }
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    if (bom)
        bytes = bytes.sliced(3);

    // One pass over the bytes: control characters that no text has, the line lengths, and
    // whether there is anything but ASCII to convert.
    bool ascii = true;
    int lineNumber = 1;
    qsizetype lineStart = 0;
    const auto lineTooLong = [&](qsizetype end) {
        if (end > lineStart && bytes.at(end - 1) == '\r')
            --end;
        if (end - lineStart <= maxLineBytes)
            return false;
        problem = QStringLiteral("词表第 %1 行有 %2 字节，一行最多 %3 字节。")
                      .arg(lineNumber)
                      .arg(end - lineStart)
                      .arg(maxLineBytes);
        return true;
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = uchar(bytes.at(i));
        if (c == '\n') {
            if (lineTooLong(i))
                return std::nullopt;
            ++lineNumber;
            lineStart = i + 1;
        } else if (c < 0x20 && c != '\t' && c != '\r' && c != '\f' && c != '\v' &&
                   !(c == 0x1A && i + 1 == bytes.size())) {
            // A Windows editor may end a file with Ctrl-Z; nothing else below a space is text.
            problem = QStringLiteral("词表不是文本文件（第 %1 行含有二进制数据）。").arg(lineNumber);
            return std::nullopt;
        } else if (c >= 0x80) {
            ascii = false;
        }
    }
    if (lineTooLong(bytes.size()))
        return std::nullopt;

    WordList list;
    QString decoded;
    QString roundTrip;
    if (ascii) {
        list.text_ = bytes.toByteArray();
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
        decoded = utf8.decode(bytes);
        if (!utf8.hasError()) {
            // One conversion for the whole list; the lines it could not carry are found after.
            list.text_ = AnsiText::encode(decoded);
            roundTrip = AnsiText::decode(list.text_);
        } else if (!bom && isCodePage936(bytes)) {
            list.text_ = bytes.toByteArray();
            decoded.clear();
        } else {
            problem = QStringLiteral("词表既不是 UTF-8 也不是 GBK（代码页 936）编码的文本。");
            return std::nullopt;
        }
    }
    const bool allCarried = roundTrip == decoded;

    std::unordered_set<std::string_view> seen;
    char *t = list.text_.data();
    const qsizetype size = list.text_.size();
    qsizetype from = 0, decodedFrom = 0, roundFrom = 0;
    for (int line = 1; from <= size; ++line) {
        const char *nl = static_cast<const char *>(std::memchr(t + from, '\n', size_t(size - from)));
        const qsizetype to = nl ? nl - t : size;
        const Line parsed = parseLine(t, from, to);
        if (!allCarried) {
            const qsizetype d = decoded.indexOf(u'\n', decodedFrom), r = roundTrip.indexOf(u'\n', roundFrom);
            const QStringView original =
                QStringView(decoded).sliced(decodedFrom, (d < 0 ? decoded.size() : d) - decodedFrom);
            const QStringView back =
                QStringView(roundTrip).sliced(roundFrom, (r < 0 ? roundTrip.size() : r) - roundFrom);
            decodedFrom = d + 1;
            roundFrom = r + 1;
            if (!parsed.blank && original != back) {
                list.skipUnencodable(line, original);
                from = to + 1;
                continue;
            }
        }
        from = to + 1;
        if (parsed.blank)
            continue;
        const std::string_view word(t + parsed.word.at, size_t(parsed.word.length));
        if (word.empty() || word.find('"') != std::string_view::npos) {
            list.skipped_.append(
                {line, AnsiText::decode(QByteArrayView(word.data(), qsizetype(word.size()))),
                 word.empty() ? QStringLiteral("这一行没有单词") : QStringLiteral("单词含有双引号，词库文件写不下")});
            continue;
        }
        if (!seen.insert(word).second)
            continue;
        list.entries_.append({line, parsed.word.at, parsed.word.length, parsed.meaning.at, parsed.meaning.length});
    }

    if (list.entries_.isEmpty()) {
        problem = QStringLiteral("词表里没有单词。");
        if (!list.skipped_.isEmpty())
            problem += QStringLiteral("（%1 个单词写不进词库，已跳过。）").arg(list.skipped_.size());
        return std::nullopt;
    }
    if (list.entries_.size() > maxWords) {
        problem =
            QStringLiteral("词表里有 %1 个不同的单词，一个词库最多 %2 个。").arg(list.entries_.size()).arg(maxWords);
        return std::nullopt;
    }
    return list;
}
