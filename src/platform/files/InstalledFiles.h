#pragma once

#include <QString>
#include <QStringList>

// The files an installation puts in a program folder (the default pictures, the library folders
// with the sample library, the help file), and bringing them into a per-user program folder.
//
// A new per-user folder (missing or empty) gets all of them; a missing one is made complete
// beside its place and then renamed into it, so that a start cut short leaves no half-filled
// folder that later starts would take for one in use. An existing folder gets nothing but the
// help file, which follows the installed one: the default pictures are moved into the picture
// folders on the first start and must not come back, a sample library the user deleted stays
// deleted, and nothing of the user's is ever overwritten.
class InstalledFiles
{
public:
    // Files and folders (copied with their content), relative to the installed files' folder.
    static const QStringList names;
    static const QString helpFileName;

    // False when the folder could not be made or an installed file could not be copied.
    static bool bringInto(const QString &installed, const QString &folder);

private:
    static bool fillNew(const QString &installed, const QString &folder);
    static bool copyAll(const QString &installed, const QString &folder);
    static bool copyTree(const QString &source, const QString &target);
    static bool refreshHelp(const QString &installed, const QString &folder);
};
