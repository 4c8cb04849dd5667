// The PDF page's content is rewritten smaller: rectangle clips in their short
// form, state-only blocks dropped.  What must hold: the same drawing
// operators in the same order, and a document whose cross-reference table
// still points at every object.
#include "dessin.h"
#include "exportation.h"
#include "pdfcompact.h"
#include "vecteur.h"

#include <QtTest>

#include <regex>

using namespace horaku;

class TestPdfCompact : public QObject
{
    Q_OBJECT

private slots:
    void contenu_data();
    void contenu();
    void document_data();
    void document();
    void inconnuIntact();
};

void TestPdfCompact::contenu_data()
{
    QTest::addColumn<QString>("entree");
    QTest::addColumn<QString>("attendu");
    QTest::newRow("rectangle pair-impair")
        << "10 57 m\n17 57 l\n17 73 l\n10 73 l\n10 57 l\nh\nW* n\n"
        << "10 57 7 16 re\nW n\n";
    QTest::newRow("rectangle non nul") << "-3 5 m\n4 5 l\n4 9 l\n-3 9 l\n-3 5 l\nh\nW n\n"
                                       << "-3 5 7 4 re\nW n\n";
    QTest::newRow("pas un rectangle") << "10 57 m\n17 58 l\n17 73 l\n10 73 l\n10 57 l\nh\nW* n\n"
                                      << "10 57 m\n17 58 l\n17 73 l\n10 73 l\n10 57 l\nh\nW* n\n";
    QTest::newRow("chemin rempli garde") << "1 2 m\n3 2 l\n3 4 l\n1 4 l\n1 2 l\nh\nf\n"
                                         << "1 2 m\n3 2 l\n3 4 l\n1 4 l\n1 2 l\nh\nf\n";
    QTest::newRow("bloc d'etat seul") << "q\n0 0 0 SCN\n1 w 2 J 2 j []0  d\nQ\nBT\nET\n"
                                      << "BT\nET\n";
    QTest::newRow("bloc qui peint garde") << "q\n/CSp cs 1 0 0 scn\n8 53 550 1 re\nf\nQ\n"
                                          << "q\n/CSp cs 1 0 0 scn\n8 53 550 1 re\nf\nQ\n";
    QTest::newRow("bloc vide") << "q\nQ\nf\n"
                               << "f\n";
    QTest::newRow("texte garde") << "q\nBT\n/F7 12 Tf\n2 -13 Td <0001> Tj\nET\nQ\n"
                                 << "q\nBT\n/F7 12 Tf\n2 -13 Td <0001> Tj\nET\nQ\n";
}

void TestPdfCompact::contenu()
{
    QFETCH(QString, entree);
    QFETCH(QString, attendu);
    QCOMPARE(QString::fromStdString(CompacterContenuPdf(entree.toStdString())), attendu);
}

void TestPdfCompact::document_data()
{
    QTest::addColumn<QString>("exemple");
    QTest::newRow("petit") << "petit.edt";
    QTest::newRow("realiste") << "realiste.edt";
    QTest::newRow("grand") << "grand.edt";
}

// Every in-use entry of the table names the byte where its object starts,
// startxref names the table, and each stream's stated length ends on
// "endstream".
void TestPdfCompact::document()
{
    QFETCH(QString, exemple);
    REdt e;
    e.Fichier = std::string(HORAKU_SOURCES "/examples/") + exemple.toStdString();
    QVERIFY(e.Charger());
    const std::string pdf = DessinerVecteur(e, FormatVecteur::Pdf).octets;
    // The large example clips thousands of texts: only the short clip form
    // brings its PDF below the PNG export of the same picture.
    if (exemple == "grand.edt") {
        QTemporaryDir dossier;
        const std::string png = dossier.filePath("grand.png").toStdString();
        ExporterImage(e, Redessiner(e).image, png);
        QVERIFY2(qint64(pdf.size()) < QFileInfo(QString::fromStdString(png)).size(),
                 std::to_string(pdf.size()).c_str());
    }

    const std::size_t sx = pdf.rfind("startxref\n");
    QVERIFY(sx != std::string::npos);
    const std::size_t table = std::stoul(pdf.substr(sx + 10));
    QCOMPARE(pdf.substr(table, 5), std::string("xref\n"));
    std::size_t p = pdf.find('\n', table + 5) + 1;
    const long nombre = std::stol(pdf.substr(table + 5 + 2));
    QVERIFY(nombre > 5);
    for (long k = 0; k < nombre; ++k, p += 20) {
        if (pdf[p + 17] != 'n') continue;
        const std::size_t o = std::stoul(pdf.substr(p, 10));
        const std::string entete = std::to_string(k) + " 0 obj";
        QVERIFY2(pdf.compare(o, entete.size(), entete) == 0, entete.c_str());
    }
    const std::regex longueur(R"((\d+) 0 obj\n<<\n/Length (\d+) 0 R)");
    for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), longueur);
         it != std::sregex_iterator(); ++it) {
        const std::string corps = '\n' + (*it)[2].str() + " 0 obj\n";
        const std::size_t n = std::stoul(pdf.substr(pdf.find(corps) + corps.size()));
        const std::size_t debut =
            pdf.find("stream\n", static_cast<std::size_t>(it->position())) + 7;
        QCOMPARE(pdf.substr(debut + n, 10), std::string("\nendstream"));
    }
}

void TestPdfCompact::inconnuIntact()
{
    const std::string etranger = "%PDF-1.4\n1 0 obj\n<< /Contents 2 0 R >>\nendobj\n%%EOF\n";
    QCOMPARE(CompacterPdf(etranger), etranger);
    QCOMPARE(CompacterPdf(std::string()), std::string());
}

QTEST_MAIN(TestPdfCompact)
#include "tst_pdfcompact.moc"
