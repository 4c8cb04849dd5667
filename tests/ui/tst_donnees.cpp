// The data-entry dialog driven through its real controls, offscreen: clicks
// on grid cells, keys typed into the pickers, the five sequence buttons, the
// day, week and group selectors, and the message service answering.  What
// the grid holds is read back from the timetable after OK, where it counts.
#include "donnees.h"
#include "outils_ui.h"
#include "saisie.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QToolButton>
#include <QtTest>

Q_DECLARE_METATYPE(horaku::RSequence)

using namespace horaku;
using namespace horaku::test;
using namespace outils_ui;

namespace
{

QString HM(TDateTime t)
{
    return QString::fromLatin1(HeureMinuteVersTexte(t).c_str());
}

struct Banc {
    DossierDeTravail dossier;
    ServicesScriptes services;
    REdt edt;
    std::unique_ptr<TFiche_Donnees> fiche;

    explicit Banc(const REdt& modele = EdtExemple())
    {
        edt.Copier(modele);
        fiche = std::make_unique<TFiche_Donnees>(nullptr, edt, services);
        fiche->show();
        fiche->activateWindow();
    }
    bool Pret()
    {
        return QTest::qWaitForWindowExposed(fiche.get()) &&
               QTest::qWaitFor([this] { return QApplication::activeWindow() == fiche.get(); });
    }
    template <typename T> T* C(const char* nom) const
    {
        return fiche->findChild<T*>(QString::fromLatin1(nom));
    }
    QTableWidget* Grille() const { return C<QTableWidget>("GridSeq"); }
    void Cliquer(int ligne, int colonne)
    {
        QTableWidget* g = Grille();
        const QRect r = g->visualRect(g->model()->index(ligne, colonne));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
    }
    void Bouton(const char* nom) { QTest::mouseClick(C<QToolButton>(nom), Qt::LeftButton); }
    // "HH:mm-HH:mm a|b|c|d" for each data row, from the cells' own values.
    QStringList Lignes() const
    {
        QStringList l;
        QTableWidget* g = Grille();
        for (int r = 1; r < g->rowCount(); ++r) {
            QStringList textes;
            for (int c = 2; c < 6; ++c)
                textes << g->item(r, c)->text();
            l << HM(g->item(r, 0)->data(kRoleHeure).toDouble()) + u'-' +
                     HM(g->item(r, 1)->data(kRoleHeure).toDouble()) + u' ' + textes.join(u'|');
        }
        return l;
    }
    // The five sequence buttons, "ASMDC" with a dot for each one disabled.
    QString Boutons() const
    {
        QString etat;
        for (const char* nom : {"BtnAjoutSequence", "BtnSupprimeSequence", "BtnMonterSequence",
                                "BtnDescendreSequence", "BtnCopierSemaine"})
            etat += C<QToolButton>(nom)->isEnabled() ? nom[3] : '.';
        return etat;
    }
    void Ok() { QTest::mouseClick(C<QPushButton>("BtnOK"), Qt::LeftButton); }
    void Annuler() { QTest::mouseClick(C<QPushButton>("BtnAnnuler"), Qt::LeftButton); }
    // Chooses item `index` of a drop-down list with the keyboard, as a user does.
    void Choisir(const char* nom, int index)
    {
        auto* liste = C<QComboBox>(nom);
        liste->setFocus(Qt::MouseFocusReason);
        QTest::keyClick(liste, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(liste, Qt::Key_Down);
    }
    void Cocher(int jour, bool coche)
    {
        C<QListWidget>("CkLBJours")->item(jour)->setCheckState(coche ? Qt::Checked : Qt::Unchecked);
    }
    void TaperValeur(const QString& texte)
    {
        auto* e = C<QLineEdit>("EListeDonnees");
        e->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(e, texte);
        QTest::keyClick(e, Qt::Key_Return);
    }
};

// "HH:mm-HH:mm a|b|c|d" of the timetable's own sequences.
QStringList Sequences(const REdt& e, int jour, int semaine)
{
    QStringList l;
    for (const RSequence& s : e.Jours[static_cast<std::size_t>(jour)]
                                  .ParSemaine[static_cast<std::size_t>(semaine)]
                                  .Sequences) {
        QStringList textes;
        for (const std::string_view t : s.Textes)
            textes << Texte1252(t);
        l << HM(s.Debut) + u'-' + HM(s.Fin) + u' ' + textes.join(u'|');
    }
    return l;
}

QStringList Valeurs(const std::vector<std::string>& v)
{
    QStringList l;
    for (const std::string& t : v)
        l << Texte1252(t);
    return l;
}

// Monday of week 0 with rows 08:00-08:55 and 08:55-09:50 and nothing else.
REdt EdtDeuxLignes()
{
    REdt e;
    Ajouter(e, 0, 0, Seq(H(8), H(8, 55), {"A", "", "", ""}));
    Ajouter(e, 0, 0, Seq(H(8, 55), H(9, 50), {"B", "", "", ""}));
    return e;
}

} // namespace

class TestDonnees : public QObject
{
    Q_OBJECT

private slots:
    void ouverture();
    void apparence();
    void ajout_data();
    void ajout();
    void heure_data();
    void heure();
    void deplacement_data();
    void deplacement();
    void suppression_data();
    void suppression();
    void saisieDirecte();
    void filtre1252_data();
    void filtre1252();
    void choixDansLaListe_data();
    void choixDansLaListe();
    void listeDeValeurs_data();
    void listeDeValeurs();
    void changementDeGroupe();
    void aucunJour();
    void decocherLeJourMontre();
    void semaines_data();
    void semaines();
    void copierSemaine_data();
    void copierSemaine();
    void duree_data();
    void duree();
    void annuler_data();
    void annuler();
    void okSansModification();
    void enregistrer();
    void enregistrerEchoue();
};

void TestDonnees::ouverture()
{
    REdt modele = EdtExemple();
    modele.Jours[0].Affiche = 0; // the first shown day is Tuesday
    Banc banc(modele);
    QVERIFY(banc.Pret());
    QCOMPARE(banc.fiche->windowTitle(), QStringLiteral("Données"));
    QCOMPARE(banc.fiche->size(), QSize(558, 400));
    QCOMPARE(banc.fiche->JourCourant(), 1);
    QCOMPARE(banc.C<QComboBox>("CBJour")->currentText(), QStringLiteral("Mardi"));
    QCOMPARE(banc.Lignes(), QStringList{QStringLiteral("13:00-14:00 501||S1|")});
    QCOMPARE(banc.C<QComboBox>("CBJour")->count(), 6);
    QVERIFY(banc.C<QComboBox>("CBSem")->isVisible());
    QCOMPARE(banc.C<QComboBox>("CBSem")->count(), 2);
    QCOMPARE(banc.fiche->CelluleHeure(), QPoint(-1, -1));
    QVERIFY(!banc.C<QWidget>("DTPHeure")->isVisible());
    QVERIFY(!banc.C<QWidget>("CBDonnees")->isVisible());
    // Never saved: nowhere to save to.
    QVERIFY(!banc.C<QPushButton>("BtnEnregistrer")->isEnabled());
    QCOMPARE(banc.C<QLabel>("LDonnees")->text(), QStringLiteral("Classes"));
    QCOMPARE(QApplication::focusWidget(), banc.C<QWidget>("CBJour"));
    for (const char* nom : {"BtnAjoutSequence", "BtnSupprimeSequence", "BtnMonterSequence",
                            "BtnDescendreSequence", "BtnCopierSemaine"})
        QCOMPARE(banc.C<QToolButton>(nom)->focusPolicy(), Qt::NoFocus);
    QVERIFY(!banc.edt.EdtModifie);
}

void TestDonnees::apparence()
{
    REdt modele = EdtExemple();
    Ajouter(modele, 0, 0, Seq(H(10), H(11), {"x", "", "", ""}));
    modele.Libelles[3].Libelle = "Lieux";
    Banc banc(modele);
    QVERIFY(banc.Pret());
    QTableWidget* g = banc.Grille();
    QCOMPARE(g->width(), 321);
    QCOMPARE(g->columnCount(), 6);
    for (int c = 0; c < 6; ++c)
        QCOMPARE(g->columnWidth(c), kLargeurColonne);
    QCOMPARE(g->rowHeight(1), kHauteurLigne);
    QStringList titres;
    for (int c = 0; c < 6; ++c)
        titres << g->item(0, c)->text();
    QCOMPARE(titres, (QStringList{"Début", "Fin", "Classes", "Groupes", "Lieux", "Divers"}));

    g->setCurrentCell(2, 3);
    const QImage image = g->viewport()->grab().toImage();
    const auto couleur = [&](int ligne, int colonne) {
        const QRect r = g->visualRect(g->model()->index(ligne, colonne));
        return image.pixelColor(r.right() - 3, r.center().y());
    };
    QCOMPARE(couleur(0, 4), QColor(192, 220, 192));
    QCOMPARE(couleur(1, 4), QColor(238, 255, 225));
    QCOMPARE(couleur(2, 4), QColor(255, 255, 225));
    QCOMPARE(couleur(2, 3), QColor(0, 0, 128));
    // Columns follow the mouse dragged on their edge in the title row.
    const QRect titre = g->visualRect(g->model()->index(0, 2));
    const QPoint bord(titre.right() + 1, titre.center().y());
    QTest::mousePress(g->viewport(), Qt::LeftButton, {}, bord);
    QMouseEvent glisse(QEvent::MouseMove, QPointF(bord + QPoint(20, 0)),
                       g->viewport()->mapToGlobal(QPointF(bord + QPoint(20, 0))), Qt::NoButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(g->viewport(), &glisse);
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, bord + QPoint(20, 0));
    QCOMPARE(g->columnWidth(2), kLargeurColonne + 20);
}

void TestDonnees::ajout_data()
{
    QTest::addColumn<QList<RSequence>>("avant");
    QTest::addColumn<int>("duree");
    QTest::addColumn<int>("ajouts");
    QTest::addColumn<QStringList>("attendu");

    QTest::newRow("jour vide, duree habituelle")
        << QList<RSequence>{} << 55 << 2 << QStringList{"08:00-08:55 |||", "08:55-09:50 |||"};
    QTest::newRow("apres la derniere ligne, pas la plus tardive")
        << QList<RSequence>{Seq(H(14), H(15), {"a", "", "", ""}),
                            Seq(H(9), H(10), {"b", "", "", ""})}
        << 30 << 1 << QStringList{"14:00-15:00 a|||", "09:00-10:00 b|||", "10:00-10:30 |||"};
    QTest::newRow("au-dela de minuit")
        << QList<RSequence>{Seq(H(22, 35), H(23, 30), {"", "", "", ""})} << 55 << 1
        << QStringList{"22:35-23:30 |||", "23:30-00:25 |||"};
}

void TestDonnees::ajout()
{
    QFETCH(QList<RSequence>, avant);
    QFETCH(int, duree);
    QFETCH(int, ajouts);
    QFETCH(QStringList, attendu);
    REdt modele;
    modele.DureeSeq = static_cast<std::uint32_t>(duree);
    for (const RSequence& s : avant)
        Ajouter(modele, 0, 0, s);
    Banc banc(modele);
    QVERIFY(banc.Pret());
    for (int i = 0; i < ajouts; ++i)
        banc.Bouton("BtnAjoutSequence");
    QCOMPARE(banc.Lignes(), attendu);
    QVERIFY(banc.edt.EdtModifie);
    banc.Ok();
    QVERIFY(!banc.fiche->isVisible());
    QCOMPARE(Sequences(banc.edt, 0, 0), attendu);
    // The end of a sequence is its start plus the duration, even past midnight.
    const RSequence& derniere = banc.edt.Jours[0].ParSemaine[0].Sequences.back();
    QCOMPARE(std::lround((derniere.Fin - derniere.Debut) * 1440), long(duree));
    QVERIFY(banc.services.questions.isEmpty());
}

void TestDonnees::heure_data()
{
    QTest::addColumn<int>("colonne");
    QTest::addColumn<QString>("frappe");
    QTest::addColumn<bool>("parEntree");
    QTest::addColumn<QString>("attendu");
    // attendu: the row's times, or the start of the warning that keeps them.

    // Row 1 runs 08:00-08:55.
    QTest::newRow("fin tapee puis Entree") << 1 << "0930" << true << "08:00-09:30";
    QTest::newRow("debut tape puis clic ailleurs") << 0 << "0730" << false << "07:30-08:55";
    QTest::newRow("9:30, neuf heures trente") << 1 << "9:30" << true << "08:00-09:30";
    QTest::newRow("debut egal a la fin: la fin suit") << 0 << "0855" << true << "08:55-09:50";
    QTest::newRow("debut apres la fin: la fin suit") << 0 << "0900" << false << "09:00-09:55";
    QTest::newRow("debut trop tard pour la duree") << 0 << "2330" << true << "Début refusé";
    QTest::newRow("fin egale au debut refusee") << 1 << "0800" << true << "Fin refusée";
    QTest::newRow("fin avant le debut refusee") << 1 << "0745" << false << "Fin refusée";
    QTest::newRow("25 heures") << 1 << "2599" << true << "Heure impossible : 25:";
    QTest::newRow("99 minutes") << 1 << "0999" << true << "Heure impossible : 09:99";
    QTest::newRow("Echap: l'heure n'est pas prise") << 1 << "0930\x1b" << false << "08:00-08:55";
}

void TestDonnees::heure()
{
    QFETCH(int, colonne);
    QFETCH(QString, frappe);
    QFETCH(bool, parEntree);
    QFETCH(QString, attendu);
    const QString avertissement =
        attendu.front().isDigit() ? QString() : std::exchange(attendu, "08:00-08:55");
    Banc banc(EdtDeuxLignes());
    QVERIFY(banc.Pret());
    banc.Cliquer(1, colonne);
    auto* picker = banc.C<QTimeEdit>("DTPHeure");
    QVERIFY(picker->isVisible());
    QCOMPARE(banc.fiche->CelluleHeure(), QPoint(colonne, 1));
    QVERIFY(picker->hasFocus());
    // Over the cell, in the column's colour.
    const QTableWidget* g = banc.Grille();
    const QRect cellule = g->visualRect(g->model()->index(1, colonne));
    QCOMPARE(picker->geometry(),
             QRect(g->viewport()->mapTo(banc.fiche.get(), cellule.topLeft()), cellule.size()));
    QCOMPARE(picker->palette().color(QPalette::Base),
             colonne == 0 ? QColor(166, 202, 240) : QColor(255, 188, 155));
    // It opens on the clicked cell's own time.
    QCOMPARE(picker->time(), colonne == 0 ? QTime(8, 0) : QTime(8, 55));

    QTest::keyClicks(picker, frappe);
    // Escape leaves the picker, not the dialog; typing alone never closes it.
    QCOMPARE(picker->isVisible(), !frappe.endsWith(u'\x1b'));
    if (parEntree)
        QTest::keyClick(picker, Qt::Key_Return);
    else
        banc.Cliquer(2, 4);
    QVERIFY(!picker->isVisible());
    QCOMPARE(banc.fiche->CelluleHeure(), QPoint(-1, -1));
    QCOMPARE(banc.fiche->isVisible(), true);
    QCOMPARE(banc.Lignes().at(0).left(11), attendu);
    const QString vu = banc.fiche->Avertissement();
    QVERIFY2(avertissement.isEmpty() ? vu.isEmpty() : vu.startsWith(avertissement), qPrintable(vu));
    // Other rows never move with it.
    QCOMPARE(banc.Lignes().at(1).left(11), QStringLiteral("08:55-09:50"));
    QVERIFY(banc.services.questions.isEmpty());
    banc.Ok();
    QCOMPARE(Sequences(banc.edt, 0, 0).at(0).left(11), attendu);
}

void TestDonnees::deplacement_data()
{
    QTest::addColumn<int>("ligne");
    QTest::addColumn<QString>("bouton");
    QTest::addColumn<QStringList>("attendu");

    const QString a = QStringLiteral("08:00-09:00 a|||");
    const QString b = QStringLiteral("10:00-11:00 b|||");
    const QString c = QStringLiteral("09:00-09:30 c|||");
    QTest::newRow("monter la deuxieme") << 2 << "BtnMonterSequence" << QStringList{b, a, c};
    QTest::newRow("descendre la premiere") << 1 << "BtnDescendreSequence" << QStringList{b, a, c};
    QTest::newRow("monter la premiere") << 1 << "BtnMonterSequence" << QStringList{a, b, c};
    QTest::newRow("descendre la derniere") << 3 << "BtnDescendreSequence" << QStringList{a, b, c};
    QTest::newRow("descendre la deuxieme") << 2 << "BtnDescendreSequence" << QStringList{a, c, b};
}

void TestDonnees::deplacement()
{
    QFETCH(int, ligne);
    QFETCH(QString, bouton);
    QFETCH(QStringList, attendu);
    REdt modele;
    Ajouter(modele, 0, 0, Seq(H(8), H(9), {"a", "", "", ""}));
    Ajouter(modele, 0, 0, Seq(H(10), H(11), {"b", "", "", ""}));
    Ajouter(modele, 0, 0, Seq(H(9), H(9, 30), {"c", "", "", ""}));
    Banc banc(modele);
    QVERIFY(banc.Pret());
    banc.Cliquer(ligne, 2);
    banc.Bouton(bouton.toLatin1().constData());
    QCOMPARE(banc.Lignes(), attendu);
    // The moved sequence stays selected, so a second click moves it on.
    QCOMPARE(banc.Grille()->currentRow(), attendu.indexOf(Sequences(modele, 0, 0)[ligne - 1]) + 1);
    QCOMPARE(banc.Boutons(), QStringLiteral("ASMD."));
    banc.Ok();
    QCOMPARE(Sequences(banc.edt, 0, 0), attendu);
}

void TestDonnees::suppression_data()
{
    QTest::addColumn<int>("ligne");
    QTest::addColumn<QMessageBox::StandardButton>("reponse");
    QTest::addColumn<QStringList>("attendu");

    const QString a = QStringLiteral("08:00-08:55 A|||");
    const QString b = QStringLiteral("08:55-09:50 B|||");
    QTest::newRow("oui") << 2 << QMessageBox::Yes << QStringList{a};
    QTest::newRow("non") << 2 << QMessageBox::No << QStringList{a, b};
    QTest::newRow("premiere, oui") << 1 << QMessageBox::Yes << QStringList{b};
    QTest::newRow("toutes, la deuxieme puis la premiere") << 2 << QMessageBox::Yes << QStringList{};
}

void TestDonnees::suppression()
{
    QFETCH(int, ligne);
    QFETCH(QMessageBox::StandardButton, reponse);
    QFETCH(QStringList, attendu);
    Banc banc(EdtDeuxLignes());
    QVERIFY(banc.Pret());
    banc.Cliquer(ligne, 3);
    banc.services.reponses << reponse;
    banc.Bouton("BtnSupprimeSequence");
    QCOMPARE(banc.services.questions.size(), 1);
    const Question& q = banc.services.questions.front();
    const REdt modele = EdtDeuxLignes();
    const RSequence& s = modele.Jours[0].ParSemaine[0].Sequences[std::size_t(ligne - 1)];
    QCOMPARE(q.texte, QStringLiteral("Suppression de la séquence ") + HM(s.Debut) + " - " +
                          HM(s.Fin) +
                          "\nCette suppression sera définitive.\nEtes-vous sûr de vouloir "
                          "continuer ? ");
    QCOMPARE(q.boutons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(q.icone, QMessageBox::Question);
    QCOMPARE(q.titre, QStringLiteral("Horaku"));
    if (attendu.isEmpty()) {
        banc.Cliquer(1, 3);
        banc.services.reponses << QMessageBox::Yes;
        banc.Bouton("BtnSupprimeSequence");
    }
    QCOMPARE(banc.Lignes(), attendu);
    QCOMPARE(banc.Boutons(), QStringList({"A....", "AS...", "ASMD."})[attendu.size()]);
    banc.Ok();
    QCOMPARE(Sequences(banc.edt, 0, 0), attendu);

    // The title row cannot be deleted.
    Banc titre(EdtDeuxLignes());
    QVERIFY(titre.Pret());
    titre.Cliquer(0, 3);
    titre.Bouton("BtnSupprimeSequence");
    QVERIFY(titre.services.questions.isEmpty());
    QCOMPARE(titre.Lignes().size(), 2);
}

void TestDonnees::saisieDirecte()
{
    Banc banc(EdtDeuxLignes());
    QVERIFY(banc.Pret());
    banc.Cliquer(1, 2);
    auto* editeur = banc.Grille()->findChild<QLineEdit*>(QStringLiteral("EditeurGrille"));
    QVERIFY(editeur);
    QTRY_VERIFY(editeur->hasFocus());
    editeur->selectAll();
    QTest::keyClicks(editeur, QStringLiteral("4e B"));
    // The cell follows every key, before the editor is closed.
    QCOMPARE(banc.Grille()->item(1, 2)->text(), QStringLiteral("4e B"));
    QTest::keyClick(editeur, Qt::Key_Return);
    // Enter stays in the grid: the dialog is still open.
    QVERIFY(banc.fiche->isVisible());
    QVERIFY(banc.edt.EdtModifie);

    // The title row is never typed into.
    banc.Cliquer(0, 2);
    QTest::keyClicks(banc.Grille(), QStringLiteral("zz"));
    QCOMPARE(banc.Grille()->item(0, 2)->text(), QStringLiteral("Classes"));
    banc.Ok();
    QCOMPARE(Sequences(banc.edt, 0, 0).at(0), QStringLiteral("08:00-08:55 4e B|||"));
}

void TestDonnees::filtre1252_data()
{
    QTest::addColumn<QString>("champ");
    QTest::newRow("grille") << "EditeurGrille";
    QTest::newRow("liste de valeurs") << "EListeDonnees";
    QTest::newRow("choix dans la liste") << "CBDonnees";
}

void TestDonnees::filtre1252()
{
    QFETCH(QString, champ);
    REdt modele = EdtDeuxLignes();
    modele.ListesDonnees[0] = {"A"};
    Banc banc(modele);
    QVERIFY(banc.Pret());
    QLineEdit* edit = nullptr;
    if (champ == QLatin1String("EListeDonnees")) {
        edit = banc.C<QLineEdit>("EListeDonnees");
        edit->setFocus();
    } else {
        banc.C<QCheckBox>("CBUtiliserListesDeroulantes")->setChecked(champ == "CBDonnees");
        banc.Cliquer(1, 2);
        edit = champ == QLatin1String("CBDonnees") ? banc.C<QComboBox>("CBDonnees")->lineEdit()
                                                   : banc.fiche->findChild<QLineEdit*>(champ);
    }
    QVERIFY(edit);
    QTRY_VERIFY(edit->hasFocus());
    edit->clear();
    // Characters QTest cannot type with a key code, sent as the text of key presses.
    for (const QChar c : QStringLiteral("a\u03A9€")) {
        QKeyEvent appui(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &appui);
    }
    QGuiApplication::clipboard()->setText(QStringLiteral("x\r\ny\u2713"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("a€x y"));
}

void TestDonnees::choixDansLaListe_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("attendu");
    QTest::newRow("texte hors liste et Entree") << "taper"
                                                << "5e C";
    QTest::newRow("choix au clavier") << "choisir"
                                      << "6e A";
    QTest::newRow("clic ailleurs sans valider") << "quitter"
                                                << "A";
}

void TestDonnees::choixDansLaListe()
{
    QFETCH(QString, action);
    QFETCH(QString, attendu);
    REdt modele = EdtDeuxLignes();
    modele.ListesDonnees[0] = {"6e A", "4e B"};
    Banc banc(modele);
    QVERIFY(banc.Pret());
    banc.C<QCheckBox>("CBUtiliserListesDeroulantes")->setChecked(true);
    banc.Cliquer(1, 2);
    auto* liste = banc.C<QComboBox>("CBDonnees");
    QVERIFY(liste->isVisible());
    QTRY_VERIFY(liste->hasFocus());
    // The timetable's order, not sorted.
    QCOMPARE(liste->itemText(0), QStringLiteral("6e A"));
    QCOMPARE(liste->currentText(), QStringLiteral("A"));
    if (action == QLatin1String("taper")) {
        liste->lineEdit()->selectAll();
        QTest::keyClicks(liste->lineEdit(), attendu);
        QTest::keyClick(liste->lineEdit(), Qt::Key_Return);
    } else if (action == QLatin1String("choisir")) {
        liste->setCurrentIndex(1);
        QTest::keyClick(liste, Qt::Key_Up);
    } else {
        QTest::keyClicks(liste->lineEdit(), QStringLiteral("zzz"));
        banc.Cliquer(2, 4);
    }
    QVERIFY(!liste->isVisible());
    QVERIFY(banc.fiche->isVisible());
    QCOMPARE(banc.Grille()->item(1, 2)->text(), attendu);
    QCOMPARE(banc.edt.EdtModifie, action != QLatin1String("quitter"));

    // With an empty list, the same click types directly.
    banc.Cliquer(1, 3);
    QVERIFY(!liste->isVisible());
    QVERIFY(banc.Grille()->findChild<QLineEdit*>(QStringLiteral("EditeurGrille")));
}

void TestDonnees::listeDeValeurs_data()
{
    QTest::addColumn<QStringList>("existantes");
    QTest::addColumn<QStringList>("frappes"); // "<Suppr>" presses Delete; "#n" clicks item n
    QTest::addColumn<QStringList>("attendu");

    QTest::newRow("tri a la francaise")
        << QStringList{"Zoo", "maths"} << QStringList{"École", "anglais", "Ecluse"}
        << QStringList{"anglais", "Ecluse", "École", "maths", "Zoo"};
    QTest::newRow("blancs retires, doublon ignore")
        << QStringList{} << QStringList{"  Maths  ", "MATHS", "maths", "   "}
        << QStringList{"Maths"};
    QTest::newRow("doublon accentue en capitales")
        << QStringList{"école"} << QStringList{"ÉCOLE"} << QStringList{"école"};
    QTest::newRow("suppression de la valeur choisie")
        << QStringList{"a", "b", "c"} << QStringList{"#1", "<Suppr>"} << QStringList{"a", "c"};
    QTest::newRow("suppression sans choix")
        << QStringList{"a", "b"} << QStringList{"<Suppr>"} << QStringList{"a", "b"};
    QTest::newRow("choix oublie en tapant")
        << QStringList{"a", "b"} << QStringList{"#0", "=x", "<Suppr>"} << QStringList{"a", "b"};
}

void TestDonnees::listeDeValeurs()
{
    QFETCH(QStringList, existantes);
    QFETCH(QStringList, frappes);
    QFETCH(QStringList, attendu);
    REdt modele;
    for (const QString& v : existantes)
        modele.ListesDonnees[0].push_back(Octets1252(v));
    Banc banc(modele);
    QVERIFY(banc.Pret());
    auto* edit = banc.C<QLineEdit>("EListeDonnees");
    auto* liste = banc.C<QListWidget>("LBListeDonnees");
    for (const QString& f : frappes) {
        edit->setFocus(Qt::MouseFocusReason);
        if (f == QLatin1String("<Suppr>")) {
            QTest::keyClick(edit, Qt::Key_Delete);
            QVERIFY(edit->text().isEmpty());
        } else if (f.startsWith(u'#')) {
            QListWidgetItem* item = liste->item(f.mid(1).toInt());
            QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                              liste->visualItemRect(item).center());
            QCOMPARE(edit->text(), item->text());
        } else if (f.startsWith(u'=')) {
            QTest::keyClicks(edit, f.mid(1));
        } else {
            banc.TaperValeur(f);
            QVERIFY(edit->text().isEmpty());
        }
    }
    QStringList montre;
    for (int i = 0; i < liste->count(); ++i)
        montre << liste->item(i)->text();
    QCOMPARE(montre, attendu);
    banc.Ok();
    QCOMPARE(Valeurs(banc.edt.ListesDonnees[0]), attendu);
    QCOMPARE(banc.edt.EdtModifie, attendu != existantes);
}

void TestDonnees::changementDeGroupe()
{
    REdt modele;
    modele.ListesDonnees[2] = {"S12", "S4"};
    Banc banc(modele);
    QVERIFY(banc.Pret());
    banc.TaperValeur(QStringLiteral("6e A"));
    // Choosing another group stores the list just left and shows the next one.
    banc.Choisir("CBGroupe", 2);
    QCOMPARE(banc.C<QLabel>("LDonnees")->text(), QStringLiteral("Salles"));
    QCOMPARE(banc.C<QListWidget>("LBListeDonnees")->count(), 2);
    QCOMPARE(Valeurs(banc.edt.ListesDonnees[0]), QStringList{"6e A"});
    banc.TaperValeur(QStringLiteral("S1"));
    banc.Ok();
    QCOMPARE(Valeurs(banc.edt.ListesDonnees[2]), (QStringList{"S1", "S12", "S4"}));
    QCOMPARE(Valeurs(banc.edt.ListesDonnees[0]), QStringList{"6e A"});
}

void TestDonnees::aucunJour()
{
    REdt modele = EdtExemple();
    Banc banc(modele);
    QVERIFY(banc.Pret());
    for (int j = 0; j < kNbJours; ++j)
        banc.Cocher(j, false);
    auto* jour = banc.C<QComboBox>("CBJour");
    QCOMPARE(jour->count(), 0);
    QVERIFY(!jour->isEnabled());
    QVERIFY(!banc.C<QComboBox>("CBSem")->isEnabled());
    QCOMPARE(banc.fiche->JourCourant(), -1);
    QCOMPARE(banc.Grille()->rowCount(), 1);
    for (const char* nom : {"BtnAjoutSequence", "BtnSupprimeSequence", "BtnMonterSequence",
                            "BtnDescendreSequence", "BtnCopierSemaine"})
        QVERIFY2(!banc.C<QToolButton>(nom)->isEnabled(), nom);
    // Even a click that reaches the handler adds nothing anywhere.
    banc.C<QToolButton>("BtnAjoutSequence")->click();
    QCOMPARE(banc.Grille()->rowCount(), 1);

    banc.Cocher(1, true);
    QCOMPARE(banc.fiche->JourCourant(), 1);
    QCOMPARE(banc.Lignes(), QStringList{"13:00-14:00 501||S1|"});
    banc.Ok();
    for (int j = 0; j < kNbJours; ++j)
        QCOMPARE(banc.edt.Jours[std::size_t(j)].Affiche, j == 1 ? 1 : 0);
    // Nothing the grid held was lost on the way.
    QCOMPARE(Sequences(banc.edt, 0, 0), Sequences(modele, 0, 0));
    QCOMPARE(Sequences(banc.edt, 0, 1), Sequences(modele, 0, 1));
    QCOMPARE(Sequences(banc.edt, 1, 0), Sequences(modele, 1, 0));
}

void TestDonnees::decocherLeJourMontre()
{
    Banc banc;
    QVERIFY(banc.Pret());
    banc.Cliquer(1, 5);
    auto* editeur = banc.Grille()->findChild<QLineEdit*>(QStringLiteral("EditeurGrille"));
    QTest::keyClick(editeur, Qt::Key_End);
    QTest::keyClicks(editeur, QStringLiteral(" bis"));
    banc.Cocher(0, false);
    QCOMPARE(banc.fiche->JourCourant(), 1);
    QCOMPARE(banc.C<QComboBox>("CBJour")->currentText(), QStringLiteral("Mardi"));
    QCOMPARE(Sequences(banc.edt, 0, 0).at(0), QStringLiteral("08:00-09:00 604|G1|S4|Maths bis"));
    QCOMPARE(banc.edt.Jours[0].Affiche, 0);
}

void TestDonnees::semaines_data()
{
    QTest::addColumn<QString>("changement");
    QTest::newRow("semaine") << "CBSem";
    QTest::newRow("jour") << "CBJour";
}

void TestDonnees::semaines()
{
    QFETCH(QString, changement);
    Banc banc;
    QVERIFY(banc.Pret());
    QVERIFY(banc.C<QToolButton>("BtnCopierSemaine")->isEnabled());
    banc.Bouton("BtnAjoutSequence");
    const QStringList montre = banc.Lignes();
    QCOMPARE(montre.size(), 2);
    banc.Choisir(changement.toLatin1().constData(), 1);
    // What was shown is in the timetable before the grid shows something else.
    QCOMPARE(Sequences(banc.edt, 0, 0), montre);
    if (changement == QLatin1String("CBSem")) {
        QCOMPARE(banc.fiche->SemaineCourante(), 1);
        QCOMPARE(banc.Lignes(), Sequences(banc.edt, 0, 1));
    } else {
        QCOMPARE(banc.fiche->JourCourant(), 1);
        QCOMPARE(banc.Lignes(), Sequences(banc.edt, 1, 0));
    }
    banc.Choisir(changement.toLatin1().constData(), 0);
    QCOMPARE(banc.Lignes(), montre);

    // One week type: no choice of week, nothing to copy into.
    Banc seule(EdtDeuxLignes());
    QVERIFY(seule.Pret());
    QVERIFY(!seule.C<QComboBox>("CBSem")->isVisible());
    QVERIFY(!seule.C<QLabel>("LabelSem")->isVisible());
    QVERIFY(!seule.C<QToolButton>("BtnCopierSemaine")->isEnabled());
}

void TestDonnees::copierSemaine_data()
{
    QTest::addColumn<int>("semaine"); // the week type shown and copied
    QTest::addColumn<QString>("copiee");
    QTest::newRow("premiere semaine") << 0 << "08:00-09:00 604|G1|S4b|Maths";
    QTest::newRow("deuxieme semaine") << 1 << QStringLiteral("09:00-10:30 603|G2|S12b|Français");
}

void TestDonnees::copierSemaine()
{
    QFETCH(int, semaine);
    QFETCH(QString, copiee);
    REdt modele = EdtExemple();
    modele.Semaines.push_back(RSemaine{"Sem 3", 0x8080FF});
    modele.AjusterSemaines();
    Ajouter(modele, 1, 2, Seq(H(16), H(17), {"x", "", "", ""}));
    Banc banc(modele);
    QVERIFY(banc.Pret());
    banc.Choisir("CBSem", semaine);
    banc.Cliquer(1, 4);
    auto* editeur = banc.Grille()->findChild<QLineEdit*>(QStringLiteral("EditeurGrille"));
    QTest::keyClick(editeur, Qt::Key_End);
    QTest::keyClicks(editeur, QStringLiteral("b"));
    banc.Bouton("BtnCopierSemaine");
    QVERIFY(banc.services.questions.isEmpty());
    const QStringList lundi = Sequences(banc.edt, 0, 0);
    QCOMPARE(lundi, QStringList{copiee});
    QCOMPARE(Sequences(banc.edt, 0, 1), lundi);
    QCOMPARE(Sequences(banc.edt, 0, 2), lundi);
    // Another day keeps its own weeks.
    QCOMPARE(Sequences(banc.edt, 1, 2), Sequences(modele, 1, 2));
    QCOMPARE(banc.fiche->SemaineCourante(), semaine);
    QCOMPARE(banc.Lignes(), QStringList{copiee});
}

void TestDonnees::duree_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<int>("attendu");
    QTest::addColumn<bool>("modifie");
    QTest::newRow("nombre") << "40" << 40 << true;
    QTest::newRow("zero devient un") << "0" << 1 << true;
    QTest::newRow("vide reprend la duree") << "" << 55 << true;
    QTest::newRow("inchange") << "" << 55 << false;
    QTest::newRow("fleche puis OK, sans ligne ajoutee") << "<Haut> OK" << 56 << true;
}

void TestDonnees::duree()
{
    QFETCH(QString, texte);
    QFETCH(int, attendu);
    QFETCH(bool, modifie);
    REdt modele;
    Banc banc(modele);
    QVERIFY(banc.Pret());
    auto* edit = banc.C<QLineEdit>("EDureeSeq");
    QCOMPARE(edit->text(), QString::number(modele.DureeSeq));
    banc.C<QSpinBox>("UDDureeSeq")->setFocus(Qt::MouseFocusReason);
    if (texte == QLatin1String("<Haut> OK")) {
        QTest::keyClick(banc.C<QSpinBox>("UDDureeSeq"), Qt::Key_Up);
        banc.Ok();
        QCOMPARE(int(banc.edt.DureeSeq), attendu);
        QVERIFY(banc.edt.EdtModifie);
        return;
    }
    if (modifie) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, texte);
    }
    banc.C<QLineEdit>("EListeDonnees")->setFocus(Qt::MouseFocusReason);
    QCOMPARE(edit->text(), QString::number(attendu));
    QCOMPARE(banc.edt.EdtModifie, modifie);
    banc.Bouton("BtnAjoutSequence");
    QCOMPARE(int(banc.edt.DureeSeq), attendu);
    QCOMPARE(banc.Lignes().at(0).left(11), "08:00-" + HM(AjouterMinutes(H(8), attendu)));
}

void TestDonnees::annuler_data()
{
    QTest::addColumn<QString>("edition");
    QTest::addColumn<bool>("dejaModifie");
    QTest::newRow("sequence ajoutee") << "ajout" << false;
    QTest::newRow("valeur ajoutee") << "valeur" << false;
    QTest::newRow("valeur ajoutee, deja modifie") << "valeur" << true;
    QTest::newRow("jour decoche") << "jour" << false;
    QTest::newRow("duree") << "duree" << false;
    QTest::newRow("semaine copiee") << "copie" << false;
    QTest::newRow("rien, deja modifie") << "rien" << true;
}

void TestDonnees::annuler()
{
    QFETCH(QString, edition);
    QFETCH(bool, dejaModifie);
    REdt modele = EdtExemple();
    modele.ListesDonnees[0] = {"604"};
    modele.EdtModifie = dejaModifie;
    Banc banc(modele);
    QVERIFY(banc.Pret());
    if (edition == QLatin1String("ajout")) {
        banc.Bouton("BtnAjoutSequence");
    } else if (edition == QLatin1String("valeur")) {
        banc.TaperValeur(QStringLiteral("603"));
    } else if (edition == QLatin1String("jour")) {
        banc.Cocher(0, false);
    } else if (edition == QLatin1String("duree")) {
        auto* edit = banc.C<QLineEdit>("EDureeSeq");
        banc.C<QSpinBox>("UDDureeSeq")->setFocus(Qt::MouseFocusReason);
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("30"));
        banc.Bouton("BtnAjoutSequence");
    } else if (edition == QLatin1String("copie")) {
        banc.Bouton("BtnCopierSemaine");
    }

    // No: the dialog stays with its edits.
    banc.services.reponses << QMessageBox::No;
    QTest::keyClick(banc.fiche.get(), Qt::Key_Escape);
    QCOMPARE(banc.services.Textes(),
             QStringList{"Vous avez modifié cet emploi du temps.\nEtes-vous certain de vouloir "
                         "annuler ces modifications ?"});
    QCOMPARE(banc.services.questions.front().boutons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(banc.services.questions.front().icone, QMessageBox::Warning);
    QVERIFY(banc.fiche->isVisible());
    if (edition != QLatin1String("rien")) QVERIFY(EcrireEdt(banc.edt) != EcrireEdt(modele));

    // Yes: everything as it was, the modified flag included.
    banc.services.reponses << QMessageBox::Yes;
    banc.Annuler();
    QVERIFY(!banc.fiche->isVisible());
    QCOMPARE(banc.fiche->result(), int(QDialog::Rejected));
    QCOMPARE(EcrireEdt(banc.edt), EcrireEdt(modele));
    QCOMPARE(Valeurs(banc.edt.ListesDonnees[0]), QStringList{"604"});
    QCOMPARE(banc.edt.EdtModifie, dejaModifie);
    QCOMPARE(banc.services.questions.size(), 2);
}

void TestDonnees::okSansModification()
{
    const REdt modele = EdtExemple();
    Banc banc(modele);
    QVERIFY(banc.Pret());
    banc.Choisir("CBSem", 1);
    banc.Choisir("CBJour", 1);
    banc.Cliquer(1, 0);
    banc.Cliquer(1, 3);
    banc.Ok();
    QVERIFY(!banc.fiche->isVisible());
    QCOMPARE(banc.fiche->result(), int(QDialog::Accepted));
    QVERIFY(!banc.edt.EdtModifie);
    QCOMPARE(EcrireEdt(banc.edt), EcrireEdt(modele));
    QVERIFY(banc.services.questions.isEmpty());

    // Cancel with nothing changed asks nothing either.
    Banc rien(modele);
    QVERIFY(rien.Pret());
    rien.Annuler();
    QVERIFY(!rien.fiche->isVisible());
    QVERIFY(rien.services.questions.isEmpty());
}

void TestDonnees::enregistrer()
{
    DossierDeTravail dossier;
    REdt modele = EdtExemple();
    modele.Fichier = Ecrire(modele, dossier.Chemin(QStringLiteral("plan.edt"))).toStdString();
    Banc banc(modele);
    QVERIFY(banc.Pret());
    auto* bouton = banc.C<QPushButton>("BtnEnregistrer");
    QVERIFY(bouton->isEnabled());
    banc.Bouton("BtnAjoutSequence");
    QTest::mouseClick(bouton, Qt::LeftButton);
    QVERIFY(banc.fiche->isVisible());
    QVERIFY(!banc.edt.EdtModifie);
    REdt relu;
    relu.Fichier = modele.Fichier;
    QVERIFY(relu.Charger());
    QCOMPARE(Sequences(relu, 0, 0), Sequences(banc.edt, 0, 0));
    QCOMPARE(Sequences(relu, 0, 0).size(), Sequences(modele, 0, 0).size() + 1);

    // Cancel without further edits: no question, the saved state stays.
    banc.Annuler();
    QVERIFY(!banc.fiche->isVisible());
    QVERIFY(banc.services.questions.isEmpty());
    QCOMPARE(EcrireEdt(banc.edt), EcrireEdt(relu));
}

void TestDonnees::enregistrerEchoue()
{
    DossierDeTravail dossier;
    REdt modele = EdtExemple();
    modele.Fichier = dossier.Chemin(QStringLiteral("absent/plan.edt")).toStdString();
    Banc banc(modele);
    QVERIFY(banc.Pret());
    banc.Bouton("BtnAjoutSequence");
    QTest::mouseClick(banc.C<QPushButton>("BtnEnregistrer"), Qt::LeftButton);
    QCOMPARE(banc.services.questions.size(), 1);
    QCOMPARE(banc.services.questions.front().icone, QMessageBox::Critical);
    QVERIFY(!banc.services.questions.front().texte.isEmpty());
    QVERIFY(banc.fiche->isVisible());
    QVERIFY(banc.edt.EdtModifie);
}

QTEST_MAIN(TestDonnees)
#include "tst_donnees.moc"
