// Perspective texturing in the MMX body: s/w and t/w are divided by q at
// the ends of sub-spans of 16 pixels and interpolated linearly in between.
// The division is a table reciprocal: q is normalised by a branch tree, the
// top bits of its fraction index `recips` and the next 15 interpolate it.
#include "codegen/og_ras_mmx.h"
#include "fastraster/fr_setup.h"

namespace og_raster {
namespace {

constexpr std::array<uint32_t, 256> MakeRecips() {
  std::array<uint32_t, 256> t{};
  for (uint32_t i = 0; i < 256; i++) {
    const int32_t here = int32_t((1u << 23) / (256 + i));
    const int32_t next = int32_t((1u << 23) / (257 + i));
    // The words feed signed multiplies: 32768 would read as -32768.
    // The step runs from the low half as stored to the next entry.
    const int32_t low = here > 0x7FFF ? 0x7FFF : here;
    t[i] = (uint32_t(next - low) << 17) | uint32_t(low);
  }
  return t;
}

constexpr std::array<uint32_t, 20> MakeFracs() {
  std::array<uint32_t, 20> t{};
  t[1] = 0x7FFF;
  for (uint32_t n = 2; n < 20; n++) t[n] = 32768 / n;
  return t;
}

// Lane words of a sub-span's first group: the pixel of each lane (memory
// order) counted from the sub-span's first pixel, by direction and lane a.
constexpr uint16_t kLaneOffsets[2][4][4] = {
    {{0, 0xFFFF, 0xFFFE, 0xFFFD}, {1, 0, 0xFFFF, 0xFFFE}, {2, 1, 0, 0xFFFF}, {3, 2, 1, 0}},
    {{0, 1, 2, 3}, {0xFFFF, 0, 1, 2}, {0xFFFE, 0xFFFF, 0, 1}, {0xFFFD, 0xFFFE, 0xFFFF, 0}},
};

OgCode *Dwords(GlContext *gc, uint32_t v) { return mxk4(gc, v & 0xFFFF, v >> 16, v & 0xFFFF, v >> 16); }

void Spread(Gen &g, OgCode *reg) {
  g.E(punpcklwd(g.gc, reg, reg));
  g.E(punpckldq(g.gc, reg, reg));
}

// Slots and span words as a subroutine sees them: one return address lower.
struct Inside {
  Gen &g;
  OgCode *Slot(int32_t i, int32_t at = 0) const { return mem2(g.gc, g.V(8 * i + at + 4), esp); }
  OgCode *F(size_t id) const { return mem2(g.gc, g.V(g.bias + int32_t(g.Place(id)) + 4), esp); }
};

// mknorm: ecx = x; leaves the fraction (leading one dropped) in ecx and
// the shift count in edx, then goes to `found`.
void Tree(Gen &g, int32_t lo, int32_t hi, OgCode *found) {
  GlContext *gc = g.gc;
  if (lo == hi) {
    if (lo == 0 || lo == 24) {
      // Out of range: the table's far end, as for x just below a power of two.
      g.E(mov(gc, ecx, g.V(-1)));
      g.E(mov(gc, edx, g.V(1)));
    } else {
      g.E(shl(gc, ecx, g.V(8 + lo)));
      g.E(mov(gc, edx, g.V(lo)));
    }
    g.E(jmp(gc, found));
    return;
  }
  const int32_t mid = (lo + hi) / 2;
  OgCode *below = label(gc);
  g.E(cmp(gc, ecx, g.V(int32_t(1u << (24 - mid)))));
  g.E(jb(gc, below));
  Tree(g, lo, mid, found);
  g.Mark(below);
  Tree(g, mid + 1, hi, found);
}

// The start and step pair of a sub-span's two lanes as lane words: s by
// slot 83's count, t by slot 84's, rounded to the high word. mm6 scratch.
void ToWords(const Inside &in, OgCode *reg) {
  Gen &g = in.g;
  GlContext *gc = g.gc;
  g.E(movq(gc, mm6, reg));
  g.E(pslld(gc, mm6, in.Slot(kSlotTexShift)));
  g.E(pslld(gc, reg, in.Slot(kSlotTexShift + 1)));
  g.E(psrlq(gc, reg, g.V(32)));
  g.E(punpckldq(gc, mm6, reg));
  g.E(paddd(gc, mm6, Dwords(gc, 0x8000)));
  g.E(psrld(gc, mm6, g.V(16)));
  g.E(movq(gc, reg, mm6));
}

// Four copies of the s word (the low word) into `s`, of the t word (word
// 2 of `pair`) into `t`.
void SplitWords(Gen &g, OgCode *pair, OgCode *s, OgCode *t) {
  GlContext *gc = g.gc;
  g.E(movq(gc, s, pair));
  Spread(g, s);
  g.E(movq(gc, t, pair));
  g.E(punpckhwd(gc, t, t));
  g.E(punpckldq(gc, t, t));
}

}  // namespace

constexpr std::array<uint32_t, 256> recips = MakeRecips();
constexpr std::array<uint32_t, 20> fracs = MakeFracs();
constexpr uint32_t spanlen[2][4] = {{17, 18, 19, 16}, {16, 19, 18, 17}};
constexpr int32_t initials[2][4] = {{-3, -2, -1, 0}, {0, -1, -2, -3}};

void mul32x16(Gen &g, OgCode *a, OgCode *r, OgCode *scratch) {
  GlContext *gc = g.gc;
  g.E(movq(gc, scratch, a));
  g.E(pand(gc, scratch, Dwords(gc, 0xFFFF0000u)));
  g.E(pmaddwd(gc, scratch, r));
  g.E(pslld(gc, scratch, g.V(1)));
  g.E(psrld(gc, a, g.V(1)));
  g.E(pand(gc, a, Dwords(gc, 0x7FFF)));
  g.E(pmaddwd(gc, a, r));
  g.E(psrld(gc, a, g.V(14)));
  g.E(paddd(gc, a, scratch));
}

void mul32x16i(Gen &g, OgCode *a, OgCode *n, OgCode *scratch, OgCode *odd) {
  GlContext *gc = g.gc;
  g.E(movq(gc, scratch, a));
  g.E(pand(gc, scratch, Dwords(gc, 0xFFFF0000u)));
  g.E(pmaddwd(gc, scratch, n));
  g.E(pslld(gc, scratch, g.V(16)));
  // The low word's last bit, which the halving drops.
  g.E(movq(gc, odd, a));
  g.E(pand(gc, odd, Dwords(gc, 1)));
  g.E(pmaddwd(gc, odd, n));
  g.E(psrld(gc, a, g.V(1)));
  g.E(pand(gc, a, Dwords(gc, 0x7FFF)));
  g.E(pmaddwd(gc, a, n));
  g.E(pslld(gc, a, g.V(1)));
  g.E(paddd(gc, a, scratch));
  g.E(paddd(gc, a, odd));
}

void perspective(Gen &g, OgCode *a, OgCode *scratch) {
  mul32x16(g, a, mm0, scratch);
  g.E(pslld(g.gc, a, mm2));
}

void reciprocal(Gen &g) {
  GlContext *gc = g.gc;
  OgCode *found = label(gc);
  Tree(g, 0, 24, found);
  g.Mark(found);
  g.E(movd(gc, mm2, edx));
  g.E(mov(gc, edx, ecx));
  g.E(shr(gc, edx, g.V(24)));
  g.E(shr(gc, ecx, g.V(9)));
  g.E(and_(gc, ecx, g.V(0x7FFF)));
  g.E(mov(gc, edx, mem(gc, g.V(int32_t(uintptr_t(recips.data()))), nullptr, edx, 4)));
  g.E(mov(gc, eax, edx));
  g.E(sar(gc, eax, g.V(16)));
  g.E(imul(gc, eax, ecx));
  // Rounded: a truncated step would add a second unit of error below.
  g.E(add(gc, eax, g.V(0x8000)));
  g.E(sar(gc, eax, g.V(16)));
  g.E(and_(gc, edx, g.V(0xFFFF)));
  g.E(add(gc, eax, edx));
  g.E(movd(gc, mm0, eax));
  Spread(g, mm0);
  g.E(ret(gc));
}

void PerspectiveSubSpan(Gen &g, int32_t dir, OgCode *start, OgCode *next, OgCode *recip) {
  GlContext *gc = g.gc;
  const Inside in{g};
  const size_t s = offsetof(FrSpan, s), q = offsetof(FrSpan, q);
  const uint16_t(*rows)[4] = kLaneOffsets[dir > 0];
  OgCode *laneRows = mxk4_run(gc, rows, 4);
  if (!laneRows) return;

  // The span's start: its s/w, t/w and q, and s and t there.
  g.Mark(start);
  g.E(mov(gc, in.Slot(kSlotSubCount), eax));
  g.E(mov(gc, in.Slot(kSlotSubCount, 4), ecx));
  g.E(mov(gc, in.Slot(kSlotSubBoundary), edx));
  g.E(movq(gc, mm1, in.F(s + kEdge)));
  g.E(movq(gc, in.F(s), mm1));
  g.E(mov(gc, ecx, in.F(q + kEdge)));
  g.E(mov(gc, in.F(q), ecx));
  g.E(call(gc, recip));
  g.E(movq(gc, mm1, in.F(s + kEdge)));
  perspective(g, mm1, mm3);
  g.E(movq(gc, in.Slot(kSlotSubStart), mm1));
  g.E(mov(gc, eax, in.Slot(kSlotSubCount)));
  g.E(mov(gc, ecx, in.Slot(kSlotSubCount, 4)));
  g.E(mov(gc, edx, in.Slot(kSlotSubBoundary)));

  // eax = pixels from the sub-span's start to the span's end, edx = the
  // sub-span's length, ecx = the first group's lane row. The last
  // sub-span ends exactly at the span's last pixel.
  g.Mark(next);
  g.E(mov(gc, in.Slot(kSlotSubCount, 4), ecx));
  OgCode *tail = near_label(gc), *have = near_label(gc);
  g.E(lea(gc, ecx, mem2(gc, g.V(-1), eax)));
  g.E(cmp(gc, edx, ecx));
  g.E(jg(gc, tail));
  g.E(sub(gc, eax, edx));
  g.E(mov(gc, in.Slot(kSlotSubBoundary), eax));
  g.E(mov(gc, ecx, edx));
  g.E(jmp(gc, have));
  g.Mark(tail);
  g.E(mov(gc, in.Slot(kSlotSubBoundary), g.V(-1)));
  g.Mark(have);
  g.E(mov(gc, in.Slot(kSlotSubCount), ecx));
  // q, s/w and t/w at the end, kept for the next sub-span.
  g.E(mov(gc, eax, in.F(q + kDx)));
  g.E(imul(gc, eax, ecx));
  g.E(add(gc, eax, in.F(q)));
  g.E(mov(gc, in.F(q), eax));
  g.E(movd(gc, mm3, ecx));
  Spread(g, mm3);
  g.E(movq(gc, mm1, in.F(s + kDx)));
  mul32x16i(g, mm1, mm3, mm6, mm7);
  g.E(paddd(gc, mm1, in.F(s)));
  g.E(movq(gc, in.F(s), mm1));
  g.E(mov(gc, ecx, eax));
  g.E(call(gc, recip));
  perspective(g, mm1, mm3);
  // Per-pixel steps: (end - start) / n.
  g.E(movq(gc, mm3, in.Slot(kSlotSubStart)));
  g.E(movq(gc, in.Slot(kSlotSubStart), mm1));
  g.E(psubd(gc, mm1, mm3));
  g.E(mov(gc, ecx, in.Slot(kSlotSubCount)));
  g.E(movd(gc, mm0, mem(gc, g.V(int32_t(uintptr_t(fracs.data()))), nullptr, ecx, 4)));
  Spread(g, mm0);
  mul32x16(g, mm1, mm0, mm6);
  ToWords(in, mm3);
  ToWords(in, mm1);
  SplitWords(g, mm3, mm6, mm7);
  SplitWords(g, mm1, mm0, mm1);
  g.E(movq(gc, mm2, mm0));
  g.E(psllw(gc, mm2, g.V(2)));
  g.E(movq(gc, in.Slot(kSlotTexStep), mm2));
  g.E(movq(gc, mm2, mm1));
  g.E(psllw(gc, mm2, g.V(2)));
  g.E(movq(gc, in.Slot(kSlotTexStep + 1), mm2));
  g.E(mov(gc, ecx, in.Slot(kSlotSubCount, 4)));
  OgCode *row = mem(gc, g.V(laneRows->data.mem.disp->data.value), nullptr, ecx, 8);
  g.E(pmullw(gc, mm0, row));
  g.E(pmullw(gc, mm1, row));
  g.E(paddw(gc, mm6, mm0));
  g.E(paddw(gc, mm7, mm1));
  g.E(ret(gc));
}

void PerspectiveSpanStart(Gen &g, int32_t dir, OgCode *start) {
  GlContext *gc = g.gc;
  g.E(mov(gc, eax, ebx));
  g.E(mov(gc, edx, mem(gc, g.V(int32_t(uintptr_t(spanlen[dir > 0]))), nullptr, ecx, 4)));
  g.E(call(gc, start));
  g.E(mov(gc, ecx, mem2(gc, g.V(8 * kSlotSubCount + 4), esp)));
}

void PerspectiveBoundary(Gen &g, int32_t dir, OgCode *next) {
  GlContext *gc = g.gc;
  OgCode *on = near_label(gc);
  g.E(cmp(gc, ebx, mem2(gc, g.V(8 * kSlotSubBoundary), esp)));
  g.E(jne(gc, on));
  g.E(mov(gc, eax, ebx));
  g.E(mov(gc, edx, g.V(16)));
  g.E(mov(gc, ecx, g.V(dir > 0 ? 0 : 3)));
  g.E(call(gc, next));
  g.Mark(on);
}

}  // namespace og_raster
