// The frame of the data-entry dialog: days, day and week type chosen, data
// groups and their value lists, saving, closing.  The grid itself is in
// donnees_grille.cpp.
#include "donnees.h"

#include "aide.h"
#include "fiche.h"
#include "saisie.h"
#include "services.h"
#include "variables.h"

#include <QApplication>
#include <QCheckBox>
#include <QCollator>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QTimeEdit>
#include <QToolButton>

#include <algorithm>

namespace horaku
{

namespace
{

constexpr QSize kTailleClient{558, 400};
constexpr int kHauteurPanel = 58;
const QString kQuestionAnnuler = QStringLiteral(
    "Vous avez modifié cet emploi du temps.\nEtes-vous certain de vouloir annuler ces "
    "modifications ?");

// Blanks only, as the stored texts count them: a no-break space is a
// character the user meant.
QString SansBlancs(const QString& texte)
{
    qsizetype debut = 0;
    qsizetype fin = texte.size();
    while (debut < fin && texte.at(debut) == u' ')
        ++debut;
    while (fin > debut && texte.at(fin - 1) == u' ')
        --fin;
    return texte.mid(debut, fin - debut);
}

} // namespace

bool AvantDansListe(const QString& a, const QString& b)
{
    static const QCollator collation = [] {
        QCollator c(QLocale(QLocale::French, QLocale::France));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collation.compare(a, b) < 0;
}

TFiche_Donnees::TFiche_Donnees(QWidget* proprietaire, REdt& edt, Services& services)
    : QDialog(proprietaire, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      edt_(edt), services_(services)
{
    setObjectName(QStringLiteral("Fiche_Donnees"));
    setWindowTitle(QStringLiteral("Données"));
    setFont(PoliceFiche());
    setFixedSize(kTailleClient);

    Sauvegarde.Copier(edt_);

    CreerJours();
    CreerGroupes();
    CreerChoixSequences();
    CreerGrille();
    CreerPickers();
    CreerBoutonsSequence();
    CreerDuree();
    CreerBas();

    BtnEnregistrer->setEnabled(!edt_.Fichier.empty());
    LJours->setText(Texte1252(edt_.Libelles[LibJours].Libelle));
    LJours->adjustSize();
    {
        const QSignalBlocker bloque(CkLBJours);
        for (int i = 0; i < kNbJours; ++i) {
            const RJour& jour = edt_.Jours[static_cast<std::size_t>(i)];
            auto* item = new QListWidgetItem(Texte1252(jour.Nom), CkLBJours);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(jour.Affiche != 0 ? Qt::Checked : Qt::Unchecked);
        }
    }
    RemplirJours();

    for (const RSemaine& semaine : edt_.Semaines)
        CBSem->addItem(Texte1252(semaine.Nom));
    CBSem->setCurrentIndex(0);
    SemaineCourante_ = 0;
    CBSem->setVisible(edt_.Semaines.size() >= 2);
    LabelSem->setVisible(edt_.Semaines.size() >= 2);

    for (int g = 0; g < kNbGroupes; ++g)
        CBGroupe->addItem(
            Texte1252(edt_.Libelles[static_cast<std::size_t>(LibGroupe1 + g)].Libelle));
    GroupeListe = -1;
    CBGroupe->setCurrentIndex(0);
    CBGroupeSelect();

    {
        const QSignalBlocker bloque(UDDureeSeq);
        UDDureeSeq->setValue(static_cast<int>(std::min<std::uint32_t>(edt_.DureeSeq, 999)));
    }

    CelluleHeure_ = {-1, -1};
    DTPHeure->setTime(QTime(0, 0));

    GridSeq->setRowCount(1);
    const QStringList titres = {QStringLiteral("Début"), QStringLiteral("Fin")};
    for (int c = 0; c < kColonnesGrille; ++c) {
        const QString titre =
            c < 2 ? titres[c] : Texte1252(edt_.Libelles[static_cast<std::size_t>(c - 1)].Libelle);
        auto* item = new QTableWidgetItem(titre);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        GridSeq->setItem(0, c, item);
    }
    GridSeq->resize(static_cast<int>(kColonnesGrille * (kLargeurColonne + kEpaisseurTrait + 0.5)),
                    GridSeq->height());

    JourCourant_ = -1;
    CBJourSelect();

    CBJour->setFocus(Qt::OtherFocusReason);
    const QWidget* reference = proprietaire ? proprietaire : this;
    if (const QScreen* ecran = reference->screen())
        move(ecran->availableGeometry().center() - rect().center());
}

TFiche_Donnees::~TFiche_Donnees()
{
    // The grid's model outlives this part of the dialog and says it is reset
    // while the children are deleted: nothing here must hear it then.
    GridSeq->model()->disconnect(this);
}

void TFiche_Donnees::CreerJours()
{
    LJours = new QLabel(QStringLiteral("Jours"), this);
    LJours->setObjectName(QStringLiteral("LJours"));
    LJours->move(10, 11);

    CkLBJours = new QListWidget(this);
    CkLBJours->setObjectName(QStringLiteral("CkLBJours"));
    CkLBJours->setGeometry(10, 27, 153, 97);
    connect(CkLBJours, &QListWidget::itemChanged, this,
            [this](QListWidgetItem*) { Protege([this] { CkLBJoursClickCheck(); }); });
}

void TFiche_Donnees::CreerGroupes()
{
    Label1 = new QLabel(QStringLiteral("Groupe de données"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(10, 144);

    CBGroupe = new QComboBox(this);
    CBGroupe->setObjectName(QStringLiteral("CBGroupe"));
    CBGroupe->setGeometry(10, 159, 145, 21);
    CBGroupe->setToolTip(QStringLiteral(
        "Sélectionnez le groupe dont vous voulez\r\nafficher ou modifier les données"));
    connect(CBGroupe, &QComboBox::activated, this,
            [this](int) { Protege([this] { CBGroupeSelect(); }); });

    LDonnees = new QLabel(QStringLiteral("Données"), this);
    LDonnees->setObjectName(QStringLiteral("LDonnees"));
    LDonnees->setGeometry(10, 185, 145, 14);

    // An edit field with its list always open below it.
    CBListeDonnees = new QWidget(this);
    CBListeDonnees->setObjectName(QStringLiteral("CBListeDonnees"));
    CBListeDonnees->setGeometry(10, 200, 145, 121);
    CBListeDonnees->setToolTip(
        QStringLiteral("Ajouter : texte puis  RETURN\r\nSupprimer : touche Suppr (Del)"));
    EListeDonnees = new QLineEdit(CBListeDonnees);
    EListeDonnees->setObjectName(QStringLiteral("EListeDonnees"));
    EListeDonnees->setGeometry(0, 0, 145, 21);
    Limiter1252(EListeDonnees);
    LBListeDonnees = new QListWidget(CBListeDonnees);
    LBListeDonnees->setObjectName(QStringLiteral("LBListeDonnees"));
    LBListeDonnees->setGeometry(0, 21, 145, 100);
    LBListeDonnees->setSelectionMode(QAbstractItemView::SingleSelection);
    for (QWidget* partie :
         {static_cast<QWidget*>(EListeDonnees), static_cast<QWidget*>(LBListeDonnees)}) {
        partie->setToolTip(CBListeDonnees->toolTip());
        partie->installEventFilter(this);
    }
    // A chosen value shows in the edit field; typing forgets the choice, so
    // that Delete never removes a value the user no longer looks at.
    connect(LBListeDonnees, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { EListeDonnees->setText(item->text()); });
    connect(EListeDonnees, &QLineEdit::textEdited, this, [this] {
        LBListeDonnees->clearSelection();
        LBListeDonnees->setCurrentItem(nullptr);
    });
}

void TFiche_Donnees::CreerChoixSequences()
{
    Label2 = new QLabel(QStringLiteral("Séquences du"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->move(176, 11);

    CBJour = new QComboBox(this);
    CBJour->setObjectName(QStringLiteral("CBJour"));
    CBJour->setGeometry(176, 27, 145, 21);
    CBJour->setToolTip(QStringLiteral("Sélection du jour à afficher"));
    connect(CBJour, &QComboBox::activated, this,
            [this](int) { Protege([this] { CBJourSelect(); }); });

    LabelSem = new QLabel(QStringLiteral("Semaine"), this);
    LabelSem->setObjectName(QStringLiteral("LabelSem"));
    LabelSem->move(327, 11);

    CBSem = new QComboBox(this);
    CBSem->setObjectName(QStringLiteral("CBSem"));
    CBSem->setGeometry(327, 27, 106, 21);
    connect(CBSem, &QComboBox::activated, this,
            [this](int) { Protege([this] { CBSemSelect(); }); });
}

void TFiche_Donnees::CreerDuree()
{
    CBUtiliserListesDeroulantes =
        new QCheckBox(QStringLiteral("Utiliser les listes de données"), this);
    CBUtiliserListesDeroulantes->setObjectName(QStringLiteral("CBUtiliserListesDeroulantes"));
    CBUtiliserListesDeroulantes->move(176, 296);
    CBUtiliserListesDeroulantes->adjustSize();
    CBUtiliserListesDeroulantes->setToolTip(
        QStringLiteral("Inscription des données dans la grille directement\r\nou par listes "
                       "déroulantes"));

    Label3 = new QLabel(QStringLiteral("Durée habituelle d'une séquence (mn)   "), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->move(176, 320);

    // The edit and its up-down make one spin box; the edit keeps its own
    // name so the rules on leaving it read as they are written.
    UDDureeSeq = new QSpinBox(this);
    UDDureeSeq->setObjectName(QStringLiteral("UDDureeSeq"));
    UDDureeSeq->setGeometry(364, 314, 29 + 17, 21);
    UDDureeSeq->setRange(1, 999);
    UDDureeSeq->setWrapping(false);
    UDDureeSeq->setToolTip(QStringLiteral("Durée en minutes (1 à 999)"));
    UDDureeSeq->installEventFilter(this);
    EDureeSeq = UDDureeSeq->findChild<QLineEdit*>();
    EDureeSeq->setObjectName(QStringLiteral("EDureeSeq"));
    EDureeSeq->setToolTip(UDDureeSeq->toolTip());
    connect(EDureeSeq, &QLineEdit::textEdited, this, [this] { dureeTapee_ = true; });
    connect(UDDureeSeq, &QSpinBox::valueChanged, this,
            [this](int) { Protege([this] { UDDureeSeqClick(); }); });
}

void TFiche_Donnees::CreerBas()
{
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, kTailleClient.height() - kHauteurPanel, kTailleClient.width(),
                        kHauteurPanel);
    static_cast<QFrame*>(Panel1)->setFrameShape(QFrame::StyledPanel);
    // The time refusals: in the free left end of the band, beside the buttons.
    LAvertissement->setParent(Panel1);
    LAvertissement->setGeometry(10, 4, 190, kHauteurPanel - 8);

    const auto bouton = [this](const char* nom, const QString& texte, int x) {
        auto* b = new QPushButton(texte, Panel1);
        b->setObjectName(QString::fromLatin1(nom));
        b->setGeometry(x, 17, 75, 25);
        // Enter in a field of the dialog never closes it by surprise.
        b->setAutoDefault(false);
        return b;
    };
    BtnEnregistrer = bouton("BtnEnregistrer", QStringLiteral("Enregistrer"), 208);
    BtnEnregistrer->setToolTip(QStringLiteral("Enregistre le fichier de l'emploi du temps"));
    connect(BtnEnregistrer, &QPushButton::clicked, this,
            [this] { Protege([this] { BtnEnregistrerClick(); }); });
    BtnOK = bouton("BtnOK", QStringLiteral("OK"), 295);
    BtnOK->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    BtnAnnuler = bouton("BtnAnnuler", QStringLiteral("Annuler"), 382);
    connect(BtnAnnuler, &QPushButton::clicked, this, &QDialog::reject);
    BtnAide = bouton("BtnAide", QStringLiteral("&Aide"), 468);
    BtnAide->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    connect(BtnAide, &QPushButton::clicked, this, [this] { Protege([this] { BtnAideClick(); }); });
}

bool TFiche_Donnees::eventFilter(QObject* objet, QEvent* evenement)
{
    const QEvent::Type sorte = evenement->type();
    const bool touche = sorte == QEvent::KeyPress;
    const int code = touche ? static_cast<QKeyEvent*>(evenement)->key() : 0;
    const bool entree = code == Qt::Key_Return || code == Qt::Key_Enter;
    bool sortie = false;
    if (sorte == QEvent::FocusOut && !fermee_) {
        // Only a focus that goes to another control counts, not the window
        // losing the keyboard to a message box or a list popping up.
        const Qt::FocusReason raison = static_cast<QFocusEvent*>(evenement)->reason();
        sortie = raison != Qt::ActiveWindowFocusReason && raison != Qt::PopupFocusReason;
    }

    if (objet == DTPHeure) {
        if (touche && code == Qt::Key_Escape) {
            // Escape leaves the picker, the cell's time unchanged; the
            // dialog stays open.
            Protege([this] { AnnulerHeure(); });
            return true;
        }
        if (touche) {
            Protege([&] { DTPHeureKeyDown(code); });
            if (entree) return true;
            const QString texte = static_cast<QKeyEvent*>(evenement)->text();
            if (texte.size() == 1 && (texte[0].isDigit() || texte[0] == QLatin1Char(':'))) {
                Protege([&] { TaperHeure(texte[0]); });
                return true;
            }
            heureTapee_.clear();
        } else if (sortie) {
            Protege([this] { DTPHeureExit(); });
        }
    } else if (objet == CBDonnees || (CBDonnees && objet == CBDonnees->lineEdit())) {
        if (touche && entree) {
            Protege([&] { CBDonneesKeyDown(code); });
            return true;
        }
        if (sortie && !CBDonnees->isAncestorOf(QApplication::focusWidget()) &&
            QApplication::focusWidget() != CBDonnees)
            Protege([this] { CBDonneesExit(); });
    } else if (objet == EListeDonnees || objet == LBListeDonnees) {
        if (touche) {
            bool garde = false;
            Protege([&] { garde = CBListeDonneesKeyDown(code); });
            if (garde) return true;
        } else if (sortie && !CBListeDonnees->isAncestorOf(QApplication::focusWidget())) {
            Protege([this] { CBListeDonneesExit(); });
        }
    } else if (objet == UDDureeSeq) {
        // Before the spin box's own reading of its text, which would put
        // back the last value instead of following the rules below.
        if (sortie) Protege([this] { EDureeSeqExit(); });
    }
    return QDialog::eventFilter(objet, evenement);
}

void TFiche_Donnees::RemplirJours()
{
    const QSignalBlocker bloque(CBJour);
    CBJour->clear();
    for (int i = 0; i < kNbJours; ++i)
        if (CkLBJours->item(i)->checkState() == Qt::Checked)
            CBJour->addItem(QString::fromLatin1(kNomsJours[i]));
    CBJour->setCurrentIndex(CBJour->count() > 0 ? 0 : -1);
    const bool actif = CBJour->count() > 0;
    CBJour->setEnabled(actif);
    CBSem->setEnabled(actif);
}

void TFiche_Donnees::CBJourSelect()
{
    FinEdition();
    if (edt_.EdtModifie) SauverGrille(JourCourant_, CBSem->currentIndex());
    ViderGrille();
    JourCourant_ = -1;
    for (int i = 0; i < kNbJours; ++i)
        if (Texte1252(edt_.Jours[static_cast<std::size_t>(i)].Nom) == CBJour->currentText() &&
            CBJour->currentIndex() >= 0) {
            JourCourant_ = i;
            break;
        }
    if (JourCourant_ >= 0) ChargerGrille(JourCourant_, CBSem->currentIndex());
    EtatBoutons();
    GridSeq->setFocus(Qt::OtherFocusReason);
}

void TFiche_Donnees::CBSemSelect()
{
    FinEdition();
    if (edt_.EdtModifie) SauverGrille(JourCourant_, SemaineCourante_);
    ViderGrille();
    const int semaine = CBSem->currentIndex();
    if (JourCourant_ >= 0) ChargerGrille(JourCourant_, semaine);
    SemaineCourante_ = semaine;
    EtatBoutons();
    GridSeq->setFocus(Qt::OtherFocusReason);
}

void TFiche_Donnees::CkLBJoursClickCheck()
{
    DTPHeure->hide();
    CBDonnees->hide();
    GridSeq->FermerEditeur();
    SauverGrille(JourCourant_, CBSem->currentIndex());
    Modifie();
    for (int i = 0; i < kNbJours; ++i)
        edt_.Jours[static_cast<std::size_t>(i)].Affiche =
            CkLBJours->item(i)->checkState() == Qt::Checked ? 1 : 0;
    RemplirJours();
    JourCourant_ = -1;
    CBJourSelect();
}

void TFiche_Donnees::CBGroupeSelect()
{
    DTPHeure->hide();
    CBDonnees->hide();
    const int groupe = CBGroupe->currentIndex();
    if (groupe >= 0 && groupe < kNbGroupes)
        ChargerListe(edt_.ListesDonnees[static_cast<std::size_t>(groupe)]);
    LDonnees->setText(CBGroupe->currentText());
    GroupeListe = groupe;
    EListeDonnees->setFocus(Qt::OtherFocusReason);
}

void TFiche_Donnees::ChargerListe(const std::vector<std::string>& valeurs)
{
    QStringList textes;
    textes.reserve(static_cast<qsizetype>(valeurs.size()));
    for (const std::string& v : valeurs)
        textes << Texte1252(v);
    std::stable_sort(textes.begin(), textes.end(), AvantDansListe);
    LBListeDonnees->clear();
    LBListeDonnees->addItems(textes);
}

void TFiche_Donnees::SauverListe(std::vector<std::string>& valeurs) const
{
    valeurs.resize(static_cast<std::size_t>(LBListeDonnees->count()));
    for (int i = 0; i < LBListeDonnees->count(); ++i)
        valeurs[static_cast<std::size_t>(i)] = Octets1252(LBListeDonnees->item(i)->text());
}

void TFiche_Donnees::AjouterALaListe(const QString& texte)
{
    int place = LBListeDonnees->count();
    for (int i = 0; i < LBListeDonnees->count(); ++i)
        if (AvantDansListe(texte, LBListeDonnees->item(i)->text())) {
            place = i;
            break;
        }
    LBListeDonnees->insertItem(place, texte);
}

bool TFiche_Donnees::CBListeDonneesKeyDown(int touche)
{
    DTPHeure->hide();
    CBDonnees->hide();
    if (touche == Qt::Key_Return || touche == Qt::Key_Enter) {
        const QString texte = SansBlancs(EListeDonnees->text());
        EListeDonnees->setText(texte);
        if (texte.isEmpty()) return true;
        bool present = false;
        for (int i = 0; i < LBListeDonnees->count() && !present; ++i)
            present = LBListeDonnees->item(i)->text().compare(texte, Qt::CaseInsensitive) == 0;
        if (!present) {
            AjouterALaListe(texte);
            Modifie();
        }
        EListeDonnees->clear();
        return true;
    }
    if (touche == Qt::Key_Delete) {
        QListWidgetItem* choisi = LBListeDonnees->currentItem();
        if (choisi && choisi->isSelected()) {
            delete choisi;
            LBListeDonnees->setCurrentItem(nullptr);
            Modifie();
        }
        EListeDonnees->clear();
        return true;
    }
    return false;
}

void TFiche_Donnees::CBListeDonneesExit()
{
    if (fermee_) return;
    if (edt_.EdtModifie && GroupeListe >= 0 && GroupeListe < kNbGroupes)
        SauverListe(edt_.ListesDonnees[static_cast<std::size_t>(GroupeListe)]);
}

void TFiche_Donnees::BtnEnregistrerClick()
{
    if (edt_.EdtModifie) SauverGrille(JourCourant_, SemaineCourante_);
    if (edt_.EdtModifie && !edt_.Fichier.empty()) edt_.Enregistrer();
}

void TFiche_Donnees::BtnAideClick()
{
    HtmlHelp(nullptr, QStringLiteral("Horaku.chm::/Donnees.html"), CommandeAide::AfficherSommaire,
             0);
}

bool TFiche_Donnees::FormCloseQuery(int resultat)
{
    if (edt_.EdtModifie) {
        // A list typed into and left by Escape has not been stored yet.
        CBListeDonneesExit();
        CBGroupeSelect();
        SauverGrille(JourCourant_, CBSem->currentIndex());
    }
    if (resultat == QDialog::Rejected && edt_.EdtModifie) {
        if (services_.Demander(this, {kQuestionAnnuler, QMessageBox::Yes | QMessageBox::No,
                                      QMessageBox::Warning}) != QMessageBox::Yes)
            return false;
        fermee_ = true;
        edt_.Copier(Sauvegarde);
        ViderGrille();
        return true;
    }
    fermee_ = true;
    ViderGrille();
    return true;
}

void TFiche_Donnees::done(int resultat)
{
    bool fermer = false;
    Protege([&] { fermer = FormCloseQuery(resultat); });
    if (fermer) QDialog::done(resultat);
}

} // namespace horaku
