#include "tests/codegen/cache/cache_support.h"

#include <stdlib.h>

#include <map>
#include <mutex>

#include "core/s_context.h"
#include "platform/control.h"
#include "platform/kernel.h"
#include "tests/support/counting_imports.h"

namespace cache_test {

const char kSwitch[] = "__GL_DISABLE_OG_CACHE";

namespace {

std::mutex gMu;
std::map<const void *, size_t> gSizes;
std::vector<const void *> gOrder;

void Remember(const void *block, size_t size) {
  std::lock_guard<std::mutex> hold(gMu);
  gOrder.push_back(block);
  if (block) gSizes[block] = size;
}

// Only calls the counting allocator numbers are remembered in the order.
void RememberIfNumbered(int numbered, void *block, size_t size) {
  if (CountingImports::allocations() != numbered) Remember(block, size);
}

void *Malloc(GlContext *gc, size_t size) {
  const int numbered = CountingImports::allocations();
  void *block = CountingImports::imports.malloc(gc, size);
  RememberIfNumbered(numbered, block, size);
  return block;
}

void *Calloc(GlContext *gc, size_t count, size_t size) {
  const int numbered = CountingImports::allocations();
  void *block = CountingImports::imports.calloc(gc, count, size);
  RememberIfNumbered(numbered, block, count * size);
  return block;
}

void *Realloc(GlContext *gc, void *old, size_t size) {
  const int numbered = CountingImports::allocations();
  void *block = CountingImports::imports.realloc(gc, old, size);
  RememberIfNumbered(numbered, block, size);
  return block;
}

GlImports SizedImports() {
  GlImports imports = CountingImports::imports;
  imports.malloc = Malloc;
  imports.calloc = Calloc;
  imports.realloc = Realloc;
  return imports;
}

}  // namespace

GlContext *NewBareContext() {
  GlContext *gc = static_cast<GlContext *>(calloc(1, sizeof(GlContext)));
  gc->imports = SizedImports();
  return gc;
}

void DeleteBareContext(GlContext *gc) { free(gc); }

GlContext *CreateContext() {
  const GlImports imports = SizedImports();
  const GlModes modes = TestModes();
  return __glCoreCreateContext(&imports, &modes);
}

void DestroyContext(GlContext *gc) { gc->exports.destroyContext(gc); }

size_t BlockSize(const void *block) {
  std::lock_guard<std::mutex> hold(gMu);
  auto it = gSizes.find(block);
  return it == gSizes.end() ? 0 : it->second;
}

std::vector<const void *> Allocations() {
  std::lock_guard<std::mutex> hold(gMu);
  return gOrder;
}

unsigned LiveCodeSpaces() { return PlatformGetHeapStats().liveVirtual; }

std::vector<OgCacheCell *> ListOf(const OgCodeCache &cache, size_t limit) {
  std::vector<OgCacheCell *> cells;
  for (OgCacheCell *cell = cache.codeList; cell && cells.size() < limit; cell = cell->next)
    cells.push_back(cell);
  return cells;
}

Lookup Find(OgCodeCache *cache, uint32_t key1, uint32_t key2) {
  Lookup l{};
  void *code = nullptr;
  l.hit = __glAllocCodeSpace(cache, key1, key2, &l.info, &code) != 0;
  l.code = static_cast<uint8_t *>(code);
  return l;
}

std::vector<CacheOfContext> CachesOf(GlContext *gc) {
  const GlConstants &c = gc->constants;
  return {
      {"texel read", &gc->textureReadCache, c.textureReadCacheCount, c.textureReadCacheSize},
      {"depth test", &gc->depthTestCache, c.depthTestCacheCount, c.depthTestCacheSize},
      {"triangle setup", &gc->triSetupCache, c.triSetupCacheCount, c.triSetupCacheSize},
      {"triangle raster", &gc->triRasterCache, c.triRasterCacheCount, c.triRasterCacheSize},
      {"strip drawVertexes", &gc->drawVertexesCache, c.drawVertexesCacheCount,
       c.drawVertexesCacheSize},
  };
}

void CacheTest::SetUp() {
  CountingImports::reset();
  PlatformClearFaults();
  {
    std::lock_guard<std::mutex> hold(gMu);
    gSizes.clear();
    gOrder.clear();
  }
  SetEnvironmentVariableA(kSwitch, nullptr);
  codeSpacesBefore = LiveCodeSpaces();
}

void CacheTest::TearDown() {
  PlatformClearFaults();
  EXPECT_EQ(CountingImports::live(), 0) << "blocks left allocated";
  EXPECT_EQ(LiveCodeSpaces(), codeSpacesBefore) << "code spaces left allocated";
}

}  // namespace cache_test
