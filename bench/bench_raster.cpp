// The generated triangle path in spanlet mode against the pre-built set-up
// and walk, both handing their chunks to the same chain: triangles and
// pixels per second on a 640 x 480 RGB565 buffer with a 16-bit depth
// buffer (depth walked, smooth RGBA), for a stencil test that always
// passes, an alpha test that always passes, a polygon stipple and a clip
// box smaller than the window, each ending in the RGB565 store span. The
// generated pair is installed with __glForceGeneratedTriangle.
#include <stdio.h>
#include <stdlib.h>

#include <vector>

#include "bench/bench_fill.h"
#include "bench/bench_timer.h"
#include "codegen/og.h"
#include "codegen/og_cache.h"
#include "codegen/og_ras.h"
#include "codegen/og_vertex_shape.h"
#include "core/context.h"
#include "core/drawable.h"
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

struct Memory {
  std::vector<uint8_t> bytes;
  GlDrawableBuffer buffer{};
  explicit Memory(uint32_t size) : bytes(size_t(kWidth) * kHeight * size) {
    buffer.width = kWidth, buffer.height = kHeight;
    buffer.depth = 8 * size, buffer.elementSize = size;
    buffer.elementSizeLog2 = size == 4 ? 2 : size == 2 ? 1 : 0;
    buffer.pitch = kWidth, buffer.pitchBytes = kWidth * int32_t(size);
    buffer.base = bytes.data();
  }
};

struct Bench {
  GlContext *gc = static_cast<GlContext *>(calloc(1, sizeof(GlContext)));
  Memory color{2}, depth{2}, stencil{1};
  bool ready = false;

  explicit Bench(const RasterCase &c) {
    gc->imports.malloc = [](GlContext *, size_t n) { return malloc(n); };
    gc->imports.calloc = [](GlContext *, size_t n, size_t size) { return calloc(n, size); };
    gc->imports.free = [](GlContext *, void *p) { free(p); };
    GlConstants &k = gc->constants;
    k.viewportXAdjust = k.viewportYAdjust = kBias;
    k.fviewportXAdjust = k.fviewportYAdjust = float(kBias);
    k.width = kWidth, k.height = kHeight;
    k.redRescale = k.blueRescale = k.alphaRescale = 31.0f;
    k.greenRescale = 63.0f;
    k.depthMax = 65535.0f;
    k.alphaTestSize = 256;
    gc->renderMode = GL_RENDER;
    gc->modes.rgbMode = 1;
    gc->modes.colorBits = 16;
    gc->modes.depthBits = 16;
    gc->frontBuffer.buf.drawableBuf = &color.buffer;
    gc->frontBuffer.redShift = 11, gc->frontBuffer.greenShift = 5;
    gc->frontBuffer.frFbType = 5;
    gc->drawBuffer = gc->front = &gc->frontBuffer;
    gc->depthBuffer.buf.drawableBuf = &depth.buffer;
    gc->depthBuffer.scale = 0xFFFF;
    gc->stencilBuffer.buf.drawableBuf = &stencil.buffer;
    gc->state.depth.testFunc = GL_LESS;
    gc->state.depth.writeEnable = 1;
    gc->state.stencil.testFunc = GL_ALWAYS;
    gc->state.stencil.mask = 0xFF;
    gc->state.raster.alphaFunction = GL_ALWAYS;
    int32_t *box = gc->transform.clipBox;
    box[0] = box[1] = kBias, box[2] = kBias + kWidth, box[3] = kBias + kHeight;
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
    __glSetCodeCacheSizes(gc);
    if (!og_init_pools(gc) || !__glInitializeCodeCache(gc)) return;
    __glPickVertexShape(gc);
    ready = true;
  }
  ~Bench() {
    __glReleaseCodeCache(gc);
    og_free_pools(gc);
    free(gc);
  }
  GlFillTriangleProc Fill(bool generated) {
    if (!generated) return __glFRRenderTriangle;
    if (!ready || !__glForceGeneratedTriangle(gc, 1)) return nullptr;
    return gc->procs.fillTriangle;
  }
};

bench::RunTotals RunCase(const RasterCase &c, double seconds) {
  Bench b(c);
  GlFillTriangleProc fill = b.Fill(c.generated);
  if (fill == nullptr) return {};
  return bench::TimeFill(fill, b.gc, c.area, seconds, kWidth, kHeight, kBias);
}

}  // namespace

int main(int argc, char **argv) {
  bench::Options options;
  if (!bench::ParseOptions(argc, argv, &options)) return 2;
  printf("bench_raster: spanlet-mode walk, %d x %d RGB565, 16-bit depth, median of %d runs, %.2f s a case\n",
         kWidth, kHeight, bench::kRuns, options.seconds);
  printf("%-24s %14s %14s\n", "case", "triangles/s", "Mpixels/s");
  bool any = false;
  for (const RasterCase &c : kCases) {
    if (!options.Wants(c.name)) continue;
    any = true;
    const bench::RunTotals t = RunCase(c, options.seconds);
    printf("%-24s %14.0f %14.2f\n", c.name, t.Rate(), t.PixelRate() / 1e6);
  }
  if (!any) {
    fprintf(stderr, "bench_raster: no case matches \"%s\"\n", options.only);
    return 2;
  }
  return 0;
}
