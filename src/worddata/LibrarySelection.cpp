#include "worddata/LibrarySelection.h"

#include <QDir>

const QString LibrarySelection::dialogTitle = QStringLiteral("选择词库");
const QString LibrarySelection::dialogFilter = QStringLiteral("Tesmar单词Graxo词库(*.qd)");

QString LibrarySelection::libraryFolder(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("词库"));
}

QString LibrarySelection::libraryNameOf(const QString &chosenFile)
{
    QString name = chosenFile.size() < 3 ? QString() : chosenFile.chopped(3);
    fenli(name, name);
    return name;
}

void LibrarySelection::fenli(QString &ffile, QString &bfile)
{
    const QString s = ffile;
    const qsizetype p = qMax(s.lastIndexOf(QLatin1Char('\\')), s.lastIndexOf(QLatin1Char('/')));
    bfile = s.mid(p + 1);
}
