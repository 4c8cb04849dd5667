// The parameters dialog driven as a user drives it: the week count by its
// arrows and by typing, the two grids, the colour and font choosers (scripted),
// the password dialog, the default-timetable box, OK and Cancel; then New from
// the main window and one whole round through Save as and Open.
#include "choixpolice.h"
#include "definirmotdepasse.h"
#include "dessin.h"
#include "outils_ui.h"
#include "panneau.h"
#include "parametres.h"
#include "principale.h"
#include "saisie.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

using namespace horaku;
using namespace outils_ui;

namespace
{

const QString kQuestionAnnuler = QStringLiteral(
    "Vous avez modifié cet emploi du temps.\nEtes-vous certain de vouloir annuler ces "
    "modifications ?");
const QString kSansNom = QStringLiteral("Un type de semaine n'a pas de nom, donnez-lui un nom.");
const QString kIncomplet =
    QStringLiteral("Un type de données (libellé ou exemple) est incomplet. Complétez-le.");
const QString kNombre =
    QStringLiteral("Le nombre de types de semaines doit être compris entre 1 et 52.");
constexpr std::int32_t kAqua = 0xFFFF00;

// A timetable with `semaines` week types named "S1".."Sn", each with a
// colour of its own and one sequence on Monday, bound to a file or not.
REdt Edt(int semaines, const std::string& fichier = "/dossier/plan.edt")
{
    REdt e;
    e.Fichier = fichier;
    e.Titre = "Essai";
    e.Semaines.clear();
    for (int w = 0; w < semaines; ++w)
        e.Semaines.push_back(RSemaine{"S" + std::to_string(w + 1), 0x102030 + w});
    e.AjusterSemaines();
    for (int w = 0; w < semaines; ++w)
        test::Ajouter(e, 0, w,
                      test::Seq(test::H(8), test::H(9), {"c" + std::to_string(w), "", "", ""}));
    e.OrienterHeures(true);
    return e;
}

struct Banc {
    ServicesScriptes services;
    RConfig config;
    REdt edt;
    std::unique_ptr<TFiche_Parametres> dialogue;

    explicit Banc(const REdt& e) : edt(e)
    {
        dialogue = std::make_unique<TFiche_Parametres>(nullptr, edt, config, services);
        dialogue->show();
        dialogue->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dialogue.get()));
    }
    template <typename T> T* Enfant(const char* nom)
    {
        return dialogue->findChild<T*>(QString::fromLatin1(nom));
    }
    QTableWidget* Semaines() { return Enfant<QTableWidget>("GrilleSemaines"); }
    QTableWidget* Libelles() { return Enfant<QTableWidget>("GrilleLibelles"); }
    QLineEdit* Nombre() { return Enfant<QLineEdit>("ENbSem"); }
    void Cliquer(const char* nom)
    {
        QTest::mouseClick(Enfant<QAbstractButton>(nom), Qt::LeftButton);
    }
    void Ok() { Cliquer("BtnOK"); }
    void Annuler() { Cliquer("BitBtn1"); }
    bool Ouvert() const { return dialogue->isVisible(); }

    // "nom:couleur" for every week row shown.
    QStringList LignesSemaines()
    {
        QStringList l;
        for (int r = 0; r < Semaines()->rowCount(); ++r)
            l << QStringLiteral("%1:%2")
                     .arg(Semaines()->item(r, 0)->text())
                     .arg(Semaines()->item(r, 1)->data(Qt::UserRole).toInt(), 6, 16, QChar('0'));
        return l;
    }
    void TaperNombre(const QString& texte)
    {
        Nombre()->setFocus();
        Nombre()->selectAll();
        // "+x": x typed after what the field holds.
        if (texte.startsWith(u'+')) {
            Nombre()->end(false);
            TaperTexte(Nombre(), texte.mid(1));
        } else if (texte.isEmpty()) {
            QTest::keyClick(Nombre(), Qt::Key_Backspace);
        } else {
            TaperTexte(Nombre(), texte);
        }
    }
    // A real double click: press, release, then the double click and its release.
    static void DoubleClic(QTableWidget* grille, int ligne, int colonne)
    {
        const QPoint centre = grille->visualRect(grille->model()->index(ligne, colonne)).center();
        QTest::mouseClick(grille->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseDClick(grille->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseRelease(grille->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    }
};

// Types into a grid cell as a user does: the cell made current, a key opens
// its editor, Enter ends it.  False when the cell cannot be typed into.
bool Saisir(QTableWidget* grille, int ligne, int colonne, const QString& texte)
{
    grille->setFocus();
    grille->setCurrentCell(ligne, colonne);
    QTest::keyClick(grille, Qt::Key_F2);
    auto* editeur = qobject_cast<QLineEdit*>(grille->indexWidget(grille->currentIndex()));
    if (!editeur) return false;
    editeur->selectAll();
    QTest::keyClick(editeur, Qt::Key_Backspace);
    TaperTexte(editeur, texte);
    QTest::keyClick(editeur, Qt::Key_Return);
    return true;
}

bool MemePolice(const RPolice& a, const RPolice& b)
{
    return a.Nom == b.Nom && a.Taille == b.Taille && a.Couleur == b.Couleur && a.Gras == b.Gras &&
           a.Italique == b.Italique && a.Souligne == b.Souligne && a.Barre == b.Barre &&
           a.Jeu == b.Jeu && a.Orientation == b.Orientation;
}

} // namespace

class TestParametres : public QObject
{
    Q_OBJECT

private slots:
    void ouverture_data();
    void ouverture();
    void compteParFleches_data();
    void compteParFleches();
    void compteTape_data();
    void compteTape();
    void moinsDeSemainesEffaceLeurSequences();
    void validation_data();
    void validation();
    void okAvecEditeurOuvert();
    void lignesSaisissables_data();
    void lignesSaisissables();
    void police_data();
    void police();
    void couleur_data();
    void couleur();
    void annuler_data();
    void annuler();
    void defaut_data();
    void defaut();
    void motDePasse_data();
    void motDePasse();
    void motDePasseAnnuleAvecLeReste();
    void nouveau_data();
    void nouveau();
    void parametresF2_data();
    void parametresF2();
    void tourComplet();
};

void TestParametres::ouverture_data()
{
    QTest::addColumn<QString>("fichier");
    QTest::addColumn<QString>("defaut");
    QTest::addColumn<bool>("modifie");
    QTest::addColumn<bool>("coche");
    QTest::addColumn<bool>("caseActive");

    QTest::newRow("enregistré, par défaut") << "/d/a.edt"
                                            << "/d/a.edt" << false << true << true;
    QTest::newRow("enregistré, un autre par défaut") << "/d/a.edt"
                                                     << "/d/b.edt" << false << false << true;
    QTest::newRow("chemin presque égal") << "/d/a.edt"
                                         << "/d/a.edt " << false << false << true;
    QTest::newRow("jamais enregistré") << QString() << QString() << true << false << false;
}

void TestParametres::ouverture()
{
    QFETCH(QString, fichier);
    QFETCH(QString, defaut);
    QFETCH(bool, modifie);
    QFETCH(bool, coche);
    QFETCH(bool, caseActive);
    REdt e = Edt(3, fichier.toStdString());
    e.Titre = "Ann\xE9"
              "e";
    e.Libelles[2].Libelle = "Profs";
    e.Libelles[LibHeure].Police.Taille = 11;
    ServicesScriptes services;
    RConfig config;
    config.EdtDefaut = defaut.toStdString();
    auto dialogue = std::make_unique<TFiche_Parametres>(nullptr, e, config, services);
    // While the dialog is open the hour labels' font is upright.
    QCOMPARE(e.Libelles[LibHeure].Police.Orientation, 0);
    dialogue->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialogue.get()));
    QCOMPARE(dialogue->windowTitle(), QStringLiteral("Paramètres de l'emploi du temps"));
    QCOMPARE(dialogue->size(), QSize(417, 417));
    QCOMPARE(dialogue->findChild<QLabel*>("LFichier")->text(), fichier);
    QCOMPARE(dialogue->findChild<QLineEdit*>("ETitre")->text(), QStringLiteral("Année"));
    QCOMPARE(dialogue->findChild<QLineEdit*>("ENbSem")->text(), QStringLiteral("3"));
    auto* semaines = dialogue->findChild<QTableWidget*>("GrilleSemaines");
    QCOMPARE(semaines->rowCount(), 3);
    for (int w = 0; w < 3; ++w) {
        QCOMPARE(semaines->item(w, 0)->text(), Texte1252(e.Semaines[std::size_t(w)].Nom));
        QCOMPARE(semaines->item(w, 1)->data(Qt::UserRole).toInt(),
                 e.Semaines[std::size_t(w)].Couleur);
    }
    auto* libelles = dialogue->findChild<QTableWidget*>("GrilleLibelles");
    QCOMPARE(libelles->rowCount(), kNbLibelles - 2);
    for (int s = 0; s < kNbLibelles - 2; ++s) {
        QCOMPARE(libelles->item(s, 0)->text(), Texte1252(e.Libelles[std::size_t(s)].Libelle));
        QCOMPARE(libelles->item(s, 1)->text(), Texte1252(e.Libelles[std::size_t(s)].Exemple));
    }
    auto* caseDefaut = dialogue->findChild<QCheckBox*>("CBDefautEdT");
    QCOMPARE(caseDefaut->isChecked(), coche);
    QCOMPARE(caseDefaut->isEnabled(), caseActive);
    QCOMPARE(dialogue->Modifie(), modifie);
    // Setting the initial count was not a change.
    QVERIFY(services.questions.isEmpty());
    // Closing (Cancel without change) turns the font back.
    if (modifie) services.reponses << QMessageBox::Yes;
    dialogue->reject();
    dialogue.reset();
    QCOMPARE(e.Libelles[LibHeure].Police.Orientation, 900);
    QCOMPARE(e.Libelles[LibHeure].Police.Taille, 11);
}

void TestParametres::compteParFleches_data()
{
    QTest::addColumn<int>("depart");
    QTest::addColumn<QList<int>>("pas");
    QTest::addColumn<bool>("clavier");
    QTest::addColumn<QStringList>("lignes");

    const QString s1 = QStringLiteral("S1:102030");
    const QString sem2 = QStringLiteral("Sem 2:ffff00");
    const QString sem3 = QStringLiteral("Sem 3:ffff00");
    QTest::newRow("1 à 3") << 1 << QList<int>{1, 1} << false << QStringList{s1, sem2, sem3};
    QTest::newRow("1 à 3 puis 2") << 1 << QList<int>{1, 1, -1} << false << QStringList{s1, sem2};
    QTest::newRow("1 à 3 au clavier")
        << 1 << QList<int>{1, 1} << true << QStringList{s1, sem2, sem3};
    QTest::newRow("jamais sous 1") << 1 << QList<int>{-1} << false << QStringList{s1};
    QTest::newRow("2 à 1 puis 2: Sem 2 revient")
        << 2 << QList<int>{-1, 1} << false << QStringList{s1, sem2};
}

void TestParametres::compteParFleches()
{
    QFETCH(int, depart);
    QFETCH(QList<int>, pas);
    QFETCH(bool, clavier);
    QFETCH(QStringList, lignes);
    Banc b(Edt(depart));
    for (int p : pas) {
        if (clavier) {
            b.Nombre()->setFocus();
            QTest::keyClick(b.Nombre(), p > 0 ? Qt::Key_Up : Qt::Key_Down);
        } else {
            b.Cliquer(p > 0 ? "UDSemHaut" : "UDSemBas");
        }
    }
    QCOMPARE(b.LignesSemaines(), lignes);
    QCOMPARE(b.Nombre()->text(), QString::number(lignes.size()));
    QVERIFY(b.services.questions.isEmpty());
}

void TestParametres::compteTape_data()
{
    QTest::addColumn<int>("depart");
    QTest::addColumn<QStringList>("saisies");
    QTest::addColumn<QStringList>("lignes");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("texte"); // what the count field shows at the end

    const QString vide = QStringLiteral(":000000");
    QTest::newRow("saut de 1 à 4: seule la dernière ligne est remplie")
        << 1 << QStringList{"4"} << QStringList{"S1:102030", vide, vide, "Sem 4:ffff00"}
        << QStringList() << "4";
    QTest::newRow("saut de 4 à 2 puis 4: les lignes cachées reviennent")
        << 4 << QStringList{"2", "4"}
        << QStringList{"S1:102030", "S2:102031", "S3:102032", "Sem 4:ffff00"} << QStringList()
        << "4";
    QTest::newRow("0 refusé") << 2 << QStringList{"0"} << QStringList{"S1:102030", "S2:102031"}
                              << QStringList{kNombre} << "2";
    // Each key is a change: "5" makes five rows before "53" is refused.
    QTest::newRow("53 refusé") << 2 << QStringList{"5", "+3"}
                               << QStringList{"S1:102030", "S2:102031", vide, vide, "Sem 5:ffff00"}
                               << QStringList{kNombre} << "5";
    QTest::newRow("52 accepté") << 1 << QStringList{"52"} << QStringList() << QStringList() << "52";
    QTest::newRow("champ vidé") << 2 << QStringList{""} << QStringList{"S1:102030", "S2:102031"}
                                << QStringList{"'' n'est pas une valeur entière correcte"} << "";
    QTest::newRow("lettres") << 2 << QStringList{"x"} << QStringList{"S1:102030", "S2:102031"}
                             << QStringList{"'x' n'est pas une valeur entière correcte"} << "x";
}

void TestParametres::compteTape()
{
    QFETCH(int, depart);
    QFETCH(QStringList, saisies);
    QFETCH(QStringList, lignes);
    QFETCH(QStringList, messages);
    QFETCH(QString, texte);
    Banc b(Edt(depart));
    for (const QString& s : saisies)
        b.TaperNombre(s);
    if (!lignes.isEmpty())
        QCOMPARE(b.LignesSemaines(), lignes);
    else
        QCOMPARE(b.Semaines()->rowCount(), texte.toInt());
    QCOMPARE(b.services.Textes(), messages);
    QCOMPARE(b.Nombre()->text(), texte);
}

void TestParametres::moinsDeSemainesEffaceLeurSequences()
{
    Banc b(Edt(3));
    b.Cliquer("UDSemBas");
    b.Ok();
    QVERIFY(!b.Ouvert());
    QCOMPARE(b.dialogue->result(), int(QDialog::Accepted));
    QCOMPARE(b.edt.Semaines.size(), std::size_t(2));
    for (const RJour& j : b.edt.Jours)
        QCOMPARE(j.ParSemaine.size(), std::size_t(2));
    // Weeks 1 and 2 keep theirs.
    QCOMPARE(b.edt.Jours[0].ParSemaine[1].Sequences.at(0).Textes[0], std::string("c1"));
    QVERIFY(b.edt.EdtModifie);
}

void TestParametres::validation_data()
{
    QTest::addColumn<QString>("grille");
    QTest::addColumn<int>("ligne");
    QTest::addColumn<int>("colonne");
    QTest::addColumn<QString>("texte");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<QByteArray>("stocke");

    QTest::newRow("nom de semaine vidé")
        << "GrilleSemaines" << 1 << 0 << "" << kSansNom << QByteArray();
    QTest::newRow("nom de semaine blanc")
        << "GrilleSemaines" << 0 << 0 << "   " << kSansNom << QByteArray();
    QTest::newRow("libellé vidé") << "GrilleLibelles" << 2 << 0 << "" << kIncomplet << QByteArray();
    QTest::newRow("exemple blanc")
        << "GrilleLibelles" << 4 << 1 << "  " << kIncomplet << QByteArray();
    QTest::newRow("blancs autour d'un nom de semaine")
        << "GrilleSemaines" << 1 << 0 << "  Semaine B " << QString() << QByteArray("Semaine B");
    QTest::newRow("blancs autour d'un libellé")
        << "GrilleLibelles" << 1 << 0 << " Profs  " << QString() << QByteArray("Profs");
    QTest::newRow("accents d'un exemple")
        << "GrilleLibelles" << 3 << 1 << QStringLiteral(" Salle é ") << QString()
        << QByteArray("Salle \xE9");
}

void TestParametres::validation()
{
    QFETCH(QString, grille);
    QFETCH(int, ligne);
    QFETCH(int, colonne);
    QFETCH(QString, texte);
    QFETCH(QString, message);
    QFETCH(QByteArray, stocke);
    Banc b(Edt(2));
    auto* g = b.dialogue->findChild<QTableWidget*>(grille);
    QVERIFY(Saisir(g, ligne, colonne, texte));
    QVERIFY(b.dialogue->Modifie());
    b.Ok();
    if (!message.isEmpty()) {
        QCOMPARE(b.services.Textes(), QStringList{message});
        QCOMPARE(b.services.questions.front().icone, QMessageBox::Warning);
        QCOMPARE(b.services.questions.front().titre, QStringLiteral("Horaku"));
        QVERIFY(b.Ouvert());
        QCOMPARE(QApplication::focusWidget(), g);
        return;
    }
    QVERIFY(b.services.questions.isEmpty());
    QVERIFY(!b.Ouvert());
    const std::string attendu = stocke.toStdString();
    if (grille == QLatin1String("GrilleSemaines"))
        QCOMPARE(b.edt.Semaines[std::size_t(ligne)].Nom, attendu);
    else if (colonne == 0)
        QCOMPARE(b.edt.Libelles[std::size_t(ligne)].Libelle, attendu);
    else
        QCOMPARE(b.edt.Libelles[std::size_t(ligne)].Exemple, attendu);
    // The trimmed text is also what the grid shows.
    QCOMPARE(g->item(ligne, colonne)->text(), Texte1252(attendu));
}

void TestParametres::okAvecEditeurOuvert()
{
    // A name still being typed when OK is clicked is the one applied.
    Banc b(Edt(1));
    b.Semaines()->setFocus();
    b.Semaines()->setCurrentCell(0, 0);
    QTest::keyClick(b.Semaines(), Qt::Key_F2);
    auto* editeur =
        qobject_cast<QLineEdit*>(b.Semaines()->indexWidget(b.Semaines()->currentIndex()));
    QVERIFY(editeur);
    editeur->selectAll();
    TaperTexte(editeur, QStringLiteral("Paires"));
    // Pressed without taking the focus from the editor (a click would commit it on its way).
    b.Enfant<QPushButton>("BtnOK")->click();
    QVERIFY(!b.Ouvert());
    QCOMPARE(b.edt.Semaines[0].Nom, std::string("Paires"));
}

void TestParametres::lignesSaisissables_data()
{
    QTest::addColumn<int>("ligne");
    QTest::addColumn<bool>("saisissable");
    const char* noms[] = {"Jours", "Classes", "Groupes", "Salles", "Divers", "Titre", "Heure"};
    for (int l = 0; l < kNbLibelles - 2; ++l)
        QTest::newRow(noms[l]) << l << (l >= 1 && l <= 4);
}

void TestParametres::lignesSaisissables()
{
    QFETCH(int, ligne);
    QFETCH(bool, saisissable);
    Banc b(Edt(1));
    const QString avant = b.Libelles()->item(ligne, 0)->text();
    QCOMPARE(Saisir(b.Libelles(), ligne, 0, QStringLiteral("Autre")), saisissable);
    QCOMPARE(b.Libelles()->item(ligne, 0)->text(), saisissable ? QStringLiteral("Autre") : avant);
    // Every row's font can be changed.
    Banc::DoubleClic(b.Libelles(), ligne, 0);
    QVERIFY(b.services.policesProposees.isEmpty()); // not from the label column
    const RPolice choisie = Police("Liberation Serif", 14, 0x0000FF, true, false, false, false);
    b.services.polices << choisie;
    Banc::DoubleClic(b.Libelles(), ligne, 1);
    QCOMPARE(b.services.policesProposees.size(), 1);
    b.Ok();
    QVERIFY(!b.Ouvert());
    b.dialogue.reset();
    RPolice attendue = choisie;
    if (ligne == LibHeure) attendue.Orientation = 900;
    QVERIFY(MemePolice(b.edt.Libelles[std::size_t(ligne)].Police, attendue));
}

void TestParametres::police_data()
{
    QTest::addColumn<int>("ligne");
    QTest::addColumn<bool>("choisie"); // false: the chooser is cancelled
    QTest::addColumn<bool>("ok");

    QTest::newRow("Classes, OK") << 1 << true << true;
    QTest::newRow("Divers, OK") << 4 << true << true;
    QTest::newRow("Heure, OK") << int(LibHeure) << true << true;
    QTest::newRow("Titre, sélecteur annulé") << int(LibTitre) << false << true;
    QTest::newRow("Classes, dialogue annulé") << 1 << true << false;
}

void TestParametres::police()
{
    QFETCH(int, ligne);
    QFETCH(bool, choisie);
    QFETCH(bool, ok);
    REdt e = Edt(1);
    e.Libelles[std::size_t(ligne)].Police =
        Police("Liberation Mono", 10, 0x008000, false, true, true, false);
    const REdt avant = e;
    Banc b(e);
    QVERIFY(!b.dialogue->Modifie());
    const RPolice nouvelle = Police("Liberation Serif", 16, 0x800080, true, false, false, true);
    b.services.polices << (choisie ? std::optional<RPolice>(nouvelle) : std::nullopt);
    Banc::DoubleClic(b.Libelles(), ligne, 1);
    // The chooser opened on the row's own font, shown upright.
    QCOMPARE(b.services.policesProposees.size(), 1);
    RPolice montree = avant.Libelles[std::size_t(ligne)].Police;
    montree.Orientation = 0;
    QVERIFY(MemePolice(b.services.policesProposees.front(), montree));
    // Even a cancelled chooser counts as a change.
    QVERIFY(b.dialogue->Modifie());
    // Nothing reaches the timetable before OK.
    QVERIFY(MemePolice(b.edt.Libelles[std::size_t(ligne)].Police,
                       avant.Libelles[std::size_t(ligne)].Police));
    if (ok) {
        b.Ok();
    } else {
        b.services.reponses << QMessageBox::Yes;
        b.Annuler();
    }
    QVERIFY(!b.Ouvert());
    b.dialogue.reset();
    RPolice attendue = (ok && choisie) ? nouvelle : avant.Libelles[std::size_t(ligne)].Police;
    attendue.Orientation = ligne == LibHeure ? 900 : 0;
    QVERIFY(MemePolice(b.edt.Libelles[std::size_t(ligne)].Police, attendue));
    // The other slots are untouched.
    for (int s = 0; s < kNbLibelles; ++s)
        if (s != ligne)
            QVERIFY(MemePolice(b.edt.Libelles[std::size_t(s)].Police,
                               avant.Libelles[std::size_t(s)].Police));
}

void TestParametres::couleur_data()
{
    QTest::addColumn<int>("ligne");
    QTest::addColumn<bool>("choisie");

    QTest::newRow("première semaine") << 0 << true;
    QTest::newRow("troisième semaine") << 2 << true;
    QTest::newRow("sélecteur annulé") << 1 << false;
}

void TestParametres::couleur()
{
    QFETCH(int, ligne);
    QFETCH(bool, choisie);
    const REdt avant = Edt(3);
    Banc b(avant);
    const std::int32_t nouvelle = 0x40A0F0;
    b.services.couleurs << (choisie ? std::optional<std::int32_t>(nouvelle) : std::nullopt);
    Banc::DoubleClic(b.Semaines(), ligne, 1);
    QCOMPARE(b.services.couleursProposees,
             QList<std::int32_t>{avant.Semaines[std::size_t(ligne)].Couleur});
    QCOMPARE(b.dialogue->Modifie(), choisie);
    // The cell is painted with the row's colour.
    const QRect cellule = b.Semaines()->visualRect(b.Semaines()->model()->index(ligne, 1));
    const QImage image = b.Semaines()->viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(cellule.center()),
             CouleurQt(choisie ? nouvelle : avant.Semaines[std::size_t(ligne)].Couleur));
    // A double click in the name column opens no chooser.
    Banc::DoubleClic(b.Semaines(), ligne, 0);
    QCOMPARE(b.services.couleursProposees.size(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    b.Ok();
    QVERIFY(!b.Ouvert());
    QCOMPARE(b.services.Textes(), QStringList());
    QCOMPARE(b.edt.Semaines[std::size_t(ligne)].Couleur,
             choisie ? nouvelle : avant.Semaines[std::size_t(ligne)].Couleur);
    QCOMPARE(b.edt.EdtModifie, choisie);
}

void TestParametres::annuler_data()
{
    QTest::addColumn<QString>("fichier");
    QTest::addColumn<bool>("changer");
    QTest::addColumn<QString>("moyen");
    QTest::addColumn<int>("reponse"); // 0: no question expected
    QTest::addColumn<bool>("ferme");

    for (const char* moyen : {"bouton", "echap", "fermeture"}) {
        const QString m = QString::fromLatin1(moyen);
        QTest::addRow("%s sans changement", moyen) << "/d/a.edt" << false << m << 0 << true;
        QTest::addRow("%s après changement, Non", moyen)
            << "/d/a.edt" << true << m << int(QMessageBox::No) << false;
        QTest::addRow("%s après changement, Oui", moyen)
            << "/d/a.edt" << true << m << int(QMessageBox::Yes) << true;
    }
    QTest::newRow("jamais enregistré, rien touché: la question")
        << QString() << false << "bouton" << int(QMessageBox::Yes) << true;
}

void TestParametres::annuler()
{
    QFETCH(QString, fichier);
    QFETCH(bool, changer);
    QFETCH(QString, moyen);
    QFETCH(int, reponse);
    QFETCH(bool, ferme);
    const REdt avant = Edt(2, fichier.toStdString());
    Banc b(avant);
    if (changer) {
        // Title typed, one week more, a week renamed: all undone by Yes.
        TaperTexte(b.Enfant<QLineEdit>("ETitre"), QStringLiteral("X"));
        b.Cliquer("UDSemHaut");
        QVERIFY(Saisir(b.Semaines(), 0, 0, QStringLiteral("Autre")));
    }
    if (reponse) b.services.reponses << QMessageBox::StandardButton(reponse);
    if (moyen == QLatin1String("bouton"))
        b.Annuler();
    else if (moyen == QLatin1String("echap"))
        QTest::keyClick(b.dialogue.get(), Qt::Key_Escape);
    else
        b.dialogue->close();
    if (reponse) {
        QCOMPARE(b.services.Textes(), QStringList{kQuestionAnnuler});
        QCOMPARE(b.services.questions.front().boutons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(b.services.questions.front().icone, QMessageBox::Warning);
    } else {
        QVERIFY(b.services.questions.isEmpty());
    }
    QCOMPARE(!b.Ouvert(), ferme);
    if (!ferme) return;
    QCOMPARE(b.dialogue->result(), int(QDialog::Rejected));
    b.dialogue.reset();
    QCOMPARE(EcrireEdt(b.edt), EcrireEdt(avant));
    QCOMPARE(b.edt.EdtModifie, avant.EdtModifie);
}

void TestParametres::defaut_data()
{
    QTest::addColumn<QString>("fichier");
    QTest::addColumn<QString>("defaut");
    QTest::addColumn<bool>("configModifiee"); // before the dialog
    QTest::addColumn<bool>("cliquer");
    QTest::addColumn<bool>("autreChangement");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("attendu");

    QTest::newRow("coché puis Annuler sans autre changement")
        << "/d/a.edt" << QString() << false << true << false << false << "/d/a.edt";
    QTest::newRow("décoché puis OK") << "/d/a.edt"
                                     << "/d/a.edt" << false << true << false << true << QString();
    QTest::newRow("coché puis OK") << "/d/a.edt"
                                   << "/d/b.edt" << false << true << false << true << "/d/a.edt";
    QTest::newRow("coché puis Annuler qui défait un autre changement")
        << "/d/a.edt" << QString() << false << true << true << false << QString();
    QTest::newRow("non cliqué: le défaut reste")
        << "/d/a.edt"
        << "/d/b.edt" << false << false << true << true << "/d/b.edt";
    QTest::newRow("sans fichier: le défaut reste")
        << QString() << "/d/b.edt" << true << false << false << true << "/d/b.edt";
}

void TestParametres::defaut()
{
    QFETCH(QString, fichier);
    QFETCH(QString, defaut);
    QFETCH(bool, configModifiee);
    QFETCH(bool, cliquer);
    QFETCH(bool, autreChangement);
    QFETCH(bool, ok);
    QFETCH(QString, attendu);
    ServicesScriptes services;
    RConfig config;
    config.EdtDefaut = defaut.toStdString();
    config.ConfigModifiee = configModifiee;
    REdt e = Edt(1, fichier.toStdString());
    TFiche_Parametres dialogue(nullptr, e, config, services);
    dialogue.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialogue));
    auto* boite = dialogue.findChild<QCheckBox*>("CBDefautEdT");
    if (cliquer) QTest::mouseClick(boite, Qt::LeftButton);
    if (cliquer) QVERIFY(config.ConfigModifiee);
    // The box alone is not a change of the timetable.
    QCOMPARE(dialogue.Modifie(), fichier.isEmpty());
    if (autreChangement) TaperTexte(dialogue.findChild<QLineEdit*>("ETitre"), QStringLiteral("!"));
    services.reponses << QMessageBox::Yes;
    QTest::mouseClick(dialogue.findChild<QPushButton*>(ok ? "BtnOK" : "BitBtn1"), Qt::LeftButton);
    QVERIFY(!dialogue.isVisible());
    QCOMPARE(QString::fromStdString(config.EdtDefaut), attendu);
}

void TestParametres::motDePasse_data()
{
    QTest::addColumn<QByteArray>("ancien");
    QTest::addColumn<QString>("tape"); // empty: untick the box
    QTest::addColumn<bool>("valider"); // OK in the password dialog, else Cancel
    QTest::addColumn<bool>("change");

    QTest::newRow("nouveau") << QByteArray() << "abcd" << true << true;
    QTest::newRow("le même: rien ne change") << QByteArray("abcd") << "abcd" << true << false;
    QTest::newRow("retiré") << QByteArray("abcd") << QString() << true << true;
    QTest::newRow("annulé") << QByteArray("abcd") << "wxyz" << false << false;
}

void TestParametres::motDePasse()
{
    QFETCH(QByteArray, ancien);
    QFETCH(QString, tape);
    QFETCH(bool, valider);
    QFETCH(bool, change);
    REdt e = Edt(1);
    e.MotDePasse = ancien.toStdString();
    Banc b(e);
    auto* bouton = b.Enfant<QPushButton>("BtnMotPasse");
    QPoint place;
    bool vu = false;
    AuProchain<TFiche_DefinirMotDePasse>([&](TFiche_DefinirMotDePasse* d) {
        vu = true;
        place = d->pos();
        auto* boite = d->findChild<QCheckBox*>("CBPass");
        if (boite->isChecked() == tape.isEmpty()) QTest::mouseClick(boite, Qt::LeftButton);
        for (const char* nom : {"MEPass", "MEConfirmation"}) {
            auto* champ = d->findChild<QLineEdit*>(nom);
            if (!champ->isEnabled()) continue;
            champ->selectAll();
            QTest::keyClick(champ, Qt::Key_Backspace);
            TaperTexte(champ, tape);
        }
        if (!valider) b.services.reponses << QMessageBox::Yes;
        QTest::mouseClick(d->findChild<QPushButton*>(valider ? "BitBtn1" : "BitBtn2"),
                          Qt::LeftButton);
    });
    QTest::mouseClick(bouton, Qt::LeftButton);
    QVERIFY(vu);
    QCOMPARE(place, b.dialogue->pos() + QPoint(bouton->x(), bouton->y() + 4 * bouton->height()));
    const std::string attendu = change ? Octets1252(tape) : ancien.toStdString();
    QCOMPARE(b.edt.MotDePasse, attendu);
    QCOMPARE(b.edt.EdtModifie, change);
    QCOMPARE(b.dialogue->Modifie(), change);
}

void TestParametres::motDePasseAnnuleAvecLeReste()
{
    REdt e = Edt(1);
    e.MotDePasse = "ancien";
    Banc b(e);
    AuProchain<TFiche_DefinirMotDePasse>([](TFiche_DefinirMotDePasse* d) {
        for (const char* nom : {"MEPass", "MEConfirmation"}) {
            auto* champ = d->findChild<QLineEdit*>(nom);
            champ->selectAll();
            QTest::keyClick(champ, Qt::Key_Backspace);
            TaperTexte(champ, QStringLiteral("nouveau"));
        }
        QTest::mouseClick(d->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
    });
    b.Cliquer("BtnMotPasse");
    QCOMPARE(b.edt.MotDePasse, std::string("nouveau"));
    b.services.reponses << QMessageBox::Yes;
    b.Annuler();
    QVERIFY(!b.Ouvert());
    QCOMPARE(b.edt.MotDePasse, std::string("ancien"));
    QVERIFY(!b.edt.EdtModifie);
}

void TestParametres::nouveau_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Annuler") << false;
}

void TestParametres::nouveau()
{
    QFETCH(bool, ok);
    DossierDeTravail dossier;
    EcrireConfiguration(QString());
    ServicesScriptes services;
    TFenetre_Principale fenetre(services);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    bool vu = false;
    AuProchain<TFiche_Parametres>([&](TFiche_Parametres* d) {
        vu = true;
        // A new timetable: never saved, so it counts as changed.
        QVERIFY(d->Modifie());
        TaperTexte(d->findChild<QLineEdit*>("ETitre"), QStringLiteral("Coll\u00E8ge"));
        if (!ok) services.reponses << QMessageBox::Yes;
        QTest::mouseClick(d->findChild<QPushButton*>(ok ? "BtnOK" : "BitBtn1"), Qt::LeftButton);
    });
    fenetre.findChild<QAction*>("MenuNouveau")->trigger();
    QVERIFY(vu);
    QCOMPARE(fenetre.EdtCourant() != nullptr, ok);
    QCOMPARE(fenetre.windowTitle(), ok ? QStringLiteral("Horaku - ") : QStringLiteral("Horaku"));
    QCOMPARE(fenetre.findChild<QAction*>("MenuParametres")->isEnabled(), ok);
    if (!ok) {
        QCOMPARE(services.Textes(), QStringList{kQuestionAnnuler});
        return;
    }
    QVERIFY(services.questions.isEmpty());
    REdt* e = fenetre.EdtCourant();
    QCOMPARE(e->Titre, std::string("Coll\xE8ge"));
    QVERIFY(e->EdtModifie);
    QVERIFY(e->Fichier.empty());
    QCOMPARE(e->Libelles[LibHeure].Police.Orientation, 900);

    // Cancel in the closing question of the next New: nothing changes.
    services.reponses << QMessageBox::Cancel;
    fenetre.findChild<QAction*>("MenuNouveau")->trigger();
    QCOMPARE(fenetre.EdtCourant(), e);
    QCOMPARE(
        services.Textes(),
        QStringList{QStringLiteral(
            "Cet emploi du temps a été modifié.\nVoulez-vous enregistrer ces modifications ?")});
}

void TestParametres::parametresF2_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK") << true;
    QTest::newRow("Annuler") << false;
}

void TestParametres::parametresF2()
{
    // On a timetable already open: the picture then shows it as it stands, the
    // panel against the window; only OK keeps the title, trimmed, and modifies.
    QFETCH(bool, ok);
    REdt modele = EdtExemple();
    modele.AffichNom = true; // the title is in the picture
    FenetreOuverte o(modele);
    QVERIFY(o.Exposee());
    auto& [dossier, plan, services, fenetre] = o;
    REdt* e = fenetre.EdtCourant();
    AuProchain<TFiche_Parametres>([&](TFiche_Parametres* d) {
        auto* titre = d->findChild<QLineEdit*>("ETitre");
        titre->selectAll();
        TaperTexte(titre, QStringLiteral("  Essai é "));
        if (!ok) services.reponses << QMessageBox::Yes;
        QTest::mouseClick(d->findChild<QPushButton*>(ok ? "BtnOK" : "BitBtn1"), Qt::LeftButton);
        if (ok) QCOMPARE(titre->text(), QStringLiteral("Essai é"));
    });
    fenetre.findChild<QAction*>("MenuParametres")->trigger();
    QVERIFY(services.imprevus.isEmpty());
    QCOMPARE(fenetre.EdtCourant(), e);
    QCOMPARE(e->Titre, std::string(ok ? "Essai \xE9" : "Essai"));
    QCOMPARE(e->EdtModifie, ok);
    QCOMPARE(fenetre.Image(), Redessiner(*e).image);
    QVERIFY(fenetre.Panneau()->isVisible());
    QTRY_VERIFY(PanneauAncre(fenetre));
}

void TestParametres::tourComplet()
{
    DossierDeTravail dossier;
    EcrireConfiguration(QString());
    ServicesScriptes services;
    TFenetre_Principale fenetre(services);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    const RPolice policeProfs = Police("Liberation Serif", 12, 0x000080, true, true, false, false);
    const QList<std::int32_t> couleurs{0xC0FFC0, 0xFFC0C0, 0xC0C0FF};
    AuProchain<TFiche_Parametres>([&](TFiche_Parametres* d) {
        TaperTexte(d->findChild<QLineEdit*>("ETitre"), QStringLiteral("Lycée Jean Moulin"));
        auto* plus = d->findChild<QToolButton*>("UDSemHaut");
        QTest::mouseClick(plus, Qt::LeftButton);
        QTest::mouseClick(plus, Qt::LeftButton);
        auto* semaines = d->findChild<QTableWidget*>("GrilleSemaines");
        const QStringList noms{"Semaine A", "Semaine B", "Semaine C"};
        for (int w = 0; w < 3; ++w) {
            QVERIFY(Saisir(semaines, w, 0, noms[w]));
            services.couleurs << couleurs[w];
            Banc::DoubleClic(semaines, w, 1);
        }
        auto* libelles = d->findChild<QTableWidget*>("GrilleLibelles");
        QVERIFY(Saisir(libelles, 2, 0, QStringLiteral("Profs")));
        QVERIFY(Saisir(libelles, 2, 1, QStringLiteral("M. Dupré")));
        services.polices << policeProfs;
        Banc::DoubleClic(libelles, 2, 1);
        AuProchain<TFiche_DefinirMotDePasse>([](TFiche_DefinirMotDePasse* m) {
            QTest::mouseClick(m->findChild<QCheckBox*>("CBPass"), Qt::LeftButton);
            TaperTexte(m->findChild<QLineEdit*>("MEPass"), QStringLiteral("s3cret"));
            TaperTexte(m->findChild<QLineEdit*>("MEConfirmation"), QStringLiteral("s3cret"));
            QTest::mouseClick(m->findChild<QPushButton*>("BitBtn1"), Qt::LeftButton);
        });
        QTest::mouseClick(d->findChild<QPushButton*>("BtnMotPasse"), Qt::LeftButton);
        QTest::mouseClick(d->findChild<QPushButton*>("BtnOK"), Qt::LeftButton);
    });
    fenetre.findChild<QAction*>("MenuNouveau")->trigger();
    QVERIFY(services.imprevus.isEmpty());
    REdt* e = fenetre.EdtCourant();
    QVERIFY(e);
    QCOMPARE(e->Semaines.size(), std::size_t(3));
    for (int w = 0; w < 3; ++w)
        QCOMPARE(e->Semaines[std::size_t(w)].Couleur, couleurs[w]);
    QCOMPARE(e->Semaines[1].Nom, std::string("Semaine B"));
    QCOMPARE(e->Libelles[2].Libelle, std::string("Profs"));
    QCOMPARE(e->Libelles[2].Exemple, std::string("M. Dupr\xE9"));
    QVERIFY(MemePolice(e->Libelles[2].Police, policeProfs));
    QCOMPARE(e->MotDePasse, std::string("s3cret"));
    QCOMPARE(e->Titre, std::string("Lyc\xE9"
                                   "e Jean Moulin"));

    // Boxes in every week type so that the picture shows the colours and fonts.
    for (int w = 0; w < 3; ++w)
        test::Ajouter(*e, w, w,
                      test::Seq(test::H(8 + w), test::H(10 + w), {"604", "Dupr\xE9", "S1", "x"}));
    e->AffichNom = true;
    QCOMPARE(fenetre.Redessiner(), ResultatDessin::Dessine);
    const QImage image = fenetre.Image();

    const QString chemin = dossier.Chemin(QStringLiteral("lycee.edt"));
    services.noms << chemin;
    fenetre.findChild<QAction*>("MenuEnregistrerSous")->trigger();
    QVERIFY(!e->EdtModifie);
    QFile f(chemin);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray octets = f.readAll();

    services.noms << chemin;
    fenetre.findChild<QAction*>("MenuOuvrir")->trigger();
    QVERIFY(services.imprevus.isEmpty());
    REdt* relu = fenetre.EdtCourant();
    QVERIFY(relu);
    QCOMPARE(QByteArray::fromStdString(EcrireEdt(*relu)), octets);
    QCOMPARE(fenetre.Image(), image);
}

QTEST_MAIN(TestParametres)
#include "tst_parametres.moc"
