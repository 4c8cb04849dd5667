// GIF encoder on raw pixels, without Qt: palette of the 20 static colours of
// the Windows default palette plus up to 236 octree colours, nearest colour
// through a 32×32×32 cache, unused entries dropped and the rest ordered by
// use, white made transparent through one extra black entry, LZW.
#pragma once

#include <cstdint>
#include <vector>

namespace horaku {

// pixels: rows of 0x00RRGGBB values (the top byte is ignored), `pas` pixels
// from one row to the next.  Answers the bytes of a complete GIF file.
std::vector<std::uint8_t> EncoderGif(const std::uint32_t* pixels, int largeur, int hauteur,
                                     int pas);

} // namespace horaku
