#pragma once

#include <QString>
#include <optional>

// The file-save dialog of the wordbook's export; the window supplies the real one.
class SaveFileDialog
{
public:
    virtual ~SaveFileDialog() = default;
    // filter is in Qt's form ("description (*.ext)"); startPath names the folder and the file
    // offered. The full path chosen, or nothing when the user cancels.
    virtual std::optional<QString> getSaveFileName(const QString &title, const QString &filter,
                                                   const QString &startPath) = 0;
};
