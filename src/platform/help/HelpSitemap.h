#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

// The table of contents (.hhc) or the index (.hhk) of a help file: HTML lists of
// <OBJECT type="text/sitemap"> entries, each with a name and the topic it leads to.
class HelpSitemap
{
public:
    struct Entry
    {
        int depth = 0; // 0 for the outermost list
        QString name;
        QString local; // a path inside the help file, possibly with a #fragment; may be empty
    };

    // Nesting deeper than this is kept at this depth.
    static constexpr int maxDepth = 32;

    // Entries in document order; anything that is not a sitemap entry is passed over.
    static QList<Entry> parse(const QByteArray &text);

    // Text copied from a help project: UTF-8 when it is valid UTF-8, else the ANSI code page.
    static QString decodeText(const QByteArray &bytes);

    // Replaces &amp; &lt; &gt; &quot; &apos; &nbsp; and numeric references; others stay.
    static QString decodeEntities(QStringView text);
};
