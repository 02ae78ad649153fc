// Generated x87 code run from executable memory, compared with the same
// arithmetic done by compiled code in long double (the x87's own format).
#include <math.h>
#include <string.h>

#include "tests/codegen/emitter/og_run_support.h"

namespace {

uint32_t Bits(float f) {
  uint32_t u;
  memcpy(&u, &f, 4);
  return u;
}
float FloatOf(uint32_t u) {
  float f;
  memcpy(&f, &u, 4);
  return f;
}

uint16_t ControlWord() {
  uint16_t cw;
  asm volatile("fnstcw %0" : "=m"(cw));
  return cw;
}

// ---- x87 --------------------------------------------------------------------------

// Each program leaves one value on the x87 stack, computed from the float
// arguments a, b and c; the epilogue stores it as a float into eax.
struct FpProgram {
  const char *name;
  void (*emit)(Gen &g);
  long double (*model)(long double a, long double b, long double c);
};

const FpProgram kFpPrograms[] = {
    {"(a * b + c) / b from memory",
     [](Gen &g) {
       g.E(fld(g.gc, g.Arg(1)));
       g.E(fmul(g.gc, g.Arg(2)));
       g.E(fadd(g.gc, g.Arg(3)));
       g.E(fdiv(g.gc, g.Arg(2)));
     },
     [](long double a, long double b, long double c) { return (a * b + c) / b; }},
    {"b / a - c by fdivr and fsub",
     [](Gen &g) {
       g.E(fld(g.gc, g.Arg(1)));
       g.E(fdivr(g.gc, g.Arg(2)));
       g.E(fsub(g.gc, g.Arg(3)));
     },
     [](long double a, long double b, long double c) { return b / a - c; }},
    {"register forms",
     [](Gen &g) {
       g.E(fld(g.gc, g.Arg(1)));  // a
       g.E(fld(g.gc, g.Arg(2)));  // b a
       g.E(fld(g.gc, st1));       // a b a
       g.E(fmul(g.gc, st1));      // ab b a
       g.E(fadd(g.gc, st2));      // ab+a b a
       g.E(fsub(g.gc, st1));      // ab+a-b b a
       g.E(fdiv(g.gc, st2));      // (ab+a-b)/a b a
       g.E(fdivr(g.gc, st1));     // b/((ab+a-b)/a) b a
       g.E(fstp(g.gc, st2));      // b r
       g.E(fstp(g.gc, st0));      // r
     },
     [](long double a, long double b, long double) { return b / ((a * b + a - b) / a); }},
    {"popping forms",
     [](Gen &g) {
       g.E(fld(g.gc, g.Arg(1)));   // a
       g.E(fld(g.gc, g.Arg(2)));   // b a
       g.E(fsubp(g.gc, st1, st0)); // a-b
       g.E(fld(g.gc, g.Arg(3)));   // c a-b
       g.E(fsubrp(g.gc, st1, st0));// c-(a-b)
       g.E(fld(g.gc, g.Arg(2)));   // b x
       g.E(fmulp(g.gc, st1, st0)); // b*x
       g.E(fld(g.gc, g.Arg(1)));   // a y
       g.E(faddp(g.gc, st1, st0)); // y+a
     },
     [](long double a, long double b, long double c) { return b * (c - (a - b)) + a; }},
    {"exchange, sign, absolute value, pi",
     [](Gen &g) {
       g.E(fld(g.gc, g.Arg(1)));   // a
       g.E(fld(g.gc, g.Arg(2)));   // b a
       g.E(fxch(g.gc, st1));       // a b
       g.E(fchs(g.gc));            // -a b
       g.E(fsubp(g.gc, st1, st0)); // b+a
       g.E(fabsolute(g.gc));       // |b+a|
       g.E(fldpi(g.gc));
       g.E(fmulp(g.gc, st1, st0));
     },
     [](long double a, long double b, long double) {
       return fabsl(b + a) * 3.14159265358979323851281e+0L;
     }},
    {"fst keeps the value",
     [](Gen &g) {
       g.E(fld(g.gc, g.Arg(1)));
       g.E(fld(g.gc, g.Arg(2)));   // b a
       g.E(fst(g.gc, st1));        // b b
       g.E(fst(g.gc, g.Arg(3)));   // c = b (rounded to float)
       g.E(faddp(g.gc, st1, st0)); // 2b
       g.E(fadd(g.gc, g.Arg(3)));  // 3b
     },
     [](long double, long double b, long double) { return 2 * b + (long double)(float)b; }},
    {"integers and doubles through memory",
     [](Gen &g) {
       g.E(sub(g.gc, esp, g.V(16)));
       g.E(fld(g.gc, mem2(g.gc, g.V(20), esp)));         // a
       g.E(fistp(g.gc, mem2(g.gc, nullptr, esp)));       // (int) round(a)
       g.E(fild(g.gc, mem2(g.gc, nullptr, esp)));        // back
       g.E(fld(g.gc, mem2(g.gc, g.V(24), esp)));         // b
       g.E(fist(g.gc, mem2(g.gc, g.V(4), esp)));         // (int) round(b), kept
       g.E(fistpq(g.gc, mem2(g.gc, g.V(8), esp)));       // 64-bit
       g.E(fildq(g.gc, mem2(g.gc, g.V(8), esp)));
       g.E(faddp(g.gc, st1, st0));
       g.E(fild(g.gc, mem2(g.gc, g.V(4), esp)));
       g.E(faddp(g.gc, st1, st0));
       g.E(fstpq(g.gc, mem2(g.gc, g.V(8), esp)));        // as a double
       g.E(fldq(g.gc, mem2(g.gc, g.V(8), esp)));
       g.E(faddq(g.gc, mem2(g.gc, g.V(8), esp)));        // twice
       g.E(add(g.gc, esp, g.V(16)));
     },
     [](long double a, long double b, long double) {
       // Through integers a zero loses its sign.
       const long double i = (long double)llrintl(a), j = (long double)llrintl(b);
       return 2 * (long double)(double)(i + 2 * j);
     }},
};

TEST_F(RunFpTest, X87ProgramsMatchLongDouble) {
  const float kValues[] = {1.0f, -2.5f, 0.75f, 3.0f, 1024.0f, -0.125f, 7.5f, 1e-3f, 6e5f};
  for (const FpProgram &p : kFpPrograms) {
    SCOPED_TRACE(p.name);
    Gen g = Start();
    p.emit(g);
    g.E(fstp(gc, g.Arg(1)));
    g.E(mov(gc, eax, g.Arg(1)));
    g.E(ret(gc));
    const void *routine = Done(g);
    for (float a : kValues)
      for (float b : kValues) {
        const float c = a - 2 * b;
        const float want = float(p.model(a, b, c));
        const uint32_t got = RunChecked(routine, {Bits(a), Bits(b), Bits(c)});
        EXPECT_EQ(got, Bits(want)) << a << ", " << b << ": " << FloatOf(got) << " vs " << want;
      }
  }
}

// The constants of the float pool are read by address.
TEST_F(RunFpTest, FloatConstantsFromThePool) {
  Gen g = Start();
  g.E(fld(gc, g.Arg(1)));
  g.E(fmul(gc, fpk(gc, 2.5)));
  g.E(fadd(gc, fpk(gc, -0.25)));
  g.E(fdiv(gc, fpk(gc, 2.5)));
  g.E(fstp(gc, g.Arg(1)));
  g.E(mov(gc, eax, g.Arg(1)));
  g.E(ret(gc));
  const void *routine = Done(g);
  for (float a : {0.0f, 1.0f, -3.5f, 100.0f}) {
    const float want = float(((long double)a * 2.5L - 0.25L) / 2.5L);
    EXPECT_EQ(RunChecked(routine, {Bits(a)}), Bits(want)) << a;
  }
}

// fstcw reads the control word; fldcw with the rounding bits set to chop
// makes fistp truncate, and the old word comes back afterwards. The
// changed word is written with size16 and a 32-bit register store.
TEST_F(RunFpTest, ControlWordSwitchesRounding) {
  Gen g = Start();
  g.E(sub(gc, esp, g.V(8)));
  g.E(fstcw(gc, mem2(gc, nullptr, esp)));
  g.E(movzxw(gc, eax, mem2(gc, nullptr, esp)));
  g.E(or_(gc, eax, g.V(0xC00)));
  g.E(size16(gc));
  g.E(mov(gc, mem2(gc, g.V(4), esp), eax));
  g.E(fldcw(gc, mem2(gc, g.V(4), esp)));
  g.E(fld(gc, mem2(gc, g.V(12), esp)));
  g.E(fistp(gc, mem2(gc, g.V(12), esp)));
  g.E(fldcw(gc, mem2(gc, nullptr, esp)));
  g.E(mov(gc, eax, mem2(gc, g.V(12), esp)));
  g.E(add(gc, esp, g.V(8)));
  g.E(ret(gc));
  const void *routine = Done(g);
  const uint16_t before = ControlWord();
  for (float a : {2.75f, -2.75f, 0.5f, -0.5f, 7.0f}) {
    EXPECT_EQ(int32_t(RunChecked(routine, {Bits(a)})), int32_t(a)) << a;
    EXPECT_EQ(ControlWord(), before);
  }

  g = Start();  // fstcw alone
  g.E(fstcw(gc, g.Arg(1)));
  g.E(movzxw(gc, eax, g.Arg(1)));
  g.E(ret(gc));
  EXPECT_EQ(RunChecked(Done(g), {0xFFFFFFFFu}), before);
}

}  // namespace
