// The sequence grid of the data-entry dialog: one row per sequence of the
// day and week type shown, row 0 a title row that is a real row of the table
// (it scrolls with the others and serves as the handle to resize columns).
// The two time cells of a row keep their time value in a data role of their
// item, so a row moved or deleted takes its times with it; their text is
// only ever drawn from that value.
#include "donnees.h"

#include "chevauchements.h"
#include "saisie.h"
#include "services.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTimeEdit>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace horaku
{

namespace
{

const QColor kVertMonnaie(192, 220, 192);
const QColor kBleuMarine(0, 0, 128);
const QColor kVertPale(238, 255, 225);
const QColor kJaunePale(255, 255, 225);
const QColor kBleuDebut(166, 202, 240);
const QColor kOrangeFin(255, 188, 155);
// How near a column's right edge the mouse must be, in the title row, to
// drag it.
constexpr int kPriseBord = 3;

QTime VersQTime(TDateTime t)
{
    const double ms = std::round(HeureDuJour(t) * 86'400'000.0);
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms) % 86'400'000);
}

QString TexteHeure(TDateTime t)
{
    return QString::fromLatin1(HeureMinuteVersTexte(t).c_str());
}

// Paints through the dialog and gives text cells a one-line editor that
// takes only what a .edt line can hold and hands every change to the dialog
// at once, so that the cell's text is always the editor's.
class DelegueGrille final : public QStyledItemDelegate
{
public:
    DelegueGrille(TFiche_Donnees& fiche, QObject* parent)
        : QStyledItemDelegate(parent), fiche_(fiche)
    {
    }

    void paint(QPainter* peintre, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        fiche_.GridSeqDrawCell(*peintre, index.column(), index.row(), option.rect,
                               option.state.testFlag(QStyle::State_Selected));
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override
    {
        auto* editeur = new QLineEdit(parent);
        editeur->setObjectName(QStringLiteral("EditeurGrille"));
        editeur->setFrame(false);
        Limiter1252(editeur);
        const int colonne = index.column();
        const int ligne = index.row();
        connect(editeur, &QLineEdit::textEdited, &fiche_,
                [this, colonne, ligne](const QString& texte) {
                    fiche_.GridSeqSetEditText(colonne, ligne, texte);
                });
        return editeur;
    }

    void setEditorData(QWidget* editeur, const QModelIndex& index) const override
    {
        auto* ligne = static_cast<QLineEdit*>(editeur);
        const QString texte = index.data(Qt::EditRole).toString();
        // The cell follows the editor key by key: rewriting the editor with
        // its own text would throw the cursor to the end.
        if (ligne->text() != texte) ligne->setText(texte);
    }

    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override
    {
        // Nothing left to write: GridSeqSetEditText kept the cell up to date.
    }

    void updateEditorGeometry(QWidget* editeur, const QStyleOptionViewItem& option,
                              const QModelIndex&) const override
    {
        editeur->setGeometry(option.rect);
    }

    // A row that overlaps another tells which; every other cell keeps the
    // grid's own hint.
    bool helpEvent(QHelpEvent* evenement, QAbstractItemView* vue,
                   const QStyleOptionViewItem& option, const QModelIndex& index) override
    {
        if (evenement->type() == QEvent::ToolTip) {
            const QString texte = fiche_.GridSeqChevauchements(index.row());
            if (!texte.isEmpty()) {
                QToolTip::showText(evenement->globalPos(), texte, vue);
                return true;
            }
        }
        return QStyledItemDelegate::helpEvent(evenement, vue, option, index);
    }

private:
    TFiche_Donnees& fiche_;
};

} // namespace

QString QuestionSuppression(TDateTime debut, TDateTime fin)
{
    return QStringLiteral("Suppression de la séquence ") + TexteHeure(debut) +
           QStringLiteral(" - ") + TexteHeure(fin) +
           QStringLiteral("\nCette suppression sera définitive.\n"
                          "Etes-vous sûr de vouloir continuer ? ");
}

void GrilleSequences::FermerEditeur()
{
    if (state() != EditingState) return;
    if (QWidget* editeur = indexWidget(currentIndex()))
        closeEditor(editeur, QAbstractItemDelegate::NoHint);
}

void GrilleSequences::keyPressEvent(QKeyEvent* evenement)
{
    // Enter ends nothing in the grid and must not reach the dialog, where it
    // would press a button behind the user's back.
    if (evenement->key() == Qt::Key_Return || evenement->key() == Qt::Key_Enter) {
        if (state() == EditingState) FermerEditeur();
        evenement->accept();
        return;
    }
    QTableWidget::keyPressEvent(evenement);
}

int GrilleSequences::BordDeColonne(QPoint point) const
{
    if (rowAt(point.y()) != 0) return -1;
    for (int c = 0; c < columnCount(); ++c) {
        const int bord = columnViewportPosition(c) + columnWidth(c);
        if (std::abs(point.x() - bord) <= kPriseBord) return c;
    }
    return -1;
}

void GrilleSequences::mousePressEvent(QMouseEvent* evenement)
{
    const int colonne = BordDeColonne(evenement->position().toPoint());
    if (evenement->button() == Qt::LeftButton && colonne >= 0) {
        colonneTiree_ = colonne;
        departTirage_ = evenement->position().toPoint().x() - columnWidth(colonne);
        evenement->accept();
        return;
    }
    QTableWidget::mousePressEvent(evenement);
}

void GrilleSequences::mouseMoveEvent(QMouseEvent* evenement)
{
    const QPoint point = evenement->position().toPoint();
    if (colonneTiree_ >= 0) {
        setColumnWidth(colonneTiree_, std::max(kPriseBord * 2, point.x() - departTirage_));
        evenement->accept();
        return;
    }
    if (BordDeColonne(point) >= 0)
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor();
    QTableWidget::mouseMoveEvent(evenement);
}

void GrilleSequences::mouseReleaseEvent(QMouseEvent* evenement)
{
    if (colonneTiree_ >= 0) {
        colonneTiree_ = -1;
        evenement->accept();
        return;
    }
    QTableWidget::mouseReleaseEvent(evenement);
}

void TFiche_Donnees::CreerGrille()
{
    GridSeq = new GrilleSequences(this);
    GridSeq->setObjectName(QStringLiteral("GridSeq"));
    GridSeq->setGeometry(176, 48, 320, 241);
    GridSeq->setToolTip(QStringLiteral("Cliquez dans la case à remplir ou à modifier"));
    GridSeq->setColumnCount(kColonnesGrille);
    GridSeq->setRowCount(1);
    GridSeq->horizontalHeader()->hide();
    GridSeq->verticalHeader()->hide();
    GridSeq->horizontalHeader()->setMinimumSectionSize(kPriseBord * 2);
    GridSeq->horizontalHeader()->setDefaultSectionSize(kLargeurColonne);
    GridSeq->verticalHeader()->setMinimumSectionSize(1);
    GridSeq->verticalHeader()->setDefaultSectionSize(kHauteurLigne);
    GridSeq->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int c = 0; c < kColonnesGrille; ++c)
        GridSeq->setColumnWidth(c, kLargeurColonne);
    GridSeq->setShowGrid(true);
    GridSeq->setWordWrap(false);
    GridSeq->setTabKeyNavigation(false);
    GridSeq->setSelectionMode(QAbstractItemView::SingleSelection);
    GridSeq->setSelectionBehavior(QAbstractItemView::SelectItems);
    GridSeq->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridSeq->setItemDelegate(new DelegueGrille(*this, GridSeq));
    GridSeq->viewport()->setMouseTracking(true);
    connect(GridSeq, &QTableWidget::cellClicked, this,
            [this](int ligne, int colonne) { Protege([&] { GridSeqClick(ligne, colonne); }); });
    QAbstractItemModel* modele = GridSeq->model();
    const auto perime = [this] { chevauchementsAJour_ = false; };
    connect(modele, &QAbstractItemModel::dataChanged, this, perime);
    connect(modele, &QAbstractItemModel::rowsInserted, this, perime);
    connect(modele, &QAbstractItemModel::rowsRemoved, this, perime);
    connect(modele, &QAbstractItemModel::rowsMoved, this, perime);
    connect(modele, &QAbstractItemModel::modelReset, this, perime);
    connect(modele, &QAbstractItemModel::layoutChanged, this, perime);
}

void TFiche_Donnees::CreerPickers()
{
    DTPHeure = new QTimeEdit(this);
    DTPHeure->setObjectName(QStringLiteral("DTPHeure"));
    DTPHeure->setDisplayFormat(QStringLiteral("HH:mm"));
    DTPHeure->setFrame(false);
    DTPHeure->setButtonSymbols(QAbstractSpinBox::NoButtons);
    DTPHeure->setToolTip(QStringLiteral("Choix de l'horaire au clavier ou avec les flèches"));
    DTPHeure->hide();
    DTPHeure->installEventFilter(this);

    // Refusals are said here, without a box that would stop the typing;
    // CreerBas puts it in the bottom band.
    LAvertissement = new QLabel(this);
    LAvertissement->setObjectName(QStringLiteral("LAvertissement"));
    LAvertissement->setWordWrap(true);
    LAvertissement->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette rouge = LAvertissement->palette();
    rouge.setColor(QPalette::WindowText, QColor(0xC0, 0, 0));
    LAvertissement->setPalette(rouge);

    CBDonnees = new QComboBox(this);
    CBDonnees->setObjectName(QStringLiteral("CBDonnees"));
    CBDonnees->setEditable(true);
    // Enter stores the text in the cell, never in the list of values.
    CBDonnees->setInsertPolicy(QComboBox::NoInsert);
    CBDonnees->setCompleter(nullptr);
    CBDonnees->setToolTip(QStringLiteral("Sélection de la donnée à inscrire"));
    Limiter1252(CBDonnees->lineEdit());
    CBDonnees->hide();
    CBDonnees->installEventFilter(this);
    CBDonnees->lineEdit()->installEventFilter(this);
    connect(CBDonnees, &QComboBox::activated, this,
            [this](int) { Protege([this] { CBDonneesSelect(); }); });
}

void TFiche_Donnees::CreerBoutonsSequence()
{
    enum Dessin { Plus, Croix, Haut, Bas, Pages };
    // Our own small drawings: no artwork from elsewhere, and the same on
    // every desktop.
    const auto icone = [](Dessin dessin) {
        QPixmap image(16, 16);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        switch (dessin) {
        case Plus:
            p.fillRect(6, 2, 4, 12, QColor(0, 128, 0));
            p.fillRect(2, 6, 12, 4, QColor(0, 128, 0));
            break;
        case Croix:
            p.setPen(QPen(QColor(192, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(4, 4, 12, 12);
            p.drawLine(12, 4, 4, 12);
            break;
        case Haut:
        case Bas: {
            const bool haut = dessin == Haut;
            const QPointF pointe[3] = {
                {8, haut ? 2.0 : 14.0}, {2, haut ? 10.0 : 6.0}, {14, haut ? 10.0 : 6.0}};
            p.setPen(Qt::NoPen);
            p.setBrush(kBleuMarine);
            p.drawPolygon(pointe, 3);
            p.fillRect(6, haut ? 10 : 2, 4, 4, kBleuMarine);
            break;
        }
        case Pages:
            p.setPen(QColor(64, 64, 64));
            p.setBrush(Qt::white);
            p.drawRect(1, 1, 9, 10);
            p.setBrush(kBleuDebut);
            p.drawRect(5, 5, 9, 10);
            break;
        }
        return QIcon(image);
    };
    const auto bouton = [this, &icone](const char* nom, int y, Dessin dessin, const QString& bulle,
                                       void (TFiche_Donnees::*gestionnaire)()) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(nom));
        b->setGeometry(512, y, 23, 22);
        b->setAutoRaise(true);
        b->setIcon(icone(dessin));
        b->setToolTip(bulle);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QToolButton::clicked, this,
                [this, gestionnaire] { Protege([&] { (this->*gestionnaire)(); }); });
        return b;
    };
    BtnAjoutSequence =
        bouton("BtnAjoutSequence", 48, Plus, QStringLiteral("Ajouter une séquence en fin de liste"),
               &TFiche_Donnees::BtnAjoutSequenceClick);
    BtnSupprimeSequence = bouton("BtnSupprimeSequence", 71, Croix,
                                 QStringLiteral("Supprimer la séquence sélectionnée"),
                                 &TFiche_Donnees::BtnSupprimeSequenceClick);
    BtnMonterSequence =
        bouton("BtnMonterSequence", 94, Haut, QStringLiteral("Monter la séquence d'une ligne"),
               &TFiche_Donnees::BtnMonterSequenceClick);
    BtnDescendreSequence = bouton("BtnDescendreSequence", 117, Bas,
                                  QStringLiteral("Descendre la séquence d'une ligne"),
                                  &TFiche_Donnees::BtnDescendreSequenceClick);
    BtnCopierSemaine =
        bouton("BtnCopierSemaine", 157, Pages,
               QStringLiteral("Copier cette semaine dans toutes les semaines du jour"),
               &TFiche_Donnees::BtnCopierSemaineClick);
}

void TFiche_Donnees::GridSeqDrawCell(QPainter& peintre, int colonne, int ligne, const QRect& rect,
                                     bool selectionnee) const
{
    const QPalette& palette = GridSeq->palette();
    QColor texte;
    if (ligne == 0) {
        peintre.fillRect(rect, kVertMonnaie);
        texte = palette.color(QPalette::ButtonText);
        const QRect r = rect.adjusted(0, 0, -1, -1);
        peintre.setPen(palette.color(QPalette::Light));
        peintre.drawLine(r.topLeft(), r.topRight());
        peintre.drawLine(r.topLeft(), r.bottomLeft());
        peintre.setPen(palette.color(QPalette::Dark));
        peintre.drawLine(r.bottomLeft(), r.bottomRight());
        peintre.drawLine(r.topRight(), r.bottomRight());
    } else if (selectionnee) {
        peintre.fillRect(rect, kBleuMarine);
        texte = Qt::white;
    } else {
        peintre.fillRect(rect, ligne % 2 == 1 ? kVertPale : kJaunePale);
        texte = palette.color(QPalette::Text);
    }
    const QTableWidgetItem* item = GridSeq->item(ligne, colonne);
    if (!item) return;
    const QVariant heure = item->data(kRoleHeure);
    const QString chaine =
        colonne <= 1 && heure.isValid() ? TexteHeure(heure.toDouble()) : item->text();
    if (chaine.isEmpty()) return;
    peintre.setPen(texte);
    peintre.setFont(GridSeq->font());
    peintre.drawText(rect.adjusted(2, 2, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, chaine);
    // An overlapping row: a red corner on its start time, over the cell's
    // own colours, which stay as they are.
    if (colonne == 0 && !GridSeqChevauchements(ligne).isEmpty()) {
        const int c = std::min(7, rect.height() / 2);
        const QPoint coin = rect.topRight();
        const QPoint triangle[3] = {coin, coin - QPoint(c, 0), coin + QPoint(0, c)};
        peintre.save();
        peintre.setPen(Qt::NoPen);
        peintre.setBrush(QColor(220, 0, 0));
        peintre.drawPolygon(triangle, 3);
        peintre.restore();
    }
}

QString TFiche_Donnees::GridSeqChevauchements(int ligne) const
{
    if (!chevauchementsAJour_) {
        // The grid as it stands, edits included: the same rows SauverGrille keeps.
        std::vector<RSequence> sequences;
        std::vector<int> lignes;
        for (int r = 1; r < GridSeq->rowCount(); ++r) {
            if (!LigneDeDonnees(r)) continue;
            RSequence s;
            s.Debut = Heure(r, 0);
            s.Fin = Heure(r, 1);
            for (int g = 0; g < kNbGroupes; ++g) {
                const QTableWidgetItem* item = GridSeq->item(r, 2 + g);
                if (item && !item->text().isEmpty())
                    s.Textes.Fixer(static_cast<std::size_t>(g), "x");
            }
            sequences.push_back(std::move(s));
            lignes.push_back(r);
        }
        chevauchements_.assign(static_cast<std::size_t>(GridSeq->rowCount()), QString());
        const auto ajouter = [&](int a, int autre) {
            QString& t = chevauchements_[static_cast<std::size_t>(a)];
            if (!t.isEmpty()) t += QLatin1Char('\n');
            t += QStringLiteral("Chevauche la séquence ") + TexteHeure(Heure(autre, 0)) +
                 QStringLiteral(" - ") + TexteHeure(Heure(autre, 1));
        };
        for (const Chevauchement& c : ChevauchementsListe(sequences)) {
            ajouter(lignes[c.a], lignes[c.b]);
            ajouter(lignes[c.b], lignes[c.a]);
        }
        chevauchementsAJour_ = true;
    }
    if (!LigneDeDonnees(ligne) || ligne >= int(chevauchements_.size())) return {};
    return chevauchements_[static_cast<std::size_t>(ligne)];
}

void TFiche_Donnees::GridSeqSetEditText(int colonne, int ligne, const QString& texte)
{
    if (!LigneDeDonnees(ligne) || colonne < 2) return;
    GridSeq->item(ligne, colonne)->setText(texte);
    Modifie();
}

bool TFiche_Donnees::LigneDeDonnees(int ligne) const
{
    if (ligne < 1 || ligne >= GridSeq->rowCount()) return false;
    const QTableWidgetItem* debut = GridSeq->item(ligne, 0);
    const QTableWidgetItem* fin = GridSeq->item(ligne, 1);
    return debut && fin && debut->data(kRoleHeure).isValid() && fin->data(kRoleHeure).isValid();
}

TDateTime TFiche_Donnees::Heure(int ligne, int colonne) const
{
    return GridSeq->item(ligne, colonne)->data(kRoleHeure).toDouble();
}

void TFiche_Donnees::RemplirLigne(int ligne, TDateTime debut, TDateTime fin,
                                  const TextesSequence& textes)
{
    const Qt::ItemFlags heures = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    for (int c = 0; c < 2; ++c) {
        auto* item = new QTableWidgetItem;
        item->setFlags(heures);
        item->setData(kRoleHeure, c == 0 ? debut : fin);
        GridSeq->setItem(ligne, c, item);
    }
    for (int g = 0; g < kNbGroupes; ++g) {
        auto* item = new QTableWidgetItem(Texte1252(textes[static_cast<std::size_t>(g)]));
        item->setFlags(heures | Qt::ItemIsEditable);
        GridSeq->setItem(ligne, 2 + g, item);
    }
}

void TFiche_Donnees::ChargerGrille(int jour, int semaine)
{
    if (jour < 0 || jour >= kNbJours || semaine < 0 ||
        semaine >= static_cast<int>(edt_.Semaines.size()))
        return;
    const std::vector<RSequence>& sequences = edt_.Jours[static_cast<std::size_t>(jour)]
                                                  .ParSemaine[static_cast<std::size_t>(semaine)]
                                                  .Sequences;
    GridSeq->setUpdatesEnabled(false);
    GridSeq->setRowCount(static_cast<int>(sequences.size()) + 1);
    for (std::size_t i = 0; i < sequences.size(); ++i)
        RemplirLigne(static_cast<int>(i) + 1, sequences[i].Debut, sequences[i].Fin,
                     sequences[i].Textes);
    GridSeq->setUpdatesEnabled(true);
    GridSeq->viewport()->update();
}

void TFiche_Donnees::SauverGrille(int jour, int semaine)
{
    const int duree = UDDureeSeq->value();
    edt_.DureeSeq = static_cast<std::uint32_t>(duree == 0 ? 1 : duree);
    if (jour < 0 || jour >= kNbJours || semaine < 0 ||
        semaine >= static_cast<int>(edt_.Semaines.size()))
        return;
    std::vector<RSequence>& sequences = edt_.Jours[static_cast<std::size_t>(jour)]
                                            .ParSemaine[static_cast<std::size_t>(semaine)]
                                            .Sequences;
    sequences.clear();
    for (int r = 1; r < GridSeq->rowCount(); ++r) {
        // Only rows that carry their times are sequences.
        if (!LigneDeDonnees(r)) continue;
        RSequence s;
        s.Debut = Heure(r, 0);
        s.Fin = Heure(r, 1);
        for (int g = 0; g < kNbGroupes; ++g) {
            const QTableWidgetItem* item = GridSeq->item(r, 2 + g);
            s.Textes.Fixer(static_cast<std::size_t>(g),
                           item ? Octets1252(item->text()) : std::string());
        }
        sequences.push_back(std::move(s));
    }
}

void TFiche_Donnees::ViderGrille()
{
    FinEdition();
    // The rows go with their items and the times these carry; the title row
    // stays.  Keeping empty rows without times, as a fixed-size grid would,
    // would only leave rows that nothing may use.
    GridSeq->setUpdatesEnabled(false);
    GridSeq->setRowCount(1);
    GridSeq->setUpdatesEnabled(true);
    GridSeq->viewport()->update();
}

void TFiche_Donnees::FinEdition()
{
    GridSeq->FermerEditeur();
    GridSeq->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CBDonnees->hide();
    DTPHeure->hide();
    CelluleHeure_ = {-1, -1};
}

void TFiche_Donnees::EtatBoutons()
{
    // With no day shown there is nothing to add to, move or copy.
    const bool jour = JourCourant_ >= 0;
    const int lignes = GridSeq->rowCount();
    BtnAjoutSequence->setEnabled(jour);
    BtnSupprimeSequence->setEnabled(jour && lignes > 1);
    BtnMonterSequence->setEnabled(jour && lignes > 2);
    BtnDescendreSequence->setEnabled(jour && lignes > 2);
    BtnCopierSemaine->setEnabled(jour && edt_.Semaines.size() >= 2);
}

void TFiche_Donnees::PlacerSurCellule(QWidget* editeur) const
{
    // The cell with the grid line on its right and below: the picker covers
    // the whole square the cell takes.
    const QRect cellule = GridSeq->visualRect(
        GridSeq->model()->index(GridSeq->currentRow(), GridSeq->currentColumn()));
    const QPoint coin = GridSeq->viewport()->mapTo(this, cellule.topLeft());
    editeur->setGeometry(QRect(coin, cellule.size()));
}

void TFiche_Donnees::GridSeqClick(int ligne, int colonne)
{
    if (!DTPHeure->isHidden()) FermerHeure();
    if (!CBDonnees->isHidden()) FermerListe();
    if (!LigneDeDonnees(ligne)) {
        GridSeq->setEditTriggers(QAbstractItemView::NoEditTriggers);
        return;
    }
    GridSeq->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::SelectedClicked);
    if (colonne <= 1) {
        AfficherHeure();
        return;
    }
    const std::vector<std::string>& valeurs =
        edt_.ListesDonnees[static_cast<std::size_t>(colonne - 2)];
    if (CBUtiliserListesDeroulantes->isChecked() && !valeurs.empty())
        AfficherListe();
    else
        GridSeq->editItem(GridSeq->item(ligne, colonne));
}

void TFiche_Donnees::AfficherHeure()
{
    const int ligne = GridSeq->currentRow();
    const int colonne = GridSeq->currentColumn();
    if (!LigneDeDonnees(ligne) || colonne > 1) return;
    PlacerSurCellule(DTPHeure);
    QPalette palette = DTPHeure->palette();
    palette.setColor(QPalette::Base, colonne == 0 ? kBleuDebut : kOrangeFin);
    DTPHeure->setPalette(palette);
    DTPHeure->setTime(VersQTime(Heure(ligne, colonne)));
    CelluleHeure_ = {colonne, ligne};
    heureTapee_.clear();
    DTPHeure->show();
    DTPHeure->raise();
    // The user clicked the cell.  A time edit focused by the mouse leaves its
    // cursor where it was, so typing "0930" would land in the minutes: the
    // hours are selected so that the digits go there first.
    DTPHeure->setFocus(Qt::MouseFocusReason);
    DTPHeure->setCurrentSection(QDateTimeEdit::HourSection);
    DTPHeure->setSelectedSection(QDateTimeEdit::HourSection);
}

void TFiche_Donnees::FermerHeure()
{
    if (DTPHeure->isHidden()) return;
    // The grid takes the keyboard back before the picker goes, so the focus
    // does not wander to the next control of the dialog.
    if (DTPHeure->hasFocus()) GridSeq->setFocus(Qt::OtherFocusReason);
    if (DTPHeure->isHidden()) return; // closed by the focus leaving it
    DTPHeure->hide();
    AppliquerHeure();
    CelluleHeure_ = {-1, -1};
}

void TFiche_Donnees::AppliquerHeure()
{
    const int colonne = CelluleHeure_.x();
    const int ligne = CelluleHeure_.y();
    if (colonne < 0 || colonne > 1 || !LigneDeDonnees(ligne)) return;
    const QTime h = DTPHeure->time();
    const TDateTime t = EncoderHeure(h.hour(), h.minute());
    const TDateTime v = Heure(ligne, colonne);
    if (t == v) return;
    const TDateTime debut = Heure(ligne, 0), fin = Heure(ligne, 1);
    if (colonne == 0 && t >= fin) {
        // A start moved past the end takes the end along, keeping the
        // duration, as long as the sequence still ends within the day.
        const int duree = Minutes(fin) - Minutes(debut);
        if (Minutes(t) + duree > 24 * 60 - 1) {
            Avertir(QStringLiteral("Début refusé : la séquence de %1 min finirait après minuit.")
                        .arg(duree));
            return;
        }
        GridSeq->item(ligne, 1)->setData(kRoleHeure, AjouterMinutes(t, duree));
    } else if (colonne == 1 && t <= debut) {
        Avertir(QStringLiteral("Fin refusée : elle doit suivre le début (%1).")
                    .arg(QString::fromStdString(HeureMinuteVersTexte(debut))));
        return;
    }
    GridSeq->item(ligne, colonne)->setData(kRoleHeure, t);
    Avertir(QString());
    Modifie();
}

void TFiche_Donnees::TaperHeure(QChar c)
{
    heureTapee_ += c;
    const HeureTapee h = LireHeureTapee(heureTapee_.toStdString());
    if (!h.refus.empty()) {
        // The picker shows the cell's time again; the rest of the refused
        // time is swallowed, and the next digits start another one.
        Avertir(QString::fromStdString(h.refus));
        if (h.complete) heureTapee_.clear();
        DTPHeure->setTime(VersQTime(Heure(CelluleHeure_.y(), CelluleHeure_.x())));
        DTPHeure->setCurrentSection(QDateTimeEdit::HourSection);
        DTPHeure->setSelectedSection(QDateTimeEdit::HourSection);
        return;
    }
    if (h.heures < 0) return;
    Avertir(QString());
    DTPHeure->setTime(QTime(h.heures, h.minutes));
    const bool dansMinutes =
        heureTapee_.size() > 1 || c == QLatin1Char(':') || h.minutes > 0 || c > QLatin1Char('2');
    DTPHeure->setCurrentSection(dansMinutes ? QDateTimeEdit::MinuteSection
                                            : QDateTimeEdit::HourSection);
}

void TFiche_Donnees::AnnulerHeure()
{
    if (CelluleHeure_.x() >= 0)
        DTPHeure->setTime(VersQTime(Heure(CelluleHeure_.y(), CelluleHeure_.x())));
    Avertir(QString());
    FermerHeure();
}

void TFiche_Donnees::Avertir(const QString& texte)
{
    LAvertissement->setText(texte);
    LAvertissement->setToolTip(texte);
    LAvertissement->raise();
}

QString TFiche_Donnees::Avertissement() const
{
    return LAvertissement->text();
}

void TFiche_Donnees::DTPHeureExit()
{
    FermerHeure();
}

void TFiche_Donnees::DTPHeureKeyDown(int touche)
{
    Modifie();
    if (touche == Qt::Key_Return || touche == Qt::Key_Enter) FermerHeure();
}

void TFiche_Donnees::AfficherListe()
{
    const int ligne = GridSeq->currentRow();
    const int colonne = GridSeq->currentColumn();
    if (!LigneDeDonnees(ligne) || colonne < 2) return;
    CBDonnees->clear();
    for (const std::string& valeur : edt_.ListesDonnees[static_cast<std::size_t>(colonne - 2)])
        CBDonnees->addItem(Texte1252(valeur));
    // The cell's text is the current item only when it is one, so the arrow
    // keys start from it, or from the top of the list.
    const QString texte = GridSeq->item(ligne, colonne)->text();
    CBDonnees->setCurrentIndex(CBDonnees->findText(texte, Qt::MatchExactly));
    CBDonnees->setEditText(texte);
    PlacerSurCellule(CBDonnees);
    CBDonnees->show();
    CBDonnees->raise();
    CBDonnees->setFocus(Qt::OtherFocusReason);
    CBDonnees->lineEdit()->selectAll();
}

void TFiche_Donnees::FermerListe()
{
    CBDonnees->hidePopup();
    if (CBDonnees->hasFocus()) GridSeq->setFocus(Qt::OtherFocusReason);
    CBDonnees->hide();
}

void TFiche_Donnees::CBDonneesSelect()
{
    if (CBDonnees->isHidden()) return;
    const int ligne = GridSeq->currentRow();
    const int colonne = GridSeq->currentColumn();
    const QString texte = CBDonnees->currentText();
    FermerListe();
    if (!LigneDeDonnees(ligne) || colonne < 2) return;
    GridSeq->item(ligne, colonne)->setText(texte);
    Modifie();
}

void TFiche_Donnees::CBDonneesKeyDown(int touche)
{
    if (touche == Qt::Key_Return || touche == Qt::Key_Enter) CBDonneesSelect();
}

void TFiche_Donnees::CBDonneesExit()
{
    FermerListe();
}

void TFiche_Donnees::BtnAjoutSequenceClick()
{
    if (JourCourant_ < 0) return;
    FinEdition();
    const int ligne = GridSeq->rowCount();
    GridSeq->setRowCount(ligne + 1);
    const TDateTime debut = ligne == 1 ? *TexteVersTemps("08:00") : Heure(ligne - 1, 1);
    const int d = UDDureeSeq->value() == 0 ? 1 : UDDureeSeq->value();
    edt_.DureeSeq = static_cast<std::uint32_t>(d);
    RemplirLigne(ligne, debut, AjouterMinutes(debut, d), {});
    GridSeq->viewport()->update();
    Modifie();
    EtatBoutons();
}

void TFiche_Donnees::BtnSupprimeSequenceClick()
{
    const int ligne = GridSeq->currentRow();
    if (ligne <= 0 || ligne > GridSeq->rowCount() - 1 || !LigneDeDonnees(ligne)) return;
    FinEdition();
    if (services_.Demander(this, {QuestionSuppression(Heure(ligne, 0), Heure(ligne, 1)),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Question}) !=
        QMessageBox::Yes)
        return;
    GridSeq->setUpdatesEnabled(false);
    GridSeq->removeRow(ligne);
    GridSeq->setUpdatesEnabled(true);
    GridSeq->viewport()->update();
    Modifie();
    EtatBoutons();
}

void TFiche_Donnees::BtnMonterSequenceClick()
{
    FinEdition();
    const int ligne = GridSeq->currentRow();
    if (ligne < 2 || ligne > GridSeq->rowCount() - 1) return;
    EchangerLignes(ligne, ligne - 1);
    GridSeq->setCurrentCell(ligne - 1, GridSeq->currentColumn());
    FinEdition();
    Modifie();
}

void TFiche_Donnees::BtnDescendreSequenceClick()
{
    FinEdition();
    const int ligne = GridSeq->currentRow();
    if (ligne < 1 || ligne > GridSeq->rowCount() - 2) return;
    EchangerLignes(ligne, ligne + 1);
    GridSeq->setCurrentCell(ligne + 1, GridSeq->currentColumn());
    FinEdition();
    Modifie();
}

void TFiche_Donnees::EchangerLignes(int a, int b)
{
    // The items change places whole: texts and time values move together.
    for (int c = 0; c < kColonnesGrille; ++c) {
        QTableWidgetItem* itemA = GridSeq->takeItem(a, c);
        QTableWidgetItem* itemB = GridSeq->takeItem(b, c);
        GridSeq->setItem(a, c, itemB);
        GridSeq->setItem(b, c, itemA);
    }
}

void TFiche_Donnees::BtnCopierSemaineClick()
{
    if (JourCourant_ < 0 || JourCourant_ >= kNbJours) return;
    if (edt_.EdtModifie) SauverGrille(JourCourant_, SemaineCourante_);
    std::vector<RJourSem>& semaines = edt_.Jours[static_cast<std::size_t>(JourCourant_)].ParSemaine;
    if (SemaineCourante_ < 0 || SemaineCourante_ >= static_cast<int>(semaines.size())) return;
    const RJourSem modele = semaines[static_cast<std::size_t>(SemaineCourante_)];
    for (std::size_t w = 0; w < semaines.size(); ++w)
        if (static_cast<int>(w) != SemaineCourante_) semaines[w] = modele;
    Modifie();
}

void TFiche_Donnees::EDureeSeqExit()
{
    if (dureeTapee_) Modifie();
    dureeTapee_ = false;
    bool nombre = false;
    int duree = EDureeSeq->text().trimmed().toInt(&nombre, 10);
    if (!nombre) duree = static_cast<int>(std::min<std::uint32_t>(edt_.DureeSeq, 999));
    const QSignalBlocker bloque(UDDureeSeq);
    UDDureeSeq->setValue(duree); // the up-down keeps it within 1..999
    EDureeSeq->setText(QString::number(UDDureeSeq->value()));
}

void TFiche_Donnees::UDDureeSeqClick()
{
    Modifie();
}

} // namespace horaku
