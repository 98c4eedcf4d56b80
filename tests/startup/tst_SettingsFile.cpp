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

Q_DECLARE_METATYPE(Settings)

class tst_SettingsFile : public QObject
{
    Q_OBJECT
private slots:
    // A new file names the first picture, whatever the defaults hold. A quote in a name would
    // end the value early and shift every later record.
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
    }

    void readsByPosition_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Settings>("expected");
        const Settings defaults;
        QTest::newRow("new file") << kNewFile << Settings{0.1f, false, true, false, "01.jpg", true};
        QTest::newRow("keys altered") << QByteArray("\"a\",0.1\r\n\"b\",#TRUE#\r\n\"c\",#FALSE#\r\n\"d\",#TRUE#\r\n"
                                                    "\"e\",\"x.bmp\"\r\n\"f\",#FALSE#\r\n")
                                      << Settings{0.1f, true, false, true, "x.bmp", false};
        QTest::newRow("record 1 any text") << QByteArray("\"v\",\"nine\"\r\n\"b\",#TRUE#\r\n\"c\",#TRUE#\r\n"
                                                         "\"d\",#TRUE#\r\n\"e\",\"p.jpg\"\r\n\"f\",#TRUE#\r\n")
                                           << Settings{0.1f, true, true, true, "p.jpg", true};
        QTest::newRow("LF only and spaces") << QByteArray("\"v\", 2.5\n\"b\", #TRUE#\n\"c\",#FALSE#\n\"d\",#TRUE#\n"
                                                          "\"e\", q.jpg\n\"f\",#FALSE#\n")
                                            << Settings{0.1f, true, false, true, "q.jpg", false};
        QTest::newRow("three records") << QByteArray("\"v\",0.1\r\n\"b\",#TRUE#\r\n\"c\",#FALSE#\r\n")
                                       << Settings{0.1f, true, false, false, QString(), true};
        QTest::newRow("wrong type keeps default") << QByteArray("\"v\",0.1\r\n\"b\",yes\r\n\"c\",#FALSE#\r\n"
                                                                "\"d\",-1\r\n\"e\",\"p.jpg\"\r\n\"f\",#FALSE#\r\n")
                                                  << Settings{0.1f, false, false, false, "p.jpg", false};
        QTest::newRow("empty") << QByteArray() << defaults;
        QTest::newRow("binary noise") << QByteArray("\x00\xff\"\x01,,\r\r\n\n\"", 11) << defaults;
    }
    void readsByPosition()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Settings, expected);
        Settings s; // the start-up defaults
        SettingsFile::parse(bytes, s);
        QCOMPARE(SettingsFile::format(s), SettingsFile::format(expected));
    }

    void unwritableFolderKeepsDefaults()
    {
        TempProgramFolder folder;
        // A file where the folder should be: no one, not even root, can create the file in it.
        folder.write(QStringLiteral("blocked"), "x");
        SettingsFile file(folder.file(QStringLiteral("blocked")));
        Settings s{0.1f, false, true, true, QStringLiteral("keep.jpg"), true};
        QVERIFY(!file.createIfMissing(s));
        QVERIFY(!file.read(s));
        QCOMPARE(s.readAloud, true);
        QCOMPARE(s.desktopPicture, QStringLiteral("keep.jpg"));
        QVERIFY(!file.writeAll(s));
    }
};

QTEST_GUILESS_MAIN(tst_SettingsFile)
#include "tst_SettingsFile.moc"
