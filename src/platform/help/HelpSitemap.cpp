#include "platform/help/HelpSitemap.h"

#include "platform/text/AnsiText.h"

#include <QStringDecoder>

namespace {

struct Tag
{
    QString name;                                  // lower case, with a leading '/' for an end tag
    QList<std::pair<QString, QString>> attributes; // names in lower case
};

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f';
}

// Reads the tag that starts at text[i] == '<' and moves i past its '>'.
Tag readTag(QStringView text, qsizetype &i)
{
    Tag tag;
    ++i;
    const qsizetype nameStart = i;
    while (i < text.size() && !isSpace(text[i]) && text[i] != u'>')
        ++i;
    tag.name = text.sliced(nameStart, i - nameStart).toString().toLower();
    while (i < text.size() && text[i] != u'>') {
        if (isSpace(text[i]) || text[i] == u'/') {
            ++i;
            continue;
        }
        const qsizetype keyStart = i;
        while (i < text.size() && !isSpace(text[i]) && text[i] != u'=' && text[i] != u'>')
            ++i;
        const QString key = text.sliced(keyStart, i - keyStart).toString().toLower();
        while (i < text.size() && isSpace(text[i]))
            ++i;
        QString value;
        if (i < text.size() && text[i] == u'=') {
            ++i;
            while (i < text.size() && isSpace(text[i]))
                ++i;
            if (i < text.size() && (text[i] == u'"' || text[i] == u'\'')) {
                const QChar quote = text[i++];
                const qsizetype end = text.indexOf(quote, i);
                const qsizetype stop = end < 0 ? text.size() : end;
                value = HelpSitemap::decodeEntities(text.sliced(i, stop - i));
                i = end < 0 ? text.size() : end + 1;
            } else {
                const qsizetype valueStart = i;
                while (i < text.size() && !isSpace(text[i]) && text[i] != u'>')
                    ++i;
                value = HelpSitemap::decodeEntities(text.sliced(valueStart, i - valueStart));
            }
        }
        tag.attributes.append({key, value});
    }
    if (i < text.size())
        ++i;
    return tag;
}

QString attribute(const Tag &tag, const QString &name)
{
    for (const auto &[key, value] : tag.attributes) {
        if (key == name)
            return value;
    }
    return {};
}

} // namespace

QString HelpSitemap::decodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? AnsiText::decode(bytes) : text;
}

QString HelpSitemap::decodeEntities(QStringView text)
{
    QString out;
    out.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        // Entity names are short: looking further would make a run of bare '&' quadratic.
        const qsizetype semicolon = c == u'&' ? text.first(qMin(text.size(), i + 12)).indexOf(u';', i + 1) : -1;
        if (semicolon < 0) {
            out.append(c);
            ++i;
            continue;
        }
        const QStringView name = text.sliced(i + 1, semicolon - i - 1);
        char32_t code = 0;
        if (name.startsWith(u'#')) {
            bool ok = false;
            const uint number = name.startsWith(u"#x", Qt::CaseInsensitive) ? name.sliced(2).toUInt(&ok, 16)
                                                                            : name.sliced(1).toUInt(&ok, 10);
            if (ok && number > 0 && number <= 0x10FFFF && (number < 0xD800 || number > 0xDFFF))
                code = char32_t(number);
        } else if (name == u"amp") {
            code = U'&';
        } else if (name == u"lt") {
            code = U'<';
        } else if (name == u"gt") {
            code = U'>';
        } else if (name == u"quot") {
            code = U'"';
        } else if (name == u"apos") {
            code = U'\'';
        } else if (name == u"nbsp") {
            code = 0xA0;
        }
        if (code == 0) {
            out.append(c);
            ++i;
            continue;
        }
        out.append(QString::fromUcs4(&code, 1));
        i = semicolon + 1;
    }
    return out;
}

QList<HelpSitemap::Entry> HelpSitemap::parse(const QByteArray &bytes)
{
    const QString text = decodeText(bytes);
    QList<Entry> entries;
    int depth = -1;
    bool inEntry = false;
    Entry entry;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] != u'<') {
            ++i;
            continue;
        }
        if (QStringView(text).sliced(i).startsWith(u"<!--")) {
            const qsizetype end = text.indexOf(QStringLiteral("-->"), i + 4);
            i = end < 0 ? text.size() : end + 3;
            continue;
        }
        const Tag tag = readTag(text, i);
        if (tag.name == u"ul") {
            ++depth;
        } else if (tag.name == u"/ul") {
            depth = qMax(-1, depth - 1);
        } else if (tag.name == u"object") {
            inEntry = attribute(tag, QStringLiteral("type")).compare(u"text/sitemap", Qt::CaseInsensitive) == 0;
            entry = Entry{qBound(0, depth, maxDepth), {}, {}};
        } else if (tag.name == u"param" && inEntry) {
            const QString name = attribute(tag, QStringLiteral("name")).toLower();
            // An index entry may name several topics; the first one is the one shown.
            if (name == u"name" && entry.name.isEmpty())
                entry.name = attribute(tag, QStringLiteral("value"));
            else if (name == u"local" && entry.local.isEmpty())
                entry.local = attribute(tag, QStringLiteral("value"));
        } else if (tag.name == u"/object" && inEntry) {
            inEntry = false;
            if (!entry.name.isEmpty() || !entry.local.isEmpty())
                entries.append(entry);
        }
    }
    return entries;
}
