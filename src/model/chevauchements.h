// Sequences of one day and week type whose time spans intersect: the picture
// draws the later box over the earlier one, so the editors and horaku-cli
// name them.  Only sequences with a text count, as only they are drawn.
#pragma once

#include "classesedt.h"

#include <cstddef>
#include <vector>

namespace horaku
{

struct Chevauchement {
    int jour = 0;
    int semaine = 0;
    std::size_t a = 0; // a < b, positions in the sequence list
    std::size_t b = 0;
    TDateTime debut = 0; // the common span
    TDateTime fin = 0;
};

// Pairs of one list, ordered by (a, b).  Spans touching end to start do not
// intersect; a sequence whose end is not after its start has no span.
std::vector<Chevauchement> ChevauchementsListe(const std::vector<RSequence>& sequences);
// Every day (shown or not) and every week type, in that order.
std::vector<Chevauchement> Chevauchements(const REdt& edt);

} // namespace horaku
