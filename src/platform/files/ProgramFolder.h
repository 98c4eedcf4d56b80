#pragma once

#include <QString>

#include <functional>

// The folder the program treats as its own: the settings file, the picture folders, the library
// folders (when the companion is not shared) and the help file live there. Decided once at start:
// - a portable folder (the executable beside its installed files, and Windows): the executable's
//   folder, as long as the program may write there;
// - a system installation (the installed files under ../share beside bin/), or a portable folder
//   that cannot be written: a per-user folder filled from the installed files.
namespace ProgramFolder {

struct Places
{
    QString executableFolder;
    // Where a system installation keeps its installed files; a portable folder has none there.
    QString systemInstalledFiles;
    QString userFolder;
};

struct Choice
{
    QString folder;
    // The installed files to bring into a per-user folder; empty for the executable's own folder.
    QString installedFiles;
};

using WritableTest = std::function<bool(const QString &folder)>;
Choice choose(const Places &places, const WritableTest &writable);

// Whether a file can really be made in the folder (a read-only mount, permissions, ACLs): one is
// made and removed at once.
bool isWritable(const QString &folder);

// The places of this executable and user: beside the executable, and the user's application data.
Places systemPlaces();

// Chooses the folder and, for a per-user folder, brings in the installed files.
QString path();

// Makes the folder the current directory; false when it cannot be (a vanished share).
bool makeCurrent(const QString &folder);

} // namespace ProgramFolder
