#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "platform/display/display.h"
#include "platform/display/display_testing.h"
#include "platform/display/page_set.h"
#include "platform/display/row_conversion.h"

namespace kv {
namespace {

// One pass after a page switch: every row of the page converted for the screen.
void BM_PresentWholePage(benchmark::State& state) {
  const int depth = static_cast<int>(state.range(0));
  PageSet pages(depth);
  std::vector<std::uint32_t> screen(std::size_t{page_width} * page_height);
  const PixelView page = pages.visible_page();
  for (auto _ : state) {
    for (int row = 0; row < page_height; ++row) {
      std::uint32_t* out = screen.data() + std::size_t{page_width} * row;
      if (depth == 16)
        widen_565_row(reinterpret_cast<const std::uint16_t*>(page.row(row)), out, page_width);
      else
        copy_8888_row(reinterpret_cast<const std::uint32_t*>(page.row(row)), out, page_width);
    }
    benchmark::DoNotOptimize(screen.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t{page_width} * page_height * 4);
}
BENCHMARK(BM_PresentWholePage)->Arg(16)->Arg(32);

// The floor: copying the bytes one pass writes to the screen.
void BM_MemcpyOfAPresentedPage(benchmark::State& state) {
  std::vector<std::uint8_t> from(std::size_t{page_width} * page_height * 4, 1);
  std::vector<std::uint8_t> to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size());
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(from.size()));
}
BENCHMARK(BM_MemcpyOfAPresentedPage);

// The presentation cadence while the program's thread polls the pointer and
// Escape as fast as it can and switches pages every 30 ms, as the frame loop does.
void BM_PassIntervalUnderPolling(benchmark::State& state) {
  const bool window = state.range(0) == 1;
  const int opened = window ? open_display(800, 600, 32, 2, 0, 0) : testing::open_memory_display(32);
  if (opened != 0) {
    state.SkipWithError("no display");
    return;
  }
  std::vector<double> intervals;
  for (auto _ : state) {
    std::atomic<bool> stop{false};
    std::atomic<long> polls{0};
    std::thread program([&] {
      auto next_frame = std::chrono::steady_clock::now();
      int page = 0;
      while (!stop.load(std::memory_order_relaxed)) {
        PointerState pointer;
        query_pointer(pointer);
        key_state(1);
        polls.fetch_add(1, std::memory_order_relaxed);
        if (std::chrono::steady_clock::now() >= next_frame) {
          next_frame += std::chrono::milliseconds(30);
          select_pages(page, 1 - page);
          page = 1 - page;
        }
      }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const auto before = testing::pass_starts().size();
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const auto starts = testing::pass_starts();
    stop = true;
    program.join();
    for (std::size_t i = before + 1; i < starts.size(); ++i)
      intervals.push_back((starts[i] - starts[i - 1]) * 1000.0);
    state.counters["polls_per_s"] = static_cast<double>(polls.load()) / 2.05;
  }
  close_display();
  if (intervals.empty()) {
    state.SkipWithError("no passes");
    return;
  }
  std::sort(intervals.begin(), intervals.end());
  state.counters["median_ms"] = intervals[intervals.size() / 2];
  state.counters["worst_ms"] = intervals.back();
  state.counters["passes"] = static_cast<double>(intervals.size());
}
BENCHMARK(BM_PassIntervalUnderPolling)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace kv
