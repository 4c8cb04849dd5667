// The data-entry dialog on a heavy timetable: Monday and Tuesday each hold
// 200 sequences in every one of 52 week types.  Opening, switching day or
// week type, adding a row and closing with OK are measured through the real
// controls.  The redraw that follows OK is measured against the floor: the
// same redraw of the same timetable that never went through the dialog.
#include "classesedt.h"
#include "dessin.h"
#include "donnees.h"
#include "lancer_bancs.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <string>

using namespace horaku;

namespace
{

class ServicesMuets final : public Services
{
public:
    QMessageBox::StandardButton Demander(QWidget*, const Question&) override
    {
        return QMessageBox::Yes;
    }
    std::optional<QString> Choisir(QWidget*, const Selecteur&) override { return std::nullopt; }
    std::optional<std::int32_t> ChoisirCouleur(QWidget*, std::int32_t) override
    {
        return std::nullopt;
    }
    std::optional<RPolice> ChoisirPolice(QWidget*, const RPolice&) override { return std::nullopt; }
};

constexpr int kSemaines = 52;
constexpr int kSequences = 200;

const REdt& Lourd()
{
    static const REdt modele = [] {
        REdt e;
        e.Semaines.clear();
        for (int w = 0; w < kSemaines; ++w)
            e.Semaines.push_back(RSemaine{"Sem " + std::to_string(w + 1), 0xFFFF00 - w});
        e.AjusterSemaines();
        for (int jour = 0; jour < 2; ++jour)
            for (int w = 0; w < kSemaines; ++w)
                for (int i = 0; i < kSequences; ++i) {
                    RSequence s;
                    // Four minutes each from 07:00: the day ends past 20:00.
                    s.Debut = EncoderHeure(7, 0) + i * 4 / 1440.0;
                    s.Fin = s.Debut + 4 / 1440.0;
                    s.Textes = {"C" + std::to_string(i % 30), "G" + std::to_string(w % 3),
                                "S" + std::to_string(i % 12), i % 5 == 0 ? "Maths" : ""};
                    e.Jours[static_cast<std::size_t>(jour)]
                        .ParSemaine[static_cast<std::size_t>(w)]
                        .Sequences.push_back(std::move(s));
                }
        return e;
    }();
    return modele;
}

template <typename T> T* Controle(QWidget& fiche, const char* nom)
{
    return fiche.findChild<T*>(QString::fromLatin1(nom));
}

void Choisir(QComboBox* liste, int index)
{
    liste->setCurrentIndex(index);
    emit liste->activated(index);
}

void Ouvrir(benchmark::State& etat)
{
    REdt e;
    e.Copier(Lourd());
    ServicesMuets services;
    for (auto _ : etat) {
        auto* fiche = new TFiche_Donnees(nullptr, e, services);
        fiche->show();
        etat.PauseTiming();
        delete fiche;
        etat.ResumeTiming();
    }
}

void ChangerDeSemaine(benchmark::State& etat)
{
    REdt e;
    e.Copier(Lourd());
    ServicesMuets services;
    TFiche_Donnees fiche(nullptr, e, services);
    fiche.show();
    auto* semaine = Controle<QComboBox>(fiche, "CBSem");
    int w = 0;
    for (auto _ : etat) {
        w = (w + 1) % kSemaines;
        Choisir(semaine, w);
    }
}

void ChangerDeJour(benchmark::State& etat)
{
    REdt e;
    e.Copier(Lourd());
    ServicesMuets services;
    TFiche_Donnees fiche(nullptr, e, services);
    fiche.show();
    auto* jour = Controle<QComboBox>(fiche, "CBJour");
    int j = 0;
    for (auto _ : etat) {
        j = 1 - j;
        Choisir(jour, j);
    }
}

// With the timetable modified, every switch stores the grid first.
void ChangerDeJourModifie(benchmark::State& etat)
{
    REdt e;
    e.Copier(Lourd());
    e.EdtModifie = true;
    ServicesMuets services;
    TFiche_Donnees fiche(nullptr, e, services);
    fiche.show();
    auto* jour = Controle<QComboBox>(fiche, "CBJour");
    int j = 0;
    for (auto _ : etat) {
        j = 1 - j;
        Choisir(jour, j);
    }
}

void AjouterUneLigne(benchmark::State& etat)
{
    REdt e;
    e.Copier(Lourd());
    ServicesMuets services;
    TFiche_Donnees fiche(nullptr, e, services);
    fiche.show();
    auto* ajout = Controle<QToolButton>(fiche, "BtnAjoutSequence");
    for (auto _ : etat)
        ajout->click();
}

void FermerParOK(benchmark::State& etat)
{
    ServicesMuets services;
    for (auto _ : etat) {
        etat.PauseTiming();
        REdt e;
        e.Copier(Lourd());
        auto* fiche = new TFiche_Donnees(nullptr, e, services);
        fiche->show();
        Controle<QToolButton>(*fiche, "BtnAjoutSequence")->click();
        etat.ResumeTiming();
        Controle<QPushButton>(*fiche, "BtnOK")->click();
        etat.PauseTiming();
        delete fiche;
        etat.ResumeTiming();
    }
}

// The redraw the main window runs after OK, on the timetable as OK left it.
void RedessinApresOK(benchmark::State& etat)
{
    ServicesMuets services;
    REdt e;
    e.Copier(Lourd());
    {
        TFiche_Donnees fiche(nullptr, e, services);
        fiche.show();
        Controle<QToolButton>(fiche, "BtnAjoutSequence")->click();
        Controle<QPushButton>(fiche, "BtnOK")->click();
    }
    for (auto _ : etat) {
        ResultatDessin r = Redessiner(e);
        benchmark::DoNotOptimize(r.image.constBits());
    }
}

// Floor: the same timetable, with the same added row, that never saw the dialog.
void RedessinPlancher(benchmark::State& etat)
{
    REdt e;
    e.Copier(Lourd());
    RSequence s;
    s.Debut = e.Jours[0].ParSemaine[0].Sequences.back().Fin;
    s.Fin = AjouterMinutes(s.Debut, e.DureeSeq);
    e.Jours[0].ParSemaine[0].Sequences.push_back(s);
    e.EdtModifie = true;
    for (auto _ : etat) {
        ResultatDessin r = Redessiner(e);
        benchmark::DoNotOptimize(r.image.constBits());
    }
}

} // namespace

BENCHMARK(Ouvrir)->Unit(benchmark::kMillisecond);
BENCHMARK(ChangerDeSemaine)->Unit(benchmark::kMillisecond);
BENCHMARK(ChangerDeJour)->Unit(benchmark::kMillisecond);
BENCHMARK(ChangerDeJourModifie)->Unit(benchmark::kMillisecond);
BENCHMARK(AjouterUneLigne)->Unit(benchmark::kMillisecond);
BENCHMARK(FermerParOK)->Unit(benchmark::kMillisecond);
BENCHMARK(RedessinApresOK)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(RedessinPlancher)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    return horaku::banc::LancerBancs<QApplication>(argc, argv);
}
