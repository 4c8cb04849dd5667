// The commands of horaku-cli.  Each answers the process's exit code and
// throws ErreurHoraku with the French message the program would show.
#pragma once

#include <memory>
#include <ostream>
#include <string>

class QGuiApplication;

namespace horaku
{
class REdt;
struct RSequence;
} // namespace horaku

namespace horaku::cli
{

int Nouveau(const char* sortie);
int Verifier(const char* entree, std::ostream& sortie);
int Reecrire(const char* entree, const char* sortie);
int Image(int argc, char** argv);
int Geometrie(int argc, char** argv, std::ostream& sortie);
// Wrong arguments are told on `erreurs` (one line) and answer 2.
int Calendrier(int argc, char** argv, std::ostream& erreurs);
int ChevauchementsJson(const char* entree, std::ostream& sortie);
// The school views and their clashes; wrong arguments are told on `erreurs`
// (one line) and answer 2, unreadable files are each told there and answer 1.
int Vues(int argc, char** argv, std::ostream& erreurs);
int ConflitsJson(int argc, char** argv, std::ostream& sortie, std::ostream& erreurs);

class Json;
// A sequence's "debut", "fin" and "textes" (UTF-8), in the object being written.
void ChampsSequence(Json& j, const RSequence& s);

// The offscreen application the picture commands draw with.
std::unique_ptr<QGuiApplication> Application(int& argc, char** argv);

// Reads a timetable as the program's Open does; a refused version throws.
void LireOuEchouer(REdt& edt, const char* chemin);

// A message as the standard error shows it: on one line, its control
// characters visible, so that no file's text can drive the terminal.
std::string LigneVisible(const std::string& message);

} // namespace horaku::cli
