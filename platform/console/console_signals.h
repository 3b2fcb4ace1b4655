#pragma once

namespace kv {

// Registers a step that Ctrl+C (SIGINT) and Ctrl+\ (SIGQUIT) run after the
// terminal is restored and before the process dies by that signal. Steps run
// newest first on the console's signal thread while the program's thread may
// still be drawing, so each must be safe against that. SIGTERM and SIGHUP end
// the process through std::exit, so there the exit steps do this job.
void add_fatal_signal_step(void (*step)());

}  // namespace kv
