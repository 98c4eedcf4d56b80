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
    // Takes the records that read cleanly, in order, up to the first one that does not.
    bool read(Settings &settings) const;
    bool writeAll(const Settings &settings) const;

    static QByteArray format(const Settings &settings);
    // Returns how many of the six records were taken.
    static int parse(QByteArrayView bytes, Settings &settings);

private:
    QString path_;
};
