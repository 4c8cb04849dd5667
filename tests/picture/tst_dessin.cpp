// Pixel checks on real renders: the places come from the layout's own
// description, the colours from the drawing rules.
#include "dessin.h"
#include "edt_test.h"
#include "encres.h"
#include "temoin_dessin.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QtTest>

using namespace horaku;
using namespace horaku::test;

namespace
{

constexpr QRgb kBlanc = 0xFFFFFFFF;
constexpr QRgb kGris = 0xFF808080;

QRgb Rgb(std::int32_t couleurWindows)
{
    return CouleurQt(couleurWindows).rgb();
}

// A week of two week types with texts longer than their share.
REdt Exemple()
{
    REdt e = EdtNu(2, 1, 90);
    e.Semaines = {RSemaine{"A", 0x80FFFF}, RSemaine{"B", 0xFFC0C0}};
    e.AjusterSemaines();
    for (int j = 0; j < 5; ++j) {
        Ajouter(e, j, 0, Seq(H(8), H(9, 55), {"4e B", "Gr. 1", "Salle 104", "Mathématiques"}));
        Ajouter(e, j, 1, Seq(H(10), H(10, 20), {"Une classe au nom très long", "", "", ""}));
    }
    e.Jours[5].Affiche = 0;
    e.Jours[6].Affiche = 0;
    return e;
}

// One change between two redraws that keep their ink cache.
using Changement = void (*)(REdt& e, int etape);

RPolice& Groupe1(REdt& e)
{
    return e.Libelles[LibGroupe1].Police;
}

bool Ligne(const QImage& im, int x1, int x2, int y, QRgb c)
{
    for (int x = x1; x < x2; ++x)
        if (im.pixel(x, y) != c) return false;
    return true;
}

bool Colonne(const QImage& im, int x, int y1, int y2, QRgb c)
{
    for (int y = y1; y < y2; ++y)
        if (im.pixel(x, y) != c) return false;
    return true;
}

} // namespace

class TstDessin : public QObject
{
    Q_OBJECT

private slots:
    // Redrawn from cached ink, step after step, as the témoin's QPainter
    // draws it: what the cache kept from one redraw is still right in the next.
    void pareilQueLaReference_data()
    {
        QTest::addColumn<Changement>("changement");
        QTest::addColumn<int>("etapes");
        QTest::addColumn<REdt>("edt");
        const Changement options = [](REdt& e, int i) {
            e.AffichContour = i % 2;
            e.AffichJours = i % 3 == 1;
            e.AffichHeures = i % 4 < 2;
            e.AffichNom = i % 5 > 1;
            e.Mesures.HeureLarg += i % 2 ? 7 : -5;
        };
        for (const char* exemple : {"petit", "realiste", "grand"}) {
            REdt e;
            e.Fichier = std::string(HORAKU_SOURCES "/examples/") + exemple + ".edt";
            e.Charger();
            QTest::newRow(exemple) << options << 3 << e;
        }
        QTest::newRow("taille de police")
            << Changement([](REdt& e, int i) { Groupe1(e).Taille = 7 + i; }) << 4 << Exemple();
        QTest::newRow("gras, italique, souligné, barré") << Changement([](REdt& e, int i) {
            Groupe1(e).Gras = i & 1;
            Groupe1(e).Italique = i & 2;
            Groupe1(e).Souligne = i & 4;
            Groupe1(e).Barre = i & 8;
        }) << 15 << Exemple();
        // Italic hooks reach left of the start point: cut at the cell's left.
        QTest::newRow("face") << Changement([](REdt& e, int i) {
            Groupe1(e).Nom = i % 2 ? "Z003" : "DejaVu Serif";
            Groupe1(e).Italique = true;
            e.Jours[0].ParSemaine[1].Sequences[0].Textes.Fixer(0,
                                                               "jfjf, une classe au nom très long");
        }) << 2 << Exemple();
        QTest::newRow("couleur") << Changement([](REdt& e, int i) {
            Groupe1(e).Couleur = 0x0000FF << (8 * (i % 3));
        }) << 3 << Exemple();
        QTest::newRow("cellules d'un pixel de plus")
            << Changement([](REdt& e, int i) { e.Mesures.HeureLarg = 30 + i; }) << 40 << Exemple();
        // The last step's cells are shorter than their texts: cut at the bottom.
        QTest::newRow("marge négative, cellules chevauchantes") << Changement([](REdt& e, int i) {
            e.Marge = -i;
            e.Retrait = i < 3 ? 3 : 1;
        }) << 3 << Exemple();
        QTest::newRow("texte sur deux lignes, hors de sa case") << Changement([](REdt& e, int i) {
            e.Jours[0].ParSemaine[0].Sequences[0].Textes.Fixer(0, i % 2 ? "4e\r\nB" : "4e\nB");
            e.Jours[1].ParSemaine[0].Sequences[0].Debut = H(7, 58);
            e.Jours[1].ParSemaine[0].Sequences[0].Fin = H(7, 59 - i % 2);
            Groupe1(e).Taille = 24;
        }) << 2 << Exemple();
    }
    void pareilQueLaReference()
    {
        QFETCH(Changement, changement);
        QFETCH(int, etapes);
        QFETCH(REdt, edt);
        const int avant = comparaisonsTemoin;
        for (int i = 0; i <= etapes; ++i) {
            if (i > 0) changement(edt, i);
            Redessiner(edt); // compared by the témoin, as every redraw of every test
            QVERIFY2(!QTest::currentTestFailed(), qPrintable(QStringLiteral("étape %1").arg(i)));
        }
        QCOMPARE(comparaisonsTemoin - avant, etapes + 1);
    }

    // Far more distinct ink than the cache holds: the texts past its bound
    // are drawn by QPainter, the cache stays within it.
    void cachePleinBorne()
    {
        CacheEncresDuProcessus(true);
        REdt e = EdtNu(1, 1, 600);
        for (int n = 0; n < 600; ++n)
            Ajouter(e, n % 5, 0,
                    Seq(H(n / 5 % 24), H(n / 5 % 24, 59),
                        {std::string(120, static_cast<char>('A' + n % 26)) + std::to_string(n), "",
                         "", ""}));
        Redessiner(e);
        const std::size_t octets = CacheEncresDuProcessus().octets;
        QVERIFY(octets <= CacheEncres::kOctetsMax && octets > CacheEncres::kOctetsMax / 2);
    }

    void couleursSysteme_data()
    {
        QTest::addColumn<qint64>("couleur");
        QTest::addColumn<uint>("rgb");
        QTest::newRow("rouge") << qint64(0x0000FF) << 0xFFFF0000u;
        QTest::newRow("bleu") << qint64(0xFF0000) << 0xFF0000FFu;
        QTest::newRow("clWindowText") << qint64(std::int32_t(0x80000008)) << 0xFF000000u;
        QTest::newRow("clWindow") << qint64(std::int32_t(0x80000005)) << 0xFFFFFFFFu;
        QTest::newRow("clBtnFace") << qint64(std::int32_t(0x8000000F)) << 0xFFC0C0C0u;
        QTest::newRow("clInfoBk") << qint64(std::int32_t(0x80000018)) << 0xFFFFFFE1u;
    }
    void couleursSysteme()
    {
        QFETCH(qint64, couleur);
        QFETCH(uint, rgb);
        QCOMPARE(CouleurQt(static_cast<std::int32_t>(couleur)).rgb(), rgb);
    }

    void taillesDePolice()
    {
        // 9 points at 96 dpi are 12 pixels, as on a standard Windows screen.
        RPolice p;
        QCOMPARE(PoliceQt(p).pixelSize(), 12);
        p.Taille = 8;
        QCOMPARE(PoliceQt(p).pixelSize(), 11);
        QCOMPARE(PoliceQt(p).styleStrategy() & QFont::NoAntialias, QFont::NoAntialias);
    }

    void boitesEtCouleurs()
    {
        REdt e = Exemple();
        const ResultatDessin r = Redessiner(e);
        QCOMPARE(r.etat, ResultatDessin::Dessine);
        const QImage& im = r.image;
        QCOMPARE(im.width(), r.description.largeur);
        QCOMPARE(im.height(), r.description.hauteur);
        QCOMPARE(im.pixel(0, im.height() - 1), kBlanc);
        // First row of Monday: its top frame line at y = 0.
        const BoiteImage& b = r.description.jours[0].boites.at(0);
        QCOMPARE(b.rect.h, 0);
        QVERIFY(Ligne(im, b.rect.g, b.rect.d, b.rect.h, kGris));
        QVERIFY(Ligne(im, b.rect.g, b.rect.d, b.rect.b - 1, kGris));
        QVERIFY(Colonne(im, b.rect.g, b.rect.h, b.rect.b, kGris));
        QVERIFY(Colonne(im, b.rect.d - 1, b.rect.h, b.rect.b, kGris));
        // Outside the frame it is white again (exclusive right and bottom).
        QCOMPARE(im.pixel(b.rect.d, b.rect.h + 3), kBlanc);
        // The interior just inside the frame is the week colour.
        QCOMPARE(im.pixel(b.rect.g + 1, b.rect.h + 1), Rgb(0x80FFFF));
        QCOMPARE(im.pixel(b.rect.d - 2, b.rect.b - 2), Rgb(0x80FFFF));
        const BoiteImage& b2 = r.description.jours[0].boites.at(1);
        QCOMPARE(im.pixel(b2.rect.g + 1, b2.rect.b - 2), Rgb(0xFFC0C0));
    }

    void textesCoupesASaCellule()
    {
        REdt e = Exemple();
        const ResultatDessin r = Redessiner(e);
        const QImage& im = r.image;
        for (const JourImage& j : r.description.jours) {
            for (const BoiteImage& b : j.boites) {
                const QRgb fond = Rgb(e.Semaines[static_cast<std::size_t>(b.semaine)].Couleur);
                // Only week colour, black text and the grey frame inside a box,
                // and nothing of the text left of the first cell or right of a cell.
                int encre = 0;
                for (int y = b.rect.h + 1; y < b.rect.b - 1; ++y) {
                    for (int x = b.rect.g + 1; x < b.rect.d - 1; ++x) {
                        const QRgb p = im.pixel(x, y);
                        bool dansCellule = false;
                        for (const Rect& c : b.cellules)
                            dansCellule =
                                dansCellule || (x >= c.g && x < c.d && y >= c.h && y < c.b);
                        if (p != fond) {
                            QVERIFY2(
                                dansCellule,
                                qPrintable(
                                    QStringLiteral("encre hors cellule en %1,%2").arg(x).arg(y)));
                            QCOMPARE(p, 0xFF000000u);
                            ++encre;
                        }
                    }
                }
                QVERIFY(encre > 0);
            }
        }
    }

    void contourSurLesBords()
    {
        REdt e = Exemple();
        e.AffichContour = true;
        const QImage im = Redessiner(e).image;
        QVERIFY(Ligne(im, 0, im.width(), 0, 0xFF000000));
        QVERIFY(Ligne(im, 0, im.width(), im.height() - 1, 0xFF000000));
        QVERIFY(Colonne(im, 0, 0, im.height(), 0xFF000000));
        QVERIFY(Colonne(im, im.width() - 1, 0, im.height(), 0xFF000000));
        QCOMPARE(im.pixel(1, im.height() - 2), kBlanc);
    }

    void etiquettesCentreesSurLeurHeure()
    {
        REdt e = Exemple();
        e.AffichHeures = true;
        const ResultatDessin r = Redessiner(e);
        const QImage& im = r.image;
        QVERIFY(r.description.heures);
        const HeuresImage& h = *r.description.heures;
        QVERIFY(h.etiquettes.size() >= 2);
        // Axis on its row, from x0 to its end point excluded; ticks 3 pixels up.
        QVERIFY(Ligne(im, h.axeDebut.x, h.axeFin.x, h.axeY, kGris));
        QCOMPARE(im.pixel(h.axeFin.x, h.axeY), kBlanc);
        for (const EtiquetteHeure& et : h.etiquettes) {
            QVERIFY(Colonne(im, et.x, h.axeY - 2, h.axeY + 1, kGris));
            QCOMPARE(im.pixel(et.x, h.axeY - 3), kBlanc);
            // The label's ink: within its column band, ending above the tick,
            // about as far left of xt as right of it.
            int gauche = INT_MAX, droite = INT_MIN, haut = INT_MAX, bas = INT_MIN;
            for (int y = 0; y < h.axeY - 2; ++y)
                for (int x = et.x - h.demi; x < et.x + h.demi + 1; ++x)
                    if (im.pixel(x, y) != kBlanc) {
                        gauche = std::min(gauche, x);
                        droite = std::max(droite, x);
                        haut = std::min(haut, y);
                        bas = std::max(bas, y);
                    }
            QVERIFY(gauche <= droite);
            QVERIFY(bas < h.axeY - 3);
            QVERIFY(bas - haut > droite - gauche); // it reads upward: taller than wide
            QVERIFY(std::abs((gauche + droite) / 2 - et.x) <= 2);
        }
    }

    void semaineBlancheEtNomsDeJours()
    {
        REdt e = Exemple();
        e.Semaines[0].Couleur = 0xFFFFFF;
        e.AffichJours = true;
        e.HeureAffichJours = H(8, 30); // under the first box: hidden by it
        const ResultatDessin r = Redessiner(e);
        const BoiteImage& b = r.description.jours[0].boites.at(0);
        QCOMPARE(r.image.pixel(b.rect.g + 1, b.rect.h + 1), kBlanc);
        for (int x = b.rect.g + 1; x < b.rect.d - 1; ++x) {
            const QRgb p = r.image.pixel(x, b.rect.b - 2);
            QVERIFY(p == kBlanc || p == 0xFF000000u);
        }
    }

    void nombresHostiles_data()
    {
        QTest::addColumn<int>("marge");
        QTest::addColumn<int>("retrait");
        QTest::addColumn<int>("heureLarg");
        QTest::addColumn<int>("etat");
        QTest::newRow("marge énorme") << 1'000'000'000 << 1 << 60 << int(ResultatDessin::TropGrand);
        QTest::newRow("retrait énorme")
            << 1 << 2'000'000'000 << 60 << int(ResultatDessin::TropGrand);
        QTest::newRow("marge très négative")
            << -2'000'000'000 << 1 << 60 << int(ResultatDessin::TropGrand);
        QTest::newRow("heure de 2^31 - 1 pixels")
            << 1 << 1 << INT32_MAX << int(ResultatDessin::TropGrand);
        QTest::newRow("marge négative : pas d'image")
            << -10 << 1 << 60 << int(ResultatDessin::Rien);
        QTest::newRow("marge négative modeste") << -1 << 3 << 60 << int(ResultatDessin::Dessine);
    }
    void nombresHostiles()
    {
        QFETCH(int, marge);
        QFETCH(int, retrait);
        QFETCH(int, heureLarg);
        QFETCH(int, etat);
        REdt e = Exemple();
        e.Marge = marge;
        e.Retrait = retrait;
        e.Mesures.HeureLarg = heureLarg;
        if (etat == ResultatDessin::Rien)
            for (int j = 1; j < 5; ++j)
                e.Jours[static_cast<std::size_t>(j)].Affiche = 0;
        QCOMPARE(int(Redessiner(e).etat), etat);
    }

    void margeNegativeRecouvreLaCellulePrecedente()
    {
        // With a negative margin each cell overlaps the one before by a
        // column: its fill must cover whatever the text before ran into it.
        int chevauchements = 0;
        for (int n = 5; n < 60; ++n) {
            REdt e = EdtNu(-2, 5, 60);
            e.Libelles[LibGroupe1].Police.Couleur = 0x0000FF; // red
            Ajouter(
                e, 0, 0,
                Seq(H(8), H(10), {std::string(static_cast<std::size_t>(n), 'W'), "xx", "", ""}));
            const ResultatDessin r = Redessiner(e);
            const BoiteImage& b = r.description.jours[0].boites.at(0);
            const Rect& c2 = b.cellules[1];
            chevauchements += c2.g < b.cellules[0].d;
            for (int y = c2.h; y < c2.b; ++y)
                for (int x = c2.g; x < c2.d; ++x)
                    QVERIFY2(
                        r.image.pixel(x, y) != 0xFFFF0000u,
                        qPrintable(QStringLiteral("%1 W : rouge en %2,%3").arg(n).arg(x).arg(y)));
        }
        QVERIFY(chevauchements > 0);
    }

    void texteImmenseMesureEnEntier()
    {
        RPolice p;
        p.Taille = 750;
        MesureurQt m;
        const RTaille un = m.Mesurer(p, "W");
        const RTaille beaucoup = m.Mesurer(p, std::string(50'000, 'W'));
        QVERIFY(un.Largeur > 0);
        QCOMPARE(beaucoup.Largeur,
                 static_cast<int>(std::min<long long>(50'000LL * un.Largeur, INT32_MAX)));
    }

    void tailleNegativeEstLaHauteurDeCellule()
    {
        RPolice p;
        p.Taille = -9; // a 12-pixel cell, as Windows reads it
        QVERIFY(QFontMetrics(PoliceQt(p)).height() <= 12);
        p.Taille = 9; // a 12-pixel em: a taller cell
        QVERIFY(QFontMetrics(PoliceQt(p)).height() > 12);
    }

    void rienOuTropGrand()
    {
        REdt vide;
        QCOMPARE(Redessiner(vide).etat, ResultatDessin::Rien);
        REdt e = Exemple();
        e.Mesures.HeureLarg = 2'000'000;
        QCOMPARE(Redessiner(e).etat, ResultatDessin::TropGrand);
    }
};

QTEST_MAIN(TstDessin)
#include "tst_dessin.moc"
