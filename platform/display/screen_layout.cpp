#include "platform/display/screen_layout.h"

#include <algorithm>

#include "platform/display/page_set.h"

namespace kv {

int centred_origin(int screen_size, int window_size) {
  const int twice = screen_size - window_size;
  return twice >= 0 ? twice / 2 : -((-twice + 1) / 2);
}

std::vector<ModeRequest> full_screen_ladder(int depth) {
  const int paired = depth == 16 ? 15 : 24;
  std::vector<ModeRequest> ladder;
  for (int height : {600, 768, 1024}) {
    ladder.push_back({page_width, height, depth});
    ladder.push_back({page_width, height, paired});
  }
  return ladder;
}

std::vector<int> modes_to_try(const std::vector<ModeRequest>& ladder,
                              const std::vector<ModeSize>& available) {
  std::vector<int> tries;
  for (const ModeRequest& request : ladder) {
    const auto met = std::find_if(available.begin(), available.end(), [&](const ModeSize& mode) {
      return mode.width == request.width && mode.height == request.height;
    });
    if (met != available.end()) tries.push_back(static_cast<int>(met - available.begin()));
  }
  return tries;
}

int first_page_row(int mode_height) { return (mode_height - page_height) / 2; }

}  // namespace kv
