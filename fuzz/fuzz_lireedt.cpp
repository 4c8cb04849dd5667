// Fuzzing entry point for the .edt reader.  Whatever the bytes, reading must
// either succeed or fail with the model's own error; what it accepts must
// write back, read again and write the very same bytes.
#include "classesedt.h"
#include "cp1252.h"
#include "erreurs.h"

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
    std::fprintf(stderr, "fuzz_lireedt: %s\n", quoi);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille)
{
    const std::string_view contenu(reinterpret_cast<const char*>(donnees), taille);

    // Every byte string survives the trip through UTF-8.
    if (horaku::Utf8VersCp1252(horaku::Cp1252VersUtf8(contenu)) != contenu)
        Echec("Windows-1252 -> UTF-8 -> Windows-1252 changes the text");

    horaku::REdt edt;
    try {
        if (!horaku::LireEdt(edt, contenu)) return 0;
    } catch (const horaku::ErreurHoraku&) {
        // A refused file must still leave one entry per week type in every day.
        for (const horaku::RJour& jour : edt.Jours)
            if (jour.ParSemaine.size() != edt.Semaines.size())
                Echec("a failed read broke the week-type invariant");
        return 0;
    }
    const std::string premier = horaku::EcrireEdt(edt);
    horaku::REdt relu;
    try {
        if (!horaku::LireEdt(relu, premier)) Echec("the written file has a wrong version line");
    } catch (const horaku::ErreurHoraku& e) {
        std::fprintf(stderr, "%s\n", e.what());
        Echec("the written file does not read back");
    }
    if (horaku::EcrireEdt(relu) != premier) Echec("write -> read -> write changes the bytes");
    return 0;
}
