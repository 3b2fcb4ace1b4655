#pragma once

#include <cstddef>
#include <span>

// Turns the bytes a terminal sends for key presses into key codes: characters
// give 0 to 255, keys without a character 256 × E + 255 with E from a PC BIOS
// style table (plain, Shift, Ctrl and Alt columns).
namespace kv {

inline constexpr int no_key = -1;

struct DecodedKey {
  std::size_t length = 0;  // bytes taken; 0 when more bytes are needed to decide
  int code = no_key;       // no_key for a sequence that stands for no key we know
};

// Decodes the key at the front of `bytes` (not empty). `paused` says that no
// further bytes came within a short wait: a lone ESC is then Escape, and an
// unfinished sequence is dropped whole instead of waited for.
DecodedKey decode_key(std::span<const unsigned char> bytes, bool paused);

}  // namespace kv
