// The main window: owns the current timetable (or none), shows its picture at
// the top-left corner of the client area (a welcome page while none is open),
// docks the display-options panel and carries the menu.  Its code is split by
// family: principale.cpp (state, menu, redraw, closing), principale_fichiers.cpp
// (the file commands, recent files, dropped files), principale_image.cpp
// (export and printing), principale_accueil.cpp (the welcome page).
#pragma once

#include "garde.h"
#include "panneau.h"
#include "variables.h"
#include "zoneclient.h"

#include <QImage>
#include <QMainWindow>

#include <memory>
#include <optional>
#include <utility>

class QAction;
class QDockWidget;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QPrinter;
class QScrollArea;
class QStackedWidget;
class QVBoxLayout;

namespace horaku
{
class Services;
}

class TFenetre_Principale final : public QMainWindow, public horaku::HotePanneau
{
    Q_OBJECT

public:
    // Runs FormCreate: reads the configuration and opens the default
    // timetable, or `fichier` instead when one is named (the command line,
    // a file manager's "open with").
    explicit TFenetre_Principale(horaku::Services& services, QWidget* parent = nullptr,
                                 const QString& fichier = QString());
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

    horaku::RConfig& Config() { return config_; }
    const QImage& Image() const { return image_; }
    TFiche_Panneau* Panneau() const { return panneau_; }
    QDockWidget* DockPanneau() const { return dock_; }
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
    void MenuVuesClick();
    void MenuConfigurationImprimanteClick();
    void MenuImprimerClick();
    void MenuApercuClick();
    void MenuQuitterClick();
    void ParametresClick();
    void DonneesClick();
    void MenuAideHorakuClick();
    void MenuAProposClick();

    // Opens a file named outside the Open chooser (command line, recent
    // files, a file dropped on the window) through the same closing question
    // and checks as Open.
    void OuvrirFichier(const QString& chemin);
    // The bundled example as a new timetable never saved.
    void OuvrirExemple();
    // A timetable made elsewhere (a school view) as a new timetable never
    // saved, after the usual closing question; false when the user kept the
    // current one.
    bool OuvrirNonEnregistre(std::unique_ptr<horaku::REdt> edt);
    // Most recent first, at most kRecentsMax, as kept between runs.
    QStringList FichiersRecents() const;
    void ViderRecents();

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
    // The panel's close requests (a floating panel's title bar, Alt+F4 on it)
    // are refused: the user cannot close it.
    bool eventFilter(QObject* objet, QEvent* evenement) override;
    void dragEnterEvent(QDragEnterEvent* evenement) override;
    void dropEvent(QDropEvent* evenement) override;

private:
    void FormCreate(const QString& fichier);
    void FormShow();
    bool FormCloseQuery();
    void FormClose();

    void CreerPanneau();
    void CreerAccueil();
    void ActualiserAccueil();
    void ActualiserMenuRecents();
    void AjouterRecent(const QString& chemin);
    void EcrireDisposition();
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
    void AjusterZoneClient();
    // The commands that can do nothing in the current state are disabled:
    // Save and Save as without a timetable, export and print without a picture.
    void ActualiserCommandes();
    // Sizes the window again once the window manager has framed it.
    static constexpr int kEssaisCadre = 40; // at most 2 s of looking for a late frame
    void AjusterPlusTard(int essais = kEssaisCadre);
    // The folder a timetable or picture chooser opens in (see DossierDepart).
    QString DossierSelecteur(const QString& cle, bool ecriture) const;
    void RetenirDossier(const QString& cle, const QString& chemin);

    template <typename Fonction> void Protege(Fonction&& fonction)
    {
        horaku::Proteger(services_, this, std::forward<Fonction>(fonction));
    }

    horaku::Services& services_;
    horaku::RConfig config_;
    std::unique_ptr<horaku::REdt> edt_;
    QImage image_;
    TFiche_Panneau* panneau_ = nullptr;
    std::unique_ptr<QPrinter> imprimante_;
    QString dernierOuvert_; // the open chooser proposes its last name again
    bool montree_ = false;
    QMargins cadreUtilise_; // the frame's margins the client area was last sized with

    QDockWidget* dock_ = nullptr;
    QStackedWidget* pile_ = nullptr; // the welcome page or the picture
    QWidget* accueil_ = nullptr;
    QVBoxLayout* listeRecents_ = nullptr;
    QMenu* MenuRecents = nullptr;
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
