// The geometry cache: the forty work records hold generated vertex routines
// under keys of the state each was made for. A hit on the latest cell is
// the common case; a miss draws a victim at random, never one of the
// compile routines now installed, since those may be running their caller.
#include <string.h>

#include "codegen/og_geom.h"
#include "core/context.h"
#include "core/gl_assert.h"

namespace {

// The inputs of what_needs that the words above leave out: the type of the
// modelview's inverse transpose, the local viewer, and which enabled lights
// need the general lighting procedure.
uint32_t LightingInputs(const GlContext *gc) {
  uint32_t general = 0;
  for (const GlLightCache *l = gc->light.sources; l; l = l->next)
    if (l->slowPath) general |= 1u << uint32_t(l - gc->light.lightCaches);
  const GlTransform *mv = gc->transform.modelView;
  const uint32_t itType = mv ? mv->inverseTranspose.matrixType & 0xFFu : 0;
  return itType | uint32_t(gc->state.light.model.localViewer != 0) << 8 | general << 16;
}

bool Installed(const GlContext *gc, const uint8_t *code) {
  const void *c = code;
  for (GlCompileProc p : gc->vcache.compile)
    if (reinterpret_cast<const void *>(p) == c) return true;
  return reinterpret_cast<const void *>(gc->vertexArray.compileProc) == c;
}

bool Holds(const GlWorkRecord *cell, const uint32_t *key, uint32_t length) {
  return cell->keyLength == length && memcmp(cell->key, key, length) == 0;
}

}  // namespace

uint32_t make_key(uint32_t *key, GlContext *gc, uint32_t flags, uint32_t n) {
  const GlVertexArrayMachine &va = gc->vertexArray;
  const GlTransform *mv = gc->transform.modelView;
  const GlPolygonMachine &poly = gc->polygon;
  const bool ci = gc->modes.colorIndexMode != 0;
  uint32_t i = 0;
  key[i++] = flags;
  key[i++] = va.flags;
  key[i++] = uint32_t(va.arrays[__GL_VARRAY_VERTEX].stride);
  key[i++] = uint32_t(uintptr_t(mv));
  key[i++] = mv ? mv->mvp.matrixType : 0;
  key[i++] = n;
  key[i++] = gc->vertexBuffer.baseNeeds | gc->vertexBuffer.frontNeeds;
  key[i++] = gc->state.enables.lights;
  key[i++] = gc->state.enables.clipPlanes;
  key[i++] = uint32_t(va.cursor);
  key[i++] = ci ? 1u : 0u;
  key[i++] = poly.shader.modeFlags;
  key[i++] = gc->state.enables.general;
  key[i++] = uint32_t(uintptr_t(gc->light.sources));
  key[i++] = uint32_t(uintptr_t(gc->light.materialCache[0].specTable));
  key[i++] = poly.mode[__GL_FRONTFACE_INDEX] != __GL_POLYGON_MODE_FILL ||
             poly.mode[__GL_BACKFACE_INDEX] != __GL_POLYGON_MODE_FILL;
  key[i++] = va.enables;
  key[i++] = va.formatWord;
  key[i++] = uint32_t(va.arrays[__GL_VARRAY_VERTEX].stride);
  key[i++] = uint32_t(va.arrays[__GL_VARRAY_NORMAL].stride);
  key[i++] = uint32_t(va.arrays[ci ? __GL_VARRAY_INDEX : __GL_VARRAY_COLOR].stride);
  key[i++] = uint32_t(va.arrays[__GL_VARRAY_TEXCOORD].stride);
  // Whether lighting is generated, and what decides it: a light made
  // positional or a spot, or the local viewer, changes none of the words above.
  key[i++] = what_needs(gc);
  key[i++] = LightingInputs(gc);
  __GL_ASSERT(i <= GEOM_OG_MAX_KEY_SIZE, "i <= GEOM_OG_MAX_KEY_SIZE", "og_geom");
  return i * 4;
}

uint32_t __glGeomCacheDraw(GlContext *gc) {
  // A 32-bit linear congruential step; its high bits are the well-mixed ones.
  uint32_t &s = gc->geomCache.seed;
  s = s * 1664525u + 1013904223u;
  return (s >> 16) % GL_WORK_RECORD_COUNT;
}

GlWorkRecord *gimme_space(uint32_t *hit, GlContext *gc, uint32_t flags, uint32_t n,
                          OgGeomKeyProc keyProc) {
  uint32_t key[GEOM_OG_MAX_KEY_SIZE];
  const uint32_t length = keyProc(key, gc, flags, n);
  OgGeomCache &cache = gc->geomCache;
  *hit = 1;
  if (Holds(cache.last, key, length)) return cache.last;
  for (int i = 0; i < GL_WORK_RECORD_COUNT; i++) {
    if (Holds(&gc->workRecords[i], key, length)) return cache.last = &gc->workRecords[i];
  }
  *hit = 0;
  GlWorkRecord *victim;
  do {
    victim = &gc->workRecords[__glGeomCacheDraw(gc)];
  } while (Installed(gc, victim->buffer));
  victim->keyLength = length;
  memcpy(victim->key, key, length);
  return cache.last = victim;
}
