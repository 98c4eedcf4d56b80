#pragma once

#include "platform/messages/MessageSink.h"

#include <QString>

// What a library load needs from whoever shows the library: the load reads the files and keeps
// the tables, the host keeps what is shown from them. Problems go to showMessage.
class LibraryHost : public MessageSink
{
public:
    // The association file is there and reading begins: whatever was shown from the previous
    // tables goes (no word, no chain of turned words), and that is shown before the files are read.
    virtual void resetBoard() = 0;
    // A library is usable under this name. Also called with the kept library's name when a new
    // one failed to load, so that what is shown ends as a load of the kept library leaves it.
    virtual void libraryOpened(const QString &libraryName) = 0;
    // A load failed and no library was open before: nothing to show from, as before any load.
    virtual void noLibraryOpen() = 0;
};
