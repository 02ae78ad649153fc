// Levels defined by glTexImage and changed by glTexSubImage: the level's
// description, texels only where the command put them, the manager told
// and the pickers marked; proxies describe without storing.
#include <string.h>

#include "pixels/px_tex_image.h"
#include "tests/pixels/tex_images/tex_image_fixture.h"
#include "tests/support/counting_imports.h"

namespace tex_image_test {
namespace {

using Bytes = std::vector<uint8_t>;

class Define : public TexImageTest {};

TEST_F(Define, ANullImageDefinesTheLevelWithoutTexels) {
  RecordManager(Bound(1));
  ClearMark();
  glTexImage2D(GL_TEXTURE_2D, 2, GL_LUMINANCE_ALPHA, 6, 10, 1, GL_RGBA, GL_UNSIGNED_BYTE,
               nullptr);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  const GlTextureLevel *l = Level(1, 2);
  EXPECT_NE(l->image, nullptr);
  EXPECT_EQ(l->width, 6);
  EXPECT_EQ(l->height, 10);
  EXPECT_EQ(l->depth, 3);
  EXPECT_EQ(l->border, 1);
  EXPECT_EQ(l->width2, 4);
  EXPECT_EQ(l->requestedFormat, GLenum(GL_LUMINANCE_ALPHA));
  EXPECT_EQ(l->baseFormat, GLenum(GL_LUMINANCE_ALPHA));
  EXPECT_EQ(RemoveCalls(), 1);
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_GENERIC);
}

TEST_F(Define, ALevelOfTexelsIsReadBackAsGiven) {
  const Bytes p = Pattern(4, 2, 3);
  RecordManager(Bound(1));
  ClearMark();
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  EXPECT_EQ(GetRgba(GL_TEXTURE_2D, 0), p);
  // Told once by the store and once by the command.
  EXPECT_EQ(RemoveCalls(), 2);
  EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_GENERIC);
}

// A 1D level is 2 border + 1 rows high; its texels are the middle row.
TEST_F(Define, AOneDimensionalLevelKeepsItsTexelsInTheRowPastTheBorder) {
  const Bytes p = Pattern(6, 1, 5);
  glTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 6, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  const GlTextureLevel *l = Level(0, 0);
  ASSERT_EQ(l->height, 3);
  EXPECT_EQ(memcmp(l->image + 6 * 4, p.data(), p.size()), 0);
  EXPECT_EQ(GetRgba(GL_TEXTURE_1D, 0), p);
}

// The model of a level of RGBA bytes: the sub-image's rectangle replaced,
// offsets from the interior.
Bytes Replace(Bytes level, int levelWidth, int border, int x, int y, int w, int h,
              const Bytes &sub) {
  for (int j = 0; j < h; ++j)
    memcpy(&level[(size_t(y + border + j) * levelWidth + size_t(x + border)) * 4],
           &sub[size_t(j) * w * 4], size_t(w) * 4);
  return level;
}

TEST_F(Define, SubImagesChangeExactlyTheirRectangle) {
  const struct {
    GLint x, y;
    GLsizei w, h;
  } cases[] = {{-1, -1, 3, 2}, {5, 6, 4, 3}, {-1, 8, 10, 1}, {0, 0, 0, 5}, {2, -1, 1, 10}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h);
    const Bytes base = Pattern(10, 10, 1), sub = Pattern(c.w + 1, c.h, 9);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 10, 10, 1, GL_RGBA, GL_UNSIGNED_BYTE, base.data());
    GlTextureLevel *l = Level(1, 0);
    // The byte past the texels guards the buffer's end.
    const size_t end = size_t(l->width) * l->height * 4;
    l->image[end] = 0x77;
    RecordManager(Bound(1));
    ClearMark();
    glTexSubImage2D(GL_TEXTURE_2D, 0, c.x, c.y, c.w, c.h, GL_RGBA, GL_UNSIGNED_BYTE, sub.data());
    ASSERT_EQ(Error(), GLenum(GL_NO_ERROR));
    EXPECT_GE(RemoveCalls(), 1);
    EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_GENERIC);
    EXPECT_EQ(GetRgba(GL_TEXTURE_2D, 0), Replace(base, 10, 1, c.x, c.y, c.w, c.h, sub));
    EXPECT_EQ(l->image[end], 0x77);
  }
}

TEST_F(Define, OneDimensionalSubImagesChangeTheTexelRowOnly) {
  const Bytes base = Pattern(10, 1, 2), sub = Pattern(3, 1, 8);
  glTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 10, 1, GL_RGBA, GL_UNSIGNED_BYTE, base.data());
  GlTextureLevel *l = Level(0, 0);
  memset(l->image, 0x11, 10 * 4);           // the border rows above
  memset(l->image + 20 * 4, 0x22, 10 * 4);  // and below
  glTexSubImage1D(GL_TEXTURE_1D, 0, -1, 3, GL_RGBA, GL_UNSIGNED_BYTE, sub.data());
  glTexSubImage1D(GL_TEXTURE_1D, 0, 8, 1, GL_RGBA, GL_UNSIGNED_BYTE, sub.data());
  Bytes want = Replace(base, 10, 0, 0, 0, 3, 1, sub);
  memcpy(&want[9 * 4], sub.data(), 4);
  EXPECT_EQ(GetRgba(GL_TEXTURE_1D, 0), want);
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(l->image[i], 0x11) << i;
    EXPECT_EQ(l->image[80 + i], 0x22) << i;
  }
}

// Unpack modes on the client image: rows longer than the rectangle,
// skipped pixels and rows, alignment.
TEST_F(Define, SubImagesReadTheClientImageUnderTheUnpackModes) {
  const Bytes base = Pattern(8, 8, 4);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, base.data());
  // A 3 x 2 rectangle of RGB bytes inside rows of 5 pixels (15 bytes,
  // padded to 16), two rows and one pixel in.
  Bytes client(16 * 5, 0);
  for (size_t i = 0; i < client.size(); ++i) client[i] = uint8_t(i * 7 + 3);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 5);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 2);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 1);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
  glTexSubImage2D(GL_TEXTURE_2D, 0, 4, 5, 3, 2, GL_RGB, GL_UNSIGNED_BYTE, client.data());
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  Bytes want = base;
  for (int i = 3; i < int(want.size()); i += 4) want[size_t(i)] = 255;
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 3; ++i)
      for (int k = 0; k < 3; ++k)
        want[(size_t(5 + j) * 8 + size_t(4 + i)) * 4 + k] = client[16 * (2 + j) + 3 * (1 + i) + k];
  EXPECT_EQ(GetRgba(GL_TEXTURE_2D, 0), want);
}

TEST_F(Define, ANullSubImageStoresNothing) {
  const Bytes base = Pattern(4, 4, 6);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, base.data());
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(GetRgba(GL_TEXTURE_2D, 0), base);
}

// The display-list forms read the image dense, whatever the unpack modes.
TEST_F(Define, ListFormsReadPackedImages) {
  const Bytes p = Pattern(4, 2, 7);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 9);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 3);
  __gllei_TexImage2D(gc, GL_TEXTURE_2D, 0, GL_RGBA, 4, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  EXPECT_EQ(GetRgba(GL_TEXTURE_2D, 0), p);
  const Bytes sub = Pattern(2, 1, 8);
  __gllei_TexSubImage2D(gc, GL_TEXTURE_2D, 0, 1, 1, 2, 1, GL_RGBA, GL_UNSIGNED_BYTE, sub.data());
  EXPECT_EQ(GetRgba(GL_TEXTURE_2D, 0), Replace(p, 4, 0, 1, 1, 2, 1, sub));
  __gllei_TexImage1D(gc, GL_TEXTURE_1D, 0, GL_RGBA, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  __gllei_TexSubImage1D(gc, GL_TEXTURE_1D, 0, 3, 1, GL_RGBA, GL_UNSIGNED_BYTE, sub.data());
  Bytes want(p.begin(), p.begin() + 16);
  memcpy(&want[12], sub.data(), 4);
  EXPECT_EQ(GetRgba(GL_TEXTURE_1D, 0), want);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  gc->beginMode = __GL_IN_BEGIN;
  __gllei_TexImage2D(gc, GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  gc->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(Error(), GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(Level(1, 0)->width, 4);
}

TEST_F(Define, ProxiesDescribeWithoutStoringOrRaising) {
  const Bytes p = Pattern(64, 64, 1);
  const int live = CountingImports::live();
  glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGB, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  const GlTextureLevel *l = Level(3, 0);
  EXPECT_EQ(l->width, 64);
  EXPECT_EQ(l->requestedFormat, GLenum(GL_RGB));
  EXPECT_EQ(l->image, nullptr);
  glTexImage2D(GL_PROXY_TEXTURE_2D, 0, GL_RGB, 2048, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(l->width, 0);
  EXPECT_EQ(l->requestedFormat, 0u);
  glTexImage1D(GL_PROXY_TEXTURE_1D, 4, GL_ALPHA, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(Level(2, 4)->width, 64);
  EXPECT_EQ(Level(2, 4)->image, nullptr);
  EXPECT_EQ(CountingImports::live(), live);
  // A proxy level is never one a sub-image can replace.
  glTexSubImage2D(GL_PROXY_TEXTURE_2D, 0, 0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
  EXPECT_EQ(Error(), GLenum(GL_INVALID_ENUM));
}

// Too large for the real target: the level records GL_INVALID_VALUE and
// keeps no texels, but the device and the pickers still hear of it.
TEST_F(Define, ATooLargeLevelIsRefusedByTheManager) {
  RecordManager(Bound(1));
  ClearMark();
  glTexImage2D(GL_TEXTURE_2D, 3, GL_RGBA, 256, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  EXPECT_EQ(Error(), GLenum(GL_INVALID_VALUE));
  EXPECT_EQ(Level(1, 3)->image, nullptr);
  EXPECT_EQ(RemoveCalls(), 1);
  EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_GENERIC);
}

}  // namespace
}  // namespace tex_image_test
