// Une image refusée comme trop grande nomme ce qui la rend trop grande : la
// largeur d'une heure garde son message, le titre, le nombre de types de
// semaine, la marge, l'espace intérieur et les polices ont le leur.
#include "dessin.h"
#include "edt_test.h"
#include "erreurs.h"
#include "exportation.h"
#include "tropgrand.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace horaku;
using namespace horaku::test;

namespace
{

REdt Exemple()
{
    REdt e = EdtNu(2, 1, 60);
    e.Semaines = {RSemaine{"A", 0x80FFFF}, RSemaine{"B", 0xFFC0C0}};
    e.AjusterSemaines();
    for (int j = 0; j < 5; ++j)
        Ajouter(e, j, 0, Seq(H(8), H(17), {"4e B", "Gr. 1", "Salle 104", "Maths"}));
    return e;
}

} // namespace

class TstTropGrand : public QObject
{
    Q_OBJECT

private slots:
    void cause_data()
    {
        QTest::addColumn<QString>("reglage");
        QTest::addColumn<int>("valeur");
        QTest::addColumn<QString>("message");
        const QString heure = QStringLiteral(
            "L'image est trop grande pour être dessinée : réduisez la largeur d'une heure.");
        const QString debut = QStringLiteral("L'image est trop grande pour être dessinée : ");
        const QString titre = debut + "raccourcissez le titre ou réduisez sa police.";
        const QString semaines = debut + "il y a trop de types de semaine.";
        const QString marge = debut + "réduisez la marge.";
        const QString retrait = debut + "l'espace intérieur des cases est trop grand.";
        const QString polices = debut + "réduisez la taille des polices.";
        QTest::newRow("heure de 50 000 pixels") << "heure" << 50'000 << heure;
        QTest::newRow("heure de 2^31 - 1 pixels") << "heure" << INT32_MAX << heure;
        QTest::newRow("titre de 200 000 caractères") << "titre" << 200'000 << titre;
        QTest::newRow("50 000 types de semaine") << "semaines" << 50'000 << semaines;
        QTest::newRow("marge de 30 000") << "marge" << 30'000 << marge;
        QTest::newRow("marge d'un milliard") << "marge" << 1'000'000'000 << marge;
        QTest::newRow("marge très négative") << "marge" << -2'000'000'000 << marge;
        QTest::newRow("retrait de 40 000") << "retrait" << 40'000 << retrait;
        QTest::newRow("retrait de deux milliards") << "retrait" << 2'000'000'000 << retrait;
        QTest::newRow("textes de 9 000 lignes") << "texte" << 9'000 << polices;
    }
    void cause()
    {
        QFETCH(QString, reglage);
        QFETCH(int, valeur);
        QFETCH(QString, message);
        REdt e = Exemple();
        if (reglage == "heure") {
            e.Mesures.HeureLarg = valeur;
        } else if (reglage == "titre") {
            e.AffichNom = true;
            e.Titre = std::string(std::size_t(valeur), 'W');
        } else if (reglage == "semaines") {
            e.Semaines.resize(std::size_t(valeur), RSemaine{"S", 0xFFFF00});
            e.AjusterSemaines();
        } else if (reglage == "marge") {
            e.Marge = valeur;
        } else if (reglage == "retrait") {
            e.Retrait = valeur;
        } else if (reglage == "texte") {
            // Un texte de plusieurs lignes fait des rangées très hautes.
            std::string t;
            for (int i = 0; i < valeur; ++i)
                t += "ligne\n";
            e.Jours[0].ParSemaine[0].Sequences[0].Textes.Fixer(3, t);
        }
        const ResultatDessin r = Redessiner(e);
        QCOMPARE(int(r.etat), int(ResultatDessin::TropGrand));
        QCOMPARE(QString::fromUtf8(MessageTropGrand(e, r.description)), message);
    }

    // L'export vectoriel n'a pas de limite de pixels, mais des nombres au-delà
    // de toute image y sont refusés avec la même cause.
    void vecteur_data()
    {
        QTest::addColumn<QString>("chemin");
        QTest::addColumn<QString>("reglage");
        QTest::addColumn<QString>("message");
        const QString debut = QStringLiteral("L'image est trop grande pour être dessinée : ");
        QTest::newRow("svg, marge") << "x.svg"
                                    << "marge" << debut + "réduisez la marge.";
        QTest::newRow("pdf, retrait")
            << "x.pdf"
            << "retrait" << debut + "l'espace intérieur des cases est trop grand.";
        QTest::newRow("svg, heure") << "x.svg"
                                    << "heure" << debut + "réduisez la largeur d'une heure.";
    }
    void vecteur()
    {
        QFETCH(QString, chemin);
        QFETCH(QString, reglage);
        QFETCH(QString, message);
        QTemporaryDir d;
        REdt e = Exemple();
        if (reglage == "marge")
            e.Marge = 20'000'000;
        else if (reglage == "retrait")
            e.Retrait = 20'000'000;
        else
            e.Mesures.HeureLarg = INT32_MAX;
        QString obtenu;
        try {
            ExporterVecteur(e, d.filePath(chemin).toStdString());
        } catch (const ErreurHoraku& x) {
            obtenu = QString::fromUtf8(x.what());
        }
        QCOMPARE(obtenu, message);
        QVERIFY(!QFileInfo::exists(d.filePath(chemin)));
    }

    // horaku-cli montre la même cause, pour l'image comme pour la géométrie.
    void ligneDeCommande_data()
    {
        QTest::addColumn<QString>("commande");
        QTest::addColumn<int>("marge");
        QTest::addColumn<int>("heureLarg");
        QTest::addColumn<QString>("message");
        const QString marge =
            QStringLiteral("L'image est trop grande pour être dessinée : réduisez la marge.");
        const QString heure = QStringLiteral(
            "L'image est trop grande pour être dessinée : réduisez la largeur d'une heure.");
        QTest::newRow("image, marge") << "image" << 1'000'000 << 60 << marge;
        QTest::newRow("géométrie, marge") << "geometrie" << 20'000'000 << 60 << marge;
        QTest::newRow("image, heure") << "image" << 1 << 5'000'000 << heure;
        QTest::newRow("géométrie, heure") << "geometrie" << 1 << INT32_MAX << heure;
    }
    void ligneDeCommande()
    {
        QFETCH(QString, commande);
        QFETCH(int, marge);
        QFETCH(int, heureLarg);
        QFETCH(QString, message);
        QTemporaryDir d;
        REdt e = Exemple();
        e.Marge = marge;
        e.Mesures.HeureLarg = heureLarg;
        e.Fichier = d.filePath("grand.edt").toStdString();
        e.Enregistrer();
        QStringList arguments{commande, d.filePath("grand.edt")};
        if (commande == "image") arguments << d.filePath("grand.png");
        QProcess p;
        p.start(QStringLiteral(HORAKU_BIN "/horaku-cli"), arguments);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()).trimmed(), message);
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(!QFileInfo::exists(d.filePath("grand.png")));
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    TstTropGrand t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_tropgrand.moc"
