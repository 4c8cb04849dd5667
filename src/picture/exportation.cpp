// Every picture file is built in memory, then written atomically through the
// model's file helper: an export that fails never damages an existing file.
#include "exportation.h"

#include "erreurs.h"
#include "fichiers.h"
#include "gif.h"
#include "nomsfichiers.h"
#include "vecteur.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <string_view>
#include <vector>

namespace horaku
{

namespace
{

// The file commands' extension, in small letters: the format does not
// depend on the letter case.
std::string Extension(const std::string& chemin)
{
    std::string ext(ExtensionFichier(chemin));
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

void Ajouter16(std::string& s, std::uint32_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}

void Ajouter32(std::string& s, std::uint32_t v)
{
    Ajouter16(s, v & 0xFFFF);
    Ajouter16(s, v >> 16);
}

// Uncompressed 24-bit Windows bitmap, rows bottom-up, each padded to 4 bytes.
std::string Bmp(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const auto l = static_cast<std::uint32_t>(image.width());
    const auto h = static_cast<std::uint32_t>(image.height());
    const std::uint32_t ligne = (l * 3 + 3) & ~3u;
    const std::uint32_t donnees = ligne * h;
    std::string s;
    s.reserve(54 + donnees);
    s += "BM";
    Ajouter32(s, 54 + donnees);
    Ajouter32(s, 0);
    Ajouter32(s, 54);
    Ajouter32(s, 40);
    Ajouter32(s, l);
    Ajouter32(s, h);
    Ajouter16(s, 1);
    Ajouter16(s, 24);
    Ajouter32(s, 0);
    Ajouter32(s, donnees);
    Ajouter32(s, 3780); // 96 dpi
    Ajouter32(s, 3780);
    Ajouter32(s, 0);
    Ajouter32(s, 0);
    std::string rangee(ligne, '\0');
    for (int y = static_cast<int>(h) - 1; y >= 0; --y) {
        const auto* px = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (std::uint32_t x = 0; x < l; ++x) {
            rangee[x * 3] = static_cast<char>(qBlue(px[x]));
            rangee[x * 3 + 1] = static_cast<char>(qGreen(px[x]));
            rangee[x * 3 + 2] = static_cast<char>(qRed(px[x]));
        }
        s += rangee;
    }
    return s;
}

std::string Gif(const QImage& source)
{
    // The format holds sides of 16 bits only.
    if (source.width() > 65535 || source.height() > 65535) throw ErreurHoraku(kMessageGifTropGrand);
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const std::vector<std::uint8_t> octets =
        EncoderGif(reinterpret_cast<const std::uint32_t*>(image.constBits()), image.width(),
                   image.height(), static_cast<int>(image.bytesPerLine() / 4));
    if (octets.empty()) throw ErreurHoraku(kMessageGifTropGrand);
    return std::string(octets.begin(), octets.end());
}

// The same pixels as an 8-bit palette picture, or a null picture past 256
// colours.  A redraw paints a few dozen colours at most (white, grey, black,
// the week colours and the font colours, never smoothed).
QImage EnPalette(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    QImage sortie(image.size(), QImage::Format_Indexed8);
    if (sortie.isNull()) return {};
    // Open addressing over twice the palette's room: never full.
    constexpr std::uint32_t kCases = 512;
    std::array<QRgb, kCases> couleurs{};
    std::array<int, kCases> indices;
    indices.fill(-1);
    QList<QRgb> table;
    const auto indice = [&](QRgb c) {
        std::uint32_t h = (c * 2654435761u) >> 23;
        while (indices[h] >= 0 && couleurs[h] != c)
            h = (h + 1) % kCases;
        if (indices[h] < 0) {
            if (table.size() == 256) return -1;
            couleurs[h] = c;
            indices[h] = static_cast<int>(table.size());
            table.push_back(c);
        }
        return indices[h];
    };
    for (int y = 0; y < image.height(); ++y) {
        const auto* px = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* o = sortie.scanLine(y);
        QRgb precedente = px[0];
        int i = indice(precedente);
        for (int x = 0; x < image.width(); ++x) {
            if (px[x] != precedente) {
                precedente = px[x];
                i = indice(precedente);
            }
            if (i < 0) return {};
            o[x] = static_cast<uchar>(i);
        }
    }
    sortie.setColorTable(table);
    return sortie;
}

std::string Png(const QImage& image, const std::string& chemin)
{
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    const QImage palette = EnPalette(image);
    QImageWriter ecrivain(&tampon, "png");
    // Qt's quality 50 is zlib's level 4: with a palette, a fifth of the
    // 24-bit default's time for a smaller file.  Past 256 colours the
    // 24-bit picture keeps the default level, and its size.
    if (!palette.isNull()) ecrivain.setQuality(50);
    if (!ecrivain.write(palette.isNull() ? image : palette)) throw ErreurCreer(chemin);
    return std::string(octets.constData(), static_cast<std::size_t>(octets.size()));
}

} // namespace

void ExporterImage(const QImage& image, const std::string& chemin)
{
    const std::string ext = Extension(chemin);
    std::string contenu;
    if (ext != ".gif" && ext != ".bmp" && ext != ".png") throw ErreurHoraku(kMessageFormatInconnu);
    if (image.isNull()) return; // no picture yet: nothing to write
    if (ext == ".gif")
        contenu = Gif(image);
    else if (ext == ".bmp")
        contenu = Bmp(image);
    else
        contenu = Png(image, chemin);
    EcrireFichierAtomique(chemin, contenu);
}

bool ExtensionVectorielle(const std::string& chemin)
{
    const std::string ext = Extension(chemin);
    return ext == ".pdf" || ext == ".svg";
}

bool ExporterVecteur(REdt& edt, const std::string& chemin)
{
    const std::string ext = Extension(chemin);
    if (ext != ".pdf" && ext != ".svg") throw ErreurHoraku(kMessageFormatInconnu);
    const DocumentVecteur document =
        DessinerVecteur(edt, ext == ".pdf" ? FormatVecteur::Pdf : FormatVecteur::Svg);
    if (!document.dessine) return false;
    EcrireFichierAtomique(chemin, document.octets);
    return true;
}

void ExporterImage(REdt& edt, const QImage& image, const std::string& chemin)
{
    if (ExtensionVectorielle(chemin))
        ExporterVecteur(edt, chemin);
    else
        ExporterImage(image, chemin);
}

} // namespace horaku
