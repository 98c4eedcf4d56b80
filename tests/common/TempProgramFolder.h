#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh, empty program folder for one test, so no test touches a user's files.
class TempProgramFolder
{
public:
    TempProgramFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString &relative) const;
    void write(const QString &relative, const QByteArray &bytes) const;
    QByteArray read(const QString &relative) const;
    bool exists(const QString &relative) const;

private:
    QTemporaryDir dir_;
};
