#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/picture/image.h"

// The display layer: pages, page selection, drawing on the work page, the
// pointer and the key-state table. A presentation thread owns the window and
// brings changed rows of the visible page to the screen about every 10 ms.
// Every call here is safe from the program's thread while that runs.
namespace kv {

// Opens a window (full_screen 0) or full screen (1) with `pages` pages of
// width × height at depth 16 or 32; refresh_rate 0 is the default. Falls back to
// the other form. Returns 0 on success, 1 when nothing could be opened.
int open_display(int width, int height, int depth, int pages, int full_screen, int refresh_rate);
bool display_is_open();
// The exit step installed by the first successful opening: stops presentation,
// destroys the window and restores the desktop. Harmless when nothing is open.
void close_display();

// Replaces the window's caption (cut to 127 characters); before any display
// exists the title is remembered for the next window.
bool set_title(std::string_view title);

// An image at the open display's depth, every pixel the mask colour.
std::optional<Image> create_image(int width, int height);

// Page selection: work page for drawing, visible page for presentation.
// Returns the previous selection as visible × 256 + work, or -1 without a display.
int select_pages(int work, int visible);

// Drawing on the work page. Each reports success; none does anything without a display.
bool blend_copy(const Image& image, float x, float y, int weight);
bool keyed_copy(const Image& image, float x, float y);
bool draw_text(float x, float y, std::string_view text, std::uint32_t colour);

struct PointerState {
  int x = -1, y = -1, wheel = -1, buttons = -1, confinement = -1;
};
// Succeeds only while the window is active and the pointer is over its client
// area; otherwise every field is -1. Without a display confinement reads 0.
bool query_pointer(PointerState& pointer);

// x < 0 leaves the position (y is then ignored); visibility 0 hides the pointer
// over the client area, > 0 shows it, < 0 leaves it; confinement 0 frees,
// > 0 confines to the client area, < 0 leaves it.
bool set_pointer(int x, int y, int visibility, int confinement);

// -1 while the key with this PC set-1 scan code is held in the active window,
// else 0. Without a display, Escape (1) reads -1 once typed in the terminal.
int key_state(int scan_code);

}  // namespace kv
