// Contexts made by the core's creator on the counting allocator, bound to a
// test window: a drawable with its own mutex, size, origin and row order,
// and a window-system record that takes the tables handed to the operating
// system and carries the pending window changes.
#pragma once

#include <gtest/gtest.h>

#include <stddef.h>
#include <stdint.h>

#include <functional>
#include <memory>
#include <vector>

#include "core/context.h"
#include "tests/support/pixel_memory.h"
#include "wgl/wgl_context.h"
#include "wgl/wgl_drawable.h"

namespace life_test {

// The window a context is bound to. The drawable's size and origin are what
// the window-system layer reports for it.
class TestWindow {
 public:
  TestWindow(int32_t width, int32_t height, bool yInverted = false);
  ~TestWindow();
  TestWindow(const TestWindow &) = delete;
  TestWindow &operator=(const TestWindow &) = delete;

  GlDrawable *drawable() { return &drawable_; }
  // A new size (and origin) as the layer would record it.
  void Resize(int32_t width, int32_t height, int32_t x = 0, int32_t y = 0);

  // Gives one of the drawable's buffers (&GlDrawable::front, ::back,
  // ::accum, ::depth, ::stencil) memory of the window's size, filled with
  // `fill`; the slot's procedures are kept. The memory lives as long as the
  // window. A `pitch` (in pixels) other than 0 spaces the rows apart.
  PixelMemory *AttachMemory(GlDrawableBuffer GlDrawable::*slot, uint32_t bitsPerPixel,
                            uint32_t elementSize = 0, uint8_t fill = 0, int32_t pitch = 0);
  // The visible rectangles of the window (drawable coordinates, ends exclusive);
  // none at first: the window owns no pixel.
  void SetClipRects(const std::vector<GlRect> &rects);

 private:
  GlDrawable drawable_{};
  GlModes modes_{};
  std::vector<std::unique_ptr<PixelMemory>> memory_;
  std::vector<GlRect> clipRects_;
};

// Everything a test needs around the contexts it creates: the imports
// (counting allocator, the test window as drawable) and the window-system
// record. One per test; counters start at zero.
class LifeTest : public testing::Test {
 public:
  // Runs `work` on a new thread and waits for it.
  static void OnThread(const std::function<void()> &work);
  // Bytes of a block the counting allocator handed out since SetUp.
  static size_t BlockSize(const void *block);
  // Tables handed to the operating system since the last call, in order.
  static std::vector<const GlDispatchState *> TakeHanded();

 protected:
  void SetUp() override;
  void TearDown() override;

  // Created through the core's creator with the fixture's imports.
  GlContext *Create(const GlModes &modes);
  // Created and bound on the calling thread; null when either fails.
  GlContext *CreateBound(const GlModes &modes);
  // Destroys the context and expects nothing left allocated.
  static void Destroy(GlContext *gc);
  // The window getDrawablePrivate and getDrawableSize report; null: no
  // drawable, and no size either.
  void UseWindow(TestWindow *window);

  WglContext wgl{};
  GlImports imports{};
};

// A context of the core's creator bound to a 64 x 48 test window for the
// whole test (RGBA 5-6-5 unless Use asks for other modes).
class BoundContextTest : public LifeTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Replaces the bound context by a new one of these modes, bound.
  void Use(const GlModes &modes);
  // What a drawing command does first: validation when it is pending.
  void ValidatePending();
  // Run after every binding, and before the context is released.
  virtual void Bound() {}
  virtual void Unbinding() {}

  std::unique_ptr<TestWindow> window;
  GlContext *gc = nullptr;

 private:
  void Drop();
};

// Makes gc current on the calling thread through its exports, and releases
// it; each true when the back end agreed.
bool Bind(GlContext *gc);
bool Release(GlContext *gc);

}  // namespace life_test
