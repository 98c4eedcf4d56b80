#include "platform/registry/Registry.h"
#include "platform/registry/Win32Api.h"
#include "platform/text/AnsiText.h"

namespace {

class Win32Registry final : public Registry
{
public:
    std::optional<RegistryValue> firstValue(const QString &machineKeyPath) const override
    {
        return converted(Win32Api::firstMachineValue(ansi(machineKeyPath)));
    }

    std::optional<RegistryValue> machineValue(const QString &machineKeyPath, const QString &valueName) const override
    {
        return converted(Win32Api::machineValue(ansi(machineKeyPath), ansi(valueName)));
    }

private:
    static std::string ansi(const QString &text)
    {
        const QByteArray bytes = AnsiText::encode(text);
        return std::string(bytes.constData(), size_t(bytes.size()));
    }

    static std::optional<RegistryValue> converted(const std::optional<Win32Api::EnumeratedValue> &value)
    {
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
