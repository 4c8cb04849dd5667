// The vector exports against the PNG export of the same picture, in the same
// run, each from the timetable to the written file (layout, drawing,
// encoding, write).  Goal: PDF and SVG each under twice the PNG time, and the
// PDF file smaller than the PNG.  The counter "octets" is the file's size.
#include "classesedt.h"
#include "dessin.h"
#include "exportation.h"
#include "lancer_bancs.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>

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

QTemporaryDir& Dossier()
{
    static QTemporaryDir dossier;
    return dossier;
}

void Exporter(benchmark::State& etat, const char* exemple, const char* extension)
{
    REdt e = Charger(exemple);
    const std::string chemin =
        Dossier().filePath(QStringLiteral("bench")).toStdString() + extension;
    const bool vecteur = ExtensionVectorielle(chemin);
    for (auto _ : etat) {
        if (vecteur) {
            ExporterVecteur(e, chemin);
        } else {
            const ResultatDessin r = Redessiner(e);
            ExporterImage(r.image, chemin);
        }
    }
    etat.counters["octets"] = static_cast<double>(QFileInfo(QString::fromStdString(chemin)).size());
}

} // namespace

BENCHMARK_CAPTURE(Exporter, png_realiste, "realiste.edt", ".png")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Exporter, pdf_realiste, "realiste.edt", ".pdf")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Exporter, svg_realiste, "realiste.edt", ".svg")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Exporter, png_grand, "grand.edt", ".png")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Exporter, pdf_grand, "grand.edt", ".pdf")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Exporter, svg_grand, "grand.edt", ".svg")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    return horaku::banc::LancerBancs(argc, argv);
}
