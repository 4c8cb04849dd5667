// Taking the picture out of the program: export to a file and printing.
#include "principale.h"

#include "attente.h"
#include "chemins.h"
#include "exportation.h"
#include "fichiers.h"
#include "impression.h"
#include "services.h"

#include <QDialogButtonBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>

using namespace horaku;

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
    selecteur.dossier = dossierImage_;
    selecteur.confirmerRemplacement = true;
    const std::optional<QString> choisi = services_.Choisir(this, selecteur);
    if (!choisi) return;
    QString chemin = *choisi;
    if (ExtensionDe(chemin).isEmpty()) chemin += QStringLiteral(".gif");
    dossierImage_ = chemin.left(chemin.lastIndexOf(QLatin1Char('/')) + 1);
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
    ImprimerImage(image_, Imprimante());
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
