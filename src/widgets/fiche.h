// The font every window of the program is laid out for: the control places
// were made for MS Sans Serif 8 pt, and Liberation Sans has Arial's widths
// where MS Sans Serif is missing.  One definition, so that the panel and every
// dialog measure their texts alike.
#pragma once

#include <QFont>

namespace horaku
{

QFont PoliceFiche();

} // namespace horaku
