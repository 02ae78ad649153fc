// The plane subroutines the setup's sections call: a quantity's gradient
// over the triangle, its value at the first pixel and its steps, as fixed
// point through a bias triple or as floats.
#include "codegen/og_ras_planes.h"
#include "core/gl_assert.h"

namespace og_setup {

// 1.5 x 2^36 leaves 16.16 in the low word, 1.5 x 2^52 an integer, 1.5 x 2^28
// 8.24; colour edges are rounded to the nearest integer colour, or offset
// for the dither.
constexpr double k16 = 103079215104.0, kInt = 6755399441055744.0, k24 = 402653184.0;
const OgBiasTriple alpha_bias = {k16, k16, k16};
const OgBiasTriple color_no_dither_bias = {k16 + 0.5, k16, k16};
const OgBiasTriple color_dither_bias = {k16 + 1.0 / 32.0, k16, k16};
const OgBiasTriple z_bias = {kInt, kInt, kInt};
const OgBiasTriple affine_texture_bias = {k16, k16, k16};
const OgBiasTriple mmx_q_bias = {k24, k24, k24};
// The float nearest 256/255.
const float alpha_correction_factor = 256.0f / 255.0f;

namespace {

// On entry eax, ebx, ecx address the quantity at top, bottom, middle.
// Leaves dA/dy in st(0) and dA/dx in st(1), then edge and row values.
void Gradient(Gen &g) {
  GlContext *gc = g.gc;
  g.E(fld(gc, g.At(ebx, 0)));
  g.E(fsub(gc, g.At(eax, 0)));  // d1
  g.E(fld(gc, g.At(ecx, 0)));
  g.E(fsub(gc, g.At(eax, 0)));  // d2 d1
  g.E(fld(gc, st0));
  g.E(fmul(gc, g.D(kDyLong)));  // d2*dyL d2 d1
  g.E(fld(gc, st2));
  g.E(fmul(gc, g.D(kDyUpper)));
  g.E(fsubp(gc, st1, st0));  // dAdx d2 d1
  g.E(fxch(gc, st2));
  g.E(fmul(gc, g.D(kDxUpper)));  // d1*dxU d2 dAdx
  g.E(fxch(gc, st1));
  g.E(fmul(gc, g.D(kDxLong)));
  g.E(fsubp(gc, st1, st0));  // dAdy dAdx
}

// Pushes the value at the first pixel, then the row step without carry
// (the stack then holds row, dAdy, dAdx; the caller stores and pops).
void Edge(Gen &g) {
  GlContext *gc = g.gc;
  g.E(fld(gc, st1));
  g.E(fmul(gc, g.D(kXPrestep)));
  g.E(fld(gc, st1));
  g.E(fmul(gc, g.D(kYPrestepTop)));
  g.E(faddp(gc, st1, st0));
  g.E(fadd(gc, g.At(eax, 0)));  // edge dAdy dAdx
}

// The edge value is stored by then: the stack holds dAdy dAdx.
void RowStep(Gen &g) {
  g.E(fld(g.gc, st1));
  g.E(fmul(g.gc, g.D(kXStepLongFloat)));
  g.E(faddp(g.gc, st1, st0));
}

void FixedPlane(Gen &g) {
  GlContext *gc = g.gc;
  Gradient(g);
  Edge(g);
  g.E(faddq(gc, g.At(esi, 0)));
  g.E(fstpq(gc, g.D(kScratchA)));
  g.E(mov(gc, edx, g.D(kScratchA)));
  g.E(mov(gc, g.At(edi, 0), edx));
  RowStep(g);  // row dAdx (dAdy replaced)
  g.E(faddq(gc, g.At(esi, 16)));
  g.E(fstpq(gc, g.D(kScratchA)));
  g.E(mov(gc, edx, g.D(kScratchA)));
  g.E(mov(gc, g.At(edi, g.fixedDy), edx));
  g.E(faddq(gc, g.At(esi, 8)));
  g.E(fstpq(gc, g.D(kScratchA)));
  // The pixel step in walk direction; the carry step moves one pixel more
  // along edge A's own direction.
  g.E(mov(gc, ebx, g.D(kScratchA)));
  g.E(mov(gc, ecx, g.D(kDirectionMask)));
  g.E(xor_(gc, ebx, ecx));
  g.E(sub(gc, ebx, ecx));
  g.E(mov(gc, g.At(edi, g.fixedDx), ebx));
  g.E(mov(gc, ecx, g.D(kSlopeSignMask)));
  g.E(mov(gc, eax, ebx));
  g.E(xor_(gc, eax, ecx));
  g.E(sub(gc, eax, ecx));
  g.E(add(gc, eax, edx));
  g.E(mov(gc, g.At(edi, g.fixedDyCarry), eax));
  if (g.spanlet) {
    g.E(shl(gc, ebx, g.V(5)));
    g.E(mov(gc, g.At(edi, g.fixedDx32), ebx));
  }
  g.E(ret(gc));
}

void FloatPlane(Gen &g) {
  GlContext *gc = g.gc;
  Gradient(g);
  if (g.stateBits & 0x20) {
    g.E(fst(gc, g.At(edi, g.floatDdy)));
  }
  Edge(g);
  g.E(fstp(gc, g.At(edi, 0)));
  RowStep(g);  // row dAdx
  g.E(fst(gc, g.At(edi, g.floatDy)));
  g.E(fld(gc, st1));
  g.E(fmul(gc, g.D(kSlopeSignFloat)));
  g.E(faddp(gc, st1, st0));
  g.E(fstp(gc, g.At(edi, g.floatDyCarry)));
  g.E(fmul(gc, g.D(kDirectionFloat)));
  g.E(fstp(gc, g.At(edi, g.floatDx)));
  g.E(ret(gc));
}

}  // namespace

void PlaneSubroutines(Gen &g) {
  static_assert(alignof(OgBiasTriple) == 8, "bias triples are read as doubles");
  __GL_ASSERT(((int)(intptr_t)&z_bias & 7) == 0, "((int)&z_bias & 7) == 0", "og_ras");
  if (g.usesFixed) {
    g.Place(g.fixedPlane);
    FixedPlane(g);
  }
  if (g.usesFloat) {
    g.Place(g.floatPlane);
    FloatPlane(g);
  }
}

}  // namespace og_setup
