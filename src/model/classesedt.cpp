#include "classesedt.h"

#include "variables.h"

namespace horaku
{

namespace
{

RLibel Libel(const char* libelle, const char* exemple)
{
    RLibel l;
    l.Libelle = libelle;
    l.Exemple = exemple;
    return l;
}

} // namespace

REdt::REdt()
{
    Semaines.push_back(RSemaine{"Sem 1", 0xFFFF00});
    Libelles = {
        Libel("Jours", "Lundi"),    Libel("Classes", "604"),        Libel("Groupes", "G1"),
        Libel("Salles", "Salle 4"), Libel("Divers", "Divers"),      Libel("Titre", "Titre"),
        Libel("Heure", "10:30"),    Libel("Suppl", "Inutilis\xE9"), Libel("Web", "Inutilis\xE9")};
    RPolice& web = Libelles[LibWeb].Police;
    web.Nom = "Times New Roman";
    web.Couleur = 0xFF0000;
    web.Taille = 8;
    Jours.resize(kNbJours);
    for (int i = 0; i < kNbJours; ++i)
        Jours[static_cast<std::size_t>(i)].Nom = kNomsJours[i];
    AjusterSemaines();
}

void REdt::Copier(const REdt& source)
{
    if (this != &source) *this = source;
    if (DureeSeq == 0) DureeSeq = 1;
}

void REdt::AjusterSemaines()
{
    for (RJour& jour : Jours)
        jour.ParSemaine.resize(Semaines.size());
}

void REdt::OrienterHeures(bool tourner)
{
    if (Libelles.size() > LibHeure) Libelles[LibHeure].Police.Orientation = tourner ? 900 : 0;
}

bool REdt::MarquerVides()
{
    bool texte = false;
    for (RJour& jour : Jours) {
        for (RJourSem& js : jour.ParSemaine) {
            js.Vide = true;
            for (const RSequence& s : js.Sequences) {
                for (const std::string& t : s.Textes) {
                    if (!t.empty()) {
                        js.Vide = false;
                        break;
                    }
                }
                if (!js.Vide) break;
            }
            texte = texte || !js.Vide;
        }
    }
    return texte;
}

void REdt::CalculerPlage()
{
    HeureDebut = EncoderHeure(23, 59, 59, 999);
    HeureFin = 0;
    for (const RJour& jour : Jours) {
        if (jour.Affiche == 0) continue;
        for (const RJourSem& js : jour.ParSemaine) {
            for (const RSequence& s : js.Sequences) {
                if (s.Debut < HeureDebut) HeureDebut = s.Debut;
                if (s.Fin > HeureFin) HeureFin = s.Fin;
            }
        }
    }
    if (AffichHeures) {
        const int h = Minutes(HeureDebut) / 60;
        const TDateTime pleine = EncoderHeure(h, 0);
        if (pleine < HeureDebut) HeureDebut = pleine;
    }
}

} // namespace horaku
