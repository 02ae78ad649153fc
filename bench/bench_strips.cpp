// Triangles per second of glDrawArrays and glDrawElements with
// GL_TRIANGLE_STRIP into a 640 x 480 memory window: strips of 4, 36 and
// 1000 vertices, with and without a locked range, lit and unlit. Run it
// once as it is (the generated strip drawer) and once with
// "__GL_DISABLE_OG_DRAWVERTEXES=1" in the environment (the C walk): the
// switch is read once per process.
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <vector>

#include "bench/bench_timer.h"
#include "bench/bench_window.h"

namespace {

constexpr int32_t kWidth = 640, kHeight = 480;
constexpr int kVerticesPerBatch = 12000;

struct StripCase {
  const char *name;
  int length;  // vertices per strip
  bool locked, lit, elements;
};

const StripCase kCases[] = {
    {"arrays-4", 4, false, false, false},          {"arrays-36", 36, false, false, false},
    {"arrays-1000", 1000, false, false, false},    {"locked-4", 4, true, false, false},
    {"locked-36", 36, true, false, false},         {"locked-1000", 1000, true, false, false},
    {"lit-arrays-36", 36, false, true, false},     {"lit-locked-36", 36, true, true, false},
    {"lit-arrays-1000", 1000, false, true, false}, {"lit-locked-1000", 1000, true, true, false},
    {"elements-4", 4, false, false, true},         {"elements-36", 36, false, false, true},
    {"elements-1000", 1000, false, false, true},   {"locked-elements-36", 36, true, false, true},
    {"lit-elements-36", 36, false, true, true},    {"lit-locked-elements-1000", 1000, true, true, true},
};

struct Arrays {
  std::vector<GLfloat> xyz, normals, colors;
  std::vector<GLuint> elements;
};

// Strips of small triangles side by side, rows across the window.
Arrays MakeStrips(int length) {
  Arrays a;
  const int strips = kVerticesPerBatch / length;
  for (int s = 0; s < strips; s++) {
    const float y = 4.0f + float((s * 7) % (kHeight - 12));
    for (int i = 0; i < length; i++) {
      const float x = 2.0f + float((i / 2 * 3 + s * 5) % (kWidth - 8));
      a.xyz.insert(a.xyz.end(), {x, y + float(i % 2) * 4.0f, 0.0f});
      a.normals.insert(a.normals.end(), {0.0f, 0.6f, 0.8f});
      a.colors.insert(a.colors.end(), {float(i % 3) / 2, float(s % 5) / 4, 0.5f, 1.0f});
    }
  }
  for (int i = 0; i < strips * length; i++) a.elements.push_back(GLuint(i));
  return a;
}

void SetState(const StripCase &c, const Arrays &a) {
  bench::PixelProjection(kWidth, kHeight);
  glDisable(GL_DITHER);
  glShadeModel(GL_SMOOTH);
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, a.xyz.data());
  glEnableClientState(GL_COLOR_ARRAY);
  glColorPointer(4, GL_FLOAT, 0, a.colors.data());
  if (c.lit) {
    static const GLfloat kAt[4] = {0.3f, 0.4f, 1, 0}, kWhite[4] = {1, 1, 1, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, kAt);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kWhite);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glDisableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, 0, a.normals.data());
  }
}

double DrawBatch(const StripCase &c, const Arrays &a) {
  glClear(GL_COLOR_BUFFER_BIT);
  glFinish();
  const double start = bench::Now();
  const GLsizei total = GLsizei(a.elements.size());
  if (c.locked) glLockArraysVLX(0, total);
  for (GLsizei first = 0; first + c.length <= total; first += c.length) {
    if (c.elements)
      glDrawElements(GL_TRIANGLE_STRIP, c.length, GL_UNSIGNED_INT, &a.elements[size_t(first)]);
    else
      glDrawArrays(GL_TRIANGLE_STRIP, first, c.length);
  }
  if (c.locked) glUnlockArraysVLX();
  glFinish();
  return bench::Now() - start;
}

bool RunCase(const StripCase &c, double seconds, bench::RunTotals *median) {
  const Arrays a = MakeStrips(c.length);
  const double triangles = double(a.elements.size() / size_t(c.length)) * (c.length - 2);
  return bench::TimeInWindow(
      "bench_strips", c.name, kWidth, kHeight, 16, seconds, [&] { SetState(c, a); },
      [&] { return bench::RunTotals{triangles, 0, DrawBatch(c, a)}; }, median);
}

}  // namespace

int main(int argc, char **argv) {
  bench::Options options;
  if (!bench::ParseOptions(argc, argv, &options)) return 2;
  const char *off = getenv("__GL_DISABLE_OG_DRAWVERTEXES");
  const bool generated = !(off && atoi(off) != 0);
  printf("bench_strips: %d x %d, 5-6-5, GL_TRIANGLE_STRIP through the %s, median of %d runs, "
         "%.2f s a case\n",
         kWidth, kHeight, generated ? "generated drawer" : "C walk", bench::kRuns,
         options.seconds);
  printf("%-26s %14s\n", "case", "triangles/s");
  return bench::RunWanted("bench_strips", options, kCases, [&](const StripCase &c) {
    bench::RunTotals median;
    if (!RunCase(c, options.seconds, &median)) return false;
    printf("%-26s %14.0f\n", c.name, median.Rate());
    return true;
  });
}
