#include "common/TempProgramFolder.h"
#include "platform/ChmFile.h"

#include <QDir>
#include <QTest>
#include <QtEndian>

namespace {

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
    // A file that cannot be shown holds nothing and says why: chmlib trusts the offsets and
    // sizes of the fixed headers, so damage there must never reach it, and what chmlib itself
    // refuses (in its child) is refused. An object that does not read whole is left out.
    void read_data()
    {
        QTest::addColumn<QByteArray>("file"); // "<missing>", "<folder>", "<too large>": no bytes
        QTest::addColumn<ChmFile::Error>("error");
        QTest::addColumn<bool>("system"); // the uncompressed #SYSTEM object reads, and the title in it
        QTest::addColumn<bool>("topic");  // the compressed /index.htm reads
        QFile built(DORRIT_HELP_FILE);
        QVERIFY(built.open(QIODevice::ReadOnly));
        const QByteArray good = built.readAll();
        const qsizetype dir = qsizetype(qFromLittleEndian<quint64>(good.constData() + 72));
        const auto bad = ChmFile::Error::NotHelpFile, none = ChmFile::Error::None;
        // clang-format off
        const std::tuple<const char *, QByteArray, ChmFile::Error, bool, bool> rows[] = {
            {"the built help file", good, none, true, true},
            {"missing", "<missing>", ChmFile::Error::Missing, false, false},
            {"a folder", "<folder>", ChmFile::Error::Unreadable, false, false},
            {"larger than help files are", "<too large>", bad, false, false}, {"empty", "", bad, false, false},
            {"text file", "<html><body>not a help file</body></html>", bad, false, false},
            {"cut inside the header", good.left(0x50), bad, false, false},
            {"cut inside the directory", good.left(dir + 0x40), bad, false, false},
            {"unknown version", with(good, 4, quint32(4)), bad, false, false},
            {"directory beyond the end", with(good, 72, quint64(good.size()) + 1), bad, false, false},
            {"index head outside the directory", with(good, dir + 32, quint32(1000)), bad, false, false},
            {"directory chunk signature", QByteArray(good).replace(good.indexOf("PMGL"), 1, "X"), bad, false, false},
            {"compression data damaged", QByteArray(good).replace(good.indexOf("LZXC"), 4, "XXXX"), none, true, false},
            {"cut after the directory", good.left(dir + 0x1200), none, false, false},
        };
        // clang-format on
        for (const auto &[name, file, error, system, topic] : rows)
            QTest::newRow(name) << file << error << system << topic;
    }
    void read()
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
        QTEST(chm.object("/#SYSTEM").has_value(), "system");
        QTEST(chm.title() == "Tesmar单词Dorrit 帮助", "system");
        QTEST(chm.object("INDEX.htm").value_or("").contains("<h1>欢迎使用 Tesmar单词Dorrit</h1>"), "topic");
        QVERIFY(!chm.object("/nothing.htm"));
    }
};

QTEST_GUILESS_MAIN(tst_ChmFile)
#include "tst_ChmFile_posix.moc"
