#include "platform/HelpSitemap.h"

#include <QTest>

class tst_HelpSitemap : public QObject
{
    Q_OBJECT
private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("entries"); // depth|name|local

        const QByteArray item = "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"%1\">"
                                "<param name=\"Local\" value=\"%2\"></OBJECT>";
        const auto entry = [&item](const char *name, const char *local) {
            return QByteArray(item).replace("%1", name).replace("%2", local);
        };

        QTest::newRow("nested lists") << "<UL>" + entry("A", "a.htm") + "<UL>" + entry("B", "b.htm") + "<UL>" +
                                             entry("C", "c.htm") + "</UL></UL>" + entry("D", "d.htm") + "</UL>"
                                      << QStringList{"0|A|a.htm", "1|B|b.htm", "2|C|c.htm", "0|D|d.htm"};
        QTest::newRow("utf-8") << "<UL>" + entry("\xe6\x89\x93\xe5\xbc\x80", "x.htm") + "</UL>"
                               << QStringList{QStringLiteral("0|打开|x.htm")};
        QTest::newRow("code page 936") << "<UL>" + entry("\xb4\xf2\xbf\xaa", "x.htm") + "</UL>"
                                       << QStringList{QStringLiteral("0|打开|x.htm")};
        QTest::newRow("entities") << "<UL>" + entry("&lt;A&gt; &amp; &#20013;&#x6587; &bogus;", "a.htm#t") + "</UL>"
                                  << QStringList{QStringLiteral("0|<A> & 中文 &bogus;|a.htm#t")};
        QTest::newRow("case, single quotes, bare values")
            << QByteArray("<ul><li><object TYPE='text/sitemap'><PARAM NAME=name VALUE='A b'>"
                          "<param name=local value=a.htm></object></ul>")
            << QStringList{"0|A b|a.htm"};
        QTest::newRow("book without a topic") << "<UL>" + entry("Book", "") + "</UL>" << QStringList{"0|Book|"};
        QTest::newRow("site properties and comments skipped")
            << "<OBJECT type=\"text/site properties\"><param name=\"Name\" value=\"no\"></OBJECT>"
               "<!-- <OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"hidden\"></OBJECT> -->"
               "<UL>" +
                   entry("A", "a.htm") + "</UL>"
            << QStringList{"0|A|a.htm"};
        QTest::newRow("first topic of several") << QByteArray("<UL><LI><OBJECT type=\"text/sitemap\">"
                                                              "<param name=\"Name\" value=\"K\">"
                                                              "<param name=\"Local\" value=\"1.htm\">"
                                                              "<param name=\"Local\" value=\"2.htm\"></OBJECT></UL>")
                                                << QStringList{"0|K|1.htm"};
        QTest::newRow("stray end tags") << "</UL></UL>" + entry("A", "a.htm") << QStringList{"0|A|a.htm"};
        QTest::newRow("cut off inside a tag")
            << QByteArray("<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A") << QStringList{};
    }
    void parse()
    {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, entries);
        QStringList got;
        for (const HelpSitemap::Entry &e : HelpSitemap::parse(text))
            got.append(QStringLiteral("%1|%2|%3").arg(e.depth).arg(e.name, e.local));
        QCOMPARE(got, entries);
    }

    void depthIsBounded()
    {
        const QByteArray deep = QByteArray("<UL>").repeated(200) +
                                "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"x\"></OBJECT>";
        const auto entries = HelpSitemap::parse(deep);
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].depth, HelpSitemap::maxDepth);
    }
};

QTEST_GUILESS_MAIN(tst_HelpSitemap)
#include "tst_HelpSitemap.moc"
