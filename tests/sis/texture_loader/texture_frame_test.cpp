// A mipmapped textured frame, in a video memory so small that the SiS
// device's texture manager evicts one texture for the other, drawn through
// the loader on the SiS driver, whose chip samples the textures, and on the
// software-only driver: eviction changes no pixel, so the frames agree.
#include <stdlib.h>

#include <string>
#include <vector>

#include "tests/support/loader_windows.h"

namespace {

constexpr int kSize = 64;
// The screen's footprint in local video memory: 1024 x 768 at 16 bits.
constexpr DWORD kScreenBytes = 1024 * 768 * 2 + 16;
// The back and depth buffers of the window, and one 32 x 32 texture chain
// (1365 texels) with some room, but not two.
constexpr DWORD kRoom = 2 * (kSize * kSize * 2 + 32) + 1365 * 4 + 6 * 32 + 2048;

// A 32 x 32 texture with every mipmap level, each level its own colours.
void DefineTexture(GLuint name, int seed) {
  glBindTexture(GL_TEXTURE_2D, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  for (int level = 0, side = 32; side >= 1; ++level, side /= 2) {
    std::vector<GLubyte> texels;
    for (int t = 0; t < side; ++t)
      for (int s = 0; s < side; ++s)
        texels.insert(texels.end(), {GLubyte(seed * 80 + s * 7), GLubyte(t * 7 + level * 40),
                                     GLubyte(seed * 40 + level * 30 + (s ^ t) * 3), 255});
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA, side, side, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texels.data());
  }
}

void Quad(float x, float y, float side) {
  glBegin(GL_QUADS);
  glTexCoord2f(0, 0);
  glVertex2f(x, y);
  glTexCoord2f(1, 0);
  glVertex2f(x + side, y);
  glTexCoord2f(1, 1);
  glVertex2f(x + side, y + side);
  glTexCoord2f(0, 1);
  glVertex2f(x, y + side);
  glEnd();
}

int TextureLocks(const std::string &record) {
  int n = 0;
  for (size_t at = record.find("lock texture\n"); at != std::string::npos;
       at = record.find("lock texture\n", at + 1))
    if (at == 0 || record[at - 1] == '\n') ++n;
  return n;
}

class TextureFrames : public LoaderWindows {
 protected:
  void TearDown() override {
    LoaderWindows::TearDown();
    unsetenv("VLX_GL_DRIVER");
    PlatformRecordSurfaceLocks(FALSE);
    EXPECT_TRUE(PlatformSetVideoMemorySize(8u << 20));
  }

  // Draws the frame on the driver loaded now; the window's pixels and the
  // texture surfaces locked meanwhile.
  std::vector<unsigned> DrawFrame(int *textureLocks) {
    OpenWindows(kSize, kSize, 16);
    EXPECT_TRUE(PlatformSetVideoMemorySize(kScreenBytes + kRoom));
    PlatformRecordSurfaceLocks(TRUE);
    HGLRC rc = wglCreateContext(hdc_[0]);
    EXPECT_NE(rc, nullptr);
    EXPECT_TRUE(wglMakeCurrent(hdc_[0], rc));
    UsePixelCoordinates(kSize, kSize);
    // White clears alike through the chip's 2D engine, which neither dithers
    // nor rounds, and through the software clear.
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GLuint names[2] = {1, 2};
    DefineTexture(names[0], 0);
    DefineTexture(names[1], 1);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    // Each binding in turn: the second evicts the first, the third brings
    // it back. Smaller quads take smaller levels.
    const struct {
      GLuint name;
      float x, y, side;
    } quads[] = {{1, 0, 0, 32}, {2, 32, 0, 16}, {1, 32, 32, 8}, {2, 0, 32, 24}, {1, 40, 16, 5}};
    for (const auto &q : quads) {
      glBindTexture(GL_TEXTURE_2D, q.name);
      Quad(q.x, q.y, q.side);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    SwapBuffers(hdc_[0]);
    std::vector<unsigned> shown(kSize * kSize);
    EXPECT_TRUE(DesktopReadWindow(hwnd_[0], 0, 0, kSize, kSize, shown.data()));
    *textureLocks = TextureLocks(SurfaceLockRecord());
    glDeleteTextures(2, names);
    wglMakeCurrent(nullptr, nullptr);
    EXPECT_TRUE(wglDeleteContext(rc));
    PlatformRecordSurfaceLocks(FALSE);
    LoaderWindows::TearDown();
    hwnd_[0] = hwnd_[1] = nullptr;
    EXPECT_TRUE(PlatformSetVideoMemorySize(8u << 20));
    return shown;
  }
};

TEST_F(TextureFrames, EvictingTexturesChangesNoPixel) {
  int sisLocks = 0, softLocks = 0;
  const std::vector<unsigned> sis = DrawFrame(&sisLocks);
  setenv("VLX_GL_DRIVER", VLX_SOFT_DRIVER_PATH, 1);
  const std::vector<unsigned> soft = DrawFrame(&softLocks);
  // Every level of a chain is filled each time the texture comes back: the
  // first binding validates the enable first (texture 2 bound), then five
  // bindings; six levels each.
  EXPECT_EQ(sisLocks, 6 * 6);
  EXPECT_EQ(softLocks, 0);
  int differ = 0;
  for (size_t i = 0; i < sis.size(); ++i)
    if (sis[i] != soft[i] && differ++ < 4)
      ADD_FAILURE() << "pixel " << i % kSize << "," << i / kSize << ": " << std::hex << sis[i]
                    << " against " << soft[i];
  EXPECT_EQ(differ, 0);
  // The textures were drawn: the quads cover 1945 pixels.
  int cleared = 0;
  for (unsigned p : sis) cleared += p == sis[0];
  EXPECT_LE(cleared, kSize * kSize - 1945);
}

}  // namespace
