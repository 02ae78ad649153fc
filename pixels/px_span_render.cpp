// Span renderers: one source row into fragments for the pixel store (or
// stencil values for the stencil buffer), repeated over the destination
// rows the row covers and, through the run array, over the columns each
// pixel covers. They trust the clip: every position they reach is inside
// the clip box.
#include <cmath>

#include "core/context.h"
#include "core/gl_convert.h"
#include "pixels/px_span_procs.h"
#include "pixels/px_state.h"
#include "raster/s_depth.h"

namespace {

// Calls emit(pixel, column, row) for every destination pixel of the row.
template <bool OneToOne, typename Emit>
void RenderRows(GlPixelSpanInfo *info, Emit emit) {
  const int32_t end = int32_t(info->y + info->zoomy);
  const int32_t n = info->spanWidth, coladd = info->coladd;
  const int16_t *run = info->pixelArray;
  int32_t row = info->startRow, rows = info->rows;
  while (row != end && rows > 0) {
    rows--;
    int32_t col = info->startCol;
    for (int32_t p = 0; p < n; p++) {
      if (OneToOne) {
        emit(p, col, row);
        col += coladd;
        continue;
      }
      for (int32_t k = int32_t(run[p]) * coladd; k > 0; k--, col += coladd) emit(p, col, row);
    }
    row += info->rowadd;
  }
  info->rows = rows;
  info->startRow = end;
}

// Fragments of the colour `color(pixel)` at the raster position's depth.
template <bool OneToOne, typename Color>
void RenderFragments(GlContext *gc, GlPixelSpanInfo *info, Color color) {
  GlColorBuffer *cfb = gc->drawBuffer;
  const GlFragmentStoreProc store = gc->procs.pixel.drawPixelsStore;
  GlFragment frag;
  frag.z = uint32_t(info->fragz);
  RenderRows<OneToOne>(info, [&](int32_t p, int32_t x, int32_t y) {
    frag.x = x, frag.y = y;
    frag.color = color(p);
    store(cfb, &frag);
  });
}

// Index fragments: only the colour's first slot is read.
GlColor Index(GLfloat i) { return {i, 0.0f, 0.0f, 0.0f}; }

// Fragments at the depths `depth(pixel)` in the raster colour.
template <bool OneToOne, typename Depth>
void RenderDepths(GlContext *gc, GlPixelSpanInfo *info, Depth depth) {
  GlColorBuffer *cfb = gc->drawBuffer;
  const GlFragmentStoreProc store = gc->procs.pixel.drawPixelsStore;
  GlFragment frag;
  frag.color = __glRasterColor(gc);
  RenderRows<OneToOne>(info, [&](int32_t p, int32_t x, int32_t y) {
    frag.x = x, frag.y = y;
    frag.z = depth(p);
    store(cfb, &frag);
  });
}

// Stencil values through the buffer's store, which applies the write mask.
template <bool OneToOne, typename Value>
void RenderStencils(GlContext *gc, GlPixelSpanInfo *info, Value value) {
  GlStencilBuffer *sfb = &gc->stencilBuffer;
  RenderRows<OneToOne>(info,
                       [&](int32_t p, int32_t x, int32_t y) { sfb->store(sfb, x, y, value(p)); });
}

template <typename T>
const T *As(const void *span) {
  return static_cast<const T *>(span);
}

// The index mask of the front colour buffer.
uint32_t IndexMask(const GlContext *gc) {
  const GlColorBuffer *cfb = gc->front ? gc->front : gc->drawBuffer;
  return cfb ? cfb->redMax : 0xFFu;
}

// Stored depth bits of the buffer; the shortcut that reads client words
// is chosen only when the largest stored word is all ones.
struct DepthWord {
  uint32_t bits, shift;
};
DepthWord DepthWordOf(GlContext *gc) {
  const GlDepthBufferPrivate *rec = __glDepthPrivate(&gc->depthBuffer);
  const uint32_t shift = rec ? rec->shift : 0;
  const uint32_t top = gc->depthBuffer.scale >> shift;
  return {32u - uint32_t(__builtin_clz(top | 1)), shift};
}

template <bool OneToOne>
void RenderColorFloats(GlContext *gc, GlPixelSpanInfo *info, const void *span) {
  const GlColor *in = As<GlColor>(span);
  RenderFragments<OneToOne>(gc, info, [in](int32_t p) { return in[p]; });
}

template <bool OneToOne>
void RenderIndexFloats(GlContext *gc, GlPixelSpanInfo *info, const void *span) {
  const GLfloat *in = As<GLfloat>(span);
  RenderFragments<OneToOne>(gc, info, [in](int32_t p) { return Index(in[p]); });
}

// A client word w of n bits arrives as w / (2^n - 1), which float rounding
// can leave a hair below the stored word it names; truncating that would
// store one less. Values that close to a stored word are taken as it, all
// others truncate.
uint32_t DepthOfFloat(double scale, double unit, GLfloat value) {
  const double z = scale * double(value);
  const double word = std::nearbyint(z / unit) * unit;
  if (std::fabs(z - word) <= scale * 0x1p-20) return __glTruncateToUint(word);
  return __glTruncateToUint(z);
}

template <bool OneToOne>
void RenderDepthFloats(GlContext *gc, GlPixelSpanInfo *info, const void *span) {
  const GLfloat *in = As<GLfloat>(span);
  const double scale = double(gc->depthBuffer.scale);
  const double unit = double(1u << DepthWordOf(gc).shift);
  RenderDepths<OneToOne>(gc, info,
                         [in, scale, unit](int32_t p) { return DepthOfFloat(scale, unit, in[p]); });
}

// Client words: their top stored-bits bits are the depth, in the buffer's
// units.
template <bool OneToOne>
void RenderDepthWords(GlContext *gc, GlPixelSpanInfo *info, const void *span) {
  const uint32_t *in = As<uint32_t>(span);
  const DepthWord w = DepthWordOf(gc);
  RenderDepths<OneToOne>(gc, info, [in, w](int32_t p) {
    const uint32_t stored = w.bits >= 32 ? in[p] : in[p] >> (32 - w.bits);
    return stored << w.shift;
  });
}

template <bool OneToOne>
void RenderStencilFloats(GlContext *gc, GlPixelSpanInfo *info, const void *span) {
  const GLfloat *in = As<GLfloat>(span);
  const uint32_t mask = (1u << gc->modes.stencilBits) - 1;
  RenderStencils<OneToOne>(gc, info, [in, mask](int32_t p) {
    return uint32_t(__glTruncateToInt64(in[p])) & mask;
  });
}

template <bool OneToOne, typename T>
void RenderStencilWords(GlContext *gc, GlPixelSpanInfo *info, const void *span) {
  const T *in = As<T>(span);
  RenderStencils<OneToOne>(gc, info, [in](int32_t p) { return uint32_t(in[p]); });
}

template <bool OneToOne, typename T>
void RenderIndexWords(GlContext *gc, GlPixelSpanInfo *info, const void *span) {
  const T *in = As<T>(span);
  const uint32_t mask = IndexMask(gc);
  RenderFragments<OneToOne>(gc, info,
                            [in, mask](int32_t p) { return Index(GLfloat(uint32_t(in[p]) & mask)); });
}

// Unsigned bytes through the lookup tables the picker made current.
template <bool OneToOne>
void RenderIndexBytes(GlContext *gc, GlPixelSpanInfo *info, const void *span) {
  const uint8_t *in = As<uint8_t>(span);
  const GLfloat *table = gc->pixel.modify.currentTables[0];
  RenderFragments<OneToOne>(gc, info, [in, table](int32_t p) { return Index(table[in[p]]); });
}

template <bool OneToOne>
void RenderIndexBytesAsColors(GlContext *gc, GlPixelSpanInfo *info, const void *span) {
  const uint8_t *in = As<uint8_t>(span);
  GLfloat *const *t = gc->pixel.modify.currentTables;
  RenderFragments<OneToOne>(gc, info, [in, t](int32_t p) {
    const uint8_t i = in[p];
    return GlColor{t[0][i], t[1][i], t[2][i], t[3][i]};
  });
}

// Three bytes a pixel; alpha is what a full byte of alpha becomes.
template <bool OneToOne>
void RenderRGBBytes(GlContext *gc, GlPixelSpanInfo *info, const void *span) {
  const uint8_t *in = As<uint8_t>(span);
  GLfloat *const *t = gc->pixel.modify.currentTables;
  const GLfloat alpha = t[3][255];
  RenderFragments<OneToOne>(gc, info, [in, t, alpha](int32_t p) {
    const uint8_t *s = in + 3 * p;
    return GlColor{t[0][s[0]], t[1][s[1]], t[2][s[2]], alpha};
  });
}

template <bool OneToOne>
void RenderRGBABytes(GlContext *gc, GlPixelSpanInfo *info, const void *span) {
  const uint8_t *in = As<uint8_t>(span);
  GLfloat *const *t = gc->pixel.modify.currentTables;
  RenderFragments<OneToOne>(gc, info, [in, t](int32_t p) {
    const uint8_t *s = in + 4 * p;
    return GlColor{t[0][s[0]], t[1][s[1]], t[2][s[2]], t[3][s[3]]};
  });
}

}  // namespace

// The raster colour is kept at the context's scale like a vertex colour.
GlColor __glRasterColor(const GlContext *gc) {
  const GlVertex &rp = gc->state.current.rasterPos;
  const GlColor c = rp.color ? *rp.color : rp.colors[0];
  if (gc->modes.colorIndexMode) return c;
  const GlConstants &k = gc->constants;
  return {c.r * k.redRescale, c.g * k.greenRescale, c.b * k.blueRescale, c.a * k.alphaRescale};
}

__GL_SPAN_PROC(__glSpanRenderRGBA) { RenderColorFloats<false>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderRGBA2) { RenderColorFloats<true>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderCI) { RenderIndexFloats<false>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderCI2) { RenderIndexFloats<true>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderDepth) { RenderDepthFloats<false>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderDepth2) { RenderDepthFloats<true>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderDepthUint) { RenderDepthWords<false>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderDepthUint2) { RenderDepthWords<true>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderStencil) { RenderStencilFloats<false>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderStencil2) { RenderStencilFloats<true>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderStencilUbyte) { RenderStencilWords<false, uint8_t>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderStencilUbyte2) { RenderStencilWords<true, uint8_t>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderStencilUshort) { RenderStencilWords<false, uint16_t>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderStencilUshort2) { RenderStencilWords<true, uint16_t>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderCIuint) { RenderIndexWords<false, uint32_t>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderCIuint2) { RenderIndexWords<true, uint32_t>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderCIushort) { RenderIndexWords<false, uint16_t>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderCIushort2) { RenderIndexWords<true, uint16_t>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderCIubyte) { RenderIndexBytes<false>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderCIubyte2) { RenderIndexBytes<true>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderCIubyte3) { RenderIndexBytesAsColors<false>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderCIubyte4) { RenderIndexBytesAsColors<true>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderRGBubyte) { RenderRGBBytes<false>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderRGBubyte2) { RenderRGBBytes<true>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderRGBAubyte) { RenderRGBABytes<false>(gc, info, span); }
__GL_SPAN_PROC(__glSpanRenderRGBAubyte2) { RenderRGBABytes<true>(gc, info, span); }
