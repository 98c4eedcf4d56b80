#include "platform/registry/Registry.h"
#include "platform/registry/WinePrefix.h"
#include "platform/registry/WineRegistryFile.h"

namespace {

// The companion is a Windows program, so on Linux it is registered in a Wine prefix; so is
// anything else the program asks of the registry.
class WineRegistry final : public Registry
{
public:
    explicit WineRegistry(WinePrefix prefix)
        : prefix_(std::move(prefix))
    {}

    std::optional<RegistryValue> firstValue(const QString &machineKeyPath) const override
    {
        return WineRegistryFile::readFirstValue(prefix_.systemRegistryFile(), machineKeyPath);
    }

    std::optional<RegistryValue> machineValue(const QString &machineKeyPath, const QString &valueName) const override
    {
        return WineRegistryFile::readNamedValue(prefix_.systemRegistryFile(), machineKeyPath, valueName);
    }

    QString localFolder(const QString &windowsFolder) const override { return prefix_.unixPath(windowsFolder); }

private:
    WinePrefix prefix_;
};

} // namespace

std::unique_ptr<Registry> makeSystemRegistry()
{
    return std::make_unique<WineRegistry>(WinePrefix::fromEnvironment());
}
