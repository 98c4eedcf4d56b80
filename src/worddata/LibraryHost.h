#pragma once

#include "platform/MessageSink.h"

#include <QString>

// What loading a library asks of the main window. showMessage (from MessageSink) is the
// modal OK box.
class LibraryHost : public MessageSink
{
public:
    // Empty board before reading: page buttons hidden, counter and Back disabled, no
    // pointer focus, the nine circles shown without words or meaning boxes, the centre
    // meaning box shown with the greeting, chain emptied and counter "0", the input box
    // text reset; then let the window repaint once.
    virtual void resetBoard() = 0;
    // A library is usable under this name: caption "Tesmar单词Dorrit        词库：" + name,
    // Command1, Command2, Text1 and Label3 enabled. Also called with the kept library's
    // name when a new one failed to load, so the window ends as a fresh load leaves it.
    virtual void libraryOpened(const QString &libraryName) = 0;
    // A load failed and no library was open before: back to the no-library state of
    // start-up (caption "Tesmar单词Dorrit", input and navigation controls disabled).
    virtual void noLibraryOpen() = 0;
};
