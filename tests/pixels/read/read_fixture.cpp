#include "tests/pixels/read/read_fixture.h"

#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "pixels/px_read_pixels.h"
#include "raster/s_depth.h"

namespace read_test {

void ReadTest::FillFrameBuffer() {
  Validate();
  for (int32_t y = 0; y < draw_test::kHeight; y++)
    for (int32_t x = 0; x < draw_test::kWidth; x++) {
      colorMemory->Write(x, y, uint32_t((x * 7 + y * 13) * 0x01030507u + uint32_t(x * y)));
      stencilMemory->Write(x, y, uint32_t(x * 5 + y * 3));
    }
  glEnable(GL_DEPTH_TEST);
  for (double clear : {0.25, 0.75}) {
    glClearDepth(clear);
    glClear(GL_DEPTH_BUFFER_BIT);
  }
  Validate();
  GlDepthBuffer *dfb = &gc->depthBuffer;
  const int32_t ax = gc->constants.viewportXAdjust, ay = gc->constants.viewportYAdjust;
  for (int32_t y = 0; y < draw_test::kHeight; y += 2)
    for (int32_t x = y % 3; x < draw_test::kWidth; x += 3)
      dfb->storeAlways(dfb, x + ax, y + ay, uint32_t(x * 37 + y * 11) * (dfb->scale / 4096));
}

void ReadTest::ApplyPack(const ModelStore &s) {
  glPixelStorei(GL_PACK_ALIGNMENT, s.alignment);
  glPixelStorei(GL_PACK_ROW_LENGTH, s.rowLength);
  glPixelStorei(GL_PACK_SKIP_PIXELS, s.skipPixels);
  glPixelStorei(GL_PACK_SKIP_ROWS, s.skipRows);
  glPixelStorei(GL_PACK_SWAP_BYTES, s.swapBytes);
  glPixelStorei(GL_PACK_LSB_FIRST, s.lsbFirst);
}

ModelPixel ReadTest::Pixel(unsigned format, int x, int y, int i, int j) const {
  const GlConstants &k = gc->constants;
  const int32_t col = k.viewportXAdjust + x + i;
  const int32_t row = k.yInverted ? k.viewportYAdjust + k.height - 1 - (y + j)
                                  : k.viewportYAdjust + y + j;
  ModelPixel p;
  if (format == GL_STENCIL_INDEX) {
    GlStencilBuffer *sfb = &gc->stencilBuffer;
    p.c[0] = sfb->fetch(sfb, col, row);
  } else if (format == GL_DEPTH_COMPONENT) {
    GlDepthBuffer *dfb = &gc->depthBuffer;
    const GlDepthBufferPrivate *rec = __glDepthPrivate(dfb);
    const uint32_t top = dfb->scale >> rec->shift;
    const uint32_t stored = dfb->fetch(dfb, col, row);
    p.c[0] = double(float(stored) / float(top));
    // The shortcut applies when the largest stored word is all ones.
    const uint32_t bits = 32 - __builtin_clz(top);
    if ((top & (top + 1)) == 0) p.depthWord = bits >= 32 ? stored : stored << (32 - bits);
  } else {
    GlColorBuffer *cfb = gc->readBuffer;
    GlColor c;
    cfb->fetch[0](cfb, col, row, &c);
    if (format == GL_COLOR_INDEX) {
      p.c[0] = c.r;
    } else {
      p.c[0] = c.r / cfb->redScale, p.c[1] = c.g / cfb->greenScale;
      p.c[2] = c.b / cfb->blueScale, p.c[3] = c.a / cfb->alphaScale;
    }
  }
  return p;
}

std::vector<uint8_t> ReadTest::Read(const ModelStore &pack, int x, int y, int width, int height,
                                    unsigned format, unsigned type) {
  ApplyPack(pack);
  std::vector<uint8_t> image(ReadImageBytes(pack, format, type, width, height), kFill);
  // As the entry does: the transfer's summary is brought up to date first.
  Validate();
  __glSlowPickReadPixels(gc, x, y, width, height, format, type, image.data());
  return image;
}

std::string ReadTest::ReadAndCompare(const ModelStore &pack, const ModelTransfer &t, int x, int y,
                                     int width, int height, unsigned format, unsigned type) {
  const std::vector<uint8_t> got = Read(pack, x, y, width, height, format, type);
  ModelRead r;
  r.format = format, r.type = type, r.width = width, r.height = height;
  r.source = [&](int i, int j) { return Pixel(format, x, y, i, j); };
  return CompareRead(r, pack, t, got, kFill);
}

}  // namespace read_test
