#include "erreurs.h"

#include "cp1252.h"

namespace horaku {

namespace {

// A whole damaged line can be megabytes long: the message shows its start.
std::string Extrait(std::string_view texte)
{
    constexpr std::size_t kMax = 80;
    if (texte.size() <= kMax)
        return Cp1252VersUtf8(texte);
    return Cp1252VersUtf8(texte.substr(0, kMax)) + "…";
}

} // namespace

ErreurHoraku ErreurEntier(std::string_view texte)
{
    return ErreurHoraku("'" + Extrait(texte) + "' n'est pas une valeur entière correcte");
}

ErreurHoraku ErreurDate(std::string_view texte)
{
    return ErreurHoraku("'" + Extrait(texte) +
                        "' ne correspond pas à une date et une heure correctes");
}

ErreurHoraku ErreurIndice(long long indice)
{
    return ErreurHoraku("Indice de liste hors limites (" + std::to_string(indice) + ")");
}

ErreurHoraku ErreurOuvrir(const std::string& chemin)
{
    return ErreurHoraku("Impossible d'ouvrir le fichier " + chemin);
}

ErreurHoraku ErreurCreer(const std::string& chemin)
{
    return ErreurHoraku("Impossible de créer le fichier " + chemin);
}

} // namespace horaku
