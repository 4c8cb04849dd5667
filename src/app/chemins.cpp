#include "chemins.h"

#include "nomsfichiers.h"
#include "variables.h"

namespace horaku
{

QString ExtensionDe(const QString& chemin)
{
    const std::string nom = chemin.toStdString();
    const std::string_view extension = ExtensionFichier(nom);
    return QString::fromUtf8(extension.data(), static_cast<qsizetype>(extension.size()));
}

QString RemplacerExtension(const QString& chemin, const QString& extension)
{
    return QString::fromStdString(
        RemplacerExtensionFichier(chemin.toStdString(), extension.toStdString()));
}

QString NomSansDossier(const QString& chemin)
{
    return chemin.mid(chemin.lastIndexOf(QLatin1Char('/')) + 1);
}

QString TitreAvecFichier(const std::string& fichier)
{
    return QString::fromUtf8(kNomProduit) + QStringLiteral(" - ") +
           NomSansDossier(QString::fromStdString(fichier));
}

} // namespace horaku
