// The FastMaterial op: a run of material changes written straight into the
// context's material and derived lighting records, validated once.
#include <string.h>

#include "core/context.h"
#include "core/current.h"
#include "core/s_setters.h"
#include "dlist/dl_ops.h"
#include "dlist/dl_optimize.h"
#include "geometry/s_lcache.h"
#include "geometry/s_lighting.h"

namespace {

GlColor Color(const uint32_t *&at) {
  GlColor c;
  memcpy(&c, at, sizeof c);
  at += 4;
  return c;
}

GLfloat Float(const uint32_t *&at) {
  GLfloat f;
  memcpy(&f, at++, sizeof f);
  return f;
}

// The derived record holds the op's table as glMaterial's validation would
// have taken it: one reference, the look-up words copied.
void TakeTable(GlContext *gc, GlMaterialCache *cache, GLfloat shininess, GlSpecLUT *table) {
  __glHoldSpecLUT(table);
  __glFreeSpecLUT(gc, cache->specLut);
  cache->specLut = table;
  cache->specularExponent = shininess;
  cache->specTable = table->table;
  cache->threshold = table->threshold;
  cache->scale = table->scale;
}

}  // namespace

const GLubyte *__glle_FastMaterial(const GLubyte *data) {
  GlContext *gc = __glGetTLSCXValue();
  // The vertices already given are lit with the material they were given
  // under, as glMaterial does.
  __glLightPendingVertices(gc);
  GlLightState &ls = gc->state.light;
  uint32_t masks[2] = {0, 0};
  const uint32_t *at = reinterpret_cast<const uint32_t *>(data);
  while (at[0] != 0) {
    const int face = at[0] == GL_FRONT ? __GL_FRONTFACE : __GL_BACKFACE;
    const uint32_t mask = at[1];
    at += 2;
    GlMaterial *m = face == __GL_FRONTFACE ? &ls.front : &ls.back;
    masks[face] |= mask;
    if (mask & __GL_MATERIAL_AMBIENT) m->ambient = Color(at);
    if (mask & __GL_MATERIAL_DIFFUSE) m->diffuse = Color(at);
    if (mask & __GL_MATERIAL_SPECULAR) m->specular = Color(at);
    if (mask & __GL_MATERIAL_EMISSIVE) {
      const GlColor e = Color(at);
      __glScaleColorParam(gc, &m->emissive, &e.r);
    }
    if (mask & __GL_MATERIAL_SHININESS) {
      m->specularExponent = Float(at);
      GlSpecLUT *table;
      memcpy(&table, at++, sizeof table);
      TakeTable(gc, &gc->light.materialCache[face], m->specularExponent, table);
    }
    if (mask & __GL_MATERIAL_COLORINDEXES) {
      m->cmapa = Float(at);
      m->cmaps = Float(at);
      m->cmapd = Float(at);
    }
  }
  if (masks[0] | masks[1]) {
    __glValidateMaterial(gc, masks[0], masks[1]);
    // Colour material keeps its target following the current colour, as
    // after glMaterial.
    if (gc->state.enables.general & __GL_COLOR_MATERIAL_ENABLE) gc->procs.applyColor(gc);
  }
  return reinterpret_cast<const GLubyte *>(at + 1);
}
