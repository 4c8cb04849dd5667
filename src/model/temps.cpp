#include "temps.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace horaku
{

namespace
{

constexpr std::int64_t kMsParJour = 86400000;

// Days since 01/01/1970 of a civil date (proleptic Gregorian calendar).
constexpr std::int64_t JoursDepuisCivil(std::int64_t a, unsigned m, unsigned j)
{
    a -= m <= 2;
    const std::int64_t ere = (a >= 0 ? a : a - 399) / 400;
    const auto ae = static_cast<unsigned>(a - ere * 400);
    const unsigned jda = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + j - 1;
    const unsigned jde = ae * 365 + ae / 4 - ae / 100 + jda;
    return ere * 146097 + static_cast<std::int64_t>(jde) - 719468;
}

void CivilDepuisJours(std::int64_t z, std::int64_t& a, unsigned& m, unsigned& j)
{
    z += 719468;
    const std::int64_t ere = (z >= 0 ? z : z - 146096) / 146097;
    const auto jde = static_cast<unsigned>(z - ere * 146097);
    const unsigned ae = (jde - jde / 1460 + jde / 36524 - jde / 146096) / 365;
    const unsigned jda = jde - (365 * ae + ae / 4 - ae / 100);
    const unsigned mp = (5 * jda + 2) / 153;
    j = jda - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    a = static_cast<std::int64_t>(ae) + ere * 400 + (m <= 2);
}

constexpr std::int64_t kJour0 = JoursDepuisCivil(1899, 12, 30);
// The dates the reader accepts: 01/01/0001 to 31/12/9999.
constexpr std::int64_t kPremierJour = JoursDepuisCivil(1, 1, 1) - kJour0;
constexpr std::int64_t kDernierJour = JoursDepuisCivil(9999, 12, 31) - kJour0;

// Total milliseconds, rounded half to even as the platform's conversion does.
// A value before day 0 counts its time of day away from zero (-1.25 is
// 29/12/1899 06:00), so the days and the time of day are taken apart here.
// Values beyond the dates the reader accepts are brought back inside them,
// so that whatever is written reads back.
void DecomposerTemps(TDateTime t, std::int64_t& jours, std::int64_t& heure)
{
    jours = 0;
    heure = 0;
    if (!std::isfinite(t)) return;
    // Bounded first so that the conversion to an integer stays defined.
    const double borne = std::min(std::max(t, static_cast<double>(kPremierJour - 2)),
                                  static_cast<double>(kDernierJour + 2));
    const auto total =
        static_cast<std::int64_t>(std::nearbyint(borne * static_cast<double>(kMsParJour)));
    jours = total / kMsParJour;
    heure = (total < 0 ? -total : total) % kMsParJour;
    if (jours > kDernierJour || jours < kPremierJour) {
        jours = jours > 0 ? kDernierJour : kPremierJour;
        heure = kMsParJour - 1;
    }
}

bool LireNombre(std::string_view& s, int minChiffres, int maxChiffres, int& valeur)
{
    int n = 0;
    valeur = 0;
    while (n < maxChiffres && n < static_cast<int>(s.size()) && s[n] >= '0' && s[n] <= '9') {
        valeur = valeur * 10 + (s[n] - '0');
        ++n;
    }
    if (n < minChiffres) return false;
    s.remove_prefix(static_cast<std::size_t>(n));
    return true;
}

bool Consommer(std::string_view& s, char c)
{
    if (s.empty() || s.front() != c) return false;
    s.remove_prefix(1);
    return true;
}

bool LireHeure(std::string_view& s, std::int64_t& ms)
{
    int h = 0, mi = 0, se = 0;
    if (!LireNombre(s, 1, 2, h) || !Consommer(s, ':') || !LireNombre(s, 1, 2, mi)) return false;
    if (Consommer(s, ':') && !LireNombre(s, 1, 2, se)) return false;
    if (h > 23 || mi > 59 || se > 59) return false;
    ms = (static_cast<std::int64_t>(h) * 3600 + mi * 60 + se) * 1000;
    return true;
}

bool LireDate(std::string_view& s, std::int64_t& jours)
{
    int j = 0, m = 0, a = 0;
    if (!LireNombre(s, 1, 2, j) || !Consommer(s, '/') || !LireNombre(s, 1, 2, m) ||
        !Consommer(s, '/') || !LireNombre(s, 4, 4, a))
        return false;
    if (a < 1 || m < 1 || m > 12 || j < 1) return false;
    static const int kJoursMois[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bissextile = (a % 4 == 0 && a % 100 != 0) || a % 400 == 0;
    const int max = kJoursMois[m - 1] + (m == 2 && bissextile ? 1 : 0);
    if (j > max) return false;
    jours = JoursDepuisCivil(a, static_cast<unsigned>(m), static_cast<unsigned>(j)) - kJour0;
    return true;
}

std::string_view SansBlancs(std::string_view s)
{
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

} // namespace

int Minutes(TDateTime t)
{
    std::int64_t jours = 0, heure = 0;
    DecomposerTemps(t, jours, heure);
    return static_cast<int>(heure / 60000);
}

TDateTime AjouterMinutes(TDateTime t, double d)
{
    return (t * 1440.0 + d) / 1440.0;
}

TDateTime HeureDuJour(TDateTime t)
{
    // Rounded to the millisecond like every conversion, so that a value a
    // hair below midnight does not pass for 23:59:59.999... and then be
    // written as the next day.
    std::int64_t jours = 0, heure = 0;
    DecomposerTemps(t, jours, heure);
    return static_cast<double>(heure) / static_cast<double>(kMsParJour);
}

TDateTime EncoderHeure(int heures, int minutes, int secondes, int millisecondes)
{
    return (heures * 3600000.0 + minutes * 60000.0 + secondes * 1000.0 + millisecondes) /
           static_cast<double>(kMsParJour);
}

namespace
{

constexpr char kChiffres[] = "00010203040506070809"
                             "10111213141516171819"
                             "20212223242526272829"
                             "30313233343536373839"
                             "40414243444546474849"
                             "50515253545556575859"
                             "60616263646566676869"
                             "70717273747576777879"
                             "80818283848586878889"
                             "90919293949596979899";

char* DeuxChiffres(char* p, unsigned v)
{
    const char* const c = kChiffres + 2 * (v % 100);
    p[0] = c[0];
    p[1] = c[1];
    return p + 2;
}

} // namespace

std::size_t TempsVersTampon(TDateTime t, char* tampon)
{
    // Written by hand: the writer formats two times per sequence and a
    // general formatting routine would cost most of the writing time.
    std::int64_t jours = 0, heure = 0;
    DecomposerTemps(t, jours, heure);
    char* p = tampon;
    const bool date = jours != 0;
    const bool temps = jours == 0 || heure != 0 || jours < 0;
    if (date) {
        std::int64_t a = 0;
        unsigned m = 0, j = 0;
        CivilDepuisJours(kJour0 + jours, a, m, j);
        p = DeuxChiffres(p, j);
        *p++ = '/';
        p = DeuxChiffres(p, m);
        *p++ = '/';
        p = DeuxChiffres(p, static_cast<unsigned>(a / 100));
        p = DeuxChiffres(p, static_cast<unsigned>(a % 100));
        if (temps) *p++ = ' ';
    }
    if (temps) {
        // Below one day: 32-bit arithmetic is enough.
        const auto secondes = static_cast<std::uint32_t>(heure) / 1000u;
        p = DeuxChiffres(p, secondes / 3600);
        *p++ = ':';
        p = DeuxChiffres(p, secondes / 60 % 60);
        *p++ = ':';
        p = DeuxChiffres(p, secondes % 60);
    }
    return static_cast<std::size_t>(p - tampon);
}

std::string TempsVersTexte(TDateTime t)
{
    char tampon[kTailleTexteTemps];
    return std::string(tampon, TempsVersTampon(t, tampon));
}

std::string HeureMinuteVersTexte(TDateTime t)
{
    const int m = Minutes(t);
    char tampon[8];
    std::snprintf(tampon, sizeof tampon, "%02d:%02d", m / 60 % 100, m % 60);
    return tampon;
}

namespace
{

enum class Fixe { Non, Faux, Oui };

// "HH:MM:SS" exactly, the form the writer gives times of day.
Fixe HeureFixe(std::string_view texte, std::int64_t& ms)
{
    if (texte.size() != 8 || texte[2] != ':' || texte[5] != ':') return Fixe::Non;
    const auto chiffre = [&texte](std::size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(texte[i]) - '0');
    };
    const unsigned c[6] = {chiffre(0), chiffre(1), chiffre(3), chiffre(4), chiffre(6), chiffre(7)};
    if (c[0] > 9 || c[1] > 9 || c[2] > 9 || c[3] > 9 || c[4] > 9 || c[5] > 9) return Fixe::Non;
    const unsigned h = c[0] * 10 + c[1], mi = c[2] * 10 + c[3], se = c[4] * 10 + c[5];
    if (h > 23 || mi > 59 || se > 59) return Fixe::Faux;
    ms = static_cast<std::int64_t>(h * 3600 + mi * 60 + se) * 1000;
    return Fixe::Oui;
}

// "DD/MM/YYYY" exactly, a valid date; anything else is left to LireDate.
bool DateFixe(std::string_view t, std::int64_t& jours)
{
    if (t.size() != 10 || t[2] != '/' || t[5] != '/') return false;
    unsigned c[8];
    const std::size_t places[8] = {0, 1, 3, 4, 6, 7, 8, 9};
    for (std::size_t i = 0; i < 8; ++i) {
        c[i] = static_cast<unsigned>(static_cast<unsigned char>(t[places[i]]) - '0');
        if (c[i] > 9) return false;
    }
    const unsigned j = c[0] * 10 + c[1], m = c[2] * 10 + c[3];
    const unsigned a = ((c[4] * 10 + c[5]) * 10 + c[6]) * 10 + c[7];
    if (a < 1 || m < 1 || m > 12 || j < 1) return false;
    static const unsigned kJoursMois[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool bissextile = (a % 4 == 0 && a % 100 != 0) || a % 400 == 0;
    if (j > kJoursMois[m - 1] + (m == 2 && bissextile ? 1 : 0)) return false;
    jours = JoursDepuisCivil(a, m, j) - kJour0;
    return true;
}

TDateTime Assembler(std::int64_t jours, std::int64_t ms)
{
    const double fraction = static_cast<double>(ms) / static_cast<double>(kMsParJour);
    const auto j = static_cast<double>(jours);
    // Before day 0 the time counts away from zero, as the platform encodes it.
    return jours >= 0 ? j + fraction : j - fraction;
}

} // namespace

std::optional<TDateTime> TexteVersTemps(std::string_view texte)
{
    // The forms the writer gives, "HH:MM:SS" and "DD/MM/YYYY HH:MM:SS", read
    // directly: a large file holds hundreds of thousands of them.
    std::int64_t ms = 0;
    switch (HeureFixe(texte, ms)) {
    case Fixe::Oui:
        return Assembler(0, ms);
    case Fixe::Faux:
        return std::nullopt;
    case Fixe::Non:
        break;
    }
    if (texte.size() == 19 && texte[2] == '/' && texte[5] == '/' && texte[10] == ' ') {
        std::int64_t jours = 0;
        if (DateFixe(texte.substr(0, 10), jours)) {
            switch (HeureFixe(texte.substr(11), ms)) {
            case Fixe::Oui:
                return Assembler(jours, ms);
            case Fixe::Faux:
                return std::nullopt;
            case Fixe::Non:
                break;
            }
        }
    }
    std::string_view s = SansBlancs(texte);
    if (s.empty()) return std::nullopt;
    std::int64_t jours = 0;
    ms = 0;
    std::string_view essai = s;
    if (LireDate(essai, jours)) {
        s = essai;
        if (!s.empty()) {
            if (!Consommer(s, ' ')) return std::nullopt;
            s = SansBlancs(s);
            if (!LireHeure(s, ms)) return std::nullopt;
        }
    } else if (!LireHeure(s, ms)) {
        return std::nullopt;
    }
    if (!s.empty()) return std::nullopt;
    return Assembler(jours, ms);
}

bool LecteurTemps::Lire(std::string_view texte, TDateTime& t)
{
    if (taille_ != 0 && texte.size() == taille_ &&
        std::memcmp(texte.data(), texte_, taille_) == 0) {
        t = valeur_;
        return true;
    }
    const auto lent = [&texte, &t] {
        const auto r = TexteVersTemps(texte);
        if (r) t = *r;
        return r.has_value();
    };
    if (texte.size() == 19 && texte[10] == ' ' && dateConnue_ &&
        std::memcmp(texte.data(), date_, sizeof date_) == 0) {
        std::int64_t ms = 0;
        switch (HeureFixe(texte.substr(11), ms)) {
        case Fixe::Oui:
            t = Assembler(jours_, ms);
            break;
        case Fixe::Faux:
            return false;
        case Fixe::Non:
            if (!lent()) return false;
            break;
        }
    } else {
        if (!lent()) return false;
        std::int64_t jours = 0;
        if (texte.size() == 19 && texte[10] == ' ' && DateFixe(texte.substr(0, 10), jours)) {
            std::memcpy(date_, texte.data(), sizeof date_);
            dateConnue_ = true;
            jours_ = jours;
        }
    }
    taille_ = texte.size() <= sizeof texte_ ? texte.size() : 0;
    if (taille_ != 0) std::memcpy(texte_, texte.data(), taille_);
    valeur_ = t;
    return true;
}

HeureTapee LireHeureTapee(std::string_view tape)
{
    HeureTapee h;
    std::string heures, minutes;
    bool deuxPoints = false;
    for (const char c : tape) {
        if (c == ':') {
            if (deuxPoints || heures.empty()) break;
            deuxPoints = true;
            continue;
        }
        if (c < '0' || c > '9') break;
        const bool heuresFinies =
            deuxPoints || heures.size() == 2 || (heures.size() == 1 && heures[0] > '2');
        if (!heuresFinies)
            heures += c;
        else if (minutes.size() < 2)
            minutes += c;
    }
    if (heures.empty()) return h;
    const int hh = std::stoi(heures);
    const int mm = minutes.empty() ? 0 : std::stoi(minutes);
    const auto deux = [](int n) {
        return std::string(1, static_cast<char>('0' + n / 10 % 10)) +
               static_cast<char>('0' + n % 10);
    };
    h.complete = minutes.size() == 2;
    if (hh > 23 || (minutes.size() == 2 && mm > 59)) {
        h.refus = "Heure impossible : " + deux(hh) + ":" + (minutes.empty() ? "00" : minutes) +
                  " (heures de 00 à 23, minutes de 00 à 59).";
        return h;
    }
    h.heures = hh;
    h.minutes = mm;
    return h;
}

} // namespace horaku
