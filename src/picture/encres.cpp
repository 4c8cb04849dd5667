#include "encres.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <functional>

namespace horaku
{

namespace
{

// The least room around the expected extent of a text's pixels.
constexpr int kMargeLibre = 3;
// Fonts met since the last clearing: past this many, a new redraw starts afresh.
constexpr std::size_t kFacesMax = 256;

// What an entry costs beyond its pixels: the map's node, the key, the vector.
constexpr std::size_t kOctetsEntree = 160;

// Rasterises `r` with its start point at (-toile.x, -toile.y) of a
// transparent canvas of toile's size, and keeps the smallest rectangle that
// holds its pixels.  Ink on the canvas's outermost pixels means that the text
// may reach further: then it is left to the painter.
Encre Rasteriser(const TexteARendre& r, QRgb couleur, const QRect& toile)
{
    Encre e;
    QImage image(toile.size(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        e.directe = true;
        return e;
    }
    image.fill(0);
    {
        QPainter p(&image);
        p.setFont(*r.font);
        p.setPen(QColor::fromRgb(couleur));
        p.drawText(QPoint(-toile.x(), -toile.y() + r.ascent), *r.texte);
    }
    const QRgb opaque = 0xFF000000u | couleur;
    int gauche = toile.width(), droite = -1, haut = toile.height(), bas = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* ligne = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (ligne[x] == 0) continue;
            if (ligne[x] != opaque) {
                e.directe = true;
                return e;
            }
            gauche = std::min(gauche, x);
            droite = std::max(droite, x);
            haut = std::min(haut, y);
            bas = std::max(bas, y);
        }
    }
    if (droite < 0) return e; // no pixel at all
    if (gauche == 0 || haut == 0 || droite == toile.width() - 1 || bas == toile.height() - 1) {
        e.directe = true;
        return e;
    }
    e.x = toile.x() + gauche;
    e.y = toile.y() + haut;
    e.largeur = droite - gauche + 1;
    e.hauteur = bas - haut + 1;
    e.pixels.resize(static_cast<std::size_t>(e.largeur) * static_cast<std::size_t>(e.hauteur));
    for (int y = 0; y < e.hauteur; ++y) {
        const auto* ligne = reinterpret_cast<const QRgb*>(image.constScanLine(haut + y)) + gauche;
        std::copy(ligne, ligne + e.largeur,
                  e.pixels.begin() + static_cast<std::ptrdiff_t>(y) * e.largeur);
    }
    return e;
}

} // namespace

std::size_t CacheEncres::Hacher(int police, QRgb couleur, std::string_view texte)
{
    return std::hash<std::string_view>()(texte) ^
           ((static_cast<std::size_t>(couleur) << 8 | static_cast<std::size_t>(police)) *
            0x9E3779B97F4A7C15ull);
}

void CacheEncres::NouveauDessin()
{
    if (faces_.size() > kFacesMax) Vider();
    ++generation_;
}

int CacheEncres::Police(const RPolice& p)
{
    for (std::size_t i = 0; i < faces_.size(); ++i) {
        const Face& f = faces_[i];
        if (f.taille == p.Taille && f.gras == p.Gras && f.italique == p.Italique &&
            f.souligne == p.Souligne && f.barre == p.Barre && f.nom == p.Nom)
            return static_cast<int>(i);
    }
    faces_.push_back(Face{p.Nom, p.Taille, p.Gras, p.Italique, p.Souligne, p.Barre});
    return static_cast<int>(faces_.size() - 1);
}

CacheEncres::Texte* CacheEncres::Trouver(int police, QRgb couleur, std::string_view texte)
{
    if (index_.empty()) return nullptr;
    const std::size_t masque = index_.size() - 1;
    for (std::size_t i = Hacher(police, couleur, texte) & masque; index_[i] != 0;
         i = (i + 1) & masque) {
        Entree& e = entrees_[index_[i] - 1];
        if (e.police == police && e.couleur == couleur && e.texte == texte) {
            e.contenu->generation_ = generation_;
            return e.contenu.get();
        }
    }
    return nullptr;
}

CacheEncres::Texte& CacheEncres::Ajouter(int police, QRgb couleur, std::string_view texte,
                                         bool encreConnue, const QRect& encre)
{
    const std::size_t octets = kOctetsEntree + texte.size();
    Retenir(octets);
    if (octets_ + octets > kOctetsMax) {
        horsCache_ = Texte();
        horsCache_.encreConnue = encreConnue;
        horsCache_.encre = encre;
        horsCache_.garde_ = false;
        return horsCache_;
    }
    auto t = std::make_unique<Texte>();
    t->encreConnue = encreConnue;
    t->encre = encre;
    t->generation_ = generation_;
    t->octets_ = octets;
    octets_ += octets;
    Texte& ref = *t;
    entrees_.push_back(Entree{police, couleur, std::string(texte), std::move(t)});
    if (2 * entrees_.size() > index_.size()) {
        Indexer();
    } else {
        const std::size_t masque = index_.size() - 1;
        std::size_t i = Hacher(police, couleur, texte) & masque;
        while (index_[i] != 0)
            i = (i + 1) & masque;
        index_[i] = static_cast<std::uint32_t>(entrees_.size());
    }
    return ref;
}

void CacheEncres::Indexer()
{
    std::size_t places = 64;
    while (places < 2 * entrees_.size())
        places *= 2;
    index_.assign(places, 0);
    const std::size_t masque = places - 1;
    for (std::size_t n = 0; n < entrees_.size(); ++n) {
        const Entree& e = entrees_[n];
        std::size_t i = Hacher(e.police, e.couleur, e.texte) & masque;
        while (index_[i] != 0)
            i = (i + 1) & masque;
        index_[i] = static_cast<std::uint32_t>(n + 1);
    }
}

void CacheEncres::Rendre(Texte& t, QRgb couleur, const TexteARendre& r)
{
    t.rendu = true;
    // Italics and wide glyphs overhang their advance: room for a good part
    // of a character on every side.
    const int marge = std::max(kMargeLibre, r.hauteurLigne / 2);
    const QRect toile = r.etendue.adjusted(-marge, -marge, marge, marge);
    if (!t.garde_ || static_cast<long long>(toile.width()) * toile.height() > kPixelsToileMax) {
        t.pixels.directe = true;
        return;
    }
    Encre e = Rasteriser(r, couleur, toile);
    const std::size_t octets = e.pixels.size() * sizeof(QRgb);
    Retenir(octets);
    if (octets_ + octets > kOctetsMax) {
        // Even without the entries of earlier redraws there is no room.
        t.pixels.directe = true;
        return;
    }
    octets_ += octets;
    t.octets_ += octets;
    t.pixels = std::move(e);
}

void CacheEncres::Retenir(std::size_t octets)
{
    if (octets_ + octets <= kOctetsMax) return;
    const auto perime = [this](const Entree& e) {
        if (e.contenu->generation_ == generation_) return false;
        octets_ -= e.contenu->octets_;
        return true;
    };
    entrees_.erase(std::remove_if(entrees_.begin(), entrees_.end(), perime), entrees_.end());
    Indexer();
}

void CacheEncres::Vider()
{
    entrees_.clear();
    index_.clear();
    faces_.clear();
    octets_ = 0;
    horsCache_ = Texte();
}

} // namespace horaku
