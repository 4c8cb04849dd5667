#include "definirmotdepasse.h"

#include "fiche.h"
#include "saisie.h"
#include "services.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

using namespace horaku;

namespace
{

// Places in the 273 × 143 client area.
constexpr QSize kTaille{273, 143};
constexpr QRect kCBPass{27, 11, 222, 17};
constexpr QPoint kLMotdepasse{35, 40};
constexpr QRect kMEPass{121, 36, 80, 21};
constexpr QPoint kLConfirmation{35, 69};
constexpr QRect kMEConfirmation{121, 63, 80, 21};
constexpr int kHautPanneau = 45;
constexpr QRect kBitBtn1{98, 10, 75, 25};
constexpr QRect kBitBtn2{185, 10, 75, 25};

const QString kMessageDifferents = QStringLiteral(
    "Le mot de passe et sa confirmation ne sont pas identiques.\nVous devez recommencer la "
    "saisie.");
const QString kMessageLongueur = QStringLiteral(
    "Le mot de passe doit contenir entre 4 et 10 caractères.\nVous devez recommencer la saisie.");
const QString kMessageAnnuler = QStringLiteral("Vous avez modifié le mot de passe.\nEtes-vous "
                                               "certain de vouloir annuler cette modification ?");

// Bold, a flat one-pixel frame, every character shown as '*'; the background
// follows the field's state.
QString Apparence(const QColor& fond)
{
    return QStringLiteral("QLineEdit { lineedit-password-character: 42; font-weight: bold; "
                          "border: 1px solid palette(shadow); background: %1; }")
        .arg(fond.name());
}

} // namespace

TFiche_DefinirMotDePasse::TFiche_DefinirMotDePasse(QWidget* proprietaire, std::string& cible,
                                                   Services& services)
    : QDialog(proprietaire, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      cible_(cible), services_(services)
{
    setObjectName(QStringLiteral("Fiche_DefinirMotDePasse"));
    setWindowTitle(QStringLiteral("Définition d'un mot de passe"));
    setFont(PoliceFiche());
    setFixedSize(kTaille);

    CreerCase();
    CreerChamps();
    CreerBoutons();

    const QString texte = Texte1252(cible_);
    MEPass->setText(texte);
    MEConfirmation->setText(texte);
    CBPass->setChecked(!cible_.empty());
    ActiverSaisie();
    modifie_ = false;
}

void TFiche_DefinirMotDePasse::CreerCase()
{
    CBPass = new QCheckBox(QStringLiteral("Activer la protection de l'emploi du temps"), this);
    CBPass->setObjectName(QStringLiteral("CBPass"));
    CBPass->setGeometry(kCBPass);
    CBPass->setToolTip(QStringLiteral("Protection des données de la réunion par mot de passe"));
    // Only the user's clicks count as a change.
    connect(CBPass, &QCheckBox::clicked, this, &TFiche_DefinirMotDePasse::CBPassClick);
}

void TFiche_DefinirMotDePasse::CreerChamps()
{
    const auto champ = [this](const char* nom, QRect place, const QString& bulle) {
        auto* c = new QLineEdit(this);
        c->setObjectName(QString::fromLatin1(nom));
        c->setGeometry(place);
        c->setToolTip(bulle);
        c->setEchoMode(QLineEdit::Password);
        c->setEnabled(false);
        Limiter1252(c);
        return c;
    };
    LMotdepasse = new QLabel(QStringLiteral("Mot de passe"), this);
    LMotdepasse->setObjectName(QStringLiteral("LMotdepasse"));
    LMotdepasse->move(kLMotdepasse);
    LMotdepasse->adjustSize();
    MEPass = champ("MEPass", kMEPass,
                   QStringLiteral("Le mot de passe choisi (4 à 10 caractères ou chiffres)"));
    LConfirmation = new QLabel(QStringLiteral("Confirmation"), this);
    LConfirmation->setObjectName(QStringLiteral("LConfirmation"));
    LConfirmation->move(kLConfirmation);
    LConfirmation->adjustSize();
    MEConfirmation =
        champ("MEConfirmation", kMEConfirmation, QStringLiteral("2ème saisie du mot de passe"));
    connect(MEPass, &QLineEdit::textEdited, this, &TFiche_DefinirMotDePasse::MEPassChange);
    MEConfirmation->installEventFilter(this);
}

void TFiche_DefinirMotDePasse::CreerBoutons()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, kTaille.height() - kHautPanneau, kTaille.width(), kHautPanneau);
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("OK"), Panel1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(kBitBtn1);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("Annuler"), Panel1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(kBitBtn2);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(CBPass, MEPass);
    setTabOrder(MEPass, MEConfirmation);
    setTabOrder(MEConfirmation, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
}

void TFiche_DefinirMotDePasse::showEvent(QShowEvent* evenement)
{
    QDialog::showEvent(evenement);
    CBPass->setFocus();
}

void TFiche_DefinirMotDePasse::ActiverSaisie()
{
    const bool actif = CBPass->isChecked();
    MEPass->setEnabled(actif);
    MEConfirmation->setEnabled(actif);
    LMotdepasse->setEnabled(actif);
    LConfirmation->setEnabled(actif);
    const QPalette::ColorRole role = actif ? QPalette::Base : QPalette::Button;
    const QColor fond = QApplication::palette().color(QPalette::Active, role);
    MEPass->setStyleSheet(Apparence(fond));
    MEConfirmation->setStyleSheet(Apparence(fond));
    if (!actif) {
        MEPass->clear();
        MEConfirmation->clear();
    }
}

bool TFiche_DefinirMotDePasse::VerifierSaisie()
{
    if (!CBPass->isChecked()) return true;
    const QString pass = MEPass->text();
    QString message;
    if (pass != MEConfirmation->text())
        message = kMessageDifferents;
    else if (pass.size() < kMotDePasseMin || pass.size() > kMotDePasseMax)
        message = kMessageLongueur;
    if (message.isEmpty()) return true;
    services_.Demander(this, {message, QMessageBox::Ok, QMessageBox::Critical, QString()});
    MEPass->clear();
    MEConfirmation->clear();
    MEPass->setFocus();
    return false;
}

void TFiche_DefinirMotDePasse::CBPassClick()
{
    ActiverSaisie();
    modifie_ = true;
}

void TFiche_DefinirMotDePasse::MEPassChange()
{
    modifie_ = true;
}

void TFiche_DefinirMotDePasse::MEConfirmationExit()
{
    VerifierSaisie();
}

bool TFiche_DefinirMotDePasse::eventFilter(QObject* objet, QEvent* evenement)
{
    if (objet == MEConfirmation && evenement->type() == QEvent::FocusOut) {
        const Qt::FocusReason raison = static_cast<QFocusEvent*>(evenement)->reason();
        // The window losing the keyboard (a message box, another window) is
        // not the field losing it.  A click on OK runs the same check itself,
        // and a click on Cancel abandons the entry: asking first would show
        // the message twice or for nothing.
        const QWidget* suivant = QApplication::focusWidget();
        const bool boutonClique =
            raison == Qt::MouseFocusReason && (suivant == BitBtn1 || suivant == BitBtn2);
        if (raison != Qt::ActiveWindowFocusReason && raison != Qt::PopupFocusReason &&
            !boutonClique) {
            // After the focus has settled, so that the message box does not
            // run inside the focus change.
            QTimer::singleShot(0, this, &TFiche_DefinirMotDePasse::MEConfirmationExit);
        }
    }
    return QDialog::eventFilter(objet, evenement);
}

bool TFiche_DefinirMotDePasse::FormCloseQuery(int resultat)
{
    if (modifie_) {
        if (resultat == QDialog::Accepted) {
            if (VerifierSaisie()) {
                cible_ = Octets1252(MEPass->text());
                modifie_ = false;
            }
        } else if (services_.Demander(this, {kMessageAnnuler, QMessageBox::Yes | QMessageBox::No,
                                             QMessageBox::Warning, QString()}) ==
                   QMessageBox::Yes) {
            modifie_ = false;
        }
    }
    return !modifie_;
}

void TFiche_DefinirMotDePasse::done(int resultat)
{
    if (FormCloseQuery(resultat)) QDialog::done(resultat);
}
