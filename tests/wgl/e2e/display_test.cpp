// Display-mode changes under a window that is drawing: the same depth gives
// the lost surfaces back and the scene is drawn as before; a new depth
// rebuilds the pixel-format list for the new display, and a new window on it
// draws the scene in the new layout.
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "platform/control.h"
#include "tests/wgl/e2e/e2e_fixture.h"
#include "tests/wgl/e2e/e2e_scene.h"

namespace {

struct SameDepthCase {
  const char *name;
  int displayBits;
  bool doubleBuffer;
  bool dci;
  int newWidth, newHeight;  // the screen after the change
};

const SameDepthCase kSameDepthCases[] = {
    {"Ddraw16Double", 16, true, false, 1024, 768},
    {"Ddraw16Single", 16, false, false, 1024, 768},
    {"Ddraw32Double", 32, true, false, 1024, 768},
    {"Ddraw16DoubleSmallerScreen", 16, true, false, 800, 600},
    {"Dci16Double", 16, true, true, 1024, 768},
};

class E2eSameDepth : public E2eTest, public ::testing::WithParamInterface<SameDepthCase> {};

TEST_P(E2eSameDepth, SurfacesComeBackAndTheSceneIsTheSame) {
  const SameDepthCase &c = GetParam();
  SetDisplay(c.displayBits);
  if (c.dci) setenv("VLX_SOFT_BUFFER_SET", "dci", 1);
  GlWindow w;
  ASSERT_TRUE(OpenWindow(50, 60, 144, 104, c.doubleBuffer, 16, &w));
  DrawAndShow(w, 144, 104);
  ASSERT_TRUE(ShowsScene(w, 144, 104));
  SetDisplay(c.displayBits, c.newWidth, c.newHeight);
  DesktopPumpMessages();
  // Twice: the first drawing after the change restores, the second must not
  // need to.
  for (int round = 0; round < 2; round++) {
    SCOPED_TRACE(testing::Message() << "drawing " << round + 1 << " after the change");
    DrawAndShow(w, 144, 104);
    EXPECT_TRUE(ShowsScene(w, 144, 104));
  }
}

INSTANTIATE_TEST_SUITE_P(Displays, E2eSameDepth, ::testing::ValuesIn(kSameDepthCases),
                         RowName());

struct NewDepthCase {
  const char *name;
  int fromBits, toBits;
  bool doubleBuffer;
};

const NewDepthCase kNewDepthCases[] = {
    {"From16To32Double", 16, 32, true},
    {"From32To16Double", 32, 16, true},
    {"From16To32Single", 16, 32, false},
    {"From16To15Double", 16, 15, true},
};

class E2eNewDepth : public E2eTest, public ::testing::WithParamInterface<NewDepthCase> {};

// The window formats of a display: colour bits and masks of every format
// that draws to a window.
std::string WindowFormats(HDC hdc) {
  std::string text;
  PIXELFORMATDESCRIPTOR pfd;
  const int count = DescribePixelFormat(hdc, 1, sizeof pfd, &pfd);
  for (int i = 1; i <= count; i++) {
    if (!DescribePixelFormat(hdc, i, sizeof pfd, &pfd) || !(pfd.dwFlags & PFD_DRAW_TO_WINDOW))
      continue;
    text += std::to_string(pfd.cColorBits) + ":" + std::to_string(pfd.cRedBits) + "@" +
            std::to_string(pfd.cRedShift) + "," + std::to_string(pfd.cGreenBits) + "@" +
            std::to_string(pfd.cGreenShift) + "," + std::to_string(pfd.cBlueBits) + "@" +
            std::to_string(pfd.cBlueShift) + " ";
  }
  return text;
}

TEST_P(E2eNewDepth, TheFormatListIsRebuiltForTheNewDisplay) {
  const NewDepthCase &c = GetParam();
  SetDisplay(c.fromBits);
  GlWindow old;
  ASSERT_TRUE(OpenWindow(20, 20, 96, 80, c.doubleBuffer, 16, &old));
  DrawAndShow(old, 96, 80);
  ASSERT_TRUE(ShowsScene(old, 96, 80));
  const std::string before = WindowFormats(old.hdc);

  SetDisplay(c.toBits);
  DesktopPumpMessages();
  // Every window format now has the new display's depth and layout.
  const int newColorBits = c.toBits == 15 ? 16 : c.toBits;
  const int greenBits = c.toBits == 16 ? 6 : c.toBits == 15 ? 5 : 8;
  PIXELFORMATDESCRIPTOR pfd;
  const int count = DescribePixelFormat(old.hdc, 1, sizeof pfd, &pfd);
  ASSERT_GT(count, 0);
  int windowFormats = 0;
  for (int i = 1; i <= count; i++) {
    ASSERT_TRUE(DescribePixelFormat(old.hdc, i, sizeof pfd, &pfd));
    if (!(pfd.dwFlags & PFD_DRAW_TO_WINDOW)) continue;
    windowFormats++;
    EXPECT_EQ(pfd.cColorBits, newColorBits) << "format " << i;
    if (pfd.iPixelType == PFD_TYPE_RGBA) {
      EXPECT_EQ(pfd.cGreenBits, greenBits) << "format " << i;
    }
  }
  EXPECT_GT(windowFormats, 0) << "before: " << before << " after: " << WindowFormats(old.hdc);

  wglMakeCurrent(nullptr, nullptr);

  GlWindow fresh;
  ASSERT_TRUE(OpenWindow(300, 200, 120, 90, c.doubleBuffer, 32, &fresh));
  DrawAndShow(fresh, 120, 90);
  EXPECT_TRUE(ShowsScene(fresh, 120, 90));
}

// The context made for the old depth may still be used: what it shows, and
// whether its swap succeeds, is not defined, but the process must live on.
// The drawing runs in a child process so that a crash is reported here.
TEST_P(E2eNewDepth, TheOldContextDrawsWithoutCrashing) {
  const NewDepthCase &c = GetParam();
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SetDisplay(c.fromBits);
        GlWindow old;
        if (!OpenWindow(20, 20, 96, 80, c.doubleBuffer, 16, &old)) _exit(2);
        DrawAndShow(old, 96, 80);
        if (!DesktopSetDisplayMode(c.toBits, 1024, 768)) _exit(3);
        DesktopPumpMessages();
        DrawE2eScene(96, 80);
        SwapBuffers(old.hdc);
        _exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

INSTANTIATE_TEST_SUITE_P(Displays, E2eNewDepth, ::testing::ValuesIn(kNewDepthCases),
                         RowName());

}  // namespace
