// glDrawPixels as an application uses it, through the loader: RGBA and
// colour-index images drawn into a window at several zooms and positions,
// shown, and read back from the screen, against the image OpenGL's rules give.
#include <math.h>

#include <vector>

#include "tests/support/loader_windows.h"

namespace {

constexpr int kW = 40, kH = 30;
constexpr int kImageW = 5, kImageH = 4;

// Where an image lands: the raster position and the zoom.
struct Placement {
  float x, y, zx, zy;
};

// Reads the window back and compares what `value` makes of each shown colour
// with `want(i, j)` where the pixel's centre lies in image pixel (i, j)'s
// zoomed footprint, and with `background` elsewhere.
template <typename Value, typename Want>
void ExpectWindowShows(HWND hwnd, const Placement &p, Value value, Want want, uint32_t background) {
  std::vector<unsigned> shown(kW * kH);
  ASSERT_TRUE(DesktopReadWindow(hwnd, 0, 0, kW, kH, shown.data()));
  int wrong = 0;
  for (int row = 0; row < kH; row++)
    for (int col = 0; col < kW; col++) {
      // Rows read top to bottom; OpenGL counts them from the bottom.
      const int y = kH - 1 - row;
      const int i = int(floor((col + 0.5 - p.x) / p.zx));
      const int j = int(floor((y + 0.5 - p.y) / p.zy));
      const bool inside = i >= 0 && i < kImageW && j >= 0 && j < kImageH;
      const uint32_t expected = inside ? want(i, j) : background;
      const unsigned pixel = shown[size_t(row * kW + col)];
      if (value(pixel) != expected && wrong++ < 4)
        ADD_FAILURE() << "pixel " << col << ", " << y << ": " << std::hex << value(pixel)
                      << " (shown " << pixel << "), want " << expected;
    }
  EXPECT_EQ(wrong, 0);
}

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
  const Placement cases[] = {{3, 4, 1, 1},
                             {10.25f, 20.75f, 2, -3},
                             {30.25f, 2.25f, -1.5f, 2.5f},
                             {7.25f, 9.625f, 0.5f, 0.75f}};
  UsePixelCoordinates(kW, kH);
  for (const Placement &c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " zoom " << c.zx << "," << c.zy);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glRasterPos2f(c.x, c.y);
    glPixelZoom(c.zx, c.zy);
    glDrawPixels(kImageW, kImageH, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    SwapBuffers(hdc_[0]);
    ExpectWindowShows(
        hwnd_[0], c, [](unsigned shown) { return shown | 0xFF000000u; }, SourceColor, 0xFF000000u);
  }
  wglMakeCurrent(nullptr, nullptr);
  EXPECT_TRUE(wglDeleteContext(rc));
}

// A colour-index window (the software-only device's) shows each index as
// its own red.
class DrawLoaderIndex : public LoaderIndexWindow {
 protected:
  void SetUp() override { OpenIndexWindow(kW, kH); }
  // Index images at several positions and zooms, each shown and read back.
  void DrawZoomedImages(bool doubleBuffer);
};

// Index of image pixel (i, j): distinct neighbours, none of them the clear
// index.
GLubyte SourceIndex(int i, int j) { return GLubyte(20 + (i * 7 + j * 31) % 200); }

void DrawLoaderIndex::DrawZoomedImages(bool doubleBuffer) {
  std::vector<GLubyte> image;
  for (int j = 0; j < kImageH; j++)
    for (int i = 0; i < kImageW; i++) image.push_back(SourceIndex(i, j));
  // offset: the index offset of pixel transfer, added to every source index.
  struct Case {
    Placement at;
    int offset;
  } cases[] = {{{3, 4, 1, 1}, 0},
               {{10.25f, 20.75f, 2, -3}, 0},
               {{30.25f, 2.25f, -1.5f, 2.5f}, 5},
               {{7.25f, 9.625f, 0.5f, 0.75f}, 0},
               {{4.25f, 25.25f, -3, 2}, 0}};  // past the left and top edges
  UsePixelCoordinates(kW, kH);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.at.x << "," << c.at.y << " zoom " << c.at.zx << ","
                                    << c.at.zy << " offset " << c.offset);
    glClearIndex(3);
    glClear(GL_COLOR_BUFFER_BIT);
    glRasterPos2f(c.at.x, c.at.y);
    glPixelZoom(c.at.zx, c.at.zy);
    glPixelTransferi(GL_INDEX_OFFSET, c.offset);
    glDrawPixels(kImageW, kImageH, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, image.data());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    if (doubleBuffer)
      SwapBuffers(hdc_);
    else
      glFinish();
    // The palette's red is the index.
    ExpectWindowShows(
        hwnd_, c.at, [](unsigned shown) { return (shown >> 16) & 0xFFu; },
        [&c](int i, int j) { return uint32_t(SourceIndex(i, j) + c.offset); }, 3);
  }
}

TEST_F(DrawLoaderIndex, SingleBufferedWindowShowsZoomedIndexImages) {
  ASSERT_NO_FATAL_FAILURE(UseIndexFormat(false));
  DrawZoomedImages(false);
}

TEST_F(DrawLoaderIndex, DoubleBufferedWindowShowsZoomedIndexImagesOnSwap) {
  ASSERT_NO_FATAL_FAILURE(UseIndexFormat(true));
  DrawZoomedImages(true);
}

}  // namespace
