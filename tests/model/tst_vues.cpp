// Les vues d'établissement contre un second calcul naïf, fait ici sans rien
// emprunter au modèle : regroupement, types de semaine, jours, conflits, noms
// de fichiers ; puis les deux commandes de horaku-cli de bout en bout.
#include "cli_test.h"
#include "edt_test.h"
#include "vues.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <random>
#include <set>
#include <tuple>

using namespace horaku;
using horaku::test::H;

namespace
{

// Des valeurs qui ne diffèrent que par la casse ou les blancs, accents compris.
const char* const kValeurs[] = {"Salle 12",   " salle 12", "SALLE 12 ", "Salle 3", "\xC9tude",
                                "\xE9tude\t", "",          "  ",        "Gymnase"};
const char* const kSemaines[] = {"Semaine A", "semaine a", "Semaine B", "SEMAINE B", "Sem C"};

std::string Naif(std::string_view vue)
{
    std::string s(vue);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.erase(0, 1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.pop_back();
    for (char& c : s)
        if (c == '\xC9')
            c = '\xE9';
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::vector<REdt> Ecole(unsigned graine)
{
    std::mt19937 g(graine);
    const auto tirer = [&](int n) { return static_cast<int>(g() % static_cast<unsigned>(n)); };
    std::vector<REdt> edts(static_cast<std::size_t>(2 + tirer(5)));
    for (REdt& e : edts) {
        // Des types de semaine tirés dans un ordre propre à chaque fichier.
        std::vector<int> ordre = {0, 2, 4};
        std::shuffle(ordre.begin(), ordre.end(), g);
        e.Semaines.clear();
        for (int k = 0; k <= tirer(3) && k < 3; ++k)
            e.Semaines.push_back(
                {kSemaines[ordre[static_cast<std::size_t>(k)] + (tirer(2) && ordre[k] < 4)], 0});
        e.AjusterSemaines();
        for (RJour& j : e.Jours) {
            j.Affiche = tirer(4) != 0;
            for (RJourSem& js : j.ParSemaine)
                for (int n = tirer(6); n > 0; --n) {
                    // Des heures au quart d'heure : beaucoup de bouts qui se touchent.
                    const int debut = 8 * 60 + 15 * tirer(12);
                    RSequence s = test::Seq(H(0, debut), H(0, debut + 15 * (1 + tirer(4))),
                                            {"x", "", kValeurs[tirer(9)], ""});
                    js.Sequences.push_back(s);
                }
        }
    }
    return edts;
}

// (fichier, jour, semaine du fichier, position) d'une séquence.
using Id = std::tuple<std::size_t, int, int, std::size_t>;
struct Entree {
    std::string cle, semaine;
    int jour, debut, fin;
    Id id;
};

std::vector<Entree> Entrees(const std::vector<REdt>& edts)
{
    std::vector<Entree> r;
    for (std::size_t f = 0; f < edts.size(); ++f)
        for (int j = 0; j < 7; ++j) {
            const RJour& jour = edts[f].Jours[static_cast<std::size_t>(j)];
            if (!jour.Affiche) continue;
            for (std::size_t s = 0; s < jour.ParSemaine.size(); ++s)
                for (std::size_t k = 0; k < jour.ParSemaine[s].Sequences.size(); ++k) {
                    const RSequence& q = jour.ParSemaine[s].Sequences[k];
                    if (Naif(q.Textes[2]).empty()) continue;
                    r.push_back({Naif(q.Textes[2]),
                                 Naif(edts[f].Semaines[s].Nom),
                                 j,
                                 int(q.Debut * 1440 + 0.5),
                                 int(q.Fin * 1440 + 0.5),
                                 {f, j, int(s), k}});
                }
        }
    return r;
}

using Resultat = test::ResultatCli;

Resultat Lancer(const QStringList& arguments)
{
    return test::LancerCli(arguments);
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
        const std::vector<Entree> naif = Entrees(edts);

        // Les valeurs, une vue chacune, montrées comme écrites la première fois.
        std::vector<std::string> cles;
        for (const Entree& e : naif)
            if (std::find(cles.begin(), cles.end(), e.cle) == cles.end()) cles.push_back(e.cle);
        QCOMPARE(vues.size(), cles.size());

        std::set<std::tuple<std::string, std::string, int, int, int, Id>> attendu, obtenu;
        for (const Entree& e : naif)
            attendu.emplace(e.cle, e.semaine, e.jour, e.debut, e.fin, e.id);
        for (const Vue& v : vues) {
            QCOMPARE(v.edt.Titre, v.valeur);
            QVERIFY(v.valeur == ValeurNette(v.valeur));
            for (int j = 0; j < 7; ++j)
                for (std::size_t s = 0; s < v.edt.Semaines.size(); ++s) {
                    const auto& liste = v.edt.Jours[std::size_t(j)].ParSemaine[s].Sequences;
                    for (std::size_t k = 0; k < liste.size(); ++k) {
                        const OrigineSequence& o = v.origines[std::size_t(j)][s][k];
                        obtenu.emplace(Naif(v.valeur), Naif(v.edt.Semaines[s].Nom), j,
                                       int(liste[k].Debut * 1440 + 0.5),
                                       int(liste[k].Fin * 1440 + 0.5),
                                       Id{o.fichier, o.jour, o.semaine, o.sequence});
                    }
                }
        }
        QVERIFY(attendu == obtenu);

        // Les types de semaine dans l'ordre de rencontre ; les jours réunis.
        std::vector<std::string> semaines;
        for (const REdt& e : edts)
            for (const RSemaine& s : e.Semaines)
                if (std::find(semaines.begin(), semaines.end(), Naif(s.Nom)) == semaines.end())
                    semaines.push_back(Naif(s.Nom));
        for (const Vue& v : vues) {
            QCOMPARE(v.edt.Semaines.size(), semaines.size());
            for (std::size_t s = 0; s < semaines.size(); ++s)
                QCOMPARE(Naif(v.edt.Semaines[s].Nom), semaines[s]);
            for (int j = 0; j < 7; ++j) {
                bool affiche = false;
                for (const REdt& e : edts)
                    affiche = affiche || e.Jours[std::size_t(j)].Affiche;
                QCOMPARE(v.edt.Jours[std::size_t(j)].Affiche != 0, affiche);
            }
        }

        // Les conflits : toutes les paires qui se recouvrent, bouts qui se
        // touchent exclus, chacune une fois.
        std::set<std::pair<Id, Id>> conflitsNaifs, conflits;
        for (std::size_t a = 0; a < naif.size(); ++a)
            for (std::size_t b = a + 1; b < naif.size(); ++b) {
                const Entree &x = naif[a], &y = naif[b];
                if (x.cle == y.cle && x.semaine == y.semaine && x.jour == y.jour &&
                    std::max(x.debut, y.debut) < std::min(x.fin, y.fin))
                    conflitsNaifs.emplace(std::min(x.id, y.id), std::max(x.id, y.id));
            }
        const std::vector<Conflit> liste = Conflits(vues);
        for (const Conflit& c : liste) {
            const auto& o = vues[c.vue].origines[std::size_t(c.jour)][std::size_t(c.semaine)];
            const Id a{o[c.a].fichier, o[c.a].jour, o[c.a].semaine, o[c.a].sequence};
            const Id b{o[c.b].fichier, o[c.b].jour, o[c.b].semaine, o[c.b].sequence};
            conflits.emplace(std::min(a, b), std::max(a, b));
        }
        QCOMPARE(liste.size(), conflits.size());
        QVERIFY(conflitsNaifs == conflits);
    }

    void nomsDeFichiers_data()
    {
        QTest::addColumn<QStringList>("valeurs");
        QTest::addColumn<QStringList>("noms");
        QTest::newRow("caractères interdits")
            << QStringList{"a/b", "a:b", "A_B", "a*b"}
            << QStringList{"a_b", "a_b (2)", "A_B (3)", "a_b (4)"};
        QTest::newRow("points et vide") << QStringList{"..", ".cache", "fin.", "\x01"}
                                        << QStringList{"_", "_cache", "fin", "_ (2)"};
        QTest::newRow("accents") << QStringList{"Étude?", "étude*", "Été"}
                                 << QStringList{"Étude_", "étude_ (2)", "Été"};
    }

    void nomsDeFichiers()
    {
        QFETCH(QStringList, valeurs);
        QFETCH(QStringList, noms);
        std::vector<Vue> vues(std::size_t(valeurs.size()));
        for (qsizetype i = 0; i < valeurs.size(); ++i)
            vues[std::size_t(i)].valeur = valeurs[i].toLatin1().toStdString();
        QStringList obtenus;
        for (const std::string& n : NomsFichiersVues(vues))
            obtenus << QString::fromStdString(n);
        QCOMPARE(obtenus, noms);
    }

    void fichierIlisibleParmiDeBons()
    {
        QTemporaryDir dossier;
        const std::string d = dossier.path().toStdString();
        REdt e;
        test::Ajouter(e, 0, 0, test::Seq(H(8), H(9), {"", "", "Salle 1", ""}));
        e.Fichier = d + "/bon.edt";
        e.Enregistrer();
        QFile etranger(dossier.filePath("etranger.edt"));
        QVERIFY(etranger.open(QIODevice::WriteOnly));
        etranger.write("pas un emploi du temps\r\n");
        etranger.close();
        const Etablissement lu =
            LireEtablissement({e.Fichier, d + "/absent.edt", d + "/etranger.edt", e.Fichier});
        QCOMPARE(lu.edts.size(), std::size_t(2));
        QCOMPARE(lu.erreurs.size(), std::size_t(2));
        QVERIFY(lu.erreurs[0].rfind(d + "/absent.edt : ", 0) == 0);
        QVERIFY(lu.erreurs[1].rfind(d + "/etranger.edt : ", 0) == 0);

        const QString bon = QString::fromStdString(e.Fichier);
        QCOMPARE(Lancer({"conflits", "--groupe", "3", bon, dossier.filePath("absent.edt")}).code,
                 1);
        const Resultat r = Lancer({"conflits", "--groupe", "3", bon});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.sortie.trimmed(), QByteArray("[]"));
    }

    // Une vue par valeur : pages du PDF, fichiers du dossier, même quand
    // deux valeurs donnent le même nom.
    void commandeVues()
    {
        QTemporaryDir dossier;
        REdt e;
        for (const char* salle : {"Salle 12", "salle 12 ", "a/b", "a:b", "Salle 3"})
            test::Ajouter(e, 0, 0, test::Seq(H(8), H(9), {"6e", "", salle, ""}));
        e.Fichier = dossier.filePath("a.edt").toStdString();
        e.Enregistrer();
        const QString a = QString::fromStdString(e.Fichier);
        QCOMPARE(Lancer({"vues", "--groupe", "3", dossier.filePath("v.pdf"), a}).code, 0);
        QFile pdf(dossier.filePath("v.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.readAll().count("/Type /Page\n"), 4);
        QCOMPARE(
            Lancer({"vues", "--groupe", "3", "--format", "edt", dossier.filePath("d"), a}).code, 0);
        QCOMPARE(QDir(dossier.filePath("d")).entryList(QDir::Files).size(), 4);
        QCOMPARE(Lancer({"vues", "--groupe", "5", dossier.filePath("v.pdf"), a}).code, 2);
    }
};

QTEST_GUILESS_MAIN(TestVues)
#include "tst_vues.moc"
