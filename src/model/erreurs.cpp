#include "erreurs.h"

#include "cp1252.h"

#include <cerrno>

namespace horaku
{

namespace
{

// A whole damaged line can be megabytes long: the message shows its start.
std::string Extrait(std::string_view texte)
{
    constexpr std::size_t kMax = 80;
    if (texte.size() <= kMax) return ControlesVisibles(Cp1252VersUtf8(texte));
    return ControlesVisibles(Cp1252VersUtf8(texte.substr(0, kMax))) + "…";
}

// A file's name is the user's text: a line break in it is shown, never obeyed.
std::string Nom(const std::string& chemin)
{
    return ControlesVisibles(chemin);
}

} // namespace

std::string ControlesVisibles(std::string_view texte, bool garderSautsDeLigne)
{
    const auto controle = [&](std::size_t i) {
        const auto c = static_cast<unsigned char>(texte[i]);
        if (c == '\n' && garderSautsDeLigne) return false;
        return c < 0x20 || c == 0x7F ||
               (c == 0xC2 && i + 1 < texte.size() &&
                static_cast<unsigned char>(texte[i + 1]) >= 0x80 &&
                static_cast<unsigned char>(texte[i + 1]) <= 0x9F);
    };
    std::size_t i = 0;
    while (i < texte.size() && !controle(i))
        ++i;
    if (i == texte.size()) return std::string(texte);
    std::string s(texte.substr(0, i));
    s.reserve(texte.size() + 16);
    for (; i < texte.size(); ++i) {
        const auto c = static_cast<unsigned char>(texte[i]);
        if (!controle(i)) {
            s += static_cast<char>(c);
        } else if (c == 0xC2) {
            s += "\xEF\xBF\xBD"; // U+FFFD: C1 controls have no symbol of their own
            ++i;
        } else {
            // U+2400 + c, and U+2421 SYMBOL FOR DELETE
            const unsigned symbole = c == 0x7F ? 0x21 : c;
            s += "\xE2\x90";
            s += static_cast<char>(0x80 + symbole);
        }
    }
    return s;
}

ErreurHoraku::ErreurHoraku(const std::string& message)
    : std::runtime_error(ControlesVisibles(message, true))
{
}

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
    return ErreurHoraku("Impossible d'ouvrir le fichier " + Nom(chemin));
}

ErreurHoraku ErreurCreer(const std::string& chemin, const std::string& cause)
{
    return ErreurHoraku("Impossible de créer le fichier " + Nom(chemin) + "\n" + cause);
}

ErreurHoraku ErreurCreer(const std::string& chemin, int numeroErreur)
{
    return ErreurCreer(chemin, CauseSysteme(numeroErreur));
}

ErreurHoraku ErreurTropGrand(const std::string& chemin)
{
    return ErreurHoraku("Le fichier " + Nom(chemin) + " est trop grand (plus de " +
                        std::to_string(kTailleMaxFichier >> 20) +
                        " Mo) pour être un fichier Horaku.");
}

std::string CauseSysteme(int n)
{
    switch (n) {
    case 0:
        return "Cause inconnue.";
    case ENOSPC:
        return "Disque plein.";
    case EDQUOT:
        return "Quota de disque dépassé.";
    case EACCES:
    case EPERM:
        return "Accès refusé.";
    case ENOENT:
        return "Dossier introuvable.";
    case ENOTDIR:
        return "Un élément du chemin n'est pas un dossier.";
    case EISDIR:
        return kCauseDossier;
    case EROFS:
        return "Disque en lecture seule.";
    case ENAMETOOLONG:
        return "Nom de fichier trop long.";
    case ELOOP:
        return "Trop de liens symboliques.";
    case EIO:
        return "Erreur d'entrée-sortie du disque.";
    case EFBIG:
        return "Fichier trop grand pour le disque.";
    case ETXTBSY:
    case EBUSY:
        return "Fichier en cours d'utilisation.";
    case EMFILE:
    case ENFILE:
        return "Trop de fichiers ouverts.";
    case ENOMEM:
        return "Mémoire insuffisante.";
    case EXDEV:
        return "Le fichier et son dossier sont sur des disques différents.";
    case ESTALE:
        return "Fichier réseau devenu inaccessible.";
    default:
        return "Erreur système " + std::to_string(n) + ".";
    }
}

} // namespace horaku
