#include "impression.h"

#include "erreurs.h"

#include <QPainter>
#include <QPrinter>

#include <cmath>

namespace horaku {

QSize TailleImprimee(QSize pixels, int dpiX, int dpiY)
{
    const auto echelle = [](int n, int dpi) {
        return static_cast<int>(std::lround(static_cast<double>(n) * dpi / 96.0));
    };
    return {echelle(pixels.width(), dpiX), echelle(pixels.height(), dpiY)};
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
    if (!imprimante.isValid())
        throw ErreurHoraku(imprimante.printerName().isEmpty()
                               ? "Aucune imprimante par défaut sélectionnée"
                               : "Imprimante sélectionnée incorrecte");
    // Without a picture the page is the white margin alone.
    const QImage page = ImageAvecMarge(image.isNull() ? QImage(0, 0, QImage::Format_RGB32) : image);
    imprimante.setFullPage(false); // (0, 0) is the printable area's corner
    imprimante.setFromTo(0, 0);
    QPainter p;
    if (!p.begin(&imprimante)) {
        if (imprimante.outputFormat() == QPrinter::PdfFormat)
            throw ErreurCreer(imprimante.outputFileName().toStdString());
        throw ErreurHoraku("Imprimante sélectionnée incorrecte");
    }
    // Pixels stay square blocks: no smoothing when the picture is enlarged.
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QSize taille = TailleImprimee(page.size(), imprimante.logicalDpiX(),
                                        imprimante.logicalDpiY());
    p.drawImage(QRect(QPoint(0, 0), taille), page);
    p.end();
}

} // namespace horaku
