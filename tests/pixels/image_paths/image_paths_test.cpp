// The image paths: memory-to-memory chains into texture storage (the plain
// row copy when nothing converts, the direct texel packers), the extra
// store and get stages a texture format may carry, the float images of the
// internal formats, and frame-buffer reads into memory images against
// glReadPixels.
#include <string.h>

#include <vector>

#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "pixels/px_image_paths.h"
#include "pixels/px_packer.h"
#include "pixels/px_read_pixels.h"
#include "pixels/px_span_procs.h"
#include "pixels/px_texformat.h"
#include "pixels/px_texture.h"
#include "tests/pixels/draw/draw_fixture.h"

namespace image_paths_test {
namespace {

class ImagePaths : public draw_test::DrawTest {
 protected:
  void SetUp() override {
    DrawTest::SetUp();
    Open(true);
    if (gc->beginMode == __GL_VALIDATE_PENDING) {
      gc->procs.validate(gc);
      gc->beginMode = __GL_NOT_IN_BEGIN;
    }
  }
  // A client image under the unpack modes into dense storage of `dstFormat`
  // and `dstType`, through the store-texture picker.
  GlPixelSpanInfo Store(GlTextureObject *tex, int width, int height, GLenum format, GLenum type,
                        const void *pixels, GLenum dstFormat, GLenum dstType, void *storage) {
    GlPixelSpanInfo info;
    memset(&info, 0, sizeof info);
    __glInitMemUnpack(gc, &info, width, height, 1, format, type, pixels, 0);
    info.dstFormat = dstFormat;
    info.dstType = dstType;
    info.dstImage = storage;
    info.dstLineLength = width;
    info.dstAlignment = 1;
    EXPECT_TRUE(__glInitUnpacker(gc, &info));
    EXPECT_TRUE(__glInitPacker(gc, &info));
    __glGenericPickStoreTexture(gc, tex, &info, 1);
    return info;
  }
};

TEST_F(ImagePaths, RgbaBytesIntoAnRgba8LevelAreCopiedRowByRow) {
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 7);
  const int w = 5, h = 3;
  std::vector<uint8_t> image(7 * 4 * h);
  for (size_t i = 0; i < image.size(); i++) image[i] = uint8_t(i * 13 + 1);
  std::vector<uint8_t> level(size_t(w * h * 4), 0);
  const GlPixelSpanInfo info = Store(nullptr, w, h, GL_RGBA, GL_UNSIGNED_BYTE, image.data(),
                                     GL_RGBA, GL_UNSIGNED_BYTE, level.data());
  ASSERT_EQ(info.numSpanMods, 1);
  EXPECT_EQ(info.spanModifier[0], __glSpanCopy);
  for (int j = 0; j < h; j++)
    EXPECT_EQ(memcmp(&level[size_t(j * w * 4)], &image[size_t(j * 7 * 4)], size_t(w * 4)), 0) << j;
}

TEST_F(ImagePaths, RgbBytesIntoAnRgb565LevelTakeTheDirectPacker) {
  const int w = 4, h = 2;
  std::vector<uint8_t> image(size_t(w * 3 * h) + 8);
  for (size_t i = 0; i < image.size(); i++) image[i] = uint8_t(i * 29 + 3);
  std::vector<uint16_t> level(size_t(w * h), 0xEEEE);
  const GlPixelSpanInfo info = Store(nullptr, w, h, GL_RGB, GL_UNSIGNED_BYTE, image.data(),
                                     GL_RGB, __GL_PACKED_565, level.data());
  ASSERT_EQ(info.numSpanMods, 1);
  EXPECT_EQ(info.spanModifier[0], __glSpanPackRGB8ToRGB565);
  // Rows start at the aligned source rows (12 bytes, a multiple of 4).
  for (int j = 0; j < h; j++)
    for (int i = 0; i < w; i++) {
      const uint8_t *p = &image[size_t(j * 12 + i * 3)];
      const uint16_t got = level[size_t(j * w + i)];
      // Each field within one step of the component's scaled value.
      const int r = got >> 11, g = (got >> 5) & 63, b = got & 31;
      EXPECT_NEAR(r, p[0] * 31 / 255.0, 1.0) << i << ", " << j;
      EXPECT_NEAR(g, p[1] * 63 / 255.0, 1.0) << i << ", " << j;
      EXPECT_NEAR(b, p[2] * 31 / 255.0, 1.0) << i << ", " << j;
    }
}

// Stages that record the rows they see and copy them through.
int gStoreRows, gGetRows;
__GL_SPAN_STAGE(RecordStore) {
  gStoreRows++;
  memcpy(out, in, size_t(info->spanWidth) * 4);
}
__GL_SPAN_STAGE(RecordGet) {
  gGetRows++;
  memcpy(out, in, size_t(info->spanWidth) * 4);
}

TEST_F(ImagePaths, ExtraStoreAndGetStagesOfAFormatJoinTheChain) {
  GlTexFormat format = __glTexFormatRGBA8;
  format.extraStoreStage = RecordStore;
  format.extraGetStage = RecordGet;
  GlTextureObject tex;
  memset(&tex, 0, sizeof tex);
  tex.texFormat = &format;
  const int w = 3, h = 4;
  std::vector<uint8_t> image(size_t(w * h * 4));
  for (size_t i = 0; i < image.size(); i++) image[i] = uint8_t(i + 1);
  std::vector<uint8_t> level(image.size(), 0);
  gStoreRows = gGetRows = 0;
  GlPixelSpanInfo info = Store(&tex, w, h, GL_RGBA, GL_UNSIGNED_BYTE, image.data(), GL_RGBA,
                               GL_UNSIGNED_BYTE, level.data());
  // The picked chain is empty, so the extra stage alone moves the rows.
  ASSERT_EQ(info.numSpanMods, 1);
  EXPECT_EQ(info.spanModifier[0], RecordStore);
  EXPECT_EQ(gStoreRows, h);
  EXPECT_EQ(level, image);

  // Read back through the get picker: the extra stage comes first.
  std::vector<uint8_t> back(image.size(), 0);
  memset(&info, 0, sizeof info);
  __glInitMemPack(gc, &info, w, h, 1, GL_RGBA, GL_UNSIGNED_BYTE, back.data());
  info.srcImage = level.data();
  info.srcFormat = GL_RGBA;
  info.srcType = GL_UNSIGNED_BYTE;
  info.srcLineLength = w;
  info.srcAlignment = 1;
  ASSERT_TRUE(__glInitUnpacker(gc, &info));
  ASSERT_TRUE(__glInitPacker(gc, &info));
  __glGenericPickGetTexture(gc, &tex, &info, 1);
  ASSERT_GE(info.numSpanMods, 1);
  EXPECT_EQ(info.spanModifier[0], RecordGet);
  EXPECT_EQ(gGetRows, h);
  EXPECT_EQ(back, image);

  // Without extra stages the get chain needs only the copy.
  format.extraGetStage = nullptr;
  back.assign(back.size(), 0);
  __glInitMemPack(gc, &info, w, h, 1, GL_RGBA, GL_UNSIGNED_BYTE, back.data());
  ASSERT_TRUE(__glInitPacker(gc, &info));
  ASSERT_TRUE(__glInitUnpacker(gc, &info));
  __glGenericPickGetTexture(gc, &tex, &info, 1);
  EXPECT_EQ(info.numSpanMods, 1);
  EXPECT_EQ(info.spanModifier[0], __glSpanCopy);
  EXPECT_EQ(back, image);
}

TEST_F(ImagePaths, FloatImagesOfTheInternalFormats) {
  const struct {
    GLenum internal, memory;
  } rows[] = {{GL_ALPHA, GL_ALPHA},         {GL_RGB, GL_RGB},
              {GL_RGBA, GL_RGBA},           {GL_LUMINANCE, GL_RED},
              {GL_LUMINANCE_ALPHA, __GL_RED_ALPHA}, {GL_INTENSITY, GL_RED}};
  const float image[4] = {};
  for (const auto &r : rows) {
    GlPixelSpanInfo info;
    memset(&info, 0xFF, sizeof info);
    __glInitMemGet(gc, &info, 9, 123, r.internal, image);
    EXPECT_EQ(info.srcFormat, r.memory) << r.internal;
    EXPECT_EQ(info.srcType, GLenum(GL_FLOAT));
    EXPECT_EQ(info.srcImage, image);
    EXPECT_EQ(info.srcLineLength, 9);
    EXPECT_EQ(info.srcAlignment, 4);
    EXPECT_EQ(info.srcSkipPixels, 0);
    EXPECT_EQ(info.srcSkipLines, 0);
    EXPECT_EQ(info.srcSwapBytes, 0u);
    EXPECT_EQ(info.srcLsbFirst, 1u);
    EXPECT_EQ(info.dim, 0);
  }
}

TEST_F(ImagePaths, UnknownInternalFormatIsAnInternalFault) {
  GlPixelSpanInfo info;
  memset(&info, 0, sizeof info);
  EXPECT_DEATH(__glInitMemGet(gc, &info, 1, 1, GLenum(0x8058), nullptr), "px_paths");
}

// A frame-buffer read into a memory image gives what glReadPixels gives.
TEST_F(ImagePaths, ReadImageMatchesReadPixels) {
  for (int32_t y = 0; y < draw_test::kHeight; y++)
    for (int32_t x = 0; x < draw_test::kWidth; x++)
      colorMemory->Write(x, y, uint32_t(x * 0x010203u + y * 0x30201000u));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPixelStorei(GL_PACK_SKIP_PIXELS, 2);
  for (GLenum format : {GL_RGBA, GL_RGB, GL_BGRA_EXT, GL_ALPHA}) {
    const int w = 6, h = 4, x = 60, y = 3;  // runs off the right edge
    std::vector<uint8_t> want(256, 0xCD), got(256, 0xCD);
    __glSlowPickReadPixels(gc, x, y, w, h, format, GL_UNSIGNED_BYTE, want.data());
    GlPixelSpanInfo info;
    memset(&info, 0, sizeof info);
    __glInitReadImageSrcInfo(gc, &info, x, y, w, h);
    __glInitMemPack(gc, &info, w, h, 1, format, GL_UNSIGNED_BYTE, got.data());
    ASSERT_TRUE(__glClipReadPixels(gc, &info));
    ASSERT_TRUE(__glInitPacker(gc, &info));
    gc->lockBuffers(gc, __glReadPixelsLockMask(gc, GL_RGBA));
    gc->procs.pickReadImage(gc, nullptr, &info);
    gc->unlockBuffers(gc, __glReadPixelsLockMask(gc, GL_RGBA));
    EXPECT_EQ(got, want) << std::hex << format;
  }
}

}  // namespace
}  // namespace image_paths_test
