#pragma once

#include <QString>

// What the library selection makes of the file the user picked: the folder the picker opens
// in, and the bare name of the library to load from the data folder.
class LibrarySelection
{
public:
    static const QString dialogTitle;
    static const QString dialogFilter;

    // The word library folder under the data folder, where the picker opens.
    static QString libraryFolder(const QString &dataFolder);

    // The last three characters go whatever they are (a name typed without ".qd" loses them
    // too), then everything up to the last separator. Empty when nothing is left to load.
    static QString libraryNameOf(const QString &chosenFile);

    // bfile = the part of ffile after its last separator. Both '\' and '/' separate: the
    // dialog hands back '/' on every platform and neither may occur in a Windows file name.
    // ffile and bfile may be the same variable.
    static void fenli(QString &ffile, QString &bfile);
};
