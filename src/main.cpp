#include "platform/QtSpeech.h"
#include "startup/UiFonts.h"
#include "startup/UiMessageBox.h"
#include "startup/frmmain.h"

#include <QApplication>

// The entry routine: the settings version, then the main window until it closes.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tesmar单词Dorrit"));
    installFontSubstitutes();

    Settings settings;
    settings.settingsVersion = 0.1f;

    QtSpeech speech;
    UiMessageBox messages;
    frmmain::Services services;
    services.programFolder = QCoreApplication::applicationDirPath();
    services.speech = &speech;
    services.messages = &messages;

    frmmain window(services, settings);
    messages.setParent(&window);
    // The speech engine loads after the first frame so that it never delays the window.
    QObject::connect(&window, &frmmain::firstFramePainted, &speech, &QtSpeech::start, Qt::QueuedConnection);
    window.showFillingScreen();
    return app.exec();
}
