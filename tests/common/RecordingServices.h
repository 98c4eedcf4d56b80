#pragma once

#include "platform/environment/Environment.h"
#include "platform/files/LibraryFileDialog.h"
#include "platform/files/SaveFileDialog.h"
#include "platform/help/HelpDisplay.h"
#include "platform/messages/MessageSink.h"
#include "platform/programs/ProgramStarter.h"
#include "platform/registry/Registry.h"
#include "platform/speech/Speech.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QStringList>
#include <functional>

// Fakes for the program's outside services: they record what the program asked for and answer
// as a test says.
class RecordingSpeech : public Speech
{
public:
    void speak(const QString &text) override { spoken.append(text); }
    void prepare(const QStringList &texts) override { prepared = texts; }
    QStringList spoken;
    QStringList prepared;
};

class RecordingMessages : public MessageSink
{
public:
    void showMessage(const QString &text) override { shown.append(text); }
    QStringList shown;
};

class RecordingHelp : public HelpDisplay
{
public:
    void displayTopic(const QString &helpFile, quintptr ownerWindow) override
    {
        shown.append(helpFile);
        owners.append(ownerWindow);
    }
    QStringList shown;
    QList<quintptr> owners;
};

class ScriptedDialog : public LibraryFileDialog, public SaveFileDialog
{
public:
    std::optional<QString> answer;
    QStringList asked; // title, filter and start folder (or path) of each time
    std::optional<QString> getOpenFileName(const QString &title, const QString &filter,
                                           const QString &startFolder) override
    {
        asked << title << filter << startFolder;
        return answer;
    }
    std::optional<QString> saveAnswer;
    std::optional<QString> getSaveFileName(const QString &title, const QString &filter, const QString &start) override
    {
        asked << title << filter << start;
        return saveAnswer;
    }
};

// Starts only the programs a test names; the desktop offers no tool of its own.
class FakeProgramStarter final : public ProgramStarter
{
public:
    QSet<QString> startable;
    QStringList attempts;
    bool start(const QString &program) override
    {
        attempts.append(program);
        return startable.contains(program);
    }
    QString desktopSystemInformation() const override { return {}; }
};

// Variables held in memory, names compared without case as on Windows.
class FakeEnvironment final : public Environment
{
public:
    QMap<QString, QString> variables;
    bool failing = false;
    std::optional<QString> expand(const QString &text) const override
    {
        if (failing)
            return std::nullopt;
        return expandWith(text, [this](QStringView name) -> std::optional<QString> {
            for (auto it = variables.cbegin(); it != variables.cend(); ++it) {
                if (it.key().compare(name, Qt::CaseInsensitive) == 0)
                    return it.value();
            }
            return std::nullopt;
        });
    }
};

// Registry keys held in memory, paths and names compared without case. Folders map to
// themselves, as on Windows, unless a test gives its own mapping (as the Wine prefix does).
class FakeRegistry final : public Registry
{
public:
    QMap<QString, RegistryValue> machineKeys;
    QMap<std::pair<QString, QString>, RegistryValue> machineValues; // key path, value name
    std::function<QString(const QString &)> mapFolder;

    std::optional<RegistryValue> firstValue(const QString &path) const override
    {
        return find(machineKeys, [&](const QString &key) { return same(key, path); });
    }
    std::optional<RegistryValue> machineValue(const QString &path, const QString &name) const override
    {
        return find(machineValues, [&](const auto &key) { return same(key.first, path) && same(key.second, name); });
    }
    QString localFolder(const QString &windowsFolder) const override
    {
        return mapFolder ? mapFolder(windowsFolder) : windowsFolder;
    }

private:
    static bool same(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }
    template <typename Map, typename Match> static std::optional<RegistryValue> find(const Map &map, Match match)
    {
        for (auto it = map.cbegin(); it != map.cend(); ++it) {
            if (match(it.key()))
                return it.value();
        }
        return std::nullopt;
    }
};

// Every outside service of a window over a session, recorded: what a test of the whole window
// hands the session and the window.
struct RecordedServices
{
    RecordingSpeech speech;
    RecordingMessages messages;
    FakeRegistry registry;
    FakeEnvironment environment;
    ScriptedDialog dialog;
    RecordingHelp help;
    FakeProgramStarter programs;
};
