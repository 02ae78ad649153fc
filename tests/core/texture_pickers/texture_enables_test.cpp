// Which texture is current: the enables, the bound objects and whether they
// are complete; the target lookups the picker goes through; and the
// completeness rule itself.
#include <gtest/gtest.h>

#include "core/s_pick.h"
#include "tests/core/texture_pickers/tex_fixture.h"

namespace {

enum Which { kNone, k1D, k2D };

// Complete: a nearest-filtered level 0. Incomplete: a mipmapping filter
// over level 0 alone.
void Bind(GlContext *gc, int index, TestTexture *t, bool complete) {
  if (t == nullptr) return;
  t->Define(0, 8, index == __GL_TEXTURE_1D_INDEX ? 1 : 8, 0, GL_RGB);
  t->get()->minFilter = complete ? GL_NEAREST : GL_LINEAR_MIPMAP_LINEAR;
  gc->texture.bound[index] = t->get();
}

TEST(TextureEnables, TwoDimensionsWinAndAnIncompleteTextureTurnsTexturingOff) {
  struct Case {
    const char *what;
    uint32_t enables;
    bool bound1D, complete1D, bound2D, complete2D;
    Which current;
  } cases[] = {
      {"nothing enabled", 0, true, true, true, true, kNone},
      {"1D", __GL_TEXTURE_1D_ENABLE, true, true, true, true, k1D},
      {"2D", __GL_TEXTURE_2D_ENABLE, true, true, true, true, k2D},
      {"both: 2D wins", __GL_TEXTURE_1D_ENABLE | __GL_TEXTURE_2D_ENABLE, true, true, true, true,
       k2D},
      {"both, 2D incomplete: no fall back", __GL_TEXTURE_1D_ENABLE | __GL_TEXTURE_2D_ENABLE, true,
       true, true, false, kNone},
      {"both, 1D incomplete", __GL_TEXTURE_1D_ENABLE | __GL_TEXTURE_2D_ENABLE, true, false, true,
       true, k2D},
      {"1D incomplete", __GL_TEXTURE_1D_ENABLE, true, false, true, true, kNone},
      {"2D with nothing bound", __GL_TEXTURE_2D_ENABLE, true, true, false, false, kNone},
      {"generation bits alone", __GL_TEXTURE_GEN_S_ENABLE | __GL_TEXTURE_GEN_T_ENABLE, true, true,
       true, true, kNone},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    PickerContext ctx;
    GlContext *gc = ctx.gc();
    TestTexture t1(1), t2(2);
    Bind(gc, __GL_TEXTURE_1D_INDEX, c.bound1D ? &t1 : nullptr, c.complete1D);
    Bind(gc, __GL_TEXTURE_2D_INDEX, c.bound2D ? &t2 : nullptr, c.complete2D);
    gc->state.enables.texture = c.enables;
    gc->texture.current = t1.get();  // stale from an earlier pass
    gc->texture.active = 1;
    __glGenericPickTextureEnables(gc);
    GlTextureObject *expected = c.current == k1D ? t1.get() : c.current == k2D ? t2.get() : nullptr;
    EXPECT_EQ(gc->texture.current, expected);
    EXPECT_EQ(gc->texture.active, expected != nullptr ? 1 : 0);
  }
}

TEST(TextureEnables, TheCurrentTextureTakesItsTargetsParameters) {
  for (int index : {__GL_TEXTURE_1D_INDEX, __GL_TEXTURE_2D_INDEX}) {
    SCOPED_TRACE(index);
    PickerContext ctx;
    GlContext *gc = ctx.gc();
    TestTexture t1(1), t2(2);
    Bind(gc, __GL_TEXTURE_1D_INDEX, &t1, true);
    Bind(gc, __GL_TEXTURE_2D_INDEX, &t2, true);
    GlTextureParams &p = gc->texture.targets[index].params;
    p = {GL_CLAMP, GL_REPEAT, GL_NEAREST, GL_LINEAR, {0.25f, 0.5f, 0.75f, 1.0f}};
    gc->state.enables.texture =
        index == __GL_TEXTURE_1D_INDEX ? __GL_TEXTURE_1D_ENABLE : __GL_TEXTURE_2D_ENABLE;
    __glGenericPickTextureEnables(gc);
    GlTextureObject *tex = index == __GL_TEXTURE_1D_INDEX ? t1.get() : t2.get();
    GlTextureObject *other = index == __GL_TEXTURE_1D_INDEX ? t2.get() : t1.get();
    ASSERT_EQ(gc->texture.current, tex);
    EXPECT_EQ(tex->wrapS, GLenum(GL_CLAMP));
    EXPECT_EQ(tex->wrapT, GLenum(GL_REPEAT));
    EXPECT_EQ(tex->minFilter, GLenum(GL_NEAREST));
    EXPECT_EQ(tex->magFilter, GLenum(GL_LINEAR));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(tex->borderColor[i], p.borderColor[i]);
    EXPECT_EQ(other->wrapS, GLenum(GL_REPEAT)) << "the other target's object is left alone";
  }
}

TEST(TextureLookUp, TargetsFindTheirObjectsParametersAndNames) {
  PickerContext ctx;
  GlContext *gc = ctx.gc();
  GlTextureObject objects[__GL_NUM_TEXTURE_TARGETS] = {};
  for (int i = 0; i < __GL_NUM_TEXTURE_TARGETS; ++i) gc->texture.bound[i] = &objects[i];
  struct Case {
    GLenum target;
    int object;  // -1: none
    int state;   // index into targets, -1: none
  } cases[] = {
      {GL_TEXTURE_1D, 0, 0},       {GL_TEXTURE_2D, 1, 1},   {GL_PROXY_TEXTURE_1D, 2, -1},
      {GL_PROXY_TEXTURE_2D, 3, -1}, {GL_TEXTURE_GEN_S, -1, -1}, {0, -1, -1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.target);
    EXPECT_EQ(__glLookUpTexture(gc, c.target), c.object < 0 ? nullptr : &objects[c.object]);
    EXPECT_EQ(__glLookUpTextureParams(gc, c.target),
              c.state < 0 ? nullptr : &gc->texture.targets[c.state].params);
    EXPECT_EQ(__glLookUpTextureTexobjs(gc, c.target),
              c.state < 0 ? nullptr : &gc->texture.targets[c.state].texobjs);
  }
}

// How a case changes a texture with a complete 8 x 4 RGB chain.
enum Change {
  kKeep,
  kEmptyLevel0,
  kLevel0NoDepth,
  kDropLevel2,
  kBorderOnLevel1,
  kOtherFormatOnLevel2,
  kWideLevel1,
  kLastLevelTwoTexels,
};

void Apply(TestTexture &t, Change change) {
  switch (change) {
    case kKeep: break;
    case kEmptyLevel0: t.level(0) = GlTextureLevel{}; break;
    case kLevel0NoDepth: t.level(0).depth = 0; break;
    case kDropLevel2: t.level(2) = GlTextureLevel{}; break;
    case kBorderOnLevel1: t.Define(1, 4, 2, 1, GL_RGB); break;
    case kOtherFormatOnLevel2: t.level(2).requestedFormat = GL_RGBA; break;
    case kWideLevel1: t.Define(1, 8, 2, 0, GL_RGB); break;
    case kLastLevelTwoTexels: t.Define(3, 2, 1, 0, GL_RGB); break;
  }
}

TEST(TextureConsistency, Level0AndTheMipmapChain) {
  struct Case {
    const char *what;
    GLenum minFilter;
    Change change;
    GLbool8 consistent;
  } cases[] = {
      {"nearest, chain", GL_NEAREST, kKeep, 1},
      {"mipmapped, chain", GL_LINEAR_MIPMAP_LINEAR, kKeep, 1},
      {"nearest-mipmap-nearest, chain", GL_NEAREST_MIPMAP_NEAREST, kKeep, 1},
      {"empty level 0", GL_NEAREST, kEmptyLevel0, 0},
      {"level 0 without depth", GL_LINEAR, kLevel0NoDepth, 0},
      {"missing level, no mipmapping", GL_LINEAR, kDropLevel2, 1},
      {"missing level, mipmapped", GL_NEAREST_MIPMAP_LINEAR, kDropLevel2, 0},
      {"border differs", GL_LINEAR_MIPMAP_NEAREST, kBorderOnLevel1, 0},
      {"format differs", GL_LINEAR_MIPMAP_LINEAR, kOtherFormatOnLevel2, 0},
      {"size not halved", GL_LINEAR_MIPMAP_LINEAR, kWideLevel1, 0},
      {"chain ends above 1 x 1", GL_LINEAR_MIPMAP_LINEAR, kLastLevelTwoTexels, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    PickerContext ctx;
    TestTexture t;
    t.DefineChain(8, 4, 0, GL_RGB);
    Apply(t, c.change);
    t.get()->minFilter = c.minFilter;
    EXPECT_EQ(__glIsTextureConsistent(ctx.gc(), t.get()), c.consistent);
  }
}

TEST(TextureConsistency, ChainsWithBordersAndOfOneDimension) {
  struct Case {
    int32_t width, height, border;
  } cases[] = {{16, 1, 0}, {16, 1, 1}, {4, 16, 1}, {1, 1, 0}, {1024, 1024, 0}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " border " << c.border);
    PickerContext ctx;
    TestTexture t(c.height == 1 ? 1 : 2);
    t.DefineChain(c.width, c.height, c.border, GL_LUMINANCE);
    t.get()->minFilter = GL_NEAREST_MIPMAP_NEAREST;
    EXPECT_TRUE(__glIsTextureConsistent(ctx.gc(), t.get()));
  }
}

TEST(TextureConsistency, TheFormatMustSuitTheContextAndTheEnvironment) {
  struct Case {
    const char *what;
    bool colorIndex;
    GLenum level, table, mode;
    GLbool8 consistent;
    int32_t entries = 4;  // of the table, when it has a format
  } cases[] = {
      {"RGBA, modulate RGB", false, GL_RGB, 0, GL_MODULATE, 1},
      {"RGBA, blend alpha", false, GL_ALPHA, 0, GL_BLEND, 1},
      {"RGBA, replace intensity", false, GL_INTENSITY, 0, GL_REPLACE, 1},
      {"RGBA, decal RGBA", false, GL_RGBA, 0, GL_DECAL, 1},
      {"RGBA, decal luminance", false, GL_LUMINANCE, 0, GL_DECAL, 0},
      {"RGBA, add", false, GL_RGB, 0, GL_ADD, 0},
      {"RGBA, indices through an RGB table", false, GL_COLOR_INDEX, GL_RGB, GL_DECAL, 1},
      {"RGBA, indices without a table", false, GL_COLOR_INDEX, 0, GL_MODULATE, 0},
      {"RGBA, indices through an RGB table of no entries", false, GL_COLOR_INDEX, GL_RGB,
       GL_DECAL, 0, 0},
      {"RGBA, indices through an index table", false, GL_COLOR_INDEX, GL_COLOR_INDEX,
       GL_REPLACE, 0},
      {"RGBA, indices through a luminance table, decal", false, GL_COLOR_INDEX, GL_LUMINANCE,
       GL_DECAL, 0},
      {"colour index, add", true, GL_COLOR_INDEX, 0, GL_ADD, 1},
      {"colour index, replace", true, GL_COLOR_INDEX, 0, GL_REPLACE, 1},
      {"colour index, modulate", true, GL_COLOR_INDEX, 0, GL_MODULATE, 0},
      {"colour index, blend", true, GL_COLOR_INDEX, 0, GL_BLEND, 0},
      {"colour index, RGB level", true, GL_RGB, 0, GL_REPLACE, 0},
      {"unknown mode", false, GL_RGB, 0, 0x1234, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    PickerContext ctx;
    if (c.colorIndex) ctx.SetColorIndex();
    ctx.env().mode = c.mode;
    TestTexture t;
    t.Define(0, 4, 4, 0, c.level);
    GLubyte entries[4 * 4] = {};
    t.get()->colorTable.baseFormat = c.table;
    if (c.table != 0) {
      t.get()->colorTable.width = c.entries;
      t.get()->colorTable.table = entries;
    }
    EXPECT_EQ(__glIsTextureConsistent(ctx.gc(), t.get()), c.consistent);
  }
}

TEST(TextureConsistency, NothingToReadIsNeverConsistent) {
  PickerContext ctx;
  GlContext *gc = ctx.gc();
  EXPECT_FALSE(__glIsTextureConsistent(gc, nullptr));
  GlTextureObject noLevels = {};
  noLevels.minFilter = GL_NEAREST;
  EXPECT_FALSE(__glIsTextureConsistent(gc, &noLevels));
  TestTexture t;
  t.Define(0, 4, 4, 0, GL_RGB);
  gc->texture.env = nullptr;
  EXPECT_FALSE(__glIsTextureConsistent(gc, t.get())) << "no environment to apply";
}

}  // namespace
