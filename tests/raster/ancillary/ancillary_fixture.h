// A zeroed context with what the depth, stencil and accumulation buffers
// read: window bias and size, the clip box, a drawable whose lock and
// allocator count their calls, and buffer locks that log their masks.
#pragma once

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "core/context.h"
#include "tests/core/services/service_context.h"
#include "tests/support/pixel_memory.h"

namespace ancillary_test {

constexpr int32_t kBias = 6144;

class AncillaryContext {
 public:
  // `drawableAllocates`: the drawable has its own malloc and free.
  AncillaryContext(int32_t width, int32_t height, bool drawableAllocates = true);
  ~AncillaryContext();
  AncillaryContext(const AncillaryContext &) = delete;
  AncillaryContext &operator=(const AncillaryContext &) = delete;

  GlContext *gc() const { return ctx_.gc(); }
  GlDrawable *drawable() { return &drawable_; }
  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

  // The clip box in window pixels (unbiased, end exclusive); the whole
  // window by default.
  void SetClipBox(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
  void SetWholeWindow() { SetClipBox(0, 0, width_, height_); }

  // "lock 32", "unlock 32", ... since the last call.
  std::vector<std::string> TakeBufferLocks();
  int drawableLocks = 0, drawableUnlocks = 0;
  // Run once by the next drawable lock, as the window-system layer delivers
  // a pending resize there.
  std::function<void()> atNextDrawableLock;
  // Blocks the drawables' allocator holds (all fixtures'), and whether it
  // refuses every request.
  static int drawableBlocks;
  static bool drawableRefuses;

 private:
  static AncillaryContext *Of(const GlContext *gc);
  static AncillaryContext *Of(const GlDrawable *drawable);
  ServiceContext ctx_;
  GlDrawable drawable_{};
  int32_t width_, height_;
  std::vector<std::string> bufferLocks_;
};

// A depth buffer object of `bits` (the visual's and the memory's bits per
// pixel) bound to its own memory, validated for the state in force.
class DepthBufferFixture {
 public:
  DepthBufferFixture(AncillaryContext *ctx, uint32_t bits);
  ~DepthBufferFixture();
  DepthBufferFixture(const DepthBufferFixture &) = delete;
  DepthBufferFixture &operator=(const DepthBufferFixture &) = delete;

  GlDepthBuffer *dfb() { return &ctx_->gc()->depthBuffer; }
  GlDepthBufferPrivate *rec();
  PixelMemory &memory() { return memory_; }
  // The depth picker, as validation runs it.
  void Validate();
  // Validates when something asked for it, as the next drawing command would.
  void ValidateIfAsked();
  // Test-and-store at window pixel (x, y) (unbiased).
  bool Store(int32_t x, int32_t y, uint32_t z);
  uint32_t Fetch(int32_t x, int32_t y);
  void Clear();

 private:
  AncillaryContext *ctx_;
  PixelMemory memory_;
};

}  // namespace ancillary_test
