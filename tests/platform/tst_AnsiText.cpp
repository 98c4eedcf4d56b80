#include "platform/AnsiText.h"

#include <QStringDecoder>
#include <QTest>

namespace {

QString converter(QByteArrayView bytes)
{
    return QStringDecoder("GBK", QStringConverter::Flag::Stateless).decode(bytes);
}

} // namespace

// Decoding takes a table for speed; it must read every text exactly as the converter does.
class tst_AnsiText : public QObject
{
    Q_OBJECT
private slots:
    void decodesAsTheConverter_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("ASCII") << QByteArray("tanker, \"n.\"\r\n");
        QTest::newRow("Chinese") << AnsiText::encode(u"n.油船；空中加油飞机");
        QTest::newRow("euro sign alone") << QByteArray("\x80");
        QTest::newRow("0xFF alone") << QByteArray("a\xff"
                                                  "b");
        QTest::newRow("half a character at the end") << QByteArray("ab\xc4");
        QTest::newRow("lead byte before ASCII") << QByteArray("\xc4"
                                                              "abc");
        QTest::newRow("lead byte before 0x7F") << QByteArray("\xc4\x7f");
        QTest::newRow("lead byte before a line end") << QByteArray("\xc4\r\n");
        QByteArray every;
        for (int lead = 0x81; lead <= 0xFE; ++lead) {
            for (int trail = 0x40; trail <= 0xFE; ++trail)
                every += char(lead), every += char(trail);
        }
        QTest::newRow("every two-byte code") << every;
    }
    void decodesAsTheConverter()
    {
        QFETCH(QByteArray, bytes);
        QCOMPARE(AnsiText::decode(bytes), converter(bytes));
    }
};

QTEST_GUILESS_MAIN(tst_AnsiText)
#include "tst_AnsiText.moc"
