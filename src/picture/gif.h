// GIF encoder on raw pixels, without Qt: palette of the 20 static colours of
// the Windows default palette plus up to 236 octree colours, nearest colour
// through a 32×32×32 cache, unused entries dropped and the rest ordered by
// use, white made transparent through one extra black entry, LZW.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace horaku
{

// pixels: rows of 0x00RRGGBB values (the top byte is ignored), `pas` pixels
// from one row to the next.  Answers the bytes of a complete GIF file, or
// nothing when the picture cannot be a GIF (no pixel, a side over 65,535,
// `pas` shorter than a row).
std::vector<std::uint8_t> EncoderGif(const std::uint32_t* pixels, int largeur, int hauteur,
                                     int pas);

// The steps of EncoderGif, for the tests and the benchmarks.

// The 256 colours (0x00RRGGBB) that the pixels are matched against: the 20
// static colours, then the octree's colours in depth-first order, black where
// the tree has fewer than 236 leaves.
std::array<std::uint32_t, 256> PaletteGif(const std::uint32_t* pixels, int largeur, int hauteur,
                                          int pas);

// The picture reduced to the palette written in the file.
struct ImageGif {
    int largeur = 0;
    int hauteur = 0;
    std::vector<std::uint32_t> palette; // 0x00RRGGBB, most used first, at most 256
    int transparent = -1;               // index of the transparent entry, or -1
    std::vector<std::uint8_t> indices;  // largeur × hauteur entries, rows top to bottom
};
// Empty (no palette) in the cases where EncoderGif answers nothing.
ImageGif ReduireGif(const std::uint32_t* pixels, int largeur, int hauteur, int pas);

// The file of a reduced picture (LZW, sub-blocks, trailer).
std::vector<std::uint8_t> EcrireGif(const ImageGif& image);

} // namespace horaku
