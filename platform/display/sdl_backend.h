#pragma once

#include <memory>

#include "platform/display/backend.h"

namespace kv {

// The window system through SDL2: a window or full screen, presented by an
// SDL renderer with a streaming texture, or else through the window surface.
std::unique_ptr<Backend> make_sdl_backend();

}  // namespace kv
