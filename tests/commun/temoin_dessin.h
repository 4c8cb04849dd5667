// The comparison that temoin_dessin.cpp runs after every redraw.
#pragma once

#include <QImage>
#include <QString>

namespace horaku::test
{

// Redraws compared so far by the témoin.
extern int comparaisonsTemoin;
// Empty when both pictures hold the same pixels.
QString PremiereDifference(const QImage& a, const QImage& b);

} // namespace horaku::test
