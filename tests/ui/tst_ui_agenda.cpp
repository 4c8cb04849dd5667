// The calendar export from the window: the dialog's controls, its refusals,
// the choices remembered per timetable file, and the whole command from the
// menu to the file read back with libical.
#include "agenda.h"
#include "outils_ui.h"
#include "principale.h"

#include <libical/ical.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

using namespace horaku;
using namespace outils_ui;

namespace
{

template <typename T> T* Enfant(QWidget* w, const char* nom)
{
    T* c = w->findChild<T*>(QString::fromLatin1(nom));
    if (!c) qWarning() << "absent :" << nom;
    return c;
}

void AjouterVacances(TFiche_Agenda& f, const QDate& debut, const QDate& fin)
{
    Enfant<QDateEdit>(&f, "DTPVacancesDebut")->setDate(debut);
    Enfant<QDateEdit>(&f, "DTPVacancesFin")->setDate(fin);
    QTest::mouseClick(Enfant<QPushButton>(&f, "BtnAjouterVacances"), Qt::LeftButton);
}

QString Periode(const PeriodeVacances& p)
{
    return QString::fromStdString(TexteDate(p.debut) + ":" + TexteDate(p.fin));
}

QStringList Periodes(const OptionsAgenda& o)
{
    QStringList l;
    for (const PeriodeVacances& p : o.vacances)
        l << Periode(p);
    return l;
}

// Start dates of the events, in file order.
QStringList Debuts(const QByteArray& texte)
{
    QStringList l;
    icalcomponent* cal = icalparser_parse_string(texte.constData());
    if (!cal) return l;
    for (icalcomponent* ev = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); ev;
         ev = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT))
        l << QString::fromUtf8(icaltime_as_ical_string(icalcomponent_get_dtstart(ev)));
    icalcomponent_free(cal);
    return l;
}

} // namespace

class TestAgenda : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Holidays added in any order read in date order; a period ending before
    // it starts is refused with the focus on its end.
    void vacances_data()
    {
        QTest::addColumn<QStringList>("ajouts");
        QTest::addColumn<int>("supprimer"); // row removed afterwards, -1 none
        QTest::addColumn<QStringList>("attendu");
        QTest::addColumn<int>("refus");
        QTest::newRow("dans l'ordre")
            << QStringList{"2024-10-19:2024-11-03", "2024-12-21:2025-01-05"} << -1
            << QStringList{"2024-10-19:2024-11-03", "2024-12-21:2025-01-05"} << 0;
        QTest::newRow("a l'envers, rangees")
            << QStringList{"2025-02-15:2025-03-02", "2024-10-19:2024-11-03"} << -1
            << QStringList{"2024-10-19:2024-11-03", "2025-02-15:2025-03-02"} << 0;
        QTest::newRow("fin avant debut refusee")
            << QStringList{"2024-11-11:2024-11-11", "2024-11-05:2024-11-04"} << -1
            << QStringList{"2024-11-11:2024-11-11"} << 1;
        QTest::newRow("suppression de la premiere")
            << QStringList{"2024-10-19:2024-11-03", "2024-12-21:2025-01-05"} << 0
            << QStringList{"2024-12-21:2025-01-05"} << 0;
        QTest::newRow("suppression de la derniere")
            << QStringList{"2024-10-19:2024-11-03", "2024-12-21:2025-01-05"} << 1
            << QStringList{"2024-10-19:2024-11-03"} << 0;
    }
    void vacances()
    {
        QFETCH(QStringList, ajouts);
        QFETCH(int, supprimer);
        QFETCH(QStringList, attendu);
        QFETCH(int, refus);
        ServicesScriptes services;
        const REdt e = EdtExemple();
        TFiche_Agenda f(nullptr, e, services);
        f.show();
        for (const QString& a : ajouts)
            AjouterVacances(f, QDate::fromString(a.left(10), Qt::ISODate),
                            QDate::fromString(a.mid(11), Qt::ISODate));
        auto* liste = Enfant<QListWidget>(&f, "LBVacances");
        if (supprimer >= 0) {
            liste->setCurrentRow(supprimer);
            QTest::mouseClick(Enfant<QPushButton>(&f, "BtnSupprimerVacances"), Qt::LeftButton);
        }
        QCOMPARE(Periodes(f.Options()), attendu);
        QCOMPARE(liste->count(), attendu.size());
        for (int i = 0; i < attendu.size(); ++i)
            QCOMPARE(liste->item(i)->text(), TFiche_Agenda::TextePeriode(f.Options().vacances[i]));
        QCOMPARE(services.questions.size(), refus);
        if (refus) {
            QCOMPARE(services.questions[0].texte,
                     QStringLiteral("La fin des vacances précède leur début."));
            QCOMPARE(services.questions[0].titre, QStringLiteral("Horaku"));
            QCOMPARE(f.focusWidget(), Enfant<QDateEdit>(&f, "DTPVacancesFin"));
        }
    }

    void periodeRefusee()
    {
        ServicesScriptes services;
        const REdt e = EdtExemple();
        TFiche_Agenda f(nullptr, e, services);
        f.show();
        Enfant<QDateEdit>(&f, "DTPDu")->setDate(QDate(2024, 9, 10));
        Enfant<QDateEdit>(&f, "DTPAu")->setDate(QDate(2024, 9, 9));
        f.accept();
        QVERIFY(f.isVisible());
        QCOMPARE(services.Textes(),
                 QStringList{QStringLiteral("Le dernier jour précède le premier jour.")});
        QCOMPARE(f.focusWidget(), Enfant<QDateEdit>(&f, "DTPAu"));
        // More than a calendar holds: told before any file name is asked.
        Enfant<QDateEdit>(&f, "DTPAu")->setDate(QDate(2028, 9, 10));
        f.accept();
        QVERIFY(f.isVisible() && services.Textes().last().contains(QStringLiteral("1462 jours")));
        Enfant<QDateEdit>(&f, "DTPAu")->setDate(QDate(2024, 9, 10));
        f.accept();
        QVERIFY(!f.isVisible());
        QCOMPARE(f.result(), int(QDialog::Accepted));
    }

    // The window's exports never write over their timetable, even through a
    // link that names it otherwise.
    void sortieSurEmploiDuTemps_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("image") << "MenuEnregistrerImage";
        QTest::newRow("agenda") << "MenuExporterAgenda";
    }
    void sortieSurEmploiDuTemps()
    {
        QFETCH(QString, action);
        FenetreOuverte o;
        auto& [dossier, plan, services, fenetre] = o;
        const QString lien = dossier.Chemin(QStringLiteral("lien.ics"));
        QVERIFY(QFile::link(plan, lien));
        services.noms = {lien};
        if (action.contains("Agenda")) AuProchain<TFiche_Agenda>([](auto* f) { f->accept(); });
        fenetre.findChild<QAction*>(action)->trigger();
        QCOMPARE(services.Textes(), QStringList{"Impossible de créer le fichier " + lien +
                                                "\nC'est le fichier lu : choisissez un autre "
                                                "nom pour le fichier écrit."});
        QFile f(lien);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray::fromStdString(EcrireEdt(EdtExemple())));
    }

    // The week types by name, and every choice back from the controls.
    void controles()
    {
        ServicesScriptes services;
        const REdt e = EdtExemple();
        TFiche_Agenda f(nullptr, e, services);
        auto* types = Enfant<QComboBox>(&f, "CBPremiereSemaine");
        QCOMPARE(types->count(), 2);
        QCOMPARE(types->itemText(0), QStringLiteral("Sem 1"));
        QCOMPARE(types->itemText(1), QStringLiteral("Sem 2"));
        QVERIFY(Enfant<QDateEdit>(&f, "DTPDu")->calendarPopup());
        QVERIFY(Enfant<QDateEdit>(&f, "DTPAu")->calendarPopup());
        OptionsAgenda o;
        o.du = Date{2024, 9, 2};
        o.au = Date{2025, 7, 4};
        o.premiereSemaine = 2;
        o.vacances = {PeriodeVacances{Date{2024, 10, 19}, Date{2024, 11, 3}}};
        o.vacancesComptent = true;
        f.FixerOptions(o);
        QCOMPARE(types->currentText(), QStringLiteral("Sem 2"));
        QVERIFY(Enfant<QCheckBox>(&f, "CBVacancesComptent")->isChecked());
        const OptionsAgenda lu = f.Options();
        QVERIFY(lu.du == o.du);
        QVERIFY(lu.au == o.au);
        QCOMPARE(lu.premiereSemaine, 2);
        QCOMPARE(Periodes(lu), Periodes(o));
        QVERIFY(lu.vacancesComptent);
        // A new first day takes the holiday pickers that fall outside the period.
        auto* vacDebut = Enfant<QDateEdit>(&f, "DTPVacancesDebut");
        auto* vacFin = Enfant<QDateEdit>(&f, "DTPVacancesFin");
        vacDebut->setDate(QDate(2024, 10, 21));
        vacFin->setDate(QDate(2024, 8, 1));
        Enfant<QDateEdit>(&f, "DTPDu")->setDate(QDate(2024, 9, 4));
        QCOMPARE(vacDebut->date(), QDate(2024, 10, 21));
        QCOMPARE(vacFin->date(), QDate(2024, 9, 4));
        Enfant<QDateEdit>(&f, "DTPAu")->setDate(QDate(2024, 9, 30));
        QCOMPARE(vacDebut->date(), QDate(2024, 9, 4));
        // A remembered type beyond the timetable's falls back to the first.
        o.premiereSemaine = 5;
        f.FixerOptions(o);
        QCOMPARE(f.Options().premiereSemaine, 1);
    }

    // Per file: another file gets the defaults; a damaged entry too.
    void reglages_data()
    {
        QTest::addColumn<QString>("fichierLu");
        QTest::addColumn<QString>("abime"); // key overwritten with garbage
        QTest::addColumn<bool>("retrouve");
        QTest::newRow("meme fichier") << "/ecole/a.edt"
                                      << "" << true;
        QTest::newRow("autre fichier") << "/ecole/b.edt"
                                       << "" << false;
        QTest::newRow("sans fichier") << ""
                                      << "" << false;
        QTest::newRow("date abimee") << "/ecole/a.edt"
                                     << "au" << false;
    }
    void reglages()
    {
        QFETCH(QString, fichierLu);
        QFETCH(QString, abime);
        QFETCH(bool, retrouve);
        QTemporaryDir dossier;
        QSettings reglages(dossier.filePath(QStringLiteral("r.ini")), QSettings::IniFormat);
        OptionsAgenda choix;
        choix.du = Date{2024, 9, 2};
        choix.au = Date{2025, 7, 4};
        choix.premiereSemaine = 2;
        choix.vacances = {PeriodeVacances{Date{2024, 10, 19}, Date{2024, 11, 3}},
                          PeriodeVacances{Date{2024, 12, 21}, Date{2025, 1, 5}}};
        choix.vacancesComptent = true;
        EcrireChoixAgenda(reglages, QStringLiteral("/ecole/a.edt"), choix);
        if (!abime.isEmpty()) {
            reglages.beginGroup(QStringLiteral("Agenda"));
            for (const QString& g : reglages.childGroups())
                reglages.setValue(g + QLatin1Char('/') + abime, QStringLiteral("2025-02-30"));
            reglages.endGroup();
        }
        const OptionsAgenda defaut = ChoixParDefaut(QDate(2024, 8, 20));
        const OptionsAgenda lu = LireChoixAgenda(reglages, fichierLu, defaut);
        const OptionsAgenda& attendu = retrouve ? choix : defaut;
        QCOMPARE(QString::fromStdString(TexteDate(lu.du)),
                 QString::fromStdString(TexteDate(attendu.du)));
        QCOMPARE(QString::fromStdString(TexteDate(lu.au)),
                 QString::fromStdString(TexteDate(attendu.au)));
        if (abime.isEmpty()) {
            QCOMPARE(lu.premiereSemaine, attendu.premiereSemaine);
            QCOMPARE(Periodes(lu), Periodes(attendu));
            QCOMPARE(lu.vacancesComptent, attendu.vacancesComptent);
        }
        // Nothing of it in the timetable file's world: the settings only.
        QVERIFY(QFile::exists(dossier.filePath(QStringLiteral("r.ini"))));
    }

    // From the menu: the dialog filled, the name asked, the count told, the
    // file as asked; a second export proposes the same choices.
    void commande()
    {
        DossierDeTravail dossier;
        EcrireConfiguration(QString());
        ServicesScriptes services;
        auto fenetre = std::make_unique<TFenetre_Principale>(services);
        fenetre->show();
        const QString edt = Ecrire(EdtExemple(), dossier.Chemin(QStringLiteral("classe.edt")));
        auto e = std::make_unique<REdt>(EdtExemple());
        e->Fichier = edt.toStdString();
        fenetre->RendreCourant(std::move(e));
        fenetre->ActualiserFenetre();
        auto* action = fenetre->findChild<QAction*>(QStringLiteral("MenuExporterAgenda"));
        QVERIFY(action);
        QCOMPARE(action->text(), QStringLiteral("Exporter vers un agenda (.ics) ..."));
        QVERIFY(action->isEnabled());

        const QString ics = dossier.Chemin(QStringLiteral("sortie"));
        services.noms = {ics};
        OptionsAgenda proposees;
        bool vu = false;
        QTimer::singleShot(0, this, [&] {
            auto* f = qobject_cast<TFiche_Agenda*>(QApplication::activeModalWidget());
            if (!f) return;
            vu = true;
            Enfant<QDateEdit>(f, "DTPDu")->setDate(QDate(2024, 9, 2));
            Enfant<QDateEdit>(f, "DTPAu")->setDate(QDate(2024, 9, 29));
            Enfant<QComboBox>(f, "CBPremiereSemaine")->setCurrentIndex(1);
            AjouterVacances(*f, QDate(2024, 9, 16), QDate(2024, 9, 22));
            f->accept();
        });
        action->trigger();
        QVERIFY(vu);
        QCOMPARE(services.selecteurs.size(), 1);
        QCOMPARE(services.selecteurs[0].filtres, QStringLiteral("Agenda iCalendar (*.ics)"));
        QCOMPARE(services.selecteurs[0].nom, dossier.Chemin(QStringLiteral("classe.ics")));
        // Sem 2 first: its Monday in weeks 1 and 4; Sem 1's Monday and
        // Tuesday in week 2; the holiday week skipped.
        QStringList debuts = Debuts([&] {
            QFile f(ics + QStringLiteral(".ics"));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }());
        for (QString& d : debuts)
            d.truncate(15);
        QCOMPARE(debuts, (QStringList{"20240902T090000", "20240909T080000", "20240910T130000",
                                      "20240923T090000"}));
        QCOMPARE(debuts.size(), 4);
        QCOMPARE(services.Textes().last(),
                 QStringLiteral("4 événements écrits dans « %1.ics ».").arg(ics));

        // Again: the dialog opens on the choices just made.
        services.noms = {std::nullopt};
        QTimer::singleShot(0, this, [&] {
            auto* f = qobject_cast<TFiche_Agenda*>(QApplication::activeModalWidget());
            if (!f) return;
            proposees = f->Options();
            f->reject();
        });
        action->trigger();
        QCOMPARE(QString::fromStdString(TexteDate(proposees.du)), QStringLiteral("2024-09-02"));
        QCOMPARE(QString::fromStdString(TexteDate(proposees.au)), QStringLiteral("2024-09-29"));
        QCOMPARE(proposees.premiereSemaine, 2);
        QCOMPARE(Periodes(proposees), QStringList{QStringLiteral("2024-09-16:2024-09-22")});
    }
};

QTEST_MAIN(TestAgenda)
#include "tst_ui_agenda.moc"
