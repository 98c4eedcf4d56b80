#pragma once

#include "platform/LibraryFileDialog.h"

#include <QStringList>

// Answers the file dialog as a test says, and records what it was asked.
class ScriptedDialog : public LibraryFileDialog
{
public:
    std::optional<QString> answer;
    QStringList asked;
    std::optional<QString> getOpenFileName(const QString &title, const QString &filter,
                                           const QString &startFolder) override
    {
        asked << title << filter << startFolder;
        return answer;
    }
};
