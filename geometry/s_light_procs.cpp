// The choice of the per-vertex colour procedures: lit or not, fast or full,
// RGBA or colour index, with or without per-vertex fog of the colour.
#include "core/context.h"
#include "core/s_nop.h"
#include "geometry/s_light_calc.h"
#include "geometry/s_light_fog.h"
#include "geometry/s_lighting.h"

namespace {

// Smooth-shaded fog in GL_RENDER is applied to the vertex colours. Under
// GL_NICEST fog is applied per fragment instead, and doing both would fog
// twice.
bool VertexFog(const GlContext *gc) {
  const GlRasterModeFlags flags = gc->polygon.shader.modeFlags;
  return (flags & __GL_SHADE_FOG) && (flags & __GL_SHADE_SMOOTH_LIGHT) &&
         !(flags & __GL_SHADE_FRAGMENT_FOG) && gc->renderMode == GL_RENDER;
}

bool AnySlowLight(const GlContext *gc) {
  for (const GlLightCache *lc = gc->light.sources; lc; lc = lc->next)
    if (lc->slowPath) return true;
  return false;
}

bool IndexShiftOrOffset(const GlContext *gc) {
  const GlLightState &ls = gc->state.light;
  return (gc->state.enables.general & __GL_INDEX_MATERIAL_ENABLE) ||
         ls.front.indexOffset != 0.0f || ls.front.indexShift != 0.0f ||
         ls.back.indexOffset != 0.0f || ls.back.indexShift != 0.0f;
}

GlCalcColorProc LitProc(const GlContext *gc) {
  const bool slow = AnySlowLight(gc);
  if (gc->modes.colorIndexMode) {
    if (slow) return __glCalcCIColor;
    return IndexShiftOrOffset(gc) ? __glFastCalcCIColor_ShiftOffset : __glFastCalcCIColor;
  }
  const bool k3d = (gc->constants.cpuFlags & __GL_CPU_K3D) != 0;
  if (slow) return k3d ? __glK3DCalcRGBColor : __glI386CalcRGBColor;
  return k3d ? __glK3DFastCalcRGBColor : __glFastCalcRGBColor;
}

}  // namespace

void ComputeLightProcs(GlContext *gc) {
  GlProcs &p = gc->procs;
  const bool ci = gc->modes.colorIndexMode != 0;
  const bool fog = VertexFog(gc);
  if (!(gc->state.enables.general & __GL_LIGHTING_ENABLE)) {
    const GlCalcColorProc nop = __glNopProc<GlCalcColorProc>();
    p.calcRasterPosColor = nop;
    p.calcLitColor = nop;  // nothing is lit; no wrapper calls it
    p.calcColor = fog ? (ci ? __glFogCIColor : __glFogRGBColor) : nop;
    return;
  }
  const GlCalcColorProc lit = LitProc(gc);
  // The raster position is lit, never fogged per vertex.
  p.calcRasterPosColor = lit;
  p.calcLitColor = lit;
  p.calcColor = fog ? (ci ? __glFogLitCIColor : __glFogLitRGBColor) : lit;
}
