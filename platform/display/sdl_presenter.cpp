#include "platform/display/sdl_presenter.h"

#include <algorithm>
#include <cstdint>

#include "platform/display/row_conversion.h"

namespace kv {
namespace {

bool is_32_bit_xrgb(const SDL_PixelFormat* format) {
  return format->BytesPerPixel == 4 && format->Rmask == 0xFF0000 && format->Gmask == 0xFF00 &&
         format->Bmask == 0xFF;
}

bool is_565(const SDL_PixelFormat* format) {
  return format->BytesPerPixel == 2 && format->Rmask == 0xF800 && format->Gmask == 0x07E0 &&
         format->Bmask == 0x001F;
}

// Writes page rows [first, first + count) to 32-bit screen rows `pitch` bytes apart.
void convert_to_32(const PixelView& page, int first, int count, std::uint8_t* screen, int pitch) {
  for (int row = first; row < first + count; ++row, screen += pitch) {
    auto* out = reinterpret_cast<std::uint32_t*>(screen);
    if (page.bytes_per_pixel == 2)
      widen_565_row(reinterpret_cast<const std::uint16_t*>(page.row(row)), out, page.width);
    else
      copy_8888_row(reinterpret_cast<const std::uint32_t*>(page.row(row)), out, page.width);
  }
}

void convert_to_16(const PixelView& page, int first, int count, std::uint8_t* screen, int pitch) {
  for (int row = first; row < first + count; ++row, screen += pitch) {
    auto* out = reinterpret_cast<std::uint16_t*>(screen);
    if (page.bytes_per_pixel == 2)
      copy_565_row(reinterpret_cast<const std::uint16_t*>(page.row(row)), out, page.width);
    else
      narrow_8888_row(reinterpret_cast<const std::uint32_t*>(page.row(row)), out, page.width);
  }
}

}  // namespace

bool SdlPresenter::start(PresentMethod method, SDL_Window* window, int first_row) {
  stop();
  method_ = method;
  window_ = window;
  first_row_ = first_row;
  if (method == PresentMethod::window_surface) return start_surface();

  renderer_ = SDL_CreateRenderer(window, -1, 0);
  if (renderer_)
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                 page_width, page_height);
  if (!texture_) {
    stop();
    return false;
  }
  SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
  return true;
}

bool SdlPresenter::start_surface() {
  surface_ = SDL_GetWindowSurface(window_);
  if (!surface_ || !(is_32_bit_xrgb(surface_->format) || is_565(surface_->format))) {
    surface_ = nullptr;
    return false;
  }
  SDL_FillRect(surface_, nullptr, 0);
  return true;
}

void SdlPresenter::stop() {
  if (texture_) SDL_DestroyTexture(texture_);
  if (renderer_) SDL_DestroyRenderer(renderer_);
  texture_ = nullptr;
  renderer_ = nullptr;
  surface_ = nullptr;
}

bool SdlPresenter::restore_after(const SDL_Event& event) {
  switch (event.type) {
    case SDL_RENDER_TARGETS_RESET:
      return true;
    case SDL_RENDER_DEVICE_RESET:
      if (method_ == PresentMethod::renderer) start(method_, window_, first_row_);
      return true;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED &&
          method_ == PresentMethod::window_surface) {
        start_surface();
        return true;
      }
      return event.window.event == SDL_WINDOWEVENT_EXPOSED ||
             event.window.event == SDL_WINDOWEVENT_SHOWN;
    default:
      return false;
  }
}

void SdlPresenter::present(const PixelView& page, const RowMarks& marks) {
  if (!texture_ && !surface_) return;
  if (surface_ && SDL_MUSTLOCK(surface_) && SDL_LockSurface(surface_) != 0) return;
  SDL_Rect runs[page_height / 2 + 1];
  int run_count = 0;
  for (int row = 0; row < page_height;) {
    if (!marks.marked(row)) {
      ++row;
      continue;
    }
    const int first = row;
    while (row < page_height && marks.marked(row)) ++row;
    runs[run_count++] = {0, first, page_width, row - first};
    if (texture_)
      present_to_texture(page, first, row - first);
    else
      present_to_surface(page, first, row - first);
  }

  if (texture_) {
    const SDL_Rect where{0, first_row_, page_width, page_height};
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &where);
    SDL_RenderPresent(renderer_);
    return;
  }
  if (SDL_MUSTLOCK(surface_)) SDL_UnlockSurface(surface_);
  for (int i = 0; i < run_count; ++i) runs[i].y += first_row_;
  SDL_UpdateWindowSurfaceRects(window_, runs, run_count);
}

void SdlPresenter::present_to_texture(const PixelView& page, int first, int count) {
  const SDL_Rect rows{0, first, page_width, count};
  void* pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(texture_, &rows, &pixels, &pitch) != 0) return;
  convert_to_32(page, first, count, static_cast<std::uint8_t*>(pixels), pitch);
  SDL_UnlockTexture(texture_);
}

void SdlPresenter::present_to_surface(const PixelView& page, int first, int count) {
  const int top = first + first_row_;
  count = std::min(count, surface_->h - top);
  if (count <= 0 || surface_->w < page_width) return;
  auto* screen = static_cast<std::uint8_t*>(surface_->pixels) + top * surface_->pitch;
  if (surface_->format->BytesPerPixel == 4)
    convert_to_32(page, first, count, screen, surface_->pitch);
  else
    convert_to_16(page, first, count, screen, surface_->pitch);
}

}  // namespace kv
