// horaku-cli: the timetable files and pictures without any window, for
// scripts, tests and machines without a display.  Messages are the ones the
// program would show, on one line; exit 1 on failure, 2 on wrong arguments.
#include "commandes.h"

#include "calendrier.h"
#include "chevauchements.h"
#include "erreurs.h"

#include <cstring>
#include <exception>
#include <iostream>
#include <new>
#include <string>

namespace
{

void Usage()
{
    using horaku::TexteDate;
    std::cerr << "usage :\n"
                 "  horaku-cli nouveau SORTIE.edt\n"
                 "  horaku-cli verifier ENTREE.edt\n"
                 "  horaku-cli reecrire ENTREE.edt SORTIE.edt\n"
                 "  horaku-cli calendrier ENTREE.edt SORTIE.ics --du AAAA-MM-JJ --au AAAA-MM-JJ\n"
                 "             [--premiere-semaine N] [--vacances AAAA-MM-JJ:AAAA-MM-JJ]... "
                 "[--vacances-comptent]\n"
              << "             (dates du " << TexteDate(horaku::kPremiereDateAgenda) << " au "
              << TexteDate(horaku::kDerniereDateAgenda) << ", au plus " << horaku::kJoursMaxAgenda
              << " jours)\n"
              << "  horaku-cli chevauchements ENTREE.edt\n"
                 "             (pour chaque séquence, au plus "
              << horaku::kChevauchementsParSequence
              << " de celles qui commencent pendant qu'elle dure ;\n"
                 "             \"autres\" donne le nombre des suivantes)\n"
                 "  horaku-cli image ENTREE.edt SORTIE.gif|.bmp|.png|.pdf|.svg\n"
                 "  horaku-cli geometrie ENTREE.edt\n"
                 "  horaku-cli vues --groupe N [--gabarit F.edt] [--format "
                 "pdf|png|svg|gif|bmp|edt] [--marques]\n"
                 "             SORTIE ENTREES.edt...\n"
                 "  horaku-cli conflits --groupe N ENTREES.edt...\n";
}

} // namespace

int main(int argc, char** argv)
{
    using namespace horaku::cli;
    if (argc < 2) {
        Usage();
        return 2;
    }
    const std::string commande = argv[1];
    const int n = argc - 2;
    try {
        if (commande == "nouveau" && n == 1) return Nouveau(argv[2]);
        if (commande == "verifier" && n == 1) return Verifier(argv[2], std::cout);
        if (commande == "reecrire" && n == 2) return Reecrire(argv[2], argv[3]);
        if (commande == "calendrier") return Calendrier(argc, argv, std::cerr);
        if (commande == "chevauchements" && n == 1) return ChevauchementsJson(argv[2], std::cout);
        if (commande == "image" && n == 2) return Image(argc, argv);
        if (commande == "geometrie" && n == 1) return Geometrie(argc, argv, std::cout);
        if (commande == "vues") return Vues(argc, argv, std::cerr);
        if (commande == "conflits") return ConflitsJson(argc, argv, std::cout, std::cerr);
    } catch (const horaku::ErreurHoraku& e) {
        std::cerr << LigneVisible(e.what()) << '\n';
        return 1;
    } catch (const std::bad_alloc&) {
        std::cerr << "Mémoire insuffisante\n";
        return 1;
    } catch (const std::exception& e) {
        std::cerr << LigneVisible(e.what()) << '\n';
        return 1;
    }
    Usage();
    return 2;
}
