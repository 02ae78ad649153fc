// glDrawPixels at unit zoom as an application uses it: an image drawn into
// the front buffer of a window that another window partly covers, read back
// from the screen. The covering window keeps its pixels, the rest shows the
// image, and the fast kernels show what the generic path shows.
#include <vector>

#include "tests/support/loader_windows.h"

namespace {

constexpr int kW = 40, kH = 30;

// Pixel (i, j) of the image: components of 0 or 255, exact in 5-6-5, never
// black (the covering window's colour).
uint32_t SourceColor(int i, int j) {
  const int k = (i * 3 + j * 5) % 7 + 1;
  return 0xFF000000u | (k & 1 ? 0xFF0000u : 0) | (k & 2 ? 0xFF00u : 0) | (k & 4 ? 0xFFu : 0);
}

class FastDrawLoader : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(DesktopSetDisplayMode(16, 1024, 768));
    under_ = DesktopCreateWindow(10, 10, kW, kH);
    ASSERT_NE(under_, nullptr);
    hdc_ = GetDC(under_);
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_SUPPORT_GDI;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 16;
    const int format = ChoosePixelFormat(hdc_, &pfd);
    ASSERT_NE(format, 0);
    ASSERT_TRUE(DescribePixelFormat(hdc_, format, sizeof pfd, &pfd));
    ASSERT_EQ(pfd.dwFlags & PFD_DOUBLEBUFFER, 0u);
    ASSERT_TRUE(SetPixelFormat(hdc_, format, &pfd));
    rc_ = wglCreateContext(hdc_);
    ASSERT_NE(rc_, nullptr);
    ASSERT_TRUE(wglMakeCurrent(hdc_, rc_));
    // Covers the under window's top right corner: columns 25 on, the top
    // 12 rows.
    over_ = DesktopCreateWindow(10 + 25, 10 - 5, 30, 17);
    ASSERT_NE(over_, nullptr);
    UsePixelCoordinates(kW, kH);
  }
  void TearDown() override {
    wglMakeCurrent(nullptr, nullptr);
    if (rc_ != nullptr) {
      EXPECT_TRUE(wglDeleteContext(rc_));
    }
    if (over_ != nullptr) DestroyWindow(over_);
    if (under_ != nullptr) {
      ReleaseDC(under_, hdc_);
      DestroyWindow(under_);
    }
    VlxGlUnloadDriver();
  }

  // Clears to black and draws the whole-window image at (0, 0), in the
  // given format; returns what the screen shows of the under window.
  std::vector<unsigned> DrawAndRead(GLenum format) {
    std::vector<GLubyte> image;
    for (int j = 0; j < kH; j++)
      for (int i = 0; i < kW; i++) {
        const uint32_t c = SourceColor(i, j);
        image.insert(image.end(), {GLubyte(c >> 16), GLubyte(c >> 8), GLubyte(c)});
        if (format == GL_RGBA) image.push_back(255);
      }
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glRasterPos2f(0, 0);
    glDrawPixels(kW, kH, format, GL_UNSIGNED_BYTE, image.data());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glFinish();
    std::vector<unsigned> shown(kW * kH);
    EXPECT_TRUE(DesktopReadWindow(under_, 0, 0, kW, kH, shown.data()));
    return shown;
  }

  HWND under_ = nullptr, over_ = nullptr;
  HDC hdc_ = nullptr;
  HGLRC rc_ = nullptr;
};

TEST_F(FastDrawLoader, CoveredPixelsKeepTheOtherWindowAndTheRestShowTheImage) {
  // Fast: GL_RGB and GL_RGBA at unit zoom with nothing else on.
  // Generic: the alpha test (passing everything) sends GL_RGB there.
  struct Case {
    const char *name;
    GLenum format;
    bool alphaTest;
  };
  const Case kCases[] = {
      {"rgb kernel", GL_RGB, false}, {"rgba kernel", GL_RGBA, false}, {"generic", GL_RGB, true}};
  for (const Case &c : kCases) {
    SCOPED_TRACE(c.name);
    if (c.alphaTest) {
      glEnable(GL_ALPHA_TEST);
      glAlphaFunc(GL_ALWAYS, 0);
    } else {
      glDisable(GL_ALPHA_TEST);
    }
    const std::vector<unsigned> shown = DrawAndRead(c.format);
    int wrong = 0;
    for (int row = 0; row < kH; row++)
      for (int col = 0; col < kW; col++) {
        const int y = kH - 1 - row;  // rows read top down
        const bool covered = col >= 25 && row < 12;
        const unsigned want = covered ? 0xFF000000u : SourceColor(col, y);
        const unsigned got = shown[size_t(row * kW + col)];
        if (got != want && wrong++ < 4)
          ADD_FAILURE() << "pixel " << col << ", " << y << ": " << std::hex << got << ", want "
                        << want;
      }
    EXPECT_EQ(wrong, 0);
  }
}

}  // namespace
