// The window's geometry as plain functions: the client area for a picture and
// a screen, the panel's place beside the main window's frame, and the printed
// size of a picture on a page.
#include "impression.h"
#include "panneau.h"
#include "zoneclient.h"

#include <QtTest>

using namespace horaku;

class TestPlacement : public QObject
{
    Q_OBJECT

private slots:
    void zoneClient_data();
    void zoneClient();
    void placePanneau_data();
    void placePanneau();
    void tailleSurPage_data();
    void tailleSurPage();
};

void TestPlacement::zoneClient_data()
{
    QTest::addColumn<QSize>("contenu");
    QTest::addColumn<QSize>("max");
    QTest::addColumn<QSize>("taille");
    QTest::addColumn<bool>("barreH");
    QTest::addColumn<bool>("barreV");

    // Scroll bars 15 pixels thick.
    QTest::newRow("tient: l'image et sa marge, sans barre")
        << QSize(481, 201) << QSize(1000, 700) << QSize(481, 201) << false << false;
    QTest::newRow("tient tout juste")
        << QSize(1000, 700) << QSize(1000, 700) << QSize(1000, 700) << false << false;
    QTest::newRow("trop haute: barre verticale, largeur accrue de la barre")
        << QSize(481, 2000) << QSize(1000, 700) << QSize(496, 700) << false << true;
    QTest::newRow("trop large: barre horizontale, hauteur accrue de la barre")
        << QSize(5000, 201) << QSize(1000, 700) << QSize(1000, 216) << true << false;
    QTest::newRow("trop haute, et la barre verticale rend trop large")
        << QSize(990, 2000) << QSize(1000, 700) << QSize(1000, 700) << true << true;
    QTest::newRow("trop large, et la barre horizontale rend trop haute")
        << QSize(5000, 690) << QSize(1000, 700) << QSize(1000, 700) << true << true;
    QTest::newRow("trop grande dans les deux sens")
        << QSize(5000, 5000) << QSize(1000, 700) << QSize(1000, 700) << true << true;
}

void TestPlacement::zoneClient()
{
    QFETCH(QSize, contenu);
    QFETCH(QSize, max);
    QFETCH(QSize, taille);
    QFETCH(bool, barreH);
    QFETCH(bool, barreV);
    const ZoneClient z = DimensionnerZoneClient(contenu, max, 15);
    QCOMPARE(z.taille, taille);
    QCOMPARE(z.barreH, barreH);
    QCOMPARE(z.barreV, barreV);
}

void TestPlacement::placePanneau_data()
{
    QTest::addColumn<QRect>("cadre");
    QTest::addColumn<QRect>("ecran");
    QTest::addColumn<QPoint>("place");

    const QRect ecran(0, 0, 1280, 1024);
    QTest::newRow("à droite, haut contre haut")
        << QRect(100, 50, 600, 400) << ecran << QPoint(700, 50);
    QTest::newRow("tout contre le bord de l'écran")
        << QRect(100, 50, 1068, 400) << ecran << QPoint(1168, 50);
    QTest::newRow("pas de place à droite: contre le bord de l'écran, par-dessus la fenêtre")
        << QRect(100, 50, 1100, 400) << ecran << QPoint(1168, 50);
    QTest::newRow("fenêtre sortie à droite")
        << QRect(1500, 50, 300, 400) << ecran << QPoint(1168, 50);
    QTest::newRow("fenêtre au-dessus de l'écran")
        << QRect(100, -40, 600, 400) << ecran << QPoint(700, 0);
    QTest::newRow("fenêtre tout en bas")
        << QRect(100, 950, 600, 400) << ecran << QPoint(700, 1024 - 210);
    QTest::newRow("écran décalé (second écran)")
        << QRect(1300, 30, 600, 400) << QRect(1280, 24, 1920, 1176) << QPoint(1900, 30);
    QTest::newRow("aucun écran connu: rien ne borne")
        << QRect(100, -40, 5000, 400) << QRect() << QPoint(5100, -40);
}

void TestPlacement::placePanneau()
{
    QFETCH(QRect, cadre);
    QFETCH(QRect, ecran);
    QFETCH(QPoint, place);
    QCOMPARE(PlacePanneau(cadre, QSize(112, 210), ecran), place);
}

void TestPlacement::tailleSurPage_data()
{
    QTest::addColumn<QSize>("points");
    QTest::addColumn<QSize>("zone");
    QTest::addColumn<QSize>("taille");

    // A4 at 600 dots per inch, margins taken off: about 4760 × 6814 dots.
    const QSize a4(4760, 6814);
    QTest::newRow("tient: l'échelle exacte") << QSize(3006, 1256) << a4 << QSize(3006, 1256);
    QTest::newRow("tient tout juste") << a4 << a4 << a4;
    QTest::newRow("trop large (l'exemple réaliste): ramenée à la largeur")
        << QSize(7875, 1944) << a4 << QSize(4760, 1175);
    QTest::newRow("trop haute: ramenée à la hauteur")
        << QSize(1000, 13628) << a4 << QSize(500, 6814);
    QTest::newRow("trop grande dans les deux sens, la hauteur limite")
        << QSize(9520, 20442) << a4 << QSize(3173, 6814);
    QTest::newRow("un point de trop") << QSize(4761, 100) << a4 << QSize(4760, 100);
}

void TestPlacement::tailleSurPage()
{
    QFETCH(QSize, points);
    QFETCH(QSize, zone);
    QFETCH(QSize, taille);
    const QSize t = TailleSurPage(points, zone);
    QCOMPARE(t, taille);
    QVERIFY(t.width() <= zone.width() && t.height() <= zone.height());
}

QTEST_MAIN(TestPlacement)
#include "tst_ui_placement.moc"
