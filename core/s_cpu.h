// Processor features: which of the x87, MMX and 3DNow! variants may run.
#pragma once

#include <stdint.h>

#include "core/calling.h"
#include "core/s_constants.h"

struct GlContext;

// Detects the features once per process (with the "__GL_FORCE_MMX" and
// "__GL_FORCE_K3D" overrides) and ORs them into gc->constants.cpuFlags.
void __glI386GetCPUFlags(GlContext *gc);

// What detection reads: the processor's identification instruction and the
// environment. The process uses the real ones; tests hand in processors
// that cannot be had (no identification instruction, odd extended ranges).
typedef struct GlCpuProbe {
  GLbool8 (*hasCpuid)(void);
  // EAX and EDX of the instruction for `function` (ECX 0).
  void (*cpuid)(uint32_t function, uint32_t *eax, uint32_t *edx);
  // The value of an environment variable, null when it is not set.
  const char *(*environment)(const char *name);
} GlCpuProbe;

// The features the probe reports, overrides applied.
GlCpuFlags __glDetectCPUFlags(const GlCpuProbe *probe);
