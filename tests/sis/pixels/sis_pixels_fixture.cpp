#include "tests/sis/pixels/sis_pixels_fixture.h"

#include "core/gl_api.h"
#include "core/s_pick.h"
#include "pixels/px_bitmap.h"

namespace sis_pixels_test {

void SiSPixelsTest::OpenSiS(const ColorFormat &f, bool yInverted) {
  OpenFormat(f, yInverted);
  if (!gc) return;
  gc->procs.pickPixelProcs = __glSiSPickPixelProcs;
  gc->procs.pickRenderBitmapProcs = __glSiSPickRenderBitmapProcs;
}

void SiSPixelsTest::UseCorePickers() {
  gc->procs.pickPixelProcs = __glGenericPickPixelProcs;
  gc->procs.pickRenderBitmapProcs = __glOptPickRenderBitmapProcs;
}

void SiSPixelsTest::DrawAt(double x, double y, int w, int h, GLenum format, const void *pixels,
                           GLenum type) {
  SetRaster(x, y);
  glDrawPixels(w, h, format, type, pixels);
  ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

std::vector<uint8_t> Noise(size_t n, uint32_t seed) {
  TestRandom random(seed);
  std::vector<uint8_t> out(n);
  for (uint8_t &b : out) b = uint8_t(random.Next() >> 24);
  return out;
}

bool WithinOneUnit(const ColorFormat &f, uint32_t a, uint32_t b) {
  for (int k = 0; k < 3; k++) {
    const uint32_t mask = f.masks[k];
    if (mask == 0) continue;
    uint32_t shift = 0;
    while (!((mask >> shift) & 1)) shift++;
    const int d = int((a & mask) >> shift) - int((b & mask) >> shift);
    if (d > 1 || d < -1) return false;
  }
  return true;
}

}  // namespace sis_pixels_test
