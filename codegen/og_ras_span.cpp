// The general span outside spanlet mode: the depth test in the eight
// functions, colour iteration or the texture's runs and texels, dither,
// packing and the store, or the depth pass alone when colour writes are
// masked. The destination stays in edi, depth and its pointer in ebp and
// esi, the count in ebx (in the run counter when texturing); the colour
// channels and the dither column live in the record and the locals.
#include "codegen/og_ras_span.h"

#include "fastraster/fr_setup.h"

namespace og_raster {
namespace {

// The failure jump of a depth function (unsigned compare of z with the
// stored value); null for GL_ALWAYS, which never fails.
OgCode *FailJump(GlContext *gc, GLenum func, OgCode *fail) {
  switch (func) {
    case GL_NEVER: return jmp(gc, fail);
    case GL_LESS: return jae(gc, fail);
    case GL_EQUAL: return jne(gc, fail);
    case GL_LEQUAL: return ja(gc, fail);
    case GL_GREATER: return jbe(gc, fail);
    case GL_NOTEQUAL: return je(gc, fail);
    case GL_GEQUAL: return jb(gc, fail);
    default: return nullptr;
  }
}

// The depth test of the pixel at esi with z in ebp. z went through the
// depth buffer's range rule first (a word above the scale is an underflow
// counted as 0 or a value past the far end counted as the scale), so a
// depth that rounding puts a little below 0 does not wrap and fail.
void DepthTest(Gen &g, OgCode *fail, OgCode *fixZ, OgCode *zInRange) {
  GlContext *gc = g.gc;
  const uint32_t scale = gc->depthBuffer.scale;
  const bool wide = (g.key2 & kKeyDeepDepth) != 0;
  g.E(mov(gc, eax, ebp));
  g.E(cmp(gc, eax, g.V(int32_t(scale))));
  g.E(ja(gc, fixZ));
  g.Mark(zInRange);
  if (!wide) g.E(shr(gc, eax, g.V(16)));
  OgCode *stored = mem2(gc, nullptr, esi);
  if (OgCode *jump = FailJump(gc, gc->state.depth.testFunc, fail)) {
    if (gc->state.depth.testFunc != GL_NEVER) {
      if (!wide) g.E(size16(gc));
      g.E(cmp(gc, eax, stored));
    }
    g.E(jump);
  }
  if (gc->state.depth.writeEnable) {
    if (!wide) g.E(size16(gc));
    g.E(mov(gc, stored, eax));
  }
}

void DepthFixup(Gen &g, OgCode *fixZ, OgCode *zInRange) {
  GlContext *gc = g.gc;
  const uint32_t scale = gc->depthBuffer.scale;
  g.Mark(fixZ);
  g.E(sub(gc, eax, g.V(int32_t(scale))));
  g.E(cmp(gc, eax, g.V(int32_t((0xFFFFFFFFu - scale) / 2))));
  g.E(mov(gc, eax, g.V(int32_t(scale))));
  g.E(jbe(gc, zInRange));
  g.E(xor_(gc, eax, eax));
  g.E(jmp(gc, zInRange));
}

bool WritesColor(const Gen &g) { return !(g.flags & __GL_SHADE_MASK); }

// The colour iterators this span walks.
template <typename Visit>
void IteratedChannels(const Gen &g, Visit visit) {
  if (!g.colorIterated || !WritesColor(g)) return;
  visit(offsetof(FrSpan, r));
  if (g.rgba) {
    visit(offsetof(FrSpan, g));
    visit(offsetof(FrSpan, b));
  }
}

}  // namespace

// Entry: ebx = the span's pixel count (positive).
void span(Gen &g) {
  GlContext *gc = g.gc;
  DeclareSetupWords(g);
  SpanLabels labels;
  OgCode *pixel = label(gc), *step = label(gc), *spanEnd = label(gc);
  OgCode *fixZ = label(gc), *zInRange = label(gc);

  g.E(mov(gc, edi, g.F(offsetof(FrSpan, pixelEdge))));
  if (g.depth) {
    g.E(mov(gc, ebp, g.F(offsetof(FrSpan, zEdge))));
    g.E(mov(gc, esi, g.F(offsetof(FrSpan, zbufEdge))));
  }
  IteratedChannels(g, [&](size_t b) { g.cb = memov(gc, g.cb, g.F(b), g.F(b + kEdge)); });
  if (g.dither && WritesColor(g)) g.E(mov(gc, g.Local(g.ditherColumn), g.V(0)));
  if (g.texturing) TextureSpanStart(g);

  g.Mark(pixel);
  if (g.depth) DepthTest(g, step, fixZ, zInRange);
  if (WritesColor(g)) g.texturing ? TexturePixel(g, labels) : SpanPixel(g, labels);

  g.Mark(step);
  IteratedChannels(g, [&](size_t b) {
    g.E(mov(gc, eax, g.F(b + kDx)));
    g.E(add(gc, g.F(b), eax));
  });
  g.E(add(gc, edi, g.F(offsetof(FrSpan, dpixeldx))));
  if (g.depth) {
    g.E(add(gc, ebp, g.F(offsetof(FrSpan, dzdx))));
    g.E(add(gc, esi, g.F(offsetof(FrSpan, dzbufdx))));
  }
  if (g.dither && WritesColor(g)) {
    g.E(mov(gc, eax, g.Local(g.ditherColumn)));
    g.E(inc(gc, eax));
    g.E(and_(gc, eax, g.V(3)));
    g.E(mov(gc, g.Local(g.ditherColumn), eax));
  }
  if (g.texturing) {
    TextureStep(g);
    TextureRunEnd(g, pixel);
    TextureSpanEnd(g);
  } else {
    g.E(dec(gc, ebx));
    g.E(jne(gc, pixel));
  }
  g.E(jmp(gc, spanEnd));

  if (g.depth) DepthFixup(g, fixZ, zInRange);
  EmitFixups(g, labels);
  g.Mark(spanEnd);
}

}  // namespace og_raster
