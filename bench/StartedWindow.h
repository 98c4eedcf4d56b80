#pragma once

#include "startup/Session.h"
#include "startup/frmmain.h"

#include <QThreadPool>

// The session after its start-up and the main window over it, as main() makes them; messages
// are not shown.
struct StartedWindow
{
    Session session;
    Session::Start start;
    frmmain window;

    explicit StartedWindow(Session::Services services, const frmmain::Services &windowServices = {})
        : session(std::move(services))
        , start(session.Form_Load())
        , window(session, windowServices)
    {
        window.setBackgroundLater(frmmain::decodeBackground(start.background, *QThreadPool::globalInstance()));
    }
};
