// The timetable and its records: plain values, deeply copied.  The file reader
// and writer live here too (Charger / Enregistrer); the picture layer fills
// Mesures and the Vide marks before every drawing, the dialogs edit in place.
#pragma once

#include "temps.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace horaku
{

// A font as the timetable stores it.  Orientation is in tenths of a degree
// counter-clockwise; OrienterHeures sets it, the file does not hold it.
struct RPolice {
    std::string Nom = "Arial";
    std::int32_t Taille = 9;
    std::int32_t Couleur = 0;
    bool Gras = false;
    bool Italique = false;
    bool Souligne = false;
    bool Barre = false;
    std::uint8_t Jeu = 1;
    std::int32_t Orientation = 0;
};

struct RSemaine {
    std::string Nom;
    std::int32_t Couleur = 0xFFFF00;
};

struct RLibel {
    std::string Libelle;
    std::string Exemple;
    RPolice Police;
};

struct RSequence {
    TDateTime Debut = 0;
    TDateTime Fin = 0;
    std::array<std::string, 4> Textes;
    bool Vide = true;
};

struct RJourSem {
    std::vector<RSequence> Sequences;
    bool Vide = true;
};

struct RJour {
    std::int32_t Affiche = 1;
    std::string Nom;
    std::vector<RJourSem> ParSemaine;
};

struct RTaille {
    std::int32_t Largeur = 0;
    std::int32_t Hauteur = 0;
};

struct RMesures {
    std::array<RTaille, 4> TailleGroupe{};
    RTaille TailleTitre;
    RTaille TailleHeure; // Largeur: along the time axis, Hauteur: across it
    RTaille TailleWeb;
    std::int32_t HautMax = 0;
    std::int32_t LargTotale = 0;
    std::array<float, 4> PartGroupe{};
    float PixParMinute = 0;
    std::int32_t HeureLarg = 60;
    std::int32_t HautLigne = 0;
};

constexpr int kNbLibelles = 9;
constexpr int kNbJours = 7;
constexpr int kNbGroupes = 4;

// Roles of the font slots.
enum Libelle : int {
    LibJours = 0,
    LibGroupe1 = 1,
    LibTitre = 5,
    LibHeure = 6,
    LibSuppl = 7,
    LibWeb = 8,
};

class REdt
{
public:
    REdt();

    std::string Fichier; // native path (UTF-8 here), not a text of the file
    std::string MotDePasse;
    std::string Titre;
    std::int32_t Reserve1 = 0;
    std::int32_t Marge = 1;
    std::int32_t Retrait = 1;
    bool AffichNom = false;
    bool AffichContour = false;
    bool Reserve2 = false;
    bool EdtModifie = false;
    bool HeuresVerticales = true;
    bool AffichJours = false;
    bool AffichHeures = false;
    TDateTime HeureDebut = 0;
    TDateTime HeureFin = 0;
    TDateTime HeureAffichJours = 0;
    std::vector<RSemaine> Semaines;
    std::vector<RLibel> Libelles;
    std::array<std::vector<std::string>, 4> ListesDonnees;
    RMesures Mesures;
    std::vector<RJour> Jours;
    std::uint32_t DureeSeq = 55;

    void Copier(const REdt& source);
    void AjusterSemaines();
    void OrienterHeures(bool tourner);

    // Sets the Vide marks; true when some sequence has a text.
    bool MarquerVides();
    // HeureDebut / HeureFin over the shown days.
    void CalculerPlage();

    // File: see edtfichier.cpp.  Charger answers false on a wrong version line.
    bool Charger();
    bool Enregistrer();
};

// The lines of the file, as the writer produces them (CR LF after each).
std::string EcrireEdt(const REdt& edt);
// Reads a whole file's content into a default-constructed timetable.
// Answers false when the version line does not match; throws ErreurHoraku
// (conversion, list index, refused counts) otherwise.
bool LireEdt(REdt& edt, std::string_view contenu);

} // namespace horaku
