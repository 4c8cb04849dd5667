// The parameters dialog: the frame of the current timetable (title, week types
// with their colours, the captions, samples and fonts of the label slots, the
// default-timetable choice and the password).  It edits the live timetable:
// names, colours, captions and fonts wait in its grids until OK applies them
// all at once; the password goes into the timetable as soon as its own dialog
// accepts it.  A copy taken at opening is copied back on a confirmed Cancel.
// The default-timetable choice goes to the configuration, which Cancel does
// not undo.  The caller shows it modally and redraws whatever the result.
#pragma once

#include "classesedt.h"
#include "variables.h"

#include <QDialog>

#include <cstdint>
#include <utility>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QToolButton;

namespace horaku
{
class Services;
class DelegueGrille;

inline constexpr int kSemainesMin = 1;
inline constexpr int kSemainesMax = 52;
// A new week row's colour: aqua, red in the low byte.
inline constexpr std::int32_t kCouleurNouvelleSemaine = 0xFFFF00;
// Slot rows shown: every slot but the last two.
inline constexpr int kLignesLibelles = kNbLibelles - 2;
} // namespace horaku

class TFiche_Parametres final : public QDialog
{
    Q_OBJECT

public:
    TFiche_Parametres(QWidget* proprietaire, horaku::REdt& edt, horaku::RConfig& config,
                      horaku::Services& services);
    ~TFiche_Parametres() override;

    bool Modifie() const { return Modifie_; }

    // Validates and applies; true when the dialog may close.
    bool AppliquerParametres();

    // The single gate of every close: OK, Cancel, Escape and the close box.
    void done(int resultat) override;

protected:
    void showEvent(QShowEvent* evenement) override;
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    void CreerFichierEtTitre();
    void CreerSemaines();
    void CreerLibelles();
    void CreerDefautEtMotDePasse();
    void CreerBoutons();
    void Remplir();

    void FormShow();
    bool FormCloseQuery(int resultat);
    void ModificationEdt() { Modifie_ = true; }

    void ETitreChange();
    void ENbSemChange(const QString& texte);
    void PasUDSem(int pas);
    void GrilleSemainesDblClick(int ligne, int colonne);
    void GrilleLibellesDblClick(int ligne, int colonne);
    void CBDefautEdTClick();
    void BtnMotPasseClick();
    void BtnAideClick();

    // Rows of the week grid below its title; rows taken away keep their
    // texts out of sight and show them again when the count grows back.
    void DefinirLignesSemaines(int nombre);
    std::int32_t CouleurLigne(int ligne) const;
    void DefinirLigneSemaine(int ligne, const QString& nom, std::int32_t couleur);
    void ValiderEditeurs();

    template <typename Fonction> void Protege(Fonction&& fonction);

    horaku::REdt& edt_;
    horaku::RConfig& config_;
    horaku::Services& services_;
    horaku::REdt Sauvegarde;
    bool Modifie_ = false;
    bool montre_ = false;
    bool remplissage_ = false;
    std::vector<horaku::RPolice> polices_; // one per slot row
    std::vector<std::pair<QString, std::int32_t>> cachees_;

    QLabel* Label9 = nullptr;
    QLabel* LFichier = nullptr;
    QLabel* LTitre = nullptr;
    QLineEdit* ETitre = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* ENbSem = nullptr;
    QWidget* UDSem = nullptr;
    QToolButton* UDSemHaut = nullptr;
    QToolButton* UDSemBas = nullptr;
    QTableWidget* GrilleSemaines = nullptr;
    QLabel* Label8 = nullptr;
    QTableWidget* GrilleLibelles = nullptr;
    QCheckBox* CBDefautEdT = nullptr;
    QPushButton* BtnMotPasse = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QPushButton* BtnAide = nullptr;
    horaku::DelegueGrille* delegueSemaines_ = nullptr;
    horaku::DelegueGrille* delegueLibelles_ = nullptr;
};
