// The 3DNow! lighting forms. 3DNow! exists only on old AMD processors: this
// program runs under qemu emulating one (the "qemu" test) and skips natively
// when the processor lacks it. The forms pass the hand-worked cases and the
// random model checks of the other forms; the fast form computes what the
// portable fast form computes, operation for operation; and every call keeps
// the registers compiled code relies on and leaves the x87 unit empty.
#include <cpuid.h>
#include <math.h>
#include <stdint.h>

#include <gtest/gtest.h>

#include "geometry/s_light_calc.h"
#include "tests/geometry/lighting/light_fixture.h"
#include "tests/geometry/lighting/light_random.h"
#include "tests/geometry/lighting/lit_cases.h"
#include "tests/geometry/lighting/lit_support.h"

// Calls proc(gc, face, v) with marker values in EBX, ESI, EDI and EBP and a
// marker word above the arguments; 1 when all of them come back unchanged.
extern "C" int K3DTestCallChecked(GlCalcColorProc proc, GlContext *gc, GLint face, GlVertex *v);

asm(R"(
        .pushsection .text.K3DTestCallChecked, "ax", @progbits
        .intel_syntax noprefix
        .globl K3DTestCallChecked
        .type K3DTestCallChecked, @function
K3DTestCallChecked:
        push ebp
        push ebx
        push esi
        push edi
        push 0x55555555
        mov eax, [esp + 24]
        push dword ptr [esp + 36]
        push dword ptr [esp + 36]
        push dword ptr [esp + 36]
        mov ebx, 0x11111111
        mov esi, 0x22222222
        mov edi, 0x33333333
        mov ebp, 0x44444444
        call eax
        add esp, 12
        pop ecx
        xor eax, eax
        cmp ecx, 0x55555555
        jne 1f
        cmp ebx, 0x11111111
        jne 1f
        cmp esi, 0x22222222
        jne 1f
        cmp edi, 0x33333333
        jne 1f
        cmp ebp, 0x44444444
        jne 1f
        mov eax, 1
1:      pop edi
        pop esi
        pop ebx
        pop ebp
        ret
        .size K3DTestCallChecked, . - K3DTestCallChecked
        .att_syntax prefix
        .popsection
)");

namespace {

bool Has3DNow() {
  unsigned a, b, c, d;
  if (!__get_cpuid(0x80000000u, &a, &b, &c, &d) || a < 0x80000001u) return false;
  __get_cpuid(0x80000001u, &a, &b, &c, &d);
  return (d & (1u << 31)) != 0;
}

class K3DLighting : public testing::Test {
 protected:
  void SetUp() override {
    if (!Has3DNow()) GTEST_SKIP() << "no 3DNow! on this processor (the qemu test runs these)";
  }
};

const LitProcs kK3D = {"3DNow!", __glK3DFastCalcRGBColor, __glK3DCalcRGBColor};

TEST_F(K3DLighting, HandWorkedCases) { ExpectLitCases(kK3D); }

TEST_F(K3DLighting, RandomStatesWithinTheTableTolerance) {
  ExpectRandomLitColors(kK3D, 2024, 60, 40);
}

// The store reads each component's scale by its name: the context keeps
// them red, blue, green, alpha.
TEST_F(K3DLighting, RandomStatesWithDistinctColourScales) {
  ExpectRandomLitColors(kK3D, 31, 20, 20, DistinctScales());
}

// The fast form adds the same products in the same order as the portable
// one; only the packing differs.
TEST_F(K3DLighting, FastFormComputesWhatThePortableFormComputes) {
  LightContext ctx;
  RandomLighting random(77);
  for (int s = 0; s < 60 && !HasFailure(); s++) {
    FillLitState(ctx, random, true);
    for (int i = 0; i < 40 && !HasFailure(); i++) {
      const GlVertex given = RandomLitVertex(random);
      for (int face = 0; face < 2; face++) {
        SCOPED_TRACE(testing::Message() << "state " << s << " vertex " << i << " face " << face);
        GlVertex a = given, b = given;
        __glFastCalcRGBColor(ctx.gc(), face, &a);
        __glK3DFastCalcRGBColor(ctx.gc(), face, &b);
        const GlColor &p = a.colors[face], &k = b.colors[face];
        EXPECT_NEAR(k.r, p.r, 1e-3);
        EXPECT_NEAR(k.g, p.g, 1e-3);
        EXPECT_NEAR(k.b, p.b, 1e-3);
        EXPECT_EQ(k.a, p.a);
      }
    }
  }
}

struct X87Env {
  uint16_t control, pad0, status, pad1, tags, pad2;
  uint32_t rest[4];
};

TEST_F(K3DLighting, KeepTheCallersRegistersAndLeaveTheX87UnitEmpty) {
  struct Form {
    const char *name;
    GlCalcColorProc proc;
    bool fast;
  } forms[] = {{"fast", __glK3DFastCalcRGBColor, true}, {"full", __glK3DCalcRGBColor, false}};
  for (const Form &f : forms) {
    SCOPED_TRACE(f.name);
    LightContext ctx;
    RandomLighting random(3);
    FillLitState(ctx, random, f.fast);
    ctx.setLights(0xFF);
    ctx.validate();
    for (int face = 0; face < 2; face++) {
      GlVertex v = RandomLitVertex(random);
      EXPECT_EQ(K3DTestCallChecked(f.proc, ctx.gc(), face, &v), 1);
      X87Env env;
      asm volatile("fnstenv %0\n\tfldcw %0" : "=m"(env));
      EXPECT_EQ(env.tags, 0xFFFF) << "every x87 register empty";
      // x87 arithmetic right after the call.
      volatile long double x = 1.5L;
      EXPECT_EQ(double(x * 3.0L + 0.25L), 4.75);
    }
  }
}

}  // namespace
