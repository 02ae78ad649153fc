// The raster generator's emission helpers, run from executable memory and
// compared with the same operations in compiled code.
#include <gtest/gtest.h>

#include "codegen/og_ras_walk.h"
#include "tests/codegen/emitter/og_support.h"

namespace {

using namespace og_raster;

class RasterHelperTest : public OgTest {
 protected:
  OgCode *Arg(int n) { return mem2(gc, value(gc, 4 * n), esp); }
  OgCode *Word(uint32_t *w) {
    return mem(gc, value(gc, int32_t(uintptr_t(w))), nullptr, nullptr, 1);
  }
};

const int32_t kValues[] = {0, 1, -1, 99, 100, 101, -100, 0x7FFFFFFF, INT32_MIN, 0x12345678};

TEST_F(RasterHelperTest, ClampIsSigned) {
  for (int32_t limit : {100, 1, -5}) {
    for (int32_t v : kValues) {
      Begin();
      Emit(mov(gc, eax, Arg(1)));
      cb = clamp(gc, cb, eax, limit);
      Emit(ret(gc));
      ASSERT_EQ(Failure(), "");
      EXPECT_EQ(int32_t(RunChecked(code, {uint32_t(v)})), v >= limit ? limit - 1 : v)
          << v << " limit " << limit;
    }
  }
}

TEST_F(RasterHelperTest, GobitMovesTheFieldOneShift) {
  struct Case {
    int32_t from, to;
  };
  for (const Case c : {Case{16, 11}, Case{16, 24}, Case{16, 16}, Case{0, 31}, Case{31, 0}}) {
    for (int32_t v : kValues) {
      Begin();
      Emit(mov(gc, eax, Arg(1)));
      uint8_t *before = cb;
      cb = gobit(gc, cb, eax, c.from, c.to);
      if (c.from == c.to) {
        EXPECT_EQ(cb, before) << "nothing to move";
      }
      Emit(ret(gc));
      const uint32_t u = uint32_t(v);
      const uint32_t want = c.to > c.from ? u << (c.to - c.from) : u >> (c.from - c.to);
      EXPECT_EQ(RunChecked(code, {u}), want) << c.from << " to " << c.to;
    }
  }
}

// ds and dy add in memory; dyv leaves the sum in a register only.
TEST_F(RasterHelperTest, StepsInMemoryAndInRegisters) {
  uint32_t m = 0, d = 0;
  for (int32_t a : kValues) {
    for (int32_t b : {0, 7, -7, INT32_MIN}) {
      m = uint32_t(a), d = uint32_t(b);
      Begin();
      cb = ds(gc, cb, Word(&m), Word(&d));
      cb = dy(gc, cb, Word(&m), Word(&d));
      cb = dyv(gc, cb, Word(&m), Word(&d), edx, ecx);
      Emit(mov(gc, eax, edx));
      Emit(ret(gc));
      ASSERT_EQ(Failure(), "");
      EXPECT_EQ(RunChecked(code, {}), uint32_t(a) + 3u * uint32_t(b));
      EXPECT_EQ(m, uint32_t(a) + 2u * uint32_t(b)) << "dyv stores nothing";
    }
  }
}

TEST_F(RasterHelperTest, MemovCopiesAWord) {
  uint32_t from = 0xCAFEF00Du, to = 0;
  Begin();
  cb = memov(gc, cb, Word(&to), Word(&from));
  Emit(ret(gc));
  RunChecked(code, {});
  EXPECT_EQ(to, 0xCAFEF00Du);
}

TEST_F(RasterHelperTest, MmxGobitShiftsTheLanes) {
  Begin();
  uint8_t *start = cb;
  cb = mmxgobit(gc, cb, mm2, 5, 5);
  EXPECT_EQ(cb, start) << "nothing for equal positions";
  cb = mmxgobit(gc, cb, mm2, 5, 8);
  uint8_t *middle = cb;
  cb = mmxgobit(gc, cb, mm3, 8, 0);
  ASSERT_EQ(Failure(), "");
  if (!HaveObjdump()) GTEST_SKIP() << "objdump is not installed";
  std::vector<std::vector<std::string>> texts;
  ASSERT_TRUE(Disassemble({std::vector<uint8_t>(start, middle), std::vector<uint8_t>(middle, cb)},
                          &texts));
  EXPECT_EQ(texts[0], std::vector<std::string>{"psllw mm2,0x3"});
  EXPECT_EQ(texts[1], std::vector<std::string>{"psrlw mm3,0x8"});
}

}  // namespace
