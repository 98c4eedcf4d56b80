#include "startup/UiFonts.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutes()
{
    const QStringList cjk = {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                             QStringLiteral("Microsoft YaHei"), QStringLiteral("SimHei")};
    QFont::insertSubstitutions(QStringLiteral("幼圆"), cjk);
    QFont::insertSubstitutions(QStringLiteral("Arial Rounded MT Bold"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Arial")});
    QFont::insertSubstitutions(QStringLiteral("Century Gothic"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Verdana")});
    QFont::insertSubstitutions(QStringLiteral("MS serif"),
                               {QStringLiteral("DejaVu Serif"), QStringLiteral("Times New Roman")});
    QFont::insertSubstitutions(QStringLiteral("Calisto MT"),
                               {QStringLiteral("DejaVu Serif"), QStringLiteral("Times New Roman")});
    QFont::insertSubstitutions(
        QStringLiteral("仿宋_GB2312"),
        QStringList{QStringLiteral("FangSong"), QStringLiteral("STFangsong"), QStringLiteral("AR PL UKai CN")} + cjk);
    QFont::insertSubstitutions(QStringLiteral("Fixedsys"),
                               {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Courier New")});
}
