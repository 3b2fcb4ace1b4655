#pragma once

#include <vector>

namespace kv {

// Where the window's outer top-left corner goes on a screen of the given size:
// centred, halving toward minus infinity, never clamped.
int centred_origin(int screen_size, int window_size);

struct ModeRequest {
  int width, height, depth;
};
// The full-screen mode requests in the order they are made: 800 × 600, then
// 800 × 768, then 800 × 1024, each at the page's depth and then the paired one.
std::vector<ModeRequest> full_screen_ladder(int depth);

struct ModeSize {
  int width, height;
};
// For each request of the ladder in turn that an available mode meets, that
// mode's index. Requests are met by size: an X server cannot change its depth,
// so every request is met at the desktop's, and the paired depth asks again.
std::vector<int> modes_to_try(const std::vector<ModeRequest>& ladder,
                              const std::vector<ModeSize>& available);

// The first screen row of the page in a mode of this height.
int first_page_row(int mode_height);

}  // namespace kv
