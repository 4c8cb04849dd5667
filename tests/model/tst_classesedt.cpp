// L'emploi du temps en mémoire : valeurs par défaut, copie profonde,
// ajustement des semaines et orientation des heures.
#include "classesedt.h"
#include "outils_edt.h"

#include <QtTest>

using namespace horaku;
using Textes = std::array<std::string, 4>;

class TstClassesEdt : public QObject
{
    Q_OBJECT

private slots:
    // Les textes d'une séquence, en place ou sur le tas (plus de 19 octets) : relus,
    // copiés, déplacés, puis chacun remplacé par un morceau de lui-même.
    void textesSequence_data()
    {
        QTest::addColumn<Textes>("attendus");
        QTest::newRow("vides") << Textes{};
        QTest::newRow("19 octets") << Textes{"6e3", "G1", "Salle 112", "\xC9PS,"};
        QTest::newRow("20 octets") << Textes{"6e3", "G1", "Salle 112", "\xC9PS,!"};
        QTest::newRow("divers seul") << Textes{"", "", "", "Divers"};
        QTest::newRow("un seul long") << Textes{"", std::string(300, 'x'), "", ""};
        QTest::newRow("octet nul") << Textes{std::string(1, '\0'), "a", std::string(18, 'b'), ""};
    }
    void textesSequence()
    {
        QFETCH(Textes, attendus);
        const bool vides = attendus == Textes{};
        const auto egaux = [&attendus](const TextesSequence& t) {
            return std::equal(t.begin(), t.end(), attendus.begin());
        };
        TextesSequence t(attendus[0], attendus[1], attendus[2], attendus[3]);
        QVERIFY(egaux(t) && t.ToutVide() == vides);
        TextesSequence copie(t), autre("z", "", "", "");
        autre = t;
        QVERIFY(copie == t && egaux(copie) && egaux(autre));
        TextesSequence deplace(std::move(autre));
        QVERIFY(egaux(deplace) && autre.ToutVide());
        for (std::size_t k = 0; k < 4; ++k) {
            copie.Fixer(k, copie[k].substr(copie[k].empty() ? 0 : 1));
            if (!attendus[k].empty()) attendus[k].erase(0, 1);
            QVERIFY(egaux(copie));
        }
        QVERIFY(copie != t || vides);
        t = TextesSequence();
        QVERIFY(t.ToutVide() && t == TextesSequence());
    }

    void parDefaut()
    {
        const REdt e;
        QVERIFY(e.Fichier.empty() && e.Titre.empty() && e.MotDePasse.empty());
        QCOMPARE(e.Reserve1, 0);
        QCOMPARE(e.Marge, 1);
        QCOMPARE(e.Retrait, 1);
        QVERIFY(e.HeuresVerticales);
        QVERIFY(!e.AffichNom && !e.AffichContour && !e.Reserve2 && !e.EdtModifie);
        QVERIFY(!e.AffichJours && !e.AffichHeures);
        QCOMPARE(e.DureeSeq, 55u);
        QCOMPARE(e.Mesures.HeureLarg, 60);
        QCOMPARE(e.Semaines.size(), std::size_t(1));
        QCOMPARE(e.Semaines[0].Nom, std::string("Sem 1"));
        QCOMPARE(e.Semaines[0].Couleur, 0xFFFF00);
        QCOMPARE(e.Libelles.size(), std::size_t(9));
        for (int i = 0; i < 8; ++i) {
            const RPolice& p = e.Libelles[std::size_t(i)].Police;
            QCOMPARE(p.Nom, std::string("Arial"));
            QCOMPARE(p.Taille, 9);
            QCOMPARE(p.Couleur, 0);
            QCOMPARE(p.Jeu, std::uint8_t(1));
            QVERIFY(!p.Gras && !p.Italique && !p.Souligne && !p.Barre);
            QCOMPARE(p.Orientation,
                     0); // l'heure n'est tournée qu'à la lecture ou par les paramètres
        }
        const RPolice& web = e.Libelles[LibWeb].Police;
        QCOMPARE(web.Nom, std::string("Times New Roman"));
        QCOMPARE(web.Taille, 8);
        QCOMPARE(web.Couleur, 0xFF0000);
        QCOMPARE(e.Libelles[7].Exemple, std::string("Inutilis\xE9"));
        QCOMPARE(e.Jours.size(), std::size_t(7));
        const char* noms[] = {"Lundi",    "Mardi",  "Mercredi", "Jeudi",
                              "Vendredi", "Samedi", "Dimanche"};
        for (std::size_t j = 0; j < 7; ++j) {
            QCOMPARE(e.Jours[j].Nom, std::string(noms[j]));
            QCOMPARE(e.Jours[j].Affiche, 1);
            QCOMPARE(e.Jours[j].ParSemaine.size(), std::size_t(1));
            QVERIFY(e.Jours[j].ParSemaine[0].Sequences.empty());
            QVERIFY(e.Jours[j].ParSemaine[0].Vide);
        }
        for (const auto& l : e.ListesDonnees)
            QVERIFY(l.empty());
    }

    void copierDuree_data()
    {
        QTest::addColumn<uint>("source");
        QTest::addColumn<uint>("copie");
        QTest::newRow("0 devient 1") << 0u << 1u;
        QTest::newRow("7 reste 7") << 7u << 7u;
        QTest::newRow("maximum") << 4294967295u << 4294967295u;
    }
    void copierDuree()
    {
        QFETCH(uint, source);
        QFETCH(uint, copie);
        REdt s;
        s.DureeSeq = source;
        REdt c;
        c.Copier(s);
        QCOMPARE(c.DureeSeq, copie);
        QCOMPARE(s.DureeSeq, source);
    }

    // Tout est copié, y compris ce que le fichier ne garde pas, et la copie
    // ne partage rien avec sa source.
    void copierProfond()
    {
        REdt s = outils::EdtVarie(5, 4, 3);
        s.Fichier = "/un/chemin.edt";
        s.EdtModifie = true;
        s.Mesures.PixParMinute = 2.5f;
        s.Mesures.HautLigne = 17;
        s.HeureDebut = 0.25;
        s.Libelles[LibHeure].Police.Orientation = 900;
        REdt c;
        c.Copier(s);
        QCOMPARE(outils::Difference(s, c), QString());
        QCOMPARE(c.Fichier, s.Fichier);
        QVERIFY(c.EdtModifie);
        QCOMPARE(c.Mesures.PixParMinute, 2.5f);
        QCOMPARE(c.Mesures.HautLigne, 17);
        QCOMPARE(c.HeureDebut, 0.25);
        QCOMPARE(c.Libelles[LibHeure].Police.Orientation, 900);

        c.Libelles[3].Police.Nom = "Autre";
        c.Libelles[3].Police.Gras = !s.Libelles[3].Police.Gras;
        c.Jours[2].ParSemaine[1].Sequences.clear();
        c.ListesDonnees[0].push_back("nouveau");
        c.Semaines[0].Nom = "changé";
        QVERIFY(s.Libelles[3].Police.Nom != "Autre");
        QVERIFY(c.Libelles[3].Police.Gras != s.Libelles[3].Police.Gras);
        QCOMPARE(s.Jours[2].ParSemaine[1].Sequences.size(),
                 outils::EdtVarie(5, 4, 3).Jours[2].ParSemaine[1].Sequences.size());
        QVERIFY(s.ListesDonnees[0].empty() || s.ListesDonnees[0].back() != "nouveau");
        QVERIFY(s.Semaines[0].Nom != "changé");

        // Copier sur soi-même ne détruit rien.
        REdt& meme = c;
        c.Copier(meme);
        QCOMPARE(c.Semaines[0].Nom, std::string("changé"));
    }

    // Ce que le dialogue d'annulation fait : copie, modifications, retour.
    void copierEnArriere()
    {
        REdt e = outils::EdtVarie(8, 2, 2);
        REdt sauvegarde;
        sauvegarde.Copier(e);
        e.Semaines.push_back({"Nouvelle", 5});
        e.AjusterSemaines();
        e.Titre = "autre";
        e.Copier(sauvegarde);
        QCOMPARE(outils::Difference(outils::EdtVarie(8, 2, 2), e), QString());
    }

    void ajusterSemaines_data()
    {
        QTest::addColumn<int>("semaines");
        QTest::addColumn<int>("entrees");
        QTest::newRow("cinq entrées pour trois semaines") << 3 << 5;
        QTest::newRow("aucune entrée pour trois semaines") << 3 << 0;
        QTest::newRow("une entrée pour 52 semaines") << 52 << 1;
        QTest::newRow("autant que de semaines") << 4 << 4;
    }
    void ajusterSemaines()
    {
        QFETCH(int, semaines);
        QFETCH(int, entrees);
        REdt e;
        e.Semaines.resize(std::size_t(semaines));
        for (RJour& j : e.Jours) {
            j.ParSemaine.resize(std::size_t(entrees));
            for (int k = 0; k < entrees; ++k) {
                j.ParSemaine[std::size_t(k)].Sequences.resize(std::size_t(k + 1));
                j.ParSemaine[std::size_t(k)].Sequences.back().Textes.Fixer(0, std::to_string(k));
                j.ParSemaine[std::size_t(k)].Vide = false;
            }
        }
        e.AjusterSemaines();
        for (const RJour& j : e.Jours) {
            QCOMPARE(j.ParSemaine.size(), std::size_t(semaines));
            for (int k = 0; k < semaines; ++k) {
                const RJourSem& js = j.ParSemaine[std::size_t(k)];
                if (k < entrees) {
                    // Les entrées gardées restent à leur place avec leurs séquences.
                    QCOMPARE(js.Sequences.size(), std::size_t(k + 1));
                    QCOMPARE(js.Sequences.back().Textes[0], std::to_string(k));
                } else {
                    QVERIFY(js.Sequences.empty());
                    QVERIFY(js.Vide);
                }
            }
        }
    }

    void orienterHeures()
    {
        REdt e;
        RPolice& p = e.Libelles[LibHeure].Police;
        p.Nom = "Liberation Sans";
        p.Taille = 11;
        p.Couleur = 0x123456;
        p.Italique = true;
        p.Barre = true;
        p.Jeu = 0;
        const RPolice avant = p;
        e.OrienterHeures(true);
        QCOMPARE(p.Orientation, 900);
        e.OrienterHeures(true);
        QCOMPARE(p.Orientation, 900);
        e.OrienterHeures(false);
        QCOMPARE(p.Orientation, 0);
        QCOMPARE(p.Nom, avant.Nom);
        QCOMPARE(p.Taille, avant.Taille);
        QCOMPARE(p.Couleur, avant.Couleur);
        QVERIFY(!p.Gras && p.Italique && !p.Souligne && p.Barre);
        QCOMPARE(p.Jeu, avant.Jeu);
        // Les autres polices ne tournent pas.
        e.OrienterHeures(true);
        for (int i = 0; i < 9; ++i)
            if (i != LibHeure) QCOMPARE(e.Libelles[std::size_t(i)].Police.Orientation, 0);
    }
};

QTEST_GUILESS_MAIN(TstClassesEdt)
#include "tst_classesedt.moc"
