// glGetTexImage and glGetPolygonStipple: the checks in their order, and the
// span record each hands the image procedures (the copy itself belongs to
// the pixel paths).
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/gl_api.h"
#include "core/gl_get_enums.h"
#include "core/s_standin.h"
#include "pixels/px_enums.h"
#include "pixels/px_span.h"
#include "pixels/px_texture.h"
#include "tests/core/queries/query_fixture.h"

namespace query_test {
namespace {

// What the image procedures were handed, and in which order the set-up ran.
struct Handed {
  std::vector<std::string> calls;
  GlPixelSpanInfo info;
  const GlTextureObject *tex;
  GLbool8 applyModify;
};
Handed gHanded;

class ImageQuery : public QueryTest {
 protected:
  void Bound() override {
    QueryTest::Bound();
    gHanded = Handed{};
    __glStandInHook = [](const char *name) { gHanded.calls.push_back(name); };
    gc->procs.pickGetTexture = [](GlContext *, GlTextureObject *tex, GlPixelSpanInfo *info,
                                  GLbool8 applyModify) {
      gHanded.calls.push_back("pickGetTexture");
      gHanded.info = *info;
      gHanded.tex = tex;
      gHanded.applyModify = applyModify;
    };
    gc->procs.pickCopyImage = [](GlContext *, GlPixelSpanInfo *info, GLbool8 applyModify) {
      gHanded.calls.push_back("pickCopyImage");
      gHanded.info = *info;
      gHanded.applyModify = applyModify;
    };
  }
  void Unbinding() override { __glStandInHook = nullptr; }

  void PackModes() {
    glPixelStorei(GL_PACK_ROW_LENGTH, 40);
    glPixelStorei(GL_PACK_SKIP_ROWS, 2);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 8);
    glPixelStorei(GL_PACK_LSB_FIRST, 1);
    glPixelStorei(GL_PACK_SWAP_BYTES, 1);
  }
  void ExpectPackModes(const GlPixelSpanInfo &i) {
    EXPECT_EQ(i.dstLineLength, 40);
    EXPECT_EQ(i.dstSkipLines, 2);
    EXPECT_EQ(i.dstSkipPixels, 3);
    EXPECT_EQ(i.dstAlignment, 8);
    EXPECT_EQ(i.dstLsbFirst, 1u);
    EXPECT_EQ(i.dstSwapBytes, 1u);
  }
};

struct TexImageCase {
  const char *name;
  GLenum target;
  GLint level;
  GLenum format, type;
  GLenum error;
};

// The first failing check decides.
const TexImageCase kTexImageCases[] = {
    {"ProxyTarget", GL_PROXY_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, GL_INVALID_ENUM},
    {"ProxyBeforeLevel", GL_PROXY_TEXTURE_1D, -1, 0, 0, GL_INVALID_ENUM},
    {"OtherTarget", GL_TEXTURE_ENV, 0, GL_RGBA, GL_UNSIGNED_BYTE, GL_INVALID_ENUM},
    {"LevelBeforeFormat", GL_TEXTURE_2D, -1, GL_COLOR_INDEX, GL_BITMAP, GL_INVALID_VALUE},
    {"LevelEleven", GL_TEXTURE_1D, 11, GL_RGBA, GL_UNSIGNED_BYTE, GL_INVALID_VALUE},
    {"IndexFormat", GL_TEXTURE_2D, 0, GL_COLOR_INDEX, GL_UNSIGNED_BYTE, GL_INVALID_ENUM},
    {"DepthFormat", GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, GL_INVALID_ENUM},
    {"FormatBeforeType", GL_TEXTURE_2D, 0, GL_STENCIL_INDEX, 0, GL_INVALID_ENUM},
    {"Bitmap", GL_TEXTURE_2D, 0, GL_RGBA, GL_BITMAP, GL_INVALID_ENUM},
    {"UnknownType", GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT + 1, GL_INVALID_ENUM},
    {"Packed332WithRgba", GL_TEXTURE_1D, 0, GL_RGBA, GL_UNSIGNED_BYTE_3_3_2_EXT,
     GL_INVALID_OPERATION},
    {"Packed4444WithRgb", GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_SHORT_4_4_4_4_EXT,
     GL_INVALID_OPERATION},
    {"Packed1010102WithBgr", GL_TEXTURE_2D, 0, GL_BGR_EXT, GL_UNSIGNED_INT_10_10_10_2_EXT,
     GL_INVALID_OPERATION},
    {"Packed332WithBgr", GL_TEXTURE_1D, 0, GL_BGR_EXT, GL_UNSIGNED_BYTE_3_3_2_EXT, GL_NO_ERROR},
    {"Packed8888WithAbgr", GL_TEXTURE_2D, 10, GL_ABGR_EXT, GL_UNSIGNED_INT_8_8_8_8_EXT,
     GL_NO_ERROR},
    {"LuminanceAlphaFloat", GL_TEXTURE_2D, 0, GL_LUMINANCE_ALPHA, GL_FLOAT, GL_NO_ERROR},
    {"RedByte", GL_TEXTURE_1D, 0, GL_RED, GL_BYTE, GL_NO_ERROR},
};

class TexImageChecks : public ImageQuery, public testing::WithParamInterface<TexImageCase> {};

// Levels are empty until images are defined: an accepted call writes
// nothing either.
TEST_P(TexImageChecks, RecordTheFirstFailureAndWriteNothing) {
  const TexImageCase &c = GetParam();
  ExpectUntouched<uint8_t>(
      [&](uint8_t *p) { glGetTexImage(c.target, c.level, c.format, c.type, p); }, c.name);
  EXPECT_EQ(TakeError(), c.error);
  EXPECT_TRUE(gHanded.calls.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, TexImageChecks, testing::ValuesIn(kTexImageCases),
                         [](const testing::TestParamInfo<TexImageCase> &i) {
                           return i.param.name;
                         });

TEST_F(ImageQuery, TexImageOfADefinedLevelIsPackedWithThePackModes) {
  // A 1-D level with a border, stored by hand: 6 texels wide, 3 rows kept.
  GlTextureObject *tex = gc->texture.bound[__GL_TEXTURE_1D_INDEX];
  GlTextureLevel *level = tex->levels[3];
  GLubyte texels[18];
  level->image = texels;
  level->width = 6, level->height = 3, level->border = 1;
  PackModes();
  GLubyte out[4];
  glGetTexImage(GL_TEXTURE_1D, 3, GL_RGB, GL_UNSIGNED_SHORT, out);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gHanded.calls, std::vector<std::string>{"pickGetTexture"});
  const GlPixelSpanInfo &i = gHanded.info;
  EXPECT_EQ(gHanded.tex, tex);
  EXPECT_EQ(gHanded.applyModify, 1);
  EXPECT_EQ(i.width, 6);
  EXPECT_EQ(i.height, 1);
  EXPECT_EQ(i.depth, 1);
  EXPECT_EQ(i.zoomx, 1.0f);
  EXPECT_EQ(i.dstFormat, GLenum(GL_RGB));
  EXPECT_EQ(i.dstType, GLenum(GL_UNSIGNED_SHORT));
  EXPECT_EQ(i.dstImage, out);
  ExpectPackModes(i);
  // The level as it is kept: its texel row past the border.
  EXPECT_EQ(i.srcImage, texels);
  EXPECT_EQ(i.srcLineLength, 6);
  EXPECT_EQ(i.srcSkipLines, 1);
  EXPECT_EQ(i.srcSkipPixels, 0);
  EXPECT_EQ(i.srcLsbFirst, 1u);
  EXPECT_EQ(i.srcSwapBytes, 0u);
  EXPECT_EQ(i.dim, 1);
  *level = GlTextureLevel{};
  level->requestedFormat = 1;
}

TEST_F(ImageQuery, PolygonStippleIsA32By32BitmapOfTheStoredPattern) {
  PackModes();
  GLubyte mask[128 * 8];
  glGetPolygonStipple(mask);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gHanded.calls, std::vector<std::string>{"pickCopyImage"});
  const GlPixelSpanInfo &i = gHanded.info;
  EXPECT_EQ(gHanded.applyModify, 1);
  EXPECT_EQ(i.srcImage, static_cast<const void *>(gc->state.polygonStipple.stipple));
  EXPECT_EQ(i.srcFormat, GLenum(GL_COLOR_INDEX));
  EXPECT_EQ(i.srcType, GLenum(GL_BITMAP));
  EXPECT_EQ(i.srcLineLength, 32);
  EXPECT_EQ(i.srcAlignment, 4);
  EXPECT_EQ(i.srcSkipLines, 0);
  EXPECT_EQ(i.srcSkipPixels, 0);
  EXPECT_EQ(i.srcLsbFirst, 0u);
  EXPECT_EQ(i.width, 32);
  EXPECT_EQ(i.height, 32);
  EXPECT_EQ(i.depth, 1);
  EXPECT_EQ(i.zoomx, 1.0f);
  EXPECT_EQ(i.dstFormat, GLenum(GL_COLOR_INDEX));
  EXPECT_EQ(i.dstType, GLenum(GL_BITMAP));
  EXPECT_EQ(i.dstImage, mask);
  ExpectPackModes(i);
}

TEST_F(ImageQuery, PackRowLengthBelowOneIsTheImageWidth) {
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  GLubyte mask[128];
  glGetPolygonStipple(mask);
  EXPECT_EQ(gHanded.info.dstLineLength, 32);
  EXPECT_EQ(gHanded.info.dstAlignment, 4);
}

}  // namespace
}  // namespace query_test
