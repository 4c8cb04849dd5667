// Le fichier .edt : lignes écrites, relecture, cas limites et fichiers
// refusés avec leurs messages exacts.
#include "classesedt.h"
#include "erreurs.h"
#include "outils_edt.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace horaku;
using outils::Difference;
using outils::Joindre;
using outils::Lignes;

namespace
{

std::vector<std::string> LignesDefaut()
{
    return Lignes(EcrireEdt(REdt()));
}

// Le message de l'erreur levée par la lecture, vide si elle réussit.
QString ErreurLecture(REdt& e, const std::string& contenu)
{
    try {
        LireEdt(e, contenu);
    } catch (const ErreurHoraku& x) {
        return QString::fromUtf8(x.what());
    }
    return {};
}

std::size_t NombreDeLignesAttendu(const REdt& e)
{
    std::size_t n = 6 + 2 * e.Semaines.size() + 1 + 7 * e.Libelles.size() + 17 + 4 + 1 + 1;
    for (const auto& l : e.ListesDonnees)
        n += l.size();
    for (const auto& j : e.Jours) {
        n += 1;
        for (const auto& js : j.ParSemaine)
            n += 1 + 6 * js.Sequences.size();
    }
    return n;
}

} // namespace

Q_DECLARE_METATYPE(std::string)

class TstEdtFichier : public QObject
{
    Q_OBJECT

private slots:
    void fichierParDefaut()
    {
        const std::string contenu = EcrireEdt(REdt());
        QVERIFY(contenu.size() > 2 && contenu.compare(contenu.size() - 2, 2, "\r\n") == 0);
        // Aucune fin de ligne seule : chaque LF suit un CR et chaque CR précède un LF.
        for (std::size_t i = 0; i < contenu.size(); ++i) {
            if (contenu[i] == '\n') QVERIFY(i > 0 && contenu[i - 1] == '\r');
            if (contenu[i] == '\r') QVERIFY(i + 1 < contenu.size() && contenu[i + 1] == '\n');
        }
        std::vector<std::string> attendu = {"Horaku 2.0a",
                                            "## Ne pas modifier ce fichier ! ##",
                                            "",
                                            "",
                                            "0",
                                            "1",
                                            "Sem 1",
                                            "16776960",
                                            "9"};
        const char* libelles[9][2] = {
            {"Jours", "Lundi"},    {"Classes", "604"},        {"Groupes", "G1"},
            {"Salles", "Salle 4"}, {"Divers", "Divers"},      {"Titre", "Titre"},
            {"Heure", "10:30"},    {"Suppl", "Inutilis\xE9"}, {"Web", "Inutilis\xE9"}};
        for (int i = 0; i < 9; ++i) {
            attendu.insert(attendu.end(), {libelles[i][0], libelles[i][1]});
            if (i == 8)
                attendu.insert(attendu.end(), {"Times New Roman", "8", "16711680", "0000", "1"});
            else
                attendu.insert(attendu.end(), {"Arial", "9", "0", "0000", "1"});
        }
        attendu.insert(attendu.end(), {"55", "1", "1", "0", "0", "0", "0", "0", "0", "00:00:00"});
        attendu.insert(attendu.end(), 7, "0");
        attendu.insert(attendu.end(), {"0", "0", "0", "0", "7"});
        for (int j = 0; j < 7; ++j)
            attendu.insert(attendu.end(), {"1", "0"});
        attendu.push_back("60");
        QCOMPARE(attendu.size(), std::size_t(109));
        const std::vector<std::string> lignes = Lignes(contenu);
        QCOMPARE(lignes.size(), std::size_t(109));
        for (std::size_t i = 0; i < lignes.size(); ++i)
            QVERIFY2(lignes[i] == attendu[i], qPrintable(QStringLiteral("ligne %1").arg(i + 1)));
    }

    void allerRetour_data()
    {
        QTest::addColumn<int>("graine");
        QTest::addColumn<int>("semaines");
        QTest::addColumn<int>("sequences");
        QTest::newRow("une semaine sans séquence") << 1 << 1 << 0;
        QTest::newRow("une semaine") << 2 << 1 << 3;
        QTest::newRow("trois semaines") << 3 << 3 << 4;
        QTest::newRow("trois semaines, autre graine") << 4 << 3 << 4;
        QTest::newRow("dix semaines") << 5 << 10 << 6;
        QTest::newRow("52 semaines") << 6 << 52 << 2;
        for (int g = 10; g < 30; ++g)
            QTest::newRow(qPrintable(QStringLiteral("graine %1").arg(g)))
                << g << 1 + g % 5 << g % 7;
    }
    // Écrire, relire, réécrire : mêmes champs, mêmes octets.
    void allerRetour()
    {
        QFETCH(int, graine);
        QFETCH(int, semaines);
        QFETCH(int, sequences);
        const REdt source = outils::EdtVarie(unsigned(graine), semaines, sequences);
        const std::string premier = EcrireEdt(source);
        QCOMPARE(Lignes(premier).size(), NombreDeLignesAttendu(source));
        REdt relu;
        relu.EdtModifie = true;
        QVERIFY(LireEdt(relu, premier));
        QCOMPARE(Difference(source, relu), QString());
        QVERIFY(!relu.EdtModifie);
        QCOMPARE(relu.Libelles[LibHeure].Police.Orientation, 900);
        QCOMPARE(EcrireEdt(relu), premier);
    }

    void defautRelu()
    {
        REdt relu;
        QVERIFY(LireEdt(relu, EcrireEdt(REdt())));
        QCOMPARE(Difference(REdt(), relu), QString());
    }

    // Trois types de semaine, deux séquences le mardi dans la deuxième.
    void mardiTroisSemaines()
    {
        REdt e;
        e.Semaines = {{"A", 1}, {"B", 2}, {"C", 3}};
        e.AjusterSemaines();
        auto& seqs = e.Jours[1].ParSemaine[1].Sequences;
        seqs.resize(2);
        seqs[0].Debut = EncoderHeure(8, 0);
        seqs[0].Fin = EncoderHeure(8, 55);
        seqs[0].Textes = {"6A", "", "S12", ""};
        seqs[1].Debut = EncoderHeure(9, 0);
        seqs[1].Fin = EncoderHeure(10, 0);
        const std::vector<std::string> lignes = Lignes(EcrireEdt(e));
        // Le bloc des jours suit la ligne D = 7.
        const std::size_t d = 6 + 2 * 3 + 1 + 63 + 17 + 4 + 1;
        QCOMPARE(lignes[d - 1], std::string("7"));
        const std::vector<std::string> lundi = {"1", "0", "0", "0"};
        const std::vector<std::string> mardi = {"1", "0",   "2", "08:00:00", "08:55:00", "6A",
                                                "",  "S12", "",  "09:00:00", "10:00:00", "",
                                                "",  "",    "",  "0"};
        QCOMPARE(std::vector<std::string>(lignes.begin() + d, lignes.begin() + d + 4), lundi);
        QCOMPARE(std::vector<std::string>(lignes.begin() + d + 4, lignes.begin() + d + 20), mardi);
        for (int j = 2; j < 7; ++j) {
            const auto debut = lignes.begin() + d + 20 + 4 * (j - 2);
            QCOMPARE(std::vector<std::string>(debut, debut + 4), lundi);
        }
        QCOMPARE(lignes.size(), d + 4 * 7 + 12 + 1);
    }

    void valeursEcrites_data()
    {
        QTest::addColumn<int>("ligne");
        QTest::addColumn<QByteArray>("attendu");
        QTest::newRow("couleur par défaut") << 8 << QByteArray("16776960");
        QTest::newRow("gras et souligné") << 10 + 7 + 5 << QByteArray("1010");
        QTest::newRow("couleur système") << 10 + 4 << QByteArray("-2147483643");
        QTest::newRow("titre sans fin de ligne") << 3 << QByteArray("un  deux trois");
        QTest::newRow("mot de passe vide") << 4 << QByteArray("");
        QTest::newRow("durée non signée") << 73 << QByteArray("4294967295");
        QTest::newRow("heure des jours") << 82 << QByteArray("13:45:00");
    }
    void valeursEcrites()
    {
        QFETCH(int, ligne);
        QFETCH(QByteArray, attendu);
        REdt e;
        e.Libelles[1].Police.Gras = true;
        e.Libelles[1].Police.Souligne = true;
        e.Libelles[0].Police.Couleur = static_cast<std::int32_t>(0x80000005u);
        e.Titre = "un\r\ndeux\rtrois";
        e.DureeSeq = 4294967295u;
        e.HeureAffichJours = EncoderHeure(13, 45);
        const std::vector<std::string> lignes = Lignes(EcrireEdt(e));
        QCOMPARE(lignes.size(), std::size_t(109));
        QCOMPARE(QByteArray::fromStdString(lignes[std::size_t(ligne - 1)]), attendu);
    }

    // Une fin de ligne dans un texte devient un blanc et ne décale rien.
    void finsDeLigneDansLesTextes()
    {
        REdt e;
        e.Semaines[0].Nom = "a\nb";
        e.ListesDonnees[2] = {"x\r\ny", "\n"};
        e.Jours[3].ParSemaine[0].Sequences.resize(1);
        e.Jours[3].ParSemaine[0].Sequences[0].Textes = {"1\r", "\n2", "", "3\r\n\r\n4"};
        const std::string contenu = EcrireEdt(e);
        REdt relu;
        QVERIFY(LireEdt(relu, contenu));
        QCOMPARE(relu.Semaines[0].Nom, std::string("a b"));
        QCOMPARE(relu.ListesDonnees[2], (std::vector<std::string>{"x  y", " "}));
        const TextesSequence textes = {"1 ", " 2", "", "3    4"};
        QCOMPARE(relu.Jours[3].ParSemaine[0].Sequences[0].Textes, textes);
        QCOMPARE(EcrireEdt(relu), contenu);
    }

    void finsDeLigneAcceptees_data()
    {
        QTest::addColumn<QByteArray>("fin");
        QTest::newRow("LF") << QByteArray("\n");
        QTest::newRow("CR") << QByteArray("\r");
        QTest::newRow("CR LF") << QByteArray("\r\n");
    }
    void finsDeLigneAcceptees()
    {
        QFETCH(QByteArray, fin);
        const REdt source = outils::EdtVarie(7, 3, 3);
        const std::string contenu = Joindre(Lignes(EcrireEdt(source)), fin.constData());
        REdt relu;
        QVERIFY(LireEdt(relu, contenu));
        QCOMPARE(Difference(source, relu), QString());
        // Sans fin de ligne après la dernière ligne, et avec des lignes en trop.
        REdt relu2;
        QVERIFY(LireEdt(relu2, contenu.substr(0, contenu.size() - std::size_t(fin.size()))));
        QCOMPARE(Difference(source, relu2), QString());
        REdt relu3;
        QVERIFY(LireEdt(relu3, contenu + "reste" + fin.toStdString() + "\xFF\r\n"));
        QCOMPARE(Difference(source, relu3), QString());
    }

    void lignesLues_data()
    {
        QTest::addColumn<int>("ligne");
        QTest::addColumn<QByteArray>("valeur");
        QTest::addColumn<QString>("champ");
        QTest::addColumn<QString>("attendu");
        QTest::newRow("en-tête quelconque") << 2 << QByteArray("n'importe quoi") << "titre"
                                            << "";
        QTest::newRow("style 0100") << 22 << QByteArray("0100") << "style1"
                                    << "0100";
        QTest::newRow("style d'un caractère") << 22 << QByteArray("1") << "style1"
                                              << "1000";
        QTest::newRow("style vide") << 22 << QByteArray("") << "style1"
                                    << "0000";
        QTest::newRow("style trop long") << 22 << QByteArray("111101") << "style1"
                                         << "1111";
        QTest::newRow("style autre que 1") << 22 << QByteArray("2x1") << "style1"
                                           << "0010";
        QTest::newRow("durée 0") << 73 << QByteArray("0") << "duree"
                                 << "1";
        QTest::newRow("durée -1") << 73 << QByteArray("-1") << "duree"
                                  << "4294967295";
        QTest::newRow("durée maximale") << 73 << QByteArray("4294967295") << "duree"
                                        << "4294967295";
        QTest::newRow("durée avec +") << 73 << QByteArray("+7") << "duree"
                                      << "7";
        QTest::newRow("entier avec blancs devant") << 5 << QByteArray("  -12") << "reserve1"
                                                   << "-12";
        QTest::newRow("drapeau 5") << 77 << QByteArray("5") << "affichNom"
                                   << "1";
        QTest::newRow("drapeau -1") << 77 << QByteArray("-1") << "affichNom"
                                    << "1";
        QTest::newRow("heure datée") << 82 << QByteArray("01/01/2000 18:30:00") << "heureJours"
                                     << "18:30:00";
        QTest::newRow("date seule") << 82 << QByteArray("31/12/1899") << "heureJours"
                                    << "00:00:00";
        QTest::newRow("heure à un chiffre") << 82 << QByteArray("7:05") << "heureJours"
                                            << "07:05:00";
        QTest::newRow("réservé non numérique") << 76 << QByteArray("abc") << "titre"
                                               << "";
        QTest::newRow("réservés non numériques") << 85 << QByteArray("xyz") << "titre"
                                                 << "";
        QTest::newRow("jour affiché 2") << 95 << QByteArray("2") << "affiche0"
                                        << "2";
        QTest::newRow("jeu 300") << 23 << QByteArray("300") << "jeu1"
                                 << "44";
        QTest::newRow("police 8 imposée") << 68 << QByteArray("Courier") << "police8"
                                          << "Times New Roman/8/16711680";
        QTest::newRow("taille 8 imposée") << 69 << QByteArray("20") << "police8"
                                          << "Times New Roman/8/16711680";
        QTest::newRow("couleur 8 imposée") << 70 << QByteArray("255") << "police8"
                                           << "Times New Roman/8/16711680";
        QTest::newRow("style 8 lu") << 71 << QByteArray("1111") << "style8"
                                    << "1111";
    }
    void lignesLues()
    {
        QFETCH(int, ligne);
        QFETCH(QByteArray, valeur);
        QFETCH(QString, champ);
        QFETCH(QString, attendu);
        std::vector<std::string> lignes = LignesDefaut();
        lignes[std::size_t(ligne - 1)] = valeur.toStdString();
        REdt e;
        QVERIFY(LireEdt(e, Joindre(lignes)));
        const auto style = [](const RPolice& p) {
            return QStringLiteral("%1%2%3%4")
                .arg(int(p.Gras))
                .arg(int(p.Italique))
                .arg(int(p.Souligne))
                .arg(int(p.Barre));
        };
        QString lu;
        if (champ == "titre")
            lu = QString::fromStdString(e.Titre);
        else if (champ == "style1")
            lu = style(e.Libelles[1].Police);
        else if (champ == "style8")
            lu = style(e.Libelles[8].Police);
        else if (champ == "duree")
            lu = QString::number(e.DureeSeq);
        else if (champ == "reserve1")
            lu = QString::number(e.Reserve1);
        else if (champ == "affichNom")
            lu = QString::number(int(e.AffichNom));
        else if (champ == "heureJours")
            lu = QString::fromStdString(TempsVersTexte(e.HeureAffichJours));
        else if (champ == "affiche0")
            lu = QString::number(e.Jours[0].Affiche);
        else if (champ == "jeu1")
            lu = QString::number(e.Libelles[1].Police.Jeu);
        else if (champ == "police8")
            lu = QStringLiteral("%1/%2/%3")
                     .arg(QString::fromStdString(e.Libelles[8].Police.Nom))
                     .arg(e.Libelles[8].Police.Taille)
                     .arg(e.Libelles[8].Police.Couleur);
        QCOMPARE(lu, attendu);
        if (champ == "heureJours") QVERIFY(e.HeureAffichJours < 1);
    }

    // La valeur 0 de Affiche et les valeurs lues se réécrivent telles quelles.
    void entierDeJourConserve()
    {
        std::vector<std::string> lignes = LignesDefaut();
        lignes[94] = "2";
        lignes[96] = "-3";
        lignes[98] = "0";
        REdt e;
        QVERIFY(LireEdt(e, Joindre(lignes)));
        QCOMPARE(EcrireEdt(e), Joindre(lignes));
    }

    void versionRefusee_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::newRow("sans la lettre finale") << QByteArray("Horaku 2.0");
        QTest::newRow("minuscule") << QByteArray("horaku 2.0a");
        QTest::newRow("majuscules") << QByteArray("HORAKU 2.0A");
        QTest::newRow("blanc final") << QByteArray("Horaku 2.0a ");
        QTest::newRow("blanc initial") << QByteArray(" Horaku 2.0a");
        QTest::newRow("autre version") << QByteArray("Horaku 2.0b");
        QTest::newRow("vide") << QByteArray("");
        QTest::newRow("marque d'ordre UTF-8") << QByteArray("\xEF\xBB\xBFHoraku 2.0a");
    }
    void versionRefusee()
    {
        QFETCH(QByteArray, version);
        std::vector<std::string> lignes = Lignes(EcrireEdt(outils::EdtVarie(3)));
        lignes[0] = version.toStdString();
        REdt e;
        e.Fichier = "/tmp/x.edt";
        QVERIFY(!LireEdt(e, Joindre(lignes)));
        QCOMPARE(Difference(REdt(), e), QString());
        QCOMPARE(e.Fichier, std::string("/tmp/x.edt"));
        QCOMPARE(e.Libelles[LibHeure].Police.Orientation, 0);
    }

    void fichiersRefuses_data()
    {
        QTest::addColumn<int>("ligne");
        QTest::addColumn<QByteArray>("valeur");
        QTest::addColumn<int>("garder");
        QTest::addColumn<QString>("message");
        const QString entier = QStringLiteral("'%1' n'est pas une valeur entière correcte");
        const QString date =
            QStringLiteral("'%1' ne correspond pas à une date et une heure correctes");
        const QString indice = QStringLiteral("Indice de liste hors limites (%1)");
        const QString incorrect = QStringLiteral("Fichier Horaku incorrect : la ligne %1 %2.");
        QTest::newRow("entier illisible") << 5 << QByteArray("abc") << -1 << entier.arg("abc");
        QTest::newRow("blanc après l'entier") << 5 << QByteArray("12 ") << -1 << entier.arg("12 ");
        QTest::newRow("deux signes") << 5 << QByteArray("+-3") << -1 << entier.arg("+-3");
        QTest::newRow("signe seul") << 5 << QByteArray("-") << -1 << entier.arg("-");
        QTest::newRow("entier hexadécimal") << 5 << QByteArray("0x10") << -1 << entier.arg("0x10");
        QTest::newRow("entier trop grand")
            << 5 << QByteArray("2147483648") << -1 << entier.arg("2147483648");
        QTest::newRow("couleur vide") << 8 << QByteArray("") << -1 << entier.arg("");
        QTest::newRow("taille décimale") << 13 << QByteArray("9.5") << -1 << entier.arg("9.5");
        QTest::newRow("octet accentué") << 74 << QByteArray("\xE9\x80") << -1 << entier.arg("é€");
        QTest::newRow("durée trop grande")
            << 73 << QByteArray("4294967296") << -1 << entier.arg("4294967296");
        QTest::newRow("drapeau illisible") << 77 << QByteArray("oui") << -1 << entier.arg("oui");
        QTest::newRow("heure illisible") << 82 << QByteArray("25:00") << -1 << date.arg("25:00");
        QTest::newRow("heure vide") << 82 << QByteArray("") << -1 << date.arg("");
        // Un octet nul ne coupe pas le message : il s'y montre en « ␀ ».
        QTest::newRow("zéro dans un entier")
            << 5 << QByteArray("12\0ab", 5) << -1 << entier.arg("12␀ab");
        QTest::newRow("zéro seul") << 5 << QByteArray("\0", 1) << -1 << entier.arg("␀");
        QTest::newRow("zéro dans une heure")
            << 82 << QByteArray("08\0:30", 6) << -1 << date.arg("08␀:30");
        QTest::newRow("largeur illisible") << 109 << QByteArray("60px") << -1 << entier.arg("60px");
        QTest::newRow("fichier vide") << 0 << QByteArray() << 0 << indice.arg(0);
        QTest::newRow("version seule") << 0 << QByteArray() << 1 << indice.arg(1);
        QTest::newRow("fichier coupé") << 0 << QByteArray() << 50 << indice.arg(50);
        QTest::newRow("dernière ligne manquante") << 0 << QByteArray() << 108 << indice.arg(108);
        QTest::newRow("aucune semaine") << 6 << QByteArray("0") << -1
                                        << incorrect.arg(6).arg("n'annonce aucun type de semaine");
        QTest::newRow("semaines négatives")
            << 6 << QByteArray("-1") << -1 << incorrect.arg(6).arg("donne un nombre négatif (-1)");
        QTest::newRow("semaines absurdes")
            << 6 << QByteArray("2000000000") << -1 << indice.arg(109);
        QTest::newRow("semaines maximales")
            << 6 << QByteArray("2147483647") << -1 << indice.arg(109);
        QTest::newRow("huit polices")
            << 9 << QByteArray("8") << -1 << incorrect.arg(9).arg("annonce 8 polices au lieu de 9");
        QTest::newRow("dix polices") << 9 << QByteArray("10") << -1
                                     << incorrect.arg(9).arg("annonce 10 polices au lieu de 9");
        QTest::newRow("polices absurdes") << 9 << QByteArray("2000000000") << -1 << indice.arg(109);
        QTest::newRow("liste négative") << 92 << QByteArray("-5") << -1
                                        << incorrect.arg(92).arg("donne un nombre négatif (-5)");
        QTest::newRow("liste absurde") << 90 << QByteArray("2000000000") << -1 << indice.arg(109);
        QTest::newRow("liste plus longue que le fichier")
            << 93 << QByteArray("17") << -1 << indice.arg(109);
        QTest::newRow("six jours")
            << 94 << QByteArray("6") << -1 << incorrect.arg(94).arg("annonce 6 jours au lieu de 7");
        QTest::newRow("huit jours")
            << 94 << QByteArray("8") << -1 << incorrect.arg(94).arg("annonce 8 jours au lieu de 7");
        QTest::newRow("jours absurdes") << 94 << QByteArray("2000000000") << -1 << indice.arg(109);
        QTest::newRow("séquences absurdes")
            << 96 << QByteArray("2000000000") << -1 << indice.arg(109);
        QTest::newRow("séquences au-delà du fichier")
            << 96 << QByteArray("3") << -1 << indice.arg(109);
        QTest::newRow("séquences lisant un jour") << 96 << QByteArray("2") << -1 << date.arg("1");
        QTest::newRow("séquences négatives")
            << 108 << QByteArray("-2") << -1
            << incorrect.arg(108).arg("donne un nombre négatif (-2)");
    }
    void fichiersRefuses()
    {
        QFETCH(int, ligne);
        QFETCH(QByteArray, valeur);
        QFETCH(int, garder);
        QFETCH(QString, message);
        std::vector<std::string> lignes = LignesDefaut();
        if (ligne > 0) lignes[std::size_t(ligne - 1)] = valeur.toStdString();
        if (garder >= 0) lignes.resize(std::size_t(garder));
        REdt e;
        QCOMPARE(ErreurLecture(e, Joindre(lignes)), message);
        // Ce qui a été lu reste cohérent : un jour par semaine partout.
        QCOMPARE(e.Libelles.size(), std::size_t(9));
        QCOMPARE(e.Jours.size(), std::size_t(7));
        for (const RJour& j : e.Jours)
            QCOMPARE(j.ParSemaine.size(), e.Semaines.size());
    }

    // Une erreur après la liste des semaines laisse chaque jour avec autant
    // d'entrées que de semaines, ce dont dépendent l'écrivain et les dialogues.
    void invariantApresErreur_data()
    {
        QTest::addColumn<int>("ligne");
        QTest::newRow("dans les polices") << 20;
        QTest::newRow("dans les options") << 100;
        QTest::newRow("dans les jours") << 140;
    }
    void invariantApresErreur()
    {
        QFETCH(int, ligne);
        std::vector<std::string> lignes = Lignes(EcrireEdt(outils::EdtVarie(11, 5, 0)));
        lignes.resize(std::size_t(ligne));
        REdt e;
        QVERIFY(!ErreurLecture(e, Joindre(lignes)).isEmpty());
        QCOMPARE(e.Semaines.size(), std::size_t(5));
        for (const RJour& j : e.Jours)
            QCOMPARE(j.ParSemaine.size(), std::size_t(5));
        QCOMPARE(Lignes(EcrireEdt(e)).size(), NombreDeLignesAttendu(e));
    }

    // Un compte démesuré dans un petit fichier échoue sans rien allouer : un
    // lecteur qui redimensionnerait d'abord demanderait ici des centaines de
    // gigaoctets.
    void comptesDemesures_data()
    {
        QTest::addColumn<int>("ligne");
        QTest::newRow("semaines") << 6;
        QTest::newRow("liste 1") << 90;
        QTest::newRow("liste 4") << 93;
        QTest::newRow("séquences du dimanche") << 108;
    }
    void comptesDemesures()
    {
        QFETCH(int, ligne);
        std::vector<std::string> lignes = LignesDefaut();
        lignes[std::size_t(ligne - 1)] = "2147483647";
        REdt e;
        QCOMPARE(ErreurLecture(e, Joindre(lignes)),
                 QStringLiteral("Indice de liste hors limites (109)"));
    }

    void chargerEtEnregistrer()
    {
        QTemporaryDir dossier;
        QVERIFY(dossier.isValid());
        const std::string chemin = QDir(dossier.path()).filePath("été 2024.edt").toStdString();
        REdt source = outils::EdtVarie(21, 4, 3);
        source.Fichier = chemin;
        source.EdtModifie = true;
        QVERIFY(source.Enregistrer());
        QVERIFY(!source.EdtModifie);

        REdt relu;
        relu.Fichier = chemin;
        QVERIFY(relu.Charger());
        QCOMPARE(relu.Fichier, chemin);
        QVERIFY(!relu.EdtModifie);
        QCOMPARE(Difference(source, relu), QString());

        // Fichier absent : la liste de lignes vide.
        REdt absent;
        absent.Fichier = chemin + ".absent";
        try {
            absent.Charger();
            QFAIL("aucune erreur");
        } catch (const ErreurHoraku& x) {
            QCOMPARE(QString::fromUtf8(x.what()),
                     QStringLiteral("Indice de liste hors limites (0)"));
        }
        QCOMPARE(absent.Fichier, chemin + ".absent");

        // Version refusée : réponse fausse, valeurs par défaut, nom gardé.
        QFile f(QString::fromStdString(chemin));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Horaku 1.0\r\n");
        f.close();
        REdt ancien;
        ancien.Fichier = chemin;
        QVERIFY(!ancien.Charger());
        QCOMPARE(ancien.Fichier, chemin);
        QCOMPARE(Difference(REdt(), ancien), QString());
    }
};

QTEST_GUILESS_MAIN(TstEdtFichier)
#include "tst_edtfichier.moc"
