// Export by extension: the file that comes out must be the picture, and a
// failed export must leave what was there before.
#include "dessin.h"
#include "edt_test.h"
#include "erreurs.h"
#include "exportation.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace horaku;
using namespace horaku::test;

namespace
{

QImage Exemple()
{
    REdt e = EdtNu(1, 1, 60);
    e.Semaines = {RSemaine{"A", 0xFFFFFF}, RSemaine{"B", 0x00C0FF}};
    e.AjusterSemaines();
    Ajouter(e, 0, 0, Seq(H(8), H(9), {"blanc", "", "", ""}));
    Ajouter(e, 0, 1, Seq(H(8, 30), H(10), {"orange", "G1", "S2", ""}));
    e.AffichContour = true;
    return Redessiner(e).image;
}

QByteArray Contenu(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Cli()
{
    return QStringLiteral(HORAKU_BIN "/horaku-cli");
}

} // namespace

class TstExportation : public QObject
{
    Q_OBJECT

    QTemporaryDir dossier_;

    QString Chemin(const QString& nom) const { return dossier_.filePath(nom); }

private slots:
    void formats_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<bool>("transparent");
        QTest::newRow("gif") << "a.gif" << QByteArray("gif") << true;
        QTest::newRow("GIF en capitales") << "b.GIF" << QByteArray("gif") << true;
        QTest::newRow("bmp") << "c.bmp" << QByteArray("bmp") << false;
        QTest::newRow("Bmp") << "d.Bmp" << QByteArray("bmp") << false;
        QTest::newRow("png") << "e.png" << QByteArray("png") << false;
        QTest::newRow("point dans le dossier") << "f.x/g.gif" << QByteArray("gif") << true;
    }
    void formats()
    {
        QFETCH(QString, nom);
        QFETCH(QByteArray, format);
        QFETCH(bool, transparent);
        QDir().mkpath(QFileInfo(Chemin(nom)).absolutePath());
        const QImage image = Exemple();
        ExporterImage(image, Chemin(nom).toStdString());
        QImageReader lecteur(Chemin(nom));
        QCOMPARE(lecteur.format(), format);
        const QImage lue = lecteur.read().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(lue.size(), image.size());
        int blancs = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (transparent && p == 0xFFFFFFFF) {
                    QCOMPARE(qAlpha(lue.pixel(x, y)), 0);
                    ++blancs;
                } else {
                    QCOMPARE(lue.pixel(x, y), p);
                }
            }
        }
        QVERIFY(!transparent || blancs > 0);
    }

    // A PNG holds the picture's palette up to 256 colours, 24-bit pixels
    // past that; either way it reads back as the same pixels.
    void pngPalette_data()
    {
        QTest::addColumn<int>("couleurs");
        QTest::addColumn<int>("typeCouleur"); // byte 25 of the file: 3 palette, 2 RGB
        QTest::newRow("256 couleurs") << 256 << 3;
        QTest::newRow("257 couleurs") << 257 << 2;
    }
    void pngPalette()
    {
        QFETCH(int, couleurs);
        QFETCH(int, typeCouleur);
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int i = 0; i < couleurs - 1; ++i)
            image.setPixel(i % 40, i / 40, qRgb(i % 7 * 30, i / 7 % 8 * 30, i / 56 * 40));
        ExporterImage(image, Chemin("p.png").toStdString());
        QCOMPARE(int(Contenu(Chemin("p.png")).at(25)), typeCouleur);
        QCOMPARE(QImage(Chemin("p.png")).convertToFormat(QImage::Format_RGB32), image);
    }

    void bmpVingtQuatreBits()
    {
        const QImage image = Exemple();
        ExporterImage(image, Chemin("x.bmp").toStdString());
        const QByteArray b = Contenu(Chemin("x.bmp"));
        QCOMPARE(b.left(2), QByteArray("BM"));
        QCOMPARE(int(static_cast<uchar>(b[28])), 24);
        const int ligne = (image.width() * 3 + 3) / 4 * 4;
        QCOMPARE(b.size(), 54 + ligne * image.height());
    }

    void extensionInconnue_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::newRow("jpg") << "a.jpg";
        QTest::newRow("sans extension") << "image";
        QTest::newRow("point final") << "image.";
        QTest::newRow("gif dans le nom") << "gif.txt";
    }
    void extensionInconnue()
    {
        QFETCH(QString, nom);
        try {
            ExporterImage(Exemple(), Chemin(nom).toStdString());
            QFAIL("aucune erreur");
        } catch (const ErreurHoraku& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QString::fromUtf8("Format d'image inconnu : choisissez un nom en .gif, "
                                       ".bmp, .png, .pdf ou .svg."));
        }
        QVERIFY(!QFile::exists(Chemin(nom)));
    }

    void echecSansDegat()
    {
        // A disk that fills up mid-write, even for root: the file size limit.
        const QString cible = Chemin("plein/image.gif");
        QDir().mkpath(Chemin("plein"));
        QFile f(cible);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("ancien");
        f.close();
        struct rlimit avant {
        };
        QCOMPARE(::getrlimit(RLIMIT_FSIZE, &avant), 0);
        auto* gestionnaire = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit petit = avant;
        petit.rlim_cur = 64;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &petit), 0);
        QString message;
        try {
            ExporterImage(Exemple(), cible.toStdString());
        } catch (const ErreurHoraku& e) {
            message = QString::fromUtf8(e.what());
        }
        ::setrlimit(RLIMIT_FSIZE, &avant);
        std::signal(SIGXFSZ, gestionnaire);
        QCOMPARE(message, "Impossible de créer le fichier " + cible +
                              "\nFichier trop grand pour le disque.");
        QCOMPARE(Contenu(cible), QByteArray("ancien"));
        QCOMPARE(QDir(Chemin("plein")).entryList(QDir::Files), QStringList{"image.gif"});
    }

    void gifTropLarge()
    {
        QImage large(70000, 2, QImage::Format_RGB32);
        large.fill(Qt::red);
        const QString cible = Chemin("large.gif");
        try {
            ExporterImage(large, cible.toStdString());
            QFAIL("aucune erreur");
        } catch (const ErreurHoraku& e) {
            QCOMPARE(QString::fromUtf8(e.what()), QString::fromUtf8(kMessageGifTropGrand));
        }
        QVERIFY(!QFile::exists(cible));
        ExporterImage(large, Chemin("large.png").toStdString());
        QCOMPARE(QImage(Chemin("large.png")).width(), 70000);
    }

    void dossierAbsent()
    {
        const QString cible = Chemin("absent/image.bmp");
        QVERIFY_THROWS_EXCEPTION(ErreurHoraku, ExporterImage(Exemple(), cible.toStdString()));
        QVERIFY(!QFile::exists(cible));
    }

    void cliImageEgaleAuDessin()
    {
        // horaku-cli draws exactly what the redraw draws, for every example.
        for (const char* nom : {"petit", "realiste"}) {
            const QString edt = QStringLiteral(HORAKU_SOURCES "/examples/%1.edt").arg(nom);
            const QString bmp = Chemin(QStringLiteral("%1.bmp").arg(nom));
            QProcess p;
            p.start(Cli(), {"image", edt, bmp});
            QVERIFY(p.waitForFinished(60000));
            QCOMPARE(p.exitCode(), 0);
            QCOMPARE(p.readAllStandardError(), QByteArray());
            REdt e;
            e.Fichier = edt.toStdString();
            QVERIFY(e.Charger());
            const QImage attendu = Redessiner(e).image;
            QCOMPARE(QImage(bmp).convertToFormat(QImage::Format_RGB32), attendu);
        }
    }

    void cliErreurs_data()
    {
        QTest::addColumn<QString>("contenu"); // written in place of the example's last line
        QTest::addColumn<QString>("sortie");
        QTest::addColumn<QString>("message");
        QTest::newRow("largeur d'heure nulle")
            << "0"
            << "x.gif"
            << QString::fromUtf8("Rien à dessiner : aucune séquence n'a de texte, ou la largeur "
                                 "d'une heure est nulle.");
        QTest::newRow("image trop grande")
            << "3000000"
            << "x.gif"
            << QString::fromUtf8(
                   "L'image est trop grande pour être dessinée : réduisez la largeur d'une heure.");
        QTest::newRow("format inconnu")
            << "60"
            << "x.jpeg"
            << QString::fromUtf8(
                   "Format d'image inconnu : choisissez un nom en .gif, .bmp, .png, .pdf ou .svg.");
    }
    void cliErreurs()
    {
        QFETCH(QString, contenu);
        QFETCH(QString, sortie);
        QFETCH(QString, message);
        QByteArray edt = Contenu(QStringLiteral(HORAKU_SOURCES "/examples/petit.edt"));
        edt.chop(2);
        edt = edt.left(edt.lastIndexOf('\n') + 1) + contenu.toLatin1() + "\r\n";
        QFile f(Chemin("modifie.edt"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(edt);
        f.close();
        QProcess p;
        p.start(Cli(), {"image", Chemin("modifie.edt"), Chemin(sortie)});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()).trimmed(), message);
        QVERIFY(!QFile::exists(Chemin(sortie)));
    }

    void cliGeometrie()
    {
        QProcess p;
        p.start(Cli(), {"geometrie", QStringLiteral(HORAKU_SOURCES "/examples/realiste.edt")});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 0);
        const QJsonObject o = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
        QVERIFY(o["dessine"].toBool());
        for (const char* cle : {"largeur", "hauteur", "heureDebut", "heureFin", "mesures", "titre",
                                "heures", "jours", "web"})
            QVERIFY2(o.contains(cle), cle);
        QCOMPARE(o["heureDebut"].toString(), "08:00:00");
        QCOMPARE(o["jours"].toArray().size(), 5);
        const QJsonObject boite =
            o["jours"].toArray()[0].toObject()["boites"].toArray()[0].toObject();
        QCOMPARE(boite["cellules"].toArray().size(), 4);
        QCOMPARE(boite["rect"].toArray().size(), 4);
        REdt e;
        e.Fichier = HORAKU_SOURCES "/examples/realiste.edt";
        QVERIFY(e.Charger());
        const ResultatDessin r = Redessiner(e);
        QCOMPARE(o["largeur"].toInt(), r.image.width());
        QCOMPARE(o["hauteur"].toInt(), r.image.height());
    }
};

QTEST_MAIN(TstExportation)
#include "tst_exportation.moc"
