// The data-entry dialog "Données": which days are shown, and for one day and
// one week type at a time the sequences of the timetable, edited in a grid
// whose rows are the sequences.  It also keeps the value lists of the four
// data groups, which the grid's value picker offers.
//
// The dialog edits the live timetable in place.  The grid is a working copy
// of one day and week type: SauverGrille writes it back before anything
// else is shown, saved or closed.  A copy taken at opening is put back when
// the user cancels and confirms.  The main window builds the dialog on its
// current timetable, runs it modally and redraws whatever the result.
#pragma once

#include <vector>

#include "classesedt.h"
#include "services.h"

#include <QDialog>
#include <QTableWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTimeEdit;
class QToolButton;

namespace horaku
{

// Geometry of the grid: Qt's section sizes, grid line included.
inline constexpr int kLargeurColonne = 52;
inline constexpr int kHauteurLigne = 20;
inline constexpr int kEpaisseurTrait = 1;
inline constexpr int kColonnesGrille = 6;
// A time cell keeps its time of day under this role, as a double.
inline constexpr int kRoleHeure = Qt::UserRole + 1;

// The text of the delete question for a row running from `debut` to `fin`.
QString QuestionSuppression(TDateTime debut, TDateTime fin);
// The value list order: alphabetical, letter case and accents second, as a
// French reader expects ("École" among the E).
bool AvantDansListe(const QString& a, const QString& b);

// The grid closes its in-place text editor on demand (the text is already
// in the cell, written on every keystroke), keeps Enter to itself and lets
// the user drag a column's right edge in the title row to resize it.
class GrilleSequences final : public QTableWidget
{
    Q_OBJECT

public:
    using QTableWidget::QTableWidget;
    void FermerEditeur();

protected:
    void keyPressEvent(QKeyEvent* evenement) override;
    void mousePressEvent(QMouseEvent* evenement) override;
    void mouseMoveEvent(QMouseEvent* evenement) override;
    void mouseReleaseEvent(QMouseEvent* evenement) override;

private:
    // The column whose right edge is under `point` of the title row, or -1.
    int BordDeColonne(QPoint point) const;
    int colonneTiree_ = -1;
    int departTirage_ = 0;
};

class TFiche_Donnees final : public QDialog
{
    Q_OBJECT

public:
    TFiche_Donnees(QWidget* proprietaire, REdt& edt, Services& services);
    ~TFiche_Donnees() override;

    int JourCourant() const { return JourCourant_; }
    int SemaineCourante() const { return SemaineCourante_; }
    QPoint CelluleHeure() const { return CelluleHeure_; }
    // The line under the grid that says why a time was refused; empty when none.
    QString Avertissement() const;

    // Called by the grid's delegate for every cell.
    void GridSeqDrawCell(QPainter& peintre, int colonne, int ligne, const QRect& rect,
                         bool selectionnee) const;
    // Called by the delegate's text editor on every change.
    void GridSeqSetEditText(int colonne, int ligne, const QString& texte);
    // The times of the rows whose sequence overlaps the one of `ligne`, one
    // line each ("Chevauche la séquence 08:30 - 09:25"); empty when none.
    // The picture would draw one box over the other: the grid marks the row.
    QString GridSeqChevauchements(int ligne) const;

    void done(int resultat) override;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    // The overlap texts of every row, computed once after the grid changed
    // rather than for every painted cell; the grid's model signals any change.
    mutable std::vector<QString> chevauchements_;
    mutable bool chevauchementsAJour_ = false;

    // Builders, in the order the user reads the dialog.
    void CreerJours();
    void CreerGroupes();
    void CreerChoixSequences();
    void CreerGrille();
    void CreerPickers();
    void CreerBoutonsSequence();
    void CreerDuree();
    void CreerBas();

    // The grid.
    void ChargerGrille(int jour, int semaine);
    void SauverGrille(int jour, int semaine);
    void ViderGrille();
    void FinEdition();
    void EtatBoutons();
    void AfficherHeure();
    void FermerHeure();
    void AppliquerHeure();
    // A digit or ":" typed into the open picker: the typed time so far is
    // shown, or refused with its reason when it is no time of day.
    void TaperHeure(QChar c);
    void Avertir(const QString& texte);
    // Closes the picker without changing the cell's time.
    void AnnulerHeure();
    void AfficherListe();
    void FermerListe();
    void EchangerLignes(int a, int b);
    void PlacerSurCellule(QWidget* editeur) const;
    bool LigneDeDonnees(int ligne) const;
    TDateTime Heure(int ligne, int colonne) const;
    void RemplirLigne(int ligne, TDateTime debut, TDateTime fin, const TextesSequence& textes);

    void GridSeqClick(int ligne, int colonne);
    void DTPHeureExit();
    void DTPHeureKeyDown(int touche);
    void CBDonneesSelect();
    void CBDonneesKeyDown(int touche);
    void CBDonneesExit();
    void BtnAjoutSequenceClick();
    void BtnSupprimeSequenceClick();
    void BtnMonterSequenceClick();
    void BtnDescendreSequenceClick();
    void BtnCopierSemaineClick();
    void EDureeSeqExit();
    void UDDureeSeqClick();

    // The frame.
    void RemplirJours();
    void CBJourSelect();
    void CBSemSelect();
    void CkLBJoursClickCheck();
    void CBGroupeSelect();
    void ChargerListe(const std::vector<std::string>& valeurs);
    void SauverListe(std::vector<std::string>& valeurs) const;
    void AjouterALaListe(const QString& texte);
    // True when the key was the list's own business and must go no further.
    bool CBListeDonneesKeyDown(int touche);
    void CBListeDonneesExit();
    void BtnEnregistrerClick();
    void BtnAideClick();
    bool FormCloseQuery(int resultat);
    void Modifie() { edt_.EdtModifie = true; }

    // Every handler runs through here: a failure is shown and the dialog goes on.
    template <typename Fonction> void Protege(Fonction&& fonction)
    {
        try {
            fonction();
        } catch (...) {
            services_.MontrerException(this);
        }
    }

    REdt& edt_;
    Services& services_;
    REdt Sauvegarde;
    int JourCourant_ = -1;
    int SemaineCourante_ = 0;
    QPoint CelluleHeure_{-1, -1};
    QString heureTapee_; // what was typed into the open picker since it opened
    int GroupeListe = -1;
    bool dureeTapee_ = false;
    // Set once the dialog has decided to close: the focus that leaves the
    // pickers and the value list while the window goes must not write into
    // a timetable that has just been restored.
    bool fermee_ = false;

    QLabel* LJours = nullptr;
    QLabel* LAvertissement = nullptr;
    QListWidget* CkLBJours = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* CBGroupe = nullptr;
    QLabel* LDonnees = nullptr;
    QWidget* CBListeDonnees = nullptr;
    QLineEdit* EListeDonnees = nullptr;
    QListWidget* LBListeDonnees = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* CBJour = nullptr;
    QLabel* LabelSem = nullptr;
    QComboBox* CBSem = nullptr;
    GrilleSequences* GridSeq = nullptr;
    QTimeEdit* DTPHeure = nullptr;
    QComboBox* CBDonnees = nullptr;
    QCheckBox* CBUtiliserListesDeroulantes = nullptr;
    QLabel* Label3 = nullptr;
    QSpinBox* UDDureeSeq = nullptr;
    QLineEdit* EDureeSeq = nullptr;
    QToolButton* BtnAjoutSequence = nullptr;
    QToolButton* BtnSupprimeSequence = nullptr;
    QToolButton* BtnMonterSequence = nullptr;
    QToolButton* BtnDescendreSequence = nullptr;
    QToolButton* BtnCopierSemaine = nullptr;
    QWidget* Panel1 = nullptr;
    QPushButton* BtnEnregistrer = nullptr;
    QPushButton* BtnOK = nullptr;
    QPushButton* BtnAnnuler = nullptr;
    QPushButton* BtnAide = nullptr;
};

} // namespace horaku
