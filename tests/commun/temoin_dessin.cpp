// Linked into every test program of the picture and the windows: each
// picture that Redessiner draws, whatever test asked for it, is compared
// pixel for pixel with the one QPainter paints text by text.  A difference
// fails the running test, naming the first pixel that differs.
#include "temoin_dessin.h"

#include "dessin.h"

#include <QTest>

namespace horaku::test
{

int comparaisonsTemoin = 0;

QString PremiereDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return QStringLiteral("tailles %1×%2 et %3×%4")
            .arg(a.width())
            .arg(a.height())
            .arg(b.width())
            .arg(b.height());
    for (int y = 0; y < a.height(); ++y) {
        const auto* la = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x)
            if (la[x] != lb[x])
                return QStringLiteral("pixel %1,%2 : %3 au lieu de %4")
                    .arg(x)
                    .arg(y)
                    .arg(la[x], 8, 16)
                    .arg(lb[x], 8, 16);
    }
    return {};
}

namespace
{

void Comparer(REdt& edt, const ResultatDessin& r)
{
    const ResultatDessin reference = RedessinerReference(edt);
    const QString ecart = PremiereDifference(r.image, reference.image);
    if (!ecart.isEmpty())
        QTest::qFail(
            qPrintable(QStringLiteral("Redessiner diffère du dessin de référence : ") + ecart),
            __FILE__, __LINE__);
    ++comparaisonsTemoin;
}

const bool installe = [] {
    DefinirTemoinDessin(&Comparer);
    return true;
}();

} // namespace

} // namespace horaku::test
