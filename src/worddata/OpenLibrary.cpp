#include "worddata/OpenLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString libraryFile(const QString &dataFolder, const QString &folder, const QString &name, const QString &extension)
{
    return QDir::toNativeSeparators(QDir(dataFolder).filePath(folder) + QLatin1Char('/') + name + extension);
}

// The whole file in one read, into memory that arrives populated: a snapshot, so that
// the companion program may rewrite or shorten the file while the library is open.
// False with the reason when it cannot be had.
bool readWhole(const QString &path, PopulatedBuffer &bytes, qsizetype &size, QString &problem)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        problem = QStringLiteral("文件不存在或无法打开。");
        return false;
    }
    const qint64 expected = file.size();
    if (expected > ValueTable::maxFileSize) {
        problem = QStringLiteral("文件太大（%1 字节）。").arg(expected);
        return false;
    }
    size = qsizetype(expected);
    bytes = PopulatedBuffer(size);
    if (!bytes.ensure(size)) {
        problem = QStringLiteral("内存不足，读不下这个文件（%1 字节）。").arg(size);
        return false;
    }
    qint64 got = 0;
    while (got < size) {
        const qint64 n = file.read(bytes.data() + got, size - got);
        if (n <= 0)
            break;
        got += n;
    }
    if (got != size) {
        problem = QStringLiteral("读取文件出错：%1")
                      .arg(file.error() == QFileDevice::NoError ? QStringLiteral("文件在读取时变短了。")
                                                                : file.errorString());
        return false;
    }
    return true;
}

} // namespace

QString OpenLibrary::wordFilePath(const QString &dataFolder, const QString &name)
{
    return libraryFile(dataFolder, QStringLiteral("词库"), name, QStringLiteral(".qd"));
}

QString OpenLibrary::associationFilePath(const QString &dataFolder, const QString &name)
{
    return libraryFile(dataFolder, QStringLiteral("联想词库"), name, QStringLiteral(".the"));
}

OpenLibrary::LoadResult OpenLibrary::openwordfile(const QString &dataFolder, LibraryHost &host)
{
    const QString associationPath = associationFilePath(dataFolder, libraryName);
    const QFileInfo associationInfo(associationPath);
    if (!associationInfo.isFile() || associationInfo.isHidden()) {
        host.showMessage(QStringLiteral("《") + libraryName +
                         QStringLiteral("》的联想词库不存在，请用Tesmar单词Graxo的联想词库生成工具生成。"));
        libraryName = previousLibraryName;
        return LoadResult::AssociationMissing;
    }

    host.resetBoard();

    const QString wordPath = wordFilePath(dataFolder, libraryName);
    PopulatedBuffer bytes;
    qsizetype size = 0;
    QString problem;
    WordLibrary words;
    if (!readWhole(wordPath, bytes, size, problem) || !WordLibrary::parse(std::move(bytes), size, words, problem))
        return fail(wordPath, problem, host);

    AssociationTable associations;
    if (!readWhole(associationPath, bytes, size, problem) ||
        !AssociationTable::parse(std::move(bytes), size, words.wordCount(), associations, problem))
        return fail(associationPath, problem, host);

    words_ = std::move(words);
    associations_ = std::move(associations);
    open_ = true;
    host.libraryOpened(libraryName);
    return LoadResult::Loaded;
}

OpenLibrary::LoadResult OpenLibrary::fail(const QString &path, const QString &problem, LibraryHost &host)
{
    const QString failedName = libraryName;
    libraryName = previousLibraryName;
    QString text = QStringLiteral("《%1》无法打开：\n%2\n%3").arg(failedName, path, problem);
    if (open_)
        text += QStringLiteral("\n仍使用原来的词库《%1》。").arg(libraryName);
    // The host is put right first, so that what is shown is coherent while the message waits.
    if (open_)
        host.libraryOpened(libraryName);
    else
        host.noLibraryOpen();
    host.showMessage(text);
    return LoadResult::Failed;
}
