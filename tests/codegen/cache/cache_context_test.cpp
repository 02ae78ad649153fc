// The five code caches of a context made by the core's creator: their sizes,
// executable slices, the setup data block, invalidation, and creation that
// fails cleanly when memory is refused.
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/kernel.h"
#include "tests/codegen/cache/cache_support.h"
#include "tests/support/counting_imports.h"

namespace cache_test {
namespace {

class ContextCaches : public CacheTest {};

TEST_F(ContextCaches, FiveCachesOfTheirSizesAndTheSetupData) {
  GlContext *gc = CreateContext();
  ASSERT_NE(gc, nullptr);
  const std::vector<CacheOfContext> caches = CachesOf(gc);
  const uint32_t expected[][2] = {{4, 1024}, {4, 256}, {40, 4096}, {40, 16384}, {20, 1024}};
  for (size_t c = 0; c < caches.size(); c++) {
    const CacheOfContext &k = caches[c];
    SCOPED_TRACE(k.name);
    EXPECT_EQ(k.count, expected[c][0]);
    EXPECT_EQ(k.size, expected[c][1]);
    EXPECT_EQ(BlockSize(k.cache->codeInfo), k.count * sizeof(OgCacheCell));
    const std::vector<OgCacheCell *> cells = ListOf(*k.cache, k.count + 1);
    ASSERT_EQ(cells.size(), k.count);
    for (size_t i = 0; i < cells.size(); i++) {
      const uint32_t index = k.count - 1 - uint32_t(i);
      ASSERT_EQ(cells[i], &k.cache->codeInfo[index]) << "place " << i;
      EXPECT_EQ(cells[i]->key1, OG_CACHE_EMPTY);
      EXPECT_EQ(cells[i]->code, k.cache->codeSpace + size_t(index) * k.size);
    }
    DWORD old = 0;
    ASSERT_TRUE(
        VirtualProtect(k.cache->codeSpace, size_t(k.count) * k.size, PAGE_EXECUTE_READWRITE, &old));
    EXPECT_EQ(old, DWORD(PAGE_EXECUTE_READWRITE)) << "code space is executable";
  }
  ASSERT_NE(gc->triSetupData, nullptr);
  EXPECT_EQ(BlockSize(gc->triSetupData), 2048u);
  DestroyContext(gc);
}

// mov eax, value; ret
void WriteReturn(uint8_t *at, uint32_t value) {
  at[0] = 0xB8;
  memcpy(at + 1, &value, 4);
  at[5] = 0xC3;
}

uint32_t Call(const uint8_t *at) { return reinterpret_cast<uint32_t (*)()>(at)(); }

// Every slice runs code at its first and its last bytes.
TEST_F(ContextCaches, RoutinesRunFromEverySlice) {
  GlContext *gc = CreateContext();
  ASSERT_NE(gc, nullptr);
  for (const CacheOfContext &k : CachesOf(gc)) {
    SCOPED_TRACE(k.name);
    for (uint32_t i = 0; i < k.count; i++) {
      uint8_t *code = k.cache->codeInfo[i].code;
      WriteReturn(code, 0x1000 + i);
      WriteReturn(code + k.size - 6, 0x2000 + i);
    }
    for (uint32_t i = 0; i < k.count; i++) {
      const uint8_t *code = k.cache->codeInfo[i].code;
      ASSERT_EQ(Call(code), 0x1000 + i) << "cell " << i;
      ASSERT_EQ(Call(code + k.size - 6), 0x2000 + i) << "cell " << i;
    }
  }
  DestroyContext(gc);
}

// Cells are never shared: generated code holds its own context's addresses.
TEST_F(ContextCaches, EveryContextHasItsOwnCaches) {
  GlContext *a = CreateContext();
  GlContext *b = CreateContext();
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  const std::vector<CacheOfContext> ca = CachesOf(a), cb = CachesOf(b);
  for (size_t c = 0; c < ca.size(); c++) {
    EXPECT_NE(ca[c].cache->codeSpace, cb[c].cache->codeSpace) << ca[c].name;
    EXPECT_NE(ca[c].cache->codeInfo, cb[c].cache->codeInfo) << ca[c].name;
  }
  EXPECT_NE(a->triSetupData, b->triSetupData);
  EXPECT_FALSE(Find(&a->triRasterCache, 1, 2).hit);
  EXPECT_FALSE(Find(&b->triRasterCache, 1, 2).hit) << "a key seen by one context only";
  DestroyContext(a);
  DestroyContext(b);
}

TEST_F(ContextCaches, InvalidationDropsOnlyTheTriangleRoutines) {
  GlContext *gc = CreateContext();
  ASSERT_NE(gc, nullptr);
  const std::vector<CacheOfContext> caches = CachesOf(gc);
  for (const CacheOfContext &k : caches)
    for (uint32_t key = 1; key <= 3; key++) ASSERT_FALSE(Find(k.cache, key, 7).hit) << k.name;
  __glInvalidateCodeCache(gc);
  const bool keeps[] = {true, true, false, false, true};
  for (size_t c = 0; c < caches.size(); c++) {
    SCOPED_TRACE(caches[c].name);
    for (uint32_t key = 1; key <= 3; key++)
      EXPECT_EQ(Find(caches[c].cache, key, 7).hit, keeps[c]) << "key " << key;
    for (uint32_t key = 1; key <= 3; key++)
      EXPECT_TRUE(Find(caches[c].cache, key, 7).hit) << "made again: key " << key;
  }
  DestroyContext(gc);
}

// Refusing each executable-memory request of creation in turn: creation
// gives null and leaves no block and no code space behind.
TEST_F(ContextCaches, CreationFailsCleanlyWhenExecutableMemoryIsRefused) {
  int refused = 0;
  for (unsigned skip = 0;; skip++) {
    SCOPED_TRACE("request " + std::to_string(skip + 1));
    PlatformClearFaults();
    PlatformArmFault({"VirtualAlloc", nullptr, skip, 1, 0});
    GlContext *gc = CreateContext();
    const bool fired = PlatformFaultsFired("VirtualAlloc") != 0;
    PlatformClearFaults();
    if (!fired) {
      ASSERT_NE(gc, nullptr);
      DestroyContext(gc);
      break;
    }
    EXPECT_EQ(gc, nullptr);
    if (gc) DestroyContext(gc);
    refused++;
    ASSERT_EQ(CountingImports::live(), 0);
    ASSERT_EQ(LiveCodeSpaces(), codeSpacesBefore);
  }
  EXPECT_GE(refused, 6) << "one code space per cache and the work block";
}

// Refusing each allocation of creation in turn leaves nothing behind either,
// and refusing the cells of any cache or the setup data fails creation.
TEST_F(ContextCaches, CreationFailsCleanlyAtEveryAllocation) {
  GlContext *gc = CreateContext();
  ASSERT_NE(gc, nullptr);
  const std::vector<const void *> made = Allocations();
  std::vector<size_t> mustFail;
  for (const CacheOfContext &k : CachesOf(gc))
    mustFail.push_back(std::find(made.begin(), made.end(), k.cache->codeInfo) - made.begin());
  mustFail.push_back(std::find(made.begin(), made.end(), gc->triSetupData) - made.begin());
  for (size_t at : mustFail) ASSERT_LT(at, made.size()) << "a block from the context's allocator";
  DestroyContext(gc);

  for (size_t n = 1; n <= made.size(); n++) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(made.size()));
    CountingImports::failAllocation(int(n));
    gc = CreateContext();
    CountingImports::failAllocation(0);
    if (std::find(mustFail.begin(), mustFail.end(), n - 1) != mustFail.end()) {
      EXPECT_EQ(gc, nullptr);
    }
    if (gc) DestroyContext(gc);
    ASSERT_EQ(CountingImports::live(), 0);
    ASSERT_EQ(LiveCodeSpaces(), codeSpacesBefore);
  }
}

}  // namespace
}  // namespace cache_test
