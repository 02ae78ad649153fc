// The rasterizer timed alone: window-space vertices of the benchmark
// triangles, validated in full, handed to procs.renderTriangle inside the
// render lock, so the render procedure computes nothing before the fill.
#pragma once

#include <vector>

#include "bench/bench_fill.h"
#include "bench/bench_gl.h"
#include "bench/bench_timer.h"
#include "geometry/s_prim.h"

namespace bench {

// Colours at the colour buffer's scale, window z in [0, 1].
inline std::vector<GlVertex> WindowVertices(GlContext *gc, float area, int count, int32_t width,
                                            int32_t height, bool rgba) {
  std::vector<GlVertex> v =
      FillVertices(area, count, width, height, int(gc->constants.viewportXAdjust));
  const GlColorBuffer *cfb = gc->drawBuffer;
  for (GlVertex &x : v) {
    x.has = ~0u;
    GlColor &c = x.colors[0];
    if (rgba) {
      c.r *= cfb->redScale, c.g *= cfb->greenScale, c.b *= cfb->blueScale;
    } else {
      c.r *= 255.0f;
    }
    x.colors[1] = c;
    x.color = &x.colors[0];
  }
  return v;
}

inline double RasterBatch(GlContext *gc, std::vector<GlVertex> &v) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  const double start = Now();
  __glRenderLock(gc);
  for (size_t i = 0; i + 2 < v.size(); i += 3) {
    gc->vertexBuffer.provoking = &v[i + 2];
    gc->procs.renderTriangle(gc, &v[i], &v[i + 1], &v[i + 2]);
  }
  __glRenderUnlock(gc);
  return Now() - start;
}

}  // namespace bench
