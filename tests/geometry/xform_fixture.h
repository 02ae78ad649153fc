// A context for the matrix, viewport and clip-plane tests: allocated through
// the counting allocator, with the constants and the generic matrix
// procedures these commands use, its transform state set up and reset, and
// bound to the calling thread with the immediate table current. The back
// end's viewport and scissor operations are stand-ins that count their calls
// (the viewport one updates the mapping as the real one does).
#pragma once

#include <stdint.h>

#include <array>

#include "core/context.h"

struct XformCounts {
  int pickVertex = 0, applyViewport = 0, applyScissor = 0, computeClipBox = 0;
};

struct DrawableSize {
  int32_t width = 640, height = 480;
  bool yInverted = false;
};

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

// 4x4 matrices in double precision, in the storage order of GlMatrix:
// a point (x, y, z, w) goes to out[j] = x·m[j] + y·m[4+j] + z·m[8+j] + w·m[12+j].
typedef std::array<double, 16> Ref;

Ref RefIdentity();
Ref RefOf(const GlMatrix &m);
// a x b in storage order: a point goes through a, then b.
Ref RefProduct(const Ref &a, const Ref &b);
Ref RefInverse(const Ref &m);  // by Gauss-Jordan with partial pivoting
Ref RefTranspose(const Ref &m);
// OpenGL's matrices for the commands, from their textbook definitions.
Ref RefRotate(double degrees, double x, double y, double z);
Ref RefScale(double x, double y, double z);
Ref RefTranslate(double x, double y, double z);
Ref RefFrustum(double l, double r, double b, double t, double n, double f);
Ref RefOrtho(double l, double r, double b, double t, double n, double f);
std::array<double, 4> RefApply(const Ref &m, const std::array<double, 4> &v);

// Largest |got - want| / (1 + |want|) over the elements.
double RelativeError(const GlMatrix &got, const Ref &want);
