// Bringing a drawable's five buffers to a new size, freeing them and
// following palette changes, each through the buffer kind that serves it.
#include "wgl/wgl_drawable_update.h"
#include "wgl/wgl_scoped_lock.h"

namespace {

// Buffer bits as the core and the devices name them.
constexpr uint32_t kFrontBit = 1, kBackBit = 4, kAccumBit = 16, kDepthBit = 32, kStencilBit = 64;
// What an update gives when the buffer stayed as it was.
constexpr uint32_t kUnchanged = 16;

struct BufferSlot {
  GlDrawableBuffer *buffer;
  uint32_t bit;
  bool present;
};

// The buffers in the order they are updated and freed.
void Slots(GlDrawable *drawable, BufferSlot slots[5]) {
  const GlModes *m = drawable->modes;
  slots[0] = {&drawable->front, kFrontBit, true};
  slots[1] = {&drawable->back, kBackBit, m && m->doubleBufferMode};
  slots[2] = {&drawable->accum, kAccumBit, m && m->haveAccumBuffer};
  slots[3] = {&drawable->depth, kDepthBit, m && m->haveDepthBuffer};
  slots[4] = {&drawable->stencil, kStencilBit, m && m->haveStencilBuffer};
}

}  // namespace

bool __wglUpdateBuffers(GlDrawable *drawable, int32_t x, int32_t y, int32_t width, int32_t height) {
  WglDrawableHold hold(drawable, "wglbuf");
  BufferSlot slots[5];
  Slots(drawable, slots);
  uint32_t changed = 0;
  bool ok = true;
  for (const BufferSlot &slot : slots) {
    if (!slot.present || slot.buffer->update == nullptr) continue;
    uint32_t result = slot.buffer->update(slot.buffer, x, y, width, height, drawable, slot.bit);
    // The buffers done so far keep their new size; the mask is not touched.
    if (result == 0) {
      ok = false;
      break;
    }
    if (result != kUnchanged) changed |= slot.bit;
  }
  if (ok) drawable->changedBuffers = changed;
  return ok;
}

void __wglFreeBuffers(WglDrawablePrivate *drawable) {
  GlDrawable *view = &drawable->drawable;
  WglDrawableHold hold(view, "wglbuf");
  BufferSlot slots[5];
  Slots(view, slots);
  for (const BufferSlot &slot : slots)
    if (slot.buffer->free) slot.buffer->free(slot.buffer, view);
}

void __wglUpdateDrawablePalette(WglDrawablePrivate *drawable) {
  if (drawable->updateDrawablePalette) drawable->updateDrawablePalette(drawable);
}
