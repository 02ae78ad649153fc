// The parameter-clip picker. One procedure per combination of colour kind,
// fog and texture kind, so a clip vertex interpolates only what the state
// reads, decided once per validation.
#include "core/context.h"
#include "geometry/s_clip_param.h"
#include "geometry/s_clip_param_standins.h"
#include "raster/s_shader.h"

namespace {

using namespace geometry;

// Indexed by colour kind + 5 x fog + 10 x texture kind. Colour kinds: 0
// none, 1 index, 2 RGBA, 3 front and back index, 4 front and back RGBA.
// Texture kinds: 0 none, 1 as stored, 2 divided by w.
const GlClipParamProc kClipProcs[30] = {
    Clip,   ClipI,   ClipC,   ClipBI,   ClipBC,   ClipF,   ClipIF,   ClipCF,   ClipBIF,   ClipBCF,
    ClipT,  ClipIT,  ClipCT,  ClipBIT,  ClipBCT,  ClipFT,  ClipIFT,  ClipCFT,  ClipBIFT,  ClipBCFT,
    ClipTP, ClipITP, ClipCTP, ClipBITP, ClipBCTP, ClipFTP, ClipIFTP, ClipCFTP, ClipBIFTP, ClipBCFTP,
};

}  // namespace

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
  if ((flags & __GL_SHADE_FOG) && !(flags & __GL_SHADE_SMOOTH_LIGHT)) extra += 5;
  if (gc->texture.active) extra += (flags & __GL_SHADE_TEX_DIVIDED) ? 20 : 10;
  gc->procs.lineClipParam = kClipProcs[line + extra];
  gc->procs.polygonClipParam = kClipProcs[polygon + extra];
}
