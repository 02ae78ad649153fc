#include "tests/raster/fill/fill_fixture.h"

#include "raster/s_triangle.h"

namespace fill_test {

void SetRasterConstants(GlContext *gc, int32_t bias, int32_t width, int32_t height,
                        PixelMemory *depth, PixelMemory *stencil) {
  GlConstants &k = gc->constants;
  k.viewportXAdjust = k.viewportYAdjust = bias;
  k.fviewportXAdjust = k.fviewportYAdjust = float(bias);
  k.width = width;
  k.height = height;
  k.redRescale = k.greenRescale = k.blueRescale = k.alphaRescale = 1.0f;
  k.depthScale = 1.0f;
  k.depthMax = float(0x7FC00000u);
  gc->depthBuffer.scale = 0x7FC00000u;
  gc->depthBuffer.offsetUnit = 256.0f;
  gc->depthBuffer.buf.drawableBuf = depth->buffer();
  gc->stencilBuffer.buf.drawableBuf = stencil->buffer();
}

FillContext::FillContext() {
  GlContext *g = gc();
  g->imports.other = this;  // the recorder finds its fixture here
  SetRasterConstants(g, kBias, kWidth, kHeight, &depth, &stencil);
  g->procs.span.processSpan = Record;
  SetClipBox(0, 0, kWidth, kHeight);
}

FillContext::~FillContext() = default;

void FillContext::SetClipBox(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  int32_t *box = gc()->transform.clipBox;
  box[0] = x0 + kBias;
  box[1] = y0 + kBias;
  box[2] = x1 + kBias;
  box[3] = y1 + kBias;
}

GlVertex FillContext::Vertex(double x, double y, double z, GlColor color) {
  GlVertex v{};
  v.window = {float(x + kBias), float(y + kBias), float(z), 1.0f};
  v.colors[0] = color;
  return v;
}

void FillContext::Fill(GlVertex *a, GlVertex *b, GlVertex *c) {
  for (GlVertex *v : {a, b, c})
    if (!v->color) v->color = &v->colors[0];
  __glFillTriangle(gc(), a, b, c);
}

GLbool8 FillContext::Record(GlContext *gc) {
  FillContext *self = static_cast<FillContext *>(gc->imports.other);
  const GlShader &sh = gc->polygon.shader;
  self->spans.push_back({sh.x - kBias, sh.y - kBias, sh.length, sh});
  for (int32_t i = 0; i < sh.length; i++) self->counts[{sh.x - kBias + i, sh.y - kBias}]++;
  return 0;
}

}  // namespace fill_test
