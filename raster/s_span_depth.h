// What the depth stages share: the depth buffer's words as the span meets
// them, and the stencil operations that follow each depth compare.
#pragma once

#include <stdint.h>

#include "core/context.h"
#include "core/drawable.h"
#include "raster/s_depth.h"

namespace span_depth {

// The depth buffer as one span sees it; null rec: no memory is bound.
struct Buffer {
  const GlDepthBufferPrivate *rec;
  uint32_t scale;
  uint8_t *z;        // the element of the next pixel
  int32_t stride;    // bytes between neighbouring elements
  explicit Buffer(GlContext *gc)
      : rec(__glDepthPrivate(&gc->depthBuffer)),
        scale(gc->depthBuffer.scale),
        z(static_cast<uint8_t *>(gc->polygon.shader.zbuf)),
        stride(0) {
    if (rec) stride = int32_t(gc->depthBuffer.buf.drawableBuf->elementSize);
    if (z == nullptr) rec = nullptr;
  }
  // The word the buffer's own store would write for window z.
  uint32_t Stored(uint32_t depth) const { return __glDepthStoredValue(rec, scale, depth); }
};

// Stencil bytes after each depth compare: none, or the depth-fail and
// depth-pass operations.
struct NoStencil {
  explicit NoStencil(GlContext *) {}
  bool Ready() const { return true; }
  void After(bool) {}
  void Skip() {}
};

struct StencilOps {
  uint8_t *s;
  const uint8_t *fail, *pass;
  explicit StencilOps(GlContext *gc)
      : s(gc->polygon.shader.sbuf),
        fail(gc->stencilBuffer.depthFailMap),
        pass(gc->stencilBuffer.depthPassMap) {}
  // Maps not built yet mean no stencil work.
  bool Ready() const { return s && fail && pass; }
  void After(bool passed) {
    *s = passed ? pass[*s] : fail[*s];
    s++;
  }
  void Skip() { s++; }
};

}  // namespace span_depth
