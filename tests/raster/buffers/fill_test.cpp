// The block fills against a byte-wise reference, for every alignment,
// width, height and row skip, with guard bytes around the block; the MMX
// fill and the plain stores leave the same memory.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "core/context.h"
#include "raster/s_clear.h"
#include "tests/core/context/life_fixture.h"
#include "tests/support/counting_imports.h"

namespace raster_buffers_test {
namespace {

constexpr uint8_t kUntouched = 0xA5;
constexpr size_t kGuard = 32;

struct FillKind {
  const char *name;
  uint32_t unit;  // bytes per unit
  void (*fill)(GlContext *gc, void *dst, int32_t width, int32_t height, int32_t skip,
               uint32_t value);
};

const FillKind kKinds[] = {
    {"__glI386MemClear1", 1,
     [](GlContext *gc, void *dst, int32_t w, int32_t h, int32_t skip, uint32_t v) {
       __glI386MemClear1(gc, dst, w, h, skip, uint8_t(v));
     }},
    {"__glI386MemClear2", 2,
     [](GlContext *gc, void *dst, int32_t w, int32_t h, int32_t skip, uint32_t v) {
       __glI386MemClear2(gc, dst, w, h, skip, uint16_t(v));
     }},
    {"__glI386MemClear4", 4, __glI386MemClear4},
};

// Zero, NaN and infinity patterns, a number whose exponent field is 0, and
// ordinary numbers; none holds the untouched byte.
const uint32_t kValues[] = {0x00000000u, 0x7FF80000u, 0x7FF00000u, 0xFFF00001u, 0x00000001u,
                            0x000FFFFFu, 0x3FF00000u, 0x12345678u, 0xFFFFFFFFu, 0x7FC00000u};

struct Block {
  uint32_t offset;  // bytes past an 8-byte boundary
  int32_t width, height;
  int32_t skip;  // bytes
};

// The memory the fill should leave: `value`'s low `unit` bytes (lowest
// address first) in every unit of every row, nothing else changed.
std::vector<uint8_t> Reference(const FillKind &kind, const Block &b, uint32_t value, size_t size) {
  std::vector<uint8_t> bytes(size, kUntouched);
  if (b.width <= 0 || b.height <= 0) return bytes;
  size_t at = kGuard + b.offset;
  for (int32_t y = 0; y < b.height; y++) {
    for (int32_t x = 0; x < b.width; x++)
      for (uint32_t i = 0; i < kind.unit; i++) bytes[at++] = uint8_t(value >> (8 * i));
    at += size_t(b.skip);
  }
  return bytes;
}

size_t SizeFor(const FillKind &kind, const Block &b) {
  const size_t row = size_t(b.width > 0 ? b.width : 0) * kind.unit + size_t(b.skip);
  return 2 * kGuard + 8 + row * size_t(b.height > 0 ? b.height : 0);
}

class BlockFills : public life_test::LifeTest {
 protected:
  void SetUp() override {
    LifeTest::SetUp();
    gc = Create(TestModes());
    ASSERT_NE(gc, nullptr);
  }
  void TearDown() override {
    if (gc) Destroy(gc);
    LifeTest::TearDown();
  }
  // Runs the fill over fresh memory (8-byte aligned at its start) and
  // returns all of it.
  std::vector<uint8_t> Run(const FillKind &kind, const Block &b, uint32_t value, bool mmx) {
    std::vector<uint64_t> words((SizeFor(kind, b) + 7) / 8);
    uint8_t *bytes = reinterpret_cast<uint8_t *>(words.data());
    const size_t size = SizeFor(kind, b);
    memset(bytes, kUntouched, size);
    gc->constants.cpuFlags = mmx ? __GL_CPU_MMX : 0;
    kind.fill(gc, bytes + kGuard + b.offset, b.width, b.height, b.skip, value);
    return std::vector<uint8_t>(bytes, bytes + size);
  }
  GlContext *gc = nullptr;
};

bool HaveMmx() { return __builtin_cpu_supports("mmx"); }

std::string Describe(const FillKind &kind, const Block &b, uint32_t value, bool mmx) {
  char text[160];
  snprintf(text, sizeof text, "%s offset %u width %d height %d skip %d value %08x %s", kind.name,
           b.offset, b.width, b.height, b.skip, value, mmx ? "MMX" : "plain");
  return text;
}

TEST_F(BlockFills, MatchTheByteWiseReference) {
  const int32_t widths[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 31, 33};
  const int32_t heights[] = {1, 2, 3};
  const int32_t skipUnits[] = {0, 1, 2, 3, 5};
  for (const bool mmx : {false, true}) {
    if (mmx && !HaveMmx()) continue;
    for (const FillKind &kind : kKinds)
      for (uint32_t offset = 0; offset < 8; offset += kind.unit == 4 ? 4 : 1)
        for (int32_t width : widths)
          for (int32_t height : heights)
            for (int32_t skipUnit : skipUnits)
              for (uint32_t value : kValues) {
                const Block b{offset, width, height, skipUnit * int32_t(kind.unit)};
                const std::vector<uint8_t> got = Run(kind, b, value, mmx);
                ASSERT_EQ(got, Reference(kind, b, value, got.size()))
                    << Describe(kind, b, value, mmx);
              }
  }
}

// Byte fills see every row start alignment when the skip is odd; the
// 2-byte fill sees rows whose word alignment alternates.
TEST_F(BlockFills, RowsOfDifferentAlignments) {
  const Block blocks[] = {{0, 5, 6, 1}, {1, 9, 5, 3}, {3, 4, 4, 7}, {2, 13, 3, 2}, {0, 3, 4, 1}};
  for (const bool mmx : {false, true}) {
    if (mmx && !HaveMmx()) continue;
    for (const FillKind &kind : kKinds)
      for (const Block &base : blocks) {
        Block b = base;
        b.skip *= int32_t(kind.unit);
        if (kind.unit == 4) b.offset &= ~3u;
        if (kind.unit == 2) b.offset &= ~1u;
        const uint32_t value = 0x6C3B2E19u;
        const std::vector<uint8_t> got = Run(kind, b, value, mmx);
        EXPECT_EQ(got, Reference(kind, b, value, got.size())) << Describe(kind, b, value, mmx);
      }
  }
}

TEST_F(BlockFills, EmptyAndNegativeBlocksWriteNothing) {
  const Block blocks[] = {{0, 0, 3, 0}, {0, 3, 0, 0}, {1, -1, 2, 0}, {0, 4, -3, 4}, {3, 0, 0, 8}};
  for (const bool mmx : {false, true}) {
    if (mmx && !HaveMmx()) continue;
    for (const FillKind &kind : kKinds)
      for (const Block &b : blocks) {
        const std::vector<uint8_t> got = Run(kind, b, 0x11223344u, mmx);
        EXPECT_EQ(got, std::vector<uint8_t>(got.size(), kUntouched))
            << Describe(kind, b, 0x11223344u, mmx);
      }
  }
}

// The generated fill and the plain stores leave the same memory, block by
// block, on larger blocks than the reference sweep covers.
TEST_F(BlockFills, TheMmxFillAndThePlainStoresAgree) {
  if (!HaveMmx()) GTEST_SKIP() << "the processor has no MMX";
  const Block blocks[] = {{0, 640, 3, 0}, {4, 333, 4, 12}, {1, 1023, 2, 5}, {6, 257, 5, 2}};
  for (const FillKind &kind : kKinds)
    for (const Block &base : blocks)
      for (uint32_t value : kValues) {
        Block b = base;
        b.skip *= int32_t(kind.unit);
        if (kind.unit > 1) b.offset &= ~(kind.unit - 1);
        EXPECT_EQ(Run(kind, b, value, true), Run(kind, b, value, false))
            << Describe(kind, b, value, true);
      }
}

}  // namespace
}  // namespace raster_buffers_test
