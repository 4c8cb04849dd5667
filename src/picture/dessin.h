// Drawing the picture with QPainter on a QImage at 96 dots per inch, from the
// layout's description.  The redraw is the one way the picture changes; the
// main window, the export and horaku-cli all call Redessiner.  The vector
// export paints the same description through the same Peindre.
#pragma once

#include "disposition.h"

#include <QColor>
#include <QFont>
#include <QImage>

#include <memory>
#include <string>

class QPainter;

namespace horaku
{

// Pictures above this many pixels are refused rather than drawn.
inline constexpr long long kPixelsMax = 100'000'000;
// When the hour width makes it too large; tropgrand.h names the other causes.
inline constexpr const char* kMessageTropGrand =
    "L'image est trop grande pour être dessinée : réduisez la largeur d'une heure.";

QColor CouleurQt(std::int32_t couleur);
// The inverse of CouleurQt for plain colours: red in the low byte.
std::int32_t CouleurRef(const QColor& couleur);
QFont PoliceQt(const RPolice& police);

class TextesMesures;

// Measures with Qt, keeping every font and text it met, so that the drawing
// that follows reuses them.
class MesureurQt final : public MesureurTexte
{
public:
    MesureurQt();
    ~MesureurQt() override;
    RTaille Mesurer(const RPolice& police, std::string_view texteCp1252) const override;
    TextesMesures& Textes() const { return *textes_; }

private:
    std::unique_ptr<TextesMesures> textes_;
};

struct ResultatDessin {
    enum Etat { Rien, Dessine, TropGrand } etat = Rien;
    QImage image; // RGB32, only when Dessine
    DescriptionImage description;
};

// Rien: nothing to draw (no text ever, or PixParMinute ≤ 0); the caller keeps
// its previous picture.  TropGrand: the caller shows MessageTropGrand(edt,
// description), which names the cause.  Boxes are filled straight into the
// picture and texts copied from the inks the process keeps (encres.h).
ResultatDessin Redessiner(REdt& edt);
// The same picture painted element by element with QPainter, texts drawn by
// drawText as the vector output draws them: what Redessiner must match to
// the pixel.
ResultatDessin RedessinerReference(REdt& edt);

// Called after every redraw that draws, with the timetable and the result;
// the tests compare each picture with RedessinerReference's there.
using TemoinDessin = void (*)(REdt& edt, const ResultatDessin& resultat);
void DefinirTemoinDessin(TemoinDessin temoin);

struct EtatCacheEncres {
    std::size_t textes = 0;
    std::size_t octets = 0;
};
// The process's ink cache as it is, emptied afterwards when `vider`.
EtatCacheEncres CacheEncresDuProcessus(bool vider = false);

// Paints the described picture with `p`, one unit of the painter's
// coordinates per picture pixel, over a background already white.  `mesureur`
// is the one the layout measured with: its fonts and texts are reused.  On an
// SVG device, which cannot clip, a clipped text is framed by two lines: the
// first from the clip rectangle's top-left corner to its bottom-right one
// (right and bottom exclusive), the second back.
void Peindre(QPainter& p, REdt& edt, const DescriptionImage& d, const MesureurQt& mesureur);

} // namespace horaku
