// The commands of horaku-cli.  Each answers the process's exit code and
// throws ErreurHoraku with the French message the program would show.
#pragma once

#include <ostream>
#include <string>

namespace horaku
{
class REdt;
}

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

// Reads a timetable as the program's Open does; a refused version throws.
void LireOuEchouer(REdt& edt, const char* chemin);

// A message as the standard error shows it: on one line, its control
// characters visible, so that no file's text can drive the terminal.
std::string LigneVisible(const std::string& message);

} // namespace horaku::cli
