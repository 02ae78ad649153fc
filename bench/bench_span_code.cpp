// The generated x86/x87 span code outside spanlet mode against the generic
// triangle path: triangles and pixels per second of 10-, 100- and
// 1000-pixel triangles, flat and smooth, depth tested (GL_LESS) over 16- and
// 32-bit depth, on RGB332, RGB565, XRGB8 and CI8 in a 640 x 480 memory
// window. "raster" times the rasterizer alone (window-space vertices handed
// to procs.renderTriangle inside the render lock); "road" the whole road
// through glBegin / glEnd. The generated routine is installed with
// __glForceGeneratedTriangle on a context whose MMX flag is cleared, so the
// x86/x87 routine runs whatever the processor.
#include <stdio.h>
#include <string.h>

#include <iterator>
#include <vector>

#include "bench/bench_fill.h"
#include "bench/bench_raster_batch.h"
#include "bench/bench_gl.h"
#include "bench/bench_timer.h"
#include "codegen/og_ras.h"
#include "core/gl_api.h"
#include "core/s_constants.h"
#include "geometry/s_prim.h"
#include "tools/scene_window.h"

namespace {

constexpr int32_t kWidth = 640, kHeight = 480;
constexpr int kTriangles = 4096;  // a batch

struct Format {
  const char *name;
  SceneColor color;
};
const Format kFormats[] = {{"332", kSceneRgb332},
                           {"565", kSceneRgb565},
                           {"xrgb8", kSceneXrgb8},
                           {"ci8", kSceneIndex8}};

void SetState(bool smooth, bool rgba) {
  bench::PixelProjection(kWidth, kHeight);
  glDisable(GL_DITHER);
  glShadeModel(smooth ? GL_SMOOTH : GL_FLAT);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  if (!rgba) glClearIndex(0);
}

double RoadBatch(const std::vector<bench::Vertex> &batch, bool rgba) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glFinish();
  const double start = bench::Now();
  glBegin(GL_TRIANGLES);
  for (const bench::Vertex &v : batch) {
    if (rgba)
      glColor4f(v.r, v.g, v.b, v.a);
    else
      glIndexf(v.r * 255.0f);
    glVertex3f(v.x, v.y, v.z);
  }
  glEnd();
  glFinish();
  return bench::Now() - start;
}

struct SpanCase {
  char name[64];
  const Format *format;
  uint32_t depthBits;
  bool smooth;
  float area;
  bool generated;
};

constexpr size_t kCaseCount = std::size(kFormats) * 2 * 2 * 3 * 2;

// Every format, depth, shading and size, the generated routine before the
// generic path.
void MakeCases(SpanCase (&cases)[kCaseCount]) {
  SpanCase *c = cases;
  for (const Format &f : kFormats)
    for (uint32_t depthBits : {16u, 32u})
      for (bool smooth : {false, true})
        for (float area : {10.0f, 100.0f, 1000.0f})
          for (bool generated : {true, false}) {
            *c = SpanCase{{}, &f, depthBits, smooth, area, generated};
            snprintf(c->name, sizeof c->name, "%s-%s-%s-z%u-%dpx", generated ? "gen" : "generic",
                     f.name, smooth ? "smooth" : "flat", depthBits, int(area));
            c++;
          }
}

// Both measures of one case; false when no window could be had.
bool RunCase(const SpanCase &c, double seconds, bench::RunTotals *raster, bench::RunTotals *road) {
  SceneWindow window;
  if (!SceneWindowOpenColor(&window, kWidth, kHeight, c.format->color, c.depthBits)) return false;
  GlContext *gc = window.gc;
  gc->constants.cpuFlags &= ~GlCpuFlags(__GL_CPU_MMX);
  const bool rgba = c.format->color != kSceneIndex8;
  SetState(c.smooth, rgba);
  const std::vector<bench::Vertex> shapes =
      bench::RightTriangles(c.area, kTriangles, kWidth, kHeight, false);
  RoadBatch(shapes, rgba);  // validation
  if (c.generated && !__glForceGeneratedTriangle(gc, 0)) {
    SceneWindowClose(&window);
    return false;
  }
  std::vector<GlVertex> vertices =
      bench::WindowVertices(gc, c.area, kTriangles, kWidth, kHeight, rgba);
  const double pixels = double(kTriangles) * c.area;
  *raster = bench::TimeRuns(seconds, [&] {
    return bench::RunTotals{double(kTriangles), pixels, bench::RasterBatch(gc, vertices)};
  });
  *road = bench::TimeRuns(seconds, [&] {
    return bench::RunTotals{double(kTriangles), pixels, RoadBatch(shapes, rgba)};
  });
  const GLenum error = glGetError();
  SceneWindowClose(&window);
  return error == GL_NO_ERROR;
}

}  // namespace

int main(int argc, char **argv) {
  bench::Options options;
  if (!bench::ParseOptions(argc, argv, &options)) return 2;
  printf("bench_span_code: %d x %d, GL_LESS, median of %d runs, %.2f s a measure\n", kWidth,
         kHeight, bench::kRuns, options.seconds);
  printf("%-30s %14s %10s %14s %10s\n", "case", "raster tri/s", "Mpix/s", "road tri/s", "Mpix/s");
  static SpanCase cases[kCaseCount];
  MakeCases(cases);
  return bench::RunWanted("bench_span_code", options, cases, [&](const SpanCase &c) {
    bench::RunTotals raster, road;
    if (!RunCase(c, options.seconds, &raster, &road)) {
      fprintf(stderr, "bench_span_code: %s: failed\n", c.name);
      return false;
    }
    printf("%-30s %14.0f %10.2f %14.0f %10.2f\n", c.name, raster.Rate(),
           raster.PixelRate() / 1e6, road.Rate(), road.PixelRate() / 1e6);
    return true;
  });
}
