// Fuzzing entry point for the GIF encoder.  The bytes describe a small
// picture; its GIF is decoded by giflib, an independent decoder, and every
// pixel must come back as the encoder's own palette reduction says: white
// transparent, every other pixel with the colour of its palette entry.
#include "gif.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace
{

[[noreturn]] void Echec(const char* quoi)
{
    std::fprintf(stderr, "fuzz_gif: %s\n", quoi);
    std::abort();
}

struct Lecture {
    const std::uint8_t* d;
    std::size_t n;
    std::size_t pos = 0;
};

int Lire(GifFileType* gif, GifByteType* sortie, int n)
{
    auto* l = static_cast<Lecture*>(gif->UserData);
    const std::size_t k = std::min<std::size_t>(static_cast<std::size_t>(n), l->n - l->pos);
    std::memcpy(sortie, l->d + l->pos, k);
    l->pos += k;
    return static_cast<int>(k);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille)
{
    // Byte 0 and 1: the sides (1 to 64); byte 2: extra pixels per row; byte 3:
    // the number of colours of a small table the pixels pick from (0: every
    // pixel is three raw bytes).  The bytes are reused when they run out.
    if (taille < 4) return 0;
    const int largeur = 1 + donnees[0] % 64;
    const int hauteur = 1 + donnees[1] % 64;
    const int pas = largeur + donnees[2] % 3;
    const int couleurs = donnees[3] % 32;
    const std::uint8_t* reste = donnees + 4;
    const std::size_t nReste = taille - 4;
    const auto octet = [&](std::size_t i) -> std::uint32_t {
        return nReste == 0 ? 0xFF : reste[i % nReste];
    };
    std::vector<std::uint32_t> table;
    std::size_t i = 0;
    for (int c = 0; c < couleurs; ++c, i += 3)
        table.push_back(octet(i) << 16 | octet(i + 1) << 8 | octet(i + 2));
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(pas) * hauteur);
    for (int y = 0; y < hauteur; ++y) {
        for (int x = 0; x < pas; ++x) {
            std::uint32_t p;
            if (couleurs > 0) {
                p = table[octet(i++) % table.size()];
            } else {
                p = octet(i) << 16 | octet(i + 1) << 8 | octet(i + 2);
                i += 3;
            }
            // The top byte is ignored by the encoder: give it noise too.
            pixels[static_cast<std::size_t>(y) * pas + x] = p | (octet(i) << 24);
        }
    }

    const std::vector<std::uint8_t> fichier =
        horaku::EncoderGif(pixels.data(), largeur, hauteur, pas);
    const horaku::ImageGif reduite = horaku::ReduireGif(pixels.data(), largeur, hauteur, pas);
    if (fichier.empty() || reduite.palette.empty()) Echec("a valid picture gave no GIF");
    if (reduite.palette.size() > 256) Echec("more than 256 colours");

    Lecture lecture{fichier.data(), fichier.size()};
    int erreur = 0;
    GifFileType* gif = DGifOpen(&lecture, Lire, &erreur);
    if (gif == nullptr) Echec("giflib cannot open the file");
    if (DGifSlurp(gif) != GIF_OK || gif->ImageCount != 1) Echec("giflib cannot decode the file");
    const SavedImage& image = gif->SavedImages[0];
    if (gif->SWidth != largeur || gif->SHeight != hauteur || image.ImageDesc.Width != largeur ||
        image.ImageDesc.Height != hauteur || image.ImageDesc.Left != 0 || image.ImageDesc.Top != 0)
        Echec("wrong size");
    const ColorMapObject* palette =
        image.ImageDesc.ColorMap != nullptr ? image.ImageDesc.ColorMap : gif->SColorMap;
    if (palette == nullptr) Echec("no colour table");
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    if (gif->ExtensionBlockCount > 0 || image.ExtensionBlockCount > 0)
        DGifSavedExtensionToGCB(gif, 0, &gcb);
    bool blanc = false;
    for (int y = 0; y < hauteur; ++y) {
        for (int x = 0; x < largeur; ++x) {
            const std::uint32_t source = pixels[static_cast<std::size_t>(y) * pas + x] & 0xFFFFFF;
            const int k = image.RasterBits[static_cast<std::size_t>(y) * largeur + x];
            if (k >= palette->ColorCount) Echec("an index past the colour table");
            const bool transparent = k == gcb.TransparentColor;
            if (source == 0xFFFFFF) blanc = true;
            if (transparent != (reduite.transparent >= 0 && source == 0xFFFFFF))
                Echec("transparency does not follow the white pixels");
            // A full palette leaves no entry for transparency.
            if (source == 0xFFFFFF && !transparent && reduite.palette.size() < 256)
                Echec("a white pixel is not transparent");
            if (transparent) continue;
            const GifColorType c = palette->Colors[k];
            const std::uint32_t lu =
                std::uint32_t(c.Red) << 16 | std::uint32_t(c.Green) << 8 | c.Blue;
            const std::size_t attendu = reduite.indices[static_cast<std::size_t>(y) * largeur + x];
            if (lu != reduite.palette[attendu])
                Echec("a pixel decodes to another colour than its palette entry");
        }
    }
    if (!blanc && gcb.TransparentColor != NO_TRANSPARENT_COLOR)
        Echec("transparency without a white pixel");
    DGifCloseFile(gif, &erreur);
    return 0;
}
