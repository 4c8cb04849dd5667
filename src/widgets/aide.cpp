// The help window stands in for the compiled HTML help viewer.  "Horaku.chm"
// names the set of pages compiled in under ":/aide/"; "Horaku.chm::/X.html"
// names one of them.  One window serves every request and is reused.
#include "aide.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPointer>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QWindow>

#include <algorithm>

namespace horaku
{
namespace
{

const QString kNomFichierAide = QStringLiteral("Horaku.chm");
const QString kDossierPages = QStringLiteral(":/aide");
const QString kPageSommaire = QStringLiteral("Sommaire.html");
const QString kTitreFenetre = QStringLiteral("Aide Horaku");
constexpr quintptr kCookie = 0x48524B41; // "HRKA": any non-zero value serves

// The page that a file text names, as a "qrc:" address, or an empty address
// when the text names another file or a page that does not exist.  Like the
// compiled help it replaces, file and page names ignore letter case, and a
// folder in front of the file name is ignored.
QUrl PageDemandee(const QString& fichier)
{
    const int separateur = fichier.indexOf(QLatin1String("::"));
    QString nomFichier = (separateur < 0 ? fichier : fichier.left(separateur)).trimmed();
    const int dernierDossier = std::max(nomFichier.lastIndexOf(QLatin1Char('/')),
                                        nomFichier.lastIndexOf(QLatin1Char('\\')));
    nomFichier = nomFichier.mid(dernierDossier + 1);
    if (nomFichier.compare(kNomFichierAide, Qt::CaseInsensitive) != 0) return {};

    QString sujet = separateur < 0 ? QString() : fichier.mid(separateur + 2).trimmed();
    while (sujet.startsWith(QLatin1Char('/')))
        sujet.remove(0, 1);
    QString ancre;
    if (const int diese = sujet.indexOf(QLatin1Char('#')); diese >= 0) {
        ancre = sujet.mid(diese + 1);
        sujet.truncate(diese);
    }
    if (sujet.isEmpty()) sujet = kPageSommaire;

    const QStringList pages =
        QDir(kDossierPages).entryList({QStringLiteral("*.html")}, QDir::Files);
    for (const QString& page : pages) {
        if (page.compare(sujet, Qt::CaseInsensitive) == 0) {
            QUrl adresse(QStringLiteral("qrc:/aide/") + page);
            if (!ancre.isEmpty()) adresse.setFragment(ancre);
            return adresse;
        }
    }
    return {};
}

QString LireTexte(const QString& chemin)
{
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(fichier.readAll());
}

class FenetreAide final : public QMainWindow
{
public:
    FenetreAide();
    void Afficher(const QUrl& page);
    void Fermer();

protected:
    bool event(QEvent* evenement) override;

private:
    void SuivreFenetreModale();
    void QuitterFenetreModale();
    void MettreAJourTitre();

    QTextBrowser* navigateur_;
    QMetaObject::Connection finModale_;
};

FenetreAide::FenetreAide() : QMainWindow(nullptr)
{
    setObjectName(QStringLiteral("FenetreAide"));
    setWindowTitle(kTitreFenetre);
    // The program ends when the main window closes, help open or not.
    setAttribute(Qt::WA_QuitOnClose, false);

    navigateur_ = new QTextBrowser(this);
    navigateur_->setObjectName(QStringLiteral("Navigateur"));
    navigateur_->setOpenExternalLinks(true);
    navigateur_->document()->setDefaultStyleSheet(LireTexte(kDossierPages + "/aide.css"));
    navigateur_->document()->setDocumentMargin(12);
    setCentralWidget(navigateur_);

    QToolBar* barre = addToolBar(QStringLiteral("Navigation"));
    barre->setObjectName(QStringLiteral("BarreAide"));
    barre->setMovable(false);
    barre->setFloatable(false);
    barre->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    barre->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);

    QAction* sommaire =
        barre->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Sommaire"));
    sommaire->setObjectName(QStringLiteral("ActionSommaire"));
    sommaire->setToolTip(QStringLiteral("Revenir au sommaire de l'aide"));
    QAction* precedent =
        barre->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Précédent"));
    precedent->setObjectName(QStringLiteral("ActionPrecedent"));
    precedent->setToolTip(QStringLiteral("Page précédente (Alt+Gauche)"));
    precedent->setEnabled(false);
    QAction* suivant =
        barre->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Suivant"));
    suivant->setObjectName(QStringLiteral("ActionSuivant"));
    suivant->setToolTip(QStringLiteral("Page suivante (Alt+Droite)"));
    suivant->setEnabled(false);

    connect(sommaire, &QAction::triggered, this,
            [this] { Afficher(QUrl(QStringLiteral("qrc:/aide/") + kPageSommaire)); });
    connect(precedent, &QAction::triggered, navigateur_, &QTextBrowser::backward);
    connect(suivant, &QAction::triggered, navigateur_, &QTextBrowser::forward);
    connect(navigateur_, &QTextBrowser::backwardAvailable, precedent, &QAction::setEnabled);
    connect(navigateur_, &QTextBrowser::forwardAvailable, suivant, &QAction::setEnabled);
    connect(navigateur_, &QTextBrowser::sourceChanged, this, [this] { MettreAJourTitre(); });

    resize(780, 600);
}

void FenetreAide::Afficher(const QUrl& page)
{
    if (navigateur_->source() != page)
        navigateur_->setSource(page);
    else if (!page.fragment().isEmpty())
        navigateur_->scrollToAnchor(page.fragment());
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    SuivreFenetreModale();
    raise();
    activateWindow();
}

void FenetreAide::Fermer()
{
    close();
    QuitterFenetreModale();
}

void FenetreAide::MettreAJourTitre()
{
    const QString titrePage = navigateur_->documentTitle().trimmed();
    setWindowTitle(titrePage.isEmpty() ? kTitreFenetre
                                       : kTitreFenetre + QStringLiteral(" - ") + titrePage);
}

bool FenetreAide::event(QEvent* evenement)
{
    if (evenement->type() == QEvent::WindowBlocked) SuivreFenetreModale();
    return QMainWindow::event(evenement);
}

// A modal dialog blocks the input of every window that is not its own.  The
// help is asked for from such dialogs and must stay usable beside them, so
// while one is open the help window becomes its transient window; it goes
// back to belonging to no window as soon as the dialog is hidden.
void FenetreAide::SuivreFenetreModale()
{
    QWindow* propre = windowHandle();
    QWindow* modale = QGuiApplication::modalWindow();
    if (!propre || !modale || !modale->isVisible() || modale == propre ||
        propre->transientParent() == modale)
        return;
    QObject::disconnect(finModale_);
    propre->setTransientParent(modale);
    // Queued: when the signal comes, the dialog is still listed as modal.
    finModale_ = connect(
        modale, &QWindow::visibleChanged, this,
        [this](bool visible) {
            if (!visible) QuitterFenetreModale();
        },
        Qt::QueuedConnection);
}

void FenetreAide::QuitterFenetreModale()
{
    QObject::disconnect(finModale_);
    // An outer modal dialog still open blocks the window again, and the
    // WindowBlocked event then ties it to that dialog.
    if (QWindow* propre = windowHandle()) propre->setTransientParent(nullptr);
}

QPointer<FenetreAide> fenetreAide;
quintptr cookieDonne = 0;

} // namespace

quintptr HtmlHelp(QWidget* proprietaire, const QString& fichier, CommandeAide commande,
                  quintptr donnee)
{
    Q_UNUSED(proprietaire);
    switch (commande) {
    case CommandeAide::Initialiser:
        cookieDonne = kCookie;
        if (donnee != 0) *reinterpret_cast<quintptr*>(donnee) = cookieDonne;
        return 0;
    case CommandeAide::Terminer:
        delete fenetreAide.data();
        cookieDonne = 0;
        return 0;
    case CommandeAide::FermerTout:
        if (fenetreAide) fenetreAide->Fermer();
        return 0;
    case CommandeAide::AfficherSommaire: {
        if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return 0;
        const QUrl page = PageDemandee(fichier);
        if (page.isEmpty()) return 0;
        if (!fenetreAide) fenetreAide = new FenetreAide;
        fenetreAide->Afficher(page);
        return reinterpret_cast<quintptr>(fenetreAide.data());
    }
    }
    return 0;
}

} // namespace horaku
