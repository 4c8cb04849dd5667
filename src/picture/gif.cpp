// GIF encoder.  Timetable pictures are mostly long runs of one colour, so
// every pass walks the rows run by run: a run of equal pixels enters the
// colour tree in one step, is matched to its palette entry once and is
// written with one fill.  The results are those of a pixel-by-pixel walk:
// adding a pixel to an existing leaf never changes the number of leaves, so
// only the first pixel of a run can start a reduction, and the sums that a
// reduction moves up are plain additions.
#include "gif.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace horaku
{

namespace
{

constexpr std::uint32_t kMasque = 0x00FFFFFF;
constexpr std::uint32_t kBlanc = 0x00FFFFFF;
constexpr int kNombreStatiques = 20;
constexpr int kMaxFeuilles = 256 - kNombreStatiques;
constexpr int kMaxCote = 65535;

// The static colours of the Windows default palette, as 0x00RRGGBB.
constexpr std::uint32_t kStatiques[kNombreStatiques] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
    0xC0C0C0, 0xC0DCC0, 0xA6CAF0, 0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000,
    0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

bool Valide(const std::uint32_t* pixels, int largeur, int hauteur, int pas)
{
    return pixels != nullptr && largeur > 0 && hauteur > 0 && largeur <= kMaxCote &&
           hauteur <= kMaxCote && pas >= largeur;
}

// First place after `debut` in the row whose colour is not c.
inline int FinSuite(const std::uint32_t* ligne, int debut, int largeur, std::uint32_t c)
{
    int x = debut + 1;
#if defined(__SSE2__)
    // First unequal pixel of a block of four, by its mask of equal ones.
    static constexpr std::int8_t kPremierDifferent[16] = {0, 1, 0, 2, 0, 1, 0, 3,
                                                          0, 1, 0, 2, 0, 1, 0, 4};
    const __m128i masque = _mm_set1_epi32(static_cast<int>(kMasque));
    const __m128i couleur = _mm_set1_epi32(static_cast<int>(c));
    while (x + 4 <= largeur) {
        const __m128i bloc = _mm_loadu_si128(reinterpret_cast<const __m128i*>(ligne + x));
        const int egaux = _mm_movemask_ps(
            _mm_castsi128_ps(_mm_cmpeq_epi32(_mm_and_si128(bloc, masque), couleur)));
        if (egaux != 0xF) return x + kPremierDifferent[egaux];
        x += 4;
    }
#endif
    while (x < largeur && (ligne[x] & kMasque) == c)
        ++x;
    return x;
}

// The picture as runs of equal colours in pixel order, rows from top to
// bottom and each row from left to right; a run goes on across a row end.
// The first walk reads the pixels and keeps the runs when they are long
// enough on average to be worth keeping; later walks read them back.
class Suites
{
public:
    Suites(const std::uint32_t* pixels, int largeur, int hauteur, int pas)
        : pixels_(pixels), largeur_(largeur), hauteur_(hauteur), pas_(pas),
          limite_(static_cast<std::size_t>(largeur) * static_cast<std::size_t>(hauteur) / 4)
    {
    }

    // f(colour, length) for every run, from the pixels, keeping the runs.
    template <class F> void PremierParcours(F&& f)
    {
        gardees_ = true;
        suites_.clear();
        suites_.reserve(limite_); // address space only, until written
        LirePixels([&](std::uint32_t c, std::uint32_t n) {
            if (gardees_) {
                if (suites_.size() < limite_) {
                    suites_.push_back(static_cast<std::uint64_t>(n) << 32 | c);
                } else {
                    gardees_ = false;
                    std::vector<std::uint64_t>().swap(suites_);
                }
            }
            f(c, n);
        });
    }

    bool Gardees() const { return gardees_; }

    // f(colour, length) for every run again; when the runs are kept, the
    // value f answers takes the colour's place for the next walks.
    template <class F> void Remplacer(F&& f)
    {
        if (gardees_) {
            for (std::uint64_t& s : suites_)
                s = (s & 0xFFFFFFFF00000000u) |
                    f(static_cast<std::uint32_t>(s), static_cast<std::uint32_t>(s >> 32));
        } else {
            LirePixels(f);
        }
    }

    // f(value, length) for every run again.
    template <class F> void Parcourir(F&& f) const
    {
        if (gardees_) {
            for (const std::uint64_t s : suites_)
                f(static_cast<std::uint32_t>(s), static_cast<std::uint32_t>(s >> 32));
        } else {
            LirePixels(f);
        }
    }

private:
    template <class F> void LirePixels(F&& f) const
    {
        constexpr std::uint32_t kMaxLongueur = 0xFFFFFFFF;
        std::uint32_t c = pixels_[0] & kMasque;
        std::uint32_t n = 0;
        for (int y = 0; y < hauteur_; ++y) {
            const std::uint32_t* ligne = pixels_ + static_cast<std::ptrdiff_t>(y) * pas_;
            int x = 0;
            while (x < largeur_) {
                const std::uint32_t p = ligne[x] & kMasque;
                const int fin = FinSuite(ligne, x, largeur_, p);
                const auto longueur = static_cast<std::uint32_t>(fin - x);
                if (p != c || n > kMaxLongueur - longueur) {
                    f(c, n);
                    c = p;
                    n = 0;
                }
                n += longueur;
                x = fin;
            }
        }
        f(c, n);
    }

    const std::uint32_t* pixels_;
    int largeur_, hauteur_, pas_;
    std::size_t limite_;
    bool gardees_ = false;
    std::vector<std::uint64_t> suites_; // length << 32 | colour
};

// Colour tree of depth 8.  Nodes live in one array and are linked by index;
// freed nodes are reused, so the array stays small (at most 237 leaves and
// their ancestors) whatever the number of colours.
class Octree
{
public:
    Octree() { std::fill(std::begin(reductibles_), std::end(reductibles_), -1); }

    // `nombre` pixels of colour c, one after the other.
    void Ajouter(std::uint32_t c, std::uint64_t nombre)
    {
        // A colour met since the last reduction still ends on the same leaf.
        Raccourci& raccourci = raccourcis_[(c * 0x9E3779B1u) >> (32 - kBitsRaccourcis)];
        if (raccourci.couleur == c && raccourci.epoque == epoque_)
            Compter(noeuds_[raccourci.feuille], c, nombre);
        else
            Descendre(c, nombre, raccourci);
    }

    // The leaves' colours in depth-first order; answers how many.
    int Couleurs(std::uint32_t* sortie) const
    {
        int n = 0;
        if (racine_ >= 0) Parcourir(racine_, sortie, n);
        return n;
    }

private:
    static constexpr int kBitsRaccourcis = 10;
    struct Raccourci {
        std::uint32_t couleur = 0xFFFFFFFF; // never a masked colour
        std::int32_t feuille = -1;
        std::uint32_t epoque = 0;
    };

    struct Noeud {
        std::int32_t enfants[8];
        std::int32_t suivant; // next reducible node of the same depth, or next free node
        bool feuille;
        std::uint64_t nombre, rouge, vert, bleu;
    };

    static void Compter(Noeud& feuille, std::uint32_t c, std::uint64_t nombre)
    {
        feuille.nombre += nombre;
        feuille.rouge += ((c >> 16) & 0xFF) * nombre;
        feuille.vert += ((c >> 8) & 0xFF) * nombre;
        feuille.bleu += (c & 0xFF) * nombre;
    }

    void Descendre(std::uint32_t c, std::uint64_t nombre, Raccourci& raccourci)
    {
        if (racine_ < 0) racine_ = Creer(0);
        std::int32_t n = racine_;
        for (int d = 0; !noeuds_[n].feuille; ++d) {
            const int bit = 7 - d;
            const auto i =
                ((c >> (16 + bit)) & 1) << 2 | ((c >> (8 + bit)) & 1) << 1 | ((c >> bit) & 1);
            std::int32_t e = noeuds_[n].enfants[i];
            if (e < 0) {
                e = Creer(d + 1);
                noeuds_[n].enfants[i] = e;
            }
            n = e;
        }
        Compter(noeuds_[n], c, nombre);
        raccourci = {c, n, epoque_};
        while (feuilles_ > kMaxFeuilles)
            Reduire();
    }

    std::int32_t Creer(int profondeur)
    {
        std::int32_t n;
        if (libres_ >= 0) {
            n = libres_;
            libres_ = noeuds_[n].suivant;
        } else {
            n = static_cast<std::int32_t>(noeuds_.size());
            noeuds_.emplace_back();
        }
        Noeud& noeud = noeuds_[n];
        std::fill(std::begin(noeud.enfants), std::end(noeud.enfants), -1);
        noeud.nombre = noeud.rouge = noeud.vert = noeud.bleu = 0;
        noeud.feuille = profondeur == 8;
        noeud.suivant = -1;
        if (noeud.feuille) {
            ++feuilles_;
        } else {
            noeud.suivant = reductibles_[profondeur];
            reductibles_[profondeur] = n;
        }
        return n;
    }

    // Merges the last created node of the deepest reducible depth.  Deeper
    // lists being empty, all its children are leaves.
    void Reduire()
    {
        int d = 7;
        while (d > 0 && reductibles_[d] < 0)
            --d;
        const std::int32_t n = reductibles_[d];
        Noeud& noeud = noeuds_[n];
        reductibles_[d] = noeud.suivant;
        int enfants = 0;
        for (std::int32_t& e : noeud.enfants) {
            if (e < 0) continue;
            const Noeud& enfant = noeuds_[e];
            noeud.nombre += enfant.nombre;
            noeud.rouge += enfant.rouge;
            noeud.vert += enfant.vert;
            noeud.bleu += enfant.bleu;
            noeuds_[e].suivant = libres_;
            libres_ = e;
            e = -1;
            ++enfants;
        }
        noeud.feuille = true;
        noeud.suivant = -1;
        feuilles_ -= enfants - 1;
        ++epoque_;
    }

    void Parcourir(std::int32_t n, std::uint32_t* sortie, int& compte) const
    {
        const Noeud& noeud = noeuds_[n];
        if (noeud.feuille) {
            std::uint32_t c = 0;
            if (noeud.nombre > 0)
                c = static_cast<std::uint32_t>(noeud.rouge / noeud.nombre) << 16 |
                    static_cast<std::uint32_t>(noeud.vert / noeud.nombre) << 8 |
                    static_cast<std::uint32_t>(noeud.bleu / noeud.nombre);
            sortie[compte++] = c;
            return;
        }
        for (std::int32_t e : noeud.enfants)
            if (e >= 0) Parcourir(e, sortie, compte);
    }

    std::vector<Noeud> noeuds_;
    std::int32_t libres_ = -1;
    std::int32_t reductibles_[8];
    int feuilles_ = 0;
    std::int32_t racine_ = -1;
    std::uint32_t epoque_ = 0; // reductions so far
    std::vector<Raccourci> raccourcis_ = std::vector<Raccourci>(1u << kBitsRaccourcis);
};

// Nearest palette entry through 32×32×32 buckets.  A bucket keeps the answer
// found for the first colour that fell into it.
class PlusProche
{
public:
    explicit PlusProche(const std::array<std::uint32_t, 256>& palette) : palette_(palette)
    {
        std::fill(seaux_.begin(), seaux_.end(), -1);
        for (int i = 0; i < 256; ++i) {
            std::int16_t& s = seaux_[Seau(palette_[i])];
            if (s < 0) s = static_cast<std::int16_t>(i);
        }
    }

    int operator()(std::uint32_t c)
    {
        std::int16_t& s = seaux_[Seau(c)];
        if (s < 0) s = static_cast<std::int16_t>(Chercher(c));
        return s;
    }

private:
    static std::size_t Seau(std::uint32_t c)
    {
        return ((c >> 19) & 0x1F) << 10 | ((c >> 11) & 0x1F) << 5 | ((c >> 3) & 0x1F);
    }

    int Chercher(std::uint32_t c) const
    {
        const int r = (c >> 16) & 0xFF, v = (c >> 8) & 0xFF, b = c & 0xFF;
        int meilleure = 0;
        int ecartMin = 1 << 30;
        for (int i = 0; i < 256; ++i) {
            const std::uint32_t p = palette_[i];
            const int ecart = std::abs(r - static_cast<int>((p >> 16) & 0xFF)) +
                              std::abs(v - static_cast<int>((p >> 8) & 0xFF)) +
                              std::abs(b - static_cast<int>(p & 0xFF));
            if (ecart < ecartMin) {
                ecartMin = ecart;
                meilleure = i;
            }
        }
        return meilleure;
    }

    const std::array<std::uint32_t, 256>& palette_;
    std::array<std::int16_t, 32 * 32 * 32> seaux_;
};

std::array<std::uint32_t, 256> Palette(Suites& suites)
{
    std::array<std::uint32_t, 256> palette{};
    std::copy(std::begin(kStatiques), std::end(kStatiques), palette.begin());
    Octree arbre;
    suites.PremierParcours([&](std::uint32_t c, std::uint32_t n) { arbre.Ajouter(c, n); });
    arbre.Couleurs(palette.data() + kNombreStatiques);
    return palette;
}

// Bits written least significant first, as LZW codes are packed in a GIF.
class FluxBits
{
public:
    explicit FluxBits(std::size_t capacite) : octets_(std::max<std::size_t>(capacite, 64)) {}

    void Ecrire(std::uint32_t code, int largeur)
    {
        accu_ |= static_cast<std::uint64_t>(code) << bits_;
        bits_ += largeur;
        if (bits_ >= 32) {
            if (taille_ + 4 > octets_.size()) octets_.resize(octets_.size() * 2);
            std::uint8_t* o = octets_.data() + taille_;
            o[0] = static_cast<std::uint8_t>(accu_);
            o[1] = static_cast<std::uint8_t>(accu_ >> 8);
            o[2] = static_cast<std::uint8_t>(accu_ >> 16);
            o[3] = static_cast<std::uint8_t>(accu_ >> 24);
            taille_ += 4;
            accu_ >>= 32;
            bits_ -= 32;
        }
    }

    // The bytes, the last one padded with zero bits.
    const std::uint8_t* Terminer(std::size_t& taille)
    {
        while (bits_ > 0) {
            if (taille_ + 1 > octets_.size()) octets_.resize(octets_.size() * 2);
            octets_[taille_++] = static_cast<std::uint8_t>(accu_);
            accu_ >>= 8;
            bits_ -= 8;
        }
        bits_ = 0;
        taille = taille_;
        return octets_.data();
    }

private:
    std::vector<std::uint8_t> octets_;
    std::size_t taille_ = 0;
    std::uint64_t accu_ = 0;
    int bits_ = 0;
};

// LZW of the GIF standard: codes of tailleMin + 1 bits and more, at most 12
// bits; when all 4,096 codes are taken, a clear code starts a new table.
// Strings are found through a table of children, one row of 2^tailleMin
// slots per code; a reset empties only the slots that were filled.
//
// Runs of one index take a short cut.  The strings s, ss, sss... made of one
// index s are kept in order of length, so after a code is written, a run of
// s goes straight to the longest known string that the run covers: the
// child-by-child walk would reach the same code, one pixel at a time.
void CompresserLzw(const std::uint8_t* indices, std::size_t n, int tailleMin,
                   std::vector<std::uint8_t>& sortie)
{
    constexpr std::uint32_t kCodes = 4096;
    const std::uint32_t effacer = 1u << tailleMin;
    const std::uint32_t finData = effacer + 1;
    const std::uint32_t ligne = 1u << tailleMin;

    std::vector<std::uint16_t> enfants(kCodes * ligne, 0);
    std::vector<std::uint32_t> pris;
    pris.reserve(kCodes);
    // repetitions[s][k - 2]: the code of s repeated k times.
    std::vector<std::vector<std::uint16_t>> repetitions(ligne);
    FluxBits flux(n / 4 + 256);

    int largeur = tailleMin + 1;
    std::uint32_t prochain = finData + 1;
    flux.Ecrire(effacer, largeur);
    std::uint32_t courant = indices[0];
    std::size_t repete = 1; // courant is indices[i - 1] repeated this often, or 0
    const std::uint16_t* const table = enfants.data();
    std::size_t i = 1;
    while (i < n) {
        // Known strings, as far as they go: the hot loop, kept small.
        std::size_t j = i;
        for (std::uint32_t c = courant; j < n; ++j) {
            const std::uint16_t suite = table[c * ligne + indices[j]];
            if (suite == 0) break;
            courant = c = suite;
        }
        if (j != i) {
            repete = 0;
            i = j;
            if (i == n) break;
        }

        const std::uint32_t s = indices[i];
        const std::uint32_t place = courant * ligne + s;
        flux.Ecrire(courant, largeur);
        if (prochain < kCodes) {
            // The decoder learns each code one step later; it widens its
            // reads once its next free code needs the extra bit.
            if (prochain == (1u << largeur)) ++largeur;
            enfants[place] = static_cast<std::uint16_t>(prochain);
            pris.push_back(place);
            if (repete != 0 && indices[i - 1] == s)
                repetitions[s].push_back(static_cast<std::uint16_t>(prochain));
            ++prochain;
        } else {
            flux.Ecrire(effacer, largeur);
            for (std::uint32_t p : pris)
                enfants[p] = 0;
            pris.clear();
            for (auto& r : repetitions)
                r.clear();
            prochain = finData + 1;
            largeur = tailleMin + 1;
        }
        courant = s;
        repete = 1;
        ++i;
        const std::vector<std::uint16_t>& connues = repetitions[s];
        if (!connues.empty() && i < n && indices[i] == s) {
            const std::size_t fin = std::min(n, i + connues.size());
            std::size_t k = i + 1;
            const std::uint64_t motif = s * 0x0101010101010101ull;
            for (std::uint64_t mot; k + 8 <= fin; k += 8) {
                std::memcpy(&mot, indices + k, 8);
                if (mot != motif) break;
            }
            while (k < fin && indices[k] == s)
                ++k;
            repete += k - i;
            courant = connues[repete - 2];
            i = k;
        }
    }
    flux.Ecrire(courant, largeur);
    if (prochain < kCodes && prochain == (1u << largeur)) ++largeur;
    flux.Ecrire(finData, largeur);

    std::size_t taille = 0;
    const std::uint8_t* octets = flux.Terminer(taille);
    sortie.reserve(sortie.size() + taille + taille / 255 + 3);
    sortie.push_back(static_cast<std::uint8_t>(tailleMin));
    for (std::size_t debut = 0; debut < taille; debut += 255) {
        const std::size_t bloc = std::min<std::size_t>(255, taille - debut);
        sortie.push_back(static_cast<std::uint8_t>(bloc));
        sortie.insert(sortie.end(), octets + debut, octets + debut + bloc);
    }
    sortie.push_back(0);
}

std::uint8_t PlusGrand(const std::uint8_t* octets, std::size_t n)
{
    std::size_t i = 0;
    std::uint8_t plusGrand = 0;
#if defined(__SSE2__)
    __m128i bloc = _mm_setzero_si128();
    for (; i + 16 <= n; i += 16)
        bloc = _mm_max_epu8(bloc, _mm_loadu_si128(reinterpret_cast<const __m128i*>(octets + i)));
    alignas(16) std::uint8_t morceaux[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(morceaux), bloc);
    for (const std::uint8_t v : morceaux)
        plusGrand = std::max(plusGrand, v);
#endif
    for (; i < n; ++i)
        plusGrand = std::max(plusGrand, octets[i]);
    return plusGrand;
}

void Mot(std::vector<std::uint8_t>& sortie, int valeur)
{
    sortie.push_back(static_cast<std::uint8_t>(valeur & 0xFF));
    sortie.push_back(static_cast<std::uint8_t>((valeur >> 8) & 0xFF));
}

constexpr std::uint32_t kMarqueBlanc = 0x100;

// Maps the pixels to the palette written in the file: `sortie` gets one
// index per pixel, `palette` the used colours, most used first, and the
// transparent entry when white has one.
void Reduire(const std::uint32_t* pixels, int largeur, int hauteur, int pas, std::uint8_t* sortie,
             std::vector<std::uint32_t>& palette, int& transparent)
{
    Suites suites(pixels, largeur, hauteur, pas);
    const std::array<std::uint32_t, 256> couleurs = Palette(suites);
    PlusProche proche(couleurs);

    // Kept runs remember their entry, white marked, for the last walk.
    std::array<std::uint64_t, 256> usages{};
    std::uint64_t blancs = 0;
    suites.Remplacer([&](std::uint32_t c, std::uint32_t n) {
        const auto entree = static_cast<std::uint32_t>(proche(c));
        usages[entree] += n;
        if (c != kBlanc) return entree;
        blancs += n;
        return entree | kMarqueBlanc;
    });

    // Used entries, most used first; equal uses keep the palette's order.
    std::vector<int> ordre;
    for (int i = 0; i < 256; ++i)
        if (usages[static_cast<std::size_t>(i)] > 0) ordre.push_back(i);
    std::stable_sort(ordre.begin(), ordre.end(), [&](int a, int b) {
        return usages[static_cast<std::size_t>(a)] > usages[static_cast<std::size_t>(b)];
    });
    std::array<std::uint8_t, 512> rang{}; // by entry, white marked or not
    palette.clear();
    for (std::size_t k = 0; k < ordre.size(); ++k) {
        const auto e = static_cast<std::size_t>(ordre[k]);
        rang[e] = rang[e | kMarqueBlanc] = static_cast<std::uint8_t>(k);
        palette.push_back(couleurs[e]);
    }
    // White pixels move to one extra black entry that the file marks as
    // transparent; a full palette has no room for it.
    transparent = -1;
    if (palette.size() < 256 && blancs > 0) {
        transparent = static_cast<int>(palette.size());
        palette.push_back(0x000000);
        for (std::size_t e = kMarqueBlanc; e < rang.size(); ++e)
            rang[e] = static_cast<std::uint8_t>(transparent);
    }

    const bool gardees = suites.Gardees();
    suites.Parcourir([&](std::uint32_t v, std::uint32_t n) {
        if (!gardees) // a colour read again from the pixels
            v = static_cast<std::uint32_t>(proche(v)) | (v == kBlanc ? kMarqueBlanc : 0);
        std::memset(sortie, rang[v], n);
        sortie += n;
    });
}

// The bytes of the file.
std::vector<std::uint8_t> Fichier(int largeur, int hauteur,
                                  const std::vector<std::uint32_t>& palette, int transparent,
                                  const std::uint8_t* indices)
{
    const std::size_t entrees = palette.size();
    const std::size_t pixels =
        static_cast<std::size_t>(largeur) * static_cast<std::size_t>(hauteur);
    int b = 1;
    while ((std::size_t{1} << b) < entrees)
        ++b;
    // The palette comes ordered by use, which the sorted flag tells and which
    // only GIF89a knows.
    constexpr bool trie = true;
    const bool gif89 = transparent >= 0 || trie;

    std::vector<std::uint8_t> f;
    f.reserve(64 + 3 * 256 + pixels / 8);
    const char* entete = gif89 ? "GIF89a" : "GIF87a";
    f.insert(f.end(), entete, entete + 6);
    // Logical screen: no global colour table, the image carries its own.
    Mot(f, largeur);
    Mot(f, hauteur);
    f.push_back(static_cast<std::uint8_t>((b - 1) << 4 | (b - 1)));
    f.push_back(0);
    f.push_back(0);
    if (transparent >= 0) {
        const std::uint8_t extension[] = {
            0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, static_cast<std::uint8_t>(transparent), 0x00};
        f.insert(f.end(), std::begin(extension), std::end(extension));
    }
    f.push_back(0x2C);
    Mot(f, 0);
    Mot(f, 0);
    Mot(f, largeur);
    Mot(f, hauteur);
    f.push_back(static_cast<std::uint8_t>(0x80 | (trie ? 0x20 : 0) | (b - 1)));
    for (std::size_t i = 0; i < (std::size_t{1} << b); ++i) {
        const std::uint32_t c = i < entrees ? palette[i] : 0;
        f.push_back(static_cast<std::uint8_t>(c >> 16));
        f.push_back(static_cast<std::uint8_t>(c >> 8));
        f.push_back(static_cast<std::uint8_t>(c));
    }
    CompresserLzw(indices, pixels, std::max(2, b), f);
    f.push_back(0x3B);
    return f;
}

} // namespace

std::array<std::uint32_t, 256> PaletteGif(const std::uint32_t* pixels, int largeur, int hauteur,
                                          int pas)
{
    if (!Valide(pixels, largeur, hauteur, pas)) {
        std::array<std::uint32_t, 256> palette{};
        std::copy(std::begin(kStatiques), std::end(kStatiques), palette.begin());
        return palette;
    }
    Suites suites(pixels, largeur, hauteur, pas);
    return Palette(suites);
}

ImageGif ReduireGif(const std::uint32_t* pixels, int largeur, int hauteur, int pas)
{
    ImageGif image;
    if (!Valide(pixels, largeur, hauteur, pas)) return image;
    image.largeur = largeur;
    image.hauteur = hauteur;
    image.indices.resize(static_cast<std::size_t>(largeur) * static_cast<std::size_t>(hauteur));
    Reduire(pixels, largeur, hauteur, pas, image.indices.data(), image.palette, image.transparent);
    return image;
}

std::vector<std::uint8_t> EcrireGif(const ImageGif& image)
{
    const std::size_t entrees = image.palette.size();
    if (entrees == 0 || entrees > 256 || image.largeur <= 0 || image.hauteur <= 0 ||
        image.largeur > kMaxCote || image.hauteur > kMaxCote ||
        image.indices.size() !=
            static_cast<std::size_t>(image.largeur) * static_cast<std::size_t>(image.hauteur) ||
        image.transparent >= static_cast<int>(entrees) ||
        PlusGrand(image.indices.data(), image.indices.size()) >= entrees)
        return {};
    return Fichier(image.largeur, image.hauteur, image.palette, image.transparent,
                   image.indices.data());
}

std::vector<std::uint8_t> EncoderGif(const std::uint32_t* pixels, int largeur, int hauteur, int pas)
{
    if (!Valide(pixels, largeur, hauteur, pas)) return {};
    // Left uninitialised: every index is written once.
    const std::unique_ptr<std::uint8_t[]> indices(
        new std::uint8_t[static_cast<std::size_t>(largeur) * static_cast<std::size_t>(hauteur)]);
    std::vector<std::uint32_t> palette;
    int transparent = -1;
    Reduire(pixels, largeur, hauteur, pas, indices.get(), palette, transparent);
    return Fichier(largeur, hauteur, palette, transparent, indices.get());
}

} // namespace horaku
