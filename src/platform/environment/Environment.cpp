#include "platform/environment/Environment.h"

QString Environment::expandWith(QStringView text, const Lookup &lookup)
{
    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype open = text.indexOf(u'%', pos);
        if (open < 0) {
            out += text.mid(pos);
            break;
        }
        out += text.mid(pos, open - pos);
        const qsizetype close = text.indexOf(u'%', open + 1);
        if (close < 0) {
            out += text.mid(open);
            break;
        }
        const QStringView name = text.mid(open + 1, close - open - 1);
        const std::optional<QString> value = name.isEmpty() ? std::nullopt : lookup(name);
        if (value)
            out += *value;
        else
            out += text.mid(open, close - open + 1);
        pos = close + 1;
    }
    return out;
}
