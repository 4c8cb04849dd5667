// The font chooser: what it answers for what the user set, the faces it
// offers and refuses, its size range, and the colour conversion it shares.
#include "choixpolice.h"
#include "dessin.h"
#include "outils_ui.h"
#include "saisie.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

using namespace horaku;
using namespace outils_ui;

Q_DECLARE_METATYPE(horaku::RPolice)

class TestChoixPolice : public QObject
{
    Q_OBJECT

private slots:
    void couleurRef_data();
    void couleurRef();
    void familles();
    void sansChangement_data();
    void sansChangement();
    void tailleBornee_data();
    void tailleBornee();
    void reglages();
    void nomTape_data();
    void nomTape();
};

void TestChoixPolice::couleurRef_data()
{
    QTest::addColumn<QColor>("couleur");
    QTest::newRow("rouge") << QColor(255, 0, 0);
    QTest::newRow("vert") << QColor(0, 255, 0);
    QTest::newRow("bleu") << QColor(0, 0, 255);
    QTest::newRow("mélange") << QColor(0x12, 0x34, 0x56);
    QTest::newRow("blanc") << QColor(Qt::white);
}

void TestChoixPolice::couleurRef()
{
    QFETCH(QColor, couleur);
    const std::int32_t ref = CouleurRef(couleur);
    QCOMPARE(CouleurQt(ref), couleur);
    // Red in the low byte, blue in the third.
    QCOMPARE(ref & 0xFF, couleur.red());
    QCOMPARE((ref >> 16) & 0xFF, couleur.blue());
    QCOMPARE(ref >> 24, 0);
}

void TestChoixPolice::familles()
{
    const QStringList f = FamillesLatines();
    QVERIFY(f.contains(QStringLiteral("Liberation Sans")));
    for (const QString& nom : f)
        QCOMPARE(Filtrer1252(nom), nom);
    QCOMPARE(f.size(), int(QSet<QString>(f.begin(), f.end()).size()));
}

void TestChoixPolice::sansChangement_data()
{
    QTest::addColumn<RPolice>("initiale");
    QTest::newRow("sans serif gras") << Police("Liberation Sans", 9, 0, true, false, false, false);
    QTest::newRow("serif italique souligné")
        << Police("Liberation Serif", 20, 0xFF0000, false, true, true, false);
    QTest::newRow("barré, couleur hors liste")
        << Police("Liberation Mono", 6, 0x123456, false, false, false, true);
    QTest::newRow("gras italique tourné")
        << Police("Liberation Sans", 12, 0x00FFFF, true, true, false, false, 900);
    QTest::newRow("face absente de cet ordinateur")
        << Police("Police Absente", 10, 0x808080, false, false, false, false);
    // Sizes the chooser cannot show and a face named in other letter case.
    QTest::newRow("24 points") << Police("Liberation Sans", 24, 0, false, false, false, false);
    QTest::newRow("casse de la face")
        << Police("liberation serif", 9, 0, false, false, false, false);
}

void TestChoixPolice::sansChangement()
{
    QFETCH(RPolice, initiale);
    ServicesScriptes services;
    TFiche_ChoixPolice choix(nullptr, initiale, services);
    choix.show();
    QTest::mouseClick(choix.findChild<QPushButton*>("BtnOK"), Qt::LeftButton);
    QVERIFY(services.questions.isEmpty());
    QCOMPARE(choix.result(), int(QDialog::Accepted));
    const RPolice p = choix.Police();
    QCOMPARE(p.Nom, initiale.Nom);
    QCOMPARE(p.Taille, initiale.Taille);
    QCOMPARE(p.Couleur, initiale.Couleur);
    QCOMPARE(p.Gras, initiale.Gras);
    QCOMPARE(p.Italique, initiale.Italique);
    QCOMPARE(p.Souligne, initiale.Souligne);
    QCOMPARE(p.Barre, initiale.Barre);
    QCOMPARE(p.Orientation, initiale.Orientation);
    QCOMPARE(int(p.Jeu), int(initiale.Jeu));
}

void TestChoixPolice::tailleBornee_data()
{
    QTest::addColumn<int>("initiale");
    QTest::addColumn<int>("tapee"); // 0: nothing typed
    QTest::addColumn<int>("attendue");
    QTest::newRow("4 points montrés à 6, gardés") << 4 << 0 << 4;
    QTest::newRow("24 points montrés à 20, gardés") << 24 << 0 << 24;
    QTest::newRow("hauteur de cellule gardée") << -11 << 0 << -11;
    QTest::newRow("24 points, 18 tapé") << 24 << 18 << 18;
    QTest::newRow("30 tapé") << 10 << 30 << 10;
    QTest::newRow("14 tapé") << 10 << 14 << 14;
}

void TestChoixPolice::tailleBornee()
{
    QFETCH(int, initiale);
    QFETCH(int, tapee);
    QFETCH(int, attendue);
    ServicesScriptes services;
    TFiche_ChoixPolice choix(
        nullptr, Police("Liberation Sans", initiale, 0, false, false, false, false), services);
    if (tapee) {
        auto* taille = choix.findChild<QSpinBox*>("ETaille");
        taille->selectAll();
        QTest::keyClicks(taille, QString::number(tapee));
        taille->interpretText();
    }
    QCOMPARE(choix.findChild<QSpinBox*>("ETaille")->value(),
             qBound(kTailleMin, attendue, kTailleMax));
    QCOMPARE(choix.Police().Taille, attendue);
}

void TestChoixPolice::reglages()
{
    ServicesScriptes services;
    TFiche_ChoixPolice choix(nullptr, Police("Liberation Sans", 9, 0, false, false, false, false),
                             services);
    choix.findChild<QListWidget*>("LBStyles")->setCurrentRow(3);
    choix.findChild<QCheckBox*>("CBSouligne")->click();
    choix.findChild<QCheckBox*>("CBBarre")->click();
    auto* couleurs = choix.findChild<QComboBox*>("CBCouleur");
    couleurs->setCurrentIndex(couleurs->findText(QStringLiteral("Rouge")));
    auto* noms = choix.findChild<QListWidget*>("LBNoms");
    noms->setCurrentItem(
        noms->findItems(QStringLiteral("Liberation Serif"), Qt::MatchExactly).front());
    const RPolice p = choix.Police();
    QCOMPARE(p.Nom, std::string("Liberation Serif"));
    QVERIFY(p.Gras && p.Italique && p.Souligne && p.Barre);
    // A face picked from the list is one of the Windows character set.
    QCOMPARE(int(p.Jeu), int(kJeuAnsi));
    QCOMPARE(p.Couleur, std::int32_t(0x0000FF));
    QCOMPARE(choix.findChild<QLineEdit*>("ENom")->text(), QStringLiteral("Liberation Serif"));
}

void TestChoixPolice::nomTape_data()
{
    QTest::addColumn<QString>("tape");
    QTest::addColumn<QString>("retenu"); // empty: refused
    QTest::newRow("existante") << "Liberation Mono"
                               << "Liberation Mono";
    QTest::newRow("casse indifférente") << "liberation serif"
                                        << "Liberation Serif";
    QTest::newRow("inconnue") << "Police Inconnue" << QString();
    QTest::newRow("vide") << QString() << QString();
}

void TestChoixPolice::nomTape()
{
    QFETCH(QString, tape);
    QFETCH(QString, retenu);
    ServicesScriptes services;
    TFiche_ChoixPolice choix(nullptr, Police("Liberation Sans", 9, 0, false, false, false, false),
                             services);
    choix.show();
    auto* nom = choix.findChild<QLineEdit*>("ENom");
    nom->selectAll();
    QTest::keyClick(nom, Qt::Key_Backspace);
    QTest::keyClicks(nom, tape);
    QTest::mouseClick(choix.findChild<QPushButton*>("BtnOK"), Qt::LeftButton);
    if (retenu.isEmpty()) {
        QCOMPARE(services.Textes(), QStringList{QString::fromUtf8(kMessagePoliceInconnue)});
        QVERIFY(choix.isVisible());
        return;
    }
    QVERIFY(services.questions.isEmpty());
    QVERIFY(!choix.isVisible());
    QCOMPARE(Texte1252(choix.Police().Nom), retenu);
}

QTEST_MAIN(TestChoixPolice)
#include "tst_choixpolice.moc"
