#pragma once

// Platform operations report failure by their result and leave an errno-style
// code here. The program itself never reads it; tests do.
namespace kv {

void set_error(int code);
int last_error();

}  // namespace kv
