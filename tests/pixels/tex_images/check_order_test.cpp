// The checks of the texture image commands in their fixed order: each row
// fails two checks (or none) and expects the earlier one's error.
#include <limits.h>

#include <functional>
#include <iterator>

#include "core/s_names.h"
#include "pixels/px_tex_image.h"
#include "tests/pixels/tex_images/tex_image_fixture.h"

namespace tex_image_test {
namespace {

constexpr GLenum kNone = GL_NO_ERROR;

class CheckOrder : public TexImageTest {
 protected:
  // A bordered 8 x 8 level 0 on both real targets (10 texels with the
  // border), level 1 left empty.
  void DefineBordered() {
    const std::vector<uint8_t> p = Pattern(10, 10, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 10, 10, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    glTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 10, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
    ASSERT_EQ(Error(), kNone);
  }
};

struct TexImageCase {
  const char *what;
  GLenum target;
  GLint level, internalFormat;
  GLsizei width, height;
  GLint border;
  GLenum format, type;
  GLenum want;
};

TEST_F(CheckOrder, TexImage2DRecordsTheEarlierError) {
  const TexImageCase cases[] = {
      {"1D target", GL_TEXTURE_1D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, 0x1234, GL_INVALID_ENUM},
      {"unknown target", GL_TEXTURE_2D + 5, -1, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_ENUM},
      {"3_3_2 luminance before level", GL_TEXTURE_2D, -1, GL_RGB, 4, 4, 0, GL_LUMINANCE,
       GL_UNSIGNED_BYTE_3_3_2_EXT, GL_INVALID_OPERATION},
      {"4_4_4_4 rgb before format", GL_TEXTURE_2D, 0, GL_RGB, 4, 4, 0, GL_RGB,
       GL_UNSIGNED_SHORT_4_4_4_4_EXT, GL_INVALID_OPERATION},
      {"bitmap of colour", GL_TEXTURE_2D, -1, GL_RGBA, 4, 4, 0, GL_RGBA, GL_BITMAP,
       GL_INVALID_ENUM},
      {"bitmap of stencil", GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_STENCIL_INDEX, GL_BITMAP,
       GL_INVALID_ENUM},
      {"unknown type before level", GL_TEXTURE_2D, 99, GL_RGBA, 4, 4, 0, GL_RGBA, GL_BITMAP + 1,
       GL_INVALID_ENUM},
      {"depth format before level", GL_TEXTURE_2D, 99, GL_RGBA, 4, 4, 0, GL_DEPTH_COMPONENT,
       GL_UNSIGNED_BYTE, GL_INVALID_ENUM},
      {"level before internal format", GL_TEXTURE_2D, 11, 99, 4, 4, 0, GL_RGBA,
       GL_UNSIGNED_BYTE, GL_INVALID_VALUE},
      {"negative level", GL_TEXTURE_2D, -1, 99, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_VALUE},
      {"index format with float", GL_TEXTURE_2D, 0, GL_COLOR_INDEX8_EXT, 4, 4, 2,
       GL_COLOR_INDEX, GL_FLOAT, GL_INVALID_VALUE},
      {"index format with rgba", GL_TEXTURE_2D, 0, GL_COLOR_INDEX8_EXT, 4, 4, 0, GL_RGBA,
       GL_UNSIGNED_BYTE, GL_INVALID_VALUE},
      {"index format with bitmap", GL_TEXTURE_2D, 0, GL_COLOR_INDEX1_EXT, 4, 4, 0,
       GL_COLOR_INDEX, GL_BITMAP, GL_INVALID_VALUE},
      {"internal 5 before border", GL_TEXTURE_2D, 0, 5, 4, 4, 2, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_ENUM},
      {"RGB2 is not offered", GL_TEXTURE_2D, 0, GL_RGB2_EXT, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_ENUM},
      {"border before width", GL_TEXTURE_2D, 0, GL_RGBA, 3, 4, 2, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_VALUE},
      {"width not a power of two", GL_TEXTURE_2D, 0, GL_RGBA, 6, 4, 0, GL_RGBA,
       GL_UNSIGNED_BYTE, GL_INVALID_VALUE},
      {"height below the border", GL_TEXTURE_2D, 0, GL_RGBA, 6, 1, 1, GL_RGBA,
       GL_UNSIGNED_BYTE, GL_INVALID_VALUE},
      {"negative width", GL_TEXTURE_2D, 0, GL_RGBA, INT_MIN, 4, 1, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_VALUE},
      {"width 2 border", GL_TEXTURE_2D, 0, GL_RGBA, 2, 6, 1, GL_RGBA, GL_UNSIGNED_BYTE, kNone},
      {"width 0", GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 0, GL_RGBA, GL_UNSIGNED_BYTE, kNone},
      {"sized intensity", GL_TEXTURE_2D, 0, GL_INTENSITY16, 4, 4, 0, GL_LUMINANCE, GL_SHORT,
       kNone},
      {"3_3_2 bgr", GL_TEXTURE_2D, 0, GL_R3_G3_B2, 4, 4, 0, GL_BGR_EXT,
       GL_UNSIGNED_BYTE_3_3_2_EXT, kNone},
      {"10_10_10_2 abgr", GL_TEXTURE_2D, 0, GL_RGBA16, 4, 4, 0, GL_ABGR_EXT,
       GL_UNSIGNED_INT_10_10_10_2_EXT, kNone},
      {"index 16 from shorts", GL_TEXTURE_2D, 0, GL_COLOR_INDEX16_EXT, 4, 4, 0, GL_COLOR_INDEX,
       GL_UNSIGNED_SHORT, kNone},
      {"proxy too large", GL_PROXY_TEXTURE_2D, 0, GL_RGBA, 4096, 4096, 0, GL_RGBA,
       GL_UNSIGNED_BYTE, kNone},
      {"proxy of the other dimension", GL_PROXY_TEXTURE_1D, 0, GL_RGBA, 4, 4, 0, GL_RGBA,
       GL_UNSIGNED_BYTE, GL_INVALID_ENUM},
  };
  std::vector<uint8_t> pixels(64 * 4 * 4 * 4);
  for (const TexImageCase &c : cases) {
    SCOPED_TRACE(c.what);
    glTexImage2D(c.target, c.level, c.internalFormat, c.width, c.height, c.border, c.format,
                 c.type, c.width <= 8 ? pixels.data() : nullptr);
    EXPECT_EQ(Error(), c.want);
  }
}

TEST_F(CheckOrder, TexImage1DChecksTheWidthOnly) {
  const TexImageCase cases[] = {
      {"2D target", GL_TEXTURE_2D, 0, GL_RGBA, 4, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_ENUM},
      {"width 3", GL_TEXTURE_1D, 0, GL_RGBA, 3, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_VALUE},
      {"width 2 border", GL_TEXTURE_1D, 0, GL_RGBA, 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, kNone},
      {"bordered 8", GL_TEXTURE_1D, 0, GL_LUMINANCE, 10, 1, 1, GL_RED, GL_FLOAT, kNone},
      {"proxy", GL_PROXY_TEXTURE_1D, 3, GL_RGBA, 4, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, kNone},
  };
  std::vector<float> pixels(64 * 4);
  for (const TexImageCase &c : cases) {
    SCOPED_TRACE(c.what);
    glTexImage1D(c.target, c.level, c.internalFormat, c.width, c.border, c.format, c.type,
                 pixels.data());
    EXPECT_EQ(Error(), c.want);
  }
}

TEST_F(CheckOrder, CopyTexImageTakesRgbaFloatAndRefusesProxiesAndComponentCounts) {
  const TexImageCase cases[] = {
      {"internal 3", GL_TEXTURE_2D, 0, 3, 4, 4, 0, 0, 0, GL_INVALID_ENUM},
      {"internal 1", GL_TEXTURE_2D, 0, 1, 4, 4, 0, 0, 0, GL_INVALID_ENUM},
      {"proxy", GL_PROXY_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, 0, 0, GL_INVALID_ENUM},
      {"proxy with a bad level", GL_PROXY_TEXTURE_2D, 40, GL_RGBA, 4, 4, 0, 0, 0,
       GL_INVALID_VALUE},
      {"internal 3 with a bad border", GL_TEXTURE_2D, 0, 3, 4, 4, 2, 0, 0, GL_INVALID_VALUE},
      {"index format", GL_TEXTURE_2D, 0, GL_COLOR_INDEX8_EXT, 4, 4, 0, 0, 0, GL_INVALID_VALUE},
      {"width 5", GL_TEXTURE_2D, 0, GL_RGB, 5, 4, 0, 0, 0, GL_INVALID_VALUE},
      {"height 3", GL_TEXTURE_2D, 0, GL_RGB, 4, 3, 0, 0, 0, GL_INVALID_VALUE},
      {"width 2 border", GL_TEXTURE_2D, 0, GL_RGB, 2, 2, 1, 0, 0, kNone},
      {"luminance", GL_TEXTURE_2D, 0, 0x8040 /* GL_LUMINANCE8 */, 8, 4, 0, 0, 0, kNone},
  };
  for (const TexImageCase &c : cases) {
    SCOPED_TRACE(c.what);
    glCopyTexImage2D(c.target, c.level, GLenum(c.internalFormat), 0, 0, c.width, c.height,
                     c.border);
    EXPECT_EQ(Error(), c.want);
  }
  glCopyTexImage1D(GL_PROXY_TEXTURE_1D, 0, GL_RGBA, 0, 0, 4, 0);
  EXPECT_EQ(Error(), GLenum(GL_INVALID_ENUM));
  glCopyTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 0, 0, 5, 1);
  EXPECT_EQ(Error(), GLenum(GL_INVALID_VALUE));
  glCopyTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 0, 0, 6, 0);
  EXPECT_EQ(Error(), GLenum(GL_INVALID_VALUE));
  glCopyTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 0, 0, 8, 0);
  EXPECT_EQ(Error(), kNone);
}

struct SubCase {
  const char *what;
  GLenum target;
  GLint level, xoffset, yoffset;
  GLsizei width, height;
  GLenum format, type;
  GLenum want;
};

// Offsets count from the interior of a level of border 1 and 8 x 8 texels.
const SubCase kSubCases[] = {
    {"whole level from -1", GL_TEXTURE_2D, 0, -1, -1, 10, 10, GL_RGBA, GL_UNSIGNED_BYTE,
     kNone},
    {"up to the far edge", GL_TEXTURE_2D, 0, 5, 6, 4, 3, GL_RGBA, GL_UNSIGNED_BYTE, kNone},
    {"empty at the far edge", GL_TEXTURE_2D, 0, 9, 9, 0, 0, GL_RGBA, GL_UNSIGNED_BYTE, kNone},
    {"one beyond in x", GL_TEXTURE_2D, 0, 6, 0, 4, 1, GL_RGBA, GL_UNSIGNED_BYTE,
     GL_INVALID_VALUE},
    {"one beyond in y", GL_TEXTURE_2D, 0, 0, 7, 1, 3, GL_RGBA, GL_UNSIGNED_BYTE,
     GL_INVALID_VALUE},
    {"before the border", GL_TEXTURE_2D, 0, -2, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE,
     GL_INVALID_VALUE},
    {"negative width", GL_TEXTURE_2D, 0, 0, 0, -1, 1, GL_RGBA, GL_UNSIGNED_BYTE,
     GL_INVALID_VALUE},
    {"x near INT_MAX", GL_TEXTURE_2D, 0, INT_MAX, 0, 2, 1, GL_RGBA, GL_UNSIGNED_BYTE,
     GL_INVALID_VALUE},
    {"y near INT_MAX", GL_TEXTURE_2D, 0, 0, INT_MAX - 1, 1, INT_MAX, GL_RGBA, GL_UNSIGNED_BYTE,
     GL_INVALID_VALUE},
    {"width near INT_MAX", GL_TEXTURE_2D, 0, 2, 0, INT_MAX, 1, GL_RGBA, GL_UNSIGNED_BYTE,
     GL_INVALID_VALUE},
    {"empty level", GL_TEXTURE_2D, 1, 0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE,
     GL_INVALID_OPERATION},
    {"type before the empty level", GL_TEXTURE_2D, 1, 0, 0, 1, 1, GL_LUMINANCE,
     GL_UNSIGNED_SHORT_5_5_5_1_EXT, GL_INVALID_OPERATION},
    {"format before the level bound", GL_TEXTURE_2D, 40, 0, 0, 1, 1, GL_DEPTH_COMPONENT,
     GL_UNSIGNED_BYTE, GL_INVALID_ENUM},
    {"level bound", GL_TEXTURE_2D, 11, 0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE,
     GL_INVALID_VALUE},
    {"proxy", GL_PROXY_TEXTURE_2D, 0, 0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, GL_INVALID_ENUM},
    {"1D target", GL_TEXTURE_1D, 0, 0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, GL_INVALID_ENUM},
};

TEST_F(CheckOrder, TexSubImage2DRangesCountFromTheInterior) {
  DefineBordered();
  std::vector<uint8_t> pixels(10 * 10 * 4);
  for (const SubCase &c : kSubCases) {
    SCOPED_TRACE(c.what);
    // Where the range is refused the image would not be read at all.
    const bool small = c.width >= 0 && c.width <= 10 && c.height >= 0 && c.height <= 10;
    glTexSubImage2D(c.target, c.level, c.xoffset, c.yoffset, c.width, c.height, c.format,
                    c.type, small ? pixels.data() : nullptr);
    EXPECT_EQ(Error(), c.want);
  }
}

TEST_F(CheckOrder, CopyTexSubImage2DRangesCountFromTheInterior) {
  DefineBordered();
  for (const SubCase &c : kSubCases) {
    if (c.format != GL_RGBA) continue;  // the copy has no client format
    SCOPED_TRACE(c.what);
    glCopyTexSubImage2D(c.target, c.level, c.xoffset, c.yoffset, 0, 0, c.width, c.height);
    EXPECT_EQ(Error(), c.want);
  }
}

TEST_F(CheckOrder, OneDimensionalSubImagesCheckXOnly) {
  DefineBordered();
  const struct {
    GLenum target;
    GLint level, xoffset;
    GLsizei width;
    GLenum want;
  } cases[] = {
      {GL_TEXTURE_1D, 0, -1, 10, kNone},
      {GL_TEXTURE_1D, 0, 8, 1, kNone},
      {GL_TEXTURE_1D, 0, 8, 2, GL_INVALID_VALUE},
      {GL_TEXTURE_1D, 0, INT_MAX, 1, GL_INVALID_VALUE},
      {GL_TEXTURE_1D, 0, -1, INT_MAX, GL_INVALID_VALUE},
      {GL_TEXTURE_1D, 2, 0, 1, GL_INVALID_OPERATION},
      {GL_PROXY_TEXTURE_1D, 0, 0, 1, GL_INVALID_ENUM},
      {GL_TEXTURE_2D, 0, 0, 1, GL_INVALID_ENUM},
  };
  std::vector<uint8_t> pixels(10 * 4);
  for (const auto &c : cases) {
    SCOPED_TRACE(c.xoffset);
    glTexSubImage1D(c.target, c.level, c.xoffset, c.width, GL_RGBA, GL_UNSIGNED_BYTE,
                    c.width <= 10 ? pixels.data() : nullptr);
    EXPECT_EQ(Error(), c.want);
    glCopyTexSubImage1D(c.target, c.level, c.xoffset, 0, 0, c.width);
    EXPECT_EQ(Error(), c.want);
  }
}

// The copy check also bounds a depth offset (the commands pass 0): a level
// is 2 border + 1 texels deep.
TEST_F(CheckOrder, CopySubImageDepthOffsetsStayInTheLevel) {
  DefineBordered();
  glTexImage2D(GL_TEXTURE_2D, 1, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  const struct {
    GLint level, zoffset;
    GLenum want;
  } cases[] = {{0, -1, kNone}, {0, 1, kNone}, {0, 2, GL_INVALID_VALUE},
               {0, -2, GL_INVALID_VALUE}, {1, 0, kNone}, {1, 1, GL_INVALID_VALUE},
               {1, -1, GL_INVALID_VALUE}, {1, INT_MAX, GL_INVALID_VALUE}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.level << " " << c.zoffset);
    const bool passed = __glCheckCopyTexSubImageArgs(gc, GL_TEXTURE_2D, c.level, 0, 0, c.zoffset,
                                                     0, 0, 1, 1, 2) != nullptr;
    EXPECT_EQ(passed, c.want == kNone);
    EXPECT_EQ(Error(), c.want);
  }
}

// A second holder (another context's binding, a lock through the names)
// keeps the texels from being redefined, but not from being replaced.
TEST_F(CheckOrder, AnObjectHeldElsewhereRefusesRedefinitionOnly) {
  glBindTexture(GL_TEXTURE_2D, 7);
  DefineBordered();
  void *held = __glNamesLockData(gc, gc->texture.shared, 7);
  ASSERT_EQ(Bound(1)->refcount, 3);
  std::vector<uint8_t> pixels(10 * 10 * 4);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  EXPECT_EQ(Error(), GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(Level(1, 0)->width, 10);
  glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 4, 4, 0);
  EXPECT_EQ(Error(), GLenum(GL_INVALID_OPERATION));
  EXPECT_EQ(Level(1, 0)->width, 10);
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, 4, 4);
  EXPECT_EQ(Error(), GLenum(GL_INVALID_OPERATION));
  glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  EXPECT_EQ(Error(), kNone);
  __glNamesUnlockData(gc, gc->texture.shared, held);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  EXPECT_EQ(Error(), kNone);
}

// glGetError itself is refused inside glBegin/glEnd: each command runs
// there alone and the error is read outside.
TEST_F(CheckOrder, EveryCommandIsRefusedBetweenBeginAndEnd) {
  DefineBordered();
  std::vector<uint8_t> pixels(10 * 10 * 4);
  const uint8_t *p = pixels.data();
  const std::function<void()> commands[] = {
      [&] { glTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, p); },
      [&] { glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, p); },
      [&] { glTexSubImage1D(GL_TEXTURE_1D, 0, 0, 4, GL_RGBA, GL_UNSIGNED_BYTE, p); },
      [&] { glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE, p); },
      [&] { glCopyTexImage1D(GL_TEXTURE_1D, 0, GL_RGBA, 0, 0, 4, 0); },
      [&] { glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 4, 4, 0); },
      [&] { glCopyTexSubImage1D(GL_TEXTURE_1D, 0, 0, 0, 0, 4); },
      [&] { glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, 4, 4); },
  };
  const std::vector<uint8_t> level2D = GetRgba(GL_TEXTURE_2D, 0);
  for (size_t i = 0; i < std::size(commands); ++i) {
    SCOPED_TRACE(i);
    gc->beginMode = __GL_IN_BEGIN;
    commands[i]();
    gc->beginMode = __GL_NOT_IN_BEGIN;
    EXPECT_EQ(Error(), GLenum(GL_INVALID_OPERATION));
  }
  EXPECT_EQ(Level(1, 0)->width, 10);
  EXPECT_EQ(Level(0, 0)->width, 10);
  EXPECT_EQ(GetRgba(GL_TEXTURE_2D, 0), level2D);
}

}  // namespace
}  // namespace tex_image_test
