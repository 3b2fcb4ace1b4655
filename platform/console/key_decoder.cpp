#include "platform/console/key_decoder.h"

#include <iterator>
#include <string_view>

namespace kv {
namespace {

constexpr unsigned char escape = 27;

// E codes of one key in the four columns of the table.
struct TableKey {
  int plain, shift, ctrl, alt;
};

//                    plain shift ctrl  alt
constexpr TableKey f1{0x3B, 0x54, 0x5E, 0x68};
constexpr TableKey f2{0x3C, 0x55, 0x5F, 0x69};
constexpr TableKey f3{0x3D, 0x56, 0x60, 0x6A};
constexpr TableKey f4{0x3E, 0x57, 0x61, 0x6B};
constexpr TableKey f5{0x3F, 0x58, 0x62, 0x6C};
constexpr TableKey f6{0x40, 0x59, 0x63, 0x6D};
constexpr TableKey f7{0x41, 0x5A, 0x64, 0x6E};
constexpr TableKey f8{0x42, 0x5B, 0x65, 0x6F};
constexpr TableKey f9{0x43, 0x5C, 0x66, 0x70};
constexpr TableKey f10{0x44, 0x5D, 0x67, 0x71};
constexpr TableKey f11{0x85, 0x87, 0x89, 0x8B};
constexpr TableKey f12{0x86, 0x88, 0x8A, 0x8C};
constexpr TableKey home{0x47, 0x47, 0x77, 0x97};
constexpr TableKey up{0x48, 0x48, 0x8D, 0x98};
constexpr TableKey page_up{0x49, 0x49, 0x84, 0x99};
constexpr TableKey left{0x4B, 0x4B, 0x73, 0x9B};
constexpr TableKey right{0x4D, 0x4D, 0x74, 0x9D};
constexpr TableKey end{0x4F, 0x4F, 0x75, 0x9F};
constexpr TableKey down{0x50, 0x50, 0x91, 0xA0};
constexpr TableKey page_down{0x51, 0x51, 0x76, 0xA1};
constexpr TableKey insert{0x52, 0x52, 0x92, 0xA2};
constexpr TableKey del{0x53, 0x53, 0x93, 0xA3};
constexpr TableKey back_tab{0x0F, 0x0F, 0x94, 0xA5};  // Shift+Tab

constexpr int extended(int e) { return 256 * e + 255; }

constexpr int plain_code(unsigned char byte) { return byte == 127 ? 8 : byte; }

// The xterm modifier parameter is 1 + (Shift 1, Alt 2, Ctrl 4); the table has
// one column per key, so Alt wins over Ctrl and Ctrl over Shift.
int table_code(const TableKey& key, int modifier) {
  int bits = modifier > 1 ? modifier - 1 : 0;
  if (bits & 2) return extended(key.alt);
  if (bits & 4) return extended(key.ctrl);
  if (bits & 1) return extended(key.shift);
  return extended(key.plain);
}

// Alt+key: the key's scan code, which runs in keyboard rows, or a BIOS code of its own.
int alt_code(unsigned char byte) {
  if (byte >= 'A' && byte <= 'Z') byte += 'a' - 'A';
  struct Row {
    std::string_view keys;
    int first;
  };
  for (Row row : {Row{"qwertyuiop[]", 0x10}, Row{"asdfghjkl;'`", 0x1E}, Row{"\\zxcvbnm,./", 0x2B},
                  Row{"1234567890-=", 0x78}}) {
    if (auto at = row.keys.find(char(byte)); at != std::string_view::npos) return extended(row.first + int(at));
  }
  switch (byte) {
    case 8:
    case 127: return extended(0x0E);
    case 9: return extended(0xA5);
    case 13: return extended(0x1C);
    default: return no_key;
  }
}

// CSI n ~: Home and End come as 1 and 4 or as 7 and 8, depending on the terminal.
const TableKey* tilde_key(int number) {
  static constexpr const TableKey* keys[] = {
      nullptr, &home, &insert, &del, &end, &page_up, &page_down, &home, &end, nullptr, nullptr, &f1, &f2,
      &f3,     &f4,   &f5,     nullptr, &f6, &f7, &f8, &f9, &f10, nullptr, &f11, &f12};
  return number < int(std::size(keys)) ? keys[number] : nullptr;
}

const TableKey* letter_key(unsigned char final_byte) {
  switch (final_byte) {
    case 'A': return &up;
    case 'B': return &down;
    case 'C': return &right;
    case 'D': return &left;
    case 'H': return &home;
    case 'F': return &end;
    case 'P': return &f1;
    case 'Q': return &f2;
    case 'R': return &f3;
    case 'S': return &f4;
    case 'Z': return &back_tab;
    default: return nullptr;
  }
}

// A complete sequence: parameters like "1;5" (or "5" in the SS3 form), then its final byte.
int sequence_code(std::span<const unsigned char> parameters, unsigned char final_byte) {
  int numbers[2] = {0, 0};
  int count = 0;
  for (unsigned char byte : parameters) {
    if (byte == ';') {
      if (++count == 2) break;
    } else if (byte >= '0' && byte <= '9') {
      numbers[count] = numbers[count] * 10 + (byte - '0');
      if (numbers[count] > 1000) return no_key;
    } else {
      return no_key;
    }
  }
  if (final_byte == '~') {
    const TableKey* key = tilde_key(numbers[0]);
    return key ? table_code(*key, numbers[1]) : no_key;
  }
  // A letter key's modifier is its last number: CSI 1;5 A, or SS3 5 A.
  const TableKey* key = letter_key(final_byte);
  return key ? table_code(*key, numbers[count > 0 ? 1 : 0]) : no_key;
}

bool is_parameter(unsigned char byte) { return byte >= 0x20 && byte <= 0x3F; }
bool is_final(unsigned char byte) { return byte >= 0x40 && byte <= 0x7E; }

// ESC [ or ESC O, parameter bytes, one final byte; the Linux console also sends
// F1 to F5 as ESC [ [ A to ESC [ [ E. Another byte breaks the sequence off and
// starts the next key, so no byte of a sequence ever becomes a character.
DecodedKey decode_sequence(std::span<const unsigned char> bytes, bool paused) {
  const DecodedKey unfinished = paused ? DecodedKey{bytes.size(), no_key} : DecodedKey{};
  if (bytes[1] == '[' && bytes.size() > 2 && bytes[2] == '[') {
    if (bytes.size() == 3) return unfinished;
    if (!is_final(bytes[3])) return {3, no_key};
    const TableKey* keys[] = {&f1, &f2, &f3, &f4, &f5};
    int index = bytes[3] - 'A';
    return {4, index >= 0 && index < 5 ? table_code(*keys[index], 1) : no_key};
  }
  std::size_t at = 2;
  while (at < bytes.size() && is_parameter(bytes[at])) ++at;
  if (at == bytes.size()) return unfinished;
  if (!is_final(bytes[at])) return {at, no_key};
  return {at + 1, sequence_code(bytes.subspan(2, at - 2), bytes[at])};
}

}  // namespace

DecodedKey decode_key(std::span<const unsigned char> bytes, bool paused) {
  if (bytes[0] != escape) return {1, plain_code(bytes[0])};
  if (bytes.size() == 1) return paused ? DecodedKey{1, escape} : DecodedKey{};
  if (bytes[1] == '[' || bytes[1] == 'O') return decode_sequence(bytes, paused);
  // Escape typed twice: the first is a key of its own.
  if (bytes[1] == escape) return {1, escape};
  return {2, alt_code(bytes[1])};
}

}  // namespace kv
