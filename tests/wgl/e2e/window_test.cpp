// Windows through the loader: the scene drawn by the driver on the screen
// equals the core's drawing in plain memory, for each display depth, single
// and double buffering, the DirectDraw and DCI buffer sets, and video memory
// too small for any surface; through the software-only device for every row,
// and through the SiS device for the rows whose format it offers.
#include <stdlib.h>

#include <string>
#include <vector>

#include "platform/control.h"
#include "tests/wgl/e2e/e2e_fixture.h"

#include <GL/gl.h>

namespace {

enum class Memory {
  kVideo,      // back and depth surfaces in video memory
  kExhausted,  // room for the screen only: the buffers fall back to memory
};

struct WindowCase {
  const char *name;
  int displayBits;
  bool doubleBuffer;
  int depthBits;
  bool dci;
  Memory memory;
  bool sisOffers;  // 16 colour bits (a 15- or 16-bit display), 16 depth bits
  E2eDriver driver = E2eDriver::kSoft;
};

const WindowCase kWindowCases[] = {
    {"Ddraw16Double", 16, true, 16, false, Memory::kVideo, true},
    {"Ddraw16DoubleDepth32", 16, true, 32, false, Memory::kVideo, false},
    {"Ddraw16Single", 16, false, 16, false, Memory::kVideo, true},
    {"Ddraw15Double", 15, true, 16, false, Memory::kVideo, true},
    {"Ddraw24Double", 24, true, 32, false, Memory::kVideo, false},
    {"Ddraw32Double", 32, true, 32, false, Memory::kVideo, false},
    {"Ddraw32Single", 32, false, 16, false, Memory::kVideo, false},
    {"Dci16Double", 16, true, 16, true, Memory::kVideo, false},
    {"Dci16Single", 16, false, 32, true, Memory::kVideo, false},
    {"Dci32Double", 32, true, 32, true, Memory::kVideo, false},
    {"Exhausted16Double", 16, true, 16, false, Memory::kExhausted, true},
    {"Exhausted16Single", 16, false, 32, false, Memory::kExhausted, false},
    {"Exhausted32Double", 32, true, 32, false, Memory::kExhausted, false},
};

class E2eWindow : public E2eTest, public ::testing::WithParamInterface<WindowCase> {
 protected:
  void Prepare(const WindowCase &c) {
    UseDriver(c.driver);
    chipDraws_ = c.memory == Memory::kVideo;
    SetDisplay(c.displayBits);
    if (c.dci) setenv("VLX_SOFT_BUFFER_SET", "dci", 1);
    if (c.memory == Memory::kExhausted) {
      const int bytes = c.displayBits == 15 ? 2 : (c.displayBits + 7) / 8;
      // Room for the screen and a little more, but for no buffer of the window.
      ASSERT_TRUE(PlatformSetVideoMemorySize(DWORD(1024 * 768 * bytes + 16384)))
          << PlatformVideoMemoryUsed(FALSE) << " bytes in use";
    }
  }
};

// The scene on a window, and what went to video memory: the DirectDraw set
// keeps the back and depth buffers there (the device's flags); the DCI set
// and exhausted video memory keep them in plain memory.
TEST_P(E2eWindow, DrawsTheSceneAsTheCoreDoesInMemory) {
  const WindowCase &c = GetParam();
  Prepare(c);
  const DWORD usedBefore = PlatformVideoMemoryUsed(FALSE);
  GlWindow w;
  ASSERT_TRUE(OpenWindow(37, 29, 160, 120, c.doubleBuffer, c.depthBits, &w));
  const DWORD usedByDrawable = PlatformVideoMemoryUsed(FALSE) - usedBefore;
  // The row's device drew, or the comparison says nothing about it.
  const GLubyte *vendor = glGetString(GL_VENDOR);
  ASSERT_NE(vendor, nullptr);
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(vendor)) == "SiS",
            c.driver == E2eDriver::kSiS)
      << vendor;
  DrawAndShow(w, 160, 120);
  EXPECT_TRUE(ShowsScene(w, 160, 120));
  if (c.dci || c.memory == Memory::kExhausted)
    EXPECT_EQ(usedByDrawable, 0u);
  else
    EXPECT_GT(usedByDrawable, 0u) << "no surface went to video memory";
  if (c.memory == Memory::kVideo) {
    char log[4096];
    PlatformDebugOutput(log, sizeof log);
    EXPECT_EQ(strstr(log, "OGL ERR"), nullptr) << log;
  }
}

// Another window on top keeps its pixels, and the covered part of ours is
// left alone; the rest shows the scene.
TEST_P(E2eWindow, AWindowOnTopStaysAsItWas) {
  const WindowCase &c = GetParam();
  Prepare(c);
  GlWindow w;
  ASSERT_TRUE(OpenWindow(40, 40, 160, 120, c.doubleBuffer, c.depthBits, &w));
  HWND top = OpenPaintedWindow(150, 100, 100, 80);
  ASSERT_NE(top, nullptr);
  const std::vector<uint32_t> before = ReadWindow(top);
  const std::vector<uint32_t> oursBefore = ReadWindow(w.hwnd);
  DrawAndShow(w, 160, 120);
  EXPECT_EQ(ReadWindow(top), before) << "the window on top changed";
  const RECT covered = {110, 60, 160, 120};  // the top window in our client coordinates
  EXPECT_TRUE(ShowsScene(w, 160, 120, {covered}));
  // The covered part still shows the top window, as before the drawing.
  const std::vector<uint32_t> ours = ReadWindow(w.hwnd);
  for (int y = covered.top; y < covered.bottom; y++)
    for (int x = covered.left; x < covered.right; x++)
      ASSERT_EQ(ours[size_t(y) * 160 + size_t(x)], oursBefore[size_t(y) * 160 + size_t(x)])
          << "covered pixel (" << x << ", " << y << ")";
}

// A resize and a move reach the context at the next drawing: a scene drawn
// with the old viewport lands at the bottom left of the new window, with the
// clear covering all of it (a context that missed the change would draw at
// the old height from the top, and clear only the old size); then the full
// viewport fills the new size, at the new place.
TEST_P(E2eWindow, FollowsAResizeAndAMove) {
  const WindowCase &c = GetParam();
  Prepare(c);
  GlWindow w;
  ASSERT_TRUE(OpenWindow(30, 30, 128, 96, c.doubleBuffer, c.depthBits, &w));
  DrawAndShow(w, 128, 96);
  ASSERT_TRUE(ShowsScene(w, 128, 96));

  struct Step {
    int x, y, width, height;
  };
  const Step kSteps[] = {{200, 150, 192, 144}, {11, 7, 96, 64}, {500, 400, 200, 100}};
  int lastWidth = 128, lastHeight = 96;
  for (const Step &s : kSteps) {
    SCOPED_TRACE(testing::Message() << "to " << s.width << " x " << s.height << " at (" << s.x
                                    << ", " << s.y << ")");
    ASSERT_TRUE(MoveWindow(w.hwnd, s.x, s.y, s.width, s.height, TRUE));
    DrawAndShow(w, lastWidth, lastHeight);
    EXPECT_TRUE(ShowsScene(w, lastWidth, lastHeight));
    DrawAndShow(w, s.width, s.height);
    EXPECT_TRUE(ShowsScene(w, s.width, s.height));
    lastWidth = s.width, lastHeight = s.height;
  }
}

// The rows the SiS device offers, drawn through it. While its fallback flags
// are set it draws as the software path does, so the same reference holds.
std::vector<WindowCase> SiSRows() {
  std::vector<WindowCase> rows;
  for (WindowCase c : kWindowCases) {
    if (!c.sisOffers) continue;
    c.driver = E2eDriver::kSiS;
    rows.push_back(c);
  }
  return rows;
}

INSTANTIATE_TEST_SUITE_P(Windows, E2eWindow, ::testing::ValuesIn(kWindowCases), RowName());
INSTANTIATE_TEST_SUITE_P(SiSWindows, E2eWindow, ::testing::ValuesIn(SiSRows()), RowName());

}  // namespace
