// The redraw (layout with all its measuring, then drawing) against a floor:
// a bare QPainter loop drawing the same boxes and texts at the same places,
// with the fonts, colours and strings already prepared.
#include "classesedt.h"
#include "cp1252.h"
#include "dessin.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

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

struct TextePlace {
    int police;
    QPoint point;
    QString texte;
    QColor couleur;
};

struct Scene {
    QSize taille;
    std::vector<QFont> polices;
    std::vector<std::pair<QRect, QColor>> boites;
    std::vector<TextePlace> textes;
};

Scene Preparer(REdt e)
{
    Scene s;
    const ResultatDessin r = Redessiner(e);
    const DescriptionImage& d = r.description;
    s.taille = QSize(d.largeur, d.hauteur);
    for (const RLibel& l : e.Libelles)
        s.polices.push_back(PoliceQt(l.Police));
    const auto ajouter = [&](int slot, Point p, const std::string& t) {
        const QFontMetrics fm(s.polices[static_cast<std::size_t>(slot)]);
        s.textes.push_back(
            TextePlace{slot, QPoint(p.x, p.y + fm.ascent()), QString::fromUtf8(Cp1252VersUtf8(t)),
                       CouleurQt(e.Libelles[static_cast<std::size_t>(slot)].Police.Couleur)});
    };
    for (const JourImage& j : d.jours) {
        if (j.nom) ajouter(LibJours, *j.nom, e.Jours[static_cast<std::size_t>(j.jour)].Nom);
        for (const BoiteImage& b : j.boites) {
            s.boites.emplace_back(
                QRect(b.rect.g, b.rect.h, b.rect.d - b.rect.g, b.rect.b - b.rect.h),
                CouleurQt(e.Semaines[static_cast<std::size_t>(b.semaine)].Couleur));
            const RSequence& q = e.Jours[static_cast<std::size_t>(j.jour)]
                                     .ParSemaine[static_cast<std::size_t>(b.semaine)]
                                     .Sequences[static_cast<std::size_t>(b.sequence)];
            for (int g = 0; g < 4; ++g)
                if (!q.Textes[static_cast<std::size_t>(g)].empty())
                    ajouter(1 + g, b.departs[static_cast<std::size_t>(g)],
                            q.Textes[static_cast<std::size_t>(g)]);
        }
    }
    if (d.titre) ajouter(LibTitre, *d.titre, e.Titre);
    if (d.heures)
        for (const EtiquetteHeure& et : d.heures->etiquettes)
            ajouter(LibHeure, Point{et.x, d.heures->axeY - 40}, et.texte);
    ajouter(LibWeb, d.web, kTexteWeb);
    return s;
}

void Redraw(benchmark::State& etat, const char* nom)
{
    const REdt modele = Charger(nom);
    REdt e = modele;
    for (auto _ : etat) {
        ResultatDessin r = Redessiner(e);
        benchmark::DoNotOptimize(r.image.constBits());
    }
}

void Plancher(benchmark::State& etat, const char* nom)
{
    const Scene s = Preparer(Charger(nom));
    for (auto _ : etat) {
        QImage image(s.taille, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setPen(QColor(0x80, 0x80, 0x80));
        for (const auto& [r, c] : s.boites) {
            p.fillRect(r, c);
            p.drawRect(r.adjusted(0, 0, -1, -1));
        }
        int police = -1;
        for (const TextePlace& t : s.textes) {
            if (t.police != police) {
                p.setFont(s.polices[static_cast<std::size_t>(t.police)]);
                police = t.police;
            }
            p.setPen(t.couleur);
            p.drawText(t.point, t.texte);
        }
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    etat.counters["boites"] = static_cast<double>(s.boites.size());
    etat.counters["textes"] = static_cast<double>(s.textes.size());
}

} // namespace

BENCHMARK_CAPTURE(Redraw, realiste, "realiste.edt")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Plancher, realiste, "realiste.edt")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Redraw, grand, "grand.edt")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(Plancher, grand, "grand.edt")
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
