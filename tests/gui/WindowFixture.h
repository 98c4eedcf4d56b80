#pragma once

#include "common/FakeEnvironment.h"
#include "common/FakeProgramStarter.h"
#include "common/FakeRegistry.h"
#include "common/RecordingServices.h"
#include "common/TempProgramFolder.h"
#include "startup/frmmain.h"
#include "platform/LibraryFileDialog.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <optional>

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

// The window after a first start without the companion: the data folder is the program folder.
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
    std::unique_ptr<frmmain> window;

    Window()
    {
        frmmain::Services services;
        services.programFolder = folder.path();
        services.speech = &speech;
        services.messages = &messages;
        services.registry = &registry;
        services.environment = &environment;
        services.libraryDialog = &dialog;
        services.help = &help;
        services.programs = &programs;
        services.screenHeightTwips = 9000;
        window = std::make_unique<frmmain>(services, Settings{});
        messages.shown.clear();
    }
    void pick(const QString &name)
    {
        dialog.answer = QDir(folder.path()).filePath(QStringLiteral("词库/") + name);
        window->mnuciku_Click();
    }
    template <typename T> T *find(const QString &name) const { return window->findChild<T *>(name); }
    bool lookupEnabled() const
    {
        return find<QPushButton>("Command1")->isEnabled() && find<QPushButton>("Command2")->isEnabled() &&
               find<QLineEdit>("Text1")->isEnabled() && find<QLabel>("Label3")->isEnabled();
    }
};
