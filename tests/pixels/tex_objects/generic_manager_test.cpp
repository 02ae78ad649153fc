// The generic texture manager: the objects it makes, the levels it defines
// in memory (and only describes for proxies), and what it frees.
#include <gtest/gtest.h>

#include <vector>

#include "pixels/px_texformat.h"
#include "pixels/px_texture_manager.h"
#include "tests/pixels/tex_objects/tex_object_fixture.h"
#include "tests/support/counting_imports.h"
#include "wgl/wgl_soft_device.h"

namespace tex_generic_manager_test {
namespace {

using CreateLevelProc = uint8_t *(*)(GlContext *, GlTextureObject *, GLint, GLenum, GLint, GLint,
                                     GLint, GLint, GLint);

// The software-only device installs the generic manager (the SiS device
// has its own).
class GenericManager : public TexObjectTest {
 protected:
  void SetUp() override {
    saved = __glDevice;
    __glDevice = &__glSoftDevice;
    TexObjectTest::SetUp();
  }
  void TearDown() override {
    for (GlTextureObject *tex : made) Free(tex);
    TexObjectTest::TearDown();
    __glDevice = saved;
  }
  GlDevice *saved = nullptr;
  GlTextureObject *Make(int32_t index, GLuint name = 0) {
    GlTextureObject *tex = tx().createTexture(gc, name, index);
    if (tex != nullptr) made.push_back(tex);
    return tex;
  }
  void Free(GlTextureObject *tex) {
    tex->refcount = 0;
    tex->free(gc, tex);
  }
  std::vector<GlTextureObject *> made;
};

void ExpectEmpty(const GlTextureLevel *l, GLenum requested = 1) {
  EXPECT_EQ(l->image, nullptr);
  EXPECT_EQ(l->auxImage, nullptr);
  EXPECT_EQ(l->width, 0);
  EXPECT_EQ(l->height, 0);
  EXPECT_EQ(l->depth, 0);
  EXPECT_EQ(l->border, 0);
  EXPECT_EQ(l->requestedFormat, requested);
  EXPECT_EQ(l->baseFormat, 0u);
  EXPECT_EQ(l->texFormat, nullptr);
  EXPECT_EQ(l->texFormatId, 0);
  EXPECT_EQ(l->redBits + l->luminanceBits + l->alphaBits, 0);
  EXPECT_EQ(l->extract, __glExtractTexelNone);
}

TEST_F(GenericManager, ObjectsStartWithTheDefaultsOfTheirTarget) {
  EXPECT_EQ(tx().createTexture, __glCreateTexture);
  struct Case {
    int32_t index, dim;
    CreateLevelProc createLevel;
    GLenum tableTarget;
  } cases[] = {
      {__GL_TEXTURE_1D_INDEX, 1, __glTextureCreateLevel, GL_TEXTURE_1D},
      {__GL_TEXTURE_2D_INDEX, 2, __glTextureCreateLevel, GL_TEXTURE_2D},
      {__GL_PROXY_TEXTURE_1D_INDEX, 1, __glTextureCreateProxyLevel, 0},
      {__GL_PROXY_TEXTURE_2D_INDEX, 2, __glTextureCreateProxyLevel, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.index);
    GlTextureObject *tex = Make(c.index, 12);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->refcount, 1);
    EXPECT_EQ(tex->owner, gc);
    EXPECT_EQ(tex->targetIndex, c.index);
    EXPECT_EQ(tex->dim, c.dim);
    EXPECT_EQ(tex->createLevel, c.createLevel);
    EXPECT_EQ(tex->deleteLevel, __glTextureDeleteLevel);
    EXPECT_EQ(tex->free, __glFreeTexture);
    EXPECT_EQ(tex->makeResident, __glTextureMakeResident);
    EXPECT_EQ(tex->removeResident, __glTextureRemoveResident);
    EXPECT_EQ(tex->copyTexImage, __glCopyTexImage);
    EXPECT_EQ(tex->readTexImage, __glReadTexImage);
    EXPECT_EQ(tex->colorTable.target, c.tableTarget);
    EXPECT_EQ(tex->colorTable.internalFormat, GLenum(GL_RGBA));
    EXPECT_EQ(tex->texobjs.name, 12u);
    EXPECT_EQ(tex->texobjs.priority, 1.0f);
    EXPECT_EQ(tex->wrapS, GLenum(GL_REPEAT));
    EXPECT_EQ(tex->wrapT, GLenum(GL_REPEAT));
    EXPECT_EQ(tex->minFilter, GLenum(GL_NEAREST_MIPMAP_LINEAR));
    EXPECT_EQ(tex->magFilter, GLenum(GL_LINEAR));
    EXPECT_EQ(tex->resident, 0u);
    EXPECT_TRUE(tex->makeResident(gc, tex, 0));
    EXPECT_EQ(tex->resident, 0u);
    for (int32_t i = 0; i < gc->constants.maxMipMapLevel; ++i) ExpectEmpty(tex->levels[i]);
  }
}

struct LevelCase {
  GLint level, width, height, depth, border;
  GLenum format;
  // Expected:
  int32_t w2, h2, log2w, log2h;
  const GlTexFormat *row;
  GLenum base;
  GlTexelExtractProc extract;
  int32_t chainLength;
};

const LevelCase kLevels[] = {
    {0, 16, 4, 1, 0, GL_RGB, 16, 4, 4, 2, &__glTexFormatRGB8, GL_RGB, __glExtractTexelRGB8, 5},
    {0, 18, 6, 3, 1, GL_RGB, 16, 4, 4, 2, &__glTexFormatRGB8, GL_RGB, __glExtractTexelRGB8_B, 5},
    {2, 8, 32, 1, 0, 0x8041, 8, 32, 3, 5, &__glTexFormatLuminance8, GL_LUMINANCE,
     __glExtractTexelL8, 8},
    {3, 128, 1, 1, 0, GL_ALPHA, 128, 1, 7, 0, &__glTexFormatAlpha8, GL_ALPHA, __glExtractTexelA8,
     11},
    {1, 3, 3, 3, 1, 0x80E7, 1, 1, 0, 0, &__glTexFormatColorIndex16, GL_COLOR_INDEX,
     __glExtractTexelCI16_B, 2},
    // An interior of 0 x 0 is legal and has no chain.
    {0, 2, 2, 3, 1, 4, 0, 0, 0, 0, &__glTexFormatRGBA8, GL_RGBA, __glExtractTexelRGBA8_B, 0},
};

TEST_F(GenericManager, CreateLevelDescribesTheLevelFromItsFormat) {
  for (const LevelCase &c : kLevels) {
    SCOPED_TRACE(testing::Message() << "level " << c.level << ", " << c.width << " x "
                                    << c.height);
    GlTextureObject *tex = Make(__GL_TEXTURE_2D_INDEX);
    uint8_t *image =
        tex->createLevel(gc, tex, c.level, c.format, c.width, c.height, c.depth, c.border, 2);
    EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
    const GlTextureLevel *l = tex->levels[c.level];
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(l->image, image);
    EXPECT_EQ(BlockSize(image),
              size_t((c.row->bitsPerTexel + 7) / 8) * c.width * c.height + 1);
    EXPECT_EQ(l->width, c.width);
    EXPECT_EQ(l->height, c.height);
    EXPECT_EQ(l->depth, c.depth);
    EXPECT_EQ(l->area, c.width * c.height);
    EXPECT_EQ(l->width2, c.w2);
    EXPECT_EQ(l->height2, c.h2);
    EXPECT_EQ(l->depth2, c.depth - 2 * c.border);
    EXPECT_EQ(l->width2f, float(c.w2));
    EXPECT_EQ(l->height2f, float(c.h2));
    EXPECT_EQ(l->widthLog2, c.log2w);
    EXPECT_EQ(l->heightLog2, c.log2h);
    EXPECT_EQ(l->depthLog2, 0);
    EXPECT_EQ(l->border, c.border);
    EXPECT_EQ(l->requestedFormat, c.format);
    EXPECT_EQ(l->baseFormat, c.base);
    EXPECT_EQ(l->texFormat, c.row);
    EXPECT_EQ(l->texFormatId, c.row->id);
    EXPECT_EQ(l->redBits, c.row->redBits);
    EXPECT_EQ(l->alphaBits, c.row->alphaBits);
    EXPECT_EQ(l->luminanceBits, c.row->luminanceBits);
    EXPECT_EQ(l->extract, c.extract);
    EXPECT_EQ(tex->texFormat, c.row);
    EXPECT_EQ(tex->chainLength, c.chainLength);
    // Only level 0 sets the largest log2.
    EXPECT_EQ(tex->maxLog2, c.level == 0 ? std::max(c.log2w, c.log2h) : 0);
  }
}

// The level-0 equivalent size must fit: level 3 of width 256 counts as 2048,
// and no width can wrap the check around.
TEST_F(GenericManager, OversizedLevelsAreRefusedByBothForms) {
  struct Case {
    GLint level, width, height, border;
  } cases[] = {
      {3, 256, 1, 0},       {0, 1025, 1, 0},     {0, 1, 2048, 0},         {10, 2, 1, 0},
      {10, 1 << 21, 1, 0},  {4, 1 << 28, 1, 0},  {0, 0x7FFFFFFF, 1, 0},   {11, 1, 1, 0},
      {-1, 1, 1, 0},        {0, 1, 1, 2},        {0, 1, -3, 0},
  };
  GlTextureObject *tex = Make(__GL_TEXTURE_2D_INDEX);
  GlTextureObject *proxy = Make(__GL_PROXY_TEXTURE_2D_INDEX);
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "level " << c.level << ", " << c.width << " x "
                                    << c.height);
    int live = CountingImports::live();
    EXPECT_EQ(tex->createLevel(gc, tex, c.level, GL_RGB, c.width, c.height, 1, c.border, 2),
              nullptr);
    EXPECT_EQ(Error(), GLenum(GL_INVALID_VALUE));
    EXPECT_EQ(CountingImports::live(), live);
    if (c.level >= 0 && c.level < 11) ExpectEmpty(tex->levels[c.level]);
    EXPECT_EQ(proxy->createLevel(gc, proxy, c.level, GL_RGB, c.width, c.height, 1, c.border, 2),
              nullptr);
    EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
    if (c.level >= 0 && c.level < 11) ExpectEmpty(proxy->levels[c.level], 0);
  }
  // The largest that fit.
  EXPECT_NE(tex->createLevel(gc, tex, 3, GL_RGB, 128, 1, 1, 0, 2), nullptr);
  EXPECT_NE(tex->createLevel(gc, tex, 10, GL_RGB, 1, 1, 1, 0, 2), nullptr);
  EXPECT_NE(tex->createLevel(gc, tex, 0, GL_RGB, 1026, 3, 3, 1, 2), nullptr);
}

TEST_F(GenericManager, ProxiesDescribeWithoutStorage) {
  GlTextureObject *proxy = Make(__GL_PROXY_TEXTURE_2D_INDEX);
  int live = CountingImports::live();
  EXPECT_EQ(proxy->createLevel(gc, proxy, 0, GL_RGBA, 1024, 2, 1, 0, 2), nullptr);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(CountingImports::live(), live);
  const GlTextureLevel *l = proxy->levels[0];
  EXPECT_EQ(l->width, 1024);
  EXPECT_EQ(l->height, 2);
  EXPECT_EQ(l->requestedFormat, GLenum(GL_RGBA));
  EXPECT_EQ(l->baseFormat, GLenum(GL_RGBA));
  EXPECT_EQ(l->alphaBits, 8);
  EXPECT_EQ(l->image, nullptr);
  EXPECT_EQ(l->extract, __glExtractTexelNone);
  // Too large: everything back to 0, and still no error.
  EXPECT_EQ(proxy->createLevel(gc, proxy, 0, GL_RGBA, 2048, 1, 1, 0, 2), nullptr);
  EXPECT_EQ(Error(), GLenum(GL_NO_ERROR));
  ExpectEmpty(l, 0);
}

TEST_F(GenericManager, RedefiningALevelDropsItsCookedCopy) {
  GlTextureObject *tex = Make(__GL_TEXTURE_2D_INDEX);
  ASSERT_NE(tex->createLevel(gc, tex, 0, GL_RGB, 8, 8, 1, 0, 2), nullptr);
  GlTextureLevel *l = tex->levels[0];
  l->auxImage = static_cast<GLubyte *>(gc->imports.malloc(gc, 128));
  int live = CountingImports::live();
  ASSERT_NE(tex->createLevel(gc, tex, 0, GL_LUMINANCE, 16, 16, 1, 0, 2), nullptr);
  EXPECT_EQ(l->auxImage, nullptr);
  EXPECT_EQ(CountingImports::live(), live - 1);
  EXPECT_EQ(BlockSize(l->image), 16u * 16 + 1);
}

TEST_F(GenericManager, FreeingAnObjectReleasesEveryImage) {
  int live = CountingImports::live();
  GlTextureObject *tex = tx().createTexture(gc, 0, __GL_TEXTURE_2D_INDEX);
  ASSERT_NE(tex, nullptr);
  for (GLint level = 0; level < 4; ++level) {
    GLint size = 8 >> level;
    ASSERT_NE(tex->createLevel(gc, tex, level, GL_RGBA, size, size, 1, 0, 2), nullptr);
  }
  tex->levels[1]->auxImage = static_cast<GLubyte *>(gc->imports.malloc(gc, 16));
  Free(tex);
  EXPECT_EQ(CountingImports::live(), live);
}

TEST_F(GenericManager, DeletingALevelKeepsItsDescription) {
  GlTextureObject *tex = Make(__GL_TEXTURE_1D_INDEX);
  ASSERT_NE(tex->createLevel(gc, tex, 0, GL_RGB, 8, 1, 1, 0, 1), nullptr);
  tex->deleteLevel(gc, tex, 0);
  EXPECT_EQ(tex->levels[0]->image, nullptr);
  EXPECT_EQ(tex->levels[0]->width, 8);
}

// A refused image leaves the level empty; the old image is freed, never
// lost behind a null pointer.
TEST_F(GenericManager, ARefusedImageLeavesTheLevelEmpty) {
  GlTextureObject *tex = Make(__GL_TEXTURE_2D_INDEX);
  ASSERT_NE(tex->createLevel(gc, tex, 0, GL_RGB, 8, 8, 1, 0, 2), nullptr);
  tex->levels[0]->auxImage = static_cast<GLubyte *>(gc->imports.malloc(gc, 16));
  int live = CountingImports::live();
  CountingImports::failAllocation(1);
  EXPECT_EQ(tex->createLevel(gc, tex, 0, GL_RGBA, 16, 16, 1, 0, 2), nullptr);
  CountingImports::failAllocation(0);
  EXPECT_EQ(Error(), GLenum(GL_OUT_OF_MEMORY));
  ExpectEmpty(tex->levels[0]);
  EXPECT_EQ(CountingImports::live(), live - 2);
}

// Any allocation of a new object refused: no object, nothing left.
TEST_F(GenericManager, ARefusedObjectLeavesNothing) {
  int live = CountingImports::live();
  for (int n = 1; n <= 3; ++n) {
    SCOPED_TRACE(n);
    CountingImports::failAllocation(n);
    EXPECT_EQ(tx().createTexture(gc, 1, __GL_TEXTURE_2D_INDEX), nullptr);
    CountingImports::failAllocation(0);
    EXPECT_EQ(CountingImports::live(), live);
  }
}

}  // namespace
}  // namespace tex_generic_manager_test
