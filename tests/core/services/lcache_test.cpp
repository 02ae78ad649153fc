// The specular lookup-table cache: table values against a double-precision
// reference, sharing and reference counts, sorted order, growth, eviction,
// and refused allocations.
#include <math.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "geometry/s_lcache.h"
#include "tests/core/services/service_context.h"

namespace {

class SpecLut : public ::testing::Test {
 protected:
  void SetUp() override { start = ServiceContext::Live(); }
  void TearDown() override {
    __glFreeLUTCache(gc());
    EXPECT_EQ(ServiceContext::Live(), start) << "everything freed";
  }

  GlContext *gc() { return ctx.gc(); }
  GlSpecLUTCache *cache() { return gc()->light.lutCache; }

  std::vector<float> Exponents() {
    std::vector<float> e;
    for (int i = 0; i < cache()->count; ++i) e.push_back(cache()->entries[i].exponent);
    return e;
  }
  // Entries sorted ascending, distinct, each table naming its own exponent.
  void ExpectConsistent() {
    ASSERT_NE(cache(), nullptr);
    ASSERT_LE(cache()->count, cache()->capacity);
    for (int i = 0; i < cache()->count; ++i) {
      const GlSpecLUTEntry &e = cache()->entries[i];
      ASSERT_NE(e.table, nullptr);
      EXPECT_GE(e.table->refcount, 1);
      if (isnan(e.exponent)) {
        EXPECT_TRUE(isnan(e.table->exponent));
        EXPECT_EQ(i, cache()->count - 1) << "NaN sorts last";
      } else {
        EXPECT_EQ(e.table->exponent, e.exponent);
      }
      if (i > 0 && !isnan(e.exponent)) {
        EXPECT_LT(cache()->entries[i - 1].exponent, e.exponent);
      }
    }
  }

  ServiceContext ctx;
  int start = 0;
};

TEST_F(SpecLut, TablesMatchADoublePrecisionReference) {
  const float exponents[] = {0.0f, 0.5f, 1.0f, 2.0f, 10.0f, 64.5f, 127.0f, 128.0f};
  __glInitLUTCache(gc());
  for (float n : exponents) {
    SCOPED_TRACE(n);
    GlSpecLUT *lut = __glCreateSpecLUT(gc(), n);
    ASSERT_NE(lut, nullptr);
    double threshold = n == 0.0f ? 0.0 : pow(0.0007, 1.0 / n);
    double scale = 255.0 / (1.0 - threshold);
    EXPECT_EQ(lut->threshold, static_cast<float>(threshold));
    EXPECT_EQ(lut->scale, static_cast<float>(scale));
    EXPECT_EQ(lut->exponent, n);
    EXPECT_EQ(lut->refcount, 2) << "the cache and the caller";
    for (int k = 0; k < 256; ++k) {
      double want = pow(threshold + k / scale, n);
      EXPECT_NEAR(lut->table[k], want, 2e-7 * want + 1e-30) << "entry " << k;
    }
    // The last entry is the power of 1, the first the power at the threshold.
    EXPECT_NEAR(lut->table[255], 1.0f, 1e-5f);
    if (n != 0.0f) {
      EXPECT_NEAR(lut->table[0], 0.0007f, 1e-6f);
    }
    __glFreeSpecLUT(gc(), lut);
  }
}

TEST_F(SpecLut, EdgeExponents) {
  __glInitLUTCache(gc());
  GlSpecLUT *flat = __glCreateSpecLUT(gc(), 0.0f);
  ASSERT_NE(flat, nullptr);
  EXPECT_EQ(flat->threshold, 0.0f);
  EXPECT_EQ(flat->scale, 255.0f);
  for (float v : flat->table) EXPECT_EQ(v, 1.0f);
  GlSpecLUT *sharp = __glCreateSpecLUT(gc(), 128.0f);
  ASSERT_NE(sharp, nullptr);
  EXPECT_NEAR(sharp->threshold, 0.9448f, 1e-4f) << "below it no specular term";
  __glFreeSpecLUT(gc(), flat);
  __glFreeSpecLUT(gc(), sharp);
}

TEST_F(SpecLut, OneExponentSharesOneTable) {
  __glInitLUTCache(gc());
  GlSpecLUT *a = __glCreateSpecLUT(gc(), 20.0f);
  GlSpecLUT *b = __glCreateSpecLUT(gc(), 20.0f);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a->refcount, 3);
  EXPECT_EQ(cache()->count, 1);
  __glFreeSpecLUT(gc(), nullptr);  // ignored
  __glFreeSpecLUT(gc(), b);
  EXPECT_EQ(a->refcount, 2);
  // Releasing the cache keeps a table someone still holds.
  int live = ServiceContext::Live();
  __glFreeLUTCache(gc());
  EXPECT_EQ(cache(), nullptr);
  EXPECT_EQ(a->refcount, 1);
  EXPECT_EQ(ServiceContext::Live(), live - 1) << "only the cache block went";
  __glFreeSpecLUT(gc(), a);
}

TEST_F(SpecLut, EntriesStaySortedAndCapacityGrowsBySix) {
  struct Step {
    float exponent;
    int count, capacity;
  } steps[] = {
      {5, 1, 1},   {1, 2, 7},   {128, 3, 7},  {0, 4, 7},   {3.5f, 5, 7},  {64, 6, 7},
      {2, 7, 7},   {NAN, 8, 13}, {7, 9, 13},  {5, 9, 13},  {NAN, 9, 13},  {-0.0f, 9, 13},
      {0.25f, 10, 13}, {9, 11, 13}, {11, 12, 13}, {12, 13, 13}, {13, 14, 19},
  };
  __glInitLUTCache(gc());
  ASSERT_NE(cache(), nullptr);
  EXPECT_EQ(cache()->count, 0);
  EXPECT_EQ(cache()->capacity, 1);
  std::vector<GlSpecLUT *> held;
  for (const Step &s : steps) {
    SCOPED_TRACE(s.exponent);
    held.push_back(__glCreateSpecLUT(gc(), s.exponent));
    ASSERT_NE(held.back(), nullptr);
    EXPECT_EQ(cache()->count, s.count);
    EXPECT_EQ(cache()->capacity, s.capacity);
    ExpectConsistent();
  }
  for (GlSpecLUT *t : held) __glFreeSpecLUT(gc(), t);
  for (int i = 0; i < cache()->count; ++i) EXPECT_EQ(cache()->entries[i].table->refcount, 1);
}

// 32 tables, exponents 1 .. 32, all held by the test; `released` of them
// then held only by the cache.
TEST_F(SpecLut, EvictionTakesTheSmallestTableOnlyTheCacheHolds) {
  struct Case {
    const char *what;
    std::vector<float> released;
    float added;
    int count;        // entries afterwards
    float evicted;    // 0: none
  } cases[] = {
      {"every table held elsewhere: the cache grows past 32", {}, 40, 33, 0},
      {"the smallest released one goes, not the oldest", {7, 3, 30}, 40, 32, 3},
      {"the new exponent may take the evicted one's place", {10}, 10.5f, 32, 10},
      {"or go in front of it", {10}, 0.5f, 32, 10},
      {"the last one goes, the new one goes last", {32}, 40, 32, 32},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    __glInitLUTCache(gc());
    std::vector<GlSpecLUT *> held;
    for (int n = 1; n <= 32; ++n) held.push_back(__glCreateSpecLUT(gc(), static_cast<float>(n)));
    for (float n : c.released) __glFreeSpecLUT(gc(), held[static_cast<int>(n) - 1]);
    int live = ServiceContext::Live();
    GlSpecLUT *added = __glCreateSpecLUT(gc(), c.added);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(cache()->count, c.count);
    ExpectConsistent();
    std::vector<float> e = Exponents();
    bool addedThere = false, evictedThere = false;
    for (float x : e) addedThere |= x == c.added, evictedThere |= x == c.evicted;
    EXPECT_TRUE(addedThere);
    if (c.evicted != 0) {
      EXPECT_FALSE(evictedThere);
      EXPECT_EQ(ServiceContext::Live(), live) << "one table freed, one made";
    } else {
      EXPECT_GT(ServiceContext::Live(), live);
    }
    for (int n = 1; n <= 32; ++n) {
      bool released = false;
      for (float r : c.released) released |= r == n;
      if (!released) __glFreeSpecLUT(gc(), held[n - 1]);
    }
    __glFreeSpecLUT(gc(), added);
    __glFreeLUTCache(gc());
    EXPECT_EQ(ServiceContext::Live(), start);
  }
}

// What each request costs the allocator: a hit nothing, a miss one table,
// and a miss that finds the block full one reallocation besides.
TEST_F(SpecLut, AllocatesOnlyForMissesAndGrowth) {
  struct Step {
    float exponent;
    int allocations;  // made by the request
    int blocks;       // live blocks added
  } steps[] = {
      {4, 1, 1},   // room for one entry: the table only
      {4, 0, 0},   // a hit
      {2, 2, 1},   // block full: grown (a new block for the old) and the table
      {8, 1, 1},   {16, 1, 1}, {32, 1, 1}, {64, 1, 1}, {128, 1, 1},
      {2, 0, 0},   // still shared
      {1, 2, 1},   // the eighth entry grows the block again
  };
  __glInitLUTCache(gc());
  std::vector<GlSpecLUT *> held;
  for (const Step &s : steps) {
    SCOPED_TRACE(s.exponent);
    const int allocations = CountingImports::allocations(), live = ServiceContext::Live();
    held.push_back(__glCreateSpecLUT(gc(), s.exponent));
    ASSERT_NE(held.back(), nullptr);
    EXPECT_EQ(CountingImports::allocations() - allocations, s.allocations);
    EXPECT_EQ(ServiceContext::Live() - live, s.blocks);
  }
  for (GlSpecLUT *t : held) __glFreeSpecLUT(gc(), t);
}

// Once the cache has grown past 32 entries it does not shrink back: each new
// exponent evicts one table only the cache holds, and an evicted exponent
// asked for again is built anew with the same entries.
TEST_F(SpecLut, PastThirtyTwoEachNewExponentEvictsOne) {
  __glInitLUTCache(gc());
  std::vector<GlSpecLUT *> held;
  for (int n = 1; n <= 34; ++n) held.push_back(__glCreateSpecLUT(gc(), static_cast<float>(n)));
  ASSERT_EQ(cache()->count, 34);
  std::vector<float> firstEntries(held[2]->table, held[2]->table + 256);
  for (int n : {3, 20, 30}) __glFreeSpecLUT(gc(), held[n - 1]);
  struct Step {
    float exponent, evicted;
  } steps[] = {{50, 3}, {51, 20}, {3, 30}};
  for (const Step &s : steps) {
    SCOPED_TRACE(s.exponent);
    const int live = ServiceContext::Live();
    GlSpecLUT *t = __glCreateSpecLUT(gc(), s.exponent);
    ASSERT_NE(t, nullptr);
    held.push_back(t);
    EXPECT_EQ(cache()->count, 34) << "one out, one in";
    EXPECT_EQ(ServiceContext::Live(), live) << "one table freed, one made";
    for (float x : Exponents()) EXPECT_NE(x, s.evicted);
    ExpectConsistent();
  }
  GlSpecLUT *again = held.back();
  EXPECT_EQ(again->exponent, 3.0f);
  EXPECT_TRUE(std::equal(firstEntries.begin(), firstEntries.end(), again->table));
  // With nothing left that only the cache holds, the next one grows it.
  EXPECT_NE(__glCreateSpecLUT(gc(), 60.0f), nullptr);
  EXPECT_EQ(cache()->count, 35);
  held.push_back(cache()->entries[cache()->count - 1].table);
  for (size_t i = 0; i < held.size(); ++i) {
    if (i == 2 || i == 19 || i == 29) continue;  // given back above, and evicted since
    __glFreeSpecLUT(gc(), held[i]);
  }
}

TEST_F(SpecLut, RefusedMemoryGivesNullAndLeavesTheCacheWhole) {
  struct Case {
    const char *what;
    bool resetHasCache;  // whether the soft reset got its block
    int before;          // distinct exponents 1 .. before already cached
    int refuse;          // allocation refused, counted from the request
    bool hasCacheAfter;
  } cases[] = {
      {"the reset's block refused, the request's block too", false, 0, 1, false},
      {"the reset's block refused, the request makes it", false, 0, 2, true},
      {"the table refused, the block had room", true, 0, 1, true},
      {"the growth refused", true, 1, 1, true},
      {"the table refused after the growth", true, 1, 2, true},
      {"the table refused after an eviction", true, 32, 1, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    if (!c.resetHasCache) CountingImports::failAllocation(1);
    __glInitLUTCache(gc());
    CountingImports::failAllocation(0);
    ASSERT_EQ(cache() != nullptr, c.resetHasCache);
    std::vector<GlSpecLUT *> kept;
    for (int n = 1; n <= c.before; ++n) {
      GlSpecLUT *t = __glCreateSpecLUT(gc(), static_cast<float>(n));
      ASSERT_NE(t, nullptr);
      if (n == 1 && c.before == 32) {
        __glFreeSpecLUT(gc(), t);  // exponent 1 is held only by the cache
      } else {
        kept.push_back(t);
      }
    }
    CountingImports::failAllocation(c.refuse);
    EXPECT_EQ(__glCreateSpecLUT(gc(), 100.0f), nullptr);
    CountingImports::failAllocation(0);
    EXPECT_EQ(cache() != nullptr, c.hasCacheAfter);
    if (cache() != nullptr) {
      ExpectConsistent();
      for (float x : Exponents()) EXPECT_NE(x, 100.0f);
      EXPECT_EQ(cache()->count, static_cast<int>(kept.size()));
    }
    // Every table is still found, and the failed exponent can be had now.
    for (GlSpecLUT *t : kept) {
      EXPECT_EQ(__glCreateSpecLUT(gc(), t->exponent), t);
      __glFreeSpecLUT(gc(), t);
      __glFreeSpecLUT(gc(), t);
    }
    GlSpecLUT *late = __glCreateSpecLUT(gc(), 100.0f);
    ASSERT_NE(late, nullptr);
    ExpectConsistent();
    __glFreeSpecLUT(gc(), late);
    __glFreeLUTCache(gc());
    EXPECT_EQ(ServiceContext::Live(), start);
  }
}

}  // namespace
