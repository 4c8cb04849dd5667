// Layout of the picture as pure computation: measuring (through a small
// text-measuring interface), the time range, and the placement walk that
// yields a plain description of everything to draw.  Drawing reads only that
// description, so the window, the export and horaku-cli draw the same thing.
#pragma once

#include "classesedt.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace horaku
{

// Width and height of a text as the platform's multi-line drawing would fill
// it, lines stacked without wrapping; an empty text is 0 wide.
class MesureurTexte
{
public:
    virtual ~MesureurTexte() = default;
    virtual RTaille Mesurer(const RPolice& police, std::string_view texteCp1252) const = 0;
};

struct Point {
    int x = 0;
    int y = 0;
};

// Right and bottom exclusive.
struct Rect {
    int g = 0, h = 0, d = 0, b = 0;
};

struct BoiteImage {
    int semaine = 0;  // position in Semaines
    int sequence = 0; // position in the sequence list
    Rect rect;
    std::array<Rect, 4> cellules{};
    std::array<Point, 4> departs{}; // where each text starts
};

struct JourImage {
    int jour = 0; // 0 = Monday
    int haut = 0; // the day's top T
    std::optional<Point> nom;
    std::vector<BoiteImage> boites;
};

struct EtiquetteHeure {
    std::string texte; // "hh:nn"
    int x = 0;         // the hour's position xt
};

struct HeuresImage {
    Point axeDebut, axeFin; // the axis line, end point not drawn
    int axeY = 0;
    int demi = 0;     // half the label's extent along the axis
    int longueur = 0; // the label's extent across the axis
    std::vector<EtiquetteHeure> etiquettes;
};

struct DescriptionImage {
    bool dessine = false;         // false: the redraw stops before drawing
    bool demesure = false;        // numbers beyond any drawable picture: no walk
    long long largeurSurface = 0; // the surface bound before drawing
    long long hauteurSurface = 0;
    int largeur = 0; // the final picture size E.x × E.y
    int hauteur = 0;
    std::optional<Point> titre; // top-left corner of the title
    std::optional<HeuresImage> heures;
    std::vector<JourImage> jours; // shown days, in order
    Point web;                    // top-left corner of the credit text
    bool contour = false;
};

// The credit line's fixed text (Windows-1252).
extern const char* const kTexteWeb;

bool PreparerDessin(REdt& edt, const MesureurTexte& mesureur);
void Mesurer(REdt& edt, const MesureurTexte& mesureur);
// Truncated toward zero: trunc((minutes(t) − minutes(HeureDebut)) × PixParMinute + x0).
int XTemps(const REdt& edt, TDateTime t, double x0);
// PreparerDessin, CalculerPlage and the placement walk.
DescriptionImage Disposer(REdt& edt, const MesureurTexte& mesureur);

} // namespace horaku
