#pragma once

namespace kv {

// Seconds from the system's monotonic high-resolution clock. Where that clock
// is missing at the first reading, every reading is the millisecond tick times
// 0.001 instead; the choice made at the first reading is kept.
double clock_seconds();

}  // namespace kv
