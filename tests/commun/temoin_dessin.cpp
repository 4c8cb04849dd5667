// Linked into every test program of the picture and the windows: every picture Redessiner
// draws is compared pixel for pixel with the one QPainter paints text by text; a difference
// fails the running test, naming the first pixel that differs.
#include "temoin_dessin.h"

#include "dessin.h"

#include <QTest>

#include <algorithm>

namespace horaku::test
{

int comparaisonsTemoin = 0;

const bool installe = [] {
    DefinirTemoinDessin([](REdt& edt, const ResultatDessin& r) {
        ++comparaisonsTemoin;
        const QImage b = RedessinerReference(edt).image;
        QString ecart = "tailles différentes";
        if (r.image.size() == b.size()) {
            // RGB32 lines carry no padding: each picture is one run of pixels.
            const auto* pa = reinterpret_cast<const QRgb*>(r.image.constBits());
            const auto* pb = reinterpret_cast<const QRgb*>(b.constBits());
            const int w = b.width(), n = w * b.height();
            const int i = static_cast<int>(std::mismatch(pa, pa + n, pb).first - pa);
            if (i == n) return;
            ecart =
                QString::asprintf("pixel %d,%d : %08x au lieu de %08x", i % w, i / w, pa[i], pb[i]);
        }
        QTest::qFail(qPrintable("Redessiner diffère du dessin de référence : " + ecart), __FILE__,
                     __LINE__);
    });
    return true;
}();

} // namespace horaku::test
