// Making and freeing the code caches and the setup data block. The cells
// come from the context's allocator; the code space is executable memory
// from the platform, which the context's allocator does not promise.
#include "codegen/og_cache.h"

#include "codegen/og_cache_switch.h"
#include "core/context.h"
#include "core/gl_assert.h"
#include "platform/kernel.h"

namespace {

constexpr int kCacheCount = 5;

OgCodeCache *Caches(GlContext *gc, int i) {
  OgCodeCache *caches[kCacheCount] = {&gc->textureReadCache, &gc->depthTestCache,
                                       &gc->triSetupCache, &gc->triRasterCache,
                                       &gc->drawVertexesCache};
  return caches[i];
}

}  // namespace

GLbool8 __glDoInitializeCodeCache(GlContext *gc, OgCodeCache *cache, uint32_t count,
                                  uint32_t size) {
  if (!og::ReadCacheSwitch(gc)) return 0;
  __GL_ASSERT(NULL == cache->codeInfo, "NULL == cache->codeInfo", "og_cache");
  __GL_ASSERT(NULL == cache->codeSpace, "NULL == cache->codeSpace", "og_cache");
  if (count == 0 || size == 0 || count > SIZE_MAX / sizeof(OgCacheCell) || size > SIZE_MAX / count)
    return 0;
  cache->codeInfo = static_cast<OgCacheCell *>(gc->imports.malloc(gc, count * sizeof(OgCacheCell)));
  if (cache->codeInfo == nullptr) return 0;
  cache->codeSpace = static_cast<uint8_t *>(VirtualAlloc(
      nullptr, size_t(count) * size, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
  if (cache->codeSpace == nullptr) return 0;

  // Each cell goes to the front in turn, so the list runs from the last cell
  // down to cell 0.
  cache->codeList = nullptr;
  for (uint32_t i = 0; i < count; i++) {
    OgCacheCell *cell = &cache->codeInfo[i];
    cell->key1 = OG_CACHE_EMPTY;
    cell->key2 = 0;
    cell->code = cache->codeSpace + size_t(i) * size;
    cell->next = cache->codeList;
    cache->codeList = cell;
  }
  return 1;
}

GLbool8 __glInitializeCodeCache(GlContext *gc) {
  const GlConstants &c = gc->constants;
  const uint32_t sizes[kCacheCount][2] = {
      {c.textureReadCacheCount, c.textureReadCacheSize},
      {c.depthTestCacheCount, c.depthTestCacheSize},
      {c.triSetupCacheCount, c.triSetupCacheSize},
      {c.triRasterCacheCount, c.triRasterCacheSize},
      {c.drawVertexesCacheCount, c.drawVertexesCacheSize},
  };
  for (int i = 0; i < kCacheCount; i++)
    if (!__glDoInitializeCodeCache(gc, Caches(gc, i), sizes[i][0], sizes[i][1])) return 0;
  __GL_ASSERT(NULL == gc->triSetupData, "NULL == gc->triSetupData", "og_cache");
  if (c.triSetupDataSize == 0) return 0;
  gc->triSetupData = static_cast<uint8_t *>(gc->imports.malloc(gc, c.triSetupDataSize));
  return gc->triSetupData != nullptr;
}

void __glDoReleaseCodeCache(GlContext *gc, OgCodeCache *cache) {
  if (cache->codeInfo) gc->imports.free(gc, cache->codeInfo);
  if (cache->codeSpace) VirtualFree(cache->codeSpace, 0, MEM_RELEASE);
  cache->codeInfo = nullptr;
  cache->codeSpace = nullptr;
  cache->codeList = nullptr;
}

void __glReleaseCodeCache(GlContext *gc) {
  for (int i = 0; i < kCacheCount; i++) __glDoReleaseCodeCache(gc, Caches(gc, i));
  if (gc->triSetupData) gc->imports.free(gc, gc->triSetupData);
  gc->triSetupData = nullptr;
}
