// The span rasterizer generator's driver: the key words, the cache cell and
// its name space, the MMX choice and the order of the steps.
#include "codegen/og_ras.h"

#include "codegen/og_cache.h"
#include "codegen/og_dump.h"
#include "codegen/og_ras_walk.h"
#include "core/gl_assert.h"
#include "fastraster/fr_setup.h"

namespace og_raster {
namespace {

// A routine that failed a check leaves its cell before the assertion stops.
[[noreturn]] void Refuse(Gen &g, uint8_t *cell, const char *text) {
  __glFreeCodeSpace(&g.gc->triRasterCache, cell);
  __glAssertFailed(text, "og_ras", __LINE__);
}

void *Finish(Gen &g, uint8_t *cell) {
  GlContext *gc = g.gc;
  if (gc->ogs.failure)
    Refuse(g, cell, "(unsigned)space + gc->constants.triRasterCacheSize > (unsigned)cb");
  __glNSCloseSpace(g.ns);
  gc->rasterNameSpace = g.ns;
  og_dump(gc, g.spanlet ? "raster_spanlet" : "raster", g.start, uint32_t(g.cb - g.start));
  return g.start;
}

// The MMX body, behind the size test of a dual routine; false when the
// routine is complete without an x86 part.
bool MmxPart(Gen &g, uint8_t *cell) {
  GlContext *gc = g.gc;
  og_warmup(gc);
  og_buffer(gc, g.start, g.start + kMmxLimit - 1);
  g.Place(offsetof(FrSpan, sizeMeasure));
  OgCode *small = label(gc);
  if (g.dual) {
    // |sizeMeasure| <= 50.0, compared by the bits of the positive floats.
    g.E(mov(gc, eax, g.F(offsetof(FrSpan, sizeMeasure))));
    g.E(and_(gc, eax, g.V(0x7FFFFFFF)));
    g.E(cmp(gc, eax, fpk(gc, 50.0)));
    g.E(jle(gc, small));
  }
  BuildMMXRasterizer(g);
  if (gc->ogs.failure) Refuse(g, cell, "(end - space) < 0x3800");
  if (!g.dual) return false;
  g.Mark(small);
  return true;
}

}  // namespace
}  // namespace og_raster

using namespace og_raster;

uint32_t __glRasterKey2(GlContext *gc, GLbool8 spanletMode) {
  return RasterKey2(gc, spanletMode != 0);
}

void *__glGenerateRasterizer(GlContext *gc, GLbool8 spanletMode) {
  const bool spanlet = spanletMode != 0;
  const uint32_t key1 = gc->polygon.shader.modeFlags & kKey1Mask;
  const uint32_t key2 = RasterKey2(gc, spanlet);
  OgNameSpace *ns = nullptr;
  void *found = nullptr;
  if (__glAllocCodeSpace(&gc->triRasterCache, key1, key2, &ns, &found)) {
    gc->rasterNameSpace = ns;
    return static_cast<uint8_t *>(found) + kDataArea;
  }
  uint8_t *const cell = static_cast<uint8_t *>(found);
  __glNSOpenSpace(ns);
  if (spanlet) ns->direct_map = 1;

  Gen g = {};
  g.gc = gc;
  g.ns = ns;
  g.start = g.cb = cell + kDataArea;
  g.end = cell + gc->constants.triRasterCacheSize;
  g.data = reinterpret_cast<uint8_t *>((uintptr_t(cell) + 7) & ~uintptr_t(7));
  g.key1 = key1;
  g.key2 = key2;
  g.flags = gc->polygon.shader.modeFlags;
  g.spanlet = spanlet;
  Decide(g);

  if (g.mmx && !MmxPart(g, cell)) return Finish(g, cell);
  DeclareFields(g);
  if (gc->ogs.failure) Refuse(g, cell, "(unsigned)space + gc->constants.triRasterCacheSize > (unsigned)cb");
  og_warmup(gc);
  og_buffer(gc, g.start, g.end);
  MakeDataVariables(g);
  EmitGuard(g);
  AllocateLocals(g);
  EmitTriangleSetupCode(g);
  EmitWalk(g);
  return Finish(g, cell);
}
