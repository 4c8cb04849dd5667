// Times are fractions of a day (0 midnight, 0.5 noon); the whole part counts
// days from 30/12/1899.  Their texts follow fixed French regional settings so
// that a file reads back the same on any machine, whatever its locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace horaku
{

using TDateTime = double;

// hour × 60 + minute of the time of day, after rounding to the millisecond.
int Minutes(TDateTime t);
// (t × 1440 + d) / 1440.
TDateTime AjouterMinutes(TDateTime t, double d);
// The time of day alone, in [0, 1).
TDateTime HeureDuJour(TDateTime t);
TDateTime EncoderHeure(int heures, int minutes, int secondes = 0, int millisecondes = 0);

// "HH:MM:SS" below one day, "DD/MM/YYYY" for whole days, else both.
std::string TempsVersTexte(TDateTime t);
// The same text into a buffer of at least kTailleTexteTemps bytes, without a
// terminating zero; answers its length.
inline constexpr std::size_t kTailleTexteTemps = 20;
std::size_t TempsVersTampon(TDateTime t, char* tampon);
// "hh:nn", the hour-label form.
std::string HeureMinuteVersTexte(TDateTime t);
// Accepts the three written forms and one-digit hours ("8:30", "8:30:00").
std::optional<TDateTime> TexteVersTemps(std::string_view texte);

// Reads the times of a file one after another, as TexteVersTemps does: a
// sequence mostly starts when the one before ends, and a file's times share
// their date, so the same text, or the same date, is not worked out again.
class LecteurTemps
{
public:
    // False when TexteVersTemps would answer nothing; `t` is then unchanged.
    // No optional here: it costs a stall on every time of a large file.
    bool Lire(std::string_view texte, TDateTime& t);

private:
    char texte_[kTailleTexteTemps] = {};
    std::size_t taille_ = 0; // 0: nothing remembered
    TDateTime valeur_ = 0;
    char date_[10] = {};
    bool dateConnue_ = false;
    std::int64_t jours_ = 0;
};

// A time of day as typed into a time field, key by key: digits, and a ":"
// that ends the hours.  "0930", "9:30" and "930" are 09:30 once complete.
// The hours are one digit when it cannot begin a larger hour (3 to 9) or a
// ":" follows it, else two; the minutes are the next one or two digits.
struct HeureTapee {
    int heures = -1;       // -1 while no hour is known
    int minutes = 0;       // as far as typed (0 before any digit)
    bool complete = false; // hours and both minute digits typed, valid or not
    std::string refus;     // the French reason, when it is no time of day
};
HeureTapee LireHeureTapee(std::string_view tape);

} // namespace horaku
