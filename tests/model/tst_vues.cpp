// Les vues d'établissement contre un second calcul naïf, fait ici sans rien
// emprunter au modèle ; les noms de fichiers des vues ; horaku-cli de bout en bout.
#include "cli_test.h"
#include "edt_test.h"
#include "outils_edt.h"
#include "vues.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

using namespace horaku;
using horaku::test::H;

class TestVues : public QObject
{
    Q_OBJECT

private slots:
    void ecoleAuHasard_data()
    {
        QTest::addColumn<unsigned>("graine");
        for (unsigned g = 1; g <= 40; ++g)
            QTest::newRow(qPrintable(QStringLiteral("école %1").arg(g))) << g;
    }

    void ecoleAuHasard()
    {
        QFETCH(unsigned, graine);
        // Des textes qui ne diffèrent que par la casse ou les blancs, accents
        // compris, et leur clé calculée sans rien emprunter au modèle.
        const char* const textes[] = {"Salle 12",   " salle 12", "SALLE 12 ", "Salle 3", "\xC9tude",
                                      "\xE9tude\t", "",          "  ",        "Gymnase"};
        const auto naif = [](std::string_view vue) {
            std::string s(vue);
            s.erase(0, s.find_first_not_of(" \t"));
            s.erase(s.find_last_not_of(" \t") + 1);
            for (char& c : s)
                c = c == '\xC9' ? '\xE9' : c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
            return s;
        };
        // Une école au hasard nommée de ces textes ; à mesure, les types de semaine
        // dans l'ordre de rencontre, les jours réunis, les séquences à voir par valeur.
        outils::Hasard h(graine);
        std::vector<REdt> edts;
        std::vector<std::string> semaines;
        std::map<std::string, std::size_t> valeurs;
        bool affiches[7] = {};
        for (unsigned f = 2 + h(5); f > 0; --f) {
            REdt& e = edts.emplace_back(outils::EdtVarie(h(1000), int(1 + h(3)), 5));
            for (RSemaine& s : e.Semaines) {
                s.Nom = textes[h(9)];
                if (std::find(semaines.begin(), semaines.end(), naif(s.Nom)) == semaines.end())
                    semaines.push_back(naif(s.Nom));
            }
            for (std::size_t j = 0; j < 7; ++j) {
                affiches[j] = affiches[j] || e.Jours[j].Affiche;
                for (RJourSem& js : e.Jours[j].ParSemaine)
                    for (RSequence& q : js.Sequences) {
                        // Au quart d'heure : beaucoup de bouts qui se touchent.
                        const int debut = 8 * 60 + 15 * int(h(12));
                        q.Debut = H(0, debut);
                        q.Fin = H(0, debut + 15 + 15 * int(h(4)));
                        q.Textes.Fixer(2, textes[h(9)]);
                        if (e.Jours[j].Affiche && !naif(q.Textes[2]).empty())
                            ++valeurs[naif(q.Textes[2])];
                    }
            }
        }
        const std::vector<Vue> vues = ConstruireVues(edts, 2, edts.front());
        QCOMPARE(vues.size(), valeurs.size());
        // Chaque séquence d'une vue copie, une seule fois, une séquence de même jour,
        // semaine et valeur ; un conflit par paire qui se recouvre, bouts qui se touchent exclus.
        std::set<std::tuple<std::size_t, int, int, std::size_t>> origines;
        std::vector<std::tuple<std::size_t, int, int, std::size_t, std::size_t>> attendus, conflits;
        for (std::size_t v = 0; v < vues.size(); ++v) {
            const REdt& vue = vues[v].edt;
            QVERIFY(vues[v].valeur == ValeurNette(vues[v].valeur));
            QCOMPARE(vue.Semaines.size(), semaines.size());
            std::size_t n = 0;
            for (std::size_t j = 0; j < 7; ++j) {
                QCOMPARE(vue.Jours[j].Affiche != 0, affiches[j]);
                for (std::size_t s = 0; s < semaines.size(); ++s) {
                    QCOMPARE(naif(vue.Semaines[s].Nom), semaines[s]);
                    const auto& l = vue.Jours[j].ParSemaine[s].Sequences;
                    for (std::size_t a = 0; a < l.size(); ++a, ++n) {
                        const OrigineSequence& o = vues[v].origines[j][s][a];
                        QVERIFY(origines.emplace(o.fichier, o.jour, o.semaine, o.sequence).second);
                        const REdt& e = edts[o.fichier];
                        const RSequence& q = e.Jours[j].ParSemaine[o.semaine].Sequences[o.sequence];
                        QVERIFY(o.jour == int(j) && q.Debut == l[a].Debut && q.Fin == l[a].Fin &&
                                naif(e.Semaines[o.semaine].Nom) == semaines[s] &&
                                naif(q.Textes[2]) == naif(vues[v].valeur));
                        for (std::size_t b = a + 1; b < l.size(); ++b)
                            if (std::max(l[a].Debut, l[b].Debut) < std::min(l[a].Fin, l[b].Fin))
                                attendus.emplace_back(v, int(j), int(s), a, b);
                    }
                }
            }
            QVERIFY(vues[v].sequences == n && n == valeurs[naif(vues[v].valeur)]);
        }
        for (const Conflit& c : Conflits(vues))
            conflits.emplace_back(c.vue, c.jour, c.semaine, c.a, c.b);
        QVERIFY(attendus == conflits);
    }

    void nomsDeFichiers()
    {
        std::vector<Vue> vues;
        for (const char* v : {"a/b", "a:b", "A_B", "a*b", "..", ".cache", "fin.", "\x01",
                              "\xC9tude?", "\xE9tude*", "\xC9t\xE9"})
            vues.emplace_back().valeur = v;
        QStringList noms;
        for (const std::string& n : NomsFichiersVues(vues))
            noms << QString::fromStdString(n);
        QCOMPARE(noms, (QStringList{"a_b", "a_b (2)", "A_B (3)", "a_b (4)", "_", "_cache", "fin",
                                    "_ (2)", "Étude_", "étude_ (2)", "Été"}));
    }

    // Un fichier absent et un étranger parmi de bons, nommés chacun ; une vue par
    // valeur, en pages du PDF comme en fichiers, même si deux valeurs font un nom.
    void commandes()
    {
        QTemporaryDir dossier;
        const QString a = dossier.filePath("a.edt"), pdf = dossier.filePath("v.pdf");
        const QString absent = dossier.filePath("absent.edt"), etranger = dossier.filePath("x.edt");
        REdt e;
        for (const char* salle : {"Salle 12", "salle 12 ", "a/b", "a:b", "Salle 3"})
            test::Ajouter(e, 0, 0, test::Seq(H(8), H(9), {"6e", "", salle, ""}));
        e.Fichier = a.toStdString();
        e.Enregistrer();
        std::ofstream(etranger.toStdString()) << "pas un emploi du temps\r\n";
        auto r = test::LancerCli({"conflits", "--groupe", "3", a, absent, etranger, a});
        QCOMPARE(r.code, 1);
        QVERIFY(r.erreur.startsWith((absent + " : ").toUtf8()));
        QVERIFY(r.erreur.contains(("\n" + etranger + " : ").toUtf8()));
        r = test::LancerCli({"conflits", "--groupe", "3", a});
        QCOMPARE(r.code, 0);
        QVERIFY(r.sortie.startsWith("[{\"valeur\":\"Salle 12\"") &&
                r.sortie.count("\"fichier\"") == 2);

        const auto code = [](const QStringList& l) { return test::LancerCli(l).code; };
        QCOMPARE(code({"vues", "--groupe", "3", pdf, a}), 0);
        QFile sortie(pdf);
        QVERIFY(sortie.open(QIODevice::ReadOnly));
        QCOMPARE(sortie.readAll().count("/Type /Page\n"), 4);
        QCOMPARE(code({"vues", "--groupe", "3", "--format", "edt", dossier.filePath("d"), a}), 0);
        QCOMPARE(QDir(dossier.filePath("d")).entryList(QDir::Files).size(), 4);
        QCOMPARE(code({"vues", "--groupe", "5", pdf, a}), 2);
    }
};

QTEST_GUILESS_MAIN(TestVues)
#include "tst_vues.moc"
