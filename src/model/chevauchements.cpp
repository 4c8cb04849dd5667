#include "chevauchements.h"

#include <algorithm>
#include <cstdint>

namespace horaku
{

namespace
{

bool AUnTexte(const RSequence& s)
{
    return !s.Textes.ToutVide();
}

// Whole milliseconds of the time of day: the stored fractions carry rounding
// noise, and 08:55 computed from 08:00 + 55 minutes must meet 08:55 as read.
std::int64_t Ms(TDateTime t)
{
    return static_cast<std::int64_t>(HeureDuJour(t) * 86400000.0 + 0.5);
}

struct Plage {
    std::int64_t debut;
    std::int64_t fin;
    std::size_t indice;
};

} // namespace

std::vector<Chevauchement> ChevauchementsListe(const std::vector<RSequence>& sequences,
                                               std::size_t parSequence)
{
    std::vector<Plage> plages;
    for (std::size_t i = 0; i < sequences.size(); ++i) {
        const RSequence& s = sequences[i];
        if (!AUnTexte(s)) continue;
        const std::int64_t d = Ms(s.Debut), f = Ms(s.Fin);
        if (f > d) plages.push_back({d, f, i});
    }
    std::sort(plages.begin(), plages.end(), [](const Plage& x, const Plage& y) {
        return x.debut != y.debut ? x.debut < y.debut : x.indice < y.indice;
    });
    // Sorted by start, the spans meeting plages[i] from the right are the
    // ones that start before it ends, side by side: their number is one
    // search away, and only the first few are listed.
    std::vector<Chevauchement> resultat;
    for (std::size_t i = 0; i < plages.size(); ++i) {
        const auto suite = plages.begin() + static_cast<std::ptrdiff_t>(i + 1);
        const auto fin = std::partition_point(
            suite, plages.end(), [&](const Plage& p) { return p.debut < plages[i].fin; });
        const auto nombre = static_cast<std::size_t>(fin - suite);
        const std::size_t listes = std::min(nombre, parSequence);
        for (std::size_t j = i + 1; j <= i + listes; ++j) {
            Chevauchement c;
            c.a = std::min(plages[i].indice, plages[j].indice);
            c.b = std::max(plages[i].indice, plages[j].indice);
            c.debut = static_cast<double>(plages[j].debut) / 86400000.0;
            c.fin = static_cast<double>(std::min(plages[i].fin, plages[j].fin)) / 86400000.0;
            resultat.push_back(c);
        }
        if (nombre > listes && listes > 0) {
            resultat.back().autres = nombre - listes;
            resultat.back().de = plages[i].indice;
        }
    }
    std::sort(resultat.begin(), resultat.end(), [](const Chevauchement& x, const Chevauchement& y) {
        return x.a != y.a ? x.a < y.a : x.b < y.b;
    });
    return resultat;
}

std::vector<Chevauchement> Chevauchements(const REdt& edt)
{
    std::vector<Chevauchement> tous;
    for (std::size_t j = 0; j < edt.Jours.size(); ++j) {
        const RJour& jour = edt.Jours[j];
        for (std::size_t s = 0; s < jour.ParSemaine.size(); ++s) {
            for (Chevauchement c : ChevauchementsListe(jour.ParSemaine[s].Sequences)) {
                c.jour = static_cast<int>(j);
                c.semaine = static_cast<int>(s);
                tous.push_back(c);
            }
        }
    }
    return tous;
}

} // namespace horaku
