// Processor features: which of the x87, MMX and 3DNow! variants may run.
#pragma once

struct GlContext;

// Detects the features once per process (with the "__GL_FORCE_MMX" and
// "__GL_FORCE_K3D" overrides) and ORs them into gc->constants.cpuFlags.
void __glI386GetCPUFlags(GlContext *gc);
