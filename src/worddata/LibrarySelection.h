#pragma once

#include "worddata/LibraryFileDialog.h"
#include "worddata/LibraryHost.h"
#include "worddata/OpenLibrary.h"

#include <QString>

// The menu command that opens a library: pick a ".qd" file, keep its bare name and load
// the library of that name from the data folder.
class LibrarySelection
{
public:
    static const QString dialogTitle;
    static const QString dialogFilter;

    // Cancel, or a library folder that does not exist, ends quietly with nothing changed.
    static void mnuciku_Click(OpenLibrary &library, const QString &dataFolder, LibraryFileDialog &dialog,
                              LibraryHost &host);

    // bfile = the part of ffile after its last separator. Both '\' and '/' separate: the
    // dialog hands back '/' on every platform and neither may occur in a Windows file name.
    // ffile and bfile may be the same variable.
    static void fenli(QString &ffile, QString &bfile);
};
