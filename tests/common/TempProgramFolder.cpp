#include "common/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempProgramFolder::TempProgramFolder() = default;

QString TempProgramFolder::file(const QString &relative) const
{
    return QDir(dir_.path()).filePath(relative);
}

void TempProgramFolder::write(const QString &relative, const QByteArray &bytes) const
{
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray TempProgramFolder::read(const QString &relative) const
{
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TempProgramFolder::exists(const QString &relative) const
{
    return QFileInfo::exists(file(relative));
}
