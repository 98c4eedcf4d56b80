#include "platform/environment/Environment.h"
#include "platform/files/ProgramFolder.h"
#include "platform/help/HelpDisplay.h"
#include "platform/programs/ProgramEnd.h"
#include "platform/programs/ProgramName.h"
#include "platform/programs/ProgramStarter.h"
#include "platform/registry/Registry.h"
#include "platform/speech/SystemSpeech.h"
#include "startup/Session.h"
#include "startup/UiFonts.h"
#include "startup/UiLibraryFileDialog.h"
#include "startup/UiMessageBox.h"
#include "startup/frmmain.h"

#include <QApplication>
#include <QIcon>
#include <QThreadPool>
#include <cstdio>

// The entry routine: the session and its start-up sequence, then the main window until it
// closes.
static int run(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(programName());
#ifdef DORRIT_APP_ID
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(DORRIT_APP_ID));
#endif
    installFontSubstitutes();

    const auto speech = makeSystemSpeech();
    const auto registry = makeSystemRegistry();
    const auto environment = makeSystemEnvironment();
    const auto help = makeSystemHelpDisplay();
    const auto programs = makeSystemProgramStarter();
    UiLibraryFileDialog libraryDialog;

    Session::Services services;
    services.programFolder = ProgramFolder::path();
    services.speech = speech.get();
    services.registry = registry.get();
    services.environment = environment.get();
    services.libraryDialog = &libraryDialog;
    services.saveDialog = &libraryDialog;
    services.screenHeightTwips = frmmain::screenHeightTwips();
    Session session(services);
    const Session::Start start = session.Form_Load();
    // Decoded while the window is made.
    QThreadPool decoding;
    QFuture<QImage> background = frmmain::decodeBackground(start.background, decoding);

    UiMessageBox messages;
    frmmain::Services windowServices;
    windowServices.messages = &messages;
    windowServices.help = help.get();
    windowServices.registry = registry.get();
    windowServices.programs = programs.get();
    windowServices.ask = [&messages](const QString &question) { return messages.ask(question); };
    frmmain window(session, windowServices);
    messages.setParent(&window);
    libraryDialog.setParent(&window);
    window.setBackgroundLater(std::move(background));
    // The first start's message comes before the window appears.
    window.showMessages(start.messages);
    // The speech engine and the window icon (six pictures read and handed to the window
    // system) load after the first frame so that they never delay the window.
    QObject::connect(
        &window, &frmmain::firstFramePainted, &window,
        [&speech] {
            QIcon icon;
            for (int size : {16, 32, 48, 64, 128, 256})
                icon.addFile(QStringLiteral(":/icons/tesmar-dorrit-%1.png").arg(size), QSize(size, size));
            QApplication::setWindowIcon(icon);
            speech->start();
        },
        Qt::QueuedConnection);
    // For the start-up benchmark, which launches the program: the moment of the first frame.
    if (qEnvironmentVariableIsSet("DORRIT_REPORT_FIRST_FRAME")) {
        QObject::connect(&window, &frmmain::firstFramePainted, [] {
            std::fputs("first frame\n", stdout);
            std::fflush(stdout);
        });
    }
    window.showFillingScreen();
    return app.exec();
}

int main(int argc, char **argv)
{
    return ProgramEnd::afterRun(run(argc, argv));
}
