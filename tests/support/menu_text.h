#pragma once

// The nine lines the chooser must show, as the tests expect them.
namespace kv {

inline constexpr const char* expected_menu_lines[] = {
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

}  // namespace kv
