// The file commands: the save question and its loop, Save, Save as with its
// extension rule and replace question, Open with its extension check, and the
// refused or unreadable files that leave no timetable open.
#include "outils_ui.h"
#include "principale.h"

#include "chemins.h"
#include "fichiers.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QUrl>
#include <QtTest>

using namespace horaku;
using namespace outils_ui;

namespace
{

const QString kQuestion = QStringLiteral(
    "Cet emploi du temps a été modifié.\nVoulez-vous enregistrer ces modifications ?");
const QString kAnnuler = QStringLiteral("<annuler>");

QByteArray Contenu(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<std::optional<QString>> Noms(const QStringList& noms)
{
    QList<std::optional<QString>> l;
    for (const QString& n : noms)
        l << (n == kAnnuler ? std::nullopt : std::optional<QString>(n));
    return l;
}

QList<QMessageBox::StandardButton> Reponses(const QList<int>& r)
{
    QList<QMessageBox::StandardButton> l;
    for (int b : r)
        l << static_cast<QMessageBox::StandardButton>(b);
    return l;
}

// A window with no configured timetable, then `edt` made current.
struct Banc {
    DossierDeTravail dossier;
    ServicesScriptes services;
    std::unique_ptr<TFenetre_Principale> fenetre;

    explicit Banc(std::optional<REdt> edt = std::nullopt)
    {
        EcrireConfiguration(QString());
        fenetre = std::make_unique<TFenetre_Principale>(services);
        fenetre->show();
        if (edt) {
            fenetre->RendreCourant(std::make_unique<REdt>(*edt));
            fenetre->ActualiserFenetre();
        }
    }
    void Declencher(const char* action)
    {
        fenetre->findChild<QAction*>(QString::fromLatin1(action))->trigger();
    }
};

} // namespace

class TestFichiers : public QObject
{
    Q_OBJECT

private slots:
    void accueilEtRecents();
    void extension_data();
    void extension();
    void questionEnregistrer_data();
    void questionEnregistrer();
    void fermerAnnuleGardeLaFenetre();
    void ecritureImpossibleEmpecheLaFermeture();
    void enregistrerSous_data();
    void enregistrerSous();
    void enregistrerSansModificationNEcritRien();
    void enregistrerSousEchoueGardeLeNom();
    void ouvrir_data();
    void ouvrir();
    void ouvrirAnnuleDansLaQuestion();
    void configurationEcriteAvantLaQuestion();
    void supprimerNeFaitRien();
    void configurationIneditableNeBloquePas();
};

void TestFichiers::configurationIneditableNeBloquePas()
{
    // "Horaku.cfg" is a folder: it can be neither read nor written.
    DossierDeTravail dossier;
    QVERIFY(QDir().mkdir(QStringLiteral("Horaku.cfg")));
    ServicesScriptes services;
    auto fenetre = std::make_unique<TFenetre_Principale>(services);
    fenetre->show();
    const QString fichier = Ecrire(EdtExemple(), dossier.Chemin(QStringLiteral("plan.edt")));
    REdt e;
    e.Fichier = fichier.toStdString();
    QVERIFY(e.Charger());
    fenetre->RendreCourant(std::make_unique<REdt>(e));
    fenetre->ActualiserFenetre();
    services.questions.clear();
    QVERIFY(fenetre->close());
    // The error was shown on the way, and the window closed all the same.
    QVERIFY(services.Textes().join('|').contains(QStringLiteral("Horaku.cfg")));
    QVERIFY(!fenetre->isVisible());
}

void TestFichiers::extension_data()
{
    QTest::addColumn<QString>("chemin");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("remplace");

    QTest::newRow("simple") << "/d/plan.edt"
                            << ".edt"
                            << "/d/plan.edt";
    QTest::newRow("autre extension") << "/d/plan.txt"
                                     << ".txt"
                                     << "/d/plan.edt";
    QTest::newRow("majuscules gardées telles quelles") << "/d/PLAN.EDT"
                                                       << ".EDT"
                                                       << "/d/PLAN.edt";
    QTest::newRow("sans extension") << "/d/plan"
                                    << ""
                                    << "/d/plan.edt";
    QTest::newRow("point dans le dossier seulement") << "/d.v2/plan"
                                                     << ""
                                                     << "/d.v2/plan.edt";
    QTest::newRow("deux points: le dernier compte") << "/d/plan.v1.txt"
                                                    << ".txt"
                                                    << "/d/plan.v1.edt";
    QTest::newRow("point final") << "/d/plan."
                                 << "."
                                 << "/d/plan.edt";
    QTest::newRow("nom sans dossier") << "plan.gif"
                                      << ".gif"
                                      << "plan.edt";
}

void TestFichiers::extension()
{
    QFETCH(QString, chemin);
    QFETCH(QString, extension);
    QFETCH(QString, remplace);
    QCOMPARE(ExtensionDe(chemin), extension);
    QCOMPARE(RemplacerExtension(chemin, QStringLiteral(".edt")), remplace);
}

void TestFichiers::questionEnregistrer_data()
{
    QTest::addColumn<bool>("fichierConnu");
    QTest::addColumn<QList<int>>("reponses");
    QTest::addColumn<QStringList>("noms");
    QTest::addColumn<bool>("resultat");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("ecrit");

    const int oui = QMessageBox::Yes, non = QMessageBox::No, annuler = QMessageBox::Cancel;
    QTest::newRow("Non: fermé sans écrire")
        << true << QList<int>{non} << QStringList{} << true << 1 << QString();
    QTest::newRow("Annuler: rien ne change")
        << true << QList<int>{annuler} << QStringList{} << false << 1 << QString();
    QTest::newRow("Oui: écrit puis fermé")
        << true << QList<int>{oui} << QStringList{} << true << 1 << QStringLiteral("plan.edt");
    QTest::newRow("Oui sans nom, Enregistrer sous annulé, la question revient, Non")
        << false << QList<int>{oui, non} << QStringList{kAnnuler} << true << 2 << QString();
    QTest::newRow("Oui sans nom, Enregistrer sous annulé, puis Annuler")
        << false << QList<int>{oui, annuler} << QStringList{kAnnuler} << false << 2 << QString();
    QTest::newRow("Oui sans nom, nom choisi")
        << false << QList<int>{oui} << QStringList{QStringLiteral("neuf")} << true << 1
        << QStringLiteral("neuf.edt");
    QTest::newRow("réponse inconnue: la question revient")
        << true << QList<int>{QMessageBox::NoButton, non} << QStringList{} << true << 2
        << QString();
}

void TestFichiers::questionEnregistrer()
{
    QFETCH(bool, fichierConnu);
    QFETCH(QList<int>, reponses);
    QFETCH(QStringList, noms);
    QFETCH(bool, resultat);
    QFETCH(int, questions);
    QFETCH(QString, ecrit);

    REdt edt = EdtExemple();
    Banc banc;
    const QString plan = banc.dossier.Chemin(QStringLiteral("plan.edt"));
    if (fichierConnu) {
        Ecrire(REdt(), plan);
        edt.Fichier = plan.toStdString();
    }
    edt.EdtModifie = true;
    banc.fenetre->RendreCourant(std::make_unique<REdt>(edt));
    banc.fenetre->ActualiserFenetre();
    const QByteArray avant = Contenu(plan);
    banc.services.reponses = Reponses(reponses);
    for (QString& n : noms)
        if (n != kAnnuler) n = banc.dossier.Chemin(n);
    banc.services.noms = Noms(noms);

    QCOMPARE(banc.fenetre->FermerEmploiDuTemps(), resultat);

    QCOMPARE(banc.services.questions.size(), questions);
    for (const Question& q : banc.services.questions) {
        QCOMPARE(q.texte, kQuestion);
        QCOMPARE(q.boutons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(q.icone, QMessageBox::Warning);
        QCOMPARE(q.titre, QStringLiteral("Horaku"));
    }
    QVERIFY(banc.services.imprevus.isEmpty());
    QCOMPARE(banc.fenetre->EdtCourant() == nullptr, resultat);
    if (!resultat) {
        QVERIFY(banc.fenetre->EdtCourant()->EdtModifie);
        QCOMPARE(QString::fromStdString(banc.fenetre->EdtCourant()->Fichier),
                 fichierConnu ? plan : QString());
    }
    if (ecrit.isEmpty()) {
        QCOMPARE(Contenu(plan), avant);
    } else {
        edt.Fichier.clear();
        QCOMPARE(Contenu(banc.dossier.Chemin(ecrit)), QByteArray::fromStdString(EcrireEdt(edt)));
    }
}

void TestFichiers::fermerAnnuleGardeLaFenetre()
{
    REdt edt = EdtExemple();
    edt.EdtModifie = true;
    Banc banc(edt);
    banc.fenetre->show();
    QVERIFY(QTest::qWaitForWindowExposed(banc.fenetre.get()));
    QSignalSpy fermee(banc.fenetre.get(), &TFenetre_Principale::Fermee);

    banc.services.reponses = {QMessageBox::Cancel};
    banc.Declencher("MenuQuitter");
    QVERIFY(banc.fenetre->isVisible());
    QCOMPARE(fermee.count(), 0);
    QVERIFY(banc.fenetre->EdtCourant());
    QVERIFY(banc.fenetre->EdtCourant()->EdtModifie);
    QVERIFY(banc.fenetre->Panneau()->isVisible());

    banc.services.reponses = {QMessageBox::No};
    QVERIFY(banc.fenetre->close());
    QCOMPARE(fermee.count(), 1);
    QVERIFY(!banc.fenetre->isVisible());
    QCOMPARE(banc.services.Textes(), (QStringList{kQuestion, kQuestion}));
}

void TestFichiers::ecritureImpossibleEmpecheLaFermeture()
{
    REdt edt = EdtExemple();
    Banc banc;
    const QString perdu = banc.dossier.Chemin(QStringLiteral("disparu/plan.edt"));
    edt.Fichier = perdu.toStdString();
    edt.EdtModifie = true;
    banc.fenetre->RendreCourant(std::make_unique<REdt>(edt));
    banc.fenetre->ActualiserFenetre();
    banc.fenetre->Redessiner();
    QSignalSpy fermee(banc.fenetre.get(), &TFenetre_Principale::Fermee);

    banc.services.reponses = {QMessageBox::Yes};
    QVERIFY(!banc.fenetre->close());

    QCOMPARE(banc.services.Textes(),
             (QStringList{kQuestion, QStringLiteral("Impossible de créer le fichier ") + perdu +
                                         QStringLiteral("\nDossier introuvable.")}));
    QCOMPARE(fermee.count(), 0);
    QVERIFY(banc.fenetre->isVisible());
    QVERIFY(banc.fenetre->EdtCourant());
    QVERIFY(banc.fenetre->EdtCourant()->EdtModifie);
    QVERIFY(!banc.fenetre->Image().isNull());
}

void TestFichiers::enregistrerSous_data()
{
    QTest::addColumn<QString>("tape");
    QTest::addColumn<bool>("existe");
    QTest::addColumn<QList<int>>("reponses");
    QTest::addColumn<QString>("ecrit");

    QTest::newRow("plan.txt devient plan.edt") << "plan.txt" << false << QList<int>{} << "plan.edt";
    QTest::newRow("sans extension") << "plan" << false << QList<int>{} << "plan.edt";
    QTest::newRow("plan.edt existe, Oui")
        << "plan.txt" << true << QList<int>{QMessageBox::Yes} << "plan.edt";
    QTest::newRow("plan.edt existe, Non: le sélecteur revient, annulé")
        << "plan.txt" << true << QList<int>{QMessageBox::No} << QString();
}

void TestFichiers::enregistrerSous()
{
    QFETCH(QString, tape);
    QFETCH(bool, existe);
    QFETCH(QList<int>, reponses);
    QFETCH(QString, ecrit);

    Banc banc(EdtExemple());
    const QString cible = banc.dossier.Chemin(QStringLiteral("plan.edt"));
    if (existe) Ecrire(REdt(), cible);
    const QByteArray avant = Contenu(cible);
    const QString chemin = banc.dossier.Chemin(tape);
    banc.services.reponses = Reponses(reponses);
    banc.services.noms = {chemin, std::nullopt};

    banc.Declencher("MenuEnregistrerSous");

    const Selecteur& s = banc.services.selecteurs.front();
    QCOMPARE(s.sorte, Selecteur::EnregistrerEdt);
    QCOMPARE(s.filtres, QStringLiteral("Fichiers Horaku (*.edt)"));
    QCOMPARE(s.suffixe, QStringLiteral("edt"));
    QVERIFY(s.titre.isEmpty());
    QCOMPARE(s.nom, QString()); // never saved: no proposed name
    if (existe) {
        QCOMPARE(banc.services.Textes(),
                 QStringList{QStringLiteral("Un fichier du même nom (") + cible +
                             QStringLiteral(") existe déjà. \nVoulez-vous le remplacer ?")});
        QCOMPARE(banc.services.questions.front().boutons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(banc.services.questions.front().icone, QMessageBox::Warning);
    } else {
        QVERIFY(banc.services.questions.isEmpty());
    }
    REdt* edt = banc.fenetre->EdtCourant();
    if (ecrit.isEmpty()) {
        QCOMPARE(banc.services.selecteurs.size(), 2);
        QCOMPARE(banc.services.selecteurs[1].nom, chemin); // reopened on the same name
        QCOMPARE(Contenu(cible), avant);
        QVERIFY(edt->Fichier.empty());
        QCOMPARE(banc.fenetre->windowTitle(), QStringLiteral("Horaku - "));
    } else {
        QCOMPARE(banc.services.selecteurs.size(), 1);
        QCOMPARE(QString::fromStdString(edt->Fichier), banc.dossier.Chemin(ecrit));
        QVERIFY(!edt->EdtModifie);
        QCOMPARE(Contenu(banc.dossier.Chemin(ecrit)), QByteArray::fromStdString(EcrireEdt(*edt)));
        QCOMPARE(banc.fenetre->windowTitle(), QStringLiteral("Horaku - ") + ecrit);
        QVERIFY(!QFile::exists(chemin) || chemin == cible);
    }
}

void TestFichiers::enregistrerSansModificationNEcritRien()
{
    Banc banc(EdtExemple());
    banc.Declencher("MenuEnregistrer");
    QVERIFY(banc.services.selecteurs.isEmpty());
    QVERIFY(banc.services.questions.isEmpty());

    // Save as writes even an unmodified timetable, and proposes its name next time.
    const QString plan = banc.dossier.Chemin(QStringLiteral("plan.edt"));
    banc.services.noms = {plan, std::nullopt};
    banc.Declencher("MenuEnregistrerSous");
    QVERIFY(QFile::exists(plan));
    banc.Declencher("MenuEnregistrerSous");
    QCOMPARE(banc.services.selecteurs[1].nom, QStringLiteral("plan.edt"));
    QCOMPARE(banc.services.selecteurs[1].dossier, QFileInfo(plan).absolutePath());
}

void TestFichiers::enregistrerSousEchoueGardeLeNom()
{
    REdt edt = EdtExemple();
    Banc banc;
    const QString plan = Ecrire(edt, banc.dossier.Chemin(QStringLiteral("plan.edt")));
    edt.Fichier = plan.toStdString();
    edt.EdtModifie = true;
    banc.fenetre->RendreCourant(std::make_unique<REdt>(edt));
    banc.fenetre->ActualiserFenetre();
    const QString impossible = banc.dossier.Chemin(QStringLiteral("absent/plan.edt"));
    banc.services.noms = {impossible};

    banc.Declencher("MenuEnregistrerSous");

    QCOMPARE(banc.services.Textes(),
             QStringList{QStringLiteral("Impossible de créer le fichier ") + impossible +
                         QStringLiteral("\nDossier introuvable.")});
    QCOMPARE(banc.services.questions.front().icone, QMessageBox::Critical);
    QCOMPARE(QString::fromStdString(banc.fenetre->EdtCourant()->Fichier), plan);
    QVERIFY(banc.fenetre->EdtCourant()->EdtModifie);
    QCOMPARE(banc.fenetre->windowTitle(), QStringLiteral("Horaku - plan.edt"));
}

void TestFichiers::ouvrir_data()
{
    QTest::addColumn<QStringList>("noms");
    QTest::addColumn<QString>("contenu"); // written to the last name; empty: none
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("ouvert");

    const QString extension = QStringLiteral("Extension de fichier incorrecte");
    QTest::newRow("PLAN.EDT refusé, puis plan.edt")
        << QStringList{"PLAN.EDT", "plan.edt"} << "bon" << QStringList{extension} << true;
    QTest::newRow("plan.txt refusé, puis annulé")
        << QStringList{"plan.txt", kAnnuler} << "" << QStringList{extension} << false;
    QTest::newRow("sans extension refusé, puis annulé")
        << QStringList{"plan", kAnnuler} << "" << QStringList{extension} << false;
    QTest::newRow("fichier absent: refusé, le sélecteur revient, annulé")
        << QStringList{"absent.edt", kAnnuler} << ""
        << QStringList{QStringLiteral("Impossible d'ouvrir le fichier %1.")} << false;
    QTest::newRow("autre version: aucun emploi du temps")
        << QStringList{"vieux.edt"} << "version"
        << QStringList{QStringLiteral("Fichier Horaku : version incorrecte.")} << false;
    QTest::newRow("fichier tronqué: aucun emploi du temps")
        << QStringList{"court.edt"} << "court"
        << QStringList{QStringLiteral("Indice de liste hors limites (11)")} << false;
    QTest::newRow("annulé d'emblée") << QStringList{kAnnuler} << "" << QStringList{} << false;
}

void TestFichiers::ouvrir()
{
    QFETCH(QStringList, noms);
    QFETCH(QString, contenu);
    QFETCH(QStringList, messages);
    QFETCH(bool, ouvert);

    // An open, unmodified timetable is closed without a question first.
    Banc banc(EdtExemple());
    for (QString& n : noms)
        if (n != kAnnuler) n = banc.dossier.Chemin(n);
    for (QString& m : messages)
        if (m.contains(QLatin1String("%1"))) m = m.arg(noms.first());
    const std::string texte = EcrireEdt(EdtExemple());
    if (!contenu.isEmpty()) {
        QFile f(noms.last());
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (contenu == QLatin1String("bon"))
            f.write(QByteArray::fromStdString(texte));
        else if (contenu == QLatin1String("version"))
            f.write(QByteArray::fromStdString(texte).replace("Horaku 2.0a", "Horaku 1.0"));
        else
            f.write(QByteArray::fromStdString(texte.substr(0, texte.find("Jours"))));
    }
    banc.services.noms = Noms(noms);

    banc.Declencher("MenuOuvrir");

    QCOMPARE(banc.services.Textes(), messages);
    QVERIFY(banc.services.imprevus.isEmpty());
    const Selecteur& s = banc.services.selecteurs.front();
    QCOMPARE(s.sorte, Selecteur::OuvrirEdt);
    QCOMPARE(s.filtres, QStringLiteral("Fichiers Horaku (*.edt)"));
    QCOMPARE(s.suffixe, QStringLiteral("edt"));
    QCOMPARE(banc.services.selecteurs.size(), noms.size());
    for (int i = 1; i < noms.size(); ++i)
        QCOMPARE(banc.services.selecteurs[i].nom, noms[i - 1]); // reopened on the refused name

    REdt* edt = banc.fenetre->EdtCourant();
    QCOMPARE(edt != nullptr, ouvert);
    QCOMPARE(banc.fenetre->Panneau()->isVisible(), ouvert);
    if (ouvert) {
        QCOMPARE(QString::fromStdString(edt->Fichier), noms.last());
        QVERIFY(!edt->EdtModifie);
        QCOMPARE(banc.fenetre->windowTitle(), QStringLiteral("Horaku - plan.edt"));
        QVERIFY(!banc.fenetre->Image().isNull());
    } else {
        QCOMPARE(banc.fenetre->windowTitle(), QStringLiteral("Horaku"));
        QVERIFY(banc.fenetre->Image().isNull());
    }

    // The next Open proposes the last name chosen.
    if (noms.last() != kAnnuler) {
        banc.services.noms = {std::nullopt};
        banc.Declencher("MenuOuvrir");
        QCOMPARE(banc.services.selecteurs.last().nom, noms.last());
    }
}

void TestFichiers::ouvrirAnnuleDansLaQuestion()
{
    REdt edt = EdtExemple();
    edt.EdtModifie = true;
    Banc banc(edt);
    banc.services.reponses = {QMessageBox::Cancel};
    banc.Declencher("MenuOuvrir");
    QVERIFY(banc.services.selecteurs.isEmpty());
    QVERIFY(banc.fenetre->EdtCourant());
    QVERIFY(banc.fenetre->EdtCourant()->EdtModifie);
    QCOMPARE(banc.services.Textes(), QStringList{kQuestion});
}

void TestFichiers::configurationEcriteAvantLaQuestion()
{
    REdt edt = EdtExemple();
    edt.EdtModifie = true;
    Banc banc(edt);
    banc.fenetre->Config().EdtDefaut = "/quelque/part.edt";
    banc.fenetre->Config().ConfigModifiee = true;
    banc.services.reponses = {QMessageBox::Cancel};
    QVERIFY(!banc.fenetre->FermerEmploiDuTemps());
    QVERIFY(!banc.fenetre->Config().ConfigModifiee);
    QVERIFY(Contenu(QStringLiteral("Horaku.cfg")).contains("/quelque/part.edt"));
}

void TestFichiers::supprimerNeFaitRien()
{
    REdt edt = EdtExemple();
    Banc banc;
    const QString plan = Ecrire(edt, banc.dossier.Chemin(QStringLiteral("plan.edt")));
    edt.Fichier = plan.toStdString();
    banc.fenetre->RendreCourant(std::make_unique<REdt>(edt));
    banc.fenetre->ActualiserFenetre();
    const QStringList avant = QDir().entryList(QDir::Files);
    banc.Declencher("MenuSupprimer");
    QCOMPARE(QDir().entryList(QDir::Files), avant);
    QVERIFY(banc.fenetre->EdtCourant());
    QVERIFY(banc.services.questions.isEmpty());
    QVERIFY(banc.services.selecteurs.isEmpty());
}

void TestFichiers::accueilEtRecents()
{
    Banc banc;
    auto* pile = banc.fenetre->findChild<QStackedWidget*>(QStringLiteral("Pile"));
    const auto page = [pile] { return pile->currentWidget()->objectName(); };
    QCOMPARE(page(), QStringLiteral("Accueil"));
    const QString plan = Ecrire(EdtExemple(), banc.dossier.Chemin(QStringLiteral("plan.edt")));
    const QString autre = Ecrire(EdtExemple(), banc.dossier.Chemin(QStringLiteral("autre.edt")));
    banc.fenetre->OuvrirFichier(autre);
    banc.fenetre->OuvrirFichier(plan);
    QCOMPARE(page(), QStringLiteral("Defilement"));
    QCOMPARE(banc.fenetre->FichiersRecents(), (QStringList{plan, autre}));
    // Closed: the welcome page lists them, most recent first, and opens one.
    QVERIFY(banc.fenetre->FermerEmploiDuTemps());
    QCOMPARE(page(), QStringLiteral("Accueil"));
    const auto boutons = banc.fenetre->findChildren<QPushButton*>(QStringLiteral("BtnRecent"));
    QCOMPARE(boutons.size(), 2);
    QCOMPARE(boutons.front()->text(), QStringLiteral("plan.edt"));
    boutons.back()->click();
    QCOMPARE(banc.fenetre->windowTitle(), QStringLiteral("Horaku - autre.edt"));
    // A file dropped on the window, as the drag manager delivers it: entered, then dropped.
    QMimeData donnees;
    donnees.setUrls({QUrl::fromLocalFile(plan)});
    QDragEnterEvent entree({10, 10}, Qt::CopyAction, &donnees, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(banc.fenetre.get(), &entree);
    QVERIFY(entree.isAccepted());
    QDropEvent depot({10, 10}, Qt::CopyAction, &donnees, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(banc.fenetre.get(), &depot);
    QTRY_COMPARE(banc.fenetre->windowTitle(), QStringLiteral("Horaku - plan.edt"));
    // A file that is gone is greyed in the menu; the list can be emptied.
    QVERIFY(QFile::remove(autre));
    auto* menu = banc.fenetre->findChild<QMenu*>(QStringLiteral("MenuRecents"));
    emit menu->aboutToShow();
    const QList<QAction*> entrees = menu->findChildren<QAction*>(QStringLiteral("MenuRecent"));
    QCOMPARE(entrees.size(), 2);
    QVERIFY(entrees.at(0)->isEnabled() && !entrees.at(1)->isEnabled());
    menu->findChild<QAction*>(QStringLiteral("MenuViderRecents"))->trigger();
    QVERIFY(banc.fenetre->FichiersRecents().isEmpty());
    // The example opens as a timetable never saved: Save asks for a name.
    banc.fenetre->OuvrirExemple();
    QVERIFY(banc.fenetre->EdtCourant() && banc.fenetre->EdtCourant()->EdtModifie);
    QCOMPARE(banc.fenetre->windowTitle(), QStringLiteral("Horaku - "));
    banc.Declencher("MenuEnregistrer");
    QCOMPARE(banc.services.selecteurs.size(), 1);
}

QTEST_MAIN(TestFichiers)
#include "tst_ui_fichiers.moc"
