// Per-vertex fog of the colour (see s_light_fog.h).
#include "geometry/s_light_fog.h"

#include <stdint.h>

#include "core/context.h"

void __glFogRGBColor(GlContext *gc, GLint face, GlVertex *v) {
  // Whether the device fogs is a word of the core context: generic code
  // never looks into a device's own record.
  if (gc->fogInHardware) return;
  const GLfloat f = v->fog, g = 1.0f - f;
  const GlColor &fog = gc->state.fog.color;
  GlColor &c = v->colors[face];
  c.r = c.r * f + fog.r * g;
  c.g = c.g * f + fog.g * g;
  c.b = c.b * f + fog.b * g;
}

void __glFogCIColor(GlContext *gc, GLint face, GlVertex *v) {
  const uint32_t bits = gc->modes.indexBits;
  const GLfloat top = bits >= 32 ? 4294967295.0f : GLfloat((uint64_t(1) << bits) - 1);
  GLfloat &index = v->colors[face].r;
  index = index + (1.0f - v->fog) * gc->state.fog.index;
  if (index > top) index = top;
}

void __glFogLitRGBColor(GlContext *gc, GLint face, GlVertex *v) {
  gc->procs.calcLitColor(gc, face, v);
  __glFogRGBColor(gc, face, v);
}

void __glFogLitCIColor(GlContext *gc, GLint face, GlVertex *v) {
  gc->procs.calcLitColor(gc, face, v);
  __glFogCIColor(gc, face, v);
}
