// The calendar as a calendar program reads it: every file is parsed back
// with libical and checked against dates worked out with QDate and offsets
// taken from Qt's own time zone database.
#include "calendrier.h"
#include "classesedt.h"
#include "edt_test.h"
#include "erreurs.h"

#include <libical/ical.h>

#include <QDate>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QtTest>

#include <ctime>
#include <memory>

using namespace horaku;
using horaku::test::H;
using horaku::test::Seq;

namespace
{

struct Lu {
    QDate date;
    QTime debut;
    QTime fin;
    QString tzid; // DTSTART's TZID parameter, empty for UTC times
    bool utc = false;
    QString resume, lieu, description, categorie, uid;
};

QString Prop(icalcomponent* ev, icalproperty_kind k)
{
    icalproperty* p = icalcomponent_get_first_property(ev, k);
    if (!p) return {};
    icalvalue* v = icalproperty_get_value(p);
    return v ? QString::fromUtf8(icalvalue_get_text(v)) : QString();
}

struct Calendrier {
    std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> cal{nullptr, icalcomponent_free};
    QList<Lu> evenements;
};

Calendrier Relire(const std::string& texte)
{
    Calendrier c;
    c.cal.reset(icalparser_parse_string(texte.c_str()));
    if (!c.cal) return c;
    for (icalcomponent* ev = icalcomponent_get_first_component(c.cal.get(), ICAL_VEVENT_COMPONENT);
         ev; ev = icalcomponent_get_next_component(c.cal.get(), ICAL_VEVENT_COMPONENT)) {
        Lu l;
        icalproperty* debut = icalcomponent_get_first_property(ev, ICAL_DTSTART_PROPERTY);
        icalproperty* fin = icalcomponent_get_first_property(ev, ICAL_DTEND_PROPERTY);
        if (!debut || !fin) continue;
        const icaltimetype d = icalproperty_get_dtstart(debut);
        const icaltimetype f = icalproperty_get_dtend(fin);
        l.date = QDate(d.year, d.month, d.day);
        l.debut = QTime(d.hour, d.minute, d.second);
        l.fin = QTime(f.hour, f.minute, f.second);
        if (QDate(f.year, f.month, f.day) != l.date)
            l.fin = QTime(); // an event never runs past midnight here
        if (icalparameter* t = icalproperty_get_first_parameter(debut, ICAL_TZID_PARAMETER))
            l.tzid = QString::fromUtf8(icalparameter_get_tzid(t));
        l.utc = icaltime_is_utc(d);
        l.resume = Prop(ev, ICAL_SUMMARY_PROPERTY);
        l.lieu = Prop(ev, ICAL_LOCATION_PROPERTY);
        l.description = Prop(ev, ICAL_DESCRIPTION_PROPERTY);
        l.categorie = Prop(ev, ICAL_CATEGORIES_PROPERTY);
        l.uid = Prop(ev, ICAL_UID_PROPERTY);
        c.evenements.append(l);
    }
    return c;
}

Date D(const QDate& q)
{
    return Date{q.year(), q.month(), q.day()};
}

// Week types named by letters; every day of every type holds one sequence
// 08:00-09:00 whose first text names the day and the type ("J3 B").
REdt Rotation(int nbTypes)
{
    REdt e;
    e.Semaines.clear();
    for (int t = 0; t < nbTypes; ++t)
        e.Semaines.push_back(RSemaine{std::string(1, char('A' + t)), 0xFFFF00});
    e.AjusterSemaines();
    for (int j = 0; j < kNbJours; ++j)
        for (int t = 0; t < nbTypes; ++t)
            test::Ajouter(
                e, j, t,
                Seq(H(8), H(9), {"J" + std::to_string(j) + " " + char('A' + t), "", "", ""}));
    return e;
}

OptionsAgenda Options(const QDate& du, const QDate& au)
{
    OptionsAgenda o;
    o.du = D(du);
    o.au = D(au);
    o.fuseau = "Europe/Paris";
    return o;
}

bool Utf8Valide(const QByteArray& octets)
{
    QStringDecoder dec(QStringDecoder::Utf8);
    const QString s = dec(octets);
    return !dec.hasError();
}

} // namespace

class TstAgenda : public QObject
{
    Q_OBJECT

private slots:
    void dates_data()
    {
        QTest::addColumn<QString>("texte");
        for (const char* t : {"2024-02-29", "2023-02-29", "2024-13-01", "2024-00-10", "2024-04-31",
                              "2024-12-31", "1900-02-29", "2000-02-29", "0001-01-01", "0000-12-31",
                              "9999-12-31", "2024-1-01", "2024/01/01", "20240101", "2024-01-0a",
                              " 2024-01-01", "2024-01-01 ", "+024-01-01", ""})
            QTest::newRow(t) << QString::fromLatin1(t);
    }
    void dates()
    {
        QFETCH(QString, texte);
        const QDate q = QDate::fromString(texte, QStringLiteral("yyyy-MM-dd"));
        const bool attendu =
            q.isValid() && q.year() >= 1 && texte.size() == 10 && texte.at(0).isDigit();
        const std::optional<Date> d = LireDate(texte.toStdString());
        QCOMPARE(d.has_value(), attendu);
        if (!attendu) return;
        QCOMPARE(TexteDate(*d), texte.toStdString());
        QCOMPARE(JourDeSemaine(*d), q.dayOfWeek() - 1);
        QCOMPARE(JourSerie(*d), long(QDate(1970, 1, 1).daysTo(q)));
    }

    // The serial day numbers against QDate across leap years and centuries.
    void calendrierGregorien()
    {
        for (QDate q(1599, 12, 20); q < QDate(2401, 3, 10); q = q.addDays(13)) {
            const Date d = D(q);
            const long s = JourSerie(d);
            QCOMPARE(s, long(QDate(1970, 1, 1).daysTo(q)));
            QVERIFY(DateDeSerie(s) == d);
            QCOMPARE(JourDeSemaine(d), q.dayOfWeek() - 1);
        }
    }

    void periodes_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<bool>("valable");
        QTest::newRow("une semaine") << "2024-10-19:2024-11-03" << true;
        QTest::newRow("un seul jour") << "2024-11-11:2024-11-11" << true;
        QTest::newRow("fin avant debut") << "2024-11-11:2024-11-10" << false;
        QTest::newRow("sans deux-points") << "2024-11-11" << false;
        QTest::newRow("deux deux-points") << "2024-11-11:2024-11-12:2024-11-13" << false;
        QTest::newRow("date qui n'existe pas") << "2024-02-30:2024-03-02" << false;
        QTest::newRow("vide") << ":" << false;
    }
    void periodes()
    {
        QFETCH(QString, texte);
        QFETCH(bool, valable);
        const std::optional<PeriodeVacances> p = LirePeriode(texte.toStdString());
        QCOMPARE(p.has_value(), valable);
        if (valable)
            QCOMPARE(QString::fromStdString(TexteDate(p->debut) + ":" + TexteDate(p->fin)), texte);
    }

    // types: the week type expected for each Monday from the week holding
    // `du`, '-' for a week with no event at all.
    void rotation_data()
    {
        QTest::addColumn<QDate>("du");
        QTest::addColumn<QDate>("au");
        QTest::addColumn<int>("nbTypes");
        QTest::addColumn<int>("premiere");
        QTest::addColumn<QStringList>("vacances");
        QTest::addColumn<bool>("comptent");
        QTest::addColumn<QString>("types");
        const QDate sep2(2024, 9, 2), sep29(2024, 9, 29);
        const QStringList v3{"2024-09-16:2024-09-22"};
        QTest::newRow("A/B, semaine de vacances sautee")
            << sep2 << sep29 << 2 << 1 << v3 << false << "AB-A";
        QTest::newRow("A/B, semaine de vacances comptee")
            << sep2 << sep29 << 2 << 1 << v3 << true << "AB-B";
        QTest::newRow("B d'abord, sautee") << sep2 << sep29 << 2 << 2 << v3 << false << "BA-B";
        QTest::newRow("B d'abord, comptee") << sep2 << sep29 << 2 << 2 << v3 << true << "BA-A";
        QTest::newRow("dimanche hors vacances : la semaine compte")
            << sep2 << sep29 << 2 << 1 << QStringList{"2024-09-16:2024-09-21"} << false << "ABAB";
        QTest::newRow("trois types, deux periodes")
            << sep2 << QDate(2024, 10, 20) << 3 << 3
            << QStringList{"2024-09-09:2024-09-15", "2024-10-07:2024-10-13"} << false << "C-ABC-A";
        QTest::newRow("debut un mercredi, fin un mardi")
            << QDate(2024, 9, 4) << QDate(2024, 9, 17) << 2 << 1 << QStringList() << false << "ABA";
        QTest::newRow("premiere semaine en vacances sur ses jours retenus")
            << QDate(2024, 9, 5) << QDate(2024, 9, 22) << 2 << 1
            << QStringList{"2024-09-05:2024-09-08"} << false << "-AB";
        QTest::newRow("vacances debordant la plage")
            << sep2 << sep29 << 2 << 1 << QStringList{"2024-09-20:2024-10-06"} << false << "ABA-";
        QTest::newRow("un seul type") << sep2 << sep29 << 1 << 1 << v3 << false << "AA-A";
    }
    void rotation()
    {
        QFETCH(QDate, du);
        QFETCH(QDate, au);
        QFETCH(int, nbTypes);
        QFETCH(int, premiere);
        QFETCH(QStringList, vacances);
        QFETCH(bool, comptent);
        QFETCH(QString, types);

        const REdt e = Rotation(nbTypes);
        OptionsAgenda o = Options(du, au);
        o.premiereSemaine = premiere;
        o.vacancesComptent = comptent;
        QList<QPair<QDate, QDate>> periodes;
        for (const QString& v : vacances) {
            o.vacances.push_back(*LirePeriode(v.toStdString()));
            periodes.append({QDate::fromString(v.left(10), Qt::ISODate),
                             QDate::fromString(v.mid(11), Qt::ISODate)});
        }
        const Agenda a = ConstruireAgenda(e, o);
        const Calendrier c = Relire(a.texte);
        QVERIFY(c.cal);

        // Expected: every day of the range that no period holds, with the
        // type its week was given.
        const QDate lundi = du.addDays(1 - du.dayOfWeek());
        QStringList attendus;
        for (QDate d = du; d <= au; d = d.addDays(1)) {
            bool vacance = false;
            for (const auto& p : periodes)
                vacance = vacance || (p.first <= d && d <= p.second);
            if (vacance) continue;
            const QChar type = types.at(int(lundi.daysTo(d) / 7));
            QVERIFY2(type != '-', qPrintable(d.toString(Qt::ISODate)));
            attendus << d.toString(Qt::ISODate) + " J" + QString::number(d.dayOfWeek() - 1) + " " +
                            type;
        }
        QStringList lus;
        for (const Lu& l : c.evenements) {
            lus << l.date.toString(Qt::ISODate) + " " + l.resume;
            QCOMPARE(l.categorie, l.resume.right(1));
            QCOMPARE(l.debut, QTime(8, 0));
            QCOMPARE(l.fin, QTime(9, 0));
        }
        lus.sort();
        QCOMPARE(lus, attendus);
        QCOMPARE(a.evenements, std::size_t(attendus.size()));

        const std::vector<SemaineScolaire> semaines = SemainesScolaires(o, nbTypes);
        QCOMPARE(int(semaines.size()), types.size());
        for (std::size_t i = 0; i < semaines.size(); ++i) {
            QCOMPARE(QDate(semaines[i].lundi.annee, semaines[i].lundi.mois, semaines[i].lundi.jour),
                     lundi.addDays(7 * qint64(i)));
            if (types.at(int(i)) != '-') QCOMPARE(QChar('A' + semaines[i].type), types.at(int(i)));
        }
    }

    // Hidden days get no event, shown days keep theirs.
    void joursCaches_data()
    {
        QTest::addColumn<QList<int>>("caches");
        QTest::newRow("mercredi") << QList<int>{2};
        QTest::newRow("week-end") << QList<int>{5, 6};
        QTest::newRow("lundi") << QList<int>{0};
        QTest::newRow("aucun") << QList<int>{};
    }
    void joursCaches()
    {
        QFETCH(QList<int>, caches);
        REdt e = Rotation(2);
        for (int j : caches)
            e.Jours[std::size_t(j)].Affiche = 0;
        const QDate du(2024, 9, 2), au(2024, 9, 15);
        const Calendrier c = Relire(ConstruireAgenda(e, Options(du, au)).texte);
        QSet<int> jours;
        for (const Lu& l : c.evenements)
            jours.insert(l.date.dayOfWeek() - 1);
        QCOMPARE(c.evenements.size(), 2 * (7 - caches.size()));
        for (int j = 0; j < 7; ++j)
            QCOMPARE(jours.contains(j), !caches.contains(j));
    }

    void textes_data()
    {
        QTest::addColumn<QByteArrayList>("textes"); // Windows-1252 bytes
        QTest::addColumn<QString>("resume");
        QTest::addColumn<QString>("lieu");
        QTest::addColumn<QString>("description");
        QTest::newRow("quatre groupes")
            << QByteArrayList{"4e B", "G1", "Salle 104", "Math\xE9matiques"}
            << QString::fromUtf8("4e B – G1 – Mathématiques") << "Salle 104"
            << QString::fromUtf8("Classes : 4e B\nGroupes : G1\nSalles : Salle 104\n"
                                 "Divers : Mathématiques");
        QTest::newRow("sans groupe 2")
            << QByteArrayList{"6e A", "", "CDI",
                              "\x8C"
                              "uvre \x80 d\xE9"
                              "couvrir"}
            << QString::fromUtf8("6e A – Œuvre € découvrir") << "CDI"
            << QString::fromUtf8("Classes : 6e A\nSalles : CDI\nDivers : Œuvre € découvrir");
        QTest::newRow("salle seule")
            << QByteArrayList{"", "", "Gymnase", ""} << QString() << "Gymnase"
            << "Salles : Gymnase";
        QTest::newRow("ponctuation iCalendar")
            << QByteArrayList{"a;b,c\\d", "", "", "fin"} << "a;b,c\\d – fin" << QString()
            << "Classes : a;b,c\\d\nDivers : fin";
        QTest::newRow("caractere de controle")
            << QByteArrayList{"x\x01y", "", "", ""} << "x y" << QString() << "Classes : x y";
    }
    void textes()
    {
        QFETCH(QByteArrayList, textes);
        QFETCH(QString, resume);
        QFETCH(QString, lieu);
        QFETCH(QString, description);
        REdt e;
        e.Semaines[0].Nom = "Semaine \xE9t\xE9, A";
        RSequence s = Seq(H(10), H(11, 30), {});
        for (int g = 0; g < 4; ++g)
            s.Textes.Fixer(std::size_t(g), textes.at(g).toStdString());
        test::Ajouter(e, 1, 0, s);
        const Agenda a = ConstruireAgenda(e, Options(QDate(2024, 9, 2), QDate(2024, 9, 8)));
        const Calendrier c = Relire(a.texte);
        QCOMPARE(c.evenements.size(), 1);
        const Lu& l = c.evenements.first();
        QCOMPARE(l.date, QDate(2024, 9, 3));
        QCOMPARE(l.debut, QTime(10, 0));
        QCOMPARE(l.fin, QTime(11, 30));
        QCOMPARE(l.resume, resume);
        QCOMPARE(l.lieu, lieu);
        QCOMPARE(l.description, description);
        // One category, whose comma does not split it.
        QCOMPARE(l.categorie, QString::fromUtf8("Semaine été‚ A"));
        QVERIFY(Utf8Valide(QByteArray::fromStdString(a.texte)));
    }

    void pliage_data()
    {
        QTest::addColumn<QByteArray>("texte");
        QByteArray accents, mots;
        for (int i = 0; i < 60; ++i)
            accents += "\xE9\xE8\xE0\xE7\x9C"; // é è à ç œ : two UTF-8 bytes each
        for (int i = 0; i < 25; ++i)
            mots += "R\xE9p\xE9tition g\xE9n\xE9rale \x80 ";
        QTest::newRow("accents sans blanc") << accents;
        QTest::newRow("phrase") << mots.trimmed();
        QTest::newRow("ascii") << QByteArray(400, 'x');
    }
    void pliage()
    {
        QFETCH(QByteArray, texte);
        REdt e;
        test::Ajouter(e, 0, 0, Seq(H(8), H(9), {texte.toStdString(), "", "", ""}));
        const Agenda a = ConstruireAgenda(e, Options(QDate(2024, 9, 2), QDate(2024, 9, 2)));
        const QByteArray brut = QByteArray::fromStdString(a.texte);
        QVERIFY(brut.endsWith("\r\n"));
        int suites = 0;
        for (const QByteArray& ligne : brut.chopped(1).split('\n')) {
            QVERIFY2(ligne.endsWith('\r'), ligne.constData());
            const QByteArray l = ligne.chopped(1);
            QVERIFY2(l.size() <= 75, l.constData());
            // Every physical line stands alone as UTF-8: no character cut in two.
            QVERIFY2(Utf8Valide(l), l.constData());
            suites += l.startsWith(' ') ? 1 : 0;
        }
        QVERIFY(suites >= 2 * (texte.size() / 75));
        const Calendrier c = Relire(a.texte);
        QCOMPARE(c.evenements.size(), 1);
        QString original;
        for (unsigned char b : texte)
            original += QChar(b == 0x80 ? 0x20AC : b == 0x9C ? 0x0153 : b);
        QCOMPARE(c.evenements.first().resume, original);
    }

    // Local times with the zone's definition; the offsets the calendar
    // implies are Qt's for that zone and date.
    void fuseau_data()
    {
        QTest::addColumn<QString>("fuseau");
        QTest::addColumn<QDate>("jour");
        QTest::newRow("Paris en ete") << "Europe/Paris" << QDate(2024, 9, 2);
        QTest::newRow("Paris en hiver") << "Europe/Paris" << QDate(2024, 12, 2);
        QTest::newRow("New York, changement d'heure") << "America/New_York" << QDate(2024, 11, 4);
        QTest::newRow("Noumea") << "Pacific/Noumea" << QDate(2025, 3, 3);
    }
    void fuseau()
    {
        QFETCH(QString, fuseau);
        QFETCH(QDate, jour);
        REdt e;
        test::Ajouter(e, jour.dayOfWeek() - 1, 0, Seq(H(8, 15), H(17, 45), {"x", "", "", ""}));
        OptionsAgenda o = Options(jour, jour);
        o.fuseau = fuseau.toStdString();
        const Agenda a = ConstruireAgenda(e, o);
        QVERIFY(!a.fuseauInconnu);
        const Calendrier c = Relire(a.texte);
        QCOMPARE(c.evenements.size(), 1);
        const Lu& l = c.evenements.first();
        QCOMPARE(l.tzid, fuseau);
        QVERIFY(!l.utc);
        QCOMPARE(l.date, jour);
        QCOMPARE(l.debut, QTime(8, 15));
        QCOMPARE(l.fin, QTime(17, 45));

        icalcomponent* vtz =
            icalcomponent_get_first_component(c.cal.get(), ICAL_VTIMEZONE_COMPONENT);
        QVERIFY(vtz);
        QCOMPARE(QString::fromUtf8(icalproperty_get_tzid(
                     icalcomponent_get_first_property(vtz, ICAL_TZID_PROPERTY))),
                 fuseau);
        QVERIFY(!icalcomponent_get_next_component(c.cal.get(), ICAL_VTIMEZONE_COMPONENT));
        // The calendar's own definition turns the local start into the same
        // instant as Qt's zone database.
        icaltimezone* tz = icalcomponent_get_timezone(c.cal.get(), fuseau.toUtf8().constData());
        QVERIFY(tz);
        icalcomponent* ev = icalcomponent_get_first_component(c.cal.get(), ICAL_VEVENT_COMPONENT);
        icaltimetype debut =
            icalproperty_get_dtstart(icalcomponent_get_first_property(ev, ICAL_DTSTART_PROPERTY));
        debut = icaltime_set_timezone(&debut, tz);
        const qint64 instant = qint64(icaltime_as_timet_with_zone(debut, tz));
        const QDateTime attendu(jour, QTime(8, 15), QTimeZone(fuseau.toUtf8()));
        QCOMPARE(instant, attendu.toSecsSinceEpoch());
    }

    // No zone name the calendar knows, a rule or nothing: each time in UTC is
    // the instant of Qt's zone database, across both changes of time.
    void fuseauSansNom_data()
    {
        QTest::addColumn<QString>("regle");
        QTest::addColumn<bool>("nomme");
        QTest::addColumn<QString>("zone");
        QTest::newRow("règle de Paris") << "CET-1CEST,M3.5.0,M10.5.0/3" << true << "Europe/Paris";
        QTest::newRow("rien, New York") << "EST5EDT,M3.2.0,M11.1.0" << false << "America/New_York";
    }
    void fuseauSansNom()
    {
        QFETCH(QString, regle);
        QFETCH(bool, nomme);
        QFETCH(QString, zone);
        qputenv("TZ", regle.toLatin1()); // this process's local zone
        ::tzset();
        OptionsAgenda o = Options(QDate(2025, 3, 3), QDate(2025, 11, 9));
        o.fuseau = nomme ? regle.toStdString() : std::string();
        const Agenda a = ConstruireAgenda(Rotation(1), o);
        QVERIFY(!a.fuseauInconnu);
        const Calendrier c = Relire(a.texte);
        QCOMPARE(c.evenements.size(), 252);
        for (const Lu& l : c.evenements)
            QCOMPARE(QDateTime(l.date, l.debut, QTimeZone::utc()),
                     QDateTime(l.date, QTime(8, 0), QTimeZone(zone.toLatin1())).toUTC());
    }

    void fuseauUtc_data()
    {
        QTest::addColumn<QString>("fuseau");
        QTest::addColumn<bool>("inconnu");
        QTest::newRow("UTC") << "UTC" << false;
        QTest::newRow("Etc/UTC") << "Etc/UTC" << false;
        QTest::newRow("aucun") << "" << true;
        QTest::newRow("inconnu") << "Mars/Olympus_Mons" << true;
    }
    void fuseauUtc()
    {
        QFETCH(QString, fuseau);
        QFETCH(bool, inconnu);
        REdt e;
        test::Ajouter(e, 0, 0, Seq(H(8), H(9), {"x", "", "", ""}));
        OptionsAgenda o = Options(QDate(2024, 9, 2), QDate(2024, 9, 2));
        o.fuseau = fuseau.toStdString();
        qputenv("TZ", "UTC0");
        ::tzset();
        const Agenda a = ConstruireAgenda(e, o);
        QCOMPARE(a.fuseauInconnu, inconnu);
        const Calendrier c = Relire(a.texte);
        QCOMPARE(c.evenements.size(), 1);
        QVERIFY(c.evenements.first().utc);
        QVERIFY(c.evenements.first().tzid.isEmpty());
        QCOMPARE(c.evenements.first().debut, QTime(8, 0));
        QVERIFY(!icalcomponent_get_first_component(c.cal.get(), ICAL_VTIMEZONE_COMPONENT));
    }

    // Distinct within a file, the same from one export to the next, their own
    // for another timetable.
    void identifiants()
    {
        const REdt e = Rotation(3);
        OptionsAgenda o = Options(QDate(2024, 9, 2), QDate(2024, 12, 20));
        const Calendrier c1 = Relire(ConstruireAgenda(e, o).texte);
        const Calendrier c2 = Relire(ConstruireAgenda(e, o).texte);
        REdt autre = e;
        autre.Titre = "Autre classe";
        const Calendrier c3 = Relire(ConstruireAgenda(autre, o).texte);
        QSet<QString> uids, autres;
        QStringList l1, l2;
        for (const Lu& l : c1.evenements) {
            QVERIFY(!l.uid.isEmpty());
            uids.insert(l.uid);
            l1 << l.uid;
        }
        for (const Lu& l : c2.evenements)
            l2 << l.uid;
        for (const Lu& l : c3.evenements)
            autres.insert(l.uid);
        QVERIFY(c1.evenements.size() > 50);
        QCOMPARE(uids.size(), c1.evenements.size());
        QCOMPARE(l2, l1);
        QVERIFY(!uids.intersects(autres));
    }

    // Two sequences of the same day share a date and a type: the UID must
    // still tell them apart.
    void identifiantsMemeJour()
    {
        REdt e;
        test::Ajouter(e, 0, 0, Seq(H(8), H(9), {"a", "", "", ""}));
        test::Ajouter(e, 0, 0, Seq(H(8), H(9), {"a", "", "", ""}));
        const Calendrier c =
            Relire(ConstruireAgenda(e, Options(QDate(2024, 9, 2), QDate(2024, 9, 2))).texte);
        QCOMPARE(c.evenements.size(), 2);
        QVERIFY(c.evenements[0].uid != c.evenements[1].uid);
    }

    // A sequence whose end is not after its start, or without any text, is
    // not an event; the first is named once however many dates it had.
    void ecartees_data()
    {
        QTest::addColumn<int>("debut");
        QTest::addColumn<int>("fin");
        QTest::addColumn<QByteArray>("texte");
        QTest::addColumn<bool>("ecartee");
        QTest::addColumn<bool>("exportee");
        QTest::newRow("fin avant debut") << 600 << 540 << QByteArray("x") << true << false;
        QTest::newRow("duree nulle") << 600 << 600 << QByteArray("x") << true << false;
        QTest::newRow("une minute") << 600 << 601 << QByteArray("x") << false << true;
        QTest::newRow("sans texte, fin avant debut")
            << 600 << 540 << QByteArray() << false << false;
        QTest::newRow("sans texte") << 600 << 660 << QByteArray() << false << false;
    }
    void ecartees()
    {
        QFETCH(int, debut);
        QFETCH(int, fin);
        QFETCH(QByteArray, texte);
        QFETCH(bool, ecartee);
        QFETCH(bool, exportee);
        REdt e;
        test::Ajouter(e, 3, 0, Seq(H(7), H(8), {"avant", "", "", ""}));
        test::Ajouter(e, 3, 0,
                      Seq(H(debut / 60, debut % 60), H(fin / 60, fin % 60),
                          {texte.toStdString(), "", "", ""}));
        const Agenda a = ConstruireAgenda(e, Options(QDate(2024, 9, 2), QDate(2024, 9, 29)));
        QCOMPARE(a.evenements, std::size_t(exportee ? 8 : 4));
        QCOMPARE(int(a.ecartees.size()), ecartee ? 1 : 0);
        if (ecartee) {
            QCOMPARE(a.ecartees[0].jour, 3);
            QCOMPARE(a.ecartees[0].semaine, 0);
            QCOMPARE(a.ecartees[0].indice, std::size_t(1));
            const QString t = QString::fromStdString(TexteEcartee(e, a.ecartees[0]));
            QVERIFY2(t.contains(QString::fromUtf8("Jeudi, Sem 1, ligne 2")), qPrintable(t));
        }
    }

    void refus_data()
    {
        QTest::addColumn<QString>("du");
        QTest::addColumn<QString>("au");
        QTest::addColumn<int>("premiere");
        QTest::addColumn<QString>("message");
        QTest::newRow("au avant du") << "2024-09-10"
                                     << "2024-09-09" << 1
                                     << QString::fromUtf8("Le dernier jour (2024-09-09) précède "
                                                          "le premier jour (2024-09-10).");
        QTest::newRow("type 0") << "2024-09-02"
                                << "2024-09-09" << 0
                                << QString::fromUtf8("Le type de la première semaine doit être "
                                                     "entre 1 et 2.");
        QTest::newRow("type 3 sur 2") << "2024-09-02"
                                      << "2024-09-09" << 3
                                      << QString::fromUtf8("Le type de la première semaine doit "
                                                           "être entre 1 et 2.");
        QTest::newRow("trois ans jusqu'au dernier jour possible") << "2035-01-01"
                                                                  << "2037-12-31" << 1 << QString();
        QTest::newRow("un seul jour, type 2") << "2024-09-02"
                                              << "2024-09-02" << 2 << QString();
    }
    void refus()
    {
        QFETCH(QString, du);
        QFETCH(QString, au);
        QFETCH(int, premiere);
        QFETCH(QString, message);
        const REdt e = Rotation(2);
        OptionsAgenda o =
            Options(QDate::fromString(du, Qt::ISODate), QDate::fromString(au, Qt::ISODate));
        o.premiereSemaine = premiere;
        QCOMPARE(QString::fromStdString(VerifierOptions(e, o)), message);
        if (message.isEmpty()) {
            QCOMPARE(ConstruireAgenda(e, o).evenements,
                     std::size_t(JourSerie(o.au) - JourSerie(o.du) + 1));
            return;
        }
        try {
            ConstruireAgenda(e, o);
            QFAIL("refus attendu");
        } catch (const ErreurHoraku& x) {
            QCOMPARE(QString::fromStdString(x.what()), message);
        }
    }

    // The file is written whole, or not at all.
    void ecriture()
    {
        QTemporaryDir dossier;
        const REdt e = Rotation(2);
        const OptionsAgenda o = Options(QDate(2024, 9, 2), QDate(2024, 9, 8));
        const std::string chemin = dossier.filePath(QStringLiteral("edt.ics")).toStdString();
        const Agenda a = ExporterAgenda(e, o, chemin);
        QFile f(QString::fromStdString(chemin));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const Calendrier c = Relire(f.readAll().toStdString());
        QCOMPARE(std::size_t(c.evenements.size()), a.evenements);
        QVERIFY_THROWS_EXCEPTION(
            ErreurHoraku,
            ExporterAgenda(e, o, dossier.filePath(QStringLiteral("absent/edt.ics")).toStdString()));
    }
};

QTEST_GUILESS_MAIN(TstAgenda)
#include "tst_agenda.moc"
