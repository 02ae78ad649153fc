// A context for the matrix, viewport and clip-plane tests: allocated through
// the counting allocator, with the constants and the generic matrix
// procedures these commands use, its transform state set up and reset, and
// bound to the calling thread with the immediate table current. The back
// end's viewport and scissor operations are stand-ins that count their calls
// (the viewport one updates the mapping as the real one does).
#pragma once

#include <stdint.h>

#include "core/context.h"

struct XformCounts {
  int pickVertex = 0, applyViewport = 0, applyScissor = 0, computeClipBox = 0;
};

struct DrawableSize {
  int32_t width = 640, height = 480;
  bool yInverted = false;
};

const DrawableSize kNormal{640, 480, false}, kTopDown{640, 480, true};
// What the fixture sets as the viewport epsilon: 2^-11 for the bias 6144.
constexpr float kViewportEpsilon = 1.0f / 2048;

class XformContext {
 public:
  explicit XformContext(DrawableSize size = DrawableSize());
  ~XformContext();
  XformContext(const XformContext &) = delete;
  XformContext &operator=(const XformContext &) = delete;

  GlContext *gc() const { return gc_; }
  GlTransformMachine &tm() const { return gc_->transform; }
  // Reads and clears the recorded error.
  GLenum error();
  static XformCounts &counts();

 private:
  GlContext *gc_;
};
