// Compacted layouts outside spanlet mode: the raster routine declares every
// word the setup writes, the setup generates on that layout without
// placing anything new, the walker words keep their order and every
// fixed-point block the distances the setup's plane subroutine measures.
// The x86 walk then runs with its span code still a stand-in.
#include <gtest/gtest.h>

#include "codegen/og_ns.h"
#include "fastraster/fr_pick.h"
#include "tests/codegen/emitter/og_support.h"
#include "tests/codegen/raster/raster_fixture.h"
#include "tests/codegen/raster/raster_texture.h"

namespace raster_test {
namespace {

struct Layout {
  const char *name;
  uint32_t flags;
  uint32_t bits;  // of the colour buffer
  bool mmx;
};

constexpr uint32_t kRgb = __GL_SHADE_RGB;
constexpr uint32_t kSmooth = kRgb | __GL_SHADE_ITERATE_COLOR;
constexpr uint32_t kDepth = __GL_SHADE_DEPTH_TEST;

// The states the picker may send outside spanlet mode (no texturing, no
// double store, no polygon offset), with and without the MMX body.
const Layout kReachable[] = {
    {"flat fill", kRgb, 16, false},
    {"flat fill dither", kRgb | __GL_SHADE_DITHER, 16, false},
    {"flat fill 8-bit", kRgb | __GL_SHADE_DITHER, 8, false},
    {"flat fill 32-bit", kRgb, 32, false},
    {"flat depth", kRgb | kDepth, 16, false},
    {"smooth", kSmooth, 16, false},
    {"smooth depth dither", kSmooth | kDepth | __GL_SHADE_DITHER, 16, false},
    {"smooth depth 24-bit", kSmooth | kDepth, 24, false},
    {"smooth masked", kSmooth | __GL_SHADE_MASK, 32, false},
    {"colour index", __GL_SHADE_ITERATE_COLOR | kDepth, 8, false},
    {"dual flat", kRgb | kDepth, 16, true},
    {"dual smooth", kSmooth | kDepth | __GL_SHADE_DITHER, 16, true},
    {"mmx blend", kSmooth | __GL_SHADE_BLEND | __GL_SHADE_ALPHA, 16, true},
};

// Forced only: textured routines outside spanlet mode.
const Layout kForced[] = {
    {"affine modulate", kSmooth | __GL_SHADE_TEXTURE, 32, false},
    {"affine flat modulate dither", kRgb | __GL_SHADE_TEXTURE | __GL_SHADE_DITHER, 16, false},
    {"perspective", kSmooth | kDepth | __GL_SHADE_TEXTURE | __GL_SHADE_PERSPECTIVE, 32, false},
    {"mmx perspective", kSmooth | __GL_SHADE_TEXTURE | __GL_SHADE_PERSPECTIVE, 16, true},
};

uint32_t Where(OgNameSpace *ns, size_t id) {
  EXPECT_NE(ns->offset[id], OG_NS_UNPLACED) << "span word " << id << " declared";
  return ns->offset[id];
}

void CheckLayout(RasterContext &rc, const Layout &l) {
  GlContext *gc = rc.gc();
  rc.SetFlags(l.flags);
  gc->modes.rgbMode = (l.flags & kRgb) ? 1 : 0;
  gc->modes.colorBits = l.bits;
  gc->drawBuffer->frFbType =
      l.bits == 8 ? ((l.flags & kRgb) ? FR_FB_RGB332 : FR_FB_CI8)
                  : l.bits == 16 ? FR_FB_RGB565 : l.bits == 24 ? FR_FB_RGB8 : FR_FB_XRGB8;
  if (l.mmx)
    gc->constants.cpuFlags |= __GL_CPU_MMX;
  else
    gc->constants.cpuFlags &= ~__GL_CPU_MMX;
  ASSERT_EQ(__glFRSupportsMMX(gc) != 0, l.mmx);
  ASSERT_NE(rc.Raster(false), nullptr);
  OgNameSpace *ns = gc->rasterNameSpace;
  ASSERT_FALSE(ns->direct_map);
  const uint32_t hash = ns->hash, used = ns->next;
  ASSERT_NE(__glGenerateSetup(gc, 0), nullptr);
  EXPECT_EQ(ns->hash, hash) << "the setup placed nothing new";
  EXPECT_EQ(ns->next, used);
  if (l.mmx && !(l.flags & (__GL_SHADE_TEXTURE | __GL_SHADE_BLEND))) {
    EXPECT_EQ(Where(ns, offsetof(FrSpan, sizeMeasure)), 0u) << "a dual routine declares it first";
  }
  const uint32_t first = Where(ns, offsetof(FrSpan, iyTop));
  for (size_t id = offsetof(FrSpan, iyTop); id <= offsetof(FrSpan, direction); id += 4)
    EXPECT_EQ(Where(ns, id), first + (id - offsetof(FrSpan, iyTop))) << "walker word " << id;
  // Blocks the setup's fixed-point subroutine writes.
  bool measured = false;
  int32_t dx = 0, dy = 0, dyCarry = 0;
  for (size_t block : {offsetof(FrSpan, z), offsetof(FrSpan, r), offsetof(FrSpan, g),
                       offsetof(FrSpan, b), offsetof(FrSpan, a), offsetof(FrSpan, s),
                       offsetof(FrSpan, t), offsetof(FrSpan, q)}) {
    if (ns->offset[block + 4] == OG_NS_UNPLACED || ns->offset[block + 8] == OG_NS_UNPLACED)
      continue;
    const int32_t edge = int32_t(ns->offset[block + 4]);
    const int32_t d[3] = {int32_t(Where(ns, block + 8)) - edge, int32_t(Where(ns, block + 16)) - edge,
                          int32_t(Where(ns, block + 20)) - edge};
    if (!measured) {
      dx = d[0], dy = d[1], dyCarry = d[2];
      measured = true;
    }
    EXPECT_EQ(d[0], dx) << "block " << block;
    EXPECT_EQ(d[1], dy) << "block " << block;
    EXPECT_EQ(d[2], dyCarry) << "block " << block;
  }
}

TEST(CompactedLayout, ReachableStatesAgreeWithTheSetup) {
  for (const Layout &l : kReachable) {
    SCOPED_TRACE(l.name);
    RasterContext rc(l.bits, nullptr);
    CheckLayout(rc, l);
  }
}

TEST(CompactedLayout, ForcedTexturedStatesAgreeWithTheSetup) {
  for (const Layout &l : kForced) {
    SCOPED_TRACE(l.name);
    RasterContext rc(l.bits, nullptr);
    TestTexture tex(rc.gc(), 6, 5, GL_RGBA, GL_MODULATE);
    CheckLayout(rc, l);
  }
}

// The x86 routine walks and draws with every compacted layout: registers,
// stack and control word come back, eax is 1, a pixel outside the triangle
// keeps its bytes, and one inside is drawn unless the depth test or the
// colour mask keeps it.
TEST(CompactedLayout, TheX86WalkRunsAndReturns) {
  for (const Layout &l : kReachable) {
    if (l.mmx) continue;
    SCOPED_TRACE(l.name);
    RasterContext rc(l.bits, nullptr);
    CheckLayout(rc, l);
    GlContext *gc = rc.gc();
    ASSERT_TRUE(__glForceGeneratedTriangle(gc, 0));
    rc.color.Fill(0x11);
    GlVertex v[3] = {RasterContext::Vertex(3.25, 2.5), RasterContext::Vertex(80.75, 60.5),
                     RasterContext::Vertex(20.5, 40.5)};
    for (GlVertex &x : v) x.color = &x.colors[0];
    gc->vertexBuffer.provoking = &v[2];
    const OgCallResult r = RunFastChecked(reinterpret_cast<const void *>(gc->procs.fillTriangle),
                                          uint32_t(uintptr_t(gc)), uint32_t(uintptr_t(&v[0])),
                                          {uint32_t(uintptr_t(&v[1])), uint32_t(uintptr_t(&v[2]))});
    EXPECT_EQ(r.eax, 1u);
    EXPECT_EQ(rc.color.Read(70, 10), rc.color.Read(0, 47));
    if (!(l.flags & (kDepth | __GL_SHADE_MASK))) {
      EXPECT_NE(rc.color.Read(40, 40), rc.color.Read(0, 47));
    } else if (l.flags & __GL_SHADE_MASK) {
      EXPECT_EQ(rc.color.Read(40, 40), rc.color.Read(0, 47));
    }
  }
}

}  // namespace
}  // namespace raster_test
