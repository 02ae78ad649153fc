// Aliased points: one fragment, or a square of size x size fragments
// centred on the pixel that holds the point (odd sizes) or on the nearest
// pixel corner (even sizes). Each leaves through a store that clips.
#include "core/context.h"
#include "raster/s_fog_factor.h"
#include "raster/s_point.h"
#include "raster/s_point_prepare.h"

using point_prepare::ClippedStore;
using point_prepare::Prepared;

namespace {

void Point1(GlContext *gc, GlVertex *v, bool textured) {
  Prepared p;
  if (!point_prepare::Prepare(gc, v, &p)) return;
  const GLfloat half = gc->constants.half;
  p.frag.x = __glFloorToInt(p.x - half);
  p.frag.y = __glFloorToInt(p.y - half);
  if (textured) point_prepare::Texture(gc, v, &p.frag.color);
  ClippedStore(gc)(gc->drawBuffer, &p.frag);
}

}  // namespace

void __glRenderAliasedPoint1_NoTex(GlContext *gc, GlVertex *v) { Point1(gc, v, false); }
void __glRenderAliasedPoint1(GlContext *gc, GlVertex *v) { Point1(gc, v, true); }

void __glRenderAliasedPointN(GlContext *gc, GlVertex *v) {
  Prepared p;
  if (!point_prepare::Prepare(gc, v, &p)) return;
  const int32_t size = gc->state.point.aliasedSize;
  if (size <= 0) return;
  const int32_t h = size >> 1;
  const GLfloat half = gc->constants.half;
  const int32_t x0 = (size & 1 ? __glFloorToInt(p.x - half) : __glFloorToInt(p.x)) - h;
  const int32_t y0 = (size & 1 ? __glFloorToInt(p.y - half) : __glFloorToInt(p.y)) - h;
  point_prepare::Texture(gc, v, &p.frag.color);
  const GlFragmentStoreProc store = ClippedStore(gc);
  for (int32_t y = y0; y < y0 + size; y++) {
    for (int32_t x = x0; x < x0 + size; x++) {
      p.frag.x = x;
      p.frag.y = y;
      store(gc->drawBuffer, &p.frag);
    }
  }
}

void __glRenderFlatFogPoint(GlContext *gc, GlVertex *v) {
  GlColor *const color = v->color;
  if (!color || !gc->procs.fogColor || !gc->procs.renderPointUnfogged) return;
  // Per fragment (GL_NICEST) no vertex carries a factor: the point's one
  // fragment takes it from its eye distance.
  GLfloat factor = v->fog;
  if (gc->polygon.shader.modeFlags & __GL_SHADE_FRAGMENT_FOG) {
    factor = __glFogFactor(gc->state.fog, fabsf(v->eye.z), false);
    factor = __glClampFog(factor, gc->constants.one);
  }
  GlColor fogged;
  gc->procs.fogColor(gc, &fogged, color, factor);
  v->color = &fogged;
  gc->procs.renderPointUnfogged(gc, v);
  v->color = color;
}
