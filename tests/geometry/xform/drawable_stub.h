// A drawable bound to an XformContext, with a depth buffer whose reversed
// flag the test sets (what the vertex pipeline computes must not depend on
// it), and a lock that counts and can deliver one pending resize (as the
// window-system layer does when it takes the lock).
#pragma once

#include <stdint.h>
#include <string.h>

#include "core/context.h"
#include "geometry/s_xform.h"
#include "raster/s_buffers.h"
#include "wgl/wgl_drawable.h"

class DrawableStub {
 public:
  explicit DrawableStub(GlContext *gc) : gc_(gc) {
    memset(&drawable_, 0, sizeof drawable_);
    drawable_.lock = [](GlDrawable *, GlContext *gc) { self().Lock(gc); };
    drawable_.unlock = [](GlDrawable *) { self().unlocks++; };
    drawable_.depth.corePrivate = &depth_;
    drawable_.width = gc->constants.width;
    drawable_.height = gc->constants.height;
    drawable_.yInverted = gc->constants.yInverted;
    gc->drawablePrivate = &drawable_;
    gc->modes.haveDepthBuffer = 1;
    self_ = this;
  }
  ~DrawableStub() {
    gc_->drawablePrivate = nullptr;
    self_ = nullptr;
  }
  DrawableStub(const DrawableStub &) = delete;
  DrawableStub &operator=(const DrawableStub &) = delete;

  void setReversed(bool reversed) { depth_.reverse = reversed; }
  void resizeAtNextLock(int32_t width, int32_t height) {
    pendingWidth_ = width;
    pendingHeight_ = height;
    pending_ = true;
  }
  const GlRect &coreClipRect() const { return drawable_.coreClipRect; }
  bool coreClipRectValid() const { return drawable_.coreClipRectValid; }

  int locks = 0, unlocks = 0;
  // What the depth range held while the resize ran.
  GLfloat zScaleDuringResize = 0;

 private:
  static DrawableStub &self() { return *self_; }
  void Lock(GlContext *gc) {
    locks++;
    if (!pending_) return;
    pending_ = false;  // cleared first: the delivery takes the lock again
    // What a size change does: the new size, the clip box, the viewport,
    // and (as a fast depth clear may) the depth range re-applied.
    gc->constants.width = pendingWidth_;
    gc->constants.height = pendingHeight_;
    gc->procs.computeClipBox(gc);
    __glUpdateViewport(gc);
    __glUpdateDepthRange(gc);
    zScaleDuringResize = gc->state.viewport.zScale;
  }

  static inline DrawableStub *self_ = nullptr;
  GlContext *gc_;
  GlDrawable drawable_;
  GlDepthBufferPrivate depth_{};
  bool pending_ = false;
  int32_t pendingWidth_ = 0, pendingHeight_ = 0;
};
