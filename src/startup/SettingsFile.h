#pragma once

#include "startup/Settings.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// "Dorrit参数.ini" in the program folder: six records matched by position, code page 936,
// CR LF. Written whole through QSaveFile so a failed write keeps the previous file.
class SettingsFile
{
public:
    static const QString fileName;

    explicit SettingsFile(const QString &programFolder);

    QString path() const { return path_; }

    // Writes the defaults (record 5 is always "01.jpg") when no file exists yet.
    bool createIfMissing(const Settings &defaults) const;
    // Records are matched by position; a missing record or a value of the wrong form
    // leaves its variable as it was.
    bool read(Settings &settings) const;
    bool writeAll(const Settings &settings) const;

    static QByteArray format(const Settings &settings);
    // Returns how many of the six records were present.
    static int parse(QByteArrayView bytes, Settings &settings);

private:
    QString path_;
};
