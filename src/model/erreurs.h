// Errors of the model travel as exceptions carrying the exact French text the
// user will read; the model itself never shows anything.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace horaku {

class ErreurHoraku : public std::runtime_error {
public:
    explicit ErreurHoraku(const std::string& message) : std::runtime_error(message) {}
};

// The runtime's own messages, with the offending value in place.  Values that
// come from a file are Windows-1252 bytes: they are converted for display.
ErreurHoraku ErreurEntier(std::string_view texteCp1252);
ErreurHoraku ErreurDate(std::string_view texteCp1252);
ErreurHoraku ErreurIndice(long long indice);
ErreurHoraku ErreurOuvrir(const std::string& chemin);
ErreurHoraku ErreurCreer(const std::string& chemin);

} // namespace horaku
