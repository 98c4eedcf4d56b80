#include "platform/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace ProgramFolder {

QString path()
{
    return QCoreApplication::applicationDirPath();
}

bool makeCurrent(const QString &folder)
{
    return !folder.isEmpty() && QDir::setCurrent(folder);
}

} // namespace ProgramFolder
