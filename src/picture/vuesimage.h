// The school views as pictures: in French collation order, with the clash
// mark on their boxes when asked, drawn by the same layout and Peindre as any
// timetable, and exported all at once (one PDF, or one file per view).
#pragma once

#include "dessin.h"
#include "vues.h"

#include <string>
#include <vector>

class QPainter;

namespace horaku
{

inline constexpr const char* kMessageAucuneVue = "Aucune valeur dans ce groupe : aucune vue.";

// By value, French collation order (letter case and accents second).
void TrierVues(std::vector<Vue>& vues);

// The mark of the data-entry grid's overlapping rows: a red corner in the
// box's top right, over the box's own colours.
void MarquerConflits(QPainter& p, const DescriptionImage& d, const std::vector<Conflit>& conflits);

// The raster picture of a view, its clashing boxes marked when `marques`.
ResultatDessin RedessinerVue(Vue& vue, bool marques);

// Writes every view: "pdf" as one document at `sortie`, one page per view in
// the order given; "png", "svg", "gif", "bmp" or "edt" as one file per view
// in the folder `sortie` (made when missing), named by NomsFichiersVues.
// Answers the files written.  Throws ErreurHoraku.
std::vector<std::string> ExporterVues(std::vector<Vue>& vues, const std::string& format,
                                      const std::string& sortie, bool marques,
                                      const std::string& titreCp1252);

} // namespace horaku
