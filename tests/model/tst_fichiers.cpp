// Découpage en lignes, lecture entière et écriture atomique des fichiers.
#include "classesedt.h"
#include "erreurs.h"
#include "fichiers.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <new>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace horaku;

namespace
{

QByteArray Contenu(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly)) return "<illisible>";
    return f.readAll();
}

void Ecrire(const QString& chemin, const QByteArray& contenu)
{
    QFile f(chemin);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(contenu);
}

// Names and values of every extended attribute, access lists included.
QByteArray Attributs(const QByteArray& chemin)
{
    QByteArray noms(4096, '\0');
    const ssize_t n = ::listxattr(chemin.constData(), noms.data(), std::size_t(noms.size()));
    if (n <= 0) return {};
    noms.truncate(n);
    QByteArray tout;
    for (const QByteArray& nom : noms.split('\0')) {
        if (nom.isEmpty()) continue;
        QByteArray valeur(4096, '\0');
        const ssize_t v = ::getxattr(chemin.constData(), nom.constData(), valeur.data(),
                                     std::size_t(valeur.size()));
        tout += nom + '=' + valeur.left(v < 0 ? 0 : v).toHex() + ';';
    }
    return tout;
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

class TstFichiers : public QObject
{
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
        // Plus de fins de ligne à la suite qu'un compteur d'un octet n'en tient.
        QTest::newRow("10 000 LF") << QByteArray(10000, '\n') << QStringList(10000, QString());
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
    // Le découpage, par blocs lui aussi, suit une expression régulière.
    void compterLignesLongues()
    {
        const QRegularExpression fin(QStringLiteral("\r\n|\r|\n"));
        std::uint32_t etat = 12345;
        for (int essai = 0; essai < 300; ++essai) {
            etat = etat * 1664525u + 1013904223u;
            std::string s(etat % 2000, 'a');
            for (char& c : s) {
                etat = etat * 1664525u + 1013904223u;
                // Un texte sur trois a des lignes plus longues qu'un bloc.
                const unsigned r = (etat >> 20) % (essai % 3 == 0 ? 150u : 8u);
                c = r == 0 ? '\r' : r == 1 ? '\n' : 'a';
            }
            QCOMPARE(CompterLignes(s), DecouperLignes(s).size());
            QStringList attendu = QString::fromLatin1(s.data(), qsizetype(s.size())).split(fin);
            if (attendu.back().isEmpty()) attendu.removeLast(); // rien après la dernière fin
            QStringList lu;
            for (std::string_view l : DecouperLignes(s))
                lu << QString::fromLatin1(l.data(), qsizetype(l.size()));
            QCOMPARE(lu, attendu);
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
        struct stat st {
        };
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

    // La ligne de version est jugée avant toute lecture, et un fichier plus
    // grand qu'aucun emploi du temps est refusé par un message qui le nomme.
    // Les fichiers sont creux : leur taille ne coûte rien au disque.
    void lectureBornee_data()
    {
        QTest::addColumn<QByteArray>("premiereLigne");
        QTest::addColumn<qint64>("taille");
        QTest::addColumn<QString>("message"); // %1 : le chemin ; vide : Charger répond faux
        const QString tropGrand =
            QStringLiteral("Le fichier %1 est trop grand (plus de 64 Mo) pour être un fichier "
                           "Horaku.");
        const qint64 borne = 64 << 20;
        QTest::newRow("100 Go, autre version")
            << QByteArray("Horaku 2.0b\r\n") << (100LL << 30) << QString();
        QTest::newRow("100 Go, version sans fin de ligne")
            << QByteArray("Horaku 2.0a") << (100LL << 30) << QString();
        QTest::newRow("100 Go, bonne version")
            << QByteArray("Horaku 2.0a\r\n") << (100LL << 30) << tropGrand;
        QTest::newRow("un octet de trop") << QByteArray("Horaku 2.0a\n") << borne + 1 << tropGrand;
        // Juste à la borne, le fichier est lu : une seule ligne suit la version.
        QTest::newRow("à la borne") << QByteArray("Horaku 2.0a\n") << borne
                                    << QStringLiteral("Indice de liste hors limites (2)");
        QTest::newRow("version seule, sans fin de ligne")
            << QByteArray("Horaku 2.0a") << qint64(11)
            << QStringLiteral("Indice de liste hors limites (1)");
        QTest::newRow("vide") << QByteArray() << qint64(0)
                              << QStringLiteral("Indice de liste hors limites (0)");
    }
    void lectureBornee()
    {
        QFETCH(QByteArray, premiereLigne);
        QFETCH(qint64, taille);
        QFETCH(QString, message);
        QTemporaryDir d;
        const QString chemin = d.filePath("grand.edt");
        {
            QFile f(chemin);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(premiereLigne);
            if (!f.resize(taille))
                QSKIP("ce système de fichiers n'a pas de fichiers creux si grands");
        }
        REdt e;
        e.Fichier = chemin.toStdString();
        bool lu = true;
        QString obtenu;
        try {
            lu = e.Charger();
        } catch (const ErreurHoraku& x) {
            obtenu = QString::fromUtf8(x.what());
        } catch (const std::bad_alloc&) {
            obtenu = "<mémoire épuisée>";
        }
        if (message.isEmpty()) {
            QCOMPARE(obtenu, QString());
            QVERIFY(!lu);
        } else {
            QCOMPARE(obtenu, message.contains("%1") ? message.arg(chemin) : message);
        }
    }

    // Lire un fichier ne coûte pas plus que sa taille : sous une limite de
    // mémoire d'une fois et demie la taille au-dessus de l'usage présent, la
    // lecture passe encore.
    void lectureSansDoubleCopie()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("AddressSanitizer réserve trop d'espace d'adressage pour une limite de mémoire");
#endif
        QTemporaryDir d;
        const QString chemin = d.filePath("gros");
        const qint64 taille = 48 << 20;
        {
            QFile f(chemin);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.resize(taille));
        }
        const pid_t pid = ::fork();
        if (pid == 0) {
            long pages = 0;
            if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
                if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
                std::fclose(statm);
            }
            const rlim_t present = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE));
            struct rlimit limite {
            };
            limite.rlim_cur = limite.rlim_max = present + rlim_t(taille) * 3 / 2;
            ::setrlimit(RLIMIT_AS, &limite);
            try {
                const std::string s = LireFichier(QFile::encodeName(chemin).toStdString());
                ::_exit(s.size() == std::size_t(taille) ? 0 : 3);
            } catch (...) {
                ::_exit(4);
            }
        }
        int etat = 0;
        QCOMPARE(::waitpid(pid, &etat, 0), pid);
        QVERIFY(WIFEXITED(etat));
        QCOMPARE(WEXITSTATUS(etat), 0);
    }

    // Ce qui fait le fichier reste : droits, liens, listes d'accès,
    // attributs.  Le remplacement par renommage ne sert que lorsqu'il ne
    // perd rien ; sinon le fichier est réécrit sur place (même inode).
    void ecritureGarde_data()
    {
        QTest::addColumn<QString>("cas");
        QTest::addColumn<bool>("surPlace");
        QTest::newRow("fichier simple") << "simple" << false;
        QTest::newRow("droits 0604") << "droits" << false;
        QTest::newRow("setgid de son propre groupe") << "setgid" << false;
        QTest::newRow("lien dur") << "lien" << true;
        QTest::newRow("attribut utilisateur") << "attribut" << true;
        QTest::newRow("liste d'accès") << "acl" << true;
        QTest::newRow("plus court que l'ancien") << "court" << true;
        QTest::newRow("fichier d'un autre utilisateur") << "autre" << true;
    }
    void ecritureGarde()
    {
        QFETCH(QString, cas);
        QFETCH(bool, surPlace);
        QTemporaryDir d;
        const QString chemin = d.filePath("edt.edt");
        const QByteArray c = QFile::encodeName(chemin);
        QByteArray nouveau = "nouveau contenu\r\n";
        Ecrire(chemin, QByteArray(300, 'a'));
        if (cas == "droits") {
            QVERIFY(::chmod(c.constData(), 0604) == 0);
        } else if (cas == "setgid") {
            QVERIFY(::chmod(c.constData(), 02664) == 0);
        } else if (cas == "lien" || cas == "court") {
            QVERIFY(::link(c.constData(), QFile::encodeName(d.filePath("lien")).constData()) == 0);
            if (cas == "court") nouveau = "n";
        } else if (cas == "autre") {
            if (::geteuid() != 0) QSKIP("donner un fichier à un autre demande l'administrateur");
            QVERIFY(::chown(c.constData(), 4242, 4242) == 0);
        } else if (cas == "attribut") {
            if (::setxattr(c.constData(), "user.horaku", "42", 2, 0) != 0)
                QSKIP("attributs utilisateur non pris en charge ici");
        } else if (cas == "acl") {
            QProcess p;
            p.start("setfacl", {"-m", "u:12345:rw", chemin});
            if (!p.waitForFinished() || p.exitCode() != 0)
                QSKIP("setfacl absent ou listes d'accès non prises en charge ici");
        }
        struct stat avant {
        };
        QVERIFY(::stat(c.constData(), &avant) == 0);
        const QByteArray attributs = Attributs(c);
        QCOMPARE(MessageEcriture(chemin.toStdString(), nouveau.toStdString()), QString());
        struct stat apres {
        };
        QVERIFY(::stat(c.constData(), &apres) == 0);
        QCOMPARE(Contenu(chemin), nouveau);
        QCOMPARE(apres.st_mode, avant.st_mode);
        QCOMPARE(apres.st_uid, avant.st_uid);
        QCOMPARE(apres.st_gid, avant.st_gid);
        QCOMPARE(apres.st_nlink, avant.st_nlink);
        QCOMPARE(Attributs(c), attributs);
        QCOMPARE(apres.st_ino == avant.st_ino, surPlace);
        if (avant.st_nlink > 1) QCOMPARE(Contenu(d.filePath("lien")), nouveau);
        QCOMPARE(QDir(d.path()).entryList(QDir::Files | QDir::Hidden).size(), int(avant.st_nlink));
    }

    // Un fichier neuf prend les droits habituels : 0666 moins le masque.
    void nouveauFichier_data()
    {
        QTest::addColumn<int>("masque");
        QTest::newRow("022") << 022;
        QTest::newRow("027") << 027;
        QTest::newRow("002") << 002;
    }
    void nouveauFichier()
    {
        QFETCH(int, masque);
        QTemporaryDir d;
        const QString chemin = d.filePath("neuf.edt");
        const mode_t ancien = ::umask(mode_t(masque));
        const QString message = MessageEcriture(chemin.toStdString(), "x");
        ::umask(ancien);
        QCOMPARE(message, QString());
        struct stat st {
        };
        QVERIFY(::stat(QFile::encodeName(chemin).constData(), &st) == 0);
        QCOMPARE(int(st.st_mode & 07777), 0666 & ~masque);
        QCOMPARE(QDir(d.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"neuf.edt"});
    }

    // Un contenu produit pendant l'écriture (un agenda) qui échoue en cours
    // de route : son erreur passe, l'ancien fichier reste entier, aucun
    // fichier temporaire ne reste.
    void productionInterrompue_data()
    {
        QTest::addColumn<bool>("surPlace");
        QTest::newRow("renommage") << false;
        QTest::newRow("sur place") << true;
    }
    void productionInterrompue()
    {
        QFETCH(bool, surPlace);
        QTemporaryDir d;
        const QString chemin = d.filePath("agenda.ics");
        Ecrire(chemin, "ancien");
        const QByteArray c = QFile::encodeName(chemin), lien = QFile::encodeName(d.filePath("l"));
        if (surPlace) QVERIFY(::link(c.constData(), lien.constData()) == 0);
        QVERIFY_THROWS_EXCEPTION(
            std::length_error,
            EcrireFichierAtomique(chemin.toStdString(), [](const EcrireMorceau& ecrire) {
                ecrire(std::string(200000, 'n'));
                throw std::length_error("arrêt");
            }));
        QCOMPARE(Contenu(chemin), QByteArray("ancien"));
        QCOMPARE(QDir(d.path()).entryList(QDir::Files | QDir::Hidden).size(), surPlace ? 2 : 1);
    }

    void ecritureEchouee_data()
    {
        QTest::addColumn<QString>("cas");
        QTest::addColumn<QString>("cause");
        QTest::newRow("la cible est un dossier") << "dossier"
                                                 << "Le nom désigne un dossier.";
        QTest::newRow("dossier absent") << "absent"
                                        << "Dossier introuvable.";
        QTest::newRow("chemin par un fichier") << "parFichier"
                                               << "Un élément du chemin n'est pas un dossier.";
        QTest::newRow("fichier en lecture seule") << "lectureSeule"
                                                  << "Fichier en lecture seule.";
        QTest::newRow("fichier spécial") << "tube"
                                         << "Le nom ne désigne pas un fichier ordinaire.";
        QTest::newRow("nom vide") << "vide"
                                  << "Aucun nom de fichier.";
        QTest::newRow("écriture interrompue") << "interrompue"
                                              << "Fichier trop grand pour le disque.";
        QTest::newRow("écriture sur place interrompue") << "interrompueSurPlace"
                                                        << "Fichier trop grand pour le disque.";
    }
    // Un échec laisse l'ancien fichier intact, aucun fichier temporaire,
    // l'emploi du temps marqué modifié, et le message dit pourquoi sur sa
    // deuxième ligne.
    void ecritureEchouee()
    {
        QFETCH(QString, cas);
        QFETCH(QString, cause);
        QTemporaryDir d;
        QString dossier = d.path();
        QString chemin = d.filePath("edt.edt");
        if (cas == "dossier") {
            QVERIFY(QDir(d.path()).mkdir("edt.edt"));
        } else if (cas == "absent") {
            dossier = d.filePath("absent");
            chemin = d.filePath("absent/edt.edt");
        } else if (cas == "parFichier") {
            Ecrire(d.filePath("f"), "x");
            chemin = d.filePath("f/edt.edt");
        } else if (cas == "lectureSeule") {
            Ecrire(chemin, "ancien");
            QVERIFY(::chmod(QFile::encodeName(chemin).constData(), 0444) == 0);
        } else if (cas == "tube") {
            QVERIFY(::mkfifo(QFile::encodeName(chemin).constData(), 0644) == 0);
        } else if (cas == "vide") {
            chemin.clear();
        } else if (cas == "interrompue") {
            Ecrire(chemin, "ancien");
        } else if (cas == "interrompueSurPlace") {
            // Un second lien impose l'écriture sur place.
            Ecrire(chemin, "ancien");
            QVERIFY(::link(QFile::encodeName(chemin).constData(),
                           QFile::encodeName(d.filePath("lien.edt")).constData()) == 0);
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
        struct rlimit limite {
        };
        ::getrlimit(RLIMIT_FSIZE, &limite);
        if (cas.startsWith("interrompue")) {
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
        QCOMPARE(message, "Impossible de créer le fichier " + chemin + "\n" + cause);
        QVERIFY(e.EdtModifie);
        if (avant.exists())
            QCOMPARE(
                QDir(dossier).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                entrees);
        if (QFileInfo(chemin).isFile()) QCOMPARE(Contenu(chemin), ancien);
        ::chmod(QFile::encodeName(dossier).constData(), 0755);
    }
};

QTEST_GUILESS_MAIN(TstFichiers)
#include "tst_fichiers.moc"
