#include "apropos.h"

#include "disposition.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>

namespace horaku
{

std::function<void(const QUrl&)> TFiche_APropos::OuvrirAdresse = [](const QUrl& adresse) {
    QDesktopServices::openUrl(adresse);
};

namespace
{

const QColor kBleuCiel(166, 202, 240);
const QColor kBleuMarine(0, 0, 128);
const QColor kBleuLien(0, 0, 255);
constexpr int kLargeurClient = 542;
constexpr int kHauteurClient = 577;
constexpr int kHauteurBandeau = 28;
constexpr int kHauteurDefilement = 343;
constexpr int kHauteurPied = 58;
// The empty label at (248, 465), 13 high, ends the scrolled area below the
// last pair.
constexpr int kHauteurContenu = 465 + 13;

struct LienHumanitaire {
    QRect image;
    QRect etiquette;
    const char* nom;     // written on the picture, UTF-8
    const char* adresse; // caption of the label
    QColor couleur;
    bool vertical; // the picture is taller than wide: the name reads upwards
};

const LienHumanitaire kLiens[6] = {
    {{32, 16, 188, 68},
     {48, 88, 160, 16},
     "Croix-Rouge française",
     "www.croix-rouge.fr",
     QColor(178, 34, 52),
     false},
    {{284, 16, 50, 115},
     {248, 136, 128, 16},
     "UNICEF France",
     "www.unicef.fr",
     QColor(0, 120, 190),
     true},
    {{416, 16, 78, 99},
     {408, 120, 97, 16},
     "Médecins Sans Frontières",
     "www.msf.fr",
     QColor(200, 80, 20),
     false},
    {{32, 171, 421, 61},
     {104, 231, 211, 16},
     "Action contre la Faim",
     "www.actioncontrelafaim.org",
     QColor(30, 130, 70),
     false},
    {{32, 274, 220, 42},
     {32, 319, 218, 16},
     "Secours populaire",
     "www.secourspopulaire.fr",
     QColor(90, 60, 150),
     false},
    {{336, 240, 167, 151},
     {320, 400, 201, 16},
     "Les Restos du Cœur",
     "www.restosducoeur.org",
     QColor(20, 110, 140),
     false},
};

QUrl AdresseWeb(const QString& texte)
{
    return QUrl(QStringLiteral("https://") + texte);
}

// A label that acts on a left click: pressed and released over it, as a
// button does.
class EtiquetteCliquable final : public QLabel
{
public:
    EtiquetteCliquable(QWidget* parent, std::function<void()> action)
        : QLabel(parent), action_(std::move(action))
    {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* evenement) override
    {
        enfonce_ = evenement->button() == Qt::LeftButton;
        evenement->accept();
    }
    void mouseReleaseEvent(QMouseEvent* evenement) override
    {
        const bool clic = enfonce_ && evenement->button() == Qt::LeftButton &&
                          rect().contains(evenement->position().toPoint());
        enfonce_ = false;
        evenement->accept();
        if (clic && action_) action_();
    }

private:
    std::function<void()> action_;
    bool enfonce_ = false;
};

// The largest bold font, up to `maximum` pixels, in which `texte` fits the
// rectangle with word wrapping.
QFont PoliceAjustee(const QFont& base, const QRectF& zone, const QString& texte, int maximum)
{
    QFont police = base;
    police.setBold(true);
    for (int taille = maximum; taille > 6; --taille) {
        police.setPixelSize(taille);
        const QRectF occupe =
            QFontMetricsF(police).boundingRect(zone, Qt::AlignCenter | Qt::TextWordWrap, texte);
        if (occupe.width() <= zone.width() && occupe.height() <= zone.height()) return police;
    }
    police.setPixelSize(6);
    return police;
}

void PeindreFond(QPainter& peintre, const QSize& taille, const QColor& couleur)
{
    const QRectF cadre = QRectF(QPointF(0, 0), QSizeF(taille)).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient degrade(cadre.topLeft(), cadre.bottomLeft());
    degrade.setColorAt(0, couleur.lighter(125));
    degrade.setColorAt(1, couleur.darker(115));
    QPainterPath forme;
    const qreal rayon = std::min(taille.width(), taille.height()) / 6.0;
    forme.addRoundedRect(cadre, rayon, rayon);
    peintre.setPen(QPen(couleur.darker(150), 1));
    peintre.setBrush(degrade);
    peintre.drawPath(forme);
}

// An organisation's picture: its name on a coloured tile.
QPixmap PeindreTuile(const QSize& taille, const QColor& couleur, const QString& nom, bool vertical,
                     const QFont& base)
{
    QPixmap image(taille);
    image.fill(Qt::transparent);
    QPainter peintre(&image);
    peintre.setRenderHint(QPainter::Antialiasing);
    PeindreFond(peintre, taille, couleur);

    QSizeF place = QSizeF(taille).shrunkBy(QMarginsF(6, 4, 6, 4));
    if (vertical) {
        peintre.translate(0, taille.height());
        peintre.rotate(-90);
        place.transpose();
    }
    const QRectF zone(QPointF(vertical ? 4 : 6, vertical ? 6 : 4), place);
    peintre.setFont(PoliceAjustee(base, zone, nom, 28));
    peintre.setPen(Qt::white);
    peintre.drawText(zone, Qt::AlignCenter | Qt::TextWordWrap, nom);
    return image;
}

// The maker's logo: the name over a small row of timetable boxes.
QPixmap PeindreLogo(const QSize& taille, const QFont& base)
{
    QPixmap image(taille);
    image.fill(Qt::transparent);
    QPainter peintre(&image);
    peintre.setRenderHint(QPainter::Antialiasing);
    PeindreFond(peintre, taille, QColor(28, 61, 122));

    const QRectF zoneNom(10, 6, taille.width() - 20, taille.height() * 0.62);
    peintre.setFont(PoliceAjustee(base, zoneNom, QStringLiteral("Horaku"), 60));
    peintre.setPen(Qt::white);
    peintre.drawText(zoneNom, Qt::AlignCenter, QStringLiteral("Horaku"));

    // Two week rows of boxes, as the program draws them.
    const QColor couleurs[] = {QColor(255, 255, 0), QColor(0, 255, 255), QColor(255, 188, 155),
                               QColor(192, 220, 192)};
    const qreal gauche = 22;
    const qreal largeur = taille.width() - 2 * gauche;
    const qreal haut = zoneNom.bottom() + 4;
    const qreal hauteurLigne = (taille.height() - haut - 10) / 2;
    const qreal debuts[2][4] = {{0, 0.18, 0.44, 0.70}, {0.06, 0.30, 0.52, 0.80}};
    const qreal longueurs[2][4] = {{0.16, 0.22, 0.20, 0.24}, {0.20, 0.16, 0.24, 0.14}};
    peintre.setPen(QPen(QColor(128, 128, 128), 1));
    for (int ligne = 0; ligne < 2; ++ligne) {
        for (int k = 0; k < 4; ++k) {
            peintre.setBrush(couleurs[(k + ligne * 2) % 4]);
            peintre.drawRect(QRectF(gauche + debuts[ligne][k] * largeur,
                                    haut + ligne * (hauteurLigne + 2),
                                    longueurs[ligne][k] * largeur, hauteurLigne));
        }
    }
    return image;
}

QIcon GlypheOK()
{
    QPixmap image(16, 16);
    image.fill(Qt::transparent);
    QPainter peintre(&image);
    peintre.setRenderHint(QPainter::Antialiasing);
    peintre.setPen(QPen(QColor(0, 128, 0), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    peintre.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
    return QIcon(image);
}

QFont PoliceLien()
{
    QFont police;
    police.setPointSize(10);
    police.setUnderline(true);
    return police;
}

void Colorer(QWidget* controle, QPalette::ColorRole role, const QColor& couleur)
{
    QPalette palette = controle->palette();
    palette.setColor(role, couleur);
    controle->setPalette(palette);
}

} // namespace

QString TFiche_APropos::AdresseEditeur()
{
    return QString::fromLatin1(kTexteWeb);
}

TFiche_APropos::TFiche_APropos(QWidget* proprietaire)
    : QDialog(proprietaire, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                                Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TFiche_APropos"));
    setWindowTitle(QStringLiteral("A propos de ..."));
    setFixedSize(kLargeurClient, kHauteurClient);
    QFont police = font();
    police.setPointSize(8);
    setFont(police);
    Colorer(this, QPalette::Window, kBleuCiel);
    setAutoFillBackground(true);

    CreerEntete();
    CreerBandeau();
    CreerLiens();
    CreerPied();

    // Centred on the screen, not on the owner.
    if (QScreen* ecran = proprietaire ? proprietaire->screen() : QGuiApplication::primaryScreen())
        move(ecran->availableGeometry().center() - rect().center());
}

void TFiche_APropos::CreerEntete()
{
    auto* logo = new EtiquetteCliquable(this, [this] { SiteWebEditeurClick(); });
    logo->setObjectName(QStringLiteral("ImageLogo"));
    logo->setPixmap(PeindreLogo(QSize(227, 103), font()));
    logo->setGeometry(38, 21, 227, 103);
    logo->setToolTip(AdresseEditeur());

    auto* version = new QLabel(QStringLiteral("Version 2.0  -  Août 2005"), this);
    version->setObjectName(QStringLiteral("Label1"));
    Colorer(version, QPalette::WindowText, kBleuMarine);
    version->move(288, 32);
    version->adjustSize();

    auto* siteWeb = new QLabel(QStringLiteral("Site Web : "), this);
    siteWeb->setObjectName(QStringLiteral("Label2"));
    Colorer(siteWeb, QPalette::WindowText, Qt::black);
    siteWeb->move(287, 96);
    siteWeb->adjustSize();

    auto* bouton = new QPushButton(AdresseEditeur(), this);
    bouton->setObjectName(QStringLiteral("SiteWebEditeur"));
    bouton->setFlat(true);
    bouton->setFont(PoliceLien());
    bouton->setCursor(Qt::PointingHandCursor);
    // Like a speed button: it never takes the focus, so Enter keeps closing
    // the box through OK.
    bouton->setFocusPolicy(Qt::NoFocus);
    bouton->setAutoDefault(false);
    Colorer(bouton, QPalette::ButtonText, kBleuLien);
    bouton->setGeometry(344, 88, 105, 25);
    connect(bouton, &QPushButton::clicked, this, [this] { SiteWebEditeurClick(); });
}

void TFiche_APropos::CreerBandeau()
{
    auto* bandeau = new QLabel(QStringLiteral("J'veux du soleil ..."), this);
    bandeau->setObjectName(QStringLiteral("StaticText1"));
    bandeau->setAlignment(Qt::AlignCenter);
    bandeau->setFrameStyle(QFrame::Box | QFrame::Plain);
    bandeau->setLineWidth(1);
    QFont police(QStringLiteral("Times New Roman"));
    police.setPointSize(16);
    police.setBold(true);
    police.setItalic(true);
    bandeau->setFont(police);
    bandeau->setAutoFillBackground(true);
    QPalette palette = bandeau->palette();
    palette.setColor(QPalette::Window, QGuiApplication::palette().color(QPalette::ToolTipBase));
    palette.setColor(QPalette::WindowText, kBleuLien);
    bandeau->setPalette(palette);
    bandeau->setGeometry(0, kHauteurClient - kHauteurPied - kHauteurDefilement - kHauteurBandeau,
                         kLargeurClient, kHauteurBandeau);
}

void TFiche_APropos::CreerLiens()
{
    auto* defilement = new QScrollArea(this);
    defilement->setObjectName(QStringLiteral("ScrollBox"));
    defilement->setFrameShape(QFrame::NoFrame);
    defilement->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    defilement->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    defilement->setGeometry(0, kHauteurClient - kHauteurPied - kHauteurDefilement, kLargeurClient,
                            kHauteurDefilement);
    // The window background of the system, not the box's sky blue.
    Colorer(defilement->viewport(), QPalette::Window,
            QGuiApplication::palette().color(QPalette::Base));
    defilement->viewport()->setAutoFillBackground(true);

    auto* contenu = new QWidget;
    contenu->setObjectName(QStringLiteral("ContenuScrollBox"));
    contenu->setMinimumHeight(kHauteurContenu);
    contenu->setAutoFillBackground(false);

    int numero = 0;
    for (const LienHumanitaire& lien : kLiens) {
        ++numero;
        const QString adresseTexte = QString::fromUtf8(lien.adresse);
        const QUrl adresse = AdresseWeb(adresseTexte);
        const QString nom = QString::fromUtf8(lien.nom);
        auto ouvrir = [this, adresse] { OuvrirLien(adresse); };

        auto* image = new EtiquetteCliquable(contenu, ouvrir);
        image->setObjectName(QStringLiteral("ImageLien%1").arg(numero));
        image->setPixmap(PeindreTuile(lien.image.size(), lien.couleur, nom, lien.vertical, font()));
        image->setGeometry(lien.image);
        image->setToolTip(nom);

        auto* etiquette = new EtiquetteCliquable(contenu, ouvrir);
        etiquette->setObjectName(QStringLiteral("LabelLien%1").arg(numero));
        etiquette->setText(adresseTexte);
        etiquette->setFont(PoliceLien());
        Colorer(etiquette, QPalette::WindowText, kBleuLien);
        etiquette->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        etiquette->setGeometry(lien.etiquette);
        etiquette->setToolTip(nom);
    }
    auto* fin = new QLabel(contenu);
    fin->setObjectName(QStringLiteral("LabelFin"));
    fin->setGeometry(248, 465, 3, 13);

    defilement->setWidget(contenu);
    defilement->setWidgetResizable(true);
}

void TFiche_APropos::CreerPied()
{
    auto* pied = new QFrame(this);
    pied->setObjectName(QStringLiteral("Panel1"));
    pied->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pied->setLineWidth(1);
    Colorer(pied, QPalette::Window, QGuiApplication::palette().color(QPalette::Button));
    pied->setAutoFillBackground(true);
    pied->setGeometry(0, kHauteurClient - kHauteurPied, kLargeurClient, kHauteurPied);

    auto* ok = new QPushButton(GlypheOK(), QStringLiteral("OK"), pied);
    ok->setObjectName(QStringLiteral("BBOK"));
    ok->setGeometry(233, 17, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();
}

void TFiche_APropos::SiteWebEditeurClick()
{
    OuvrirLien(AdresseWeb(AdresseEditeur()));
}

void TFiche_APropos::OuvrirLien(const QUrl& adresse)
{
    // Whether the desktop could open it is not looked at.
    if (OuvrirAdresse) OuvrirAdresse(adresse);
}

} // namespace horaku
