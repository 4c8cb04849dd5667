#include "calendrier.h"

#include "classesedt.h"
#include "cp1252.h"
#include "erreurs.h"
#include "fichiers.h"
#include "temps.h"

#include <libical/ical.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>

namespace horaku
{

// ---- Dates -----------------------------------------------------------------

// Civil-from-days arithmetic on 400-year eras (H. Hinnant's algorithms): exact
// for every date of the proleptic Gregorian calendar, no table, no locale.
long JourSerie(const Date& d)
{
    const long y = static_cast<long>(d.annee) - (d.mois <= 2 ? 1 : 0);
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long m = d.mois;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d.jour - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Date DateDeSerie(long serie)
{
    const long z = serie + 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    Date d;
    d.jour = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    d.mois = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    d.annee = static_cast<int>(yoe + era * 400 + (d.mois <= 2 ? 1 : 0));
    return d;
}

int JourDeSemaine(const Date& d)
{
    // 1970-01-01 was a Thursday.
    const long r = (JourSerie(d) + 3) % 7;
    return static_cast<int>(r < 0 ? r + 7 : r);
}

bool DateExiste(const Date& d)
{
    // Four-digit years: the only ones an iCalendar date can carry.
    if (d.annee < 1 || d.annee > 9999 || d.mois < 1 || d.mois > 12 || d.jour < 1) return false;
    return DateDeSerie(JourSerie(d)) == d;
}

std::optional<Date> LireDate(std::string_view texte)
{
    if (texte.size() != 10 || texte[4] != '-' || texte[7] != '-') return std::nullopt;
    const auto nombre = [&](std::size_t debut, std::size_t n) {
        int v = 0;
        for (std::size_t i = debut; i < debut + n; ++i) {
            if (texte[i] < '0' || texte[i] > '9') return -1;
            v = v * 10 + (texte[i] - '0');
        }
        return v;
    };
    Date d;
    d.annee = nombre(0, 4);
    d.mois = nombre(5, 2);
    d.jour = nombre(8, 2);
    if (!DateExiste(d)) return std::nullopt;
    return d;
}

std::string TexteDate(const Date& d)
{
    char tampon[32];
    std::snprintf(tampon, sizeof tampon, "%04d-%02d-%02d", d.annee, d.mois, d.jour);
    return tampon;
}

std::optional<PeriodeVacances> LirePeriode(std::string_view texte)
{
    const std::size_t deux = texte.find(':');
    if (deux == std::string_view::npos) return std::nullopt;
    const std::optional<Date> debut = LireDate(texte.substr(0, deux));
    const std::optional<Date> fin = LireDate(texte.substr(deux + 1));
    if (!debut || !fin || JourSerie(*fin) < JourSerie(*debut)) return std::nullopt;
    return PeriodeVacances{*debut, *fin};
}

// ---- Weeks -----------------------------------------------------------------

std::string VerifierOptions(const REdt& edt, const OptionsAgenda& o)
{
    for (const Date* d : {&o.du, &o.au}) {
        if (!DateExiste(*d)) return "La date " + TexteDate(*d) + " n'existe pas.";
        if (JourSerie(*d) < JourSerie(kPremiereDateAgenda) ||
            JourSerie(*d) > JourSerie(kDerniereDateAgenda))
            return "La date " + TexteDate(*d) +
                   " est hors des dates qu'un agenda peut recevoir (du " +
                   TexteDate(kPremiereDateAgenda) + " au " + TexteDate(kDerniereDateAgenda) + ").";
    }
    if (JourSerie(o.au) < JourSerie(o.du))
        return "Le dernier jour (" + TexteDate(o.au) + ") précède le premier jour (" +
               TexteDate(o.du) + ").";
    if (const long jours = JourSerie(o.au) - JourSerie(o.du) + 1; jours > kJoursMaxAgenda)
        return "La période du " + TexteDate(o.du) + " au " + TexteDate(o.au) + " compte " +
               std::to_string(jours) + " jours : un agenda en couvre au plus " +
               std::to_string(kJoursMaxAgenda) + " (trois ans), exportez-la en plusieurs fois.";
    const int n = static_cast<int>(edt.Semaines.size());
    if (n == 0) return "L'emploi du temps n'a aucun type de semaine.";
    if (o.premiereSemaine < 1 || o.premiereSemaine > n)
        return "Le type de la première semaine doit être entre 1 et " + std::to_string(n) + ".";
    for (const PeriodeVacances& p : o.vacances)
        if (!DateExiste(p.debut) || !DateExiste(p.fin) || JourSerie(p.fin) < JourSerie(p.debut))
            return "La période de vacances du " + TexteDate(p.debut) + " au " + TexteDate(p.fin) +
                   " n'est pas valable.";
    return {};
}

bool EnVacances(const OptionsAgenda& o, const Date& d)
{
    const long s = JourSerie(d);
    return std::any_of(o.vacances.begin(), o.vacances.end(), [s](const PeriodeVacances& p) {
        return JourSerie(p.debut) <= s && s <= JourSerie(p.fin);
    });
}

std::vector<SemaineScolaire> SemainesScolaires(const OptionsAgenda& o, int nbTypes)
{
    std::vector<SemaineScolaire> semaines;
    if (nbTypes <= 0) return semaines;
    const long du = JourSerie(o.du), au = JourSerie(o.au);
    const long premierLundi = du - JourDeSemaine(o.du);
    long rang = 0; // weeks counted so far
    for (long lundi = premierLundi; lundi <= au; lundi += 7) {
        SemaineScolaire s;
        s.lundi = DateDeSerie(lundi);
        s.type = static_cast<int>((o.premiereSemaine - 1 + rang) % nbTypes);
        s.compte = o.vacancesComptent;
        for (long j = std::max(lundi, du); j <= std::min(lundi + 6, au) && !s.compte; ++j)
            s.compte = !EnVacances(o, DateDeSerie(j));
        if (s.compte) ++rang;
        semaines.push_back(s);
    }
    return semaines;
}

// ---- Calendar --------------------------------------------------------------

namespace
{

const char* const kTiret = " \xE2\x80\x93 ";      // " – "
const char* const kVirguleBasse = "\xE2\x80\x9A"; // ‚ U+201A

// UTF-8 of a timetable text, without the control characters iCalendar
// forbids in a text value (a tab stays).
std::string TexteIcal(std::string_view cp1252)
{
    std::string t = Cp1252VersUtf8(cp1252);
    for (char& c : t) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && u != '\t') || u == 0x7F) c = ' ';
    }
    return t;
}

// libical writes CATEGORIES without escaping its commas, so a comma in a week
// type's name would split it into several categories: it becomes the low
// quotation mark that looks like it.
std::string Categorie(const std::string& cp1252)
{
    const std::string t = TexteIcal(cp1252);
    std::string r;
    for (char c : t) {
        if (c == ',')
            r += kVirguleBasse;
        else
            r += c;
    }
    return r;
}

bool EstUtc(const std::string& nom)
{
    for (const char* u : {"UTC", "Etc/UTC", "Etc/UCT", "UCT", "GMT", "Etc/GMT", "Etc/GMT0",
                          "Etc/GMT+0", "Etc/GMT-0", "GMT0", "Etc/Universal", "Universal",
                          "Etc/Zulu", "Zulu", "Etc/Greenwich", "Greenwich"})
        if (nom == u) return true;
    return false;
}

// 64-bit FNV-1a: stable across runs, machines and compilers, unlike std::hash.
std::uint64_t Fnv(std::string_view s)
{
    std::uint64_t h = 1469598103934665603ULL;
    for (char c : s) {
        h ^= static_cast<unsigned char>(c);
        h *= 1099511628211ULL;
    }
    return h;
}

// Seconds of the time of day, 0 to 86399.
int Secondes(TDateTime t)
{
    const long ms = std::lround(HeureDuJour(t) * 86400000.0);
    return static_cast<int>(std::min(86399L, (ms + 500) / 1000));
}

bool AUnTexte(const RSequence& s)
{
    return !s.Textes.ToutVide();
}

struct LibereComposant {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Composant = std::unique_ptr<icalcomponent, LibereComposant>;

// The zone's rules when its name is unknown: plain UTC leaves nothing to
// convert, and the user is told.
bool LocalEstUtc()
{
    ::tzset();
    return ::timezone == 0 && ::daylight == 0;
}

class Ecrivain
{
public:
    Ecrivain(const REdt& edt, const OptionsAgenda& o, Agenda& resultat,
             const std::function<void(std::string_view)>& ecrire)
        : edt_(edt), o_(o), resultat_(resultat), ecrire_(ecrire)
    {
        Composant cal(icalcomponent_new_vcalendar());
        icalcomponent_add_property(cal.get(), icalproperty_new_version("2.0"));
        icalcomponent_add_property(cal.get(),
                                   icalproperty_new_prodid("-//Horaku//Horaku 2.0a//FR"));
        icalcomponent_add_property(cal.get(), icalproperty_new_calscale("GREGORIAN"));
        icalcomponent_add_property(cal.get(), icalproperty_new_method(ICAL_METHOD_PUBLISH));
        ChoisirFuseau(cal.get());
        maintenant_ = icaltime_current_time_with_zone(icaltimezone_get_utc_timezone());
        // The same timetable gives the same UIDs wherever its file lies: they
        // say what the event is, never where the file was.
        char h[17];
        std::snprintf(h, sizeof h, "%016llx", static_cast<unsigned long long>(Fnv(edt.Titre)));
        titre_ = h;
        for (int g = 0; g < 4; ++g)
            libelles_[g] = TexteIcal(edt.Libelles.size() > std::size_t(g + 1)
                                         ? edt.Libelles[std::size_t(g + 1)].Libelle
                                         : std::string());
        // The calendar's head as libical writes it, without its last line:
        // the events follow one at a time, then that line.
        std::string tete = Texte(cal.get());
        const std::string fin = kFin;
        if (tete.size() >= fin.size() &&
            tete.compare(tete.size() - fin.size(), fin.size(), fin) == 0)
            tete.resize(tete.size() - fin.size());
        ecrire_(tete);
    }

    void Evenement(const Date& date, int jour, int semaine, std::size_t indice, const RSequence& s)
    {
        const Composant ev(icalcomponent_new_vevent());
        const int debut = Secondes(s.Debut), fin = Secondes(s.Fin);
        char uid[128];
        std::snprintf(uid, sizeof uid,
                      "%04d%02d%02d-j%d-s%d-n%zu-%02d%02d%02d-%02d%02d%02d-%s@horaku", date.annee,
                      date.mois, date.jour, jour, semaine, indice, debut / 3600, debut / 60 % 60,
                      debut % 60, fin / 3600, fin / 60 % 60, fin % 60, titre_.c_str());
        icalcomponent_add_property(ev.get(), icalproperty_new_uid(uid));
        icalcomponent_add_property(ev.get(), icalproperty_new_dtstamp(maintenant_));
        icalcomponent_add_property(ev.get(), Heure(icalproperty_new_dtstart, date, debut));
        icalcomponent_add_property(ev.get(), Heure(icalproperty_new_dtend, date, fin));

        std::string resume, description;
        for (int g : {0, 1, 3}) {
            if (s.Textes[std::size_t(g)].empty()) continue;
            if (!resume.empty()) resume += kTiret;
            resume += TexteIcal(s.Textes[std::size_t(g)]);
        }
        for (int g = 0; g < 4; ++g) {
            if (s.Textes[std::size_t(g)].empty()) continue;
            if (!description.empty()) description += '\n';
            description += libelles_[g] + " : " + TexteIcal(s.Textes[std::size_t(g)]);
        }
        if (!resume.empty())
            icalcomponent_add_property(ev.get(), icalproperty_new_summary(resume.c_str()));
        if (!s.Textes[2].empty())
            icalcomponent_add_property(ev.get(),
                                       icalproperty_new_location(TexteIcal(s.Textes[2]).c_str()));
        icalcomponent_add_property(ev.get(), icalproperty_new_description(description.c_str()));
        const std::string categorie = Categorie(edt_.Semaines[std::size_t(semaine)].Nom);
        if (!categorie.empty())
            icalcomponent_add_property(ev.get(), icalproperty_new_categories(categorie.c_str()));
        ecrire_(Texte(ev.get()));
        ++resultat_.evenements;
    }

    void Terminer() { ecrire_(kFin); }

private:
    static constexpr const char* kFin = "END:VCALENDAR\r\n";

    static std::string Texte(icalcomponent* c)
    {
        char* t = icalcomponent_as_ical_string_r(c);
        std::string r = t ? t : "";
        std::free(t);
        return r;
    }

    void ChoisirFuseau(icalcomponent* cal)
    {
        utc_ = icaltimezone_get_utc_timezone();
        if (EstUtc(o_.fuseau)) return;
        fuseau_ =
            o_.fuseau.empty() ? nullptr : icaltimezone_get_builtin_timezone(o_.fuseau.c_str());
        icalcomponent* definition = fuseau_ ? icaltimezone_get_component(fuseau_) : nullptr;
        if (!definition) {
            // No name to give: each time is converted by the computer's own
            // rules and written in UTC, never a local time passed for UTC.
            fuseau_ = nullptr;
            local_ = true;
            resultat_.fuseauInconnu = LocalEstUtc();
            return;
        }
        // libical names its zones "/freeassociation.sourceforge.net/Europe/Paris";
        // calendars recognise the plain Olson name.
        icalcomponent* copie = icalcomponent_new_clone(definition);
        icalproperty* tzid = icalcomponent_get_first_property(copie, ICAL_TZID_PROPERTY);
        if (tzid)
            icalproperty_set_tzid(tzid, o_.fuseau.c_str());
        else
            icalcomponent_add_property(copie, icalproperty_new_tzid(o_.fuseau.c_str()));
        icalcomponent_add_component(cal, copie);
    }

    icalproperty* Heure(icalproperty* (*nouvelle)(struct icaltimetype), const Date& date,
                        int secondes) const
    {
        icaltimetype t = icaltime_null_time();
        t.year = date.annee;
        t.month = date.mois;
        t.day = date.jour;
        t.hour = secondes / 3600;
        t.minute = secondes / 60 % 60;
        t.second = secondes % 60;
        t.is_date = 0;
        if (local_) {
            std::tm tm{};
            tm.tm_year = t.year - 1900;
            tm.tm_mon = t.month - 1;
            tm.tm_mday = t.day;
            tm.tm_hour = t.hour;
            tm.tm_min = t.minute;
            tm.tm_sec = t.second;
            tm.tm_isdst = -1; // the rules say whether summer time applies
            const std::time_t instant = std::mktime(&tm);
            std::tm u{};
            ::gmtime_r(&instant, &u);
            t.year = u.tm_year + 1900;
            t.month = u.tm_mon + 1;
            t.day = u.tm_mday;
            t.hour = u.tm_hour;
            t.minute = u.tm_min;
            t.second = u.tm_sec;
        }
        if (!fuseau_) {
            t = icaltime_set_timezone(&t, utc_);
            return nouvelle(t);
        }
        t = icaltime_set_timezone(&t, fuseau_);
        icalproperty* p = nouvelle(t);
        icalproperty_add_parameter(p, icalparameter_new_tzid(o_.fuseau.c_str()));
        return p;
    }

    const REdt& edt_;
    const OptionsAgenda& o_;
    Agenda& resultat_;
    const std::function<void(std::string_view)>& ecrire_;
    icaltimezone* utc_ = nullptr;
    icaltimezone* fuseau_ = nullptr;
    bool local_ = false;
    icaltimetype maintenant_{};
    std::string titre_;
    std::string libelles_[4];
};

} // namespace

Agenda EcrireAgenda(const REdt& edt, const OptionsAgenda& o,
                    const std::function<void(std::string_view)>& ecrire)
{
    const std::string refus = VerifierOptions(edt, o);
    if (!refus.empty()) throw ErreurHoraku(refus);
    Agenda resultat;
    Ecrivain ecrivain(edt, o, resultat, ecrire);
    const long du = JourSerie(o.du), au = JourSerie(o.au);
    const int nbTypes = static_cast<int>(edt.Semaines.size());

    // A sequence whose end is not after its start is named once, not once
    // per date it would have had.
    std::vector<std::vector<std::vector<bool>>> ecartee(edt.Jours.size());
    for (const SemaineScolaire& semaine : SemainesScolaires(o, nbTypes)) {
        if (!semaine.compte) continue;
        const long lundi = JourSerie(semaine.lundi);
        for (int j = 0; j < static_cast<int>(edt.Jours.size()) && j < 7; ++j) {
            const RJour& jour = edt.Jours[std::size_t(j)];
            const long serie = lundi + j;
            if (jour.Affiche == 0 || serie < du || serie > au) continue;
            const Date date = DateDeSerie(serie);
            if (EnVacances(o, date) || std::size_t(semaine.type) >= jour.ParSemaine.size())
                continue;
            const auto& sequences = jour.ParSemaine[std::size_t(semaine.type)].Sequences;
            for (std::size_t i = 0; i < sequences.size(); ++i) {
                const RSequence& s = sequences[i];
                if (!AUnTexte(s)) continue;
                if (Secondes(s.Fin) <= Secondes(s.Debut)) {
                    auto& vus = ecartee[std::size_t(j)];
                    vus.resize(std::size_t(nbTypes));
                    auto& liste = vus[std::size_t(semaine.type)];
                    liste.resize(sequences.size());
                    if (!liste[i]) {
                        liste[i] = true;
                        resultat.ecartees.push_back({j, semaine.type, i});
                    }
                    continue;
                }
                ecrivain.Evenement(date, j, semaine.type, i, s);
            }
        }
    }
    ecrivain.Terminer();
    return resultat;
}

Agenda ConstruireAgenda(const REdt& edt, const OptionsAgenda& o)
{
    std::string texte;
    Agenda a = EcrireAgenda(edt, o, [&texte](std::string_view morceau) { texte += morceau; });
    a.texte = std::move(texte);
    return a;
}

Agenda ExporterAgenda(const REdt& edt, const OptionsAgenda& options, const std::string& chemin)
{
    // Refused options leave the file untouched, not even opened.
    const std::string refus = VerifierOptions(edt, options);
    if (!refus.empty()) throw ErreurHoraku(refus);
    Agenda a;
    EcrireFichierAtomique(
        chemin, [&](const EcrireMorceau& ecrire) { a = EcrireAgenda(edt, options, ecrire); });
    return a;
}

std::string FuseauDeLaMachine()
{
    const auto nom = [](std::string s) {
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' '))
            s.pop_back();
        if (!s.empty() && s.front() == ':') s.erase(0, 1);
        const std::size_t z = s.find("zoneinfo/");
        if (z != std::string::npos) s.erase(0, z + 9);
        return s;
    };
    if (const char* tz = std::getenv("TZ"); tz && *tz) return nom(tz);
    std::ifstream f("/etc/timezone");
    std::string ligne;
    if (f && std::getline(f, ligne) && !nom(ligne).empty()) return nom(ligne);
    std::error_code e;
    const std::filesystem::path cible = std::filesystem::read_symlink("/etc/localtime", e);
    if (!e) return nom(cible.string());
    return {};
}

std::string TexteEcartee(const REdt& edt, const SequenceEcartee& e)
{
    const RSequence& s =
        edt.Jours[std::size_t(e.jour)].ParSemaine[std::size_t(e.semaine)].Sequences[e.indice];
    return "Séquence laissée de côté, sa fin n'est pas après son début : " +
           Cp1252VersUtf8(edt.Jours[std::size_t(e.jour)].Nom) + ", " +
           Cp1252VersUtf8(edt.Semaines[std::size_t(e.semaine)].Nom) + ", ligne " +
           std::to_string(e.indice + 1) + " (" + HeureMinuteVersTexte(s.Debut) + " - " +
           HeureMinuteVersTexte(s.Fin) + ").";
}

} // namespace horaku
