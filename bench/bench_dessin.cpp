// The redraw (layout with all its measuring, then drawing) of the realistic
// and the large example, against two yardsticks measured in the same run:
//   - ancien: the same picture painted by QPainter alone, every text by
//     drawText (RedessinerReference, the drawing before the ink cache);
//   - plancher: what no redraw can beat, a new white picture and the grey
//     framed, colour-filled box rectangles, no text, no layout.
// The redraw itself runs
//   - chaud: as in the window, the ink cache kept from the redraws before,
//     one display option changed before each redraw (contour, day names,
//     hours, title, hour width one pixel more or less, in turn), the
//     previous picture still alive;
//   - froid: the same, the ink cache emptied before each redraw.
// At the end, the medians of CPU time side by side and their ratios.
#include "classesedt.h"
#include "dessin.h"
#include "lancer_bancs.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

using namespace horaku;

namespace
{

REdt Charger(const char* nom)
{
    REdt e;
    e.Fichier = std::string(HORAKU_SOURCES) + "/examples/" + nom;
    e.Charger();
    return e;
}

// One display option changed, as a click in the panel changes it.
void ChangerOption(REdt& e, int n)
{
    switch (n % 5) {
    case 0:
        e.AffichContour = !e.AffichContour;
        break;
    case 1:
        e.AffichJours = !e.AffichJours;
        break;
    case 2:
        e.AffichHeures = !e.AffichHeures;
        break;
    case 3:
        e.AffichNom = !e.AffichNom;
        break;
    default:
        e.Mesures.HeureLarg += n % 10 < 5 ? 1 : -1;
        break;
    }
}

void Compter(benchmark::State& etat)
{
    const EtatCacheEncres cache = CacheEncresDuProcessus();
    etat.counters["encres"] = static_cast<double>(cache.textes);
    etat.counters["Ko_cache"] = static_cast<double>(cache.octets) / 1024.0;
}

void Ancien(benchmark::State& etat, const char* nom)
{
    REdt e = Charger(nom);
    ResultatDessin precedent;
    int n = 0;
    for (auto _ : etat) {
        ChangerOption(e, n++);
        ResultatDessin r = RedessinerReference(e);
        benchmark::DoNotOptimize(r.image.constBits());
        precedent = std::move(r);
    }
}

void Chaud(benchmark::State& etat, const char* nom)
{
    REdt e = Charger(nom);
    ResultatDessin precedent;
    int n = 0;
    for (int i = 0; i < 20; ++i) { // every option state drawn once: the steady state
        ChangerOption(e, n++);
        precedent = Redessiner(e);
    }
    for (auto _ : etat) {
        ChangerOption(e, n++);
        ResultatDessin r = Redessiner(e);
        benchmark::DoNotOptimize(r.image.constBits());
        precedent = std::move(r);
    }
    Compter(etat);
}

void Froid(benchmark::State& etat, const char* nom)
{
    REdt e = Charger(nom);
    ResultatDessin precedent;
    int n = 0;
    for (auto _ : etat) {
        etat.PauseTiming();
        CacheEncresDuProcessus(true);
        ChangerOption(e, n++);
        etat.ResumeTiming();
        ResultatDessin r = Redessiner(e);
        benchmark::DoNotOptimize(r.image.constBits());
        precedent = std::move(r);
    }
    Compter(etat);
}

void Plancher(benchmark::State& etat, const char* nom)
{
    REdt e = Charger(nom);
    const ResultatDessin r = Redessiner(e);
    const DescriptionImage& d = r.description;
    std::vector<std::pair<Rect, QRgb>> boites;
    for (const JourImage& j : d.jours)
        for (const BoiteImage& b : j.boites)
            boites.emplace_back(
                b.rect, CouleurQt(e.Semaines[static_cast<std::size_t>(b.semaine)].Couleur).rgb());
    QImage precedent;
    for (auto _ : etat) {
        QImage image(d.largeur, d.hauteur, QImage::Format_RGB32);
        image.fill(0xFFFFFFFF);
        auto* pixels = reinterpret_cast<QRgb*>(image.bits());
        const qsizetype pas = image.bytesPerLine() / 4;
        const auto remplir = [&](int g, int h, int dr, int b, QRgb c) {
            for (int y = h; y < b; ++y)
                std::fill(pixels + y * pas + g, pixels + y * pas + dr, c);
        };
        // Every box lies inside the picture: no clipping.
        for (const auto& [b, c] : boites) {
            remplir(b.g, b.h, b.d, b.h + 1, 0xFF808080);
            remplir(b.g, b.h + 1, b.g + 1, b.b - 1, 0xFF808080);
            remplir(b.g + 1, b.h + 1, b.d - 1, b.b - 1, c);
            remplir(b.d - 1, b.h + 1, b.d, b.b - 1, 0xFF808080);
            remplir(b.g, b.b - 1, b.d, b.b, 0xFF808080);
        }
        benchmark::DoNotOptimize(image.constBits());
        precedent = std::move(image);
    }
    etat.counters["boites"] = static_cast<double>(boites.size());
}

void Resume(const std::map<std::string, double>& m)
{
    std::printf("\nMédianes du temps CPU, même exécution :\n");
    for (const char* ex : {"realiste", "grand"}) {
        const auto val = [&](const char* quoi) {
            const auto it = m.find(std::string(quoi) + "/" + ex);
            return it == m.end() ? 0.0 : it->second;
        };
        const double ancien = val("Ancien");
        const double plancher = val("Plancher");
        if (ancien <= 0 || plancher <= 0) continue;
        std::printf("  %-9s ancien %7.3f ms   plancher %7.3f ms (%.3f x ancien)\n", ex, ancien,
                    plancher, plancher / ancien);
        for (const char* quoi : {"Chaud", "Froid"}) {
            const double t = val(quoi);
            if (t > 0)
                std::printf("  %-9s %-8s %7.3f ms   %.3f x ancien   %.2f x plancher\n", ex, quoi, t,
                            t / ancien, t / plancher);
        }
    }
}

} // namespace

#define HORAKU_BANC(fonction, exemple)                                                             \
    BENCHMARK_CAPTURE(fonction, exemple, #exemple ".edt")                                          \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Repetitions(9)                                                                           \
        ->ReportAggregatesOnly(true)

HORAKU_BANC(Ancien, realiste);
HORAKU_BANC(Chaud, realiste);
HORAKU_BANC(Froid, realiste);
HORAKU_BANC(Plancher, realiste);
HORAKU_BANC(Ancien, grand);
HORAKU_BANC(Chaud, grand);
HORAKU_BANC(Froid, grand);
HORAKU_BANC(Plancher, grand);

int main(int argc, char** argv)
{
    return horaku::banc::LancerBancs(argc, argv, Resume);
}
