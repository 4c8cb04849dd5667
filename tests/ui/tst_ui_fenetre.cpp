// The main window from start-up to its two states: configuration cases, title,
// menu, the picture at the client area's corner and the panel at its side.
#include "outils_ui.h"
#include "principale.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>

using namespace horaku;
using namespace outils_ui;

namespace
{

enum class Depart {
    SansConfiguration,
    SansDefaut,
    DefautDisparu,
    DefautPresent,
    DefautAutreVersion,
    DefautIllisible,
    ConfigurationEtrangere,
};

QString LigneDefaut()
{
    QFile f(QStringLiteral("Horaku.cfg"));
    if (!f.open(QIODevice::ReadOnly)) return QStringLiteral("<absent>");
    const QList<QByteArray> lignes = f.readAll().split('\n');
    return lignes.size() < 4 ? QStringLiteral("<court>") : QString::fromUtf8(lignes[3].trimmed());
}

QString Cadre(const QWidget* w)
{
    return QStringLiteral("%1,%2 %3x%4").arg(w->x()).arg(w->y()).arg(w->width()).arg(w->height());
}

} // namespace

Q_DECLARE_METATYPE(Depart)

class TestFenetre : public QObject
{
    Q_OBJECT

private slots:
    void demarrage_data();
    void demarrage();
    void configurationSuitLEtat();
    void zoneClient_data();
    void zoneClient();
    void panneauSuitLaFenetre();
    void panneauCacheSansEmploiDuTemps();
};

void TestFenetre::demarrage_data()
{
    QTest::addColumn<Depart>("depart");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("titre");
    QTest::addColumn<bool>("ouvert");
    QTest::addColumn<bool>("defautGarde");

    const QString illisible = QStringLiteral("'x' n'est pas une valeur entière correcte");
    QTest::newRow("sans configuration")
        << Depart::SansConfiguration
        << QStringList{QStringLiteral(
               "Fichier de configuration absent.\nConfiguration par défaut.")}
        << "Horaku" << false << false;
    QTest::newRow("configuration sans défaut")
        << Depart::SansDefaut << QStringList{} << "Horaku" << false << false;
    QTest::newRow("défaut disparu, oublié sans message")
        << Depart::DefautDisparu << QStringList{} << "Horaku" << false << false;
    QTest::newRow("défaut présent")
        << Depart::DefautPresent << QStringList{} << "Horaku - plan.edt" << true << true;
    QTest::newRow("défaut d'une autre version: aucun emploi du temps")
        << Depart::DefautAutreVersion
        << QStringList{QStringLiteral("Fichier Horaku : version incorrecte.")} << "Horaku" << false
        << true;
    QTest::newRow("défaut illisible: aucun emploi du temps")
        << Depart::DefautIllisible << QStringList{illisible} << "Horaku" << false << true;
    QTest::newRow("configuration étrangère")
        << Depart::ConfigurationEtrangere
        << QStringList{QStringLiteral(
               "Fichier Horaku : version incorrecte.\nConfiguration par défaut.")}
        << "Horaku" << false << false;
}

void TestFenetre::demarrage()
{
    QFETCH(Depart, depart);
    QFETCH(QStringList, messages);
    QFETCH(QString, titre);
    QFETCH(bool, ouvert);
    QFETCH(bool, defautGarde);

    DossierDeTravail dossier;
    const QString plan = dossier.Chemin(QStringLiteral("plan.edt"));
    switch (depart) {
    case Depart::SansConfiguration:
        break;
    case Depart::SansDefaut:
        EcrireConfiguration(QString());
        break;
    case Depart::DefautDisparu:
        EcrireConfiguration(plan);
        break;
    case Depart::DefautPresent:
        Ecrire(EdtExemple(), plan);
        EcrireConfiguration(plan);
        break;
    case Depart::DefautAutreVersion:
    case Depart::DefautIllisible: {
        Ecrire(EdtExemple(), plan);
        QFile f(plan);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray contenu = f.readAll();
        f.close();
        if (depart == Depart::DefautAutreVersion)
            contenu.replace("Horaku 2.0a", "Horaku 2.0b");
        else
            contenu.replace("\r\n0\r\n", "\r\nx\r\n"); // the reserved integer line
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(contenu);
        f.close();
        EcrireConfiguration(plan);
        break;
    }
    case Depart::ConfigurationEtrangere: {
        QFile f(QStringLiteral("Horaku.cfg"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Horaku 2.0a\r\nautre chose\r\n\r\n" + plan.toUtf8() + "\r\n");
        break;
    }
    }

    ServicesScriptes services;
    TFenetre_Principale fenetre(services);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));

    QCOMPARE(services.Textes(), messages);
    for (const Question& q : services.questions) {
        QCOMPARE(q.titre, QStringLiteral("Horaku"));
        QCOMPARE(q.icone, QMessageBox::Critical);
        QCOMPARE(q.boutons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    QCOMPARE(fenetre.windowTitle(), titre);
    QCOMPARE(fenetre.EdtCourant() != nullptr, ouvert);
    QCOMPARE(fenetre.Panneau()->isVisible(), ouvert);
    QCOMPARE(fenetre.findChild<QMenu*>(QStringLiteral("MenuConfiguration"))->isEnabled(), ouvert);
    QCOMPARE(LigneDefaut(), defautGarde ? plan : QString());
    if (ouvert) {
        QVERIFY(!fenetre.EdtCourant()->EdtModifie);
        QVERIFY(!fenetre.Image().isNull());
    } else {
        QVERIFY(fenetre.Image().isNull());
    }
}

void TestFenetre::configurationSuitLEtat()
{
    DossierDeTravail dossier;
    EcrireConfiguration(QString());
    ServicesScriptes services;
    TFenetre_Principale fenetre(services);
    const QStringList menus{QStringLiteral("Fichier"), QStringLiteral("Configuration"),
                            QStringLiteral("Aide")};
    QStringList titres;
    for (QAction* a : fenetre.menuBar()->actions())
        titres << a->text();
    QCOMPARE(titres, menus);

    auto* parametres = fenetre.findChild<QAction*>(QStringLiteral("MenuParametres"));
    auto* donnees = fenetre.findChild<QAction*>(QStringLiteral("MenuDonnees"));
    QVERIFY(!parametres->isEnabled());
    QVERIFY(!donnees->isEnabled());

    auto edt = std::make_unique<REdt>(EdtExemple());
    fenetre.RendreCourant(std::move(edt));
    fenetre.ActualiserFenetre();
    QVERIFY(parametres->isEnabled());
    QVERIFY(donnees->isEnabled());
    QCOMPARE(fenetre.windowTitle(), QStringLiteral("Horaku - "));

    QVERIFY(fenetre.FermerEmploiDuTemps());
    QVERIFY(!parametres->isEnabled());
    QCOMPARE(fenetre.windowTitle(), QStringLiteral("Horaku"));
    QVERIFY(services.questions.isEmpty());
}

void TestFenetre::zoneClient_data()
{
    QTest::addColumn<QString>("exemple");
    QTest::newRow("petit emploi du temps d'essai") << QString();
    QTest::newRow("image plus étroite que la barre de menus") << QStringLiteral("<etroit>");
    QTest::newRow("examples/petit.edt") << QStringLiteral("petit.edt");
    QTest::newRow("examples/realiste.edt, plus large que l'écran")
        << QStringLiteral("realiste.edt");
    QTest::newRow("examples/grand.edt, plus grand que l'écran") << QStringLiteral("grand.edt");
    QTest::newRow("largeur d'une heure de 5000") << QStringLiteral("<large>");
}

void TestFenetre::zoneClient()
{
    QFETCH(QString, exemple);
    DossierDeTravail dossier;
    const QString plan = dossier.Chemin(QStringLiteral("plan.edt"));
    if (exemple.isEmpty()) {
        Ecrire(EdtExemple(), plan);
    } else if (exemple == QLatin1String("<etroit>")) {
        REdt e = test::EdtNu(1, 1, 20);
        test::Ajouter(e, 0, 0, test::Seq(test::H(8), test::H(8, 30), {"a", "", "", ""}));
        Ecrire(e, plan);
    } else if (exemple == QLatin1String("<large>")) {
        REdt e = EdtExemple();
        e.Mesures.HeureLarg = 5000;
        Ecrire(e, plan);
    } else
        QVERIFY(QFile::copy(QStringLiteral(HORAKU_SOURCES "/examples/") + exemple, plan));
    EcrireConfiguration(plan);

    ServicesScriptes services;
    TFenetre_Principale fenetre(services);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    QVERIFY(services.questions.isEmpty());
    const QImage image = fenetre.Image();
    QVERIFY(!image.isNull());
    auto* imageEdT = fenetre.findChild<QLabel*>(QStringLiteral("ImageEdT"));
    QCOMPARE(Cadre(imageEdT), QStringLiteral("0,0 %1x%2").arg(image.width()).arg(image.height()));

    auto* defilement = fenetre.findChild<QAbstractScrollArea*>(QStringLiteral("Defilement"));
    QVERIFY(defilement);
    const QRect ecran = fenetre.screen()->availableGeometry();
    const int menu = fenetre.menuBar()->height();
    QDockWidget* dock = fenetre.DockPanneau();
    const bool tropLarge = image.width() + 1 + dock->width() > ecran.width();
    const bool tropHaut = image.height() + 1 + menu > ecran.height();
    if (!tropLarge && !tropHaut) {
        // A picture that fits: the client area is the picture plus one pixel.
        QTRY_VERIFY(PanneauAncre(fenetre));
        QVERIFY(!defilement->horizontalScrollBar()->isVisible());
        QVERIFY(!defilement->verticalScrollBar()->isVisible());
    } else {
        // One that does not: the window stays on the screen and scrolls.
        QTRY_VERIFY2(ecran.contains(fenetre.frameGeometry()),
                     qPrintable(Cadre(&fenetre) + QStringLiteral(" / ") +
                                QStringLiteral("%1x%2").arg(ecran.width()).arg(ecran.height())));
        if (tropLarge) QTRY_VERIFY(defilement->horizontalScrollBar()->isVisible());
        if (tropHaut) QTRY_VERIFY(defilement->verticalScrollBar()->isVisible());
        // The panel is still on the screen, where the user can reach it.
        QVERIFY(!dock->geometry().intersects(defilement->geometry()));
        QVERIFY(fenetre.rect().contains(dock->geometry()));
    }

    // What the client area shows, scrolled to its end: the picture, then one
    // white column and row.
    defilement->horizontalScrollBar()->setValue(defilement->horizontalScrollBar()->maximum());
    defilement->verticalScrollBar()->setValue(defilement->verticalScrollBar()->maximum());
    const QImage vue =
        defilement->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QPoint origine(defilement->horizontalScrollBar()->value(),
                         defilement->verticalScrollBar()->value());
    const QSize vu = (image.size() + QSize(1, 1)).boundedTo(defilement->viewport()->size());
    QCOMPARE(vue.copy(QRect(QPoint(0, 0), vu - QSize(1, 1))),
             image.copy(QRect(origine, vu - QSize(1, 1))));
    for (int y = 0; y < vu.height(); ++y)
        QCOMPARE(vue.pixel(vu.width() - 1, y), qRgb(255, 255, 255));
    for (int x = 0; x < vu.width(); ++x)
        QCOMPARE(vue.pixel(x, vu.height() - 1), qRgb(255, 255, 255));
}

void TestFenetre::panneauSuitLaFenetre()
{
    DossierDeTravail dossier;
    const QString plan = Ecrire(EdtExemple(), dossier.Chemin(QStringLiteral("plan.edt")));
    EcrireConfiguration(plan);
    ServicesScriptes services;
    TFenetre_Principale fenetre(services);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    TFiche_Panneau* panneau = fenetre.Panneau();
    QVERIFY(panneau->isVisible());
    QCOMPARE(panneau->size(), QSize(110, 185));
    QTRY_VERIFY(PanneauAncre(fenetre));

    // Floating, it leaves the picture alone and the window shrinks to it.
    QDockWidget* dock = fenetre.DockPanneau();
    auto* defilement = fenetre.findChild<QWidget*>(QStringLiteral("Defilement"));
    const int largeurImage = fenetre.Image().width() + 1;
    const int avant = fenetre.width();
    dock->setFloating(true);
    QTRY_VERIFY(fenetre.width() < avant);
    QTRY_COMPARE(defilement->width(), largeurImage);
    // Docked on the left, and kept so for the next run.
    fenetre.addDockWidget(Qt::LeftDockWidgetArea, dock);
    dock->setFloating(false);
    QTRY_COMPARE(fenetre.dockWidgetArea(dock), Qt::LeftDockWidgetArea);
    QTRY_COMPARE(defilement->width(), largeurImage);
    QVERIFY(fenetre.close());
    TFenetre_Principale suivante(services);
    suivante.show();
    QVERIFY(QTest::qWaitForWindowExposed(&suivante));
    QCOMPARE(suivante.dockWidgetArea(suivante.DockPanneau()), Qt::LeftDockWidgetArea);
    QVERIFY(suivante.DockPanneau()->isVisible());
}

void TestFenetre::panneauCacheSansEmploiDuTemps()
{
    DossierDeTravail dossier;
    const QString plan = Ecrire(EdtExemple(), dossier.Chemin(QStringLiteral("plan.edt")));
    EcrireConfiguration(plan);
    ServicesScriptes services;
    TFenetre_Principale fenetre(services);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    QVERIFY(fenetre.Panneau()->isVisible());
    QVERIFY(fenetre.FermerEmploiDuTemps());
    QVERIFY(!fenetre.Panneau()->isVisible());
    QVERIFY(fenetre.Image().isNull());
    QVERIFY(fenetre.findChild<QLabel*>(QStringLiteral("ImageEdT"))->pixmap().isNull());
}

QTEST_MAIN(TestFenetre)
#include "tst_ui_fenetre.moc"
