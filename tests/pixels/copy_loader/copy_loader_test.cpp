// glCopyPixels as an application uses it, through the loader, on a
// double-buffered window of the SiS device: from the front buffer into the
// back one and the reverse. The destination must show the source's pixels,
// and the surface read must be locked around the copy: a DirectDraw buffer
// has no address while unlocked.
#include <string.h>

#include <string>
#include <vector>

#include "tests/support/loader_windows.h"

namespace {

constexpr int kW = 40, kH = 30;
constexpr int kImageW = 6, kImageH = 5;

// Components of 0 or 255: exact in a 16-bit buffer.
std::vector<GLubyte> SourceImage() {
  std::vector<GLubyte> image;
  for (int j = 0; j < kImageH; j++)
    for (int i = 0; i < kImageW; i++) {
      const int k = i * 3 + j * 5 + 1;
      image.insert(image.end(), {GLubyte(k & 1 ? 255 : 0), GLubyte(k & 2 ? 255 : 0),
                                 GLubyte(k & 4 ? 255 : 0), 255});
    }
  return image;
}

class CopyLoader : public LoaderContext {
 protected:
  void SetUp() override { OpenContext(kW, kH); }

  // Puts the source image into `buffer` at (2, 3), the rest black.
  void PlaceSource(GLenum buffer) {
    glDrawBuffer(buffer);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glRasterPos2i(2, 3);
    const std::vector<GLubyte> image = SourceImage();
    glDrawPixels(kImageW, kImageH, GL_RGBA, GL_UNSIGNED_BYTE, image.data());
  }
  // Copies from `from` to (25, 20) of `to`, recording the surface locks.
  std::string CopyBetween(GLenum from, GLenum to) {
    glReadBuffer(from);
    glDrawBuffer(to);
    glRasterPos2i(25, 20);
    PlatformRecordSurfaceLocks(TRUE);
    glCopyPixels(2, 3, kImageW, kImageH, GL_COLOR);
    glFinish();
    const std::string record = SurfaceLockRecord();
    PlatformRecordSurfaceLocks(FALSE);
    return record;
  }
  void ExpectDestinationShowsSource(GLenum buffer) {
    glReadBuffer(buffer);
    std::vector<GLubyte> got(kImageW * kImageH * 4, 0x11);
    glReadPixels(25, 20, kImageW, kImageH, GL_RGBA, GL_UNSIGNED_BYTE, got.data());
    EXPECT_EQ(got, SourceImage());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
};

TEST_F(CopyLoader, FrontIntoBackReadsTheLockedFront) {
  PlaceSource(GL_FRONT);
  glDrawBuffer(GL_BACK);
  glClear(GL_COLOR_BUFFER_BIT);
  const std::string record = CopyBetween(GL_FRONT, GL_BACK);
  ExpectLockedAround(record, "primary");
  ExpectDestinationShowsSource(GL_BACK);
}

TEST_F(CopyLoader, BackIntoFrontReadsTheLockedBack) {
  glDrawBuffer(GL_FRONT);
  glClear(GL_COLOR_BUFFER_BIT);
  PlaceSource(GL_BACK);
  const std::string record = CopyBetween(GL_BACK, GL_FRONT);
  ExpectLockedAround(record, "offscreen");
  ExpectDestinationShowsSource(GL_FRONT);
}

}  // namespace
