// The one rule for a file name's extension, shared by the file commands, the
// picture export and the command-line tool: it starts at the last "." of the
// name part, after the last "/", and keeps its letters as they are.
#pragma once

#include <string>
#include <string_view>

namespace horaku
{

// From the last "." of the name part to the end, the dot included; empty when
// the name part has no dot.
std::string_view ExtensionFichier(std::string_view chemin);
// The extension replaced by `extension` (dot included), or appended.
std::string RemplacerExtensionFichier(std::string_view chemin, std::string_view extension);

} // namespace horaku
