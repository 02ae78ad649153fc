// The fog procedures the fog picker installs: the factor of a vertex, the
// fog of one fragment, and the fog of a vertex colour.
#include "raster/s_fog.h"

#include <math.h>

#include "core/context.h"
#include "raster/s_buffers.h"
#include "raster/s_fog_factor.h"

GLfloat __glFogVertex(GlContext *gc, GlVertex *v) {
  const GLfloat f = __glFogFactor(gc->state.fog, fabsf(v->eye.z), true);
  return __glClampFog(f, gc->constants.one);
}

GLfloat __glFogVertexLinear(GlContext *gc, GlVertex *v) {
  const GlFogState &fog = gc->state.fog;
  const GLfloat f = (fog.end - fabsf(v->eye.z)) * fog.oneOverEMinusS;
  return __glClampFog(f, gc->constants.one);
}

// Fragments are at colour-buffer scale: they blend towards the fog colour
// in the drawn buffer's units.
void __glFogFragmentSlow(GlContext *gc, GlFragment *frag, GLfloat eyeDistance) {
  const GlFogState &fog = gc->state.fog;
  const GLfloat f =
      __glClampFog(__glFogFactor(fog, fabsf(eyeDistance), true), gc->constants.one);
  if (gc->modes.rgbMode)
    __glBlendFogRGB(&frag->color, frag->color, fog.scaledColor, f);
  else
    frag->color.r = __glBlendFogIndex(frag->color.r, fog.index, f);
}

// Vertex colours are at the context's colour scale (the rasterizers rescale
// them), so they blend towards the fog colour as kept at that scale.
void __glFogColorSlow(GlContext *gc, GlColor *out, const GlColor *in, GLfloat fog) {
  const GlFogState &state = gc->state.fog;
  if (gc->modes.rgbMode) {
    const GLfloat color[3] = {state.color.r, state.color.g, state.color.b};
    __glBlendFogRGB(out, *in, color, fog);
  } else {
    out->r = __glBlendFogIndex(in->r, state.index, fog);
  }
}
