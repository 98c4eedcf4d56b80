#include "worddata/SequentialReader.h"

#include <QTest>
#include <random>
#include <vector>

// The reader takes shortcuts for the layout the companion writes (a 64-byte look for a
// whole record, runs of such records, a quote found 64 bytes at a time). Whatever the bytes, they
// must give the values that the plain syntax gives.
class tst_SequentialReader : public QObject
{
    Q_OBJECT

private slots:
    void shortcutsKeepTheSyntax_data();
    void shortcutsKeepTheSyntax();
};

namespace {

// The value syntax followed byte by byte.
QList<QByteArray> syntaxValues(QByteArrayView d)
{
    const auto isLineEnd = [](char c) { return c == '\r' || c == '\n'; };
    const qsizetype n = d.size();
    QList<QByteArray> out;
    qsizetype i = 0;
    bool afterComma = false;
    const auto separator = [&] {
        afterComma = i < n && d[i] == ',';
        if (i < n && (d[i] == ',' || d[i] == '\n'))
            ++i;
        else if (i < n && d[i] == '\r')
            i += i + 1 < n && d[i + 1] == '\n' ? 2 : 1;
    };
    for (;;) {
        while (i < n && d[i] == ' ')
            ++i;
        if (i >= n)
            return out;
        if (isLineEnd(d[i]) && !afterComma) {
            separator();
            continue;
        }
        qsizetype start = i;
        qsizetype end;
        if (d[i] == '"') {
            start = ++i;
            while (i < n && d[i] != '"')
                ++i;
            end = i;
            while (i < n && d[i] != ',' && !isLineEnd(d[i]))
                ++i;
        } else {
            while (i < n && d[i] != ',' && !isLineEnd(d[i]))
                ++i;
            end = i;
        }
        out << d.sliced(start, end - start).toByteArray();
        separator();
    }
}

QByteArray quoted(const QByteArray &value)
{
    return '"' + value + '"';
}

} // namespace

void tst_SequentialReader::shortcutsKeepTheSyntax_data()
{
    QTest::addColumn<QByteArray>("data");

    // Closing quotes at every place around the 64-byte look, in the companion's layout.
    QByteArray records = "9\r\n";
    for (int a = 0; a <= 70; a += 3) {
        for (int b = 55; b <= 68; ++b)
            records += quoted(QByteArray(a, 'w')) + ',' + quoted(QByteArray(b, '\xB0')) + "\r\n";
    }
    QTest::newRow("records of every length") << records;
    QTest::newRow("bare LF") << QByteArray(records).replace("\r\n", "\n");
    QTest::newRow("one line, commas only") << QByteArray(records).replace("\r\n", ",");
    QTest::newRow("lone CR") << QByteArray(records).replace("\r\n", "\r");
    QTest::newRow("blank lines between records") << QByteArray(records).replace("\r\n", "\r\n\r\n\n");
    QTest::newRow("space before the quotes") << QByteArray(records).replace(",\"", ", \"");
    QTest::newRow("text after a closing quote") << QByteArray(records).replace("\",", "\"x\"y,");
    QTest::newRow("last quote never closed") << records + quoted(QByteArray(80, 'z')).chopped(1);
    QTest::newRow("comma after the last value") << records + quoted(QByteArray(70, 'z')) + ',';

    // Bytes drawn from what the syntax looks at, in every mix.
    std::mt19937 random(936);
    const QByteArray alphabets[] = {"\"\",,\r\n a\xB0", "\"\"\"\"a,", "aaaaaaaa\"\r\n", "\xB0\xA1\",\r\n  "};
    for (int k = 0; k < 200; ++k) {
        const QByteArray &alphabet = alphabets[k % 4];
        QByteArray bytes;
        const int length = int(random() % 400);
        for (int i = 0; i < length; ++i)
            bytes += alphabet[int(random() % unsigned(alphabet.size()))];
        QTest::newRow(qPrintable(QStringLiteral("random %1").arg(k))) << bytes;
    }
}

void tst_SequentialReader::shortcutsKeepTheSyntax()
{
    QFETCH(QByteArray, data);
    const QList<QByteArray> expected = syntaxValues(data);

    QList<QByteArray> single;
    SequentialReader one(data);
    QByteArrayView value;
    while (one.next(value)) {
        single << value.toByteArray();
        const qsizetype offset = value.data() - data.constData();
        QCOMPARE(SequentialReader::valueAt(data, offset).toByteArray(), value.toByteArray());
    }
    QCOMPARE(single, expected);

    QList<QByteArray> paired;
    SequentialReader two(data);
    QByteArrayView first;
    QByteArrayView second;
    for (;;) {
        const int got = two.nextPair(first, second);
        if (got >= 1)
            paired << first.toByteArray();
        if (got == 2)
            paired << second.toByteArray();
        if (got < 2)
            break;
    }
    QCOMPARE(paired, expected);

    // Runs of records straight into offsets, one pair the usual way between runs.
    QList<QByteArray> batched;
    SequentialReader three(data);
    std::vector<quint32> offsets(size_t(data.size()) + 2);
    for (;;) {
        const int read = three.nextRecords(int(offsets.size() / 2), offsets.data(), data.constData());
        for (int k = 0; k < 2 * read; ++k)
            batched << SequentialReader::valueAt(data, offsets[size_t(k)]).toByteArray();
        const int got = three.nextPair(first, second);
        if (got >= 1)
            batched << first.toByteArray();
        if (got == 2)
            batched << second.toByteArray();
        if (got < 2)
            break;
    }
    QCOMPARE(batched, expected);
}

QTEST_GUILESS_MAIN(tst_SequentialReader)
#include "tst_SequentialReader.moc"
