#pragma once

#include "platform/Registry.h"

#include <QMap>

#include <functional>

// Registry keys held in memory. Folders map to themselves, as on Windows, unless a test
// gives its own mapping (as the Wine prefix does on Linux).
class FakeRegistry final : public Registry
{
public:
    QMap<QString, RegistryValue> machineKeys;
    // Named values: key path, value name.
    QMap<std::pair<QString, QString>, RegistryValue> machineValues;
    std::function<QString(const QString &)> mapFolder;

    std::optional<RegistryValue> firstValue(const QString &machineKeyPath) const override
    {
        for (auto it = machineKeys.cbegin(); it != machineKeys.cend(); ++it) {
            if (it.key().compare(machineKeyPath, Qt::CaseInsensitive) == 0)
                return it.value();
        }
        return std::nullopt;
    }

    std::optional<RegistryValue> machineValue(const QString &machineKeyPath, const QString &valueName) const override
    {
        for (auto it = machineValues.cbegin(); it != machineValues.cend(); ++it) {
            if (it.key().first.compare(machineKeyPath, Qt::CaseInsensitive) == 0 &&
                it.key().second.compare(valueName, Qt::CaseInsensitive) == 0)
                return it.value();
        }
        return std::nullopt;
    }

    QString localFolder(const QString &windowsFolder) const override
    {
        return mapFolder ? mapFolder(windowsFolder) : windowsFolder;
    }
};
