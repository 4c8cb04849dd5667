#include "erreurs.h"

#include "cp1252.h"

#include <cerrno>

namespace horaku
{

namespace
{

std::string SansZero(const std::string& message)
{
    if (message.find('\0') == std::string::npos) return message;
    std::string s;
    s.reserve(message.size() + 8);
    for (const char c : message) {
        if (c == '\0')
            s += "\xE2\x90\x80"; // U+2400 SYMBOL FOR NULL
        else
            s += c;
    }
    return s;
}

// A whole damaged line can be megabytes long: the message shows its start.
std::string Extrait(std::string_view texte)
{
    constexpr std::size_t kMax = 80;
    if (texte.size() <= kMax) return Cp1252VersUtf8(texte);
    return Cp1252VersUtf8(texte.substr(0, kMax)) + "…";
}

} // namespace

ErreurHoraku::ErreurHoraku(const std::string& message) : std::runtime_error(SansZero(message)) {}

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

ErreurHoraku ErreurCreer(const std::string& chemin, const std::string& cause)
{
    return ErreurHoraku("Impossible de créer le fichier " + chemin + "\n" + cause);
}

ErreurHoraku ErreurCreer(const std::string& chemin, int numeroErreur)
{
    return ErreurCreer(chemin, CauseSysteme(numeroErreur));
}

ErreurHoraku ErreurTropGrand(const std::string& chemin)
{
    return ErreurHoraku("Le fichier " + chemin + " est trop grand (plus de " +
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
