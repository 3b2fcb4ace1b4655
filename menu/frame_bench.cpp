// One whole frame of the menu screen (page selection and composition) and one
// idle pass of the frame loop, on the display layer with its presentation
// thread running beside them.
#include <benchmark/benchmark.h>

#include <cstring>

#include "menu/frame_composition.h"
#include "platform/clock.h"
#include "platform/display/display.h"
#include "platform/display/display_testing.h"

namespace kv {
namespace {

// A picture with every channel value and about 5 % mask pixels, like the real one.
void fill_picture(Image& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const bool mask = (x * 7 + y * 13) % 20 == 0;
      const std::uint32_t value =
          image.bytes_per_pixel() == 2 ? (mask ? mask_colour_16 : (x * 31 + y * 17) & 0xFFFF)
                                       : (mask ? mask_colour_32 : 0xFF000000u | (x * 2654435761u + y));
      std::memcpy(image.row(y) + x * image.bytes_per_pixel(), &value, image.bytes_per_pixel());
    }
}

void WholeFrame(benchmark::State& state) {
  testing::open_memory_display(static_cast<int>(state.range(0)));
  auto menu = create_image(800, 600);
  auto cursor = create_image(48, 48);
  fill_picture(*menu);
  fill_picture(*cursor);
  int page = 0;
  for (auto _ : state) {
    select_pages(page, 1 - page);
    compose_frame(&*menu, &*cursor, 376, 276);
    page = 1 - page;
  }
  close_display();
}
BENCHMARK(WholeFrame)->Name("Menu/whole_frame")->ArgName("depth")->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

// What the loop does between frames: the pointer, Escape and the clock.
void IdlePass(benchmark::State& state) {
  testing::open_memory_display(32);
  double sum = 0;
  for (auto _ : state) {
    PointerState pointer;
    query_pointer(pointer);
    sum += key_state(1) + pointer.x + clock_seconds();
  }
  benchmark::DoNotOptimize(sum);
  state.counters["passes_per_s"] = benchmark::Counter(state.iterations(), benchmark::Counter::kIsRate);
  close_display();
}
BENCHMARK(IdlePass)->Name("Menu/idle_loop_pass")->Unit(benchmark::kNanosecond)->UseRealTime();

}  // namespace
}  // namespace kv
