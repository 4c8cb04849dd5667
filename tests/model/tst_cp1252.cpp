// Conversions entre les octets Windows-1252 des fichiers et l'UTF-8.
#include "cp1252.h"

#include <QStringDecoder>
#include <QtTest>

using namespace horaku;

class TstCp1252 : public QObject
{
    Q_OBJECT

private slots:
    // Chaque octet, seul ou dans un texte qui les contient tous, revient
    // intact après un aller-retour par l'UTF-8.
    void allerRetourDes256Octets()
    {
        std::string tous;
        for (int o = 0; o < 256; ++o) {
            const std::string un(1, static_cast<char>(o));
            const std::string utf8 = Cp1252VersUtf8(un);
            QVERIFY2(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())).size() == 1,
                     qPrintable(QString::number(o, 16)));
            QCOMPARE(Utf8VersCp1252(utf8), un);
            tous += un;
        }
        QCOMPARE(Utf8VersCp1252(Cp1252VersUtf8(tous)), tous);
        // L'UTF-8 produit est bien formé : Qt le relit sans caractère de remplacement.
        const std::string utf8 = Cp1252VersUtf8(tous);
        const QString q = QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
        QCOMPARE(q.size(), 256);
        QVERIFY(!q.contains(QChar::ReplacementCharacter));
    }

    void table_data()
    {
        QTest::addColumn<int>("octet");
        QTest::addColumn<uint>("unicode");
        QTest::newRow("A") << 0x41 << 0x41u;
        QTest::newRow("euro") << 0x80 << 0x20ACu;
        QTest::newRow("0x81 indéfini") << 0x81 << 0x81u;
        QTest::newRow("guillemet bas") << 0x84 << 0x201Eu;
        QTest::newRow("OE") << 0x8C << 0x152u;
        QTest::newRow("0x8D indéfini") << 0x8D << 0x8Du;
        QTest::newRow("0x8F indéfini") << 0x8F << 0x8Fu;
        QTest::newRow("0x90 indéfini") << 0x90 << 0x90u;
        QTest::newRow("apostrophe") << 0x92 << 0x2019u;
        QTest::newRow("tiret cadratin") << 0x97 << 0x2014u;
        QTest::newRow("marque") << 0x99 << 0x2122u;
        QTest::newRow("0x9D indéfini") << 0x9D << 0x9Du;
        QTest::newRow("Y tréma") << 0x9F << 0x178u;
        QTest::newRow("espace insécable") << 0xA0 << 0xA0u;
        QTest::newRow("e accent aigu") << 0xE9 << 0xE9u;
        QTest::newRow("y tréma") << 0xFF << 0xFFu;
    }
    void table()
    {
        QFETCH(int, octet);
        QFETCH(uint, unicode);
        QCOMPARE(static_cast<uint>(Cp1252VersUnicode(static_cast<unsigned char>(octet))), unicode);
    }

    // Une autre table (celle d'ICU, par Qt) pour chaque octet défini.
    void accordAvecQt()
    {
        QStringDecoder decodeur("windows-1252");
        if (!decodeur.isValid()) QSKIP("Qt ne connaît pas windows-1252 sur cette machine");
        for (int o = 0; o < 256; ++o) {
            if (o == 0x81 || o == 0x8D || o == 0x8F || o == 0x90 || o == 0x9D) continue;
            const char c = static_cast<char>(o);
            const QString attendu = decodeur.decode(QByteArrayView(&c, 1));
            const std::string utf8 = Cp1252VersUtf8(std::string(1, c));
            QCOMPARE(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())), attendu);
        }
    }

    void versCp1252_data()
    {
        QTest::addColumn<QByteArray>("utf8");
        QTest::addColumn<QByteArray>("cp1252");
        QTest::newRow("ascii") << QByteArray("Salle 4") << QByteArray("Salle 4");
        QTest::newRow("accents") << QByteArray("Inutilisé") << QByteArray("Inutilis\xE9");
        QTest::newRow("euro et oe") << QByteArray("€ œuvre")
                                    << QByteArray("\x80 \x9C"
                                                  "uvre");
        QTest::newRow("hors de la page") << QByteArray("中文") << QByteArray("??");
        QTest::newRow("quatre octets") << QByteArray("a\xF0\x9F\x98\x80"
                                                     "b")
                                       << QByteArray("a?b");
        QTest::newRow("octet isolé") << QByteArray("caf\xE9") << QByteArray("caf?");
        QTest::newRow("suite tronquée") << QByteArray("x\xE2\x82") << QByteArray("x??");
        QTest::newRow("forme trop longue") << QByteArray("\xC0\xAF") << QByteArray("??");
        QTest::newRow("forme trop longue de A") << QByteArray("\xC1\x81") << QByteArray("??");
        QTest::newRow("demi-codet") << QByteArray("\xED\xA0\x80") << QByteArray("???");
        QTest::newRow("au-delà de U+10FFFF")
            << QByteArray("\xF4\x90\x80\x80") << QByteArray("????");
        QTest::newRow("octet de suite seul") << QByteArray("\x80") << QByteArray("?");
        QTest::newRow("vide") << QByteArray() << QByteArray();
    }
    void versCp1252()
    {
        QFETCH(QByteArray, utf8);
        QFETCH(QByteArray, cp1252);
        const std::string r =
            Utf8VersCp1252(std::string_view(utf8.constData(), std::size_t(utf8.size())));
        QCOMPARE(QByteArray(r.data(), qsizetype(r.size())), cp1252);
    }
};

QTEST_GUILESS_MAIN(TstCp1252)
#include "tst_cp1252.moc"
