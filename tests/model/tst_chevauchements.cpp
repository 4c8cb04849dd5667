// Sequences that overlap: the sweep over sorted starts against every pair
// taken one by one, and the edge cases of touching and empty spans.
#include "chevauchements.h"
#include "edt_test.h"

#include <QRandomGenerator>
#include <QtTest>

using namespace horaku;
using horaku::test::H;
using horaku::test::Seq;

namespace
{

RSequence Minutes(int debut, int fin, bool texte = true)
{
    return Seq(H(debut / 60, debut % 60), H(fin / 60, fin % 60), {"", "", "", texte ? "x" : ""});
}

QString Texte(const std::vector<Chevauchement>& cs)
{
    QStringList l;
    for (const Chevauchement& c : cs)
        l << QStringLiteral("%1-%2 %3-%4")
                 .arg(c.a)
                 .arg(c.b)
                 .arg(horaku::Minutes(c.debut))
                 .arg(horaku::Minutes(c.fin));
    return l.join(' ');
}

} // namespace

class TstChevauchements : public QObject
{
    Q_OBJECT

private slots:
    // Each row: spans in minutes ("debut-fin", '*' = without text) and the
    // expected pairs "a-b debut-fin" in minutes.
    void liste_data()
    {
        QTest::addColumn<QStringList>("plages");
        QTest::addColumn<QString>("attendu");
        QTest::newRow("vide") << QStringList{} << "";
        QTest::newRow("bout a bout") << QStringList{"480-535", "535-590"} << "";
        QTest::newRow("une minute commune") << QStringList{"480-536", "535-590"} << "0-1 535-536";
        QTest::newRow("inclus") << QStringList{"480-720", "600-660"} << "0-1 600-660";
        QTest::newRow("ordre de la liste, pas des heures")
            << QStringList{"600-700", "480-620"} << "0-1 600-620";
        QTest::newRow("identiques") << QStringList{"480-540", "480-540"} << "0-1 480-540";
        QTest::newRow("sans texte") << QStringList{"480-540", "*500-520"} << "";
        QTest::newRow("fin avant debut") << QStringList{"480-540", "530-500"} << "";
        QTest::newRow("duree nulle dedans") << QStringList{"480-540", "500-500"} << "";
        QTest::newRow("trois en chaine") << QStringList{"480-600", "540-660", "590-700"}
                                         << "0-1 540-600 0-2 590-600 1-2 590-660";
        QTest::newRow("long qui couvre tout")
            << QStringList{"420-450", "400-1000", "900-950"} << "0-1 420-450 1-2 900-950";
    }
    void liste()
    {
        QFETCH(QStringList, plages);
        QFETCH(QString, attendu);
        std::vector<RSequence> seqs;
        for (QString p : plages) {
            const bool texte = !p.startsWith('*');
            p.remove('*');
            seqs.push_back(Minutes(p.section('-', 0, 0).toInt(), p.section('-', 1).toInt(), texte));
        }
        QCOMPARE(Texte(ChevauchementsListe(seqs)), attendu);
    }

    // Times computed by adding minutes carry rounding noise; they must meet
    // the same time read from a file exactly.
    void bruitDesHeures()
    {
        std::vector<RSequence> seqs{Seq(H(8), AjouterMinutes(H(8), 55), {"a", "", "", ""}),
                                    Seq(H(8, 55), H(9, 50), {"b", "", "", ""})};
        QVERIFY(ChevauchementsListe(seqs).empty());
    }

    // Random lists against the plain comparison of every pair.
    void auHasard()
    {
        QRandomGenerator g(20240902);
        for (int essai = 0; essai < 300; ++essai) {
            std::vector<RSequence> seqs;
            const int n = int(g.bounded(12));
            for (int i = 0; i < n; ++i) {
                const int d = int(g.bounded(24 * 4)) * 15;
                const int f = d + int(g.bounded(-30, 240));
                seqs.push_back(Minutes(d, std::clamp(f, 0, 1439), g.bounded(5) != 0));
            }
            QStringList attendu;
            for (int a = 0; a < n; ++a)
                for (int b = a + 1; b < n; ++b) {
                    const RSequence &x = seqs[std::size_t(a)], &y = seqs[std::size_t(b)];
                    if (x.Textes[3].empty() || y.Textes[3].empty()) continue;
                    const int d = std::max(horaku::Minutes(x.Debut), horaku::Minutes(y.Debut));
                    const int f = std::min(horaku::Minutes(x.Fin), horaku::Minutes(y.Fin));
                    if (d < f) attendu << QStringLiteral("%1-%2 %3-%4").arg(a).arg(b).arg(d).arg(f);
                }
            QCOMPARE(Texte(ChevauchementsListe(seqs)), attendu.join(' '));
        }
    }

    // Every day, shown or not, and every week type, each pair placed.
    void emploiDuTemps()
    {
        REdt e;
        e.Semaines.resize(3);
        e.AjusterSemaines();
        e.Jours[6].Affiche = 0;
        test::Ajouter(e, 6, 2, Minutes(480, 600));
        test::Ajouter(e, 6, 2, Minutes(500, 520));
        test::Ajouter(e, 1, 0, Minutes(480, 600));
        test::Ajouter(e, 1, 1, Minutes(480, 600)); // same hours, other type: no overlap
        test::Ajouter(e, 1, 0, Minutes(590, 700));
        const std::vector<Chevauchement> cs = Chevauchements(e);
        QCOMPARE(cs.size(), std::size_t(2));
        QCOMPARE(cs[0].jour, 1);
        QCOMPARE(cs[0].semaine, 0);
        QCOMPARE(cs[0].b, std::size_t(1));
        QCOMPARE(cs[1].jour, 6);
        QCOMPARE(cs[1].semaine, 2);
        QCOMPARE(horaku::Minutes(cs[1].debut), 500);
    }
};

QTEST_GUILESS_MAIN(TstChevauchements)
#include "tst_chevauchements.moc"
