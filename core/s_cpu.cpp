// Processor features: the identification instruction says whether MMX and
// 3DNow! exist; "__GL_FORCE_MMX" and "__GL_FORCE_K3D" override it. Both are
// read once per process.
#include "core/s_cpu.h"

#include <stdint.h>
#include <stdlib.h>

#include <mutex>

#include "core/context.h"

namespace {

// Bit 21 of EFLAGS can be changed only on processors that have CPUID.
bool HasCpuid() {
  uint32_t before, after;
  asm volatile(
      "pushfl\n\t"
      "popl %0\n\t"
      "movl %0, %1\n\t"
      "xorl $0x200000, %1\n\t"
      "pushl %1\n\t"
      "popfl\n\t"
      "pushfl\n\t"
      "popl %1\n\t"
      "pushl %0\n\t"
      "popfl"
      : "=&r"(before), "=&r"(after)
      :
      : "cc");
  return ((before ^ after) & 0x200000u) != 0;
}

struct CpuidWords {
  uint32_t eax, ebx, ecx, edx;
};

CpuidWords Cpuid(uint32_t function) {
  CpuidWords w;
  // EBX is the GOT register in position-independent code: swap it out
  // around the instruction instead of naming it as an output.
  asm volatile(
      "xchgl %%ebx, %1\n\t"
      "cpuid\n\t"
      "xchgl %%ebx, %1"
      : "=a"(w.eax), "=&r"(w.ebx), "=c"(w.ecx), "=d"(w.edx)
      : "0"(function), "2"(0u));
  return w;
}

GlCpuFlags Detect() {
  uint32_t standard = 0, extended = 0;
  if (HasCpuid()) {
    if (Cpuid(0x80000000u).eax > 0x80000000u) extended = Cpuid(0x80000001u).edx;
    standard = Cpuid(1).edx;
  }
  GlCpuFlags flags = 0;
  if (standard & (1u << 23)) flags |= __GL_CPU_MMX;
  if (extended & (1u << 31)) flags |= __GL_CPU_K3D;
  return flags;
}

// Present: a non-zero decimal value sets the feature, anything else ("0",
// "abc", "") clears it. strtol rather than atoi: huge values saturate
// instead of being undefined.
void Override(GlCpuFlags *flags, const char *name, GlCpuFlags feature) {
  const char *value = getenv(name);
  if (value == nullptr) return;
  if (strtol(value, nullptr, 10) != 0) {
    *flags |= feature;
  } else {
    *flags &= ~feature;
  }
}

// Two contexts may be reset for the first time on two threads at once: the
// lock keeps the detection single and gives every reader its result.
std::mutex processLock;
bool initialized;
GlCpuFlags processFlags;

GlCpuFlags ProcessFlags() {
  std::lock_guard<std::mutex> guard(processLock);
  if (!initialized) {
    GlCpuFlags flags = Detect();
    Override(&flags, "__GL_FORCE_MMX", __GL_CPU_MMX);
    Override(&flags, "__GL_FORCE_K3D", __GL_CPU_K3D);
    processFlags = flags;
    initialized = true;
  }
  return processFlags;
}

}  // namespace

void __glI386GetCPUFlags(GlContext *gc) { gc->constants.cpuFlags |= ProcessFlags(); }
