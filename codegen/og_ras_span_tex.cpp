// The texture runs of the general span: at most 16 pixels each, the packed
// coordinate (t's 16-bit fraction of the height over s's of the width)
// stepped by one add per pixel. Affine runs add the packed fraction step at
// every run end; perspective runs divide once per run, one run ahead, and
// step linearly between the exact ends of each run.
#include "codegen/og_ras_span.h"

#include "fastraster/fr_setup.h"

namespace og_raster {

extern const std::array<float, 17> reciprocals = [] {
  std::array<float, 17> r{};
  for (int n = 1; n <= 16; n++) r[size_t(n)] = 1.0f / float(n);
  return r;
}();

OgCode *PackedCoord(Gen &g) { return g.F(offsetof(FrSpan, texels)); }
OgCode *PixelWord(Gen &g) { return g.F(offsetof(FrSpan, texels) + 4); }
OgCode *DitherWord(Gen &g) { return g.F(offsetof(FrSpan, texels) + 8); }

namespace {

// Data-area words by their offset.
enum { kS = 0, kT = 1, kEnd = 3, kStep = 4, kFracStep = 5, kSq = 6, kTq = 7,
       kSqBefore = 8, kTqBefore = 9 };

constexpr size_t kRunLength = 16;

// eax = min(eax, 16).
void AtMost16(Gen &g) {
  OgCode *ok = near_label(g.gc);
  g.E(cmp(g.gc, eax, g.V(int32_t(kRunLength))));
  g.E(jle(g.gc, ok));
  g.E(mov(g.gc, eax, g.V(int32_t(kRunLength))));
  g.Mark(ok);
}

// Data word 8 = min(pixels left - 16, 16), at least 0: the length of the
// run after the current one.
void FollowingRun(Gen &g) {
  GlContext *gc = g.gc;
  OgCode *some = near_label(gc);
  g.E(mov(gc, eax, g.Local(g.pixelsLeft)));
  g.E(sub(gc, eax, g.V(int32_t(kRunLength))));
  g.E(jg(gc, some));
  g.E(xor_(gc, eax, eax));
  g.Mark(some);
  AtMost16(g);
  g.E(mov(gc, g.scratch[kT], eax));
}

// eax = the low words of the fixed-point doubles at 0 (s) and 8 (t) packed.
void PackEnds(Gen &g) {
  GlContext *gc = g.gc;
  g.E(mov(gc, eax, g.scratch[kT]));
  g.E(shl(gc, eax, g.V(16)));
  g.E(mov(gc, ecx, g.scratch[kS]));
  g.E(and_(gc, ecx, g.V(0xFFFF)));
  g.E(or_(gc, eax, ecx));
}

void KeepBefore(Gen &g) {
  g.cb = memov(g.gc, g.cb, g.scratch[kSqBefore], g.scratch[kSq]);
  g.cb = memov(g.gc, g.cb, g.scratch[kTqBefore], g.scratch[kTq]);
}

// A perspective run begins: the divide issued for the run after it is
// used, the run starts exactly where the run before it was computed to
// end, and its steps come from its two exact ends.
void NextRun(Gen &g) {
  KeepBefore(g);
  FollowingRun(g);
  pcstep(g, g.scratch[kT]);
  g.cb = memov(g.gc, g.cb, PackedCoord(g), g.scratch[kEnd]);
  PackEnds(g);
  g.E(mov(g.gc, g.scratch[kEnd], eax));
  pcstepnext(g);
}

// The perspective start: [1/q, q, s, t] at edge A, the first run's ends and
// steps, and the divide for the end of the second run.
void PerspectiveStart(Gen &g) {
  GlContext *gc = g.gc;
  g.E(fld(gc, g.F(offsetof(FrSpan, tfEdge))));
  g.E(fld(gc, g.F(offsetof(FrSpan, sfEdge))));
  g.E(fld(gc, g.F(offsetof(FrSpan, qfEdge))));
  g.E(fld(gc, fpk(gc, 1.0)));
  g.E(fdiv(gc, st1));
  pcstep(g, g.Local(g.pixelCount));
  PackEnds(g);
  g.E(mov(gc, g.scratch[kEnd], eax));
  NextRun(g);
}

// The affine start: t << (16 - heightLog2) over the low half of
// s >> widthLog2.
void AffineStart(Gen &g) {
  GlContext *gc = g.gc;
  g.E(mov(gc, eax, g.F(offsetof(FrSpan, tEdge))));
  if (g.heightLog2 < 16) g.E(shl(gc, eax, g.V(16 - g.heightLog2)));
  g.E(and_(gc, eax, g.V(int32_t(0xFFFF0000u))));
  g.E(mov(gc, ecx, g.F(offsetof(FrSpan, sEdge))));
  if (g.widthLog2) g.E(sar(gc, ecx, g.V(g.widthLog2)));
  g.E(and_(gc, ecx, g.V(0xFFFF)));
  g.E(or_(gc, eax, ecx));
  g.E(mov(gc, PackedCoord(g), eax));
}

}  // namespace

void pcstep(Gen &g, OgCode *length) {
  GlContext *gc = g.gc;
  // [n, 1/q, q, s, t]: the length first, its word is overwritten below.
  g.E(fild(gc, length));
  const struct {
    OgCode *from, *quotient, *fixed, *k;
  } coords[2] = {{st3, g.scratch[kSq], g.scratch[kS], g.rounding[g.widthLog2 & 15]},
                 {st4, g.scratch[kTq], g.scratch[kT], g.rounding[g.heightLog2 & 15]}};
  for (const auto &c : coords) {
    g.E(fld(gc, c.from));
    g.E(fmul(gc, st2));
    g.E(fst(gc, c.quotient));
    g.E(fadd(gc, c.k));
    g.E(fstpq(gc, c.fixed));
  }
  g.E(fxch(gc, st1));
  g.E(fstp(gc, st0));
  // [n, q, s, t] -> [q + n dq, s + n ds, t + n dt]
  g.E(fld(gc, g.F(offsetof(FrSpan, dsfdx))));
  g.E(fmul(gc, st1));
  g.E(faddp(gc, st3, st0));
  g.E(fld(gc, g.F(offsetof(FrSpan, dtfdx))));
  g.E(fmul(gc, st1));
  g.E(faddp(gc, st4, st0));
  g.E(fmul(gc, g.F(offsetof(FrSpan, dqfdx))));
  g.E(faddp(gc, st1, st0));
  // The next divide, overlapping the run's pixels.
  g.E(fld(gc, fpk(gc, 1.0)));
  g.E(fdiv(gc, st1));
}

void pcstepnext(Gen &g) {
  GlContext *gc = g.gc;
  g.E(mov(gc, eax, g.Local(g.pixelCount)));
  OgCode *recip = mem(gc, g.V(int32_t(uintptr_t(reciprocals.data()))), nullptr, eax, 4);
  const struct {
    OgCode *now, *before, *fixed, *k;
  } coords[2] = {{g.scratch[kSq], g.scratch[kSqBefore], g.scratch[kS], g.rounding[g.widthLog2 & 15]},
                 {g.scratch[kTq], g.scratch[kTqBefore], g.scratch[kT], g.rounding[g.heightLog2 & 15]}};
  for (const auto &c : coords) {
    g.E(fld(gc, c.now));
    g.E(fsub(gc, c.before));
    g.E(fmul(gc, recip));
    g.E(fadd(gc, c.k));
    g.E(fstpq(gc, c.fixed));
  }
  KeepBefore(g);
  // A negative s step borrows from t, so that the packed add walks both.
  g.E(mov(gc, eax, g.scratch[kT]));
  g.E(shl(gc, eax, g.V(16)));
  g.E(movsxw(gc, ecx, g.scratch[kS]));
  g.E(add(gc, eax, ecx));
  g.E(mov(gc, g.scratch[kStep], eax));
}

void TextureSpanStart(Gen &g) {
  GlContext *gc = g.gc;
  g.E(mov(gc, g.Local(g.pixelsLeft), ebx));
  g.E(mov(gc, eax, ebx));
  AtMost16(g);
  g.E(mov(gc, g.Local(g.pixelCount), eax));
  if (g.perspective)
    PerspectiveStart(g);
  else
    AffineStart(g);
}

void TextureStep(Gen &g) {
  g.E(mov(g.gc, eax, g.scratch[kStep]));
  g.E(add(g.gc, PackedCoord(g), eax));
}

void TextureRunEnd(Gen &g, OgCode *pixel) {
  GlContext *gc = g.gc;
  OgCode *spanDone = label(gc);
  g.E(sub(gc, g.Local(g.pixelCount), g.V(1)));
  g.E(jne(gc, pixel));
  g.E(mov(gc, eax, g.Local(g.pixelsLeft)));
  g.E(sub(gc, eax, g.V(int32_t(kRunLength))));
  g.E(jle(gc, spanDone));
  g.E(mov(gc, g.Local(g.pixelsLeft), eax));
  AtMost16(g);
  g.E(mov(gc, g.Local(g.pixelCount), eax));
  if (g.perspective) {
    NextRun(g);
  } else {
    g.E(mov(gc, eax, g.scratch[kFracStep]));
    g.E(add(gc, PackedCoord(g), eax));
  }
  g.E(jmp(gc, pixel));
  g.Mark(spanDone);
}

void TextureSpanEnd(Gen &g) {
  if (!g.perspective) return;
  for (int i = 0; i < 4; i++) g.E(fstp(g.gc, st0));
}

}  // namespace og_raster
