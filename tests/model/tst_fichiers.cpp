// Découpage en lignes, lecture entière et écriture atomique des fichiers.
#include "classesedt.h"
#include "erreurs.h"
#include "fichiers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace horaku;

namespace {

QByteArray Contenu(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return "<illisible>";
    return f.readAll();
}

void Ecrire(const QString& chemin, const QByteArray& contenu)
{
    QFile f(chemin);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(contenu);
}

QString MessageEcriture(const std::string& chemin, const std::string& contenu)
{
    try {
        EcrireFichierAtomique(chemin, contenu);
    } catch (const ErreurHoraku& e) {
        return QString::fromUtf8(e.what());
    }
    return {};
}

} // namespace

class TstFichiers : public QObject {
    Q_OBJECT

private slots:
    void decouper_data()
    {
        QTest::addColumn<QByteArray>("contenu");
        QTest::addColumn<QStringList>("lignes");
        QTest::newRow("vide") << QByteArray() << QStringList();
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("LF") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("CR seul") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("mélange") << QByteArray("a\rb\nc\r\nd") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("sans fin de ligne finale") << QByteArray("a\r\nb") << QStringList{"a", "b"};
        QTest::newRow("lignes vides") << QByteArray("\r\n\n\r") << QStringList{"", "", ""};
        QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
        QTest::newRow("LF CR") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("blancs gardés") << QByteArray(" a \t\r\n") << QStringList{" a \t"};
    }
    void decouper()
    {
        QFETCH(QByteArray, contenu);
        QFETCH(QStringList, lignes);
        const std::string s = contenu.toStdString();
        QStringList lu;
        for (std::string_view l : DecouperLignes(s))
            lu << QString::fromLatin1(l.data(), qsizetype(l.size()));
        QCOMPARE(lu, lignes);
        QCOMPARE(CompterLignes(s), std::size_t(lignes.size()));
    }

    // Le compte rapide des lignes, par blocs, suit le découpage sur des textes
    // longs où les fins de ligne tombent partout, aux bords des blocs aussi.
    void compterLignesLongues()
    {
        std::uint32_t etat = 12345;
        for (int essai = 0; essai < 300; ++essai) {
            etat = etat * 1664525u + 1013904223u;
            std::string s(etat % 2000, 'a');
            for (char& c : s) {
                etat = etat * 1664525u + 1013904223u;
                const unsigned r = (etat >> 24) % 8;
                c = r == 0 ? '\r' : r == 1 ? '\n' : 'a';
            }
            QCOMPARE(CompterLignes(s), DecouperLignes(s).size());
        }
    }

    void lireFichier()
    {
        QTemporaryDir d;
        const QString chemin = d.filePath("x");
        QByteArray gros(300000, 'a');
        gros[0] = '\0';
        gros[299999] = '\xFF';
        Ecrire(chemin, gros);
        QCOMPARE(QByteArray::fromStdString(LireFichier(chemin.toStdString())), gros);
        try {
            LireFichier(d.path().toStdString());
            QFAIL("un dossier a été lu");
        } catch (const ErreurHoraku& e) {
            QCOMPARE(QString::fromUtf8(e.what()), "Impossible d'ouvrir le fichier " + d.path());
        }
        QVERIFY(FichierExiste(chemin.toStdString()));
        QVERIFY(!FichierExiste(d.path().toStdString()));
        QVERIFY(!FichierExiste(d.filePath("absent").toStdString()));
    }

    void ecritureReussie()
    {
        QTemporaryDir d;
        const QString chemin = d.filePath("été.edt");
        QCOMPARE(MessageEcriture(chemin.toStdString(), "premier"), QString());
        QCOMPARE(Contenu(chemin), QByteArray("premier"));
        // Les droits du fichier remplacé sont gardés.
        QVERIFY(::chmod(QFile::encodeName(chemin).constData(), 0640) == 0);
        QCOMPARE(MessageEcriture(chemin.toStdString(), "second"), QString());
        QCOMPARE(Contenu(chemin), QByteArray("second"));
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(chemin).constData(), &st) == 0);
        QCOMPARE(int(st.st_mode & 0777), 0640);
        QCOMPARE(QDir(d.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"été.edt"});
    }

    // À travers un lien symbolique, c'est le fichier visé qui change.
    void ecritureParUnLien()
    {
        QTemporaryDir d;
        const QString cible = d.filePath("vrai.edt");
        const QString lien = d.filePath("lien.edt");
        Ecrire(cible, "ancien");
        QVERIFY(QFile::link(cible, lien));
        QCOMPARE(MessageEcriture(lien.toStdString(), "nouveau"), QString());
        QCOMPARE(Contenu(cible), QByteArray("nouveau"));
        QVERIFY(QFileInfo(lien).isSymLink());
        QCOMPARE(QDir(d.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
    }

    // Un nom déjà au plus long que permet le système laisse encore place au
    // fichier temporaire.
    void nomLong()
    {
        QTemporaryDir d;
        const QString chemin = d.filePath(QString(250, QLatin1Char('n')) + ".edt");
        QCOMPARE(MessageEcriture(chemin.toStdString(), "x"), QString());
        QCOMPARE(Contenu(chemin), QByteArray("x"));
        QCOMPARE(QDir(d.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void ecritureEchouee_data()
    {
        QTest::addColumn<QString>("cas");
        QTest::newRow("la cible est un dossier") << "dossier";
        QTest::newRow("dossier absent") << "absent";
        QTest::newRow("fichier en lecture seule") << "lectureSeule";
        QTest::newRow("dossier en lecture seule") << "dossierLectureSeule";
        QTest::newRow("nom vide") << "vide";
        QTest::newRow("écriture interrompue") << "interrompue";
    }
    // Un échec laisse l'ancien fichier intact, aucun fichier temporaire, le
    // l'emploi du temps marqué modifié, et le message du système d'origine.
    void ecritureEchouee()
    {
        QFETCH(QString, cas);
        QTemporaryDir d;
        QString dossier = d.path();
        QString chemin = d.filePath("edt.edt");
        if (cas == "dossier") {
            QVERIFY(QDir(d.path()).mkdir("edt.edt"));
        } else if (cas == "absent") {
            dossier = d.filePath("absent");
            chemin = d.filePath("absent/edt.edt");
        } else if (cas == "lectureSeule") {
            Ecrire(chemin, "ancien");
            QVERIFY(::chmod(QFile::encodeName(chemin).constData(), 0444) == 0);
        } else if (cas == "dossierLectureSeule") {
            if (::geteuid() == 0)
                QSKIP("l'administrateur écrit dans un dossier en lecture seule");
            dossier = d.filePath("ro");
            QVERIFY(QDir(d.path()).mkdir("ro"));
            chemin = d.filePath("ro/edt.edt");
            Ecrire(chemin, "ancien");
            QVERIFY(::chmod(QFile::encodeName(dossier).constData(), 0555) == 0);
        } else if (cas == "vide") {
            chemin.clear();
        } else if (cas == "interrompue") {
            Ecrire(chemin, "ancien");
        }
        const QDir avant(dossier);
        const QStringList entrees =
            avant.exists() ? avant.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                           : QStringList();
        const QByteArray ancien = QFileInfo(chemin).isFile() ? Contenu(chemin) : QByteArray();

        REdt e;
        e.Fichier = chemin.toStdString();
        e.EdtModifie = true;
        QString message;
        // Un disque plein au milieu de l'écriture : la taille de fichier
        // limitée fait échouer write() après les premiers octets.
        struct rlimit limite {};
        ::getrlimit(RLIMIT_FSIZE, &limite);
        if (cas == "interrompue") {
            ::signal(SIGXFSZ, SIG_IGN);
            struct rlimit petite = limite;
            petite.rlim_cur = 100;
            ::setrlimit(RLIMIT_FSIZE, &petite);
        }
        try {
            e.Enregistrer();
        } catch (const ErreurHoraku& x) {
            message = QString::fromUtf8(x.what());
        }
        ::setrlimit(RLIMIT_FSIZE, &limite);
        QCOMPARE(message, "Impossible de créer le fichier " + chemin);
        QVERIFY(e.EdtModifie);
        if (avant.exists())
            QCOMPARE(
                QDir(dossier).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                entrees);
        if (QFileInfo(chemin).isFile())
            QCOMPARE(Contenu(chemin), ancien);
        ::chmod(QFile::encodeName(dossier).constData(), 0755);
    }
};

QTEST_GUILESS_MAIN(TstFichiers)
#include "tst_fichiers.moc"
