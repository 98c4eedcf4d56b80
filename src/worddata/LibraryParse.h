#pragma once

#include "worddata/PackedValues.h"
#include "worddata/SequentialReader.h"

#include <QByteArray>
#include <QString>

// The shared start of parsing either library file: pick the encoding, skip a byte order
// mark, and read values out of the buffer that they are packed into.
class LibraryParse
{
    // Declared first: the members below are initialised after it is set.
    qsizetype bomLength_;

public:
    explicit LibraryParse(QByteArray file);

    // False (with the reason) when the file is too large to be addressed.
    bool fits(QString &problem) const;
    // A value as it may appear inside a message: decoded and cut short.
    QString shown(QByteArrayView value) const;

    PackedValues values;
    SequentialReader reader;

private:
    static PackedValues packInto(QByteArray file, qsizetype &bomLength);
};
