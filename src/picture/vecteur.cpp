// Both documents are built in memory; the export writes their bytes through
// the model's file helper like every other picture file.
#include "vecteur.h"

#include "cp1252.h"
#include "dessin.h"
#include "erreurs.h"

#include <QBuffer>
#include <QColor>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace horaku
{

namespace
{

constexpr int kPixelsParPouce = 96;

// Qt keeps page sizes in whole points: rounded up, so that the margin is
// never cut (at most one pixel more).
int Points(int pixels)
{
    return static_cast<int>((static_cast<long long>(pixels) * 3 + 3) / 4);
}

void PeindrePage(QPainter& p, REdt& edt, const DescriptionImage& d, const MesureurQt& mesureur)
{
    // A PDF page is white already, an SVG is transparent: both get the
    // picture's white, margin included, so that white prints and shows white.
    p.fillRect(0, 0, d.largeur + 1, d.hauteur + 1, Qt::white);
    Peindre(p, edt, d, mesureur);
}

QByteArray Pdf(REdt& edt, const DescriptionImage& d, const MesureurQt& mesureur)
{
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&tampon);
        pdf.setResolution(kPixelsParPouce);
        pdf.setCreator(QStringLiteral("Horaku"));
        pdf.setTitle(QString::fromUtf8(Cp1252VersUtf8(edt.Titre)));
        // An exact size: a fuzzy match would snap a picture near A4 onto A4.
        const QPageSize page(QSize(Points(d.largeur + 1), Points(d.hauteur + 1)), QString(),
                             QPageSize::ExactMatch);
        pdf.setPageLayout(QPageLayout(page, QPageLayout::Portrait, QMarginsF()));
        QPainter p;
        if (!p.begin(&pdf)) throw ErreurHoraku(kMessageTropGrand);
        PeindrePage(p, edt, d, mesureur);
    }
    return octets;
}

QByteArray Svg(REdt& edt, const DescriptionImage& d, const MesureurQt& mesureur)
{
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&tampon);
    const QSize taille(d.largeur + 1, d.hauteur + 1);
    svg.setSize(taille);
    svg.setViewBox(QRect(QPoint(0, 0), taille));
    svg.setResolution(kPixelsParPouce);
    // This Qt writes the title without escaping it: SvgAvecCoupes puts it in.
    svg.setTitle(QStringLiteral("Horaku"));
    svg.setDescription(QStringLiteral("Horaku"));
    {
        QPainter p;
        if (!p.begin(&svg)) throw ErreurHoraku(kMessageTropGrand);
        PeindrePage(p, edt, d, mesureur);
    }
    return octets;
}

// Which clip mark a group of the generator is, from its fill.
enum class Marque { Aucune, Debut, Fin };

Marque MarqueDe(const QXmlStreamAttributes& a)
{
    if (a.value(QLatin1String("fill-opacity")) == QLatin1String("1")) return Marque::Aucune;
    const QColor c = QColor::fromString(a.value(QLatin1String("fill")));
    if (!c.isValid()) return Marque::Aucune;
    if (c.rgb() == (kMarqueDebutCoupe | 0xFF000000u)) return Marque::Debut;
    if (c.rgb() == (kMarqueFinCoupe | 0xFF000000u)) return Marque::Fin;
    return Marque::Aucune;
}

} // namespace

std::string SvgAvecCoupes(const std::string& source, const std::string& titre)
{
    // Control characters of a text are not XML; in UTF-8 their bytes never
    // occur inside another character.
    std::string svg = source;
    for (char& c : svg) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r') c = ' ';
    }
    QXmlStreamReader lecteur(
        QByteArray::fromRawData(svg.data(), static_cast<qsizetype>(svg.size())));
    lecteur.setNamespaceProcessing(false);
    QByteArray sortie;
    QXmlStreamWriter ecrivain(&sortie);
    int coupes = 0;
    int ouvertes = 0;
    while (!lecteur.atEnd()) {
        const QXmlStreamReader::TokenType jeton = lecteur.readNext();
        if (jeton == QXmlStreamReader::Invalid) break;
        if (jeton == QXmlStreamReader::StartElement && lecteur.name() == QLatin1String("title")) {
            lecteur.skipCurrentElement();
            ecrivain.writeTextElement(QStringLiteral("title"), QString::fromUtf8(titre));
            continue;
        }
        if (jeton == QXmlStreamReader::StartElement && lecteur.name() == QLatin1String("g")) {
            const QXmlStreamAttributes groupe = lecteur.attributes();
            const Marque marque = MarqueDe(groupe);
            if (marque != Marque::Aucune) {
                // The mark's group holds its rectangle alone.
                QXmlStreamAttributes rect;
                while (lecteur.readNextStartElement()) {
                    if (lecteur.name() == QLatin1String("rect")) rect = lecteur.attributes();
                    lecteur.skipCurrentElement();
                }
                if (marque == Marque::Debut) {
                    // In defs, so that a viewer without clip paths draws
                    // the texts unclipped rather than the clip rectangle.
                    const QString id = QStringLiteral("coupe%1").arg(++coupes);
                    ecrivain.writeStartElement(QStringLiteral("defs"));
                    ecrivain.writeStartElement(QStringLiteral("clipPath"));
                    ecrivain.writeAttribute(QStringLiteral("id"), id);
                    ecrivain.writeStartElement(QStringLiteral("rect"));
                    for (const char* nom : {"x", "y", "width", "height"})
                        ecrivain.writeAttribute(QLatin1String(nom),
                                                rect.value(QLatin1String(nom)).toString());
                    if (groupe.hasAttribute(QLatin1String("transform")))
                        ecrivain.writeAttribute(
                            QStringLiteral("transform"),
                            groupe.value(QLatin1String("transform")).toString());
                    ecrivain.writeEndElement();
                    ecrivain.writeEndElement();
                    ecrivain.writeEndElement();
                    ecrivain.writeStartElement(QStringLiteral("g"));
                    ecrivain.writeAttribute(QStringLiteral("clip-path"),
                                            QStringLiteral("url(#%1)").arg(id));
                    ++ouvertes;
                } else if (ouvertes > 0) {
                    ecrivain.writeEndElement();
                    --ouvertes;
                }
                continue;
            }
        }
        ecrivain.writeCurrentToken(lecteur);
    }
    // Never met: the generator writes well-formed XML once the controls are
    // gone.  Should it not, the texts go unclipped rather than lost.
    if (lecteur.hasError()) return svg;
    return std::string(sortie.constData(), static_cast<std::size_t>(sortie.size()));
}

DocumentVecteur DessinerVecteur(REdt& edt, FormatVecteur format)
{
    DocumentVecteur r;
    MesureurQt mesureur;
    const DescriptionImage d = Disposer(edt, mesureur);
    if (!d.dessine) return r;
    if (d.demesure) throw ErreurHoraku(kMessageTropGrand);
    // Negative margins from a file can leave no picture at all.
    if (d.largeur <= 0 || d.hauteur <= 0) return r;
    r.dessine = true;
    r.largeur = d.largeur;
    r.hauteur = d.hauteur;
    if (format == FormatVecteur::Pdf) {
        const QByteArray o = Pdf(edt, d, mesureur);
        r.octets.assign(o.constData(), static_cast<std::size_t>(o.size()));
    } else {
        const QByteArray o = Svg(edt, d, mesureur);
        std::string titre = Cp1252VersUtf8(edt.Titre);
        for (char& c : titre)
            if (static_cast<unsigned char>(c) < 0x20) c = ' ';
        r.octets =
            SvgAvecCoupes(std::string(o.constData(), static_cast<std::size_t>(o.size())), titre);
    }
    return r;
}

} // namespace horaku
