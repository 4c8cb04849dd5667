// A whole evening of a user, through the main window: New with two week
// types, the data-entry dialog (days, sequences with times and texts, a
// value list, week copied), Save as, then Open the file again: the same
// bytes and the same picture come back.
#include "donnees.h"
#include "outils_ui.h"
#include "parametres.h"
#include "principale.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimeEdit>
#include <QToolButton>
#include <QtTest>

#include <functional>

using namespace horaku;
using namespace outils_ui;

namespace
{

void Cliquer(QTableWidget* g, int ligne, int colonne)
{
    const QRect r = g->visualRect(g->model()->index(ligne, colonne));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
}

template <typename T> T* C(QWidget* w, const char* nom)
{
    return w->findChild<T*>(QString::fromLatin1(nom));
}

void Saisir(TFiche_Donnees* d)
{
    // The user works in the dialog: it has the keyboard.
    d->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(d));
    auto* grille = C<QTableWidget>(d, "GridSeq");
    // Sunday is not shown.
    C<QListWidget>(d, "CkLBJours")->item(6)->setCheckState(Qt::Unchecked);
    QTest::mouseClick(C<QToolButton>(d, "BtnAjoutSequence"), Qt::LeftButton);
    QTest::mouseClick(C<QToolButton>(d, "BtnAjoutSequence"), Qt::LeftButton);

    Cliquer(grille, 1, 2);
    auto* editeur = grille->findChild<QLineEdit*>(QStringLiteral("EditeurGrille"));
    QTest::keyClicks(editeur, QStringLiteral("4e B"));
    QTest::keyClick(editeur, Qt::Key_Return);

    Cliquer(grille, 2, 1);
    auto* heure = C<QTimeEdit>(d, "DTPHeure");
    QTest::keyClicks(heure, QStringLiteral("1000"));
    QTest::keyClick(heure, Qt::Key_Return);

    // A value for the fourth group, then picked from the value picker.
    auto* groupe = C<QComboBox>(d, "CBGroupe");
    groupe->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(groupe, Qt::Key_End);
    auto* valeur = C<QLineEdit>(d, "EListeDonnees");
    valeur->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(valeur, QStringLiteral("Anglais"));
    QTest::keyClick(valeur, Qt::Key_Return);
    QTest::mouseClick(C<QCheckBox>(d, "CBUtiliserListesDeroulantes"), Qt::LeftButton);
    Cliquer(grille, 2, 5);
    auto* choix = C<QComboBox>(d, "CBDonnees");
    QVERIFY(choix->isVisible());
    QCOMPARE(choix->itemText(0), QStringLiteral("Anglais"));
    QTest::keyClicks(choix->lineEdit(), QStringLiteral("Anglais"));
    QTest::keyClick(choix->lineEdit(), Qt::Key_Return);

    QTest::mouseClick(C<QToolButton>(d, "BtnCopierSemaine"), Qt::LeftButton);
    QTest::mouseClick(C<QPushButton>(d, "BtnOK"), Qt::LeftButton);
}

} // namespace

class TestScenario : public QObject
{
    Q_OBJECT

private slots:
    void nouveauSaisieEnregistrementRelecture();
};

void TestScenario::nouveauSaisieEnregistrementRelecture()
{
    DossierDeTravail dossier;
    EcrireConfiguration(QString());
    ServicesScriptes services;
    TFenetre_Principale fenetre(services);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));

    bool parametres = false;
    AuProchain<TFiche_Parametres>([&](TFiche_Parametres* d) {
        parametres = true;
        QTest::mouseClick(C<QToolButton>(d, "UDSemHaut"), Qt::LeftButton);
        QTest::mouseClick(C<QPushButton>(d, "BtnOK"), Qt::LeftButton);
    });
    fenetre.findChild<QAction*>("MenuNouveau")->trigger();
    QVERIFY(parametres);
    QVERIFY(fenetre.EdtCourant());
    QCOMPARE(fenetre.EdtCourant()->Semaines.size(), std::size_t(2));
    const QImage vide = fenetre.Image();

    bool donnees = false;
    AuProchain<TFiche_Donnees>([&](TFiche_Donnees* d) {
        donnees = true;
        Saisir(d);
    });
    fenetre.findChild<QAction*>("MenuDonnees")->trigger();
    QVERIFY(donnees);
    QCOMPARE(services.imprevus, QStringList());
    const REdt& e = *fenetre.EdtCourant();
    QVERIFY(e.EdtModifie);
    QCOMPARE(e.Jours[6].Affiche, 0);
    const std::vector<RSequence>& lundi = e.Jours[0].ParSemaine[0].Sequences;
    QCOMPARE(lundi.size(), std::size_t(2));
    QCOMPARE(lundi[0].Textes[0], std::string("4e B"));
    QCOMPARE(Minutes(lundi[1].Debut), Minutes(lundi[0].Fin));
    QCOMPARE(Minutes(lundi[1].Fin), 10 * 60);
    QCOMPARE(lundi[1].Textes[3], std::string("Anglais"));
    QCOMPARE(e.ListesDonnees[3], std::vector<std::string>{"Anglais"});
    QCOMPARE(EcrireEdt(e).find("4e B") != std::string::npos, true);
    // The week copied: both week types hold the same sequences.
    const std::vector<RSequence>& lundiB = e.Jours[0].ParSemaine[1].Sequences;
    QCOMPARE(lundiB.size(), lundi.size());
    for (std::size_t i = 0; i < lundi.size(); ++i) {
        QCOMPARE(lundiB[i].Debut, lundi[i].Debut);
        QCOMPARE(lundiB[i].Textes, lundi[i].Textes);
    }
    // The redraw after the dialog shows the new boxes.
    const QImage dessine = fenetre.Image();
    QVERIFY(dessine != vide);

    const QString chemin = dossier.Chemin(QStringLiteral("college.edt"));
    services.noms << chemin;
    fenetre.findChild<QAction*>("MenuEnregistrerSous")->trigger();
    QVERIFY(!fenetre.EdtCourant()->EdtModifie);
    QFile fichier(chemin);
    QVERIFY(fichier.open(QIODevice::ReadOnly));
    const QByteArray octets = fichier.readAll();

    services.noms << chemin;
    fenetre.findChild<QAction*>("MenuOuvrir")->trigger();
    QVERIFY(fenetre.EdtCourant());
    QCOMPARE(QByteArray::fromStdString(EcrireEdt(*fenetre.EdtCourant())), octets);
    QCOMPARE(fenetre.Image(), dessine);
    QCOMPARE(services.imprevus, QStringList());
}

QTEST_MAIN(TestScenario)
#include "tst_donnees_scenario.moc"
