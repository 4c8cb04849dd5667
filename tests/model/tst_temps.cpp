// Textes des heures et des dates, dans les deux sens, avec les réglages
// régionaux français fixes du fichier.
#include "temps.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace horaku;

namespace
{

double Hms(int h, int m, int s = 0)
{
    return (h * 3600.0 + m * 60.0 + s) / 86400.0;
}

} // namespace

class TstTemps : public QObject
{
    Q_OBJECT

private slots:
    void ecriture_data()
    {
        QTest::addColumn<double>("valeur");
        QTest::addColumn<QString>("texte");
        QTest::newRow("minuit") << 0.0 << "00:00:00";
        QTest::newRow("huit heures trente") << Hms(8, 30) << "08:30:00";
        QTest::newRow("un cheveu sous 08:30") << Hms(8, 30) - 1e-12 << "08:30:00";
        QTest::newRow("0,4 ms sous 08:30") << Hms(8, 30) - 0.0004 / 86400 << "08:30:00";
        QTest::newRow("999 ms reste 08:29:59") << Hms(8, 29, 59) + 0.999 / 86400 << "08:29:59";
        QTest::newRow("secondes") << Hms(17, 5, 9) << "17:05:09";
        QTest::newRow("jour 1") << 1.0 << "31/12/1899";
        QTest::newRow("jour 2") << 2.0 << "01/01/1900";
        QTest::newRow("29 février 2000") << 36585.0 << "29/02/2000";
        QTest::newRow("date et heure") << 36526.75 << "01/01/2000 18:00:00";
        QTest::newRow("arrondi au jour suivant") << 1.0 - 0.0001 / 86400 << "31/12/1899";
        QTest::newRow("avant le jour 0") << -1.25 << "29/12/1899 06:00:00";
        QTest::newRow("jour -1 entier") << -1.0 << "29/12/1899 00:00:00";
        QTest::newRow("fraction négative") << -0.25 << "06:00:00";
        QTest::newRow("au-delà de l'an 9999") << 1e300 << "31/12/9999 23:59:59";
        QTest::newRow("en deçà de l'an 1") << -1e300 << "01/01/0001 23:59:59";
        QTest::newRow("infini") << std::numeric_limits<double>::infinity() << "00:00:00";
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << "00:00:00";
    }
    void ecriture()
    {
        QFETCH(double, valeur);
        QFETCH(QString, texte);
        QCOMPARE(QString::fromStdString(TempsVersTexte(valeur)), texte);
        // Tout ce qui s'écrit se relit.
        QVERIFY(TexteVersTemps(TempsVersTexte(valeur)).has_value());
    }

    void lecture_data()
    {
        QTest::addColumn<QString>("texte");
        QTest::addColumn<double>("valeur");
        QTest::newRow("forme longue") << "08:30:00" << Hms(8, 30);
        QTest::newRow("heure à un chiffre") << "8:30" << Hms(8, 30);
        QTest::newRow("heure à un chiffre et secondes") << "8:30:00" << Hms(8, 30);
        QTest::newRow("sans secondes") << "17:45" << Hms(17, 45);
        QTest::newRow("blancs autour") << " 08:30:00 " << Hms(8, 30);
        QTest::newRow("jour 0") << "30/12/1899" << 0.0;
        QTest::newRow("jour 1") << "31/12/1899" << 1.0;
        QTest::newRow("jour et mois à un chiffre") << "1/1/1900" << 2.0;
        QTest::newRow("date et heure") << "01/01/2000 18:00:00" << 36526.75;
        QTest::newRow("date et heure courte") << "01/01/2000 6:00" << 36526.25;
        QTest::newRow("avant le jour 0") << "29/12/1899 06:00:00" << -1.25;
        QTest::newRow("29 février bissextile") << "29/02/2000" << 36585.0;
        QTest::newRow("première date") << "01/01/0001" << -693593.0;
        QTest::newRow("dernière date") << "31/12/9999" << 2958465.0;
    }
    void lecture()
    {
        QFETCH(QString, texte);
        QFETCH(double, valeur);
        const auto t = TexteVersTemps(texte.toStdString());
        QVERIFY(t.has_value());
        QCOMPARE(*t, valeur);
    }

    void rejets_data()
    {
        QTest::addColumn<QString>("texte");
        for (const char* t : {"",
                              " ",
                              "abc",
                              "8",
                              "8:",
                              "8:30:",
                              "24:00:00",
                              "08:60",
                              "08:30:60",
                              "123:00",
                              "08:30:00.5",
                              "08:30:00 x",
                              "+8:30",
                              "-8:30",
                              "08h30",
                              "31/02/2000",
                              "29/02/1900",
                              "00/01/2000",
                              "01/00/2000",
                              "01/13/2000",
                              "01/01/00",
                              "01/01/20000",
                              "01/01/2000x",
                              "01/01/2000 25:00",
                              "29/02/1900 08:00:00",
                              "31/04/2000 08:00:00",
                              "01/01/2000 08",
                              "01-01-2000",
                              "01/01/0000",
                              "1e3"})
            QTest::newRow(*t ? t : "vide") << QString::fromLatin1(t);
    }
    void rejets()
    {
        QFETCH(QString, texte);
        QVERIFY(!TexteVersTemps(texte.toStdString()).has_value());
    }

    // Le lecteur des fichiers, qui se souvient du dernier texte et de la
    // dernière date, répond toujours comme TexteVersTemps, à l'octet près.
    void lecteurTemps()
    {
        LecteurTemps lecteur;
        for (const QString& texte :
             QStringLiteral("08:30:00|08:30:00|08:55:00|29/12/1899 06:00:00|29/12/1899 07:00:00|"
                            "29/12/1899 07:00:00|29/12/1899 25:00:00|29/12/1899  7:00:00|"
                            "29/12/1899 07:0x:00|29/12/1899 07:00:00|31/12/1899 00:10:00|"
                            "31/12/1899 00:10:00|08:30:00|31/12/1899 23:59:59|30/02/2000 08:00:00|"
                            "29/02/2000 08:00:00|29/02/2000 09:00:00|8:30|24:00:00|24:00:00|"
                            "31/12/9999 23:59:59|01/01/0001 00:00:01|01/01/0001 00:00:01")
                 .split('|')) {
            const std::string t = texte.toStdString();
            const auto vrai = TexteVersTemps(t);
            TDateTime lu = -7;
            QVERIFY2(lecteur.Lire(t, lu) == vrai.has_value() && lu == vrai.value_or(-7), t.data());
        }
    }

    // Chaque seconde de la journée, construite de deux façons, s'écrit avec
    // ses propres chiffres et se relit à l'identique.
    void toutesLesSecondes()
    {
        for (int s = 0; s < 86400; ++s) {
            const int h = s / 3600, m = s / 60 % 60, se = s % 60;
            char attendu[16];
            std::snprintf(attendu, sizeof attendu, "%02d:%02d:%02d", h, m, se);
            for (double t : {EncoderHeure(h, m, se), s / 86400.0}) {
                const std::string texte = TempsVersTexte(t);
                if (texte != attendu)
                    QFAIL(
                        qPrintable(QStringLiteral("%1 écrit %2").arg(attendu).arg(texte.c_str())));
                const auto relu = TexteVersTemps(texte);
                QVERIFY(relu.has_value());
                QCOMPARE(TempsVersTexte(*relu), texte);
                QCOMPARE(*relu, EncoderHeure(h, m, se));
            }
        }
    }

    // Ajouter des minutes une à une, comme le fait l'ajout de séquences,
    // tombe toujours sur des minutes rondes.
    void minutesAjoutees()
    {
        double t = 0;
        for (int m = 1; m < 1440; ++m) {
            t = AjouterMinutes(t, 1);
            char attendu[16];
            std::snprintf(attendu, sizeof attendu, "%02d:%02d:00", m / 60, m % 60);
            QCOMPARE(TempsVersTexte(t), std::string(attendu));
            QCOMPARE(Minutes(t), m);
        }
        QCOMPARE(TempsVersTexte(AjouterMinutes(t, 1)), std::string("31/12/1899"));
        QCOMPARE(TempsVersTexte(AjouterMinutes(Hms(8, 0), 55)), std::string("08:55:00"));
        QCOMPARE(TempsVersTexte(AjouterMinutes(Hms(23, 30), 60)),
                 std::string("31/12/1899 00:30:00"));
    }

    void minutes_data()
    {
        QTest::addColumn<double>("valeur");
        QTest::addColumn<int>("minutes");
        QTest::newRow("08:30") << Hms(8, 30) << 510;
        QTest::newRow("secondes ignorées") << Hms(8, 30, 59) << 510;
        QTest::newRow("arrondi à la milliseconde") << Hms(8, 30) - 1e-12 << 510;
        QTest::newRow("avec une date") << 36526.75 << 1080;
        QTest::newRow("avant le jour 0") << -1.25 << 360;
    }
    void minutes()
    {
        QFETCH(double, valeur);
        QFETCH(int, minutes);
        QCOMPARE(Minutes(valeur), minutes);
    }

    void heureDuJour_data()
    {
        QTest::addColumn<double>("valeur");
        QTest::addColumn<double>("heure");
        QTest::newRow("heure seule") << Hms(10, 15) << Hms(10, 15);
        QTest::newRow("date et heure") << 36526.75 << 0.75;
        QTest::newRow("avant le jour 0") << -1.25 << 0.25;
        QTest::newRow("un cheveu sous minuit") << 1.0 - 1e-12 << 0.0;
    }
    void heureDuJour()
    {
        QFETCH(double, valeur);
        QFETCH(double, heure);
        const double h = HeureDuJour(valeur);
        QVERIFY(h >= 0 && h < 1);
        QVERIFY2(std::fabs(h - heure) < 1e-9, qPrintable(QString::number(h, 'g', 17)));
    }

    void heureMinute()
    {
        QCOMPARE(HeureMinuteVersTexte(Hms(10, 30)), std::string("10:30"));
        QCOMPARE(HeureMinuteVersTexte(Hms(7, 5, 59)), std::string("07:05"));
        QCOMPARE(HeureMinuteVersTexte(36526.75), std::string("18:00"));
    }
};

QTEST_GUILESS_MAIN(TstTemps)
#include "tst_temps.moc"
