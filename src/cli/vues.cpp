// The school commands of horaku-cli: the views of one data group over many
// timetables, written as pictures or files, and their clashes as JSON.
#include "commandes.h"

#include "cp1252.h"
#include "erreurs.h"
#include "fichiers.h"
#include "json.h"
#include "vues.h"
#include "vuesimage.h"

#include <QGuiApplication>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace horaku::cli
{

namespace
{

struct ArgumentsVues {
    int groupe = 0; // 1 to 4, 0 until given
    std::string gabarit;
    std::string format = "pdf";
    bool marques = false;
    std::vector<std::string> positions;
};

// nullopt after telling what is wrong.
std::optional<ArgumentsVues> LireArguments(int argc, char** argv, bool vues, std::ostream& erreurs)
{
    ArgumentsVues a;
    const auto refus = [&](const std::string& message) {
        erreurs << LigneVisible(message) << '\n';
        return std::nullopt;
    };
    for (int i = 2; i < argc; ++i) {
        const std::string o = argv[i];
        const bool avecValeur = o == "--groupe" || (vues && (o == "--gabarit" || o == "--format"));
        if (vues && o == "--marques") {
            a.marques = true;
        } else if (avecValeur) {
            if (i + 1 >= argc) return refus("L'option " + o + " attend une valeur.");
            const std::string v = argv[++i];
            if (o == "--groupe") {
                if (v.size() != 1 || v[0] < '1' || v[0] > '4')
                    return refus("Groupe invalide : " + v + " (attendu 1, 2, 3 ou 4).");
                a.groupe = v[0] - '0';
            } else if (o == "--gabarit") {
                a.gabarit = v;
            } else {
                a.format = v;
                if (v != "pdf" && v != "png" && v != "svg" && v != "gif" && v != "bmp" &&
                    v != "edt")
                    return refus("Format invalide : " + v +
                                 " (attendu pdf, png, svg, gif, bmp ou edt).");
            }
        } else if (o.size() > 2 && o.compare(0, 2, "--") == 0) {
            return refus("Option inconnue : " + o);
        } else {
            a.positions.push_back(o);
        }
    }
    if (a.groupe == 0) return refus("L'option --groupe est obligatoire.");
    if (a.positions.size() < (vues ? 2u : 1u)) return refus("Aucun emploi du temps donné.");
    return a;
}

// The files read, or nullopt after naming each one that could not be.
std::optional<Etablissement> Lire(const std::vector<std::string>& chemins, std::ostream& erreurs)
{
    Etablissement e = LireEtablissement(chemins);
    if (e.erreurs.empty()) return e;
    for (const std::string& m : e.erreurs)
        erreurs << LigneVisible(m) << '\n';
    return std::nullopt;
}

} // namespace

int Vues(int argc, char** argv, std::ostream& erreurs)
{
    const std::optional<ArgumentsVues> a = LireArguments(argc, argv, true, erreurs);
    if (!a) return 2;
    const std::string sortie = a->positions.front();
    const std::vector<std::string> entrees(a->positions.begin() + 1, a->positions.end());
    std::optional<Etablissement> e = Lire(entrees, erreurs);
    if (!e) return 1;
    REdt gabarit;
    if (!a->gabarit.empty()) {
        try {
            LireOuEchouer(gabarit, a->gabarit.c_str());
        } catch (const ErreurHoraku& erreur) {
            throw ErreurHoraku(a->gabarit + " : " + erreur.what());
        }
    } else {
        gabarit.Copier(e->edts.front());
    }
    if (a->format == "pdf")
        for (const std::string& entree : entrees)
            RefuserSortieSurEntree(entree, sortie);
    auto app = Application(argc, argv);
    std::vector<Vue> vues = ConstruireVues(e->edts, a->groupe - 1, gabarit);
    TrierVues(vues);
    ExporterVues(vues, a->format, sortie, a->marques,
                 gabarit.Libelles[static_cast<std::size_t>(a->groupe)].Libelle);
    return 0;
}

int ConflitsJson(int argc, char** argv, std::ostream& sortie, std::ostream& erreurs)
{
    const std::optional<ArgumentsVues> a = LireArguments(argc, argv, false, erreurs);
    if (!a) return 2;
    std::optional<Etablissement> e = Lire(a->positions, erreurs);
    if (!e) return 1;
    std::vector<Vue> vues = ConstruireVues(e->edts, a->groupe - 1, e->edts.front());
    TrierVues(vues);
    Json j;
    j.tableau();
    for (const Conflit& c : Conflits(vues)) {
        const Vue& v = vues[c.vue];
        const auto j_ = static_cast<std::size_t>(c.jour);
        const auto s_ = static_cast<std::size_t>(c.semaine);
        const auto& liste = v.edt.Jours[j_].ParSemaine[s_].Sequences;
        j.objet();
        j.cle("valeur").texte(Cp1252VersUtf8(v.valeur));
        j.cle("jour").texte(Cp1252VersUtf8(v.edt.Jours[j_].Nom));
        j.cle("semaine").texte(Cp1252VersUtf8(v.edt.Semaines[s_].Nom));
        j.cle("debut").texte(TempsVersTexte(c.debut));
        j.cle("fin").texte(TempsVersTexte(c.fin));
        j.cle("sequences").tableau();
        for (const std::size_t k : {c.a, c.b}) {
            const RSequence& s = liste[k];
            const OrigineSequence& o = v.origines[j_][s_][k];
            j.objet();
            j.cle("fichier").texte(e->chemins[o.fichier]);
            ChampsSequence(j, s);
            j.finObjet();
        }
        j.finTableau();
        j.finObjet();
    }
    j.finTableau();
    sortie << j.resultat() << '\n';
    return 0;
}

} // namespace horaku::cli
