#include "panneau.h"

#include "cp1252.h"
#include "erreurs.h"
#include "fiche.h"
#include "garde.h"
#include "saisieauclic.h"
#include "temps.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimeEdit>

#include <cmath>

using namespace horaku;

namespace
{

QTime VersQTime(TDateTime t)
{
    const double ms = std::round(HeureDuJour(t) * 86'400'000.0);
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms) % 86'400'000);
}

TDateTime DepuisQTime(const QTime& h)
{
    return EncoderHeure(h.hour(), h.minute(), h.second(), h.msec());
}

} // namespace

TFiche_Panneau::TFiche_Panneau(HotePanneau& hote, Services& services, QWidget* proprietaire)
    : QWidget(proprietaire), hote_(hote), services_(services)
{
    setObjectName(QStringLiteral("Panneau_Affichage"));
    setWindowTitle(QStringLiteral("Affichage"));
    setFont(PoliceFiche());
    setFixedSize(kTaillePanneau);

    Panneau = new QWidget(this);
    Panneau->setObjectName(QStringLiteral("Panneau"));
    Panneau->setGeometry(QRect(QPoint(0, 0), kTaillePanneau));

    CreerLargeur();
    CreerCases();
    CreerHeureJours();
    CreerMarge();
    OrdonnerTabulation();
}

template <typename Fonction> void TFiche_Panneau::Protege(Fonction&& fonction)
{
    Proteger(services_, this, std::forward<Fonction>(fonction));
}

void TFiche_Panneau::CreerLargeur()
{
    Label1 = new QLabel(QStringLiteral("Largeur séquence"), Panneau);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(10, 8, 96, 14);

    EHeureLarg = new QLineEdit(Panneau);
    EHeureLarg->setObjectName(QStringLiteral("EHeureLarg"));
    EHeureLarg->setGeometry(28, 24, 40, 21);
    EHeureLarg->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), EHeureLarg));
    EHeureLarg->installEventFilter(this);
}

void TFiche_Panneau::CreerCases()
{
    const auto creer = [this](const char* nom, const QString& texte, QRect place,
                              void (TFiche_Panneau::*gestionnaire)(bool)) {
        auto* c = new QCheckBox(texte, Panneau);
        c->setObjectName(QString::fromLatin1(nom));
        c->setGeometry(place);
        connect(c, &QCheckBox::toggled, this, [this, gestionnaire](bool coche) {
            Protege([&] { (this->*gestionnaire)(coche); });
        });
        return c;
    };
    CBAffichContourEdt = creer("CBAffichContourEdt", QStringLiteral("Contour"), {10, 54, 90, 15},
                               &TFiche_Panneau::CBAffichContourEdtClick);
    CBAffichContourEdt->setToolTip(
        QStringLiteral("Dessiner un contour autour de l'emploi du temps"));
    CBAffichNom = creer("CBAffichNom", QStringLiteral("Nom"), {10, 72, 90, 15},
                        &TFiche_Panneau::CBAffichNomClick);
    CBAffichHeures = creer("CBAffichHeures", QStringLiteral("Heures"), {10, 91, 90, 15},
                           &TFiche_Panneau::CBAffichHeuresClick);
    CBAffichJours = creer("CBAffichJours", QStringLiteral("Jours"), {10, 110, 90, 15},
                          &TFiche_Panneau::CBAffichJoursClick);
}

void TFiche_Panneau::CreerHeureJours()
{
    DTPHeureAffichJours = new QTimeEdit(Panneau);
    DTPHeureAffichJours->setObjectName(QStringLiteral("DTPHeureAffichJours"));
    DTPHeureAffichJours->setGeometry(28, 125, 62, 23);
    DTPHeureAffichJours->setDisplayFormat(QStringLiteral("HH:mm"));
    DTPHeureAffichJours->setFrame(false);
    QPalette palette = DTPHeureAffichJours->palette();
    palette.setColor(QPalette::Base, QColor(0xA6, 0xCA, 0xF0)); // sky blue
    DTPHeureAffichJours->setPalette(palette);
    DTPHeureAffichJours->setVisible(false);
    DTPHeureAffichJours->installEventFilter(this);
    SaisieAuClic(DTPHeureAffichJours);
}

void TFiche_Panneau::CreerMarge()
{
    Label3 = new QLabel(QStringLiteral("Marge"), Panneau);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(10, 158, 34, 14);

    // The edit and its up-down buddy make one spin box.
    UDMarge = new QSpinBox(Panneau);
    UDMarge->setObjectName(QStringLiteral("UDMarge"));
    UDMarge->setGeometry(45, 154, 40, 21);
    UDMarge->setRange(0, kMargeMax);
    UDMarge->setWrapping(false);
    connect(UDMarge, &QSpinBox::valueChanged, this,
            [this](int valeur) { Protege([&] { EMargeChange(valeur); }); });
}

void TFiche_Panneau::OrdonnerTabulation()
{
    setTabOrder(CBAffichNom, CBAffichContourEdt);
    setTabOrder(CBAffichContourEdt, EHeureLarg);
    setTabOrder(EHeureLarg, DTPHeureAffichJours);
    setTabOrder(DTPHeureAffichJours, CBAffichHeures);
    setTabOrder(CBAffichHeures, CBAffichJours);
    setTabOrder(CBAffichJours, UDMarge);
}

void TFiche_Panneau::Remplir(REdt& edt)
{
    const QSignalBlocker b1(EHeureLarg), b2(CBAffichContourEdt), b3(CBAffichNom), b4(CBAffichJours),
        b5(CBAffichHeures), b6(DTPHeureAffichJours), b7(UDMarge);
    EHeureLarg->setText(QString::number(edt.Mesures.HeureLarg));
    CBAffichContourEdt->setChecked(edt.AffichContour);
    CBAffichNom->setChecked(edt.AffichNom);
    CBAffichJours->setChecked(edt.AffichJours);
    CBAffichHeures->setChecked(edt.AffichHeures);
    DTPHeureAffichJours->setTime(VersQTime(edt.HeureAffichJours));
    DTPHeureAffichJours->setVisible(edt.AffichJours);
    UDMarge->setValue(edt.Marge);
    // The spinner cannot show a margin outside its range; the timetable
    // takes the value it shows, so that picture and panel agree.
    edt.Marge = UDMarge->value();
}

bool TFiche_Panneau::eventFilter(QObject* objet, QEvent* evenement)
{
    if (objet != EHeureLarg && objet != DTPHeureAffichJours)
        return QWidget::eventFilter(objet, evenement);
    if (evenement->type() == QEvent::KeyPress) {
        const int touche = static_cast<QKeyEvent*>(evenement)->key();
        if (touche == Qt::Key_Return || touche == Qt::Key_Enter) {
            // Leaving the control runs its handler at once.
            static_cast<QWidget*>(objet)->clearFocus();
            return true;
        }
    } else if (evenement->type() == QEvent::FocusOut) {
        // Only a focus that leaves the control counts, not the window losing
        // the keyboard (a message box, another window).
        const Qt::FocusReason raison = static_cast<QFocusEvent*>(evenement)->reason();
        if (raison != Qt::ActiveWindowFocusReason && raison != Qt::PopupFocusReason) {
            if (objet == EHeureLarg)
                Protege([this] { EHeureLargExit(); });
            else
                Protege([this] { DTPHeureAffichJoursExit(); });
        }
    }
    return QWidget::eventFilter(objet, evenement);
}

namespace
{

// The seven display options, as the panel edits them.
struct Options {
    int heureLarg;
    bool contour, nom, jours, heures;
    TDateTime heureJours;
    int marge;
};

Options OptionsDe(const REdt& e)
{
    return {e.Mesures.HeureLarg, e.AffichContour,    e.AffichNom, e.AffichJours,
            e.AffichHeures,      e.HeureAffichJours, e.Marge};
}

void Remettre(REdt& e, const Options& o)
{
    e.Mesures.HeureLarg = o.heureLarg;
    e.AffichContour = o.contour;
    e.AffichNom = o.nom;
    e.AffichJours = o.jours;
    e.AffichHeures = o.heures;
    e.HeureAffichJours = o.heureJours;
    e.Marge = o.marge;
}

} // namespace

void TFiche_Panneau::ChangerOption(const std::function<void(REdt&)>& changer)
{
    REdt* edt = hote_.EdtCourant();
    if (!edt) return;
    const Options avant = OptionsDe(*edt);
    const bool modifie = edt->EdtModifie;
    changer(*edt);
    if (hote_.Redessiner() == ResultatDessin::TropGrand) {
        // The redraw has said why; the previous options and picture stay, so
        // that a later Save never stores an option the picture never showed.
        Remettre(*edt, avant);
        edt->EdtModifie = modifie;
        Remplir(*edt);
    }
    hote_.PlacerPanneau();
}

void TFiche_Panneau::EHeureLargExit()
{
    if (!hote_.EdtCourant()) return;
    const QString texte = EHeureLarg->text();
    bool ok = false;
    const int v = texte.toInt(&ok, 10);
    if (!ok) throw ErreurEntier(Utf8VersCp1252(texte.toStdString()));
    ChangerOption([v](REdt& edt) {
        if (v != edt.Mesures.HeureLarg) {
            edt.Mesures.HeureLarg = v;
            edt.EdtModifie = true;
        }
    });
}

void TFiche_Panneau::DTPHeureAffichJoursExit()
{
    const TDateTime t = DepuisQTime(DTPHeureAffichJours->time());
    ChangerOption([t](REdt& edt) {
        if (t != edt.HeureAffichJours) {
            edt.HeureAffichJours = t;
            edt.EdtModifie = true;
        }
    });
}

void TFiche_Panneau::ChangerCase(bool REdt::*champ, bool coche)
{
    ChangerOption([champ, coche](REdt& edt) {
        edt.*champ = coche;
        edt.EdtModifie = true;
    });
}

void TFiche_Panneau::CBAffichContourEdtClick(bool coche)
{
    ChangerCase(&REdt::AffichContour, coche);
}

void TFiche_Panneau::CBAffichNomClick(bool coche)
{
    ChangerCase(&REdt::AffichNom, coche);
}

void TFiche_Panneau::CBAffichHeuresClick(bool coche)
{
    ChangerCase(&REdt::AffichHeures, coche);
}

void TFiche_Panneau::CBAffichJoursClick(bool coche)
{
    DTPHeureAffichJours->setVisible(coche);
    ChangerCase(&REdt::AffichJours, coche);
}

void TFiche_Panneau::EMargeChange(int valeur)
{
    ChangerOption([valeur](REdt& edt) {
        edt.Marge = valeur;
        edt.EdtModifie = true;
    });
}
