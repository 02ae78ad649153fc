// Vertices per second through the element compile (conversion, transform,
// clip codes, lighting), for array layouts, matrix types, clip planes and
// lights, and triangles per second of a lit vertex-array scene through the
// whole road. Run it once as it is (the generated compile) and once with
// "__GL_DISABLE_OG_VARRAY=1" and "__GL_DISABLE_OG_VCACHE=1" (the C
// compiles): the switches are read once per process.
#include <math.h>
#include <stdio.h>
#include <stdlib.h>

#include <vector>

#include "bench/bench_timer.h"
#include "bench/bench_window.h"
#include "core/context.h"
#include "core/current.h"
#include "core/gl_api.h"

namespace {

constexpr int32_t kWidth = 640, kHeight = 480;
constexpr int kElements = 36 * 100;

enum Layout { kV3F, kV3F_N3F, kV2S, kV4D, kV3F_C4UB, kV3F_T2F_C4F };

struct CompileCase {
  const char *name;
  Layout layout;
  int matrix;  // 4 identity, 3 scaled, 2 rotated about z, 1 rotated, 0 perspective
  int planes;
  int lights;  // -1: lighting off
  bool scene;  // the whole road: lit triangle strips drawn
};

const CompileCase kCases[] = {
    {"v3f-identity", kV3F, 4, 0, -1, false},
    {"v3f-scaled", kV3F, 3, 0, -1, false},
    {"v3f-rotated-z", kV3F, 2, 0, -1, false},
    {"v3f-rotated", kV3F, 1, 0, -1, false},
    {"v3f-perspective", kV3F, 0, 0, -1, false},
    {"v2s-scaled", kV2S, 3, 0, -1, false},
    {"v4d-perspective", kV4D, 0, 0, -1, false},
    {"c4ub-v3f-perspective", kV3F_C4UB, 0, 0, -1, false},
    {"t2f-c4f-v3f-perspective", kV3F_T2F_C4F, 0, 0, -1, false},
    {"v3f-2-planes", kV3F, 0, 2, -1, false},
    {"v3f-6-planes", kV3F, 0, 6, -1, false},
    {"n3f-v3f-1-light", kV3F_N3F, 0, 0, 1, false},
    {"n3f-v3f-4-lights", kV3F_N3F, 0, 0, 4, false},
    {"n3f-v3f-8-lights", kV3F_N3F, 1, 0, 8, false},
    {"scene-lit-strips", kV3F_N3F, 0, 0, 1, true},
};

struct Arrays {
  std::vector<GLfloat> xyz, normals, colors, tex;
  std::vector<GLshort> xys;
  std::vector<GLdouble> xyzw;
  std::vector<GLubyte> ubColors;
};

// A band of small triangles inside the view (strips: pairs across).
Arrays MakeArrays() {
  Arrays a;
  for (int i = 0; i < kElements; i++) {
    const double u = -0.9 + 1.8 * ((i / 2) % 300) / 299.0;
    const double v = -0.8 + 1.6 * ((i / 600) % 6) / 6.0 + (i % 2) * 0.02;
    const double z = 0.3 * sin(7 * u);
    a.xyz.insert(a.xyz.end(), {GLfloat(u), GLfloat(v), GLfloat(z)});
    a.xys.insert(a.xys.end(), {GLshort(u * 100), GLshort(v * 100)});
    a.xyzw.insert(a.xyzw.end(), {u, v, z, 1.0});
    a.normals.insert(a.normals.end(), {GLfloat(0.3 * cos(7 * u)), 0.2f, 0.93f});
    a.colors.insert(a.colors.end(), {GLfloat(i % 7) / 6, 0.5f, GLfloat(i % 3) / 2, 1.0f});
    a.ubColors.insert(a.ubColors.end(), {GLubyte(i * 5), GLubyte(i * 3), 128, 255});
    a.tex.insert(a.tex.end(), {GLfloat(u), GLfloat(v)});
  }
  return a;
}

void SetState(const CompileCase &c, const Arrays &a) {
  glViewport(0, 0, kWidth, kHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  if (c.matrix == 0) glFrustum(-0.5, 0.5, -0.4, 0.4, 1.0, 4.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  if (c.matrix == 0) glTranslatef(0, 0, -2);
  if (c.matrix == 3) glScalef(0.9f, 0.9f, 0.9f);
  if (c.matrix == 2) glRotatef(10, 0, 0, 1);
  if (c.matrix == 1) glRotatef(10, 1, 1, 0);
  if (c.layout == kV2S) glScalef(0.01f, 0.01f, 1.0f);
  glDisable(GL_DITHER);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_DEPTH_TEST);
  glEnableClientState(GL_VERTEX_ARRAY);
  switch (c.layout) {
    case kV2S: glVertexPointer(2, GL_SHORT, 0, a.xys.data()); break;
    case kV4D: glVertexPointer(4, GL_DOUBLE, 0, a.xyzw.data()); break;
    default: glVertexPointer(3, GL_FLOAT, 0, a.xyz.data());
  }
  if (c.layout == kV3F_C4UB) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, a.ubColors.data());
  }
  if (c.layout == kV3F_T2F_C4F) {
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_FLOAT, 0, a.colors.data());
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, a.tex.data());
    glEnable(GL_TEXTURE_2D);
  }
  if (c.layout == kV3F_N3F) {
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, 0, a.normals.data());
  }
  for (int i = 0; i < c.planes; i++) {
    const GLdouble plane[4] = {cos(i), sin(i), 0.1, 1.5};
    glClipPlane(GL_CLIP_PLANE0 + GLenum(i), plane);
    glEnable(GL_CLIP_PLANE0 + GLenum(i));
  }
  if (c.lights >= 0) {
    glEnable(GL_LIGHTING);
    for (int i = 0; i < c.lights; i++) {
      const GLfloat at[4] = {0.3f * float(i) - 1, 0.4f, 1, 0}, white[4] = {0.5f, 0.5f, 0.5f, 1};
      glLightfv(GL_LIGHT0 + GLenum(i), GL_POSITION, at);
      glLightfv(GL_LIGHT0 + GLenum(i), GL_DIFFUSE, white);
      glLightfv(GL_LIGHT0 + GLenum(i), GL_SPECULAR, white);
      glEnable(GL_LIGHT0 + GLenum(i));
    }
  }
}

// The compile slot, called as the batch walk calls it: 36 elements a call.
double CompileBatch() {
  GlContext *gc = __glGetTLSCXValue();
  GlVertexArrayMachine &va = gc->vertexArray;
  const double start = bench::Now();
  for (int first = 0; first + 36 <= kElements; first += 36) va.compileProc(gc, 0, first, 36);
  return bench::Now() - start;
}

double DrawScene() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glFinish();
  const double start = bench::Now();
  for (int first = 0; first + 600 <= kElements; first += 600) glDrawArrays(GL_TRIANGLE_STRIP, first, 600);
  glFinish();
  return bench::Now() - start;
}

bool RunCase(const CompileCase &c, double seconds, bench::RunTotals *median) {
  const Arrays a = MakeArrays();
  const double work = c.scene ? double(kElements / 600 * 598) : double(kElements / 36 * 36);
  return bench::TimeInWindow(
      "bench_compile", c.name, kWidth, kHeight, 16, seconds,
      [&] {
        SetState(c, a);
        glDrawArrays(GL_TRIANGLES, 0, 3);  // validation
      },
      // The first call, untimed, generates the code.
      [&] { return bench::RunTotals{work, 0, c.scene ? DrawScene() : CompileBatch()}; }, median);
}

bool Set(const char *name) {
  const char *v = getenv(name);
  return v && atoi(v) != 0;
}

}  // namespace

int main(int argc, char **argv) {
  bench::Options options;
  if (!bench::ParseOptions(argc, argv, &options)) return 2;
  const bool c = Set("__GL_DISABLE_OG_VARRAY") || Set("__GL_DISABLE_OG_VCACHE");
  printf("bench_compile: %d x %d, 5-6-5, the %s compile, median of %d runs, %.2f s a case\n",
         kWidth, kHeight, c ? "C" : "generated", bench::kRuns, options.seconds);
  printf("%-26s %16s\n", "case", "vertices/s (scene: triangles/s)");
  return bench::RunWanted("bench_compile", options, kCases, [&](const CompileCase &k) {
    bench::RunTotals median;
    if (!RunCase(k, options.seconds, &median)) return false;
    printf("%-26s %16.0f\n", k.name, median.Rate());
    return true;
  });
}
