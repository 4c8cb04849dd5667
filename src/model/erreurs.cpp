#include "erreurs.h"

#include "cp1252.h"

namespace horaku {

ErreurHoraku ErreurEntier(std::string_view texte)
{
    return ErreurHoraku("'" + Cp1252VersUtf8(texte) + "' n'est pas une valeur entière correcte");
}

ErreurHoraku ErreurDate(std::string_view texte)
{
    return ErreurHoraku("'" + Cp1252VersUtf8(texte) +
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
