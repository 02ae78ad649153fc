// The SiS device through the whole road when video memory or its surfaces go
// away: textures that find no room fall back to software and equal the
// software-only device exactly; evicted textures come back and are drawn by
// the chip again; after a display-mode change or a lost back buffer the next
// frame is the chip's and equals the frame before; a frame whose back-buffer
// lock fails sends nothing to the chip. Every frame also asserts that the
// model recorded no violation.
#include <gtest/gtest.h>
#include <stdio.h>

#include <GL/gl.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/control.h"
#include "platform/sis6326.h"
#include "platform/vlxdesktop.h"
#include "tests/sis/hw_states/state_road.h"
#include "tests/sis/hw_states/state_table.h"

namespace {

using hwstates::kHeight;
using hwstates::kWidth;

constexpr int kTextureSide = 128;  // 64 KiB of 32-bit texels

// What the model drew since record entry `from`.
struct ChipWork {
  size_t primitives = 0, textured = 0, fills = 0;
};

ChipWork WorkSince(size_t from) {
  std::vector<SiS6326Drawn> drawn(PlatformSiS6326Drawn(nullptr, 0));
  drawn.resize(PlatformSiS6326Drawn(drawn.data(), drawn.size()));
  ChipWork w;
  for (size_t i = from; i < drawn.size(); i++) {
    if (drawn[i].kind == SIS6326_EVENT_FILL_2D) {
      w.fills++;
    } else {
      w.primitives++;
      if ((drawn[i].command & 0x6700) == 0x6600 || drawn[i].command == 0x200) w.textured++;
    }
  }
  return w;
}

std::string FirstViolation() {
  SiS6326Violation v[1];
  return PlatformSiS6326Violations(v, 1) ? std::string(v[0].rule) + ": " + v[0].what : "";
}

class Recovery : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(hwstates::SetDisplay(16));
    PlatformSiS6326SetLogging(FALSE);
    PlatformSiS6326ClearViolations();
    hwnd = DesktopCreateWindow(24, 24, kWidth, kHeight);
    ASSERT_NE(hwnd, nullptr);
    hdc = GetDC(hwnd);
    PIXELFORMATDESCRIPTOR wanted{};
    wanted.nSize = sizeof wanted;
    wanted.nVersion = 1;
    wanted.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    wanted.iPixelType = PFD_TYPE_RGBA;
    wanted.cColorBits = 16;
    wanted.cDepthBits = 16;
    const int format = ChoosePixelFormat(hdc, &wanted);
    PIXELFORMATDESCRIPTOR got{};
    ASSERT_TRUE(format && DescribePixelFormat(hdc, format, sizeof got, &got) &&
                SetPixelFormat(hdc, format, &got));
    context = wglCreateContext(hdc);
    ASSERT_NE(context, nullptr);
    ASSERT_TRUE(wglMakeCurrent(hdc, context));
    ASSERT_STREQ(reinterpret_cast<const char *>(glGetString(GL_VENDOR)), "SiS");
  }
  void TearDown() override {
    PlatformClearFaults();
    hwstates::ReleaseVideoMemoryFiller();
    wglMakeCurrent(nullptr, nullptr);
    if (context) wglDeleteContext(context);
    if (hdc) ReleaseDC(hwnd, hdc);
    if (hwnd) DestroyWindow(hwnd);
    EXPECT_EQ(FirstViolation(), "");
  }

  // A texture of its own pattern, linear, not mipmapped.
  GLuint MakeTexture(int seed) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    std::vector<GLubyte> texels(size_t(kTextureSide) * kTextureSide * 4);
    for (size_t i = 0; i < texels.size(); i++) texels[i] = GLubyte(i * 7 + size_t(seed) * 91 + i / 509);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kTextureSide, kTextureSide, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
  }

  // A frame: black clear, a textured quad with `texture` (0: none) and a
  // smooth triangle; swapped and read from the screen.
  std::vector<uint32_t> Frame(GLuint texture) {
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWidth, 0, kHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DITHER);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (texture) {
      glBindTexture(GL_TEXTURE_2D, texture);
      glEnable(GL_TEXTURE_2D);
      glBegin(GL_QUADS);
      glColor3f(1, 1, 1);
      glTexCoord2f(0.1f, 0.1f), glVertex2f(2.5f, 2.5f);
      glTexCoord2f(0.6f, 0.1f), glVertex2f(30.5f, 3.5f);
      glTexCoord2f(0.6f, 0.7f), glVertex2f(29.5f, 29.5f);
      glTexCoord2f(0.1f, 0.7f), glVertex2f(3.5f, 28.5f);
      glEnd();
      glDisable(GL_TEXTURE_2D);
    }
    glBegin(GL_TRIANGLES);
    glColor3f(1, 0, 0), glVertex2f(20.2f, 4.1f);
    glColor3f(0, 1, 0), glVertex2f(38.7f, 9.3f);
    glColor3f(0, 0, 1), glVertex2f(27.4f, 30.6f);
    glEnd();
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(SwapBuffers(hdc));
    std::vector<uint32_t> argb(size_t(kWidth) * kHeight);
    EXPECT_TRUE(DesktopReadWindow(hwnd, 0, 0, kWidth, kHeight, argb.data()));
    return argb;
  }

  HWND hwnd = nullptr;
  HDC hdc = nullptr;
  HGLRC context = nullptr;
};

// With no room for its texture the textured quad falls back to software and
// equals the software-only device's frame pixel for pixel (the clear is
// black, which the 2D engine fills exactly).
TEST_F(Recovery, ExhaustedVideoMemoryFallsBackToSoftware) {
  const hwstates::StateRow *row = hwstates::FindState("texture_rgba_modulate_linear_black");
  ASSERT_NE(row, nullptr);
  std::ostringstream command;
  command << "VLX_GL_DRIVER='" << VLX_SOFT_DRIVER_PATH << "' '" << VLX_STATE_FRAME_PATH
          << "' 16 " << row->name;
  FILE *pipe = popen(command.str().c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  char vendor[16];
  std::vector<uint32_t> soft(size_t(kWidth) * kHeight);
  const bool read = fread(vendor, sizeof vendor, 1, pipe) == 1 &&
                    fread(soft.data(), sizeof soft[0], soft.size(), pipe) == soft.size();
  ASSERT_EQ(pclose(pipe), 0);
  ASSERT_TRUE(read);

  hwstates::SetTextureRoom(hwstates::TextureRoom::kNone);
  const size_t start = PlatformSiS6326Drawn(nullptr, 0);
  std::vector<uint32_t> hw;
  std::string name, why;
  const bool drawn = hwstates::DrawState(*row, &hw, &name, &why);
  hwstates::SetTextureRoom(hwstates::TextureRoom::kAll);
  ASSERT_TRUE(drawn) << why;
  EXPECT_EQ(name, "SiS");
  const ChipWork work = WorkSince(start);
  EXPECT_EQ(work.primitives, 0u) << "a texture without a surface went to the chip";
  EXPECT_GT(work.fills, 0u);
  EXPECT_TRUE(hw == soft) << "the fallback differs from the software-only device";
}

// Textures evicted for another come back, and the chip draws them as before.
// With video memory full, a texture drawn by the chip while the memory held
// stays the same has taken the surface the other one gave up.
TEST_F(Recovery, EvictedTexturesAreDrawnByTheChipAgain) {
  const GLuint first = MakeTexture(1);
  const std::vector<uint32_t> firstAlone = Frame(first);
  hwstates::FillLocalVideoMemory();
  // Made after the fill: validation makes the bound texture resident.
  const GLuint second = MakeTexture(2);
  const DWORD full = PlatformVideoMemoryUsed(FALSE);
  size_t start = PlatformSiS6326Drawn(nullptr, 0);
  Frame(second);
  EXPECT_GT(WorkSince(start).textured, 0u) << "the second texture was not drawn by the chip";
  EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), full) << "the second texture found free room";
  start = PlatformSiS6326Drawn(nullptr, 0);
  EXPECT_EQ(Frame(first), firstAlone);
  EXPECT_GT(WorkSince(start).textured, 0u) << "the first texture did not come back to the chip";
  EXPECT_EQ(PlatformVideoMemoryUsed(FALSE), full);
}

// A display-mode change loses every surface: the next frame restores or
// re-creates the buffers and the texture and is drawn by the chip again.
TEST_F(Recovery, DisplayModeChangeRestoresBuffersAndTextures) {
  const GLuint texture = MakeTexture(3);
  const std::vector<uint32_t> before = Frame(texture);
  ASSERT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
  DesktopPumpMessages();
  const size_t start = PlatformSiS6326Drawn(nullptr, 0);
  EXPECT_EQ(Frame(texture), before);
  const ChipWork work = WorkSince(start);
  EXPECT_GT(work.textured, 0u);
  EXPECT_GT(work.fills, 0u) << "the clear left the 2D engine";
}

// Surfaces lost without a mode change (another program took the display):
// the back buffer is restored and the next frame is the chip's.
TEST_F(Recovery, LostBackBufferIsRestoredAndDrawnOnTheChip) {
  const GLuint texture = MakeTexture(4);
  const std::vector<uint32_t> before = Frame(texture);
  PlatformLoseSurfaces();
  const size_t start = PlatformSiS6326Drawn(nullptr, 0);
  EXPECT_EQ(Frame(texture), before);
  const ChipWork work = WorkSince(start);
  EXPECT_GT(work.primitives, 0u);
  EXPECT_GT(work.textured, 0u);
}

// A frame whose back-buffer lock fails sends nothing to the chip; the next
// one draws again.
TEST_F(Recovery, FailedBackBufferLockSendsNothing) {
  const std::vector<uint32_t> before = Frame(0);
  PlatformSiS6326SetLogging(TRUE);
  PlatformSiS6326TakeLog(nullptr, 0);
  std::vector<SiS6326Event> drain(1024);
  while (PlatformSiS6326TakeLog(drain.data(), drain.size())) {
  }
  PlatformArmFault({"Lock", "offscreen", 0, 0, 0});
  size_t start = PlatformSiS6326Drawn(nullptr, 0);
  Frame(0);
  EXPECT_GT(PlatformFaultsFired("Lock"), 0u) << "the back buffer was never locked";
  EXPECT_EQ(PlatformSiS6326Drawn(nullptr, 0), start) << "the chip drew";
  size_t sent = 0;
  for (size_t n; (n = PlatformSiS6326TakeLog(drain.data(), drain.size())) != 0;)
    for (size_t i = 0; i < n; i++)
      if (drain[i].kind != SIS6326_EVENT_WAIT && drain[i].kind != SIS6326_EVENT_FIRE) sent++;
  EXPECT_EQ(sent, 0u) << "registers, primitives or fills went to the chip";
  PlatformClearFaults();
  start = PlatformSiS6326Drawn(nullptr, 0);
  EXPECT_EQ(Frame(0), before);
  EXPECT_GT(WorkSince(start).primitives, 0u);
}

}  // namespace
