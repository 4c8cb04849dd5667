// The size of the main window's client area for a picture: the picture plus
// its one-pixel white margin when the screen can hold it, otherwise as much
// as the screen leaves, with a scroll bar along each side that does not fit.
// Kept apart from the window so that tests call it without one.
#pragma once

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

} // namespace horaku
