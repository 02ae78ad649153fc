#include "tests/fastraster/setup/setup_fixture.h"

#include "tests/raster/fill/fill_fixture.h"

namespace fr_test {

namespace {

void CountLock(GlContext *gc) { static_cast<SetupContext *>(gc->imports.other)->locks++; }
void CountUnlock(GlContext *gc) { static_cast<SetupContext *>(gc->imports.other)->unlocks++; }

}  // namespace

SetupContext::SetupContext(uint32_t bitsPerPixel, const uint32_t shifts[4])
    : color(kWidth, kHeight, bitsPerPixel) {
  GlContext *g = gc();
  g->imports.other = this;  // the recorder finds its fixture here
  fill_test::SetRasterConstants(g, kBias, kWidth, kHeight, &depth, &stencil);
  g->modes.rgbMode = 1;
  g->modes.colorBits = bitsPerPixel;
  g->frontBuffer.buf.drawableBuf = color.buffer();
  static const uint32_t kXrgb[4] = {16, 8, 0, 0};
  if (!shifts) shifts = kXrgb;
  g->frontBuffer.redShift = shifts[0];
  g->frontBuffer.greenShift = shifts[1];
  g->frontBuffer.blueShift = shifts[2];
  g->frontBuffer.alphaShift = shifts[3];
  g->drawBuffer = g->front = &g->frontBuffer;
  g->lockRenderBuffers = CountLock;
  g->unlockRenderBuffers = CountUnlock;
  g->procs.fillTriangleSpan = Record;
}

SetupContext::~SetupContext() = default;

GlVertex SetupContext::Vertex(double x, double y, double z, GlColor c) {
  GlVertex v{};
  v.window = {float(x + kBias), float(y + kBias), float(z), 1.0f};
  v.colors[0] = c;
  return v;
}

void SetupContext::Draw(GlVertex *a, GlVertex *b, GlVertex *c) {
  for (GlVertex *v : {a, b, c})
    if (!v->color) v->color = &v->colors[0];
  if (!gc()->vertexBuffer.provoking) gc()->vertexBuffer.provoking = c;
  __glFRRenderTriangle(gc(), a, b, c);
}

std::map<std::pair<int32_t, int32_t>, int> SetupContext::Pixels() const {
  std::map<std::pair<int32_t, int32_t>, int> out;
  for (const Chunk &c : chunks)
    for (int i = 0; i < 32; i++)
      if (c.mask & (0x80000000u >> i)) out[{ColumnOf(c.span, i), c.span.y}]++;
  return out;
}

void GLFASTCALL SetupContext::Record(uint32_t mask, FrSpan *span) {
  SetupContext *self = static_cast<SetupContext *>(span->gc->imports.other);
  self->chunks.push_back({mask, *span});
  self->lockCountSeen = span->gc->renderLockCount;
}

}  // namespace fr_test
