#pragma once

namespace kv {

// Keeps the settings standard input's terminal had, then switches it to key
// input: non-canonical, no echo, Ctrl+C and Ctrl+\ still signals. Applied at
// once without a flush, so keys typed ahead survive. False when standard
// input is not a terminal.
bool enter_key_mode();

// Puts back the kept settings, if any. Async-signal-safe: every way the
// program ends shares it. A terminal that is gone is no failure here.
void restore_terminal();

}  // namespace kv
