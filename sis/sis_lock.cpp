// Engine ownership and the device lock: the outermost lock claims the
// engine, refreshes the buffer addresses and sends the changed register
// groups, or every group when the engine holds someone else's state; the
// outermost unlock fires what was queued.
#include "pixels/px_texture.h"
#include "raster/s_buffers.h"
#include "raster/s_shader.h"
#include "sis/sis_clear.h"
#include "sis/sis_engine_lock.h"
#include "sis/sis_hw.h"
#include "sis/sis_pick.h"
#include "sis/sis_registers.h"
#include "wgl/wgl_drawable.h"

namespace {

// The buffer's address as the chip sees it: relative to the primary surface.
uint32_t ChipAddress(const GlSiSTail *sis, const GlDrawableBuffer *buffer) {
  return uint32_t(uintptr_t(buffer->base) - uintptr_t(sis->frameBufferBase));
}

uint32_t WithPitch(uint32_t word, const GlDrawableBuffer *buffer) {
  return (word & ~sis::kPitchMask) | (uint32_t(buffer->pitchBytes) & sis::kPitchMask);
}

// Points an address-and-pitch register pair at the buffer; the pair's group
// is marked dirty when it differs from what was last sent.
void AimAt(GlSiSTail *sis, const GlDrawableBuffer *buffer, uint32_t *address, uint32_t *pitch,
           uint32_t *sentAddress, uint32_t *sentPitch, uint32_t group) {
  *address = ChipAddress(sis, buffer);
  *pitch = WithPitch(*pitch, buffer);
  if (*address != *sentAddress || *pitch != *sentPitch) {
    *sentAddress = *address;
    *sentPitch = *pitch;
    sis->dirty |= group;
  }
}

void RefreshColorBuffer(GlContext *gc, GlSiSTail *sis) {
  if (gc->drawBuffer == nullptr) return;
  const GlDrawableBuffer *buffer = gc->drawBuffer->buf.drawableBuf;
  if (buffer == nullptr) return;
  AimAt(sis, buffer, &sis->work.colorAddress, &sis->work.colorPitch,
        &sis->programmed.colorAddress, &sis->programmed.colorPitch, SIS_DIRTY_COLOR);
}

void RefreshDepthBuffer(GlContext *gc, GlSiSTail *sis) {
  if (!(gc->polygon.shader.modeFlags & __GL_SHADE_DEPTH_TEST)) return;
  const GlDrawableBuffer *buffer = gc->depthBuffer.buf.drawableBuf;
  if (buffer == nullptr) return;
  AimAt(sis, buffer, &sis->work.zAddress, &sis->work.zPitch, &sis->programmed.zAddress,
        &sis->programmed.zPitch, SIS_DIRTY_Z);
}

// The chip samples the current texture from video memory. The DirectDraw
// calls this makes run under the engine lock taken above. A surface made or
// restored here moves the texture registers, which are computed again; a
// texture that can no longer be sampled sends nothing until validation
// takes the triangles off the chip.
void MakeCurrentTextureResident(GlContext *gc, GlSiSTail *sis) {
  GlTextureObject *tex = gc->texture.current;
  if (!(gc->polygon.shader.modeFlags & __GL_SHADE_TEXTURE) || tex == nullptr ||
      sis->triangleFallback || tex->makeResident == nullptr)
    return;
  tex->makeResident(gc, tex, tex->residencyArg);
  if (!sis::ProgramTexture(gc, tex)) sis->sendNothing = 1;
  // The texture's placement also lives in the mode word.
  if (sis->work.mode != sis->programmed.mode) {
    sis->programmed.mode = sis->work.mode;
    sis->dirty |= SIS_DIRTY_MODE;
  }
}

// Every buffer the chip writes lies in video memory: a buffer whose lock
// failed draws into its drawable's discard block instead.
bool BuffersInVideoMemory(GlContext *gc, const GlSiSTail *sis) {
  const GlDrawableBuffer *color = gc->drawBuffer ? gc->drawBuffer->buf.drawableBuf : nullptr;
  if (color != nullptr && !sis::InVideoMemory(sis, color)) return false;
  if (!(gc->polygon.shader.modeFlags & __GL_SHADE_DEPTH_TEST)) return true;
  const GlDrawableBuffer *depth = gc->depthBuffer.buf.drawableBuf;
  return depth == nullptr || sis::InVideoMemory(sis, depth);
}

bool RendersNothingInHardware(const GlSiSTail *sis) {
  return sis->triangleFallback && sis->lineFallback && sis->pointFallback;
}

}  // namespace

void __glSiSHWLock(GlContext *gc) {
  GlSiSTail *sis = __glSiSTail(gc);
  LPDD326DISPINFO info = sis::DispInfo();
  if (info == nullptr) return;
  if (info->engineOwner != sis->ownerId) {
    sis->restoreAll = 1;
    info->engineOwner = sis->ownerId;
  } else {
    sis->restoreAll = 0;
  }
}

namespace sis {

void LockDevice(GlContext *gc) {
  GlSiSTail *sis = __glSiSTail(gc);
  if (++sis->lockDepth != 1) return;
  __glSiSEngineLock();
  sis->sendNothing = 0;
  if (RendersNothingInHardware(sis) || sis->mmioBase == nullptr) return;
  if (!BuffersInVideoMemory(gc, sis)) {
    sis->sendNothing = 1;
    return;
  }
  __glSiSHWLock(gc);
  MakeCurrentTextureResident(gc, sis);
  if (sis->sendNothing) return;
  RefreshColorBuffer(gc, sis);
  RefreshDepthBuffer(gc, sis);
  if (!sis->restoreAll && __wglProcess.sisLoadedSerial == sis->serial) {
    if (sis->dirty != 0) {
      SetGlobalAttribute(gc);
      sis->dirty = 0;
    }
  } else {
    RestoreAllAttribute(gc);
    __wglProcess.sisLoadedSerial = sis->serial;
  }
}

void UnlockDevice(GlContext *gc) {
  GlSiSTail *sis = __glSiSTail(gc);
  // An unlock without a lock would wrap the count, and no later lock would
  // be the outermost one again.
  if (sis->lockDepth == 0) return;
  if (--sis->lockDepth != 0) return;
  if (sis->mmioBase != nullptr) {
    mWait3DCmdQueue(1);
    SiS6326Store8(sis->mmioBase + kRegFire, 0xFF);
  }
  __glSiSEngineUnlock();
}

}  // namespace sis
