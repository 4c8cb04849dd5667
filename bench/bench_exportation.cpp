// Picture export of the realistic and the large example, as the window
// exports them (ExporterImage: encoding, then the atomic write), against the
// GIF export of the same picture in the same run; the PNG also as it was
// written before (QImage::save, 24-bit, zlib's default level), for the
// ratio.  At the end: CPU time and file size of each, and their ratios to
// the GIF and to the former PNG.
#include "classesedt.h"
#include "dessin.h"
#include "exportation.h"
#include "lancer_bancs.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

using namespace horaku;

namespace
{

QImage Image(const char* nom)
{
    REdt e;
    e.Fichier = std::string(HORAKU_SOURCES) + "/examples/" + nom + ".edt";
    e.Charger();
    return Redessiner(e).image;
}

QTemporaryDir& Dossier()
{
    static QTemporaryDir dossier;
    return dossier;
}

std::map<std::string, long long>& Tailles()
{
    static std::map<std::string, long long> tailles;
    return tailles;
}

void Exporter(benchmark::State& etat, const char* nom, const char* ext)
{
    const QImage image = Image(nom);
    const std::string chemin =
        Dossier().filePath(QStringLiteral("%1.%2").arg(nom, ext)).toStdString();
    for (auto _ : etat)
        ExporterImage(image, chemin);
    Tailles()[std::string(ext) + "/" + nom] = QFileInfo(QString::fromStdString(chemin)).size();
}

void PngAvant(benchmark::State& etat, const char* nom)
{
    const QImage image = Image(nom);
    QByteArray octets;
    for (auto _ : etat) {
        octets.clear();
        QBuffer tampon(&octets);
        tampon.open(QIODevice::WriteOnly);
        image.save(&tampon, "PNG");
    }
    Tailles()[std::string("png-avant/") + nom] = octets.size();
}

void Resume(const std::map<std::string, double>& m)
{
    std::printf("\nMédianes du temps CPU et tailles, même exécution :\n");
    for (const char* ex : {"realiste", "grand"}) {
        const auto temps = [&](const std::string& quoi) {
            const auto it = m.find(quoi + "/" + ex);
            return it == m.end() ? 0.0 : it->second;
        };
        const auto taille = [&](const std::string& quoi) {
            return static_cast<double>(Tailles()[quoi + "/" + ex]);
        };
        const double gif = temps("Gif");
        const double avant = temps("PngAvant");
        if (gif <= 0 || avant <= 0) continue;
        for (const char* f : {"gif", "bmp", "png"}) {
            std::string nom = f;
            nom[0] = static_cast<char>(nom[0] - 'a' + 'A');
            const double t = temps(nom);
            std::printf("  %-9s %-10s %8.2f ms %6.2f x gif  %10.0f octets\n", ex, f, t, t / gif,
                        taille(f));
        }
        std::printf("  %-9s %-10s %8.2f ms %6.2f x gif  %10.0f octets\n", ex, "png avant", avant,
                    avant / gif, taille("png-avant"));
        std::printf("  %-9s png : %.2f x le temps d'avant, %.3f x la taille d'avant\n", ex,
                    temps("Png") / avant, taille("png") / taille("png-avant"));
    }
}

} // namespace

#define HORAKU_EXPORT(nom, exemple, ext)                                                           \
    BENCHMARK_CAPTURE(Exporter, exemple, #exemple, ext)                                            \
        ->Name(nom "/" #exemple)                                                                   \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Repetitions(5)                                                                           \
        ->ReportAggregatesOnly(true)

HORAKU_EXPORT("Gif", realiste, "gif");
HORAKU_EXPORT("Bmp", realiste, "bmp");
HORAKU_EXPORT("Png", realiste, "png");
BENCHMARK_CAPTURE(PngAvant, realiste, "realiste")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
HORAKU_EXPORT("Gif", grand, "gif");
HORAKU_EXPORT("Bmp", grand, "bmp");
HORAKU_EXPORT("Png", grand, "png");
BENCHMARK_CAPTURE(PngAvant, grand, "grand")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    return horaku::banc::LancerBancs(argc, argv, Resume);
}
