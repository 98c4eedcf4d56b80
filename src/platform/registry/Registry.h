#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <memory>
#include <optional>

// Raw data of one registry value as RegEnumValueA or RegQueryValueExA hands it out: string
// types in the ANSI code page with their terminating NUL, other types byte for byte.
struct RegistryValue
{
    QByteArray data;
    quint32 type = 0;
};

// What the companion look-up and the system-information launcher need from the system registry.
class Registry
{
public:
    virtual ~Registry() = default;

    // The first value (enumeration index 0) of a key under HKEY_LOCAL_MACHINE, whatever
    // its name; nothing when the key is missing or has no values.
    virtual std::optional<RegistryValue> firstValue(const QString &machineKeyPath) const = 0;

    // One value of a key under HKEY_LOCAL_MACHINE by its name, case-insensitively (an empty
    // name is the key's default value), opened for reading only. Nothing when the key or the
    // value is missing.
    virtual std::optional<RegistryValue> machineValue(const QString &machineKeyPath,
                                                      const QString &valueName) const = 0;

    // Where a folder named by a registry value lives on this system. Identity on Windows;
    // under Wine the prefix's drive links decide. Empty when the folder cannot be reached.
    virtual QString localFolder(const QString &windowsFolder) const { return windowsFolder; }
};

std::unique_ptr<Registry> makeSystemRegistry();
