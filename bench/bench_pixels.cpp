// glDrawPixels of a 256 x 256 unsigned-byte image at unit zoom into a 5-6-5
// window: each fast kernel next to the generic path, which state that
// changes no pixel selects (an alpha test passing everything for GL_RGB,
// the GL_BGRA_EXT byte order without one).
#include <stdio.h>

#include <vector>

#include "bench/bench_gl.h"
#include "bench/bench_timer.h"
#include "core/context.h"
#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "tools/scene_window.h"
#include "wgl/wgl_drawable.h"

namespace {

constexpr int32_t kSize = 256;

struct Case {
  const char *name;
  GLenum format;
  bool dither, alphaTest;
};

const Case kCases[] = {
    {"rgb kernel", GL_RGB, false, false},
    {"rgb generic", GL_RGB, false, true},
    {"rgb-dither kernel", GL_RGB, true, false},
    {"rgb-dither generic", GL_RGB, true, true},
    {"rgba kernel", GL_RGBA, false, false},
    {"rgba-atest kernel", GL_RGBA, false, true},
    {"bgra generic", GL_BGRA_EXT, false, false},
};

// The median rate of the runs of one case, in pixels a second.
double TimeCase(const bench::Options &options, const Case &c, const std::vector<GLubyte> &image) {
  if (c.dither)
    glEnable(GL_DITHER);
  else
    glDisable(GL_DITHER);
  if (c.alphaTest)
    glEnable(GL_ALPHA_TEST);
  else
    glDisable(GL_ALPHA_TEST);
  return bench::TimeRuns(options.seconds, [&] {
           const double start = bench::Now();
           glDrawPixels(kSize, kSize, c.format, GL_UNSIGNED_BYTE, image.data());
           return bench::RunTotals{double(kSize) * kSize, 0, bench::Now() - start};
         })
      .Rate();
}

}  // namespace

int main(int argc, char **argv) {
  bench::Options options;
  if (!bench::ParseOptions(argc, argv, &options)) return 2;
  SceneWindow window;
  if (!SceneWindowOpenDepth(&window, kSize, kSize, 16)) {
    fprintf(stderr, "bench_pixels: no context could be made and bound\n");
    return 1;
  }
  // The memory window owns all its pixels.
  GlRect visible = {0, 0, kSize, kSize};
  window.drawable.clipRects = &visible;
  window.drawable.clipCount = 1;
  bench::PixelProjection(kSize, kSize);
  glAlphaFunc(GL_ALWAYS, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glRasterPos2f(0, 0);
  std::vector<GLubyte> image(size_t(kSize) * kSize * 4);
  for (size_t i = 0; i < image.size(); i++) image[i] = GLubyte(i * 7 + i / 1021);
  printf("bench_pixels: %d x %d images, median of %d runs, %.2f s a case\n", kSize, kSize,
         bench::kRuns, options.seconds);
  printf("%-20s %12s %10s\n", "case", "Mpixels/s", "ns/pixel");
  // The window stays open over all the cases; a GL error fails the case that raised it.
  const int status = bench::RunWanted("bench_pixels", options, kCases, [&](const Case &c) {
    const double rate = TimeCase(options, c, image);
    printf("%-20s %12.1f %10.3f\n", c.name, rate / 1e6, rate > 0 ? 1e9 / rate : 0.0);
    if (glGetError() == GL_NO_ERROR) return true;
    fprintf(stderr, "bench_pixels: %s: a GL error was raised\n", c.name);
    return false;
  });
  window.drawable.clipRects = nullptr;
  window.drawable.clipCount = 0;
  SceneWindowClose(&window);
  return status;
}
