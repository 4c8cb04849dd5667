// Whole-file reads and atomic writes: a write goes to a temporary file in the
// same folder, is flushed to disk, then renamed over the target, so a failed
// or interrupted write never damages the existing file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace horaku {

bool FichierExiste(const std::string& chemin);
// Throws ErreurOuvrir when the file cannot be opened or read.
std::string LireFichier(const std::string& chemin);
// Throws ErreurCreer; the target is untouched and the temporary file removed.
void EcrireFichierAtomique(const std::string& chemin, std::string_view contenu);
// Lines ended by CR LF, LF or a lone CR; a final line break opens no new line.
std::vector<std::string_view> DecouperLignes(std::string_view contenu);
// The number of lines DecouperLignes would give, without building them.
std::size_t CompterLignes(std::string_view contenu);
// A text that must stay on its line: CR and LF become blanks.
std::string SansSautDeLigne(std::string_view texte);

} // namespace horaku
