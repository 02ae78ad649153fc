// What the missing-buffer cases share: each runs on both devices through the
// loader, draws into every buffer a format has, and reads back what the
// screen or the application's bitmap shows.
#pragma once

#include <GL/gl.h>

#include <vector>

#include "tests/wgl/e2e/e2e_fixture.h"

// What a drawable must offer besides colour.
struct FormatNeeds {
  DWORD flags;       // PFD_DRAW_TO_WINDOW or PFD_DRAW_TO_BITMAP, PFD_DOUBLEBUFFER
  BYTE pixelType;    // PFD_TYPE_RGBA or PFD_TYPE_COLORINDEX
  int colorBits;     // 0: any
  bool ancillary;    // depth, stencil and accumulation buffers
};

class MissingBuffersTest : public E2eTest {
 protected:
  // The device the test runs on.
  virtual E2eDriver Device() const = 0;
  void SetUp() override;
  void TearDown() override;

  // Deletes the contexts and destroys the windows opened so far.
  void CloseWindows();

  bool Soft() const { return Device() == E2eDriver::kSoft; }

  // The first format that meets the needs (the double-buffer bit exactly as
  // asked); 0 when there is none.
  int FindFormatFor(HDC hdc, const FormatNeeds &needs, PIXELFORMATDESCRIPTOR *pfd);
  // A window at (x, y) of the display's depth with every ancillary buffer,
  // its format set and a context made; bound when `bind`. False (with a
  // failure added) when a step fails.
  bool OpenWindowWithEverything(int x, int y, int width, int height, bool doubleBuffer,
                                GlWindow *window, bool bind = true);
  // A DIB section of `bits` bits a pixel (8 bits: with a grey colour table),
  // top-down, every byte set to `fill`.
  HBITMAP Section(HDC hdc, int bits, int width, int height, uint8_t fill, void **pixels);

  // Clears every buffer, draws a depth- and stencil-tested fan, runs the
  // accumulation operations and shows the result: the drawing a missing
  // buffer must survive.
  void DrawIntoEveryBuffer(const GlWindow &window);
  // Clears the colour buffer to pure green and shows it.
  void ClearGreen(const GlWindow &window);
  // Every pixel of the window that lies on the screen is green.
  ::testing::AssertionResult ShowsGreen(HWND hwnd);

  std::vector<GlWindow> opened_;
  std::vector<HBITMAP> sections_;
};

std::string DeviceName(const ::testing::TestParamInfo<E2eDriver> &info);
