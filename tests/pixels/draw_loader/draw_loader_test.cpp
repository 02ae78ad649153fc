// glDrawPixels as an application uses it, through the loader: RGBA images
// drawn into a window at several zooms and positions, shown, and read back
// from the screen, against the image OpenGL's rules give.
#include <math.h>

#include <vector>

#include "tests/support/loader_windows.h"

namespace {

constexpr int kW = 40, kH = 30;
constexpr int kImageW = 5, kImageH = 4;

class DrawLoader : public LoaderWindows {
 protected:
  void SetUp() override { OpenWindows(kW, kH, 0); }
};

// Pixel (i, j) of the image: components of 0 or 255, exact in any mode.
uint32_t SourceColor(int i, int j) {
  const int k = i * 3 + j * 5 + 1;
  return 0xFF000000u | (k & 1 ? 0xFF0000u : 0) | (k & 2 ? 0xFF00u : 0) | (k & 4 ? 0xFFu : 0);
}

TEST_F(DrawLoader, ZoomedImagesShowAsOpenGLDrawsThem) {
  HGLRC rc = wglCreateContext(hdc_[0]);
  ASSERT_NE(rc, nullptr);
  ASSERT_TRUE(wglMakeCurrent(hdc_[0], rc));
  std::vector<GLubyte> image;
  for (int j = 0; j < kImageH; j++)
    for (int i = 0; i < kImageW; i++) {
      const uint32_t c = SourceColor(i, j);
      image.insert(image.end(), {GLubyte(c >> 16), GLubyte(c >> 8), GLubyte(c), 255});
    }
  struct Case {
    float x, y, zx, zy;
  } cases[] = {{3, 4, 1, 1}, {10.25f, 20.75f, 2, -3}, {30.25f, 2.25f, -1.5f, 2.5f},
               {7.25f, 9.625f, 0.5f, 0.75f}};
  glViewport(0, 0, kW, kH);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, kW, 0, kH, -1, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_DITHER);
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " zoom " << c.zx << "," << c.zy);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glRasterPos2f(c.x, c.y);
    glPixelZoom(c.zx, c.zy);
    glDrawPixels(kImageW, kImageH, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    SwapBuffers(hdc_[0]);
    std::vector<unsigned> shown(kW * kH);
    ASSERT_TRUE(DesktopReadWindow(hwnd_[0], 0, 0, kW, kH, shown.data()));
    int wrong = 0;
    for (int row = 0; row < kH; row++)
      for (int col = 0; col < kW; col++) {
        // Rows read top to bottom; OpenGL counts them from the bottom.
        const int y = kH - 1 - row;
        const int i = int(floor((col + 0.5 - c.x) / c.zx));
        const int j = int(floor((y + 0.5 - c.y) / c.zy));
        const bool inside = i >= 0 && i < kImageW && j >= 0 && j < kImageH;
        const uint32_t want = inside ? SourceColor(i, j) : 0xFF000000u;
        if ((shown[size_t(row * kW + col)] | 0xFF000000u) != want && wrong++ < 4)
          ADD_FAILURE() << "pixel " << col << ", " << y << ": " << std::hex
                        << shown[size_t(row * kW + col)] << ", want " << want;
      }
    EXPECT_EQ(wrong, 0);
  }
  wglMakeCurrent(nullptr, nullptr);
  EXPECT_TRUE(wglDeleteContext(rc));
}

}  // namespace
