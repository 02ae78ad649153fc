// The parameter-clip picker. One procedure per combination of colour kind,
// fog and texture kind, so a clip vertex interpolates only what the state
// reads, decided once per validation.
#include "core/context.h"
#include "geometry/s_clip_param.h"
#include "raster/s_shader.h"

void __glGenericPickParameterClipProcs(GlContext *gc) {
  const GlState &s = gc->state;
  const uint32_t flags = gc->polygon.shader.modeFlags;
  const bool twoSided = (s.enables.general & __GL_LIGHTING_ENABLE) && s.light.model.twoSided;
  // Flat shading takes the provoking vertex's colour: nothing to cut.
  uint32_t line = 0, polygon = 0;
  if (s.light.shadingModel != GL_FLAT) {
    line = gc->modes.rgbMode ? 2 : 1;
    polygon = twoSided ? line + 2 : line;  // lines never take back colours
  }
  uint32_t extra = 0;
  // Per-fragment fog reads eye z at every vertex, clip-made ones too.
  const bool flatFog = (flags & __GL_SHADE_FOG) && !(flags & __GL_SHADE_SMOOTH_LIGHT);
  if (flatFog || (flags & __GL_SHADE_FRAGMENT_FOG)) extra += 5;
  // Feedback reports texture coordinates whether texturing is on or not.
  const bool texture = gc->texture.active || gc->renderMode == GL_FEEDBACK;
  if (texture) extra += (flags & __GL_SHADE_TEX_DIVIDED) ? 20 : 10;
  gc->procs.lineClipParam = geometry::clipProcs[line + extra];
  gc->procs.polygonClipParam = geometry::clipProcs[polygon + extra];
}
