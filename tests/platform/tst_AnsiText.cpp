#include "platform/AnsiText.h"

#include <QStringDecoder>
#include <QTest>

// Decoding takes a table for speed; it must read every text exactly as the converter does.
class tst_AnsiText : public QObject
{
    Q_OBJECT
private slots:
    void decodesAsTheConverter_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("whole");
        QByteArray every;
        for (int code = 0x8140; code <= 0xFEFE; ++code)
            every += (code & 0xFF) >= 0x40 && (code & 0xFF) < 0xFF ? QByteArray{char(code >> 8), char(code)} : "";
        // clang-format off
        const std::tuple<const char *, QByteArray, bool> rows[] = { // bool: the bytes come back from the text
            {"empty", {}, true}, {"ASCII", "tanker, \"n.\"\r\n", true},
            {"Chinese", AnsiText::encode(u"n.油船；空中加油飞机"), true}, {"euro sign alone", "\x80", true},
            {"0xFF alone", "a\xff" "b", true}, {"lead byte before ASCII", "\xc4" "abc", true},
            {"half a character at the end", "ab\xc4", false}, {"lead byte before 0x7F", "\xc4\x7f", false},
            {"lead byte before a line end", "\xc4\r\n", false}, {"every two-byte code", every, false},
        };
        // clang-format on
        for (const auto &[name, bytes, whole] : rows)
            QTest::newRow(name) << bytes << whole;
    }
    void decodesAsTheConverter()
    {
        QFETCH(QByteArray, bytes);
        QCOMPARE(AnsiText::decode(bytes), QStringDecoder("GBK", QStringConverter::Flag::Stateless).decode(bytes));
        // What the libraries and the settings file hold must be written back byte for byte.
        QFETCH(bool, whole);
        if (whole)
            QCOMPARE(AnsiText::encode(AnsiText::decode(bytes)).toHex(), bytes.toHex());
    }
};

QTEST_GUILESS_MAIN(tst_AnsiText)
#include "tst_AnsiText.moc"
