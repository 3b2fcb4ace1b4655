#include "platform/picture/picture_file.h"

#include <cerrno>
#include <cstdint>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "platform/error.h"
#include "platform/picture/bmp_decoder.h"
#include "platform/picture/conversion_palette.h"

namespace kv {
namespace {

constexpr std::size_t name_length_limit = 259;
constexpr std::uint8_t bmp_format = 0x42;

// The whole file as raw bytes, or the error number of the failure.
int read_file(const std::string& path, std::vector<std::uint8_t>& bytes) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno;
  int error = 0;
  std::size_t size = 0;
  for (;;) {
    if (bytes.size() - size < 65536) bytes.resize(size + 1024 * 1024);
    const ssize_t n = read(fd, bytes.data() + size, bytes.size() - size);
    if (n > 0) {
      size += static_cast<std::size_t>(n);
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      error = errno;
      break;
    }
  }
  close(fd);
  bytes.resize(size);
  return error;
}

bool fail(int error) {
  set_error(error);
  return false;
}

}  // namespace

std::string picture_path(std::string_view name) {
  std::string path(name.substr(0, name_length_limit));
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

bool load_picture(Image& image, std::string_view name) {
  std::vector<std::uint8_t> bytes;
  if (const int error = read_file(picture_path(name), bytes)) return fail(error);
  // 0xFD and 0xFE start raw image dumps, which the game's pictures never are.
  if (bytes.empty()) return fail(EINVAL);
  if (bytes[0] != bmp_format) return fail(bytes[0] == 0xFD || bytes[0] == 0xFE ? ENOTSUP : EINVAL);
  if (const int error = decode_bmp(bytes, image.view(), conversion_palette())) return fail(error);
  return true;
}

}  // namespace kv
