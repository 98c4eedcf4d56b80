#pragma once

#include <QString>

// The folder that holds the executable: where the settings file, the pictures and (when
// the companion is not shared) the libraries live.
namespace ProgramFolder {

QString path();
// Makes the folder the current directory; false when it cannot be (a vanished share).
bool makeCurrent(const QString &folder);

} // namespace ProgramFolder
