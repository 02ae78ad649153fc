// A small world for drawable tests: the layer's global lock, a device whose
// choosers only record that they ran, windows and memory DCs, and the heap
// as it was when the test began.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "core/device.h"
#include "platform/control.h"
#include "platform/vlxdesktop.h"
#include "wgl/wgl_drawable_list.h"
#include "wgl/wgl_global_lock.h"

namespace drawable_test {

// Modes with the buffers asked for; colour 16 bits (5-6-5).
GlModes Modes(bool doubleBuffer, bool accum, bool depth, bool stencil, uint32_t depthBits = 16);

struct ChooserCall {
  WglDrawablePrivate *drawable;
  const GlModes *modes;
  bool forBitmap;
};

// What the recording device's choosers saw, and the frees it was asked for.
extern std::vector<ChooserCall> gChooserCalls;
extern std::vector<WglDrawablePrivate *> gFreedBuffers;
extern std::vector<GlDrawable *> gFreedPrivate;

class DrawableTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A window of the calling thread, destroyed with the test.
  HWND Window(int x, int y, int width, int height);
  // A memory DC holding a new DIB section (top-down when height < 0).
  HDC BitmapDC(int width, int height, int bitCount);
  // Created and checked; the list frees it at the end of the test.
  WglDrawablePrivate *Create(HDC hdc, HWND hwnd, const GlModes &modes);
  // Global-heap blocks held now, less those held at the last mark.
  void MarkHeap();
  int LiveBlocksSinceMark() const;

  GlDevice device_ = {};

 private:
  GlDevice *savedDevice_ = nullptr;
  std::vector<HWND> windows_;
  std::vector<HDC> memoryDCs_;
  std::vector<HBITMAP> bitmaps_;
  unsigned markBlocks_ = 0;
};

}  // namespace drawable_test
