// Writing the picture to a file, chosen by the name's extension (any letter
// case): ".gif" (white transparent), ".bmp" (24-bit), ".png", and the vector
// ".pdf" and ".svg" drawn again from the timetable.  Writes are atomic;
// failures throw ErreurHoraku with the message to show.
#pragma once

#include "classesedt.h"

#include <QImage>

#include <string>

namespace horaku
{

inline constexpr const char* kMessageFormatInconnu =
    "Format d'image inconnu : choisissez un nom en .gif, .bmp, .png, .pdf ou .svg.";

inline constexpr const char* kMessageGifTropGrand =
    "L'image est trop grande pour le format GIF (65 535 pixels de côté au plus) : "
    "choisissez un nom en .bmp ou .png.";

// Path in the platform's encoding (UTF-8 here).
void ExporterImage(const QImage& image, const std::string& chemin);

// True for ".pdf" and ".svg", any letter case.
bool ExtensionVectorielle(const std::string& chemin);
// The PDF or SVG of `edt`; false, and nothing written, when there is nothing
// to draw.
bool ExporterVecteur(REdt& edt, const std::string& chemin);
// Any of the five formats: the raster ones write `image` as the last redraw
// left it, the vector ones draw `edt` again.
void ExporterImage(REdt& edt, const QImage& image, const std::string& chemin);

} // namespace horaku
