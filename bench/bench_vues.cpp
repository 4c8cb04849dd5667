// The school views at scale: 60 class timetables of 200 sequences each,
// written by the generator below, turned into one view per room.  Goals: every
// room view as one PDF under 2 s, the clash list under 100 ms, peak memory
// under 200 MB (counter "Mo").  Floor: the same number of ordinary timetables
// (the class files themselves) drawn into one PDF in the same run; the ratio
// of the two times is the cost of the views beyond drawing.
#include "lancer_bancs.h"
#include "vecteur.h"
#include "vues.h"
#include "vuesimage.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <sys/resource.h>

using namespace horaku;

namespace
{

constexpr int kFichiers = 60;
constexpr int kSequences = 200;
constexpr int kSalles = 40;

QTemporaryDir& Dossier()
{
    static QTemporaryDir dossier;
    return dossier;
}

// Two week types listed in either order, five days, sequences of 50 minutes
// every hour from 08:00 (then again, shifted by 25 minutes, past 20 a day),
// rooms and teachers drawn at random: clashes happen as in a real draft.
const std::vector<std::string>& Chemins()
{
    static std::vector<std::string> chemins;
    if (!chemins.empty()) return chemins;
    std::mt19937 g(16);
    for (int f = 0; f < kFichiers; ++f) {
        REdt e;
        e.Titre = "Classe " + std::to_string(f + 1);
        e.AffichNom = e.AffichJours = e.AffichHeures = true;
        e.Semaines = {{"Semaine A", 0xFFFF00}, {"Semaine B", 0x00FFFF}};
        if (f % 2) std::swap(e.Semaines[0], e.Semaines[1]);
        e.Jours[5].Affiche = e.Jours[6].Affiche = 0;
        e.AjusterSemaines();
        for (int k = 0; k < kSequences; ++k) {
            const int jour = k % 5, semaine = (k / 5) % 2, rang = k / 10;
            RSequence s;
            const int debut = 8 * 60 + (rang % 10) * 60 + (rang / 10) * 25;
            s.Debut = debut / 1440.0;
            s.Fin = (debut + 50) / 1440.0;
            s.Textes = {e.Titre, "Prof " + std::to_string(g() % 80),
                        "Salle " + std::to_string(g() % kSalles), "Cours"};
            e.Jours[static_cast<std::size_t>(jour)]
                .ParSemaine[static_cast<std::size_t>(semaine)]
                .Sequences.push_back(s);
        }
        e.Fichier = Dossier().filePath(QString::number(f) + ".edt").toStdString();
        e.Enregistrer();
        chemins.push_back(e.Fichier);
    }
    return chemins;
}

double MoMax()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return static_cast<double>(r.ru_maxrss) / 1024.0;
}

void Lecture(benchmark::State& etat)
{
    for (auto _ : etat)
        benchmark::DoNotOptimize(LireEtablissement(Chemins()));
}

void ListeConflits(benchmark::State& etat)
{
    const Etablissement e = LireEtablissement(Chemins());
    std::size_t n = 0;
    for (auto _ : etat) {
        std::vector<Vue> vues = ConstruireVues(e.edts, 2, e.edts.front());
        n = Conflits(vues).size();
    }
    etat.counters["conflits"] = static_cast<double>(n);
    etat.counters["Mo"] = MoMax();
}

void VuesPdf(benchmark::State& etat)
{
    const Etablissement e = LireEtablissement(Chemins());
    const std::string sortie = Dossier().filePath("salles.pdf").toStdString();
    std::size_t pages = 0;
    for (auto _ : etat) {
        std::vector<Vue> vues = ConstruireVues(e.edts, 2, e.edts.front());
        TrierVues(vues);
        ExporterVues(vues, "pdf", sortie, false, "Salles");
        pages = vues.size();
    }
    etat.counters["pages"] = static_cast<double>(pages);
    etat.counters["Mo"] = MoMax();
}

// The floor: as many ordinary timetables, drawn into one PDF the same way.
void PlancherPdf(benchmark::State& etat)
{
    Etablissement e = LireEtablissement(Chemins());
    std::vector<REdt*> edts;
    for (std::size_t i = 0; i < kSalles && i < e.edts.size(); ++i)
        edts.push_back(&e.edts[i]);
    for (auto _ : etat)
        benchmark::DoNotOptimize(DessinerPdfPages(edts, {}, "Classes"));
    etat.counters["pages"] = static_cast<double>(edts.size());
}

} // namespace

BENCHMARK(Lecture)->Unit(benchmark::kMillisecond);
BENCHMARK(ListeConflits)->Unit(benchmark::kMillisecond);
BENCHMARK(VuesPdf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(PlancherPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    return horaku::banc::LancerBancs(argc, argv);
}
