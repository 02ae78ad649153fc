// What the code-cache tests share: contexts on the counting allocator (a bare
// record for single caches, or one made by the core's creator), the sizes of
// the blocks they got, a walk of a cache's list, and a fixture that expects
// nothing left allocated, on the heap or in executable memory.
#pragma once

#include <gtest/gtest.h>

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "codegen/og_cache.h"
#include "core/context.h"

namespace cache_test {

// A zeroed context record whose imports are the counting allocator's; enough
// for caches made one at a time.
GlContext *NewBareContext();
void DeleteBareContext(GlContext *gc);

// A context from the core's creator (null when creation fails) and its end.
GlContext *CreateContext();
void DestroyContext(GlContext *gc);

// Bytes of a block the allocator handed out since the fixture began; 0 when
// it did not hand it out.
size_t BlockSize(const void *block);
// What each allocation call gave since the fixture began, in order (null
// for a refused one): entry n - 1 is the allocation CountingImports numbers n.
std::vector<const void *> Allocations();
// VirtualAlloc allocations not yet released.
unsigned LiveCodeSpaces();

// The cells on the list, front first; stops after `limit` cells so a broken
// (circular) list still ends.
std::vector<OgCacheCell *> ListOf(const OgCodeCache &cache, size_t limit);
// The index of a cell in the cache's array.
inline ptrdiff_t IndexOf(const OgCodeCache &cache, const OgCacheCell *cell) {
  return cell - cache.codeInfo;
}

// The result of one lookup.
struct Lookup {
  bool hit;
  uint8_t *code;
  OgNameSpace *info;
};
Lookup Find(OgCodeCache *cache, uint32_t key1, uint32_t key2);

// One code-cache field of the context with the sizes the constants give it.
struct CacheOfContext {
  const char *name;
  OgCodeCache *cache;
  uint32_t count;
  uint32_t size;
};
std::vector<CacheOfContext> CachesOf(GlContext *gc);

// The switch variable of the caches.
extern const char kSwitch[];

// Counters start at zero, no fault is armed and the switch variable is
// absent; at the end every block and every code space is given back.
class CacheTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  unsigned codeSpacesBefore = 0;
};

}  // namespace cache_test
