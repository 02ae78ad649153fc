// PLACEHOLDER (seam)
#include "sis/sis_hw.h"
void __glSiSHWLock(GlContext *) {}
namespace sis {
void LockDevice(GlContext *) {}
void UnlockDevice(GlContext *) {}
}  // namespace sis
