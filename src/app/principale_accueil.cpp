// The welcome page shown in place of the picture while no timetable is open:
// it says what to do first and offers the recent files and the bundled
// example, so that a first start never shows an empty white window.
#include "principale.h"

#include "chemins.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace horaku;

void TFenetre_Principale::CreerAccueil()
{
    accueil_ = new QWidget;
    accueil_->setObjectName(QStringLiteral("Accueil"));
    accueil_->setAutoFillBackground(true);
    auto* disposition = new QVBoxLayout(accueil_);
    disposition->setContentsMargins(24, 20, 24, 20);
    disposition->setSpacing(10);

    auto* titre = new QLabel(QStringLiteral("Bienvenue dans Horaku"));
    titre->setObjectName(QStringLiteral("LabelBienvenue"));
    QFont grand = titre->font();
    grand.setPointSizeF(grand.pointSizeF() * 1.6);
    grand.setBold(true);
    titre->setFont(grand);
    disposition->addWidget(titre);

    auto* explication = new QLabel(QStringLiteral(
        "Aucun emploi du temps n'est ouvert. Créez-en un nouveau, ouvrez un fichier .edt "
        "ou partez de l'exemple fourni, puis saisissez les séquences avec « Données... » (F3)."));
    explication->setWordWrap(true);
    disposition->addWidget(explication);

    const auto bouton = [this, disposition](const char* nom, const QString& texte,
                                            void (TFenetre_Principale::*commande)()) {
        auto* b = new QPushButton(texte);
        b->setObjectName(QString::fromLatin1(nom));
        b->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
        connect(b, &QPushButton::clicked, this,
                [this, commande] { Protege([&] { (this->*commande)(); }); });
        disposition->addWidget(b);
        return b;
    };
    bouton("BtnNouveau", QStringLiteral("Nouveau..."), &TFenetre_Principale::MenuNouveauClick);
    bouton("BtnOuvrir", QStringLiteral("Ouvrir..."), &TFenetre_Principale::MenuOuvrirClick);
    bouton("BtnExemple", QStringLiteral("Ouvrir l'exemple"), &TFenetre_Principale::OuvrirExemple)
        ->setToolTip(QStringLiteral("Un emploi du temps d'exemple, jamais enregistré : "
                                    "« Enregistrer » demande un nom"));

    auto* recents = new QLabel(QStringLiteral("Fichiers récents :"));
    recents->setObjectName(QStringLiteral("LabelRecents"));
    disposition->addSpacing(8);
    disposition->addWidget(recents);
    listeRecents_ = new QVBoxLayout;
    listeRecents_->setSpacing(2);
    disposition->addLayout(listeRecents_);
    disposition->addStretch(1);
}

void TFenetre_Principale::ActualiserAccueil()
{
    if (!listeRecents_) return;
    while (QLayoutItem* element = listeRecents_->takeAt(0)) {
        delete element->widget();
        delete element;
    }
    const QStringList recents = FichiersRecents();
    accueil_->findChild<QLabel*>(QStringLiteral("LabelRecents"))->setVisible(!recents.isEmpty());
    for (const QString& chemin : recents) {
        auto* b = new QPushButton(NomSansDossier(chemin));
        b->setObjectName(QStringLiteral("BtnRecent"));
        b->setFlat(true);
        b->setToolTip(chemin);
        b->setStyleSheet(QStringLiteral("text-align: left"));
        b->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
        // A file that is gone stays in the list, greyed, until the list is emptied.
        b->setEnabled(QFileInfo(chemin).isFile());
        connect(b, &QPushButton::clicked, this,
                [this, chemin] { Protege([&] { OuvrirFichier(chemin); }); });
        listeRecents_->addWidget(b);
    }
}
