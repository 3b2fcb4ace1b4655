#include "platform/display/row_conversion.h"

#include <cstring>

#include "platform/pixel_view.h"

namespace kv {

void widen_565_row(const std::uint16_t* page, std::uint32_t* screen, int count) {
  for (int i = 0; i < count; ++i) {
    const std::uint32_t p = page[i];
    screen[i] = 0xFF000000u | (p & 0xF800u) << 8 | (p & 0x07E0u) << 5 | (p & 0x001Fu) << 3;
  }
}

void copy_8888_row(const std::uint32_t* page, std::uint32_t* screen, int count) {
  std::memcpy(screen, page, static_cast<std::size_t>(count) * 4);
}

void copy_565_row(const std::uint16_t* page, std::uint16_t* screen, int count) {
  std::memcpy(screen, page, static_cast<std::size_t>(count) * 2);
}

void narrow_8888_row(const std::uint32_t* page, std::uint16_t* screen, int count) {
  for (int i = 0; i < count; ++i) screen[i] = colour_to_16(page[i]);
}

}  // namespace kv
