// Horaku under a Wayland compositor (ecran/wayland.sh starts a headless
// weston): the real main window opens examples/realiste.edt and shows it with
// the "Affichage" panel docked on its right, and the panel's hour width
// redraws the picture.
#include "application.h"
#include "outils_ui.h"
#include "principale.h"

#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <memory>

using namespace outils_ui;

class TestWayland : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void plateformeWayland();
    void panneauAncre();
    void largeurHeureRedessine();

private:
    std::unique_ptr<DossierDeTravail> dossier_;
    ServicesScriptes services_;
    std::unique_ptr<TFenetre_Principale> fenetre_;
};

void TestWayland::initTestCase()
{
    dossier_ = std::make_unique<DossierDeTravail>();
    EcrireConfiguration(QString());
    fenetre_ = std::make_unique<TFenetre_Principale>(services_);
    fenetre_->OuvrirFichier(QStringLiteral(HORAKU_SOURCES "/examples/realiste.edt"));
    fenetre_->show();
    QVERIFY(QTest::qWaitForWindowExposed(fenetre_.get()));
    QCOMPARE(fenetre_->windowTitle(), QStringLiteral("Horaku - realiste.edt"));
    QCOMPARE(services_.imprevus, QStringList());
}

void TestWayland::cleanupTestCase()
{
    fenetre_.reset();
    dossier_.reset();
}

void TestWayland::plateformeWayland()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
}

void TestWayland::panneauAncre()
{
    auto* panneau = fenetre_->findChild<QWidget*>(QStringLiteral("Panneau_Affichage"));
    QVERIFY(panneau);
    QTRY_VERIFY(panneau->isVisible());
    QDockWidget* dock = nullptr;
    for (QWidget* w = panneau->parentWidget(); w && !dock; w = w->parentWidget())
        dock = qobject_cast<QDockWidget*>(w);
    QVERIFY2(dock, "le panneau « Affichage » n'est dans aucun QDockWidget");
    QCOMPARE(dock->objectName(), QStringLiteral("DockAffichage"));
    QCOMPARE(fenetre_->dockWidgetArea(dock), Qt::RightDockWidgetArea);
    QVERIFY(!dock->isFloating());
}

void TestWayland::largeurHeureRedessine()
{
    auto* image = fenetre_->findChild<QLabel*>(QStringLiteral("ImageEdT"));
    auto* champ = fenetre_->findChild<QLineEdit*>(QStringLiteral("EHeureLarg"));
    QVERIFY(image && champ);
    const int avant = image->pixmap().width();
    QCOMPARE(champ->text(), QStringLiteral("150"));
    // A headless weston has no seat: no keyboard ever activates a window.
    // The activation a keyboard would bring is given here.
    QApplication::setActiveWindow(champ->window());
    champ->setFocus();
    QTRY_VERIFY(champ->hasFocus());
    champ->selectAll();
    QTest::keyClicks(champ, QStringLiteral("90"));
    QTest::keyClick(champ, Qt::Key_Return);
    QTRY_VERIFY(image->pixmap().width() < avant);
    QVERIFY(fenetre_->EdtCourant()->EdtModifie);
    fenetre_->EdtCourant()->EdtModifie = false; // no question when the window goes
}

int main(int argc, char** argv)
{
    horaku::PreparerLocaleFrancaise();
    horaku::Application application(argc, argv);
    TestWayland test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wayland.moc"
