#include "common/TempProgramFolder.h"
#include "platform/ChmFile.h"

#include <QDir>
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

template <typename T> QByteArray with(QByteArray bytes, qsizetype at, T value)
{
    qToLittleEndian(value, bytes.data() + at);
    return bytes;
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
        QVERIFY(QString::fromUtf8(chm.object("INDEX.htm").value_or("")).contains("<h1>欢迎使用 Tesmar单词Dorrit</h1>"));
        QVERIFY(chm.object("/images/board.png").value_or("").startsWith("\x89PNG"));
        QVERIFY(!chm.object("/nothing.htm"));
    }

    // A file that cannot be shown holds nothing and says why (chmlib trusts the offsets and
    // sizes of the fixed headers, so damage there must never reach it); an object that does
    // not read whole is left out.
    void damaged_data()
    {
        QTest::addColumn<QByteArray>("file"); // "<missing>", "<folder>", "<too large>": no bytes
        QTest::addColumn<ChmFile::Error>("error");
        QTest::addColumn<bool>("system"); // the uncompressed #SYSTEM object still reads
        const QByteArray good = builtHelp();
        QVERIFY(good.size() > 0x200);
        const qsizetype dir = qsizetype(qFromLittleEndian<quint64>(good.constData() + 72));
        const qsizetype lzxc = good.indexOf("LZXC");
        const auto notHelp = ChmFile::Error::NotHelpFile, none = ChmFile::Error::None;
        const std::tuple<const char *, QByteArray, ChmFile::Error, bool> rows[] = {
            {"missing", "<missing>", ChmFile::Error::Missing, false},
            {"a folder", "<folder>", ChmFile::Error::Unreadable, false},
            {"larger than help files are", "<too large>", notHelp, false},
            {"empty", "", notHelp, false},
            {"text file", "<html><body>not a help file</body></html>", notHelp, false},
            {"cut inside the header", good.left(0x50), notHelp, false},
            {"cut inside the directory", good.left(dir + 0x40), notHelp, false},
            {"signature", "X" + good.mid(1), notHelp, false},
            {"unknown version", with(good, 4, quint32(4)), notHelp, false},
            {"directory beyond the end", with(good, 72, quint64(good.size()) + 1), notHelp, false},
            {"zero block length", with(good, dir + 16, quint32(0)), notHelp, false},
            {"index head outside the directory", with(good, dir + 32, quint32(1000)), notHelp, false},
            // Past the header check: chmlib itself refuses it, in the child.
            {"directory chunk signature", QByteArray(good).replace(good.indexOf("PMGL"), 1, "X"), notHelp, false},
            {"compression data damaged", QByteArray(good).replace(lzxc, 4, "XXXX"), none, true},
            {"cut after the directory", good.left(dir + 0x1200), none, false},
        };
        for (const auto &[name, file, error, system] : rows)
            QTest::newRow(name) << file << error << system;
    }
    void damaged()
    {
        QFETCH(QByteArray, file);
        TempProgramFolder folder;
        const QString path = folder.file("Tesmar单词Dorrit.chm");
        if (file == "<folder>")
            QDir().mkpath(path);
        else if (file != "<missing>")
            folder.write("Tesmar单词Dorrit.chm", file == "<too large>" ? "" : file);
        if (file == "<too large>")
            QVERIFY(QFile::resize(path, ChmFile::maxFileSize + 1)); // sparse: nothing is written
        const ChmFile chm(path);
        QTEST(chm.error(), "error");
        QVERIFY(!chm.object("/index.htm"));
        QTEST(chm.object("/#SYSTEM").has_value(), "system");
        QTEST(!chm.title().isEmpty(), "system");
    }

    // Bytes flipped all over the file reach chmlib, which may crash on them in its child: the
    // file then holds nothing, else it opens.
    void flippedBytes()
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
            QVERIFY(chm.isOpen() || (chm.error() == ChmFile::Error::NotHelpFile && !chm.object("/#SYSTEM")));
        }
    }
};

QTEST_GUILESS_MAIN(tst_ChmFile)
#include "tst_ChmFile_posix.moc"
