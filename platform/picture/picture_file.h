#pragma once

#include <string>
#include <string_view>

#include "platform/picture/image.h"

namespace kv {

// Loads a picture file, named relative to the working directory, into the
// top-left corner of `image` through the process-wide conversion palette.
// Only BMP files load; on failure the result is false, kv::last_error() says
// why, and the image keeps its pixels except for the rows of a picture whose
// data ends early.
bool load_picture(Image& image, std::string_view name);

// The file a picture name opens: backslashes and forward slashes both separate
// folders, and only the first 259 characters count.
std::string picture_path(std::string_view name);

}  // namespace kv
