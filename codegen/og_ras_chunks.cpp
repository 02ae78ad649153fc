// Spanlet mode: each span goes to the spanlet chain in chunks of 32 pixels,
// with the mask of the chunk's pixels in ECX and the span record in EDX.
#include <initializer_list>

#include "codegen/og_ras_walk.h"
#include "fastraster/fr_setup.h"
#include "fastraster/fr_tables.h"

namespace og_raster {
namespace {

// The integer blocks the chain reads, and the float blocks.
template <typename Visit, typename VisitFloat>
void Walked(const Gen &g, Visit visit, VisitFloat visitFloat) {
  visit(offsetof(FrSpan, pixel));
  if (g.doubleStore) visit(offsetof(FrSpan, pixel2));
  if (g.stencil) visit(offsetof(FrSpan, sbuf));
  if (g.depth) {
    visit(offsetof(FrSpan, zbuf));
    visit(offsetof(FrSpan, z));
  }
  if (g.walkColor) {
    visit(offsetof(FrSpan, r));
    if (g.rgba) {
      visit(offsetof(FrSpan, g));
      visit(offsetof(FrSpan, b));
    }
    if (g.walkAlpha) visit(offsetof(FrSpan, a));
  }
  if (g.perspective) {
    for (size_t b : {offsetof(FrSpan, sf), offsetof(FrSpan, tf), offsetof(FrSpan, qf)})
      visitFloat(b);
    if (g.lod) visitFloat(offsetof(FrSpan, rho));
  } else if (g.texturing) {
    visit(offsetof(FrSpan, s));
    visit(offsetof(FrSpan, t));
  }
}

}  // namespace

// Entry: eax = xA, ebx = the span's pixels (positive).
void EmitChunks(Gen &g) {
  GlContext *gc = g.gc;
  g.E(mov(gc, g.F(offsetof(FrSpan, x)), eax));
  const auto start = [&](size_t b) { g.cb = memov(gc, g.cb, g.F(b), g.F(b + kEdge)); };
  Walked(g, start, start);

  OgCode *chunk = label(gc), *full = near_label(gc), *spanDone = label(gc);
  g.Mark(chunk);
  g.E(mov(gc, ecx, g.V(-1)));
  g.E(cmp(gc, ebx, g.V(32)));
  g.E(jge(gc, full));
  g.E(mov(gc, ecx, mem(gc, g.V(int32_t(uintptr_t(__glFRMaskTable.data()))), nullptr, ebx, 4)));
  g.Mark(full);
  // The spanlets may change every register: the count waits in a local.
  g.E(mov(gc, g.Local(g.pixelCount), ebx));
  g.E(lea(gc, edx, g.Local(g.bias)));
  g.E(call(gc, g.Abs(&gc->procs.fillTriangleSpan)));
  g.E(mov(gc, ebx, g.Local(g.pixelCount)));
  g.E(sub(gc, ebx, g.V(32)));
  g.E(jle(gc, spanDone));

  g.E(add(gc, g.F(offsetof(FrSpan, x)), g.V(32)));
  const auto step = [&](size_t b) { g.cb = ds(gc, g.cb, g.F(b), g.F(b + kDx32)); };
  const auto stepFloat = [&](size_t b) {
    g.E(fld(gc, g.F(b)));
    g.E(fadd(gc, g.F(b + kDx32)));
    g.E(fstp(gc, g.F(b)));
  };
  Walked(g, step, stepFloat);
  if (g.dither) set_dither(g, g.F(offsetof(FrSpan, x)));
  g.E(jmp(gc, chunk));
  g.Mark(spanDone);
}

}  // namespace og_raster
