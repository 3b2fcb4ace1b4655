#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/pixel_view.h"

namespace kv {

// A picture in memory: 2 or 4 bytes per pixel, each row padded to a multiple
// of 16 bytes. Row padding is part of the image and is filled like the pixels.
class Image {
 public:
  // Every pixel, padding included, is the mask colour. No image for a width or
  // height of 0 or less, or a depth other than 16 or 32.
  static std::optional<Image> create(int width, int height, int depth);

  int width() const { return width_; }
  int height() const { return height_; }
  int bytes_per_pixel() const { return bytes_per_pixel_; }
  std::ptrdiff_t stride() const { return stride_; }
  std::uint8_t* row(int y) const { return pixels_.get() + y * stride_; }
  PixelView view() const { return {pixels_.get(), stride_, width_, height_, bytes_per_pixel_}; }

 private:
  struct FreeAligned {
    void operator()(std::uint8_t* p) const;
  };

  Image(int width, int height, int bytes_per_pixel, std::ptrdiff_t stride,
        std::unique_ptr<std::uint8_t[], FreeAligned> pixels)
      : width_(width), height_(height), bytes_per_pixel_(bytes_per_pixel), stride_(stride),
        pixels_(std::move(pixels)) {}

  int width_;
  int height_;
  int bytes_per_pixel_;
  std::ptrdiff_t stride_;
  std::unique_ptr<std::uint8_t[], FreeAligned> pixels_;
};

}  // namespace kv
