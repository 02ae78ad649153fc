// The SiS pickers of lines, triangles, points and array drawing: the
// hardware procedures go behind the generic picker's traps where the chip
// can draw the primitive exactly; otherwise the generic procedures stay
// and the kind's fallback flag is set.
#include "core/context.h"
#include "core/drawable.h"
#include "core/s_pick.h"
#include "geometry/s_pgclip.h"
#include "geometry/s_varray_pick.h"
#include "raster/s_buffers.h"
#include "raster/s_shader.h"
#include "raster/s_triangle.h"
#include "sis/sis_clear.h"
#include "sis/sis_pick.h"
#include "sis/sis_primitives.h"
#include "wgl/wgl_ddraw_kind.h"

namespace {

// Flags that keep every kind off the chip.
constexpr uint32_t kNoKind = __GL_SHADE_STENCIL_TEST | __GL_SHADE_MASK | __GL_SHADE_INDEX_TEST;

bool Has(const GlContext *gc, uint32_t flag) { return (gc->polygon.shader.modeFlags & flag) != 0; }
bool Enabled(const GlContext *gc, uint32_t enable) {
  return (gc->state.enables.general & enable) != 0;
}

const GlDrawableBuffer *BufferOf(GlContext *gc, uint32_t bit) {
  GlDrawable *drawable = gc->drawablePrivate;
  switch (bit) {
    case __GL_FRONT_BUFFER_MASK:
      return gc->front ? gc->front->buf.drawableBuf : nullptr;
    case __GL_BACK_BUFFER_MASK:
      return gc->back ? gc->back->buf.drawableBuf : nullptr;
    case __GL_DEPTH_BUFFER_MASK:
      return drawable ? &drawable->depth : nullptr;
    case __GL_STENCIL_BUFFER_MASK:
      return drawable ? &drawable->stencil : nullptr;
    default:
      return drawable ? &drawable->accum : nullptr;
  }
}

// Memory buffers (those that fell back to system memory included) stay in
// software: the chip reaches only DirectDraw surfaces.
bool NeededBuffersAreSurfaces(GlContext *gc) {
  uint32_t needed = gc->renderBufferMask | gc->drawBufferMask;
  if (Has(gc, __GL_SHADE_DEPTH_TEST)) needed |= __GL_DEPTH_BUFFER_MASK;
  for (uint32_t bit = 1; bit <= __GL_STENCIL_BUFFER_MASK; bit <<= 1) {
    if (!(needed & bit)) continue;
    const GlDrawableBuffer *buffer = BufferOf(gc, bit);
    if (buffer == nullptr || !__wglDDrawHasSurface(buffer)) return false;
  }
  return true;
}

// The chip has one colour address: GL_NONE and two buffers at once stay in
// software.
bool OneColorBuffer(const GlContext *gc) {
  return gc->drawBufferMask == __GL_FRONT_BUFFER_MASK || gc->drawBufferMask == __GL_BACK_BUFFER_MASK;
}

bool DepthOnEpochBuffer(GlContext *gc) {
  const uint32_t format = (__glSiSTail(gc)->work.zPitch & SIS_Z_FORMAT_MASK) >> SIS_Z_FORMAT_SHIFT;
  return Has(gc, __GL_SHADE_DEPTH_TEST) && format == SIS_Z_FORMAT_24;
}

bool Smooth(const GlContext *gc) { return Has(gc, __GL_SHADE_SMOOTH_LIGHT); }
bool Depth(const GlContext *gc) { return Has(gc, __GL_SHADE_DEPTH_TEST); }

bool TextureOnChip(GlContext *gc) { return (__glSiSTail(gc)->work.mode & SIS_MODE_TEXTURE) != 0; }

// [textured][depth][smooth]
constexpr GlFillTriangleProc kFills[2][2][2] = {
    {{__glSiSRenderFlatTriangle, __glSiSRenderSmoothTriangle},
     {__glSiSRenderFlatDepthTriangle, __glSiSRenderSmoothDepthTriangle}},
    {{__glSiSTexFlatTriangle, __glSiSTexSmoothTriangle},
     {__glSiSTexFlatDepthTriangle, __glSiSTexSmoothDepthTriangle}},
};
// [depth][smooth]
constexpr GlLineProc kLines[2][2] = {
    {__glSiSRenderFlatLine, __glSiSRenderSmoothLine},
    {__glSiSRenderFlatDepthLine, __glSiSRenderSmoothDepthLine},
};

bool TriangleOnChip(GlContext *gc) {
  if (!sis::ChipCanDraw(gc)) return false;
  if (Enabled(gc, __GL_POLYGON_STIPPLE_ENABLE | __GL_POLYGON_SMOOTH_ENABLE)) return false;
  if (Has(gc, __GL_SHADE_STIPPLE | __GL_SHADE_POLYGON_OFFSET)) return false;
  // A texture the chip cannot sample keeps textured triangles in software.
  return !Has(gc, __GL_SHADE_TEXTURE) || TextureOnChip(gc);
}

bool LineOnChip(GlContext *gc) {
  if (!sis::ChipCanDraw(gc)) return false;
  // A line block carries no texture coordinates, and the chip draws no
  // antialiased lines.
  if (Has(gc, __GL_SHADE_TEXTURE) || Enabled(gc, __GL_LINE_SMOOTH_ENABLE)) return false;
  return int32_t(gc->state.line.requestedWidth) <= 1;
}

bool PointOnChip(GlContext *gc) {
  if (!sis::ChipCanDraw(gc)) return false;
  // Front-buffer points would cover overlapping windows: the chip knows
  // no clip list for them.
  if (Has(gc, __GL_SHADE_FRONT_BUFFER | __GL_SHADE_STIPPLE)) return false;
  if (Enabled(gc, __GL_POINT_SMOOTH_ENABLE) || gc->state.point.aliasedSize != 1) return false;
  return !Has(gc, __GL_SHADE_TEXTURE) || TextureOnChip(gc);
}

}  // namespace

namespace sis {

bool ChipCanDraw(GlContext *gc) {
  if (gc->renderMode != GL_RENDER || !gc->modes.rgbMode) return false;
  if (Has(gc, kNoKind) || !OneColorBuffer(gc) || DepthOnEpochBuffer(gc)) return false;
  return NeededBuffersAreSurfaces(gc);
}

}  // namespace sis

void __glSiSSetLinePattern(GlContext *gc) {
  GlSiSTail *sis = __glSiSTail(gc);
  if (Enabled(gc, __GL_LINE_STIPPLE_ENABLE)) {
    sis->work.mode |= SIS_MODE_LINE_PATTERN;
    sis->work.linePattern =
        uint32_t(gc->state.line.stipple) << 16 | uint32_t(gc->state.line.stippleRepeat);
  } else {
    sis->work.mode &= ~SIS_MODE_LINE_PATTERN;
    sis->work.linePattern = 0;
  }
}

void __glSiSPickLineProcs(GlContext *gc) {
  __glGenericPickLineProcs(gc);
  GlSiSTail *sis = __glSiSTail(gc);
  if (sis->lineFallback) return;
  if (!LineOnChip(gc)) {
    sis->lineFallback = 1;
    return;
  }
  __glSiSSetLinePattern(gc);
  gc->procs.renderLinePicked = kLines[Depth(gc)][Smooth(gc)];
}

void __glSiSPickTriangleProcs(GlContext *gc) {
  // The fast-path picker may drop the texture bits of a texture that cannot
  // change the colour; its procedures rely on that, the chip's decisions
  // read the state as it is.
  uint32_t &flags = gc->polygon.shader.modeFlags;
  const uint32_t stateFlags = flags;
  __glGenericPickTriangleProcs(gc);
  const uint32_t pickedFlags = flags;
  GlSiSTail *sis = __glSiSTail(gc);
  GlProcs &p = gc->procs;
  if (sis->triangleFallback) return;
  // Both faces culled (or feedback, selection): nothing is drawn anyway.
  if (p.fillTriangle == __glNopFillTriangle && gc->renderMode == GL_RENDER) return;
  flags = stateFlags;
  if (!TriangleOnChip(gc)) {
    flags = pickedFlags;
    sis->triangleFallback = 1;
    return;
  }
  const bool textured = Has(gc, __GL_SHADE_TEXTURE);
  if (!textured) sis->work.mode &= ~SIS_MODE_TEXTURE;
  // The chip fogs each vertex: the fill replaces the flat-fog wrapper too.
  p.fillTriangle = kFills[textured][Depth(gc)][Smooth(gc)];
  // The fast-path picker may have put the window clipper in front already;
  // wrapping it twice would make it forward to itself.
  if (Has(gc, __GL_SHADE_FRONT_BUFFER) && p.renderTrianglePicked != __glClipAndRenderTriangle) {
    p.renderClippedTriangle = p.renderTrianglePicked;
    p.renderTrianglePicked = __glClipAndRenderTriangle;
  }
}

void __glSiSPickPointProcs(GlContext *gc) {
  __glGenericPickPointProcs(gc);
  GlSiSTail *sis = __glSiSTail(gc);
  if (sis->pointFallback) return;
  if (!PointOnChip(gc)) {
    sis->pointFallback = 1;
    return;
  }
  gc->procs.renderPointPicked = Has(gc, __GL_SHADE_TEXTURE) ? __glSiSRenderAliasedPoint1
                                                            : __glSiSRenderAliasedPoint1_NoTex;
}

// Array drawing keeps the generic lock modes: hardware primitives are sent
// only under the render lock, which takes the device lock.
void __glSiSPickVertexArrayProcs(GlContext *gc) { __glGenericPickVertexArrayProcs(gc); }
