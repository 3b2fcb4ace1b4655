#pragma once

#include <cstdint>
#include <span>

#include "platform/picture/conversion_palette.h"
#include "platform/pixel_view.h"

namespace kv {

// Decodes the bytes of an uncompressed BMP file of 1, 4, 8, 24 or 32 bits per
// pixel into the top-left corner of `image` (2 or 4 bytes per pixel), converting
// paletted pixels through `palette`, whose first entries the file's colour table
// replaces. Only the region both share is written; nothing outside it is.
//
// Returns 0, or the error number of the failure:
// - EINVAL: not a BMP file, an information header other than 40 bytes, a
//   negative width, or a negative height (rows stored top row first);
// - ENOTSUP: 15 or 16 bits per pixel, another unknown bit count, compression,
//   a pixel-data offset below 54 or more than 256 colour-table entries;
// - EIO: the colour table or the pixel data ends early.
// The image is untouched by every failure but the last, where the rows read
// (from the bottom of the picture upward) stay written.
int decode_bmp(std::span<const std::uint8_t> file, const PixelView& image, Palette& palette);

}  // namespace kv
