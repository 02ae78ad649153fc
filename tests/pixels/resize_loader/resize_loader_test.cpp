// glReadPixels, glDrawPixels and glCopyPixels of the colour, depth and
// stencil buffers just after the window shrank, at a place inside the old
// size and outside the new one: the shrunken buffers must not be read or
// written past their end (the API fuzzer found a stencil read doing so).
#include <stdlib.h>

#include <vector>

#include "tests/support/loader_windows.h"

namespace {

constexpr int kOldW = 120, kOldH = 100, kNewW = 40, kNewH = 30;

enum class Op { Read, Draw, Copy };

struct ResizeCase {
  const char *name;
  Op op;
  GLenum format;  // GL_RGBA, GL_DEPTH_COMPONENT or GL_STENCIL_INDEX
  const char *driver;  // null: the SiS device's library
};

const ResizeCase kCases[] = {
    {"ReadColour", Op::Read, GL_RGBA, nullptr},
    {"ReadDepth", Op::Read, GL_DEPTH_COMPONENT, nullptr},
    {"DrawColour", Op::Draw, GL_RGBA, nullptr},
    {"DrawDepth", Op::Draw, GL_DEPTH_COMPONENT, nullptr},
    {"CopyColour", Op::Copy, GL_RGBA, nullptr},
    {"CopyDepth", Op::Copy, GL_DEPTH_COMPONENT, nullptr},
    {"SoftReadColour", Op::Read, GL_RGBA, VLX_SOFT_DRIVER_PATH},
    {"SoftReadStencil", Op::Read, GL_STENCIL_INDEX, VLX_SOFT_DRIVER_PATH},
    {"SoftReadDepth", Op::Read, GL_DEPTH_COMPONENT, VLX_SOFT_DRIVER_PATH},
    {"SoftDrawStencil", Op::Draw, GL_STENCIL_INDEX, VLX_SOFT_DRIVER_PATH},
    {"SoftDrawDepth", Op::Draw, GL_DEPTH_COMPONENT, VLX_SOFT_DRIVER_PATH},
    {"SoftCopyStencil", Op::Copy, GL_STENCIL_INDEX, VLX_SOFT_DRIVER_PATH},
    {"SoftCopyColour", Op::Copy, GL_RGBA, VLX_SOFT_DRIVER_PATH},
};

class ResizeLoader : public LoaderWindows, public testing::WithParamInterface<ResizeCase> {
 protected:
  void TearDown() override {
    wglMakeCurrent(nullptr, nullptr);
    if (rc_ != nullptr) wglDeleteContext(rc_);
    LoaderWindows::TearDown();
    unsetenv("VLX_GL_DRIVER");
  }
  HGLRC rc_ = nullptr;
};

TEST_P(ResizeLoader, ClipsToTheNewSize) {
  const ResizeCase &c = GetParam();
  if (c.driver != nullptr) setenv("VLX_GL_DRIVER", c.driver, 1);
  OpenWindows(kOldW, kOldH, 16, c.format == GL_STENCIL_INDEX ? 8 : 0);
  PIXELFORMATDESCRIPTOR pfd;
  ASSERT_TRUE(DescribePixelFormat(hdc_[0], GetPixelFormat(hdc_[0]), sizeof pfd, &pfd));
  if (c.format == GL_STENCIL_INDEX) {
    ASSERT_GT(pfd.cStencilBits, 0);
  }
  rc_ = wglCreateContext(hdc_[0]);
  ASSERT_NE(rc_, nullptr);
  ASSERT_TRUE(wglMakeCurrent(hdc_[0], rc_));
  UsePixelCoordinates(kOldW, kOldH);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
  glFinish();

  // The window shrinks; the context hears of it at its next lock.
  ASSERT_TRUE(MoveWindow(hwnd_[0], 600, 700, kNewW, kNewH, TRUE));
  DesktopPumpMessages();

  const int x = 50, y = 45, w = 60, h = 50;
  std::vector<GLuint> image(size_t(w) * h, 0x11111111u);
  const GLenum type = c.format == GL_RGBA ? GL_UNSIGNED_BYTE : GL_UNSIGNED_INT;
  switch (c.op) {
    case Op::Read:
      glReadPixels(x, y, w, h, c.format, type, image.data());
      break;
    case Op::Draw:
      glRasterPos2i(x, y);
      glDrawPixels(w, h, c.format, type, image.data());
      break;
    case Op::Copy:
      glRasterPos2i(2, 2);
      glCopyPixels(x, y, w, h, c.format == GL_RGBA ? GL_COLOR
                                 : c.format == GL_DEPTH_COMPONENT ? GL_DEPTH
                                                                  : GL_STENCIL);
      glRasterPos2i(x, y);
      glCopyPixels(0, 0, w, h, c.format == GL_RGBA ? GL_COLOR
                                 : c.format == GL_DEPTH_COMPONENT ? GL_DEPTH
                                                                  : GL_STENCIL);
      break;
  }
  glFinish();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(Cases, ResizeLoader, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ResizeCase> &info) {
                           return std::string(info.param.name);
                         });

}  // namespace
