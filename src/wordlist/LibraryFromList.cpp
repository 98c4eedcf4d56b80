#include "wordlist/LibraryFromList.h"

#include "platform/text/AnsiText.h"
#include "worddata/OpenLibrary.h"
#include "wordlist/WordList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString LibraryFromList::nameProblem(const QString &name)
{
    QString why;
    static const QRegularExpression device(QStringLiteral("^(CON|PRN|AUX|NUL|COM[1-9]|LPT[1-9])(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QByteArray encoded = AnsiText::encode(name);
    if (name.isEmpty())
        why = QStringLiteral("名字是空的");
    else if (std::any_of(name.begin(), name.end(),
                         [](QChar c) { return c.unicode() < 0x20 || QStringView(u"\\/:*?\"<>|").contains(c); }))
        why = QStringLiteral("不能含有 \\ / : * ? \" < > | 或控制字符");
    else if (name.startsWith(u' ') || name.endsWith(u' ') || name.endsWith(u'.'))
        why = QStringLiteral("不能以空格开头，也不能以空格或句点结尾");
    else if (device.match(name).hasMatch())
        why = QStringLiteral("这是 Windows 的设备名");
    else if (AnsiText::decode(encoded) != name)
        why = QStringLiteral("含有代码页 936（GBK）写不下的字符");
    else if (encoded.size() + 4 > 255)
        why = QStringLiteral("太长");
    return why.isEmpty() ? QString() : QStringLiteral("“%1”不能用作词库名：%2。").arg(name, why);
}

bool LibraryFromList::exists(const QString &dataFolder, const QString &name)
{
    return QFileInfo::exists(OpenLibrary::wordFilePath(dataFolder, name)) ||
           QFileInfo::exists(OpenLibrary::associationFilePath(dataFolder, name));
}

bool LibraryFromList::write(const QString &dataFolder, const QString &name, const LibraryMaker::Files &files,
                            QString &problem)
{
    const QString wordPath = OpenLibrary::wordFilePath(dataFolder, name);
    const QString associationPath = OpenLibrary::associationFilePath(dataFolder, name);
    for (const QString &path : {wordPath, associationPath}) {
        const QString folder = QFileInfo(path).absolutePath();
        if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir()) {
            problem = QStringLiteral("无法建立文件夹“%1”。").arg(native(folder));
            return false;
        }
    }
    QSaveFile word(wordPath), association(associationPath);
    const auto fail = [&](const QSaveFile &file) {
        problem = QStringLiteral("无法写入“%1”：%2").arg(native(file.fileName()), file.errorString());
        return false;
    };
    for (auto [file, bytes] : {std::pair{&word, &files.wordFile}, std::pair{&association, &files.associationFile}}) {
        if (!file->open(QIODevice::WriteOnly) || file->write(*bytes) != bytes->size())
            return fail(*file);
    }
    const bool hadWordFile = QFileInfo::exists(wordPath);
    if (!word.commit())
        return fail(word);
    if (!association.commit()) {
        // Half a library would open with a wrong message: the new word file goes again.
        if (!hadWordFile)
            QFile::remove(wordPath);
        return fail(association);
    }
    return true;
}

LibraryFromList::Outcome LibraryFromList::make(const Request &request, const WordSource &source)
{
    Outcome outcome;
    outcome.text = nameProblem(request.name);
    if (!outcome.text.isEmpty())
        return outcome;

    const auto failed = [&](const QString &problem) {
        outcome.status = Status::Failed;
        outcome.text = QStringLiteral("“%1”做不成词库：%2").arg(native(request.listPath), problem);
        return outcome;
    };
    QFile file(request.listPath);
    if (!QFileInfo(request.listPath).isFile() || !file.open(QIODevice::ReadOnly))
        return failed(QStringLiteral("文件不存在或无法打开。"));
    if (file.size() > maxListBytes)
        return failed(QStringLiteral("文件太大（%1 字节），不像是词表。").arg(file.size()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed(file.errorString());

    QString problem;
    const std::optional<WordList> list = WordList::read(bytes, problem);
    if (!list)
        return failed(problem);
    outcome.wordCount = int(list->entries().size());
    if (request.confirm && !request.confirm(outcome.wordCount)) {
        outcome.status = Status::Cancelled;
        outcome.text.clear();
        return outcome;
    }
    if (!request.overwrite && exists(request.dataFolder, request.name)) {
        outcome.status = Status::Exists;
        outcome.text = QStringLiteral("词库《%1》已经存在：%2")
                           .arg(request.name, native(OpenLibrary::wordFilePath(request.dataFolder, request.name)));
        return outcome;
    }

    const LibraryMaker::Files files = LibraryMaker::make(*list, source);
    if (!write(request.dataFolder, request.name, files, problem))
        return failed(problem);
    outcome.status = Status::Made;
    outcome.text =
        files.report.text(request.name, OpenLibrary::wordFilePath(request.dataFolder, request.name),
                          OpenLibrary::associationFilePath(request.dataFolder, request.name), request.reportLimit);
    return outcome;
}
