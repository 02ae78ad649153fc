// What the buffer-kind tests share: a drawable record made by hand (zeroed,
// its mutex, its allocators counting live blocks and failing on demand), a
// window or a memory DC with a DIB section to hang it on, the layer's error
// text, and a stand-in "DCIMAN32.DLL" that counts access calls.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/platform/windows/desktop_fixture.h"
#include "wgl/wgl_dci.h"
#include "wgl/wgl_dib.h"
#include "wgl/wgl_drawable.h"

// The hand-made drawable: a zeroed record with its view wired up.
struct TestDrawable {
  WglDrawablePrivate record;
  GlModes modes;
  GlDrawable *gl() { return &record.drawable; }
};

// Allocations through the drawable's allocators that are still live, and a
// countdown after which they fail (negative: never).
extern int gLiveBlocks;
extern int gAllocationsBeforeFailure;

class KindTest : public DesktopTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A drawable on `hdc` (a window's DC with `hwnd`, or a memory DC).
  TestDrawable *Drawable(HDC hdc, HWND hwnd, const GlModes &modes);
  // A window drawable whose rectangle and core clip rectangle are the
  // window's client area.
  TestDrawable *WindowDrawable(HWND hwnd, const GlModes &modes);
  // A memory DC with a DIB section of `bitCount` bits selected (negative
  // height: top-down).
  HDC MemoryDCWithDIB(int width, int height, int bitCount, void **bits = nullptr);

  std::vector<TestDrawable *> drawables_;
  std::vector<HDC> memoryDCs_;
  std::vector<HBITMAP> bitmaps_;
  std::vector<std::pair<HWND, HDC>> windowDCs_;
};

// The debugger output since the last clear, and whether it holds the layer's
// error line for `text`.
std::string DebugOutput();
bool ReportedError(const char *text);

// RGBA modes of a visual: colour bits, depth bits, stencil bits, double buffer.
GlModes Modes(uint32_t colorBits, uint32_t depthBits, uint32_t stencilBits, bool doubleBuffer);

// "DCIMAN32.DLL" replaced by one that forwards to the platform and counts.
struct DciCalls {
  int begin = 0, end = 0;
  int beginRefused = 0;  // BeginAccess calls that gave a negative result
};
extern DciCalls gDciCalls;
void InstallCountingDci();
void RestorePlatformDci();
