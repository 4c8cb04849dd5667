// horaku-cli calendrier et chevauchements lancés comme par un script : codes
// de sortie, une seule ligne d'erreur, fichier relu avec libical.
#include "classesedt.h"
#include "cli_test.h"
#include "edt_test.h"

#include <libical/ical.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace horaku;
using horaku::test::H;
using horaku::test::Seq;

namespace
{

using Resultat = test::ResultatCli;

Resultat Lancer(const QStringList& arguments, const QString& tz = QStringLiteral("Europe/Paris"),
                const QString& dossier = QString())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TZ"), tz);
    return test::LancerCli(arguments, env, dossier);
}

QByteArray Contenu(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// DTSTART value and TZID of every event, in file order, and their UIDs.
struct Lu {
    QStringList debuts;
    QStringList uids;
    QStringList tzids;
};

Lu Relire(const QByteArray& texte)
{
    Lu l;
    icalcomponent* cal = icalparser_parse_string(texte.constData());
    if (!cal) return l;
    for (icalcomponent* ev = icalcomponent_get_first_component(cal, ICAL_VEVENT_COMPONENT); ev;
         ev = icalcomponent_get_next_component(cal, ICAL_VEVENT_COMPONENT)) {
        icalproperty* d = icalcomponent_get_first_property(ev, ICAL_DTSTART_PROPERTY);
        l.debuts << QString::fromUtf8(icaltime_as_ical_string(icalproperty_get_dtstart(d)));
        icalparameter* t = icalproperty_get_first_parameter(d, ICAL_TZID_PARAMETER);
        l.tzids << (t ? QString::fromUtf8(icalparameter_get_tzid(t)) : QString());
        l.uids << QString::fromUtf8(icalcomponent_get_uid(ev));
    }
    icalcomponent_free(cal);
    return l;
}

} // namespace

class TstCliAgenda : public QObject
{
    Q_OBJECT

    QTemporaryDir dossier_;
    QString edt_;

    QString chemin(const QString& nom) const { return dossier_.filePath(nom); }

private slots:
    void initTestCase()
    {
        QVERIFY(dossier_.isValid());
        // Types A and B; Monday 08:00-09:00 in A, Tuesday 10:00-11:00 in B,
        // and a Wednesday sequence that ends before it starts.
        REdt e;
        e.Semaines = {RSemaine{"A", 0xFFFF00}, RSemaine{"B", 0x00FF00}};
        e.AjusterSemaines();
        test::Ajouter(e, 0, 0, Seq(H(8), H(9), {"6e A", "", "S1", "Math"}));
        test::Ajouter(e, 1, 1, Seq(H(10), H(11), {"5e B", "", "S2", "Anglais"}));
        test::Ajouter(e, 2, 0, Seq(H(11), H(10), {"4e C", "", "", ""}));
        edt_ = chemin(QStringLiteral("ab.edt"));
        QFile f(edt_);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString(EcrireEdt(e)));
    }

    void refus_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("date qui n'existe pas")
            << QStringList{"--du", "2024-02-30", "--au", "2024-03-10"};
        QTest::newRow("date mal ecrite") << QStringList{"--du", "2/9/2024", "--au", "2024-09-10"};
        QTest::newRow("au avant du") << QStringList{"--du", "2024-09-10", "--au", "2024-09-09"};
        QTest::newRow("premiere semaine 0")
            << QStringList{"--du", "2024-09-02", "--au", "2024-09-09", "--premiere-semaine", "0"};
        QTest::newRow("premiere semaine 3 sur 2")
            << QStringList{"--du", "2024-09-02", "--au", "2024-09-09", "--premiere-semaine", "3"};
        QTest::newRow("premiere semaine pas un nombre")
            << QStringList{"--du", "2024-09-02", "--au", "2024-09-09", "--premiere-semaine", "1a"};
        QTest::newRow("vacances sans fin")
            << QStringList{"--du", "2024-09-02", "--au", "2024-09-09", "--vacances", "2024-09-03"};
        QTest::newRow("vacances a l'envers") << QStringList{
            "--du", "2024-09-02", "--au", "2024-09-09", "--vacances", "2024-09-05:2024-09-04"};
        QTest::newRow("sans --au") << QStringList{"--du", "2024-09-02"};
        QTest::newRow("--du sans valeur") << QStringList{"--au", "2024-09-02", "--du"};
        QTest::newRow("option inconnue")
            << QStringList{"--du", "2024-09-02", "--au", "2024-09-09", "--vacance", "x"};
    }
    void refus()
    {
        QFETCH(QStringList, options);
        const QString sortie = chemin(QStringLiteral("refus.ics"));
        const Resultat r = Lancer(QStringList{"calendrier", edt_, sortie} + options);
        QCOMPARE(r.code, 2);
        QVERIFY(r.sortie.isEmpty());
        QCOMPARE(r.erreur.count('\n'), 1);
        QVERIFY(r.erreur.endsWith('\n'));
        QVERIFY2(!r.erreur.startsWith("usage"), r.erreur.constData());
        QVERIFY(!QFile::exists(sortie));
    }

    // Missing files are a wrong argument too: one line, not the usage text.
    void sansFichier_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("rien") << QStringList{"calendrier"};
        QTest::newRow("un fichier")
            << QStringList{"calendrier", "a.edt", "--du", "2024-09-02", "--au", "2024-09-09"};
        QTest::newRow("trois fichiers") << QStringList{"calendrier", "a.edt", "b.ics", "c.ics"};
    }
    void sansFichier()
    {
        QFETCH(QStringList, arguments);
        const Resultat r = Lancer(arguments);
        QCOMPARE(r.code, 2);
        QCOMPARE(r.erreur.count('\n'), 1);
        QVERIFY2(r.erreur.contains("ENTREE.edt SORTIE.ics"), r.erreur.constData());
    }

    // The message of any other save that cannot create its file.
    void fichierImpossible()
    {
        const QString sortie = chemin(QStringLiteral("absent/agenda.ics"));
        const Resultat r =
            Lancer({"calendrier", edt_, sortie, "--du", "2024-09-02", "--au", "2024-09-08"});
        const Resultat reference = Lancer({"nouveau", sortie});
        QCOMPARE(reference.code, 1);
        QCOMPARE(r.code, 1);
        QCOMPARE(r.erreur, reference.erreur);
        QVERIFY(!QFile::exists(sortie));
    }

    void rotation_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("debuts");
        const QStringList plage{"--du", "2024-09-02", "--au", "2024-09-29"};
        const QStringList vacances{"--vacances", "2024-09-16:2024-09-22"};
        QTest::newRow("A puis B, vacances sautees")
            << plage + vacances
            << QStringList{"20240902T080000", "20240910T100000", "20240923T080000"};
        QTest::newRow("vacances comptees")
            << plage + vacances + QStringList{"--vacances-comptent"}
            << QStringList{"20240902T080000", "20240910T100000", "20240924T100000"};
        QTest::newRow("B d'abord")
            << plage + vacances + QStringList{"--premiere-semaine", "2"}
            << QStringList{"20240903T100000", "20240909T080000", "20240924T100000"};
        QTest::newRow("sans vacances") << plage
                                       << QStringList{"20240902T080000", "20240910T100000",
                                                      "20240916T080000", "20240924T100000"};
    }
    void rotation()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, debuts);
        const QString sortie = chemin(QStringLiteral("ab.ics"));
        QFile::remove(sortie);
        const Resultat r = Lancer(QStringList{"calendrier", edt_, sortie} + options);
        QCOMPARE(r.code, 0);
        // The Wednesday sequence is named on the standard error, once.
        QCOMPARE(r.erreur.count('\n'), 1);
        QVERIFY2(r.erreur.contains("Mercredi, A, ligne 1 (11:00 - 10:00)"), r.erreur.constData());
        const Lu l = Relire(Contenu(sortie));
        QCOMPARE(l.debuts, debuts);
        for (const QString& t : l.tzids)
            QCOMPARE(t, QStringLiteral("Europe/Paris"));
    }

    // Another folder, the same file named another way: the same UIDs.
    void identifiantsStables()
    {
        const QStringList options{"--du", "2024-09-02", "--au", "2024-10-27"};
        const QString a = chemin(QStringLiteral("a.ics")), b = chemin(QStringLiteral("b.ics"));
        const QString c = chemin(QStringLiteral("c.ics"));
        QCOMPARE(Lancer(QStringList{"calendrier", edt_, a} + options).code, 0);
        QCOMPARE(Lancer(QStringList{"calendrier", QStringLiteral("ab.edt"), b} + options,
                        QStringLiteral("Europe/Paris"), dossier_.path())
                     .code,
                 0);
        const QString copie = chemin(QStringLiteral("copie.edt"));
        QVERIFY(QFile::copy(edt_, copie));
        QCOMPARE(Lancer(QStringList{"calendrier", copie, c} + options).code, 0);
        const Lu la = Relire(Contenu(a)), lb = Relire(Contenu(b)), lc = Relire(Contenu(c));
        QVERIFY(la.uids.size() >= 8);
        QCOMPARE(lb.uids, la.uids);
        QCOMPARE(lc.uids, la.uids);
        QCOMPARE(QSet<QString>(la.uids.begin(), la.uids.end()).size(), la.uids.size());
    }

    void fuseau_data()
    {
        QTest::addColumn<QString>("tz");
        QTest::addColumn<QString>("tzid");
        QTest::addColumn<bool>("note");
        QTest::newRow("Paris") << "Europe/Paris"
                               << "Europe/Paris" << false;
        QTest::newRow("forme :Zone") << ":America/Montreal"
                                     << "America/Montreal" << false;
        QTest::newRow("chemin") << "/usr/share/zoneinfo/Asia/Tokyo"
                                << "Asia/Tokyo" << false;
        QTest::newRow("UTC") << "UTC"
                             << "" << false;
        QTest::newRow("inconnu") << "Nulle/Part"
                                 << "" << true;
    }
    void fuseau()
    {
        QFETCH(QString, tz);
        QFETCH(QString, tzid);
        QFETCH(bool, note);
        const QString sortie = chemin(QStringLiteral("tz.ics"));
        const Resultat r =
            Lancer({"calendrier", edt_, sortie, "--du", "2024-09-02", "--au", "2024-09-02"}, tz);
        QCOMPARE(r.code, 0);
        const QString erreur = QString::fromUtf8(r.erreur);
        QCOMPARE(erreur.contains(QStringLiteral("temps universel (UTC)")), note);
        const Lu l = Relire(Contenu(sortie));
        QCOMPARE(l.tzids, QStringList{tzid});
        QCOMPARE(l.debuts, QStringList{tzid.isEmpty() ? "20240902T080000Z" : "20240902T080000"});
    }

    // Twelve sequences that all meet: at most ten listed for each, the one
    // left out counted on the first sequence's last pair.
    void chevauchementsBornes()
    {
        REdt e;
        for (int i = 0; i < 12; ++i)
            test::Ajouter(e, 2, 0, Seq(H(8), H(9), {"x", "", "", ""}));
        const QString f = chemin(QStringLiteral("bornes.edt"));
        e.Fichier = f.toStdString();
        e.Enregistrer();
        const QJsonArray paires =
            QJsonDocument::fromJson(Lancer({"chevauchements", f}).sortie).array();
        QCOMPARE(paires.size(), 65);
        QCOMPARE(paires[9]["autres"].toObject(), (QJsonObject{{"sequence", 0}, {"nombre", 1}}));
    }

    void chevauchements_data()
    {
        QTest::addColumn<QList<QList<int>>>("sequences"); // jour, type, debut, fin (minutes)
        QTest::addColumn<QString>("attendu");
        QTest::newRow("aucun") << QList<QList<int>>{{0, 0, 480, 540}, {0, 0, 540, 600}} << "[]";
        QTest::newRow("un chevauchement")
            << QList<QList<int>>{{0, 0, 480, 540}, {0, 0, 600, 660}, {0, 0, 520, 610}}
            << "[{\"jour\":0,\"semaine\":0,\"sequences\":[0,2],\"debut\":\"08:40:00\","
               "\"fin\":\"09:00:00\"},"
               "{\"jour\":0,\"semaine\":0,\"sequences\":[1,2],\"debut\":\"10:00:00\","
               "\"fin\":\"10:10:00\"}]";
        QTest::newRow("autre jour, autre type")
            << QList<QList<int>>{{4, 1, 480, 600}, {4, 0, 480, 600}, {4, 1, 500, 510}}
            << "[{\"jour\":4,\"semaine\":1,\"sequences\":[0,1],\"debut\":\"08:20:00\","
               "\"fin\":\"08:30:00\"}]";
    }
    void chevauchements()
    {
        QFETCH(QList<QList<int>>, sequences);
        QFETCH(QString, attendu);
        REdt e;
        e.Semaines = {RSemaine{"A", 0}, RSemaine{"B", 0}};
        e.AjusterSemaines();
        for (const QList<int>& s : sequences)
            test::Ajouter(e, s[0], s[1],
                          Seq(H(s[2] / 60, s[2] % 60), H(s[3] / 60, s[3] % 60), {"x", "", "", ""}));
        const QString f = chemin(QStringLiteral("chevauchements.edt"));
        QFile fichier(f);
        QVERIFY(fichier.open(QIODevice::WriteOnly));
        fichier.write(QByteArray::fromStdString(EcrireEdt(e)));
        fichier.close();
        const Resultat r = Lancer({"chevauchements", f});
        QCOMPARE(r.code, 0);
        QVERIFY(r.erreur.isEmpty());
        QCOMPARE(QJsonDocument::fromJson(r.sortie), QJsonDocument::fromJson(attendu.toUtf8()));
    }
};

QTEST_GUILESS_MAIN(TstCliAgenda)
#include "tst_cli_agenda.moc"
