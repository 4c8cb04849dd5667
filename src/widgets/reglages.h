// The program's own settings between runs (recent files, choosers' folders,
// the panel's place, the calendar and school-view choices), kept by Qt in
// the user's configuration folder.  The default timetable stays in
// Horaku.cfg.
#pragma once

#include <QSettings>

namespace horaku
{

inline QSettings Reglages()
{
    return QSettings(QStringLiteral("Horaku"), QStringLiteral("Horaku"));
}

} // namespace horaku
