// Writing the picture to a file, chosen by the name's extension (any letter
// case): ".gif" (white transparent), ".bmp" (24-bit), ".png".  Writes are
// atomic; failures throw ErreurHoraku with the message to show.
#pragma once

#include <QImage>

#include <string>

namespace horaku {

inline constexpr const char* kMessageFormatInconnu =
    "Format d'image inconnu : choisissez un nom en .gif, .bmp ou .png.";

inline constexpr const char* kMessageGifTropGrand =
    "L'image est trop grande pour le format GIF (65 535 pixels de côté au plus) : "
    "choisissez un nom en .bmp ou .png.";

// Path in the platform's encoding (UTF-8 here).
void ExporterImage(const QImage& image, const std::string& chemin);

} // namespace horaku
