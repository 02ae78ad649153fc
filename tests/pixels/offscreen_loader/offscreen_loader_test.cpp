// The front buffer of a window is the screen: where the window hangs off
// the screen's edge there is no memory behind it. Commands that read the
// front buffer there must not read past the screen (the API fuzzer found
// glReadPixels doing so for a window above the screen's top).
#include <vector>

#include "tests/support/loader_windows.h"

namespace {

constexpr int kW = 60, kH = 50;

struct Placement {
  const char *name;
  int x, y;  // the window's client area on the 1024 x 768 screen
};

const Placement kPlacements[] = {
    {"AboveTheTop", 300, -30},
    {"LeftOfTheLeft", -40, 200},
    {"PastTheRight", 1000, 200},
    {"BelowTheBottom", 300, 740},
    {"TopLeftCorner", -20, -20},
};

struct Reader {
  const char *name;
  void (*read)();
};

void ReadPixels() {
  std::vector<GLubyte> image(kW * kH * 4);
  glReadPixels(0, 0, kW, kH, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
}

void CopyPixels() {
  glDrawBuffer(GL_BACK);
  glRasterPos2i(0, 0);
  glCopyPixels(0, 0, kW, kH, GL_COLOR);
}

void CopyTexImage() {
  glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 0, 0, 32, 32, 0);
}

void CopyTexSubImage() {
  std::vector<GLubyte> texels(64 * 64 * 3);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 64, 64, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, 60, 50);
}

const Reader kReaders[] = {
    {"ReadPixels", ReadPixels},
    {"CopyPixels", CopyPixels},
    {"CopyTexImage", CopyTexImage},
    {"CopyTexSubImage", CopyTexSubImage},
};

class OffScreen : public LoaderContext,
                  public testing::WithParamInterface<std::tuple<Placement, Reader>> {};

TEST_P(OffScreen, ReadsOfTheFrontBufferStayOnTheScreen) {
  const Placement &at = std::get<0>(GetParam());
  OpenContext(kW, kH);
  ASSERT_TRUE(MoveWindow(hwnd_[0], at.x, at.y, kW, kH, TRUE));
  DesktopPumpMessages();
  glReadBuffer(GL_FRONT);
  std::get<1>(GetParam()).read();
  glFinish();
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OffScreen, testing::Combine(testing::ValuesIn(kPlacements), testing::ValuesIn(kReaders)),
    [](const testing::TestParamInfo<std::tuple<Placement, Reader>> &info) {
      return std::string(std::get<0>(info.param).name) + std::get<1>(info.param).name;
    });

}  // namespace
