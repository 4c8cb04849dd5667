// The file commands of the "Fichier" menu and the closing step they share.
#include "principale.h"

#include "chemins.h"
#include "fichiers.h"
#include "parametres.h"
#include "services.h"

using namespace horaku;

namespace
{

const QString kFiltreEdt = QStringLiteral("Fichiers Horaku (*.edt)");
const QString kExtensionEdt = QStringLiteral(".edt");

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
    if (!FermerEmploiDuTemps()) return;
    Selecteur selecteur;
    selecteur.sorte = Selecteur::OuvrirEdt;
    selecteur.filtres = kFiltreEdt;
    selecteur.suffixe = QStringLiteral("edt");
    selecteur.dossier = QString::fromStdString(DossierProgramme);
    selecteur.nom = dernierOuvert_;
    std::optional<QString> nom;
    for (;;) {
        nom = services_.Choisir(this, selecteur);
        if (!nom) break;
        dernierOuvert_ = *nom;
        if (OpenDialogEdtCanClose(*nom)) break;
        selecteur.nom = *nom;
    }
    if (nom) edt_ = ChargerEdt(*nom);
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
    selecteur.dossier = QString::fromStdString(DossierProgramme);
    selecteur.nom = QString::fromStdString(edt_->Fichier);
    // The can-close check asks about the one file that will be replaced, the
    // ".edt" name; a question about the name as typed would be a second one.
    selecteur.confirmerRemplacement = false;
    std::optional<QString> nom;
    for (;;) {
        const std::optional<QString> choisi = services_.Choisir(this, selecteur);
        if (!choisi) return;
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
