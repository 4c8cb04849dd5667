// Errors of the model travel as exceptions carrying the exact French text the
// user will read; the model itself never shows anything.
#pragma once

#include <cerrno>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace horaku
{

// what() is a C string: a zero byte in the text would cut the message short
// where it is shown, and other control characters would drive the terminal
// that shows it.  Each one is carried visible (see ControlesVisibles); a line
// break stays, as the messages that name a cause put it on a second line.
class ErreurHoraku : public std::runtime_error
{
public:
    explicit ErreurHoraku(const std::string& message);
};

// The runtime's own messages, with the offending value in place.  Values that
// come from a file are Windows-1252 bytes: they are converted for display.
ErreurHoraku ErreurEntier(std::string_view texteCp1252);
ErreurHoraku ErreurDate(std::string_view texteCp1252);
ErreurHoraku ErreurIndice(long long indice);
ErreurHoraku ErreurOuvrir(const std::string& chemin);
// "Impossible de créer le fichier X", then the cause on a second line.
ErreurHoraku ErreurCreer(const std::string& chemin, const std::string& cause);
// Without a number, the cause is the errno of the call that just failed.
ErreurHoraku ErreurCreer(const std::string& chemin, int numeroErreur = errno);
// A file far larger than any timetable, refused before it is read.
ErreurHoraku ErreurTropGrand(const std::string& chemin);

// A text for a message box or a terminal: every control character below 0x20
// and DEL become their visible symbols ("␀", "␛", "␡", U+2400 to U+2421), and
// the C1 controls (U+0080 to U+009F, which a Windows-1252 text can carry)
// become "�", so that a hostile name or line can neither clear nor retitle a
// terminal.  `garderSautsDeLigne` keeps LF, the line break of our own texts.
std::string ControlesVisibles(std::string_view texteUtf8, bool garderSautsDeLigne = false);

// The cause of a failed system call in French, one short sentence
// ("Disque plein."); unknown numbers give "Erreur système N.".
std::string CauseSysteme(int numeroErreur);
inline constexpr const char* kCauseLectureSeule = "Fichier en lecture seule.";
inline constexpr const char* kCauseNomVide = "Aucun nom de fichier.";
inline constexpr const char* kCauseDossier = "Le nom désigne un dossier.";
inline constexpr const char* kCausePasFichier = "Le nom ne désigne pas un fichier ordinaire.";
inline constexpr const char* kCauseLienCasse =
    "Le lien symbolique mène à un fichier qui n'existe pas.";
inline constexpr const char* kCauseSortieEntree =
    "C'est le fichier lu : choisissez un autre nom pour le fichier écrit.";
inline constexpr const char* kCauseNonRetabli = "L'ancien contenu n'a pas pu être rétabli.";

// Largest file the readers accept.  The largest plausible timetable — 52 week
// types × 7 days × 200 sequences, each 6 lines of about 30 bytes — is about
// 11 MB; the bound leaves six times that and keeps a hostile file from
// filling the memory.
inline constexpr std::uint64_t kTailleMaxFichier = 64ull << 20;

} // namespace horaku
