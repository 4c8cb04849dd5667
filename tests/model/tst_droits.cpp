// Deux utilisateurs qui partagent un dossier de groupe : l'un ne remplace pas
// l'emploi du temps que l'autre ne lui laisse pas écrire, et un
// enregistrement garde propriétaire, groupe, droits, liste d'accès et liens.
// L'écriture se fait dans un processus fils devenu l'utilisateur 65534 : il
// faut être administrateur pour le créer, sans quoi ces tests sont sautés.
#include "erreurs.h"
#include "fichiers.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace horaku;

namespace
{

constexpr uid_t kAutre = 65534;  // celui qui enregistre
constexpr uid_t kProprio = 4242; // celui à qui le fichier appartient
constexpr gid_t kGroupe = 65534; // leur groupe commun

QByteArray Contenu(const QString& chemin)
{
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

QByteArray Acl(const QByteArray& chemin)
{
    QByteArray v(4096, '\0');
    const ssize_t n =
        ::getxattr(chemin.constData(), "system.posix_acl_access", v.data(), std::size_t(v.size()));
    return n < 0 ? QByteArray() : v.left(n);
}

// EcrireFichierAtomique dans un fils qui n'est plus que l'utilisateur
// kAutre : le message d'erreur, vide en cas de succès.
QString EcrireCommeAutre(const QString& chemin, const QByteArray& contenu)
{
    int tube[2];
    if (::pipe(tube) != 0) return "<pipe>";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(tube[0]);
        std::string message;
        if (::setgroups(0, nullptr) != 0 || ::setgid(kGroupe) != 0 || ::setuid(kAutre) != 0) {
            message = "<setuid>";
        } else {
            try {
                EcrireFichierAtomique(QFile::encodeName(chemin).toStdString(),
                                      contenu.toStdString());
            } catch (const ErreurHoraku& e) {
                message = e.what();
            }
        }
        if (::write(tube[1], message.data(), message.size()) < 0) ::_exit(2);
        ::_exit(0);
    }
    ::close(tube[1]);
    QByteArray lu;
    char morceau[512];
    ssize_t n;
    while ((n = ::read(tube[0], morceau, sizeof morceau)) > 0)
        lu.append(morceau, n);
    ::close(tube[0]);
    int etat = 0;
    ::waitpid(pid, &etat, 0);
    if (!WIFEXITED(etat) || WEXITSTATUS(etat) != 0) return "<fils>";
    return QString::fromUtf8(lu);
}

} // namespace

class TstDroits : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("il faut être administrateur pour écrire sous un autre utilisateur");
    }

    // cas : propriétaire:groupe, droits du fichier, droits du dossier,
    // et ce qui s'ajoute (lien, liste d'accès).
    void enregistrer_data()
    {
        QTest::addColumn<int>("proprio");
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("modeDossier");
        QTest::addColumn<QString>("extra");
        QTest::addColumn<QString>("cause"); // vide : l'écriture réussit
        QTest::addColumn<int>("modeApres");
        QTest::newRow("fichier d'un autre, en lecture pour le groupe")
            << int(kProprio) << 0644 << 0775 << ""
            << "Accès refusé." << 0644;
        QTest::newRow("fichier d'un autre, sans aucun droit d'écriture")
            << int(kProprio) << 0444 << 0775 << ""
            << "Fichier en lecture seule." << 0444;
        QTest::newRow("fichier du groupe") << int(kProprio) << 0664 << 0775 << ""
                                           << "" << 0664;
        QTest::newRow("fichier du groupe, lien dur") << int(kProprio) << 0664 << 0775 << "lien"
                                                     << "" << 0664;
        QTest::newRow("liste d'accès qui donne l'écriture")
            << int(kProprio) << 0640 << 0775 << "acl"
            << "" << 0660;
        QTest::newRow("liste d'accès qui ne la donne pas")
            << int(kProprio) << 0664 << 0775 << "aclLecture"
            << "Accès refusé." << 0664;
        // Écrit par un autre que son propriétaire, un fichier setuid perd ce bit.
        QTest::newRow("setuid d'un autre") << int(kProprio) << 04775 << 0775 << ""
                                           << "" << 0775;
        // Le dossier permettrait le renommage ; le fichier, lui, est fermé à
        // son propriétaire.
        QTest::newRow("son fichier fermé à lui seul") << int(kAutre) << 0464 << 0775 << ""
                                                      << "Accès refusé." << 0464;
        QTest::newRow("son fichier dans un dossier fermé") << int(kAutre) << 0644 << 0755 << ""
                                                           << "" << 0644;
        QTest::newRow("son fichier, dossier du groupe") << int(kAutre) << 0640 << 0775 << ""
                                                        << "" << 0640;
        QTest::newRow("fichier neuf dans un dossier fermé") << int(kAutre) << 0 << 0755 << "neuf"
                                                            << "Accès refusé." << 0;
    }
    void enregistrer()
    {
        QFETCH(int, proprio);
        QFETCH(int, mode);
        QFETCH(int, modeDossier);
        QFETCH(QString, extra);
        QFETCH(QString, cause);
        QFETCH(int, modeApres);
        QTemporaryDir racine;
        QVERIFY(::chmod(QFile::encodeName(racine.path()).constData(), 0755) == 0);
        const QString dossier = racine.filePath("partage");
        QVERIFY(QDir().mkdir(dossier));
        const QByteArray d = QFile::encodeName(dossier);
        QVERIFY(::chown(d.constData(), 0, kGroupe) == 0);
        QVERIFY(::chmod(d.constData(), mode_t(modeDossier)) == 0);
        const QString chemin = dossier + "/plan.edt";
        const QByteArray c = QFile::encodeName(chemin);
        const QByteArray ancien = "ancien contenu de l'emploi du temps\r\n";
        if (extra != "neuf") {
            QFile f(chemin);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(ancien);
            f.close();
            QVERIFY(::chown(c.constData(), uid_t(proprio), kGroupe) == 0);
            QVERIFY(::chmod(c.constData(), mode_t(mode)) == 0);
        }
        if (extra == "lien")
            QVERIFY(::link(c.constData(), QFile::encodeName(dossier + "/lien.edt")) == 0);
        if (extra.startsWith("acl")) {
            QProcess p;
            p.start("setfacl", {"-m", extra == "acl" ? "u:65534:rw" : "u:65534:r", chemin});
            if (!p.waitForFinished() || p.exitCode() != 0)
                QSKIP("setfacl absent ou listes d'accès non prises en charge ici");
        }
        struct stat avant {
        };
        ::stat(c.constData(), &avant);
        const QByteArray acl = Acl(c);
        const QStringList entrees = QDir(dossier).entryList(QDir::Files | QDir::Hidden);

        const QByteArray nouveau = "nouveau\r\n";
        const QString message = EcrireCommeAutre(chemin, nouveau);

        struct stat apres {
        };
        const bool existe = ::stat(c.constData(), &apres) == 0;
        if (cause.isEmpty()) {
            QCOMPARE(message, QString());
            QCOMPARE(Contenu(chemin), nouveau);
        } else {
            QCOMPARE(message, "Impossible de créer le fichier " + chemin + "\n" + cause);
            QCOMPARE(Contenu(chemin), extra == "neuf" ? QByteArray("<absent>") : ancien);
            QCOMPARE(QDir(dossier).entryList(QDir::Files | QDir::Hidden), entrees);
        }
        if (extra == "neuf") return;
        QVERIFY(existe);
        QCOMPARE(apres.st_uid, uid_t(proprio));
        QCOMPARE(apres.st_gid, kGroupe);
        QCOMPARE(int(apres.st_mode & 07777), modeApres);
        QCOMPARE(apres.st_nlink, avant.st_nlink);
        QCOMPARE(Acl(c), acl);
        if (extra == "lien") QCOMPARE(Contenu(dossier + "/lien.edt"), nouveau);
        QCOMPARE(QDir(dossier).entryList(QDir::Files | QDir::Hidden), entrees);
    }
};

QTEST_GUILESS_MAIN(TstDroits)
#include "tst_droits.moc"
