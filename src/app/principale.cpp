#include "principale.h"

#include "aide.h"
#include "apropos.h"
#include "chemins.h"
#include "donnees.h"
#include "fichiers.h"
#include "parametres.h"
#include "services.h"
#include "tropgrand.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPrinter>
#include <QScreen>

using namespace horaku;

TFenetre_Principale::TFenetre_Principale(Services& services, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      services_(services)
{
    setObjectName(QStringLiteral("Fenetre_Principale"));
    resize(586, 545);
    QPalette blanc = palette();
    blanc.setColor(QPalette::Window, Qt::white);
    setPalette(blanc);

    // The client area has no layout and no scroll bars: the picture sits at
    // its top-left corner and is cut off when the window is made smaller.
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("ZoneClient"));
    client_->setAutoFillBackground(true);
    client_->setPalette(blanc);
    setCentralWidget(client_);
    ImageEdT = new QLabel(client_);
    ImageEdT->setObjectName(QStringLiteral("ImageEdT"));
    ImageEdT->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ImageEdT->move(0, 0);

    CreerMenuFichier();
    CreerMenuConfiguration();
    CreerMenuAide();
    FormCreate();
}

TFenetre_Principale::~TFenetre_Principale() = default;

template <typename Fonction> void TFenetre_Principale::Protege(Fonction&& fonction)
{
    try {
        fonction();
    } catch (...) {
        services_.MontrerException(this);
    }
}

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
    Commande(menu, "MenuEnregistrer", QStringLiteral("Enregistrer"),
             QKeySequence(Qt::CTRL | Qt::Key_S), &TFenetre_Principale::MenuEnregistrerClick);
    Commande(menu, "MenuEnregistrerSous", QStringLiteral("Enregistrer sous ..."),
             QKeySequence(Qt::CTRL | Qt::Key_E), &TFenetre_Principale::MenuEnregistrerSousClick);
    Commande(menu, "MenuSupprimer", QStringLiteral("Supprimer ..."),
             QKeySequence(Qt::CTRL | Qt::Key_Delete), &TFenetre_Principale::MenuSupprimerClick);
    Commande(menu, "MenuEnregistrerImage", QStringLiteral("Enregistrer l'image ..."),
             QKeySequence(Qt::CTRL | Qt::Key_I), &TFenetre_Principale::EnregistrerClick);
    MenuExporterAgenda = Commande(menu, "MenuExporterAgenda",
                                  QStringLiteral("Exporter vers un agenda (.ics) ..."),
                                  QKeySequence(), &TFenetre_Principale::MenuExporterAgendaClick);
    menu->addSeparator()->setObjectName(QStringLiteral("N2"));
    Commande(menu, "MenuConfigurationImprimante", QStringLiteral("Configuration de l'imprimante"),
             QKeySequence(), &TFenetre_Principale::MenuConfigurationImprimanteClick);
    Commande(menu, "MenuImprimer", QStringLiteral("&Imprimer"), QKeySequence(Qt::CTRL | Qt::Key_P),
             &TFenetre_Principale::MenuImprimerClick);
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

void TFenetre_Principale::FormCreate()
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
            FermerEmploiDuTemps();
            edt_ = ChargerEdt(QString::fromStdString(config_.EdtDefaut));
        } else {
            config_.EdtDefaut.clear();
            config_.ConfigModifiee = true;
            EcrireConfigSiModifiee();
        }
    }
    panneau_ = new TFiche_Panneau(*this, services_, this);
    PlacerPanneau();
    ActualiserFenetre();
}

void TFenetre_Principale::FormShow()
{
    Redessiner();
    if (const QScreen* ecran = screen()) {
        // Centred, but never with the title bar above the screen's top.
        const QRect zone = ecran->availableGeometry();
        move(qMax(zone.left(), zone.center().x() - width() / 2),
             qMax(zone.top(), zone.center().y() - height() / 2));
    }
    PlacerPanneau();
    if (edt_ && panneau_) panneau_->show();
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
        if (panneau_) {
            panneau_->Remplir(*edt_);
            // Before the window is first shown, FormShow shows the panel.
            if (isVisible()) panneau_->show();
        }
        edt_->EdtModifie = modifie;
    } else {
        setWindowTitle(QString::fromUtf8(kNomProduit));
        if (panneau_) panneau_->hide();
    }
    // The actions too: a shortcut of a disabled menu does nothing.
    MenuConfiguration->setEnabled(ouvert);
    MenuParametres->setEnabled(ouvert);
    MenuDonnees->setEnabled(ouvert);
    MenuExporterAgenda->setEnabled(ouvert);
}

void TFenetre_Principale::PlacerPanneau()
{
    if (panneau_) panneau_->move(PlacePanneau(frameGeometry()));
}

void TFenetre_Principale::moveEvent(QMoveEvent* evenement)
{
    QMainWindow::moveEvent(evenement);
    PlacerPanneau();
}

void TFenetre_Principale::resizeEvent(QResizeEvent* evenement)
{
    QMainWindow::resizeEvent(evenement);
    PlacerPanneau();
}

ResultatDessin::Etat TFenetre_Principale::Redessiner()
{
    if (!edt_) return ResultatDessin::Rien;
    ResultatDessin resultat = horaku::Redessiner(*edt_);
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
        AjusterZoneClient(image_.size() + QSize(1, 1));
        break;
    }
    return resultat.etat;
}

void TFenetre_Principale::AjusterZoneClient(QSize taille)
{
    // The menu bar may wrap on a narrow window: ask for its height at the new width.
    int menu = menuBar()->heightForWidth(taille.width());
    if (menu < 0) menu = menuBar()->sizeHint().height();
    resize(taille.width(), taille.height() + menu);
    layout()->activate();
    const QSize ecart = taille - client_->size();
    if (!ecart.isNull()) resize(size() + ecart);
}

void TFenetre_Principale::ViderImage()
{
    image_ = QImage();
    ImageEdT->clear();
    ImageEdT->resize(0, 0);
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
    delete panneau_;
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
