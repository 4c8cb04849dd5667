// The display-options panel driven through its real controls: each one
// changes its option, marks the timetable modified and redraws; the hour
// width refuses what it cannot use; filling the panel keeps the flag.
#include "outils_ui.h"
#include "principale.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimeEdit>
#include <QtTest>

using namespace horaku;
using namespace outils_ui;

namespace
{

struct Banc {
    DossierDeTravail dossier;
    ServicesScriptes services;
    std::unique_ptr<TFenetre_Principale> fenetre;
    TFiche_Panneau* panneau = nullptr;

    explicit Banc(const REdt& modele = EdtExemple())
    {
        const QString plan = Ecrire(modele, dossier.Chemin(QStringLiteral("plan.edt")));
        EcrireConfiguration(plan);
        fenetre = std::make_unique<TFenetre_Principale>(services);
        fenetre->show();
        panneau = fenetre->Panneau();
    }
    bool Pret()
    {
        if (!QTest::qWaitForWindowExposed(fenetre.get()) || !panneau->isVisible()) return false;
        fenetre->activateWindow();
        return QTest::qWaitFor([this] { return QApplication::activeWindow() == fenetre.get(); });
    }
    REdt& Edt() { return *fenetre->EdtCourant(); }
    template <typename T> T* Controle(const char* nom)
    {
        return panneau->findChild<T*>(QString::fromLatin1(nom));
    }
    bool AuBord() const { return PanneauAncre(*fenetre); }
    // Types a width and presses Enter.
    void Largeur(const QString& texte)
    {
        auto* e = Controle<QLineEdit>("EHeureLarg");
        e->setFocus();
        e->selectAll();
        if (texte.isEmpty())
            QTest::keyClick(e, Qt::Key_Delete);
        else
            QTest::keyClicks(e, texte);
        QTest::keyClick(e, Qt::Key_Return);
    }
};

enum Champ { Contour, Nom, Heures, Jours };

bool& Option(REdt& e, int champ)
{
    switch (champ) {
    case Contour:
        return e.AffichContour;
    case Nom:
        return e.AffichNom;
    case Heures:
        return e.AffichHeures;
    default:
        return e.AffichJours;
    }
}

} // namespace

class TestPanneau : public QObject
{
    Q_OBJECT

private slots:
    void ordreDeTabulation();
    void cases_data();
    void cases();
    void largeurEntree();
    void largeurInchangeeRedessineSansModifier();
    void largeurRefusee_data();
    void largeurRefusee();
    void largeurNulleGardeLImage();
    void heureDesJours();
    void marge_data();
    void marge();
    void remplirGardeLIndicateur_data();
    void remplirGardeLIndicateur();
    void places_data();
    void places();
    void refusDuRedessin_data();
    void refusDuRedessin();
    void sortieSansChangement_data();
    void sortieSansChangement();
};

namespace
{

// The panel alone, on a host whose redraw answers what the test says.
class HoteFactice final : public HotePanneau
{
public:
    REdt edt = EdtExemple();
    ResultatDessin::Etat reponse = ResultatDessin::Dessine;
    int redessins = 0;
    int placements = 0;

    REdt* EdtCourant() override { return &edt; }
    ResultatDessin::Etat Redessiner() override
    {
        ++redessins;
        return reponse;
    }
    void PlacerPanneau() override { ++placements; }
};

struct BancSeul {
    HoteFactice hote;
    ServicesScriptes services;
    TFiche_Panneau panneau{hote, services, nullptr};

    BancSeul()
    {
        panneau.Remplir(hote.edt);
        panneau.show();
    }
    bool Pret()
    {
        if (!QTest::qWaitForWindowExposed(&panneau)) return false;
        panneau.activateWindow();
        return QTest::qWaitForWindowActive(&panneau);
    }
    template <typename T> T* Controle(const char* nom)
    {
        return panneau.findChild<T*>(QString::fromLatin1(nom));
    }
    // Focus into `nom`, then out of it, as the user does.
    void Quitter(const char* nom)
    {
        Controle<QWidget>(nom)->setFocus(Qt::MouseFocusReason);
        Controle<QCheckBox>("CBAffichNom")->setFocus(Qt::TabFocusReason);
    }
};

enum class Geste { Contour, Nom, Heures, Jours, Marge, Largeur, HeureJours };

QString Options(const REdt& e)
{
    return QStringLiteral("%1 %2%3%4%5 %6 %7")
        .arg(e.Mesures.HeureLarg)
        .arg(e.AffichContour)
        .arg(e.AffichNom)
        .arg(e.AffichHeures)
        .arg(e.AffichJours)
        .arg(Minutes(e.HeureAffichJours))
        .arg(e.Marge);
}

} // namespace

Q_DECLARE_METATYPE(Geste)

void TestPanneau::ordreDeTabulation()
{
    Banc banc;
    const char* ordre[] = {
        "CBAffichNom",    "CBAffichContourEdt", "EHeureLarg", "DTPHeureAffichJours",
        "CBAffichHeures", "CBAffichJours",      "UDMarge"};
    for (std::size_t i = 0; i + 1 < std::size(ordre); ++i) {
        QWidget* w = banc.Controle<QWidget>(ordre[i]);
        QWidget* suivant = w->nextInFocusChain();
        // Skip labels and the inner parts of the compound controls.
        while (suivant && (suivant->focusPolicy() == Qt::NoFocus ||
                           suivant->objectName().startsWith(QLatin1String("qt_"))))
            suivant = suivant->nextInFocusChain();
        QCOMPARE(suivant->objectName(), QString::fromLatin1(ordre[i + 1]));
    }
    QCOMPARE(banc.Controle<QCheckBox>("CBAffichContourEdt")->toolTip(),
             QStringLiteral("Dessiner un contour autour de l'emploi du temps"));
}

void TestPanneau::cases_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<int>("champ");
    QTest::newRow("Contour") << "CBAffichContourEdt" << int(Contour);
    QTest::newRow("Nom") << "CBAffichNom" << int(Nom);
    QTest::newRow("Heures") << "CBAffichHeures" << int(Heures);
    QTest::newRow("Jours") << "CBAffichJours" << int(Jours);
}

void TestPanneau::cases()
{
    QFETCH(QString, nom);
    QFETCH(int, champ);
    Banc banc;
    QVERIFY(banc.Pret());
    QVERIFY(!banc.Edt().EdtModifie);
    auto* caseACocher = banc.panneau->findChild<QCheckBox*>(nom);
    auto* heure = banc.Controle<QTimeEdit>("DTPHeureAffichJours");
    const QImage avant = banc.fenetre->Image();
    QVERIFY(!Option(banc.Edt(), champ));
    QVERIFY(!heure->isVisible());

    QTest::mouseClick(caseACocher, Qt::LeftButton);
    QVERIFY(Option(banc.Edt(), champ));
    QVERIFY(banc.Edt().EdtModifie);
    const QImage apres = banc.fenetre->Image();
    QVERIFY(apres != avant);
    QCOMPARE(heure->isVisible(), champ == Jours);
    QTRY_VERIFY(banc.AuBord());

    // Back to the same picture, but still modified.
    QTest::mouseClick(caseACocher, Qt::LeftButton);
    QVERIFY(!Option(banc.Edt(), champ));
    QVERIFY(banc.Edt().EdtModifie);
    QCOMPARE(banc.fenetre->Image(), avant);
    QVERIFY(!heure->isVisible());
    QVERIFY(banc.services.questions.isEmpty());
}

void TestPanneau::largeurEntree()
{
    Banc banc;
    QVERIFY(banc.Pret());
    const QImage avant = banc.fenetre->Image();
    QCOMPARE(banc.Controle<QLineEdit>("EHeureLarg")->text(), QStringLiteral("60"));

    banc.Largeur(QStringLiteral("90"));

    QCOMPARE(banc.Edt().Mesures.HeureLarg, 90);
    QVERIFY(banc.Edt().EdtModifie);
    const QImage apres = banc.fenetre->Image();
    QVERIFY(apres.width() > avant.width());
    QCOMPARE(apres.height(), avant.height());
    QTRY_VERIFY(banc.AuBord());
    QVERIFY(!banc.Controle<QLineEdit>("EHeureLarg")->hasFocus());
}

void TestPanneau::largeurInchangeeRedessineSansModifier()
{
    Banc banc;
    QVERIFY(banc.Pret());
    const qint64 avant = banc.fenetre->Image().cacheKey();
    banc.Largeur(QStringLiteral("60"));
    QVERIFY(banc.fenetre->Image().cacheKey() != avant);
    QVERIFY(!banc.Edt().EdtModifie);

    // Leaving the edit for another control runs the same handler.
    const qint64 ensuite = banc.fenetre->Image().cacheKey();
    banc.Controle<QLineEdit>("EHeureLarg")->setFocus();
    banc.Controle<QSpinBox>("UDMarge")->setFocus(Qt::TabFocusReason);
    QVERIFY(banc.fenetre->Image().cacheKey() != ensuite);
    QVERIFY(!banc.Edt().EdtModifie);
}

void TestPanneau::largeurRefusee_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QMessageBox::Icon>("icone");

    QTest::newRow("vide") << ""
                          << "'' n'est pas une valeur entière correcte" << QMessageBox::Critical;
    QTest::newRow("au-delà de 32 bits")
        << "99999999999"
        << "'99999999999' n'est pas une valeur entière correcte" << QMessageBox::Critical;
    QTest::newRow("image de plus de 100 mégapixels")
        << "2000000" << QString::fromUtf8(kMessageTropGrand) << QMessageBox::Warning;
}

void TestPanneau::largeurRefusee()
{
    QFETCH(QString, texte);
    QFETCH(QString, message);
    QFETCH(QMessageBox::Icon, icone);
    Banc banc;
    QVERIFY(banc.Pret());
    const QImage avant = banc.fenetre->Image();

    banc.Largeur(texte);

    QCOMPARE(banc.services.Textes(), QStringList{message});
    QCOMPARE(banc.services.questions.front().icone, icone);
    QCOMPARE(banc.Edt().Mesures.HeureLarg, 60);
    QVERIFY(!banc.Edt().EdtModifie);
    QCOMPARE(banc.fenetre->Image(), avant);
    QTRY_COMPARE(banc.fenetre->centralWidget()->size(), avant.size() + QSize(1, 1));
    if (icone == QMessageBox::Warning)
        QCOMPARE(banc.Controle<QLineEdit>("EHeureLarg")->text(), QStringLiteral("60"));
}

void TestPanneau::largeurNulleGardeLImage()
{
    Banc banc;
    QVERIFY(banc.Pret());
    const QImage avant = banc.fenetre->Image();
    banc.Largeur(QStringLiteral("0"));
    QCOMPARE(banc.Edt().Mesures.HeureLarg, 0);
    QVERIFY(banc.Edt().EdtModifie);
    QCOMPARE(banc.fenetre->Image(), avant);
    QVERIFY(banc.services.questions.isEmpty());
}

void TestPanneau::heureDesJours()
{
    Banc banc;
    QVERIFY(banc.Pret());
    auto* heure = banc.Controle<QTimeEdit>("DTPHeureAffichJours");
    QTest::mouseClick(banc.Controle<QCheckBox>("CBAffichJours"), Qt::LeftButton);
    QVERIFY(heure->isVisible());
    QCOMPARE(heure->displayFormat(), QStringLiteral("HH:mm"));
    banc.Edt().EdtModifie = false;
    const QImage avant = banc.fenetre->Image();

    // One click anywhere in the field, then the digits: they go to the hours first.
    QLineEdit* texte = heure->findChild<QLineEdit*>();
    QTest::mouseClick(texte, Qt::LeftButton, {}, QPoint(texte->width() - 3, texte->height() / 2));
    QTest::keyClicks(heure, QStringLiteral("0945"));
    QTest::keyClick(heure, Qt::Key_Return);

    QCOMPARE(Minutes(banc.Edt().HeureAffichJours), 9 * 60 + 45);
    QVERIFY(banc.Edt().EdtModifie);
    QVERIFY(banc.fenetre->Image() != avant);

    // Unticking hides the picker and keeps the stored time.
    QTest::mouseClick(banc.Controle<QCheckBox>("CBAffichJours"), Qt::LeftButton);
    QVERIFY(!heure->isVisible());
    QCOMPARE(Minutes(banc.Edt().HeureAffichJours), 9 * 60 + 45);
}

void TestPanneau::marge_data()
{
    QTest::addColumn<int>("depart");
    QTest::addColumn<int>("touche");
    QTest::addColumn<int>("attendu");
    QTest::addColumn<bool>("modifie");
    QTest::newRow("vers le haut") << 1 << int(Qt::Key_Up) << 2 << true;
    QTest::newRow("vers le bas") << 1 << int(Qt::Key_Down) << 0 << true;
    QTest::newRow("pas au-delà de 10") << 10 << int(Qt::Key_Up) << 10 << false;
    QTest::newRow("pas en dessous de 0") << 0 << int(Qt::Key_Down) << 0 << false;
}

void TestPanneau::marge()
{
    QFETCH(int, depart);
    QFETCH(int, touche);
    QFETCH(int, attendu);
    QFETCH(bool, modifie);
    REdt modele = EdtExemple();
    modele.Marge = depart;
    Banc banc(modele);
    QVERIFY(banc.Pret());
    const QImage avant = banc.fenetre->Image();
    auto* marge = banc.Controle<QSpinBox>("UDMarge");
    QCOMPARE(marge->value(), depart);
    marge->setFocus();
    QTest::keyClick(marge, static_cast<Qt::Key>(touche));
    QCOMPARE(banc.Edt().Marge, attendu);
    QCOMPARE(banc.Edt().EdtModifie, modifie);
    QCOMPARE(banc.fenetre->Image() != avant, modifie);
}

void TestPanneau::remplirGardeLIndicateur_data()
{
    QTest::addColumn<bool>("modifie");
    QTest::newRow("modifié") << true;
    QTest::newRow("non modifié") << false;
}

void TestPanneau::remplirGardeLIndicateur()
{
    QFETCH(bool, modifie);
    Banc banc;
    QVERIFY(banc.Pret());
    REdt autre = EdtExemple();
    autre.AffichContour = autre.AffichNom = autre.AffichJours = autre.AffichHeures = true;
    autre.Mesures.HeureLarg = 75;
    autre.Marge = 14; // beyond what the spinner shows
    autre.HeureAffichJours = EncoderHeure(13, 20);
    autre.EdtModifie = modifie;
    banc.fenetre->RendreCourant(std::make_unique<REdt>(autre));
    banc.fenetre->ActualiserFenetre();

    REdt& e = banc.Edt();
    QCOMPARE(e.EdtModifie, modifie);
    QCOMPARE(banc.Controle<QLineEdit>("EHeureLarg")->text(), QStringLiteral("75"));
    QVERIFY(banc.Controle<QCheckBox>("CBAffichContourEdt")->isChecked());
    QVERIFY(banc.Controle<QCheckBox>("CBAffichNom")->isChecked());
    QVERIFY(banc.Controle<QCheckBox>("CBAffichJours")->isChecked());
    QVERIFY(banc.Controle<QCheckBox>("CBAffichHeures")->isChecked());
    QVERIFY(banc.Controle<QTimeEdit>("DTPHeureAffichJours")->isVisible());
    QCOMPARE(banc.Controle<QTimeEdit>("DTPHeureAffichJours")->time(), QTime(13, 20));
    QCOMPARE(banc.Controle<QSpinBox>("UDMarge")->value(), 10);
    QCOMPARE(e.Marge, 10);
}

void TestPanneau::places_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QPoint>("place");
    QTest::addColumn<QString>("texte");
    // Left and top of each control inside the panel, and its caption.
    QTest::newRow("Label1") << "Label1" << QPoint(10, 8) << QStringLiteral("Largeur séquence");
    QTest::newRow("EHeureLarg") << "EHeureLarg" << QPoint(28, 24) << QString();
    QTest::newRow("CBAffichContourEdt") << "CBAffichContourEdt" << QPoint(10, 54) << "Contour";
    QTest::newRow("CBAffichNom") << "CBAffichNom" << QPoint(10, 72) << "Nom";
    QTest::newRow("CBAffichHeures") << "CBAffichHeures" << QPoint(10, 91) << "Heures";
    QTest::newRow("CBAffichJours") << "CBAffichJours" << QPoint(10, 110) << "Jours";
    QTest::newRow("DTPHeureAffichJours") << "DTPHeureAffichJours" << QPoint(28, 125) << QString();
    // Four pixels higher than the form's 162: centred on the spin box beside it.
    QTest::newRow("Label3") << "Label3" << QPoint(10, 158) << "Marge";
    QTest::newRow("UDMarge") << "UDMarge" << QPoint(45, 154) << QString();
}

void TestPanneau::places()
{
    QFETCH(QString, nom);
    QFETCH(QPoint, place);
    QFETCH(QString, texte);
    BancSeul banc;
    auto* w = banc.panneau.findChild<QWidget*>(nom);
    QVERIFY(w);
    QCOMPARE(w->pos(), place);
    // Inside the panel's 110 × 185 client area.
    QVERIFY(QRect(0, 0, 110, 185).contains(w->geometry()));
    if (auto* l = qobject_cast<QLabel*>(w)) QCOMPARE(l->text(), texte);
    if (auto* c = qobject_cast<QCheckBox*>(w)) QCOMPARE(c->text(), texte);
}

void TestPanneau::refusDuRedessin_data()
{
    QTest::addColumn<Geste>("geste");
    QTest::addColumn<bool>("modifieAvant");
    QTest::newRow("Contour") << Geste::Contour << false;
    QTest::newRow("Nom") << Geste::Nom << false;
    QTest::newRow("Nom, déjà modifié") << Geste::Nom << true;
    QTest::newRow("Heures") << Geste::Heures << false;
    QTest::newRow("Jours") << Geste::Jours << false;
    QTest::newRow("Marge") << Geste::Marge << false;
    QTest::newRow("Largeur") << Geste::Largeur << false;
    QTest::newRow("Heure des jours") << Geste::HeureJours << false;
}

void TestPanneau::refusDuRedessin()
{
    QFETCH(Geste, geste);
    QFETCH(bool, modifieAvant);
    BancSeul banc;
    banc.hote.edt.AffichJours = geste == Geste::HeureJours; // the picker is shown
    banc.hote.edt.Marge = 3;
    banc.hote.edt.EdtModifie = modifieAvant;
    banc.panneau.Remplir(banc.hote.edt);
    QVERIFY(banc.Pret());
    const QString avant = Options(banc.hote.edt);
    banc.hote.reponse = ResultatDessin::TropGrand;

    switch (geste) {
    case Geste::Contour:
        QTest::mouseClick(banc.Controle<QCheckBox>("CBAffichContourEdt"), Qt::LeftButton);
        break;
    case Geste::Nom:
        QTest::mouseClick(banc.Controle<QCheckBox>("CBAffichNom"), Qt::LeftButton);
        break;
    case Geste::Heures:
        QTest::mouseClick(banc.Controle<QCheckBox>("CBAffichHeures"), Qt::LeftButton);
        break;
    case Geste::Jours:
        QTest::mouseClick(banc.Controle<QCheckBox>("CBAffichJours"), Qt::LeftButton);
        break;
    case Geste::Marge:
        banc.Controle<QSpinBox>("UDMarge")->setFocus();
        QTest::keyClick(banc.Controle<QSpinBox>("UDMarge"), Qt::Key_Up);
        break;
    case Geste::Largeur: {
        auto* e = banc.Controle<QLineEdit>("EHeureLarg");
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, QStringLiteral("5000"));
        QTest::keyClick(e, Qt::Key_Return);
        break;
    }
    case Geste::HeureJours: {
        auto* h = banc.Controle<QTimeEdit>("DTPHeureAffichJours");
        h->setFocus();
        h->setTime(QTime(7, 15));
        QTest::keyClick(h, Qt::Key_Return);
        break;
    }
    }

    QCOMPARE(banc.hote.redessins, 1);
    // Options and flag as they were, and the controls show them.
    QCOMPARE(Options(banc.hote.edt), avant);
    QCOMPARE(banc.hote.edt.EdtModifie, modifieAvant);
    const REdt& e = banc.hote.edt;
    QCOMPARE(banc.Controle<QCheckBox>("CBAffichContourEdt")->isChecked(), e.AffichContour);
    QCOMPARE(banc.Controle<QCheckBox>("CBAffichNom")->isChecked(), e.AffichNom);
    QCOMPARE(banc.Controle<QCheckBox>("CBAffichHeures")->isChecked(), e.AffichHeures);
    QCOMPARE(banc.Controle<QCheckBox>("CBAffichJours")->isChecked(), e.AffichJours);
    QCOMPARE(banc.Controle<QTimeEdit>("DTPHeureAffichJours")->isVisible(), e.AffichJours);
    QCOMPARE(banc.Controle<QSpinBox>("UDMarge")->value(), e.Marge);
    QCOMPARE(banc.Controle<QLineEdit>("EHeureLarg")->text(), QString::number(e.Mesures.HeureLarg));

    // Accepted the next time: the change stays, and marks the timetable.
    const bool nom = banc.hote.edt.AffichNom;
    banc.hote.reponse = ResultatDessin::Dessine;
    QTest::mouseClick(banc.Controle<QCheckBox>("CBAffichNom"), Qt::LeftButton);
    QCOMPARE(banc.hote.edt.AffichNom, !nom);
    QVERIFY(banc.hote.edt.EdtModifie);
}

void TestPanneau::sortieSansChangement_data()
{
    QTest::addColumn<QString>("nom");
    QTest::newRow("largeur inchangée") << "EHeureLarg";
    QTest::newRow("heure des jours inchangée") << "DTPHeureAffichJours";
}

void TestPanneau::sortieSansChangement()
{
    QFETCH(QString, nom);
    BancSeul banc;
    banc.hote.edt.AffichJours = true;
    banc.hote.edt.HeureAffichJours = EncoderHeure(12, 0);
    banc.panneau.Remplir(banc.hote.edt);
    QVERIFY(banc.Pret());
    const int placements = banc.hote.placements;
    banc.Quitter(nom.toLatin1().constData());
    // Leaving redraws and places the panel, but changes nothing.
    QCOMPARE(banc.hote.redessins, 1);
    QCOMPARE(banc.hote.placements, placements + 1);
    QVERIFY(!banc.hote.edt.EdtModifie);
    QCOMPARE(Minutes(banc.hote.edt.HeureAffichJours), 12 * 60);
    QCOMPARE(banc.hote.edt.Mesures.HeureLarg, 60);
}

QTEST_MAIN(TestPanneau)
#include "tst_ui_panneau.moc"
