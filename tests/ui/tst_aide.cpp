// The help window: the four commands, the pages they land on, a window that
// belongs to no dialog and stays usable beside a modal one, and help pages
// whose links all lead somewhere.
#include "aide.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include <map>
#include <set>

using namespace horaku;

namespace
{

QMainWindow* FenetreAide()
{
    QMainWindow* trouvee = nullptr;
    for (QWidget* fenetre : QApplication::topLevelWidgets()) {
        if (fenetre->objectName() == QLatin1String("FenetreAide"))
            trouvee = qobject_cast<QMainWindow*>(fenetre);
    }
    return trouvee;
}

int NombreFenetresAide()
{
    int nombre = 0;
    for (QWidget* fenetre : QApplication::topLevelWidgets())
        nombre += fenetre->objectName() == QLatin1String("FenetreAide");
    return nombre;
}

QTextBrowser* Navigateur()
{
    QMainWindow* fenetre = FenetreAide();
    return fenetre ? fenetre->findChild<QTextBrowser*>(QStringLiteral("Navigateur")) : nullptr;
}

QString PageAffichee()
{
    QTextBrowser* navigateur = Navigateur();
    return navigateur ? navigateur->source().fileName() : QString();
}

QWidget* BoutonBarre(const char* nomAction)
{
    QMainWindow* fenetre = FenetreAide();
    auto* barre = fenetre->findChild<QToolBar*>(QStringLiteral("BarreAide"));
    auto* action = fenetre->findChild<QAction*>(QLatin1String(nomAction));
    return barre && action ? barre->widgetForAction(action) : nullptr;
}

quintptr Afficher(const QString& fichier, QWidget* proprietaire = nullptr)
{
    return HtmlHelp(proprietaire, fichier, CommandeAide::AfficherSommaire, 0);
}

QString LireTexte(const QString& chemin)
{
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? QString::fromUtf8(fichier.readAll()) : QString();
}

QStringList PagesAide()
{
    return QDir(QStringLiteral(":/aide")).entryList({QStringLiteral("*.html")}, QDir::Files);
}

// What one help page offers and points to, as Qt's HTML reader (the one the
// help window uses) sees it.
struct ContenuPage {
    QString titre;
    QStringList liens;
    QStringList images;
    std::set<QString> ancres;
};

ContenuPage Analyser(const QString& page)
{
    QTextDocument document;
    document.setHtml(LireTexte(QStringLiteral(":/aide/") + page));
    ContenuPage contenu;
    contenu.titre = document.metaInformation(QTextDocument::DocumentTitle);
    for (QTextBlock bloc = document.begin(); bloc.isValid(); bloc = bloc.next()) {
        for (auto morceau = bloc.begin(); !morceau.atEnd(); ++morceau) {
            const QTextCharFormat format = morceau.fragment().charFormat();
            if (format.isAnchor()) {
                if (!format.anchorHref().isEmpty()) contenu.liens << format.anchorHref();
                for (const QString& nom : format.anchorNames())
                    contenu.ancres.insert(nom);
            }
            if (format.isImageFormat()) contenu.images << format.toImageFormat().name();
        }
    }
    return contenu;
}

// Clicks at the middle of `cible` through the window system, the way a user's
// click arrives, so that a window blocked by a modal dialog ignores it.
void CliquerCommeUnUtilisateur(QWidget* cible)
{
    QWidget* fenetre = cible->window();
    const QPoint point = cible->mapTo(fenetre, cible->rect().center());
    QTest::mouseClick(fenetre->windowHandle(), Qt::LeftButton, Qt::NoModifier, point);
}

} // namespace

class TestAide final : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void initialiserRendUnCookie();
    void initialiserSansAdresseNeFaitRien();
    void sujets_data();
    void sujets();
    void ancreAtteinte();
    void sujetInconnuLaisseLaPageAffichee();
    void uneSeuleFenetreReutilisee();
    void fermerToutPuisRouvrir();
    void terminerLibereLaFenetre();
    void nAppartientPasAuDialogue();
    void utilisableAvecUnDialogueModal_data();
    void utilisableAvecUnDialogueModal();
    void dialoguesModauxImbriques();
    void neRetientPasLeProgramme();
    void navigationParLaBarre();
    void lienSuiviAuClavier();
    void titreSuitLaPage();
    void liensDesPages_data();
    void liensDesPages();
    void toutesLesPagesAtteintesDepuisLeSommaire();
};

void TestAide::cleanup()
{
    HtmlHelp(nullptr, QString(), CommandeAide::Terminer, 0);
    QCOMPARE(NombreFenetresAide(), 0);
}

void TestAide::initialiserRendUnCookie()
{
    quintptr cookie = 0;
    QCOMPARE(HtmlHelp(nullptr, QString(), CommandeAide::Initialiser,
                      reinterpret_cast<quintptr>(&cookie)),
             quintptr(0));
    QVERIFY(cookie != 0);
    // Initialising opens nothing; the end hands the cookie back.
    QCOMPARE(NombreFenetresAide(), 0);
    QCOMPARE(HtmlHelp(nullptr, QString(), CommandeAide::Terminer, cookie), quintptr(0));
}

void TestAide::initialiserSansAdresseNeFaitRien()
{
    QCOMPARE(HtmlHelp(nullptr, QString(), CommandeAide::Initialiser, 0), quintptr(0));
    QCOMPARE(NombreFenetresAide(), 0);
}

void TestAide::sujets_data()
{
    QTest::addColumn<QString>("fichier");
    QTest::addColumn<QString>("page"); // empty: nothing is shown

    QTest::newRow("menu Aide Horaku") << "Horaku.chm"
                                      << "Sommaire.html";
    QTest::newRow("Aide des données") << "Horaku.chm::/Donnees.html"
                                      << "Donnees.html";
    QTest::newRow("Aide des paramètres") << "Horaku.chm::/Parametres.html"
                                         << "Parametres.html";
    QTest::newRow("casse différente") << "horaku.CHM::/donnees.HTML"
                                      << "Donnees.html";
    QTest::newRow("sans barre après ::") << "Horaku.chm::Parametres.html"
                                         << "Parametres.html";
    QTest::newRow("dossier devant le fichier")
        << "C:\\Programmes\\Horaku\\Horaku.chm::/Donnees.html"
        << "Donnees.html";
    QTest::newRow("sujet vide") << "Horaku.chm::/"
                                << "Sommaire.html";
    QTest::newRow("sujet inconnu") << "Horaku.chm::/Inconnu.html" << QString();
    QTest::newRow("autre fichier d'aide") << "Autre.chm" << QString();
    QTest::newRow("autre fichier, sujet connu") << "Autre.chm::/Donnees.html" << QString();
    QTest::newRow("fichier vide") << QString() << QString();
    QTest::newRow("feuille de style, pas une page") << "Horaku.chm::/aide.css" << QString();
    QTest::newRow("chemin hors de l'aide") << "Horaku.chm::/../aide/Sommaire.html" << QString();
}

void TestAide::sujets()
{
    QFETCH(QString, fichier);
    QFETCH(QString, page);

    const quintptr resultat = Afficher(fichier);
    if (page.isEmpty()) {
        QCOMPARE(resultat, quintptr(0));
        QCOMPARE(NombreFenetresAide(), 0);
        return;
    }
    QVERIFY(resultat != 0);
    QMainWindow* fenetre = FenetreAide();
    QVERIFY(fenetre);
    QCOMPARE(resultat, reinterpret_cast<quintptr>(fenetre));
    QVERIFY(fenetre->isVisible());
    QCOMPARE(PageAffichee(), page);
    QVERIFY(!Navigateur()->toPlainText().trimmed().isEmpty());
}

void TestAide::ancreAtteinte()
{
    QVERIFY(Afficher(QStringLiteral("Horaku.chm::/Donnees.html")) != 0);
    QVERIFY(QTest::qWaitForWindowExposed(FenetreAide()));
    QCOMPARE(Navigateur()->verticalScrollBar()->value(), 0);

    // The same page again, at a section far down: it scrolls there.
    QVERIFY(Afficher(QStringLiteral("Horaku.chm::/Donnees.html#bas")) != 0);
    QTRY_VERIFY(Navigateur()->verticalScrollBar()->value() > 0);
}

void TestAide::sujetInconnuLaisseLaPageAffichee()
{
    QVERIFY(Afficher(QStringLiteral("Horaku.chm::/Parametres.html")) != 0);
    QCOMPARE(Afficher(QStringLiteral("Horaku.chm::/Absente.html")), quintptr(0));
    QCOMPARE(NombreFenetresAide(), 1);
    QVERIFY(FenetreAide()->isVisible());
    QCOMPARE(PageAffichee(), QStringLiteral("Parametres.html"));
}

void TestAide::uneSeuleFenetreReutilisee()
{
    const quintptr premiere = Afficher(QStringLiteral("Horaku.chm"));
    const quintptr deuxieme = Afficher(QStringLiteral("Horaku.chm::/Donnees.html"));
    const quintptr troisieme = Afficher(QStringLiteral("Horaku.chm::/Parametres.html"));
    QVERIFY(premiere != 0);
    QCOMPARE(deuxieme, premiere);
    QCOMPARE(troisieme, premiere);
    QCOMPARE(NombreFenetresAide(), 1);
    QCOMPARE(PageAffichee(), QStringLiteral("Parametres.html"));
}

void TestAide::fermerToutPuisRouvrir()
{
    const quintptr avant = Afficher(QStringLiteral("Horaku.chm::/Donnees.html"));
    QCOMPARE(HtmlHelp(nullptr, QString(), CommandeAide::FermerTout, 0), quintptr(0));
    QVERIFY(!FenetreAide()->isVisible());

    QCOMPARE(Afficher(QStringLiteral("Horaku.chm")), avant);
    QVERIFY(FenetreAide()->isVisible());
    QCOMPARE(PageAffichee(), QStringLiteral("Sommaire.html"));
    QCOMPARE(NombreFenetresAide(), 1);

    // Closing with nothing open is harmless.
    HtmlHelp(nullptr, QString(), CommandeAide::Terminer, 0);
    QCOMPARE(HtmlHelp(nullptr, QString(), CommandeAide::FermerTout, 0), quintptr(0));
}

void TestAide::terminerLibereLaFenetre()
{
    quintptr cookie = 0;
    HtmlHelp(nullptr, QString(), CommandeAide::Initialiser, reinterpret_cast<quintptr>(&cookie));
    QVERIFY(Afficher(QStringLiteral("Horaku.chm")) != 0);
    QPointer<QMainWindow> fenetre = FenetreAide();

    HtmlHelp(nullptr, QString(), CommandeAide::Terminer, cookie);
    QVERIFY(fenetre.isNull());
    QCOMPARE(NombreFenetresAide(), 0);

    // Asked again afterwards, the help opens anew.
    QVERIFY(Afficher(QStringLiteral("Horaku.chm::/Donnees.html")) != 0);
    QCOMPARE(PageAffichee(), QStringLiteral("Donnees.html"));
}

void TestAide::nAppartientPasAuDialogue()
{
    auto* dialogue = new QDialog;
    dialogue->show();
    QVERIFY(Afficher(QStringLiteral("Horaku.chm::/Parametres.html"), dialogue) != 0);

    QMainWindow* fenetre = FenetreAide();
    QVERIFY(fenetre->isWindow());
    QCOMPARE(fenetre->parentWidget(), nullptr);
    QVERIFY(!fenetre->isModal());
    QCOMPARE(fenetre->windowModality(), Qt::NonModal);

    delete dialogue;
    QCOMPARE(FenetreAide(), fenetre);
    QVERIFY(fenetre->isVisible());
    QCOMPARE(PageAffichee(), QStringLiteral("Parametres.html"));
}

void TestAide::utilisableAvecUnDialogueModal_data()
{
    QTest::addColumn<bool>("aideAvantLeDialogue");
    QTest::newRow("aide demandée par le dialogue") << false;
    QTest::newRow("aide déjà ouverte à l'ouverture du dialogue") << true;
}

void TestAide::utilisableAvecUnDialogueModal()
{
    QFETCH(bool, aideAvantLeDialogue);

    QDialog dialogue;
    dialogue.setWindowModality(Qt::ApplicationModal);
    if (aideAvantLeDialogue) Afficher(QStringLiteral("Horaku.chm::/Donnees.html"));
    dialogue.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialogue));
    if (!aideAvantLeDialogue) Afficher(QStringLiteral("Horaku.chm::/Donnees.html"), &dialogue);
    QMainWindow* fenetre = FenetreAide();
    QVERIFY(QTest::qWaitForWindowExposed(fenetre));
    QCOMPARE(PageAffichee(), QStringLiteral("Donnees.html"));

    // The user's click on "Sommaire" reaches the help window.
    CliquerCommeUnUtilisateur(BoutonBarre("ActionSommaire"));
    QTRY_COMPARE(PageAffichee(), QStringLiteral("Sommaire.html"));

    // Once the dialog is gone, the help window belongs to no window again.
    dialogue.hide();
    QTRY_COMPARE(fenetre->windowHandle()->transientParent(), nullptr);
    QVERIFY(fenetre->isVisible());
}

void TestAide::dialoguesModauxImbriques()
{
    // The parameters dialog opens the password dialog over itself.
    QDialog exterieur;
    exterieur.setWindowModality(Qt::ApplicationModal);
    exterieur.show();
    QVERIFY(QTest::qWaitForWindowExposed(&exterieur));
    Afficher(QStringLiteral("Horaku.chm::/Parametres.html"), &exterieur);
    QMainWindow* fenetre = FenetreAide();
    QVERIFY(QTest::qWaitForWindowExposed(fenetre));

    QDialog interieur(&exterieur);
    interieur.setWindowModality(Qt::ApplicationModal);
    interieur.show();
    QVERIFY(QTest::qWaitForWindowExposed(&interieur));
    CliquerCommeUnUtilisateur(BoutonBarre("ActionSommaire"));
    QTRY_COMPARE(PageAffichee(), QStringLiteral("Sommaire.html"));

    // Back to the outer dialog alone: the help still answers.
    interieur.hide();
    QTRY_COMPARE(fenetre->windowHandle()->transientParent(), exterieur.windowHandle());
    CliquerCommeUnUtilisateur(BoutonBarre("ActionPrecedent"));
    QTRY_COMPARE(PageAffichee(), QStringLiteral("Parametres.html"));

    exterieur.hide();
    QTRY_COMPARE(fenetre->windowHandle()->transientParent(), nullptr);
}

void TestAide::neRetientPasLeProgramme()
{
    // The main window's close ends the event loop even while help is open.
    QWidget principale;
    principale.show();
    QVERIFY(QTest::qWaitForWindowExposed(&principale));
    Afficher(QStringLiteral("Horaku.chm"));
    QVERIFY(QTest::qWaitForWindowExposed(FenetreAide()));

    bool filet = false;
    QTimer::singleShot(0, &principale, [&principale] { principale.close(); });
    QTimer::singleShot(5000, qApp, [&filet] {
        filet = true;
        QCoreApplication::quit();
    });
    QApplication::exec();
    QVERIFY2(!filet, "la fenêtre d'aide a maintenu le programme en vie");
}

void TestAide::navigationParLaBarre()
{
    Afficher(QStringLiteral("Horaku.chm"));
    QWidget* precedent = BoutonBarre("ActionPrecedent");
    QWidget* suivant = BoutonBarre("ActionSuivant");
    QVERIFY(precedent && suivant);
    QVERIFY(!precedent->isEnabled());
    QVERIFY(!suivant->isEnabled());

    Afficher(QStringLiteral("Horaku.chm::/Donnees.html"));
    QVERIFY(precedent->isEnabled());
    QTest::mouseClick(precedent, Qt::LeftButton);
    QCOMPARE(PageAffichee(), QStringLiteral("Sommaire.html"));
    QVERIFY(suivant->isEnabled());
    QTest::mouseClick(suivant, Qt::LeftButton);
    QCOMPARE(PageAffichee(), QStringLiteral("Donnees.html"));
    QVERIFY(!suivant->isEnabled());

    QTest::mouseClick(BoutonBarre("ActionSommaire"), Qt::LeftButton);
    QCOMPARE(PageAffichee(), QStringLiteral("Sommaire.html"));
}

void TestAide::lienSuiviAuClavier()
{
    Afficher(QStringLiteral("Horaku.chm"));
    QMainWindow* fenetre = FenetreAide();
    QVERIFY(QTest::qWaitForWindowActive(fenetre));
    QTextBrowser* navigateur = Navigateur();
    navigateur->setFocus();

    // Tab selects the table of contents' first link, Enter follows it.
    const QString premierLien = Analyser(QStringLiteral("Sommaire.html")).liens.value(0);
    QTest::keyClick(navigateur, Qt::Key_Tab);
    QTest::keyClick(navigateur, Qt::Key_Return);
    QTRY_COMPARE(PageAffichee(), premierLien);
}

void TestAide::titreSuitLaPage()
{
    Afficher(QStringLiteral("Horaku.chm::/Donnees.html"));
    const QString titreDonnees = FenetreAide()->windowTitle();
    QVERIFY(titreDonnees.startsWith(QStringLiteral("Aide Horaku")));
    QVERIFY(titreDonnees.contains(Analyser(QStringLiteral("Donnees.html")).titre));

    Afficher(QStringLiteral("Horaku.chm::/Parametres.html"));
    const QString titreParametres = Analyser(QStringLiteral("Parametres.html")).titre;
    QVERIFY(FenetreAide()->windowTitle().contains(titreParametres));
    QVERIFY(FenetreAide()->windowTitle() != titreDonnees);
}

void TestAide::liensDesPages_data()
{
    QTest::addColumn<QString>("page");
    const QStringList pages = PagesAide();
    QVERIFY(pages.size() >= 8);
    for (const QString& page : pages)
        QTest::newRow(qPrintable(page)) << page;
}

void TestAide::liensDesPages()
{
    QFETCH(QString, page);
    const ContenuPage contenu = Analyser(page);
    QVERIFY2(!contenu.titre.trimmed().isEmpty(), "page sans titre");

    const QUrl base(QStringLiteral("qrc:/aide/") + page);
    for (const QString& lien : contenu.liens) {
        const QUrl cible = base.resolved(QUrl(lien));
        QVERIFY2(cible.scheme() == QLatin1String("qrc"),
                 qPrintable(QStringLiteral("lien vers l'extérieur de l'aide : ") + lien));
        const QString chemin = QLatin1Char(':') + cible.path();
        QVERIFY2(QFile::exists(chemin), qPrintable(QStringLiteral("lien mort : ") + lien));
        if (cible.hasFragment()) {
            const std::set<QString> ancres = Analyser(cible.fileName()).ancres;
            QVERIFY2(ancres.count(cible.fragment()) == 1,
                     qPrintable(QStringLiteral("ancre absente : ") + lien));
        }
    }
    for (const QString& image : contenu.images) {
        const QUrl cible = base.resolved(QUrl(image));
        QVERIFY2(QFile::exists(QLatin1Char(':') + cible.path()),
                 qPrintable(QStringLiteral("image absente : ") + image));
    }
}

void TestAide::toutesLesPagesAtteintesDepuisLeSommaire()
{
    std::set<QString> atteintes{QStringLiteral("Sommaire.html")};
    QStringList aVisiter{QStringLiteral("Sommaire.html")};
    while (!aVisiter.isEmpty()) {
        const QString page = aVisiter.takeFirst();
        const QUrl base(QStringLiteral("qrc:/aide/") + page);
        for (const QString& lien : Analyser(page).liens) {
            const QString cible = base.resolved(QUrl(lien)).fileName();
            if (atteintes.insert(cible).second) aVisiter << cible;
        }
    }
    for (const QString& page : PagesAide())
        QVERIFY2(atteintes.count(page) == 1, qPrintable(page + QStringLiteral(" est orpheline")));
}

QTEST_MAIN(TestAide)
#include "tst_aide.moc"
