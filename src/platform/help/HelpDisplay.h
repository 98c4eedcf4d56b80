#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

// Shows a compiled help file (.chm) at its default topic: the system's HTML Help viewer on
// Windows, the program's own viewer elsewhere.
class HelpDisplay
{
public:
    virtual ~HelpDisplay() = default;

    // The owner is the native handle of the window that asks; a missing or damaged file is
    // reported by the viewer itself.
    virtual void displayTopic(const QString &helpFile, quintptr ownerWindow) = 0;
};

std::unique_ptr<HelpDisplay> makeSystemHelpDisplay();
