#include "etablissement.h"
#include "vues.h"

#include "cp1252.h"
#include "erreurs.h"
#include "reglages.h"
#include "saisie.h"
#include "services.h"
#include "vuesimage.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace horaku;

namespace
{

const QString kCleFichiers = QStringLiteral("vues/fichiers");
const QString kCleGroupe = QStringLiteral("vues/groupe");
const QStringList kFormats = {"pdf", "png", "svg", "gif", "bmp", "edt"};

} // namespace

TFiche_Vues::TFiche_Vues(QWidget* proprietaire, Services& services)
    : QDialog(proprietaire), services_(services)
{
    setObjectName(QStringLiteral("Fiche_Vues"));
    setWindowTitle(QStringLiteral("Vues d'établissement"));
    new QGridLayout(this);
    CreerFichiers();
    CreerChoix();
    CreerValeurs();
    CreerBoutons();
    ComboGroupe->setCurrentIndex(std::clamp(Reglages().value(kCleGroupe, 3).toInt(), 1, 4) - 1);
    FixerFichiers(Reglages().value(kCleFichiers).toStringList());
    resize(900, 600);
}

void TFiche_Vues::CreerFichiers()
{
    auto* grille = static_cast<QGridLayout*>(layout());
    grille->addWidget(new QLabel(QStringLiteral("Emplois du temps :")), 0, 0);
    ListeFichiers = new QListWidget;
    ListeFichiers->setObjectName(QStringLiteral("ListeFichiers"));
    grille->addWidget(ListeFichiers, 1, 0);
    auto* boutons = new QHBoxLayout;
    auto* ajouter = new QPushButton(QStringLiteral("Ajouter ..."));
    ajouter->setObjectName(QStringLiteral("BtnAjouter"));
    auto* retirer = new QPushButton(QStringLiteral("Retirer"));
    retirer->setObjectName(QStringLiteral("BtnRetirer"));
    connect(ajouter, &QPushButton::clicked, this, &TFiche_Vues::BtnAjouterClick);
    connect(retirer, &QPushButton::clicked, this, &TFiche_Vues::BtnRetirerClick);
    boutons->addWidget(ajouter);
    boutons->addWidget(retirer);
    grille->addLayout(boutons, 2, 0);
    LabelErreurs = new QLabel;
    LabelErreurs->setObjectName(QStringLiteral("LabelErreurs"));
    LabelErreurs->setWordWrap(true);
    LabelErreurs->setStyleSheet(QStringLiteral("color: #b00000"));
    grille->addWidget(LabelErreurs, 3, 0);
}

void TFiche_Vues::CreerChoix()
{
    auto* grille = static_cast<QGridLayout*>(layout());
    auto* formulaire = new QGridLayout;
    ComboGroupe = new QComboBox;
    ComboGroupe->setObjectName(QStringLiteral("ComboGroupe"));
    for (int g = 1; g <= 4; ++g)
        ComboGroupe->addItem(QStringLiteral("Groupe %1").arg(g));
    ComboGabarit = new QComboBox;
    ComboGabarit->setObjectName(QStringLiteral("ComboGabarit"));
    formulaire->addWidget(new QLabel(QStringLiteral("Groupe :")), 0, 0);
    formulaire->addWidget(ComboGroupe, 0, 1);
    formulaire->addWidget(new QLabel(QStringLiteral("Gabarit :")), 1, 0);
    formulaire->addWidget(ComboGabarit, 1, 1);
    grille->addLayout(formulaire, 4, 0);
    connect(ComboGroupe, &QComboBox::activated, this, [this] { Calculer(); });
    connect(ComboGabarit, &QComboBox::activated, this, [this] { Calculer(); });
}

void TFiche_Vues::CreerValeurs()
{
    auto* grille = static_cast<QGridLayout*>(layout());
    TableValeurs = new QTableWidget(0, 3);
    TableValeurs->setObjectName(QStringLiteral("TableValeurs"));
    TableValeurs->setHorizontalHeaderLabels(
        {QStringLiteral("Valeur"), QStringLiteral("Séquences"), QStringLiteral("Conflits")});
    TableValeurs->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableValeurs->setSelectionMode(QAbstractItemView::SingleSelection);
    TableValeurs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableValeurs->verticalHeader()->hide();
    TableValeurs->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    grille->addWidget(TableValeurs, 0, 1, 5, 1);
    connect(TableValeurs, &QTableWidget::itemSelectionChanged, this, [this] { MontrerVue(); });
    connect(TableValeurs, &QTableWidget::cellDoubleClicked, this, [this] { done(kOuvrir); });

    auto* defilement = new QScrollArea;
    ImageVue = new QLabel;
    ImageVue->setObjectName(QStringLiteral("ImageVue"));
    ImageVue->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    defilement->setWidget(ImageVue);
    defilement->setWidgetResizable(true);
    grille->addWidget(defilement, 5, 0, 1, 2);
    grille->setRowStretch(5, 1);
    grille->setColumnStretch(1, 1);
}

void TFiche_Vues::CreerBoutons()
{
    auto* grille = static_cast<QGridLayout*>(layout());
    auto* boite = new QDialogButtonBox;
    BtnOuvrir = boite->addButton(QStringLiteral("Ouvrir la vue"), QDialogButtonBox::ActionRole);
    BtnOuvrir->setObjectName(QStringLiteral("BtnOuvrir"));
    ComboFormat = new QComboBox;
    ComboFormat->setObjectName(QStringLiteral("ComboFormat"));
    for (const QString& f : kFormats)
        ComboFormat->addItem(f.toUpper(), f);
    BtnExporter = boite->addButton(QStringLiteral("Exporter toutes les vues ..."),
                                   QDialogButtonBox::ActionRole);
    BtnExporter->setObjectName(QStringLiteral("BtnExporter"));
    QPushButton* fermer = boite->addButton(QStringLiteral("Fermer"), QDialogButtonBox::RejectRole);
    fermer->setObjectName(QStringLiteral("BtnFermer"));
    connect(BtnOuvrir, &QPushButton::clicked, this, [this] { done(kOuvrir); });
    connect(BtnExporter, &QPushButton::clicked, this, &TFiche_Vues::BtnExporterClick);
    connect(boite, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* ligne = new QHBoxLayout;
    ligne->addWidget(new QLabel(QStringLiteral("Format :")));
    ligne->addWidget(ComboFormat);
    ligne->addWidget(boite, 1);
    grille->addLayout(ligne, 6, 0, 1, 2);
}

void TFiche_Vues::FixerFichiers(const QStringList& fichiers)
{
    ListeFichiers->clear();
    ListeFichiers->addItems(fichiers);
    Calculer();
}

QStringList TFiche_Vues::Fichiers() const
{
    QStringList l;
    for (int i = 0; i < ListeFichiers->count(); ++i)
        l << ListeFichiers->item(i)->text();
    return l;
}

void TFiche_Vues::Retenir() const
{
    QSettings r = Reglages();
    r.setValue(kCleFichiers, Fichiers());
    r.setValue(kCleGroupe, ComboGroupe->currentIndex() + 1);
}

void TFiche_Vues::Calculer()
{
    std::vector<std::string> chemins;
    for (const QString& f : Fichiers())
        chemins.push_back(f.toStdString());
    etablissement_ = LireEtablissement(chemins);
    QStringList erreurs;
    for (const std::string& e : etablissement_.erreurs)
        erreurs << QString::fromStdString(ControlesVisibles(e));
    LabelErreurs->setText(erreurs.join(QLatin1Char('\n')));

    // The template: the first file unless another is chosen; the groups are
    // named by it.
    const QString gabarit = ComboGabarit->currentData().toString();
    ComboGabarit->clear();
    ComboGabarit->addItem(QStringLiteral("(le premier fichier)"), QString());
    std::size_t indiceGabarit = 0;
    for (std::size_t i = 0; i < etablissement_.chemins.size(); ++i) {
        const QString c = QString::fromStdString(etablissement_.chemins[i]);
        ComboGabarit->addItem(QFileInfo(c).fileName(), c);
        if (c == gabarit) {
            ComboGabarit->setCurrentIndex(ComboGabarit->count() - 1);
            indiceGabarit = i;
        }
    }
    vues_.clear();
    const int groupe = ComboGroupe->currentIndex();
    if (!etablissement_.edts.empty()) {
        const REdt& g = etablissement_.edts[indiceGabarit];
        for (int i = 0; i < 4; ++i)
            ComboGroupe->setItemText(i, Texte1252(g.Libelles[std::size_t(i + 1)].Libelle));
        vues_ = ConstruireVues(etablissement_.edts, groupe, g);
        TrierVues(vues_);
    }
    TableValeurs->setRowCount(0);
    for (const Vue& v : vues_) {
        const int ligne = TableValeurs->rowCount();
        TableValeurs->insertRow(ligne);
        TableValeurs->setItem(ligne, 0, new QTableWidgetItem(Texte1252(v.valeur)));
        auto nombre = [&](int colonne, std::size_t n) {
            auto* item = new QTableWidgetItem(QString::number(n));
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            TableValeurs->setItem(ligne, colonne, item);
        };
        nombre(1, v.sequences);
        nombre(2, ConflitsVue(v).size());
    }
    if (!vues_.empty()) TableValeurs->selectRow(0);
    BtnExporter->setEnabled(!vues_.empty());
    MontrerVue();
    Retenir();
}

void TFiche_Vues::MontrerVue()
{
    const int ligne = TableValeurs->currentRow();
    BtnOuvrir->setEnabled(ligne >= 0 && ligne < int(vues_.size()));
    if (!BtnOuvrir->isEnabled()) {
        ImageVue->clear();
        return;
    }
    // The on-screen view always shows its clash marks.
    const ResultatDessin r = RedessinerVue(vues_[std::size_t(ligne)], true);
    if (r.etat == ResultatDessin::Dessine)
        ImageVue->setPixmap(QPixmap::fromImage(r.image));
    else
        ImageVue->clear();
}

std::unique_ptr<REdt> TFiche_Vues::VueChoisie() const
{
    const int ligne = TableValeurs->currentRow();
    if (ligne < 0 || ligne >= int(vues_.size())) return nullptr;
    auto edt = std::make_unique<REdt>();
    edt->Copier(vues_[std::size_t(ligne)].edt);
    return edt;
}

void TFiche_Vues::BtnAjouterClick()
{
    Selecteur s;
    s.sorte = Selecteur::OuvrirEdt;
    s.titre = QStringLiteral("Ajouter un emploi du temps");
    s.filtres = QStringLiteral("Emploi du temps (*.edt)");
    const std::optional<QString> choisi = services_.Choisir(this, s);
    if (!choisi || Fichiers().contains(*choisi)) return;
    ListeFichiers->addItem(*choisi);
    Calculer();
}

void TFiche_Vues::BtnRetirerClick()
{
    delete ListeFichiers->currentItem();
    Calculer();
}

void TFiche_Vues::BtnExporterClick()
{
    const QString format = ComboFormat->currentData().toString();
    Selecteur s;
    s.sorte = Selecteur::EnregistrerImage;
    s.titre = QStringLiteral("Exporter toutes les vues");
    // A PDF is one document; the other formats go, one file per view, into
    // the folder named like the chosen file without its extension.
    s.filtres = format == QLatin1String("pdf")
                    ? QStringLiteral("Document PDF (*.pdf)")
                    : QStringLiteral("Dossier des vues (*.%1)").arg(format);
    s.suffixe = format;
    s.nom = ComboGroupe->currentText() + QLatin1Char('.') + format;
    s.confirmerRemplacement = format == QLatin1String("pdf");
    const std::optional<QString> choisi = services_.Choisir(this, s);
    if (!choisi) return;
    QString sortie = *choisi;
    if (format != QLatin1String("pdf")) {
        const QFileInfo info(sortie);
        sortie = info.absolutePath() + QLatin1Char('/') + info.completeBaseName();
    } else if (QFileInfo(sortie).suffix().isEmpty()) {
        sortie += QStringLiteral(".pdf");
    }
    try {
        ExporterVues(vues_, format.toStdString(), sortie.toStdString(), false,
                     Utf8VersCp1252(ComboGroupe->currentText().toStdString()));
    } catch (...) {
        services_.MontrerException(this);
    }
}
