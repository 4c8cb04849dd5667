// The geometry is integer pixels; every float-to-integer step truncates
// toward zero.  PixParMinute and the group shares are 32-bit floats (rounded
// once), the arithmetic that uses them runs in doubles, so each truncation
// lands where the original arithmetic lands (an hour of 50 pixels gives 49).
#include "disposition.h"

#include <algorithm>
#include <cmath>

namespace horaku
{

const char* const kTexteWeb = "www.horaku.fr";

namespace
{

// Far more labels than any day holds: only reached with dates in place of
// times of day, where the labels would pile up on the same places anyway.
constexpr int kEtiquettesMax = 1000;

int Tronquer(double v)
{
    if (!(v > -2147483648.0)) return INT32_MIN;
    if (!(v < 2147483647.0)) return INT32_MAX;
    return static_cast<int>(v); // toward zero
}

// Numbers from a file can be anything; the records hold 32 bits.
std::int32_t Saturer(long long v)
{
    return static_cast<std::int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

long long Abs(long long v)
{
    return v < 0 ? -v : v;
}

} // namespace

void Mesurer(REdt& edt, const MesureurTexte& mesureur)
{
    RMesures& m = edt.Mesures;
    for (RJour& jour : edt.Jours)
        for (RJourSem& js : jour.ParSemaine)
            for (RSequence& s : js.Sequences)
                s.Vide = true;

    const RTaille heure = mesureur.Mesurer(edt.Libelles[LibHeure].Police, "00:00");
    m.TailleHeure.Largeur = heure.Hauteur; // along the time axis: the upright label's line height
    m.TailleHeure.Hauteur = heure.Largeur; // across it
    m.TailleWeb = mesureur.Mesurer(edt.Libelles[LibWeb].Police, kTexteWeb);

    for (int g = 0; g < kNbGroupes; ++g) {
        RTaille max;
        const RPolice& police = edt.Libelles[static_cast<std::size_t>(LibGroupe1 + g)].Police;
        for (RJour& jour : edt.Jours) {
            for (RJourSem& js : jour.ParSemaine) {
                for (RSequence& s : js.Sequences) {
                    const std::string_view texte = s.Textes[static_cast<std::size_t>(g)];
                    if (texte.empty()) continue;
                    const RTaille t = mesureur.Mesurer(police, texte);
                    max.Largeur = std::max(max.Largeur, t.Largeur);
                    max.Hauteur = std::max(max.Hauteur, t.Hauteur);
                    s.Vide = false;
                }
            }
        }
        m.TailleGroupe[static_cast<std::size_t>(g)] = max;
    }

    m.HautMax = 0;
    long long largTotale = 0;
    for (const RTaille& t : m.TailleGroupe) {
        m.HautMax = std::max(m.HautMax, t.Hauteur);
        largTotale += t.Largeur;
    }
    m.LargTotale = Saturer(largTotale);
    for (std::size_t g = 0; g < m.PartGroupe.size(); ++g) {
        // Texts that measure nothing at all leave no width to share.
        m.PartGroupe[g] =
            m.LargTotale > 0
                ? static_cast<float>(static_cast<double>(m.TailleGroupe[g].Largeur) / m.LargTotale)
                : 0.0f;
    }
    m.PixParMinute = static_cast<float>(static_cast<double>(m.HeureLarg) / 60.0);
    m.HautLigne = Saturer(2LL * edt.Retrait + m.HautMax + 3LL * edt.Marge);
    m.TailleTitre = mesureur.Mesurer(edt.Libelles[LibTitre].Police, edt.Titre);
}

bool PreparerDessin(REdt& edt, const MesureurTexte& mesureur)
{
    if (!edt.MarquerVides()) return false;
    Mesurer(edt, mesureur);
    return true;
}

int XTemps(const REdt& edt, TDateTime t, double x0)
{
    const int minutes = Minutes(t) - Minutes(edt.HeureDebut);
    return Tronquer(minutes * static_cast<double>(edt.Mesures.PixParMinute) + x0);
}

namespace
{

struct Marche {
    Point p{1, 1};
    Point e{1, 1};
    void etendre(int x, int y)
    {
        e.x = std::max(e.x, x);
        e.y = std::max(e.y, y);
    }
};

void PlacerTextes(const REdt& edt, BoiteImage& boite)
{
    const int p = edt.Retrait;
    const int m = edt.Marge;
    const Rect& r = boite.rect;
    const int a = std::max(1, (r.d - r.g) - 2 * p - 5 * m);
    const int bas = r.b - 1;
    const auto c = [&](int v) { return std::min(v, r.d - 1); };
    int cx = c(r.g + p + m);
    int cy = r.h + p + m;
    for (int g = 0; g < kNbGroupes; ++g) {
        const double part = edt.Mesures.PartGroupe[static_cast<std::size_t>(g)];
        const int rg = std::min(Tronquer(a * part + cx), r.d - 1);
        boite.cellules[static_cast<std::size_t>(g)] = Rect{cx, cy, rg - 1, bas};
        boite.departs[static_cast<std::size_t>(g)] = Point{cx, cy};
        cx = c(rg + m);
        if (g == 0 || g == 2)
            cy += m;
        else if (g == 1)
            cy -= m;
    }
}

} // namespace

namespace
{

// Every coordinate of the walk is a sum of these terms: while their absolute
// values add up to less than 2^30 no integer step can overflow, and beyond
// that the picture would be far over any size that can be drawn.
bool Demesure(const REdt& edt, const DescriptionImage& d, const RTaille& titre, const RTaille& web)
{
    const RMesures& me = edt.Mesures;
    const long long m = Abs(edt.Marge);
    const long long p = Abs(edt.Retrait);
    const long long n = static_cast<long long>(edt.Semaines.size());
    const long long somme = Abs(d.largeurSurface) + 2 * Abs(me.HautLigne) +
                            n * kNbJours * (Abs(me.HautLigne) + 2 * m + 1) +
                            Abs(me.TailleHeure.Largeur) + Abs(me.TailleHeure.Hauteur) +
                            Abs(titre.Largeur) + Abs(titre.Hauteur) + Abs(web.Largeur) +
                            Abs(web.Hauteur) + 16 * m + 4 * p + 16;
    return m > (1 << 20) || p > (1 << 20) || somme >= (1LL << 30);
}

} // namespace

DescriptionImage Disposer(REdt& edt, const MesureurTexte& mesureur)
{
    DescriptionImage d;
    PreparerDessin(edt, mesureur);
    const RMesures& me = edt.Mesures;
    if (me.PixParMinute <= 0) return d;
    edt.CalculerPlage();
    d.dessine = true;
    d.contour = edt.AffichContour;

    const int m = edt.Marge;
    const long long n = static_cast<long long>(edt.Semaines.size());
    d.largeurSurface = static_cast<long long>(static_cast<double>(me.PixParMinute) * 1440.0);
    d.hauteurSurface = n * (me.HautLigne + 1LL) * 7 + me.TailleHeure.Hauteur +
                       me.TailleTitre.Hauteur + me.TailleWeb.Hauteur + 6LL * m;
    const RTaille titre =
        edt.AffichNom ? mesureur.Mesurer(edt.Libelles[LibTitre].Police, edt.Titre) : RTaille{};
    const RTaille web = mesureur.Mesurer(edt.Libelles[LibWeb].Police, kTexteWeb);
    if (Demesure(edt, d, titre, web)) {
        d.demesure = true;
        return d;
    }

    Marche w;
    if (edt.AffichNom) {
        const int x = w.p.x;
        w.p = Point{w.p.x + m, w.p.y + m};
        d.titre = w.p;
        w.p.x += m + titre.Largeur;
        w.p.y += m + titre.Hauteur;
        w.etendre(w.p.x, w.p.y);
        w.p.x = x;
    }

    if (edt.AffichHeures) {
        HeuresImage h;
        const int largeur = me.TailleHeure.Largeur;
        h.longueur = me.TailleHeure.Hauteur;
        h.demi = largeur / 2;
        const int axe = w.p.y + 2 * m + 3 + h.longueur;
        const int x0 = w.p.x + h.demi;
        h.axeY = axe;
        h.axeDebut = Point{x0, axe};
        h.axeFin = Point{XTemps(edt, edt.HeureFin, x0), axe};
        int xDernier = x0;
        TDateTime t = edt.HeureDebut;
        while (t < edt.HeureFin && static_cast<int>(h.etiquettes.size()) < kEtiquettesMax) {
            const int xt = XTemps(edt, t, x0);
            h.etiquettes.push_back(EtiquetteHeure{HeureMinuteVersTexte(t), xt});
            xDernier = xt;
            t = AjouterMinutes(t, 60);
        }
        w.etendre(xDernier + h.demi, w.p.y);
        w.p = Point{x0, axe + m + 2};
        d.heures = std::move(h);
    }

    const int dx = w.p.x;
    const double dx1 = dx + 1.0;
    const int minutesDebut = Minutes(edt.HeureDebut);
    for (int i = 0; i < kNbJours; ++i) {
        const RJour& jour = edt.Jours[static_cast<std::size_t>(i)];
        if (jour.Affiche == 0) continue;
        w.p.x = dx;
        if (i >= 1) w.p.y += 2 * m;
        JourImage j;
        j.jour = i;
        j.haut = w.p.y;
        if (edt.AffichJours) j.nom = Point{XTemps(edt, edt.HeureAffichJours, dx) + m, j.haut + m};
        int droite = dx;
        for (std::size_t k = 0; k < jour.ParSemaine.size(); ++k) {
            const int rk = j.haut - 1 + static_cast<int>(k) * (me.HautLigne - 1);
            const auto& seqs = jour.ParSemaine[k].Sequences;
            for (std::size_t s = 0; s < seqs.size(); ++s) {
                const RSequence& seq = seqs[s];
                if (seq.Vide) continue;
                BoiteImage b;
                b.semaine = static_cast<int>(k);
                b.sequence = static_cast<int>(s);
                b.rect.g = XTemps(edt, seq.Debut, dx);
                b.rect.d = Tronquer(
                    (Minutes(seq.Fin) - minutesDebut) * static_cast<double>(me.PixParMinute) + dx1);
                if (b.rect.d <= b.rect.g) b.rect.d = b.rect.g + 1;
                b.rect.h = rk;
                b.rect.b = rk + me.HautLigne;
                PlacerTextes(edt, b);
                // Every box counts, not only the last of its row: a row whose
                // latest box is not its last one must not be cut off.
                droite = std::max(droite, b.rect.d);
                j.boites.push_back(b);
            }
        }
        const int bas = j.haut + static_cast<int>(n) * (me.HautLigne - 1);
        w.etendre(droite, bas);
        w.p.y = bas;
        d.jours.push_back(std::move(j));
    }

    w.e.y += m;
    d.web = Point{w.e.x - web.Largeur - m - 1, w.e.y};
    w.e.y += m + web.Hauteur;
    d.largeur = w.e.x;
    d.hauteur = w.e.y;
    return d;
}

} // namespace horaku
