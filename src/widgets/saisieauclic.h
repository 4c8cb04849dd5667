// A time or date field that one click makes ready for typing: Qt leaves the
// cursor where the click fell, often past the last section, where digits are
// silently ignored.  After a click the first section (the hours, the day) is
// selected, so the digits typed next land there, as in the sequence grid.
#pragma once

class QDateTimeEdit;

namespace horaku
{

// The behaviour lives as long as the field.
void SaisieAuClic(QDateTimeEdit* champ);

} // namespace horaku
