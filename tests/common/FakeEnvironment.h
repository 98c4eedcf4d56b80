#pragma once

#include "platform/Environment.h"

#include <QMap>

// Variables held in memory, names compared without case as on Windows.
class FakeEnvironment final : public Environment
{
public:
    QMap<QString, QString> variables;
    bool failing = false;

    std::optional<QString> expand(const QString &text) const override
    {
        if (failing)
            return std::nullopt;
        return expandWith(text, [this](QStringView name) -> std::optional<QString> {
            for (auto it = variables.cbegin(); it != variables.cend(); ++it) {
                if (it.key().compare(name, Qt::CaseInsensitive) == 0)
                    return it.value();
            }
            return std::nullopt;
        });
    }
};
