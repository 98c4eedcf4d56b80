#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

// Writes a file whole, making its folder first.
inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

// A fresh, empty program folder for one test, so no test touches a user's files.
class TempProgramFolder
{
public:
    QString path() const { return dir_.path(); }
    QString file(const QString &relative) const { return QDir(dir_.path()).filePath(relative); }
    void write(const QString &relative, const QByteArray &bytes) const { writeFile(file(relative), bytes); }
    QByteArray read(const QString &relative) const
    {
        QFile f(file(relative));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool exists(const QString &relative) const { return QFileInfo::exists(file(relative)); }

private:
    QTemporaryDir dir_;
};
