// Timing a triangle fill procedure on the benchmark triangles: the vertices
// in window coordinates with the window bias, a batch drawn through the
// fill, and the median of the timed runs.
#pragma once

#include <vector>

#include "bench/bench_shapes.h"
#include "bench/bench_timer.h"
#include "core/context.h"

namespace bench {

inline std::vector<GlVertex> FillVertices(float area, int count, int width, int height,
                                          int bias) {
  const std::vector<Vertex> shapes = RightTriangles(area, count, width, height, false);
  std::vector<GlVertex> out(shapes.size());
  for (size_t i = 0; i < shapes.size(); i++) {
    const Vertex &s = shapes[i];
    GlVertex &v = out[i];
    v = GlVertex{};
    v.window = {s.x + float(bias), s.y + float(bias), (s.z + 1) / 2, 1};
    v.colors[0] = {s.r, s.g, s.b, s.a};
    v.color = &v.colors[0];
  }
  return out;
}

inline double FillBatch(GlFillTriangleProc fill, GlContext *gc, std::vector<GlVertex> &v) {
  const double start = Now();
  for (size_t i = 0; i + 2 < v.size(); i += 3) {
    gc->vertexBuffer.provoking = &v[i + 2];
    fill(gc, &v[i], &v[i + 1], &v[i + 2]);
  }
  return Now() - start;
}

// 4096 triangles of `area` pixels, warmed up once, then timed in kRuns runs
// of seconds / kRuns each.
inline RunTotals TimeFill(GlFillTriangleProc fill, GlContext *gc, float area, double seconds,
                          int width, int height, int bias) {
  const int count = 4096;
  std::vector<GlVertex> batch = FillVertices(area, count, width, height, bias);
  FillBatch(fill, gc, batch);
  RunTotals runs[kRuns];
  for (RunTotals &run : runs) {
    while (run.seconds < seconds / kRuns) {
      run.seconds += FillBatch(fill, gc, batch);
      run.work += count;
      run.pixels += double(count) * area;
    }
  }
  return Median(runs, kRuns);
}

}  // namespace bench
