#include "variables.h"

#include "erreurs.h"
#include "fichiers.h"

#include <vector>

namespace horaku {

std::string DossierProgramme;

LectureConfig LireConfig(RConfig& config)
{
    LectureConfig resultat;
    std::string contenu;
    if (!FichierExiste(kNomFichierConfig)) {
        resultat.message = kMessageConfigAbsente;
    } else {
        contenu = LireFichier(kNomFichierConfig);
        const std::vector<std::string_view> lignes = DecouperLignes(contenu);
        if (lignes.size() < 2)
            throw ErreurIndice(static_cast<long long>(lignes.size()));
        if (lignes[0] != kTexteVersion || lignes[1] != kSignatureConfig) {
            resultat.message = kMessageConfigVersion;
        } else {
            if (lignes.size() < 4)
                throw ErreurIndice(static_cast<long long>(lignes.size()));
            config.EdtDefaut = std::string(lignes[3]);
            config.ConfigModifiee = false;
            return resultat;
        }
    }
    config.EdtDefaut.clear();
    try {
        EcrireConfig(config);
    } catch (const ErreurHoraku& e) {
        resultat.erreurEcriture = e.what();
    }
    config.ConfigModifiee = false;
    return resultat;
}

void EcrireConfig(RConfig& config)
{
    std::string contenu;
    for (const std::string& ligne :
         {std::string(kTexteVersion), std::string(kSignatureConfig), config.ReserveConfig,
          config.EdtDefaut}) {
        contenu += SansSautDeLigne(ligne);
        contenu += "\r\n";
    }
    EcrireFichierAtomique(kNomFichierConfig, contenu);
    config.ConfigModifiee = false;
}

} // namespace horaku
