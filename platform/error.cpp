#include "platform/error.h"

#include <atomic>

namespace kv {
namespace {
std::atomic<int> error_number{0};
}

void set_error(int code) { error_number.store(code, std::memory_order_relaxed); }
int last_error() { return error_number.load(std::memory_order_relaxed); }

}  // namespace kv
