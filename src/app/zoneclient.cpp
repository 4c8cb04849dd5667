#include "zoneclient.h"

#include <algorithm>

namespace horaku
{

ZoneClient DimensionnerZoneClient(QSize contenu, QSize max, int barre)
{
    ZoneClient z;
    z.barreH = contenu.width() > max.width();
    z.barreV = contenu.height() > max.height();
    // A bar along one side takes room from the other: it may make that one
    // overflow too.
    if (z.barreV && !z.barreH) z.barreH = contenu.width() + barre > max.width();
    if (z.barreH && !z.barreV) z.barreV = contenu.height() + barre > max.height();
    z.taille = QSize(std::min(contenu.width() + (z.barreV ? barre : 0), max.width()),
                     std::min(contenu.height() + (z.barreH ? barre : 0), max.height()));
    return z;
}

} // namespace horaku
