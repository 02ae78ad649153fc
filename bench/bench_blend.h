// The blend cases of bench_triangles: the five pairs the picker admits, on
// the 8- and 16-bit RGB formats, 100- and 1000-pixel triangles, flat and
// smooth, over 16-bit depth, through three paths: "mmx", the MMX body with
// its blending; "chain", spanlet mode with the depth-test spanlet, the
// colour kernel and the blend combine kernel (what processors without MMX
// get); and "generic", the generic fill. The rasterizer is timed alone, as
// in the other path cases.
#pragma once

#include <stdio.h>

#include <iterator>
#include <vector>

#include "bench/bench_raster_batch.h"
#include "bench/bench_shapes.h"
#include "codegen/og_fr.h"
#include "codegen/og_ras.h"
#include "core/s_constants.h"
#include "fastraster/fr_combine.h"
#include "fastraster/fr_genclr.h"
#include "raster/s_triangle.h"
#include "tools/scene_window.h"

namespace bench {

enum class BlendPath { kMmx, kChain, kGeneric };

struct BlendPair {
  const char *name;
  GLenum src, dst;
  uint32_t combine;  // the combine kernel's slot, without dither
};
inline const BlendPair kBlendPairs[] = {
    {"sa-zero", GL_SRC_ALPHA, GL_ZERO, 0x60},
    {"sa-one", GL_SRC_ALPHA, GL_ONE, 0x61},
    {"sa-omsa", GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, 0x63},
    {"omsa-sa", GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA, 0x66},
    {"sat-one", GL_SRC_ALPHA_SATURATE, GL_ONE, 0x69},
};

struct BlendFormat {
  const char *name;
  SceneColor color;
};
inline const BlendFormat kBlendFormats[] = {
    {"332", kSceneRgb332}, {"555", kSceneRgb555}, {"565", kSceneRgb565}};
inline const float kBlendAreas[] = {100, 1000};
inline const char *const kBlendPathNames[] = {"mmx", "chain", "generic"};

struct BlendCase {
  char name[64];
  const BlendPair *pair;
  SceneColor color;
  bool smooth;
  float area;
  BlendPath path;
};

constexpr size_t kBlendCaseCount =
    std::size(kBlendPairs) * std::size(kBlendFormats) * 2 * std::size(kBlendAreas) * 3;

inline void MakeBlendCases(BlendCase (&cases)[kBlendCaseCount]) {
  BlendCase *c = cases;
  for (const BlendPair &p : kBlendPairs)
    for (const BlendFormat &f : kBlendFormats)
      for (bool smooth : {false, true})
        for (float area : kBlendAreas)
          for (BlendPath path : {BlendPath::kMmx, BlendPath::kChain, BlendPath::kGeneric}) {
            *c = BlendCase{{}, &p, f.color, smooth, area, path};
            snprintf(c->name, sizeof c->name, "blend-%s-%s-%s-%s-%dpx",
                     kBlendPathNames[int(path)], p.name, f.name, smooth ? "smooth" : "flat",
                     int(area));
            c++;
          }
}

// The chain the picker builds for the validated state on a processor
// without MMX: depth test, colours with alpha, blend combine; then the
// generated setup and walk of spanlet mode.
inline bool InstallBlendChain(GlContext *gc, const BlendCase &c) {
  const uint8_t type = gc->drawBuffer->frFbType;
  const FrSpanletProc *colors = __glGenColorTab[type], *combine = __glCombineTab[type];
  if (!colors || !combine) return false;
  GlProcs &p = gc->procs;
  p.fillTriangleSpan = reinterpret_cast<FrSpanletProc>(OGGenerateZT(gc));
  p.afterDepthTest = colors[0x01 | (c.smooth ? 0x02 : 0)];
  p.afterColors = combine[c.pair->combine];
  return p.fillTriangleSpan && p.afterDepthTest && p.afterColors &&
         __glForceGeneratedTriangle(gc, 1);
}

// Draws once to validate, then times the case's path; false when the
// window or the path could not be had or GL raised an error.
template <typename DrawBatch>
bool RunBlendCase(const BlendCase &c, int32_t width, int32_t height, double seconds,
                  DrawBatch drawBatch, double (*areaInWindow)(const Vertex *),
                  RunTotals *median) {
  SceneWindow window;
  if (!SceneWindowOpenColor(&window, width, height, c.color, 16)) return false;
  GlContext *gc = window.gc;
  if (c.path == BlendPath::kChain) gc->constants.cpuFlags &= ~GlCpuFlags(__GL_CPU_MMX);
  PixelProjection(width, height);
  glDisable(GL_DITHER);
  glShadeModel(c.smooth ? GL_SMOOTH : GL_FLAT);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glBlendFunc(c.pair->src, c.pair->dst);
  glEnable(GL_BLEND);
  const int count = int(400000 / c.area);
  double pixels = 0;
  std::vector<Vertex> shapes = RightTriangles(c.area, count, width, height, false);
  for (int t = 0; t < count; t++) pixels += areaInWindow(&shapes[size_t(t) * 3]);
  drawBatch(shapes);  // validation
  bool ok = true;
  switch (c.path) {
    case BlendPath::kMmx: ok = __glForceGeneratedTriangle(gc, 0); break;
    case BlendPath::kChain: ok = InstallBlendChain(gc, c); break;
    case BlendPath::kGeneric: gc->procs.fillTriangle = __glFillTriangle; break;
  }
  if (ok) {
    std::vector<GlVertex> vertices = WindowVertices(gc, c.area, count, width, height, true);
    for (GlVertex &v : vertices) v.colors[0].a *= gc->drawBuffer->alphaScale;
    *median = TimeRuns(seconds, [&] {
      return RunTotals{double(count), pixels, RasterBatch(gc, vertices)};
    });
    ok = glGetError() == GL_NO_ERROR;
  }
  SceneWindowClose(&window);
  return ok;
}

}  // namespace bench
