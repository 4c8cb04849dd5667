// The window's geometry as plain functions: the client area for a picture and
// a screen, a window (the main one, the floating panel) kept on the screen, and the printed
// size of a picture on a page.
#include "impression.h"
#include "zoneclient.h"

#include <QtTest>

using namespace horaku;

class TestPlacement : public QObject
{
    Q_OBJECT

private slots:
    void zoneClient_data();
    void zoneClient();
    void dansEcran_data();
    void dansEcran();
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

void TestPlacement::dansEcran_data()
{
    QTest::addColumn<QRect>("cadre");
    QTest::addColumn<QRect>("ecran");
    QTest::addColumn<QPoint>("place");

    const QRect ecran(0, 0, 1280, 1024);
    QTest::newRow("pixel de trop à droite") << QRect(681, 50, 600, 400) << ecran << QPoint(680, 50);
    QTest::newRow("sortie en bas") << QRect(100, 950, 600, 400) << ecran << QPoint(100, 624);
    QTest::newRow("au-dessus de l'écran") << QRect(100, -40, 600, 400) << ecran << QPoint(100, 0);
    QTest::newRow("plus grande que l'écran")
        << QRect(300, 100, 2000, 1100) << ecran << QPoint(0, 0);
    QTest::newRow("écran décalé (second écran)")
        << QRect(3000, 30, 600, 400) << QRect(1366, 24, 1920, 1176) << QPoint(2686, 30);
    QTest::newRow("aucun écran connu: rien ne borne")
        << QRect(100, -40, 5000, 400) << QRect() << QPoint(100, -40);
}

void TestPlacement::dansEcran()
{
    QFETCH(QRect, cadre);
    QFETCH(QRect, ecran);
    QFETCH(QPoint, place);
    QCOMPARE(DansEcran(cadre, ecran), place);
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
