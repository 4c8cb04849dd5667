#include "impression.h"

#include "attente.h"
#include "erreurs.h"

#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace horaku
{

QSize TailleImprimee(QSize pixels, int dpiX, int dpiY)
{
    const auto echelle = [](int n, int dpi) {
        return static_cast<int>(std::lround(static_cast<double>(n) * dpi / 96.0));
    };
    return {echelle(pixels.width(), dpiX), echelle(pixels.height(), dpiY)};
}

QSize TailleSurPage(QSize points, QSize zone)
{
    if (points.width() <= zone.width() && points.height() <= zone.height()) return points;
    if (points.isEmpty() || zone.isEmpty()) return {0, 0};
    const auto w = static_cast<long long>(points.width()),
               h = static_cast<long long>(points.height());
    const auto zw = static_cast<long long>(zone.width()),
               zh = static_cast<long long>(zone.height());
    // The side that overflows most sets the scale; the other is rounded to the
    // nearest dot and never beyond the area.
    if (w * zh >= h * zw)
        return {zone.width(), static_cast<int>(std::min(zh, (h * zw + w / 2) / w))};
    return {static_cast<int>(std::min(zw, (w * zh + h / 2) / h)), zone.height()};
}

QImage ImageAvecMarge(const QImage& image)
{
    QImage page(image.width() + 1, image.height() + 1, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter p(&page);
    p.drawImage(0, 0, image);
    return page;
}

void ImprimerImage(const QImage& image, QPrinter& imprimante)
{
    // Without any printer Qt falls back to a PDF file with no name: that is
    // the "no printer" case; a PDF the user chose has its file name.
    const bool pdf = imprimante.outputFormat() == QPrinter::PdfFormat;
    if (pdf ? imprimante.outputFileName().isEmpty() : imprimante.printerName().isEmpty())
        throw ErreurHoraku("Aucune imprimante par défaut sélectionnée");
    if (!imprimante.isValid()) throw ErreurHoraku("Imprimante sélectionnée incorrecte");
    imprimante.setFullPage(false); // (0, 0) is the printable area's corner
    imprimante.setFromTo(0, 0);
    const CurseurAttente attente;
    QPainter p;
    if (!p.begin(&imprimante)) {
        if (pdf) throw ErreurCreer(imprimante.outputFileName().toStdString());
        throw ErreurHoraku("Imprimante sélectionnée incorrecte");
    }
    PeindrePage(p, image, imprimante);
    p.end();
}

void PeindrePage(QPainter& p, const QImage& image, const QPrinter& imprimante)
{
    // Without a picture the page is the white margin alone.
    const QImage page = ImageAvecMarge(image.isNull() ? QImage(0, 0, QImage::Format_RGB32) : image);
    // Pixels stay square blocks: no smoothing when the picture is enlarged.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // A print file keeps the picture exact (no JPEG blur on the texts).
    p.setRenderHint(QPainter::LosslessImageRendering, true);
    const QSize taille = TailleSurPage(
        TailleImprimee(page.size(), imprimante.logicalDpiX(), imprimante.logicalDpiY()),
        QSize(imprimante.width(), imprimante.height()));
    p.drawImage(QRect(QPoint(0, 0), taille), page);
}

} // namespace horaku
