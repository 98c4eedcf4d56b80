#pragma once

#include "common/LibraryFixtures.h"
#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "startup/frmmain.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

// The window over a session after a first start without the companion, as main() builds it.
struct Window
{
    TempProgramFolder folder;
    RecordingSpeech speech;
    RecordingMessages messages;
    FakeRegistry registry;
    FakeEnvironment environment;
    ScriptedDialog dialog;
    RecordingHelp help;
    FakeProgramStarter programs;
    std::unique_ptr<Session> session;
    std::unique_ptr<frmmain> window;

    Window()
    {
        session = std::make_unique<Session>(
            Session::Services{folder.path(), &speech, &registry, &environment, &dialog, 9000, {}, {}});
        session->Form_Load();
        window = std::make_unique<frmmain>(*session, frmmain::Services{&messages, &help, &registry, &programs, {}});
    }
    void pick(const QString &name)
    {
        dialog.answer = QDir(folder.path()).filePath(QStringLiteral("词库/") + name);
        window->mnuciku_Click();
    }
    bool shown()
    {
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
    // Writes a library into the data folder, opens it from the menu and shows the window.
    bool open(const QString &name, const std::vector<LibraryFixtures::Pair> &words,
              const std::vector<std::vector<LibraryFixtures::Pair>> &groups)
    {
        LibraryFixtures::writeLibrary(folder.path(), name, LibraryFixtures::wordFile(words),
                                      LibraryFixtures::associationFile(groups));
        pick(name + ".qd");
        return shown();
    }
    template <typename T> T *find(const QString &name) const { return window->findChild<T *>(name); }
};
