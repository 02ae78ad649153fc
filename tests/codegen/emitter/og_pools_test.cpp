// The constant pools: interning by bit pattern, the blocks that follow a
// full one, runs kept in one block, and every block freed in the end.
#include <float.h>
#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/s_context.h"
#include "tests/codegen/emitter/og_support.h"
#include "tests/support/counting_imports.h"
#include "wgl/wgl_context.h"

namespace {

class PoolTest : public OgTest {
 protected:
  // The address an fpk or mxk4 operand names; 0 for none.
  static uintptr_t Address(const OgCode *k) {
    if (k == nullptr) return 0;
    EXPECT_EQ(k->what, uint32_t(MEM));
    EXPECT_EQ(k->data.mem.reg1, nullptr);
    EXPECT_EQ(k->data.mem.reg2, nullptr);
    return uintptr_t(uint32_t(k->data.mem.disp->data.value));
  }
  static uint32_t FloatBitsAt(uintptr_t a) {
    uint32_t u;
    memcpy(&u, reinterpret_cast<const void *>(a), 4);
    return u;
  }
  static uint32_t BitsOf(float f) {
    uint32_t u;
    memcpy(&u, &f, 4);
    return u;
  }
  // A float no earlier call asked for: 1, 2, 3 ...
  static double Distinct(int i) { return double(i + 1); }
};

const double kNaN = NAN;

TEST_F(PoolTest, EqualFloatsShareAnEntry) {
  const uintptr_t one = Address(fpk(gc, 1.0));
  EXPECT_EQ(Address(fpk(gc, 1.0)), one);
  EXPECT_EQ(FloatBitsAt(one), BitsOf(1.0f));
  EXPECT_EQ(gc->ogs.fpconstant_next, 1u);
  EXPECT_EQ(one, uintptr_t(gc->ogs.fpconstant));
}

// Interning compares bit patterns: the earlier comparison of values made
// every NaN equal to whatever came first, and -0.0 equal to +0.0.
TEST_F(PoolTest, FloatsAreInternedByBitPattern) {
  struct Pair {
    const char *what;
    double first, second;
    bool shared;
  };
  const Pair pairs[] = {
      {"+0 and -0", 0.0, -0.0, false},
      {"-0 twice", -0.0, -0.0, true},
      {"a number, then NaN", 2.0, kNaN, false},
      {"NaN twice", kNaN, kNaN, true},
      {"NaN and -NaN", kNaN, -kNaN, false},
      {"+inf and -inf", INFINITY, -INFINITY, false},
      {"neighbours", 1.0, 1.0 + FLT_EPSILON, false},
      {"a subnormal and 0", double(FLT_TRUE_MIN), 0.0, false},
      {"the largest float twice", double(FLT_MAX), double(FLT_MAX), true},
  };
  for (const Pair &p : pairs) {
    SCOPED_TRACE(p.what);
    og_free_pools(gc);
    ASSERT_TRUE(og_init_pools(gc));
    const uintptr_t a = Address(fpk(gc, p.first));
    const uintptr_t b = Address(fpk(gc, p.second));
    ASSERT_NE(a, 0u);
    ASSERT_NE(b, 0u);
    EXPECT_EQ(a == b, p.shared);
    EXPECT_EQ(FloatBitsAt(a), BitsOf(float(p.first)));
    EXPECT_EQ(FloatBitsAt(b), BitsOf(float(p.second)));
    EXPECT_EQ(Failure(), "");
  }
}

TEST_F(PoolTest, ValuesAFloatCannotHoldAreRefused) {
  for (double v : {0.1, 1e39, -1e39, 1.0 + 1.0 / (1 << 30), 1e-320, double(FLT_MAX) * 1.0000001}) {
    SCOPED_TRACE(v);
    Begin();
    const uint32_t used = gc->ogs.fpconstant_next;
    EXPECT_EQ(fpk(gc, v), nullptr);
    EXPECT_EQ(Failure(), "(double)pool[ogs->fpconstant_next] == v");
    EXPECT_EQ(gc->ogs.fpconstant_next, used) << "nothing stored";
  }
}

// 1000 entries in the first block; the 1001st starts a block of 2000, and
// a value of the first block asked for again is stored anew there. The
// full block stays where it was, since code reads it.
TEST_F(PoolTest, AFullFloatBlockIsFollowedByOneTwiceAsLarge) {
  std::vector<uintptr_t> first;
  for (int i = 0; i < 1000; i++) first.push_back(Address(fpk(gc, Distinct(i))));
  const float *block = reinterpret_cast<const float *>(first[0]);
  EXPECT_EQ(first[999], uintptr_t(block + 999)) << "the last entry of the first block";
  EXPECT_EQ(gc->ogs.fpconstant_capacity, 2000u);
  EXPECT_EQ(gc->ogs.fpconstant_next, 0u);

  const uintptr_t next = Address(fpk(gc, Distinct(1000)));
  EXPECT_EQ(next, uintptr_t(gc->ogs.fpconstant)) << "entry 0 of the new block";
  const uintptr_t again = Address(fpk(gc, Distinct(5)));
  EXPECT_EQ(again, next + 4);
  EXPECT_NE(again, first[5]);
  EXPECT_EQ(gc->ogs.fpconstant_next, 2u);
  for (int i = 0; i < 1000; i++) ASSERT_EQ(block[i], float(Distinct(i)));

  for (int i = 2; i < 2000; i++) fpk(gc, -Distinct(i));
  EXPECT_EQ(gc->ogs.fpconstant_capacity, 4000u);
  EXPECT_EQ(Failure(), "");
}

TEST_F(PoolTest, MmxConstantsAreFourWordsLowestFirst) {
  const uintptr_t k = Address(mxk4(gc, 1, 2, 3, 4));
  EXPECT_EQ(HexOf(reinterpret_cast<const uint8_t *>(k), 8), "01 00 02 00 03 00 04 00");
  EXPECT_EQ(Address(mxk4(gc, 1, 2, 3, 4)), k);
  const uintptr_t wide = Address(mxk4(gc, 0x12345, -1, 0x8000, 0));
  EXPECT_EQ(HexOf(reinterpret_cast<const uint8_t *>(wide), 8), "45 23 ff ff 00 80 00 00");
  EXPECT_EQ(wide, k + 8);
  EXPECT_EQ(Address(mxk4(gc, 0x2345, 0xFFFF, -0x8000, 0x10000)), wide) << "only 16 bits count";
}

TEST_F(PoolTest, AFullMmxBlockIsFollowedByOneTwiceAsLarge) {
  std::vector<uintptr_t> first;
  for (int i = 0; i < 1000; i++) first.push_back(Address(mxk4(gc, i, 0, 0, 1)));
  EXPECT_EQ(first[999], first[0] + 999 * 8);
  EXPECT_EQ(gc->ogs.mxconstant_capacity, 2000u);
  const uintptr_t again = Address(mxk4(gc, 3, 0, 0, 1));
  EXPECT_EQ(again, uintptr_t(gc->ogs.mxconstant));
  EXPECT_NE(again, first[3]);
  EXPECT_EQ(HexOf(reinterpret_cast<const uint8_t *>(first[3]), 8), "03 00 00 00 00 00 01 00");
}

// Code that reads (0, 1, 2, 3) and then (3, 2, 1, 0) at the next address
// asks for them as one run: they lie together even when one of them was
// interned alone before, and even when the block has room for one only.
TEST_F(PoolTest, RunsLieTogetherInOneBlock) {
  const uint16_t pair[2][4] = {{0, 1, 2, 3}, {3, 2, 1, 0}};
  const uintptr_t alone = Address(mxk4(gc, 3, 2, 1, 0));
  const uintptr_t run = Address(mxk4_run(gc, pair, 2));
  EXPECT_NE(run, alone);
  EXPECT_EQ(memcmp(reinterpret_cast<const void *>(run), pair, 16), 0);
  EXPECT_EQ(Address(mxk4_run(gc, pair, 2)), run) << "a run is interned as a whole";
  EXPECT_EQ(Address(mxk4(gc, 0, 1, 2, 3)), run) << "its entries serve alone too";

  while (gc->ogs.mxconstant_count < 999) mxk4(gc, gc->ogs.mxconstant_count, 7, 7, 7);
  const uint16_t other[2][4] = {{9, 9, 9, 1}, {9, 9, 9, 2}};
  const uint64_t *full = gc->ogs.mxconstant;
  const uintptr_t moved = Address(mxk4_run(gc, other, 2));
  EXPECT_EQ(moved, uintptr_t(gc->ogs.mxconstant)) << "started a new block";
  EXPECT_EQ(full[999], 0u) << "the old block's last entry stays unused";
  EXPECT_EQ(memcmp(reinterpret_cast<const void *>(moved), other, 16), 0);

  const float values[3] = {0.5f, -0.0f, 2.5f};
  const uintptr_t floats = Address(fpk_run(gc, values, 3));
  EXPECT_EQ(memcmp(reinterpret_cast<const void *>(floats), values, 12), 0);
  EXPECT_EQ(Address(fpk(gc, -0.0)), floats + 4);
  EXPECT_EQ(Address(fpk(gc, 2.5)), floats + 8);
  const float zeros[2] = {0.5f, 0.0f};
  EXPECT_NE(Address(fpk_run(gc, zeros, 2)), floats) << "0.0 is not -0.0";

  // A run longer than a doubled block gets a block of its own size.
  std::vector<float> many(5000);
  for (size_t i = 0; i < many.size(); i++) many[i] = float(i) + 0.5f;
  const uintptr_t big = Address(fpk_run(gc, many.data(), uint32_t(many.size())));
  EXPECT_EQ(memcmp(reinterpret_cast<const void *>(big), many.data(), many.size() * 4), 0);
  EXPECT_EQ(Failure(), "");

  EXPECT_EQ(fpk_run(gc, values, 0), nullptr);
  EXPECT_EQ(Failure(), "values && count > 0");
  EXPECT_EQ(mxk4_run(gc, nullptr, 2), nullptr);
}

// Counts no block could hold are refused before anything is read: a count
// near 2^32 once wrapped the room check and copied gigabytes.
TEST_F(PoolTest, RunsNoBlockCouldHoldAreRefused) {
  const struct Case {
    uint32_t count;
    const char *text;
  } cases[] = {
      {0, "values && count > 0"},
      {0x01000001u, "count <= OG_POOL_LARGEST_CAPACITY"},
      {0x80000000u, "count <= OG_POOL_LARGEST_CAPACITY"},
      {0xFFFFFFFEu, "count <= OG_POOL_LARGEST_CAPACITY"},
      {0xFFFFFFFFu, "count <= OG_POOL_LARGEST_CAPACITY"},
  };
  const float values[4] = {1.5f, 2.5f, 3.5f, 4.5f};
  const uint16_t words[2][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.count);
    Begin();
    for (int i = 0; i < 3; i++) {
      fpk(gc, Distinct(i));
      mxk4(gc, i, 0, 0, 0);
    }
    const uint32_t floats = gc->ogs.fpconstant_next, quads = gc->ogs.mxconstant_count;
    EXPECT_EQ(fpk_run(gc, values, c.count), nullptr);
    EXPECT_EQ(Failure(), c.text);
    EXPECT_EQ(mxk4_run(gc, words, c.count), nullptr);
    EXPECT_EQ(gc->ogs.failures, 2u);
    EXPECT_EQ(gc->ogs.fpconstant_next, floats);
    EXPECT_EQ(gc->ogs.mxconstant_count, quads);
  }
}

// A block that cannot be allocated fails the constant that needed it and
// nothing else; the next request tries again.
TEST_F(PoolTest, ABlockThatCannotBeHadFailsOnlyTheConstantThatNeedsIt) {
  for (int i = 0; i < 999; i++) fpk(gc, Distinct(i));
  CountingImports::failAllocation(1);
  const uintptr_t last = Address(fpk(gc, Distinct(999)));  // fills the block; no new one
  EXPECT_NE(last, 0u);
  EXPECT_EQ(Failure(), "");
  EXPECT_EQ(gc->ogs.fpconstant_capacity, 1000u);
  EXPECT_EQ(Address(fpk(gc, Distinct(3))), Address(fpk(gc, Distinct(3)))) << "old ones still found";

  CountingImports::failAllocation(1);
  EXPECT_EQ(fpk(gc, Distinct(1000)), nullptr);
  EXPECT_EQ(Failure(), "a constant block could be allocated");

  CountingImports::failAllocation(0);
  Begin();
  const uintptr_t next = Address(fpk(gc, Distinct(1000)));
  EXPECT_EQ(next, uintptr_t(gc->ogs.fpconstant));
  EXPECT_EQ(gc->ogs.fpconstant_capacity, 2000u);
  EXPECT_EQ(Failure(), "");
}

TEST_F(PoolTest, PoolsWithoutAFirstBlockMakeOne) {
  og_free_pools(gc);
  EXPECT_EQ(gc->ogs.fpconstant, nullptr);
  EXPECT_EQ(gc->ogs.mxconstant, nullptr);
  EXPECT_NE(fpk(gc, 3.0), nullptr);
  EXPECT_NE(mxk4(gc, 1, 1, 1, 1), nullptr);
  EXPECT_EQ(gc->ogs.fpconstant_capacity, 1000u);
  EXPECT_EQ(gc->ogs.mxconstant_capacity, 1000u);
}

// Context creation gives both pools a zeroed first block of 1000 entries;
// destruction frees every block, the full ones included.
TEST(PoolLife, CreationGivesFirstBlocksAndDestructionFreesThemAll) {
  CountingImports::reset();
  WglContext wgl{};
  GlImports imports = CountingImports::imports;
  imports.other = &wgl;
  const GlModes modes = TestModes();
  GlContext *gc = __glCoreCreateContext(&imports, &modes);
  ASSERT_NE(gc, nullptr);
  const OgState &ogs = gc->ogs;
  EXPECT_EQ(ogs.fpconstant_capacity, 1000u);
  EXPECT_EQ(ogs.fpconstant_next, 0u);
  EXPECT_EQ(ogs.mxconstant_capacity, 1000u);
  EXPECT_EQ(ogs.mxconstant_count, 0u);
  ASSERT_NE(ogs.fpconstant, nullptr);
  ASSERT_NE(ogs.mxconstant, nullptr);
  for (int i = 0; i < 1000; i++) {
    ASSERT_EQ(ogs.fpconstant[i], 0.0f);
    ASSERT_EQ(ogs.mxconstant[i], 0u);
  }
  const int withFirstBlocks = CountingImports::live();
  og_warmup(gc);
  for (int i = 0; i < 7500; i++) {
    fpk(gc, double(i));
    mxk4(gc, i, i >> 16, 0, 0);
    if (i % 1000 == 0) og_warmup(gc);  // records come and go, constants stay
  }
  EXPECT_EQ(gc->ogs.failure, nullptr);
  EXPECT_EQ(CountingImports::live(), withFirstBlocks + 6) << "blocks of 2000, 4000 and 8000 each";
  gc->exports.destroyContext(gc);
  EXPECT_EQ(CountingImports::live(), 0);
}

}  // namespace
