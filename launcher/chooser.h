#pragma once

#include <functional>
#include <string_view>

#include "launcher/display_mode.h"
#include "platform/console/console.h"

namespace kv {

// The console operations the chooser uses; tests put scripted ones in.
struct ChooserConsole {
  std::function<void()> clear = clear_console;
  std::function<void(std::string_view)> write_line = write_console_line;
  std::function<int()> read_key = read_console_key;
};

// Shows the screen-mode menu until one of the keys 1 to 4 is read, clears it
// away and returns that key's mode.
DisplayMode choose_display_mode(const ChooserConsole& console = {});

}  // namespace kv
