// Span readers: one span from a row of the read colour buffer, the depth
// buffer or the stencil buffer. Depth and stencil come only through the
// buffers' fetch procedures, which know the stored layout (epochs, reversed
// runs), never from buffer memory.
#include "core/context.h"
#include "pixels/px_span_procs.h"
#include "raster/s_color_pixel.h"
#include "raster/s_depth.h"

namespace {

// Calls read(column, row) for each of the span's pixels and stores what it
// returns; the column steps by one or by the run array.
template <bool OneToOne, typename T, typename Read>
void ReadRow(const GlPixelSpanInfo *info, void *span, Read read) {
  T *out = static_cast<T *>(span);
  int32_t column = int32_t(info->readX);
  const int32_t row = int32_t(info->readY);
  const int16_t *run = info->pixelArray;
  for (int32_t p = 0; p < info->spanWidth; p++) {
    out[p] = read(column, row);
    column += OneToOne ? 1 : int32_t(run[p]);
  }
}

// Colours through the read buffer's fetch, each kept as take(colour) says.
template <bool OneToOne, typename T, typename Take>
void ReadFetched(GlContext *gc, GlPixelSpanInfo *info, void *span, Take take) {
  GlColorBuffer *cfb = gc->readBuffer;
  ReadRow<OneToOne, T>(info, span, [gc, cfb, take](int32_t x, int32_t y) {
    GlColor c{0, 0, 0, 0};
    if (__glColorPixelExists(gc, cfb, x, y)) cfb->fetch[0](cfb, x, y, &c);
    return take(c);
  });
}

template <bool OneToOne>
void ReadColors(GlContext *gc, GlPixelSpanInfo *info, void *span) {
  ReadFetched<OneToOne, GlColor>(gc, info, span, [](const GlColor &c) { return c; });
}

template <bool OneToOne>
void ReadIndices(GlContext *gc, GlPixelSpanInfo *info, void *span) {
  ReadFetched<OneToOne, GLfloat>(gc, info, span, [](const GlColor &c) { return c.r; });
}

// The largest stored depth and the shift of the stored units.
struct DepthUnits {
  uint32_t top;
  uint32_t shift;
};
DepthUnits Units(GlContext *gc) {
  const GlDepthBufferPrivate *rec = __glDepthPrivate(&gc->depthBuffer);
  const uint32_t shift = rec ? rec->shift : 0;
  return {gc->depthBuffer.scale >> shift, shift};
}

template <bool OneToOne>
void ReadDepths(GlContext *gc, GlPixelSpanInfo *info, void *span) {
  GlDepthBuffer *dfb = &gc->depthBuffer;
  const GLfloat top = GLfloat(Units(gc).top);
  ReadRow<OneToOne, GLfloat>(info, span, [dfb, top](int32_t x, int32_t y) {
    return GLfloat(dfb->fetch(dfb, x, y)) / top;
  });
}

// The stored bits become the top bits of the word.
template <bool OneToOne>
void ReadDepthWords(GlContext *gc, GlPixelSpanInfo *info, void *span) {
  GlDepthBuffer *dfb = &gc->depthBuffer;
  const uint32_t bits = 32 - __builtin_clz(Units(gc).top | 1);
  ReadRow<OneToOne, uint32_t>(info, span, [dfb, bits](int32_t x, int32_t y) {
    const uint32_t v = dfb->fetch(dfb, x, y);
    return bits >= 32 ? v : v << (32 - bits);
  });
}

template <bool OneToOne>
void ReadStencils(GlContext *gc, GlPixelSpanInfo *info, void *span) {
  GlStencilBuffer *sfb = &gc->stencilBuffer;
  ReadRow<OneToOne, GLfloat>(info, span,
                             [sfb](int32_t x, int32_t y) { return GLfloat(sfb->fetch(sfb, x, y)); });
}

}  // namespace

__GL_SPAN_PROC(__glSpanReadRGBA) { ReadColors<false>(gc, info, span); }
// One call of the buffer's span read for the whole row.
__GL_SPAN_PROC(__glSpanReadRGBA2) {
  GlColorBuffer *cfb = gc->readBuffer;
  cfb->readSpan(cfb, int32_t(info->readX), int32_t(info->readY), static_cast<GlColor *>(span),
                info->spanWidth);
}
__GL_SPAN_PROC(__glSpanReadCI) { ReadIndices<false>(gc, info, span); }
__GL_SPAN_PROC(__glSpanReadCI2) { ReadIndices<true>(gc, info, span); }
__GL_SPAN_PROC(__glSpanReadDepth) { ReadDepths<false>(gc, info, span); }
__GL_SPAN_PROC(__glSpanReadDepth2) { ReadDepths<true>(gc, info, span); }
__GL_SPAN_PROC(__glSpanReadDepthUint) { ReadDepthWords<false>(gc, info, span); }
__GL_SPAN_PROC(__glSpanReadDepthUint2) { ReadDepthWords<true>(gc, info, span); }
__GL_SPAN_PROC(__glSpanReadStencil) { ReadStencils<false>(gc, info, span); }
__GL_SPAN_PROC(__glSpanReadStencil2) { ReadStencils<true>(gc, info, span); }
