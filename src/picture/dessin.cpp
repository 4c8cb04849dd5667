// Drawing follows the description of the layout to the pixel.  Frames, lines
// and fills are drawn as filled rectangles so that the exclusive right and
// bottom edges and the undrawn end points come out exactly; texts are drawn
// without antialiasing from the top-left corner of their cell.
#include "dessin.h"

#include "cp1252.h"

#include <QFontMetrics>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <memory>
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
            // A cell inside the filled interior is already in the week colour;
            // cells overlap one another only with a negative margin.
            const bool dedans = rempli && edt_.Marge >= 0 && c.g >= interieur.g &&
                                c.h >= interieur.h && c.d <= interieur.d && c.b <= interieur.b;
            if (!dedans) Remplir(p_, c, fond);
            const std::string& texte = s.Textes[static_cast<std::size_t>(g)];
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
            const int marge = vecteur_ ? 2 : 1;
            const bool coupe =
                e.encre.isNull() || !cellule.adjusted(marge, marge, -marge, -marge)
                                         .contains(e.encre.translated(depart.x, depart.y));
            const QColor couleur = CouleurQt(police.Couleur);
            choisir(pm, couleur); // before the clip: an SVG mark is drawn in the text's pen
            if (coupe) couper(cellule);
            ecrire(pm, couleur, depart, e.texte);
            if (coupe) decouper(cellule);
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
};

} // namespace

MesureurQt::MesureurQt() : textes_(std::make_unique<TextesMesures>()) {}

MesureurQt::~MesureurQt() = default;

RTaille MesureurQt::Mesurer(const RPolice& police, std::string_view texte) const
{
    return textes_->texte(textes_->police(police), texte).taille;
}

void Peindre(QPainter& p, REdt& edt, const DescriptionImage& d, const MesureurQt& mesureur)
{
    Peintre peintre(edt, mesureur.Textes(), p);
    peintre.titre(d);
    peintre.heures(d);
    for (const JourImage& j : d.jours)
        peintre.jour(j);
    peintre.web(d);
    peintre.contour(d);
}

ResultatDessin Redessiner(REdt& edt)
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
    {
        QPainter p(&r.image);
        Peindre(p, edt, d, mesureur);
    }
    r.etat = ResultatDessin::Dessine;
    return r;
}

} // namespace horaku
