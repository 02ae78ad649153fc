// The processor's features as the compiler's cpuid.h reads them, apart from
// the driver: the reference the detection is checked against.
#pragma once

#include <cpuid.h>

#include "core/s_constants.h"

inline GlCpuFlags ProcessorFeatures() {
  unsigned a, b, c, d;
  GlCpuFlags flags = 0;
  if (__get_cpuid(1, &a, &b, &c, &d) && (d & bit_MMX)) flags |= __GL_CPU_MMX;
  if (__get_cpuid(0x80000001u, &a, &b, &c, &d) && (d & bit_3DNOW)) flags |= __GL_CPU_K3D;
  return flags;
}
