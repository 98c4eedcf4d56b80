#include "platform/environment/Environment.h"
#include "platform/files/ProgramFolder.h"
#include "platform/programs/ProgramName.h"
#include "platform/registry/Registry.h"
#include "startup/Session.h"
#include "wordlist/LibraryFromList.h"
#include "wordlist/WordTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace {

const char *const kUsage = R"(用法：dorrit-make-library 词表 名字 [--into 文件夹] [--force] [--help]

把词表做成词库：在数据文件夹的 词库 里写“名字.qd”，在 联想词库 里写“名字.the”。
词表每行一个单词或词组，UTF-8（可带 BOM）或 GBK（代码页 936）编码；单词后可以
用 Tab、逗号或分号隔开给出释义，否则释义和联想词取自随程序带的词典。空行和以 #
开头的行不算，重复的单词只留第一个。

  --into 文件夹  用这个文件夹作数据文件夹，而不是程序自己的
  --force        覆盖同名的词库
  --help         显示这段说明
)";

} // namespace

// dorrit-make-library LIST NAME [--into FOLDER] [--force]: 0 when the library was made, 1
// when it was not (the reason on standard error), 2 for a wrong command line.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    // The same per-user folder as the program's.
    QCoreApplication::setApplicationName(programName());
    QTextStream out(stdout), err(stderr);

    QStringList positional;
    QString into;
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
        } else if (a.startsWith(QLatin1String("--")) || (a.startsWith(u'-') && a.size() > 1)) {
            err << QStringLiteral("不认识的选项“%1”。\n\n").arg(a) << QString::fromUtf8(kUsage);
            return 2;
        } else {
            positional << a;
        }
    }
    if (positional.size() != 2) {
        err << QString::fromUtf8(kUsage);
        return 2;
    }

    QString dataFolder = into;
    if (dataFolder.isEmpty()) {
        const QString programFolder = ProgramFolder::path();
        dataFolder = Session::dataFolderFor(programFolder, *makeSystemRegistry(), *makeSystemEnvironment());
    }
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
