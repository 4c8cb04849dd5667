// The text fields of the dialogs keep only what a .edt line can hold:
// Windows-1252 characters, no line break.  Typed and pasted text alike.
#include "saisie.h"

#include <QLineEdit>
#include <QtTest>

using namespace horaku;

class TestSaisie : public QObject
{
    Q_OBJECT

private slots:
    void filtrer_data();
    void filtrer();
    void champ_data();
    void champ();
    void allerRetour();
};

void TestSaisie::filtrer_data()
{
    QTest::addColumn<QString>("entree");
    QTest::addColumn<QString>("attendu");
    QTest::newRow("ascii") << QStringLiteral("4e B") << QStringLiteral("4e B");
    QTest::newRow("accents latin-1")
        << QStringLiteral("Élève à l'étude") << QStringLiteral("Élève à l'étude");
    QTest::newRow("zone 80-9F") << QStringLiteral("€ œ Œ … – — ‘’ “” • ™ Ÿ ž")
                                << QStringLiteral("€ œ Œ … – — ‘’ “” • ™ Ÿ ž");
    QTest::newRow("hors code page") << QStringLiteral("Łódź ā Ω") << QStringLiteral("ód  ");
    QTest::newRow("emoji") << QStringLiteral("a\U0001F600b") << QStringLiteral("ab");
    QTest::newRow("crlf un blanc") << QStringLiteral("a\r\nb") << QStringLiteral("a b");
    QTest::newRow("lf et cr") << QStringLiteral("a\nb\rc") << QStringLiteral("a b c");
    QTest::newRow("tabulation") << QStringLiteral("a\tb") << QStringLiteral("a b");
    QTest::newRow("separateur unicode") << QStringLiteral("a\u2028b") << QStringLiteral("a b");
    QTest::newRow("controles") << QStringLiteral("a\x01\x7F\u0081b") << QStringLiteral("ab");
}

void TestSaisie::filtrer()
{
    QFETCH(QString, entree);
    QFETCH(QString, attendu);
    QCOMPARE(Filtrer1252(entree), attendu);
}

void TestSaisie::champ_data()
{
    QTest::addColumn<QString>("avant");
    QTest::addColumn<QString>("colle");
    QTest::addColumn<QString>("attendu");
    QTest::addColumn<int>("curseur");
    QTest::newRow("deux lignes collees") << QStringLiteral("Salle ") << QStringLiteral("12\n13")
                                         << QStringLiteral("Salle 12 13") << 11;
    QTest::newRow("caracteres refuses")
        << QString() << QStringLiteral("Ωa€") << QStringLiteral("a€") << 2;
}

void TestSaisie::champ()
{
    QFETCH(QString, avant);
    QFETCH(QString, colle);
    QFETCH(QString, attendu);
    QFETCH(int, curseur);
    QLineEdit champ;
    Limiter1252(&champ);
    champ.setText(avant);
    champ.end(false);
    // insert() is the path of a paste as well as of typing.
    champ.insert(colle);
    QCOMPARE(champ.text(), attendu);
    QCOMPARE(champ.cursorPosition(), curseur);
    for (const QString& touche : {QStringLiteral("Ā"), QStringLiteral("É")})
        QTest::sendKeyEvent(QTest::Click, &champ, Qt::Key_unknown, touche, Qt::NoModifier);
    QCOMPARE(champ.text(), attendu + QStringLiteral("É"));
}

void TestSaisie::allerRetour()
{
    // Every character that can be typed comes back as the same byte.
    for (int octet = 0x20; octet <= 0xFF; ++octet) {
        const std::string un(1, char(octet));
        const QString texte = Texte1252(un);
        QCOMPARE(texte.size(), 1);
        if (Saisissable1252(texte.at(0)))
            QCOMPARE(Octets1252(texte), un);
        else
            QVERIFY2(octet == 0x7F || (octet >= 0x80 && octet <= 0x9F), qPrintable(texte));
    }
}

QTEST_MAIN(TestSaisie)
#include "tst_saisie.moc"
