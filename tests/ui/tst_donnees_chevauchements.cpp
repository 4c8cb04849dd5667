// Overlapping sequences in the data-entry grid: the mark on the start time of
// each row that overlaps another, the tooltip naming the other rows' times,
// the rest of the grid drawn as before.
#include "donnees.h"
#include "outils_ui.h"

#include <QHelpEvent>
#include <QTableWidget>
#include <QToolTip>
#include <QtTest>

using namespace horaku;
using namespace horaku::test;
using namespace outils_ui;

namespace
{

const QString kAideGrille = QStringLiteral("Cliquez dans la case à remplir ou à modifier");

// "HH:MM-HH:MM" with '*' in front for a sequence without text.
RSequence Lue(QString p)
{
    const bool texte = !p.startsWith('*');
    p.remove('*');
    const QTime d = QTime::fromString(p.left(5), QStringLiteral("HH:mm"));
    const QTime f = QTime::fromString(p.mid(6), QStringLiteral("HH:mm"));
    return Seq(H(d.hour(), d.minute()), H(f.hour(), f.minute()), {"", "", texte ? "S1" : "", ""});
}

bool Rouge(const QColor& c)
{
    return c.red() > 180 && c.green() < 60 && c.blue() < 60;
}

} // namespace

class TestDonneesChevauchements : public QObject
{
    Q_OBJECT

private slots:
    // marques: for each data row, the tooltip expected ('' none), the other
    // rows' times in list order.
    void marques_data()
    {
        QTest::addColumn<QStringList>("plages");
        QTest::addColumn<QStringList>("bulles");
        const QString c = QStringLiteral("Chevauche la séquence ");
        QTest::newRow("sans chevauchement")
            << QStringList{"08:00-08:55", "08:55-09:50"} << QStringList{"", ""};
        QTest::newRow("deux qui se chevauchent")
            << QStringList{"08:00-09:00", "10:00-11:00", "08:30-09:25"}
            << QStringList{c + "08:30 - 09:25", "", c + "08:00 - 09:00"};
        QTest::newRow("une ligne en chevauche deux")
            << QStringList{"08:00-12:00", "08:30-09:00", "11:00-11:30"}
            << QStringList{c + "08:30 - 09:00\n" + c + "11:00 - 11:30", c + "08:00 - 12:00",
                           c + "08:00 - 12:00"};
        QTest::newRow("une pause sans texte ne compte pas")
            << QStringList{"08:00-10:00", "*09:00-09:15"} << QStringList{"", ""};
    }
    void marques()
    {
        QFETCH(QStringList, plages);
        QFETCH(QStringList, bulles);
        REdt e;
        for (const QString& p : plages)
            Ajouter(e, 0, 0, Lue(p));
        ServicesScriptes services;
        TFiche_Donnees fiche(nullptr, e, services);
        fiche.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fiche));
        auto* grille = fiche.findChild<QTableWidget*>(QStringLiteral("GridSeq"));
        QVERIFY(grille);
        QCOMPARE(grille->rowCount(), plages.size() + 1);
        const QImage image = grille->viewport()->grab().toImage();
        for (int i = 0; i < plages.size(); ++i) {
            const int ligne = i + 1;
            QCOMPARE(fiche.GridSeqChevauchements(ligne), bulles[i]);
            const QRect debut = grille->visualRect(grille->model()->index(ligne, 0));
            const QRect fin = grille->visualRect(grille->model()->index(ligne, 1));
            // The corner of the start cell is red only on a marked row...
            const QPoint coin = debut.topRight() + QPoint(-1, 1);
            QCOMPARE(Rouge(image.pixelColor(coin)), !bulles[i].isEmpty());
            // ...and the cell's fill is the row's, as in the end cell beside it.
            QCOMPARE(image.pixelColor(debut.bottomLeft() + QPoint(1, -2)),
                     image.pixelColor(fin.bottomLeft() + QPoint(1, -2)));
            QVERIFY(!Rouge(image.pixelColor(fin.topRight() + QPoint(-1, 1))));

            // The tooltip over any cell of the row.
            QToolTip::hideText();
            const QPoint ici = grille->visualRect(grille->model()->index(ligne, 3)).center();
            QHelpEvent aide(QEvent::ToolTip, ici, grille->viewport()->mapToGlobal(ici));
            QApplication::sendEvent(grille->viewport(), &aide);
            QTRY_COMPARE(QToolTip::text(), bulles[i].isEmpty() ? kAideGrille : bulles[i]);
        }
    }

    // Emptying the texts of one of two overlapping rows takes both marks away.
    void texteEfface()
    {
        REdt e;
        Ajouter(e, 0, 0, Lue(QStringLiteral("08:00-09:00")));
        Ajouter(e, 0, 0, Lue(QStringLiteral("08:30-09:30")));
        ServicesScriptes services;
        TFiche_Donnees fiche(nullptr, e, services);
        QVERIFY(!fiche.GridSeqChevauchements(1).isEmpty());
        fiche.GridSeqSetEditText(4, 2, QString());
        QCOMPARE(fiche.GridSeqChevauchements(1), QString());
        QCOMPARE(fiche.GridSeqChevauchements(2), QString());
        // The title row and rows beyond the grid never carry one.
        QCOMPARE(fiche.GridSeqChevauchements(0), QString());
        QCOMPARE(fiche.GridSeqChevauchements(9), QString());
    }
};

QTEST_MAIN(TestDonneesChevauchements)
#include "tst_donnees_chevauchements.moc"
