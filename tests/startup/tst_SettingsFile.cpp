#include "common/TempProgramFolder.h"
#include "platform/text/AnsiText.h"
#include "startup/SettingsFile.h"

#include <QTest>

// In code page 936, as the program writes it.
static const QByteArray kNewFile = AnsiText::encode(QString::fromUtf8("\"版本\",0.1\r\n"
                                                                      "\"是否已检测Tesmar单词Graxo\",#FALSE#\r\n"
                                                                      "\"是否与Tesmar单词Graxo共享目录\",#TRUE#\r\n"
                                                                      "\"是否朗读\",#FALSE#\r\n"
                                                                      "\"桌面\",\"01.jpg\"\r\n"
                                                                      "\"桌面是否随机\",#TRUE#\r\n"));

class tst_SettingsFile : public QObject
{
    Q_OBJECT
private slots:
    // A new file names the first picture, whatever the defaults hold. A quote in a name would
    // end the value early and shift every later record. Where a file stands in the folder's
    // place, nothing is written or read, even with root's rights, and the settings stay.
    void writing()
    {
        TempProgramFolder folder;
        SettingsFile file(folder.path());
        Settings s{0.1f, false, true, false, QStringLiteral("ignored.jpg"), true};
        QVERIFY(file.createIfMissing(s));
        QCOMPARE(folder.read(SettingsFile::fileName), kNewFile);
        s = Settings{0.1f, true, false, true, QStringLiteral("春\"天.jpg"), false};
        QVERIFY(file.writeAll(s));
        Settings back;
        QVERIFY(file.read(back));
        s.desktopPicture = QStringLiteral("春天.jpg");
        QCOMPARE(SettingsFile::format(back), SettingsFile::format(s));

        folder.write(QStringLiteral("blocked"), "x");
        const SettingsFile blocked(folder.file(QStringLiteral("blocked")));
        QVERIFY(!blocked.createIfMissing(s) && !blocked.read(back) && !blocked.writeAll(s));
        QCOMPARE(SettingsFile::format(back), SettingsFile::format(s));
    }

    void readsByPosition_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("expected"); // formatted
        const auto settings = [](bool checked, bool share, bool aloud, const char *picture, bool random) {
            return SettingsFile::format(Settings{0.1f, checked, share, aloud, picture, random});
        };
        const QByteArray defaults = SettingsFile::format(Settings());
        QTest::newRow("new file") << kNewFile << settings(false, true, false, "01.jpg", true);
        QTest::newRow("keys and version not read") << QByteArray("\"a\",\"nine\"\r\n\"b\",#TRUE#\r\n\"c\",#FALSE#\r\n"
                                                                 "\"d\",#TRUE#\r\n\"e\",\"x.bmp\"\r\n\"f\",#FALSE#\r\n")
                                                   << settings(true, false, true, "x.bmp", false);
        QTest::newRow("LF only and spaces") << QByteArray("\"v\", 2.5\n\"b\", #TRUE#\n\"c\",#FALSE#\n\"d\",#TRUE#\n"
                                                          "\"e\", q.jpg\n\"f\",#FALSE#\n")
                                            << settings(true, false, true, "q.jpg", false);
        QTest::newRow("three records") << QByteArray("\"v\",0.1\r\n\"b\",#TRUE#\r\n\"c\",#FALSE#\r\n")
                                       << settings(true, false, false, "", true);
        QTest::newRow("wrong type keeps default") << QByteArray("\"v\",0.1\r\n\"b\",yes\r\n\"c\",1\r\n\"d\",#TRUE#\r\n"
                                                                "\"e\",\"p.jpg\"\r\n\"f\",-1\r\n")
                                                  << settings(false, true, true, "p.jpg", true);
        QTest::newRow("empty") << QByteArray() << defaults;
        QTest::newRow("binary noise") << QByteArray("\x00\xff\"\x01,,\r\r\n\n\"", 11) << defaults;
    }
    void readsByPosition()
    {
        QFETCH(QByteArray, bytes);
        Settings s; // the start-up defaults
        SettingsFile::parse(bytes, s);
        QTEST(SettingsFile::format(s), "expected");
    }
};

QTEST_GUILESS_MAIN(tst_SettingsFile)
#include "tst_SettingsFile.moc"
