#include "commandes.h"

#include "classesedt.h"
#include "cp1252.h"
#include "erreurs.h"
#include "fichiers.h"
#include "json.h"
#include "variables.h"

namespace horaku::cli
{

namespace
{

void Police(Json& j, const RPolice& p)
{
    j.objet();
    j.cle("nom").texte(Cp1252VersUtf8(p.Nom));
    j.cle("taille").entier(p.Taille);
    j.cle("couleur").entier(p.Couleur);
    j.cle("gras").booleen(p.Gras);
    j.cle("italique").booleen(p.Italique);
    j.cle("souligne").booleen(p.Souligne);
    j.cle("barre").booleen(p.Barre);
    j.cle("jeu").entier(p.Jeu);
    j.finObjet();
}

} // namespace

void ChampsSequence(Json& j, const RSequence& s)
{
    j.cle("debut").texte(TempsVersTexte(s.Debut));
    j.cle("fin").texte(TempsVersTexte(s.Fin));
    j.cle("textes").tableau();
    for (const std::string_view t : s.Textes)
        j.texte(Cp1252VersUtf8(t));
    j.finTableau();
}

namespace
{

std::string JsonEdt(const REdt& e)
{
    Json j;
    const auto t = [](std::string_view s) { return Cp1252VersUtf8(s); };
    j.objet();
    j.cle("titre").texte(t(e.Titre));
    j.cle("motDePasse").texte(t(e.MotDePasse));
    j.cle("reserve1").entier(e.Reserve1);
    j.cle("semaines").tableau();
    for (const RSemaine& s : e.Semaines) {
        j.objet();
        j.cle("nom").texte(t(s.Nom));
        j.cle("couleur").entier(s.Couleur);
        j.finObjet();
    }
    j.finTableau();
    j.cle("libelles").tableau();
    for (const RLibel& l : e.Libelles) {
        j.objet();
        j.cle("libelle").texte(t(l.Libelle));
        j.cle("exemple").texte(t(l.Exemple));
        j.cle("police");
        Police(j, l.Police);
        j.finObjet();
    }
    j.finTableau();
    j.cle("dureeSeq").entier(e.DureeSeq);
    j.cle("marge").entier(e.Marge);
    j.cle("retrait").entier(e.Retrait);
    j.cle("affichNom").booleen(e.AffichNom);
    j.cle("affichContour").booleen(e.AffichContour);
    j.cle("reserve2").booleen(e.Reserve2);
    j.cle("affichJours").booleen(e.AffichJours);
    j.cle("affichHeures").booleen(e.AffichHeures);
    j.cle("heureAffichJours").texte(TempsVersTexte(e.HeureAffichJours));
    j.cle("listesDonnees").tableau();
    for (const auto& liste : e.ListesDonnees) {
        j.tableau();
        for (const std::string& s : liste)
            j.texte(t(s));
        j.finTableau();
    }
    j.finTableau();
    j.cle("jours").tableau();
    for (const RJour& jour : e.Jours) {
        j.objet();
        j.cle("affiche").booleen(jour.Affiche != 0);
        j.cle("parSemaine").tableau();
        for (const RJourSem& js : jour.ParSemaine) {
            j.tableau();
            for (const RSequence& s : js.Sequences) {
                j.objet();
                ChampsSequence(j, s);
                j.finObjet();
            }
            j.finTableau();
        }
        j.finTableau();
        j.finObjet();
    }
    j.finTableau();
    j.cle("heureLarg").entier(e.Mesures.HeureLarg);
    j.finObjet();
    return j.resultat();
}

} // namespace

std::string LigneVisible(const std::string& message)
{
    return ControlesVisibles(SansSautDeLigne(message));
}

void LireOuEchouer(REdt& edt, const char* chemin)
{
    edt.Fichier = chemin;
    if (!edt.Charger()) throw ErreurHoraku(kMessageVersion);
}

int Nouveau(const char* sortie)
{
    REdt e;
    e.Fichier = sortie;
    e.Enregistrer();
    return 0;
}

int Verifier(const char* entree, std::ostream& sortie)
{
    REdt e;
    LireOuEchouer(e, entree);
    sortie << JsonEdt(e) << '\n';
    return 0;
}

int Reecrire(const char* entree, const char* sortie)
{
    REdt e;
    LireOuEchouer(e, entree);
    e.Fichier = sortie;
    e.Enregistrer();
    return 0;
}

} // namespace horaku::cli
