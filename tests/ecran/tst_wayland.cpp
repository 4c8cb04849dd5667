// Horaku under a headless Wayland compositor (ecran/wayland.sh starts weston):
// the real window opens examples/realiste.edt with the "Affichage" panel
// docked on its right, and the panel's hour width redraws the picture.
#include "outils_ui.h"
#include "principale.h"

#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

using namespace outils_ui;

class TestWayland : public QObject
{
    Q_OBJECT
    FenetreOuverte o_{std::nullopt};
    TFenetre_Principale* fenetre_ = &o_.fenetre;

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        fenetre_->OuvrirFichier(QStringLiteral(HORAKU_SOURCES "/examples/realiste.edt"));
        QVERIFY(o_.Exposee());
        QCOMPARE(fenetre_->windowTitle(), QStringLiteral("Horaku - realiste.edt"));
    }

    void panneauAncre()
    {
        QDockWidget* dock = fenetre_->DockPanneau();
        QTRY_VERIFY(dock->widget()->isVisible());
        QCOMPARE(dock->widget()->objectName(), QStringLiteral("Panneau_Affichage"));
        QCOMPARE(fenetre_->dockWidgetArea(dock), Qt::RightDockWidgetArea);
        QVERIFY(!dock->isFloating());
    }

    void largeurHeureRedessine()
    {
        auto* image = fenetre_->findChild<QLabel*>(QStringLiteral("ImageEdT"));
        auto* champ = fenetre_->findChild<QLineEdit*>(QStringLiteral("EHeureLarg"));
        QVERIFY(image && champ);
        QCOMPARE(champ->text(), QStringLiteral("150"));
        const int avant = image->pixmap().width();
        // A headless weston has no seat: no keyboard ever activates a window,
        // so the activation a keyboard would bring is given here.
        QApplication::setActiveWindow(champ->window());
        champ->setFocus();
        QTRY_VERIFY(champ->hasFocus());
        champ->selectAll();
        QTest::keyClicks(champ, QStringLiteral("90"));
        QTest::keyClick(champ, Qt::Key_Return);
        QTRY_VERIFY(image->pixmap().width() < avant);
        fenetre_->EdtCourant()->EdtModifie = false; // no question when the window goes
    }
};

QTEST_MAIN(TestWayland)
#include "tst_wayland.moc"
