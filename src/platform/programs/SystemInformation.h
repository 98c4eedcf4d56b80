#pragma once

#include <QString>
#include <QtGlobal>

class MessageSink;
class ProgramStarter;
class Registry;

// Finds the system-information tool through the registry and starts it, or says that it
// cannot. The About box's methods of the same names delegate here.
class SystemInformation
{
public:
    static constexpr quint32 HKEY_LOCAL_MACHINE_ROOT = 0x80000002u;
    // The query's buffer: a longer value counts as not found.
    static constexpr qsizetype valueBufferSize = 1024;

    static const QString msinfoKey;
    static const QString toolsLocationKey;
    static const QString unavailableMessage;

    SystemInformation(const Registry &registry, ProgramStarter &starter, MessageSink &messages)
        : registry_(registry)
        , starter_(starter)
        , messages_(messages)
    {}

    // One registry value as text. REG_SZ gives its text without a terminating NUL, REG_DWORD
    // the number in decimal, any other type leaves KeyVal as it was; all three count as read.
    // A missing key or value, or one longer than the buffer, clears KeyVal and gives false.
    bool GetKeyValue(quint32 KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal) const;

    // The tool named by "PATH", else MSINFO32.EXE in the folder named by "MSINFO", else the
    // desktop's own; when none can be started, the one message.
    void StartSysInfo() const;

private:
    bool startExistingTool(const QString &folder) const;

    const Registry &registry_;
    ProgramStarter &starter_;
    MessageSink &messages_;
};
