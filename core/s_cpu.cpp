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
GLbool8 HasCpuid() {
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

void Cpuid(uint32_t function, uint32_t *eax, uint32_t *edx) {
  uint32_t a, b, c, d;
  // EBX is the GOT register in position-independent code: swap it out
  // around the instruction instead of naming it as an output.
  asm volatile(
      "xchgl %%ebx, %1\n\t"
      "cpuid\n\t"
      "xchgl %%ebx, %1"
      : "=a"(a), "=&r"(b), "=c"(c), "=d"(d)
      : "0"(function), "2"(0u));
  *eax = a;
  *edx = d;
}

// Present: a non-zero decimal value sets the feature, anything else ("0",
// "abc", "") clears it. strtol rather than atoi: huge values saturate
// instead of being undefined.
void Override(const GlCpuProbe *probe, GlCpuFlags *flags, const char *name, GlCpuFlags feature) {
  const char *value = probe->environment(name);
  if (value == nullptr) return;
  if (strtol(value, nullptr, 10) != 0) {
    *flags |= feature;
  } else {
    *flags &= ~feature;
  }
}

const char *Environment(const char *name) { return getenv(name); }

const GlCpuProbe processProbe = {HasCpuid, Cpuid, Environment};

// Two contexts may be reset for the first time on two threads at once: the
// lock keeps the detection single and gives every reader its result.
std::mutex processLock;
bool initialized;
GlCpuFlags processFlags;

GlCpuFlags ProcessFlags() {
  std::lock_guard<std::mutex> guard(processLock);
  if (!initialized) {
    processFlags = __glDetectCPUFlags(&processProbe);
    initialized = true;
  }
  return processFlags;
}

}  // namespace

GlCpuFlags __glDetectCPUFlags(const GlCpuProbe *probe) {
  uint32_t standard = 0, extended = 0;
  if (probe->hasCpuid()) {
    uint32_t highest, unused;
    // Unsigned: processors without the extended range answer with
    // standard-range values, which are below it.
    probe->cpuid(0x80000000u, &highest, &unused);
    if (highest > 0x80000000u) probe->cpuid(0x80000001u, &unused, &extended);
    probe->cpuid(1, &unused, &standard);
  }
  GlCpuFlags flags = 0;
  if (standard & (1u << 23)) flags |= __GL_CPU_MMX;
  if (extended & (1u << 31)) flags |= __GL_CPU_K3D;
  Override(probe, &flags, "__GL_FORCE_MMX", __GL_CPU_MMX);
  Override(probe, &flags, "__GL_FORCE_K3D", __GL_CPU_K3D);
  return flags;
}

void __glI386GetCPUFlags(GlContext *gc) { gc->constants.cpuFlags |= ProcessFlags(); }
