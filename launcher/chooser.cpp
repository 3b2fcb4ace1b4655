#include "launcher/chooser.h"

namespace kv {
namespace {

constexpr std::string_view menu_lines[] = {
    "Kestovaria",
    "",
    "Choose your screen mode:",
    "1. Window 800 x 600 x 16",
    "2. Window 800 x 600 x 32",
    "3. FullScreen 800 x 600 x 16",
    "4. FullScreen 800 x 600 x 32",
    "",
    "Press 1-4 to select...",
};

// Keys '1' to '4'; anything else leaves depth 0, which is no choice.
DisplayMode mode_for_key(int code) {
  switch (code) {
    case '1': return {16, 0};
    case '2': return {32, 0};
    case '3': return {16, 1};
    case '4': return {32, 1};
    default: return {};
  }
}

}  // namespace

DisplayMode choose_display_mode(const ChooserConsole& console) {
  DisplayMode mode;
  do {
    console.clear();
    for (std::string_view line : menu_lines) console.write_line(line);
    mode = mode_for_key(console.read_key());
  } while (mode.depth == 0);
  console.clear();
  return mode;
}

}  // namespace kv
