// The few rules about file names that the file commands, the choosers, the
// recent files and the window title share, kept apart from the windows so
// that tests call them directly.
#pragma once

#include <QString>
#include <QStringList>

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

inline constexpr int kRecentsMax = 8;
// `recents` with `chemin` put first (once, whatever the spelling of its
// folder) and cut to kRecentsMax names.
QStringList AjouterRecent(QStringList recents, const QString& chemin);
// The folder a chooser opens in: `dernier`, the folder last used in it; else
// the folder of the current timetable `fichierCourant`; else the user's
// documents folder, else the home folder.  A folder that is gone is skipped,
// and so, for a chooser that writes (`ecriture`), is one the user cannot
// write into: nothing can be saved in /usr/bin.
QString DossierDepart(const QString& dernier, const QString& fichierCourant, bool ecriture);

} // namespace horaku
