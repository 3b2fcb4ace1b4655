#include "platform/display/scan_codes.h"

#include <gtest/gtest.h>

#include <vector>

namespace kv {
namespace {

TEST(ScanCodes, SdlKeysMapToSetOne) {
  const std::pair<SDL_Scancode, int> cases[] = {
      {SDL_SCANCODE_ESCAPE, 0x01},     {SDL_SCANCODE_1, 0x02},      {SDL_SCANCODE_0, 0x0B},
      {SDL_SCANCODE_BACKSPACE, 0x0E},  {SDL_SCANCODE_Q, 0x10},      {SDL_SCANCODE_RETURN, 0x1C},
      {SDL_SCANCODE_A, 0x1E},          {SDL_SCANCODE_GRAVE, 0x29},  {SDL_SCANCODE_Z, 0x2C},
      {SDL_SCANCODE_M, 0x32},          {SDL_SCANCODE_SLASH, 0x35},  {SDL_SCANCODE_SPACE, 0x39},
      {SDL_SCANCODE_F1, 0x3B},         {SDL_SCANCODE_F10, 0x44},    {SDL_SCANCODE_F11, 0x57},
      {SDL_SCANCODE_F12, 0x58},        {SDL_SCANCODE_KP_7, 0x47},   {SDL_SCANCODE_KP_PERIOD, 0x53},
      {SDL_SCANCODE_NONUSBACKSLASH, 0x56},
      // extended keys on their base key's entry
      {SDL_SCANCODE_RCTRL, 0x1D},      {SDL_SCANCODE_LCTRL, 0x1D},  {SDL_SCANCODE_KP_ENTER, 0x1C},
      {SDL_SCANCODE_RALT, 0x38},       {SDL_SCANCODE_KP_DIVIDE, 0x35},
      {SDL_SCANCODE_UP, 0x48},         {SDL_SCANCODE_LEFT, 0x4B},   {SDL_SCANCODE_RIGHT, 0x4D},
      {SDL_SCANCODE_DOWN, 0x50},       {SDL_SCANCODE_HOME, 0x47},   {SDL_SCANCODE_DELETE, 0x53},
      // no set-1 code
      {SDL_SCANCODE_UNKNOWN, -1},      {SDL_SCANCODE_AUDIOPLAY, -1},
      {SDL_SCANCODE_PAUSE, -1},        {static_cast<SDL_Scancode>(SDL_NUM_SCANCODES), -1},
  };
  for (const auto& [key, code] : cases) EXPECT_EQ(scan_code_from_sdl(key), code) << key;
}

TEST(ScanCodes, EveryCodeFitsTheTableAndLettersAreDistinct) {
  std::vector<int> seen(128, 0);
  for (int key = 0; key < SDL_NUM_SCANCODES; ++key) {
    const int code = scan_code_from_sdl(static_cast<SDL_Scancode>(key));
    ASSERT_LT(code, 128);
    if (code >= 0) ++seen[code];
  }
  for (int key = SDL_SCANCODE_A; key <= SDL_SCANCODE_Z; ++key)
    EXPECT_EQ(seen[scan_code_from_sdl(static_cast<SDL_Scancode>(key))], 1) << key;
}

TEST(ScanCodes, KeyboardStateBecomesTheKeyTable) {
  std::vector<std::uint8_t> state(SDL_NUM_SCANCODES, 0);
  state[SDL_SCANCODE_RCTRL] = 1;
  state[SDL_SCANCODE_UP] = 1;
  state[SDL_SCANCODE_AUDIOPLAY] = 1;
  const auto held = held_scan_codes(state.data(), static_cast<int>(state.size()));
  std::vector<int> codes;
  for (int code = 0; code < 128; ++code)
    if (held[code]) codes.push_back(code);
  EXPECT_EQ(codes, (std::vector<int>{0x1D, 0x48}));
  // a short state array is read only as far as it goes
  EXPECT_FALSE(held_scan_codes(state.data(), SDL_SCANCODE_RCTRL)[0x1D]);
}

}  // namespace
}  // namespace kv
