// Perspective-correct textured triangles of 1000 pixels (64 x 64 RGB
// texture, GL_NEAREST, GL_REPEAT, GL_REPLACE, w from 1 to 2) through the
// whole road: the MMX body installed by hand (the picker never chooses
// it: texturing keeps spanlet mode), the x86/x87 routine installed by hand
// on a context whose MMX flag is cleared, and the generic path. For
// information only: Mpixels per second on RGB332 and RGB565 in a 640 x 480
// memory window.
#include <stdio.h>

#include <iterator>
#include <vector>

#include "bench/bench_gl.h"
#include "bench/bench_shapes.h"
#include "bench/bench_timer.h"
#include "codegen/og_ras.h"
#include "core/gl_api.h"
#include "core/s_constants.h"
#include "tools/scene_window.h"

namespace {

constexpr int32_t kWidth = 640, kHeight = 480;
constexpr int kTriangles = 2048;
constexpr float kArea = 1000.0f;

enum class Route { kMmx, kX87, kGeneric };

struct Case {
  char name[48];
  SceneColor color;
  Route route;
};

void SetState() {
  bench::PixelProjection(kWidth, kHeight);
  glDisable(GL_DITHER);
  glDisable(GL_DEPTH_TEST);
  static uint8_t texels[64 * 64 * 3];
  uint32_t seed = 58;
  for (uint8_t &t : texels) t = uint8_t((seed = seed * 1103515245u + 12345u) >> 24);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  glEnable(GL_TEXTURE_2D);
}

double Batch(const std::vector<bench::Vertex> &batch) {
  glClear(GL_COLOR_BUFFER_BIT);
  glFinish();
  const double start = bench::Now();
  glBegin(GL_TRIANGLES);
  for (size_t i = 0; i < batch.size(); i++) {
    const bench::Vertex &v = batch[i];
    const float w = 1.0f + float(i % 3) * 0.5f;
    glTexCoord2f(v.x / 64.0f, v.y / 64.0f);
    glVertex4f(v.x * w, v.y * w, v.z * w, w);
  }
  glEnd();
  glFinish();
  return bench::Now() - start;
}

bool RunCase(const Case &c, double seconds, bench::RunTotals *out) {
  SceneWindow window;
  if (!SceneWindowOpenColor(&window, kWidth, kHeight, c.color, 16)) return false;
  GlContext *gc = window.gc;
  if (c.route == Route::kX87) gc->constants.cpuFlags &= ~GlCpuFlags(__GL_CPU_MMX);
  SetState();
  const std::vector<bench::Vertex> shapes = bench::RightTriangles(kArea, kTriangles, kWidth, kHeight, false);
  Batch(shapes);  // validation
  if (c.route != Route::kGeneric && !__glForceGeneratedTriangle(gc, 0)) {
    SceneWindowClose(&window);
    return false;
  }
  *out = bench::TimeRuns(seconds, [&] {
    return bench::RunTotals{double(kTriangles), double(kTriangles) * kArea, Batch(shapes)};
  });
  const GLenum error = glGetError();
  SceneWindowClose(&window);
  return error == GL_NO_ERROR;
}

}  // namespace

int main(int argc, char **argv) {
  bench::Options options;
  if (!bench::ParseOptions(argc, argv, &options)) return 2;
  printf("bench_persp: %d x %d, 1000-pixel textured triangles, median of %d runs, %.2f s a measure\n",
         kWidth, kHeight, bench::kRuns, options.seconds);
  printf("%-24s %10s\n", "case", "Mpix/s");
  static Case cases[6];
  const struct {
    const char *name;
    SceneColor color;
  } formats[] = {{"332", kSceneRgb332}, {"565", kSceneRgb565}};
  const char *routes[] = {"mmx", "x87", "generic"};
  size_t n = 0;
  for (const auto &f : formats)
    for (int r = 0; r < 3; r++) {
      cases[n] = Case{{}, f.color, Route(r)};
      snprintf(cases[n].name, sizeof cases[n].name, "%s-%s", routes[r], f.name);
      n++;
    }
  return bench::RunWanted("bench_persp", options, cases, [&](const Case &c) {
    bench::RunTotals t;
    if (!RunCase(c, options.seconds, &t)) {
      fprintf(stderr, "bench_persp: %s: failed\n", c.name);
      return false;
    }
    printf("%-24s %10.2f\n", c.name, t.PixelRate() / 1e6);
    return true;
  });
}
