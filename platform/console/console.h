#pragma once

#include <string_view>

// The text console on standard input and output. The first call of any of
// these switches the terminal to key input (see terminal_mode.h), starts the
// signal handling (see signal_watch.h) and installs the exit step that undoes
// both. Failures are left in kv::last_error(); nothing else is printed.
namespace kv {

// Blanks the visible rows in the current colours and puts the cursor at the
// top-left; scroll-back is left alone. Does nothing when output is no terminal.
void clear_console();

// The text's bytes, then CR LF, whether output is a terminal or not.
void write_console_line(std::string_view text);

// Waits for the next key and returns its code (see key_decoder.h), looking at
// the input every 50 ms. With input that is no terminal no key ever comes.
int read_console_key();

// Takes pending input without waiting; true when Escape was typed, consuming
// the keys up to and including it.
bool console_escape_typed();

}  // namespace kv
