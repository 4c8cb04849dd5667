// The picture as a vector document, PDF or SVG: the same layout painted by
// the same Peindre as the raster picture, one picture pixel = 0.75 pt (96 per
// inch), the page being the picture plus its one-pixel white margin.  Texts
// stay texts (fonts embedded in the PDF), so they print sharp at any scale and
// can be searched and copied.
#pragma once

#include "classesedt.h"

#include <functional>
#include <string>
#include <vector>

class QPainter;

namespace horaku
{

enum class FormatVecteur { Pdf, Svg };

struct DocumentVecteur {
    bool dessine = false; // false: nothing to draw, no bytes
    int largeur = 0;      // the picture's size in pixels, margin not included
    int hauteur = 0;
    std::string octets;
};

// Throws ErreurHoraku(MessageTropGrand(...)), naming the cause, when the
// layout's numbers are beyond any picture.  The raster limit on the pixel count does not apply: a
// vector page holds no pixels, its size costs nothing.
// `surcouche`, when set, paints over the picture (the clash marks of a view).
struct DescriptionImage;
using Surcouche = std::function<void(QPainter&, const DescriptionImage&)>;
DocumentVecteur DessinerVecteur(REdt& edt, FormatVecteur format, const Surcouche& surcouche = {});
// One PDF, one page per timetable that has something to draw, each page the
// size of its picture; `surcouches` pairs with `edts` (shorter: none).  The
// size given back is the largest page's.
DocumentVecteur DessinerPdfPages(const std::vector<REdt*>& edts,
                                 const std::vector<Surcouche>& surcouches,
                                 const std::string& titreCp1252);

// The generator's SVG with every clip mark turned into a clip path around the
// texts it frames, the characters XML cannot hold turned into blanks, and
// `titre` (UTF-8) as its title.
std::string SvgAvecCoupes(const std::string& svg, const std::string& titre);

} // namespace horaku
