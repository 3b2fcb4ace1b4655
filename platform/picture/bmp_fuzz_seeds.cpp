// Writes the fuzz target's seed corpus into the folder given: small pictures of
// every bit depth and table size, and a few of the malformed kinds.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/picture/bmp_writer.h"

namespace {

std::vector<std::uint32_t> pattern(int count, std::uint32_t modulus) {
  std::vector<std::uint32_t> values;
  for (int i = 0; i < count; ++i) values.push_back((static_cast<std::uint32_t>(i) * 2654435761u >> 7) % modulus);
  return values;
}

std::vector<std::uint32_t> table(int entries) {
  std::vector<std::uint32_t> colours;
  for (int i = 0; i < entries; ++i) colours.push_back(static_cast<std::uint32_t>(i) * 0x010307u & 0xFFFFFF);
  return colours;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s corpus-folder\n", argv[0]);
    return 2;
  }
  std::vector<std::vector<std::uint8_t>> seeds;
  const auto add = [&](const kv::BmpPicture& picture) { seeds.push_back(kv::write_bmp(picture)); };

  for (const int bits : {1, 4, 8}) {
    const int entries = 1 << bits;
    add({.width = 9, .height = 5, .bits = bits, .table = table(entries), .pixels = pattern(45, entries)});
    add({.width = 3, .height = 2, .bits = bits, .table = table(2), .pixels = pattern(6, entries)});
  }
  add({.width = 50, .height = 50, .bits = 24, .pixels = pattern(2500, 0x1000000)});
  add({.width = 5, .height = 3, .bits = 32, .pixels = pattern(15, 0xFFFFFFFF)});
  add({.width = 2, .height = 2, .bits = 24, .table = table(3), .pixels = {0xFF00FF, 0xFA02FA, 1, 2}});
  add({.width = 4, .height = -4, .bits = 8, .table = table(4), .pixels = pattern(16, 4)});
  add({.width = 4, .height = 4, .bits = 16, .pixels = pattern(16, 0x10000)});
  add({.width = 4, .height = 4, .bits = 8, .table = table(16), .pixels = pattern(16, 256), .compression = 1});
  kv::BmpPicture odd_offset{.width = 3, .height = 3, .bits = 24, .table = table(1), .pixels = pattern(9, 0x1000000)};
  odd_offset.data_offset = 61;
  add(odd_offset);
  auto truncated = kv::write_bmp({.width = 7, .height = 7, .bits = 24, .pixels = pattern(49, 0x1000000)});
  truncated.resize(truncated.size() / 2);
  seeds.push_back(truncated);

  for (std::size_t i = 0; i < seeds.size(); ++i) {
    const std::string path = std::string(argv[1]) + "/seed" + std::to_string(i) + ".bmp";
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(seeds[i].data()), static_cast<std::streamsize>(seeds[i].size()));
    if (!out) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
