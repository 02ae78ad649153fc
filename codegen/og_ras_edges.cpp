// The setup's geometry: edge deltas and area, the rows, and the three edges
// as integer walkers whose fractions come from float bits. Divisions and
// conversions run at 24-bit precision with truncation.
#include "codegen/og_ras_setup.h"

#include <initializer_list>

#include "fastraster/fr_setup.h"

namespace og_setup {
namespace {

constexpr size_t kX = offsetof(GlVertex, window);
constexpr size_t kY = offsetof(GlVertex, window) + 4;

// dst = to - from, for a vertex word.
void Delta(Gen &g, OgCode *to, OgCode *from, size_t field, uint32_t dst) {
  g.E(fld(g.gc, g.Vtx(to, field)));
  g.E(fsub(g.gc, g.Vtx(from, field)));
  g.E(fstp(g.gc, g.D(dst)));
}

// dx / dy, or 0 for a horizontal edge.
void Slope(Gen &g, uint32_t dx, uint32_t dy, uint32_t slope) {
  OgCode *flat = near_label(g.gc);
  OgCode *done = near_label(g.gc);
  g.E(mov(g.gc, edx, g.D(dy)));
  g.E(test(g.gc, edx, edx));
  g.E(je(g.gc, flat));
  g.E(fld(g.gc, g.D(dx)));
  g.E(fdiv(g.gc, g.D(dy)));
  g.E(fstp(g.gc, g.D(slope)));
  g.E(jmp(g.gc, done));
  g.Place(flat);
  g.E(mov(g.gc, g.D(slope), g.V(0)));
  g.Place(done);
}

// floor(y + 0.5) from the adjusted y's mantissa.
void Row(Gen &g, OgCode *v, size_t field) {
  g.E(mov(g.gc, edx, g.Vtx(v, kY)));
  g.E(and_(g.gc, edx, g.V(0x7FFFFF)));
  g.E(sub(g.gc, edx, g.V(0x400000)));
  g.E(sar(g.gc, edx, g.V(11)));
  g.E(mov(g.gc, g.Span(field), edx));
}

// dst = (integer word `from`, as the adjusted float of its pixel centre)
// minus the float `coordinate`.
void Prestep(Gen &g, OgCode *fromWord, OgCode *coordinate, uint32_t dst) {
  g.E(mov(g.gc, edx, fromWord));
  g.E(shl(g.gc, edx, g.V(11)));
  g.E(add(g.gc, edx, g.V(kBits6145)));
  g.E(mov(g.gc, g.D(kScratchC), edx));
  g.E(fld(g.gc, g.D(kScratchC)));
  g.E(fsub(g.gc, coordinate));
  g.E(fstp(g.gc, g.D(dst)));
}

// The float on the x87 stack (in (-1, 1)) as a signed 0.31 number in edx;
// pops it.
void Fraction31(Gen &g) {
  g.E(fadd(g.gc, fpk(g.gc, 3.0)));
  g.E(fstp(g.gc, g.D(kScratchC)));
  g.E(mov(g.gc, edx, g.D(kScratchC)));
  g.E(shl(g.gc, edx, g.V(9)));
  g.E(xor_(g.gc, edx, g.V(int32_t(0x80000000u))));
}

struct EdgeWords {
  size_t x, step, stepCarry, err, errStep;
};

// The edge's x steps and the fraction of its slope.
void EdgeSteps(Gen &g, uint32_t slope, const EdgeWords &w) {
  GlContext *gc = g.gc;
  // Steps without and with the carry.
  g.E(fld(gc, g.D(slope)));
  g.E(fistp(gc, g.Span(w.step)));
  g.E(mov(gc, edx, g.D(slope)));
  g.E(sar(gc, edx, g.V(31)));
  g.E(or_(gc, edx, g.V(1)));
  g.E(add(gc, edx, g.Span(w.step)));
  g.E(mov(gc, g.Span(w.stepCarry), edx));
  // The fraction of the slope.
  g.E(fld(gc, g.D(slope)));
  g.E(fild(gc, g.Span(w.step)));
  g.E(fsubp(gc, st1, st0));
  Fraction31(g);
  g.E(mov(gc, g.Span(w.errStep), edx));
}

// The edge's x at the first row, its integer part and fraction.
void EdgeStart(Gen &g, OgCode *start, uint32_t prestep, uint32_t slope, const EdgeWords &w) {
  GlContext *gc = g.gc;
  g.E(fld(gc, g.D(slope)));
  g.E(fmul(gc, g.D(prestep)));
  g.E(fadd(gc, g.Vtx(start, kX)));
  g.E(fst(gc, g.D(kScratchB)));
  g.E(mov(gc, edx, g.D(kScratchB)));
  g.E(and_(gc, edx, g.V(0x7FFFFF)));
  g.E(sub(gc, edx, g.V(0x400000)));
  g.E(sar(gc, edx, g.V(11)));
  g.E(mov(gc, g.Span(w.x), edx));
  g.E(shl(gc, edx, g.V(11)));
  g.E(add(gc, edx, g.V(kBits6144)));
  g.E(mov(gc, g.D(kScratchB), edx));
  g.E(fsub(gc, g.D(kScratchB)));
  Fraction31(g);
  g.E(mov(gc, g.Span(w.err), edx));
}

const EdgeWords kLower = {offsetof(FrSpan, ixLower), offsetof(FrSpan, dxLower),
                          offsetof(FrSpan, dxLowerCarry), offsetof(FrSpan, fracLower),
                          offsetof(FrSpan, dfracLower)};
const EdgeWords kUpper = {offsetof(FrSpan, ixShort), offsetof(FrSpan, dxShort),
                          offsetof(FrSpan, dxShortCarry), offsetof(FrSpan, fracShort),
                          offsetof(FrSpan, dfracShort)};
const EdgeWords kLong = {offsetof(FrSpan, ixLong), offsetof(FrSpan, dxLong),
                         offsetof(FrSpan, dxLongCarry), offsetof(FrSpan, fracLong),
                         offsetof(FrSpan, dfracLong)};

}  // namespace

void EdgesAndRows(Gen &g) {
  GlContext *gc = g.gc;
  g.E(mov(gc, g.D(kTop), eax));
  g.E(mov(gc, g.D(kBottom), ebx));
  g.E(mov(gc, g.D(kMiddle), ecx));
  Delta(g, ebx, eax, kX, kDxLong);
  Delta(g, ebx, eax, kY, kDyLong);
  Delta(g, ecx, eax, kX, kDxUpper);
  Delta(g, ecx, eax, kY, kDyUpper);
  Delta(g, ebx, ecx, kX, kDxLower);
  Delta(g, ebx, ecx, kY, kDyLower);
  // Twice the signed area, exact in the caller's precision.
  g.E(fld(gc, g.D(kDxUpper)));
  g.E(fmul(gc, g.D(kDyLong)));
  g.E(fld(gc, g.D(kDxLong)));
  g.E(fmul(gc, g.D(kDyUpper)));
  g.E(fsubp(gc, st1, st0));
  g.E(fstp(gc, g.Span(offsetof(FrSpan, sizeMeasure))));
  g.E(mov(gc, edx, g.Span(offsetof(FrSpan, sizeMeasure))));
  g.E(test(gc, edx, g.V(0x7FFFFFFF)));
  g.E(je(gc, g.reject));
  g.E(sar(gc, edx, g.V(31)));
  g.E(mov(gc, g.D(kDirectionMask), edx));
  g.E(or_(gc, edx, g.V(1)));
  g.E(mov(gc, g.Span(offsetof(FrSpan, direction)), edx));
  // The area of the corners before the snap, which the planes divide by:
  // none means they lie on a line, and the generic fill draws nothing.
  g.E(fld(gc, g.D(kPlaneCorners + 16)));
  g.E(fsub(gc, g.D(kPlaneCorners)));
  g.E(fld(gc, g.D(kPlaneCorners + 12)));
  g.E(fsub(gc, g.D(kPlaneCorners + 4)));
  g.E(fmulp(gc, st1, st0));  // dxAC * dyAB
  g.E(fld(gc, g.D(kPlaneCorners + 8)));
  g.E(fsub(gc, g.D(kPlaneCorners)));
  g.E(fld(gc, g.D(kPlaneCorners + 20)));
  g.E(fsub(gc, g.D(kPlaneCorners + 4)));
  g.E(fmulp(gc, st1, st0));  // dxAB * dyAC
  g.E(fsubp(gc, st1, st0));
  g.E(fstp(gc, g.D(kPlaneArea)));
  g.E(mov(gc, edx, g.D(kPlaneArea)));
  g.E(test(gc, edx, g.V(0x7FFFFFFF)));
  g.E(je(gc, g.reject));

  // Truncation and 24-bit precision from here to the buffer addresses.
  g.E(fstcw(gc, g.D(kCallerCw)));
  g.E(movzxw(gc, edx, g.D(kCallerCw)));
  g.E(or_(gc, edx, g.V(0xC00)));
  g.E(and_(gc, edx, g.V(~0x300)));
  g.E(mov(gc, g.D(kTruncCw), edx));
  g.E(fldcw(gc, g.D(kTruncCw)));
  // The edges' first-row x rounds to nearest on a top-down drawable: there y
  // sits a float step off the grid, x at the first row is not exact, and
  // the generic fill rounds it to nearest; truncation would move edges that
  // pass through pixel centres. Bottom-up keeps truncation.
  g.E(movzx(gc, esi, g.Abs(&gc->constants.yInverted)));
  g.E(xor_(gc, edi, edi));
  g.E(sub(gc, edi, esi));
  g.E(and_(gc, edi, g.V(0xC00)));
  g.E(xor_(gc, edi, edx));
  g.E(mov(gc, g.D(kStartCw), edi));

  Slope(g, kDxLong, kDyLong, kSlopeLong);
  Slope(g, kDxUpper, kDyUpper, kSlopeUpper);
  Slope(g, kDxLower, kDyLower, kSlopeLower);
  Row(g, eax, offsetof(FrSpan, iyTop));
  Row(g, ebx, offsetof(FrSpan, iyBottom));
  Row(g, ecx, offsetof(FrSpan, iyMiddle));
  Prestep(g, g.Span(offsetof(FrSpan, iyTop)), g.Vtx(eax, kY), kYPrestepTop);
  Prestep(g, g.Span(offsetof(FrSpan, iyMiddle)), g.Vtx(ecx, kY), kYPrestepMiddle);

  EdgeSteps(g, kSlopeLower, kLower);
  EdgeSteps(g, kSlopeUpper, kUpper);
  EdgeSteps(g, kSlopeLong, kLong);
  g.E(fldcw(gc, g.D(kStartCw)));
  EdgeStart(g, ecx, kYPrestepMiddle, kSlopeLower, kLower);
  EdgeStart(g, eax, kYPrestepTop, kSlopeUpper, kUpper);
  EdgeStart(g, eax, kYPrestepTop, kSlopeLong, kLong);
  g.E(fldcw(gc, g.D(kTruncCw)));

  g.E(fld(gc, fpk(gc, 1.0)));
  g.E(fdiv(gc, g.D(kPlaneArea)));
  g.E(fstp(gc, g.D(kRecipArea)));
  g.E(mov(gc, edx, g.D(kSlopeLong)));
  g.E(sar(gc, edx, g.V(31)));
  g.E(xor_(gc, edx, g.D(kDirectionMask)));
  g.E(mov(gc, g.D(kSlopeSignMask), edx));
  // Right to left: from the last pixel inside the right edge.
  g.E(mov(gc, edx, g.D(kDirectionMask)));
  for (size_t x : {offsetof(FrSpan, ixLong), offsetof(FrSpan, ixShort), offsetof(FrSpan, ixLower)})
    g.E(add(gc, g.Span(x), edx));
}

void FinishEdges(Gen &g) {
  GlContext *gc = g.gc;
  g.E(fldcw(gc, g.D(kCallerCw)));
  g.E(fild(gc, g.Span(offsetof(FrSpan, dxLong))));
  g.E(fstp(gc, g.D(kXStepLongFloat)));
  // From the top corner before the snap to the first pixel's centre; the
  // edges are done with the snapped row prestep.
  Prestep(g, g.Span(offsetof(FrSpan, ixLong)), g.D(kPlaneCorners), kXPrestep);
  Prestep(g, g.Span(offsetof(FrSpan, iyTop)), g.D(kPlaneCorners + 4), kYPrestepTop);
  // Right to left walks mirrored x: the walker's nine x words negated.
  g.E(mov(gc, edx, g.D(kDirectionMask)));
  for (size_t w = offsetof(FrSpan, ixLong); w <= offsetof(FrSpan, dxLowerCarry); w += 4) {
    g.E(xor_(gc, g.Span(w), edx));
    g.E(sub(gc, g.Span(w), edx));
  }
  // The deltas of the corners before the snap over their area, for the
  // planes: bottom and middle from top.
  g.E(fld(gc, g.D(kRecipArea)));
  const uint32_t deltas[4][2] = {{kDxLong, 8}, {kDyLong, 12}, {kDxUpper, 16}, {kDyUpper, 20}};
  for (const auto &d : deltas) {
    g.E(fld(gc, g.D(kPlaneCorners + d[1])));
    g.E(fsub(gc, g.D(kPlaneCorners + d[1] % 8)));
    g.E(fmul(gc, st1));
    g.E(fstp(gc, g.D(d[0])));
  }
  g.E(fstp(gc, st0));
}

}  // namespace og_setup
