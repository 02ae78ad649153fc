// The point picker: primitive assembly's point procedure and the render
// procedure of a point behind its trap.
#include "core/context.h"
#include "core/s_pick.h"
#include "core/s_pick_steady.h"
#include "geometry/s_prim.h"
#include "geometry/s_pgclip.h"
#include "geometry/s_select.h"
#include "geometry/s_feedback.h"
#include "raster/s_point.h"
#include "raster/s_triangle.h"
#include "raster/s_shader.h"

namespace {

// The render procedure of a point in GL_RENDER mode.
GlVertexProc PickRenderedPoint(GlContext *gc) {
  GlProcs &p = gc->procs;
  const uint32_t flags = gc->polygon.shader.modeFlags;
  GlVertexProc render;
  if (gc->state.enables.general & __GL_POINT_SMOOTH_ENABLE)
    render = flags & __GL_SHADE_RGB ? __glRenderAntiAliasedRGBPoint : __glRenderAntiAliasedCIPoint;
  else if (gc->state.point.aliasedSize != 1)
    render = __glRenderAliasedPointN;
  else if (flags & __GL_SHADE_TEXTURE)
    render = __glRenderAliasedPoint1;
  else
    render = __glRenderAliasedPoint1_NoTex;
  // A point has one colour: the flat-fog wrapper is its fog both per vertex
  // and per fragment.
  const bool flatFog = (flags & __GL_SHADE_FOG) && !(flags & __GL_SHADE_SMOOTH_LIGHT);
  if (flatFog || (flags & __GL_SHADE_FRAGMENT_FOG)) {
    p.renderPointUnfogged = render;
    render = __glRenderFlatFogPoint;
  }
  return render;
}

}  // namespace

void __glGenericPickPointProcs(GlContext *gc) {
  GlProcs &p = gc->procs;
  p.primSteady[__GL_STEADY_POINT] = gc->vertexBuffer.frontNeeds ? __glPointLock : __glPointFastLock;
  p.renderTrianglePoints = __glRenderPointTriangle;

  GlVertexProc render;
  if (gc->renderMode == GL_FEEDBACK)
    render = __glFeedbackPoint;
  else if (gc->renderMode == GL_SELECT)
    render = __glSelectPoint;
  else
    render = PickRenderedPoint(gc);
  // Armed in every render mode, as for lines and triangles: a trap of another
  // kind puts this one back, and it must then lead to this pick.
  p.renderPointTrap = __glRenderPointSyncTrap;
  p.renderPointPicked = render;
  p.renderPoint = __glRenderPointSyncTrap;
}
