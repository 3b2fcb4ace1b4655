#include "launcher/chooser.h"

int main() {
  kv::choose_display_mode();
  return 0;
}
