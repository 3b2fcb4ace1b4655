#pragma once

#include <SDL.h>

#include "platform/display/page_set.h"
#include "platform/pixel_view.h"

namespace kv {

// One way of bringing page rows to an SDL window, in the order they are tried.
enum class PresentMethod { renderer, window_surface };
inline constexpr PresentMethod present_methods[] = {PresentMethod::renderer,
                                                    PresentMethod::window_surface};

// Brings marked rows of a page to the window through one method, converting
// them itself rather than leaving that to SDL.
class SdlPresenter {
 public:
  SdlPresenter() = default;
  SdlPresenter(const SdlPresenter&) = delete;
  SdlPresenter& operator=(const SdlPresenter&) = delete;
  ~SdlPresenter() { stop(); }

  bool start(PresentMethod method, SDL_Window* window, int first_row);
  void stop();
  // Rebuilds what the system threw away; true when everything must be presented again.
  bool restore_after(const SDL_Event& event);
  void present(const PixelView& page, const RowMarks& marks);

 private:
  bool start_surface();
  void present_to_texture(const PixelView& page, int first, int count);
  void present_to_surface(const PixelView& page, int first, int count);

  PresentMethod method_ = PresentMethod::renderer;
  SDL_Window* window_ = nullptr;
  int first_row_ = 0;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  SDL_Surface* surface_ = nullptr;
};

}  // namespace kv
