// The texture and pixel-transfer state the reset leaves for the pickers.
#include <gtest/gtest.h>

#include "pixels/px_state.h"
#include "tests/core/texture_pickers/tex_fixture.h"

namespace {

TEST(TextureReset, TargetsAndGenerationTakeTheirDefaults) {
  PickerContext ctx;
  GlContext *gc = ctx.gc();
  GlTextureMachine &tx = gc->texture;
  tx.targets[1].params.minFilter = GL_LINEAR;
  tx.targets[1].texobjs = {7, 0.5f};
  tx.texCoordGen[__GL_TEXGEN_Q].mode = GL_SPHERE_MAP;
  __glInitTextureState(gc);
  for (const GlTextureTargetState &t : tx.targets) {
    EXPECT_EQ(t.params.wrapS, GLenum(GL_REPEAT));
    EXPECT_EQ(t.params.wrapT, GLenum(GL_REPEAT));
    EXPECT_EQ(t.params.minFilter, GLenum(GL_NEAREST_MIPMAP_LINEAR));
    EXPECT_EQ(t.params.magFilter, GLenum(GL_LINEAR));
    for (GLfloat c : t.params.borderColor) EXPECT_EQ(c, 0.0f);
    EXPECT_EQ(t.texobjs.name, 0u);
    EXPECT_EQ(t.texobjs.priority, 1.0f);
  }
  struct Plane {
    GlCoord plane;
  } planes[4] = {{{1, 0, 0, 0}}, {{0, 1, 0, 0}}, {{0, 0, 0, 0}}, {{0, 0, 0, 0}}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const GlTexCoordGen &g = tx.texCoordGen[i];
    EXPECT_EQ(g.mode, GLenum(GL_EYE_LINEAR));
    for (const GlCoord *p : {&g.eyePlane, &g.objectPlane}) {
      EXPECT_EQ(p->x, planes[i].plane.x);
      EXPECT_EQ(p->y, planes[i].plane.y);
      EXPECT_EQ(p->z, planes[i].plane.z);
      EXPECT_EQ(p->w, planes[i].plane.w);
    }
  }
}

TEST(TextureReset, BoundObjectsTakeTheDefaultsAndTheirTargetsDimension) {
  PickerContext ctx;
  GlContext *gc = ctx.gc();
  TestTexture textures[__GL_NUM_TEXTURE_TARGETS];
  const int32_t dims[__GL_NUM_TEXTURE_TARGETS] = {1, 2, 1, 2};
  for (int i = 0; i < __GL_NUM_TEXTURE_TARGETS; ++i) {
    GlTextureObject *tex = textures[i].get();
    tex->minFilter = GL_LINEAR;
    tex->wrapS = GL_CLAMP;
    tex->borderColor[2] = 1.0f;
    tex->dim = 0;
    textures[i].level(3).requestedFormat = GL_RGB;
    gc->texture.bound[i] = tex;
  }
  __glInitTextureState(gc);
  for (int i = 0; i < __GL_NUM_TEXTURE_TARGETS; ++i) {
    SCOPED_TRACE(i);
    GlTextureObject *tex = textures[i].get();
    EXPECT_EQ(tex->owner, gc);
    EXPECT_EQ(tex->dim, dims[i]);
    EXPECT_EQ(tex->minFilter, GLenum(GL_NEAREST_MIPMAP_LINEAR));
    EXPECT_EQ(tex->wrapS, GLenum(GL_REPEAT));
    EXPECT_EQ(tex->borderColor[2], 0.0f);
    EXPECT_EQ(textures[i].level(3).requestedFormat, 1u);
  }
}

TEST(PixelReset, TransferMapsAndReadBufferTakeTheirDefaults) {
  for (bool doubleBuffered : {false, true}) {
    SCOPED_TRACE(doubleBuffered);
    PickerContext ctx;
    GlContext *gc = ctx.gc();
    int start = ServiceContext::Live();
    gc->modes.doubleBufferMode = doubleBuffered;
    __glInitPixelState(gc);
    const GlPixelTransferMode &t = gc->pixel.transferMode;
    for (GLfloat one : {t.redScale, t.greenScale, t.blueScale, t.alphaScale, t.depthScale,
                        t.zoomX, t.zoomY}) {
      EXPECT_EQ(one, 1.0f);
    }
    for (GLfloat zero : {t.redBias, t.greenBias, t.blueBias, t.alphaBias, t.depthBias}) {
      EXPECT_EQ(zero, 0.0f);
    }
    EXPECT_EQ(t.indexShift, 0);
    EXPECT_EQ(t.indexOffset, 0);
    EXPECT_EQ(t.mapColor, 0);
    EXPECT_EQ(t.mapStencil, 0);
    for (const GlPixelMap &m : gc->pixel.pixelMap) {
      ASSERT_EQ(m.size, 1);
      ASSERT_NE(m.base.mapI, nullptr);
      EXPECT_EQ(m.base.mapI[0], 0);
    }
    EXPECT_EQ(gc->pixel.packModes.alignment, 4);
    EXPECT_EQ(gc->pixel.unpackModes.alignment, 4);
    GLenum expected = doubleBuffered ? GL_BACK : GL_FRONT;
    EXPECT_EQ(gc->pixel.readBuffer, expected);
    EXPECT_EQ(gc->pixel.readBufferReturn, expected);
    // The default maps share the pixel state's one entry: a second reset
    // allocates nothing, and the release leaves no map behind.
    __glInitPixelState(gc);
    EXPECT_EQ(ServiceContext::Live(), start);
    __glFreePixelState(gc);
    EXPECT_EQ(ServiceContext::Live(), start);
    for (const GlPixelMap &m : gc->pixel.pixelMap) {
      EXPECT_EQ(m.size, 0);
      EXPECT_EQ(m.base.mapF, nullptr);
    }
  }
}

// The reset cannot fail: with every allocation refused, each map is still
// the one-entry default.
TEST(PixelReset, MapsNeedNoAllocation) {
  PickerContext ctx;
  GlContext *gc = ctx.gc();
  int start = ServiceContext::Live();
  for (int refuse = 1; refuse <= __GL_PIXEL_MAP_COUNT; ++refuse) {
    SCOPED_TRACE(refuse);
    CountingImports::failAllocation(refuse);
    __glInitPixelState(gc);
    CountingImports::failAllocation(0);
    for (const GlPixelMap &m : gc->pixel.pixelMap) {
      EXPECT_EQ(m.size, 1);
      ASSERT_NE(m.base.mapI, nullptr);
      EXPECT_EQ(m.base.mapI[0], 0);
    }
    EXPECT_EQ(ServiceContext::Live(), start);
  }
  __glFreePixelState(gc);
}

TEST(PixelReset, OnlyPixelMapsHaveDefaultMaps) {
  PickerContext ctx;
  GlContext *gc = ctx.gc();
  int start = ServiceContext::Live();
  for (GLenum map : {0x0C6Fu, 0x0C7Au, 0u}) {
    SCOPED_TRACE(map);
    __glInitDefaultPixelMap(gc, map);
    EXPECT_EQ(ServiceContext::Live(), start);
  }
  __glInitDefaultPixelMap(gc, 0x0C79);
  EXPECT_EQ(gc->pixel.pixelMap[__GL_PIXEL_MAP_A_TO_A].size, 1);
  EXPECT_EQ(ServiceContext::Live(), start);
  __glFreePixelState(gc);
}

}  // namespace
