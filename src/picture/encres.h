// The ink of the texts of the raster picture, kept from one redraw to the
// next.  A timetable repeats a few dozen texts thousands of times (classes,
// rooms, subjects): each is shaped and rasterised once into the pixels it
// leaves, and every later cell that shows it copies those pixels.  Texts are
// drawn without antialiasing in one opaque colour, so a text's pixels are
// either untouched or exactly that colour, and copying them gives the same
// picture as drawing the text again.
//
// An entry is keyed by everything that changes those pixels: the font (face,
// size, the four style flags), the colour and the text; the clip to the
// text's cell is applied when the pixels are copied.  The whole cache stays
// below kOctetsMax; the entries not used by the current redraw go first.
#pragma once

#include "classesedt.h"

#include <QFont>
#include <QRect>
#include <QRgb>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace horaku
{

// The pixels a text leaves, placed from its start point.
struct Encre {
    int x = 0; // from the start point to the pixels' top-left corner
    int y = 0;
    int largeur = 0;
    int hauteur = 0;
    std::vector<QRgb> pixels; // row after row; 0 where the text leaves none
    // Pixels that are not all of the text's one colour (a colour font), or
    // that may reach past what was rasterised, or too many to keep: the
    // painter draws the text each time.
    bool directe = false;
};

// What rasterising a text needs, taken from the redraw's measurer.
struct TexteARendre {
    const QFont* font = nullptr;
    int ascent = 0;
    int hauteurLigne = 0;
    const QString* texte = nullptr;
    QRect etendue; // where its pixels are expected, from the start point
};

class CacheEncres
{
public:
    static constexpr std::size_t kOctetsMax = 16u << 20;
    // A text whose pixels may spread over more than this is drawn by the
    // painter, never kept.
    static constexpr long long kPixelsToileMax = 1 << 16;

    // A new redraw: entries used from now on are the current ones.
    void NouveauDessin();
    // The number of a font, the same for the same face, size and style.
    int Police(const RPolice& police);

    // One text in one font and colour: its measured glyph bounds (for the
    // clipping decision) and its pixels.
    class Texte
    {
    public:
        bool encreConnue = false; // single line, no underline or strike-out
        QRect encre;              // the glyphs' measured bounds, from the start point
        bool rendu = false;       // `pixels` holds the text's pixels
        Encre pixels;

    private:
        friend class CacheEncres;
        std::uint64_t generation_ = 0;
        std::size_t octets_ = 0;
        bool garde_ = true; // false: in no map, for a cache full of the current redraw
    };

    // The entry of `texte`; nullptr when it is new, then the caller gives the
    // measured ink through Ajouter.
    Texte* Trouver(int police, QRgb couleur, std::string_view texte);
    Texte& Ajouter(int police, QRgb couleur, std::string_view texte, bool encreConnue,
                   const QRect& encre);
    // Rasterises the text into t.pixels.  An ink too large to keep, or met
    // when the cache is full of the current redraw's entries, is `directe`.
    void Rendre(Texte& t, QRgb couleur, const TexteARendre& r);

    void Vider();
    std::size_t Octets() const { return octets_; }
    std::size_t Entrees() const { return entrees_.size(); }

private:
    struct Face {
        std::string nom;
        std::int32_t taille;
        bool gras, italique, souligne, barre;
    };
    struct Entree {
        int police;
        QRgb couleur;
        std::string texte;
        std::unique_ptr<Texte> contenu;
    };

    static std::size_t Hacher(int police, QRgb couleur, std::string_view texte);
    void Retenir(std::size_t octets);
    // The index rebuilt over the entries, twice as many places as entries.
    void Indexer();

    std::vector<Entree> entrees_;
    // Open addressing over a power of two: each place holds an entry's
    // position plus one, 0 when free.
    std::vector<std::uint32_t> index_;
    std::vector<Face> faces_;
    std::uint64_t generation_ = 1;
    std::size_t octets_ = 0;
    Texte horsCache_;
};

} // namespace horaku
