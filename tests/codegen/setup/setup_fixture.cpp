#include "tests/codegen/setup/setup_fixture.h"

#include <fenv.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <utility>

#include "codegen/og.h"
#include "codegen/og_cache.h"
#include "codegen/og_vertex_shape.h"
#include "core/s_context.h"
#include "fastraster/fr_setup_fixed.h"
#include "platform/kernel.h"
#include "tests/support/counting_imports.h"

namespace setup_test {

uint32_t gFrame[sizeof(FrSpan) / 4];
int gReached;

void Buffer::Make(uint32_t width, uint32_t height, uint32_t size, bool bottomUp) {
  const uint32_t pitch = (width * size + 3) & ~3u;
  memory.assign(size_t(pitch) * height, 0);
  record.width = width;
  record.height = height;
  record.elementSize = size;
  record.pitchBytes = bottomUp ? -int32_t(pitch) : int32_t(pitch);
  record.pitch = record.pitchBytes / int32_t(size);
  record.base = bottomUp ? memory.data() + size_t(pitch) * (height - 1) : memory.data();
}

void SetupTest::SetUp() {
  liveBefore = CountingImports::live();
  gc = static_cast<GlContext *>(calloc(1, sizeof(GlContext)));
  ASSERT_NE(gc, nullptr);
  gc->imports = CountingImports::imports;
  ASSERT_TRUE(og_init_pools(gc));
  GlConstants &k = gc->constants;
  __glSetCodeCacheSizes(gc);
  ASSERT_TRUE(__glInitializeCodeCache(gc));
  // Distinct factors, so that a swapped pair shows.
  k.depthMax = 65535.0f;
  k.redRescale = 31.0f, k.greenRescale = 63.0f, k.blueRescale = 15.0f, k.alphaRescale = 255.0f;
  __glPickVertexShape(gc);
  __glNSOpenSpace(&rasterNs);
  rasterNs.direct_map = 1;
  gc->rasterNameSpace = &rasterNs;

  color.Make(64, 48, 2);
  depth.Make(64, 48, 2);
  stencil.Make(64, 48, 1);
  front2.Make(64, 48, 2);
  gc->frontBuffer.buf.drawableBuf = &color.record;
  gc->frontBuffer.redShift = 11, gc->frontBuffer.greenShift = 5, gc->frontBuffer.blueShift = 0;
  gc->drawBuffer = gc->front = &gc->frontBuffer;
  gc->depthBuffer.buf.drawableBuf = &depth.record;
  gc->stencilBuffer.buf.drawableBuf = &stencil.record;
  gc->state.depth.testFunc = GL_LESS;
  gc->state.depth.writeEnable = 1;
  gc->modes.rgbMode = 1;
  gc->polygon.shader.modeFlags = __GL_SHADE_RGB;

  // The stub span routine.
  stub = static_cast<uint8_t *>(
      VirtualAlloc(nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
  ASSERT_NE(stub, nullptr);
  og_warmup(gc);
  og_buffer(gc, stub, stub + 4096);
  uint8_t *cb = stub;
  const auto e = [&](OgCode *c) { cb = emit_code(gc, cb, c); };
  e(mov(gc, esi, esp));
  e(mov(gc, edi, value(gc, int32_t(uintptr_t(gFrame)))));
  e(mov(gc, ecx, value(gc, int32_t(sizeof gFrame / 4))));
  e(rep(gc));
  e(movsd(gc));
  e(inc(gc, mem(gc, value(gc, int32_t(uintptr_t(&gReached))), nullptr, nullptr, 1)));
  e(mov(gc, eax, value(gc, 1)));
  e(jmpi(gc, mem(gc, value(gc, int32_t(uintptr_t(&gc->setupContinuation))), nullptr, nullptr, 1)));
  ASSERT_EQ(gc->ogs.failure, nullptr);
  gc->procs.fillTriangleSpans = stub;
  memset(vertices, 0, sizeof vertices);
  for (int i = 0; i < 4; i++) {
    colors[i] = {0.25f * float(i + 1) * 0.9f, 0.5f - 0.1f * float(i), 0.125f * float(i + 2),
                 1.0f - 0.2f * float(i)};
    vertices[i].color = &colors[i];
    vertices[i].colors[0] = colors[i];
  }
  gReached = 0;
}

void SetupTest::TearDown() {
  if (stub) VirtualFree(stub, 0, MEM_RELEASE);
  if (gc) {
    __glReleaseCodeCache(gc);
    og_free_pools(gc);
    free(gc);
  }
  EXPECT_EQ(CountingImports::live(), liveBefore);
}

GlVertex *SetupTest::Vertex(int i, float x, float y, float z) {
  GlVertex *v = &vertices[i];
  v->window = {x, y, z, 1.0f};
  return v;
}

namespace {

// Fills the stack below the caller with 0xCD, so that span words the setup
// does not write read back as 0xCDCDCDCD.
__attribute__((noinline)) void PaintStack() {
  volatile uint8_t area[16384];
  for (volatile uint8_t &byte : area) byte = 0xCD;
}

}  // namespace

uint32_t SetupTest::Run(GlVertex *a, GlVertex *b, GlVertex *c, uint16_t cw) {
  void *code = Generate(spanlet);
  EXPECT_NE(code, nullptr);
  if (code == nullptr) return 0xDEAD;
  memset(gFrame, 0xCD, sizeof gFrame);
  uint16_t saved;
  asm volatile("fnstcw %0" : "=m"(saved));
  asm volatile("fldcw %0" : : "m"(cw));
  PaintStack();
  const OgCallResult r =
      RunFastChecked(code, uint32_t(uintptr_t(gc)), uint32_t(uintptr_t(a)),
                     {uint32_t(uintptr_t(b)), uint32_t(uintptr_t(c))});
  asm volatile("fldcw %0" : : "m"(saved));
  EXPECT_EQ(r.fpuEnvironment[0], cw) << "the caller's control word";
  EXPECT_EQ(r.edx, uint32_t(uintptr_t(a))) << "edx kept";
  return r.eax;
}

uint32_t SetupTest::Word(size_t id) const {
  const uint32_t at = __glNSWhereIs(const_cast<OgNameSpace *>(&rasterNs), uint32_t(id), 4);
  return gFrame[at / 4];
}

float SetupTest::FloatWord(size_t id) const { return FrBitsFloat(Word(id)); }

void SetupTest::UseCompactedSpace() {
  __glNSOpenSpace(&rasterNs);
  // The walker first, in record order; then the blocks, last one first,
  // each kept whole.
  for (size_t id = offsetof(FrSpan, iyTop); id <= offsetof(FrSpan, direction); id += 4)
    __glNSWhereIs(&rasterNs, uint32_t(id), 4);
  const size_t blocks[] = {offsetof(FrSpan, pixel2), offsetof(FrSpan, q), offsetof(FrSpan, t),
                           offsetof(FrSpan, s),      offsetof(FrSpan, a), offsetof(FrSpan, b),
                           offsetof(FrSpan, g),      offsetof(FrSpan, r), offsetof(FrSpan, z),
                           offsetof(FrSpan, sbuf),   offsetof(FrSpan, zbuf),
                           offsetof(FrSpan, pixel)};
  for (size_t b : blocks)
    for (size_t w = 0; w < 6; w++) __glNSWhereIs(&rasterNs, uint32_t(b + 4 * w), 4);
  for (size_t id : {offsetof(FrSpan, sizeMeasure), offsetof(FrSpan, texImage),
                    offsetof(FrSpan, x), offsetof(FrSpan, y)})
    __glNSWhereIs(&rasterNs, uint32_t(id), 4);
  __glNSCloseSpace(&rasterNs);
}

namespace {

// The adjusted coordinate, snapped and as it was; false outside [4096,
// 8192).
bool Adjust(float v, float *out, float *unsnapped) {
  const float shifted = v + 0.5f;
  if (!FrInRange(shifted)) return false;
  *out = FrSnap(shifted);
  *unsnapped = shifted;
  return true;
}

float Slope(float dx, float dy) {
  volatile float q = dy != 0.0f ? dx / dy : 0.0f;
  return q;
}

}  // namespace

Reference Compute(const GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  (void)gc;
  Reference r;
  struct P {
    GlVertex *v;
    float x, y;
    float ux, uy;  // before the snap: the planes' corners
  } p[3] = {{a, 0, 0, 0, 0}, {b, 0, 0, 0, 0}, {c, 0, 0, 0, 0}};
  for (P &q : p) {
    if (!Adjust(q.v->window.x, &q.x, &q.ux) || !Adjust(q.v->window.y, &q.y, &q.uy)) {
      r.rejected = true;
      return r;
    }
  }
  const auto less = [](const P &u, const P &w) {
    return int32_t(FrFloatBits(u.y)) < int32_t(FrFloatBits(w.y));
  };
  // sort2(b, a), sort2(c, a), sort2(b, c): a top, c middle, b bottom.
  if (less(p[1], p[0])) std::swap(p[1], p[0]);
  if (less(p[2], p[0])) std::swap(p[2], p[0]);
  if (less(p[1], p[2])) std::swap(p[1], p[2]);
  const P &t = p[0], &bo = p[1], &m = p[2];
  r.top = t.v, r.bottom = bo.v, r.middle = m.v;
  const float dxL = bo.x - t.x, dyL = bo.y - t.y, dxU = m.x - t.x, dyU = m.y - t.y;
  const float dxW = bo.x - m.x, dyW = bo.y - m.y;
  r.area = float(double(dxU) * dyL - double(dxL) * dyU);
  if ((FrFloatBits(r.area) & 0x7FFFFFFFu) == 0) {
    r.rejected = true;
    return r;
  }
  const float pdxL = bo.ux - t.ux, pdyL = bo.uy - t.uy, pdxU = m.ux - t.ux, pdyU = m.uy - t.uy;
  const float planeArea = float(double(pdxU) * pdyL - double(pdxL) * pdyU);
  if ((FrFloatBits(planeArea) & 0x7FFFFFFFu) == 0) {
    r.rejected = true;
    return r;
  }
  r.direction = signbit(r.area) ? -1 : 1;
  fesetround(FE_TOWARDZERO);
  const float slope[3] = {Slope(dxL, dyL), Slope(dxU, dyU), Slope(dxW, dyW)};
  r.iyTop = FrIntegerPart(t.y);
  r.iyBottom = FrIntegerPart(bo.y);
  r.iyMiddle = FrIntegerPart(m.y);
  volatile float yPreTop = FrBitsFloat(uint32_t(r.iyTop << 11) + 0x45C00800u) - t.y;
  volatile float yPreMid = FrBitsFloat(uint32_t(r.iyMiddle << 11) + 0x45C00800u) - m.y;
  const float startX[3] = {t.x, t.x, m.x};
  const float pre[3] = {yPreTop, yPreTop, yPreMid};
  for (int e = 0; e < 3; e++) {
    const float s = slope[e];
    r.dx[e] = int32_t(s);
    r.dxCarry[e] = signbit(s) ? r.dx[e] - 1 : r.dx[e] + 1;
    volatile float prod = s * pre[e];
    volatile float xe = prod + startX[e];
    r.ix[e] = FrIntegerPart(xe);
    volatile float frac = xe - FrBitsFloat(uint32_t(r.ix[e] << 11) + 0x45C00000u);
    r.frac[e] = FrFraction31(frac);
    volatile float sf = s - float(r.dx[e]);
    r.dfrac[e] = int32_t(FrFraction31(sf));
  }
  volatile float recip = 1.0f / planeArea;
  fesetround(FE_TONEAREST);
  if (r.direction < 0)
    for (int e = 0; e < 3; e++) r.ix[e]--;
  r.ixLongBeforeNegation = r.ix[0];
  r.dxLongTrue = r.dx[0];
  r.dxLongCarryTrue = r.dxCarry[0];
  r.xTop = t.x, r.yTop = t.y;
  r.xPre = FrBitsFloat(uint32_t(r.ix[0] << 11) + 0x45C00800u) - t.ux;
  r.yPre = FrBitsFloat(uint32_t(r.iyTop << 11) + 0x45C00800u) - t.uy;
  r.slopeNegative = signbit(slope[0]);
  r.dxL = pdxL * recip, r.dyL = pdyL * recip, r.dxU = pdxU * recip, r.dyU = pdyU * recip;
  if (r.direction < 0) {
    for (int e = 0; e < 3; e++) {
      r.ix[e] = -r.ix[e];
      r.dx[e] = -r.dx[e];
      r.dxCarry[e] = -r.dxCarry[e];
    }
  }
  return r;
}

PlaneModel Plane(const Reference &r, double top, double bottom, double middle) {
  const double d1 = bottom - top, d2 = middle - top;
  PlaneModel p;
  p.dx = d2 * r.dyL - d1 * r.dyU;
  const double dy = d1 * r.dxU - d2 * r.dxL;
  p.edge = top + p.dx * r.xPre + dy * r.yPre;
  p.dy = dy + double(r.dxLongTrue) * p.dx;
  return p;
}

}  // namespace setup_test
