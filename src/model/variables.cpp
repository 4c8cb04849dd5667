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
            // Line 3 is never read: the first line looked for past the end is line 4.
            if (lignes.size() < 4)
                throw ErreurIndice(3);
            config.EdtDefaut = std::string(lignes[3]);
            config.ConfigModifiee = false;
            return resultat;
        }
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
