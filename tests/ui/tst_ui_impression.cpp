// Printing and export: the printed size at the printer's resolution, the page
// of a real PDF print job, the missing printer, and the picture chooser.
#include "outils_ui.h"
#include "principale.h"

#include "erreurs.h"
#include "impression.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

using namespace horaku;
using namespace outils_ui;

namespace
{

// The content streams of a PDF, inflated.
QList<QByteArray> Flux(const QByteArray& pdf)
{
    QList<QByteArray> flux;
    qsizetype i = 0;
    while ((i = pdf.indexOf("stream\n", i)) >= 0) {
        const qsizetype debut = i + 7;
        const qsizetype fin = pdf.indexOf("endstream", debut);
        if (fin < 0) break;
        const QByteArray brut = pdf.mid(debut, fin - debut);
        // qUncompress wants the expected size first; zlib data follows.
        QByteArray entete(4, '\0');
        const quint32 taille = 1u << 24;
        for (int k = 0; k < 4; ++k)
            entete[k] = static_cast<char>((taille >> (24 - 8 * k)) & 0xFF);
        const QByteArray clair = qUncompress(entete + brut);
        flux << (clair.isEmpty() ? brut : clair);
        i = fin + 9; // past "endstream", which holds "stream" too
    }
    return flux;
}

// Where the page draws its one image, in dots of the printer: the page's
// transforms multiplied down to the image's unit square (the first one turns
// dots into points).  Empty when the page draws no image.
QRectF PlaceDeLImage(const QByteArray& pdf)
{
    const QRegularExpression cm(
        QStringLiteral("([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) cm"));
    for (const QByteArray& flux : Flux(pdf)) {
        const QString texte = QString::fromLatin1(flux);
        if (!texte.contains(QLatin1String("/Im"))) continue;
        QTransform enPoints;
        bool premiere = true;
        for (auto it = cm.globalMatch(texte.left(texte.indexOf(QLatin1String("/Im"))));
             it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QTransform t(m.captured(1).toDouble(), m.captured(2).toDouble(),
                               m.captured(3).toDouble(), m.captured(4).toDouble(),
                               m.captured(5).toDouble(), m.captured(6).toDouble());
            if (!premiere) enPoints = t * enPoints;
            premiere = false;
        }
        return enPoints.mapRect(QRectF(0, 0, 1, 1));
    }
    return {};
}

QImage ImageDeTest(int largeur, int hauteur)
{
    QImage image(largeur, hauteur, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 60));
    return image;
}

} // namespace

class TestImpression : public QObject
{
    Q_OBJECT

private slots:
    void tailleImprimee_data();
    void tailleImprimee();
    void imageAvecMarge();
    void impressionPdf();
    void aucuneImprimante();
    void imprimerDepuisLaFenetre_data();
    void imprimerDepuisLaFenetre();
    void exporter_data();
    void exporter();
    void exporterVecteur_data();
    void exporterVecteur();
    void exporterAnnule();
    void erreurSansCurseurDAttente_data();
    void erreurSansCurseurDAttente();
    void apercu_data();
    void apercu();
};

void TestImpression::tailleImprimee_data()
{
    QTest::addColumn<QSize>("pixels");
    QTest::addColumn<int>("dpiX");
    QTest::addColumn<int>("dpiY");
    QTest::addColumn<QSize>("points");

    QTest::newRow("481 px à 600 dpi: 3006,25 arrondi")
        << QSize(481, 97) << 600 << 600 << QSize(3006, 606);
    QTest::newRow("écran: rien ne change") << QSize(481, 97) << 96 << 96 << QSize(481, 97);
    QTest::newRow("300 dpi: moitié arrondie au-dessus") << QSize(3, 1) << 300 << 300 << QSize(9, 3);
    QTest::newRow("résolutions différentes") << QSize(100, 100) << 600 << 300 << QSize(625, 313);
    QTest::newRow("72 dpi réduit") << QSize(481, 3) << 72 << 72 << QSize(361, 2);
}

void TestImpression::tailleImprimee()
{
    QFETCH(QSize, pixels);
    QFETCH(int, dpiX);
    QFETCH(int, dpiY);
    QFETCH(QSize, points);
    QCOMPARE(TailleImprimee(pixels, dpiX, dpiY), points);
}

void TestImpression::imageAvecMarge()
{
    const QImage image = ImageDeTest(5, 3);
    const QImage page = ImageAvecMarge(image);
    QCOMPARE(page.size(), QSize(6, 4));
    QCOMPARE(page.copy(0, 0, 5, 3), image);
    for (int y = 0; y < 4; ++y)
        QCOMPARE(page.pixel(5, y), qRgb(255, 255, 255));
    for (int x = 0; x < 6; ++x)
        QCOMPARE(page.pixel(x, 3), qRgb(255, 255, 255));
}

void TestImpression::impressionPdf()
{
    DossierDeTravail dossier;
    QPrinter imprimante(QPrinter::HighResolution);
    imprimante.setOutputFormat(QPrinter::PdfFormat);
    imprimante.setResolution(600);
    const QString sortie = dossier.Chemin(QStringLiteral("page.pdf"));
    imprimante.setOutputFileName(sortie);

    ImprimerImage(ImageDeTest(480, 200), imprimante);

    QFile f(sortie);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "), 1);
    // The image object holds the picture and its margin, pixel for pixel.
    QVERIFY(pdf.contains("/Width 481"));
    QVERIFY(pdf.contains("/Height 201"));
    // Lossless: the picture's texts must not blur.
    QVERIFY(!pdf.contains("/DCTDecode"));
    // The page's transforms, multiplied from the page down to the image,
    // make it 3006 × 1256 dots of 1/600 inch (the first one turns dots into
    // points), starting at the printable area's corner.
    const QRegularExpression cm(
        QStringLiteral("([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) cm"));
    bool trouve = false;
    for (const QByteArray& flux : Flux(pdf)) {
        const QString texte = QString::fromLatin1(flux);
        if (!texte.contains(QLatin1String("/Im"))) continue;
        trouve = true;
        // The first transform turns dots into points; the others, from the
        // page down to the image, place the image's unit square in dots.
        QTransform enPoints;
        bool premiere = true;
        for (auto it = cm.globalMatch(texte.left(texte.indexOf(QLatin1String("/Im"))));
             it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            const QTransform t(m.captured(1).toDouble(), m.captured(2).toDouble(),
                               m.captured(3).toDouble(), m.captured(4).toDouble(),
                               m.captured(5).toDouble(), m.captured(6).toDouble());
            if (!premiere) enPoints = t * enPoints;
            premiere = false;
        }
        const QRectF place = enPoints.mapRect(QRectF(0, 0, 1, 1));
        QCOMPARE(qRound(place.width()), 3006);
        QCOMPARE(qRound(place.height()), 1256);
        QCOMPARE(qRound(place.left()), 0);
        QCOMPARE(qRound(place.top()), 0);
    }
    QVERIFY2(trouve, "aucune image dessinée dans la page");
}

void TestImpression::imprimerDepuisLaFenetre_data()
{
    QTest::addColumn<QString>("exemple");
    QTest::addColumn<bool>("reduite");
    QTest::newRow("petit emploi du temps: à l'échelle exacte") << QString() << false;
    // 1259 pixels wide: cut at about 12:30 on A4 portrait if not fitted.
    QTest::newRow("examples/realiste.edt: réduite à la page") << "realiste.edt" << true;
}

void TestImpression::imprimerDepuisLaFenetre()
{
    QFETCH(QString, exemple);
    QFETCH(bool, reduite);
    DossierDeTravail dossier;
    const QString plan = dossier.Chemin(QStringLiteral("plan.edt"));
    if (exemple.isEmpty())
        Ecrire(EdtExemple(), plan);
    else
        QVERIFY(QFile::copy(QStringLiteral(HORAKU_SOURCES "/examples/") + exemple, plan));
    EcrireConfiguration(plan);
    ServicesScriptes services;
    TFenetre_Principale fenetre(services);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    const QImage image = fenetre.Image();
    QVERIFY(!image.isNull());

    QPrinter& imprimante = fenetre.Imprimante();
    imprimante.setOutputFormat(QPrinter::PdfFormat);
    imprimante.setResolution(600);
    imprimante.setPageSize(QPageSize(QPageSize::A4));
    imprimante.setPageOrientation(QPageLayout::Portrait);
    const QString sortie = dossier.Chemin(QStringLiteral("page.pdf"));
    imprimante.setOutputFileName(sortie);
    const QSize zone = imprimante.pageLayout().paintRectPixels(600).size();

    // Without a printer the print dialog comes first, on the file already named.
    const bool sansImprimante = QPrinterInfo::availablePrinterNames().isEmpty();
    if (sansImprimante) AuProchain<QPrintDialog>([](QPrintDialog* d) { d->QDialog::accept(); });
    fenetre.findChild<QAction*>(QStringLiteral("MenuImprimer"))->trigger();

    QCOMPARE(services.Textes(),
             QStringList{QStringLiteral("Emploi du temps imprimé dans « %1 ».").arg(sortie)});
    QFile f(sortie);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page "), 1);
    // The whole picture and its margin, pixel for pixel.
    QVERIFY(pdf.contains(QByteArray("/Width ") + QByteArray::number(image.width() + 1)));
    QVERIFY(pdf.contains(QByteArray("/Height ") + QByteArray::number(image.height() + 1)));
    const QRectF place = PlaceDeLImage(pdf);
    QVERIFY2(!place.isEmpty(), "aucune image dessinée dans la page");
    QCOMPARE(qRound(place.left()), 0);
    QCOMPARE(qRound(place.top()), 0);
    const double exacte = (image.width() + 1) * 600.0 / 96.0;
    if (!reduite) {
        QCOMPARE(qRound(place.width()), qRound(exacte));
    } else {
        // As wide as the printable area, never wider, its proportions kept.
        QVERIFY(exacte > zone.width());
        QCOMPARE(qRound(place.width()), zone.width());
        const double proportion = double(image.height() + 1) / (image.width() + 1);
        QVERIFY(qAbs(place.height() - place.width() * proportion) <= 1.0);
    }
    QVERIFY(qRound(place.right()) <= zone.width());
    QVERIFY(qRound(place.bottom()) <= zone.height());
}

void TestImpression::aucuneImprimante()
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        QSKIP("une imprimante est installée sur cette machine");
    QPrinter imprimante;
    try {
        ImprimerImage(ImageDeTest(10, 10), imprimante);
        QFAIL("l'impression aurait dû échouer");
    } catch (const ErreurHoraku& e) {
        QCOMPARE(QString::fromUtf8(e.what()),
                 QStringLiteral("Aucune imprimante par défaut sélectionnée"));
    }
}

void TestImpression::exporter_data()
{
    QTest::addColumn<QString>("tape");
    QTest::addColumn<QString>("ecrit");
    QTest::addColumn<QByteArray>("debut");

    QTest::newRow("sans extension: GIF") << "image"
                                         << "image.gif" << QByteArray("GIF8");
    QTest::newRow("GIF") << "image.gif"
                         << "image.gif" << QByteArray("GIF8");
    QTest::newRow("BMP") << "image.bmp"
                         << "image.bmp" << QByteArray("BM");
}

void TestImpression::exporter()
{
    QFETCH(QString, tape);
    QFETCH(QString, ecrit);
    QFETCH(QByteArray, debut);

    DossierDeTravail dossier;
    const QString plan = Ecrire(EdtExemple(), dossier.Chemin(QStringLiteral("plan.edt")));
    EcrireConfiguration(plan);
    ServicesScriptes services;
    TFenetre_Principale fenetre(services);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    const QImage image = fenetre.Image();
    const qint64 cle = image.cacheKey();
    services.noms = {dossier.Chemin(tape)};

    fenetre.findChild<QAction*>(QStringLiteral("MenuEnregistrerImage"))->trigger();

    QVERIFY(services.questions.isEmpty());
    const Selecteur& s = services.selecteurs.front();
    QCOMPARE(s.sorte, Selecteur::EnregistrerImage);
    QCOMPARE(s.titre, QStringLiteral("Sauvegarde de l'emploi du temps"));
    QCOMPARE(s.filtres, QStringLiteral("Image Gif (*.gif);;Bitmap (*.bmp);;Image PNG (*.png);;"
                                       "Document PDF (*.pdf);;Image SVG (*.svg)"));
    QCOMPARE(s.suffixe, QStringLiteral("gif"));
    QVERIFY(s.confirmerRemplacement);
    QFile f(dossier.Chemin(ecrit));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().startsWith(debut));
    const QImage relue(dossier.Chemin(ecrit));
    QCOMPARE(relue.size(), image.size());
    QVERIFY(fenetre.Image().cacheKey() != cle); // redrawn after the export
    QVERIFY(!fenetre.EdtCourant()->EdtModifie);
}

void TestImpression::exporterVecteur_data()
{
    QTest::addColumn<QString>("nom");
    QTest::addColumn<QByteArray>("debut");
    QTest::addColumn<bool>("pdf");
    QTest::newRow("PDF") << "image.pdf" << QByteArray("%PDF-") << true;
    QTest::newRow("PDF en capitales") << "IMAGE.PDF" << QByteArray("%PDF-") << true;
    QTest::newRow("SVG") << "image.svg" << QByteArray("<?xml") << false;
    QTest::newRow("Svg") << "image.Svg" << QByteArray("<?xml") << false;
}

// The vector formats are drawn from the timetable, not taken from the raster
// picture: their files hold the timetable's title as text.
void TestImpression::exporterVecteur()
{
    QFETCH(QString, nom);
    QFETCH(QByteArray, debut);
    QFETCH(bool, pdf);
    // The PDF holds its title in UTF-16, big-endian with its mark.
    const QString texteTitre = QString::fromStdString(EdtExemple().Titre);
    QByteArray titre = pdf ? QByteArray("/Title (\xFE\xFF") : QByteArray("<title>");
    for (const QChar c : texteTitre) {
        if (pdf) titre += static_cast<char>(c.unicode() >> 8);
        titre += static_cast<char>(c.unicode() & 0xFF);
    }
    DossierDeTravail dossier;
    const QString plan = Ecrire(EdtExemple(), dossier.Chemin(QStringLiteral("plan.edt")));
    EcrireConfiguration(plan);
    ServicesScriptes services;
    TFenetre_Principale fenetre(services);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    const qint64 cle = fenetre.Image().cacheKey();
    services.noms = {dossier.Chemin(nom)};
    fenetre.findChild<QAction*>(QStringLiteral("MenuEnregistrerImage"))->trigger();
    QVERIFY(services.questions.isEmpty());
    QFile f(dossier.Chemin(nom));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray contenu = f.readAll();
    QVERIFY(contenu.startsWith(debut));
    QVERIFY(contenu.contains(titre));
    QVERIFY(fenetre.Image().cacheKey() != cle);
}

void TestImpression::apercu_data()
{
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::newRow("portrait") << QPageLayout::Portrait;
    QTest::newRow("paysage") << QPageLayout::Landscape;
}

// The preview follows "&Imprimer" in the menu and shows the one page that
// printing draws, in either orientation, with the picture scaled to the page.
void TestImpression::apercu()
{
    QFETCH(QPageLayout::Orientation, orientation);
    DossierDeTravail dossier;
    const QString plan = Ecrire(EdtExemple(), dossier.Chemin(QStringLiteral("plan.edt")));
    EcrireConfiguration(plan);
    ServicesScriptes services;
    TFenetre_Principale fenetre(services);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    auto* menu = fenetre.findChild<QMenu*>(QStringLiteral("MenuFichier"));
    QVERIFY(menu);
    const QList<QAction*> actions = menu->actions();
    auto* apercu = fenetre.findChild<QAction*>(QStringLiteral("MenuApercu"));
    QVERIFY(apercu);
    QCOMPARE(apercu->text(), QStringLiteral("Aperçu avant impression ..."));
    const qsizetype imprimer =
        actions.indexOf(fenetre.findChild<QAction*>(QStringLiteral("MenuImprimer")));
    QCOMPARE(actions.indexOf(apercu), imprimer + 1);
    QVERIFY(apercu->isEnabled());

    // What the preview's pages receive, for the checks once it is closed.
    QString titre;
    int pages = -1;
    QImage page;
    QTimer::singleShot(0, &fenetre, [&] {
        auto* dialogue = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!dialogue) return;
        titre = dialogue->windowTitle();
        auto* vue = dialogue->findChild<QPrintPreviewWidget*>();
        if (vue) {
            vue->setOrientation(orientation);
            vue->updatePreview();
            pages = vue->pageCount();
            // Painting the same request into an image: the page as drawn.
            QPrinter* imprimante = dialogue->printer();
            QPainter p;
            page = QImage(imprimante->width(), imprimante->height(), QImage::Format_RGB32);
            page.fill(qRgb(1, 2, 3));
            p.begin(&page);
            PeindrePage(p, fenetre.Image(), *imprimante);
            p.end();
        }
        dialogue->reject();
    });
    apercu->trigger();
    QCOMPARE(titre, QStringLiteral("Aperçu avant impression"));
    QCOMPARE(pages, 1);
    QCOMPARE(fenetre.Imprimante().pageLayout().orientation(), orientation);
    // The whole picture is on the page: its bottom-right white margin pixel
    // lands inside, and past it the page stays untouched.
    const QSize attendu = TailleSurPage(TailleImprimee(fenetre.Image().size() + QSize(1, 1),
                                                       fenetre.Imprimante().logicalDpiX(),
                                                       fenetre.Imprimante().logicalDpiY()),
                                        page.size());
    QVERIFY(attendu.width() <= page.width() && attendu.height() <= page.height());
    QCOMPARE(page.pixel(attendu.width() - 1, attendu.height() - 1), qRgb(255, 255, 255));
    if (attendu.width() < page.width()) QCOMPARE(page.pixel(attendu.width(), 0), qRgb(1, 2, 3));
}

void TestImpression::exporterAnnule()
{
    DossierDeTravail dossier;
    const QString plan = Ecrire(EdtExemple(), dossier.Chemin(QStringLiteral("plan.edt")));
    EcrireConfiguration(plan);
    ServicesScriptes services;
    TFenetre_Principale fenetre(services);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    const qint64 cle = fenetre.Image().cacheKey();
    const QStringList avant = QDir().entryList(QDir::Files);
    services.noms = {std::nullopt};
    fenetre.findChild<QAction*>(QStringLiteral("MenuEnregistrerImage"))->trigger();
    // Cancelled too: without a printer, Ctrl+P opens its dialog on a PDF beside the timetable.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        QString vu;
        AuProchain<QPrintDialog>(
            [&](QPrintDialog* d) { vu = d->windowTitle() + ' ' + d->printer()->outputFileName(); });
        QTest::keySequence(&fenetre, QKeySequence(Qt::CTRL | Qt::Key_P));
        QCOMPARE(vu, QStringLiteral("Imprimer ") + dossier.Chemin(QStringLiteral("plan.pdf")));
    }
    QCOMPARE(fenetre.Image().cacheKey(), cle);
    QCOMPARE(QDir().entryList(QDir::Files), avant);
    QVERIFY(services.questions.isEmpty());
}

void TestImpression::erreurSansCurseurDAttente_data()
{
    QTest::addColumn<QString>("commande");
    QTest::newRow("export dans un dossier absent") << "MenuEnregistrerImage";
    QTest::newRow("impression dans un dossier absent") << "MenuImprimer";
}

void TestImpression::erreurSansCurseurDAttente()
{
    QFETCH(QString, commande);
    DossierDeTravail dossier;
    const QString plan = Ecrire(EdtExemple(), dossier.Chemin(QStringLiteral("plan.edt")));
    EcrireConfiguration(plan);
    ServicesScriptes services;
    TFenetre_Principale fenetre(services);
    fenetre.show();
    QVERIFY(QTest::qWaitForWindowExposed(&fenetre));
    const QString absent = dossier.Chemin(QStringLiteral("absent/image.gif"));
    services.noms = {absent};
    fenetre.Imprimante().setOutputFormat(QPrinter::PdfFormat);
    fenetre.Imprimante().setOutputFileName(dossier.Chemin(QStringLiteral("absent/page.pdf")));
    if (commande == QLatin1String("MenuImprimer") &&
        QPrinterInfo::availablePrinterNames().isEmpty())
        AuProchain<QPrintDialog>([](QPrintDialog* d) { d->QDialog::accept(); });

    fenetre.findChild<QAction*>(commande)->trigger();

    // The failure is shown, and no wait cursor stays over its box or after it.
    QCOMPARE(services.questions.size(), 1);
    QCOMPARE(services.questions.front().icone, QMessageBox::Critical);
    QCOMPARE(services.sousAttente, QList<bool>{false});
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(TestImpression)
#include "tst_ui_impression.moc"
