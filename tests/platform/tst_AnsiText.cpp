#include "platform/text/AnsiText.h"

#include <QStringDecoder>
#include <QTest>

// Decoding takes a table for speed; it must read every text exactly as the converter does. On
// Windows the system converts; the rows with a text of their own say what it must give.
class tst_AnsiText : public QObject
{
    Q_OBJECT
private slots:
    void decodesAsTheConverter_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("whole");
        QTest::addColumn<QString>("text");
        QByteArray every;
        for (int code = 0x8140; code <= 0xFEFE; ++code)
            every += (code & 0xFF) >= 0x40 && (code & 0xFF) < 0xFF ? QByteArray{char(code >> 8), char(code)} : "";
        // clang-format off
        const std::tuple<const char *, QByteArray, bool, const char16_t *> rows[] = { // bool: the bytes come back
            {"empty", {}, true, u""}, {"ASCII", "tanker, \"n.\"\r\n", true, u"tanker, \"n.\"\r\n"},
            {"Chinese", "n.\xd3\xcd\xb4\xac\xa3\xbb\xbf\xd5", true, u"n.油船；空"}, {"euro sign alone", "\x80", true, u"€"},
            {"0xFF alone", "a\xff" "b", true, nullptr}, {"lead byte before ASCII", "\xc4" "abc", true, nullptr},
            {"half a character at the end", "ab\xc4", false, nullptr}, {"lead byte before 0x7F", "\xc4\x7f", false, nullptr},
            {"lead byte before a line end", "\xc4\r\n", false, nullptr}, {"every two-byte code", every, false, nullptr},
        };
        // clang-format on
        for (const auto &[name, bytes, whole, text] : rows)
            QTest::newRow(name) << bytes << whole << (text ? QString::fromUtf16(text) : QString());
    }
    void decodesAsTheConverter()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        if (!text.isNull())
            QCOMPARE(AnsiText::decode(bytes), text);
        if (QStringDecoder converter("GBK", QStringConverter::Flag::Stateless); converter.isValid())
            QCOMPARE(AnsiText::decode(bytes), converter.decode(bytes));
        // What the libraries and the settings file hold must be written back byte for byte.
        QFETCH(bool, whole);
        if (whole)
            QCOMPARE(AnsiText::encode(AnsiText::decode(bytes)).toHex(), bytes.toHex());
    }
};

QTEST_GUILESS_MAIN(tst_AnsiText)
#include "tst_AnsiText.moc"
