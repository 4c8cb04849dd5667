// A school's timetables turned around: from many .edt files, one timetable
// per room, class or teacher (a value of one data group), and the clashes
// where that value is booked twice at once.  A view is an ordinary REdt, so
// the layout, the drawing, the exports and the file writer take it as it is;
// the dialog and horaku-cli only choose the files and show the results.
#pragma once

#include "classesedt.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace horaku
{

// The files of a school as read: the good ones in the order given, and one
// message per file that could not be read, "chemin : cause".
struct Etablissement {
    std::vector<std::string> chemins;
    std::vector<REdt> edts;
    std::vector<std::string> erreurs;
};

Etablissement LireEtablissement(const std::vector<std::string>& chemins);

// Where a sequence of a view comes from.
struct OrigineSequence {
    std::size_t fichier = 0; // position in the list of timetables given
    int jour = 0;
    int semaine = 0; // position in that file's Semaines
    std::size_t sequence = 0;
};

struct Vue {
    std::string valeur; // trimmed, as first written (Windows-1252)
    REdt edt;           // titled with the value, never saved
    // [jour][semaine][position in the view's list]
    std::vector<std::vector<std::vector<OrigineSequence>>> origines;
    std::size_t sequences = 0;
};

// One clash: two sequences of one view, same day and week type, whose spans
// intersect (touching ends do not).  a < b are positions in the view's list.
struct Conflit {
    std::size_t vue = 0;
    int jour = 0;
    int semaine = 0; // position in the view's Semaines
    std::size_t a = 0;
    std::size_t b = 0;
    TDateTime debut = 0; // the common span
    TDateTime fin = 0;
};

// The grouping key of a value: blanks trimmed at both ends, letters in lower
// case (Windows-1252 accented letters included).
std::string CleValeur(std::string_view texte);
// The value trimmed of its blanks, letter case kept.
std::string_view ValeurNette(std::string_view texte);

// One view per distinct non-empty value of group `groupe` (0 to 3), in the
// order first met.  Week types are matched by name, letter case ignored, in
// the order first met; the shown days are the union of the files' shown
// days; only the sequences of a file's shown days are taken.  Fonts, colours,
// hour width and display options come from `gabarit`; the title is shown.
std::vector<Vue> ConstruireVues(const std::vector<REdt>& edts, int groupe, const REdt& gabarit);

// Every clash of every view, each pair once, by view then day, week type, a, b.
std::vector<Conflit> Conflits(const std::vector<Vue>& vues);
// The clashes of one view (its `vue` field left 0).
std::vector<Conflit> ConflitsVue(const Vue& vue);

// File names for the views' values (UTF-8, without extension): characters
// a file name cannot hold become "_", and names that would meet on a folder
// that ignores letter case get " (2)", " (3)"… so that no view overwrites
// another.
std::vector<std::string> NomsFichiersVues(const std::vector<Vue>& vues);

} // namespace horaku
