// The setup's buffer addresses: the first pixel of the first row and its
// steps for each buffer the span routine writes. Base and pitch are read
// at run time through the buffer record's drawable-buffer pointer, never
// from an address inside a drawable: a make-current onto another window of
// the same format reuses the routine.
#include "codegen/og_ras_setup.h"

#include <initializer_list>

#include "core/drawable.h"
#include "fastraster/fr_setup.h"

namespace og_setup {
namespace {

constexpr size_t kDrawableBuf = offsetof(GlBuffer, drawableBuf);

struct AddressWords {
  size_t edge, dx, dx32, dy, dyCarry;
};

// esi holds the drawable buffer; its element size b is fixed by the format.
// Uses ebx and ecx (the sorted vertices are kept in the data area).
void Buf(Gen &g, const AddressWords &w, uint32_t b) {
  GlContext *gc = g.gc;
  g.E(test(gc, esi, esi));
  g.E(je(gc, g.rejectCw));
  g.E(mov(gc, ebx, g.Span(offsetof(FrSpan, ixLong))));
  g.cb = scaleby(gc, g.cb, ecx, ebx, b);
  g.E(mov(gc, ebx, g.At(esi, offsetof(GlDrawableBuffer, pitchBytes))));
  g.E(mov(gc, edx, g.Span(offsetof(FrSpan, iyTop))));
  g.E(imul(gc, edx, ebx));
  g.E(add(gc, edx, ecx));
  g.E(add(gc, edx, g.At(esi, offsetof(GlDrawableBuffer, base))));
  g.E(mov(gc, g.Span(w.edge), edx));
  g.E(mov(gc, edx, g.Span(offsetof(FrSpan, direction))));
  g.cb = scaleby(gc, g.cb, ecx, edx, b);
  g.E(mov(gc, g.Span(w.dx), ecx));
  if (g.spanlet) {
    g.E(shl(gc, ecx, g.V(5)));
    g.E(mov(gc, g.Span(w.dx32), ecx));
  }
  const size_t steps[2] = {offsetof(FrSpan, dxLong), offsetof(FrSpan, dxLongCarry)};
  const size_t rows[2] = {w.dy, w.dyCarry};
  for (int i = 0; i < 2; i++) {
    g.E(mov(gc, edx, g.Span(steps[i])));
    g.cb = scaleby(gc, g.cb, ecx, edx, b);
    g.E(add(gc, ecx, ebx));
    g.E(mov(gc, g.Span(rows[i]), ecx));
  }
}

// The element size of a buffer record's drawable buffer now; 0 without one.
uint32_t ElementSize(const GlBuffer &buf) {
  return buf.drawableBuf ? buf.drawableBuf->elementSize : 0;
}

#define OG_ADDRESS_WORDS(P)                                                           \
  AddressWords {                                                                      \
    offsetof(FrSpan, P##Edge), offsetof(FrSpan, d##P##dx), offsetof(FrSpan, d##P##dxBig), \
        offsetof(FrSpan, d##P##Edge), offsetof(FrSpan, d##P##EdgeCarry)               \
  }

// A colour buffer chosen through a context pointer (the draw buffer may
// change without a new state key).
bool ColorBuf(Gen &g, GlColorBuffer *const *which, const AddressWords &w) {
  const uint32_t b = *which ? ElementSize((*which)->buf) : 0;
  if (b == 0) return false;
  g.E(mov(g.gc, esi, g.Abs(which)));
  g.E(mov(g.gc, esi, g.At(esi, kDrawableBuf)));
  Buf(g, w, b);
  return true;
}

bool EmbeddedBuf(Gen &g, GlBuffer *buf, const AddressWords &w) {
  const uint32_t b = ElementSize(*buf);
  if (b == 0) return false;
  g.E(mov(g.gc, esi, g.Abs(&buf->drawableBuf)));
  Buf(g, w, b);
  return true;
}

}  // namespace

void BufferAddresses(Gen &g) {
  GlContext *gc = g.gc;
  bool ok = true;
  if (g.stateBits & 0x10) ok &= ColorBuf(g, &gc->front, OG_ADDRESS_WORDS(pixel2));
  ok &= ColorBuf(g, &gc->drawBuffer, OG_ADDRESS_WORDS(pixel));
  if (g.flags & __GL_SHADE_STENCIL_TEST)
    ok &= EmbeddedBuf(g, &gc->stencilBuffer.buf, OG_ADDRESS_WORDS(sbuf));
  if (g.stateBits & 0x08) ok &= EmbeddedBuf(g, &gc->depthBuffer.buf, OG_ADDRESS_WORDS(zbuf));
  if (!ok) og_fail(gc, "every buffer drawn has a drawable buffer");
}

#undef OG_ADDRESS_WORDS

}  // namespace og_setup
