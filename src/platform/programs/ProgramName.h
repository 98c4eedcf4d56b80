#pragma once

#include <QString>

// The program's name: the window caption, every message box's title, the help file's name.
inline QString programName()
{
    return QStringLiteral("Tesmar单词Dorrit");
}
