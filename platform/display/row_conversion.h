#pragma once

#include <cstdint>

namespace kv {

// Rows of a page in the pixel format of the screen. Our own conversion: a
// 16-bit pixel is widened by shifting with the low bits left 0, so white shows
// as 248, 252, 248; a 32-bit pixel is copied, its top byte with it.
void widen_565_row(const std::uint16_t* page, std::uint32_t* screen, int count);
void copy_8888_row(const std::uint32_t* page, std::uint32_t* screen, int count);
// For a 16-bit screen, which only the window-surface method meets.
void copy_565_row(const std::uint16_t* page, std::uint16_t* screen, int count);
void narrow_8888_row(const std::uint32_t* page, std::uint16_t* screen, int count);

}  // namespace kv
