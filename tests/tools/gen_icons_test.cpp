// The icon generator, run as the build runs it: every file is a well-formed
// icon of a 16x16 and a 32x32 image whose AND mask agrees with its alpha,
// and the back arrow is the forward arrow mirrored.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kTool = std::string(DOVE_NATIVE_TESTS_DIR) + "/../tools/gen_icons";

int RunTool(const std::string& args) {
  int status = std::system((kTool + " " + args + " 2>/dev/null").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

uint32_t U16(const std::string& b, size_t at) {
  return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8;
}
uint32_t U32(const std::string& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

// One decoded image: top-down 0xAARRGGBB pixels.
struct Image {
  int size = 0;
  std::vector<uint32_t> px;
};

// Checks the file's structure and returns its images.
std::vector<Image> Decode(const std::string& ico) {
  std::vector<Image> images;
  EXPECT_GE(ico.size(), 6u);
  if (ico.size() < 6) return images;
  EXPECT_EQ(U16(ico, 0), 0u);
  EXPECT_EQ(U16(ico, 2), 1u) << "type icon";
  const uint32_t count = U16(ico, 4);
  EXPECT_EQ(count, 2u);
  for (uint32_t i = 0; i < count && 6 + 16 * (i + 1) <= ico.size(); ++i) {
    const size_t e = 6 + 16 * i;
    const int size = static_cast<uint8_t>(ico[e]);
    const uint32_t bytes = U32(ico, e + 8), offset = U32(ico, e + 12);
    const int maskRow = (size + 31) / 32 * 4;
    SCOPED_TRACE(testing::Message() << "image " << size);
    EXPECT_EQ(U16(ico, e + 6), 32u) << "bits per pixel";
    EXPECT_EQ(bytes, 40u + size * size * 4 + maskRow * size);
    EXPECT_LE(offset + bytes, ico.size());
    if (offset + bytes > ico.size()) break;
    EXPECT_EQ(U32(ico, offset + 4), static_cast<uint32_t>(size));
    EXPECT_EQ(U32(ico, offset + 8), static_cast<uint32_t>(2 * size)) << "image and mask";
    Image img{size, std::vector<uint32_t>(size * size)};
    const size_t colour = offset + 40, mask = colour + size * size * 4;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const int row = size - 1 - y;  // stored bottom-up
        const uint32_t p = U32(ico, colour + (row * size + x) * 4);
        const bool clear = static_cast<uint8_t>(ico[mask + row * maskRow + x / 8]) & (0x80 >> (x % 8));
        EXPECT_EQ(clear, (p >> 24) < 128) << "mask at " << x << "," << y;
        img.px[y * size + x] = p;
      }
    }
    images.push_back(img);
  }
  return images;
}

}  // namespace

TEST(GenIconsTest, WritesThreeWellFormedIcons) {
  const std::string dir = testing::TempDir() + "gen_icons_" + std::to_string(getpid());
  ASSERT_EQ(std::system(("mkdir -p " + dir).c_str()), 0);
  ASSERT_EQ(RunTool(dir), 0);
  std::vector<Image> next, back;
  for (const char* name : {"ZERU.ico", "next.ico", "back.ico"}) {
    SCOPED_TRACE(name);
    std::vector<Image> images = Decode(Slurp(dir + "/" + name));
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].size, 16);
    EXPECT_EQ(images[1].size, 32);
    for (const Image& img : images) {
      EXPECT_EQ(img.px.front() >> 24, 0u) << "a clear corner";
      EXPECT_EQ(img.px[img.size * (img.size / 2) + img.size / 2] >> 24, 255u) << "an opaque centre";
    }
    if (std::string(name) == "next.ico") next = images;
    if (std::string(name) == "back.ico") back = images;
  }
  ASSERT_EQ(next.size(), back.size());
  for (size_t i = 0; i < next.size(); ++i) {
    const int n = next[i].size;
    int different = 0;
    for (int y = 0; y < n; ++y)
      for (int x = 0; x < n; ++x)
        if (next[i].px[y * n + x] != back[i].px[y * n + (n - 1 - x)]) ++different;
    EXPECT_EQ(different, 0) << "the back arrow mirrors the forward arrow at " << n;
    EXPECT_NE(next[i].px, back[i].px);
  }
  EXPECT_EQ(std::system(("rm -rf " + dir).c_str()), 0);
}

TEST(GenIconsTest, FailsWithoutAWritableFolder) {
  EXPECT_EQ(RunTool(""), 2);
  EXPECT_EQ(RunTool("/nonexistent/folder"), 1);
}
