#pragma once

#include <QString>
#include <optional>

// The file-open dialog of the library selection; the window supplies the real one.
class LibraryFileDialog
{
public:
    virtual ~LibraryFileDialog() = default;
    // filter is in Qt's form ("description (*.ext)"). The full path of the chosen file,
    // or nothing when the user cancels.
    virtual std::optional<QString> getOpenFileName(const QString &title, const QString &filter,
                                                   const QString &startFolder) = 0;
};
