// Writing and reading large .edt files: a big timetable (52 week types, 30
// sequences a day in each, value lists of 1,000 entries, about 70,000 lines)
// and a very big one (about 600,000 lines).
//
//   bench_edt [Google Benchmark options]
//   bench_edt --ecrire FICHIER   writes the very big timetable (Enregistrer)
// It prints the time of that one step, disk included; bench/edt-vs-wc.sh uses
// it, and bench/lire_edt.cpp for reading.
#include "classesedt.h"
#include "erreurs.h"
#include "fichiers.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

using namespace horaku;

namespace
{

REdt Construire(int sequencesParJour)
{
    REdt e;
    e.Titre = "Coll\xE8ge Jean Moulin \x96 emploi du temps 2024-2025";
    e.Semaines.clear();
    for (int k = 0; k < 52; ++k)
        e.Semaines.push_back({"Semaine " + std::to_string(k + 1), 0x101010 * (k % 16)});
    for (int g = 0; g < 4; ++g) {
        auto& liste = e.ListesDonnees[static_cast<std::size_t>(g)];
        for (int i = 0; i < 1000; ++i)
            liste.push_back("Valeur " + std::to_string(g + 1) + "." + std::to_string(i));
    }
    e.AjusterSemaines();
    for (RJour& jour : e.Jours) {
        for (RJourSem& js : jour.ParSemaine) {
            js.Sequences.resize(static_cast<std::size_t>(sequencesParJour));
            TDateTime t = EncoderHeure(7, 30);
            int n = 0;
            for (RSequence& s : js.Sequences) {
                s.Debut = t;
                s.Fin = AjouterMinutes(t, 25);
                t = s.Fin;
                s.Textes = {"6e" + std::to_string(n % 7), "G" + std::to_string(n % 3),
                            "Salle " + std::to_string(100 + n % 40), n % 5 ? "" : "\xC9PS"};
                ++n;
            }
        }
    }
    return e;
}

const REdt& Grand()
{
    static const REdt e = Construire(30);
    return e;
}

const REdt& TresGrand()
{
    static const REdt e = Construire(270);
    return e;
}

std::size_t Lignes(const std::string& s)
{
    std::size_t n = 0;
    for (char c : s)
        n += c == '\n';
    return n;
}

void Ecrire(benchmark::State& etat, const REdt& e)
{
    std::size_t octets = 0;
    for (auto _ : etat) {
        std::string s = EcrireEdt(e);
        octets = s.size();
        benchmark::DoNotOptimize(s.data());
    }
    etat.SetBytesProcessed(static_cast<std::int64_t>(etat.iterations() * octets));
    etat.counters["lignes"] = static_cast<double>(Lignes(EcrireEdt(e)));
}

void Lire(benchmark::State& etat, const REdt& e)
{
    const std::string contenu = EcrireEdt(e);
    for (auto _ : etat) {
        REdt relu;
        if (!LireEdt(relu, contenu)) etat.SkipWithError("version refusée");
        benchmark::DoNotOptimize(relu.Jours.data());
    }
    etat.SetBytesProcessed(static_cast<std::int64_t>(etat.iterations() * contenu.size()));
    etat.counters["lignes"] = static_cast<double>(Lignes(contenu));
}

void BM_EcrireGrand(benchmark::State& etat)
{
    Ecrire(etat, Grand());
}
void BM_LireGrand(benchmark::State& etat)
{
    Lire(etat, Grand());
}
void BM_EcrireTresGrand(benchmark::State& etat)
{
    Ecrire(etat, TresGrand());
}
void BM_LireTresGrand(benchmark::State& etat)
{
    Lire(etat, TresGrand());
}

BENCHMARK(BM_EcrireGrand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LireGrand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EcrireTresGrand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LireTresGrand)->Unit(benchmark::kMillisecond);

// The whole save, disk included (Enregistrer flushes to disk).
int EcrireFichier(const char* chemin)
{
    using Horloge = std::chrono::steady_clock;
    try {
        REdt e = TresGrand();
        e.Fichier = chemin;
        // The text alone first, then the whole Enregistrer (text, write,
        // flush to disk, rename).
        const auto debutTexte = Horloge::now();
        const std::string texte = EcrireEdt(e);
        const std::chrono::duration<double> dt = Horloge::now() - debutTexte;
        const auto debut = Horloge::now();
        e.Enregistrer();
        const std::chrono::duration<double> d = Horloge::now() - debut;
        std::printf("ecriture %.4f s (texte seul %.4f s)\n", d.count(), dt.count());
        return 0;
    } catch (const ErreurHoraku& x) {
        std::fprintf(stderr, "%s\n", x.what());
        return 1;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--ecrire") == 0) return EcrireFichier(argv[2]);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
