// Le fichier de configuration « Horaku.cfg » du dossier courant.
#include "erreurs.h"
#include "variables.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace horaku;

namespace
{

const QByteArray kVersion = "Horaku 2.0a";
const QByteArray kSignature(kSignatureConfig, 17);

QByteArray Fichier(const QByteArray& ligne3, const QByteArray& ligne4)
{
    return kVersion + "\r\n" + kSignature + "\r\n" + ligne3 + "\r\n" + ligne4 + "\r\n";
}

QByteArray Lire()
{
    QFile f(kNomFichierConfig);
    if (!f.open(QIODevice::ReadOnly)) return "<absent>";
    return f.readAll();
}

void Ecrire(const QByteArray& contenu)
{
    QFile f(kNomFichierConfig);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(contenu);
}

} // namespace

class TstConfig : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dossier_;
    QString ancien_;

private slots:
    void init()
    {
        ancien_ = QDir::currentPath();
        dossier_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dossier_->isValid());
        QVERIFY(QDir::setCurrent(dossier_->path()));
    }
    void cleanup()
    {
        QDir::setCurrent(ancien_);
        dossier_.reset();
    }

    void signature()
    {
        QCOMPARE(kSignature.size(), 17);
        QVERIFY(!kSignature.contains('\r') && !kSignature.contains('\n') &&
                !kSignature.contains('\0'));
    }

    void absent()
    {
        RConfig c;
        c.ConfigModifiee = true;
        const LectureConfig r = LireConfig(c);
        QCOMPARE(QString::fromStdString(r.message),
                 QStringLiteral("Fichier de configuration absent.\nConfiguration par défaut."));
        QVERIFY(r.erreurEcriture.empty());
        QVERIFY(c.EdtDefaut.empty());
        QVERIFY(!c.ConfigModifiee);
        QCOMPARE(Lire(), Fichier("", ""));
        // Le fichier créé se relit sans message.
        RConfig relu;
        QVERIFY(LireConfig(relu).message.empty());
    }

    void lu_data()
    {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QByteArray>("edtDefaut");
        QTest::newRow("sans défaut") << Fichier("", "") << QByteArray();
        QTest::newRow("chemin") << Fichier("", "/home/moi/été.edt")
                                << QByteArray("/home/moi/été.edt");
        QTest::newRow("ligne 3 ignorée")
            << Fichier("n'importe quoi", "/a.edt") << QByteArray("/a.edt");
        QTest::newRow("fins LF") << QByteArray(kVersion + "\n" + kSignature + "\n\n/b.edt")
                                 << QByteArray("/b.edt");
        QTest::newRow("lignes en trop")
            << QByteArray(Fichier("", "/c.edt") + "reste\r\n") << QByteArray("/c.edt");
    }
    void lu()
    {
        QFETCH(QByteArray, contenu);
        QFETCH(QByteArray, edtDefaut);
        Ecrire(contenu);
        RConfig c;
        c.ConfigModifiee = true;
        const LectureConfig r = LireConfig(c);
        QVERIFY(r.message.empty());
        QCOMPARE(QByteArray::fromStdString(c.EdtDefaut), edtDefaut);
        QVERIFY(!c.ConfigModifiee);
        QCOMPARE(Lire(), contenu); // rien n'est réécrit
    }

    void versionIncorrecte_data()
    {
        QTest::addColumn<QByteArray>("contenu");
        QByteArray premier = kSignature;
        premier[0] = char(premier[0] ^ 1);
        QByteArray dernier = kSignature;
        dernier[16] = char(dernier[16] + 1);
        QByteArray milieu = kSignature;
        milieu[8] = 'x';
        QTest::newRow("signature, premier octet")
            << Fichier("", "/a.edt").replace(kSignature, premier);
        QTest::newRow("signature, dernier octet")
            << Fichier("", "/a.edt").replace(kSignature, dernier);
        QTest::newRow("signature, octet du milieu")
            << Fichier("", "/a.edt").replace(kSignature, milieu);
        QTest::newRow("signature tronquée")
            << Fichier("", "/a.edt").replace(kSignature, kSignature.left(16));
        QTest::newRow("signature prolongée")
            << Fichier("", "/a.edt").replace(kSignature, kSignature + " ");
        QTest::newRow("version") << Fichier("", "/a.edt").replace("2.0a", "2.0A");
        QTest::newRow("deux lignes étrangères") << QByteArray("a\r\nb\r\n");
    }
    void versionIncorrecte()
    {
        QFETCH(QByteArray, contenu);
        Ecrire(contenu);
        RConfig c;
        const LectureConfig r = LireConfig(c);
        QCOMPARE(QString::fromStdString(r.message),
                 QStringLiteral("Fichier Horaku : version incorrecte.\nConfiguration par défaut."));
        QVERIFY(c.EdtDefaut.empty());
        QVERIFY(!c.ConfigModifiee);
        QCOMPARE(Lire(), Fichier("", ""));
    }

    void fichierCourt_data()
    {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<int>("indice");
        QTest::newRow("vide") << QByteArray() << 0;
        QTest::newRow("une ligne") << QByteArray("Horaku 2.0a\r\n") << 1;
        QTest::newRow("une ligne étrangère") << QByteArray("x") << 1;
        QTest::newRow("deux lignes justes")
            << QByteArray(kVersion + "\r\n" + kSignature + "\r\n") << 3;
        QTest::newRow("trois lignes justes")
            << QByteArray(kVersion + "\r\n" + kSignature + "\r\n\r\n") << 3;
    }
    // L'erreur d'indice, sans rien changer ni au fichier ni au défaut.
    void fichierCourt()
    {
        QFETCH(QByteArray, contenu);
        QFETCH(int, indice);
        Ecrire(contenu);
        RConfig c;
        try {
            LireConfig(c);
            QFAIL("aucune erreur");
        } catch (const ErreurHoraku& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral("Indice de liste hors limites (%1)").arg(indice));
        }
        QVERIFY(c.EdtDefaut.empty());
        QCOMPARE(Lire(), contenu);
    }

    void ecrire_data()
    {
        QTest::addColumn<QByteArray>("edtDefaut");
        QTest::addColumn<QByteArray>("ligne4");
        QTest::newRow("vide") << QByteArray() << QByteArray();
        QTest::newRow("chemin") << QByteArray("/srv/edt/2024.edt")
                                << QByteArray("/srv/edt/2024.edt");
        QTest::newRow("fin de ligne dans le chemin")
            << QByteArray("/a\nb\r.edt") << QByteArray("/a b .edt");
    }
    // La ligne 3 d'un fichier existant disparaît à la réécriture.
    void ecrire()
    {
        QFETCH(QByteArray, edtDefaut);
        QFETCH(QByteArray, ligne4);
        Ecrire(Fichier("texte réservé", "/ancien.edt"));
        RConfig c;
        LireConfig(c);
        QCOMPARE(c.EdtDefaut, std::string("/ancien.edt"));
        c.EdtDefaut = edtDefaut.toStdString();
        c.ConfigModifiee = true;
        EcrireConfig(c);
        QVERIFY(!c.ConfigModifiee);
        QCOMPARE(Lire(), Fichier("", ligne4));
        QCOMPARE(QDir::current().entryList(QDir::Files | QDir::Hidden), QStringList{"Horaku.cfg"});
    }

    // Quand le fichier ne peut pas être recréé, l'appelant l'apprend et la
    // configuration reste à écrire.
    void reecritureImpossible()
    {
        QVERIFY(QDir::current().mkdir("Horaku.cfg"));
        RConfig c;
        const LectureConfig r = LireConfig(c);
        QCOMPARE(QString::fromStdString(r.message),
                 QStringLiteral("Fichier de configuration absent.\nConfiguration par défaut."));
        QCOMPARE(QString::fromStdString(r.erreurEcriture),
                 QStringLiteral(
                     "Impossible de créer le fichier Horaku.cfg\nLe nom désigne un dossier."));
        QVERIFY(c.ConfigModifiee);
        try {
            EcrireConfig(c);
            QFAIL("aucune erreur");
        } catch (const ErreurHoraku& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     QStringLiteral(
                         "Impossible de créer le fichier Horaku.cfg\nLe nom désigne un dossier."));
        }
        QVERIFY(c.ConfigModifiee);
    }
};

QTEST_GUILESS_MAIN(TstConfig)
#include "tst_config.moc"
