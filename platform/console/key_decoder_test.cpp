#include "platform/console/key_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kv {
namespace {

DecodedKey decode(const std::string& bytes, bool paused) {
  return decode_key(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()), paused);
}

std::string printable(const std::string& bytes) {
  std::string out;
  for (unsigned char byte : bytes) out += byte >= 0x20 && byte < 0x7F ? std::string(1, char(byte)) : "\\x" + std::to_string(byte);
  return out;
}

constexpr int ext(int e) { return 256 * e + 255; }

struct Case {
  std::string bytes;
  bool paused;
  std::size_t length;
  int code;
};

TEST(KeyDecoder, DecodesTheKeyAtTheFront) {
  const std::vector<Case> cases = {
      // Characters, DEL as Backspace, control keys.
      {"a", false, 1, 'a'}, {"3x", false, 1, 51}, {"\r", false, 1, 13}, {"\t", false, 1, 9},
      {"\x08", false, 1, 8}, {"\x7f", false, 1, 8}, {"\x01", false, 1, 1}, {"\x1a", false, 1, 26},
      {"\xe9", false, 1, 0xE9},
      // Escape alone: undecided until the input pauses; twice in a row, the first is Escape.
      {"\x1b", false, 0, no_key}, {"\x1b", true, 1, 27}, {"\x1b\x1b", false, 1, 27},
      // Alt+key from the Alt column, either case of a letter.
      {"\x1bx", false, 2, ext(0x2D)}, {"\x1bX", false, 2, ext(0x2D)}, {"\x1bq", false, 2, ext(0x10)},
      {"\x1b" "1", false, 2, ext(0x78)}, {"\x1b" "4", false, 2, ext(0x7B)}, {"\x1b=", false, 2, ext(0x83)},
      {"\x1b\x7f", false, 2, ext(0x0E)}, {"\x1b\r", false, 2, ext(0x1C)}, {"\x1b!", false, 2, no_key},
      // Cursor and editing keys, CSI and SS3 forms.
      {"\x1b[A", false, 3, ext(0x48)}, {"\x1b[B", false, 3, ext(0x50)}, {"\x1b[C", false, 3, ext(0x4D)},
      {"\x1b[D", false, 3, ext(0x4B)}, {"\x1bOA", false, 3, ext(0x48)}, {"\x1b[H", false, 3, ext(0x47)},
      {"\x1bOF", false, 3, ext(0x4F)}, {"\x1b[1~", false, 4, ext(0x47)}, {"\x1b[4~", false, 4, ext(0x4F)},
      {"\x1b[2~", false, 4, ext(0x52)}, {"\x1b[3~", false, 4, ext(0x53)}, {"\x1b[5~", false, 4, ext(0x49)},
      {"\x1b[6~", false, 4, ext(0x51)}, {"\x1b[Z", false, 3, ext(0x0F)},
      // Function keys: SS3, CSI with a number, the Linux console's CSI [ form.
      {"\x1bOP", false, 3, ext(0x3B)}, {"\x1bOS", false, 3, ext(0x3E)}, {"\x1b[11~", false, 5, ext(0x3B)},
      {"\x1b[15~", false, 5, ext(0x3F)}, {"\x1b[17~", false, 5, ext(0x40)}, {"\x1b[21~", false, 5, ext(0x44)},
      {"\x1b[23~", false, 5, ext(0x85)}, {"\x1b[24~", false, 5, ext(0x86)}, {"\x1b[[A", false, 4, ext(0x3B)},
      {"\x1b[[E", false, 4, ext(0x3F)},
      // Modifiers: Shift, Ctrl, Alt columns; Alt over Ctrl over Shift.
      {"\x1b[1;2P", false, 6, ext(0x54)}, {"\x1b[1;5A", false, 6, ext(0x8D)}, {"\x1b[1;3B", false, 6, ext(0xA0)},
      {"\x1b[1;6C", false, 6, ext(0x74)}, {"\x1b[3;5~", false, 6, ext(0x93)}, {"\x1b[15;2~", false, 7, ext(0x58)},
      {"\x1b[24;7~", false, 7, ext(0x8C)}, {"\x1bO5P", false, 4, ext(0x5E)},
      // Unknown sequences are taken whole and give nothing, keypad application digits included.
      {"\x1b[99~", false, 5, no_key}, {"\x1b[1;5X", false, 6, no_key}, {"\x1bOq", false, 3, no_key},
      {"\x1b[?1;2c", false, 7, no_key}, {"\x1b[200~", false, 6, no_key}, {"\x1b[[1", false, 3, no_key},
      // Cut off: wait while bytes may follow, then drop what came.
      {"\x1b[1;5", false, 0, no_key}, {"\x1b[1;5", true, 5, no_key}, {"\x1b[", true, 2, no_key},
      {"\x1bO", true, 2, no_key}, {"\x1b[[", true, 3, no_key}, {"\x1b[1\r", false, 3, no_key},
      // Only the first key is taken.
      {"\x1b[A1", false, 3, ext(0x48)},
  };
  for (const Case& c : cases) {
    DecodedKey key = decode(c.bytes, c.paused);
    EXPECT_EQ(key.length, c.length) << printable(c.bytes) << (c.paused ? " paused" : "");
    EXPECT_EQ(key.code, c.code) << printable(c.bytes) << (c.paused ? " paused" : "");
  }
}

// Only the keys 1 to 4 may give 49 to 52: no escape sequence, known, unknown
// or cut off, may decode to a choice.
TEST(KeyDecoder, NoEscapeSequenceGivesAChoice) {
  std::string bytes(4, '\x1b');
  auto check = [&](std::size_t size) {
    for (bool paused : {false, true}) {
      DecodedKey key = decode(bytes.substr(0, size), paused);
      ASSERT_LE(key.length, size) << printable(bytes.substr(0, size));
      ASSERT_FALSE(key.code >= 49 && key.code <= 52) << printable(bytes.substr(0, size));
    }
  };
  for (int first = 0; first < 256; ++first) {
    bytes[1] = char(first);
    check(2);
    for (int second = 0; second < 256; ++second) {
      bytes[2] = char(second);
      check(3);
      if (first != '[' && first != 'O') continue;
      for (int third = 0; third < 256; ++third) {
        bytes[3] = char(third);
        check(4);
      }
    }
  }
}

}  // namespace
}  // namespace kv
