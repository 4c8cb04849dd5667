// The main window: owns the current timetable (or none), shows its picture at
// the top-left corner of the client area, keeps the display-options panel
// against its right edge and carries the menu.  Its code is split by family:
// principale.cpp (state, menu, redraw, closing), principale_fichiers.cpp (the
// file commands), principale_image.cpp (export and printing).
#pragma once

#include "panneau.h"
#include "variables.h"
#include "zoneclient.h"

#include <QImage>
#include <QMainWindow>

#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QPrinter;
class QScrollArea;

namespace horaku
{
class Services;
}

class TFenetre_Principale final : public QMainWindow, public horaku::HotePanneau
{
    Q_OBJECT

public:
    // Runs FormCreate: reads the configuration and opens the default timetable.
    explicit TFenetre_Principale(horaku::Services& services, QWidget* parent = nullptr);
    ~TFenetre_Principale() override;

    // HotePanneau
    horaku::REdt* EdtCourant() override { return edt_.get(); }
    horaku::ResultatDessin::Etat Redessiner() override;
    void PlacerPanneau() override;

    void ActualiserFenetre();
    // True when the caller may go on; false when the user chose Cancel.
    bool FermerEmploiDuTemps();
    // Makes `edt` the current timetable (New, once its dialog is confirmed).
    void RendreCourant(std::unique_ptr<horaku::REdt> edt);
    // Open without the chooser (the command line): the same closing step,
    // checks and reading as Open.  principale_ouvrir.cpp.
    void OuvrirFichier(const QString& chemin);

    horaku::RConfig& Config() { return config_; }
    const QImage& Image() const { return image_; }
    TFiche_Panneau* Panneau() const { return panneau_; }
    // The printer chosen in "Configuration de l'imprimante", made on first use.
    QPrinter& Imprimante();

    // Menu handlers.
    void MenuNouveauClick();
    void MenuOuvrirClick();
    void MenuEnregistrerClick();
    void MenuEnregistrerSousClick();
    void MenuSupprimerClick();
    void EnregistrerClick();
    void MenuExporterAgendaClick(); // principale_agenda.cpp
    void MenuConfigurationImprimanteClick();
    void MenuImprimerClick();
    void MenuApercuClick();
    void MenuQuitterClick();
    void ParametresClick();
    void DonneesClick();
    void MenuAideHorakuClick();
    void MenuAProposClick();

    // Can-close checks of the two timetable choosers: the name to use, or
    // nothing when the chooser must stay open.
    std::optional<QString> OpenDialogEdtCanClose(const QString& nom);
    std::optional<QString> SaveDialogEdtCanClose(const QString& nom);

signals:
    // The window has accepted to close: the run ends.
    void Fermee();

protected:
    void showEvent(QShowEvent* evenement) override;
    void closeEvent(QCloseEvent* evenement) override;
    void moveEvent(QMoveEvent* evenement) override;
    bool event(QEvent* evenement) override;
    void resizeEvent(QResizeEvent* evenement) override;

private:
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();

    void CreerMenuFichier();
    void CreerMenuConfiguration();
    void CreerMenuAide();
    QAction* Commande(QMenu* menu, const char* nom, const QString& texte,
                      const QKeySequence& raccourci, void (TFenetre_Principale::*gestionnaire)());

    // Reads the file into a new timetable; nothing (after the message) when
    // the reader refuses it or cannot read it.
    std::unique_ptr<horaku::REdt> ChargerEdt(const QString& chemin);
    void ViderImage();
    void EcrireConfigSiModifiee();
    void AjusterZoneClient(QSize taille);
    // The commands that can do nothing in the current state are disabled:
    // Save and Save as without a timetable, export and print without a picture.
    void ActualiserCommandes();
    // Puts the panel again once the window manager has framed the window.
    void PlacerPanneauPlusTard();

    template <typename Fonction> void Protege(Fonction&& fonction);

    horaku::Services& services_;
    horaku::RConfig config_;
    std::unique_ptr<horaku::REdt> edt_;
    QImage image_;
    TFiche_Panneau* panneau_ = nullptr;
    std::unique_ptr<QPrinter> imprimante_;
    QString dernierOuvert_; // the open chooser proposes its last name again
    QString dossierImage_;  // folder of the last exported picture
    bool montree_ = false;
    QMargins cadreUtilise_; // the frame's margins the client area was last sized with

    QScrollArea* defilement_ = nullptr;
    QWidget* client_ = nullptr;
    QLabel* ImageEdT = nullptr;
    QMenu* MenuConfiguration = nullptr;
    QAction* MenuParametres = nullptr;
    QAction* MenuDonnees = nullptr;
    QAction* MenuEnregistrer = nullptr;
    QAction* MenuEnregistrerSous = nullptr;
    QAction* MenuEnregistrerImage = nullptr;
    QAction* MenuExporterAgenda = nullptr;
    QAction* MenuImprimer = nullptr;
    QAction* MenuApercu = nullptr;
};
