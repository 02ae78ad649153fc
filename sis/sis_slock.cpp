// The SiS context's software lock: the core's nesting counter in the
// context, which the buffer locks read to find their outermost level (the
// one that takes and gives back the device lock).
#include "core/s_backend.h"
#include "sis/sis_hw.h"

GLbool8 __glSiSsLock(GlContext *gc) { return core::ObtainSLock(gc); }
GLbool8 __glSiSsUnlock(GlContext *gc) { return core::ReleaseSLock(gc); }
