#include "startup/Companion.h"

#include "platform/environment/Environment.h"
#include "platform/messages/MessageSink.h"
#include "platform/registry/Registry.h"
#include "platform/text/AnsiText.h"

#include <QDir>

const QString Companion::registryKey =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Tesmar单词Graxo.exe");
const QString Companion::foundMessage =
    QStringLiteral("找到‘Tesmar单词Graxo’，‘Tesmar单词Dorrit’将与‘Tesmar单词Graxo’共享目录，"
                   "感谢您对Tesmar系列软件的支持！");
const QString Companion::notInstalledMessage =
    QStringLiteral("没有安装‘Tesmar单词Graxo’，请把<词库><联想词库>分别放入子目录\\词库\\联想词库中。");
const QString Companion::wordFolderName = QStringLiteral("词库");
const QString Companion::associationFolderName = QStringLiteral("联想词库");

std::optional<QString> Companion::ValueOutput(QByteArrayView data, quint32 type, const Environment &environment)
{
    Q_UNUSED(type);
    // The expansion stops at the data's terminating NUL, and so does the text.
    const qsizetype end = data.indexOf('\0');
    const QString text = AnsiText::decode(end < 0 ? data : data.first(end));
    return environment.expand(text);
}

QString Companion::lookup(const Registry &registry, const Environment &environment)
{
    const std::optional<RegistryValue> value = registry.firstValue(registryKey);
    if (!value)
        return {};
    const std::optional<QString> path = ValueOutput(value->data, value->type, environment);
    if (!path || path->isEmpty())
        return {};
    // A path without a backslash is kept whole.
    const qsizetype lastBackslash = path->lastIndexOf(u'\\');
    const QString folder = lastBackslash < 0 ? *path : path->left(lastBackslash);
    return registry.localFolder(folder);
}

void Companion::decide(Settings &settings, const QString &companionFolder, const QString &programFolder,
                       MessageSink &messages, const SettingsWriter &writeSettings)
{
    if (!companionFolder.isEmpty()) {
        settings.shareCompanionFolders = true;
        messages.showMessage(foundMessage);
    } else {
        // A failed creation is not reported; the user is told where the libraries go anyway.
        const QDir program(programFolder);
        for (const QString &name : {wordFolderName, associationFolderName}) {
            if (!program.exists(name))
                program.mkdir(name);
        }
        settings.shareCompanionFolders = false;
        messages.showMessage(notInstalledMessage);
    }
    settings.companionChecked = true;
    if (writeSettings)
        writeSettings(settings);
}

QString Companion::chooseDataFolder(const Settings &settings, const QString &companionFolder,
                                    const QString &programFolder)
{
    // Sharing with the companion gone: the program's own folders rather than the drive root;
    // the decision stays, so sharing resumes once the companion is back.
    if (settings.shareCompanionFolders && !companionFolder.isEmpty())
        return companionFolder;
    return programFolder;
}

CompanionResult Companion::run(Settings &settings, const QString &programFolder, const Registry &registry,
                               const Environment &environment, MessageSink &messages,
                               const SettingsWriter &writeSettings)
{
    CompanionResult result;
    result.companionFolder = lookup(registry, environment);
    if (!settings.companionChecked)
        decide(settings, result.companionFolder, programFolder, messages, writeSettings);
    result.dataFolder = chooseDataFolder(settings, result.companionFolder, programFolder);
    return result;
}
