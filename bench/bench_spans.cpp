// The span procedures alone over 2048-pixel spans: shading, the depth test
// (16- and 24-bit buffers), the colour store of every RGB format, plain and
// dithered, and the whole span processor of one common state; then the fast
// rasterizer's generated depth test (16 and 32 bits) and store spans (plain,
// dithered, blended, with a logic op) in chunks of 32, so that the
// time a span takes can be split by stage. Each runs in a real context bound
// to a 2048 x 4 memory window; the store cases point its back buffer at
// memory of the format in turn and put it back afterwards. Next to them the
// fast path's colour-generation and combine kernels, which stand in for
// shading and store, and the fused pixel-generation and colour-index
// kernels, which replace both, run chunk by chunk over the same length;
// then texturing per pixel, the fast path's extraction spanlets with each
// kind of filter against the generic texture span.
#include <stdio.h>
#include <stdlib.h>

#include <memory>
#include <vector>

#include "bench/bench_gl.h"
#include "bench/bench_timer.h"
#include "codegen/og_fr.h"
#include "core/context.h"
#include "fastraster/fr_chain.h"
#include "fastraster/fr_ci.h"
#include "fastraster/fr_combine.h"
#include "fastraster/fr_genclr.h"
#include "fastraster/fr_genpix.h"
#include "fastraster/fr_pick.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_store.h"
#include "fastraster/fr_tables.h"
#include "fastraster/fr_tex.h"
#include "raster/s_shader.h"
#include "raster/s_span.h"
#include "tools/scene_window.h"
#include "wgl/wgl_drawable.h"

namespace {

constexpr int32_t kSpan = 2048, kRows = 4;

typedef GLbool8 (*SpanProc)(GlContext *gc);

struct RgbFormat {
  const char *name;
  uint32_t colorBits, bytes;
  uint32_t bits[4];
  uint32_t masks[4];
};

const RgbFormat kFormats[] = {
    {"3-3-2", 8, 1, {3, 3, 2, 0}, {0xE0, 0x1C, 0x03, 0}},
    {"5-5-5", 16, 2, {5, 5, 5, 0}, {0x7C00, 0x03E0, 0x001F, 0}},
    {"5-6-5", 16, 2, {5, 6, 5, 0}, {0xF800, 0x07E0, 0x001F, 0}},
    {"1-5-5-5", 16, 2, {5, 5, 5, 1}, {0x7C00, 0x03E0, 0x001F, 0x8000}},
    {"8-8-8", 24, 3, {8, 8, 8, 0}, {0xFF0000, 0xFF00, 0xFF, 0}},
    {"X-8-8-8", 32, 4, {8, 8, 8, 0}, {0xFF0000, 0xFF00, 0xFF, 0}},
    {"8-8-8-8", 32, 4, {8, 8, 8, 8}, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}},
};

// The span the procedures see: row 1 of the window, colours and words owned
// here, depth stepping across half the buffer's range.
struct SpanBench {
  SceneWindow window;
  std::vector<GlColor> colors = std::vector<GlColor>(kSpan);
  uint32_t words[kSpan / 32] = {};
  GlContext *gc() const { return window.gc; }
};

void LoadShader(SpanBench *b) {
  GlContext *gc = b->gc();
  GlShader &sh = gc->polygon.shader;
  const int32_t row = 1;
  sh.x = gc->constants.viewportXAdjust;
  sh.y = gc->constants.viewportYAdjust + row;
  sh.length = kSpan;
  sh.spanColors = b->colors.data();
  sh.stipplePat = b->words;
  sh.cfb = gc->back;
  sh.r = 10, sh.g = 200, sh.b = 30, sh.a = 255;
  sh.drdx = 0.1f, sh.dgdx = -0.09f, sh.dbdx = 0.11f, sh.dadx = -0.05f;
  const GlDrawableBuffer &depth = b->window.drawable.depth;
  sh.zbuf = depth.base + row * depth.pitchBytes;
  const uint32_t scale = gc->depthBuffer.scale;
  sh.z = scale / 4;
  sh.dzdx = int32_t(scale / 2 / kSpan);
  sh.dzdxBig = sh.dzdx * 32;
  const GlDrawableBuffer &stencil = b->window.drawable.stencil;
  sh.sbuf = stencil.base + row * stencil.pitchBytes;
}

// A window with the depth test on (LEQUAL: every pixel passes and is
// written), smooth shading and no dithering, validated by one drawn
// triangle.
bool Open(SpanBench *b, uint32_t depthBits) {
  if (!SceneWindowOpenDepth(&b->window, kSpan, kRows, depthBits)) {
    fprintf(stderr, "bench_spans: no context could be made and bound\n");
    return false;
  }
  bench::PixelProjection(kSpan, kRows);
  glDisable(GL_DITHER);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glShadeModel(GL_SMOOTH);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glBegin(GL_TRIANGLES);
  glColor3f(1, 0, 0);
  glVertex2f(0, 0);
  glColor3f(0, 1, 0);
  glVertex2f(8, 0);
  glColor3f(0, 0, 1);
  glVertex2f(0, 3);
  glEnd();
  glFinish();
  if (glGetError() != GL_NO_ERROR) {
    fprintf(stderr, "bench_spans: setting up the window raised a GL error\n");
    SceneWindowClose(&b->window);
    return false;
  }
  LoadShader(b);
  __glShadeRGBASpan(b->gc());  // colours for the stages that read them
  return true;
}

// Times `run` (which does `work` units each call) in reads of 64 calls: one
// read to warm up, then the median of the runs.
template <typename Run>
void Time(const bench::Options &options, const char *stage, const char *format, double work,
          Run run, bench::RunTotals *total) {
  char name[64];
  snprintf(name, sizeof name, "%s %s", stage, format);
  if (!options.Wants(name)) return;
  constexpr int kCallsPerRead = 64;
  const bench::RunTotals median = bench::TimeRuns(options.seconds, [&] {
    const double start = bench::Now();
    for (int i = 0; i < kCallsPerRead; i++) run();
    return bench::RunTotals{double(kCallsPerRead) * work, 0, bench::Now() - start};
  });
  printf("%-14s %-9s %12.1f %10.3f\n", stage, format, median.Rate() / 1e6,
         1e9 / median.Rate());
  *total += median;
}

// Times `proc` over the span.
void Measure(const bench::Options &options, SpanBench *b, const char *stage, const char *format,
             SpanProc proc, bench::RunTotals *total) {
  GlContext *gc = b->gc();
  Time(options, stage, format, kSpan, [&] { proc(gc); }, total);
}

void MeasureShadingAndDepth(const bench::Options &options, uint32_t depthBits,
                            bench::RunTotals *total) {
  SpanBench b;
  if (!Open(&b, depthBits)) return;
  char format[16];
  snprintf(format, sizeof format, "z%u", depthBits);
  if (depthBits == 24) {
    Measure(options, &b, "shade-flat", "rgba", __glFlatRGBASpan, total);
    Measure(options, &b, "shade-smooth", "rgba", __glShadeRGBASpan, total);
  }
  Measure(options, &b, "depth-test", format, __glDepthTestSpan, total);
  // The window's own stage list: smooth, depth test, 5-6-5 store.
  char whole[32];
  snprintf(whole, sizeof whole, "5-6-5,%s", format);
  Measure(options, &b, "process-span", whole, b.gc()->procs.span.processSpan, total);
  SceneWindowClose(&b.window);
}

// The back buffer as `f`, bound to `memory`; the caller restores it.
void BindFormat(GlContext *gc, const RgbFormat &f, GlDrawableBuffer *memory, bool dither) {
  GlModes &m = gc->modes;
  m.colorBits = f.colorBits;
  m.redBits = f.bits[0], m.greenBits = f.bits[1], m.blueBits = f.bits[2], m.alphaBits = f.bits[3];
  m.redMask = f.masks[0], m.greenMask = f.masks[1];
  m.blueMask = f.masks[2], m.alphaMask = f.masks[3];
  GlColorBuffer *cfb = gc->back;
  __glInitRGB(cfb, gc);
  cfb->buf.gc = gc;
  cfb->buf.drawableBuf = memory;
  gc->polygon.shader.cfb = cfb;
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB | (dither ? __GL_SHADE_DITHER : 0);
  cfb->pick(gc, cfb);
}

void MeasureStores(const bench::Options &options, bench::RunTotals *total) {
  SpanBench b;
  if (!Open(&b, 24)) return;
  GlContext *gc = b.gc();
  GlColorBuffer *cfb = gc->back;
  const GlModes savedModes = gc->modes;
  GlDrawableBuffer *const savedBuffer = cfb->buf.drawableBuf;
  const uint32_t savedFlags = gc->polygon.shader.modeFlags;
  for (const RgbFormat &f : kFormats) {
    GlDrawableBuffer memory = *savedBuffer;
    memory.depth = f.colorBits;
    memory.elementSize = f.bytes;
    memory.elementSizeLog2 = f.bytes == 4 ? 2 : f.bytes == 2 ? 1 : 0;
    memory.pitch = kSpan;
    memory.pitchBytes = (kSpan * int32_t(f.bytes) + 3) & ~3;
    memory.size = uint32_t(memory.pitchBytes * kRows);
    std::vector<uint8_t> pixels(memory.size);
    memory.base = pixels.data();
    memory.corePrivate = nullptr;
    for (bool dither : {false, true}) {
      BindFormat(gc, f, &memory, dither);
      // Colours across each channel's range at this buffer's scales.
      for (int32_t k = 0; k < kSpan; k++) {
        const GLfloat t = GLfloat(k) / kSpan;
        b.colors[size_t(k)] = {t * cfb->redScale, (1 - t) * cfb->greenScale,
                               0.5f * cfb->blueScale, t * cfb->alphaScale};
      }
      Measure(options, &b, dither ? "store-dither" : "store", f.name, cfb->storeSpan, total);
    }
  }
  gc->modes = savedModes;
  __glInitRGB(cfb, gc);
  cfb->buf.gc = gc;
  cfb->buf.drawableBuf = savedBuffer;
  gc->polygon.shader.modeFlags = savedFlags;
  cfb->pick(gc, cfb);
  SceneWindowClose(&b.window);
}

// ---- The fast rasterizer's spanlets, chunk by chunk over the same span ----

// Hands the span to `spanlet` in 64 full chunks, stepping the addresses as
// the set-up does.
void SpanletOverSpan(FrSpanletProc spanlet, FrSpan *span, FrAddress *address, int32_t bytes) {
  const FrAddress start = *address;
  for (int32_t x = 0; x < kSpan; x += 32) {
    span->x = x;
    span->ditherRow = __glFRDitherTable.data() + (x & 3);
    spanlet(0xFFFFFFFFu, span);
    *address += 32 * bytes;
  }
  *address = start;
}

void MeasureFastStores(const bench::Options &options, bench::RunTotals *total) {
  GlContext *gc = static_cast<GlContext *>(calloc(1, sizeof(GlContext)));
  GlColorBuffer cfb{};
  cfb.sourceMask = 0xFFFFFFFFu;
  gc->drawBuffer = &cfb;
  gc->state.raster.blendSrc = GL_SRC_ALPHA;
  gc->state.raster.blendDst = GL_ONE_MINUS_SRC_ALPHA;
  gc->state.raster.logicOp = GL_CLEAR + 6;  // GL_XOR
  FrSpan span{};
  span.gc = gc;
  span.direction = 1;
  for (int i = 0; i < 32; i++) span.colors[i] = 0x80204060u + uint32_t(i) * 0x01030507u;
  struct Case {
    const char *stage;
    uint32_t flags;
  };
  const Case cases[] = {{"fr-store", 0},
                        {"fr-store-dith", __GL_SHADE_DITHER},
                        {"fr-store-blend", __GL_SHADE_BLEND},
                        {"fr-store-logic", __GL_SHADE_LOGIC_OP}};
  struct Store {
    const char *format;
    uint8_t type;
    int32_t bytes;
  };
  const Store stores[] = {{"ci8", FR_FB_CI8, 1},     {"3-3-2", FR_FB_RGB332, 1},
                          {"5-5-5", FR_FB_RGB555, 2}, {"5-6-5", FR_FB_RGB565, 2},
                          {"8-8-8", FR_FB_RGB8, 3},   {"X-8-8-8", FR_FB_XRGB8, 4}};
  std::vector<uint8_t> pixels(kSpan * 4);
  for (const Store &st : stores)
    for (const Case &c : cases) {
      if (c.flags == __GL_SHADE_DITHER && st.bytes >= 3) continue;  // never dithered
      gc->polygon.shader.modeFlags = c.flags;
      span.pixel = pixels.data();
      Time(
          options, c.stage, st.format, kSpan,
          [&] { SpanletOverSpan(__glStoreTab[st.type], &span, &span.pixel, st.bytes); }, total);
    }
  free(gc);
}

void GLFASTCALL NoSpanlet(uint32_t, FrSpan *) {}

// The generated depth test on a plain buffer of `depthBits`, GL_LEQUAL with
// writes, every pixel passing.
void MeasureFastDepth(const bench::Options &options, uint32_t depthBits,
                      bench::RunTotals *total) {
  SpanBench b;
  if (!Open(&b, depthBits)) return;
  GlContext *gc = b.gc();
  gc->state.depth.testFunc = GL_LEQUAL;
  gc->state.depth.writeEnable = 1;
  const uint32_t savedFlags = gc->polygon.shader.modeFlags;
  gc->polygon.shader.modeFlags = __GL_SHADE_DEPTH_TEST;
  gc->procs.afterDepthTest = NoSpanlet;
  FrSpanletProc test = reinterpret_cast<FrSpanletProc>(OGGenerateZT(gc));
  FrSpan span{};
  span.gc = gc;
  span.direction = 1;
  span.z = gc->depthBuffer.scale / 4;
  span.dzdx = int32_t(gc->depthBuffer.scale / 2 / kSpan);
  span.zbuf = static_cast<FrAddress>(gc->polygon.shader.zbuf);
  char format[16];
  snprintf(format, sizeof format, "z%u", depthBits);
  Time(
      options, "fr-depth-test", format, kSpan,
      [&] { SpanletOverSpan(test, &span, &span.zbuf, depthBits == 16 ? 2 : 4); }, total);
  gc->polygon.shader.modeFlags = savedFlags;
  SceneWindowClose(&b.window);
}

// The fast path's pre-built kernels over the same span length, chunk by
// chunk as the set-up hands them out: colour generation into the span's
// colour buffer (texels already in place, a null successor) and combine
// kernels onto memory of the format. They stand in for the generic shading
// and store above.
struct KernelCase {
  const char *stage;
  uint32_t slot;
};
const KernelCase kGenColorCases[] = {
    {"gen-flat", 0x00},    {"gen-smooth", 0x02},    {"gen-smooth-a", 0x03},
    {"gen-replace", 0x06}, {"gen-modulate", 0x0E}, {"gen-modul-ta", 0x2F},
};
const KernelCase kCombineCases[] = {
    {"comb-copy-dith", 0x13}, {"comb-xor", 0x06}, {"comb-blend-63", 0x63},
    {"comb-blend-73", 0x73},
};
struct KernelFormat {
  const char *name;
  uint8_t fbType;
  uint32_t bytes, bits;  // bits of red
};
const KernelFormat kKernelFormats[] = {
    {"3-3-2", FR_FB_RGB332, 1, 3}, {"5-6-5", FR_FB_RGB565, 2, 5}, {"X-8-8-8", FR_FB_XRGB8, 4, 8}};

void RunChunks(FrSpan *span, FrSpanletProc kernel, uint8_t *pixels, uint32_t bytes) {
  const int32_t r = span->r, g = span->g, b = span->b, a = span->a;
  for (int32_t x = 0; x < kSpan; x += 32) {
    span->pixel = pixels + x * int32_t(bytes);
    span->ditherRow = __glFRDitherTable.data() + (x & 3);
    kernel(0xFFFFFFFFu, span);
    span->r += span->drdxBig, span->g += span->dgdxBig;
    span->b += span->dbdxBig, span->a += span->dadxBig;
  }
  span->r = r, span->g = g, span->b = b, span->a = a;
}

// A span whose colours run across most of the format's range, stepped per
// pixel and per chunk, with a texel buffer already filled.
FrSpan KernelSpan(GlContext *gc, const KernelFormat &f) {
  FrSpan span{};
  span.gc = gc;
  span.direction = 1;
  const int32_t top = ((1 << f.bits) - 1) << 16;
  span.r = top / 8, span.drdx = top / 2 / kSpan, span.drdxBig = span.drdx * 32;
  span.g = top / 2, span.dgdx = -top / 4 / kSpan, span.dgdxBig = span.dgdx * 32;
  span.b = top, span.dbdx = -top / 2 / kSpan, span.dbdxBig = span.dbdx * 32;
  span.a = 255 << 16, span.dadx = -(200 << 16) / kSpan, span.dadxBig = span.dadx * 32;
  for (int i = 0; i < 32; i++) span.texels[i] = 0x80C0E0F0u - uint32_t(i) * 0x01030507u;
  return span;
}

void MeasureKernels(const bench::Options &options, bench::RunTotals *total) {
  std::unique_ptr<GlContext> gc(new GlContext());
  gc->procs.extractTexels = __glNullSpanlet;
  gc->procs.afterColors = __glNullSpanlet;
  gc->frEnvColor[0] = 0x40, gc->frEnvColor[1] = 0x80, gc->frEnvColor[2] = 0xC0;
  std::vector<uint8_t> pixels(size_t(kSpan) * 4, 0x5A);
  for (const KernelFormat &f : kKernelFormats) {
    FrSpan span = KernelSpan(gc.get(), f);
    const FrSpanletProc *gen = __glGenColorTab[f.fbType];
    const FrSpanletProc *combine = __glCombineTab[f.fbType];
    for (const KernelCase &k : kGenColorCases)
      Time(options, k.stage, f.name, kSpan,
           [&] { RunChunks(&span, gen[k.slot], pixels.data(), f.bytes); }, total);
    for (int i = 0; i < 32; i++) span.colors[i] = 0x80A06040u + uint32_t(i) * 0x03010204u;
    for (const KernelCase &k : kCombineCases) {
      // 8-bit fields are never dithered: the plain copy stands in.
      const uint32_t slot = f.bits == 8 ? k.slot & ~0x10u : k.slot;
      Time(options, k.stage, f.name, kSpan,
           [&] { RunChunks(&span, combine[slot], pixels.data(), f.bytes); }, total);
    }
  }
}

// The fused pixel-generation kernels most states reach, on every format
// that has them, and the colour-index kernels: the whole per-pixel work of
// a chunk from colour to memory, to set against shading plus store above.
const KernelCase kPixelCases[] = {
    {"pix-flat", 0x00},    {"pix-smooth", 0x02},      {"pix-smooth-dth", 0x03},
    {"pix-replace", 0x04}, {"pix-modulate", 0x0E},
};
const KernelFormat kPixelFormats[] = {{"3-3-2", FR_FB_RGB332, 1, 3},
                                      {"5-5-5", FR_FB_RGB555, 2, 5},
                                      {"5-6-5", FR_FB_RGB565, 2, 5},
                                      {"X-8-8-8", FR_FB_XRGB8, 4, 8}};
const KernelCase kIndexPixelCases[] = {
    {"ci-pix-flat", 0x00}, {"ci-pix-smooth", 0x02}, {"ci-pix-sm-dith", 0x03},
    {"ci-pix-tex-add", 0x0A}};

void MeasurePixelKernels(const bench::Options &options, bench::RunTotals *total) {
  std::unique_ptr<GlContext> gc(new GlContext());
  gc->procs.extractTexels = __glNullSpanlet;  // the texel buffer is filled below
  gc->frEnvColor[0] = 0x40, gc->frEnvColor[1] = 0x80, gc->frEnvColor[2] = 0xC0;
  std::vector<uint8_t> pixels(size_t(kSpan) * 4, 0x5A);
  for (const KernelFormat &f : kPixelFormats) {
    FrSpan span = KernelSpan(gc.get(), f);
    span.flatPixel = 0x00A5C3E1u;
    const FrSpanletProc *pix = __glGenPixTab[f.fbType];
    for (const KernelCase &k : kPixelCases) {
      // 8-bit fields are never dithered: the undithered kernel stands in.
      const uint32_t slot = f.bits == 8 ? k.slot & ~0x01u : k.slot;
      Time(options, k.stage, f.name, kSpan,
           [&] { RunChunks(&span, pix[slot], pixels.data(), f.bytes); }, total);
    }
  }
  FrSpan span{};
  span.gc = gc.get();
  span.direction = 1;
  span.r = 10 << 16, span.drdx = (200 << 16) / kSpan, span.drdxBig = span.drdx * 32;
  span.flatPixel = 77;
  for (int i = 0; i < 32; i++) span.texels[i] = 0x10203040u + uint32_t(i) * 0x01010101u;
  for (const KernelCase &k : kIndexPixelCases)
    Time(options, k.stage, "ci8", kSpan,
         [&] { RunChunks(&span, __fr_ci_pix_table[k.slot], pixels.data(), 1); }, total);
  // Colour generation then the dithered copy, as a chain would run them.
  gc->procs.afterColors = __fr_ci_combine_table[0x13];
  Time(options, "ci-gen+copy", "ci8", kSpan,
       [&] { RunChunks(&span, __fr_ci_genclr_table[0x02], pixels.data(), 1); }, total);
}

// Texturing per pixel: the fast path's extraction spanlets (chunk by
// chunk, every pixel live) with nearest, bilinear and mipmapped filters,
// affine and perspective, next to the generic texture span with the same
// filters. A 64 x 64 RGBA texture with all its levels, GL_REPLACE, sampled
// four texels a pixel along s (rho 16, lambda 2) so that the mipmap
// filters minify.
struct TexelCase {
  const char *stage;
  GLenum minFilter, magFilter;
  FrTexelFilterProc minify, magnify;
  FrSpanletProc extract;  // null: the generic texture span
  bool perspective;
};
const TexelCase kTexelCases[] = {
    {"tex-near-aff", GL_NEAREST, GL_NEAREST, __glFRNearestFilter, __glFRNearestFilter,
     __glGenericExtractTexels_3, false},
    {"tex-lin-aff", GL_LINEAR, GL_LINEAR, __glFRLinearFilter, __glFRLinearFilter,
     __glGenericExtractTexels_3, false},
    {"tex-near-pc", GL_NEAREST, GL_NEAREST, __glFRNearestFilter, __glFRNearestFilter,
     __glGenericExtractTexelsPC_3, true},
    {"tex-lin-pc", GL_LINEAR, GL_LINEAR, __glFRLinearFilter, __glFRLinearFilter,
     __glGenericExtractTexelsPC_3, true},
    {"tex-nmn-pc", GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST, __glFR_NMNFilter, __glFRNearestFilter,
     __glGenericExtractTexelsPCMipmap_3, true},
    {"tex-lml-pc", GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, __glFR_LMLFilter, __glFRLinearFilter,
     __glGenericExtractTexelsPCMipmap_3, true},
    {"gen-tex-near", GL_NEAREST, GL_NEAREST, nullptr, nullptr, nullptr, false},
    {"gen-tex-lin", GL_LINEAR, GL_LINEAR, nullptr, nullptr, nullptr, false},
    {"gen-tex-nmn", GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST, nullptr, nullptr, nullptr, true},
    {"gen-tex-lml", GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR, nullptr, nullptr, nullptr, true},
};

void DefineBenchTexture() {
  std::vector<uint8_t> image(64 * 64 * 4);
  uint32_t x = 1;
  for (uint8_t &b : image) {
    x = x * 1103515245u + 12345u;
    b = uint8_t(x >> 16);
  }
  for (int32_t level = 0, size = 64; size >= 1; level++, size /= 2)
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image.data());
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
  glEnable(GL_TEXTURE_2D);
}

void MeasureTexels(const bench::Options &options, bench::RunTotals *total) {
  SpanBench b;
  if (!Open(&b, 24)) return;
  GlContext *gc = b.gc();
  DefineBenchTexture();
  const GLfloat ds = 1.0f / 16, dt = 1.0f / 64;  // normalised, per pixel
  for (const TexelCase &c : kTexelCases) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(c.minFilter));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(c.magFilter));
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, c.perspective ? GL_NICEST : GL_FASTEST);
    glBegin(GL_TRIANGLES);  // validates for the new state
    glVertex2f(0, 0);
    glVertex2f(1, 0);
    glVertex2f(0, 1);
    glEnd();
    glFinish();
    if (!c.extract) {
      LoadShader(&b);
      GlShader &sh = gc->polygon.shader;
      sh.s = 0, sh.t = 0, sh.q = 1, sh.rho = 16;
      sh.dsdx = ds, sh.dtdx = dt, sh.dqdx = 0, sh.drhodx = 0;
      Measure(options, &b, c.stage, "rgba", __glTextureSpan, total);
      continue;
    }
    gc->procs.texMinFilter = c.minify;
    gc->procs.texMagFilter = c.magnify;
    FrSpan span{};
    span.gc = gc;
    span.direction = 1;
    span.dsdx = int32_t(ds * 65536), span.dtdx = int32_t(dt * 65536);
    span.qf = 1, span.rho = 16;
    span.dsfdxHalf = 16 * ds, span.dtfdxHalf = 16 * dt;
    Time(
        options, c.stage, "rgba", kSpan,
        [&] {
          span.s = span.t = 0;
          span.sf = span.tf = 0;
          for (int32_t x = 0; x < kSpan; x += 32) {
            c.extract(0xFFFFFFFFu, &span);
            span.s += 32 * span.dsdx, span.t += 32 * span.dtdx;
            span.sf += 2 * span.dsfdxHalf, span.tf += 2 * span.dtfdxHalf;
          }
        },
        total);
  }
  glDisable(GL_TEXTURE_2D);
  SceneWindowClose(&b.window);
}

// A portable C span for comparison, standing for a good portable rasterizer
// written without generated code: 16.16 colour iteration, a 16-bit depth
// test and write, RGB565 packing, one pixel at a time. The test is
// GL_LEQUAL, so that every run passes over the depths the last one wrote.
struct ReferenceSpan {
  int32_t r, g, b, drdx, dgdx, dbdx;
  uint32_t z, dzdx;
};

void ReferenceSpan565(const ReferenceSpan &s, uint16_t *pixels, uint16_t *depth, int32_t n) {
  int32_t r = s.r, g = s.g, b = s.b;
  uint32_t z = s.z;
  for (int32_t i = 0; i < n; i++) {
    const uint16_t zz = uint16_t(z >> 16);
    if (zz <= depth[i]) {
      depth[i] = zz;
      pixels[i] = uint16_t((r >> 16) << 11 | (g >> 16) << 5 | (b >> 16));
    }
    r += s.drdx, g += s.dgdx, b += s.dbdx, z += s.dzdx;
  }
}

void MeasureReferenceSpan(const bench::Options &options, bench::RunTotals *total) {
  std::vector<uint16_t> pixels(kSpan), depth(kSpan, 0xFFFF);
  const ReferenceSpan s = {1 << 16, 2 << 16, 3 << 16, (29 << 16) / kSpan, (60 << 16) / kSpan,
                           (27 << 16) / kSpan, 0x10000000u, 0x40000u};
  Time(options, "c-reference", "5-6-5", kSpan,
       [&] { ReferenceSpan565(s, pixels.data(), depth.data(), kSpan); }, total);
}

}  // namespace

int main(int argc, char **argv) {
  bench::Options options;
  if (!bench::ParseOptions(argc, argv, &options)) return 2;
  printf("bench_spans: %d-pixel spans, median of %d runs, %.2f s a case\n", kSpan, bench::kRuns,
         options.seconds);
  printf("%-14s %-9s %12s %10s\n", "stage", "format", "Mpixels/s", "ns/pixel");
  bench::RunTotals total;
  MeasureShadingAndDepth(options, 24, &total);
  MeasureShadingAndDepth(options, 16, &total);
  MeasureStores(options, &total);
  MeasureFastDepth(options, 16, &total);
  MeasureFastDepth(options, 32, &total);
  MeasureFastStores(options, &total);
  MeasureKernels(options, &total);
  MeasurePixelKernels(options, &total);
  MeasureTexels(options, &total);
  MeasureReferenceSpan(options, &total);
  if (total.work == 0) {
    fprintf(stderr, "bench_spans: no case ran\n");
    return options.only ? 2 : 1;
  }
  printf("%-24s %12.1f %10.3f\n", "total", total.Rate() / 1e6, 1e9 / total.Rate());
  return 0;
}
