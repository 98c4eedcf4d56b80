#include "platform/environment/Environment.h"

#include <QProcessEnvironment>

namespace {

// The process environment. Windows names are case-insensitive, so a name that differs from
// a variable only in case still finds it when no exact match exists.
class ProcessEnvironment final : public Environment
{
public:
    std::optional<QString> expand(const QString &text) const override
    {
        const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        return expandWith(text, [&env](QStringView name) -> std::optional<QString> {
            const QString key = name.toString();
            if (env.contains(key))
                return env.value(key);
            const QStringList keys = env.keys();
            for (const QString &candidate : keys) {
                if (candidate.compare(key, Qt::CaseInsensitive) == 0)
                    return env.value(candidate);
            }
            return std::nullopt;
        });
    }
};

} // namespace

std::unique_ptr<Environment> makeSystemEnvironment()
{
    return std::make_unique<ProcessEnvironment>();
}
