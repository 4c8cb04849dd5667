// A school year of the large example (52 week types) exported as an
// iCalendar file, against writing the same timetable's .edt file: the floor
// of turning this timetable into a file at all.
//
//   bench_agenda [Google Benchmark options]
#include "calendrier.h"
#include "classesedt.h"
#include "erreurs.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

using namespace horaku;

namespace
{

const REdt& Grand()
{
    static const REdt e = [] {
        REdt g;
        g.Fichier = HORAKU_SOURCES "/examples/grand.edt";
        if (!g.Charger()) std::fprintf(stderr, "grand.edt illisible\n");
        return g;
    }();
    return e;
}

// 2024-2025 with the four holiday periods of one French zone.
OptionsAgenda AnneeScolaire()
{
    OptionsAgenda o;
    o.du = Date{2024, 9, 2};
    o.au = Date{2025, 7, 4};
    for (const char* p : {"2024-10-19:2024-11-03", "2024-12-21:2025-01-05", "2025-02-15:2025-03-02",
                          "2025-04-12:2025-04-27"})
        o.vacances.push_back(*LirePeriode(p));
    o.fuseau = "Europe/Paris";
    return o;
}

std::string Temporaire(const char* nom)
{
    return "/tmp/bench_agenda_" + std::to_string(getpid()) + nom;
}

void BM_Agenda_EnMemoire(benchmark::State& state)
{
    const REdt& e = Grand();
    const OptionsAgenda o = AnneeScolaire();
    std::size_t n = 0, octets = 0;
    for (auto _ : state) {
        const Agenda a = ConstruireAgenda(e, o);
        n = a.evenements;
        octets = a.texte.size();
        benchmark::DoNotOptimize(a.texte.data());
    }
    state.counters["evenements"] = double(n);
    state.counters["octets"] = double(octets);
}
BENCHMARK(BM_Agenda_EnMemoire)->Unit(benchmark::kMillisecond);

void BM_Agenda_Fichier(benchmark::State& state)
{
    const REdt& e = Grand();
    const OptionsAgenda o = AnneeScolaire();
    const std::string chemin = Temporaire(".ics");
    for (auto _ : state)
        benchmark::DoNotOptimize(ExporterAgenda(e, o, chemin).evenements);
    std::remove(chemin.c_str());
}
BENCHMARK(BM_Agenda_Fichier)->Unit(benchmark::kMillisecond);

// The floor: the same timetable written as its .edt text, then as a file.
void BM_Edt_EnMemoire(benchmark::State& state)
{
    const REdt& e = Grand();
    for (auto _ : state)
        benchmark::DoNotOptimize(EcrireEdt(e).size());
}
BENCHMARK(BM_Edt_EnMemoire)->Unit(benchmark::kMillisecond);

void BM_Edt_Fichier(benchmark::State& state)
{
    REdt e;
    e.Copier(Grand());
    e.Fichier = Temporaire(".edt");
    for (auto _ : state)
        benchmark::DoNotOptimize(e.Enregistrer());
    std::remove(e.Fichier.c_str());
}
BENCHMARK(BM_Edt_Fichier)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
