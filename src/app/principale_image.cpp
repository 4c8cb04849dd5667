// Taking the picture out of the program: export to a file and printing.
#include "principale.h"

#include "attente.h"
#include "chemins.h"
#include "exportation.h"
#include "fichiers.h"
#include "impression.h"
#include "services.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSettings>

using namespace horaku;

namespace
{

const QString kCleDossierImage = QStringLiteral("Dossiers/Image");

} // namespace

void TFenetre_Principale::EnregistrerClick()
{
    // Without a picture there is nothing to write.
    if (image_.isNull()) return;
    Selecteur selecteur;
    selecteur.sorte = Selecteur::EnregistrerImage;
    selecteur.titre = QStringLiteral("Sauvegarde de l'emploi du temps");
    selecteur.filtres = QStringLiteral("Image Gif (*.gif);;Bitmap (*.bmp);;Image PNG "
                                       "(*.png);;Document PDF (*.pdf);;Image SVG (*.svg)");
    selecteur.suffixe = QStringLiteral("gif");
    selecteur.dossier = DossierSelecteur(kCleDossierImage, true);
    if (edt_ && !edt_->Fichier.empty())
        selecteur.nom = QFileInfo(QString::fromStdString(edt_->Fichier)).completeBaseName();
    selecteur.confirmerRemplacement = true;
    const std::optional<QString> choisi = services_.Choisir(this, selecteur);
    if (!choisi) return;
    QString chemin = *choisi;
    if (ExtensionDe(chemin).isEmpty()) chemin += QStringLiteral(".gif");
    RetenirDossier(kCleDossierImage, chemin);
    RefuserSortieSurEntree(edt_->Fichier, chemin.toStdString());
    {
        const CurseurAttente attente;
        // PDF and SVG are drawn again from the timetable, as vectors.
        ExporterImage(*edt_, image_, chemin.toStdString());
    }
    Redessiner();
}

void TFenetre_Principale::MenuConfigurationImprimanteClick()
{
    QPrintDialog dialogue(&Imprimante(), this);
    dialogue.setWindowTitle(QStringLiteral("Configuration de l'imprimante"));
    // This dialog only chooses the printer: its button must not promise a print.
    if (auto* boutons = dialogue.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = boutons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    dialogue.exec();
}

void TFenetre_Principale::MenuImprimerClick()
{
    // Without a picture the page would stay blank.
    if (image_.isNull()) return;
    QPrinter& imprimante = Imprimante();
    // Most laptops at home have no printer: rather than refuse, the print
    // dialog opens on Qt's PDF printer with a file name the user sees.
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        imprimante.setOutputFormat(QPrinter::PdfFormat);
        if (imprimante.outputFileName().isEmpty()) {
            const QString nom =
                edt_ && !edt_->Fichier.empty()
                    ? QFileInfo(QString::fromStdString(edt_->Fichier)).completeBaseName()
                    : QStringLiteral("emploi du temps");
            imprimante.setOutputFileName(DossierSelecteur(kCleDossierImage, true) +
                                         QLatin1Char('/') + nom + QStringLiteral(".pdf"));
        }
        QPrintDialog dialogue(&imprimante, this);
        dialogue.setWindowTitle(QStringLiteral("Imprimer"));
        if (dialogue.exec() != QDialog::Accepted) return;
    }
    ImprimerImage(image_, imprimante);
    // A print into a file says where the file is.
    if (imprimante.outputFormat() == QPrinter::PdfFormat)
        services_.Demander(this, {QStringLiteral("Emploi du temps imprimé dans « %1 ».")
                                      .arg(imprimante.outputFileName()),
                                  QMessageBox::Ok, QMessageBox::Information});
}

void TFenetre_Principale::MenuApercuClick()
{
    if (image_.isNull()) return;
    // The page as "&Imprimer" prints it, on the chosen printer and its paper;
    // orientation and page setup changed here stay with that printer.
    QPrintPreviewDialog apercu(&Imprimante(), this);
    apercu.setWindowTitle(QStringLiteral("Aperçu avant impression"));
    connect(&apercu, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* imprimante) {
        imprimante->setFullPage(false);
        QPainter p;
        if (p.begin(imprimante)) PeindrePage(p, image_, *imprimante);
    });
    apercu.exec();
}
