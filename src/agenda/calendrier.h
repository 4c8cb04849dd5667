// The timetable in a calendar: every school week between two dates gets the
// sequences of its week type, the types following the order of Semaines and
// skipping weeks spent wholly on holiday.  libical builds and writes the
// iCalendar text (escaping, line folding, time zone definition); horaku-cli
// and the window's export dialog call it.  Standard library and libical only.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace horaku
{

class REdt;

// A calendar date; ordering and arithmetic go through JourSerie.
struct Date {
    int annee = 1970;
    int mois = 1;
    int jour = 1;
    friend bool operator==(const Date& a, const Date& b)
    {
        return a.annee == b.annee && a.mois == b.mois && a.jour == b.jour;
    }
    friend bool operator!=(const Date& a, const Date& b) { return !(a == b); }
};

// Days since 1970-01-01 (proleptic Gregorian calendar), and back.
long JourSerie(const Date& d);
Date DateDeSerie(long serie);
// 0 Monday ... 6 Sunday, the index of the timetable's Jours.
int JourDeSemaine(const Date& d);
bool DateExiste(const Date& d);
// "AAAA-MM-JJ" of a date that exists; nothing otherwise.
std::optional<Date> LireDate(std::string_view texte);
std::string TexteDate(const Date& d);

struct PeriodeVacances {
    Date debut; // both ends are holidays
    Date fin;
};
// "AAAA-MM-JJ:AAAA-MM-JJ", the end not before the start.
std::optional<PeriodeVacances> LirePeriode(std::string_view texte);

struct OptionsAgenda {
    Date du;
    Date au;
    int premiereSemaine = 1; // 1-based position in Semaines
    std::vector<PeriodeVacances> vacances;
    bool vacancesComptent = false;
    // Olson name ("Europe/Paris"): local times with the zone's definition.
    // Empty, or a name the calendar library does not know (a rule such as
    // "CET-1CEST,M3.5.0,M10.5.0/3", a copied zone file): the times are this
    // process's local times (TZ, /etc/localtime) by the C library's rules,
    // written in UTC.
    std::string fuseau;
};

// What a calendar can hold: dates that every reader places right, and a
// period of a few school years (a longer one is exported in several files).
// Readers that expand a zone's yearly rules stop at 2038 (32-bit times;
// Python's icalendar among them): a summer date after 2037 would land an
// hour off there.
inline constexpr Date kPremiereDateAgenda{2000, 1, 1};
inline constexpr Date kDerniereDateAgenda{2037, 12, 31};
inline constexpr long kJoursMaxAgenda = 1096; // three years

// The French refusal of options that do not fit the timetable or the bounds
// above, or empty.
std::string VerifierOptions(const REdt& edt, const OptionsAgenda& options);

// One school week: its Monday and the week type it gets, or -1 when it is
// spent wholly on holiday and the rotation skips it.
struct SemaineScolaire {
    Date lundi;
    int type = 0;
    bool compte = true;
};
std::vector<SemaineScolaire> SemainesScolaires(const OptionsAgenda& options, int nbTypes);
bool EnVacances(const OptionsAgenda& options, const Date& d);

// A sequence left out because its end is not after its start.
struct SequenceEcartee {
    int jour = 0;
    int semaine = 0;
    std::size_t indice = 0;
};

struct Agenda {
    std::string texte; // UTF-8, CR LF lines (ConstruireAgenda only)
    std::size_t evenements = 0;
    std::vector<SequenceEcartee> ecartees;
    // True when the zone has no name the calendar library knows and the
    // computer's own rules are plain UTC: the times are then UTC indeed.
    bool fuseauInconnu = false;
};

// The calendar's text handed piece by piece to `ecrire`: the header, each
// event as soon as it is made, the end; the memory used does not grow with
// the period.  Throws ErreurHoraku with the text of VerifierOptions.
Agenda EcrireAgenda(const REdt& edt, const OptionsAgenda& options,
                    const std::function<void(std::string_view)>& ecrire);
// The whole text in `texte`.
Agenda ConstruireAgenda(const REdt& edt, const OptionsAgenda& options);
// Writes the calendar safely as it is made; throws ErreurHoraku (ErreurCreer)
// when the file cannot be written, the old file then left as it was.
Agenda ExporterAgenda(const REdt& edt, const OptionsAgenda& options, const std::string& chemin);

// The machine's time zone name: TZ, else /etc/timezone, else the target of
// /etc/localtime; empty when none is known.
std::string FuseauDeLaMachine();
// French line naming a left-out sequence, for the standard error or a box.
std::string TexteEcartee(const REdt& edt, const SequenceEcartee& e);

} // namespace horaku
