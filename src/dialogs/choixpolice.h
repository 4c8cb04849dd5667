// The font chooser of the parameters dialog.  A timetable's font is an RPolice:
// face, size, colour, four styles and a character set.  Qt's own font dialog
// has no colour and no size limit, so this one is ours: installed families
// that can write Latin text and whose names the .edt file can hold, four
// styles, sizes 6 to 20 points, underline, strike-out, the 16 classic colours
// and a live sample.  It answers an RPolice, so a test reads its choice
// without showing it.
#pragma once

#include "classesedt.h"

#include <QDialog>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

class QCheckBox;
class QColor;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace horaku
{

class Services;

struct CouleurNommee {
    const char* nom; // UTF-8
    std::int32_t couleur;
};
const std::array<CouleurNommee, 16>& CouleursClassiques();

inline constexpr int kTailleMin = 6;
inline constexpr int kTailleMax = 20;
// The Windows (ANSI) character set, the only one offered.
inline constexpr std::uint8_t kJeuAnsi = 0;

// Installed families able to write Latin text, whose names Windows-1252 can
// hold, sorted.
QStringList FamillesLatines();

// The chooser run modally: the font chosen, or nothing when cancelled.  This is
// what the program's real services open for a font.
std::optional<RPolice> ChoisirPoliceModale(QWidget* proprietaire, const RPolice& initiale,
                                           Services& services);

inline constexpr const char* kMessagePoliceInconnue =
    "Il n'existe aucune police de ce nom.\nChoisissez une police dans la liste.";

} // namespace horaku

class TFiche_ChoixPolice final : public QDialog
{
    Q_OBJECT

public:
    TFiche_ChoixPolice(QWidget* proprietaire, const horaku::RPolice& initiale,
                       horaku::Services& services);

    // The font the controls describe now (the face as typed).  What the user
    // left as it was shown stays exactly as it came, even where the controls
    // cannot hold it: a size outside 6 to 20, the character set.
    horaku::RPolice Police() const;

    // The installed family the typed face names, ignoring case; empty when none.
    QString FamilleChoisie() const;

    void done(int resultat) override;

private:
    void CreerNoms();
    void CreerStyles();
    void CreerTaille();
    void CreerEffets();
    void CreerExemple();
    void CreerBoutons();
    void Remplir();

    void ENomEdited(const QString& texte);
    void LBNomsSelect();
    void MettreAJourExemple();

    horaku::RPolice initiale_;
    // The face and size as first shown: a control still showing them is a
    // choice the user did not make.
    QString nomMontre_;
    int tailleMontree_ = 0;
    horaku::Services& services_;
    QStringList familles_;

    QLineEdit* ENom = nullptr;
    QListWidget* LBNoms = nullptr;
    QListWidget* LBStyles = nullptr;
    QSpinBox* ETaille = nullptr;
    QCheckBox* CBSouligne = nullptr;
    QCheckBox* CBBarre = nullptr;
    QComboBox* CBCouleur = nullptr;
    QLabel* LExemple = nullptr;
};
