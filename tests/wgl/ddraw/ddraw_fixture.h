// A window drawn through the DirectDraw set, built by hand: the drawable
// record with its mutex and allocators, the primary, back and depth buffers,
// the process's DirectDraw object, and ways to read the screen and the
// messages.
#pragma once

#include <gtest/gtest.h>

#include <stdint.h>

#include <string>

#include "platform/ddraw.h"
#include "wgl/wgl_ddraw.h"

namespace wgl_ddraw_test {

// Set up: the 16-bit 1024 x 768 screen, no faults, no messages, the global
// lock, the device's flags as given, and the DirectDraw object opened.
class DDrawTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A window at (x, y) of width x height with its drawable record and the
  // three DirectDraw buffers initialised (not yet updated). depthBits 0:
  // no depth buffer.
  WglDrawablePrivate *MakeWindow(int x, int y, int width, int height, uint32_t depthBits = 16);
  // Updates every buffer the window has to its size, as a resize does;
  // false when one failed.
  bool Update(WglDrawablePrivate *window);
  // Moves and resizes the window and its record.
  void Move(WglDrawablePrivate *window, int x, int y, int width, int height);
  // The whole core rectangle.
  void ClipToWindow(WglDrawablePrivate *window);
  void FreeWindow(WglDrawablePrivate *window);
  // Frees every window made so far.
  void FreeWindows();


 public:
  static void SetDeviceFlags(uint32_t flags);
  static std::string Messages();
  static size_t Count(const std::string &text, const std::string &what);
  // The description of a buffer's surface.
  static DDSURFACEDESC Describe(const GlDrawableBuffer &buffer);
  // The screen's bytes: row y, starting at byte x * 2.
  static uint8_t *Screen(int x, int y);
  static int32_t ScreenPitch();
  // The 16-bit screen pixel at (x, y).
  static uint16_t ScreenAt(int x, int y);
  // Writes every pixel of the back buffer: pattern(x, y), or one value.
  static void FillBack(WglDrawablePrivate *window, uint16_t (*pattern)(int x, int y));
  static void FillBack(WglDrawablePrivate *window, uint16_t value);

 protected:

  WglDrawablePrivate *windows_[8] = {};
  int windowCount_ = 0;
  uint32_t savedFlags_ = 0;
  bool opened_ = false;
};

}  // namespace wgl_ddraw_test
