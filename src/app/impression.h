// Printing the picture: one page, the picture with its one-pixel white margin
// at the top-left corner of the printable area, scaled by the printer's dots
// per inch / 96 and rounded.  A picture that the printable area cannot hold at
// that scale is scaled down to fit it, keeping its proportions, rather than
// cut off at the page's edge.
#pragma once

#include <QImage>
#include <QSize>

class QPainter;
class QPrinter;

namespace horaku
{

// Size in printer dots of a picture of `pixels` shown at 96 pixels per inch.
QSize TailleImprimee(QSize pixels, int dpiX, int dpiY);
// `points` when the printable area `zone` holds it; otherwise the largest
// size of the same proportions that it holds.
QSize TailleSurPage(QSize points, QSize zone);
// The picture plus its white right column and bottom row, as the window shows it.
QImage ImageAvecMarge(const QImage& image);
// Draws the page as it prints, `p` being begun on `imprimante`: the print job
// and the print preview share it.
void PeindrePage(QPainter& p, const QImage& image, const QPrinter& imprimante);
// Throws ErreurHoraku ("Aucune imprimante par défaut sélectionnée", …).
void ImprimerImage(const QImage& image, QPrinter& imprimante);

} // namespace horaku
