// The context's cache of specular and spotlight power tables, sorted by
// exponent and shared by every holder of the same exponent.
//
// Memory failures leave the cache as it was (apart from an eviction already
// made) and give the caller null.
//
// Counts change atomically: display lists shared between contexts hold
// tables of one context's cache while other threads take and drop
// references to them. Only the cache's own context evicts, and it takes a
// table only by moving its count from 1 (the cache alone) to 0. The cache block is made by the soft reset;
// when that allocation fails the first table request makes it instead.
#include "geometry/s_lcache.h"

#include <math.h>
#include <stddef.h>
#include <string.h>

#include <atomic>

#include "core/context.h"
#include "core/gl_assert.h"

#define LUT_ASSERT(condition, text) __GL_ASSERT(condition, text, "s_lcache")

namespace {

std::atomic_ref<int32_t> Count(GlSpecLUT *table) { return std::atomic_ref<int32_t>(table->refcount); }

// Tables held by nobody but the cache are kept up to this many.
constexpr int32_t kKeptTables = 32;
constexpr int32_t kGrowth = 6;

size_t CacheBytes(int32_t capacity) {
  return offsetof(GlSpecLUTCache, entries) + sizeof(GlSpecLUTEntry) * capacity;
}

GlSpecLUTCache *NewCache(GlContext *gc) {
  auto *cache = static_cast<GlSpecLUTCache *>(gc->imports.malloc(gc, CacheBytes(1)));
  if (cache == nullptr) return nullptr;
  cache->count = 0;
  cache->capacity = 1;
  return cache;
}

// Exponents in a total order, so that a NaN exponent cannot unsort the
// cache: NaNs are equal to each other and sort after every number.
bool SameExponent(GLfloat a, GLfloat b) { return a == b || (a != a && b != b); }
bool LessExponent(GLfloat a, GLfloat b) { return a < b || (a == a && b != b); }

// Binary search: the table of the exponent, or null with *location set to
// where it would go.
GlSpecLUT *FindEntry(const GlSpecLUTCache *cache, int32_t *location, GLfloat exponent) {
  int32_t lo = 0, hi = cache->count;
  while (lo < hi) {
    int32_t mid = (lo + hi) / 2;
    GLfloat here = cache->entries[mid].exponent;
    if (SameExponent(here, exponent)) {
      *location = mid;
      return cache->entries[mid].table;
    }
    if (LessExponent(here, exponent)) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  *location = lo;
  return nullptr;
}

// Frees the first table (smallest exponent) that only the cache holds.
bool EvictOne(GlContext *gc, GlSpecLUTCache *cache) {
  for (int32_t i = 0; i < cache->count; ++i) {
    GlSpecLUT *table = cache->entries[i].table;
    int32_t held = 1;
    if (!Count(table).compare_exchange_strong(held, 0)) {
      LUT_ASSERT(held != 0, "table->refcount != 0");
      continue;
    }
    memmove(&cache->entries[i], &cache->entries[i + 1],
            sizeof(GlSpecLUTEntry) * (cache->count - i - 1));
    cache->count--;
    gc->imports.free(gc, table);
    return true;
  }
  return false;
}

// Room for one more entry; false (cache unchanged) when memory runs out.
bool MakeRoom(GlContext *gc, GlSpecLUTCache **cache) {
  if ((*cache)->count < (*cache)->capacity) return true;
  int32_t capacity = (*cache)->capacity + kGrowth;
  auto *grown =
      static_cast<GlSpecLUTCache *>(gc->imports.realloc(gc, *cache, CacheBytes(capacity)));
  if (grown == nullptr) return false;
  grown->capacity = capacity;
  gc->light.lutCache = grown;
  *cache = grown;
  return true;
}

// Entry k is (threshold + k / scale)^n, worked in double precision.
void FillTable(GlSpecLUT *lut, GLfloat exponent) {
  double n = exponent;
  double threshold = n == 0.0 ? 0.0 : pow(0.0007, 1.0 / n);
  double scale = 255.0 / (1.0 - threshold);
  double step = 1.0 / scale;
  double x = threshold;
  for (int k = 0; k < 256; ++k) {
    lut->table[k] = static_cast<GLfloat>(pow(x, n));
    x += step;
  }
  lut->threshold = static_cast<GLfloat>(threshold);
  lut->scale = static_cast<GLfloat>(scale);
  lut->exponent = exponent;
  lut->refcount = 2;  // the cache and the caller
}

}  // namespace

void __glInitLUTCache(GlContext *gc) {
  if (gc->light.lutCache == nullptr) gc->light.lutCache = NewCache(gc);
}

GlSpecLUT *__glCreateSpecLUT(GlContext *gc, GLfloat exponent) {
  GlSpecLUTCache *cache = gc->light.lutCache;
  if (cache == nullptr) {
    cache = NewCache(gc);
    if (cache == nullptr) return nullptr;
    gc->light.lutCache = cache;
  }
  int32_t location;
  GlSpecLUT *table = FindEntry(cache, &location, exponent);
  if (table != nullptr) {
    Count(table).fetch_add(1);
    return table;
  }
  if (cache->count >= kKeptTables && EvictOne(gc, cache)) {
    table = FindEntry(cache, &location, exponent);
    LUT_ASSERT(table == nullptr, "table == NULL");
  }
  if (!MakeRoom(gc, &cache)) return nullptr;
  table = static_cast<GlSpecLUT *>(gc->imports.malloc(gc, sizeof(GlSpecLUT)));
  if (table == nullptr) return nullptr;
  FillTable(table, exponent);
  LUT_ASSERT(cache->count >= location, "nentries > location");
  memmove(&cache->entries[location + 1], &cache->entries[location],
          sizeof(GlSpecLUTEntry) * (cache->count - location));
  cache->entries[location].exponent = exponent;
  cache->entries[location].table = table;
  cache->count++;
  return table;
}

void __glHoldSpecLUT(GlSpecLUT *table) { Count(table).fetch_add(1); }

void __glFreeSpecLUT(GlContext *gc, GlSpecLUT *table) {
  if (table == nullptr) return;
  const int32_t was = Count(table).fetch_sub(1);
  LUT_ASSERT(was != 0, "lut->refcount != 0");
  if (was <= 1) gc->imports.free(gc, table);
}

void __glFreeLUTCache(GlContext *gc) {
  GlSpecLUTCache *cache = gc->light.lutCache;
  if (cache == nullptr) return;
  for (int32_t i = 0; i < cache->count; ++i) __glFreeSpecLUT(gc, cache->entries[i].table);
  gc->imports.free(gc, cache);
  gc->light.lutCache = nullptr;
}
