// Triangles and pixels per second on every triangle path: generic
// ("__GL_DISABLE_FASTPATH"), the pre-built setup ("__GL_GENERIC_SETUP"),
// spanlet mode ("__GL_DISABLE_OG") and the default, each with and without
// MMX ("__GL_FORCE_MMX=0"). The switches are read once per process, so the
// program runs itself once per path as a child (`--child`) and prints the
// children's lines side by side with the ratio to the generic path of the
// same processor features.
//
// Every case is timed two ways into a 640 x 480 memory window: "road",
// through glBegin / glEnd, and "raster", window-space vertices handed to
// procs.renderTriangle after validation, so that vertex processing is not
// counted (clipped and textured cases have no raster line: their vertices
// need the clipper or texture coordinates). Pixels are the triangles' areas
// inside the window.
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_raster_batch.h"
#include "bench/bench_shapes.h"
#include "bench/bench_timer.h"
#include "bench/bench_window.h"

namespace {

constexpr int32_t kWidth = 640, kHeight = 480;

enum class Tex { kNone, kBilinear, kMipmap };

struct Case {
  std::string name;
  SceneColor color;
  bool smooth;
  uint32_t depthBits;  // 0: depth test off
  bool stencil, alphaTest, blend, clipped;
  Tex tex;
  float area;
};

struct Path {
  const char *name;
  const char *env;  // the switches, as `env` takes them
  int generic;      // the index of the path it is compared with
};
const Path kPaths[] = {
    {"generic", "__GL_DISABLE_FASTPATH=1", 0},
    {"setup", "__GL_GENERIC_SETUP=1", 0},
    {"spanlets", "__GL_DISABLE_OG=1", 0},
    {"default", "", 0},
    {"generic-nommx", "__GL_DISABLE_FASTPATH=1 __GL_FORCE_MMX=0", 4},
    {"setup-nommx", "__GL_GENERIC_SETUP=1 __GL_FORCE_MMX=0", 4},
    {"spanlets-nommx", "__GL_DISABLE_OG=1 __GL_FORCE_MMX=0", 4},
    {"default-nommx", "__GL_FORCE_MMX=0", 4},
};

std::vector<Case> MakeCases() {
  std::vector<Case> out;
  const struct {
    const char *name;
    SceneColor color;
  } formats[] = {{"332", kSceneRgb332}, {"565", kSceneRgb565}, {"x888", kSceneXrgb8}};
  const struct {
    const char *name;
    bool smooth;
    uint32_t depth;
    float area;
  } shapes[] = {{"small-smooth-z16", true, 16, 10},   {"medium-flat", false, 0, 100},
                {"medium-smooth-z16", true, 16, 100}, {"medium-smooth-z32", true, 32, 100},
                {"large-flat-z16", false, 16, 10000}, {"large-smooth-z16", true, 16, 10000}};
  for (const auto &f : formats)
    for (const auto &s : shapes)
      out.push_back({std::string(s.name) + "-" + f.name, f.color, s.smooth, s.depth, false, false,
                     false, false, Tex::kNone, s.area});
  const Case base{"", kSceneRgb565, true, 16, false, false, false, false, Tex::kNone, 100};
  const auto add = [&](const char *name, auto change) {
    Case c = base;
    c.name = name;
    change(&c);
    out.push_back(c);
  };
  add("stencil-z16-565", [](Case *c) { c->stencil = true; });
  add("alpha-test-565", [](Case *c) { c->alphaTest = true; });
  add("blend-565", [](Case *c) { c->blend = true; });
  add("clipped-z16-565", [](Case *c) { c->clipped = true, c->area = 1000; });
  add("bilinear-565", [](Case *c) { c->tex = Tex::kBilinear, c->depthBits = 0; });
  add("mipmap-565", [](Case *c) { c->tex = Tex::kMipmap, c->depthBits = 0; });
  add("textured-z16-blend-565", [](Case *c) { c->tex = Tex::kBilinear, c->blend = true; });
  return out;
}

using bench::Vertex;

// The part of a triangle the window shows, in pixels.
double AreaInWindow(const Vertex *v) { return bench::AreaInWindow(v, kWidth, kHeight); }

void SetTexture(Tex tex) {
  if (tex == Tex::kNone) return;
  // A 64 x 64 checker with its levels.
  std::vector<uint8_t> texels;
  for (int level = 0, size = 64; size >= 1; level++, size /= 2) {
    texels.assign(size_t(size * size * 3), 0);
    for (int i = 0; i < size * size; i++) {
      const bool on = ((i % size) / 4 + (i / size) / 4) % 2;
      texels[size_t(i) * 3] = on ? 230 : 40, texels[size_t(i) * 3 + 1] = uint8_t(i * 7);
      texels[size_t(i) * 3 + 2] = 128;
    }
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGB, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 texels.data());
  }
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                  tex == Tex::kMipmap ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glEnable(GL_TEXTURE_2D);
}

void SetState(const Case &c) {
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
  if (c.alphaTest) {
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.25f);
  }
  if (c.blend) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  }
  SetTexture(c.tex);
}

double DrawBatch(const std::vector<Vertex> &batch, bool textured) {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  glFinish();
  const double start = bench::Now();
  glBegin(GL_TRIANGLES);
  for (const Vertex &v : batch) {
    glColor4f(v.r, v.g, v.b, v.a);
    if (textured) glTexCoord2f(v.x / 64, v.y / 64);
    glVertex3f(v.x, v.y, v.z);
  }
  glEnd();
  glFinish();
  return bench::Now() - start;
}

// The child's side: each wanted case both ways, one line each:
// "name mode triangles/s pixels/s".
int RunChild(const bench::Options &options) {
  int status = 0;
  for (const Case &c : MakeCases()) {
    if (!options.Wants(c.name.c_str())) continue;
    SceneWindow window;
    if (!SceneWindowOpenColor(&window, kWidth, kHeight, c.color, c.depthBits ? c.depthBits : 16)) {
      fprintf(stderr, "bench_triangles: %s: no context\n", c.name.c_str());
      status = 1;
      continue;
    }
    SetState(c);
    const int count = int(fmin(4096, fmax(16, 400000 / c.area)));
    const std::vector<Vertex> shapes =
        bench::RightTriangles(c.area, count, kWidth, kHeight, c.clipped);
    double pixels = 0;
    for (int t = 0; t < count; t++) pixels += AreaInWindow(&shapes[size_t(t) * 3]);
    const bool textured = c.tex != Tex::kNone;
    const bench::RunTotals road = bench::TimeRuns(options.seconds, [&] {
      return bench::RunTotals{double(count), pixels, DrawBatch(shapes, textured)};
    });
    printf("%s road %.1f %.1f\n", c.name.c_str(), road.Rate(), road.PixelRate());
    if (!c.clipped && !textured) {
      std::vector<GlVertex> vertices =
          bench::WindowVertices(window.gc, c.area, count, kWidth, kHeight, true);
      const bench::RunTotals raster = bench::TimeRuns(options.seconds, [&] {
        return bench::RunTotals{double(count), pixels, bench::RasterBatch(window.gc, vertices)};
      });
      printf("%s raster %.1f %.1f\n", c.name.c_str(), raster.Rate(), raster.PixelRate());
    }
    fflush(stdout);
    if (glGetError() != GL_NO_ERROR) {
      fprintf(stderr, "bench_triangles: %s: GL error\n", c.name.c_str());
      status = 1;
    }
    SceneWindowClose(&window);
  }
  return status;
}

struct Rates {
  double triangles = 0, pixels = 0;
};

// Runs this program as the path's child; its lines by "name mode".
bool RunPath(const Path &p, const char *self, int argc, char **argv,
             std::map<std::string, Rates> *out) {
  std::string command =
      "env -u __GL_DISABLE_FASTPATH -u __GL_GENERIC_SETUP -u __GL_DISABLE_OG -u __GL_FORCE_MMX ";
  command += std::string(p.env) + " '" + self + "' --child";
  for (int i = 1; i < argc; i++) command += std::string(" '") + argv[i] + "'";
  FILE *f = popen(command.c_str(), "r");
  if (!f) return false;
  char name[128], mode[16];
  Rates r;
  while (fscanf(f, "%127s %15s %lf %lf", name, mode, &r.triangles, &r.pixels) == 4)
    (*out)[std::string(name) + " " + mode] = r;
  return pclose(f) == 0;
}

}  // namespace

int main(int argc, char **argv) {
  bool child = false;
  std::vector<char *> args;
  for (int i = 0; i < argc; i++) {
    if (i > 0 && strcmp(argv[i], "--child") == 0)
      child = true;
    else
      args.push_back(argv[i]);
  }
  bench::Options options;
  options.seconds = 0.25;
  if (!bench::ParseOptions(int(args.size()), args.data(), &options)) return 2;
  if (child) return RunChild(options);

  bool any = false;
  for (const Case &c : MakeCases()) any |= options.Wants(c.name.c_str());
  if (!any) {
    fprintf(stderr, "bench_triangles: no case matches \"%s\"\n", options.only);
    return 2;
  }
  char self[4096];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return 1;
  self[n] = '\0';
  std::map<std::string, Rates> results[std::size(kPaths)];
  int status = 0;
  for (size_t p = 0; p < std::size(kPaths); p++)
    if (!RunPath(kPaths[p], self, int(args.size()), args.data(), &results[p])) {
      fprintf(stderr, "bench_triangles: the %s path failed\n", kPaths[p].name);
      status = 1;
    }
  printf("bench_triangles: %d x %d, GL_TRIANGLES, median of %d runs, %.2f s a case and path\n",
         kWidth, kHeight, bench::kRuns, options.seconds);
  printf("%-30s %-7s %-15s %12s %10s %8s\n", "case", "mode", "path", "triangles/s",
         "Mpixels/s", "x generic");
  for (const Case &c : MakeCases()) {
    if (!options.Wants(c.name.c_str())) continue;
    for (const char *mode : {"raster", "road"}) {
      const std::string key = c.name + " " + mode;
      for (size_t p = 0; p < std::size(kPaths); p++) {
        const auto it = results[p].find(key);
        if (it == results[p].end()) continue;
        const auto base = results[kPaths[p].generic].find(key);
        const double ratio = base != results[kPaths[p].generic].end() && base->second.triangles > 0
                                 ? it->second.triangles / base->second.triangles
                                 : 0;
        printf("%-30s %-7s %-15s %12.0f %10.2f %8.2f\n", c.name.c_str(), mode, kPaths[p].name,
               it->second.triangles, it->second.pixels / 1e6, ratio);
      }
    }
  }
  return status;
}
