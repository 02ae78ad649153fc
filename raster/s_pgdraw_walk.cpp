// The row walker of one sub-triangle: a span per covered row inside the
// clip box, then both edges and every parameter one row on. Rows outside the
// clip box still advance everything, so the next visible row is exact.
#include "core/context.h"
#include "core/drawable.h"
#include "raster/s_pgdraw.h"
#include "raster/s_triangle.h"

namespace {

// Adds the fraction; true when it carried (or borrowed), so that x took the
// big step. Unsigned adds: the fraction's top bit is the carry.
bool Advance(GlEdge *edge) {
  const uint32_t frac = uint32_t(edge->frac) + uint32_t(edge->dfrac);
  const bool big = (frac & 0x80000000u) != 0;
  edge->frac = int32_t(frac & 0x7FFFFFFFu);
  edge->x = int32_t(uint32_t(edge->x) + uint32_t(big ? edge->big : edge->little));
  return big;
}

void *Offset(void *p, int32_t bytes) {
  return reinterpret_cast<void *>(reinterpret_cast<uintptr_t>(p) + uintptr_t(bytes));
}

// The first pixel's address in an ancillary buffer, none when unbound.
void *Address(const GlContext *gc, const GlBuffer &buf, int32_t x, int32_t y) {
  if (!buf.drawableBuf) return nullptr;
  const GlDrawableBuffer *db = buf.drawableBuf;
  const int32_t column = x - gc->constants.viewportXAdjust;
  const int32_t row = y - gc->constants.viewportYAdjust;
  const uint32_t pixel = uint32_t(row) * uint32_t(db->pitch) + uint32_t(column);
  return Offset(db->base, int32_t(pixel * db->elementSize));
}

// Every enabled parameter one row on, by its big or little step as the left
// edge moved.
template <bool kBig>
void StepParameters(GlShader *sh, uint32_t flags) {
  if (flags & __GL_SHADE_ITERATE_COLOR) {
    sh->r += kBig ? sh->rBig : sh->rLittle;
    if (flags & __GL_SHADE_RGB) {
      sh->g += kBig ? sh->gBig : sh->gLittle;
      sh->b += kBig ? sh->bBig : sh->bLittle;
      sh->a += kBig ? sh->aBig : sh->aLittle;
    }
  }
  if (flags & __GL_SHADE_TEXTURE) {
    sh->s += kBig ? sh->sBig : sh->sLittle;
    sh->t += kBig ? sh->tBig : sh->tLittle;
    sh->q += kBig ? sh->qBig : sh->qLittle;
    sh->rho += kBig ? sh->rhoBig : sh->rhoLittle;
  }
  if (flags & __GL_SHADE_STENCIL_TEST)
    sh->sbuf = static_cast<uint8_t *>(Offset(sh->sbuf, kBig ? sh->sbufBig : sh->sbufLittle));
  const int32_t zStep = kBig ? sh->zBig : sh->zLittle;
  if (flags & __GL_SHADE_DEPTH_ITER) sh->z += uint32_t(zStep);
  if (flags & __GL_SHADE_POLYGON_OFFSET) {
    sh->offsetZ += kBig ? sh->offsetZBig : sh->offsetZLittle;
    sh->offsetRangeEnd += kBig ? sh->offsetRangeEndBig : sh->offsetRangeEndLittle;
  }
  if (flags & __GL_SHADE_DEPTH_TEST)
    sh->zbuf = Offset(sh->zbuf, kBig ? sh->zbufBig : sh->zbufLittle);
  if (flags & __GL_SHADE_FRAGMENT_FOG) sh->fog += kBig ? sh->fogBig : sh->fogLittle;
}

}  // namespace

void StartSubTriangleRows(GlContext *gc, int32_t iyStart) {
  GlShader &sh = gc->polygon.shader;
  const GlEdge &left = gc->polygon.edges.left;
  const uint32_t flags = sh.modeFlags;
  if (flags & __GL_SHADE_STENCIL_TEST)
    sh.sbuf = static_cast<uint8_t *>(Address(gc, gc->stencilBuffer.buf, left.x, iyStart));
  if (flags & __GL_SHADE_DEPTH_TEST) sh.zbuf = Address(gc, gc->depthBuffer.buf, left.x, iyStart);
  sh.cfb = gc->drawBuffer;
  // The span arrays are the context's own.
  sh.spanColors = gc->spanColors[0];
  sh.fbcolors = gc->spanColors[1];
  sh.stipplePat = gc->spanStipple;
}

void StepRow(GlContext *gc, GlEdge *left, GlEdge *right) {
  GlShader &sh = gc->polygon.shader;
  Advance(right);
  if (Advance(left))
    StepParameters<true>(&sh, sh.modeFlags);
  else
    StepParameters<false>(&sh, sh.modeFlags);
  // The offset depth and its range end are float sums that drift apart by
  // rounding over the rows, so the offset depth may stray just outside
  // 0 .. scale inside the range; the offset depth spans hold every pixel
  // inside it, and nothing here ends the process over a rounding.
}

void FillSubTriangle(GlContext *gc, int32_t iyStart, int32_t iyEnd) {
  GlShader &sh = gc->polygon.shader;
  GlEdge left = gc->polygon.edges.left;
  GlEdge right = gc->polygon.edges.right;
  StartSubTriangleRows(gc, iyStart);
  const GlSpanProc processSpan = gc->procs.span.processSpan;
  const int32_t y0 = gc->transform.clipBox[1], y1 = gc->transform.clipBox[3];
  for (int32_t iy = iyStart; iy < iyEnd; iy++) {
    const int32_t width = int32_t(uint32_t(right.x) - uint32_t(left.x));
    if (width > 0 && iy >= y0 && iy < y1 && processSpan) {
      sh.x = left.x;
      sh.y = iy;
      sh.length = width;
      processSpan(gc);
    }
    StepRow(gc, &left, &right);
  }
  gc->polygon.edges.left = left;
  gc->polygon.edges.right = right;
}
