// The picture's width and height are sums of a few terms (Disposer): the
// larger side is blamed, and within it the largest term.  The estimates run
// in long double, as the terms of a refused picture may be far beyond 64 bits
// of pixels once multiplied.
#include "tropgrand.h"

#include "dessin.h"

#include <algorithm>
#include <cmath>

namespace horaku
{

namespace
{

// The parameters dialog keeps at most this many week types; a file may hold
// more.
constexpr std::size_t kSemainesUsuelles = 52;

struct Terme {
    long double valeur;
    CauseTaille cause;
};

CauseTaille Plus(std::initializer_list<Terme> termes)
{
    // The first of equal terms wins: the order is the order of likelihood.
    const Terme* meilleur = termes.begin();
    for (const Terme& t : termes)
        if (t.valeur > meilleur->valeur) meilleur = &t;
    return meilleur->cause;
}

long double Abs(long double v)
{
    return v < 0 ? -v : v;
}

} // namespace

CauseTaille CauseTropGrand(const REdt& edt, const DescriptionImage& d)
{
    const RMesures& me = edt.Mesures;
    const long double m = Abs(edt.Marge);
    const long double p = Abs(edt.Retrait);
    const long double n = static_cast<long double>(edt.Semaines.size());
    const RTaille titre = edt.AffichNom ? me.TailleTitre : RTaille{};

    // Width: the time axis, or the title, beside the margins.
    const long double minutes =
        std::max(60, std::abs(Minutes(edt.HeureFin) - Minutes(edt.HeureDebut)));
    long double heures = Abs(me.PixParMinute) * minutes;
    if (d.demesure) heures = std::max(heures, static_cast<long double>(Abs(d.largeurSurface)));
    const long double largTitre = Abs(titre.Largeur);
    const long double largMarges = 16 * m + 4 * p;
    const long double largeur = std::max(heures, largTitre) + largMarges;

    // Height: one row per week type and shown day, the title, the hour
    // labels and the credit line.
    const long double hautMax = Abs(me.HautMax);
    const long double ligne = 2 * p + hautMax + 3 * m + 2 * m + 1;
    const long double lignes = n * kNbJours * ligne;
    const long double textes = Abs(me.TailleHeure.Hauteur) + Abs(me.TailleWeb.Hauteur);
    const long double hauteur = lignes + Abs(titre.Hauteur) + textes + 6 * m;

    if (largeur >= hauteur)
        return Plus({{heures, CauseTaille::LargeurHeure},
                     {largTitre, CauseTaille::Titre},
                     {16 * m, CauseTaille::Marge},
                     {4 * p, CauseTaille::Retrait}});
    const CauseTaille haut = Plus({{lignes, CauseTaille::Semaines},
                                   {Abs(titre.Hauteur), CauseTaille::Titre},
                                   {textes, CauseTaille::Polices},
                                   {6 * m, CauseTaille::Marge}});
    if (haut != CauseTaille::Semaines || edt.Semaines.size() > kSemainesUsuelles) return haut;
    // Rows of a usual number of week types: their height is too large.
    return Plus({{hautMax, CauseTaille::Polices},
                 {5 * m, CauseTaille::Marge},
                 {2 * p, CauseTaille::Retrait},
                 {1, CauseTaille::Semaines}});
}

const char* MessageTropGrand(CauseTaille cause)
{
    switch (cause) {
    case CauseTaille::LargeurHeure:
        break;
    case CauseTaille::Titre:
        return "L'image est trop grande pour être dessinée : raccourcissez le titre ou réduisez "
               "sa police.";
    case CauseTaille::Semaines:
        return "L'image est trop grande pour être dessinée : il y a trop de types de semaine.";
    case CauseTaille::Marge:
        return "L'image est trop grande pour être dessinée : réduisez la marge.";
    case CauseTaille::Retrait:
        return "L'image est trop grande pour être dessinée : l'espace intérieur des cases est "
               "trop grand.";
    case CauseTaille::Polices:
        return "L'image est trop grande pour être dessinée : réduisez la taille des polices.";
    }
    return kMessageTropGrand;
}

const char* MessageTropGrand(const REdt& edt, const DescriptionImage& d)
{
    return MessageTropGrand(CauseTropGrand(edt, d));
}

std::string MessageRien(REdt& edt)
{
    const std::string debut = "Rien à dessiner : ";
    const DescriptionImage d = Disposer(edt, MesureurQt());
    if (d.dessine && (d.largeur <= 0 || d.hauteur <= 0)) {
        if (edt.Marge < 0)
            return debut + "la marge (" + std::to_string(edt.Marge) +
                   ") ne laisse aucune place à l'image.";
        if (edt.Retrait < 0)
            return debut + "l'espace intérieur des cases (" + std::to_string(edt.Retrait) +
                   ") ne laisse aucune place à l'image.";
    }
    return debut + "aucune séquence n'a de texte, ou la largeur d'une heure est nulle.";
}

} // namespace horaku
