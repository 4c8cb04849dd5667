// The file commands of the "Fichier" menu and the closing step they share,
// the recent files, the bundled example and the files dropped on the window.
#include "principale.h"

#include "chemins.h"
#include "erreurs.h"
#include "etablissement.h"
#include "fichiers.h"
#include "garde.h"
#include "parametres.h"
#include "reglages.h"
#include "services.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QUrl>

using namespace horaku;

namespace
{

const QString kFiltreEdt = QStringLiteral("Fichiers Horaku (*.edt)");
const QString kExtensionEdt = QStringLiteral(".edt");
const QString kCleRecents = QStringLiteral("Fichiers/Recents");
const QString kCleDossierEdt = QStringLiteral("Dossiers/Edt");

} // namespace

bool TFenetre_Principale::FermerEmploiDuTemps()
{
    if (!edt_) return true;
    EcrireConfigSiModifiee();
    bool reponse = true;
    while (edt_->EdtModifie) {
        const QMessageBox::StandardButton choix = services_.Demander(
            this, {QStringLiteral("Cet emploi du temps a été modifié.\n"
                                  "Voulez-vous enregistrer ces modifications ?"),
                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Warning});
        if (choix == QMessageBox::Yes) {
            // A cancelled Save as leaves the timetable modified: ask again.
            MenuEnregistrerClick();
            reponse = true;
        } else if (choix == QMessageBox::No) {
            reponse = true;
            break;
        } else if (choix == QMessageBox::Cancel) {
            reponse = false;
            break;
        }
    }
    if (reponse) {
        edt_.reset();
        ViderImage();
    }
    ActualiserFenetre();
    return reponse;
}

void TFenetre_Principale::MenuNouveauClick()
{
    if (!FermerEmploiDuTemps()) return;
    auto nouveau = std::make_unique<REdt>();
    bool garde = false;
    {
        // The dialog turns the hour labels' font when it goes: it must go
        // before the timetable is kept or dropped.
        TFiche_Parametres parametres(this, *nouveau, config_, services_);
        garde = parametres.exec() == QDialog::Accepted;
    }
    if (garde) edt_ = std::move(nouveau);
    ActualiserFenetre();
    Redessiner();
    PlacerPanneau();
}

void TFenetre_Principale::MenuOuvrirClick()
{
    // Taken before the timetable closes: the first time, its folder.
    const QString dossier = DossierSelecteur(kCleDossierEdt, false);
    if (!FermerEmploiDuTemps()) return;
    Selecteur selecteur;
    selecteur.sorte = Selecteur::OuvrirEdt;
    selecteur.filtres = kFiltreEdt;
    selecteur.suffixe = QStringLiteral("edt");
    selecteur.dossier = dossier;
    if (QFileInfo(dernierOuvert_).absolutePath() == selecteur.dossier)
        selecteur.nom = dernierOuvert_;
    std::optional<QString> nom;
    for (;;) {
        nom = services_.Choisir(this, selecteur);
        if (!nom) break;
        dernierOuvert_ = *nom;
        RetenirDossier(kCleDossierEdt, *nom);
        if (OpenDialogEdtCanClose(*nom)) break;
        selecteur.nom = *nom;
    }
    if (nom) edt_ = ChargerEdt(*nom);
    if (edt_) AjouterRecent(QString::fromStdString(edt_->Fichier));
    ActualiserFenetre();
    Redessiner();
    PlacerPanneau();
}

std::optional<QString> TFenetre_Principale::OpenDialogEdtCanClose(const QString& nom)
{
    if (ExtensionDe(nom) != kExtensionEdt) {
        services_.Demander(this, {QStringLiteral("Extension de fichier incorrecte"),
                                  QMessageBox::Ok, QMessageBox::Warning});
        return std::nullopt;
    }
    // The chooser lets any name through in an existing folder: a name that
    // names no file is refused here, the chooser staying open, rather than
    // reported by the reader as a line it could not find.
    if (!FichierExiste(nom.toStdString())) {
        services_.Demander(
            this, {QStringLiteral("Impossible d'ouvrir le fichier ") + nom + QStringLiteral("."),
                   QMessageBox::Ok, QMessageBox::Critical});
        return std::nullopt;
    }
    return nom;
}

std::unique_ptr<REdt> TFenetre_Principale::ChargerEdt(const QString& chemin)
{
    // A refused or unreadable file leaves no timetable: one bound to the
    // file's name with default contents would overwrite the user's file on
    // the next Save.
    auto edt = std::make_unique<REdt>();
    edt->Fichier = chemin.toStdString();
    try {
        if (!edt->Charger()) {
            services_.Demander(
                this, {QString::fromUtf8(kMessageVersion), QMessageBox::Ok, QMessageBox::Critical});
            return nullptr;
        }
    } catch (...) {
        services_.MontrerException(this);
        return nullptr;
    }
    return edt;
}

void TFenetre_Principale::MenuEnregistrerClick()
{
    if (edt_ && edt_->EdtModifie) {
        if (edt_->Fichier.empty())
            MenuEnregistrerSousClick();
        else
            edt_->Enregistrer();
    }
    EcrireConfigSiModifiee();
}

void TFenetre_Principale::MenuEnregistrerSousClick()
{
    if (!edt_) return;
    Selecteur selecteur;
    selecteur.sorte = Selecteur::EnregistrerEdt;
    selecteur.filtres = kFiltreEdt;
    selecteur.suffixe = QStringLiteral("edt");
    selecteur.dossier = DossierSelecteur(kCleDossierEdt, true);
    selecteur.nom = NomSansDossier(QString::fromStdString(edt_->Fichier));
    // The can-close check asks about the one file that will be replaced, the
    // ".edt" name; a question about the name as typed would be a second one.
    selecteur.confirmerRemplacement = false;
    std::optional<QString> nom;
    for (;;) {
        const std::optional<QString> choisi = services_.Choisir(this, selecteur);
        if (!choisi) return;
        RetenirDossier(kCleDossierEdt, *choisi);
        nom = SaveDialogEdtCanClose(*choisi);
        if (nom) break;
        selecteur.nom = *choisi;
    }
    // A failed write keeps the timetable's previous name, as the title shows it.
    const std::string precedent = edt_->Fichier;
    edt_->Fichier = nom->toStdString();
    try {
        edt_->Enregistrer();
    } catch (...) {
        edt_->Fichier = precedent;
        throw;
    }
    EcrireConfigSiModifiee();
    setWindowTitle(TitreAvecFichier(edt_->Fichier));
    AjouterRecent(*nom);
}

std::optional<QString> TFenetre_Principale::SaveDialogEdtCanClose(const QString& nom)
{
    const QString chemin = RemplacerExtension(nom, kExtensionEdt);
    if (FichierExiste(chemin.toStdString()) &&
        services_.Demander(this, {QStringLiteral("Un fichier du même nom (") + chemin +
                                      QStringLiteral(") existe déjà. \nVoulez-vous le remplacer ?"),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Warning}) !=
            QMessageBox::Yes)
        return std::nullopt;
    return chemin;
}

void TFenetre_Principale::MenuSupprimerClick()
{
    // What a delete command should remove is not settled: it does nothing.
}

void TFenetre_Principale::OuvrirFichier(const QString& chemin)
{
    if (!FermerEmploiDuTemps()) return;
    const QString absolu = QFileInfo(chemin).absoluteFilePath();
    if (OpenDialogEdtCanClose(absolu)) {
        dernierOuvert_ = absolu;
        edt_ = ChargerEdt(absolu);
        if (edt_) AjouterRecent(absolu);
    }
    ActualiserFenetre();
    Redessiner();
    PlacerPanneau();
}

void TFenetre_Principale::OuvrirExemple()
{
    QFile fichier(QStringLiteral(":/exemples/realiste.edt"));
    if (!fichier.open(QIODevice::ReadOnly))
        throw ErreurHoraku("Impossible d'ouvrir le fichier realiste.edt.");
    const QByteArray contenu = fichier.readAll();
    auto edt = std::make_unique<REdt>();
    if (!LireEdt(*edt,
                 std::string_view(contenu.constData(), static_cast<std::size_t>(contenu.size()))))
        throw ErreurHoraku(kMessageVersion);
    OuvrirNonEnregistre(std::move(edt));
}

bool TFenetre_Principale::OuvrirNonEnregistre(std::unique_ptr<REdt> edt)
{
    if (!FermerEmploiDuTemps()) return false;
    // Never saved: Save asks for a name, closing asks whether to keep it.
    edt->Fichier.clear();
    edt->EdtModifie = true;
    edt_ = std::move(edt);
    ActualiserFenetre();
    Redessiner();
    PlacerPanneau();
    return true;
}

void TFenetre_Principale::MenuVuesClick()
{
    TFiche_Vues fiche(this, services_);
    if (fiche.exec() != TFiche_Vues::kOuvrir) return;
    if (std::unique_ptr<REdt> vue = fiche.VueChoisie()) OuvrirNonEnregistre(std::move(vue));
}

QStringList TFenetre_Principale::FichiersRecents() const
{
    return Reglages().value(kCleRecents).toStringList().mid(0, kRecentsMax);
}

void TFenetre_Principale::AjouterRecent(const QString& chemin)
{
    Reglages().setValue(kCleRecents, horaku::AjouterRecent(FichiersRecents(), chemin));
}

void TFenetre_Principale::ViderRecents()
{
    Reglages().remove(kCleRecents);
    ActualiserAccueil();
}

void TFenetre_Principale::ActualiserMenuRecents()
{
    MenuRecents->clear();
    const QStringList recents = FichiersRecents();
    int n = 0;
    for (const QString& chemin : recents) {
        const QFileInfo info(chemin);
        QAction* action = MenuRecents->addAction(
            QStringLiteral("&%1 %2   (%3)").arg(++n).arg(info.fileName(), info.absolutePath()));
        action->setObjectName(QStringLiteral("MenuRecent"));
        // A file that is gone is greyed; "Vider la liste" forgets it.
        action->setEnabled(info.isFile());
        connect(action, &QAction::triggered, this,
                [this, chemin] { Protege([&] { OuvrirFichier(chemin); }); });
    }
    if (recents.isEmpty())
        MenuRecents->addAction(QStringLiteral("(aucun fichier récent)"))->setEnabled(false);
    MenuRecents->addSeparator();
    QAction* vider = MenuRecents->addAction(QStringLiteral("Vider la liste"));
    vider->setObjectName(QStringLiteral("MenuViderRecents"));
    vider->setEnabled(!recents.isEmpty());
    connect(vider, &QAction::triggered, this, &TFenetre_Principale::ViderRecents);
}

QString TFenetre_Principale::DossierSelecteur(const QString& cle, bool ecriture) const
{
    return DossierDepart(Reglages().value(cle).toString(),
                         edt_ ? QString::fromStdString(edt_->Fichier) : QString(), ecriture);
}

void TFenetre_Principale::RetenirDossier(const QString& cle, const QString& chemin)
{
    Reglages().setValue(cle, QFileInfo(chemin).absolutePath());
}

namespace
{

// The first local file among the dropped addresses.
QString FichierDepose(const QMimeData* donnees)
{
    if (!donnees || !donnees->hasUrls()) return {};
    for (const QUrl& adresse : donnees->urls())
        if (adresse.isLocalFile()) return adresse.toLocalFile();
    return {};
}

} // namespace

void TFenetre_Principale::dragEnterEvent(QDragEnterEvent* evenement)
{
    if (!FichierDepose(evenement->mimeData()).isEmpty()) evenement->acceptProposedAction();
}

void TFenetre_Principale::dropEvent(QDropEvent* evenement)
{
    const QString chemin = FichierDepose(evenement->mimeData());
    if (chemin.isEmpty()) return;
    evenement->acceptProposedAction();
    // The drag's source waits until the drop returns: the file opens afterwards.
    QMetaObject::invokeMethod(
        this, [this, chemin] { Protege([&] { OuvrirFichier(chemin); }); }, Qt::QueuedConnection);
}
