// The chip's 3D engine: the command-queue wait, identification and bring-up,
// ownership by process, the device lock with its register uploads, and the
// context's software lock.
#pragma once

#include <stdint.h>

#include "core/calling.h"

struct GlContext;

// Returns when n command-queue slots are free, having taken them; 1.
int mWait3DCmdQueue(int n);
// Claims the engine for the context's process: restoreAll is set when
// another process used it last.
void __glSiSHWLock(GlContext *gc);
// The chip code of the identification table; `argument` decides the
// fallback when no row matches.
uint32_t T05_GetChipVer(uint32_t argument);
// Brings up the chip for a new context; 1.
int Init6326HW3D(GlContext *gc);
GLbool8 __glSiSsLock(GlContext *gc);
GLbool8 __glSiSsUnlock(GlContext *gc);

namespace sis {
void LockDevice(GlContext *gc);
void UnlockDevice(GlContext *gc);
void SetGlobalAttribute(GlContext *gc);
void RestoreAllAttribute(GlContext *gc);
// Sets the working clip words and writes them to the chip at once. The
// programmed clip words stay as they are: a front-buffer line's passes end
// on the clip box, which validation programs, so a later full upload sends
// the same clip.
void SetScissor(GlContext *gc, uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1);
uint8_t GetSRReg(uint8_t index);
uint32_t IsBlockWrite(void);
}  // namespace sis
