// Outils communs aux tests du modèle : emplois du temps variés et comparaison
// champ par champ de tout ce que le fichier conserve.
#pragma once

#include "classesedt.h"
#include "temps.h"

#include <QString>
#include <QStringList>

#include <cmath>
#include <string>
#include <vector>

namespace outils
{

using horaku::REdt;

// Les lignes d'un texte de fichier, sans leur fin de ligne CR LF.
inline std::vector<std::string> Lignes(const std::string& contenu)
{
    std::vector<std::string> lignes;
    std::size_t debut = 0;
    while (debut < contenu.size()) {
        const std::size_t fin = contenu.find("\r\n", debut);
        if (fin == std::string::npos) {
            lignes.push_back(contenu.substr(debut));
            break;
        }
        lignes.push_back(contenu.substr(debut, fin - debut));
        debut = fin + 2;
    }
    return lignes;
}

inline std::string Joindre(const std::vector<std::string>& lignes, const char* fin = "\r\n")
{
    std::string s;
    for (const std::string& l : lignes)
        s += l + fin;
    return s;
}

// Deux heures égales à la seconde, ce que le fichier garantit.
inline bool MemeSeconde(double a, double b)
{
    return std::fabs(a - b) * 86400.0 < 0.5;
}

// Première différence entre deux emplois du temps, sur les champs que le
// fichier conserve ; vide s'il n'y en a pas.
inline QString Difference(const REdt& a, const REdt& b)
{
    const auto q = [](const std::string& s) {
        return QString::fromLatin1(s.data(), qsizetype(s.size()));
    };
#define HK_PAREIL(x)                                                                               \
    if (!(a.x == b.x)) return QStringLiteral(#x);
#define HK_TEXTE(x)                                                                                \
    if (a.x != b.x) return QStringLiteral(#x " : « %1 » / « %2 »").arg(q(a.x), q(b.x));
    HK_TEXTE(Titre)
    HK_TEXTE(MotDePasse)
    HK_PAREIL(Reserve1)
    HK_PAREIL(Marge)
    HK_PAREIL(Retrait)
    HK_PAREIL(AffichNom)
    HK_PAREIL(AffichContour)
    HK_PAREIL(Reserve2)
    HK_PAREIL(AffichJours)
    HK_PAREIL(AffichHeures)
    HK_PAREIL(DureeSeq)
    HK_PAREIL(Mesures.HeureLarg)
    if (!MemeSeconde(a.HeureAffichJours, b.HeureAffichJours))
        return QStringLiteral("HeureAffichJours");
    if (a.Semaines.size() != b.Semaines.size()) return QStringLiteral("Semaines.size");
    for (std::size_t i = 0; i < a.Semaines.size(); ++i) {
        HK_TEXTE(Semaines[i].Nom)
        HK_PAREIL(Semaines[i].Couleur)
    }
    if (a.Libelles.size() != b.Libelles.size()) return QStringLiteral("Libelles.size");
    for (std::size_t i = 0; i < a.Libelles.size(); ++i) {
        HK_TEXTE(Libelles[i].Libelle)
        HK_TEXTE(Libelles[i].Exemple)
        HK_TEXTE(Libelles[i].Police.Nom)
        HK_PAREIL(Libelles[i].Police.Taille)
        HK_PAREIL(Libelles[i].Police.Couleur)
        HK_PAREIL(Libelles[i].Police.Gras)
        HK_PAREIL(Libelles[i].Police.Italique)
        HK_PAREIL(Libelles[i].Police.Souligne)
        HK_PAREIL(Libelles[i].Police.Barre)
        HK_PAREIL(Libelles[i].Police.Jeu)
    }
    for (std::size_t g = 0; g < 4; ++g)
        HK_PAREIL(ListesDonnees[g])
    if (a.Jours.size() != b.Jours.size()) return QStringLiteral("Jours.size");
    for (std::size_t d = 0; d < a.Jours.size(); ++d) {
        HK_PAREIL(Jours[d].Affiche)
        if (a.Jours[d].ParSemaine.size() != b.Jours[d].ParSemaine.size())
            return QStringLiteral("Jours[%1].ParSemaine.size").arg(d);
        for (std::size_t k = 0; k < a.Jours[d].ParSemaine.size(); ++k) {
            const auto& sa = a.Jours[d].ParSemaine[k].Sequences;
            const auto& sb = b.Jours[d].ParSemaine[k].Sequences;
            if (sa.size() != sb.size())
                return QStringLiteral("Jours[%1].ParSemaine[%2].size").arg(d).arg(k);
            for (std::size_t i = 0; i < sa.size(); ++i) {
                if (!MemeSeconde(sa[i].Debut, sb[i].Debut) || !MemeSeconde(sa[i].Fin, sb[i].Fin))
                    return QStringLiteral("heures de Jours[%1].ParSemaine[%2][%3]")
                        .arg(d)
                        .arg(k)
                        .arg(i);
                if (sa[i].Textes != sb[i].Textes)
                    return QStringLiteral("textes de Jours[%1].ParSemaine[%2][%3]")
                        .arg(d)
                        .arg(k)
                        .arg(i);
            }
        }
    }
#undef HK_PAREIL
#undef HK_TEXTE
    return {};
}

// Générateur pseudo-aléatoire reproductible.
class Hasard
{
public:
    explicit Hasard(unsigned graine) : etat_(graine * 2654435761u + 1) {}
    unsigned operator()(unsigned n)
    {
        etat_ ^= etat_ << 13;
        etat_ ^= etat_ >> 17;
        etat_ ^= etat_ << 5;
        return n == 0 ? 0 : etat_ % n;
    }
    // Un texte d'octets Windows-1252 quelconques, sauf les fins de ligne.
    std::string texte(unsigned longueurMax)
    {
        std::string s(operator()(longueurMax + 1), ' ');
        for (char& c : s) {
            unsigned o = 1 + operator()(255);
            if (o == '\r' || o == '\n') o = 0xE9;
            c = static_cast<char>(o);
        }
        return s;
    }

private:
    unsigned etat_;
};

// Un emploi du temps dont chaque champ conservé s'écarte des valeurs par
// défaut ; les valeurs restent dans ce que le lecteur accepte et l'écrivain
// peut rendre à l'identique.
inline REdt EdtVarie(unsigned graine, int semaines = 3, int sequencesMax = 4)
{
    Hasard h(graine);
    REdt e;
    e.Titre = h.texte(30);
    e.MotDePasse = h.texte(12);
    e.Reserve1 = static_cast<std::int32_t>(h(200000)) - 100000;
    e.Marge = static_cast<std::int32_t>(h(11));
    e.Retrait = static_cast<std::int32_t>(h(5));
    e.AffichNom = h(2);
    e.AffichContour = h(2);
    e.Reserve2 = h(2);
    e.AffichJours = h(2);
    e.AffichHeures = h(2);
    e.DureeSeq = 1 + h(999);
    e.Mesures.HeureLarg = static_cast<std::int32_t>(h(300));
    e.HeureAffichJours = horaku::EncoderHeure(int(h(24)), int(h(60)), int(h(60)));
    e.Semaines.clear();
    for (int i = 0; i < semaines; ++i)
        e.Semaines.push_back(
            {h.texte(10), static_cast<std::int32_t>(h(0x1000000)) - (i == 1 ? 0x7FFFFFFF : 0)});
    for (auto& l : e.Libelles) {
        l.Libelle = h.texte(8);
        l.Exemple = h.texte(8);
        l.Police.Nom = h.texte(12);
        l.Police.Taille = static_cast<std::int32_t>(h(72));
        l.Police.Couleur = static_cast<std::int32_t>(h(0x1000000));
        l.Police.Gras = h(2);
        l.Police.Italique = h(2);
        l.Police.Souligne = h(2);
        l.Police.Barre = h(2);
        l.Police.Jeu = static_cast<std::uint8_t>(h(256));
    }
    // Ce que la lecture impose à la police 8.
    auto& web = e.Libelles[horaku::LibWeb].Police;
    web.Nom = "Times New Roman";
    web.Taille = 8;
    web.Couleur = 0xFF0000;
    for (auto& liste : e.ListesDonnees) {
        const unsigned n = h(6);
        for (unsigned i = 0; i < n; ++i)
            liste.push_back(h.texte(15));
    }
    e.AjusterSemaines();
    for (auto& jour : e.Jours) {
        jour.Affiche = static_cast<std::int32_t>(h(2));
        for (auto& js : jour.ParSemaine) {
            const unsigned n = h(static_cast<unsigned>(sequencesMax) + 1);
            double t = horaku::EncoderHeure(7, 0) + h(120) / 1440.0;
            for (unsigned i = 0; i < n; ++i) {
                horaku::RSequence s;
                s.Debut = t;
                s.Fin = horaku::AjouterMinutes(t, 1 + h(120));
                for (std::size_t k = 0; k < 4; ++k)
                    s.Textes.Fixer(k, h(3) ? h.texte(10) : std::string());
                js.Sequences.push_back(s);
                t = horaku::AjouterMinutes(s.Fin, h(30));
            }
        }
    }
    return e;
}

} // namespace outils
