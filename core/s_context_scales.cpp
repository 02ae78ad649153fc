// The colours a context stores scaled to the colour buffer's range are
// reset unscaled; the first binding, once the visual is known, scales them.
#include "core/context.h"
#include "core/s_context.h"
#include "geometry/s_color.h"

namespace {

void Scale(GlContext *gc, GlColor *color) { __glScaleColorf(gc, color, color); }

}  // namespace

void __glContextSetColorScales(GlContext *gc) {
  GlState &s = gc->state;
  if (!gc->modes.colorIndexMode) {
    Scale(gc, &s.current.color);
    Scale(gc, &s.current.rasterPos.colors[__GL_FRONTFACE]);
  }
  Scale(gc, &s.light.model.ambient);
  for (int i = 0; i < gc->constants.numberOfLights && s.light.source; i++) {
    GlLight &light = s.light.source[i];
    Scale(gc, &light.ambient);
    Scale(gc, &light.diffuse);
    Scale(gc, &light.specular);
  }
  Scale(gc, &s.light.front.emissive);
  Scale(gc, &s.light.back.emissive);
}
