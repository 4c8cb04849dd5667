// Les vues d'établissement contre un second calcul naïf, fait ici sans rien
// emprunter au modèle ; les noms de fichiers des vues ; horaku-cli de bout en bout.
#include "cli_test.h"
#include "edt_test.h"
#include "vues.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <tuple>

using namespace horaku;
using horaku::test::H;

namespace
{

// Des valeurs qui ne diffèrent que par la casse ou les blancs, accents compris ;
// elles nomment aussi les types de semaine.
const char* const kValeurs[] = {"Salle 12",   " salle 12", "SALLE 12 ", "Salle 3", "\xC9tude",
                                "\xE9tude\t", "",          "  ",        "Gymnase"};

std::string Naif(std::string_view vue)
{
    std::string s(vue);
    s.erase(0, s.find_first_not_of(" \t"));
    s.erase(s.find_last_not_of(" \t") + 1);
    for (char& c : s)
        c = c == '\xC9' ? '\xE9' : c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    return s;
}

std::vector<REdt> Ecole(unsigned graine)
{
    std::mt19937 g(graine);
    const auto tirer = [&](int n) { return static_cast<int>(g() % static_cast<unsigned>(n)); };
    std::vector<REdt> edts(static_cast<std::size_t>(2 + tirer(5)));
    for (REdt& e : edts) {
        e.Semaines.clear();
        for (int k = tirer(3); k < 3; ++k)
            e.Semaines.push_back({kValeurs[tirer(9)]});
        e.AjusterSemaines();
        for (RJour& j : e.Jours) {
            j.Affiche = tirer(4) != 0;
            for (RJourSem& js : j.ParSemaine)
                for (int n = tirer(6); n > 0; --n) {
                    // Au quart d'heure : beaucoup de bouts qui se touchent.
                    const int debut = 8 * 60 + 15 * tirer(12), fin = debut + 15 + 15 * tirer(4);
                    js.Sequences.push_back(
                        test::Seq(H(0, debut), H(0, fin), {"x", "", kValeurs[tirer(9)], ""}));
                }
        }
    }
    return edts;
}

} // namespace

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
        const std::vector<REdt> edts = Ecole(graine);
        const std::vector<Vue> vues = ConstruireVues(edts, 2, edts.front());
        // Les types de semaine dans l'ordre de rencontre, les jours réunis, le
        // nombre de séquences à voir par valeur.
        std::vector<std::string> semaines;
        std::map<std::string, std::size_t> valeurs;
        bool affiches[7] = {};
        for (const REdt& e : edts) {
            for (const RSemaine& s : e.Semaines)
                if (std::find(semaines.begin(), semaines.end(), Naif(s.Nom)) == semaines.end())
                    semaines.push_back(Naif(s.Nom));
            for (std::size_t j = 0; j < 7; ++j) {
                affiches[j] = affiches[j] || e.Jours[j].Affiche;
                for (const RJourSem& js : e.Jours[j].ParSemaine)
                    for (const RSequence& q : js.Sequences)
                        if (e.Jours[j].Affiche && !Naif(q.Textes[2]).empty())
                            ++valeurs[Naif(q.Textes[2])];
            }
        }
        QCOMPARE(vues.size(), valeurs.size());
        // Chaque séquence d'une vue en est une, prise une seule fois, d'un jour
        // affiché, d'un type de semaine de même nom, de même valeur ; les conflits
        // sont les paires qui se recouvrent, bouts qui se touchent exclus.
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
                    QCOMPARE(Naif(vue.Semaines[s].Nom), semaines[s]);
                    const auto& l = vue.Jours[j].ParSemaine[s].Sequences;
                    for (std::size_t a = 0; a < l.size(); ++a, ++n) {
                        const OrigineSequence& o = vues[v].origines[j][s][a];
                        QVERIFY(origines.emplace(o.fichier, o.jour, o.semaine, o.sequence).second);
                        const REdt& e = edts[o.fichier];
                        const RSequence& q = e.Jours[j].ParSemaine[o.semaine].Sequences[o.sequence];
                        QVERIFY(o.jour == int(j) && e.Jours[j].Affiche && q.Debut == l[a].Debut &&
                                q.Fin == l[a].Fin &&
                                Naif(e.Semaines[o.semaine].Nom) == semaines[s] &&
                                Naif(q.Textes[2]) == Naif(vues[v].valeur));
                        for (std::size_t b = a + 1; b < l.size(); ++b)
                            if (std::max(l[a].Debut, l[b].Debut) < std::min(l[a].Fin, l[b].Fin))
                                attendus.emplace_back(v, int(j), int(s), a, b);
                    }
                }
            }
            QCOMPARE(vues[v].sequences, n);
            QCOMPARE(n, valeurs[Naif(vues[v].valeur)]);
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

    // Un fichier absent et un étranger parmi de bons, nommés chacun ; une vue
    // par valeur, en pages du PDF comme en fichiers, même quand deux valeurs
    // donnent le même nom.
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
        test::ResultatCli r =
            test::LancerCli({"conflits", "--groupe", "3", a, absent, etranger, a});
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
