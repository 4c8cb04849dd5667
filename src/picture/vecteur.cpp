// Both documents are built in memory; the export writes their bytes through
// the model's file helper like every other picture file.
#include "vecteur.h"

#include "cp1252.h"
#include "dessin.h"
#include "erreurs.h"
#include "pdfcompact.h"
#include "tropgrand.h"

#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>

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

void PeindrePage(QPainter& p, REdt& edt, const DescriptionImage& d, const MesureurQt& mesureur,
                 const Surcouche& surcouche)
{
    // A PDF page is white already, an SVG is transparent: both get the
    // picture's white, margin included, so that white prints and shows white.
    p.fillRect(0, 0, d.largeur + 1, d.hauteur + 1, Qt::white);
    Peindre(p, edt, d, mesureur);
    if (surcouche) surcouche(p, d);
}

// One page laid out, ready to paint.
struct Page {
    REdt* edt = nullptr;
    DescriptionImage d;
    std::unique_ptr<MesureurQt> mesureur;
    const Surcouche* surcouche = nullptr;
};

QPageLayout MiseEnPage(const DescriptionImage& d)
{
    // An exact size: a fuzzy match would snap a picture near A4 onto A4.
    const QPageSize page(QSize(Points(d.largeur + 1), Points(d.hauteur + 1)), QString(),
                         QPageSize::ExactMatch);
    return QPageLayout(page, QPageLayout::Portrait, QMarginsF());
}

QByteArray Pdf(const std::vector<Page>& pages, const std::string& titreCp1252)
{
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&tampon);
        pdf.setResolution(kPixelsParPouce);
        pdf.setCreator(QStringLiteral("Horaku"));
        pdf.setTitle(QString::fromUtf8(Cp1252VersUtf8(titreCp1252)));
        pdf.setPageLayout(MiseEnPage(pages.front().d));
        QPainter p;
        if (!p.begin(&pdf)) throw ErreurHoraku(kMessageTropGrand);
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const Page& page = pages[i];
            // Each page its own size, set before the page is opened.
            if (i > 0) {
                pdf.setPageLayout(MiseEnPage(page.d));
                pdf.newPage();
            }
            static const Surcouche kAucune;
            PeindrePage(p, *page.edt, page.d, *page.mesureur,
                        page.surcouche ? *page.surcouche : kAucune);
        }
    }
    return octets;
}

QByteArray Svg(REdt& edt, const DescriptionImage& d, const MesureurQt& mesureur,
               const Surcouche& surcouche)
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
        PeindrePage(p, edt, d, mesureur, surcouche);
    }
    return octets;
}

// Laid out for a vector page; nothing when there is nothing to draw.
std::optional<Page> Disposee(REdt& edt, const Surcouche* surcouche)
{
    Page page;
    page.edt = &edt;
    page.mesureur = std::make_unique<MesureurQt>();
    page.d = Disposer(edt, *page.mesureur);
    if (!page.d.dessine) return std::nullopt;
    if (page.d.demesure) throw ErreurHoraku(MessageTropGrand(edt, page.d));
    // Negative margins from a file can leave no picture at all.
    if (page.d.largeur <= 0 || page.d.hauteur <= 0) return std::nullopt;
    page.surcouche = surcouche;
    return page;
}

void AjouterEchappe(std::string& sortie, std::string_view texte)
{
    for (char c : texte) {
        switch (c) {
        case '&':
            sortie += "&amp;";
            break;
        case '<':
            sortie += "&lt;";
            break;
        case '>':
            sortie += "&gt;";
            break;
        default:
            sortie += c;
        }
    }
}

// The generator writes a line as <polyline ... points="x1,y1 x2,y2 " />.
bool LirePoints(std::string_view balise, int (&v)[4])
{
    const std::string_view cle = "points=\"";
    auto i = balise.find(cle);
    if (i == std::string_view::npos) return false;
    i += cle.size();
    for (int k = 0; k < 4; ++k) {
        bool negatif = false;
        if (i < balise.size() && balise[i] == '-') {
            negatif = true;
            ++i;
        }
        const auto debut = i;
        long long n = 0;
        while (i < balise.size() && balise[i] >= '0' && balise[i] <= '9' && n < (1LL << 40))
            n = n * 10 + (balise[i++] - '0');
        // Whole pixels only, then "," or " " between the numbers.
        if (i == debut || i >= balise.size() || (balise[i] != ',' && balise[i] != ' '))
            return false;
        ++i;
        v[k] = static_cast<int>(negatif ? -n : n);
    }
    return true;
}

} // namespace

// A single pass over the generator's text, whose layout is fixed: a parser
// would cost more than drawing the whole picture.
std::string SvgAvecCoupes(const std::string& source, const std::string& titre)
{
    // Control characters of a text are not XML; in UTF-8 their bytes never
    // occur inside another character.
    std::string svg = source;
    for (char& c : svg) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r') c = ' ';
    }
    std::string sortie;
    sortie.reserve(svg.size() + svg.size() / 4);
    std::size_t lu = 0;
    // The title, written by this Qt without escaping.
    const auto titreDebut = svg.find("<title>");
    const auto titreFin = svg.find("</title>");
    if (titreDebut != std::string::npos && titreFin != std::string::npos && titreFin > titreDebut) {
        sortie.append(svg, 0, titreDebut + 7);
        AjouterEchappe(sortie, titre);
        lu = titreFin;
    }
    int coupes = 0;
    int ouvertes = 0;
    for (;;) {
        const auto debut = svg.find("<polyline", lu);
        if (debut == std::string::npos) break;
        const auto fin = svg.find("/>", debut);
        if (fin == std::string::npos) break;
        sortie.append(svg, lu, debut - lu);
        lu = fin + 2;
        int v[4];
        if (!LirePoints(std::string_view(svg).substr(debut, fin - debut), v)) continue;
        if (v[0] < v[2]) {
            // In defs, so that a viewer without clip paths draws the texts
            // unclipped rather than the clip rectangle.
            const std::string id = "coupe" + std::to_string(++coupes);
            sortie += "<defs><clipPath id=\"" + id + "\"><rect x=\"" + std::to_string(v[0]) +
                      "\" y=\"" + std::to_string(v[1]) + "\" width=\"" +
                      std::to_string(static_cast<long long>(v[2]) - v[0]) + "\" height=\"" +
                      std::to_string(static_cast<long long>(v[3]) - v[1]) +
                      "\"/></clipPath></defs><g clip-path=\"url(#" + id + ")\">";
            ++ouvertes;
        } else if (ouvertes > 0) {
            sortie += "</g>";
            --ouvertes;
        }
    }
    sortie.append(svg, lu, std::string::npos);
    return sortie;
}

DocumentVecteur DessinerVecteur(REdt& edt, FormatVecteur format, const Surcouche& surcouche)
{
    DocumentVecteur r;
    std::optional<Page> page = Disposee(edt, &surcouche);
    if (!page) return r;
    r.dessine = true;
    r.largeur = page->d.largeur;
    r.hauteur = page->d.hauteur;
    if (format == FormatVecteur::Pdf) {
        std::vector<Page> pages;
        pages.push_back(std::move(*page));
        const QByteArray o = Pdf(pages, edt.Titre);
        r.octets = CompacterPdf(std::string(o.constData(), static_cast<std::size_t>(o.size())));
    } else {
        const QByteArray o = Svg(edt, page->d, *page->mesureur, surcouche);
        std::string titre = Cp1252VersUtf8(edt.Titre);
        for (char& c : titre)
            if (static_cast<unsigned char>(c) < 0x20) c = ' ';
        r.octets =
            SvgAvecCoupes(std::string(o.constData(), static_cast<std::size_t>(o.size())), titre);
    }
    return r;
}

DocumentVecteur DessinerPdfPages(const std::vector<REdt*>& edts,
                                 const std::vector<Surcouche>& surcouches,
                                 const std::string& titreCp1252)
{
    DocumentVecteur r;
    std::vector<Page> pages;
    for (std::size_t i = 0; i < edts.size(); ++i)
        if (std::optional<Page> page =
                Disposee(*edts[i], i < surcouches.size() ? &surcouches[i] : nullptr)) {
            r.largeur = std::max(r.largeur, page->d.largeur);
            r.hauteur = std::max(r.hauteur, page->d.hauteur);
            pages.push_back(std::move(*page));
        }
    if (pages.empty()) return r;
    r.dessine = true;
    const QByteArray o = Pdf(pages, titreCp1252);
    r.octets = std::string(o.constData(), static_cast<std::size_t>(o.size()));
    return r;
}

} // namespace horaku
