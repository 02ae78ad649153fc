// Colour tables through the loader on the SiS device's 16-bit (5-6-5)
// double-buffered window: glCopyColorTableEXT from the front buffer, whose
// surface has no address while unlocked, equals glReadPixels of the same
// row and locks the surface around the read; and tables defined under
// glPixelTransferf(GL_RED_SCALE, 0.5) keep the colours they were given,
// whether the data has an alpha or not.
#include <string.h>

#include <string>
#include <vector>

#include "tests/support/loader_windows.h"

namespace {

constexpr int kW = 40, kH = 30;
constexpr GLenum kTexture2D = 0x0DE1;
constexpr GLenum kRedScale = 0x0D14;

// The extension functions as the loader hands them out.
typedef void (*ColorTableProc)(GLenum, GLenum, GLsizei, GLenum, GLenum, const GLvoid *);
typedef void (*CopyColorTableProc)(GLenum, GLenum, GLint, GLint, GLsizei);
typedef void (*GetColorTableProc)(GLenum, GLenum, GLenum, GLvoid *);

class ColorTableLoader : public LoaderContext {
 protected:
  void SetUp() override {
    OpenContext(kW, kH);
    colorTable_ = reinterpret_cast<ColorTableProc>(wglGetProcAddress("glColorTableEXT"));
    copyColorTable_ =
        reinterpret_cast<CopyColorTableProc>(wglGetProcAddress("glCopyColorTableEXT"));
    getColorTable_ = reinterpret_cast<GetColorTableProc>(wglGetProcAddress("glGetColorTableEXT"));
    ASSERT_NE(colorTable_, nullptr);
    ASSERT_NE(copyColorTable_, nullptr);
    ASSERT_NE(getColorTable_, nullptr);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
  }
  std::vector<GLubyte> Table(int entries, int components, GLenum format) {
    std::vector<GLubyte> out(size_t(entries * components) + 1, 0xEE);
    getColorTable_(kTexture2D, format, GL_UNSIGNED_BYTE, out.data());
    EXPECT_EQ(out.back(), 0xEE);
    out.pop_back();
    return out;
  }
  ColorTableProc colorTable_ = nullptr;
  CopyColorTableProc copyColorTable_ = nullptr;
  GetColorTableProc getColorTable_ = nullptr;
};

TEST_F(ColorTableLoader, CopiesFromTheLockedFrontBuffer) {
  // Components of 0 or 255, exact in 5-6-5, a different colour per pixel.
  std::vector<GLubyte> row;
  for (int i = 0; i < 16; i++)
    row.insert(row.end(), {GLubyte(i & 1 ? 255 : 0), GLubyte(i & 2 ? 255 : 0),
                           GLubyte(i & 4 ? 255 : 0), 255});
  glDrawBuffer(GL_FRONT);
  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glRasterPos2i(2, 3);
  glDrawPixels(16, 1, GL_RGBA, GL_UNSIGNED_BYTE, row.data());
  glReadBuffer(GL_FRONT);
  glFinish();
  PlatformRecordSurfaceLocks(TRUE);
  copyColorTable_(kTexture2D, GL_RGBA, 2, 3, 16);
  glFinish();
  const std::string record = SurfaceLockRecord();
  PlatformRecordSurfaceLocks(FALSE);
  ExpectLockedAround(record, "primary");
  std::vector<GLubyte> read(16 * 4, 0x11);
  glReadPixels(2, 3, 16, 1, GL_RGBA, GL_UNSIGNED_BYTE, read.data());
  EXPECT_EQ(read, row);
  EXPECT_EQ(Table(16, 4, GL_RGBA), read);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ColorTableLoader, TheRedScaleLeavesTablesAlone) {
  glPixelTransferf(kRedScale, 0.5f);
  const GLubyte rgb[] = {255, 128, 7, 0, 255, 64, 90, 91, 92, 31, 32, 33};
  const GLubyte rgba[] = {255, 128, 7, 255, 0, 255, 64, 255, 90, 91, 92, 255, 31, 32, 33, 255};
  colorTable_(kTexture2D, GL_RGBA, 4, GL_RGB, GL_UNSIGNED_BYTE, rgb);
  const std::vector<GLubyte> fromRgb = Table(4, 4, GL_RGBA);
  colorTable_(kTexture2D, GL_RGBA, 4, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  const std::vector<GLubyte> fromRgba = Table(4, 4, GL_RGBA);
  EXPECT_EQ(fromRgb, std::vector<GLubyte>(rgba, rgba + 16));
  EXPECT_EQ(fromRgba, fromRgb);
  // Floats outside [0, 1] are clamped, with and without alpha alike.
  const GLfloat frgb[] = {1.5f, -0.25f, 0.5f, 0.0f, 2.0f, 1.0f};
  const GLfloat frgba[] = {1.5f, -0.25f, 0.5f, 1.0f, 0.0f, 2.0f, 1.0f, 1.0f};
  colorTable_(kTexture2D, GL_RGBA, 2, GL_RGB, GL_FLOAT, frgb);
  const std::vector<GLubyte> floatRgb = Table(2, 4, GL_RGBA);
  colorTable_(kTexture2D, GL_RGBA, 2, GL_RGBA, GL_FLOAT, frgba);
  EXPECT_EQ(floatRgb, (std::vector<GLubyte>{255, 0, 128, 255, 0, 255, 255, 255}));
  EXPECT_EQ(Table(2, 4, GL_RGBA), floatRgb);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
