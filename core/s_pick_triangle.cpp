// The triangle picker: primitive assembly's triangle procedures, the face
// state the render procedures read (culled face, face of each sign of the
// area, polygon modes), and the render and fill procedures behind the trap.
#include "core/context.h"
#include "core/s_pick.h"
#include "core/s_pick_steady.h"
#include "fastraster/fr_pick.h"
#include "geometry/s_prim.h"
#include "geometry/s_pgclip.h"
#include "geometry/s_select.h"
#include "geometry/s_feedback.h"
#include "raster/s_pgdraw_aa.h"
#include "raster/s_triangle.h"
#include "raster/s_shader.h"

namespace {

void PickSteadyProcs(GlProcs &p) {
  p.primSteady[__GL_STEADY_TFAN] = __glOtherTFanVertexLock;
  p.primSteady[__GL_STEADY_EVEN_TSTRIP] = __glEvenTStripVertexLock;
  p.primSteady[__GL_STEADY_ODD_TSTRIP] = __glOddTStripVertexLock;
  p.primSteady[__GL_STEADY_TRIANGLES] = __glThirdTrianglesVertexLock;
  p.primSteady[__GL_STEADY_QSTRIP] = __glFourthQStripVertexLock;
  p.primSteady[__GL_STEADY_QUADS] = __glFourthQuadsVertexLock;
  p.primSteady[__GL_STEADY_POLYGON] = __glPolygonVertexLock;
  p.primSteady[__GL_STEADY_END_POLYGON] = __glSteadyEnd(__glEndPolygonLock);
}

// The face of each sign of the signed area. With GL_CCW a triangle whose
// area is not negative faces the viewer; GL_CW swaps that, and so does a
// drawable whose rows run top-down (its y axis points the other way).
void PickFacing(GlContext *gc) {
  GlPolygonMachine &poly = gc->polygon;
  bool swapped = gc->state.polygon.frontFaceDirection == GL_CW;
  if (gc->constants.yInverted) swapped = !swapped;
  poly.facing[0] = swapped ? __GL_FRONTFACE_INDEX : __GL_BACKFACE_INDEX;  // negative area
  poly.facing[1] = swapped ? __GL_BACKFACE_INDEX : __GL_FRONTFACE_INDEX;  // zero or positive
  poly.mode[__GL_FRONTFACE_INDEX] = gc->state.polygon.frontMode & 0xF;
  poly.mode[__GL_BACKFACE_INDEX] = gc->state.polygon.backMode & 0xF;
}

// The generic render and fill procedures in GL_RENDER mode.
void PickGenericRender(GlContext *gc) {
  GlProcs &p = gc->procs;
  const GlPolygonMachine &poly = gc->polygon;
  const uint32_t flags = poly.shader.modeFlags;
  const bool bothFill = poly.mode[__GL_FRONTFACE_INDEX] == __GL_POLYGON_MODE_FILL &&
                        poly.mode[__GL_BACKFACE_INDEX] == __GL_POLYGON_MODE_FILL;
  if (!bothFill)
    p.renderTriangle = __glRenderTriangle;
  else if (flags & __GL_SHADE_SMOOTH_LIGHT)
    p.renderTriangle = __glRenderSmoothTriangle;
  else
    p.renderTriangle = __glRenderFlatTriangle;
  p.fillTriangle = gc->state.enables.general & __GL_POLYGON_SMOOTH_ENABLE
                       ? __glFillAntiAliasedTriangle
                       : __glFillTriangle;
  // A flat-shaded fogged triangle fogs its one colour per vertex; under
  // per-fragment fog (GL_NICEST) the set-up iterates fog instead.
  if ((flags & __GL_SHADE_FOG) && !(flags & __GL_SHADE_SMOOTH_LIGHT) &&
      !(flags & __GL_SHADE_FRAGMENT_FOG)) {
    p.fillTriangleUnfogged = p.fillTriangle;
    p.fillTriangle = __glFillFlatFogTriangle;
  }
}

// Chooses procs.renderTriangle and procs.fillTriangle.
void PickRender(GlContext *gc) {
  GlProcs &p = gc->procs;
  const GlPolygonMachine &poly = gc->polygon;
  // Culling both faces draws nothing and reports nothing in any mode.
  if ((poly.shader.modeFlags & __GL_SHADE_CULL_FACE) &&
      gc->state.polygon.cull == GL_FRONT_AND_BACK) {
    p.renderTriangle = __glDontRenderTriangle;
    p.fillTriangle = __glNopFillTriangle;
    return;
  }
  switch (gc->renderMode) {
    case GL_FEEDBACK:
      p.renderTriangle = __glFeedbackTriangle;
      p.fillTriangle = __glNopFillTriangle;
      return;
    case GL_SELECT:
      p.renderTriangle = __glSelectTriangle;
      p.fillTriangle = __glNopFillTriangle;
      return;
    default:
      if (!__glFRPickTriangleProcs(gc)) PickGenericRender(gc);
      return;
  }
}

}  // namespace

void GLFASTCALL __glNopFillTriangle(GlContext *, GlVertex *, GlVertex *, GlVertex *) {}

void __glGenericPickTriangleProcs(GlContext *gc) {
  GlProcs &p = gc->procs;
  GlPolygonMachine &poly = gc->polygon;
  PickSteadyProcs(p);
  PickFacing(gc);
  poly.cullFace = __GL_CULL_NONE;
  if (poly.shader.modeFlags & __GL_SHADE_CULL_FACE) {
    if (gc->state.polygon.cull == GL_FRONT) poly.cullFace = __GL_FRONTFACE_INDEX;
    if (gc->state.polygon.cull == GL_BACK) poly.cullFace = __GL_BACKFACE_INDEX;
  }
  PickRender(gc);
  // Whatever was chosen waits behind the trap.
  p.renderTriangleTrap = __glRenderTriangleSyncTrap;
  p.renderTrianglePicked = p.renderTriangle;
  p.renderTriangle = __glRenderTriangleSyncTrap;
}
