#include "tests/geometry/xform_asm/asm_call.h"

#include <math.h>

#include <vector>

#include "platform/control.h"
#include "tests/codegen/emitter/og_support.h"
#include "tests/core/services/cpu_reference.h"

const char *IsaName(Isa isa) {
  switch (isa) {
    case Isa::Portable:
      return "portable";
    case Isa::X87:
      return "x87";
    default:
      return "3DNow!";
  }
}

bool ProcessorHasK3D() { return (ProcessorFeatures() & __GL_CPU_K3D) != 0; }

uint16_t X87ControlWord() {
  uint16_t cw;
  asm volatile("fnstcw %0" : "=m"(cw));
  return cw;
}

uint32_t CallChecked(const void *routine, std::initializer_list<uint32_t> args) {
  PlatformAttachThread();
  EXPECT_EQ(X87ControlWord(), PLATFORM_X87_CONTROL_WORD) << "the thread is not the platform's";
  std::vector<uint32_t> words(args);
  OgCallResult r = {};
  OgCallChecked(routine, words.data(), uint32_t(words.size()), &r);
  EXPECT_EQ(r.ebx, kSentinelEbx);
  EXPECT_EQ(r.esi, kSentinelEsi);
  EXPECT_EQ(r.edi, kSentinelEdi);
  EXPECT_EQ(r.ebp, kSentinelEbp);
  EXPECT_EQ(r.espDelta, 0);
  // fnstenv: control word, status word, tag word.
  EXPECT_EQ(r.fpuEnvironment[0], PLATFORM_X87_CONTROL_WORD) << "control word changed";
  EXPECT_EQ(r.fpuEnvironment[4], 0xFFFF) << "x87 or MMX registers left in use (tag word)";
  EXPECT_EQ((r.fpuEnvironment[2] >> 11) & 7, 0) << "x87 stack top moved";
  return r.eax;
}

double UlpOf(double f) {
  if (f == 0) return ldexp(1.0, -149);
  int exponent;
  frexp(fabs(f), &exponent);  // |f| = m * 2^exponent, m in [0.5, 1)
  if (exponent < -125) exponent = -125;
  return ldexp(1.0, exponent - 24);
}
