#include "vues.h"

#include "chevauchements.h"
#include "cp1252.h"
#include "erreurs.h"
#include "variables.h"

#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace horaku
{

namespace
{

bool Blanc(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\xA0';
}

// Windows-1252 lower case: ASCII, the Latin-1 capitals (× excepted) and the
// four capitals the code page adds (Š, Œ, Ž, Ÿ).
char Minuscule(char c)
{
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return static_cast<char>(u + 0x20);
    switch (u) {
    case 0x8A:
    case 0x8C:
    case 0x8E:
        return static_cast<char>(u + 0x10);
    case 0x9F:
        return '\xFF';
    default:
        return c;
    }
}

std::string Minuscules(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = Minuscule(c);
    return r;
}

} // namespace

Etablissement LireEtablissement(const std::vector<std::string>& chemins)
{
    Etablissement e;
    for (const std::string& chemin : chemins) {
        REdt edt;
        edt.Fichier = chemin;
        try {
            if (!edt.Charger()) throw ErreurHoraku(kMessageVersion);
        } catch (const ErreurHoraku& erreur) {
            e.erreurs.push_back(chemin + " : " + erreur.what());
            continue;
        }
        e.chemins.push_back(chemin);
        e.edts.push_back(std::move(edt));
    }
    return e;
}

std::string_view ValeurNette(std::string_view texte)
{
    while (!texte.empty() && Blanc(texte.front()))
        texte.remove_prefix(1);
    while (!texte.empty() && Blanc(texte.back()))
        texte.remove_suffix(1);
    return texte;
}

std::string CleValeur(std::string_view texte)
{
    return Minuscules(ValeurNette(texte));
}

std::vector<Vue> ConstruireVues(const std::vector<REdt>& edts, int groupe, const REdt& gabarit)
{
    const auto g = static_cast<std::size_t>(groupe);
    // Week types of the whole school, and for each file where its own go.
    std::vector<RSemaine> semaines;
    std::unordered_map<std::string, int> indiceSemaine;
    std::vector<std::vector<int>> versVue(edts.size());
    for (std::size_t f = 0; f < edts.size(); ++f) {
        for (const RSemaine& s : edts[f].Semaines) {
            const auto [it, nouveau] =
                indiceSemaine.emplace(CleValeur(s.Nom), static_cast<int>(semaines.size()));
            if (nouveau) {
                RSemaine vue = s;
                vue.Nom = std::string(ValeurNette(s.Nom));
                // The template's colour for a week type it knows.
                for (const RSemaine& t : gabarit.Semaines)
                    if (CleValeur(t.Nom) == it->first) {
                        vue.Couleur = t.Couleur;
                        break;
                    }
                semaines.push_back(vue);
            }
            versVue[f].push_back(it->second);
        }
    }
    std::array<bool, kNbJours> affiches{};
    for (const REdt& e : edts)
        for (int j = 0; j < kNbJours && j < static_cast<int>(e.Jours.size()); ++j)
            if (e.Jours[static_cast<std::size_t>(j)].Affiche != 0) affiches[j] = true;

    REdt modele;
    modele.Copier(gabarit);
    modele.Fichier.clear();
    modele.MotDePasse.clear();
    modele.AffichNom = true;
    modele.EdtModifie = false;
    if (!semaines.empty()) modele.Semaines = semaines;
    for (int j = 0; j < kNbJours; ++j) {
        RJour& jour = modele.Jours[static_cast<std::size_t>(j)];
        jour.Affiche = affiches[j] ? 1 : 0;
        jour.ParSemaine.clear();
    }
    modele.AjusterSemaines();

    std::vector<Vue> vues;
    std::unordered_map<std::string, std::size_t> indiceVue;
    for (std::size_t f = 0; f < edts.size(); ++f) {
        const REdt& e = edts[f];
        for (std::size_t j = 0; j < e.Jours.size() && j < kNbJours; ++j) {
            if (e.Jours[j].Affiche == 0) continue;
            const auto& parSemaine = e.Jours[j].ParSemaine;
            for (std::size_t s = 0; s < parSemaine.size() && s < versVue[f].size(); ++s) {
                const auto sv = static_cast<std::size_t>(versVue[f][s]);
                const auto& sequences = parSemaine[s].Sequences;
                for (std::size_t k = 0; k < sequences.size(); ++k) {
                    const std::string_view texte = sequences[k].Textes[g];
                    std::string cle = CleValeur(texte);
                    if (cle.empty()) continue;
                    const auto [it, nouveau] = indiceVue.emplace(std::move(cle), vues.size());
                    if (nouveau) {
                        Vue v;
                        v.valeur = std::string(ValeurNette(texte));
                        v.edt.Copier(modele);
                        v.edt.Titre = v.valeur;
                        v.origines.assign(kNbJours, std::vector<std::vector<OrigineSequence>>(
                                                        v.edt.Semaines.size()));
                        vues.push_back(std::move(v));
                    }
                    Vue& v = vues[it->second];
                    v.edt.Jours[j].ParSemaine[sv].Sequences.push_back(sequences[k]);
                    v.origines[j][sv].push_back({f, static_cast<int>(j), static_cast<int>(s), k});
                    ++v.sequences;
                }
            }
        }
    }
    return vues;
}

std::vector<Conflit> ConflitsVue(const Vue& vue)
{
    std::vector<Conflit> conflits;
    const auto& jours = vue.edt.Jours;
    for (std::size_t j = 0; j < jours.size(); ++j) {
        for (std::size_t s = 0; s < jours[j].ParSemaine.size(); ++s) {
            // Every pair: a clash list is not cut like the editor's hints.
            for (const Chevauchement& c : ChevauchementsListe(
                     jours[j].ParSemaine[s].Sequences, std::numeric_limits<std::size_t>::max())) {
                Conflit k;
                k.jour = static_cast<int>(j);
                k.semaine = static_cast<int>(s);
                k.a = c.a;
                k.b = c.b;
                k.debut = c.debut;
                k.fin = c.fin;
                conflits.push_back(k);
            }
        }
    }
    return conflits;
}

std::vector<Conflit> Conflits(const std::vector<Vue>& vues)
{
    std::vector<Conflit> tous;
    for (std::size_t v = 0; v < vues.size(); ++v)
        for (Conflit c : ConflitsVue(vues[v])) {
            c.vue = v;
            tous.push_back(c);
        }
    return tous;
}

std::vector<std::string> NomsFichiersVues(const std::vector<Vue>& vues)
{
    static constexpr std::string_view kInterdits = "/\\:*?\"<>|";
    static constexpr std::size_t kLongueurMax = 120; // bytes before UTF-8, far below NAME_MAX
    std::vector<std::string> noms;
    std::unordered_set<std::string> pris;
    for (const Vue& v : vues) {
        std::string base(v.valeur.substr(0, kLongueurMax));
        for (char& c : base) {
            const auto u = static_cast<unsigned char>(c);
            // Controls, and the five bytes the code page leaves undefined.
            const bool controle = u < 0x20 || u == 0x7F || u == 0x81 || u == 0x8D || u == 0x8F ||
                                  u == 0x90 || u == 0x9D;
            if (controle || kInterdits.find(c) != std::string_view::npos) c = '_';
        }
        // Hidden names, "." and "..", and the ends another system trims.
        if (!base.empty() && base.front() == '.') base.front() = '_';
        while (!base.empty() && (base.back() == '.' || base.back() == ' '))
            base.pop_back();
        if (base.empty()) base = "vue";
        std::string nom = base;
        for (int n = 2; !pris.insert(Minuscules(nom)).second; ++n)
            nom = base + " (" + std::to_string(n) + ")";
        noms.push_back(Cp1252VersUtf8(nom));
    }
    return noms;
}

} // namespace horaku
