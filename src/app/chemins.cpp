#include "chemins.h"

#include "variables.h"

namespace horaku
{

namespace
{

qsizetype DebutExtension(const QString& chemin)
{
    const qsizetype point = chemin.lastIndexOf(QLatin1Char('.'));
    const qsizetype barre = chemin.lastIndexOf(QLatin1Char('/'));
    return point > barre ? point : -1;
}

} // namespace

QString ExtensionDe(const QString& chemin)
{
    const qsizetype debut = DebutExtension(chemin);
    return debut < 0 ? QString() : chemin.mid(debut);
}

QString RemplacerExtension(const QString& chemin, const QString& extension)
{
    const qsizetype debut = DebutExtension(chemin);
    return (debut < 0 ? chemin : chemin.left(debut)) + extension;
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
