// The PDF and the SVG are the raster picture again: rasterised at 96 dpi,
// every box, frame, line and fill lands on the same pixels in the same colour
// as in the BMP export, and every text is in the file as text.  Glyph pixels
// are not compared: the places where texts may draw come from the layout.
#include "cp1252.h"
#include "dessin.h"
#include "edt_test.h"
#include "erreurs.h"
#include "exportation.h"
#include "vecteur.h"

#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <cstring>
#include <set>
#include <tuple>

using namespace horaku;
using namespace horaku::test;

namespace
{

REdt Exemple(const QString& nom)
{
    REdt e;
    e.Fichier = std::string(HORAKU_SOURCES "/examples/") + nom.toStdString();
    e.Charger();
    return e;
}

QString Utf8(std::string_view cp1252)
{
    return QString::fromUtf8(Cp1252VersUtf8(cp1252));
}

// Runs a tool of poppler-utils or librsvg2-bin; empty on failure.
QByteArray Lancer(const QString& programme, const QStringList& arguments)
{
    QProcess p;
    p.start(programme, arguments);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    const QByteArray sortie = p.readAllStandardOutput();
    return sortie.isEmpty() ? QByteArray("\n") : sortie;
}

QString Normaliser(const QString& texte)
{
    return texte.simplified();
}

// Where texts may put glyph pixels: a text's measured extent with a few
// pixels around it, kept inside its cell when the renderer clips.
QImage Masque(REdt& e, const DescriptionImage& d, const MesureurQt& m, bool coupe)
{
    QImage masque(d.largeur + 1, d.hauteur + 1, QImage::Format_Grayscale8);
    masque.fill(0);
    QPainter p(&masque);
    const auto texte = [&](Point a, int lib, std::string_view t, const QRect* cellule) {
        const RTaille taille = m.Mesurer(e.Libelles[static_cast<std::size_t>(lib)].Police, t);
        QRect r(a.x, a.y, taille.Largeur, taille.Hauteur);
        if (cellule && !coupe)
            r.setWidth(r.width() + r.width() / 10); // unhinted outlines, unclipped
        r.adjust(-3, -3, 3, 3);
        if (cellule && coupe) r &= *cellule;
        p.fillRect(r, Qt::white);
    };
    if (d.titre) texte(*d.titre, LibTitre, e.Titre, nullptr);
    if (d.heures)
        for (const EtiquetteHeure& h : d.heures->etiquettes)
            p.fillRect(h.x - d.heures->demi - 3, d.heures->axeY - 6 - d.heures->longueur,
                       2 * d.heures->demi + 6, d.heures->longueur + 6, Qt::white);
    for (const JourImage& j : d.jours) {
        const RJour& jour = e.Jours[static_cast<std::size_t>(j.jour)];
        if (j.nom) texte(*j.nom, LibJours, jour.Nom, nullptr);
        for (const BoiteImage& b : j.boites) {
            const RSequence& s = jour.ParSemaine[static_cast<std::size_t>(b.semaine)]
                                     .Sequences[static_cast<std::size_t>(b.sequence)];
            for (std::size_t g = 0; g < 4; ++g) {
                const Rect& c = b.cellules[g];
                if (s.Textes[g].empty() || c.d <= c.g || c.b <= c.h) continue;
                const QRect cellule(c.g, c.h, c.d - c.g, c.b - c.h);
                texte(b.departs[g], LibGroupe1 + static_cast<int>(g), s.Textes[g], &cellule);
            }
        }
    }
    texte(d.web, LibWeb, kTexteWeb, nullptr);
    return masque;
}

bool Proche(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 &&
           std::abs(qBlue(a) - qBlue(b)) <= 2;
}

// The first pixel outside the mask that differs, as a message; empty when
// none does.  The picture's margin must be white.
QString Ecart(const QImage& reference, const QImage& vecteur, const QImage& masque)
{
    if (vecteur.width() < masque.width() || vecteur.height() < masque.height())
        return QStringLiteral("taille %1×%2").arg(vecteur.width()).arg(vecteur.height());
    int comparés = 0;
    for (int y = 0; y < masque.height(); ++y) {
        const uchar* ligne = masque.constScanLine(y);
        for (int x = 0; x < masque.width(); ++x) {
            if (ligne[x]) continue;
            const bool marge = x == reference.width() || y == reference.height();
            const QRgb attendu = marge ? qRgb(255, 255, 255) : reference.pixel(x, y);
            const QRgb lu = vecteur.pixel(x, y);
            if (!Proche(attendu, lu))
                return QStringLiteral("(%1, %2) : %3 au lieu de %4")
                    .arg(x)
                    .arg(y)
                    .arg(lu & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                    .arg(attendu & 0xFFFFFF, 6, 16, QLatin1Char('0'));
            ++comparés;
        }
    }
    // Most of the picture is boxes, lines and white, not text.
    if (comparés < masque.width() * masque.height() / 3)
        return QStringLiteral("trop peu de pixels comparés : %1").arg(comparés);
    return {};
}

// What pdfinfo says, by field.
QMap<QString, QString> InfoPdf(const QString& chemin)
{
    QMap<QString, QString> champs;
    const QString sortie = QString::fromUtf8(Lancer("pdfinfo", {"-enc", "UTF-8", chemin}));
    for (const QString& ligne : sortie.split(QLatin1Char('\n'))) {
        const qsizetype deux = ligne.indexOf(QLatin1Char(':'));
        if (deux > 0) champs[ligne.left(deux)] = ligne.mid(deux + 1).trimmed();
    }
    return champs;
}

// A small timetable whose texts overflow their cells.
REdt Petit(const std::string& titre, const std::string& texte)
{
    REdt e = EdtNu(1, 1, 60);
    e.Titre = titre;
    e.Semaines = {RSemaine{"A", 0x80FFFF}, RSemaine{"B", 0xFFC0C0}};
    e.AjusterSemaines();
    Ajouter(e, 0, 0, Seq(H(8), H(9), {texte, "Gr. 1", "Salle 104", "Mathématiques"}));
    Ajouter(e, 1, 1, Seq(H(10), H(10, 20), {"Une classe au nom très long", "", "", ""}));
    return e;
}

} // namespace

class TstVecteur : public QObject
{
    Q_OBJECT

    QTemporaryDir dossier_;

    QString Chemin(const QString& nom) const { return dossier_.filePath(nom); }

private slots:
    void memesBoites_data()
    {
        QTest::addColumn<QString>("exemple");
        QTest::addColumn<QString>("rendu");
        for (const char* exemple : {"petit.edt", "realiste.edt", "grand.edt"})
            for (const char* rendu : {"pdftoppm", "QSvgRenderer", "rsvg-convert"})
                // Unclipped, the large example's texts cover nearly all of it.
                if (std::strcmp(exemple, "grand.edt") || std::strcmp(rendu, "QSvgRenderer"))
                    QTest::addRow("%s, %s", exemple, rendu) << exemple << rendu;
    }
    void memesBoites()
    {
        QFETCH(QString, exemple);
        QFETCH(QString, rendu);
        REdt e = Exemple(exemple);
        const ResultatDessin r = Redessiner(e);
        QCOMPARE(r.etat, ResultatDessin::Dessine);
        const QString bmp = Chemin(exemple + ".bmp");
        ExporterImage(r.image, bmp.toStdString());
        const QImage reference(bmp);
        QCOMPARE(reference.size(), r.image.size());

        const bool pdf = rendu == QLatin1String("pdftoppm");
        const QString vecteur = Chemin(exemple + (pdf ? ".pdf" : ".svg"));
        QVERIFY(ExporterVecteur(e, vecteur.toStdString()));
        QImage image;
        if (pdf) {
            const QString prefixe = Chemin(exemple + "-pdf");
            QVERIFY2(!Lancer("pdftoppm", {"-r", "96", "-png", "-singlefile", vecteur, prefixe})
                          .isEmpty(),
                     "pdftoppm (poppler-utils)");
            image.load(prefixe + ".png");
        } else if (rendu == QLatin1String("rsvg-convert")) {
            const QString png = Chemin(exemple + "-rsvg.png");
            QVERIFY2(!Lancer("rsvg-convert", {"-o", png, vecteur}).isEmpty(),
                     "rsvg-convert (librsvg2-bin)");
            image.load(png);
            // No background: what is not painted stays transparent.
            QImage fond(image.size(), QImage::Format_RGB32);
            fond.fill(Qt::magenta);
            QPainter(&fond).drawImage(0, 0, image);
            image = fond;
        } else {
            QSvgRenderer svg(vecteur);
            QVERIFY(svg.isValid());
            image = QImage(svg.viewBox().size(), QImage::Format_RGB32);
            image.fill(Qt::magenta); // white must come from the file
            QPainter p(&image);
            svg.render(&p);
        }
        QVERIFY(!image.isNull());
        image = image.convertToFormat(QImage::Format_RGB32);

        MesureurQt mesureur;
        const DescriptionImage d = Disposer(e, mesureur);
        // Qt's own SVG renderer knows no clip paths: there texts may overflow.
        const QImage masque = Masque(e, d, mesureur, rendu != QLatin1String("QSvgRenderer"));
        const QString ecart = Ecart(reference, image, masque);
        QVERIFY2(ecart.isEmpty(), qPrintable(ecart));
    }

    void textesPdf_data()
    {
        QTest::addColumn<QString>("exemple");
        QTest::newRow("petit") << "petit.edt";
        QTest::newRow("réaliste") << "realiste.edt";
        QTest::newRow("grand") << "grand.edt";
    }
    // In drawing order (pdftotext -raw) each text comes out whole, clipped
    // or not: texts can be searched and copied.
    void textesPdf()
    {
        QFETCH(QString, exemple);
        REdt e = Exemple(exemple);
        const QString pdf = Chemin(exemple + ".textes.pdf");
        QVERIFY(ExporterVecteur(e, pdf.toStdString()));
        const QString texte =
            Normaliser(QString::fromUtf8(Lancer("pdftotext", {"-raw", "-enc", "UTF-8", pdf, "-"})));
        QVERIFY2(!texte.isEmpty(), "pdftotext (poppler-utils)");

        MesureurQt mesureur;
        const DescriptionImage d = Disposer(e, mesureur);
        int auBord = 0;
        QStringList attendus;
        std::set<std::tuple<std::string, int, int>> places;
        // Text extraction drops the glyphs beyond the page's edges, which
        // no one sees anyway.
        const auto ajouter = [&](int lib, Point a, std::string_view t) {
            const RTaille taille =
                mesureur.Mesurer(e.Libelles[static_cast<std::size_t>(lib)].Police, t);
            if (a.x < 0 || a.x + taille.Largeur > d.largeur + 1)
                ++auBord;
            else
                attendus << Utf8(t);
        };
        if (d.titre) ajouter(LibTitre, *d.titre, e.Titre);
        if (d.heures)
            for (const EtiquetteHeure& h : d.heures->etiquettes)
                attendus << Utf8(h.texte);
        for (const JourImage& j : d.jours) {
            const RJour& jour = e.Jours[static_cast<std::size_t>(j.jour)];
            if (j.nom) ajouter(LibJours, *j.nom, jour.Nom);
            for (const BoiteImage& b : j.boites) {
                const RSequence& s = jour.ParSemaine[static_cast<std::size_t>(b.semaine)]
                                         .Sequences[static_cast<std::size_t>(b.sequence)];
                for (std::size_t g = 0; g < 4; ++g) {
                    const Rect& c = b.cellules[g];
                    // Overlapping boxes may draw one text twice at one place:
                    // text extraction keeps it once.
                    const auto place =
                        std::make_tuple(std::string(s.Textes[g]), b.departs[g].x, b.departs[g].y);
                    if (s.Textes[g].empty() || c.d <= c.g || c.b <= c.h ||
                        !places.insert(place).second)
                        continue;
                    ajouter(LibGroupe1 + static_cast<int>(g), b.departs[g], s.Textes[g]);
                }
            }
        }
        ajouter(LibWeb, d.web, kTexteWeb);
        QVERIFY(attendus.size() > 10 * (auBord + 1));
        // Each text, as many times as it is drawn.
        QMap<QString, int> fois;
        for (const QString& a : attendus)
            ++fois[Normaliser(a)];
        for (auto it = fois.cbegin(); it != fois.cend(); ++it)
            QVERIFY2(texte.count(it.key()) >= it.value(),
                     qPrintable(QStringLiteral("« %1 » : %2 fois au lieu de %3")
                                    .arg(it.key())
                                    .arg(texte.count(it.key()))
                                    .arg(it.value())));
    }

    void documentPdf_data()
    {
        QTest::addColumn<QByteArray>("titre");
        QTest::newRow("accents") << QByteArray("Coll\xE8ge \x96 4e B");
        QTest::newRow("parenthèses et barre") << QByteArray("(a) \\ <b> & \"c\"");
        QTest::newRow("sans titre") << QByteArray();
    }
    // One page, the picture and its margin at 0.75 pt a pixel (rounded up to
    // whole points), the title, the creator, every font embedded.
    void documentPdf()
    {
        QFETCH(QByteArray, titre);
        REdt e = Petit(titre.toStdString(), "4e B");
        const QString pdf = Chemin("document.pdf");
        QVERIFY(ExporterVecteur(e, pdf.toStdString()));
        const DescriptionImage d = Disposer(e, MesureurQt());
        const QMap<QString, QString> info = InfoPdf(pdf);
        QVERIFY2(!info.isEmpty(), "pdfinfo (poppler-utils)");
        QCOMPARE(info.value("Pages"), QStringLiteral("1"));
        QCOMPARE(info.value("Creator"), QStringLiteral("Horaku"));
        QCOMPARE(info.value("Title"), Utf8(titre.toStdString()));
        const auto points = [](int pixels) { return (pixels * 3 + 3) / 4; };
        QCOMPARE(
            info.value("Page size"),
            QStringLiteral("%1 x %2 pts").arg(points(d.largeur + 1)).arg(points(d.hauteur + 1)));
        const QStringList polices =
            QString::fromUtf8(Lancer("pdffonts", {pdf})).split('\n', Qt::SkipEmptyParts).mid(2);
        QVERIFY(!polices.isEmpty());
        for (const QString& p : polices)
            QVERIFY2(p.contains(QRegularExpression(
                         QStringLiteral("\\s+yes\\s+\\S+\\s+\\S+\\s+\\d+\\s+\\d+$"))),
                     qPrintable(p));
    }

    void documentSvg_data()
    {
        QTest::addColumn<QByteArray>("titre");
        QTest::addColumn<QByteArray>("texte");
        QTest::newRow("simple") << QByteArray("4e B") << QByteArray("Salle 104");
        QTest::newRow("caractères XML") << QByteArray("<a> & \"b\"") << QByteArray("x < y & z");
        QTest::newRow("caractère de contrôle") << QByteArray("t\x01t") << QByteArray("a\x02b\x1F");
    }
    // Well-formed, viewBox in picture pixels with the margin, the title, and
    // every clip mark turned into a clip path that the texts use.
    void documentSvg()
    {
        QFETCH(QByteArray, titre);
        QFETCH(QByteArray, texte);
        REdt e = Petit(titre.toStdString(), texte.toStdString());
        const DocumentVecteur doc = DessinerVecteur(e, FormatVecteur::Svg);
        QVERIFY(doc.dessine);
        QXmlStreamReader xml(QByteArray::fromStdString(doc.octets));
        QString viewBox, titreLu;
        std::set<QString> chemins, utilises;
        int marques = 0;
        struct Moins {
            bool operator()(const QRect& a, const QRect& b) const
            {
                return std::make_tuple(a.x(), a.y(), a.width(), a.height()) <
                       std::make_tuple(b.x(), b.y(), b.width(), b.height());
            }
        };
        std::set<QRect, Moins> decoupes; // the clip paths' rectangles
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            const QXmlStreamAttributes a = xml.attributes();
            if (xml.name() == QLatin1String("svg")) viewBox = a.value("viewBox").toString();
            if (xml.name() == QLatin1String("title")) titreLu = xml.readElementText();
            if (xml.name() == QLatin1String("clipPath")) {
                chemins.insert(a.value("id").toString());
                QVERIFY(xml.readNextStartElement());
                QCOMPARE(xml.name(), QLatin1String("rect"));
                const QXmlStreamAttributes r = xml.attributes();
                decoupes.insert(QRect(r.value("x").toInt(), r.value("y").toInt(),
                                      r.value("width").toInt(), r.value("height").toInt()));
            }
            if (a.hasAttribute("clip-path")) utilises.insert(a.value("clip-path").toString());
            if (xml.name() == QLatin1String("polyline")) ++marques;
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(viewBox, QStringLiteral("0 0 %1 %2").arg(doc.largeur + 1).arg(doc.hauteur + 1));
        // XML holds no control characters: they read as blanks.
        QString titreAttendu = Utf8(titre.toStdString());
        for (QChar& c : titreAttendu)
            if (c.unicode() < 0x20) c = QLatin1Char(' ');
        QCOMPARE(titreLu, titreAttendu);
        QCOMPARE(marques, 0); // the picture draws no line but the clip marks
        // The long class name overflows: at least that one is clipped.
        QVERIFY(!chemins.empty());
        QCOMPARE(utilises.size(), chemins.size());
        for (const QString& id : chemins)
            QVERIFY(utilises.count(QStringLiteral("url(#%1)").arg(id)));
        // Each clip is a cell of the layout, exactly.
        const DescriptionImage d = Disposer(e, MesureurQt());
        std::set<QRect, Moins> lesCellules;
        for (const JourImage& j : d.jours)
            for (const BoiteImage& b : j.boites)
                for (const Rect& c : b.cellules)
                    lesCellules.insert(QRect(c.g, c.h, c.d - c.g, c.b - c.h));
        QVERIFY(!decoupes.empty());
        for (const QRect& r : decoupes)
            QVERIFY2(lesCellules.count(r), qPrintable(QStringLiteral("%1 %2 %3 %4")
                                                          .arg(r.x())
                                                          .arg(r.y())
                                                          .arg(r.width())
                                                          .arg(r.height())));
    }

    void limites_data()
    {
        QTest::addColumn<int>("heureLarg");
        QTest::addColumn<bool>("texte");
        QTest::addColumn<bool>("dessine");
        QTest::newRow("ordinaire") << 60 << true << true;
        QTest::newRow("au-delà de la limite des pixels") << 200000 << true << true;
        QTest::newRow("aucun texte") << 60 << false << false;
        QTest::newRow("largeur d'heure nulle") << 0 << true << false;
    }
    // A vector page holds no pixels: the raster limit does not refuse it.
    // Nothing to draw writes nothing.
    void limites()
    {
        QFETCH(int, heureLarg);
        QFETCH(bool, texte);
        QFETCH(bool, dessine);
        REdt e = EdtNu(1, 1, heureLarg);
        Ajouter(e, 0, 0, Seq(H(8), H(16), {texte ? "4e B" : "", "", "", ""}));
        const QString pdf = Chemin("limites.pdf");
        QFile::remove(pdf);
        REdt copie = e;
        const ResultatDessin raster = Redessiner(copie);
        QCOMPARE(ExporterVecteur(e, pdf.toStdString()), dessine);
        QCOMPARE(QFile::exists(pdf), dessine);
        if (!dessine) return;
        const DescriptionImage d = Disposer(e, MesureurQt());
        const long long pixels = static_cast<long long>(d.largeur) * d.hauteur;
        QCOMPARE(raster.etat == ResultatDessin::TropGrand, pixels > kPixelsMax);
        QCOMPARE(InfoPdf(pdf).value("Pages"), QStringLiteral("1"));
    }

    void echec_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::newRow("dossier absent, pdf") << "absent/x.pdf";
        QTest::newRow("dossier absent, svg") << "absent/x.svg";
        QTest::newRow("dossier à la place du fichier") << "dossier.svg";
    }
    // A failed write says so and leaves nothing behind.
    void echec()
    {
        QFETCH(QString, nom);
        QDir(dossier_.path()).mkpath("dossier.svg");
        const QStringList avant = QDir(dossier_.path()).entryList();
        REdt e = Petit("t", "4e B");
        QVERIFY_THROWS_EXCEPTION(ErreurHoraku, ExporterVecteur(e, Chemin(nom).toStdString()));
        QCOMPARE(QDir(dossier_.path()).entryList(), avant);
    }
};

QTEST_MAIN(TstVecteur)
#include "tst_vecteur.moc"
