#pragma once

#include "startup/Settings.h"

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

class Environment;
class MessageSink;
class Registry;

struct CompanionResult
{
    QString companionFolder; // empty when the companion program is not found
    QString dataFolder;      // holds the library folders "词库" and "联想词库"
};

// Finding the companion vocabulary program through its registration, the one-time decision
// to share its library folders, and the choice of the data folder.
class Companion
{
public:
    static const QString registryKey;
    static const QString foundMessage;
    static const QString notInstalledMessage;
    static const QString wordFolderName;
    static const QString associationFolderName;

    // Rewrites the settings file with all six records.
    using SettingsWriter = std::function<bool(const Settings &)>;

    // The start-up steps in order: look-up, the decision while it has not been taken, the
    // data folder. Nothing here stops start-up; a step that fails leaves its value unset.
    static CompanionResult run(Settings &settings, const QString &programFolder, const Registry &registry,
                               const Environment &environment, MessageSink &messages,
                               const SettingsWriter &writeSettings);

    // Registry string data (ANSI, up to its NUL) as text with %NAME% references expanded;
    // the value type is ignored. Nothing when the expansion fails.
    static std::optional<QString> ValueOutput(QByteArrayView data, quint32 type, const Environment &environment);

    // The folder of the registered executable, in this system's terms; empty when the
    // program is not registered or its folder cannot be reached.
    static QString lookup(const Registry &registry, const Environment &environment);

    static void decide(Settings &settings, const QString &companionFolder, const QString &programFolder,
                       MessageSink &messages, const SettingsWriter &writeSettings);

    static QString chooseDataFolder(const Settings &settings, const QString &companionFolder,
                                    const QString &programFolder);
};
