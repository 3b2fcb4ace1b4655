#include "platform/picture/picture_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <stdlib.h>

#include "platform/error.h"
#include "platform/picture/bmp_writer.h"

namespace kv {
namespace {

namespace fs = std::filesystem;

// Each test runs in a fresh working directory, as the program looks pictures up there.
class PictureFile : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/kv-picture-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    previous_ = fs::current_path();
    fs::current_path(dir_);
  }
  void TearDown() override {
    fs::current_path(previous_);
    fs::remove_all(dir_);
  }

  static void write(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }

  static std::vector<std::uint8_t> all_bytes(const Image& image) {
    return {image.row(0), image.row(0) + image.stride() * image.height()};
  }

  static std::uint32_t pixel32(const Image& image, int x, int y) {
    std::uint32_t word;
    std::memcpy(&word, image.row(y) + 4 * x, 4);
    return word;
  }

  fs::path dir_, previous_;
};

TEST(PicturePath, BothSlashesSeparateFoldersAndOnly259CharactersCount) {
  EXPECT_EQ(picture_path("gfx\\cursor.bmp"), "gfx/cursor.bmp");
  EXPECT_EQ(picture_path("a/b\\c"), "a/b/c");
  const std::string long_name = std::string(250, 'x') + "\\abcdefghij";
  EXPECT_EQ(picture_path(long_name), std::string(250, 'x') + "/abcdefgh");
}

TEST_F(PictureFile, LoadsTheNamedBmpFile) {
  write("gfx/cursor.bmp", write_bmp({.width = 2, .height = 1, .bits = 24, .pixels = {0x102030, 0x405060}}));
  Image image = *Image::create(2, 1, 32);
  ASSERT_TRUE(load_picture(image, "gfx\\cursor.bmp"));
  EXPECT_EQ(pixel32(image, 0, 0), 0xFF102030u);
  EXPECT_EQ(pixel32(image, 1, 0), 0xFF405060u);
}

TEST_F(PictureFile, PaletteCarriesOverFromOneLoadToTheNext) {
  write("full.bmp", write_bmp({.width = 2, .height = 1, .bits = 8, .table = {0x111111, 0x222222}}));
  write("short.bmp", write_bmp({.width = 2, .height = 1, .bits = 8, .table = {0x333333}, .pixels = {0, 1}}));
  Image image = *Image::create(2, 1, 32);
  ASSERT_TRUE(load_picture(image, "full.bmp"));
  ASSERT_TRUE(load_picture(image, "short.bmp"));
  EXPECT_EQ(pixel32(image, 0, 0), 0xFF333333u);
  EXPECT_EQ(pixel32(image, 1, 0), 0xFF222222u);
}

struct FailedLoad {
  const char* name;
  std::vector<std::uint8_t> bytes;
  int error;
  bool exists = true;
};

TEST_F(PictureFile, FailedLoadsLeaveTheImageAndSayWhy) {
  const auto bmp = write_bmp({.width = 2, .height = 2, .bits = 24, .pixels = {1, 2, 3, 4}});
  auto raw_dump = bmp;
  raw_dump[0] = 0xFD;
  auto other_dump = bmp;
  other_dump[0] = 0xFE;
  auto unknown = bmp;
  unknown[0] = 'P';
  auto refused = bmp;
  refused[28] = 16;
  const FailedLoad cases[] = {
      {"missing", {}, ENOENT, false},
      {"empty", {}, EINVAL},
      {"raw dump FD", raw_dump, ENOTSUP},
      {"raw dump FE", other_dump, ENOTSUP},
      {"unknown format", unknown, EINVAL},
      {"refused BMP", refused, ENOTSUP},
  };
  for (const FailedLoad& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.exists) write(c.name, c.bytes);
    Image image = *Image::create(2, 2, 16);
    const auto before = all_bytes(image);
    set_error(0);
    EXPECT_FALSE(load_picture(image, c.name));
    EXPECT_EQ(last_error(), c.error);
    EXPECT_EQ(all_bytes(image), before);
  }
}

TEST_F(PictureFile, AFolderIsNoPicture) {
  fs::create_directory("gfx");
  Image image = *Image::create(2, 2, 16);
  EXPECT_FALSE(load_picture(image, "gfx"));
  EXPECT_EQ(last_error(), EISDIR);
}

}  // namespace
}  // namespace kv
