// The menu as the user reaches it: each command's place, caption and
// shortcut, the shortcut really reaching its command, the commands disabled
// when they can do nothing, the choosers they open, the help and About
// windows, the printer setup chooser and what Print puts on the page.
#include "outils_ui.h"
#include "principale.h"

#include "aide.h"
#include "apropos.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBrowser>
#include <QTimer>
#include <QtTest>

using namespace horaku;
using namespace outils_ui;

namespace
{

// Eats the shortcut events that reach one action, so that the command does
// not run, and counts them.
class CapteurRaccourci final : public QObject
{
public:
    int recus = 0;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override
    {
        if (evenement->type() == QEvent::Shortcut) {
            ++recus;
            return true;
        }
        return QObject::eventFilter(objet, evenement);
    }
};

struct Banc {
    DossierDeTravail dossier;
    ServicesScriptes services;
    std::unique_ptr<TFenetre_Principale> fenetre;
    QString plan;

    // `ouvert`: a timetable is open at start-up.
    explicit Banc(bool ouvert = true, const REdt& modele = EdtExemple())
    {
        plan = dossier.Chemin(QStringLiteral("plan.edt"));
        if (ouvert) Ecrire(modele, plan);
        EcrireConfiguration(ouvert ? plan : QString());
        fenetre = std::make_unique<TFenetre_Principale>(services);
        fenetre->show();
    }
    bool Actif()
    {
        if (!QTest::qWaitForWindowExposed(fenetre.get())) return false;
        fenetre->activateWindow();
        return QTest::qWaitForWindowActive(fenetre.get());
    }
    QAction* Action(const QString& nom) { return fenetre->findChild<QAction*>(nom); }
};

// The modal window that shows up next, handed to `faire` and then closed.
void QuandModal(const std::function<void(QWidget*)>& faire)
{
    auto essai = std::make_shared<std::function<void()>>();
    *essai = [faire, essai] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            faire(modal);
            if (auto* dialogue = qobject_cast<QDialog*>(modal))
                dialogue->reject();
            else
                modal->close();
        } else {
            QTimer::singleShot(10, qApp, *essai);
        }
    };
    QTimer::singleShot(0, qApp, *essai);
}

int NombreFenetresAide()
{
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += w->objectName() == QLatin1String("FenetreAide") && w->isVisible();
    return n;
}

} // namespace

class TestCommandes : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void menu_data();
    void menu();
    void commandesSelonLEtat_data();
    void commandesSelonLEtat();
    void selecteurs_data();
    void selecteurs();
    void enregistrerEcritLaConfiguration_data();
    void enregistrerEcritLaConfiguration();
    void aideEtQuitter();
    void aPropos();
    void configurationImprimante();
    void cadreDeLaFenetre();
};

void TestCommandes::cleanup()
{
    HtmlHelp(nullptr, QString(), CommandeAide::FermerTout, 0);
}

void TestCommandes::menu_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QKeySequence>("raccourci");

    const auto ligne = [](const char* nom, const char* menu, const char* texte,
                          QKeySequence raccourci) {
        QTest::newRow(nom) << QString::fromLatin1(nom) << QString::fromLatin1(menu)
                           << QString::fromUtf8(texte) << raccourci;
    };
    ligne("MenuNouveau", "MenuFichier", "Nouveau...", QKeySequence(Qt::CTRL | Qt::Key_N));
    ligne("MenuOuvrir", "MenuFichier", "Ouvrir...", QKeySequence(Qt::CTRL | Qt::Key_O));
    ligne("MenuEnregistrer", "MenuFichier", "Enregistrer", QKeySequence(Qt::CTRL | Qt::Key_S));
    ligne("MenuEnregistrerSous", "MenuFichier", "Enregistrer sous ...",
          QKeySequence(Qt::CTRL | Qt::Key_E));
    ligne("MenuSupprimer", "MenuFichier", "Supprimer ...", QKeySequence(Qt::CTRL | Qt::Key_Delete));
    ligne("MenuEnregistrerImage", "MenuFichier", "Enregistrer l'image ...",
          QKeySequence(Qt::CTRL | Qt::Key_I));
    ligne("N2", "MenuFichier", "", QKeySequence());
    ligne("MenuConfigurationImprimante", "MenuFichier", "Configuration de l'imprimante",
          QKeySequence());
    ligne("MenuImprimer", "MenuFichier", "&Imprimer", QKeySequence(Qt::CTRL | Qt::Key_P));
    ligne("N1", "MenuFichier", "", QKeySequence());
    ligne("MenuQuitter", "MenuFichier", "&Quitter", QKeySequence(Qt::ALT | Qt::Key_F4));
    ligne("MenuParametres", "MenuConfiguration", "Paramètres...", QKeySequence(Qt::Key_F2));
    ligne("MenuDonnees", "MenuConfiguration", "Données...", QKeySequence(Qt::Key_F3));
    ligne("MenuAideHoraku", "MenuAide", "Aide Horaku", QKeySequence(Qt::Key_F1));
    ligne("MenuAPropos", "MenuAide", "A propos ...", QKeySequence(Qt::CTRL | Qt::Key_A));
}

void TestCommandes::menu()
{
    QFETCH(QString, nom);
    QFETCH(QString, menu);
    QFETCH(QString, texte);
    QFETCH(QKeySequence, raccourci);

    Banc banc;
    QVERIFY(banc.Actif());
    QAction* action = banc.Action(nom);
    QVERIFY2(action, qPrintable(nom));
    auto* parent = banc.fenetre->findChild<QMenu*>(menu);
    QVERIFY(parent);
    QVERIFY(parent->actions().contains(action));
    QCOMPARE(action->isSeparator(), texte.isEmpty());
    if (!texte.isEmpty()) QCOMPARE(action->text(), texte);
    QCOMPARE(action->shortcut(), raccourci);

    // The items of the table keep their order inside their menu, whatever
    // other items stand between them.
    QStringList ordre;
    for (QAction* a : parent->actions())
        ordre << a->objectName();
    const QStringList fichier{"MenuNouveau",
                              "MenuOuvrir",
                              "MenuEnregistrer",
                              "MenuEnregistrerSous",
                              "MenuSupprimer",
                              "MenuEnregistrerImage",
                              "N2",
                              "MenuConfigurationImprimante",
                              "MenuImprimer",
                              "N1",
                              "MenuQuitter"};
    if (menu == QLatin1String("MenuFichier")) {
        qsizetype avant = -1;
        for (const QString& n : fichier) {
            const qsizetype ici = ordre.indexOf(n);
            QVERIFY2(ici > avant, qPrintable(n));
            avant = ici;
        }
    }

    // The keys reach this command, and this command only, from the window.
    if (raccourci.isEmpty()) return;
    CapteurRaccourci capteur;
    action->installEventFilter(&capteur);
    QTest::keySequence(banc.fenetre.get(), raccourci);
    QCOMPARE(capteur.recus, 1);
    // Also from the floating panel, a window of its own; a text field there keeps Ctrl+A.
    QDockWidget* dock = banc.fenetre->DockPanneau();
    dock->setFloating(true);
    dock->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dock));
    auto* caseACocher = dock->findChild<QCheckBox*>(QStringLiteral("CBAffichNom"));
    caseACocher->setFocus();
    QTest::keySequence(caseACocher, raccourci);
    QCOMPARE(capteur.recus, 2);
    QVERIFY(banc.services.questions.isEmpty());
    QVERIFY(banc.services.selecteurs.isEmpty());
}

void TestCommandes::commandesSelonLEtat_data()
{
    QTest::addColumn<int>("etat"); // 0 none, 1 open without a picture, 2 open with its picture
    QTest::addColumn<bool>("enregistrer");
    QTest::addColumn<bool>("image");
    QTest::newRow("aucun emploi du temps") << 0 << false << false;
    QTest::newRow("emploi du temps sans image (largeur d'une heure nulle)") << 1 << true << false;
    QTest::newRow("emploi du temps et son image") << 2 << true << true;
}

void TestCommandes::commandesSelonLEtat()
{
    QFETCH(int, etat);
    QFETCH(bool, enregistrer);
    QFETCH(bool, image);
    REdt modele = EdtExemple();
    if (etat == 1) modele.Mesures.HeureLarg = 0;
    Banc banc(etat != 0, modele);
    QVERIFY(banc.Actif());
    QCOMPARE(banc.fenetre->EdtCourant() != nullptr, etat != 0);
    QCOMPARE(!banc.fenetre->Image().isNull(), image);

    const QList<std::pair<const char*, bool>> attendus{{"MenuEnregistrer", enregistrer},
                                                       {"MenuEnregistrerSous", enregistrer},
                                                       {"MenuEnregistrerImage", image},
                                                       {"MenuImprimer", image},
                                                       {"MenuNouveau", true},
                                                       {"MenuOuvrir", true},
                                                       {"MenuQuitter", true}};
    for (const auto& [nom, actif] : attendus)
        QVERIFY2(banc.Action(QString::fromLatin1(nom))->isEnabled() == actif, nom);

    // A disabled command's keys do nothing: no chooser, no box.
    for (const auto& [nom, actif] : attendus)
        if (!actif)
            QTest::keySequence(banc.fenetre.get(),
                               banc.Action(QString::fromLatin1(nom))->shortcut());
    QVERIFY(banc.services.selecteurs.isEmpty());
    QVERIFY(banc.services.questions.isEmpty());

    // Closing the timetable disables them; opening one again enables them.
    if (etat == 2) {
        QVERIFY(banc.fenetre->FermerEmploiDuTemps());
        for (const char* nom :
             {"MenuEnregistrer", "MenuEnregistrerSous", "MenuEnregistrerImage", "MenuImprimer"})
            QVERIFY2(!banc.Action(QString::fromLatin1(nom))->isEnabled(), nom);
        banc.services.noms = {banc.plan};
        banc.fenetre->MenuOuvrirClick();
        for (const char* nom :
             {"MenuEnregistrer", "MenuEnregistrerSous", "MenuEnregistrerImage", "MenuImprimer"})
            QVERIFY2(banc.Action(QString::fromLatin1(nom))->isEnabled(), nom);
    }
}

void TestCommandes::selecteurs_data()
{
    QTest::addColumn<QString>("commande");
    QTest::addColumn<int>("sorte");
    QTest::addColumn<QString>("suffixe");
    QTest::addColumn<bool>("confirmerRemplacement");

    // Save as asks its own replace question about the ".edt" name: the
    // chooser's would be a second one.
    QTest::newRow("Ouvrir") << "MenuOuvrir" << int(Selecteur::OuvrirEdt) << "edt" << false;
    QTest::newRow("Enregistrer sous")
        << "MenuEnregistrerSous" << int(Selecteur::EnregistrerEdt) << "edt" << false;
    QTest::newRow("Enregistrer l'image")
        << "MenuEnregistrerImage" << int(Selecteur::EnregistrerImage) << "gif" << true;
}

void TestCommandes::selecteurs()
{
    QFETCH(QString, commande);
    QFETCH(int, sorte);
    QFETCH(QString, suffixe);
    QFETCH(bool, confirmerRemplacement);

    // Never the program's folder (/usr/bin once installed).
    const std::string precedent = DossierProgramme;
    DossierProgramme = "/programme/horaku/";
    Banc banc;
    // A name chosen in another folder (absent, when opened), then the chooser again.
    QTemporaryDir ailleurs;
    banc.services.noms = {ailleurs.filePath("copie." + suffixe), std::nullopt, std::nullopt};
    banc.Action(commande)->trigger();
    banc.Action(commande)->trigger();
    // The folder gone, the chooser falls back on the timetable's.
    QVERIFY(ailleurs.remove());
    banc.services.noms = {std::nullopt};
    banc.Action(commande)->trigger();
    DossierProgramme = precedent;

    const QList<Selecteur>& vus = banc.services.selecteurs;
    QVERIFY(vus.size() >= 3);
    const Selecteur& s = banc.services.selecteurs.front();
    QCOMPARE(int(s.sorte), sorte);
    // First time: the current timetable's folder; then the folder last used.
    QCOMPARE(s.dossier, QFileInfo(banc.plan).absolutePath());
    QCOMPARE(s.suffixe, suffixe);
    QCOMPARE(s.confirmerRemplacement, confirmerRemplacement);
    QCOMPARE(vus.at(vus.size() - 2).dossier, ailleurs.path());
    QVERIFY(QFileInfo(vus.back().dossier).isDir());
}

void TestCommandes::enregistrerEcritLaConfiguration_data()
{
    QTest::addColumn<QString>("commande");
    QTest::newRow("Enregistrer") << "MenuEnregistrer";
    QTest::newRow("Enregistrer sous") << "MenuEnregistrerSous";
}

void TestCommandes::enregistrerEcritLaConfiguration()
{
    QFETCH(QString, commande);
    Banc banc;
    banc.fenetre->EdtCourant()->EdtModifie = true;
    banc.fenetre->Config().EdtDefaut = "/ailleurs/defaut.edt";
    banc.fenetre->Config().ConfigModifiee = true;
    banc.services.noms = {banc.dossier.Chemin(QStringLiteral("autre.edt"))};

    banc.Action(commande)->trigger();

    QVERIFY(banc.services.questions.isEmpty());
    QVERIFY(!banc.fenetre->EdtCourant()->EdtModifie);
    QVERIFY(!banc.fenetre->Config().ConfigModifiee);
    QFile f(QStringLiteral("Horaku.cfg"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains("/ailleurs/defaut.edt"));
}

void TestCommandes::aideEtQuitter()
{
    Banc banc;
    QVERIFY(banc.Actif());
    QTest::keyClick(banc.fenetre.get(), Qt::Key_F1);
    QTRY_COMPARE(NombreFenetresAide(), 1);
    QWidget* aide = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("FenetreAide")) aide = w;
    // The table of contents, not another page.
    auto* navigateur = aide->findChild<QTextBrowser*>(QStringLiteral("Navigateur"));
    QVERIFY(navigateur);
    QCOMPARE(navigateur->source().fileName(), QStringLiteral("Sommaire.html"));

    banc.Action(QStringLiteral("MenuQuitter"))->trigger();
    QCOMPARE(NombreFenetresAide(), 0);
    QVERIFY(!banc.fenetre->isVisible());
}

void TestCommandes::aPropos()
{
    Banc banc;
    QVERIFY(banc.Actif());
    QString titre;
    QStringList textes;
    QuandModal([&](QWidget* modal) {
        titre = modal->windowTitle();
        for (const QLabel* l : modal->findChildren<QLabel*>())
            if (l->isVisible() && !l->text().trimmed().isEmpty()) textes << l->text();
    });
    QTest::keySequence(banc.fenetre.get(), QKeySequence(Qt::CTRL | Qt::Key_A));
    QVERIFY(!titre.isEmpty());
    // The version line and the addresses the box links to.
    const QString tout = textes.join(QLatin1Char('|'));
    QVERIFY2(tout.contains(QStringLiteral("Version 2.0")), qPrintable(tout));
    QVERIFY2(textes.size() >= 3, qPrintable(tout));
}

void TestCommandes::configurationImprimante()
{
    Banc banc;
    QString titre;
    bool choixImprimante = false;
    QuandModal([&](QWidget* modal) {
        titre = modal->windowTitle();
        choixImprimante = qobject_cast<QPrintDialog*>(modal) != nullptr;
    });
    banc.Action(QStringLiteral("MenuConfigurationImprimante"))->trigger();
    QVERIFY(choixImprimante);
    QCOMPARE(titre, QStringLiteral("Configuration de l'imprimante"));
    QVERIFY(banc.services.questions.isEmpty());
}

void TestCommandes::cadreDeLaFenetre()
{
    Banc banc;
    const Qt::WindowFlags f = banc.fenetre->windowFlags();
    QVERIFY(f & Qt::WindowSystemMenuHint);
    QVERIFY(f & Qt::WindowCloseButtonHint);
    QVERIFY(!(f & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(f & Qt::WindowMinimizeButtonHint));
    QCOMPARE(banc.fenetre->windowTitle(), QStringLiteral("Horaku - plan.edt"));

    // The panel cannot be closed: a close request leaves it shown.
    QDockWidget* dock = banc.fenetre->DockPanneau();
    QCOMPARE(dock->windowTitle(), QStringLiteral("Affichage"));
    QVERIFY(!(dock->features() & QDockWidget::DockWidgetClosable));
    dock->setFloating(true);
    QVERIFY(!dock->close() && dock->isVisible());
    QVERIFY(banc.fenetre->isVisible());
}

QTEST_MAIN(TestCommandes)
#include "tst_ui_commandes.moc"
