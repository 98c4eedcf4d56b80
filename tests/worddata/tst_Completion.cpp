#include "common/LibraryFixtures.h"
#include "worddata/WordLibrary.h"

#include <QSet>
#include <QTest>
#include <random>

using namespace LibraryFixtures;

// Type-ahead offers of the word library: which headwords, in which order.
class tst_Completion : public QObject
{
    Q_OBJECT

private slots:
    void offers_data();
    void offers();
    void agreesWithAScan_data();
    void agreesWithAScan();
};

namespace {

QByteArray library(const QStringList &headwords)
{
    std::vector<Pair> records;
    for (const QString &w : headwords)
        records.emplace_back(w, QStringLiteral("n.释义"));
    return wordFile(records);
}

QByteArray utf8Library(const QStringList &headwords)
{
    QString text = QString::number(headwords.size()) + QStringLiteral("\r\n");
    for (const QString &w : headwords)
        text += QLatin1Char('"') + w + QStringLiteral("\",\"n.释义\"\r\n");
    return text.toUtf8();
}

QStringList offered(const WordLibrary &lib, const QString &typed)
{
    QStringList out;
    for (const int i : lib.completions(typed))
        out << lib.words(i);
    return out;
}

QStringList numbered(const QString &stem, int from, int to)
{
    QStringList out;
    for (int k = from; k <= to; ++k)
        out << stem + QString::number(k);
    return out;
}

} // namespace

void tst_Completion::offers_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("expected");

    const QByteArray words = library({"tram", "apple", "tree", "trip", "Trade", "TRY", "t", "x-ray"});
    QTest::newRow("library order") << words << "tr" << QStringList{"tram", "tree", "trip", "Trade", "TRY"};
    QTest::newRow("exact case first") << words << "Tr" << QStringList{"Trade", "tram", "tree", "trip", "TRY"};
    QTest::newRow("all capitals") << words << "TR" << QStringList{"TRY", "tram", "tree", "trip", "Trade"};
    QTest::newRow("one letter") << words << "t" << QStringList{"tram", "tree", "trip", "t", "Trade", "TRY"};
    QTest::newRow("one capital") << words << "T" << QStringList{"Trade", "TRY", "tram", "tree", "trip", "t"};
    QTest::newRow("whole word offers itself") << words << "tree" << QStringList{"tree"};
    QTest::newRow("longer than any headword") << words << "trees" << QStringList{};
    QTest::newRow("nothing begins so") << words << "q" << QStringList{};
    QTest::newRow("not a letter") << words << "x-" << QStringList{"x-ray"};
    QTest::newRow("leading space is kept") << words << " tr" << QStringList{};
    QTest::newRow("empty text") << words << "" << QStringList{};

    const QByteArray repeated = library({"run", "ran", "run", "Run", "run", "Run"});
    QTest::newRow("repeats once, one letter") << repeated << "r" << QStringList{"run", "ran", "Run"};
    QTest::newRow("repeats once") << repeated << "ru" << QStringList{"run", "Run"};
    QTest::newRow("repeats once, capital") << repeated << "Ru" << QStringList{"Run", "run"};

    const QStringList many = numbered("ab", 1, 8) + numbered("Ab", 1, 5) + numbered("ab", 9, 12);
    QTest::newRow("ten at most") << library(many) << "ab" << numbered("ab", 1, 10);
    QTest::newRow("ten at most, one letter") << library(many) << "a" << numbered("ab", 1, 10);
    QTest::newRow("exact case fills up with the rest")
        << library(numbered("ab", 1, 8) + numbered("Ab", 1, 5)) << "Ab" << numbered("Ab", 1, 5) + numbered("ab", 1, 5);

    // Ties on the first six bytes and capitals past the first eight.
    const QByteArray longWords = library({"abcdefz", "abcdefa", "internationalA", "abcdefm", "internationala"});
    QTest::newRow("beyond six bytes") << longWords << "abcdefm" << QStringList{"abcdefm"};
    QTest::newRow("same six bytes") << longWords << "abcdef" << QStringList{"abcdefz", "abcdefa", "abcdefm"};
    QTest::newRow("capital past eight bytes")
        << longWords << "internationalA" << QStringList{"internationalA", "internationala"};
    QTest::newRow("lower case past eight bytes")
        << longWords << "internationala" << QStringList{"internationala", "internationalA"};

    const QStringList chinese{QStringLiteral("中国"), "china", QStringLiteral("中文"), QStringLiteral("英语")};
    QTest::newRow("Chinese, code page 936")
        << library(chinese) << QStringLiteral("中") << QStringList{QStringLiteral("中国"), QStringLiteral("中文")};
    QTest::newRow("Chinese, UTF-8") << utf8Library(chinese) << QStringLiteral("中")
                                    << QStringList{QStringLiteral("中国"), QStringLiteral("中文")};
    // 丄 is 81 41 and 乤 is 81 61: their second bytes look like 'A' and 'a'.
    QTest::newRow("second byte of a character is not a letter")
        << library({QStringLiteral("乤一"), QStringLiteral("丄二")}) << QStringLiteral("丄")
        << QStringList{QStringLiteral("丄二")};
    QTest::newRow("only ASCII letters fold") << library({QStringLiteral("ａｂ"), QStringLiteral("Ａｂ")})
                                             << QStringLiteral("ａ") << QStringList{QStringLiteral("ａｂ")};
    // The code page cannot hold the emoji; its stand-in must not match "a?".
    QTest::newRow("character outside the code page") << library({"a?", "ab"}) << QStringLiteral("a😀") << QStringList{};
    QTest::newRow("empty library") << QByteArray("0\r\n") << "a" << QStringList{};
}

void tst_Completion::offers()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, typed);
    QFETCH(QStringList, expected);
    WordLibrary lib;
    QString problem;
    QVERIFY2(WordLibrary::parse(file, lib, problem), qPrintable(problem));
    QCOMPARE(offered(lib, typed), expected);
    // Each offer is the occurrence that a look-up of it finds.
    for (const int i : lib.completions(typed))
        QCOMPARE(lib.find(lib.words(i)), i);
}

void tst_Completion::agreesWithAScan_data()
{
    QTest::addColumn<bool>("alphabetical");
    QTest::newRow("library in random order") << false;
    QTest::newRow("library in alphabetical order") << true;
}

// Thousands of short words over a few letters in both cases, so that they share long
// starts, repeat and differ only in case; checked against a plain scan of the library.
void tst_Completion::agreesWithAScan()
{
    QFETCH(bool, alphabetical);
    std::mt19937 rng(17);
    const QString letters = QStringLiteral("abAB!-");
    QStringList headwords;
    for (int i = 0; i < 3000; ++i) {
        QString w;
        const int length = 1 + int(rng() % 9);
        for (int k = 0; k < length; ++k)
            w += letters[int(rng() % unsigned(letters.size()))];
        headwords << w;
    }
    if (alphabetical)
        std::sort(headwords.begin(), headwords.end(),
                  [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    WordLibrary lib;
    QString problem;
    QVERIFY2(WordLibrary::parse(library(headwords), lib, problem), qPrintable(problem));

    for (int sample = 0; sample < 400; ++sample) {
        const QString &word = headwords[int(rng() % unsigned(headwords.size()))];
        QString typed = word.first(1 + qsizetype(rng() % unsigned(word.size())));
        if (sample % 3 == 0)
            typed = typed.toUpper();
        QStringList exact, other;
        QSet<QString> seen;
        for (const QString &w : headwords) {
            if (seen.contains(w))
                continue;
            seen.insert(w);
            if (w.startsWith(typed))
                exact << w;
            else if (w.startsWith(typed, Qt::CaseInsensitive))
                other << w;
        }
        const QStringList expected = (exact + other).first(std::min<qsizetype>(10, exact.size() + other.size()));
        QCOMPARE(offered(lib, typed), expected);
    }
}

QTEST_GUILESS_MAIN(tst_Completion)
#include "tst_Completion.moc"
