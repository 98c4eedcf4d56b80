#include "platform/environment/Environment.h"
#include "platform/files/ProgramFolder.h"
#include "platform/programs/ProgramName.h"
#include "platform/registry/Registry.h"
#include "startup/Session.h"
#include "wordbook/Wordbook.h"
#include "wordbook/WordbookExport.h"
#include "wordlist/LibraryFromList.h"
#include "wordlist/WordTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

const char *const kUsage = R"(用法：dorrit-make-library 词表 名字 [--into 文件夹] [--force] [--help]
      dorrit-make-library --export-wordbook 文件 [--into 文件夹]

把词表做成词库：在数据文件夹的 词库 里写“名字.qd”，在 联想词库 里写“名字.the”。
词表每行一个单词或词组，UTF-8（可带 BOM）或 GBK（代码页 936）编码；单词后可以
用 Tab、逗号或分号隔开给出释义，否则释义和联想词取自随程序带的词典。空行和以 #
开头的行不算，重复的单词只留第一个。

  --into 文件夹  用这个文件夹作数据文件夹，而不是程序自己的
  --force        覆盖同名的词库
  --help         显示这段说明

--export-wordbook 把数据文件夹里的生词本导出成 UTF-8 文本文件，Anki 不改设置就能导入：
每行一个单词，用 Tab 隔开单词、释义、音标、前几个联想词和标签（单词来自的词库名）。
)";

// The wordbook of the data folder as notes in file: 0 when written, 1 when not.
int exportWordbook(const QString &dataFolder, const QString &file, QTextStream &out, QTextStream &err)
{
    Wordbook wordbook(dataFolder);
    if (!QFileInfo::exists(wordbook.wordFilePath())) {
        err << QStringLiteral("数据文件夹“%1”里没有生词本。").arg(QDir::toNativeSeparators(dataFolder)) << Qt::endl;
        return 1;
    }
    if (!wordbook.read()) {
        err << wordbook.problem() << Qt::endl;
        return 1;
    }
    // Without the word tables the notes go without pronunciations.
    WordTables tables;
    QString problem;
    const bool withTables = tables.open(WordTables::defaultPath(), problem);
    if (!withTables)
        err << problem << Qt::endl;
    const QByteArray notes = WordbookExport::notes(
        wordbook, [&](const QString &word) { return withTables ? tables.phonetic(word) : QString(); });
    if (!WordbookExport::write(file, notes, problem)) {
        err << problem << Qt::endl;
        return 1;
    }
    out << QStringLiteral("已把生词本的 %1 个单词导出到“%2”。").arg(wordbook.size()).arg(QDir::toNativeSeparators(file))
        << Qt::endl;
    return 0;
}

} // namespace

// dorrit-make-library LIST NAME [--into FOLDER] [--force], or --export-wordbook FILE [--into
// FOLDER]: 0 when the library was made or the wordbook exported, 1 when not (the reason on
// standard error), 2 for a wrong command line.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The same per-user folder as the program's.
    QCoreApplication::setApplicationName(programName());
    QTextStream out(stdout), err(stderr);

    QStringList positional;
    QString into, exportTo;
    bool force = false;
    const QStringList args = QCoreApplication::arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            out << QString::fromUtf8(kUsage);
            return 0;
        }
        if (a == QLatin1String("--force")) {
            force = true;
        } else if (a == QLatin1String("--into") && i + 1 < args.size()) {
            into = args[++i];
        } else if (a.startsWith(QLatin1String("--into="))) {
            into = a.mid(7);
        } else if (a == QLatin1String("--export-wordbook") && i + 1 < args.size()) {
            exportTo = args[++i];
        } else if (a.startsWith(QLatin1String("--")) || (a.startsWith(u'-') && a.size() > 1)) {
            err << QStringLiteral("不认识的选项“%1”。\n\n").arg(a) << QString::fromUtf8(kUsage);
            return 2;
        } else {
            positional << a;
        }
    }
    if (positional.size() != (exportTo.isEmpty() ? 2 : 0) || (force && !exportTo.isEmpty())) {
        err << QString::fromUtf8(kUsage);
        return 2;
    }

    QString dataFolder = into;
    if (dataFolder.isEmpty()) {
        const QString programFolder = ProgramFolder::path();
        dataFolder = Session::dataFolderFor(programFolder, *makeSystemRegistry(), *makeSystemEnvironment());
    }
    if (!exportTo.isEmpty())
        return exportWordbook(QDir(dataFolder).absolutePath(), exportTo, out, err);
    WordTables tables;
    QString problem;
    if (!tables.open(WordTables::defaultPath(), problem)) {
        err << problem << Qt::endl;
        return 1;
    }
    LibraryFromList::Request request;
    request.listPath = positional[0];
    request.name = positional[1];
    request.dataFolder = QDir(dataFolder).absolutePath();
    request.overwrite = force;
    const LibraryFromList::Outcome outcome = LibraryFromList::make(request, tables);
    if (outcome.status == LibraryFromList::Status::Made) {
        out << outcome.text << Qt::endl;
        return 0;
    }
    err << outcome.text;
    if (outcome.status == LibraryFromList::Status::Exists)
        err << QStringLiteral("\n加 --force 覆盖它。");
    err << Qt::endl;
    return 1;
}
