#pragma once

#include <QString>
#include <QStringView>

#include <functional>
#include <memory>
#include <optional>

// Expansion of %NAME% references, as ExpandEnvironmentStrings does it.
class Environment
{
public:
    virtual ~Environment() = default;

    // Nothing when the expansion itself fails (the caller then keeps its previous value).
    virtual std::optional<QString> expand(const QString &text) const = 0;

    using Lookup = std::function<std::optional<QString>(QStringView name)>;

    // The expansion rule on its own: a name between two percent signs is replaced by its
    // value; an unknown name stays with both its percent signs and scanning goes on after
    // them ("%%" is an unknown empty name); a percent sign without a partner stays as it is.
    static QString expandWith(QStringView text, const Lookup &lookup);
};

std::unique_ptr<Environment> makeSystemEnvironment();
