// A process attached to the driver for one test: a test device with a fixed
// list of pixel formats, an "opengl32.dll" answering GDI's pixel-format
// questions, windows and a memory DC with their formats set, and helpers for
// reading last-error values and binding a context on another thread.
#pragma once

#include <gtest/gtest.h>
#include <stdint.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "core/device.h"
#include "wgl/driver_interface.h"
#include "platform/gdi.h"

struct WglContext;
struct WglDrawablePrivate;

namespace wgl_test {

// The test device's formats, numbered from 1.
enum TestFormat : int {
  kWindowDouble = 1,  // RGB 5-6-5, double-buffered, 16-bit depth, windows
  kBitmapSingle = 2,  // RGB 5-6-5, single-buffered, 16-bit depth, bitmaps
  kWindowSingle = 3,  // RGB 5-6-5, single-buffered, no depth, windows
  kFormatCount = 3,
};

// Switches of the test device, cleared by every fixture.
struct DeviceSwitches {
  bool refuseCreate = false;       // createContext gives none
  bool refuseMakeCurrent = false;  // contexts it makes refuse to bind
};
extern DeviceSwitches gSwitches;

const PIXELFORMATDESCRIPTOR &TestDescriptor(int format);

// Runs `handle` bound to `hdc` on a thread of its own until destroyed.
class OtherThreadBinding {
 public:
  OtherThreadBinding(HDC hdc, DHGLRC handle);
  ~OtherThreadBinding();
  bool bound() const { return bound_; }

 private:
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool ready_ = false;
  bool bound_ = false;
  bool finish_ = false;
};

class EntriesTest : public ::testing::Test {
 public:
  void SetUp() override;
  void TearDown() override;

  // A context on a DC whose format is set; fails the test when none.
  DHGLRC Create(HDC hdc);
  // A handle that named a context now deleted.
  DHGLRC StaleHandle();
  bool Bind(HDC hdc, DHGLRC handle);

  static WglContext *Record(DHGLRC handle);
  static WglDrawablePrivate *Drawable(HDC hdc);

  HWND window_ = nullptr;       // 64 x 48 at (10, 20), kWindowDouble
  HDC windowDC_ = nullptr;
  HWND singleWindow_ = nullptr; // kWindowSingle
  HDC singleDC_ = nullptr;
  HWND bareWindow_ = nullptr;   // no pixel format
  HDC bareDC_ = nullptr;
  HDC memoryDC_ = nullptr;      // a 32 x 32 DIB section, kBitmapSingle
  HBITMAP bitmap_ = nullptr;
  HDC bareMemoryDC_ = nullptr;  // no pixel format
  HDC screenDC_ = nullptr;      // GetDC(0): no window, no format

 private:
  GlDevice *savedDevice_ = nullptr;
};

// The last-error value and whether the debugger output names the failure as
// "System Error: (code):name".
struct ErrorSeen {
  DWORD lastError;
  std::string output;
};
void ClearErrors();
ErrorSeen TakeErrors();
std::string SystemErrorText(DWORD code, const char *name);

}  // namespace wgl_test
