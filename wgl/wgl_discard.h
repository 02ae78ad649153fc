// A buffer whose surface cannot be locked (lost for good, refused, or a
// window with nothing on the screen) still gets pixels: a block of the
// drawable's own that nobody shows. The core draws into it as usual, so a
// failed lock costs a frame that is not seen, never a write through a null
// base, and the core needs no test of its own.
#pragma once

#include "wgl/wgl_drawable.h"

// Points base and the pitches at the drawable's discard block, large enough
// for any buffer of the drawable at its size; base stays 0 only when the
// block cannot be allocated.
void __wglDiscardPixels(GlDrawableBuffer *buffer, GlDrawable *drawable);

// Calls __wglDiscardPixels when a lock procedure leaves without a base.
struct WglDiscardUnlessLocked {
  GlDrawableBuffer *buffer;
  GlDrawable *drawable;
  ~WglDiscardUnlessLocked() {
    if (buffer->base == nullptr) __wglDiscardPixels(buffer, drawable);
  }
};
