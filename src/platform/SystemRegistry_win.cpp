#include "platform/AnsiText.h"
#include "platform/Registry.h"
#include "platform/Win32Api.h"

namespace {

class Win32Registry final : public Registry
{
public:
    std::optional<RegistryValue> firstValue(const QString &machineKeyPath) const override
    {
        const QByteArray ansiKey = AnsiText::encode(machineKeyPath);
        const auto value = Win32Api::firstMachineValue(std::string(ansiKey.constData(), ansiKey.size()));
        if (!value)
            return std::nullopt;
        RegistryValue out;
        out.data = QByteArray(reinterpret_cast<const char *>(value->data.data()), qsizetype(value->data.size()));
        out.type = value->type;
        return out;
    }
};

} // namespace

std::unique_ptr<Registry> makeSystemRegistry()
{
    return std::make_unique<Win32Registry>();
}
