// "__GL_DISABLE_OG_CACHE": read again whenever a cache is made, five times
// for each context, and what lookups do while caching is off. The switch is
// process-wide, so these tests run in a program of their own.
#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/kernel.h"
#include "tests/codegen/cache/cache_support.h"
#include "tests/support/counting_imports.h"

namespace cache_test {
namespace {

// A bare context to make single caches on, each of which reads the switch.
class Switch : public CacheTest {
 protected:
  void TearDown() override {
    ReleaseAll();
    DeleteBareContext(gc);
    CacheTest::TearDown();
  }
  // Sets the variable (null: removes it) and makes a cache, which reads it.
  OgCodeCache *MakeWith(const char *value) {
    EXPECT_TRUE(SetEnvironmentVariableA(kSwitch, value));
    OgCodeCache *cache = &caches[made++];  // at most four at a time
    EXPECT_TRUE(__glDoInitializeCodeCache(gc, cache, 4, 32));
    return cache;
  }
  void ReleaseAll() {
    for (OgCodeCache &cache : caches) __glDoReleaseCodeCache(gc, &cache);
    made = 0;
  }
  // Caching is off when a key just looked up is not found again.
  static bool CachingOff(OgCodeCache *cache) {
    Find(cache, 0x51, 0x52);
    return !Find(cache, 0x51, 0x52).hit;
  }

  GlContext *gc = NewBareContext();
  OgCodeCache caches[4] = {};
  size_t made = 0;
};

TEST_F(Switch, ValueTurnsCachingOffWhenItsNumberIsNotZero) {
  const std::string longOne = std::string(100, ' ') + "1";
  const std::string longZero(100, '0');
  const struct Case {
    bool before;
    const char *value;  // null: absent
    bool off;
  } cases[] = {
      {false, "1", true},
      {false, "7", true},
      {false, " 12", true},
      {false, "-3", true},
      {false, "+5x", true},
      {false, "12abc", true},
      {false, "99999999999999999999", true},
      {false, longOne.c_str(), true},
      {true, "0", false},
      {true, "", false},
      {true, "abc", false},
      {true, "00", false},
      {true, "-0", false},
      {true, "0x10", false},
      {true, " 0 1", false},
      {true, longZero.c_str(), false},
      {true, nullptr, true},
      {false, nullptr, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string(c.before ? "off" : "on") + " before, value \"" +
                 (c.value ? c.value : "(absent)") + "\"");
    MakeWith(c.before ? "1" : "0");
    OgCodeCache *cache = MakeWith(c.value);
    EXPECT_EQ(CachingOff(cache), c.off);
    ReleaseAll();
  }
}

// Each cache of a context reads the variable: with the first reads failing
// (an absent variable) the last one still decides.
TEST_F(Switch, EveryCacheOfAContextReadsTheVariable) {
  const struct Case {
    unsigned failedReads;
    bool off;
  } cases[] = {{0, true}, {4, true}, {5, false}};
  for (const Case &c : cases) {
    SCOPED_TRACE(std::to_string(c.failedReads) + " reads failed");
    MakeWith("0");
    SetEnvironmentVariableA(kSwitch, "1");
    PlatformClearFaults();
    if (c.failedReads) PlatformArmFault({"GetEnvironmentVariableA", kSwitch, 0, c.failedReads, 0});
    GlContext *context = CreateContext();
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(PlatformFaultsFired("GetEnvironmentVariableA"), c.failedReads);
    PlatformClearFaults();
    EXPECT_EQ(CachingOff(&context->depthTestCache), c.off);
    DestroyContext(context);
    ReleaseAll();
  }
  // Five reads, no more: a sixth failure stays armed and unused.
  PlatformArmFault({"GetEnvironmentVariableA", kSwitch, 0, 0, 0});
  GlContext *context = CreateContext();
  ASSERT_NE(context, nullptr);
  EXPECT_EQ(PlatformFaultsFired("GetEnvironmentVariableA"), 5u);
  DestroyContext(context);
}

TEST_F(Switch, OffEveryLookupMissesOnTheFrontSlice) {
  SetEnvironmentVariableA(kSwitch, "1");
  GlContext *context = CreateContext();
  ASSERT_NE(context, nullptr);
  for (const CacheOfContext &k : CachesOf(context)) {
    SCOPED_TRACE(k.name);
    const std::vector<OgCacheCell *> order = ListOf(*k.cache, k.count + 1);
    const uint32_t keys[][2] = {{1, 1}, {1, 1}, {2, 3}, {0, 0}, {1, 1}, {OG_CACHE_EMPTY, 0}};
    for (const auto &key : keys) {
      const Lookup l = Find(k.cache, key[0], key[1]);
      EXPECT_FALSE(l.hit);
      EXPECT_EQ(l.code, order.front()->code);
      EXPECT_EQ(l.info, &order.front()->info);
    }
    EXPECT_EQ(ListOf(*k.cache, k.count + 1), order) << "the order is left alone";
  }
  DestroyContext(context);
}

// A routine rewritten while caching was off must not be found under the
// keys its cell had before, once caching is on again; the routines of the
// other cells stay.
TEST_F(Switch, SliceRewrittenWhileOffIsNotFoundUnderItsOldKeys) {
  OgCodeCache *cache = MakeWith("0");
  const Lookup older = Find(cache, 1, 1);
  memset(older.code, 0x11, 32);
  const Lookup first = Find(cache, 2, 2);
  memset(first.code, 0x22, 32);
  ASSERT_TRUE(Find(cache, 2, 2).hit);

  MakeWith("1");
  const Lookup off = Find(cache, 3, 3);
  ASSERT_FALSE(off.hit);
  ASSERT_EQ(off.code, first.code) << "the front cell is rewritten";
  memset(off.code, 0x33, 32);

  MakeWith("0");
  const Lookup again = Find(cache, 2, 2);
  EXPECT_FALSE(again.hit) << "its slice holds another routine now";
  const Lookup kept = Find(cache, 1, 1);
  EXPECT_TRUE(kept.hit);
  EXPECT_EQ(kept.code, older.code);
  EXPECT_EQ(kept.code[0], 0x11);
}

// Making caches keeps the application's last-error value, whatever the
// variable holds.
TEST_F(Switch, LastErrorIsKept) {
  const std::string longValue(200, '1');
  const char *values[] = {nullptr, "", "1", "0", longValue.c_str()};
  for (const char *value : values) {
    SCOPED_TRACE(value ? value : "(absent)");
    SetEnvironmentVariableA(kSwitch, value);
    SetLastError(1234);
    OgCodeCache cache{};
    ASSERT_TRUE(__glDoInitializeCodeCache(gc, &cache, 2, 16));
    EXPECT_EQ(GetLastError(), 1234u);
    __glDoReleaseCodeCache(gc, &cache);
  }
}

// A value too long for the first reading takes a block of its own; without
// it the cache is not made and nothing is left over.
TEST_F(Switch, LongValueWithoutMemoryFailsTheCache) {
  SetEnvironmentVariableA(kSwitch, std::string(300, '0').c_str());
  CountingImports::failAllocation(1);
  OgCodeCache cache{};
  EXPECT_FALSE(__glDoInitializeCodeCache(gc, &cache, 2, 16));
  CountingImports::failAllocation(0);
  __glDoReleaseCodeCache(gc, &cache);
  EXPECT_EQ(cache.codeInfo, nullptr);
}

}  // namespace
}  // namespace cache_test
