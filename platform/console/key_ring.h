#pragma once

#include <array>
#include <cstddef>
#include <optional>

namespace kv {

// Decoded keys in the order typed: 512 slots, at most 511 keys; a key pushed
// into a full ring drops the oldest. Not locked: its owner serialises use.
class KeyRing {
 public:
  void push(int code);
  std::optional<int> pop();
  // When `code` is held, drops every key up to and including its oldest copy.
  bool take_through(int code);

 private:
  static constexpr std::size_t slots = 512;
  std::array<int, slots> codes_{};
  std::size_t head_ = 0;  // oldest key
  std::size_t tail_ = 0;  // next free slot
};

}  // namespace kv
