#include "startup/BackgroundPictures.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

const QString BackgroundPictures::parentFolderName = QStringLiteral("Dorrit桌面");

const BackgroundPictures::DefaultRow BackgroundPictures::defaultRows[3] = {
    {1,
     {QStringLiteral("011.jpg"), QStringLiteral("01.jpg")},
     {QStringLiteral("vorn1.jpg"), QStringLiteral("vorn.jpg")}},
    {2,
     {QStringLiteral("012.jpg"), QStringLiteral("01.jpg")},
     {QStringLiteral("vorn2.jpg"), QStringLiteral("vorn.jpg")}},
    {3,
     {QStringLiteral("013.jpg"), QStringLiteral("01.jpg")},
     {QStringLiteral("vorn3.jpg"), QStringLiteral("vorn.jpg")}},
};

namespace {

constexpr qint64 kChunk = 64 * 1024;

bool sameContent(const QString &a, const QString &b)
{
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) || first.size() != second.size())
        return false;
    while (!first.atEnd()) {
        const QByteArray left = first.read(kChunk);
        if (left.isEmpty() || left != second.read(left.size()))
            return false;
    }
    return second.atEnd();
}

} // namespace

QString BackgroundPictures::resolutionText(int resolutionIndex)
{
    switch (resolutionIndex) {
    case 1:
        return QStringLiteral("640x480");
    case 2:
        return QStringLiteral("800x600");
    default:
        return QStringLiteral("1024x768");
    }
}

QString BackgroundPictures::folder(const QString &programFolder, int resolutionIndex)
{
    return QDir(programFolder).filePath(parentFolderName + u'/' + resolutionText(resolutionIndex));
}

bool BackgroundPictures::copyVerified(const QString &source, const QString &target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    // A copy that stops half-way leaves whatever was at the target before.
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(kChunk);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size()) {
            out.cancelWriting();
            out.commit();
            return false;
        }
    }
    in.close();
    return out.commit() && sameContent(source, target);
}

void BackgroundPictures::seed(const QString &programFolder)
{
    const QDir program(programFolder);
    for (const DefaultRow &row : defaultRows) {
        const QString numbered = program.filePath(row.numbered.source);
        const QString vorn = program.filePath(row.vorn.source);
        // A row with one picture missing stays where it is, both files untouched.
        if (!QFileInfo(numbered).isFile() || !QFileInfo(vorn).isFile())
            continue;
        const QString target = folder(programFolder, row.resolutionIndex);
        if (!QDir().mkpath(target))
            continue;
        for (const DefaultPicture &picture : {row.numbered, row.vorn}) {
            const QString source = program.filePath(picture.source);
            if (copyVerified(source, QDir(target).filePath(picture.target)))
                QFile::remove(source);
        }
    }
}

QStringList BackgroundPictures::listFiles(const QString &folder, const QString &pattern)
{
    QStringList names;
    const QStringList filters = pattern.isEmpty() ? QStringList() : QStringList{pattern};
    // Unsorted: the order the file system returns, as the user's own listing shows it.
    // Without QDir::Hidden and QDir::System neither kind is listed; without
    // QDir::CaseSensitive the pattern ignores case.
    QDirIterator it(folder, filters, QDir::Files | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        names.append(it.fileName());
    }
    return names;
}

bool BackgroundPictures::isInFolder(const QString &folder, const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/') || name.contains(u'\\'))
        return false;
    return listFiles(folder).contains(name);
}

QString BackgroundPictures::chooseAtStart(const QString &folder, const QString &storedPicture, bool desktopRandom,
                                          const Random &random)
{
    if (!desktopRandom && isInFolder(folder, storedPicture))
        return storedPicture;
    const QStringList pictures = listFiles(folder, QStringLiteral("*.jpg"));
    if (pictures.isEmpty())
        return storedPicture;
    const double r = random ? random() : 0.0;
    // Int(r * count) + 1 on a 1-based list; a generator that strays to 1.0 still picks the last.
    const qsizetype k =
        std::clamp<qsizetype>(qsizetype(std::floor(r * double(pictures.size()))), 0, pictures.size() - 1);
    return pictures.at(k);
}
