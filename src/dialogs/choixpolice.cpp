#include "choixpolice.h"

#include "dessin.h"
#include "fiche.h"
#include "saisie.h"
#include "services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

using namespace horaku;

namespace horaku
{

std::optional<RPolice> ChoisirPoliceModale(QWidget* proprietaire, const RPolice& initiale,
                                           Services& services)
{
    TFiche_ChoixPolice dialogue(proprietaire, initiale, services);
    if (dialogue.exec() != QDialog::Accepted) return std::nullopt;
    return dialogue.Police();
}

const std::array<CouleurNommee, 16>& CouleursClassiques()
{
    static const std::array<CouleurNommee, 16> kCouleurs{{
        {"Noir", 0x000000},
        {"Bordeaux", 0x000080},
        {"Vert", 0x008000},
        {"Olive", 0x008080},
        {"Bleu marine", 0x800000},
        {"Violet", 0x800080},
        {"Sarcelle", 0x808000},
        {"Gris", 0x808080},
        {"Argent", 0xC0C0C0},
        {"Rouge", 0x0000FF},
        {"Vert clair", 0x00FF00},
        {"Jaune", 0x00FFFF},
        {"Bleu", 0xFF0000},
        {"Fuchsia", 0xFF00FF},
        {"Cyan", 0xFFFF00},
        {"Blanc", 0xFFFFFF},
    }};
    return kCouleurs;
}

QStringList FamillesLatines()
{
    QStringList familles;
    for (const QString& f : QFontDatabase::families(QFontDatabase::Latin)) {
        if (QFontDatabase::isPrivateFamily(f)) continue;
        // The name is stored in the file as Windows-1252 bytes.
        if (Filtrer1252(f) != f) continue;
        familles << f;
    }
    familles.sort(Qt::CaseInsensitive);
    familles.removeDuplicates();
    return familles;
}

} // namespace horaku

namespace
{

// Places in the client area, in pixels.
constexpr QSize kTaille{420, 300};
constexpr QRect kLNom{10, 8, 200, 14};
constexpr QRect kENom{10, 24, 200, 21};
constexpr QRect kLBNoms{10, 48, 200, 150};
constexpr QRect kLStyle{220, 8, 110, 14};
constexpr QRect kLBStyles{220, 24, 110, 78};
constexpr QRect kLTaille{340, 8, 70, 14};
constexpr QRect kETaille{340, 24, 70, 21};
constexpr QRect kEffets{10, 204, 200, 86};
constexpr QRect kExemple{220, 110, 190, 136};
constexpr QRect kBtnOK{250, 262, 75, 25};
constexpr QRect kBtnAnnuler{335, 262, 75, 25};

// Order of the style list; bit 0 italic, bit 1 bold.
const char* const kStyles[] = {"Normal", "Italique", "Gras", "Gras italique"};

QIcon Pastille(std::int32_t couleur)
{
    QPixmap p(16, 12);
    p.fill(CouleurQt(couleur));
    QPainter peintre(&p);
    peintre.setPen(Qt::black);
    peintre.drawRect(0, 0, 15, 11);
    return QIcon(p);
}

} // namespace

TFiche_ChoixPolice::TFiche_ChoixPolice(QWidget* proprietaire, const RPolice& initiale,
                                       Services& services)
    : QDialog(proprietaire, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), initiale_(initiale),
      services_(services)
{
    setObjectName(QStringLiteral("Fiche_ChoixPolice"));
    setWindowTitle(QStringLiteral("Police"));
    setFont(PoliceFiche());
    setFixedSize(kTaille);

    familles_ = FamillesLatines();
    // The timetable's own face stays choosable even when this computer lacks
    // it: the file keeps it, and the picture draws it with a substitute.
    const QString propre = Texte1252(initiale.Nom);
    if (!propre.isEmpty() && !familles_.contains(propre, Qt::CaseInsensitive))
        familles_.prepend(propre);

    CreerNoms();
    CreerStyles();
    CreerTaille();
    CreerEffets();
    CreerExemple();
    CreerBoutons();
    Remplir();
}

void TFiche_ChoixPolice::CreerNoms()
{
    auto* l = new QLabel(QStringLiteral("&Police :"), this);
    l->setGeometry(kLNom);
    ENom = new QLineEdit(this);
    ENom->setObjectName(QStringLiteral("ENom"));
    ENom->setGeometry(kENom);
    Limiter1252(ENom);
    l->setBuddy(ENom);
    LBNoms = new QListWidget(this);
    LBNoms->setObjectName(QStringLiteral("LBNoms"));
    LBNoms->setGeometry(kLBNoms);
    LBNoms->addItems(familles_);
    connect(ENom, &QLineEdit::textEdited, this, &TFiche_ChoixPolice::ENomEdited);
    connect(LBNoms, &QListWidget::currentRowChanged, this, &TFiche_ChoixPolice::LBNomsSelect);
}

void TFiche_ChoixPolice::CreerStyles()
{
    auto* l = new QLabel(QStringLiteral("St&yle :"), this);
    l->setGeometry(kLStyle);
    LBStyles = new QListWidget(this);
    LBStyles->setObjectName(QStringLiteral("LBStyles"));
    LBStyles->setGeometry(kLBStyles);
    for (const char* s : kStyles)
        LBStyles->addItem(QString::fromUtf8(s));
    l->setBuddy(LBStyles);
    connect(LBStyles, &QListWidget::currentRowChanged, this,
            &TFiche_ChoixPolice::MettreAJourExemple);
}

void TFiche_ChoixPolice::CreerTaille()
{
    auto* l = new QLabel(QStringLiteral("&Taille :"), this);
    l->setGeometry(kLTaille);
    ETaille = new QSpinBox(this);
    ETaille->setObjectName(QStringLiteral("ETaille"));
    ETaille->setGeometry(kETaille);
    ETaille->setRange(kTailleMin, kTailleMax);
    l->setBuddy(ETaille);
    connect(ETaille, &QSpinBox::valueChanged, this, &TFiche_ChoixPolice::MettreAJourExemple);
}

void TFiche_ChoixPolice::CreerEffets()
{
    auto* groupe = new QGroupBox(QStringLiteral("Effets"), this);
    groupe->setGeometry(kEffets);
    CBBarre = new QCheckBox(QStringLiteral("&Barré"), groupe);
    CBBarre->setObjectName(QStringLiteral("CBBarre"));
    CBBarre->setGeometry(10, 18, 120, 17);
    CBSouligne = new QCheckBox(QStringLiteral("&Souligné"), groupe);
    CBSouligne->setObjectName(QStringLiteral("CBSouligne"));
    CBSouligne->setGeometry(10, 38, 120, 17);
    auto* l = new QLabel(QStringLiteral("&Couleur :"), groupe);
    l->setGeometry(10, 61, 55, 14);
    CBCouleur = new QComboBox(groupe);
    CBCouleur->setObjectName(QStringLiteral("CBCouleur"));
    CBCouleur->setGeometry(66, 57, 124, 22);
    for (const CouleurNommee& c : CouleursClassiques())
        CBCouleur->addItem(Pastille(c.couleur), QString::fromUtf8(c.nom), c.couleur);
    // A colour chosen elsewhere is kept, not rounded to the nearest classic one.
    if (CBCouleur->findData(initiale_.Couleur) < 0)
        CBCouleur->addItem(Pastille(initiale_.Couleur), QStringLiteral("Personnalisée"),
                           initiale_.Couleur);
    l->setBuddy(CBCouleur);
    connect(CBBarre, &QCheckBox::toggled, this, &TFiche_ChoixPolice::MettreAJourExemple);
    connect(CBSouligne, &QCheckBox::toggled, this, &TFiche_ChoixPolice::MettreAJourExemple);
    connect(CBCouleur, &QComboBox::currentIndexChanged, this,
            &TFiche_ChoixPolice::MettreAJourExemple);
}

void TFiche_ChoixPolice::CreerExemple()
{
    auto* groupe = new QGroupBox(QStringLiteral("Exemple"), this);
    groupe->setGeometry(kExemple);
    LExemple = new QLabel(QStringLiteral("AaBbYyZz"), groupe);
    LExemple->setObjectName(QStringLiteral("LExemple"));
    LExemple->setGeometry(6, 18, kExemple.width() - 12, kExemple.height() - 24);
    LExemple->setAlignment(Qt::AlignCenter);
    LExemple->setAutoFillBackground(true);
}

void TFiche_ChoixPolice::CreerBoutons()
{
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BtnOK"));
    ok->setGeometry(kBtnOK);
    ok->setDefault(true);
    auto* annuler = new QPushButton(QStringLiteral("Annuler"), this);
    annuler->setObjectName(QStringLiteral("BtnAnnuler"));
    annuler->setGeometry(kBtnAnnuler);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(annuler, &QPushButton::clicked, this, &QDialog::reject);
}

void TFiche_ChoixPolice::Remplir()
{
    const QString nom = Texte1252(initiale_.Nom);
    ENom->setText(nom);
    {
        const QSignalBlocker bloque(LBNoms);
        const auto trouves = LBNoms->findItems(nom, Qt::MatchFixedString);
        if (!trouves.isEmpty()) LBNoms->setCurrentItem(trouves.front());
    }
    LBStyles->setCurrentRow((initiale_.Italique ? 1 : 0) | (initiale_.Gras ? 2 : 0));
    // A size outside the offered range is shown at its nearest end; the font
    // keeps its own until another size is chosen.
    ETaille->setValue(initiale_.Taille);
    nomMontre_ = ENom->text();
    tailleMontree_ = ETaille->value();
    CBSouligne->setChecked(initiale_.Souligne);
    CBBarre->setChecked(initiale_.Barre);
    CBCouleur->setCurrentIndex(CBCouleur->findData(initiale_.Couleur));
    MettreAJourExemple();
}

QString TFiche_ChoixPolice::FamilleChoisie() const
{
    const QString tape = ENom->text().trimmed();
    for (const QString& f : familles_)
        if (f.compare(tape, Qt::CaseInsensitive) == 0) return f;
    return {};
}

RPolice TFiche_ChoixPolice::Police() const
{
    RPolice p = initiale_;
    if (ENom->text() != nomMontre_) {
        const QString famille = FamilleChoisie();
        p.Nom = Octets1252(famille.isEmpty() ? ENom->text().trimmed() : famille);
        // A face taken from the list is one of the Windows character set.
        p.Jeu = kJeuAnsi;
    }
    if (ETaille->value() != tailleMontree_) p.Taille = ETaille->value();
    const int style = qMax(0, LBStyles->currentRow());
    p.Italique = (style & 1) != 0;
    p.Gras = (style & 2) != 0;
    p.Souligne = CBSouligne->isChecked();
    p.Barre = CBBarre->isChecked();
    p.Couleur = CBCouleur->currentData().toInt();
    return p;
}

void TFiche_ChoixPolice::ENomEdited(const QString& texte)
{
    // The list follows what is typed; the typed text itself is left alone.
    const QString debut = texte.trimmed();
    if (debut.isEmpty()) return;
    for (int i = 0; i < LBNoms->count(); ++i) {
        if (LBNoms->item(i)->text().startsWith(debut, Qt::CaseInsensitive)) {
            const QSignalBlocker bloque(LBNoms);
            LBNoms->setCurrentRow(i);
            LBNoms->scrollToItem(LBNoms->item(i));
            break;
        }
    }
    MettreAJourExemple();
}

void TFiche_ChoixPolice::LBNomsSelect()
{
    if (QListWidgetItem* item = LBNoms->currentItem()) ENom->setText(item->text());
    MettreAJourExemple();
}

void TFiche_ChoixPolice::MettreAJourExemple()
{
    if (!LExemple || !CBCouleur || !ETaille || !LBStyles || !CBBarre || !CBSouligne) return;
    RPolice p = Police();
    p.Orientation = 0;
    LExemple->setFont(PoliceQt(p));
    QPalette palette = LExemple->palette();
    palette.setColor(QPalette::WindowText, CouleurQt(p.Couleur));
    palette.setColor(QPalette::Window, Qt::white);
    LExemple->setPalette(palette);
}

void TFiche_ChoixPolice::done(int resultat)
{
    // The face the font came with is accepted as it is, even one this
    // computer lacks or an empty one.
    if (resultat == QDialog::Accepted && ENom->text() != nomMontre_ && FamilleChoisie().isEmpty()) {
        services_.Demander(this, {QString::fromUtf8(kMessagePoliceInconnue), QMessageBox::Ok,
                                  QMessageBox::Warning});
        ENom->setFocus();
        ENom->selectAll();
        return;
    }
    QDialog::done(resultat);
}
