#include "common/TempProgramFolder.h"
#include "platform/ChmFile.h"

#include <QFile>
#include <QTest>
#include <QtEndian>

namespace {

const QString kHelpFile = QString::fromUtf8(DORRIT_HELP_FILE);

QByteArray builtHelp()
{
    QFile file(kHelpFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put32(QByteArray &bytes, qsizetype at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

void put64(QByteArray &bytes, qsizetype at, quint64 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

} // namespace

class tst_ChmFile : public QObject
{
    Q_OBJECT
private slots:
    void builtHelpFile()
    {
        const ChmFile chm(kHelpFile);
        QVERIFY2(chm.isOpen(), qPrintable(kHelpFile));
        QCOMPARE(chm.defaultTopic(), QStringLiteral("/index.htm"));
        QCOMPARE(chm.contentsFile(), QStringLiteral("/toc.hhc"));
        QCOMPARE(chm.indexFile(), QStringLiteral("/index.hhk"));
        // The project file is converted to the help file's code page; the title reads back.
        QCOMPARE(chm.title(), QStringLiteral("Tesmar单词Dorrit 帮助"));
        const auto topic = chm.object(QStringLiteral("index.htm"));
        QVERIFY(topic);
        QVERIFY(QString::fromUtf8(*topic).contains(QStringLiteral("<h1>欢迎使用 Tesmar单词Dorrit</h1>")));
        const auto picture = chm.object(QStringLiteral("/images/board.png"));
        QVERIFY(picture && picture->startsWith("\x89PNG"));
        QVERIFY(!chm.object(QStringLiteral("/nothing.htm")));
    }

    // Damage that chmlib would trust: offsets and sizes from the fixed headers.
    void damagedHeaders_data()
    {
        QTest::addColumn<QByteArray>("file");
        const QByteArray good = builtHelp();
        QVERIFY(good.size() > 0x200);
        const quint64 dirOffset = qFromLittleEndian<quint64>(good.constData() + 72);

        QTest::newRow("empty") << QByteArray();
        QTest::newRow("cut inside the header") << good.left(0x50);
        QTest::newRow("cut inside the directory") << good.left(qsizetype(dirOffset) + 0x40);
        QByteArray b = good;
        b[0] = 'X';
        QTest::newRow("signature") << b;
        b = good;
        put32(b, 4, 4);
        QTest::newRow("unknown version") << b;
        b = good;
        put64(b, 72, quint64(good.size()) + 1);
        QTest::newRow("directory beyond the end") << b;
        b = good;
        put32(b, qsizetype(dirOffset) + 16, 0);
        QTest::newRow("zero block length") << b;
        b = good;
        put32(b, qsizetype(dirOffset) + 32, 1000);
        QTest::newRow("index head outside the directory") << b;
        QTest::newRow("text file") << QByteArray("<html><body>not a help file</body></html>");
    }
    void damagedHeaders()
    {
        QFETCH(QByteArray, file);
        TempProgramFolder folder;
        folder.write("damaged.chm", file);
        const ChmFile chm(folder.file("damaged.chm"));
        QCOMPARE(chm.error(), ChmFile::Error::NotHelpFile);
        QVERIFY(!chm.object(QStringLiteral("/index.htm")));
        QCOMPARE(chm.defaultTopic(), QString());
    }

    void missingAndUnreadable()
    {
        TempProgramFolder folder;
        QCOMPARE(ChmFile(folder.file("Tesmar单词Dorrit.chm")).error(), ChmFile::Error::Missing);
        QCOMPARE(ChmFile(folder.path()).error(), ChmFile::Error::Unreadable);
    }

    // Bytes flipped all over the file: the file may open, but nothing may crash and every
    // read either succeeds or reports the object as missing.
    void damagedContent()
    {
        const QByteArray good = builtHelp();
        TempProgramFolder folder;
        for (int round = 0; round < 40; ++round) {
            QByteArray bytes = good;
            for (int k = 0; k < 24; ++k) {
                const qsizetype at = qsizetype((quint64(round) * 7919 + quint64(k) * 104729) % quint64(bytes.size()));
                bytes[at] = char(bytes[at] ^ char(0x5a + k));
            }
            folder.write("flipped.chm", bytes);
            const ChmFile chm(folder.file("flipped.chm"));
            for (const QString &path :
                 {QStringLiteral("/index.htm"), QStringLiteral("/toc.hhc"), QStringLiteral("/images/board.png")})
                chm.object(path);
        }
    }
};

QTEST_GUILESS_MAIN(tst_ChmFile)
#include "tst_ChmFile_posix.moc"
