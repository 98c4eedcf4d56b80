#include "platform/Environment.h"
#include "platform/HelpDisplay.h"
#include "platform/ProgramFolder.h"
#include "platform/ProgramStarter.h"
#include "platform/Registry.h"
#include "platform/SystemSpeech.h"
#include "startup/UiFonts.h"
#include "startup/UiLibraryFileDialog.h"
#include "startup/UiMessageBox.h"
#include "startup/frmmain.h"

#include <QApplication>
#include <QIcon>

// The entry routine: the settings version, then the main window until it closes.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tesmar单词Dorrit"));
#ifdef DORRIT_APP_ID
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(DORRIT_APP_ID));
#endif
    Q_INIT_RESOURCE(resources);
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/tesmar-dorrit-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(icon);
    installFontSubstitutes();

    Settings settings;
    settings.settingsVersion = 0.1f;

    const auto speech = makeSystemSpeech();
    UiMessageBox messages;
    UiLibraryFileDialog libraryDialog;
    const auto registry = makeSystemRegistry();
    const auto environment = makeSystemEnvironment();
    const auto help = makeSystemHelpDisplay();
    const auto programs = makeSystemProgramStarter();
    frmmain::Services services;
    services.programFolder = ProgramFolder::path();
    services.speech = speech.get();
    services.messages = &messages;
    services.registry = registry.get();
    services.environment = environment.get();
    services.libraryDialog = &libraryDialog;
    services.help = help.get();
    services.programs = programs.get();

    frmmain window(services, settings);
    messages.setParent(&window);
    libraryDialog.setParent(&window);
    // The speech engine loads after the first frame so that it never delays the window.
    QObject::connect(
        &window, &frmmain::firstFramePainted, &window, [&speech] { speech->start(); }, Qt::QueuedConnection);
    window.showFillingScreen();
    return app.exec();
}
