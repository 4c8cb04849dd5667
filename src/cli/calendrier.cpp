// The calendar commands of horaku-cli: the timetable as an iCalendar file
// over a school period, and the sequences that overlap.
#include "commandes.h"

#include "calendrier.h"
#include "chevauchements.h"
#include "classesedt.h"
#include "fichiers.h"
#include "json.h"

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace horaku::cli
{

namespace
{

// A wrong argument: one French line on the standard error, exit 2.
int Refus(std::ostream& erreurs, const std::string& message)
{
    erreurs << LigneVisible(message) << '\n';
    return 2;
}

std::string Cite(const char* texte)
{
    return std::string("\xC2\xAB ") + texte + " \xC2\xBB";
}

} // namespace

int Calendrier(int argc, char** argv, std::ostream& erreurs)
{
    std::vector<const char*> fichiers;
    std::optional<Date> du, au;
    std::optional<int> premiere;
    OptionsAgenda o;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--vacances-comptent") {
            o.vacancesComptent = true;
            continue;
        }
        if (a == "--du" || a == "--au" || a == "--premiere-semaine" || a == "--vacances") {
            if (i + 1 >= argc) return Refus(erreurs, "L'option " + a + " attend une valeur.");
            const char* v = argv[++i];
            if (a == "--du" || a == "--au") {
                const std::optional<Date> d = LireDate(v);
                if (!d)
                    return Refus(erreurs, "Date invalide pour " + a + " : " + Cite(v) +
                                              " (attendu AAAA-MM-JJ, une date qui existe).");
                (a == "--du" ? du : au) = d;
            } else if (a == "--premiere-semaine") {
                char* fin = nullptr;
                const long n = std::strtol(v, &fin, 10);
                if (!*v || *fin || n < 1 || n > 1000)
                    return Refus(erreurs, "Type de la première semaine invalide : " + Cite(v) +
                                              " (attendu un numéro à partir de 1).");
                premiere = static_cast<int>(n);
            } else {
                const std::optional<PeriodeVacances> p = LirePeriode(v);
                if (!p)
                    return Refus(erreurs, "Période de vacances invalide : " + Cite(v) +
                                              " (attendu AAAA-MM-JJ:AAAA-MM-JJ, la fin au plus "
                                              "tôt le jour du début).");
                o.vacances.push_back(*p);
            }
            continue;
        }
        if (a.size() > 1 && a[0] == '-')
            return Refus(erreurs, "Option inconnue : " + Cite(argv[i]) + ".");
        fichiers.push_back(argv[i]);
    }
    if (fichiers.size() != 2)
        return Refus(erreurs,
                     "La commande calendrier attend deux fichiers : ENTREE.edt SORTIE.ics.");
    if (!du || !au) return Refus(erreurs, "Les options --du et --au sont obligatoires.");
    o.du = *du;
    o.au = *au;
    o.premiereSemaine = premiere.value_or(1);

    REdt edt;
    LireOuEchouer(edt, fichiers[0]);
    const std::string refus = VerifierOptions(edt, o);
    if (!refus.empty()) return Refus(erreurs, refus);
    RefuserSortieSurEntree(fichiers[0], fichiers[1]);
    o.fuseau = FuseauDeLaMachine();
    const Agenda a = ExporterAgenda(edt, o, fichiers[1]);
    if (a.fuseauInconnu)
        erreurs << LigneVisible((o.fuseau.empty()
                                     ? std::string("Fuseau horaire de l'ordinateur inconnu")
                                     : "Fuseau horaire " + Cite(o.fuseau.c_str()) + " inconnu") +
                                " : les heures sont écrites en temps universel (UTC).")
                << '\n';
    for (const SequenceEcartee& e : a.ecartees)
        erreurs << LigneVisible(TexteEcartee(edt, e)) << '\n';
    return 0;
}

int ChevauchementsJson(const char* entree, std::ostream& sortie)
{
    REdt edt;
    LireOuEchouer(edt, entree);
    Json j;
    j.tableau();
    for (const Chevauchement& c : Chevauchements(edt)) {
        j.objet();
        j.cle("jour").entier(c.jour);
        j.cle("semaine").entier(c.semaine);
        j.cle("sequences").tableau().entier(static_cast<long long>(c.a));
        j.entier(static_cast<long long>(c.b)).finTableau();
        j.cle("debut").texte(TempsVersTexte(c.debut));
        j.cle("fin").texte(TempsVersTexte(c.fin));
        if (c.autres > 0) {
            j.cle("autres").objet();
            j.cle("sequence").entier(static_cast<long long>(c.de));
            j.cle("nombre").entier(static_cast<long long>(c.autres));
            j.finObjet();
        }
        j.finObjet();
    }
    j.finTableau();
    sortie << j.resultat() << '\n';
    return 0;
}

} // namespace horaku::cli
