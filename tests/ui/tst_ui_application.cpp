// The application object: an exception escaping an event handler becomes the
// French error box and the loop goes on; Qt's own texts are French; the
// program without a display says so in one French line.
#include "application.h"
#include "outils_ui.h"

#include "erreurs.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>
#include <QtTest>

#include <clocale>

using namespace horaku;
using namespace outils_ui;

namespace
{

class Lanceur final : public QObject
{
public:
    int recus = 0;
    bool lancerAutre = false;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User) return QObject::event(e);
        ++recus;
        if (lancerAutre) throw 42;
        throw ErreurHoraku("Impossible de créer le fichier /x/plan.edt");
    }
};

} // namespace

class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void exceptionMontreeEtBoucleContinue();
    void boutonsEnFrancais();
    void programmeSansEcran_data();
    void programmeSansEcran();
    void textesDesImprimantes_data();
    void textesDesImprimantes();
    void datesEnFrancais();
    void extensionDuFiltre_data();
    void extensionDuFiltre();
    void boitesDuVraiService_data();
    void boitesDuVraiService();
    void ligneDeCommande_data();
    void ligneDeCommande();
};

void TestApplication::ligneDeCommande_data()
{
    using A = LigneDeCommande::Action;
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<A>("action");
    QTest::addColumn<QString>("attendu"); // the file to open, else the text's first line
    const QString plan = QStringLiteral("plan.edt");
    QTest::newRow("options de Qt et leur valeur")
        << QStringList{"-platform", "xcb", plan, "--style=fusion", "-reverse"} << A::Lancer << plan;
    QTest::newRow("un nom en tiret après --")
        << QStringList{"--", "-plan.edt"} << A::Lancer << "-plan.edt";
    QTest::newRow("aide après un fichier")
        << QStringList{plan, "--help"} << A::Aide << "Utilisation : horaku [FICHIER.edt]";
    QTest::newRow("option inconnue")
        << QStringList{"--verbeux", plan} << A::Erreur
        << "Horaku : option inconnue « --verbeux » ; horaku --help donne l'aide.";
    QTest::newRow("deux fichiers")
        << QStringList{plan, "autre.edt"} << A::Erreur
        << "Horaku : un seul emploi du temps à la fois (« plan.edt » et « autre.edt »).";
}

void TestApplication::ligneDeCommande()
{
    QFETCH(QStringList, arguments);
    QFETCH(LigneDeCommande::Action, action);
    QFETCH(QString, attendu);
    const LigneDeCommande ligne = AnalyserLigneDeCommande(arguments);
    QCOMPARE(ligne.action, action);
    const bool lancer = action == LigneDeCommande::Action::Lancer;
    QCOMPARE(lancer ? ligne.fichier : ligne.texte.section(QLatin1Char('\n'), 0, 0), attendu);
}

void TestApplication::textesDesImprimantes_data()
{
    QTest::addColumn<QByteArray>("contexte");
    QTest::addColumn<QByteArray>("source");
    QTest::addColumn<QString>("francais");
    // Missing from Qt's French catalogue: supplied by the program.
    QTest::newRow("titre des propriétés")
        << QByteArray("QPrintPropertiesDialog") << QByteArray("Printer Properties")
        << QStringLiteral("Propriétés de l'imprimante");
    QTest::newRow("onglet avancé") << QByteArray("QPrintPropertiesWidget") << QByteArray("Advanced")
                                   << QStringLiteral("Avancé");
    QTest::newRow("conflits") << QByteArray("QPrintPropertiesDialog")
                              << QByteArray("There are conflicts in some options. Please fix them.")
                              << QStringLiteral(
                                     "Certaines options sont en conflit. Veuillez les corriger.");
    // Present in Qt's catalogue: its translation wins.
    QTest::newRow("texte de Qt gardé")
        << QByteArray("QPrintDialog") << QByteArray("Print") << QStringLiteral("Imprimer");
    QTest::newRow("recto verso désactivé")
        << QByteArray("QPrintSettingsOutput") << QByteArray("Off") << QStringLiteral("Désactivée");
    QTest::newRow("dossier du sélecteur de fichiers")
        << QByteArray("QAbstractFileIconProvider") << QByteArray("Folder")
        << QStringLiteral("Dossier");
    // Another dialog's "Advanced" is none of the program's business.
    QTest::newRow("hors des imprimantes")
        << QByteArray("QFileDialog") << QByteArray("Advanced") << QStringLiteral("Advanced");
}

void TestApplication::textesDesImprimantes()
{
    QFETCH(QByteArray, contexte);
    QFETCH(QByteArray, source);
    QFETCH(QString, francais);
    ChargerTraductions(*qApp);
    QCOMPARE(QCoreApplication::translate(contexte.constData(), source.constData()), francais);
}

void TestApplication::datesEnFrancais()
{
    // The file choosers write dates from the session's locale.
    const QDate date(2026, 12, 8);
    QCOMPARE(QLocale::system().toString(date, QLocale::ShortFormat), QStringLiteral("08/12/2026"));
    // And their sizes; the C library's numbers stay those of the files.
    QCOMPARE(QLocale::system().formattedDataSize(5000), QStringLiteral("4,88 Kio"));
    QCOMPARE(QByteArray(std::localeconv()->decimal_point), QByteArray("."));
    ChargerTraductions(*qApp);
    QCOMPARE(QLocale().toString(date, QStringLiteral("d MMMM")), QStringLiteral("8 décembre"));
}

void TestApplication::extensionDuFiltre_data()
{
    QTest::addColumn<int>("filtre");
    QTest::addColumn<QString>("ecrit"); // "mon2" typed
    QTest::newRow("GIF, le premier filtre") << 0 << "mon2.gif";
    QTest::newRow("PNG choisi") << 2 << "mon2.png";
}

void TestApplication::extensionDuFiltre()
{
    QFETCH(int, filtre);
    QFETCH(QString, ecrit);
    QTemporaryDir dossier;
    Selecteur s;
    s.sorte = Selecteur::EnregistrerImage;
    s.filtres = QStringLiteral("Image Gif (*.gif);;Bitmap (*.bmp);;Image PNG (*.png)");
    s.suffixe = QStringLiteral("gif");
    s.dossier = dossier.path();
    // The user picks the filter in its list, then types the name.
    AuProchain<QFileDialog>([&](QFileDialog* d) {
        auto* types = d->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        types->setCurrentIndex(filtre);
        emit types->textActivated(types->currentText());
        auto* nom = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        nom->setText(QStringLiteral("mon2"));
        QTest::keyClick(nom, Qt::Key_Return);
    });
    QCOMPARE(ServicesQt().Choisir(nullptr, s).value_or(QString()),
             QDir(dossier.path()).filePath(ecrit));
}

void TestApplication::boitesDuVraiService_data()
{
    QTest::addColumn<QString>("texte");
    QTest::addColumn<int>("boutons");
    QTest::addColumn<int>("icone");
    QTest::addColumn<QString>("montre"); // empty: the text itself
    QTest::newRow("question d'enregistrement")
        << QStringLiteral(
               "Cet emploi du temps a été modifié.\nVoulez-vous enregistrer ces modifications ?")
        << int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
        << int(QMessageBox::Warning) << QString();
    QTest::newRow("extension") << QStringLiteral("Extension de fichier incorrecte")
                               << int(QMessageBox::Ok) << int(QMessageBox::Warning) << QString();
    QTest::newRow("erreur") << QStringLiteral("Impossible d'ouvrir le fichier /x/plan.edt.")
                            << int(QMessageBox::Ok) << int(QMessageBox::Critical) << QString();
    // Control characters from a file's name or line: shown, never obeyed; line breaks stay.
    QTest::newRow("caractères de contrôle")
        << QStringLiteral("Fichier /x/\x1b]0;pris\x07\x1b[2J\t.edt\nDeuxième ligne\x7f")
        << int(QMessageBox::Ok) << int(QMessageBox::Critical)
        << QStringLiteral("Fichier /x/␛]0;pris␇␛[2J␉.edt\nDeuxième ligne␡");
}

void TestApplication::boitesDuVraiService()
{
    QFETCH(QString, texte);
    QFETCH(int, boutons);
    QFETCH(int, icone);
    QFETCH(QString, montre);
    ServicesQt services;
    QString titre, vu;
    int vusBoutons = 0, vueIcone = 0;
    QTimer::singleShot(0, qApp, [&] {
        auto* boite = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!boite) return;
        titre = boite->windowTitle();
        vu = boite->text();
        vusBoutons = int(boite->standardButtons());
        vueIcone = int(boite->icon());
        boite->done(QMessageBox::No);
    });
    Question q;
    q.texte = texte;
    q.boutons = QMessageBox::StandardButtons(boutons);
    q.icone = QMessageBox::Icon(icone);
    services.Demander(nullptr, q);
    QCOMPARE(titre, QStringLiteral("Horaku"));
    QCOMPARE(vu, montre.isEmpty() ? texte : montre);
    QCOMPARE(vusBoutons, boutons);
    QCOMPARE(vueIcone, icone);
}

void TestApplication::exceptionMontreeEtBoucleContinue()
{
    auto* application = qobject_cast<Application*>(qApp);
    QVERIFY(application);
    ServicesScriptes services;
    application->DefinirServices(&services);
    Lanceur lanceur;

    QCoreApplication::postEvent(&lanceur, new QEvent(QEvent::User));
    QTRY_COMPARE(services.questions.size(), 1);
    QCOMPARE(services.questions[0].texte,
             QStringLiteral("Impossible de créer le fichier /x/plan.edt"));
    QCOMPARE(services.questions[0].icone, QMessageBox::Critical);
    QCOMPARE(services.questions[0].titre, QStringLiteral("Horaku"));

    // The loop still delivers events; an exception without a message shows an empty one.
    lanceur.lancerAutre = true;
    QCoreApplication::postEvent(&lanceur, new QEvent(QEvent::User));
    QTRY_COMPARE(services.questions.size(), 2);
    QCOMPARE(services.questions[1].texte, QString());
    QCOMPARE(lanceur.recus, 2);
    application->DefinirServices(nullptr);
}

void TestApplication::boutonsEnFrancais()
{
    ChargerTraductions(*qApp);
    QMessageBox boite;
    boite.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    const auto texte = [&](QMessageBox::StandardButton b) {
        return boite.button(b)->text().remove(QLatin1Char('&'));
    };
    QCOMPARE(texte(QMessageBox::Yes), QStringLiteral("Oui"));
    QCOMPARE(texte(QMessageBox::No), QStringLiteral("Non"));
    QCOMPARE(texte(QMessageBox::Cancel), QStringLiteral("Annuler"));
}

void TestApplication::programmeSansEcran_data()
{
    QTest::addColumn<QString>("display");
    QTest::newRow("aucun écran") << QString();
    QTest::newRow("écran injoignable") << QStringLiteral(":9876");
}

void TestApplication::programmeSansEcran()
{
    QFETCH(QString, display);
    const QString programme = QStringLiteral(HORAKU_BIN "/horaku");
    if (!QFile::exists(programme)) QSKIP("le programme horaku n'est pas construit");
    DossierDeTravail dossier;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("DISPLAY"));
    if (!display.isEmpty()) env.insert(QStringLiteral("DISPLAY"), display);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(programme, {});
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    const QString erreur = QString::fromUtf8(p.readAllStandardError()).trimmed();
    QVERIFY2(erreur.startsWith(QStringLiteral("Horaku : ")), qPrintable(erreur));
    QVERIFY2(erreur.contains(QStringLiteral("horaku-cli")), qPrintable(erreur));
    QCOMPARE(erreur.count(QLatin1Char('\n')), 0);
    QVERIFY(!QFile::exists(QStringLiteral("Horaku.cfg")));
}

int main(int argc, char** argv)
{
    PreparerLocaleFrancaise();
    Application application(argc, argv);
    GarderNombresC();
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ui_application.moc"
