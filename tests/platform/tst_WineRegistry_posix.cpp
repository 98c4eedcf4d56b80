#include "platform/environment/Environment.h"
#include "platform/registry/WineRegistryFile.h"
#include "platform/text/AnsiText.h"

#include <QFile>
#include <QTest>

namespace {

const QByteArray kHead = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n";
const QByteArray kKeyLine = "[App Paths\\\\\\x5355\\x8bcd.exe] 1796596425\n#time=1dd85d1da754688\n";
const QByteArray kOther = "[App Paths\\\\Other] 1796596425\n";
const QString kFirst = "(first)"; // the value enumeration gives first, whatever its name

// Compares a value with the current row's columns found, data and type.
void compareWithRow(const std::optional<RegistryValue> &value)
{
    QFETCH(bool, found);
    QCOMPARE(value.has_value(), found);
    QFETCH(QByteArray, data);
    if (found) {
        QCOMPARE(value->data.toHex(' '), data.toHex(' '));
        QTEST(value->type, "type");
    }
}

} // namespace

class tst_WineRegistry : public QObject
{
    Q_OBJECT
private slots:
    // system.reg as Wine writes and loads it: a key's values are enumerated by name.
    void valueOfFile_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<quint32>("type");
        const auto withKey = [](const QByteArray &values) { return kHead + kKeyLine + values; };
        const auto sz = [](const QByteArray &ansi) { return ansi + '\0'; };
        const QByteArray wine = withKey("@=\"C:\\\\Tesmar\\x5355\\x8bcd.exe\"\n\"Path\"=str(2):\"x\"\n\n");
        const QByteArray graxo = sz("C:\\Tesmar\xb5\xa5\xb4\xca.exe"), none;
        const QByteArray named =
            withKey("@=\"d\"\n\"PATH\"=\"\\x5355\"\n\"Bin\"=hex:01,\\\n  02\n\"Zed\"=dword:0000002a\n");
        // clang-format off
        const std::tuple<const char *, QByteArray, QString, bool, QByteArray, quint32> rows[] = {
            {"as wine writes it", wine, kFirst, true, graxo, 1},
            {"key in other case", kHead + "[APP PATHS\\\\\\x5355\\x8bcd.EXE] 1\n@=\"x\"\n", kFirst, true, sz("x"), 1},
            {"smallest name, not file order", withKey("\"z\"=\"z\"\n\"B\"=\"b\"\n\"a\"=\"a\"\n"), kFirst, true, sz("a"), 1},
            {"default value sorts first", withKey("\"a\"=\"x\"\n@=\"d\"\n"), kFirst, true, sz("d"), 1},
            {"repeated name, new data", withKey("@=\"old\"\n\"b\"=\"b\"\n@=\"new\"\n"), kFirst, true, sz("new"), 1},
            {"sections of one key merge", withKey("\"b\"=\"b\"\n") + kOther + "\"a\"=\"o\"\n" + kKeyLine + "\"a\"=\"a\"\n",
             kFirst, true, sz("a"), 1},
            {"expandable string", withKey("@=str(2):\"%WINDIR%\\\\x\"\n"), kFirst, true, sz("%WINDIR%\\x"), 2},
            {"escapes", withKey("@=\"a\\\\b\\\"c\\n\\x41\\101\\t\\q\"\n"), kFirst, true, sz("a\\b\"c\nAA\tq"), 1},
            {"hex escape takes four digits", withKey("@=\"\\x5355abc\"\n"), kFirst, true, sz("\xb5\xa5" "abc"), 1},
            {"hex continued over lines", withKey("@=hex:01,02,\\\n  03,04\n"), kFirst, true, "\1\2\3\4", 3},
            {"hex string made ANSI", withKey("@=hex(2):41,00,3a,00,55,53,00,00\n"), kFirst, true, sz("A:\xb5\xa5"), 2},
            // Wine creates the value before its data fails to parse: it is there, without data.
            {"truncated string", withKey("@=\"C:\\\\Gra"), kFirst, true, none, 0xffffffffu},
            {"key missing", kHead + kOther + "@=\"x\"\n", kFirst, false, none, 0},
            {"a subkey is another key", kHead + "[App Paths\\\\\\x5355\\x8bcd.exe\\\\Sub] 1\n@=\"x\"\n", kFirst, false,
             none, 0},
            {"not a registry file", kKeyLine + "@=\"x\"\n", kFirst, false, none, 0},
            {"by name in other case", named, "path", true, sz("\xb5\xa5"), 1},
            {"empty name is the default", named, "", true, sz("d"), 1},
            {"dword, after a continued hex value", named, "Zed", true, {"\x2a\0\0\0", 4}, 4},
            {"missing name", named, "PAT", false, none, 0},
            {"bad data keeps the old", withKey("\"P\"=\"old\"\n\"P\"=zzz\n"), "P", true, sz("old"), 1},
        };
        // clang-format on
        for (const auto &[row, file, name, found, data, type] : rows)
            QTest::newRow(row) << file << name << found << data << type;
    }
    void valueOfFile()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, name);
        const QString key = "App Paths\\单词.exe";
        compareWithRow(name == kFirst ? WineRegistryFile::firstValue(file, key)
                                      : WineRegistryFile::namedValue(file, key, name));
    }

    // Run by tests/win/run_windows_suites.sh: the system registry and environment answer as
    // Wine's RegEnumValueA, RegQueryValueExA and ExpandEnvironmentStringsA did in that prefix.
    void asWin32_data()
    {
        QFile answers(qEnvironmentVariable("DORRIT_WINE_ANSWERS"));
        if (answers.fileName().isEmpty())
            QSKIP("runs from tests/win/run_windows_suites.sh against a real Wine prefix");
        QVERIFY(answers.open(QIODevice::ReadOnly));
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("found");
        QTest::addColumn<quint32>("type");
        QTest::addColumn<QByteArray>("data");
        const auto field = [](const QByteArray &hex) { return hex == "-" ? QByteArray() : QByteArray::fromHex(hex); };
        // "<first|named|expand> <found> <type> <key or text> <name> <data>", hex, then "end <lines>".
        for (int rows = 0;; ++rows) {
            const QList<QByteArray> f = answers.readLine().trimmed().split(' ');
            if (f[0] == "end") {
                QCOMPARE(f.value(1).toInt(), rows);
                return;
            }
            QVERIFY2(f.size() == 6, f[0].constData());
            const QString key = AnsiText::decode(field(f[3])), name = AnsiText::decode(field(f[4]));
            QTest::addRow("%s %s %s", f[0].constData(), qPrintable(key.right(40)), qPrintable(name))
                << f[0] << key << name << (f[1] == "1") << f[2].toUInt() << field(f[5]);
        }
    }
    void asWin32()
    {
        QFETCH(QByteArray, kind);
        QFETCH(QString, key);
        QFETCH(QString, name);
        if (kind == "expand") { // the expanded text in the ANSI code page, as a value's data
            const auto text = makeSystemEnvironment()->expand(key);
            return compareWithRow(text ? std::optional(RegistryValue{AnsiText::encode(*text)}) : std::nullopt);
        }
        const auto registry = makeSystemRegistry();
        compareWithRow(kind == "first" ? registry->firstValue(key) : registry->machineValue(key, name));
    }
};

QTEST_GUILESS_MAIN(tst_WineRegistry)
#include "tst_WineRegistry_posix.moc"
