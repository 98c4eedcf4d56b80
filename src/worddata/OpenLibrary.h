#pragma once

#include "worddata/AssociationTable.h"
#include "worddata/LibraryHost.h"
#include "worddata/WordLibrary.h"

#include <QString>

// The open library: its tables and the names the library selection works with.
class OpenLibrary
{
public:
    enum class LoadResult { Loaded, AssociationMissing, Failed };

    const WordLibrary &wordLibrary() const { return words_; }
    const AssociationTable &associations() const { return associations_; }
    // True once a load has succeeded; the tables then stay usable until the program ends.
    bool isOpen() const { return open_; }

    QString libraryName;
    QString previousLibraryName;

    static QString wordFilePath(const QString &dataFolder, const QString &name);
    static QString associationFilePath(const QString &dataFolder, const QString &name);

    // Loads the library called libraryName from dataFolder. A load that cannot finish
    // keeps the previous tables, puts previousLibraryName back and says why.
    LoadResult openwordfile(const QString &dataFolder, LibraryHost &host);

private:
    LoadResult fail(const QString &path, const QString &problem, LibraryHost &host);

    WordLibrary words_;
    AssociationTable associations_;
    bool open_ = false;
};
