// The fuzzer's own rules, which decide whether a fault is the driver's: the
// image sizes it hands out (exact under the pack modes, checked against the
// driver's packer writing into memory that ends at a fence), the parameter
// kinds it reads from the slot table, and the minimiser.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "tests/fuzz/fuzz_extent.h"
#include "tests/fuzz/fuzz_gl.h"
#include "tests/fuzz/fuzz_minimise.h"
#include "tests/fuzz/fuzz_params.h"
#include "tests/support/fenced_bytes.h"
#include "tests/support/loader_windows.h"

namespace {

struct SizeCase {
  int64_t width, height;
  GLenum format, type;
  FuzzPixelStore store;
  int64_t bytes;
};

// Worked by hand from the pixel-storage rules.
const SizeCase kSizeCases[] = {
    {4, 3, GL_RGBA, GL_UNSIGNED_BYTE, {0, 0, 0, 4}, 48},
    {3, 2, GL_RGB, GL_UNSIGNED_BYTE, {0, 0, 0, 4}, 12 + 9},  // rows padded to 12
    {3, 2, GL_RGB, GL_UNSIGNED_BYTE, {0, 0, 0, 1}, 18},
    {3, 2, GL_RGB, GL_UNSIGNED_BYTE, {0, 0, 0, 8}, 16 + 9},
    {5, 2, GL_LUMINANCE, GL_FLOAT, {0, 0, 0, 4}, 40},  // elements as wide as the alignment
    {5, 2, GL_LUMINANCE, GL_FLOAT, {0, 0, 0, 8}, 24 + 20},
    {2, 2, GL_RGBA, GL_UNSIGNED_BYTE, {7, 1, 3, 4}, 2 * 28 + 5 * 4},
    {10, 3, GL_COLOR_INDEX, GL_BITMAP, {0, 0, 0, 1}, 2 * 2 + 2},
    {10, 3, GL_COLOR_INDEX, GL_BITMAP, {0, 0, 6, 4}, 2 * 4 + 2},
    {3, 1, GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4_EXT, {0, 0, 0, 4}, 6},
    {0, 5, GL_RGBA, GL_UNSIGNED_BYTE, {0, 0, 0, 4}, 0},
    {5, -1, GL_RGBA, GL_UNSIGNED_BYTE, {0, 0, 0, 4}, 0},
};

TEST(FuzzImageBytes, FollowsThePixelStorageRules) {
  for (const SizeCase &c : kSizeCases) {
    EXPECT_EQ(FuzzImageBytes(c.width, c.height, c.format, c.type, c.store), c.bytes)
        << c.width << "x" << c.height << " format 0x" << std::hex << c.format << " type 0x"
        << c.type;
  }
}

// Every slot's parameters read from the table take as many argument words
// as the table says (a double two).
TEST(FuzzParams, MatchTheSlotTablesArgumentWords) {
  static const int kWords[] = {
#define FUZZ_WORDS(s, Name, words, kind, Ret, params) words,
      GL_SLOTS(FUZZ_WORDS)
#undef FUZZ_WORDS
  };
  ASSERT_EQ(FuzzEntries().size(), size_t(GL_SLOT_COUNT));
  for (const FuzzEntry &e : FuzzEntries()) {
    int words = 0;
    for (const FuzzParam &p : e.params) {
      EXPECT_FALSE(p.name.empty()) << e.name;
      const bool wide = p.type == FuzzType::Float && p.glType.find("d") != std::string::npos;
      words += wide ? 2 : 1;
    }
    EXPECT_EQ(words, kWords[e.slot]) << e.name;
  }
  const FuzzEntry &read = FuzzEntries()[size_t(FuzzSlotOf("ReadPixels"))];
  ASSERT_EQ(read.params.size(), 7u);
  EXPECT_EQ(read.params[4].type, FuzzType::Enum);
  EXPECT_EQ(read.params[6].type, FuzzType::Pointer);
  EXPECT_TRUE(read.params[6].output);
  const FuzzEntry &draw = FuzzEntries()[size_t(FuzzSlotOf("DrawPixels"))];
  EXPECT_FALSE(draw.params[4].output);
}

bool Contains(const std::vector<int> &v, int x) {
  for (int y : v) {
    if (y == x) return true;
  }
  return false;
}

TEST(FuzzMinimise, KeepsOnlyTheStepsTheFailureNeeds) {
  std::vector<int> steps;
  for (int i = 0; i < 200; i++) steps.push_back(i);
  int runs = 0;
  const std::vector<int> kept = FuzzMinimise(steps, [&](const std::vector<int> &t) {
    runs++;
    return Contains(t, 17) && Contains(t, 150) && Contains(t, 151);
  });
  EXPECT_EQ(kept, (std::vector<int>{17, 150, 151}));
  EXPECT_LE(runs, 300);
}

TEST(FuzzMinimise, StopsAtItsBudget) {
  std::vector<int> steps(64);
  int runs = 0;
  FuzzMinimise(steps, [&](const std::vector<int> &) { return ++runs, false; }, 10);
  EXPECT_EQ(runs, 10);
}

// The driver's packer writes exactly the bytes the size rule gives: into
// memory that ends at a fence (an overrun faults) and up to its last byte.
struct PackCase {
  GLenum format, type;
  FuzzPixelStore store;
};

const PackCase kPackCases[] = {
    {GL_RGBA, GL_UNSIGNED_BYTE, {0, 0, 0, 4}},  {GL_RGB, GL_UNSIGNED_BYTE, {0, 0, 0, 8}},
    {GL_RGB, GL_UNSIGNED_BYTE, {0, 0, 0, 1}},   {GL_LUMINANCE, GL_FLOAT, {0, 0, 0, 8}},
    {GL_RGBA, GL_UNSIGNED_BYTE, {23, 2, 3, 4}}, {GL_BGR_EXT, GL_UNSIGNED_SHORT, {0, 3, 1, 8}},
    {GL_RED, GL_BYTE, {13, 0, 5, 2}},           {GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1_EXT, {0, 0, 0, 8}},
};

class FuzzPack : public LoaderContext {};

TEST_F(FuzzPack, ReadPixelsWritesExactlyTheImageBytes) {
  constexpr int kW = 17, kH = 9;
  OpenContext(kW, kH);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  for (const PackCase &c : kPackCases) {
    glPixelStorei(GL_PACK_ROW_LENGTH, GLint(c.store.rowLength));
    glPixelStorei(GL_PACK_SKIP_ROWS, GLint(c.store.skipRows));
    glPixelStorei(GL_PACK_SKIP_PIXELS, GLint(c.store.skipPixels));
    glPixelStorei(GL_PACK_ALIGNMENT, GLint(c.store.alignment));
    const int64_t bytes = FuzzImageBytes(kW, kH, c.format, c.type, c.store);
    FencedBytes memory{size_t(bytes)};
    uint8_t *p = memory.Tail(size_t(bytes));
    memset(p, 0xA5, size_t(bytes));
    glReadPixels(0, 0, kW, kH, c.format, c.type, p);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    // The last pixel's last byte is black or opaque: never the fill.
    EXPECT_NE(p[bytes - 1], 0xA5) << "format 0x" << std::hex << c.format << " type 0x" << c.type;
  }
}

}  // namespace
