// Small builders shared by the tests: timetables written in a few lines.
#pragma once

#include "classesedt.h"
#include "temps.h"

#include <array>
#include <string>

namespace horaku::test
{

inline TDateTime H(int heures, int minutes = 0)
{
    return EncoderHeure(heures, minutes);
}

inline RSequence Seq(TDateTime debut, TDateTime fin, std::array<std::string, 4> textes)
{
    RSequence s;
    s.Debut = debut;
    s.Fin = fin;
    s.Textes = {textes[0], textes[1], textes[2], textes[3]};
    return s;
}

// A timetable with every display option off, margin m, inset p.
inline REdt EdtNu(int marge = 1, int retrait = 1, int heureLarg = 60)
{
    REdt e;
    e.Marge = marge;
    e.Retrait = retrait;
    e.Mesures.HeureLarg = heureLarg;
    return e;
}

inline void Ajouter(REdt& e, int jour, int semaine, RSequence s)
{
    e.Jours[static_cast<std::size_t>(jour)]
        .ParSemaine[static_cast<std::size_t>(semaine)]
        .Sequences.push_back(std::move(s));
}

} // namespace horaku::test
