// Triangles and pixels per second through glBegin / glEnd into a 640 x 480
// memory window along whatever path the picker installs, one line per state
// in the table below and a total, and the raster paths forced by hand. The
// triangles come from a fixed seed, so every run draws the same picture.
// Pixels are the triangles' areas inside the window (what the rasterizer
// walks), whether or not the fragment tests then keep them.
//
// The "path" cases time the rasterizer alone (window-space vertices handed
// to procs.renderTriangle) for one raster path: "mmx", the generated dual
// routine of an MMX context (the MMX body above |sizeMeasure| 50.0, its
// x86/x87 part below, which the 10-pixel case shows), "x86", the x86/x87
// routine of a context whose MMX flag is cleared, and "generic", the generic
// path; generated routines are installed with __glForceGeneratedTriangle.
// The "blend" cases (bench_blend.h) time the five admitted blend pairs the
// same way.
#include <math.h>
#include <stdio.h>

#include <iterator>
#include <vector>

#include "bench/bench_blend.h"
#include "bench/bench_raster_batch.h"
#include "bench/bench_shapes.h"
#include "bench/bench_timer.h"
#include "bench/bench_window.h"
#include "codegen/og_ras.h"
#include "core/s_constants.h"

namespace {

constexpr int32_t kWidth = 640, kHeight = 480;

enum Size { kSmall, kMedium, kLarge, kClipped };
constexpr float kArea[] = {10, 100, 10000, 1000};  // pixels per triangle

struct TriangleCase {
  const char *name;
  bool smooth;
  uint32_t depthBits;  // 0: depth test off
  bool stencil, offset, alphaTest, fog, lighting;
  Size size;
};

const TriangleCase kCases[] = {
    {"flat", false, 0, false, false, false, false, false, kMedium},
    {"smooth", true, 0, false, false, false, false, false, kMedium},
    {"flat-depth24", false, 24, false, false, false, false, false, kMedium},
    {"smooth-depth24", true, 24, false, false, false, false, false, kMedium},
    {"smooth-depth16", true, 16, false, false, false, false, false, kMedium},
    {"stencil-depth24", true, 24, true, false, false, false, false, kMedium},
    {"offset-depth24", true, 24, false, true, false, false, false, kMedium},
    {"alpha-test", true, 0, false, false, true, false, false, kMedium},
    {"fog", true, 0, false, false, false, true, false, kMedium},
    {"lit", true, 0, false, false, false, false, true, kMedium},
    {"lit-fog-depth24", true, 24, false, false, false, true, true, kMedium},
    {"small-10px", true, 24, false, false, false, false, false, kSmall},
    {"medium-100px", true, 24, false, false, false, false, false, kMedium},
    {"large-10000px", true, 24, false, false, false, false, false, kLarge},
    {"clipped", true, 24, false, false, false, false, false, kClipped},
};

using bench::Vertex;

// The part of a triangle the window shows, in pixels.
double AreaInWindow(const Vertex *v) { return bench::AreaInWindow(v, kWidth, kHeight); }

// Right triangles of the case's area, turned at random; clipped ones sit
// across the window's edges.
std::vector<Vertex> MakeTriangles(const TriangleCase &c, int count, double *pixels) {
  std::vector<Vertex> out =
      bench::RightTriangles(kArea[c.size], count, kWidth, kHeight, c.size == kClipped);
  *pixels = 0;
  for (int t = 0; t < count; t++) *pixels += AreaInWindow(&out[size_t(t) * 3]);
  return out;
}

void SetState(const TriangleCase &c) {
  bench::PixelProjection(kWidth, kHeight);
  glDisable(GL_DITHER);
  glShadeModel(c.smooth ? GL_SMOOTH : GL_FLAT);
  glClearColor(0.1f, 0.1f, 0.2f, 1);
  if (c.depthBits) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
  }
  if (c.stencil) {
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_GEQUAL, 0x80, 0xFF);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
  }
  if (c.offset) {
    glEnable(GL_POLYGON_OFFSET_FILL);
    glPolygonOffset(1, 2);
  }
  if (c.alphaTest) {
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.25f);
  }
  if (c.fog) {
    static const GLfloat kGrey[4] = {0.5f, 0.5f, 0.55f, 1};
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, -1);
    glFogf(GL_FOG_END, 1);
    glFogfv(GL_FOG_COLOR, kGrey);
  }
  if (c.lighting) {
    static const GLfloat kAt[4] = {0.3f, 0.4f, 1, 0}, kWhite[4] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, kAt);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kWhite);
    glEnable(GL_LIGHT0);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_NORMALIZE);
    glEnable(GL_LIGHTING);
  }
}

// One batch, timed from glBegin to glFinish; the clear before it is not.
double DrawBatch(const std::vector<Vertex> &batch, bool normals) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  glFinish();
  const double start = bench::Now();
  glBegin(GL_TRIANGLES);
  for (const Vertex &v : batch) {
    glColor4f(v.r, v.g, v.b, v.a);
    if (normals) glNormal3f(v.nx, v.ny, v.nz);
    glVertex3f(v.x, v.y, v.z);
  }
  glEnd();
  glFinish();
  return bench::Now() - start;
}

// The median run of the case; false when the window could not be had or GL
// raised an error.
bool RunCase(const TriangleCase &c, double seconds, bench::RunTotals *median) {
  // About 400,000 pixels a batch, so the clear between batches stays small.
  const int count = int(fmin(4096, fmax(16, 400000 / kArea[c.size])));
  double batchPixels = 0;
  const std::vector<Vertex> batch = MakeTriangles(c, count, &batchPixels);
  return bench::TimeInWindow(
      "bench_forced_paths", c.name, kWidth, kHeight, c.depthBits ? c.depthBits : 24, seconds,
      [&] { SetState(c); },
      [&] { return bench::RunTotals{double(count), batchPixels, DrawBatch(batch, c.lighting)}; },
      median);
}

enum class RasterPath { kMmx, kX86, kGeneric };

struct PathCase {
  char name[64];
  SceneColor color;
  bool smooth;
  uint32_t depthBits;  // 0: no depth test
  float area;
  RasterPath path;
};

struct PathFormat {
  const char *name;
  SceneColor color;
};
const PathFormat kPathFormats[] = {{"332", kSceneRgb332}, {"565", kSceneRgb565}};
const float kPathAreas[] = {10, 100, 1000, 10000};
const char *const kPathNames[] = {"mmx", "x86", "generic"};

constexpr size_t kPathCaseCount = std::size(kPathFormats) * 2 * 3 * std::size(kPathAreas) * 3;

void MakePathCases(PathCase (&cases)[kPathCaseCount]) {
  PathCase *c = cases;
  for (const PathFormat &f : kPathFormats)
    for (bool smooth : {false, true})
      for (uint32_t depthBits : {0u, 16u, 32u})
        for (float area : kPathAreas)
          for (RasterPath path : {RasterPath::kMmx, RasterPath::kX86, RasterPath::kGeneric}) {
            *c = PathCase{{}, f.color, smooth, depthBits, area, path};
            snprintf(c->name, sizeof c->name, "path-%s-%s-%s-z%u-%dpx", kPathNames[int(path)],
                     f.name, smooth ? "smooth" : "flat", depthBits, int(area));
            c++;
          }
}

bool RunPathCase(const PathCase &c, double seconds, bench::RunTotals *median) {
  SceneWindow window;
  if (!SceneWindowOpenColor(&window, kWidth, kHeight, c.color, c.depthBits ? c.depthBits : 16))
    return false;
  GlContext *gc = window.gc;
  if (c.path == RasterPath::kX86) gc->constants.cpuFlags &= ~GlCpuFlags(__GL_CPU_MMX);
  bench::PixelProjection(kWidth, kHeight);
  glDisable(GL_DITHER);
  glShadeModel(c.smooth ? GL_SMOOTH : GL_FLAT);
  if (c.depthBits) {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
  }
  const int count = int(fmin(4096, fmax(16, 400000 / c.area)));
  double pixels = 0;
  std::vector<Vertex> shapes =
      bench::RightTriangles(c.area, count, kWidth, kHeight, false);
  for (int t = 0; t < count; t++) pixels += AreaInWindow(&shapes[size_t(t) * 3]);
  DrawBatch(shapes, false);  // validation
  bool ok = c.path == RasterPath::kGeneric || __glForceGeneratedTriangle(gc, 0);
  if (ok) {
    std::vector<GlVertex> vertices = bench::WindowVertices(gc, c.area, count, kWidth, kHeight, true);
    *median = bench::TimeRuns(seconds, [&] {
      return bench::RunTotals{double(count), pixels, bench::RasterBatch(gc, vertices)};
    });
    ok = glGetError() == GL_NO_ERROR;
  }
  SceneWindowClose(&window);
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  bench::Options options;
  if (!bench::ParseOptions(argc, argv, &options)) return 2;
  printf("bench_forced_paths: %d x %d, 5-6-5, GL_TRIANGLES, median of %d runs, %.2f s a case\n",
         kWidth, kHeight, bench::kRuns, options.seconds);
  printf("%-18s %14s %12s\n", "case", "triangles/s", "Mpixels/s");
  bench::RunTotals total;
  const auto run = [&](const TriangleCase &c) {
    bench::RunTotals median;
    if (!RunCase(c, options.seconds, &median)) return false;
    printf("%-18s %14.0f %12.2f\n", c.name, median.Rate(), median.PixelRate() / 1e6);
    total += median;
    return true;
  };
  static PathCase paths[kPathCaseCount];
  MakePathCases(paths);
  static bench::BlendCase blends[bench::kBlendCaseCount];
  bench::MakeBlendCases(blends);
  // Each table runs when a case of it is wanted; none at all is an error.
  const auto wanted = [&](const auto &table) {
    for (const auto &c : table)
      if (options.Wants(c.name)) return true;
    return false;
  };
  if (!wanted(kCases) && !wanted(paths) && !wanted(blends))
    return bench::RunWanted("bench_forced_paths", options, kCases, run);
  int status = 0;
  if (wanted(kCases)) {
    status = bench::RunWanted("bench_forced_paths", options, kCases, run);
    printf("%-18s %14.0f %12.2f\n", "total", total.Rate(), total.PixelRate() / 1e6);
  }
  if (wanted(blends))
    status |= bench::RunWanted("bench_forced_paths", options, blends, [&](const bench::BlendCase &c) {
      bench::RunTotals median;
      const auto draw = [](const std::vector<Vertex> &batch) { DrawBatch(batch, false); };
      if (!bench::RunBlendCase(c, kWidth, kHeight, options.seconds, draw, AreaInWindow, &median)) {
        fprintf(stderr, "bench_forced_paths: %s: failed\n", c.name);
        return false;
      }
      printf("%-40s %14.0f %12.2f\n", c.name, median.Rate(), median.PixelRate() / 1e6);
      return true;
    });
  if (!wanted(paths)) return status;
  const int pathStatus =
      bench::RunWanted("bench_forced_paths", options, paths, [&](const PathCase &c) {
        bench::RunTotals median;
        if (!RunPathCase(c, options.seconds, &median)) {
          fprintf(stderr, "bench_forced_paths: %s: failed\n", c.name);
          return false;
        }
        printf("%-34s %14.0f %12.2f\n", c.name, median.Rate(), median.PixelRate() / 1e6);
        return true;
      });
  return status | pathStatus;
}
