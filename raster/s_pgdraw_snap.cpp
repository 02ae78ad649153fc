// Edge set-up of the triangle walker: x split into an integer and a 31-bit
// fraction, the slope into its little and big steps.
#include <math.h>

#include "core/context.h"
#include "core/drawable.h"
#include "core/gl_convert.h"
#include "raster/s_triangle.h"

namespace {

constexpr double kFracOne = 2147483648.0;  // 2^31

void SnapEdge(GlEdge *edge, GLfloat x, GLfloat dxdy) {
  const GLfloat fx = floorf(x);
  edge->x = __glFloorToInt(x);
  edge->frac = __glTruncateToInt((double(x) - double(fx)) * kFracOne);
  const int32_t il = __glTruncateToInt(dxdy);
  edge->little = il;
  // Wrapping adds: a slope at the end of the range stays defined.
  if (dxdy >= 0) {
    edge->big = int32_t(uint32_t(il) + 1u);
    edge->dfrac = __glTruncateToInt((double(dxdy) - double(il)) * kFracOne);
  } else {
    edge->big = int32_t(uint32_t(il) - 1u);
    edge->dfrac = -__glTruncateToInt((double(il) - double(dxdy)) * kFracOne);
  }
}

// Bytes from one row's first pixel to the next row's, x moving by `step`.
int32_t RowStep(const GlBuffer &buf, int32_t step) {
  const GlDrawableBuffer *db = buf.drawableBuf;
  if (!db) return 0;
  return int32_t((uint32_t(step) + uint32_t(db->pitch)) * db->elementSize);
}

}  // namespace

void __glSnapXLeft(GlContext *gc, GLfloat x, GLfloat dxdy) {
  GlEdge *edge = &gc->polygon.edges.left;
  SnapEdge(edge, x, dxdy);
  GlShader &sh = gc->polygon.shader;
  if (sh.modeFlags & __GL_SHADE_STENCIL_TEST) {
    sh.sbufLittle = RowStep(gc->stencilBuffer.buf, edge->little);
    sh.sbufBig = RowStep(gc->stencilBuffer.buf, edge->big);
  }
  if (sh.modeFlags & __GL_SHADE_DEPTH_TEST) {
    sh.zbufLittle = RowStep(gc->depthBuffer.buf, edge->little);
    sh.zbufBig = RowStep(gc->depthBuffer.buf, edge->big);
  }
}

void __glSnapXRight(GlEdge *edge, GLfloat x, GLfloat dxdy) { SnapEdge(edge, x, dxdy); }
