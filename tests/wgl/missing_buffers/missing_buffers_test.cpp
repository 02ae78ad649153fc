// Drawing when a buffer is missing or no longer matches the drawable: no
// colour buffer, a bitmap without pixels or with smaller ones, a format
// number that names another format after a display change, a device context
// and bitmap deleted under a current context, windows above the screen or too
// large to have buffers for. Each is drawn on both devices; where a device
// offers no such format it is asked and refuses.
#include <string.h>

#include "platform/control.h"
#include "tests/wgl/missing_buffers/missing_fixture.h"

namespace {

class MissingBuffers : public MissingBuffersTest,
                       public ::testing::WithParamInterface<E2eDriver> {
 protected:
  E2eDriver Device() const override { return GetParam(); }

  // Sets the first format that meets `needs` on a bitmap's DC; *format 0
  // when the device offers none, which only the SiS device may do.
  void SetBitmapFormat(HDC hdc, const FormatNeeds &needs, int *format) {
    PIXELFORMATDESCRIPTOR pfd;
    *format = FindFormatFor(hdc, needs, &pfd);
    if (*format == 0) {
      EXPECT_FALSE(Soft()) << "the software-only device offers " << needs.colorBits
                           << "-bit bitmaps of pixel type " << int(needs.pixelType);
      return;
    }
    ASSERT_TRUE(SetPixelFormat(hdc, *format, &pfd));
  }
};

void Quad(float z) {
  glBegin(GL_QUADS);
  glVertex3f(-1, -1, z);
  glVertex3f(1, -1, z);
  glVertex3f(1, 1, z);
  glVertex3f(-1, 1, z);
  glEnd();
}

void Triangle() {
  glBegin(GL_TRIANGLES);
  glVertex2f(-1, -1);
  glVertex2f(1, -1);
  glVertex2f(0, 1);
  glEnd();
}

// Without a colour buffer nothing is coloured, but the depth buffer is
// written: a later, farther quad drawn into the window fails the test.
TEST_P(MissingBuffers, DrawBufferNoneWritesDepthButNoColour) {
  GlWindow w;
  ASSERT_TRUE(OpenWindowWithEverything(40, 40, 64, 48, false, &w));
  ClearGreen(w);
  glClearDepth(1.0);
  glClear(GL_DEPTH_BUFFER_BIT);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glDrawBuffer(GL_NONE);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  glColor3f(1, 0, 0);
  Quad(-0.5f);
  glRectf(-1, -1, 1, 1);
  glDrawBuffer(GL_FRONT);
  glColor3f(0, 0, 1);
  Quad(0.5f);
  glFinish();
  EXPECT_TRUE(ShowsGreen(w.hwnd));
}

// A memory DC holding only its stock bitmap has no pixels to draw into: the
// context draws nothing, and draws once a section is selected and it is
// bound again.
TEST_P(MissingBuffers, StockBitmapDrawsNothingUntilASectionIsSelected) {
  HDC hdc = MemoryDC();
  int format = 0;
  ASSERT_NO_FATAL_FAILURE(
      SetBitmapFormat(hdc, {PFD_DRAW_TO_BITMAP, PFD_TYPE_RGBA, 32, false}, &format));
  if (format == 0) return;
  HGLRC context = wglCreateContext(hdc);
  ASSERT_NE(context, nullptr);
  if (wglMakeCurrent(hdc, context)) {
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glRectf(-1, -1, 1, 1);
    glFinish();
  }
  void *pixels = nullptr;
  HBITMAP section = Section(hdc, 32, 8, 4, 0, &pixels);
  ASSERT_NE(section, nullptr);
  HGDIOBJ stock = SelectObject(hdc, section);
  ASSERT_TRUE(wglMakeCurrent(hdc, context));
  glClearColor(0, 1, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glFinish();
  EXPECT_EQ(static_cast<uint32_t *>(pixels)[0] & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(static_cast<uint32_t *>(pixels)[31] & 0xFFFFFF, 0x00FF00u);
  wglMakeCurrent(nullptr, nullptr);
  EXPECT_TRUE(wglDeleteContext(context));
  SelectObject(hdc, stock);
}

// A 16-bit format set on a DC whose section has 8-bit pixels: the section
// is never written past, and is left as it was.
TEST_P(MissingBuffers, SectionWithSmallerPixelsIsLeftAlone) {
  HDC hdc = MemoryDC();
  void *pixels = nullptr;
  HBITMAP section = Section(hdc, 8, 16, 8, 0x5A, &pixels);
  ASSERT_NE(section, nullptr);
  HGDIOBJ stock = SelectObject(hdc, section);
  int format = 0;
  ASSERT_NO_FATAL_FAILURE(
      SetBitmapFormat(hdc, {PFD_DRAW_TO_BITMAP, PFD_TYPE_RGBA, 16, false}, &format));
  if (format == 0) {
    SelectObject(hdc, stock);
    return;
  }
  HGLRC context = wglCreateContext(hdc);
  ASSERT_NE(context, nullptr);
  if (wglMakeCurrent(hdc, context)) {
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    Triangle();
    glFinish();
    wglMakeCurrent(nullptr, nullptr);
  }
  const uint8_t *bytes = static_cast<const uint8_t *>(pixels);
  for (int i = 0; i < 16 * 8; i++) ASSERT_EQ(bytes[i], 0x5A) << "byte " << i;
  EXPECT_TRUE(wglDeleteContext(context));
  SelectObject(hdc, stock);
}

// A display change renumbers the formats. A memory DC keeps the format it was
// given: contexts made on it afterwards draw in that format, whatever its
// number names now.
struct RenumberCase {
  const char *name;
  int fromDisplay, toDisplay;
  BYTE pixelType;
  int bits;
};
const RenumberCase kRenumberCases[] = {
    {"ColorIndex8From16To8", 16, 8, PFD_TYPE_COLORINDEX, 8},
    {"ColorIndex8From8To16", 8, 16, PFD_TYPE_COLORINDEX, 8},
    {"Rgba32From16To8", 16, 8, PFD_TYPE_RGBA, 32},
    {"Rgba32From8To32", 8, 32, PFD_TYPE_RGBA, 32},
    {"Rgba16From16To24", 16, 24, PFD_TYPE_RGBA, 16},
};

TEST_P(MissingBuffers, BitmapKeepsItsFormatAcrossDisplayChanges) {
  for (const RenumberCase &c : kRenumberCases) {
    SCOPED_TRACE(c.name);
    SetDisplay(c.fromDisplay);
    HDC hdc = MemoryDC();
    void *pixels = nullptr;
    HBITMAP section = Section(hdc, c.bits, 24, 12, 0x5A, &pixels);
    ASSERT_NE(section, nullptr);
    HGDIOBJ stock = SelectObject(hdc, section);
    int format = 0;
    ASSERT_NO_FATAL_FAILURE(
        SetBitmapFormat(hdc, {PFD_DRAW_TO_BITMAP, c.pixelType, c.bits, false}, &format));
    if (format == 0) {
      SelectObject(hdc, stock);
      continue;
    }
    HGLRC before = wglCreateContext(hdc);
    ASSERT_NE(before, nullptr);
    SetDisplay(c.toDisplay);
    DesktopPumpMessages();
    PIXELFORMATDESCRIPTOR now;
    DescribePixelFormat(hdc, format, sizeof now, &now);
    HGLRC after = wglCreateContext(hdc);
    for (HGLRC context : {before, after}) {
      if (context == nullptr || !wglMakeCurrent(hdc, context)) continue;
      glClearColor(1, 1, 1, 1);
      glClearIndex(255);
      glClear(GL_COLOR_BUFFER_BIT);
      glRectf(-1, -1, 1, 1);
      Triangle();
      glFinish();
      wglMakeCurrent(nullptr, nullptr);
      // The whole section was cleared in its own pixel size: its last byte
      // as its first pixel's.
      const uint8_t *bytes = static_cast<const uint8_t *>(pixels);
      const int rowBytes = ((24 * c.bits + 31) / 32) * 4;
      EXPECT_NE(bytes[rowBytes * 12 - 1], 0x5A) << "format " << format << " now of "
                                                << int(now.cColorBits) << " bits";
      EXPECT_EQ(bytes[rowBytes * 12 - 1], bytes[c.bits / 8 - 1]);
    }
    if (after) {
      EXPECT_TRUE(wglDeleteContext(after));
    }
    EXPECT_TRUE(wglDeleteContext(before));
    SelectObject(hdc, stock);
  }
}

// The bitmap selected in a current context's DC cannot be deleted; once the
// DC and then the bitmap are gone the context draws nothing.
TEST_P(MissingBuffers, DeletedDCAndBitmapAreNotDrawnInto) {
  HDC hdc = CreateCompatibleDC(nullptr);
  ASSERT_NE(hdc, nullptr);
  void *pixels = nullptr;
  HBITMAP section = Section(hdc, 32, 32, 16, 0, &pixels);
  ASSERT_NE(section, nullptr);
  SelectObject(hdc, section);
  int format = 0;
  ASSERT_NO_FATAL_FAILURE(
      SetBitmapFormat(hdc, {PFD_DRAW_TO_BITMAP, PFD_TYPE_RGBA, 32, false}, &format));
  if (format == 0) {
    DeleteDC(hdc);
    return;
  }
  HGLRC context = wglCreateContext(hdc);
  ASSERT_NE(context, nullptr);
  ASSERT_TRUE(wglMakeCurrent(hdc, context));
  glClear(GL_COLOR_BUFFER_BIT);
  glFinish();
  EXPECT_FALSE(DeleteObject(section)) << "a selected bitmap stays";
  ASSERT_TRUE(DeleteDC(hdc));
  ASSERT_TRUE(DeleteObject(section));
  sections_.clear();
  glClearColor(0, 1, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glRectf(-1, -1, 1, 1);
  glFinish();
  wglMakeCurrent(nullptr, nullptr);
  EXPECT_TRUE(wglDeleteContext(context));
}

// A single-buffered window whose top lies above the screen: the
// accumulation buffer loads only what the screen has, and the visible part
// comes back unchanged.
TEST_P(MissingBuffers, AccumulationOfAWindowAboveTheScreen) {
  GlWindow w;
  ASSERT_TRUE(OpenWindowWithEverything(100, -30, 64, 48, false, &w));
  ClearGreen(w);
  glAccum(GL_LOAD, 1.0f);
  glAccum(GL_MULT, 1.0f);
  glAccum(GL_RETURN, 1.0f);
  glFinish();
  EXPECT_TRUE(ShowsGreen(w.hwnd));
}

// A window too large for its buffers' sizes to fit 32 bits: nothing is drawn
// while it is so large, and it draws again once it is small.
TEST_P(MissingBuffers, WindowTooLargeForItsBuffersDrawsNothing) {
  for (const bool doubleBuffer : {false, true}) {
    SCOPED_TRACE(doubleBuffer ? "double-buffered" : "single-buffered");
    GlWindow w;
    ASSERT_TRUE(OpenWindowWithEverything(10, 10, 64, 48, doubleBuffer, &w));
    ASSERT_TRUE(MoveWindow(w.hwnd, 10, 10, 65536, 65536, FALSE));
    DesktopPumpMessages();
    DrawIntoEveryBuffer(w);
    glAccum(GL_MULT, 0.5f);
    glClear(GL_ACCUM_BUFFER_BIT);
    glFinish();
    ASSERT_TRUE(MoveWindow(w.hwnd, 10, 10, 64, 48, FALSE));
    DesktopPumpMessages();
    ClearGreen(w);
    EXPECT_TRUE(ShowsGreen(w.hwnd));
    wglMakeCurrent(nullptr, nullptr);
  }
}

// A context keeps its destroyed window across display changes; binding a
// second one, on a window wholly off the screen, releases it, and the second
// one draws.
TEST_P(MissingBuffers, DestroyedWindowReleasedByAnotherBinding) {
  GlWindow first;
  ASSERT_TRUE(OpenWindowWithEverything(20, 20, 64, 48, true, &first));
  DrawIntoEveryBuffer(first);
  DestroyWindow(first.hwnd);
  ReleaseDC(first.hwnd, first.hdc);
  opened_[0].hwnd = nullptr;
  for (const int bits : {32, 16}) {
    if (!Soft() && bits != 16) continue;
    SetDisplay(bits);
    DesktopPumpMessages();
    DrawIntoEveryBuffer(GlWindow{});
  }
  GlWindow second;
  ASSERT_TRUE(OpenWindowWithEverything(2000, 2000, 64, 48, true, &second));
  DrawIntoEveryBuffer(second);
  glRectf(-1, -1, 1, 1);
  glFinish();
  ASSERT_TRUE(MoveWindow(second.hwnd, 30, 30, 64, 48, FALSE));
  DesktopPumpMessages();
  ClearGreen(second);
  EXPECT_TRUE(ShowsGreen(second.hwnd));
}

INSTANTIATE_TEST_SUITE_P(Devices, MissingBuffers,
                         ::testing::Values(E2eDriver::kSoft, E2eDriver::kSiS), DeviceName);

}  // namespace
