#include "common/RegistryValueRow.h"
#include "platform/WineRegistryFile.h"

#include <QTest>

namespace {

const QString kKey = QString::fromUtf8("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Tesmar单词Graxo.exe");

const QByteArray kHead = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
const QByteArray kKeyLine =
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\Tesmar\\x5355\\x8bcdGraxo.exe] 1796596425"
    "\n#time=1dd85d1da754688\n";
const QByteArray kOtherKey = "[Software\\\\Other] 1796596425\n";

QByteArray withKey(const QByteArray &values)
{
    return kHead + kKeyLine + values;
}

QByteArray sz(const QByteArray &ansi)
{
    return ansi + QByteArray(1, '\0');
}

} // namespace

class tst_WineRegistryFile : public QObject
{
    Q_OBJECT
private slots:
    void firstValue_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<quint32>("type");

        const QByteArray graxoPath = sz("C:\\Program Files\\Graxo\\Tesmar\xb5\xa5\xb4\xcaGraxo.exe");
        const QByteArray wineWrote = withKey("@=\"C:\\\\Program Files\\\\Graxo\\\\Tesmar\\x5355\\x8bcdGraxo.exe\""
                                             "\n"
                                             "\"Path\"=str(2):\"%SystemRoot%\\\\x\""
                                             "\n\n");

        QTest::newRow("as wine writes it") << wineWrote << true << graxoPath << 1u;
        QByteArray crlf = wineWrote;
        crlf.replace("\n", "\r\n");
        QTest::newRow("crlf line ends") << crlf << true << graxoPath << 1u;
        QByteArray otherCase = wineWrote;
        otherCase.replace("Software\\\\Microsoft", "SOFTWARE\\\\microsoft");
        otherCase.replace("Graxo.exe]", "GRAXO.EXE]");
        QTest::newRow("key name in other case") << otherCase << true << graxoPath << 1u;

        QTest::newRow("smallest name, not file order")
            << withKey("\"zed\"=\"z\"\n\"Beta\"=\"b\"\n\"alpha\"=\"a\"\n") << true << sz("a") << 1u;
        QTest::newRow("default value sorts first") << withKey("\"a\"=\"x\"\n@=\"d\"\n") << true << sz("d") << 1u;
        QTest::newRow("repeated name replaces data")
            << withKey("@=\"old\"\n\"b\"=\"b\"\n@=\"new\"\n") << true << sz("new") << 1u;
        QTest::newRow("sections of one key merge")
            << withKey("\"b\"=\"b\"\n\n") + kOtherKey + "\"a\"=\"o\"\n" + kKeyLine + "\"a\"=\"a\"\n"
            << true << sz("a") << 1u;
        QTest::newRow("expandable string") << withKey("@=str(2):\"%WINDIR%\\\\x\""
                                                      "\n")
                                           << true << sz("%WINDIR%\\x") << 2u;
        QTest::newRow("escapes") << withKey("@=\"a\\\\b\\\"c\\n\\x41\\101\\t\\q\""
                                            "\n")
                                 << true << sz("a\\b\"c\nAA\tq") << 1u;
        QTest::newRow("hex escape takes four digits") << withKey("@=\"\\x5355abc\""
                                                                 "\n")
                                                      << true
                                                      << sz("\xb5\xa5"
                                                            "abc")
                                                      << 1u;
        QTest::newRow("dword") << withKey("@=dword:0000002a\n") << true << QByteArray("\x2a\0\0\0", 4) << 4u;
        QTest::newRow("hex continued over lines")
            << withKey("@=hex:01,02,\\\n  03,04\n") << true << QByteArray("\1\2\3\4") << 3u;
        QTest::newRow("hex string made ANSI")
            << withKey("@=hex(2):41,00,3a,00,55,53,00,00\n") << true << sz("A:\xb5\xa5") << 2u;
        QTest::newRow("bad value name skipped") << withKey("\"a=\"x\n\"b\"=\"b\"\n") << true << sz("b") << 1u;
        // Wine creates the value before its data fails to parse: it is there, without data.
        QTest::newRow("truncated string") << withKey("@=\"C:\\\\Gra") << true << QByteArray() << 0xffffffffu;
        QTest::newRow("bad data of a repeated name keeps the old")
            << withKey("@=\"a\"\n@=zzz\n") << true << sz("a") << 1u;

        QTest::newRow("key missing") << kHead + kOtherKey + "@=\"x\"\n" << false << QByteArray() << 0u;
        QTest::newRow("subkey is another key") << kHead + "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App "
                                                          "Paths\\\\Tesmar\\x5355\\x8bcdGraxo.exe\\\\Sub] 1"
                                                          "\n@=\"x\"\n"
                                               << false << QByteArray() << 0u;
        QTest::newRow("unterminated key name")
            << kHead +
                   "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\Tesmar\\x5355\\x8bcdGraxo.exe"
                   "\n@=\"x\"\n"
            << false << QByteArray() << 0u;
        QTest::newRow("not a registry file") << QByteArray(kKeyLine + "@=\"x\"\n") << false << QByteArray() << 0u;
    }
    void firstValue()
    {
        QFETCH(QByteArray, file);
        compareWithRow(WineRegistryFile::firstValue(file, kKey));
    }

    void namedValue_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<quint32>("type");

        const QByteArray values = withKey("@=\"default\"\n\"Alpha\"=\"a\"\n\"PATH\"=\"C:\\\\x\\\\\\x5355.exe\"\n"
                                          "\"Bin\"=hex:01,\\\n  02\n\"Zed\"=dword:00000007\n");
        QTest::newRow("by name") << values << "PATH" << true << sz("C:\\x\\\xb5\xa5.exe") << 1u;
        QTest::newRow("name in other case") << values << "path" << true << sz("C:\\x\\\xb5\xa5.exe") << 1u;
        QTest::newRow("empty name is the default") << values << "" << true << sz("default") << 1u;
        QTest::newRow("after a continued hex value") << values << "Zed" << true << QByteArray("\7\0\0\0", 4) << 4u;
        QTest::newRow("missing name") << values << "PAT" << false << QByteArray() << 0u;
        QTest::newRow("repeated name, last data")
            << withKey("\"PATH\"=\"old\"\n\"PATH\"=\"new\"\n") << "PATH" << true << sz("new") << 1u;
        QTest::newRow("bad data of a repeated name keeps the old")
            << withKey("\"PATH\"=\"old\"\n\"PATH\"=zzz\n") << "PATH" << true << sz("old") << 1u;
        QTest::newRow("name in another key") << kHead + kOtherKey + "\"PATH\"=\"x\"\n"
                                             << "PATH" << false << QByteArray() << 0u;
    }
    void namedValue()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, name);
        compareWithRow(WineRegistryFile::namedValue(file, kKey, name));
    }

    void unreadableFileIsNotFound() { QVERIFY(!WineRegistryFile::readFirstValue("/nonexistent/system.reg", kKey)); }
};

QTEST_GUILESS_MAIN(tst_WineRegistryFile)
#include "tst_WineRegistryFile.moc"
