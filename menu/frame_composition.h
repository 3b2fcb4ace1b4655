#pragma once

#include "platform/picture/image.h"

namespace kv {

// Draws one frame of the menu screen on the display's work page: the menu
// image blended at weight 127, the cursor image keyed with its top-left pixel
// at (cursor_x, cursor_y) — the pointer position less 24, as the frame loop
// keeps it — and the title in black at (10, 10) and in green at (11, 11).
// An absent image (no display was opened) is skipped; results are ignored.
void compose_frame(const Image* menu, const Image* cursor, int cursor_x, int cursor_y);

}  // namespace kv
