// Geometry of the picture with a fake measurer of known sizes: every number
// below is worked out by hand from the layout rules.
#include "disposition.h"
#include "edt_test.h"

#include <QtTest>

using namespace horaku;
using namespace horaku::test;

namespace
{

// 6 pixels per byte, 10 high; an empty text measures nothing.
class MesureurFaux final : public MesureurTexte
{
public:
    int parOctet = 6;
    int hauteur = 10;
    RTaille Mesurer(const RPolice&, std::string_view t) const override
    {
        if (t.empty()) return RTaille{0, hauteur};
        return RTaille{static_cast<int>(t.size()) * parOctet, hauteur};
    }
};

QList<int> R(const Rect& r)
{
    return {r.g, r.h, r.d, r.b};
}

// Monday 08:00–09:00 "6A"/"S1", Tuesday 08:30–10:00 "6A"/"G1".
REdt Deux(int marge = 1, int retrait = 1, int heureLarg = 60)
{
    REdt e = EdtNu(marge, retrait, heureLarg);
    Ajouter(e, 0, 0, Seq(H(8), H(9), {"6A", "", "S1", ""}));
    Ajouter(e, 1, 0, Seq(H(8, 30), H(10), {"6A", "G1", "", ""}));
    return e;
}

} // namespace

class TstDisposition : public QObject
{
    Q_OBJECT

private slots:
    void mesures()
    {
        REdt e = Deux();
        MesureurFaux f;
        QVERIFY(PreparerDessin(e, f));
        const RMesures& m = e.Mesures;
        QCOMPARE(m.TailleGroupe[0].Largeur, 12);
        QCOMPARE(m.TailleGroupe[3].Largeur, 0);
        QCOMPARE(m.TailleGroupe[3].Hauteur, 0);
        QCOMPARE(m.LargTotale, 36);
        QCOMPARE(m.HautMax, 10);
        QCOMPARE(m.PartGroupe[0], 1.0f / 3.0f);
        QCOMPARE(m.PartGroupe[3], 0.0f);
        QCOMPARE(m.PixParMinute, 1.0f);
        QCOMPARE(m.HautLigne, 2 * 1 + 10 + 3 * 1);
        QCOMPARE(m.TailleHeure.Largeur, 10); // along: the line height
        QCOMPARE(m.TailleHeure.Hauteur, 30); // across: the width of "00:00"
        QVERIFY(!e.Jours[0].ParSemaine[0].Sequences[0].Vide);
    }

    void pixParMinuteArrondiUneFois_data()
    {
        QTest::addColumn<int>("heureLarg");
        QTest::addColumn<int>("largeurHeure"); // pixels covered by 60 minutes
        QTest::newRow("50 : le flottant est sous 5/6") << 50 << 49;
        QTest::newRow("60") << 60 << 60;
        QTest::newRow("90") << 90 << 90;
        QTest::newRow("70 : le flottant est sous 7/6") << 70 << 69;
        QTest::newRow("1 : le flottant est au-dessus de 1/60") << 1 << 1;
    }
    void pixParMinuteArrondiUneFois()
    {
        QFETCH(int, heureLarg);
        QFETCH(int, largeurHeure);
        REdt e = EdtNu(1, 1, heureLarg);
        Ajouter(e, 0, 0, Seq(H(8), H(9), {"x", "", "", ""}));
        MesureurFaux f;
        const DescriptionImage d = Disposer(e, f);
        QVERIFY(d.dessine);
        QCOMPARE(e.Mesures.PixParMinute, static_cast<float>(heureLarg / 60.0));
        QCOMPARE(XTemps(e, H(9), 0) - XTemps(e, H(8), 0), largeurHeure);
    }

    void sansOptions()
    {
        REdt e = Deux();
        MesureurFaux f;
        const DescriptionImage d = Disposer(e, f);
        QVERIFY(d.dessine);
        QVERIFY(!d.titre);
        QVERIFY(!d.heures);
        QCOMPARE(d.jours.size(), std::size_t(7));
        QCOMPARE(d.jours[0].haut, 1);
        QCOMPARE(R(d.jours[0].boites.at(0).rect), (QList<int>{1, 0, 62, 15}));
        QCOMPARE(d.jours[1].haut, 17);
        QCOMPARE(R(d.jours[1].boites.at(0).rect), (QList<int>{31, 16, 122, 31}));
        QCOMPARE(d.jours[6].haut, 97);
        QVERIFY(d.jours[6].boites.empty());
        QCOMPARE(d.largeur, 122);
        QCOMPARE(d.hauteur, 123);
        QCOMPARE(d.web.x, 122 - 78 - 1 - 1);
        QCOMPARE(d.web.y, 112);
        // The surface bound: whole day wide, every row of every day high.
        QCOMPARE(d.largeurSurface, 1440LL);
        QCOMPARE(d.hauteurSurface, 1LL * (15 + 1) * 7 + 30 + 10 + 10 + 6);
    }

    void cellules()
    {
        REdt e = Deux();
        MesureurFaux f;
        const DescriptionImage d = Disposer(e, f);
        const BoiteImage& b = d.jours[0].boites.at(0);
        // A = 61 − 2 − 5 = 54; 54 × share(1/3 as float, just above) truncates to 18.
        QCOMPARE(R(b.cellules[0]), (QList<int>{3, 2, 20, 14}));
        QCOMPARE(R(b.cellules[1]), (QList<int>{22, 3, 39, 14}));
        QCOMPARE(R(b.cellules[2]), (QList<int>{41, 2, 58, 14}));
        QCOMPARE(R(b.cellules[3]), (QList<int>{60, 3, 59, 14})); // empty cell
        QCOMPARE(b.departs[1].x, 22);
        QCOMPARE(b.departs[1].y, 3);
    }

    void cellulesMargeNulle()
    {
        REdt e = Deux(0, 1);
        MesureurFaux f;
        const DescriptionImage d = Disposer(e, f);
        QCOMPARE(e.Mesures.HautLigne, 2 + 10);
        const BoiteImage& b = d.jours[0].boites.at(0);
        // No lowering of groups 2 and 4 without a margin.
        for (const Rect& c : b.cellules)
            QCOMPARE(c.h, b.rect.h + 1);
    }

    void titreEtHeures()
    {
        REdt e = Deux();
        e.AffichNom = true;
        e.AffichHeures = true;
        e.Titre = "Titre";
        MesureurFaux f;
        const DescriptionImage d = Disposer(e, f);
        QVERIFY(d.titre);
        QCOMPARE(d.titre->x, 2);
        QCOMPARE(d.titre->y, 2);
        QVERIFY(d.heures);
        const HeuresImage& h = *d.heures;
        QCOMPARE(h.axeY, 13 + 2 + 3 + 30);
        QCOMPARE(h.demi, 5);
        QCOMPARE(h.axeDebut.x, 6);
        QCOMPARE(h.axeFin.x, 126);
        QCOMPARE(h.etiquettes.size(), std::size_t(2));
        QCOMPARE(h.etiquettes[0].texte, std::string("08:00"));
        QCOMPARE(h.etiquettes[1].x, 66);
        QCOMPARE(d.jours[0].haut, 51);
        QCOMPARE(R(d.jours[0].boites.at(0).rect), (QList<int>{6, 50, 67, 65}));
        QCOMPARE(R(d.jours[1].boites.at(0).rect), (QList<int>{36, 66, 127, 81}));
        QCOMPARE(d.largeur, 127);
        QCOMPARE(d.hauteur, 173);
        QCOMPARE(d.web.x, 47);
    }

    void echelleDesHeures_data()
    {
        QTest::addColumn<int>("debut");
        QTest::addColumn<int>("fin");
        QTest::addColumn<QStringList>("etiquettes");
        QTest::addColumn<int>("finAxe"); // minutes after the first label
        QTest::newRow("08:15-17:30") << 8 * 60 + 15 << 17 * 60 + 30
                                     << QStringList{"08:00", "09:00", "10:00", "11:00", "12:00",
                                                    "13:00", "14:00", "15:00", "16:00", "17:00"}
                                     << 9 * 60 + 30;
        QTest::newRow("fin sur une heure pleine : pas d'étiquette")
            << 8 * 60 << 10 * 60 << QStringList{"08:00", "09:00"} << 120;
        QTest::newRow("moins d'une heure")
            << 8 * 60 + 40 << 8 * 60 + 50 << QStringList{"08:00"} << 50;
    }
    void echelleDesHeures()
    {
        QFETCH(int, debut);
        QFETCH(int, fin);
        QFETCH(QStringList, etiquettes);
        QFETCH(int, finAxe);
        REdt e = EdtNu();
        e.AffichHeures = true;
        Ajouter(e, 2, 0, Seq(H(debut / 60, debut % 60), H(fin / 60, fin % 60), {"a", "", "", ""}));
        MesureurFaux f;
        const DescriptionImage d = Disposer(e, f);
        QVERIFY(d.heures);
        QStringList lus;
        for (const EtiquetteHeure& et : d.heures->etiquettes) {
            lus << QString::fromStdString(et.texte);
            QCOMPARE(et.x - d.heures->axeDebut.x, (lus.size() - 1) * 60);
        }
        QCOMPARE(lus, etiquettes);
        QCOMPARE(d.heures->axeFin.x - d.heures->axeDebut.x, finAxe);
    }

    void plusieursSemaines()
    {
        REdt e = EdtNu();
        e.Semaines.resize(3);
        e.AjusterSemaines();
        Ajouter(e, 0, 0, Seq(H(8), H(9), {"a", "", "", ""}));
        Ajouter(e, 0, 2, Seq(H(8), H(9), {"c", "", "", ""}));
        MesureurFaux f;
        const DescriptionImage d = Disposer(e, f);
        const int hl = e.Mesures.HautLigne;
        const JourImage& lundi = d.jours[0];
        QCOMPARE(lundi.boites.size(), std::size_t(2));
        QCOMPARE(lundi.boites[0].rect.h, lundi.haut - 1);
        // Week type 1 has no box but keeps its row: rows share one pixel line.
        QCOMPARE(lundi.boites[1].semaine, 2);
        QCOMPARE(lundi.boites[1].rect.h, lundi.haut - 1 + 2 * (hl - 1));
        QCOMPARE(d.jours[1].haut, lundi.haut + 3 * (hl - 1) + 2);
    }

    void joursCachesEtNoms()
    {
        REdt e = EdtNu();
        e.AffichJours = true;
        e.HeureAffichJours = H(7);
        e.Jours[0].Affiche = 0;
        Ajouter(e, 0, 0, Seq(H(5), H(23), {"cache", "", "", ""})); // hidden: no range
        Ajouter(e, 1, 0, Seq(H(8), H(9), {"a", "", "", ""}));
        MesureurFaux f;
        const DescriptionImage d = Disposer(e, f);
        QCOMPARE(Minutes(e.HeureDebut), 8 * 60);
        QCOMPARE(Minutes(e.HeureFin), 9 * 60);
        // Hidden days' texts still count in the measuring pass.
        QCOMPARE(e.Mesures.TailleGroupe[0].Largeur, 30);
        QCOMPARE(d.jours.front().jour, 1);
        // Gap of 2m before every shown day but Monday, even the first one.
        QCOMPARE(d.jours.front().haut, 3);
        QVERIFY(d.jours.front().nom);
        // 07:00 lies 60 minutes before the first box: left of the picture.
        QCOMPARE(d.jours.front().nom->x, 1 - 60 + 1);
        QCOMPARE(d.jours.front().nom->y, 3 + 1);
    }

    void boitesDegenerees_data()
    {
        QTest::addColumn<int>("debut");
        QTest::addColumn<int>("fin");
        QTest::addColumn<int>("largeur");
        QTest::newRow("fin = début") << 9 * 60 << 9 * 60 << 1;
        QTest::newRow("fin avant début") << 10 * 60 << 9 * 60 << 1;
        QTest::newRow("une minute") << 9 * 60 << 9 * 60 + 1 << 2;
    }
    void boitesDegenerees()
    {
        QFETCH(int, debut);
        QFETCH(int, fin);
        QFETCH(int, largeur);
        REdt e = EdtNu();
        Ajouter(e, 0, 0, Seq(H(8), H(8, 30), {"a", "", "", ""}));
        Ajouter(e, 0, 0, Seq(H(debut / 60, debut % 60), H(fin / 60, fin % 60), {"b", "", "", ""}));
        MesureurFaux f;
        const DescriptionImage d = Disposer(e, f);
        const Rect& r = d.jours[0].boites.at(1).rect;
        QCOMPARE(r.d - r.g, largeur);
        for (const Rect& c : d.jours[0].boites.at(1).cellules)
            QVERIFY(c.d <= c.g); // no room for any text
    }

    void laDerniereBoiteNeCoupePasLaPlusLongue()
    {
        REdt e = EdtNu();
        Ajouter(e, 0, 0, Seq(H(14), H(16), {"tard", "", "", ""}));
        Ajouter(e, 0, 0, Seq(H(8), H(9), {"tot", "", "", ""}));
        MesureurFaux f;
        const DescriptionImage d = Disposer(e, f);
        QCOMPARE(d.largeur, d.jours[0].boites.at(0).rect.d);
    }

    void rienADessiner_data()
    {
        QTest::addColumn<bool>("texte");
        QTest::addColumn<int>("heureLarg");
        QTest::newRow("aucun texte") << false << 60;
        QTest::newRow("largeur d'heure nulle") << true << 0;
        QTest::newRow("largeur d'heure négative") << true << -5;
    }
    void rienADessiner()
    {
        QFETCH(bool, texte);
        QFETCH(int, heureLarg);
        REdt e = EdtNu(1, 1, heureLarg);
        Ajouter(e, 0, 0, Seq(H(8), H(9), {texte ? "a" : "", "", "", ""}));
        MesureurFaux f;
        QVERIFY(!Disposer(e, f).dessine);
    }

    void marquesDuDernierPassage()
    {
        // Texts removed after a drawing: the pass is skipped, the marks stay.
        REdt e = EdtNu();
        Ajouter(e, 0, 0, Seq(H(8), H(9), {"a", "", "", ""}));
        MesureurFaux f;
        QVERIFY(Disposer(e, f).dessine);
        e.Jours[0].ParSemaine[0].Sequences[0].Textes.Fixer(0, {});
        QVERIFY(!PreparerDessin(e, f));
        QCOMPARE(e.Mesures.PixParMinute, 1.0f);
        QVERIFY(e.Jours[0].ParSemaine[0].Vide);
    }
};

QTEST_GUILESS_MAIN(TstDisposition)
#include "tst_disposition.moc"
