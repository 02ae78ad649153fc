// The colour-table entries' refusals: each check in its place in the order
// (a row failing two checks gets the earlier error), the proxy's quiet
// refusal of a table too large, the limits of the size check, the entries
// refused between glBegin and glEnd, and the parameter queries' names.
#include <gtest/gtest.h>

#include <limits.h>

#include <functional>

#include "tests/pixels/color_tables/table_fixture.h"

namespace table_test {
namespace {

constexpr GLenum kNone = GL_NO_ERROR;

struct DefineCase {
  const char *what;
  GLenum target, internal;
  GLsizei width;
  GLenum format, type, error;
};

TEST_F(TableTest, DefinitionChecksRunInTheirOrder) {
  const DefineCase cases[] = {
      {"target before internal format", kNoTarget, 3, 4, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_ENUM},
      {"internal format before width", GL_TEXTURE_2D, 3, 3, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_ENUM},
      {"the numbers 1 to 4 are no formats", GL_TEXTURE_2D, 4, 4, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_ENUM},
      {"colour-index formats are none either", GL_TEXTURE_2D, 0x80E5, 4, GL_RGBA,
       GL_UNSIGNED_BYTE, GL_INVALID_ENUM},
      {"width before format", GL_TEXTURE_2D, GL_RGBA, 3, GL_COLOR_INDEX, GL_UNSIGNED_BYTE,
       GL_INVALID_VALUE},
      {"negative width", GL_TEXTURE_1D, GL_RGBA, -4, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_VALUE},
      {"size before format", GL_TEXTURE_2D, GL_RGBA, 4096, GL_COLOR_INDEX, GL_FLOAT,
       GL_TABLE_TOO_LARGE_EXT},
      {"a type of no size fails at the size step", GL_TEXTURE_2D, GL_RGBA, 4, GL_COLOR_INDEX,
       0x1234, GL_INVALID_ENUM},
      {"format before type", GL_TEXTURE_2D, GL_RGBA, 4, GL_COLOR_INDEX, GL_BITMAP,
       GL_INVALID_ENUM},
      {"packed types are refused", GL_TEXTURE_2D, GL_RGBA, 4, GL_RGBA,
       GL_UNSIGNED_SHORT_4_4_4_4_EXT, GL_INVALID_ENUM},
      {"bitmaps are refused", GL_TEXTURE_2D, GL_RGBA, 4, GL_RGBA, GL_BITMAP, GL_INVALID_ENUM},
      {"sized internal formats are taken", GL_TEXTURE_1D, GL_RGBA16, 4, GL_BGRA_EXT,
       GL_UNSIGNED_SHORT, kNone},
      {"width 0 is taken", GL_TEXTURE_2D, GL_LUMINANCE12, 0, GL_ABGR_EXT, GL_INT, kNone},
  };
  const GLubyte data[64] = {};
  for (const DefineCase &c : cases) {
    SCOPED_TRACE(c.what);
    glColorTableEXT(c.target, c.internal, c.width, c.format, c.type, data);
    EXPECT_EQ(glGetError(), c.error);
    EXPECT_EQ(Table().width, c.error == kNone && c.target == GL_TEXTURE_2D ? c.width : 0);
  }
}

// The group is the internal format's base format in the client's type,
// whatever format the client gives.
TEST_F(TableTest, TheSizeLimitIsThirtyTwoKilobytesOfClientGroups) {
  const DefineCase cases[] = {
      {"RGBA floats: 2048", GL_TEXTURE_2D, GL_RGBA, 2048, GL_RGBA, GL_FLOAT, kNone},
      {"RGBA floats: not 4096", GL_TEXTURE_2D, GL_RGBA, 4096, GL_RGBA, GL_FLOAT,
       GL_TABLE_TOO_LARGE_EXT},
      {"RGBA bytes: 8192", GL_TEXTURE_2D, GL_RGBA, 8192, GL_RGBA, GL_UNSIGNED_BYTE, kNone},
      {"RGBA bytes: not 16384", GL_TEXTURE_2D, GL_RGBA, 16384, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_TABLE_TOO_LARGE_EXT},
      {"an RGBA table given as alpha floats", GL_TEXTURE_2D, GL_RGBA, 4096, GL_ALPHA, GL_FLOAT,
       GL_TABLE_TOO_LARGE_EXT},
      {"alpha bytes: 32768", GL_TEXTURE_1D, GL_ALPHA8, 32768, GL_ALPHA, GL_UNSIGNED_BYTE,
       kNone},
      {"luminance-alpha shorts: not 16384", GL_TEXTURE_1D, GL_LUMINANCE_ALPHA, 16384,
       GL_LUMINANCE, GL_SHORT, GL_TABLE_TOO_LARGE_EXT},
      {"RGB ints: 2048", GL_TEXTURE_2D, GL_R3_G3_B2, 2048, GL_RGB, GL_INT, kNone},
  };
  for (const DefineCase &c : cases) {
    SCOPED_TRACE(c.what);
    glColorTableEXT(c.target, c.internal, c.width, c.format, c.type, nullptr);
    EXPECT_EQ(glGetError(), c.error);
    // The direct check says the same.
    EXPECT_EQ(__glCheckColorTableArgs(gc, c.target, c.internal, c.width, c.format, c.type),
              c.error);
  }
}

TEST_F(TableTest, AProxyTooLargeIsDescribedAsNoTable) {
  glColorTableEXT(GL_PROXY_TEXTURE_2D, GL_RGBA, 16, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  ASSERT_EQ(Parameter(GL_COLOR_TABLE_WIDTH_EXT, GL_PROXY_TEXTURE_2D), 16);
  glColorTableEXT(GL_PROXY_TEXTURE_2D, GL_RGBA, 4096, GL_RGBA, GL_FLOAT, nullptr);
  EXPECT_EQ(glGetError(), kNone);
  const GLenum zeroed[] = {GL_COLOR_TABLE_FORMAT_EXT,     GL_COLOR_TABLE_WIDTH_EXT,
                           GL_COLOR_TABLE_RED_SIZE_EXT,   GL_COLOR_TABLE_GREEN_SIZE_EXT,
                           GL_COLOR_TABLE_BLUE_SIZE_EXT,  GL_COLOR_TABLE_ALPHA_SIZE_EXT,
                           GL_COLOR_TABLE_LUMINANCE_SIZE_EXT, GL_COLOR_TABLE_INTENSITY_SIZE_EXT};
  for (GLenum pname : zeroed) EXPECT_EQ(Parameter(pname, GL_PROXY_TEXTURE_2D), 0) << pname;
  // A proxy never stores, and the real target is untouched.
  EXPECT_EQ(Table(GL_PROXY_TEXTURE_2D).table, nullptr);
  EXPECT_EQ(Parameter(GL_COLOR_TABLE_FORMAT_EXT), GL_RGBA);
  // Too large and of a wrong format as well: the format's error.
  glColorTableEXT(GL_PROXY_TEXTURE_1D, GL_RGBA, 4096, GL_COLOR_INDEX, GL_FLOAT, nullptr);
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
  // A proxy the limits allow is described, still without storage.
  glColorTableEXT(GL_PROXY_TEXTURE_1D, GL_LUMINANCE4_ALPHA4, 8, GL_RGBA, GL_FLOAT, nullptr);
  EXPECT_EQ(Parameter(GL_COLOR_TABLE_WIDTH_EXT, GL_PROXY_TEXTURE_1D), 8);
  EXPECT_EQ(Parameter(GL_COLOR_TABLE_LUMINANCE_SIZE_EXT, GL_PROXY_TEXTURE_1D), 8);
  EXPECT_EQ(Parameter(GL_COLOR_TABLE_ALPHA_SIZE_EXT, GL_PROXY_TEXTURE_1D), 8);
  EXPECT_EQ(Table(GL_PROXY_TEXTURE_1D).table, nullptr);
  EXPECT_EQ(glGetError(), kNone);
}

struct SubCase {
  const char *what;
  GLenum target;
  GLsizei start, count;
  GLenum format, type, error;
};

TEST_F(TableTest, SubTableChecksRunInTheirOrder) {
  glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 16, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  const SubCase cases[] = {
      {"no proxies", GL_PROXY_TEXTURE_2D, -1, 1, GL_RGBA, GL_UNSIGNED_BYTE, GL_INVALID_ENUM},
      {"range before format", GL_TEXTURE_2D, -1, 1, GL_COLOR_INDEX, GL_UNSIGNED_BYTE,
       GL_INVALID_VALUE},
      {"negative count", GL_TEXTURE_2D, 0, -1, GL_RGBA, GL_UNSIGNED_BYTE, GL_INVALID_VALUE},
      {"format before type", GL_TEXTURE_2D, 0, 1, GL_STENCIL_INDEX, 0x1234, GL_INVALID_ENUM},
      {"type", GL_TEXTURE_2D, 0, 1, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8_EXT, GL_INVALID_ENUM},
      {"the far end", GL_TEXTURE_2D, 12, 4, GL_RGBA, GL_UNSIGNED_BYTE, kNone},
      {"one past the far end", GL_TEXTURE_2D, 13, 4, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_VALUE},
      {"a start that wraps the sum", GL_TEXTURE_2D, INT_MAX - 2, 4, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_VALUE},
      {"a count that wraps the sum", GL_TEXTURE_2D, 8, INT_MAX, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_VALUE},
      {"the other target has no entries", GL_TEXTURE_1D, 0, 1, GL_RGBA, GL_UNSIGNED_BYTE,
       GL_INVALID_VALUE},
      {"nothing at the end", GL_TEXTURE_2D, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE, kNone},
  };
  const GLubyte data[64] = {};
  for (const SubCase &c : cases) {
    SCOPED_TRACE(c.what);
    glColorSubTableEXT(c.target, c.start, c.count, c.format, c.type, data);
    EXPECT_EQ(glGetError(), c.error);
  }
}

TEST_F(TableTest, CopyAndQueryChecks) {
  // Reads first, while the tables are empty.
  struct GetCase {
    GLenum target, format, type, error;
  } gets[] = {
      {GL_PROXY_TEXTURE_1D, GL_RGBA, GL_UNSIGNED_BYTE, GL_INVALID_ENUM},
      {kNoTarget, GL_RGBA, GL_UNSIGNED_BYTE, GL_INVALID_ENUM},
      // Every refusal of the format or type is GL_INVALID_ENUM.
      {GL_TEXTURE_2D, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, GL_INVALID_ENUM},
      {GL_TEXTURE_2D, GL_RGBA, GL_BITMAP, GL_INVALID_ENUM},
      {GL_TEXTURE_2D, GL_RGBA, 0x1234, GL_INVALID_ENUM},
      {GL_TEXTURE_1D, GL_LUMINANCE_ALPHA, GL_FLOAT, kNone},
  };
  GLubyte out[4] = {};
  for (const GetCase &c : gets) {
    glGetColorTableEXT(c.target, c.format, c.type, out);
    EXPECT_EQ(glGetError(), c.error) << std::hex << c.target << " " << c.format << " " << c.type;
  }
  struct Case {
    const char *what;
    GLenum target, internal;
    GLsizei width;
    GLenum error;
  } copies[] = {
      {"proxies are refused", GL_PROXY_TEXTURE_2D, GL_RGBA, 4, GL_INVALID_ENUM},
      {"internal format", GL_TEXTURE_2D, 3, 4, GL_INVALID_ENUM},
      {"width", GL_TEXTURE_2D, GL_RGB, 5, GL_INVALID_VALUE},
      // Copies are sized as RGBA floats would be.
      {"alpha floats: 8192", GL_TEXTURE_1D, GL_ALPHA, 8192, kNone},
      {"RGBA floats: not 4096", GL_TEXTURE_2D, GL_RGBA, 4096, GL_TABLE_TOO_LARGE_EXT},
      {"proxy too large: the size first", GL_PROXY_TEXTURE_2D, GL_RGBA, 4096,
       GL_TABLE_TOO_LARGE_EXT},
  };
  for (const Case &c : copies) {
    SCOPED_TRACE(c.what);
    glCopyColorTableEXT(c.target, c.internal, 0, 0, c.width);
    EXPECT_EQ(glGetError(), c.error);
  }
}

TEST_F(TableTest, EntriesBetweenBeginAndEndAreRefused) {
  glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 4, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
  GLubyte data[16] = {};
  GLint value = 0;
  GLfloat fvalue = 0;
  // glGetError itself is refused inside: each call is checked after.
  const std::function<void()> refused[] = {
      [&] { glColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 8, GL_RGBA, GL_UNSIGNED_BYTE, data); },
      [&] { glColorSubTableEXT(GL_TEXTURE_2D, 0, 1, GL_RGBA, GL_UNSIGNED_BYTE, data); },
      [&] { glCopyColorTableEXT(GL_TEXTURE_2D, GL_RGBA, 0, 0, 8); },
      [&] { glGetColorTableEXT(GL_TEXTURE_2D, GL_RGBA, GL_UNSIGNED_BYTE, data); },
  };
  for (const auto &call : refused) {
    gc->beginMode = __GL_IN_BEGIN;
    call();
    gc->beginMode = __GL_NOT_IN_BEGIN;
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
  }
  // The parameter queries answer there.
  gc->beginMode = __GL_IN_BEGIN;
  glGetColorTableParameterivEXT(GL_TEXTURE_2D, GL_COLOR_TABLE_WIDTH_EXT, &value);
  glGetColorTableParameterfvEXT(GL_TEXTURE_2D, GL_COLOR_TABLE_RED_SIZE_EXT, &fvalue);
  gc->beginMode = __GL_NOT_IN_BEGIN;
  EXPECT_EQ(glGetError(), kNone);
  EXPECT_EQ(value, 4);
  EXPECT_EQ(fvalue, 8.0f);
  EXPECT_EQ(Table().width, 4);
}

TEST_F(TableTest, FreshObjectsDescribeAnEmptyRgbaTable) {
  const GLenum targets[] = {GL_TEXTURE_1D, GL_TEXTURE_2D, GL_PROXY_TEXTURE_1D,
                            GL_PROXY_TEXTURE_2D};
  for (GLenum target : targets) {
    EXPECT_EQ(Parameter(GL_COLOR_TABLE_WIDTH_EXT, target), 0) << target;
    EXPECT_EQ(Parameter(GL_COLOR_TABLE_FORMAT_EXT, target), GL_RGBA) << target;
    for (GLenum size = GL_COLOR_TABLE_RED_SIZE_EXT; size <= GL_COLOR_TABLE_INTENSITY_SIZE_EXT;
         size++)
      EXPECT_EQ(Parameter(size, target), 0) << target << " " << size;
  }
  EXPECT_EQ(glGetError(), kNone);
}

TEST_F(TableTest, ParameterQueriesRefuseUnknownNames) {
  GLint value = -7;
  GLfloat fvalue = -7.0f;
  const struct {
    GLenum target, pname;
  } refused[] = {
      {kNoTarget, GL_COLOR_TABLE_WIDTH_EXT},
      {GL_TEXTURE_2D, GL_COLOR_TABLE_FORMAT_EXT - 1},
      {GL_TEXTURE_2D, GL_COLOR_TABLE_INTENSITY_SIZE_EXT + 1},
  };
  for (const auto &r : refused) {
    glGetColorTableParameterivEXT(r.target, r.pname, &value);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
    glGetColorTableParameterfvEXT(r.target, r.pname, &fvalue);
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_ENUM));
  }
  EXPECT_EQ(value, -7);
  EXPECT_EQ(fvalue, -7.0f);
}

// Each base format reports its own sizes, in both forms.
TEST_F(TableTest, SizesFollowTheBaseFormat) {
  struct Case {
    GLenum internal;
    GLint red, green, blue, alpha, luminance, intensity;
  } cases[] = {
      {GL_ALPHA12, 0, 0, 0, 8, 0, 0},      {GL_LUMINANCE, 0, 0, 0, 0, 8, 0},
      {GL_LUMINANCE6_ALPHA2, 0, 0, 0, 8, 8, 0}, {GL_INTENSITY8, 0, 0, 0, 0, 0, 8},
      {GL_RGB5, 8, 8, 8, 0, 0, 0},          {GL_RGB10_A2, 8, 8, 8, 8, 0, 0},
  };
  for (const Case &c : cases) {
    glColorTableEXT(GL_TEXTURE_1D, c.internal, 2, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    const GLint want[6] = {c.red, c.green, c.blue, c.alpha, c.luminance, c.intensity};
    for (int k = 0; k < 6; k++) {
      GLfloat f = -1;
      glGetColorTableParameterfvEXT(GL_TEXTURE_1D, GLenum(GL_COLOR_TABLE_RED_SIZE_EXT + k), &f);
      EXPECT_EQ(Parameter(GLenum(GL_COLOR_TABLE_RED_SIZE_EXT + k), GL_TEXTURE_1D), want[k])
          << std::hex << c.internal << " " << k;
      EXPECT_EQ(f, GLfloat(want[k]));
    }
    EXPECT_EQ(Parameter(GL_COLOR_TABLE_FORMAT_EXT, GL_TEXTURE_1D), GLint(c.internal));
  }
  EXPECT_EQ(glGetError(), kNone);
}

}  // namespace
}  // namespace table_test
