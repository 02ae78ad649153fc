#include "tests/raster/lines/line_fixture.h"

#include "raster/s_line.h"
#include "raster/s_line_walk.h"

namespace line_test {

std::vector<Pixel> RunPixels(const GlContext *gc) {
  std::vector<Pixel> pixels;
  line_walk::Dda dda(gc->line);
  for (int32_t k = 0; k < gc->polygon.shader.length; k++) {
    pixels.push_back({dda.x - kBias, dda.y - kBias});
    dda.Step();
  }
  return pixels;
}

LineContext::LineContext() {
  GlContext *g = gc();
  g->imports.other = this;
  GlConstants &k = g->constants;
  k.viewportXAdjust = k.viewportYAdjust = kBias;
  k.fviewportXAdjust = k.fviewportYAdjust = float(kBias);
  k.redRescale = k.greenRescale = k.blueRescale = k.alphaRescale = 1.0f;
  k.depthMax = float(0x7FC00000u);
  g->state.line.aliasedWidth = 1;
  g->state.line.stippleRepeat = 1;
  g->procs.line.processLine = Record;
  for (int i = 0; i < 2; i++) {
    colors_[i].resize(GL_SPAN_PIXELS);
    g->spanColors[i] = colors_[i].data();
  }
  stipple_.resize(GL_SPAN_STIPPLE_WORDS);
  g->spanStipple = stipple_.data();
}

GlVertex LineContext::Vertex(double x, double y, double z, GlColor color) {
  GlVertex v{};
  v.window = {float(x + kBias), float(y + kBias), float(z), 1.0f};
  v.colors[0] = color;
  return v;
}

void LineContext::Draw(GlVertex a, GlVertex b) {
  a.color = &a.colors[0];
  b.color = &b.colors[0];
  __glRenderAliasLine(gc(), &a, &b);
}

void LineContext::Record(GlContext *gc) {
  LineContext *self = static_cast<LineContext *>(gc->imports.other);
  self->runs.push_back({RunPixels(gc), gc->polygon.shader});
}

}  // namespace line_test
