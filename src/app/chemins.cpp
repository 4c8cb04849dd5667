#include "chemins.h"

#include "nomsfichiers.h"
#include "variables.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

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

namespace
{

// Two spellings of one file (a "..", a symbolic link) are one recent file.
QString Identite(const QString& chemin)
{
    const QFileInfo info(chemin);
    const QString canonique = info.canonicalFilePath();
    return canonique.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonique;
}

} // namespace

QStringList AjouterRecent(QStringList recents, const QString& chemin)
{
    const QString id = Identite(chemin);
    recents.erase(std::remove_if(recents.begin(), recents.end(),
                                 [&](const QString& r) { return Identite(r) == id; }),
                  recents.end());
    recents.prepend(QFileInfo(chemin).absoluteFilePath());
    while (recents.size() > kRecentsMax)
        recents.removeLast();
    return recents;
}

QString DossierDepart(const QString& dernier, const QString& fichierCourant, bool ecriture)
{
    const auto convient = [ecriture](const QString& dossier) {
        if (dossier.isEmpty()) return false;
        const QFileInfo info(dossier);
        return info.isDir() && (!ecriture || info.isWritable());
    };
    if (convient(dernier)) return QFileInfo(dernier).absoluteFilePath();
    if (!fichierCourant.isEmpty()) {
        const QString dossier = QFileInfo(fichierCourant).absolutePath();
        if (convient(dossier)) return dossier;
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (convient(documents)) return documents;
    return QDir::homePath();
}

} // namespace horaku
