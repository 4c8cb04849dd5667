#include "principale.h"

#include "aide.h"
#include "apropos.h"
#include "attente.h"
#include "chemins.h"
#include "donnees.h"
#include "fichiers.h"
#include "garde.h"
#include "parametres.h"
#include "reglages.h"
#include "services.h"
#include "tropgrand.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include <climits>

using namespace horaku;

TFenetre_Principale::TFenetre_Principale(Services& services, QWidget* parent,
                                         const QString& fichier)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      services_(services)
{
    setObjectName(QStringLiteral("Fenetre_Principale"));
    resize(586, 545);
    QPalette blanc = palette();
    blanc.setColor(QPalette::Window, Qt::white);
    setPalette(blanc);

    // The picture sits at the top-left corner of a white area one pixel
    // larger than itself.  That area scrolls only when the screen cannot hold
    // it: a picture that fits shows no scroll bar and is cut off, as before,
    // when the user makes the window smaller.
    defilement_ = new QScrollArea(this);
    defilement_->setObjectName(QStringLiteral("Defilement"));
    defilement_->setFrameShape(QFrame::NoFrame);
    defilement_->setAutoFillBackground(true);
    defilement_->setPalette(blanc);
    defilement_->viewport()->setPalette(blanc);
    client_ = new QWidget;
    client_->setObjectName(QStringLiteral("ZoneClient"));
    client_->setAutoFillBackground(true);
    client_->setPalette(blanc);
    defilement_->setWidget(client_);
    // Its own minimum would keep a narrow picture's window wider than the menu bar.
    defilement_->setMinimumSize(1, 1);
    pile_ = new QStackedWidget(this);
    pile_->setObjectName(QStringLiteral("Pile"));
    CreerAccueil();
    pile_->addWidget(accueil_);
    pile_->addWidget(defilement_);
    // The welcome page's own minimum must not widen a narrow picture's window.
    pile_->setMinimumSize(1, 1);
    setCentralWidget(pile_);
    setAcceptDrops(true);
    ImageEdT = new QLabel(client_);
    ImageEdT->setObjectName(QStringLiteral("ImageEdT"));
    ImageEdT->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ImageEdT->move(0, 0);

    CreerMenuFichier();
    CreerMenuConfiguration();
    CreerMenuAide();
    FormCreate(fichier);
}

TFenetre_Principale::~TFenetre_Principale() = default;

// A configuration file that cannot be written must not hold the timetable or
// the window hostage: the error is shown, the flag stays set so that the next
// moment tries again, and the command goes on.
void TFenetre_Principale::EcrireConfigSiModifiee()
{
    if (config_.ConfigModifiee) Protege([this] { EcrireConfig(config_); });
}

QAction* TFenetre_Principale::Commande(QMenu* menu, const char* nom, const QString& texte,
                                       const QKeySequence& raccourci,
                                       void (TFenetre_Principale::*gestionnaire)())
{
    QAction* action = menu->addAction(texte);
    action->setObjectName(QString::fromLatin1(nom));
    action->setShortcut(raccourci);
    connect(action, &QAction::triggered, this,
            [this, gestionnaire] { Protege([&] { (this->*gestionnaire)(); }); });
    return action;
}

void TFenetre_Principale::CreerMenuFichier()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("Fichier"));
    menu->setObjectName(QStringLiteral("MenuFichier"));
    Commande(menu, "MenuNouveau", QStringLiteral("Nouveau..."), QKeySequence(Qt::CTRL | Qt::Key_N),
             &TFenetre_Principale::MenuNouveauClick);
    Commande(menu, "MenuOuvrir", QStringLiteral("Ouvrir..."), QKeySequence(Qt::CTRL | Qt::Key_O),
             &TFenetre_Principale::MenuOuvrirClick);
    MenuRecents = menu->addMenu(QStringLiteral("Fichiers récents"));
    MenuRecents->setObjectName(QStringLiteral("MenuRecents"));
    connect(MenuRecents, &QMenu::aboutToShow, this, &TFenetre_Principale::ActualiserMenuRecents);
    MenuEnregistrer =
        Commande(menu, "MenuEnregistrer", QStringLiteral("Enregistrer"),
                 QKeySequence(Qt::CTRL | Qt::Key_S), &TFenetre_Principale::MenuEnregistrerClick);
    MenuEnregistrerSous = Commande(
        menu, "MenuEnregistrerSous", QStringLiteral("Enregistrer sous ..."),
        QKeySequence(Qt::CTRL | Qt::Key_E), &TFenetre_Principale::MenuEnregistrerSousClick);
    Commande(menu, "MenuSupprimer", QStringLiteral("Supprimer ..."),
             QKeySequence(Qt::CTRL | Qt::Key_Delete), &TFenetre_Principale::MenuSupprimerClick);
    MenuEnregistrerImage =
        Commande(menu, "MenuEnregistrerImage", QStringLiteral("Enregistrer l'image ..."),
                 QKeySequence(Qt::CTRL | Qt::Key_I), &TFenetre_Principale::EnregistrerClick);
    MenuExporterAgenda =
        Commande(menu, "MenuExporterAgenda", QStringLiteral("Exporter vers un agenda (.ics) ..."),
                 QKeySequence(), &TFenetre_Principale::MenuExporterAgendaClick);
    Commande(menu, "MenuVues", QStringLiteral("Vues d'établissement ..."), QKeySequence(),
             &TFenetre_Principale::MenuVuesClick);
    menu->addSeparator()->setObjectName(QStringLiteral("N2"));
    Commande(menu, "MenuConfigurationImprimante", QStringLiteral("Configuration de l'imprimante"),
             QKeySequence(), &TFenetre_Principale::MenuConfigurationImprimanteClick);
    MenuImprimer =
        Commande(menu, "MenuImprimer", QStringLiteral("&Imprimer"),
                 QKeySequence(Qt::CTRL | Qt::Key_P), &TFenetre_Principale::MenuImprimerClick);
    MenuApercu = Commande(menu, "MenuApercu", QStringLiteral("Aperçu avant impression ..."),
                          QKeySequence(), &TFenetre_Principale::MenuApercuClick);
    menu->addSeparator()->setObjectName(QStringLiteral("N1"));
    Commande(menu, "MenuQuitter", QStringLiteral("&Quitter"), QKeySequence(Qt::ALT | Qt::Key_F4),
             &TFenetre_Principale::MenuQuitterClick);
}

void TFenetre_Principale::CreerMenuConfiguration()
{
    MenuConfiguration = menuBar()->addMenu(QStringLiteral("Configuration"));
    MenuConfiguration->setObjectName(QStringLiteral("MenuConfiguration"));
    MenuParametres = Commande(MenuConfiguration, "MenuParametres", QStringLiteral("Paramètres..."),
                              QKeySequence(Qt::Key_F2), &TFenetre_Principale::ParametresClick);
    MenuDonnees = Commande(MenuConfiguration, "MenuDonnees", QStringLiteral("Données..."),
                           QKeySequence(Qt::Key_F3), &TFenetre_Principale::DonneesClick);
}

void TFenetre_Principale::CreerMenuAide()
{
    QMenu* menu = menuBar()->addMenu(QStringLiteral("Aide"));
    menu->setObjectName(QStringLiteral("MenuAide"));
    Commande(menu, "MenuAideHoraku", QStringLiteral("Aide Horaku"), QKeySequence(Qt::Key_F1),
             &TFenetre_Principale::MenuAideHorakuClick);
    Commande(menu, "MenuAPropos", QStringLiteral("A propos ..."),
             QKeySequence(Qt::CTRL | Qt::Key_A), &TFenetre_Principale::MenuAProposClick);
}

void TFenetre_Principale::FormCreate(const QString& fichier)
{
    panneau_ = nullptr;
    MenuConfiguration->setEnabled(false);
    // LireConfig, a default timetable that is gone, a file that cannot be
    // read: each shows its message and start-up goes on.
    Protege([this] {
        const LectureConfig lecture = LireConfig(config_);
        if (!lecture.message.empty())
            services_.Demander(this, {QString::fromUtf8(lecture.message.c_str()), QMessageBox::Ok,
                                      QMessageBox::Critical});
        if (!lecture.erreurEcriture.empty())
            services_.MontrerErreur(this, QString::fromUtf8(lecture.erreurEcriture.c_str()));
    });
    if (!config_.EdtDefaut.empty()) {
        if (FichierExiste(config_.EdtDefaut)) {
            // A file named on the command line is opened instead.
            if (fichier.isEmpty()) {
                FermerEmploiDuTemps();
                edt_ = ChargerEdt(QString::fromStdString(config_.EdtDefaut));
            }
        } else {
            config_.EdtDefaut.clear();
            config_.ConfigModifiee = true;
            EcrireConfigSiModifiee();
        }
    }
    if (!fichier.isEmpty()) {
        const QString absolu = QFileInfo(fichier).absoluteFilePath();
        Protege([&] {
            if (OpenDialogEdtCanClose(absolu)) edt_ = ChargerEdt(absolu);
            if (edt_) AjouterRecent(absolu);
        });
    }
    CreerPanneau();
    ActualiserFenetre();
}

void TFenetre_Principale::CreerPanneau()
{
    dock_ = new QDockWidget(QStringLiteral("Affichage"), this);
    dock_->setObjectName(QStringLiteral("DockAffichage"));
    // The user cannot close the panel; docked on either side or floating.
    dock_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    dock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    panneau_ = new TFiche_Panneau(*this, services_, dock_);
    dock_->setWidget(panneau_);
    dock_->installEventFilter(this);
    addDockWidget(Qt::RightDockWidgetArea, dock_);
    QSettings reglages = Reglages();
    restoreState(reglages.value(QStringLiteral("Fenetre/Disposition")).toByteArray());
    // Docking, undocking or moving it resizes the picture's room.
    connect(dock_, &QDockWidget::topLevelChanged, this, [this](bool flottant) {
        AjusterZoneClient();
        PlacerPanneau();
        EcrireDisposition();
        // Floated by its button, the panel would stay where it was docked,
        // over the window that has just shrunk to the picture: it goes
        // beside the window when the screen has room there.  One the user
        // drags stays where dropped.
        if (flottant)
            QTimer::singleShot(0, this, [this] {
                if (!dock_ || !dock_->isFloating() ||
                    QGuiApplication::mouseButtons() != Qt::NoButton)
                    return;
                const QRect cadre =
                    windowHandle() ? windowHandle()->frameGeometry() : frameGeometry();
                const QRect panneau = dock_->frameGeometry();
                const QScreen* ecran = screen();
                if (!cadre.intersects(panneau) || !ecran) return;
                // Only where the screen has room: pushed back over the
                // window it would cover the title bar's buttons.
                const QRect place(QPoint(cadre.left() + cadre.width(), cadre.top()),
                                  panneau.size());
                if (ecran->availableGeometry().contains(place)) dock_->move(place.topLeft());
            });
    });
    connect(dock_, &QDockWidget::dockLocationChanged, this, [this] {
        AjusterZoneClient();
        EcrireDisposition();
    });
}

bool TFenetre_Principale::eventFilter(QObject* objet, QEvent* evenement)
{
    if (objet == dock_ && evenement->type() == QEvent::Close) {
        evenement->ignore();
        return true;
    }
    return QMainWindow::eventFilter(objet, evenement);
}

void TFenetre_Principale::EcrireDisposition()
{
    QSettings reglages = Reglages();
    reglages.setValue(QStringLiteral("Fenetre/Disposition"), saveState());
}

void TFenetre_Principale::FormShow()
{
    Redessiner();
    if (const QScreen* ecran = screen()) {
        // The frame centred, but never with the title bar above the screen's top.
        const QRect zone = ecran->availableGeometry();
        const QSize cadre = frameGeometry().size();
        move(qMax(zone.left(), zone.left() + (zone.width() - cadre.width()) / 2),
             qMax(zone.top(), zone.top() + (zone.height() - cadre.height()) / 2));
    }
    PlacerPanneau();
    AjusterPlusTard();
}

void TFenetre_Principale::AjusterPlusTard(int essais)
{
    // The window manager frames the window only once it is mapped: a picture
    // sized before the frame was known may now overflow the screen.  On a
    // slow start the frame may come after every event that asks for this:
    // a shown window still without a frame looks again a little later.
    QTimer::singleShot(essais == kEssaisCadre ? 0 : 50, this, [this, essais] {
        const QWindow* fenetre = windowHandle();
        if (fenetre && fenetre->frameMargins() != cadreUtilise_) AjusterZoneClient();
        PlacerPanneau();
        if (fenetre && isVisible() && fenetre->frameMargins().isNull() && essais > 0)
            AjusterPlusTard(essais - 1);
    });
}

void TFenetre_Principale::showEvent(QShowEvent* evenement)
{
    QMainWindow::showEvent(evenement);
    if (!montree_) {
        montree_ = true;
        Protege([this] { FormShow(); });
    }
}

void TFenetre_Principale::ActualiserFenetre()
{
    const bool ouvert = edt_ != nullptr;
    if (ouvert) {
        const bool modifie = edt_->EdtModifie;
        setWindowTitle(TitreAvecFichier(edt_->Fichier));
        if (panneau_) panneau_->Remplir(*edt_);
        edt_->EdtModifie = modifie;
    } else {
        setWindowTitle(QString::fromUtf8(kNomProduit));
    }
    if (dock_) dock_->setVisible(ouvert);
    pile_->setCurrentWidget(ouvert ? static_cast<QWidget*>(defilement_) : accueil_);
    ActualiserAccueil();
    // The actions too: a shortcut of a disabled menu does nothing.
    MenuConfiguration->setEnabled(ouvert);
    MenuParametres->setEnabled(ouvert);
    MenuDonnees->setEnabled(ouvert);
    ActualiserCommandes();
}

void TFenetre_Principale::ActualiserCommandes()
{
    const bool ouvert = edt_ != nullptr;
    MenuEnregistrer->setEnabled(ouvert);
    MenuEnregistrerSous->setEnabled(ouvert);
    MenuEnregistrerImage->setEnabled(!image_.isNull());
    MenuExporterAgenda->setEnabled(ouvert);
    MenuImprimer->setEnabled(!image_.isNull());
    MenuApercu->setEnabled(!image_.isNull());
}

void TFenetre_Principale::PlacerPanneau()
{
    // Docked, the panel has its place; floating, it stays where the user can reach it.
    if (!dock_ || !dock_->isFloating() || !dock_->isVisible()) return;
    if (const QScreen* ecran = dock_->screen()) {
        const QRect cadre = dock_->frameGeometry();
        const QPoint place = DansEcran(cadre, ecran->availableGeometry());
        if (place != cadre.topLeft()) dock_->move(place);
    }
}

void TFenetre_Principale::moveEvent(QMoveEvent* evenement)
{
    QMainWindow::moveEvent(evenement);
    if (windowHandle() && windowHandle()->frameMargins() != cadreUtilise_) AjusterPlusTard();
}

bool TFenetre_Principale::event(QEvent* evenement)
{
    const bool resultat = QMainWindow::event(evenement);
    // A window manager may frame or reframe the window without moving its
    // client area: the size is checked against the frame it sees now.
    if (evenement->type() == QEvent::WinIdChange || evenement->type() == QEvent::Show ||
        evenement->type() == QEvent::WindowActivate)
        AjusterPlusTard();
    return resultat;
}

ResultatDessin::Etat TFenetre_Principale::Redessiner()
{
    if (!edt_) return ResultatDessin::Rien;
    ResultatDessin resultat = [this] {
        const CurseurAttente attente;
        return horaku::Redessiner(*edt_);
    }();
    switch (resultat.etat) {
    case ResultatDessin::Rien:
        break;
    case ResultatDessin::TropGrand:
        services_.Demander(this, {QString::fromUtf8(MessageTropGrand(*edt_, resultat.description)),
                                  QMessageBox::Ok, QMessageBox::Warning});
        break;
    case ResultatDessin::Dessine:
        image_ = std::move(resultat.image);
        ImageEdT->setPixmap(QPixmap::fromImage(image_));
        ImageEdT->resize(image_.size());
        ImageEdT->move(0, 0);
        AjusterZoneClient();
        break;
    }
    ActualiserCommandes();
    return resultat.etat;
}

void TFenetre_Principale::AjusterZoneClient()
{
    if (image_.isNull()) return;
    // The picture and one blank column and row.
    const QSize taille = image_.size() + QSize(1, 1);
    client_->setFixedSize(taille);
    // The menu bar may wrap on a narrow window: ask for its height at the width it gets.
    const auto hauteurMenu = [this](int largeur) {
        const int h = menuBar()->heightForWidth(largeur);
        return h < 0 ? menuBar()->sizeHint().height() : h;
    };
    // The window's frame never goes beyond the screen's available area.
    const QScreen* ecran = screen();
    const QRect zone = ecran ? ecran->availableGeometry() : QRect();
    const QMargins cadre = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    cadreUtilise_ = cadre;
    const QSize bords(cadre.left() + cadre.right(), cadre.top() + cadre.bottom());
    const int barre = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    // The docked panel stands beside the picture, with the splitter between
    // them: first its size hint, then the room the layout really gives it.
    int panneau =
        dock_ && !dock_->isHidden() && !dock_->isFloating()
            ? dock_->sizeHint().width() +
                  style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this)
            : 0;
    const auto dimensionner = [&](int menu) {
        const QSize max = zone.isEmpty() ? QSize(INT_MAX / 2, INT_MAX / 2)
                                         : ZoneMax(zone.size(), bords, menu, panneau);
        return DimensionnerZoneClient(taille, max, barre);
    };
    for (int passe = 0; passe < 2; ++passe) {
        int menu = hauteurMenu(taille.width());
        ZoneClient z = dimensionner(menu);
        if (z.taille.width() != taille.width()) {
            menu = hauteurMenu(z.taille.width());
            z = dimensionner(menu);
        }
        defilement_->setHorizontalScrollBarPolicy(z.barreH ? Qt::ScrollBarAlwaysOn
                                                           : Qt::ScrollBarAlwaysOff);
        defilement_->setVerticalScrollBarPolicy(z.barreV ? Qt::ScrollBarAlwaysOn
                                                         : Qt::ScrollBarAlwaysOff);
        resize(z.taille.width() + panneau, z.taille.height() + menu);
        layout()->activate();
        // What the layout really gave beside and above the picture (the
        // panel's own height may make the window taller than the picture needs).
        const int cote = width() - defilement_->width();
        const int haut = z.taille.height() - defilement_->height();
        if (cote != panneau && passe == 0) {
            panneau = cote;
            continue;
        }
        if (haut > 0) resize(width(), height() + haut);
        break;
    }
    // A window grown past the screen's edge comes back inside it.
    if (QWindow* fenetre = windowHandle(); fenetre && !zone.isEmpty() && isVisible()) {
        const QRect f = fenetre->frameGeometry();
        const QPoint place = DansEcran(f, zone);
        if (place != f.topLeft()) fenetre->setFramePosition(place);
    }
}

void TFenetre_Principale::ViderImage()
{
    image_ = QImage();
    ImageEdT->clear();
    ImageEdT->resize(0, 0);
    ActualiserCommandes();
}

void TFenetre_Principale::RendreCourant(std::unique_ptr<REdt> edt)
{
    edt_ = std::move(edt);
}

void TFenetre_Principale::closeEvent(QCloseEvent* evenement)
{
    bool peutFermer = false;
    Protege([&] { peutFermer = FormCloseQuery(); });
    if (!peutFermer) {
        evenement->ignore();
        return;
    }
    FormClose();
    evenement->accept();
    emit Fermee();
}

bool TFenetre_Principale::FormCloseQuery()
{
    return FermerEmploiDuTemps();
}

void TFenetre_Principale::FormClose()
{
    EcrireDisposition();
    delete dock_;
    dock_ = nullptr;
    panneau_ = nullptr;
}

void TFenetre_Principale::MenuQuitterClick()
{
    HtmlHelp(nullptr, QString(), CommandeAide::FermerTout, 0);
    close();
}

void TFenetre_Principale::ParametresClick()
{
    if (!edt_) return;
    {
        TFiche_Parametres parametres(this, *edt_, config_, services_);
        parametres.exec();
    }
    // Whatever the result: a cancelled dialog has put the timetable back.
    Redessiner();
    PlacerPanneau();
}

void TFenetre_Principale::DonneesClick()
{
    if (!edt_) return;
    {
        TFiche_Donnees donnees(this, *edt_, services_);
        donnees.exec();
    }
    // Whatever the dialog ended with, the picture shows the timetable as it now is.
    Redessiner();
    PlacerPanneau();
}

void TFenetre_Principale::MenuAideHorakuClick()
{
    HtmlHelp(nullptr, QStringLiteral("Horaku.chm"), CommandeAide::AfficherSommaire, 0);
}

void TFenetre_Principale::MenuAProposClick()
{
    TFiche_APropos apropos(this);
    apropos.exec();
}

QPrinter& TFenetre_Principale::Imprimante()
{
    // Made on first use: looking for printers costs time at start-up.
    if (!imprimante_) imprimante_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *imprimante_;
}
