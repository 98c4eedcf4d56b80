#include "wordlist/LibraryMaker.h"
#include "wordlist/WordTables.h"

#include <QTest>
#include <QtEndian>

namespace {

struct Row
{
    const char *key, *display, *meaning;
    std::vector<quint32> related;
    bool common;
};

// The layout of tools/lib/wordtables.mjs, for rows already sorted by key.
QByteArray table(const std::vector<Row> &rows)
{
    QByteArray entries, relations, text;
    const auto u32 = [](QByteArray &to, quint32 v) { to.append(reinterpret_cast<const char *>(&v), 4); };
    for (const Row &r : rows) {
        for (const char *t : {r.key, r.display, r.meaning}) {
            u32(entries, quint32(text.size()));
            text += t;
        }
        u32(entries, quint32(relations.size() / 4));
        for (quint32 to : r.related)
            u32(relations, to);
        entries += char(strlen(r.key)), entries += char(strlen(r.meaning)), entries += char(r.related.size());
        entries += char(r.common);
    }
    QByteArray header("DWTABLE1");
    for (qsizetype n : {qsizetype(rows.size()), relations.size() / 4, text.size(), qsizetype(0)})
        u32(header, quint32(n));
    return header + entries + relations + text;
}

const QByteArray small = table({
    {"apple", "apple", "n.苹果", {3, 2}, true},
    {"ice cream", "ice cream", "n.冰激凌", {}, true},
    {"monday", "Monday", "n.星期一", {}, false},
    {"stop", "stop", "v.停", {0}, true},
    {"try", "try", "v.试", {}, true},
});

} // namespace

class tst_WordTables : public QObject
{
    Q_OBJECT

private slots:
    void lookUp_data()
    {
        QTest::addColumn<QByteArray>("word");
        QTest::addColumn<QByteArray>("spelling"); // empty: not found
        QTest::newRow("exact") << QByteArray("apple") << QByteArray("apple");
        QTest::newRow("usual spelling") << QByteArray("monday") << QByteArray("Monday");
        QTest::newRow("plural") << QByteArray("Apples") << QByteArray("apple");
        QTest::newRow("ies") << QByteArray("tries") << QByteArray("try");
        QTest::newRow("ied") << QByteArray("tried") << QByteArray("try");
        QTest::newRow("doubled consonant") << QByteArray("stopped") << QByteArray("stop");
        QTest::newRow("hyphen") << QByteArray("ice-cream") << QByteArray("ice cream");
        QTest::newRow("spaces") << QByteArray("ice \t  cream") << QByteArray("ice cream");
        QTest::newRow("to verb") << QByteArray("to stop") << QByteArray("stop");
        QTest::newRow("prefix only") << QByteArray("app") << QByteArray();
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void lookUp()
    {
        QFETCH(QByteArray, word);
        QFETCH(QByteArray, spelling);
        WordTables tables;
        QString problem;
        QVERIFY2(tables.load(small, problem), qPrintable(problem));
        const quint32 found = LibraryMaker::lookUp(tables, word);
        QCOMPARE(found == WordSource::none ? QByteArray() : tables.spelling(found).toByteArray(), spelling);
    }

    void damaged_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("cut short") << small.chopped(1);
        QTest::newRow("bytes beyond") << small + 'x';
        const auto patched = [](qsizetype at, quint32 value) {
            QByteArray bytes = small;
            qToLittleEndian(value, bytes.data() + at);
            return bytes;
        };
        QTest::newRow("relation past the last entry") << patched(24 + 5 * 20, 5); // apple's first
        QTest::newRow("text past the end") << patched(24 + 20 + 8, 100000);       // ice cream's meaning
        QByteArray count = small;
        count[24 + 3 * 20 + 18] = char(9); // stop's relation count
        QTest::newRow("more relations than stored") << count;
    }
    void damaged()
    {
        QFETCH(QByteArray, bytes);
        WordTables tables;
        QString problem;
        QVERIFY(!tables.load(bytes, problem));
        QVERIFY(problem.contains(QStringLiteral("损坏")));
        QCOMPARE(tables.find("apple"), WordSource::none);
    }
};

QTEST_GUILESS_MAIN(tst_WordTables)
#include "tst_WordTables.moc"
