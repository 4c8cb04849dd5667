#include "pdfcompact.h"

#include <zlib.h>

#include <charconv>
#include <cstdio>
#include <optional>
#include <vector>

namespace horaku
{

namespace
{

std::vector<std::string_view> Lignes(std::string_view texte)
{
    std::vector<std::string_view> lignes;
    std::size_t debut = 0;
    while (debut < texte.size()) {
        std::size_t fin = texte.find('\n', debut);
        if (fin == std::string_view::npos) fin = texte.size();
        lignes.push_back(texte.substr(debut, fin - debut));
        debut = fin + 1;
    }
    return lignes;
}

std::string_view DernierMot(std::string_view ligne)
{
    const std::size_t blanc = ligne.rfind(' ');
    return blanc == std::string_view::npos ? ligne : ligne.substr(blanc + 1);
}

// Operators that change the graphics state and paint nothing.
bool EtatSeul(std::string_view ligne)
{
    const std::string_view op = DernierMot(ligne);
    return op == "SCN" || op == "scn" || op == "CS" || op == "cs" || op == "gs" || op == "w" ||
           op == "J" || op == "j" || op == "d" || op == "M" || op == "ri" || op == "i";
}

bool DeuxEntiers(std::string_view ligne, std::string_view op, long& x, long& y)
{
    if (ligne.size() <= op.size() + 1 || ligne.substr(ligne.size() - op.size()) != op ||
        ligne[ligne.size() - op.size() - 1] != ' ')
        return false;
    const char* p = ligne.data();
    const char* fin = p + ligne.size() - op.size() - 1;
    auto r = std::from_chars(p, fin, x);
    if (r.ec != std::errc() || r.ptr == fin || *r.ptr != ' ') return false;
    r = std::from_chars(r.ptr + 1, fin, y);
    return r.ec == std::errc() && r.ptr == fin;
}

// "a b m / c b l / c d l / a d l / a b l / h / W* n": an axis-aligned
// rectangle, clipped even-odd or not, which is the same for a rectangle.
std::optional<std::string> Rectangle(const std::vector<std::string_view>& l, std::size_t i)
{
    if (i + 6 >= l.size() || l[i + 5] != "h" || (l[i + 6] != "W* n" && l[i + 6] != "W n"))
        return std::nullopt;
    long x[5], y[5];
    if (!DeuxEntiers(l[i], "m", x[0], y[0])) return std::nullopt;
    for (int k = 1; k < 5; ++k)
        if (!DeuxEntiers(l[i + k], "l", x[k], y[k])) return std::nullopt;
    if (!(y[1] == y[0] && x[2] == x[1] && y[3] == y[2] && x[3] == x[0] && x[4] == x[0] &&
          y[4] == y[0]))
        return std::nullopt;
    return std::to_string(x[0]) + ' ' + std::to_string(y[0]) + ' ' + std::to_string(x[1] - x[0]) +
           ' ' + std::to_string(y[2] - y[0]) + " re\nW n";
}

std::optional<std::string> Decompresser(std::string_view donnees)
{
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return std::nullopt;
    std::string sortie;
    char tampon[65536];
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(donnees.data()));
    z.avail_in = static_cast<uInt>(donnees.size());
    int r = Z_OK;
    while (r == Z_OK) {
        z.next_out = reinterpret_cast<Bytef*>(tampon);
        z.avail_out = sizeof tampon;
        r = inflate(&z, Z_NO_FLUSH);
        sortie.append(tampon, sizeof tampon - z.avail_out);
    }
    inflateEnd(&z);
    if (r != Z_STREAM_END) return std::nullopt;
    return sortie;
}

std::optional<std::string> Compresser(std::string_view donnees)
{
    uLongf taille = compressBound(static_cast<uLong>(donnees.size()));
    std::string sortie(taille, '\0');
    if (compress2(reinterpret_cast<Bytef*>(sortie.data()), &taille,
                  reinterpret_cast<const Bytef*>(donnees.data()),
                  static_cast<uLong>(donnees.size()), Z_BEST_COMPRESSION) != Z_OK)
        return std::nullopt;
    sortie.resize(taille);
    return sortie;
}

// The number written alone as the body of object `numero`; its place in `pdf`.
std::optional<std::pair<std::size_t, std::size_t>> CorpsEntier(const std::string& pdf, long numero)
{
    const std::string entete = '\n' + std::to_string(numero) + " 0 obj\n";
    const std::size_t p = pdf.find(entete);
    if (p == std::string::npos) return std::nullopt;
    const std::size_t debut = p + entete.size();
    std::size_t fin = debut;
    while (fin < pdf.size() && pdf[fin] >= '0' && pdf[fin] <= '9')
        ++fin;
    if (fin == debut || pdf.compare(fin, 8, "\nendobj\n") != 0) return std::nullopt;
    return std::make_pair(debut, fin);
}

std::optional<long> Reference(const std::string& pdf, std::size_t debut, std::size_t fin,
                              std::string_view cle)
{
    const std::size_t p = pdf.find(cle, debut);
    if (p == std::string::npos || p >= fin) return std::nullopt;
    long n = 0;
    const char* d = pdf.data() + p + cle.size();
    const auto r = std::from_chars(d, pdf.data() + fin, n);
    if (r.ec != std::errc() || std::string_view(r.ptr, 4) != " 0 R") return std::nullopt;
    return n;
}

} // namespace

std::string CompacterContenuPdf(std::string_view contenu)
{
    const std::vector<std::string_view> l = Lignes(contenu);
    std::string sortie;
    sortie.reserve(contenu.size() / 2);
    for (std::size_t i = 0; i < l.size();) {
        if (l[i] == "q") {
            std::size_t j = i + 1;
            while (j < l.size() && EtatSeul(l[j]))
                ++j;
            if (j < l.size() && l[j] == "Q") {
                i = j + 1;
                continue;
            }
        }
        if (const auto r = Rectangle(l, i)) {
            sortie += *r;
            sortie += '\n';
            i += 7;
            continue;
        }
        sortie.append(l[i].data(), l[i].size());
        sortie += '\n';
        ++i;
    }
    return sortie;
}

std::string CompacterPdf(const std::string& pdf)
{
    // The page's content object and the object holding its length.
    const auto contenu = Reference(pdf, 0, pdf.size(), "/Contents ");
    if (!contenu) return pdf;
    const std::string entete = '\n' + std::to_string(*contenu) + " 0 obj\n";
    const std::size_t objet = pdf.find(entete);
    if (objet == std::string::npos) return pdf;
    const std::size_t debutFlux = pdf.find("stream\n", objet);
    if (debutFlux == std::string::npos) return pdf;
    const std::size_t donnees = debutFlux + 7;
    if (pdf.find("/FlateDecode", objet) > debutFlux) return pdf;
    const auto longueur = Reference(pdf, objet, debutFlux, "/Length ");
    if (!longueur) return pdf;
    const auto corps = CorpsEntier(pdf, *longueur);
    if (!corps || corps->first < donnees) return pdf;
    long ancienne = 0;
    std::from_chars(pdf.data() + corps->first, pdf.data() + corps->second, ancienne);
    const std::size_t finDonnees = donnees + static_cast<std::size_t>(ancienne);
    if (finDonnees > corps->first || pdf.compare(finDonnees, 10, "\nendstream") != 0) return pdf;

    const auto clair = Decompresser(std::string_view(pdf).substr(donnees, finDonnees - donnees));
    if (!clair) return pdf;
    const auto nouveau = Compresser(CompacterContenuPdf(*clair));
    if (!nouveau || nouveau->size() >= finDonnees - donnees) return pdf;

    const std::size_t xref = pdf.rfind("\nxref\n");
    const std::size_t startxref = pdf.rfind("\nstartxref\n");
    if (xref == std::string::npos || startxref == std::string::npos || xref < corps->second ||
        startxref < xref)
        return pdf;

    const std::string texteLongueur = std::to_string(nouveau->size());
    const long ecart1 =
        static_cast<long>(nouveau->size()) - (static_cast<long>(finDonnees - donnees));
    const long ecart2 =
        static_cast<long>(texteLongueur.size()) - static_cast<long>(corps->second - corps->first);
    const auto deplacer = [&](long o) {
        long n = o;
        if (o >= static_cast<long>(finDonnees)) n += ecart1;
        if (o >= static_cast<long>(corps->second)) n += ecart2;
        return n;
    };

    std::string sortie;
    sortie.reserve(pdf.size());
    sortie.append(pdf, 0, donnees);
    sortie += *nouveau;
    sortie.append(pdf, finDonnees, corps->first - finDonnees);
    sortie += texteLongueur;
    sortie.append(pdf, corps->second, xref + 1 - corps->second);

    // The table: "xref", "0 N", then N entries of 20 bytes "oooooooooo ggggg n \n".
    std::size_t p = xref + 6;
    const std::size_t finSousTitre = pdf.find('\n', p);
    if (finSousTitre == std::string::npos) return pdf;
    long premier = 0, nombre = 0;
    if (std::sscanf(pdf.c_str() + p, "%ld %ld", &premier, &nombre) != 2 || nombre < 0) return pdf;
    sortie.append(pdf, xref + 1, finSousTitre + 1 - (xref + 1));
    p = finSousTitre + 1;
    for (long k = 0; k < nombre; ++k, p += 20) {
        if (p + 20 > pdf.size() || pdf[p + 17] == ' ' || pdf[p + 10] != ' ') return pdf;
        std::string entree = pdf.substr(p, 20);
        if (entree[17] == 'n') {
            long o = 0;
            std::from_chars(entree.data(), entree.data() + 10, o);
            char chiffres[16];
            std::snprintf(chiffres, sizeof chiffres, "%010ld", deplacer(o));
            entree.replace(0, 10, chiffres);
        }
        sortie += entree;
    }
    sortie.append(pdf, p, startxref + 11 - p);
    long debutTable = 0;
    const auto r =
        std::from_chars(pdf.data() + startxref + 11, pdf.data() + pdf.size(), debutTable);
    if (r.ec != std::errc()) return pdf;
    sortie += std::to_string(deplacer(debutTable));
    sortie.append(r.ptr, static_cast<std::size_t>(pdf.data() + pdf.size() - r.ptr));
    return sortie;
}

} // namespace horaku
