#include "platform/display/sdl_backend.h"

namespace kv {
namespace {

class SdlBackend final : public Backend {
 public:
  bool open(int, bool, const std::string&) override { return false; }
  void close() override {}
  void pump(DisplayCore&) override {}
  std::array<bool, 128> held_keys() override { return {}; }
  void present(const PixelView&, const RowMarks&) override {}
};

}  // namespace

std::unique_ptr<Backend> make_sdl_backend() { return std::make_unique<SdlBackend>(); }

}  // namespace kv
