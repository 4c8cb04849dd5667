// Drawing follows the description of the layout to the pixel.  Frames, lines
// and fills are drawn as filled rectangles so that the exclusive right and
// bottom edges and the undrawn end points come out exactly; texts are drawn
// without antialiasing from the top-left corner of their cell.
#include "dessin.h"

#include "cp1252.h"
#include "encres.h"

#include <QFontMetrics>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace horaku
{

namespace
{

// The classic Windows values of the system colours, by index.
constexpr std::uint32_t kCouleursSysteme[] = {
    0xC0C0C0, 0x008080, 0x000080, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x000080, 0xFFFFFF, 0xC0C0C0,
    0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xC0C0C0, 0x000000,
    0xFFFFE1, 0xB5B5B5, 0x000080, 0x1084D0, 0xB5B5B5, 0x000080, 0xC0C0C0}; // RGB

constexpr QRgb kBlanc = 0xFFFFFFFF;
constexpr QRgb kGris = 0xFF808080;
constexpr QRgb kNoir = 0xFF000000;

// Windows maps a point size to pixels at 96 dpi with MulDiv, rounding half up.
// Beyond 1000 pixels a glyph alone would outgrow any sensible picture.
int PixelsDePoints(int points)
{
    const long long p = points < 0 ? -static_cast<long long>(points) : points;
    long long px = (p * 96 + 36) / 72;
    if (px <= 0) px = 12;
    return static_cast<int>(std::min<long long>(px, 1000));
}

} // namespace

QColor CouleurQt(std::int32_t couleur)
{
    const auto c = static_cast<std::uint32_t>(couleur);
    if (c & 0x80000000u) {
        const std::uint32_t i = c & 0xFF;
        const std::uint32_t rgb = i < std::size(kCouleursSysteme) ? kCouleursSysteme[i] : 0x000000;
        return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb));
    }
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

std::int32_t CouleurRef(const QColor& couleur)
{
    const QColor c = couleur.toRgb();
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(c.red()) |
                                     static_cast<std::uint32_t>(c.green()) << 8 |
                                     static_cast<std::uint32_t>(c.blue()) << 16);
}

QFont PoliceQt(const RPolice& p)
{
    QFont f(QString::fromUtf8(Cp1252VersUtf8(p.Nom)));
    const int pixels = PixelsDePoints(p.Taille);
    f.setPixelSize(pixels);
    // Whole-pixel advances that add up, as on Windows, and the same glyphs
    // whatever the desktop's own hinting setting: the window and horaku-cli
    // must draw the same picture.
    f.setHintingPreference(QFont::PreferFullHinting);
    f.setBold(p.Gras);
    f.setItalic(p.Italique);
    f.setUnderline(p.Souligne);
    f.setStrikeOut(p.Barre);
    f.setStyleStrategy(QFont::NoAntialias);
    f.setKerning(false);
    // A negative size names the height of the whole character cell, not the
    // em: shrink the em until the cell fits.
    if (p.Taille < 0) {
        for (int em = pixels; em > 1 && QFontMetrics(f).height() > pixels; --em)
            f.setPixelSize(em - 1);
    }
    return f;
}

namespace
{

struct EntreeTexte {
    QString texte;
    RTaille taille;
    QRect encre; // the glyphs' bounds, from the top-left corner of the text
};

// One font of the redraw, with the texts met in it.
struct PoliceMesuree {
    RPolice police;
    QFont font;
    QFontMetrics metriques;
    std::unordered_map<std::string, EntreeTexte> textes;

    explicit PoliceMesuree(const RPolice& p) : police(p), font(PoliceQt(p)), metriques(font) {}
};

bool MemePolice(const RPolice& a, const RPolice& b)
{
    return a.Nom == b.Nom && a.Taille == b.Taille && a.Gras == b.Gras && a.Italique == b.Italique &&
           a.Souligne == b.Souligne && a.Barre == b.Barre;
}

// Qt's advance of one very long string goes wrong past some 2^25 pixels:
// long texts are measured in pieces (kerning is off, so widths add up).
int Avance(const QFontMetrics& fm, const QString& texte)
{
    constexpr int kMorceau = 4096;
    if (texte.size() <= kMorceau) return fm.horizontalAdvance(texte);
    long long total = 0;
    for (qsizetype i = 0; i < texte.size(); i += kMorceau)
        total += fm.horizontalAdvance(texte.mid(i, kMorceau));
    return static_cast<int>(std::min<long long>(total, INT32_MAX));
}

} // namespace

// The fonts and texts of one redraw: most texts of a timetable repeat
// (classes, rooms), so each is converted and measured once.
class TextesMesures
{
public:
    PoliceMesuree& police(const RPolice& p)
    {
        for (auto& pm : polices_)
            if (MemePolice(pm->police, p)) return *pm;
        polices_.push_back(std::make_unique<PoliceMesuree>(p));
        return *polices_.back();
    }

    const EntreeTexte& texte(PoliceMesuree& pm, std::string_view cp1252)
    {
        auto it = pm.textes.find(std::string(cp1252));
        if (it != pm.textes.end()) return it->second;
        EntreeTexte e;
        e.texte = QString::fromUtf8(Cp1252VersUtf8(cp1252));
        if (!e.texte.isEmpty()) {
            int lignes = 0;
            int largeur = 0;
            for (const QString& ligne : e.texte.split(QLatin1Char('\n'))) {
                QString l = ligne;
                if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
                largeur = std::max(largeur, Avance(pm.metriques, l));
                ++lignes;
            }
            e.taille = RTaille{largeur, lignes * pm.metriques.height()};
            // Underline and strike-out lines are not in the glyph bounds.
            if (!pm.police.Souligne && !pm.police.Barre && lignes == 1)
                e.encre = pm.metriques.boundingRect(e.texte).translated(0, pm.metriques.ascent());
        }
        return pm.textes.emplace(std::string(cp1252), std::move(e)).first->second;
    }

private:
    std::vector<std::unique_ptr<PoliceMesuree>> polices_;
};

namespace
{

void Cadre(QPainter& p, const Rect& r, QRgb c)
{
    if (r.d <= r.g || r.b <= r.h) return;
    const int l = r.d - r.g;
    const int h = r.b - r.h;
    p.fillRect(r.g, r.h, l, 1, c);
    p.fillRect(r.g, r.b - 1, l, 1, c);
    p.fillRect(r.g, r.h, 1, h, c);
    p.fillRect(r.d - 1, r.h, 1, h, c);
}

void Remplir(QPainter& p, const Rect& r, const QColor& c)
{
    if (r.d > r.g && r.b > r.h) p.fillRect(r.g, r.h, r.d - r.g, r.b - r.h, c);
}

// n pixels of colour c from p.  The C library's wide-character fill is the
// vectorised 32-bit fill at hand where wide characters have 32 bits.
void Remplir32(QRgb* p, int n, QRgb c)
{
    if constexpr (sizeof(wchar_t) == sizeof(QRgb))
        std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(c),
                     static_cast<std::size_t>(n));
    else
        std::fill(p, p + n, c);
}

// The RGB32 picture's own pixels, written without the painter: fills are
// plain stores and texts copies of their cached ink.
class Trame
{
public:
    explicit Trame(QImage& image)
        : pixels_(reinterpret_cast<QRgb*>(image.bits())), largeur_(image.width()),
          hauteur_(image.height()),
          pas_(image.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb)))
    {
    }

    void remplir(int g, int h, int d, int b, QRgb c)
    {
        g = std::max(g, 0);
        h = std::max(h, 0);
        d = std::min(d, largeur_);
        b = std::min(b, hauteur_);
        if (d <= g) return;
        for (int y = h; y < b; ++y)
            Remplir32(ligne(y) + g, d - g, c);
    }

    // The grey frame of a box and, inside it when there is room, its colour:
    // the same pixels as a grey fill followed by the interior's, each written
    // once, row after row.
    void boite(const Rect& r, QRgb cadre, QRgb fond)
    {
        if (r.d - r.g <= 2 || r.b - r.h <= 2) {
            remplir(r.g, r.h, r.d, r.b, cadre);
            return;
        }
        remplir(r.g, r.h, r.d, r.h + 1, cadre);
        const int g = std::max(r.g + 1, 0);
        const int d = std::min(r.d - 1, largeur_);
        const bool bordG = r.g >= 0 && r.g < largeur_;
        const bool bordD = r.d - 1 >= 0 && r.d - 1 < largeur_;
        for (int y = std::max(r.h + 1, 0), fin = std::min(r.b - 1, hauteur_); y < fin; ++y) {
            QRgb* l = ligne(y);
            if (bordG) l[r.g] = cadre;
            if (d > g) Remplir32(l + g, d - g, fond);
            if (bordD) l[r.d - 1] = cadre;
        }
        remplir(r.g, r.b - 1, r.d, r.b, cadre);
    }

    // The ink's pixels with the text's start point at `a`, inside `coupe`
    // when there is one.
    void copier(const Encre& e, Point a, const Rect* coupe)
    {
        const int x0 = a.x + e.x;
        const int y0 = a.y + e.y;
        int g = std::max(x0, 0);
        int d = std::min(x0 + e.largeur, largeur_);
        int h = std::max(y0, 0);
        int b = std::min(y0 + e.hauteur, hauteur_);
        if (coupe) {
            g = std::max(g, coupe->g);
            d = std::min(d, coupe->d);
            h = std::max(h, coupe->h);
            b = std::min(b, coupe->b);
        }
        // Without a branch per pixel: an ink pixel is 0 or opaque, so its
        // alpha byte spread over all four bytes is the mask of what it covers.
        for (int y = h; y < b; ++y) {
            const QRgb* source =
                e.pixels.data() + static_cast<std::ptrdiff_t>(y - y0) * e.largeur + (g - x0);
            QRgb* cible = ligne(y) + g;
            for (int i = 0, n = d - g; i < n; ++i) {
                const QRgb encre = source[i];
                cible[i] = encre | (cible[i] & ~((encre >> 24) * 0x01010101u));
            }
        }
    }

private:
    QRgb* ligne(int y) const { return pixels_ + static_cast<std::ptrdiff_t>(y) * pas_; }

    QRgb* pixels_;
    int largeur_;
    int hauteur_;
    qsizetype pas_;
};

class Peintre
{
public:
    Peintre(REdt& edt, TextesMesures& textes, QPainter& p)
        : edt_(edt), t_(textes), p_(p),
          vecteur_(p.paintEngine() && p.paintEngine()->type() != QPaintEngine::Raster),
          marquerCoupes_(p.paintEngine() && p.paintEngine()->type() == QPaintEngine::SVG)
    {
        p_.setPen(QColor::fromRgb(couleur_));
    }

    // From now on boxes are written straight into the picture's pixels and
    // their texts copied from the inks of `encres`.
    void accelerer(Trame& trame, CacheEncres& encres)
    {
        trame_ = &trame;
        encres_ = &encres;
        for (int g = 0; g < kNbGroupes; ++g) {
            const RPolice& police = edt_.Libelles[static_cast<std::size_t>(LibGroupe1 + g)].Police;
            Groupe& gr = groupes_[static_cast<std::size_t>(g)];
            gr.pm = &t_.police(police);
            gr.couleur = CouleurQt(police.Couleur);
            gr.police = encres.Police(police);
        }
    }

    void titre(const DescriptionImage& d)
    {
        if (!d.titre || edt_.Titre.empty()) return;
        const RPolice& police = edt_.Libelles[LibTitre].Police;
        PoliceMesuree& pm = t_.police(police);
        ecrire(pm, CouleurQt(police.Couleur), *d.titre, t_.texte(pm, edt_.Titre).texte);
    }

    void heures(const DescriptionImage& d)
    {
        if (!d.heures) return;
        const HeuresImage& h = *d.heures;
        const RPolice& police = edt_.Libelles[LibHeure].Police;
        PoliceMesuree& pm = t_.police(police);
        const QColor couleur = CouleurQt(police.Couleur);
        LigneHorizontale(h.axeDebut.x, h.axeFin.x, h.axeY);
        choisir(pm, couleur);
        for (const EtiquetteHeure& e : h.etiquettes) {
            p_.save();
            p_.translate(e.x - h.demi, h.axeY - 3);
            p_.rotate(-90);
            p_.drawText(QPoint(0, pm.metriques.ascent()), t_.texte(pm, e.texte).texte);
            p_.restore();
            // The tick from (xt, A) to (xt, A − 3), end point not drawn.
            p_.fillRect(e.x, h.axeY - 2, 1, 3, kGris);
        }
    }

    void jour(const JourImage& j)
    {
        const RJour& jour = edt_.Jours[static_cast<std::size_t>(j.jour)];
        if (j.nom) {
            const RPolice& police = edt_.Libelles[LibJours].Police;
            PoliceMesuree& pm = t_.police(police);
            ecrire(pm, CouleurQt(police.Couleur), *j.nom, t_.texte(pm, jour.Nom).texte);
        }
        for (const BoiteImage& b : j.boites)
            sequence(jour, b);
    }

    void sequence(const RJour& jour, const BoiteImage& b)
    {
        if (trame_) {
            sequenceTrame(jour, b);
            return;
        }
        const QColor fond = CouleurQt(edt_.Semaines[static_cast<std::size_t>(b.semaine)].Couleur);
        const Rect& r = b.rect;
        const Rect interieur{r.g + 1, r.h + 1, r.d - 1, r.b - 1};
        const bool rempli = r.g + 1 < r.d - 1;
        if (rempli && r.b > r.h) {
            // The grey box under its interior is the frame, in two fills.
            Remplir(p_, r, QColor::fromRgb(kGris));
            Remplir(p_, interieur, fond);
        } else {
            Cadre(p_, r, kGris);
        }
        const RSequence& s = jour.ParSemaine[static_cast<std::size_t>(b.semaine)]
                                 .Sequences[static_cast<std::size_t>(b.sequence)];
        for (int g = 0; g < kNbGroupes; ++g) {
            const Rect& c = b.cellules[static_cast<std::size_t>(g)];
            if (c.d <= c.g || c.b <= c.h) continue;
            if (!Dedans(c, rempli, interieur)) Remplir(p_, c, fond);
            const std::string_view texte = s.Textes[static_cast<std::size_t>(g)];
            if (texte.empty()) continue;
            const RPolice& police = edt_.Libelles[static_cast<std::size_t>(LibGroupe1 + g)].Police;
            PoliceMesuree& pm = t_.police(police);
            const EntreeTexte& e = t_.texte(pm, texte);
            const QRect cellule(c.g, c.h, c.d - c.g, c.b - c.h);
            const Point depart = b.departs[static_cast<std::size_t>(g)];
            // Clipping costs more than the text itself: skip it when the
            // glyphs, with a pixel to spare, lie inside the cell anyway.  A
            // vector device places the glyphs at the same hinted advances but
            // draws their unhinted outlines, which may reach a little further
            // than the measured ink: there two pixels are spared.
            const bool coupe = Coupe(e.encre, cellule, depart, vecteur_ ? 2 : 1);
            texteCellule(pm, CouleurQt(police.Couleur), cellule, depart, e.texte, coupe);
        }
    }

    // The same pixels as `sequence` draws on a raster device.
    void sequenceTrame(const RJour& jour, const BoiteImage& b)
    {
        const QRgb fond =
            CouleurQt(edt_.Semaines[static_cast<std::size_t>(b.semaine)].Couleur).rgb();
        const Rect& r = b.rect;
        const Rect interieur{r.g + 1, r.h + 1, r.d - 1, r.b - 1};
        const bool rempli = r.g + 1 < r.d - 1;
        trame_->boite(r, kGris, fond);
        const RSequence& s = jour.ParSemaine[static_cast<std::size_t>(b.semaine)]
                                 .Sequences[static_cast<std::size_t>(b.sequence)];
        for (int g = 0; g < kNbGroupes; ++g) {
            const Rect& c = b.cellules[static_cast<std::size_t>(g)];
            if (c.d <= c.g || c.b <= c.h) continue;
            if (!Dedans(c, rempli, interieur)) trame_->remplir(c.g, c.h, c.d, c.b, fond);
            const std::string_view texte = s.Textes[static_cast<std::size_t>(g)];
            if (texte.empty()) continue;
            Groupe& gr = groupes_[static_cast<std::size_t>(g)];
            const QRgb couleur = gr.couleur.rgb();
            // Measured at most once, and only when the ink cache lacks something.
            const EntreeTexte* mesure = nullptr;
            const auto entree = [&]() -> const EntreeTexte& {
                if (!mesure) mesure = &t_.texte(*gr.pm, texte);
                return *mesure;
            };
            CacheEncres::Texte* t = encres_->Trouver(gr.police, couleur, texte);
            if (!t) {
                const EntreeTexte& e = entree();
                t = &encres_->Ajouter(gr.police, couleur, texte, !e.encre.isNull(), e.encre);
            }
            const QRect cellule(c.g, c.h, c.d - c.g, c.b - c.h);
            const Point depart = b.departs[static_cast<std::size_t>(g)];
            const bool coupe = Coupe(t->encreConnue ? t->encre : QRect(), cellule, depart, 1);
            if (!t->rendu) {
                const EntreeTexte& e = entree();
                QRect etendue(0, 0, e.taille.Largeur, e.taille.Hauteur);
                if (t->encreConnue) etendue |= t->encre;
                encres_->Rendre(*t, couleur,
                                TexteARendre{&gr.pm->font, gr.pm->metriques.ascent(),
                                             gr.pm->metriques.height(), &e.texte, etendue});
            }
            if (!t->pixels.directe)
                trame_->copier(t->pixels, depart, coupe ? &c : nullptr);
            else
                texteCellule(*gr.pm, gr.couleur, cellule, depart, entree().texte, coupe);
        }
    }

    void web(const DescriptionImage& d)
    {
        const RPolice& police = edt_.Libelles[LibWeb].Police;
        PoliceMesuree& pm = t_.police(police);
        ecrire(pm, CouleurQt(police.Couleur), d.web, t_.texte(pm, kTexteWeb).texte);
    }

    void contour(const DescriptionImage& d)
    {
        if (d.contour) Cadre(p_, Rect{0, 0, d.largeur, d.hauteur}, kNoir);
    }

private:
    struct Groupe {
        PoliceMesuree* pm = nullptr;
        QColor couleur;
        int police = 0; // in the ink cache
    };

    // A cell inside the filled interior is already in the week colour;
    // cells overlap one another only with a negative margin.
    bool Dedans(const Rect& c, bool rempli, const Rect& interieur) const
    {
        return rempli && edt_.Marge >= 0 && c.g >= interieur.g && c.h >= interieur.h &&
               c.d <= interieur.d && c.b <= interieur.b;
    }

    // Whether a text must be clipped to its cell: not when its measured
    // glyphs lie `marge` pixels inside it.
    static bool Coupe(const QRect& encre, const QRect& cellule, Point depart, int marge)
    {
        return encre.isNull() || !cellule.adjusted(marge, marge, -marge, -marge)
                                      .contains(encre.translated(depart.x, depart.y));
    }

    void texteCellule(PoliceMesuree& pm, const QColor& couleur, const QRect& cellule, Point depart,
                      const QString& texte, bool coupe)
    {
        choisir(pm, couleur); // before the clip: an SVG mark is drawn in the text's pen
        if (coupe) couper(cellule);
        ecrire(pm, couleur, depart, texte);
        if (coupe) decouper(cellule);
    }

    // QPainter copies the font on every setFont: set it only when it changes.
    void choisir(PoliceMesuree& pm, const QColor& couleur)
    {
        if (courante_ != &pm) {
            p_.setFont(pm.font);
            courante_ = &pm;
        }
        if (couleur.rgb() != couleur_) {
            p_.setPen(couleur);
            couleur_ = couleur.rgb();
        }
    }

    // Placed by the top-left corner of the text's cell.
    void ecrire(PoliceMesuree& pm, const QColor& couleur, Point a, const QString& s)
    {
        choisir(pm, couleur);
        p_.drawText(QPoint(a.x, a.y + pm.metriques.ascent()), s);
    }

    // Qt's SVG generator drops clipping: there the clip is written instead
    // as two marks around the text, lines in the text's own pen so that they
    // stay in its group, which the SVG export turns into a clip path.  The
    // picture draws no other line.
    void couper(const QRect& r)
    {
        if (marquerCoupes_)
            p_.drawLine(r.topLeft(), r.bottomRight() + QPoint(1, 1));
        else
            p_.setClipRect(r);
    }

    void decouper(const QRect& r)
    {
        if (marquerCoupes_)
            p_.drawLine(r.bottomRight() + QPoint(1, 1), r.topLeft());
        else
            p_.setClipping(false);
    }

    // From x1 to x2 on row y, x2 itself not drawn.
    void LigneHorizontale(int x1, int x2, int y)
    {
        if (x2 > x1)
            p_.fillRect(x1, y, x2 - x1, 1, kGris);
        else if (x2 < x1)
            p_.fillRect(x2 + 1, y, x1 - x2, 1, kGris);
    }

    REdt& edt_;
    TextesMesures& t_;
    QPainter& p_;
    const bool vecteur_;
    const bool marquerCoupes_;
    PoliceMesuree* courante_ = nullptr;
    QRgb couleur_ = 0;
    Trame* trame_ = nullptr;
    CacheEncres* encres_ = nullptr;
    std::array<Groupe, kNbGroupes> groupes_{};
};

} // namespace

MesureurQt::MesureurQt() : textes_(std::make_unique<TextesMesures>()) {}

MesureurQt::~MesureurQt() = default;

RTaille MesureurQt::Mesurer(const RPolice& police, std::string_view texte) const
{
    return textes_->texte(textes_->police(police), texte).taille;
}

namespace
{

void PeindreTout(Peintre& peintre, const DescriptionImage& d)
{
    peintre.titre(d);
    peintre.heures(d);
    for (const JourImage& j : d.jours)
        peintre.jour(j);
    peintre.web(d);
    peintre.contour(d);
}

} // namespace

void Peindre(QPainter& p, REdt& edt, const DescriptionImage& d, const MesureurQt& mesureur)
{
    Peintre peintre(edt, mesureur.Textes(), p);
    PeindreTout(peintre, d);
}

namespace
{

// The inks outlive the redraw; the one cache of the process, whichever
// thread draws.
struct CacheProcessus {
    std::mutex verrou;
    CacheEncres encres;
};

CacheProcessus& Cache()
{
    static CacheProcessus cache;
    return cache;
}

TemoinDessin temoin = nullptr;

ResultatDessin Dessiner(REdt& edt, bool reference)
{
    ResultatDessin r;
    MesureurQt mesureur;
    r.description = Disposer(edt, mesureur);
    const DescriptionImage& d = r.description;
    if (!d.dessine) return r;
    if (d.demesure || static_cast<long long>(d.largeur) * d.hauteur > kPixelsMax) {
        r.etat = ResultatDessin::TropGrand;
        return r;
    }
    // Negative margins from a file can leave no picture at all.
    if (d.largeur <= 0 || d.hauteur <= 0) return r;
    r.image = QImage(d.largeur, d.hauteur, QImage::Format_RGB32);
    if (r.image.isNull()) {
        r.etat = ResultatDessin::TropGrand;
        return r;
    }
    r.image.fill(kBlanc);
    if (reference) {
        QPainter p(&r.image);
        Peindre(p, edt, d, mesureur);
    } else {
        Trame trame(r.image);
        CacheProcessus& cache = Cache();
        const std::lock_guard<std::mutex> verrou(cache.verrou);
        cache.encres.NouveauDessin();
        QPainter p(&r.image);
        Peintre peintre(edt, mesureur.Textes(), p);
        peintre.accelerer(trame, cache.encres);
        PeindreTout(peintre, d);
    }
    r.etat = ResultatDessin::Dessine;
    return r;
}

} // namespace

ResultatDessin Redessiner(REdt& edt)
{
    ResultatDessin r = Dessiner(edt, false);
    if (temoin && r.etat == ResultatDessin::Dessine) temoin(edt, r);
    return r;
}

ResultatDessin RedessinerReference(REdt& edt)
{
    return Dessiner(edt, true);
}

void DefinirTemoinDessin(TemoinDessin t)
{
    temoin = t;
}

EtatCacheEncres CacheEncresDuProcessus(bool vider)
{
    CacheProcessus& cache = Cache();
    const std::lock_guard<std::mutex> verrou(cache.verrou);
    const EtatCacheEncres etat{cache.encres.Entrees(), cache.encres.Octets()};
    if (vider) cache.encres.Vider();
    return etat;
}

} // namespace horaku
