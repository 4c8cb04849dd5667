// The size of the main window's client area for a picture: the picture plus
// its one-pixel white margin when the screen can hold it, otherwise as much
// as the screen leaves, with a scroll bar along each side that does not fit.
// Kept apart from the window so that tests call it without one, with the
// rules that keep the window and the floating panel on the screen.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace horaku
{

struct ZoneClient {
    QSize taille;        // client area, scroll bars included
    bool barreH = false; // horizontal scroll bar shown
    bool barreV = false; // vertical scroll bar shown
};

// `contenu`: the picture plus its margin; `max`: the largest client area the
// screen leaves; `barre`: the thickness of a scroll bar.
ZoneClient DimensionnerZoneClient(QSize contenu, QSize max, int barre);

// The largest client area for the picture on a screen whose available area is
// `ecran`: less the window's frame `cadre`, the menu bar's height and, beside
// the picture, the docked panel's width `panneau` (0 when it floats or is hidden).
QSize ZoneMax(QSize ecran, QSize cadre, int menu, int panneau);

// Where a window whose frame is `cadre` goes to stay whole on the screen's
// available area `ecran`; one larger than the screen keeps its top-left
// corner inside it.  An empty `ecran` (no screen known) bounds nothing.
QPoint DansEcran(const QRect& cadre, const QRect& ecran);

} // namespace horaku
