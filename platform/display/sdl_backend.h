#pragma once

#include <memory>
#include <span>

#include "platform/display/backend.h"
#include "platform/display/sdl_presenter.h"

namespace kv {

// The window system through SDL2: a window or full screen, presented by an
// SDL renderer with a streaming texture, or else through the window surface.
// Tests may leave methods out to reach the later ones.
std::unique_ptr<Backend> make_sdl_backend(
    std::span<const PresentMethod> methods = present_methods);

}  // namespace kv
