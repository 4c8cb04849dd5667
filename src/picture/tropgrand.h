// Why a picture is too large to draw, so that the message names what the
// user can change: the hour width, the title, the number of week types, the
// margin, the inner space of the boxes or the fonts.
#pragma once

#include "disposition.h"

#include <string>

namespace horaku
{

enum class CauseTaille { LargeurHeure, Titre, Semaines, Marge, Retrait, Polices };

// `d` is the layout that Redessiner refused (its sizes, or only its
// surface bounds when the numbers were beyond any picture); `edt` holds the
// measures that layout computed.
CauseTaille CauseTropGrand(const REdt& edt, const DescriptionImage& d);
// The message of that cause; the hour width keeps kMessageTropGrand.
const char* MessageTropGrand(CauseTaille cause);
const char* MessageTropGrand(const REdt& edt, const DescriptionImage& d);

// Why a redraw or a vector export drew nothing: no sequence with a text or a
// zero hour width, or else a negative margin or inner space that leaves the
// picture no room, named with its value.
std::string MessageRien(REdt& edt);

} // namespace horaku
