#include "platform/programs/SystemInformation.h"

#include "platform/messages/MessageSink.h"
#include "platform/programs/ProgramStarter.h"
#include "platform/registry/Registry.h"
#include "platform/text/AnsiText.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr quint32 typeSz = 1;
constexpr quint32 typeDword = 4;

} // namespace

const QString SystemInformation::msinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString SystemInformation::toolsLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString SystemInformation::unavailableMessage = QStringLiteral("此时系统信息无效");

bool SystemInformation::GetKeyValue(quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                                    QString &KeyVal) const
{
    const std::optional<RegistryValue> value =
        KeyRoot == HKEY_LOCAL_MACHINE_ROOT ? registry_.machineValue(KeyName, SubKeyRef) : std::nullopt;
    if (!value || value->data.size() > valueBufferSize) {
        KeyVal.clear();
        return false;
    }
    QByteArray text = value->data;
    if (text.endsWith('\0'))
        text.chop(1);
    if (value->type == typeSz) {
        KeyVal = AnsiText::decode(text);
    } else if (value->type == typeDword) {
        quint32 number = 0;
        for (qsizetype i = qMin<qsizetype>(text.size(), 4) - 1; i >= 0; --i)
            number = (number << 8) | uchar(text[i]);
        KeyVal = QString::number(number);
    }
    return true;
}

bool SystemInformation::startExistingTool(const QString &folder) const
{
    const QString local = registry_.localFolder(folder);
    if (local.isEmpty())
        return false;
    const QString tool = QDir::toNativeSeparators(QDir(local).filePath(QStringLiteral("MSINFO32.EXE")));
    return QFileInfo(tool).isFile() && starter_.start(tool);
}

void SystemInformation::StartSysInfo() const
{
    QString path;
    bool started = false;
    if (GetKeyValue(HKEY_LOCAL_MACHINE_ROOT, msinfoKey, QStringLiteral("PATH"), path))
        started = starter_.start(path); // as registered, without checking that it exists
    else if (GetKeyValue(HKEY_LOCAL_MACHINE_ROOT, toolsLocationKey, QStringLiteral("MSINFO"), path))
        started = startExistingTool(path);
    if (!started) {
        const QString desktop = starter_.desktopSystemInformation();
        started = !desktop.isEmpty() && starter_.start(desktop);
    }
    if (!started)
        messages_.showMessage(unavailableMessage);
}
