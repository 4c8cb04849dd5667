#include "variables.h"

#include "erreurs.h"
#include "fichiers.h"

#include <vector>

namespace horaku
{

std::string DossierProgramme;

bool LireTexteConfig(RConfig& config, std::string_view contenu)
{
    const std::vector<std::string_view> lignes = DecouperLignes(contenu);
    if (lignes.size() < 2) throw ErreurIndice(static_cast<long long>(lignes.size()));
    if (lignes[0] != kTexteVersion || lignes[1] != kSignatureConfig) return false;
    // Line 3 is never read: the first line looked for past the end is line 4.
    if (lignes.size() < 4) throw ErreurIndice(3);
    config.EdtDefaut = std::string(lignes[3]);
    return true;
}

std::string TexteConfig(const RConfig& config)
{
    std::string contenu;
    for (const std::string& ligne : {std::string(kTexteVersion), std::string(kSignatureConfig),
                                     config.ReserveConfig, config.EdtDefaut}) {
        contenu += SansSautDeLigne(ligne);
        contenu += "\r\n";
    }
    return contenu;
}

LectureConfig LireConfig(RConfig& config)
{
    LectureConfig resultat;
    if (!FichierExiste(kNomFichierConfig)) {
        resultat.message = kMessageConfigAbsente;
    } else if (LireTexteConfig(config, LireFichier(kNomFichierConfig))) {
        config.ConfigModifiee = false;
        return resultat;
    } else {
        resultat.message = kMessageConfigVersion;
    }
    config.EdtDefaut.clear();
    try {
        EcrireConfig(config);
    } catch (const ErreurHoraku& e) {
        // The file still differs from the record: the next chance to write
        // it (the file commands) tries again.
        resultat.erreurEcriture = e.what();
        config.ConfigModifiee = true;
    }
    return resultat;
}

void EcrireConfig(RConfig& config)
{
    EcrireFichierAtomique(kNomFichierConfig, TexteConfig(config));
    config.ConfigModifiee = false;
}

} // namespace horaku
