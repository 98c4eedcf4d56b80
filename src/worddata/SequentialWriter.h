#pragma once

#include <QByteArray>
#include <QStringView>

// Writes records of the shared value syntax: fields separated by commas without
// spaces, text in double quotes, one record per line ending in CR LF, code page 936.
class SequentialWriter
{
public:
    void writeText(QStringView text);
    void writeNumber(double value);
    void writeBoolean(bool value);
    void endRecord();

    const QByteArray &bytes() const { return bytes_; }

private:
    void separate();

    QByteArray bytes_;
    bool recordOpen_ = false;
};
