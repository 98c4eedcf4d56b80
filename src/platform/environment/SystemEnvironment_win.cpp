#include "platform/environment/Environment.h"
#include "platform/registry/Win32Api.h"
#include "platform/text/AnsiText.h"

namespace {

class Win32Environment final : public Environment
{
public:
    std::optional<QString> expand(const QString &text) const override
    {
        const QByteArray ansi = AnsiText::encode(text);
        const std::optional<std::string> expanded =
            Win32Api::expandEnvironmentStrings(std::string(ansi.constData(), ansi.size()));
        if (!expanded)
            return std::nullopt;
        return AnsiText::decode(QByteArrayView(expanded->data(), qsizetype(expanded->size())));
    }
};

} // namespace

std::unique_ptr<Environment> makeSystemEnvironment()
{
    return std::make_unique<Win32Environment>();
}
