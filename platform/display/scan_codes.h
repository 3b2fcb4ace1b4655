#pragma once

#include <SDL_scancode.h>

#include <array>
#include <cstdint>

namespace kv {

// The PC set-1 scan code of an SDL key, -1 for keys without one. Extended keys
// share their base key's code: right Ctrl is 0x1D, keypad Enter 0x1C, the
// arrows are keypad 8, 4, 6 and 2.
int scan_code_from_sdl(SDL_Scancode key);

// The key-state table from SDL's keyboard state array (`count` entries).
std::array<bool, 128> held_scan_codes(const std::uint8_t* state, int count);

}  // namespace kv
