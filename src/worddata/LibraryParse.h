#pragma once

#include "worddata/PopulatedBuffer.h"
#include "worddata/SequentialReader.h"
#include "worddata/ValueTable.h"

#include <QByteArrayView>
#include <QString>

// The shared start of parsing either library file: pick the encoding, skip a byte order
// mark, and read values out of the bytes that the value table keeps.
class LibraryParse
{
public:
    // file holds the size bytes of the file.
    LibraryParse(PopulatedBuffer file, qsizetype size);

    // False (with the reason) when the file is too large to be addressed.
    bool fits(QString &problem) const;
    // A value as it may appear inside a message: decoded and cut short.
    QString shown(QByteArrayView value) const;
    // Keeps value in the table; false (with the reason) when memory ran out.
    bool keep(QByteArrayView value, QString &problem) { return values.append(value) || outOfMemory(problem); }

    ValueTable values;
    SequentialReader reader;

    // Says that memory ran out; false.
    static bool outOfMemory(QString &problem);

private:
    static ValueTable tableFor(PopulatedBuffer file, qsizetype size);
};
