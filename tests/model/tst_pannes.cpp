// Les pannes que le disque ne donne pas sur commande (disque plein au milieu
// d'un fichier, fsync ou renommage refusés, fchown interdit) injectées dans
// horaku-cli par une bibliothèque préchargée : l'ancien fichier reste
// intact, aucun fichier temporaire ne reste, le message dit la cause.
#include "classesedt.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace horaku;

namespace
{

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

struct Resultat {
    int code = -1;
    QString erreur;
};

Resultat Reecrire(const QString& entree, const QString& sortie, const QString& panne, int morceau)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_PRELOAD", QStringLiteral(HORAKU_PANNE));
    env.insert("HORAKU_PANNE", panne);
    if (morceau > 0) env.insert("HORAKU_PANNE_MORCEAU", QString::number(morceau));
    // Sous AddressSanitizer, la bibliothèque préchargée passe avant la sienne.
    env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(HORAKU_BIN "/horaku-cli"), {"reecrire", entree, sortie});
    Resultat r;
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) return r;
    r.code = p.exitCode();
    r.erreur = QString::fromUtf8(p.readAllStandardError()).trimmed();
    return r;
}

} // namespace

class TstPannes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(QFileInfo::exists(QStringLiteral(HORAKU_BIN "/horaku-cli")));
        QVERIFY(QFileInfo::exists(QStringLiteral(HORAKU_PANNE)));
    }

    void panne_data()
    {
        QTest::addColumn<QString>("panne");
        QTest::addColumn<QString>("fichier"); // simple, lien, groupe, absent
        QTest::addColumn<int>("morceau");
        QTest::addColumn<QString>("cause"); // vide : l'écriture réussit
        QTest::addColumn<bool>("surPlace");
        const auto e = [](int n) { return QString::number(n); };
        QTest::newRow("disque plein, renommage")
            << "write:1:" + e(ENOSPC) << "simple" << 0 << "Disque plein." << false;
        QTest::newRow("disque plein au milieu, renommage")
            << "write:3:" + e(ENOSPC) << "simple" << 100 << "Disque plein." << false;
        QTest::newRow("fsync refusé, renommage")
            << "fsync:1:" + e(EIO) << "simple" << 0 << "Erreur d'entrée-sortie du disque." << false;
        QTest::newRow("renommage refusé")
            << "rename:1:" + e(EDQUOT) << "simple" << 0 << "Quota de disque dépassé." << false;
        QTest::newRow("temporaire impossible")
            << "open:1:" + e(EACCES) << "simple" << 0 << "Accès refusé." << false;
        QTest::newRow("disque plein au milieu, sur place")
            << "write:3:" + e(ENOSPC) << "lien" << 100 << "Disque plein." << true;
        QTest::newRow("disque plein au premier octet, sur place")
            << "write:1:" + e(ENOSPC) << "lien" << 0 << "Disque plein." << true;
        QTest::newRow("troncature refusée, sur place")
            << "ftruncate:1:" + e(EIO) << "lien" << 0 << "Erreur d'entrée-sortie du disque."
            << true;
        QTest::newRow("fsync refusé, sur place")
            << "fsync:1:" + e(EIO) << "lien" << 0 << "Erreur d'entrée-sortie du disque." << true;
        QTest::newRow("ouverture refusée, sur place")
            << "open:1:" + e(EACCES) << "lien" << 0 << "Accès refusé." << true;
        // Si même l'ancien contenu ne peut être remis, le message le dit.
        QTest::newRow("rétablissement impossible")
            << "write:3:" + e(ENOSPC) + ",ftruncate:1:" + e(EIO) << "lien" << 100
            << "Disque plein. L'ancien contenu n'a pas pu être rétabli." << true;
        QTest::newRow("erreur inconnue") << "write:1:200"
                                         << "simple" << 0 << "Erreur système 200." << false;
        QTest::newRow("fichier neuf, disque plein")
            << "write:2:" + e(ENOSPC) << "absent" << 100 << "Disque plein." << false;
        // Le groupe ne peut pas être rendu au fichier neuf : écriture sur place.
        QTest::newRow("fchown refusé") << "fchown:1:" + e(EPERM) << "groupe" << 0 << "" << true;
        QTest::newRow("fchmod refusé") << "fchmod:1:" + e(EPERM) << "simple" << 0 << "" << true;
        QTest::newRow("petits morceaux, renommage") << ""
                                                    << "simple" << 7 << "" << false;
        QTest::newRow("petits morceaux, sur place") << ""
                                                    << "lien" << 7 << "" << true;
    }
    void panne()
    {
        QFETCH(QString, panne);
        QFETCH(QString, fichier);
        QFETCH(int, morceau);
        QFETCH(QString, cause);
        QFETCH(bool, surPlace);
        QTemporaryDir d;
        const QString entree = d.filePath("entree.edt");
        REdt edt;
        edt.Titre = std::string(2000, 't'); // plusieurs morceaux à écrire
        edt.Fichier = entree.toStdString();
        edt.Enregistrer();
        const QByteArray nouveau = Contenu(entree);
        QDir(d.path()).mkdir("sortie");
        const QString sortie = d.filePath("sortie/plan.edt");
        const QByteArray s = QFile::encodeName(sortie);
        const QByteArray ancien = QByteArray(3000, 'a') + "fin de l'ancien";
        if (fichier != "absent") Ecrire(sortie, ancien);
        if (fichier == "lien")
            QVERIFY(::link(s.constData(),
                           QFile::encodeName(d.filePath("sortie/lien")).constData()) == 0);
        if (fichier == "groupe") {
            if (::geteuid() != 0) QSKIP("changer le groupe d'un fichier demande l'administrateur");
            QVERIFY(::chown(s.constData(), 0, 65534) == 0);
        }
        struct stat avant {
        };
        ::stat(s.constData(), &avant);
        const QStringList entrees =
            QDir(d.filePath("sortie")).entryList(QDir::Files | QDir::Hidden);

        const Resultat r = Reecrire(entree, sortie, panne, morceau);

        struct stat apres {
        };
        ::stat(s.constData(), &apres);
        if (cause.isEmpty()) {
            QCOMPARE(r.erreur, QString());
            QCOMPARE(r.code, 0);
            QCOMPARE(Contenu(sortie), nouveau);
            QCOMPARE(apres.st_gid, avant.st_gid);
            QCOMPARE(apres.st_mode, avant.st_mode);
        } else {
            QCOMPARE(r.erreur, "Impossible de créer le fichier " + sortie + " " + cause);
            QCOMPARE(r.code, 1);
            QCOMPARE(Contenu(sortie), fichier == "absent" ? QByteArray("<absent>") : ancien);
        }
        // Réussie, l'écriture a pris le chemin attendu ; échouée, elle n'a
        // rien remplacé.
        if (fichier != "absent")
            QCOMPARE(apres.st_ino == avant.st_ino, surPlace || !cause.isEmpty());
        if (fichier == "lien") QCOMPARE(Contenu(d.filePath("sortie/lien")), Contenu(sortie));
        QCOMPARE(QDir(d.filePath("sortie")).entryList(QDir::Files | QDir::Hidden), entrees);
    }
};

QTEST_GUILESS_MAIN(TstPannes)
#include "tst_pannes.moc"
