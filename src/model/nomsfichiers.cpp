#include "nomsfichiers.h"

namespace horaku
{

namespace
{

std::string_view::size_type DebutExtension(std::string_view chemin)
{
    const auto point = chemin.rfind('.');
    const auto barre = chemin.rfind('/');
    if (point == std::string_view::npos) return std::string_view::npos;
    return barre == std::string_view::npos || point > barre ? point : std::string_view::npos;
}

} // namespace

std::string_view ExtensionFichier(std::string_view chemin)
{
    const auto debut = DebutExtension(chemin);
    return debut == std::string_view::npos ? std::string_view() : chemin.substr(debut);
}

std::string RemplacerExtensionFichier(std::string_view chemin, std::string_view extension)
{
    std::string resultat(chemin.substr(0, DebutExtension(chemin)));
    resultat += extension;
    return resultat;
}

} // namespace horaku
