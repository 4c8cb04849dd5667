// The few rules about file names that the file commands and the window title
// share, kept apart from the windows so that tests call them directly.
#pragma once

#include <QString>

#include <string>

namespace horaku
{

// From the last "." of the name part (after the last "/") to the end, the dot
// included; empty when the name part has no dot.
QString ExtensionDe(const QString& chemin);
// The extension replaced by `extension` (with its dot), or appended.
QString RemplacerExtension(const QString& chemin, const QString& extension);
// Name and extension, without the folder.
QString NomSansDossier(const QString& chemin);
// "Horaku - plan.edt"; "Horaku - " for a never-saved timetable.
QString TitreAvecFichier(const std::string& fichier);

} // namespace horaku
