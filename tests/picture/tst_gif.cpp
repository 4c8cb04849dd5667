// GIF encoder: every file is read back twice, by a strict reader written here
// (layout, code widths, clear and end codes) and by Qt's GIF reader, and
// compared pixel by pixel with a plain pixel-by-pixel reference of the colour
// tree and the nearest-colour cache.
#include "gif.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QtTest>

#include <array>
#include <memory>
#include <random>
#include <set>

using namespace horaku;

namespace
{

constexpr std::uint32_t kBlanc = 0xFFFFFF;

const std::uint32_t kStatiques[20] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
                                      0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0,
                                      0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
                                      0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

struct Image {
    int largeur = 0;
    int hauteur = 0;
    int pas = 0;
    std::vector<std::uint32_t> pixels;

    Image() = default;
    Image(int l, int h) : largeur(l), hauteur(h), pas(l), pixels(std::size_t(l) * h, kBlanc) {}
    std::uint32_t& at(int x, int y) { return pixels[std::size_t(y) * pas + x]; }
    std::uint32_t at(int x, int y) const { return pixels[std::size_t(y) * pas + x] & 0xFFFFFF; }
};

} // namespace

Q_DECLARE_METATYPE(Image)

namespace
{

// ---------------------------------------------------------------------------
// Reference: the colour tree pixel by pixel, with its own nodes.

class OctreeReference
{
public:
    void Ajouter(std::uint32_t c)
    {
        const int r = (c >> 16) & 0xFF, v = (c >> 8) & 0xFF, b = c & 0xFF;
        std::unique_ptr<Noeud>* lien = &racine_;
        for (int d = 0;; ++d) {
            if (!*lien) *lien = Creer(d);
            Noeud* n = lien->get();
            if (n->feuille) {
                n->nombre += 1;
                n->r += r;
                n->v += v;
                n->b += b;
                break;
            }
            const int bit = 7 - d;
            lien = &n->enfants[((r >> bit) & 1) * 4 + ((v >> bit) & 1) * 2 + ((b >> bit) & 1)];
        }
        while (feuilles_ > 236)
            Reduire();
    }

    std::vector<std::uint32_t> Couleurs() const
    {
        std::vector<std::uint32_t> sortie;
        Parcourir(racine_.get(), sortie);
        return sortie;
    }

private:
    struct Noeud {
        bool feuille = false;
        std::uint64_t nombre = 0, r = 0, v = 0, b = 0;
        std::unique_ptr<Noeud> enfants[8];
        Noeud* suivant = nullptr;
    };

    std::unique_ptr<Noeud> Creer(int profondeur)
    {
        auto n = std::make_unique<Noeud>();
        n->feuille = profondeur == 8;
        if (n->feuille) {
            ++feuilles_;
        } else {
            n->suivant = listes_[profondeur];
            listes_[profondeur] = n.get();
        }
        return n;
    }

    void Reduire()
    {
        int d = 7;
        while (d > 0 && listes_[d] == nullptr)
            --d;
        Noeud* n = listes_[d];
        listes_[d] = n->suivant;
        int enfants = 0;
        for (auto& e : n->enfants) {
            if (!e) continue;
            QVERIFY(e->feuille);
            n->nombre += e->nombre;
            n->r += e->r;
            n->v += e->v;
            n->b += e->b;
            e.reset();
            ++enfants;
        }
        n->feuille = true;
        feuilles_ -= enfants - 1;
    }

    static void Parcourir(const Noeud* n, std::vector<std::uint32_t>& sortie)
    {
        if (!n) return;
        if (n->feuille) {
            sortie.push_back(n->nombre == 0 ? 0
                                            : std::uint32_t(n->r / n->nombre) << 16 |
                                                  std::uint32_t(n->v / n->nombre) << 8 |
                                                  std::uint32_t(n->b / n->nombre));
            return;
        }
        for (const auto& e : n->enfants)
            Parcourir(e.get(), sortie);
    }

    std::unique_ptr<Noeud> racine_;
    Noeud* listes_[8] = {};
    int feuilles_ = 0;
};

std::array<std::uint32_t, 256> PaletteReference(const Image& image)
{
    OctreeReference arbre;
    for (int y = 0; y < image.hauteur; ++y)
        for (int x = 0; x < image.largeur; ++x)
            arbre.Ajouter(image.at(x, y));
    std::array<std::uint32_t, 256> palette{};
    std::copy(std::begin(kStatiques), std::end(kStatiques), palette.begin());
    const std::vector<std::uint32_t> couleurs = arbre.Couleurs();
    std::copy(couleurs.begin(), couleurs.end(), palette.begin() + 20);
    return palette;
}

int Seau(std::uint32_t c)
{
    return int((c >> 19) & 31) * 1024 + int((c >> 11) & 31) * 32 + int((c >> 3) & 31);
}

// The entry of the 256 that each pixel takes, rows from top to bottom.
std::vector<int> EntreesReference(const Image& image, const std::array<std::uint32_t, 256>& pal)
{
    std::vector<int> cache(32768, -1);
    for (int i = 0; i < 256; ++i)
        if (cache[Seau(pal[i])] < 0) cache[Seau(pal[i])] = i;
    std::vector<int> entrees;
    for (int y = 0; y < image.hauteur; ++y)
        for (int x = 0; x < image.largeur; ++x) {
            const std::uint32_t c = image.at(x, y);
            int& s = cache[Seau(c)];
            if (s < 0) {
                int meilleur = 1 << 30;
                for (int i = 0; i < 256; ++i) {
                    const int ecart = std::abs(int(c >> 16 & 0xFF) - int(pal[i] >> 16 & 0xFF)) +
                                      std::abs(int(c >> 8 & 0xFF) - int(pal[i] >> 8 & 0xFF)) +
                                      std::abs(int(c & 0xFF) - int(pal[i] & 0xFF));
                    if (ecart < meilleur) {
                        meilleur = ecart;
                        s = i;
                    }
                }
            }
            entrees.push_back(s);
        }
    return entrees;
}

// ---------------------------------------------------------------------------
// Strict reader of the files the encoder writes.

struct Gif {
    QByteArray version;
    int largeurEcran = 0, hauteurEcran = 0;
    int champsEcran = 0, fond = -1, aspect = -1;
    bool extension = false;
    int champsExtension = 0, delai = -1, transparent = -1;
    int gauche = -1, haut = -1, largeur = 0, hauteur = 0, champsImage = 0;
    std::vector<std::uint32_t> table; // all 2^b entries
    int tailleMin = 0;
    std::vector<int> blocs; // sub-block lengths
    int effacements = 0;    // clear codes after the first
    std::vector<std::uint8_t> indices;
};

// Answers an empty text when the file is sound, else what is wrong.
QString Lire(const std::vector<std::uint8_t>& f, Gif& g)
{
    std::size_t p = 0;
    auto reste = [&](std::size_t n) { return p + n <= f.size(); };
    auto octet = [&]() { return reste(1) ? int(f[p++]) : -1; };
    auto mot = [&]() {
        const int a = octet(), b = octet();
        return a < 0 || b < 0 ? -1 : a | b << 8;
    };
    if (!reste(13)) return "fichier trop court";
    g.version = QByteArray(reinterpret_cast<const char*>(f.data()), 6);
    p = 6;
    g.largeurEcran = mot();
    g.hauteurEcran = mot();
    g.champsEcran = octet();
    g.fond = octet();
    g.aspect = octet();
    if (g.champsEcran & 0x80) return "table globale inattendue";
    int o = octet();
    if (o == 0x21) {
        if (octet() != 0xF9 || octet() != 4) return "extension autre que de contrôle graphique";
        g.extension = true;
        g.champsExtension = octet();
        g.delai = mot();
        g.transparent = octet();
        if (octet() != 0) return "extension sans fin de bloc";
        o = octet();
    }
    if (o != 0x2C) return "descripteur d'image absent";
    g.gauche = mot();
    g.haut = mot();
    g.largeur = mot();
    g.hauteur = mot();
    g.champsImage = octet();
    if (!(g.champsImage & 0x80)) return "table locale absente";
    const int entrees = 1 << ((g.champsImage & 7) + 1);
    if (!reste(std::size_t(entrees) * 3)) return "table tronquée";
    for (int i = 0; i < entrees; ++i, p += 3)
        g.table.push_back(std::uint32_t(f[p]) << 16 | std::uint32_t(f[p + 1]) << 8 | f[p + 2]);
    g.tailleMin = octet();
    if (g.tailleMin < 2 || g.tailleMin > 8) return QString("taille minimale %1").arg(g.tailleMin);
    std::vector<std::uint8_t> donnees;
    for (;;) {
        const int n = octet();
        if (n < 0 || !reste(std::size_t(n))) return "sous-bloc tronqué";
        if (n == 0) break;
        g.blocs.push_back(n);
        donnees.insert(donnees.end(), f.begin() + std::ptrdiff_t(p),
                       f.begin() + std::ptrdiff_t(p + n));
        p += std::size_t(n);
    }
    if (octet() != 0x3B) return "pas de fin de fichier";
    if (p != f.size()) return "octets après la fin de fichier";

    // LZW, read as strictly as the standard allows.
    const int effacer = 1 << g.tailleMin, fin = effacer + 1;
    std::size_t bit = 0;
    auto code = [&](int largeur) {
        if (bit + std::size_t(largeur) > donnees.size() * 8) return -1;
        int c = 0;
        for (int i = 0; i < largeur; ++i, ++bit)
            c |= ((donnees[bit / 8] >> (bit % 8)) & 1) << i;
        return c;
    };
    std::vector<int> prefixe(4096, -1), dernier(4096, 0), premier(4096, 0);
    for (int i = 0; i < effacer; ++i)
        dernier[i] = premier[i] = i;
    int largeur = g.tailleMin + 1, prochain = fin + 1, precedent = -1;
    bool debut = true;
    std::vector<std::uint8_t> chaine;
    for (;;) {
        const int c = code(largeur);
        if (c < 0) return "pas de code de fin";
        if (debut && c != effacer) return "le premier code n'efface pas";
        debut = false;
        if (c == effacer) {
            if (precedent >= 0 || prochain != fin + 1) ++g.effacements;
            largeur = g.tailleMin + 1;
            prochain = fin + 1;
            precedent = -1;
            continue;
        }
        if (c == fin) break;
        if (precedent < 0) {
            if (c >= effacer) return "code composé juste après un effacement";
            g.indices.push_back(std::uint8_t(c));
            precedent = c;
            continue;
        }
        if (c > prochain) return QString("code %1 inconnu (prochain %2)").arg(c).arg(prochain);
        if (prochain >= 4096) return "table pleine sans effacement";
        const int tete = c == prochain ? premier[precedent] : premier[c];
        prefixe[prochain] = precedent;
        dernier[prochain] = tete;
        premier[prochain] = premier[precedent];
        ++prochain;
        chaine.clear();
        for (int k = c; k >= 0; k = k < effacer ? -1 : prefixe[k])
            chaine.push_back(std::uint8_t(dernier[k]));
        g.indices.insert(g.indices.end(), chaine.rbegin(), chaine.rend());
        precedent = c;
        if (prochain == (1 << largeur) && largeur < 12) ++largeur;
    }
    // Nothing but zero padding after the end code.
    if (donnees.size() != (bit + 7) / 8) return "données après le code de fin";
    if (bit % 8 != 0 && (donnees.back() >> (bit % 8)) != 0)
        return "bits non nuls après le code de fin";
    return {};
}

std::vector<std::uint8_t> Encoder(const Image& image)
{
    return EncoderGif(image.pixels.data(), image.largeur, image.hauteur, image.pas);
}

QImage LireAvecQt(const std::vector<std::uint8_t>& fichier)
{
    QByteArray octets(reinterpret_cast<const char*>(fichier.data()), qsizetype(fichier.size()));
    QBuffer tampon(&octets);
    QImageReader lecteur(&tampon, "gif");
    return lecteur.read().convertToFormat(QImage::Format_ARGB32);
}

int Bits(std::size_t entrees)
{
    int b = 1;
    while ((std::size_t{1} << b) < entrees)
        ++b;
    return b;
}

// ---------------------------------------------------------------------------
// Pictures.

std::uint32_t Hasard(std::mt19937& g, std::uint32_t n)
{
    return std::uint32_t(g() % n);
}

Image Bruit(int l, int h, unsigned graine)
{
    Image im(l, h);
    std::mt19937 g(graine);
    for (auto& p : im.pixels)
        p = g() & 0xFFFFFF;
    return im;
}

// Runs of random lengths from a random set of colours, across row ends.
Image Suites(int l, int h, unsigned graine, int couleurs, int longueurMax)
{
    Image im(l, h);
    std::mt19937 g(graine);
    std::vector<std::uint32_t> jeu;
    for (int i = 0; i < couleurs; ++i)
        jeu.push_back(g() & 0xFFFFFF);
    std::size_t i = 0;
    while (i < im.pixels.size()) {
        const std::uint32_t c = jeu[Hasard(g, std::uint32_t(couleurs))];
        for (std::uint32_t n = 1 + Hasard(g, std::uint32_t(longueurMax));
             n > 0 && i < im.pixels.size(); --n)
            im.pixels[i++] = c;
    }
    return im;
}

Image Degrade(int l, int h)
{
    Image im(l, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < l; ++x)
            im.at(x, y) = std::uint32_t(x * 255 / l) << 16 | std::uint32_t(y * 255 / h) << 8 |
                          std::uint32_t((x + y) * 255 / (l + h));
    return im;
}

// Colours packed around a few centres: deep trees, reductions at every depth.
Image Grappes(int l, int h, unsigned graine)
{
    Image im(l, h);
    std::mt19937 g(graine);
    std::uint32_t centres[6];
    for (auto& c : centres)
        c = g() & 0xFFFFFF;
    for (auto& p : im.pixels) {
        const std::uint32_t c = centres[Hasard(g, 6)];
        std::uint32_t q = 0;
        for (int k = 0; k < 3; ++k) {
            const int v = int(c >> (8 * k) & 0xFF) + int(Hasard(g, 17)) - 8;
            q |= std::uint32_t(std::clamp(v, 0, 255)) << (8 * k);
        }
        p = q;
    }
    return im;
}

// Colours that keep their own exact entry: each in its own bucket, away from
// the buckets of the static colours, no more than the tree keeps.
std::vector<std::uint32_t> CouleursDistinctes(int n, unsigned graine)
{
    std::mt19937 g(graine);
    std::set<int> seaux;
    for (std::uint32_t s : kStatiques)
        seaux.insert(Seau(s));
    std::vector<std::uint32_t> sortie;
    while (int(sortie.size()) < n) {
        const std::uint32_t c = g() & 0xFFFFFF;
        if (seaux.insert(Seau(c)).second) sortie.push_back(c);
    }
    return sortie;
}

// White page, grey-framed boxes in week colours, strokes of black and
// coloured "text": what a timetable looks like to the encoder.
Image EmploiDuTemps(int l, int h, unsigned graine)
{
    Image im(l, h);
    std::mt19937 g(graine);
    const std::vector<std::uint32_t> semaines = CouleursDistinctes(5, graine + 1);
    const std::uint32_t encres[] = {0x000000, 0xFF0000, 0x000080, 0x808080};
    for (int b = 0; b < 12; ++b) {
        const int x0 = int(Hasard(g, std::uint32_t(l - 20))),
                  y0 = int(Hasard(g, std::uint32_t(h - 12)));
        const int x1 = std::min(l, x0 + 12 + int(Hasard(g, 40))),
                  y1 = std::min(h, y0 + 8 + int(Hasard(g, 20)));
        const std::uint32_t fond = semaines[Hasard(g, 5)];
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                im.at(x, y) = (x == x0 || y == y0 || x == x1 - 1 || y == y1 - 1) ? 0x808080 : fond;
        const std::uint32_t encre = encres[Hasard(g, 4)];
        for (int k = 0; k < (x1 - x0) * (y1 - y0) / 6; ++k)
            im.at(x0 + 2 + int(Hasard(g, std::uint32_t(std::max(1, x1 - x0 - 4)))),
                  y0 + 2 + int(Hasard(g, std::uint32_t(std::max(1, y1 - y0 - 4))))) = encre;
    }
    return im;
}

// 20 depth-4 groups, one per static colour: the colour itself once and a
// neighbour in another bucket of the same group many times, so that the
// merged group lands in the neighbour's bucket and the static entry is still
// used; then `autres` colours of their own groups.  With 217 of them, all 256
// entries are used.
Image PalettePleine(int autres)
{
    auto voisin = [](std::uint32_t s) {
        std::uint32_t t = 0;
        for (int k = 0; k < 3; ++k)
            t |= ((((s >> (8 * k) & 0xFF) ^ 0x08) & 0xF8) | 4) << (8 * k);
        return t;
    };
    std::vector<std::uint32_t> p;
    std::set<std::uint32_t> groupes;
    for (std::uint32_t s : kStatiques) {
        p.push_back(voisin(s));
        p.push_back(s);
        groupes.insert(s & 0xF0F0F0);
    }
    int n = 0;
    for (std::uint32_t k = 0; k < 4096 && n < autres; k += 7) {
        const std::uint32_t c = (k >> 8 & 15) << 20 | (k >> 4 & 15) << 12 | (k & 15) << 4;
        if (groupes.count(c)) continue;
        p.push_back(c | 0x080808);
        ++n;
    }
    for (int k = 0; k < 99 * 20; ++k)
        p.push_back(voisin(kStatiques[k % 20]));
    while (p.size() % 64)
        p.push_back(voisin(kStatiques[0]));
    Image im(64, int(p.size() / 64));
    im.pixels = p;
    return im;
}

} // namespace

class TestGif : public QObject
{
    Q_OBJECT

private slots:
    void octree_data();
    void octree();
    void decodage_data();
    void decodage();
    void fichierConnu();
    void lzw_data();
    void lzw();
    void lzwToutesLongueurs_data();
    void lzwToutesLongueurs();
    void pasEtOctetHaut();
    void refus_data();
    void refus();
};

void TestGif::octree_data()
{
    QTest::addColumn<Image>("image");
    QTest::newRow("bruit, des milliers de couleurs") << Bruit(97, 61, 1);
    QTest::newRow("suites courtes de 400 couleurs") << Suites(120, 80, 2, 400, 6);
    QTest::newRow("suites longues de 300 couleurs") << Suites(300, 40, 3, 300, 200);
    QTest::newRow("suites de 240 couleurs, une réduction à la fois") << Suites(200, 50, 4, 240, 30);
    QTest::newRow("dégradé") << Degrade(160, 90);
    QTest::newRow("grappes serrées") << Grappes(150, 70, 5);
    QTest::newRow("emploi du temps") << EmploiDuTemps(200, 120, 6);
    QTest::newRow("palette pleine") << PalettePleine(217);
    QTest::newRow("une seule couleur") << Image(40, 3);
}

// The run-by-run tree gives the pixel-by-pixel tree's colours exactly.
void TestGif::octree()
{
    QFETCH(Image, image);
    const std::array<std::uint32_t, 256> attendue = PaletteReference(image);
    const std::array<std::uint32_t, 256> obtenue =
        PaletteGif(image.pixels.data(), image.largeur, image.hauteur, image.pas);
    for (int i = 0; i < 256; ++i)
        QVERIFY2(obtenue[std::size_t(i)] == attendue[std::size_t(i)],
                 qPrintable(QString("entrée %1 : %2 au lieu de %3")
                                .arg(i)
                                .arg(obtenue[std::size_t(i)], 6, 16, QChar('0'))
                                .arg(attendue[std::size_t(i)], 6, 16, QChar('0'))));
}

void TestGif::decodage_data()
{
    QTest::addColumn<Image>("image");
    QTest::addColumn<bool>("exacte"); // every colour comes back unchanged
    QTest::addColumn<int>("entrees"); // palette entries in the file, -1: not fixed here
    QTest::addColumn<bool>("transparence");

    QTest::newRow("emploi du temps") << EmploiDuTemps(180, 110, 7) << true << -1 << true;
    {
        // 230 colours of their own, white and black: exact colours.
        Image im(120, 60);
        const std::vector<std::uint32_t> couleurs = CouleursDistinctes(230, 8);
        std::mt19937 g(8);
        for (auto& p : im.pixels) {
            const std::uint32_t k = Hasard(g, 240);
            p = k < 230 ? couleurs[k] : (k < 235 ? kBlanc : 0x000000);
        }
        QTest::newRow("232 couleurs exactes") << im << true << 233 << true;
    }
    QTest::newRow("bruit, plus de 4096 codes") << Bruit(160, 120, 9) << false << -1 << false;
    {
        Image im = Bruit(90, 70, 10);
        for (int k = 0; k < 500; ++k)
            im.pixels[std::size_t(k) * 11 % im.pixels.size()] = kBlanc;
        QTest::newRow("bruit avec du blanc") << im << false << -1 << true;
    }
    QTest::newRow("1×1 blanc") << Image(1, 1) << true << 2 << true;
    {
        Image im(1, 1);
        im.pixels[0] = 0x000000;
        QTest::newRow("1×1 noir") << im << true << 1 << false;
    }
    {
        Image im = EmploiDuTemps(100, 60, 11);
        for (auto& p : im.pixels)
            if (p == kBlanc) p = 0xFFFF00;
        QTest::newRow("sans blanc") << im << true << -1 << false;
    }
    {
        // Near-white shares white's bucket and entry but is not white.
        Image im(30, 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x)
                im.at(x, y) = (x + y) % 3 == 0 ? 0xFAFAFA : ((x * y) % 7 == 0 ? 0x000080 : kBlanc);
        QTest::newRow("presque blanc opaque") << im << false << 3 << true;
    }
    QTest::newRow("256 entrées, pas de transparence")
        << PalettePleine(217) << false << 256 << false;
    QTest::newRow("255 entrées et la transparente") << PalettePleine(216) << false << 256 << true;
    QTest::newRow("tout blanc") << Image(300, 200) << true << 2 << true;
    QTest::newRow("ligne de 4000 pixels") << Suites(4000, 1, 12, 30, 9) << false << -1 << false;
    QTest::newRow("colonne de 3000 pixels") << Suites(1, 3000, 13, 200, 4) << false << -1 << false;
}

void TestGif::decodage()
{
    QFETCH(Image, image);
    QFETCH(bool, exacte);
    QFETCH(int, entrees);
    QFETCH(bool, transparence);

    const std::vector<std::uint8_t> fichier = Encoder(image);
    Gif g;
    const QString erreur = Lire(fichier, g);
    QVERIFY2(erreur.isEmpty(), qPrintable(erreur));

    // What the file must hold, from the reference.
    const std::array<std::uint32_t, 256> palette = PaletteReference(image);
    const std::vector<int> entreesPixels = EntreesReference(image, palette);
    std::array<std::uint64_t, 256> usages{};
    for (int e : entreesPixels)
        ++usages[std::size_t(e)];
    const int utilisees =
        int(std::count_if(usages.begin(), usages.end(), [](auto u) { return u > 0; }));
    const bool blanc =
        std::find(image.pixels.begin(), image.pixels.end(), kBlanc) != image.pixels.end();
    const bool transparente = utilisees < 256 && blanc;
    QCOMPARE(transparente, transparence);
    const int n = utilisees + (transparente ? 1 : 0);
    if (entrees >= 0) QCOMPARE(n, entrees);
    const int b = Bits(std::size_t(n));

    // Layout.
    QCOMPARE(g.version, QByteArray("GIF89a")); // the table is always sorted by use
    QCOMPARE(g.largeurEcran, image.largeur);
    QCOMPARE(g.hauteurEcran, image.hauteur);
    QCOMPARE(g.champsEcran, (b - 1) << 4 | (b - 1));
    QCOMPARE(g.fond, 0);
    QCOMPARE(g.aspect, 0);
    QCOMPARE(g.extension, transparente);
    if (transparente) {
        QCOMPARE(g.champsExtension, 0x01);
        QCOMPARE(g.delai, 0);
        QCOMPARE(g.transparent, n - 1);
        QCOMPARE(g.table[std::size_t(n - 1)], 0u);
    }
    QCOMPARE(g.gauche, 0);
    QCOMPARE(g.haut, 0);
    QCOMPARE(g.largeur, image.largeur);
    QCOMPARE(g.hauteur, image.hauteur);
    QCOMPARE(g.champsImage, 0x80 | 0x20 | (b - 1));
    QCOMPARE(int(g.table.size()), 1 << b);
    for (std::size_t i = std::size_t(n); i < g.table.size(); ++i)
        QCOMPARE(g.table[i], 0u);
    QCOMPARE(g.tailleMin, std::max(2, b));
    for (std::size_t i = 0; i + 1 < g.blocs.size(); ++i)
        QCOMPARE(g.blocs[i], 255);
    QCOMPARE(g.indices.size(), image.pixels.size());

    // Every pixel: the reference's colour, white on the transparent entry.
    std::array<std::uint64_t, 256> parEntree{}; // uses before white moved
    std::array<int, 256> entreeDe;
    entreeDe.fill(-1);
    for (std::size_t i = 0; i < g.indices.size(); ++i) {
        const int k = g.indices[i];
        QVERIFY(k < n);
        const std::uint32_t c = image.pixels[i] & 0xFFFFFF;
        const int e = entreesPixels[i];
        if (transparente && c == kBlanc) {
            QVERIFY2(k == n - 1,
                     qPrintable(QString("pixel %1 blanc mais entrée %2").arg(i).arg(k)));
            continue;
        }
        QVERIFY2(g.table[std::size_t(k)] == palette[std::size_t(e)],
                 qPrintable(QString("pixel %1 : %2 au lieu de %3")
                                .arg(i)
                                .arg(g.table[std::size_t(k)], 6, 16, QChar('0'))
                                .arg(palette[std::size_t(e)], 6, 16, QChar('0'))));
        QVERIFY(entreeDe[std::size_t(k)] < 0 || entreeDe[std::size_t(k)] == e);
        entreeDe[std::size_t(k)] = e;
        if (exacte) QCOMPARE(g.table[std::size_t(k)], c);
    }
    // Ordered by use, counted before white moved to its own entry: that
    // entry keeps its place even when no pixel is left on it.
    for (std::size_t i = 0; i < g.indices.size(); ++i)
        if (g.indices[i] < utilisees) ++parEntree[g.indices[i]];
    if (transparente) {
        const std::size_t premierBlanc = std::size_t(
            std::find(image.pixels.begin(), image.pixels.end(), kBlanc) - image.pixels.begin());
        const int entreeBlanc = entreesPixels[premierBlanc];
        int k = 0;
        while (k < utilisees && !(entreeDe[std::size_t(k)] == entreeBlanc ||
                                  (entreeDe[std::size_t(k)] < 0 &&
                                   g.table[std::size_t(k)] == palette[std::size_t(entreeBlanc)])))
            ++k;
        QVERIFY2(k < utilisees, "l'entrée du blanc a disparu");
        parEntree[std::size_t(k)] = usages[std::size_t(entreeBlanc)];
    }
    for (int k = 0; k + 1 < utilisees; ++k)
        QVERIFY2(parEntree[std::size_t(k)] >= parEntree[std::size_t(k + 1)],
                 qPrintable(QString("entrée %1 moins utilisée que la suivante").arg(k)));
    for (int k = 0; k < utilisees; ++k)
        QVERIFY(parEntree[std::size_t(k)] > 0);

    // Qt's reader sees the same picture, white transparent.
    const QImage lue = LireAvecQt(fichier);
    QCOMPARE(lue.size(), QSize(image.largeur, image.hauteur));
    for (int y = 0; y < image.hauteur; ++y)
        for (int x = 0; x < image.largeur; ++x) {
            const std::size_t i = std::size_t(y) * std::size_t(image.largeur) + std::size_t(x);
            const QRgb p = lue.pixel(x, y);
            if (transparente && image.at(x, y) == kBlanc) {
                QVERIFY2(qAlpha(p) == 0, qPrintable(QString("(%1, %2) opaque").arg(x).arg(y)));
            } else {
                const std::uint32_t attendue = palette[std::size_t(entreesPixels[i])];
                QVERIFY2(p == (0xFF000000u | attendue),
                         qPrintable(QString("(%1, %2) : %3 au lieu de %4")
                                        .arg(x)
                                        .arg(y)
                                        .arg(p, 8, 16, QChar('0'))
                                        .arg(attendue, 6, 16, QChar('0'))));
            }
        }
}

// A red pixel then a white one, worked out by hand: red and white are static
// colours used once each (palette order breaks the tie), then the transparent
// black; 3 entries, b = 2; codes clear 4, 0, 2, end 5 on 3 bits.
void TestGif::fichierConnu()
{
    const std::uint32_t pixels[] = {0xFF0000, 0xFFFFFF};
    const std::vector<std::uint8_t> attendu = {
        'G',  'I',  'F',  '8',  '9',  'a',  2, 0, 1, 0,    0x11, 0, 0, // screen
        0x21, 0xF9, 4,    0x01, 0,    0,    2, 0,                      // transparency
        0x2C, 0,    0,    0,    0,    2,    0, 1, 0, 0xA1,             // image
        0xFF, 0,    0,    0xFF, 0xFF, 0xFF, 0, 0, 0, 0,    0,    0,    // colours
        2,    2,    0x84, 0x0A, 0,                                     // LZW
        0x3B};
    QCOMPARE(EncoderGif(pixels, 2, 1, 2), attendu);
}

void TestGif::lzw_data()
{
    QTest::addColumn<int>("entrees");
    QTest::addColumn<int>("motif");
    QTest::addColumn<int>("pixels");
    // Patterns: 0 random, 1 one long run, 2 slow ramp (strings grow across
    // many code widths), 3 runs of random lengths.
    for (int entrees : {1, 2, 3, 5, 16, 17, 129, 256})
        for (int motif : {0, 1, 2, 3})
            QTest::addRow("%d entrées, motif %d", entrees, motif) << entrees << motif << 50000;
    QTest::newRow("256 entrées au hasard, beaucoup d'effacements") << 256 << 0 << 300000;
    QTest::newRow("une suite de 400 000") << 4 << 1 << 400000;
}

// The LZW stage alone, on indices chosen directly.
void TestGif::lzw()
{
    QFETCH(int, entrees);
    QFETCH(int, motif);
    QFETCH(int, pixels);
    ImageGif image;
    image.largeur = 500;
    image.hauteur = pixels / 500;
    for (int i = 0; i < entrees; ++i)
        image.palette.push_back(std::uint32_t(i) * 0x010101);
    std::mt19937 g(std::uint32_t(entrees * 10 + motif));
    std::size_t i = 0;
    image.indices.resize(std::size_t(pixels));
    while (i < image.indices.size()) {
        std::uint32_t longueur = 1, valeur = Hasard(g, std::uint32_t(entrees));
        if (motif == 1)
            longueur = std::uint32_t(pixels), valeur = std::uint32_t(entrees - 1);
        else if (motif == 2)
            longueur = 97, valeur = std::uint32_t(i / 97 % std::size_t(entrees));
        else if (motif == 3)
            longueur = 1 + Hasard(g, 60);
        for (; longueur > 0 && i < image.indices.size(); --longueur)
            image.indices[i++] = std::uint8_t(valeur);
    }
    const std::vector<std::uint8_t> fichier = EcrireGif(image);
    Gif lu;
    const QString erreur = Lire(fichier, lu);
    QVERIFY2(erreur.isEmpty(), qPrintable(erreur));
    QCOMPARE(lu.tailleMin, std::max(2, Bits(std::size_t(entrees))));
    QVERIFY(lu.indices == image.indices);
    if (motif == 0 && pixels > 100000) QVERIFY(lu.effacements > 10);
    const QImage qt = LireAvecQt(fichier);
    QCOMPARE(qt.size(), QSize(image.largeur, image.hauteur));
    for (std::size_t k = 0; k < image.indices.size(); k += 7)
        QCOMPARE(qt.pixel(int(k % 500), int(k / 500)),
                 0xFF000000u | image.palette[image.indices[k]]);
}

void TestGif::lzwToutesLongueurs_data()
{
    QTest::addColumn<int>("entrees");
    QTest::addColumn<int>("longueurMax");
    QTest::newRow("2 entrées") << 2 << 200;
    QTest::newRow("4 entrées") << 4 << 300;
    QTest::newRow("256 entrées") << 256 << 1200;
}

// Every length up to a few code widths: the end code must follow the last
// width change, whichever code the data stops on.
void TestGif::lzwToutesLongueurs()
{
    QFETCH(int, entrees);
    QFETCH(int, longueurMax);
    std::mt19937 g{std::uint32_t(entrees)};
    std::vector<std::uint8_t> hasard(static_cast<std::size_t>(longueurMax));
    for (auto& v : hasard)
        v = std::uint8_t(Hasard(g, std::uint32_t(entrees)));
    ImageGif image;
    image.hauteur = 1;
    for (int i = 0; i < entrees; ++i)
        image.palette.push_back(std::uint32_t(i));
    for (int n = 1; n <= longueurMax; ++n) {
        image.largeur = n;
        image.indices.assign(hasard.begin(), hasard.begin() + n);
        Gif lu;
        const QString erreur = Lire(EcrireGif(image), lu);
        QVERIFY2(erreur.isEmpty(), qPrintable(QString("%1 pixels : %2").arg(n).arg(erreur)));
        QVERIFY(lu.indices == image.indices);
    }
}

// Row padding and the unused top byte (0xFF in Qt's RGB32) change nothing.
void TestGif::pasEtOctetHaut()
{
    const Image base = EmploiDuTemps(70, 40, 14);
    Image large(90, 40);
    large.largeur = 70;
    std::mt19937 g(15);
    for (auto& p : large.pixels)
        p = g();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 70; ++x)
            large.at(x, y) = base.at(x, y) | (g() & 0xFF000000);
    QCOMPARE(Encoder(large), Encoder(base));
}

void TestGif::refus_data()
{
    QTest::addColumn<int>("largeur");
    QTest::addColumn<int>("hauteur");
    QTest::addColumn<int>("pas");
    QTest::addColumn<bool>("pixels");
    QTest::newRow("pas de pixels") << 4 << 4 << 4 << false;
    QTest::newRow("largeur nulle") << 0 << 4 << 4 << true;
    QTest::newRow("hauteur nulle") << 4 << 0 << 4 << true;
    QTest::newRow("largeur négative") << -4 << 4 << 4 << true;
    QTest::newRow("pas plus court que la ligne") << 4 << 4 << 3 << true;
    QTest::newRow("largeur au-delà de 65535") << 65536 << 1 << 65536 << true;
    QTest::newRow("hauteur au-delà de 65535") << 1 << 65536 << 1 << true;
}

// Pictures a GIF cannot hold give no bytes rather than a broken file.
void TestGif::refus()
{
    QFETCH(int, largeur);
    QFETCH(int, hauteur);
    QFETCH(int, pas);
    QFETCH(bool, pixels);
    const std::vector<std::uint32_t> blanc(70000, kBlanc);
    QVERIFY(EncoderGif(pixels ? blanc.data() : nullptr, largeur, hauteur, pas).empty());
    QVERIFY(ReduireGif(pixels ? blanc.data() : nullptr, largeur, hauteur, pas).palette.empty());

    // A reduced picture whose indices go past its palette.
    ImageGif image;
    image.largeur = 2;
    image.hauteur = 1;
    image.palette = {0x000000, 0xFFFFFF};
    image.indices = {1, 2};
    QVERIFY(EcrireGif(image).empty());
    image.indices = {1, 0};
    QVERIFY(!EcrireGif(image).empty());
    // Wherever the stray index stands, in long pictures too.
    image.largeur = 100;
    image.palette.push_back(0x808080);
    for (int place : {0, 15, 16, 37, 95, 96, 99}) {
        image.indices.assign(100, 2);
        image.indices[std::size_t(place)] = 3;
        QVERIFY2(EcrireGif(image).empty(), qPrintable(QString("indice fautif en %1").arg(place)));
    }
}

QTEST_GUILESS_MAIN(TestGif)
#include "tst_gif.moc"
