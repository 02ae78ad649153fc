#include "tests/raster/buffers/lock_fixture.h"

#include "core/s_backend.h"

namespace raster_buffers_test {
namespace {

std::vector<std::string> gLog;
GlDrawable *gDrawable;

const char *NameOf(GlDrawableBuffer *buffer) {
  if (buffer == &gDrawable->front) return "front";
  if (buffer == &gDrawable->back) return "back";
  if (buffer == &gDrawable->depth) return "depth";
  if (buffer == &gDrawable->stencil) return "stencil";
  if (buffer == &gDrawable->accum) return "accum";
  return "?";
}

void LockBuffer(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  gLog.push_back(std::string(drawable == gDrawable ? "" : "(other drawable) ") + "lock " +
                 NameOf(buffer));
}
void UnlockBuffer(GlDrawableBuffer *buffer, GlDrawable *drawable) {
  gLog.push_back(std::string(drawable == gDrawable ? "" : "(other drawable) ") + "unlock " +
                 NameOf(buffer));
}
void LockDrawable(GlDrawable *, GlContext *) { gLog.push_back("lock drawable"); }
void UnlockDrawable(GlDrawable *) { gLog.push_back("unlock drawable"); }
void LockDevice(GlContext *) { gLog.push_back("lock device"); }
void UnlockDevice(GlContext *) { gLog.push_back("unlock device"); }

}  // namespace

LockContext::LockContext(bool doubleBuffered) {
  gDrawable = &drawable_;
  gLog.clear();
  GlContext *gc = ctx_.gc();
  drawable_.lock = LockDrawable;
  drawable_.unlock = UnlockDrawable;
  gc->drawablePrivate = &drawable_;
  gc->modes.doubleBufferMode = doubleBuffered;
  gc->modes.haveDepthBuffer = gc->modes.haveStencilBuffer = gc->modes.haveAccumBuffer = 1;
  gc->front = &gc->frontBuffer;
  gc->back = doubleBuffered ? &gc->backBuffer : nullptr;
  gc->frontBuffer.buf.drawableBuf = &drawable_.front;
  if (doubleBuffered) gc->backBuffer.buf.drawableBuf = &drawable_.back;
  gc->depthBuffer.buf.drawableBuf = &drawable_.depth;
  gc->stencilBuffer.buf.drawableBuf = &drawable_.stencil;
  gc->accumBuffer.buf.drawableBuf = &drawable_.accum;
  gc->obtainSLock = core::ObtainSLock;
  gc->releaseSLock = core::ReleaseSLock;
  SetProcedures(kAll, kAll);
  SetDevice(true);
}

void LockContext::SetProcedures(unsigned locks, unsigned unlocks) {
  GlDrawableBuffer *buffers[] = {&drawable_.front, &drawable_.back, &drawable_.depth,
                                 &drawable_.stencil, &drawable_.accum};
  for (unsigned i = 0; i < 5; i++) {
    buffers[i]->lock = (locks >> i) & 1 ? LockBuffer : nullptr;
    buffers[i]->unlock = (unlocks >> i) & 1 ? UnlockBuffer : nullptr;
  }
}

void LockContext::SetDevice(bool present) {
  gc()->lockDevice = present ? LockDevice : nullptr;
  gc()->unlockDevice = present ? UnlockDevice : nullptr;
}

std::vector<std::string> LockContext::Take() {
  std::vector<std::string> taken;
  taken.swap(gLog);
  return taken;
}

}  // namespace raster_buffers_test
