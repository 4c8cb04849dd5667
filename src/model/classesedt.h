// The timetable and its records: plain values, deeply copied.  The file reader
// and writer live here too (Charger / Enregistrer); the picture layer fills
// Mesures and the Vide marks before every drawing, the dialogs edit in place.
#pragma once

#include "temps.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
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

// The four texts of a sequence (one per data group) in 23 bytes: their
// lengths and up to 19 bytes in all are kept in place, longer texts share one
// block on the heap.  A very large timetable holds some 100,000 sequences;
// four std::string would take 128 bytes each and most of the reading time.
// Read through string_view (valid until the texts change), changed by Fixer.
class TextesSequence
{
public:
    TextesSequence() = default;
    TextesSequence(std::string_view t0, std::string_view t1, std::string_view t2,
                   std::string_view t3);
    TextesSequence(const TextesSequence& autre);
    TextesSequence(TextesSequence&& autre) noexcept;
    TextesSequence& operator=(const TextesSequence& autre);
    TextesSequence& operator=(TextesSequence&& autre) noexcept;
    ~TextesSequence()
    {
        if (surLeTas()) liberer();
    }

    // const: assigning to the view returned would change nothing.
    const std::string_view
    operator[](std::size_t groupe) const; // NOLINT(readability-const-return-type)
    void Fixer(std::size_t groupe, std::string_view texte);
    void Fixer(const std::array<std::string_view, 4>& textes);
    bool ToutVide() const;

    class const_iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;
        const_iterator() = default;
        const_iterator(const TextesSequence* t, std::size_t k) : t_(t), k_(k) {}
        std::string_view operator*() const { return (*t_)[k_]; }
        const_iterator& operator++()
        {
            ++k_;
            return *this;
        }
        const_iterator operator++(int)
        {
            const_iterator avant = *this;
            ++k_;
            return avant;
        }
        bool operator==(const const_iterator& a) const { return k_ == a.k_; }
        bool operator!=(const const_iterator& a) const { return k_ != a.k_; }

    private:
        const TextesSequence* t_ = nullptr;
        std::size_t k_ = 0;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, 4}; }
    static constexpr std::size_t size() { return 4; }

    friend bool operator==(const TextesSequence& a, const TextesSequence& b);
    friend bool operator!=(const TextesSequence& a, const TextesSequence& b) { return !(a == b); }

private:
    static constexpr std::size_t kOctets = 23;
    static constexpr std::size_t kEnPlace = kOctets - 4;
    static constexpr unsigned char kSurLeTas = 0xFF; // first byte when the texts are on the heap
    bool surLeTas() const { return o_[0] == kSurLeTas; }
    const unsigned char* bloc() const;
    bool chezSoi(const std::array<std::string_view, 4>& textes) const;
    void liberer();
    unsigned char o_[kOctets] = {};
};

struct RSequence {
    TDateTime Debut = 0;
    TDateTime Fin = 0;
    TextesSequence Textes;
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
