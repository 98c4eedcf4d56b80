#include "startup/UiFonts.h"

#include "board/FontFamilies.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutes()
{
    for (const FontFamilies::StandIn &standIn : FontFamilies::standIns)
        QFont::insertSubstitutions(standIn.family.toString(), standIn.substitutes.toString().split(QLatin1Char(',')));
}
