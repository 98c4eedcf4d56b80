#include "startup/UiLibraryFileDialog.h"

#include <QFileDialog>

std::optional<QString> UiLibraryFileDialog::getOpenFileName(const QString &title, const QString &filter,
                                                            const QString &startFolder)
{
    const QString chosen = QFileDialog::getOpenFileName(parent_, title, startFolder, filter);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QString> UiLibraryFileDialog::getSaveFileName(const QString &title, const QString &filter,
                                                            const QString &startPath)
{
    const QString chosen = QFileDialog::getSaveFileName(parent_, title, startPath, filter);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}
