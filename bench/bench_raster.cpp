// The generated triangle path in spanlet mode against the pre-built set-up
// and walk, both handing their chunks to the same chain: triangles and
// pixels per second on a 640 x 480 RGB565 buffer with a 16-bit depth
// buffer (depth walked, smooth RGBA), for a stencil test that always
// passes, an alpha test that always passes, a polygon stipple and a clip
// box smaller than the window, each ending in the RGB565 store span. The
// generated pair is installed with __glForceGeneratedTriangle.
#include <stdio.h>

#include "bench/bench_fill.h"
#include "bench/bench_timer.h"
#include "codegen/og_ras.h"
#include "codegen/og_vertex_shape.h"
#include "core/context.h"
#include "core/s_context.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_spanlets.h"
#include "fastraster/fr_stencil.h"
#include "fastraster/fr_store.h"

namespace {

constexpr int32_t kWidth = 640, kHeight = 480, kBias = 6144;

enum Chain { kStencil, kAlpha, kStipple, kClip };

struct RasterCase {
  const char *name;
  Chain chain;
  bool generated;
  float area;
};

#define RASTER_CASES(chain, label)                                                  \
  {"pre-" label "-10px", chain, false, 10}, {"gen-" label "-10px", chain, true, 10},   \
      {"pre-" label "-100px", chain, false, 100}, {"gen-" label "-100px", chain, true, 100}, \
      {"pre-" label "-1000px", chain, false, 1000}, {"gen-" label "-1000px", chain, true, 1000}

const RasterCase kCases[] = {RASTER_CASES(kStencil, "stencil"), RASTER_CASES(kAlpha, "alpha"),
                             RASTER_CASES(kStipple, "stipple"), RASTER_CASES(kClip, "clip")};
#undef RASTER_CASES

struct Bench {
  bench::FillContext fill{kWidth, kHeight, kBias, 2, 0xFFFF};
  GlContext *const gc = fill.gc;
  bench::Memory stencil{kWidth, kHeight, 1};
  bool ready = false;

  explicit Bench(const RasterCase &c) {
    gc->constants.alphaTestSize = 256;
    gc->modes.colorBits = 16;
    gc->modes.depthBits = 16;
    gc->frontBuffer.frFbType = 5;
    gc->stencilBuffer.buf.drawableBuf = &stencil.buffer;
    gc->state.depth.testFunc = GL_LESS;
    gc->state.depth.writeEnable = 1;
    gc->state.stencil.testFunc = GL_ALWAYS;
    gc->state.stencil.mask = 0xFF;
    gc->state.raster.alphaFunction = GL_ALWAYS;
    int32_t *box = gc->transform.clipBox;
    for (uint32_t &w : gc->polygon.stipple) w = 0xAAAA5555u;
    uint32_t flags = __GL_SHADE_RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_DEPTH_TEST;
    FrSpanletProc head = __glStoreSpanRGB565;
    switch (c.chain) {
      case kStencil:
        flags |= __GL_SHADE_STENCIL_TEST;
        head = __glFRStencilTest;
        gc->procs.afterStencilTest = __glStoreSpanRGB565;
        gc->procs.stencilOpSFail = __glFRStencilKeep;
        break;
      case kAlpha:
        flags |= __GL_SHADE_ALPHA_TEST | __GL_SHADE_ALPHA;
        head = __glFRAlphaTest;
        gc->procs.afterAlphaTest = __glStoreSpanRGB565;
        break;
      case kStipple:
        flags |= __GL_SHADE_STIPPLE;
        head = __glGenStipple;
        gc->procs.afterStipple = __glStoreSpanRGB565;
        break;
      case kClip:
        box[0] = box[1] = kBias + 64, box[2] = kBias + kWidth - 64, box[3] = kBias + kHeight - 64;
        head = __glGenMask;
        gc->procs.afterMask = __glStoreSpanRGB565;
        break;
    }
    gc->procs.fillTriangleSpan = head;
    gc->polygon.shader.modeFlags = flags;
    if (!fill.StartCodeCache()) return;
    __glPickVertexShape(gc);
    ready = true;
  }
  GlFillTriangleProc Fill(bool generated) {
    if (!generated) return __glFRRenderTriangle;
    if (!ready || !__glForceGeneratedTriangle(gc, 1)) return nullptr;
    return gc->procs.fillTriangle;
  }
};

bench::RunTotals RunCase(const RasterCase &c, double seconds) {
  Bench b(c);
  return bench::TimeFill(b.Fill(c.generated), b.gc, c.area, seconds, kWidth, kHeight, kBias);
}

}  // namespace

int main(int argc, char **argv) {
  bench::Options options;
  if (!bench::ParseOptions(argc, argv, &options)) return 2;
  printf("bench_raster: spanlet-mode walk, %d x %d RGB565, 16-bit depth, median of %d runs, %.2f s a case\n",
         kWidth, kHeight, bench::kRuns, options.seconds);
  printf("%-24s %14s %14s\n", "case", "triangles/s", "Mpixels/s");
  return bench::RunWanted("bench_raster", options, kCases, [&](const RasterCase &c) {
    const bench::RunTotals t = RunCase(c, options.seconds);
    printf("%-24s %14.0f %14.2f\n", c.name, t.Rate(), t.PixelRate() / 1e6);
    return true;
  });
}
