#pragma once

#include "worddata/SequentialReader.h"
#include "worddata/ValueTable.h"

#include <QByteArray>
#include <QString>

// The shared start of parsing either library file: pick the encoding, skip a byte order
// mark, and read values out of the bytes that the value table keeps.
class LibraryParse
{
public:
    explicit LibraryParse(QByteArray file);

    // False (with the reason) when the file is too large to be addressed.
    bool fits(QString &problem) const;
    // A value as it may appear inside a message: decoded and cut short.
    QString shown(QByteArrayView value) const;

    ValueTable values;
    SequentialReader reader;

private:
    static ValueTable tableFor(QByteArray file);
};
