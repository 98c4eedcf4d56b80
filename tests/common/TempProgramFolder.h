#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

// A fresh, empty program folder for one test, so no test touches a user's files.
class TempProgramFolder
{
public:
    QString path() const { return dir_.path(); }
    QString file(const QString &relative) const { return QDir(dir_.path()).filePath(relative); }
    void write(const QString &relative, const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(file(relative)).absolutePath());
        QFile f(file(relative));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            f.write(bytes);
    }
    QByteArray read(const QString &relative) const
    {
        QFile f(file(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool exists(const QString &relative) const { return QFileInfo::exists(file(relative)); }

private:
    QTemporaryDir dir_;
};
