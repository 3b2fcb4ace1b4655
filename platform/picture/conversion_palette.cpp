#include "platform/picture/conversion_palette.h"

namespace kv {

Palette& conversion_palette() {
  static Palette palette{};
  return palette;
}

}  // namespace kv
