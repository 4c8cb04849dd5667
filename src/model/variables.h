// Program-wide values and the configuration record.  The configuration file
// "Horaku.cfg" lives in the process's current folder; reading returns the
// message to show instead of showing it, the application layer shows it.
#pragma once

#include <string>
#include <string_view>

namespace horaku
{

inline constexpr const char* kNomProduit = "Horaku";
inline constexpr const char* kTexteVersion = "Horaku 2.0a";
inline constexpr const char* kTexteEntete = "## Ne pas modifier ce fichier ! ##";
inline constexpr const char* kNomFichierConfig = "Horaku.cfg";
// Windows-1252 bytes, as the timetable stores its texts.
inline constexpr const char* kNomsJours[7] = {"Lundi",    "Mardi",  "Mercredi", "Jeudi",
                                              "Vendredi", "Samedi", "Dimanche"};
// Line 2 of the configuration file: 17 opaque bytes, no line break, no zero.
inline constexpr char kSignatureConfig[] = "\xAB Horaku \xB7 cfg2 \xBB";
static_assert(sizeof(kSignatureConfig) - 1 == 17, "la signature compte 17 octets");

inline constexpr const char* kMessageConfigAbsente =
    "Fichier de configuration absent.\nConfiguration par défaut.";
inline constexpr const char* kMessageConfigVersion =
    "Fichier Horaku : version incorrecte.\nConfiguration par défaut.";
inline constexpr const char* kMessageVersion = "Fichier Horaku : version incorrecte.";

struct RConfig {
    std::string EdtDefaut; // native path of the default timetable, empty for none
    bool ConfigModifiee = false;
    std::string ReserveConfig;
};

// What reading the configuration asks the caller to show.
struct LectureConfig {
    std::string message;        // one of the two messages above, or empty
    std::string erreurEcriture; // set when rewriting the file failed
};

// Reads "Horaku.cfg" of the current folder.  A missing or foreign file gives
// its message and is rewritten at once; a short file throws the list-index
// error and leaves the record and the file untouched.
LectureConfig LireConfig(RConfig& config);
// Writes the four lines through the safe file write, then clears
// ConfigModifiee.  Throws ErreurHoraku ("Impossible de créer le fichier
// Horaku.cfg" and the cause on a second line) on failure.
void EcrireConfig(RConfig& config);
// The file's bytes without the file.  True, with EdtDefaut set, when the two
// first lines are this program's; false for a foreign file; a short file
// throws the list-index error and leaves the record untouched.
bool LireTexteConfig(RConfig& config, std::string_view contenu);
// The four lines that EcrireConfig writes.
std::string TexteConfig(const RConfig& config);

// Folder of the running program, with its trailing separator.
extern std::string DossierProgramme;

} // namespace horaku
