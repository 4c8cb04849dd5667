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
    // Set on the last pair listed for a sequence whose list was cut: that
    // sequence's position, and how many more sequences start while it runs.
    std::size_t autres = 0;
    std::size_t de = 0;
};

// Each sequence is paired with the sequences that start while it runs (after
// it in the order of their starts, the list order breaking ties), the first
// kChevauchementsParSequence of them: a day of thousands of sequences that
// all meet gives a bounded list, not every one of its pairs.
inline constexpr std::size_t kChevauchementsParSequence = 10;

// Pairs of one list, ordered by (a, b).  Spans touching end to start do not
// intersect; a sequence whose end is not after its start has no span.
std::vector<Chevauchement>
ChevauchementsListe(const std::vector<RSequence>& sequences,
                    std::size_t parSequence = kChevauchementsParSequence);
// Every day (shown or not) and every week type, in that order.
std::vector<Chevauchement> Chevauchements(const REdt& edt);

} // namespace horaku
