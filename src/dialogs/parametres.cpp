#include "parametres.h"

#include "aide.h"
#include "definirmotdepasse.h"
#include "dessin.h"
#include "erreurs.h"
#include "fiche.h"
#include "saisie.h"
#include "services.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>

#include <functional>

using namespace horaku;

namespace horaku
{

// Editors of both grids take only what a line of the file can hold; the
// colour column shows its colour, the sample column draws each sample in its
// row's own font.
class DelegueGrille final : public QStyledItemDelegate
{
public:
    enum Sorte { Couleurs, Exemples };

    DelegueGrille(Sorte sorte, QObject* parent) : QStyledItemDelegate(parent), sorte_(sorte) {}

    std::function<void()> siSaisie;                 // a key typed in an editor
    std::function<const RPolice*(int)> policeLigne; // the font of a table row

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override
    {
        auto* editeur = new QLineEdit(parent);
        editeur->setFrame(false);
        Limiter1252(editeur);
        if (siSaisie) QObject::connect(editeur, &QLineEdit::textEdited, editeur, siSaisie);
        editeur_ = editeur;
        return editeur;
    }

    void paint(QPainter* peintre, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        if (index.column() != 1) {
            QStyledItemDelegate::paint(peintre, option, index);
            return;
        }
        if (sorte_ == Couleurs) {
            QStyledItemDelegate::paint(peintre, option, index);
            peintre->fillRect(option.rect, CouleurQt(index.data(Qt::UserRole).toInt()));
            return;
        }
        const RPolice* police = policeLigne ? policeLigne(index.row()) : nullptr;
        peintre->save();
        peintre->fillRect(option.rect, option.palette.color(QPalette::Base));
        if (police) {
            RPolice droite = *police;
            droite.Orientation = 0;
            const QFont f = PoliceQt(droite);
            peintre->setFont(f);
            peintre->setPen(CouleurQt(police->Couleur));
            peintre->setClipRect(option.rect);
            const QFontMetrics fm(f);
            peintre->drawText(option.rect.left() + 4, option.rect.top() + 2 + fm.ascent(),
                              index.data(Qt::DisplayRole).toString());
        }
        peintre->restore();
    }

    void destroyEditor(QWidget* editeur, const QModelIndex& index) const override
    {
        if (editeur == editeur_.data()) editeur_ = nullptr;
        QStyledItemDelegate::destroyEditor(editeur, index);
    }

    // The text being typed goes into its cell: OK must apply what the user sees.
    void Valider()
    {
        if (QLineEdit* e = editeur_.data()) {
            emit commitData(e);
            emit closeEditor(e, QAbstractItemDelegate::NoHint);
        }
    }

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override
    {
        // Enter ends the typing in the cell; it does not also press OK.
        if (evenement->type() == QEvent::KeyPress && objet == editeur_.data()) {
            const int touche = static_cast<QKeyEvent*>(evenement)->key();
            if (touche == Qt::Key_Return || touche == Qt::Key_Enter) {
                Valider();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(objet, evenement);
    }

private:
    Sorte sorte_;
    mutable QPointer<QLineEdit> editeur_;
};

} // namespace horaku

namespace
{

// Places in the 417 × 417 client area.
constexpr QSize kTaille{417, 417};
constexpr QPoint kLabel9{8, 9};
constexpr QRect kLFichier{56, 9, 353, 14};
constexpr QPoint kLTitre{7, 28};
constexpr QRect kETitre{8, 44, 401, 21};
constexpr QPoint kLabel1{10, 78};
constexpr QRect kENbSem{106, 71, 20, 21};
constexpr QRect kUDSem{126, 71, 15, 21};
constexpr QRect kGrilleSemaines{10, 96, 185, 65};
constexpr int kColonneSemaine = 108;
constexpr int kHautLigneSemaine = 18;
constexpr QPoint kLabel8{10, 170};
constexpr QRect kGrilleLibelles{10, 187, 185, 158};
constexpr int kColonneLibelle = 89;
constexpr int kHautLigneLibelle = 25;
constexpr int kHautTitreGrille = 18;
constexpr QRect kCBDefautEdT{232, 120, 175, 17};
constexpr QRect kBtnMotPasse{255, 75, 105, 25};
constexpr int kHautPanel1 = 58;
constexpr QRect kBtnOK{151, 17, 75, 25};
constexpr QRect kBitBtn1{238, 17, 75, 25};
constexpr QRect kBtnAide{324, 17, 75, 25};

const QString kQuestionAnnuler =
    QStringLiteral("Vous avez modifié cet emploi du temps.\n"
                   "Etes-vous certain de vouloir annuler ces modifications ?");
const QString kMessageSansNom =
    QStringLiteral("Un type de semaine n'a pas de nom, donnez-lui un nom.");
const QString kMessageIncomplet =
    QStringLiteral("Un type de données (libellé ou exemple) est incomplet. Complétez-le.");
const QString kMessageNombre =
    QStringLiteral("Le nombre de types de semaines doit être compris entre 1 et 52.");

// A small padlock for the password button.
QIcon IconeCadenas()
{
    QPixmap p(16, 16);
    p.fill(Qt::transparent);
    QPainter peintre(&p);
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setPen(QPen(QColor(90, 90, 90), 2));
    peintre.drawArc(QRectF(4, 1, 8, 10), 0, 180 * 16);
    peintre.drawLine(QPointF(4, 6), QPointF(4, 8));
    peintre.drawLine(QPointF(12, 6), QPointF(12, 8));
    peintre.setPen(QColor(120, 90, 0));
    peintre.setBrush(QColor(230, 180, 40));
    peintre.drawRoundedRect(QRectF(2.5, 7.5, 11, 8), 1.5, 1.5);
    return QIcon(p);
}

QTableWidget* NouvelleGrille(QWidget* parent, const char* nom, QRect place, int ligne)
{
    auto* grille = new QTableWidget(parent);
    grille->setObjectName(QString::fromLatin1(nom));
    grille->setGeometry(place);
    grille->setColumnCount(2);
    grille->verticalHeader()->hide();
    grille->verticalHeader()->setMinimumSectionSize(8);
    grille->verticalHeader()->setDefaultSectionSize(ligne);
    grille->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grille->horizontalHeader()->setFixedHeight(kHautTitreGrille);
    grille->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grille->horizontalHeader()->setHighlightSections(false);
    // Column 1 always fills what column 0 leaves: no sideways scrolling.
    grille->horizontalHeader()->setStretchLastSection(true);
    grille->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grille->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grille->setSelectionMode(QAbstractItemView::SingleSelection);
    grille->setSelectionBehavior(QAbstractItemView::SelectItems);
    grille->setShowGrid(true);
    grille->setTabKeyNavigation(false);
    return grille;
}

} // namespace

TFiche_Parametres::TFiche_Parametres(QWidget* proprietaire, REdt& edt, RConfig& config,
                                     Services& services)
    : QDialog(proprietaire, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      edt_(edt), config_(config), services_(services)
{
    setObjectName(QStringLiteral("Fiche_Parametres"));
    setWindowTitle(QStringLiteral("Paramètres de l'emploi du temps"));
    setFont(PoliceFiche());
    setFixedSize(kTaille);

    Sauvegarde.Copier(edt_);

    CreerFichierEtTitre();
    CreerSemaines();
    CreerLibelles();
    CreerDefautEtMotDePasse();
    CreerBoutons();
    Remplir();
}

TFiche_Parametres::~TFiche_Parametres()
{
    if (edt_.HeuresVerticales) edt_.OrienterHeures(true);
}

template <typename Fonction> void TFiche_Parametres::Protege(Fonction&& fonction)
{
    try {
        fonction();
    } catch (...) {
        services_.MontrerException(this);
    }
}

void TFiche_Parametres::CreerFichierEtTitre()
{
    Label9 = new QLabel(QStringLiteral("Fichier :   "), this);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label9->move(kLabel9);
    Label9->adjustSize();
    LFichier = new QLabel(this);
    LFichier->setObjectName(QStringLiteral("LFichier"));
    LFichier->setGeometry(kLFichier);

    LTitre = new QLabel(QStringLiteral("Titre"), this);
    LTitre->setObjectName(QStringLiteral("LTitre"));
    LTitre->move(kLTitre);
    LTitre->adjustSize();
    ETitre = new QLineEdit(this);
    ETitre->setObjectName(QStringLiteral("ETitre"));
    ETitre->setGeometry(kETitre);
    Limiter1252(ETitre);
    connect(ETitre, &QLineEdit::textEdited, this, [this] { ETitreChange(); });
}

void TFiche_Parametres::CreerSemaines()
{
    Label1 = new QLabel(QStringLiteral("Types de semaines"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(kLabel1);
    Label1->adjustSize();

    ENbSem = new QLineEdit(this);
    ENbSem->setObjectName(QStringLiteral("ENbSem"));
    ENbSem->setGeometry(kENbSem);
    ENbSem->setTextMargins(0, 0, 0, 0);
    Limiter1252(ENbSem);
    ENbSem->installEventFilter(this);
    connect(ENbSem, &QLineEdit::textChanged, this,
            [this](const QString& texte) { Protege([&] { ENbSemChange(texte); }); });

    // The up-down beside the count: two arrows that step it within 1…52.
    UDSem = new QWidget(this);
    UDSem->setObjectName(QStringLiteral("UDSem"));
    UDSem->setGeometry(kUDSem);
    UDSem->setToolTip(
        QStringLiteral("Indiquez ici le nombre de types de semaines dans l'emploi du temps"));
    const int moitie = kUDSem.height() / 2;
    const auto fleche = [this](const char* nom, Qt::ArrowType sens, QRect place, int pas) {
        auto* b = new QToolButton(UDSem);
        b->setObjectName(QString::fromLatin1(nom));
        b->setArrowType(sens);
        b->setGeometry(place);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setToolTip(UDSem->toolTip());
        connect(b, &QToolButton::clicked, this, [this, pas] { PasUDSem(pas); });
        return b;
    };
    UDSemHaut = fleche("UDSemHaut", Qt::UpArrow, {0, 0, kUDSem.width(), moitie}, +1);
    UDSemBas = fleche("UDSemBas", Qt::DownArrow,
                      {0, moitie, kUDSem.width(), kUDSem.height() - moitie}, -1);

    GrilleSemaines = NouvelleGrille(this, "GrilleSemaines", kGrilleSemaines, kHautLigneSemaine);
    GrilleSemaines->setColumnWidth(0, kColonneSemaine);
    GrilleSemaines->setHorizontalHeaderLabels(
        {QStringLiteral("Semaine"), QStringLiteral("Couleur")});
    GrilleSemaines->setToolTip(
        QStringLiteral("Clic gauche dans la colonne Semaine\nDouble-clic dans la colonne Couleur"));
    GrilleSemaines->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
        QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    delegueSemaines_ = new DelegueGrille(DelegueGrille::Couleurs, GrilleSemaines);
    delegueSemaines_->siSaisie = [this] { ModificationEdt(); };
    GrilleSemaines->setItemDelegate(delegueSemaines_);
    connect(GrilleSemaines, &QTableWidget::cellDoubleClicked, this,
            [this](int l, int c) { Protege([&] { GrilleSemainesDblClick(l, c); }); });
}

void TFiche_Parametres::CreerLibelles()
{
    Label8 = new QLabel(QStringLiteral("Groupes de données"), this);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->move(kLabel8);
    Label8->adjustSize();

    GrilleLibelles = NouvelleGrille(this, "GrilleLibelles", kGrilleLibelles, kHautLigneLibelle);
    GrilleLibelles->setColumnWidth(0, kColonneLibelle);
    GrilleLibelles->setHorizontalHeaderLabels(
        {QStringLiteral("Libellé"), QStringLiteral("Caractères")});
    // Rows that may be typed into are told by their cells' flags.
    GrilleLibelles->setEditTriggers(QAbstractItemView::SelectedClicked |
                                    QAbstractItemView::EditKeyPressed |
                                    QAbstractItemView::AnyKeyPressed);
    delegueLibelles_ = new DelegueGrille(DelegueGrille::Exemples, GrilleLibelles);
    delegueLibelles_->siSaisie = [this] { ModificationEdt(); };
    delegueLibelles_->policeLigne = [this](int ligne) -> const RPolice* {
        return ligne >= 0 && ligne < int(polices_.size()) ? &polices_[std::size_t(ligne)] : nullptr;
    };
    GrilleLibelles->setItemDelegate(delegueLibelles_);
    connect(GrilleLibelles, &QTableWidget::cellDoubleClicked, this,
            [this](int l, int c) { Protege([&] { GrilleLibellesDblClick(l, c); }); });
}

void TFiche_Parametres::CreerDefautEtMotDePasse()
{
    CBDefautEdT = new QCheckBox(QStringLiteral("Emploi du temps par défaut"), this);
    CBDefautEdT->setObjectName(QStringLiteral("CBDefautEdT"));
    CBDefautEdT->setGeometry(kCBDefautEdT);
    // Kept for the status line, never shown as a bubble.
    CBDefautEdT->setStatusTip(
        QStringLiteral("Emploi du temps automatiquement chargé au lancement du logiciel"));
    connect(CBDefautEdT, &QCheckBox::clicked, this, [this] { CBDefautEdTClick(); });

    BtnMotPasse = new QPushButton(IconeCadenas(), QStringLiteral("Mot de passe"), this);
    BtnMotPasse->setObjectName(QStringLiteral("BtnMotPasse"));
    BtnMotPasse->setGeometry(kBtnMotPasse);
    BtnMotPasse->setAutoDefault(false);
    BtnMotPasse->setToolTip(
        QStringLiteral("Protection des données de la réunion par mot de passe"));
    connect(BtnMotPasse, &QPushButton::clicked, this,
            [this] { Protege([this] { BtnMotPasseClick(); }); });
}

void TFiche_Parametres::CreerBoutons()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, kTaille.height() - kHautPanel1, kTaille.width(), kHautPanel1);
    const auto bouton = [this](const char* nom, QStyle::StandardPixmap icone, const QString& texte,
                               QRect place) {
        auto* b = new QPushButton(style()->standardIcon(icone), texte, Panel1);
        b->setObjectName(QString::fromLatin1(nom));
        b->setGeometry(place);
        b->setAutoDefault(false);
        return b;
    };
    BtnOK = bouton("BtnOK", QStyle::SP_DialogOkButton, QStringLiteral("OK"), kBtnOK);
    BtnOK->setDefault(true);
    BitBtn1 = bouton("BitBtn1", QStyle::SP_DialogCancelButton, QStringLiteral("Annuler"), kBitBtn1);
    BtnAide = bouton("BtnAide", QStyle::SP_DialogHelpButton, QStringLiteral("&Aide"), kBtnAide);
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnAide, &QPushButton::clicked, this, [this] { BtnAideClick(); });

    setTabOrder(ETitre, ENbSem);
    setTabOrder(ENbSem, GrilleSemaines);
    setTabOrder(GrilleSemaines, GrilleLibelles);
    setTabOrder(GrilleLibelles, BtnMotPasse);
    setTabOrder(BtnMotPasse, CBDefautEdT);
    setTabOrder(CBDefautEdT, BtnOK);
    setTabOrder(BtnOK, BitBtn1);
    setTabOrder(BitBtn1, BtnAide);
}

void TFiche_Parametres::Remplir()
{
    remplissage_ = true;
    const QString fichier = QString::fromStdString(edt_.Fichier);
    LFichier->setText(
        LFichier->fontMetrics().elidedText(fichier, Qt::ElideMiddle, kLFichier.width()));
    LFichier->setToolTip(fichier);
    ETitre->setText(Texte1252(edt_.Titre));

    // Only a timetable that has a file can be the one opened at start-up:
    // with none, the box would name an empty path and forget the default.
    CBDefautEdT->setEnabled(!edt_.Fichier.empty());
    CBDefautEdT->setChecked(!edt_.Fichier.empty() && config_.EdtDefaut == edt_.Fichier);

    const int semaines = int(edt_.Semaines.size());
    ENbSem->setText(QString::number(semaines));
    GrilleSemaines->setRowCount(semaines);
    for (int w = 0; w < semaines; ++w)
        DefinirLigneSemaine(w, Texte1252(edt_.Semaines[std::size_t(w)].Nom),
                            edt_.Semaines[std::size_t(w)].Couleur);

    // The hour labels' font is drawn turned; here it is shown and edited upright.
    if (edt_.HeuresVerticales) edt_.OrienterHeures(false);
    GrilleLibelles->setRowCount(kLignesLibelles);
    polices_.clear();
    for (int s = 0; s < kLignesLibelles; ++s) {
        const RLibel& libel = edt_.Libelles[std::size_t(s)];
        const bool saisissable = s >= LibGroupe1 && s < LibGroupe1 + kNbGroupes;
        const Qt::ItemFlags drapeaux = Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                                       (saisissable ? Qt::ItemIsEditable : Qt::NoItemFlags);
        auto* libelle = new QTableWidgetItem(Texte1252(libel.Libelle));
        libelle->setFlags(drapeaux);
        auto* exemple = new QTableWidgetItem(Texte1252(libel.Exemple));
        exemple->setFlags(drapeaux);
        GrilleLibelles->setItem(s, 0, libelle);
        GrilleLibelles->setItem(s, 1, exemple);
        polices_.push_back(libel.Police);
    }
    remplissage_ = false;
}

void TFiche_Parametres::showEvent(QShowEvent* evenement)
{
    QDialog::showEvent(evenement);
    if (!montre_) {
        montre_ = true;
        if (const QScreen* ecran = screen())
            move(ecran->availableGeometry().center() - rect().center());
        ETitre->setFocus();
        FormShow();
    }
}

void TFiche_Parametres::FormShow()
{
    // A timetable never saved counts as changed: OK always validates and
    // applies it, and Cancel always asks.
    Modifie_ = edt_.Fichier.empty();
}

void TFiche_Parametres::DefinirLigneSemaine(int ligne, const QString& nom, std::int32_t couleur)
{
    auto* texte = new QTableWidgetItem(nom);
    texte->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
    auto* teinte = new QTableWidgetItem;
    teinte->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    teinte->setData(Qt::UserRole, couleur);
    GrilleSemaines->setItem(ligne, 0, texte);
    GrilleSemaines->setItem(ligne, 1, teinte);
}

std::int32_t TFiche_Parametres::CouleurLigne(int ligne) const
{
    const QTableWidgetItem* item = GrilleSemaines->item(ligne, 1);
    return item ? item->data(Qt::UserRole).toInt() : 0;
}

void TFiche_Parametres::DefinirLignesSemaines(int nombre)
{
    const int avant = GrilleSemaines->rowCount();
    for (int l = nombre; l < avant; ++l) {
        if (cachees_.size() <= std::size_t(l)) cachees_.resize(std::size_t(l) + 1);
        const QTableWidgetItem* nom = GrilleSemaines->item(l, 0);
        cachees_[std::size_t(l)] = {nom ? nom->text() : QString(), CouleurLigne(l)};
    }
    GrilleSemaines->setRowCount(nombre);
    for (int l = avant; l < nombre; ++l) {
        if (std::size_t(l) < cachees_.size())
            DefinirLigneSemaine(l, cachees_[std::size_t(l)].first, cachees_[std::size_t(l)].second);
        else
            DefinirLigneSemaine(l, QString(), 0);
    }
}

void TFiche_Parametres::ETitreChange()
{
    ModificationEdt();
}

void TFiche_Parametres::ENbSemChange(const QString& texte)
{
    if (remplissage_) return;
    const int montrees = GrilleSemaines->rowCount();
    bool ok = false;
    const int n = texte.trimmed().toInt(&ok, 10);
    if (!ok) throw ErreurEntier(Octets1252(texte));
    if (n < kSemainesMin || n > kSemainesMax) {
        // A timetable keeps 1 to 52 week types: the count goes back to the rows shown.
        services_.Demander(this, {kMessageNombre, QMessageBox::Ok, QMessageBox::Warning});
        const QSignalBlocker bloque(ENbSem);
        ENbSem->setText(QString::number(montrees));
        return;
    }
    // Rows are counted from 1 below the title row; the table's from 0.
    if (n < montrees) DefinirLigneSemaine(montrees - 1, QString(), 0);
    DefinirLignesSemaines(n);
    if (CouleurLigne(n - 1) == 0)
        DefinirLigneSemaine(n - 1, QStringLiteral("Sem %1").arg(n), kCouleurNouvelleSemaine);
    ModificationEdt();
}

void TFiche_Parametres::PasUDSem(int pas)
{
    bool ok = false;
    int position = ENbSem->text().trimmed().toInt(&ok, 10);
    if (!ok || position < kSemainesMin || position > kSemainesMax)
        position = GrilleSemaines->rowCount();
    const int suivante = qBound(kSemainesMin, position + pas, kSemainesMax);
    if (suivante != position || ENbSem->text() != QString::number(suivante))
        ENbSem->setText(QString::number(suivante));
}

bool TFiche_Parametres::eventFilter(QObject* objet, QEvent* evenement)
{
    // The arrow keys in the count step it like the up-down's arrows.
    if (objet == ENbSem && evenement->type() == QEvent::KeyPress) {
        const int touche = static_cast<QKeyEvent*>(evenement)->key();
        if (touche == Qt::Key_Up || touche == Qt::Key_Down) {
            PasUDSem(touche == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QDialog::eventFilter(objet, evenement);
}

void TFiche_Parametres::GrilleSemainesDblClick(int ligne, int colonne)
{
    if (colonne != 1 || ligne < 0) return;
    const std::optional<std::int32_t> couleur = services_.ChoisirCouleur(this, CouleurLigne(ligne));
    if (!couleur) return;
    GrilleSemaines->item(ligne, 1)->setData(Qt::UserRole, *couleur);
    ModificationEdt();
}

void TFiche_Parametres::GrilleLibellesDblClick(int ligne, int colonne)
{
    if (colonne != 1 || ligne < 0 || ligne >= int(polices_.size())) return;
    const std::optional<RPolice> police =
        services_.ChoisirPolice(this, polices_[std::size_t(ligne)]);
    if (police) polices_[std::size_t(ligne)] = *police;
    // Even a cancelled chooser counts as a change of the row's font.
    ModificationEdt();
    delegueLibelles_->Valider();
    GrilleLibelles->viewport()->update();
}

void TFiche_Parametres::CBDefautEdTClick()
{
    config_.ConfigModifiee = true;
}

void TFiche_Parametres::BtnMotPasseClick()
{
    std::string motDePasse = edt_.MotDePasse;
    TFiche_DefinirMotDePasse dialogue(this, motDePasse, services_);
    dialogue.move(pos() + QPoint(BtnMotPasse->x(), BtnMotPasse->y() + 4 * BtnMotPasse->height()));
    if (dialogue.exec() == QDialog::Accepted && motDePasse != edt_.MotDePasse) {
        edt_.MotDePasse = motDePasse;
        edt_.EdtModifie = true;
        ModificationEdt();
    }
}

void TFiche_Parametres::BtnAideClick()
{
    HtmlHelp(nullptr, QStringLiteral("Horaku.chm::/Parametres.html"),
             CommandeAide::AfficherSommaire, 0);
}

void TFiche_Parametres::ValiderEditeurs()
{
    delegueSemaines_->Valider();
    delegueLibelles_->Valider();
}

bool TFiche_Parametres::AppliquerParametres()
{
    ValiderEditeurs();
    const QString titre = ETitre->text().trimmed();
    ETitre->setText(titre);
    edt_.Titre = Octets1252(titre);

    // The new list is built aside: a refused name leaves the timetable's
    // week types and days in step until the user corrects or cancels.
    std::vector<RSemaine> semaines;
    for (int l = 0; l < GrilleSemaines->rowCount(); ++l) {
        QTableWidgetItem* item = GrilleSemaines->item(l, 0);
        const QString nom = item ? item->text().trimmed() : QString();
        if (nom.isEmpty()) {
            services_.Demander(this, {kMessageSansNom, QMessageBox::Ok, QMessageBox::Warning});
            GrilleSemaines->setFocus();
            GrilleSemaines->setCurrentCell(l, 0);
            return false;
        }
        item->setText(nom);
        semaines.push_back(RSemaine{Octets1252(nom), CouleurLigne(l)});
    }
    edt_.Semaines = std::move(semaines);
    edt_.AjusterSemaines();

    for (int l = 0; l < GrilleLibelles->rowCount(); ++l) {
        for (int c = 0; c < 2; ++c) {
            QTableWidgetItem* item = GrilleLibelles->item(l, c);
            const QString texte = item->text().trimmed();
            item->setText(texte);
            if (texte.isEmpty()) {
                services_.Demander(this,
                                   {kMessageIncomplet, QMessageBox::Ok, QMessageBox::Warning});
                GrilleLibelles->setFocus();
                GrilleLibelles->setCurrentCell(l, c);
                return false;
            }
        }
    }
    for (int l = 0; l < GrilleLibelles->rowCount(); ++l) {
        RLibel& libel = edt_.Libelles[std::size_t(l)];
        libel.Libelle = Octets1252(GrilleLibelles->item(l, 0)->text());
        libel.Exemple = Octets1252(GrilleLibelles->item(l, 1)->text());
        libel.Police = polices_[std::size_t(l)];
    }
    edt_.EdtModifie = true;
    return true;
}

bool TFiche_Parametres::FormCloseQuery(int resultat)
{
    if (resultat != QDialog::Accepted && Modifie_) {
        if (services_.Demander(this, {kQuestionAnnuler, QMessageBox::Yes | QMessageBox::No,
                                      QMessageBox::Warning}) != QMessageBox::Yes)
            return false;
        edt_.Copier(Sauvegarde);
        return true;
    }
    const bool peutFermer = !Modifie_ || AppliquerParametres();
    if (peutFermer && config_.ConfigModifiee && CBDefautEdT->isEnabled())
        config_.EdtDefaut = CBDefautEdT->isChecked() ? edt_.Fichier : std::string();
    return peutFermer;
}

void TFiche_Parametres::done(int resultat)
{
    bool peutFermer = false;
    Protege([&] { peutFermer = FormCloseQuery(resultat); });
    if (peutFermer) QDialog::done(resultat);
}
