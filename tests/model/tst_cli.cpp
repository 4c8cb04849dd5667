// horaku-cli, lancé comme le ferait un script : codes de sortie, messages
// exacts sur la sortie d'erreur, document JSON de « verifier ».
#include "classesedt.h"
#include "cli_test.h"
#include "edt_test.h"
#include "outils_edt.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace horaku;

namespace
{

using Resultat = test::ResultatCli;

Resultat Lancer(const QStringList& arguments)
{
    return test::LancerCli(arguments);
}

QByteArray Contenu(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

void Ecrire(const QString& chemin, const QByteArray& contenu)
{
    QFile f(chemin);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(contenu);
}

QByteArray Defaut()
{
    return QByteArray::fromStdString(EcrireEdt(REdt()));
}

// Le fichier par défaut dont la ligne `numero` (à partir de 1) est remplacée.
QByteArray Modifie(int numero, const QByteArray& valeur, int garder = -1)
{
    std::vector<std::string> lignes = outils::Lignes(EcrireEdt(REdt()));
    if (numero > 0) lignes[std::size_t(numero - 1)] = valeur.toStdString();
    if (garder >= 0) lignes.resize(std::size_t(garder));
    return QByteArray::fromStdString(outils::Joindre(lignes));
}

QStringList Cles(const QJsonObject& o)
{
    QStringList c = o.keys();
    c.sort();
    return c;
}

QStringList Triees(QStringList l)
{
    l.sort();
    return l;
}

} // namespace

class TstCli : public QObject
{
    Q_OBJECT

    QTemporaryDir dossier_;

    QString chemin(const QString& nom) const { return dossier_.filePath(nom); }

    QJsonObject verifier(const QByteArray& contenu)
    {
        const QString f = chemin("verifie.edt");
        Ecrire(f, contenu);
        const Resultat r = Lancer({"verifier", f});
        if (r.code != 0 || !r.erreur.isEmpty()) qWarning() << "verifier :" << r.code << r.erreur;
        QJsonParseError e{};
        const QJsonDocument d = QJsonDocument::fromJson(r.sortie, &e);
        if (e.error != QJsonParseError::NoError) qWarning() << "JSON :" << e.errorString();
        return d.object();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dossier_.isValid());
        QVERIFY2(QFileInfo::exists(QStringLiteral(HORAKU_BIN "/horaku-cli")),
                 "horaku-cli n'est pas construit");
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("aucun argument") << QStringList();
        QTest::newRow("commande inconnue") << QStringList{"ouvrir", "x.edt"};
        QTest::newRow("nouveau sans fichier") << QStringList{"nouveau"};
        QTest::newRow("nouveau avec deux fichiers") << QStringList{"nouveau", "a.edt", "b.edt"};
        QTest::newRow("verifier sans fichier") << QStringList{"verifier"};
        QTest::newRow("reecrire avec un fichier") << QStringList{"reecrire", "a.edt"};
        QTest::newRow("reecrire avec trois fichiers") << QStringList{"reecrire", "a", "b", "c"};
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        const Resultat r = Lancer(arguments);
        QCOMPARE(r.code, 2);
        QVERIFY(r.sortie.isEmpty());
        QVERIFY(r.erreur.startsWith("usage :\n"));
        QVERIFY(r.erreur.contains("horaku-cli nouveau SORTIE.edt\n"));
        QVERIFY(r.erreur.contains("horaku-cli verifier ENTREE.edt\n"));
        QVERIFY(r.erreur.contains("horaku-cli reecrire ENTREE.edt SORTIE.edt\n"));
    }

    void nouveau()
    {
        const QString f = chemin("nouveau.edt");
        const Resultat r = Lancer({"nouveau", f});
        QCOMPARE(r.code, 0);
        QVERIFY(r.sortie.isEmpty());
        QVERIFY(r.erreur.isEmpty());
        const QByteArray c = Contenu(f);
        QCOMPARE(c.count("\r\n"), 109);
        QCOMPARE(c.count('\n'), 109);
        QCOMPARE(c.count('\r'), 109);
        QVERIFY(c.startsWith("Horaku 2.0a\r\n## Ne pas modifier ce fichier ! ##\r\n"));
        QVERIFY(c.endsWith("\r\n60\r\n"));
        QCOMPARE(c, Defaut());
    }

    void reecrireMemesOctets_data()
    {
        QTest::addColumn<QByteArray>("contenu");
        QTest::newRow("défaut") << Defaut();
        for (unsigned g = 1; g <= 6; ++g)
            QTest::newRow(qPrintable(QStringLiteral("varié %1").arg(g)))
                << QByteArray::fromStdString(EcrireEdt(outils::EdtVarie(g, int(g * 3), 5)));
    }
    void reecrireMemesOctets()
    {
        QFETCH(QByteArray, contenu);
        const QString entree = chemin("entree.edt");
        const QString sortie = chemin("sortie.edt");
        Ecrire(entree, contenu);
        QFile::remove(sortie);
        const Resultat r = Lancer({"reecrire", entree, sortie});
        QCOMPARE(r.code, 0);
        QVERIFY(r.sortie.isEmpty());
        QVERIFY(r.erreur.isEmpty());
        QCOMPARE(Contenu(sortie), contenu);
        // Réécrire un fichier sur lui-même.
        QCOMPARE(Lancer({"reecrire", entree, entree}).code, 0);
        QCOMPARE(Contenu(entree), contenu);
    }

    void jsonCles()
    {
        const QJsonObject o = verifier(Defaut());
        QCOMPARE(Cles(o), Triees({"titre", "motDePasse", "reserve1", "semaines", "libelles",
                                  "dureeSeq", "marge", "retrait", "affichNom", "affichContour",
                                  "reserve2", "affichJours", "affichHeures", "heureAffichJours",
                                  "listesDonnees", "jours", "heureLarg"}));
        QCOMPARE(o["semaines"].toArray().size(), 1);
        QCOMPARE(Cles(o["semaines"][0].toObject()), Triees({"nom", "couleur"}));
        QCOMPARE(o["libelles"].toArray().size(), 9);
        QCOMPARE(Cles(o["libelles"][0].toObject()), Triees({"libelle", "exemple", "police"}));
        QCOMPARE(
            Cles(o["libelles"][0]["police"].toObject()),
            Triees({"nom", "taille", "couleur", "gras", "italique", "souligne", "barre", "jeu"}));
        QCOMPARE(o["listesDonnees"].toArray().size(), 4);
        QCOMPARE(o["jours"].toArray().size(), 7);
        QCOMPARE(Cles(o["jours"][0].toObject()), Triees({"affiche", "parSemaine"}));
        QCOMPARE(o["jours"][0]["parSemaine"].toArray().size(), 1);
        QVERIFY(o["jours"][0]["parSemaine"][0].isArray());

        QCOMPARE(o["titre"].toString(), QString());
        QCOMPARE(o["reserve1"].toInt(-1), 0);
        QCOMPARE(o["semaines"][0]["nom"].toString(), "Sem 1");
        QCOMPARE(o["semaines"][0]["couleur"].toInteger(), 16776960);
        QCOMPARE(o["libelles"][7]["exemple"].toString(), "Inutilisé");
        QCOMPARE(o["libelles"][1]["police"]["nom"].toString(), "Arial");
        QCOMPARE(o["libelles"][1]["police"]["taille"].toInt(), 9);
        QCOMPARE(o["libelles"][1]["police"]["jeu"].toInt(), 1);
        QVERIFY(o["libelles"][1]["police"]["gras"].isBool());
        QCOMPARE(o["dureeSeq"].toInteger(), 55);
        QCOMPARE(o["marge"].toInt(), 1);
        QCOMPARE(o["retrait"].toInt(), 1);
        QVERIFY(o["affichNom"].isBool() && !o["affichNom"].toBool());
        QCOMPARE(o["heureAffichJours"].toString(), "00:00:00");
        QVERIFY(o["jours"][3]["affiche"].toBool());
        QCOMPARE(o["heureLarg"].toInt(), 60);
    }

    // Les cas limites du format, vus à travers verifier.
    void casLimites()
    {
        const QJsonObject police8 =
            verifier(Modifie(68, "Courier"))["libelles"][8]["police"].toObject();
        QCOMPARE(police8["nom"].toString(), "Times New Roman");
        QCOMPARE(police8["taille"].toInt(), 8);
        QCOMPARE(police8["couleur"].toInteger(), 0xFF0000);

        const QJsonObject italique =
            verifier(Modifie(22, "0100"))["libelles"][1]["police"].toObject();
        QVERIFY(!italique["gras"].toBool() && italique["italique"].toBool());
        QVERIFY(!italique["souligne"].toBool() && !italique["barre"].toBool());
        const QJsonObject gras = verifier(Modifie(22, "1"))["libelles"][1]["police"].toObject();
        QVERIFY(gras["gras"].toBool() && !gras["italique"].toBool());

        QCOMPARE(verifier(Modifie(73, "0"))["dureeSeq"].toInteger(), 1);
        QCOMPARE(verifier(Modifie(82, "01/01/2000 18:30:00"))["heureAffichJours"].toString(),
                 "18:30:00");
        QCOMPARE(verifier(Modifie(2, "autre en-tête"))["titre"].toString(), QString());
        QCOMPARE(verifier(Modifie(3, "\xE9t\xE9 \x80 \x9C"))["titre"].toString(), "été € œ");
        QCOMPARE(verifier(Modifie(4, "a\"b\\c\td"))["motDePasse"].toString(), "a\"b\\c\td");
        QVERIFY(!verifier(Modifie(97, "0"))["jours"][1]["affiche"].toBool());

        REdt e;
        e.Semaines = {{"A", 1}, {"B", 2}, {"C", 3}};
        e.AjusterSemaines();
        auto& seqs = e.Jours[1].ParSemaine[1].Sequences;
        seqs.resize(2);
        seqs[0].Debut = EncoderHeure(8, 0);
        seqs[0].Fin = EncoderHeure(8, 55);
        seqs[0].Textes = {"6A", "", "S12", "\xC9PS"};
        const QJsonObject o = verifier(QByteArray::fromStdString(EcrireEdt(e)));
        const QJsonArray mardi = o["jours"][1]["parSemaine"].toArray();
        QCOMPARE(mardi.size(), 3);
        QCOMPARE(mardi[0].toArray().size(), 0);
        QCOMPARE(mardi[1].toArray().size(), 2);
        QCOMPARE(mardi[2].toArray().size(), 0);
        const QJsonObject s = mardi[1][0].toObject();
        QCOMPARE(Cles(s), Triees({"debut", "fin", "textes"}));
        QCOMPARE(s["debut"].toString(), "08:00:00");
        QCOMPARE(s["fin"].toString(), "08:55:00");
        QCOMPARE(s["textes"].toArray(), (QJsonArray{"6A", "", "S12", "ÉPS"}));
        QCOMPARE(mardi[1][1]["debut"].toString(), "00:00:00");
        QCOMPARE(o["jours"][0]["parSemaine"].toArray().size(), 3);
    }

    void erreurs_data()
    {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("fichier absent")
            << QByteArray() << QByteArray("Indice de liste hors limites (0)");
        QTest::newRow("fichier vide")
            << QByteArray("") << QByteArray("Indice de liste hors limites (0)");
        QTest::newRow("version") << Modifie(1, "Horaku 2.0")
                                 << QByteArray("Fichier Horaku : version incorrecte.");
        QTest::newRow("entier") << Modifie(5, "abc")
                                << QByteArray("'abc' n'est pas une valeur entière correcte");
        QTest::newRow("entier accentué")
            << Modifie(5, "\xE9") << QByteArray("'é' n'est pas une valeur entière correcte");
        QTest::newRow("zéro dans un entier")
            << Modifie(5, QByteArray("1\0x", 3))
            << QByteArray("'1␀x' n'est pas une valeur entière correcte");
        QTest::newRow("heure") << Modifie(82, "8h30")
                               << QByteArray(
                                      "'8h30' ne correspond pas à une date et une heure correctes");
        QTest::newRow("fichier court")
            << Modifie(0, "", 100) << QByteArray("Indice de liste hors limites (100)");
        QTest::newRow("compte absurde")
            << Modifie(6, "2000000000") << QByteArray("Indice de liste hors limites (109)");
        QTest::newRow("séquences absurdes")
            << Modifie(96, "2147483647") << QByteArray("Indice de liste hors limites (109)");
        QTest::newRow("aucune semaine")
            << Modifie(6, "0")
            << QByteArray("Fichier Horaku incorrect : la ligne 6 n'annonce aucun type de semaine.");
        QTest::newRow("compte négatif")
            << Modifie(90, "-1")
            << QByteArray("Fichier Horaku incorrect : la ligne 90 donne un nombre négatif (-1).");
        QTest::newRow("huit polices")
            << Modifie(9, "8")
            << QByteArray("Fichier Horaku incorrect : la ligne 9 annonce 8 polices au lieu de 9.");
        QTest::newRow("six jours")
            << Modifie(94, "6")
            << QByteArray("Fichier Horaku incorrect : la ligne 94 annonce 6 jours au lieu de 7.");
    }
    void erreurs()
    {
        QFETCH(QByteArray, contenu);
        QFETCH(QByteArray, message);
        const QString entree = chemin("mauvais.edt");
        QFile::remove(entree);
        if (!contenu.isNull()) Ecrire(entree, contenu);
        const Resultat v = Lancer({"verifier", entree});
        QCOMPARE(v.code, 1);
        QVERIFY(v.sortie.isEmpty());
        QCOMPARE(v.erreur, message + "\n");
        // reecrire échoue de même et n'écrit rien.
        const QString sortie = chemin("jamais.edt");
        const Resultat r = Lancer({"reecrire", entree, sortie});
        QCOMPARE(r.code, 1);
        QCOMPARE(r.erreur, message + "\n");
        QVERIFY(!QFileInfo::exists(sortie));
    }

    // Every refusal of a command that would lie or destroy: its exit code, the
    // one line naming the cause, the timetable read left as it was.  %1 is
    // the test's folder, where a.edt has a second name and neighbours.
    void refus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const auto cal = [](const char* du, const char* au, const char* sortie = "%1/x.ics") {
            return QStringList{"calendrier", "%1/a.edt", sortie, "--du", du, "--au", au};
        };
        const QString creer = QStringLiteral("Impossible de créer le fichier %1/");
        const QString lu = QStringLiteral(" C'est le fichier lu : choisissez un autre nom pour le "
                                          "fichier écrit.");
        QTest::newRow("calendrier sur lui-même")
            << cal("2025-10-01", "2025-10-31", "%1/a.edt") << 1 << creer + "a.edt" + lu;
        QTest::newRow("image par un second nom")
            << QStringList{"image", "%1/a.edt", "%1/d.png"} << 1 << creer + "d.png" + lu;
        QTest::newRow("an 3001") << cal("3001-01-01", "3001-01-07") << 2
                                 << QStringLiteral("La date 3001-01-01 est hors des dates qu'un "
                                                   "agenda peut recevoir (du 2000-01-01 au "
                                                   "2037-12-31).");
        QTest::newRow("vingt ans") << cal("2005-09-01", "2025-08-31") << 2
                                   << QStringLiteral("La période du 2005-09-01 au 2025-08-31 "
                                                     "compte 7305 jours : un agenda en couvre au "
                                                     "plus 1096 (trois ans), exportez-la en "
                                                     "plusieurs fois.");
        for (const char* nom : {"%1/dossier.edt", "%1/tube.edt", "/dev/zero"})
            QTest::newRow(nom) << QStringList{"verifier", nom} << 1
                               << QStringLiteral("Impossible d'ouvrir le fichier ") + nom;
        QTest::newRow("lien vers rien")
            << QStringList{"reecrire", "%1/a.edt", "%1/casse.edt"} << 1
            << creer + "casse.edt Le lien symbolique mène à un fichier qui n'existe pas.";
        QTest::newRow("marge") << QStringList{"image", "%1/marge.edt", "%1/x.png"} << 1
                               << QStringLiteral("Rien à dessiner : la marge (-1000000) ne laisse "
                                                 "aucune place à l'image.");
        QTest::newRow("terminal, ligne")
            << QStringList{"verifier", "%1/hostile.edt"} << 1
            << QStringLiteral("'␛]0;x␇␛[2J␡\uFFFD' n'est pas une valeur entière correcte");
        QTest::newRow("terminal, nom") << QStringList{"nouveau", "%1/rien/\x1b[2J\n.edt"} << 1
                                       << creer + "rien/␛[2J␊.edt Dossier introuvable.";
    }
    void refus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, code);
        QFETCH(QString, message);
        QTemporaryDir d;
        const auto nom = [&](const char* n) { return QFile::encodeName(d.filePath(n)); };
        Ecrire(d.filePath("a.edt"), Defaut());
        REdt e;
        e.Marge = -1000000;
        e.Jours[0].ParSemaine[0].Sequences.resize(1, test::Seq(0.3, 0.4, {"6e", "", "", ""}));
        Ecrire(d.filePath("marge.edt"), QByteArray::fromStdString(EcrireEdt(e)));
        Ecrire(d.filePath("hostile.edt"), Modifie(5, "\x1b]0;x\x07\x1b[2J\x7F\x9D"));
        QVERIFY(::link(nom("a.edt"), nom("d.png")) == 0);
        QVERIFY(::symlink(nom("rien"), nom("casse.edt")) == 0 &&
                ::mkfifo(nom("tube.edt"), 0644) == 0);
        QVERIFY(QDir(d.path()).mkdir("dossier.edt"));
        const QStringList avant = QDir(d.path()).entryList(QDir::AllEntries | QDir::Hidden);
        for (QString& a : arguments)
            a.replace(QStringLiteral("%1"), d.path());
        const Resultat r = Lancer(arguments);
        QCOMPARE(r.code, code);
        QCOMPARE(QString::fromUtf8(r.erreur), message.replace("%1", d.path()) + QLatin1Char('\n'));
        QCOMPARE(Contenu(d.filePath("a.edt")), Defaut());
        QCOMPARE(QDir(d.path()).entryList(QDir::AllEntries | QDir::Hidden), avant);
    }

    void ecritureImpossible_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("cause");
        QTest::newRow("dossier absent") << "absent/x.edt"
                                        << "Dossier introuvable.";
        QTest::newRow("la sortie est un dossier") << "un dossier"
                                                  << "Le nom désigne un dossier.";
    }
    // Le message et sa cause, sur une seule ligne.
    void ecritureImpossible()
    {
        QFETCH(QString, nom);
        QFETCH(QString, cause);
        QDir(dossier_.path()).mkdir("un dossier");
        const QString sortie = chemin(nom);
        const Resultat n = Lancer({"nouveau", sortie});
        QCOMPARE(n.code, 1);
        QVERIFY(n.sortie.isEmpty());
        QCOMPARE(QString::fromUtf8(n.erreur),
                 "Impossible de créer le fichier " + sortie + " " + cause + "\n");
        const QString entree = chemin("bon.edt");
        Ecrire(entree, Defaut());
        const Resultat r = Lancer({"reecrire", entree, sortie});
        QCOMPARE(r.code, 1);
        QCOMPARE(QString::fromUtf8(r.erreur),
                 "Impossible de créer le fichier " + sortie + " " + cause + "\n");
    }
};

QTEST_GUILESS_MAIN(TstCli)
#include "tst_cli.moc"
