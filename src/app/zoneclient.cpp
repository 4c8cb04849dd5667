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

QSize ZoneMax(QSize ecran, QSize cadre, int menu, int panneau)
{
    return {std::max(1, ecran.width() - cadre.width() - panneau),
            std::max(1, ecran.height() - cadre.height() - menu)};
}

QPoint DansEcran(const QRect& cadre, const QRect& ecran)
{
    if (ecran.isEmpty()) return cadre.topLeft();
    return {std::max(ecran.left(),
                     std::min(cadre.left(), ecran.left() + ecran.width() - cadre.width())),
            std::max(ecran.top(),
                     std::min(cadre.top(), ecran.top() + ecran.height() - cadre.height()))};
}

} // namespace horaku
