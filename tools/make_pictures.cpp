// Draws the game's two pictures, original work of this project, and writes them
// as 24-bit BMP files: gfx/mainmenu.bmp (800 × 600, the main-menu backdrop) and
// gfx/cursor.bmp (48 × 48, the pointer on magenta, hot spot at its centre).
//
// To regenerate them, from the repository's top folder:
//   cmake -S . -B build && cmake --build build --target make_pictures
//   build/tools/make_pictures
// The drawing is deterministic: the same source gives the same files.
#include <cstdio>
#include <fstream>
#include <vector>

#include "platform/picture/bmp_writer.h"
#include "tools/cursor_arrow.h"
#include "tools/menu_backdrop.h"

namespace {

bool write_picture(const char* path, int width, int height, std::vector<std::uint32_t> pixels) {
  const auto bytes = kv::write_bmp({.width = width, .height = height, .bits = 24, .pixels = std::move(pixels)});
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (out) return true;
  std::fprintf(stderr, "make_pictures: cannot write %s\n", path);
  return false;
}

}  // namespace

int main() {
  const bool menu = write_picture("gfx/mainmenu.bmp", 800, 600, kv::tools::draw_menu_backdrop());
  const bool cursor = write_picture("gfx/cursor.bmp", 48, 48, kv::tools::draw_cursor_arrow());
  return menu && cursor ? 0 : 1;
}
