// Validation of a SiS context: the fallback flags start clear and every
// picker that sets or reads one runs; then the words the pickers do not
// own (transparency, dither, clip) are computed and the changed groups
// marked for the next lock.
#include "core/context.h"
#include "core/drawable.h"
#include "core/s_backend.h"
#include "core/s_validate.h"
#include "raster/s_shader.h"
#include "sis/sis_hw.h"
#include "sis/sis_context_ops.h"
#include "sis/sis_pick.h"
#include "sis/sis_registers.h"

namespace {

// A context bound to a bitmap draws in software: its device lock, unlock
// and wait-idle do nothing. Switched only outside the lock, so that a held
// lock is always given back by the unlock that matches it.
void UseDevice(GlContext *gc, bool chip) {
  if (__glSiSTail(gc)->lockDepth != 0) return;
  gc->lockDevice = chip ? sis::LockDevice : core::LockDevice;
  gc->unlockDevice = chip ? sis::UnlockDevice : core::UnlockDevice;
  gc->procs.waitIdle = chip ? sis::WaitIdle : core::WaitIdle;
}

void Transparency(GlSiSTail *sis) {
  if (__wglProcess.isTransparency) {
    sis->work.textureEnv |= __wglProcess.dwTransparent;
    sis->work.transparent = __wglProcess.dwTransparent;
    sis->work.mode |= SIS_MODE_TRANSPARENCY;
  } else {
    sis->work.mode &= ~SIS_MODE_TRANSPARENCY;
  }
}

bool AnyFallback(const GlSiSTail *sis) {
  return sis->triangleFallback || sis->lineFallback || sis->pointFallback;
}

void Program(GlSiSTail *sis, uint32_t GlSiSWorkingRegs::*work, uint32_t GlSiSProgrammedRegs::*sent,
             uint32_t group) {
  if (sis->work.*work == sis->programmed.*sent) return;
  sis->programmed.*sent = sis->work.*work;
  sis->dirty |= group;
}

void ClipWords(GlContext *gc, GlSiSTail *sis) {
  const int32_t *box = gc->transform.clipBox;
  const int32_t bx = gc->constants.viewportXAdjust, by = gc->constants.viewportYAdjust;
  sis->work.clipRows = uint32_t(box[1] - by) << 13 | uint32_t(box[3] - by);
  sis->work.clipColumns = uint32_t(box[0] - bx) << 13 | uint32_t(box[2] - bx);
  if (sis->work.clipRows == sis->programmed.clipRows &&
      sis->work.clipColumns == sis->programmed.clipColumns)
    return;
  sis->programmed.clipRows = sis->work.clipRows;
  sis->programmed.clipColumns = sis->work.clipColumns;
  sis->dirty |= SIS_DIRTY_CLIP;
}

}  // namespace

namespace sis {

bool BoundToBitmap(GlContext *gc) {
  const GlDrawable *drawable = gc->drawablePrivate;
  return drawable != nullptr && drawable->modes != nullptr && drawable->modes->isBitmap;
}

}  // namespace sis

void __glSiSValidate(GlContext *gc) {
  GlSiSTail *sis = __glSiSTail(gc);
  const bool bitmap = sis::BoundToBitmap(gc);
  UseDevice(gc, !bitmap);
  sis->triangleFallback = sis->lineFallback = sis->pointFallback = bitmap ? 1 : 0;
  // With the flags clear, every picker that sets or reads one must run,
  // whatever group changed.
  gc->dirtyMask |= __GL_DIRTY_GENERIC;
  __glGenericValidate(gc);

  Transparency(sis);
  if (gc->state.enables.general & __GL_DITHER_ENABLE)
    sis->work.mode |= SIS_MODE_DITHER;
  else
    sis->work.mode &= ~SIS_MODE_DITHER;
  // Smooth-shaded fog of primitives drawn in software is the core's, on the
  // vertex colours: the chip must not fog those colours again.
  const uint32_t flags = gc->polygon.shader.modeFlags;
  if (AnyFallback(sis) && (flags & __GL_SHADE_SMOOTH_LIGHT)) sis->work.mode &= ~SIS_MODE_FOG;
  gc->fogInHardware = AnyFallback(sis) ? 0 : 1;

  Program(sis, &GlSiSWorkingRegs::mode, &GlSiSProgrammedRegs::mode, SIS_DIRTY_MODE);
  Program(sis, &GlSiSWorkingRegs::linePattern, &GlSiSProgrammedRegs::linePattern,
          SIS_DIRTY_LINE_PATTERN);
  Program(sis, &GlSiSWorkingRegs::fog, &GlSiSProgrammedRegs::fog, SIS_DIRTY_FOG);
  ClipWords(gc, sis);
}
