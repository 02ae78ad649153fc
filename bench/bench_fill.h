// Timing a triangle fill procedure on the benchmark triangles: a zeroed
// context around memory buffers, the vertices in window coordinates with the
// window bias, a batch drawn through the fill, and the median of the timed
// runs.
#pragma once

#include <stdlib.h>

#include <vector>

#include "bench/bench_shapes.h"
#include "bench/bench_timer.h"
#include "codegen/og.h"
#include "codegen/og_cache.h"
#include "core/context.h"
#include "core/drawable.h"
#include "core/s_context.h"

namespace bench {

// A buffer over plain memory, rows `width` pixels apart.
struct Memory {
  std::vector<uint8_t> bytes;
  GlDrawableBuffer buffer{};
  Memory(int32_t width, int32_t height, uint32_t size)
      : bytes(size_t(width) * size_t(height) * size) {
    buffer.width = width, buffer.height = height;
    buffer.depth = 8 * size, buffer.elementSize = size;
    buffer.elementSizeLog2 = size == 4 ? 2 : size == 2 ? 1 : 0;
    buffer.pitch = width, buffer.pitchBytes = width * int32_t(size);
    buffer.base = bytes.data();
  }
};

// A zeroed context that a fill procedure can draw with alone: the window
// `bias`, a width x height 5-6-5 draw buffer and a depth buffer of `depthScale`
// in words of `depthBytes`, the clip box round the whole window, and the C
// library's allocator, so that the code cache can be started.
struct FillContext {
  GlContext *gc = static_cast<GlContext *>(calloc(1, sizeof(GlContext)));
  Memory color, depth;

  FillContext(int32_t width, int32_t height, int32_t bias, uint32_t depthBytes,
              uint32_t depthScale)
      : color(width, height, 2), depth(width, height, depthBytes) {
    gc->imports.malloc = [](GlContext *, size_t n) { return malloc(n); };
    gc->imports.calloc = [](GlContext *, size_t n, size_t size) { return calloc(n, size); };
    gc->imports.free = [](GlContext *, void *p) { free(p); };
    GlConstants &k = gc->constants;
    k.viewportXAdjust = k.viewportYAdjust = bias;
    k.fviewportXAdjust = k.fviewportYAdjust = float(bias);
    k.width = width, k.height = height;
    k.redRescale = k.blueRescale = k.alphaRescale = 31.0f;
    k.greenRescale = 63.0f;
    k.depthMax = float(depthScale);
    gc->renderMode = GL_RENDER;
    gc->modes.rgbMode = 1;
    gc->frontBuffer.buf.drawableBuf = &color.buffer;
    gc->frontBuffer.redShift = 11, gc->frontBuffer.greenShift = 5;
    gc->drawBuffer = gc->front = &gc->frontBuffer;
    gc->depthBuffer.buf.drawableBuf = &depth.buffer;
    gc->depthBuffer.scale = depthScale;
    int32_t *box = gc->transform.clipBox;
    box[0] = box[1] = bias, box[2] = bias + width, box[3] = bias + height;
  }
  ~FillContext() {
    __glReleaseCodeCache(gc);
    og_free_pools(gc);
    free(gc);
  }
  FillContext(const FillContext &) = delete;
  FillContext &operator=(const FillContext &) = delete;

  // The code generator's pools and cache; false when they cannot be had.
  bool StartCodeCache() {
    __glSetCodeCacheSizes(gc);
    return og_init_pools(gc) && __glInitializeCodeCache(gc);
  }
};

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
// of seconds / kRuns each; no totals when the path could not be had (a null
// fill).
inline RunTotals TimeFill(GlFillTriangleProc fill, GlContext *gc, float area, double seconds,
                          int width, int height, int bias) {
  if (fill == nullptr) return {};
  const int count = 4096;
  std::vector<GlVertex> batch = FillVertices(area, count, width, height, bias);
  return TimeRuns(seconds, [&] {
    return RunTotals{double(count), double(count) * area, FillBatch(fill, gc, batch)};
  });
}

}  // namespace bench
