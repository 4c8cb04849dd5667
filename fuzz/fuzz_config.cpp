// Fuzzing entry point for the configuration reader.  Whatever the bytes,
// reading must accept, refuse as foreign, or fail with the model's own
// error; what it accepts must write back and read again to the same record,
// and the written file must be stable.
#include "erreurs.h"
#include "fichiers.h"
#include "variables.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace
{

[[noreturn]] void Echec(const char* quoi)
{
    std::fprintf(stderr, "fuzz_config: %s\n", quoi);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille)
{
    const std::string_view contenu(reinterpret_cast<const char*>(donnees), taille);
    horaku::RConfig config;
    config.EdtDefaut = "avant";
    bool accepte = false;
    try {
        accepte = horaku::LireTexteConfig(config, contenu);
    } catch (const horaku::ErreurHoraku&) {
        if (config.EdtDefaut != "avant") Echec("a failed read changed the record");
        return 0;
    }
    const auto lignes = horaku::DecouperLignes(contenu);
    if (!accepte) {
        if (config.EdtDefaut != "avant") Echec("a foreign file changed the record");
        if (lignes.size() >= 2 && lignes[0] == horaku::kTexteVersion &&
            lignes[1] == horaku::kSignatureConfig)
            Echec("a file of this program was called foreign");
        return 0;
    }
    if (lignes.size() < 4 || config.EdtDefaut != lignes[3])
        Echec("the default timetable is not line 4");
    const std::string ecrit = horaku::TexteConfig(config);
    horaku::RConfig relu;
    try {
        if (!horaku::LireTexteConfig(relu, ecrit)) Echec("the written file is called foreign");
    } catch (const horaku::ErreurHoraku&) {
        Echec("the written file does not read back");
    }
    if (relu.EdtDefaut != config.EdtDefaut || horaku::TexteConfig(relu) != ecrit)
        Echec("write -> read -> write changes the file");
    if (horaku::CompterLignes(ecrit) != 4) Echec("the written file does not have four lines");
    return 0;
}
