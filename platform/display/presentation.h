#pragma once

#include <future>
#include <string>

#include "platform/display/display_core.h"

namespace kv {

// The presentation thread's whole life: opens the backend, reports whether
// that worked, then runs a pass about every 10 ms until core.stopping is set,
// and closes the backend.
void run_presentation(DisplayCore& core, int depth, bool full_screen, std::string caption,
                      std::promise<bool> opened);

}  // namespace kv
