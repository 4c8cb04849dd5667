// GIF export speed: our whole encoder (colour tree, nearest colours, palette,
// LZW, file bytes) against giflib's LZW alone on the same picture already
// reduced to the same palette.
//
//   bench_gif [--image=PICTURE]... [benchmark options]
//       benchmarks on the pictures given (any format Qt reads), else on the
//       realistic and large examples as the redraw draws them, and on two
//       synthetic timetables of the sizes of a busy week and of a whole
//       year, 1200×900 and 1500×7000;
//   bench_gif [--image=PICTURE]... --ecrire=FOLDER
//       writes each picture as NAME.bmp, NAME-horaku.gif and NAME-giflib.gif
//       into FOLDER, for bench/compare-gif.sh.
#include "classesedt.h"
#include "dessin.h"
#include "gif.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#ifdef HORAKU_AVEC_GIFLIB
#include <gif_lib.h>
#endif

using namespace horaku;

namespace
{

struct Image {
    std::string nom;
    int largeur = 0;
    int hauteur = 0;
    std::vector<std::uint32_t> pixels; // 0xFFRRGGBB, as Qt's RGB32
};

// ---------------------------------------------------------------------------
// Synthetic timetables: white page, title, hour scale, days of week rows,
// boxes framed in grey and filled with their week's colour, short texts in
// a 5×7 pixel font drawn without smoothing.

class Toile
{
public:
    Toile(Image& image) : im_(image) {}

    void Rectangle(int l, int t, int r, int b, std::uint32_t c)
    {
        l = std::max(l, 0), t = std::max(t, 0);
        r = std::min(r, im_.largeur), b = std::min(b, im_.hauteur);
        for (int y = t; y < b; ++y)
            std::fill(&im_.pixels[Place(l, y)], &im_.pixels[Place(l, y)] + std::max(0, r - l),
                      0xFF000000u | c);
    }

    void Cadre(int l, int t, int r, int b, std::uint32_t fond, std::uint32_t bord)
    {
        Rectangle(l, t, r, b, bord);
        Rectangle(l + 1, t + 1, r - 1, b - 1, fond);
    }

    // Text clipped to [l, r) × [t, b); answers its width.
    int Texte(const std::string& s, int x, int y, std::uint32_t c, int l, int t, int r, int b)
    {
        for (unsigned char ch : s) {
            const std::uint64_t glyphe = Glyphe(ch);
            for (int gy = 0; gy < 7; ++gy)
                for (int gx = 0; gx < 5; ++gx)
                    if (glyphe >> (gy * 5 + gx) & 1) {
                        const int px = x + gx, py = y + gy;
                        if (px >= l && px < r && py >= t && py < b && px >= 0 && py >= 0 &&
                            px < im_.largeur && py < im_.hauteur)
                            im_.pixels[Place(px, py)] = 0xFF000000u | c;
                    }
            x += 6;
        }
        return int(s.size()) * 6;
    }

private:
    std::size_t Place(int x, int y) const
    {
        return std::size_t(y) * std::size_t(im_.largeur) + std::size_t(x);
    }

    static std::uint64_t Glyphe(unsigned char ch)
    {
        static std::vector<std::uint64_t> glyphes = [] {
            std::vector<std::uint64_t> g(256);
            std::mt19937_64 hasard(42);
            for (auto& v : g)
                v = (hasard() & hasard()) | (hasard() & 0x0842108421ull); // ~1/3 ink, some stems
            g[' '] = 0;
            return g;
        }();
        return glyphes[ch];
    }

    Image& im_;
};

std::string Mot(std::mt19937& h, int min, int max)
{
    static const char lettres[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-";
    std::string s;
    const int n = min + int(h() % unsigned(max - min + 1));
    for (int i = 0; i < n; ++i)
        s += lettres[h() % (sizeof lettres - 1)];
    return s;
}

Image EmploiDuTemps(const std::string& nom, int largeur, int hauteur, int jours, int semaines,
                    int boitesParLigne)
{
    Image im{nom, largeur, hauteur,
             std::vector<std::uint32_t>(std::size_t(largeur) * std::size_t(hauteur), 0xFFFFFFFF)};
    Toile toile(im);
    std::mt19937 h(7);
    const std::uint32_t encres[] = {0x000000, 0x000000, 0x000000, 0x800000, 0x000080, 0x008000};
    std::vector<std::uint32_t> couleurs;
    for (int s = 0; s < semaines; ++s)
        couleurs.push_back(0x808080 | (h() & 0x7F7F7F)); // light colours

    toile.Texte(Mot(h, 12, 20), largeur / 3, 8, 0x000000, 0, 0, largeur, hauteur);
    const int axe = 40, gauche = 80;
    toile.Rectangle(gauche, axe, largeur - 10, axe + 1, 0x000000);
    const int heures = 11, largeurHeure = (largeur - gauche - 20) / heures;
    for (int k = 0; k <= heures; ++k) {
        const int x = gauche + k * largeurHeure;
        toile.Rectangle(x, axe - 3, x + 1, axe, 0x000000);
        toile.Texte(std::to_string(8 + k) + "h", x - 6, axe - 14, 0x000000, 0, 0, largeur, axe);
    }
    const int haut = axe + 10, bas = hauteur - 20;
    const int hauteurJour = (bas - haut) / jours, hauteurLigne = hauteurJour / semaines;
    for (int j = 0; j < jours; ++j) {
        const int tj = haut + j * hauteurJour;
        toile.Texte(Mot(h, 5, 8), 4, tj + 2, 0x000000, 0, tj, gauche, tj + hauteurJour);
        for (int s = 0; s < semaines; ++s) {
            const int t = tj + s * hauteurLigne, b = t + hauteurLigne - 1;
            int x = gauche + int(h() % 20);
            for (int k = 0; k < boitesParLigne; ++k) {
                const int l = x, r = std::min(largeur - 10, l + 40 + int(h() % 80));
                if (r - l < 20) break;
                toile.Cadre(l, t, r, b, couleurs[std::size_t(s)], 0x808080);
                // Up to four text cells side by side, each one to three lines.
                const int cellules = 1 + int(h() % 4), lc = (r - l - 2) / cellules;
                for (int c = 0; c < cellules; ++c) {
                    const int cl = l + 1 + c * lc, cr = cl + lc;
                    const std::uint32_t encre = encres[h() % 6];
                    for (int ligne = 0; ligne < 3 && t + 2 + ligne * 9 + 7 <= b; ++ligne)
                        toile.Texte(Mot(h, 2, 7), cl + 1, t + 2 + ligne * 9, encre, cl, t + 1, cr,
                                    b - 1);
                }
                x = r + int(h() % 15);
            }
        }
    }
    toile.Texte("horaku.example", largeur - 100, hauteur - 12, 0x000000, 0, 0, largeur, hauteur);
    return im;
}

Image DepuisQt(QImage q, const std::string& nom)
{
    Image image;
    q = q.convertToFormat(QImage::Format_RGB32);
    image.nom = nom;
    image.largeur = q.width();
    image.hauteur = q.height();
    image.pixels.resize(std::size_t(q.width()) * std::size_t(q.height()));
    for (int y = 0; y < q.height(); ++y)
        std::memcpy(&image.pixels[std::size_t(y) * std::size_t(q.width())], q.constScanLine(y),
                    std::size_t(q.width()) * 4);
    return image;
}

bool Charger(const std::string& chemin, Image& image)
{
    QImage q(QString::fromStdString(chemin));
    if (q.isNull()) return false;
    image = DepuisQt(q, QFileInfo(QString::fromStdString(chemin)).completeBaseName().toStdString());
    return true;
}

// An example timetable as the redraw draws it; false when it draws nothing.
bool Dessiner(const std::string& nom, Image& image)
{
    REdt e;
    e.Fichier = std::string(HORAKU_SOURCES) + "/examples/" + nom + ".edt";
    try {
        e.Charger();
    } catch (const std::exception&) {
        return false;
    }
    const ResultatDessin r = Redessiner(e);
    if (r.etat != ResultatDessin::Dessine) return false;
    image = DepuisQt(r.image, nom);
    return true;
}

// ---------------------------------------------------------------------------
// giflib, given the indices and palette our reduction produced.

#ifdef HORAKU_AVEC_GIFLIB
int EcrireEnMemoire(GifFileType* fichier, const GifByteType* octets, int n)
{
    auto* sortie = static_cast<std::vector<std::uint8_t>*>(fichier->UserData);
    sortie->insert(sortie->end(), octets, octets + n);
    return n;
}

std::vector<std::uint8_t> EncoderGiflib(const ImageGif& image)
{
    std::vector<std::uint8_t> sortie;
    int erreur = 0;
    GifFileType* fichier = EGifOpen(&sortie, EcrireEnMemoire, &erreur);
    if (!fichier) return {};
    int b = 1;
    while ((std::size_t{1} << b) < image.palette.size())
        ++b;
    std::vector<GifColorType> couleurs(std::size_t{1} << b, GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < image.palette.size(); ++i)
        couleurs[i] =
            GifColorType{GifByteType(image.palette[i] >> 16), GifByteType(image.palette[i] >> 8),
                         GifByteType(image.palette[i])};
    ColorMapObject* table = GifMakeMapObject(1 << b, couleurs.data());
    EGifSetGifVersion(fichier, true);
    EGifPutScreenDesc(fichier, image.largeur, image.hauteur, b, 0, nullptr);
    if (image.transparent >= 0) {
        const GifByteType controle[4] = {0x01, 0, 0, GifByteType(image.transparent)};
        EGifPutExtension(fichier, GRAPHICS_EXT_FUNC_CODE, 4, controle);
    }
    EGifPutImageDesc(fichier, 0, 0, image.largeur, image.hauteur, false, table);
    for (int y = 0; y < image.hauteur; ++y)
        EGifPutLine(
            fichier,
            const_cast<GifPixelType*>(&image.indices[std::size_t(y) * std::size_t(image.largeur)]),
            image.largeur);
    EGifCloseFile(fichier, &erreur);
    GifFreeMapObject(table);
    return sortie;
}
#endif

std::vector<std::uint8_t> Horaku(const Image& im)
{
    return EncoderGif(im.pixels.data(), im.largeur, im.hauteur, im.largeur);
}

void Compteurs(benchmark::State& etat, const Image& im, std::size_t octets)
{
    etat.counters["octets"] = double(octets);
    etat.counters["Mpixels/s"] = benchmark::Counter(double(im.pixels.size()) / 1e6,
                                                    benchmark::Counter::kIsIterationInvariantRate);
}

void Enregistrer(const std::vector<Image>& images)
{
    for (const Image& im : images) {
        benchmark::RegisterBenchmark(("horaku/" + im.nom).c_str(), [&im](benchmark::State& etat) {
            std::size_t octets = 0;
            for (auto _ : etat) {
                const std::vector<std::uint8_t> f = Horaku(im);
                octets = f.size();
                benchmark::DoNotOptimize(f.data());
            }
            Compteurs(etat, im, octets);
        })->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("horaku_reduction/" + im.nom).c_str(), [&im](benchmark::State&
                                                                                       etat) {
            for (auto _ : etat) {
                ImageGif r = ReduireGif(im.pixels.data(), im.largeur, im.hauteur, im.largeur);
                benchmark::DoNotOptimize(r.indices.data());
            }
            Compteurs(etat, im, 0);
        })->Unit(benchmark::kMillisecond);
        auto reduite = std::make_shared<ImageGif>(
            ReduireGif(im.pixels.data(), im.largeur, im.hauteur, im.largeur));
        benchmark::RegisterBenchmark(("horaku_lzw/" + im.nom).c_str(), [&im, reduite](
                                                                           benchmark::State& etat) {
            std::size_t octets = 0;
            for (auto _ : etat) {
                const std::vector<std::uint8_t> f = EcrireGif(*reduite);
                octets = f.size();
                benchmark::DoNotOptimize(f.data());
            }
            Compteurs(etat, im, octets);
        })->Unit(benchmark::kMillisecond);
#ifdef HORAKU_AVEC_GIFLIB
        benchmark::RegisterBenchmark(("giflib_lzw/" + im.nom).c_str(), [&im, reduite](
                                                                           benchmark::State& etat) {
            std::size_t octets = 0;
            for (auto _ : etat) {
                const std::vector<std::uint8_t> f = EncoderGiflib(*reduite);
                octets = f.size();
                benchmark::DoNotOptimize(f.data());
            }
            Compteurs(etat, im, octets);
        })->Unit(benchmark::kMillisecond);
#endif
    }
}

bool EcrireFichier(const std::string& chemin, const std::vector<std::uint8_t>& octets)
{
    std::ofstream f(chemin, std::ios::binary);
    f.write(reinterpret_cast<const char*>(octets.data()), std::streamsize(octets.size()));
    return bool(f);
}

int Ecrire(const std::vector<Image>& images, const std::string& dossier)
{
    for (const Image& im : images) {
        const std::string base = dossier + "/" + im.nom;
        QImage q(reinterpret_cast<const uchar*>(im.pixels.data()), im.largeur, im.hauteur,
                 im.largeur * 4, QImage::Format_RGB32);
        if (!q.save(QString::fromStdString(base + ".bmp"), "BMP") ||
            !EcrireFichier(base + "-horaku.gif", Horaku(im))) {
            std::fprintf(stderr, "écriture impossible dans %s\n", dossier.c_str());
            return 1;
        }
#ifdef HORAKU_AVEC_GIFLIB
        const ImageGif r = ReduireGif(im.pixels.data(), im.largeur, im.hauteur, im.largeur);
        if (!EcrireFichier(base + "-giflib.gif", EncoderGiflib(r))) return 1;
#endif
        std::printf("%s %dx%d\n", im.nom.c_str(), im.largeur, im.hauteur);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    std::vector<std::string> chemins;
    std::string dossier;
    std::vector<char*> reste;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--image=", 0) == 0)
            chemins.push_back(a.substr(8));
        else if (a.rfind("--ecrire=", 0) == 0)
            dossier = a.substr(9);
        else
            reste.push_back(argv[i]);
    }
    std::vector<Image> images;
    for (const std::string& c : chemins) {
        Image im;
        if (!Charger(c, im)) {
            std::fprintf(stderr, "image illisible : %s\n", c.c_str());
            return 1;
        }
        images.push_back(std::move(im));
    }
    if (images.empty()) {
        for (const char* exemple : {"realiste", "grand"}) {
            Image im;
            if (Dessiner(exemple, im)) images.push_back(std::move(im));
        }
        images.push_back(EmploiDuTemps("synthese-1200x900", 1200, 900, 5, 2, 6));
        images.push_back(EmploiDuTemps("synthese-1500x7000", 1500, 7000, 7, 52, 10));
    }
    if (!dossier.empty()) return Ecrire(images, dossier);

    int n = int(reste.size());
    benchmark::Initialize(&n, reste.data());
    if (benchmark::ReportUnrecognizedArguments(n, reste.data())) return 1;
    Enregistrer(images);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
