// Reading a .edt file as a whole process, for bench/edt-vs-wc.sh: a program
// linked with the model alone, so that its start-up weighs what a reader's
// must and no benchmark library's.
//
//   lire_edt FICHIER            reads the file (Charger)
//   lire_edt --plancher FICHIER reads the file's bytes and counts its lines,
//                               then builds and frees as many empty sequences
//                               as the very big timetable holds: what any
//                               reader of it must do at least
// Each prints the time of that one step, disk included.
#include "classesedt.h"
#include "erreurs.h"
#include "fichiers.h"

#include <chrono>
#include <cstdio>
#include <cstring>

using namespace horaku;

int main(int argc, char** argv)
{
    using Horloge = std::chrono::steady_clock;
    const bool plancher = argc == 3 && std::strcmp(argv[1], "--plancher") == 0;
    if (argc != 2 && !plancher) {
        std::fprintf(stderr, "usage : lire_edt [--plancher] FICHIER\n");
        return 2;
    }
    const char* const chemin = argv[argc - 1];
    try {
        const auto debut = Horloge::now();
        if (plancher) {
            const ContenuFichier contenu = LireContenuFichier(chemin);
            const std::size_t lignes = CompterLignes(contenu.Vue());
            std::size_t sequences = 0;
            {
                REdt e;
                e.Semaines.resize(52);
                e.AjusterSemaines();
                for (RJour& jour : e.Jours)
                    for (RJourSem& js : jour.ParSemaine) {
                        js.Sequences.resize(270);
                        sequences += js.Sequences.size();
                    }
            }
            const std::chrono::duration<double> d = Horloge::now() - debut;
            std::printf("plancher %.4f s (%zu lignes, %zu séquences)\n", d.count(), lignes,
                        sequences);
            return 0;
        }
        REdt e;
        e.Fichier = chemin;
        if (!e.Charger()) {
            std::fprintf(stderr, "version refusée\n");
            return 1;
        }
        const std::chrono::duration<double> d = Horloge::now() - debut;
        std::printf("lecture %.4f s\n", d.count());
        return 0;
    } catch (const ErreurHoraku& x) {
        std::fprintf(stderr, "%s\n", x.what());
        return 1;
    }
}
