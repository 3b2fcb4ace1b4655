#pragma once

namespace kv {

// Blocks SIGINT, SIGQUIT, SIGTERM and SIGHUP in the calling thread, which must
// be the only one yet so that every later thread inherits the mask, and starts
// the thread that waits for them. SIGINT and SIGQUIT restore the terminal, run
// the fatal-signal steps and kill the process by the same signal. SIGTERM and
// SIGHUP restore the terminal, call `end_requested` and exit with status
// 128 + the signal, running the exit steps. Crash signals restore the terminal
// and then take their default action.
void start_signal_watch(void (*end_requested)());

// From here on signals are left alone; crash signals get back their old handling.
void stop_signal_watch();

}  // namespace kv
