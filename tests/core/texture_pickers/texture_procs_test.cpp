// The per-fragment texturing procedures picked for the current texture:
// fragment procedure, level of detail and switch-over by the filters, the
// environment by mode and base format, the filters by dimension, the
// context's fragment-texturing slots and the residency request.
#include <gtest/gtest.h>

#include <vector>

#include "core/s_nop.h"
#include "core/s_pick.h"
#include "pixels/px_rho.h"
#include "pixels/px_sampler.h"
#include "pixels/px_texenv_procs.h"
#include "tests/core/texture_pickers/tex_fixture.h"

namespace {

// Values the picker must leave alone where a row says so.
void KeptEnv(GlContext *, GlColor *, const GlTexel *) {}
void KeptFilter(GlTextureObject *, GlTexel *, GLfloat, GLfloat, GLfloat) {}
void KeptLevelFilter(GlTextureObject *, GlTextureLevel *, GLfloat, GLfloat, GlTexel *) {}
GLfloat KeptLineRho(GlContext *, GLfloat, GLfloat, GLfloat) { return 0.0f; }
GLfloat KeptPolygonRho(GlContext *, const GlEdgeWalker *, GLfloat, GLfloat, GLfloat) {
  return 0.0f;
}
constexpr GLfloat kKeptSwitchover = 7.0f;

// A context with a complete current texture of level 0 only.
struct Current {
  PickerContext ctx;
  TestTexture tex;
  explicit Current(GLenum format = GL_RGBA, int32_t dim = 2) : tex(dim) {
    tex.Define(0, 4, dim == 1 ? 1 : 4, 0, format);
    GlTextureObject *t = tex.get();
    t->resident = 1;
    t->switchover = kKeptSwitchover;
    t->env = KeptEnv;
    t->minify = t->magnify = KeptFilter;
    t->nearest = t->linear = KeptLevelFilter;
    ctx.gc()->texture.current = t;
    ctx.gc()->texture.active = 1;
    ctx.gc()->procs.texRho = KeptLineRho;
    ctx.gc()->procs.calcPolygonRho = KeptPolygonRho;
  }
  GlContext *gc() { return ctx.gc(); }
};

TEST(TexturePicker, FiltersChooseFragmentLevelOfDetailAndSwitchOver) {
  typedef GlTextureFragmentProc Fragment;
  typedef GlTextureFilterProc Filter;
  const GLenum N = GL_NEAREST, L = GL_LINEAR;
  struct Case {
    GLenum minFilter, magFilter;
    Fragment fragment;
    bool rho;  // the computing rho procedures, else the empty ones
    GLfloat switchover;
    Filter minify, magnify;
  } cases[] = {
      {N, N, __glFastTextureFragment, false, kKeptSwitchover, __glNearestFilter,
       __glNearestFilter},
      {L, L, __glFastTextureFragment, false, kKeptSwitchover, __glLinearFilter, __glLinearFilter},
      {L, N, __glTextureFragment, true, 1.0f, __glLinearFilter, __glNearestFilter},
      {N, L, __glTextureFragment, true, 1.0f, __glNearestFilter, __glLinearFilter},
      {GL_NEAREST_MIPMAP_NEAREST, L, __glMipMapFragment, true, 2.0f, __glNMNFilter,
       __glLinearFilter},
      {GL_LINEAR_MIPMAP_NEAREST, L, __glMipMapFragment, true, 2.0f, __glLMNFilter,
       __glLinearFilter},
      {GL_NEAREST_MIPMAP_LINEAR, L, __glMipMapFragment, true, 1.0f, __glNMLFilter,
       __glLinearFilter},
      {GL_LINEAR_MIPMAP_LINEAR, L, __glMipMapFragment, true, 1.0f, __glLMLFilter,
       __glLinearFilter},
      {GL_NEAREST_MIPMAP_NEAREST, N, __glMipMapFragment, true, 1.0f, __glNMNFilter,
       __glNearestFilter},
      {GL_LINEAR_MIPMAP_NEAREST, N, __glMipMapFragment, true, 1.0f, __glLMNFilter,
       __glNearestFilter},
      {GL_NEAREST_MIPMAP_LINEAR, N, __glMipMapFragment, true, 1.0f, __glNMLFilter,
       __glNearestFilter},
      {GL_LINEAR_MIPMAP_LINEAR, N, __glMipMapFragment, true, 1.0f, __glLMLFilter,
       __glNearestFilter},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.minFilter << " / " << c.magFilter);
    Current cur;
    GlTextureObject *tex = cur.tex.get();
    tex->minFilter = c.minFilter;
    tex->magFilter = c.magFilter;
    __glGenericPickTextureProcs(cur.gc());
    const GlProcs &p = cur.gc()->procs;
    EXPECT_EQ(tex->fragment, c.fragment);
    EXPECT_EQ(p.texRho, c.rho ? __glComputeLineRho : __glNopLineRho);
    EXPECT_EQ(p.calcPolygonRho, c.rho ? __glComputePolygonRho : __glNopPolygonRho);
    EXPECT_EQ(tex->switchover, c.switchover);
    EXPECT_EQ(tex->minify, c.minify);
    EXPECT_EQ(tex->magnify, c.magnify);
    EXPECT_EQ(p.texture, c.fragment);
    EXPECT_EQ(p.textureRaster, c.fragment);
  }
}

TEST(TexturePicker, EnvironmentByModeAndBaseFormat) {
  const GlTextureEnvProc nop = __glNopProc<GlTextureEnvProc>();
  const GlTextureEnvProc kept = KeptEnv;
  struct Case {
    bool colorIndex;
    GLenum mode, level, table;
    GlTextureEnvProc env;
    GLenum baseFormat;
  } cases[] = {
      {false, GL_MODULATE, GL_ALPHA, 0, __glTextureModulateA, GL_ALPHA},
      {false, GL_MODULATE, GL_RGB, 0, __glTextureModulateRGB, GL_RGB},
      {false, GL_MODULATE, GL_RGBA, 0, __glTextureModulateRGBA, GL_RGBA},
      {false, GL_MODULATE, GL_LUMINANCE, 0, __glTextureModulateL, GL_LUMINANCE},
      {false, GL_MODULATE, GL_LUMINANCE_ALPHA, 0, __glTextureModulateLA, GL_LUMINANCE_ALPHA},
      {false, GL_MODULATE, GL_INTENSITY, 0, __glTextureModulateI, GL_INTENSITY},
      {true, GL_MODULATE, GL_COLOR_INDEX, 0, __glTextureModulateCI, GL_COLOR_INDEX},
      {false, GL_REPLACE, GL_ALPHA, 0, __glTextureReplaceA, GL_ALPHA},
      {false, GL_REPLACE, GL_RGB, 0, __glTextureReplaceRGB, GL_RGB},
      {false, GL_REPLACE, GL_RGBA, 0, __glTextureReplaceRGBA, GL_RGBA},
      {false, GL_REPLACE, GL_LUMINANCE, 0, __glTextureReplaceL, GL_LUMINANCE},
      {false, GL_REPLACE, GL_LUMINANCE_ALPHA, 0, __glTextureReplaceLA, GL_LUMINANCE_ALPHA},
      {false, GL_REPLACE, GL_INTENSITY, 0, __glTextureReplaceI, GL_INTENSITY},
      {true, GL_REPLACE, GL_COLOR_INDEX, 0, __glTextureReplaceCI, GL_COLOR_INDEX},
      {false, GL_BLEND, GL_ALPHA, 0, __glTextureBlendA, GL_ALPHA},
      {false, GL_BLEND, GL_RGB, 0, __glTextureBlendRGB, GL_RGB},
      {false, GL_BLEND, GL_RGBA, 0, __glTextureBlendRGBA, GL_RGBA},
      {false, GL_BLEND, GL_LUMINANCE, 0, __glTextureBlendL, GL_LUMINANCE},
      {false, GL_BLEND, GL_LUMINANCE_ALPHA, 0, __glTextureBlendLA, GL_LUMINANCE_ALPHA},
      {false, GL_BLEND, GL_INTENSITY, 0, __glTextureBlendI, GL_INTENSITY},
      {true, GL_BLEND, GL_COLOR_INDEX, 0, kept, GL_COLOR_INDEX},
      {false, GL_DECAL, GL_RGB, 0, __glTextureDecalRGB, GL_RGB},
      {false, GL_DECAL, GL_RGBA, 0, __glTextureDecalRGBA, GL_RGBA},
      {false, GL_DECAL, GL_ALPHA, 0, nop, GL_ALPHA},
      {false, GL_DECAL, GL_LUMINANCE, 0, nop, GL_LUMINANCE},
      {false, GL_DECAL, GL_LUMINANCE_ALPHA, 0, nop, GL_LUMINANCE_ALPHA},
      {false, GL_DECAL, GL_INTENSITY, 0, nop, GL_INTENSITY},
      {true, GL_DECAL, GL_COLOR_INDEX, 0, kept, GL_COLOR_INDEX},
      {true, GL_ADD, GL_COLOR_INDEX, 0, __glTextureAddCI, GL_COLOR_INDEX},
      {false, GL_ADD, GL_RGB, 0, kept, GL_RGB},
      {false, 0x1234, GL_RGB, 0, kept, GL_RGB},
      // In an RGBA context indices take the colour table's format.
      {false, GL_MODULATE, GL_COLOR_INDEX, GL_RGB, __glTextureModulateRGB, GL_RGB},
      {false, GL_REPLACE, GL_COLOR_INDEX, GL_LUMINANCE_ALPHA, __glTextureReplaceLA,
       GL_LUMINANCE_ALPHA},
      {false, GL_DECAL, GL_COLOR_INDEX, GL_RGBA, __glTextureDecalRGBA, GL_RGBA},
      {false, GL_ADD, GL_COLOR_INDEX, GL_RGB, kept, GL_RGB},
      // A colour-index context keeps the indices.
      {true, GL_REPLACE, GL_COLOR_INDEX, GL_RGB, __glTextureReplaceCI, GL_COLOR_INDEX},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << (c.colorIndex ? "CI " : "RGBA ") << std::hex << c.mode
                                    << " " << c.level << " " << c.table);
    Current cur(c.level);
    if (c.colorIndex) cur.ctx.SetColorIndex();
    cur.ctx.env().mode = c.mode;
    cur.tex.get()->colorTable.baseFormat = c.table;
    __glGenericPickTextureProcs(cur.gc());
    EXPECT_EQ(cur.tex.get()->env, c.env);
    EXPECT_EQ(cur.tex.get()->baseFormat, c.baseFormat);
  }
}

TEST(TexturePicker, LevelFiltersFollowTheDimension) {
  struct Case {
    int32_t dim;
    GlTextureLevelFilterProc nearest, linear;
  } cases[] = {
      {1, __glNearestFilter1, __glLinearFilter1},
      {2, __glNearestFilter2, __glLinearFilter2},
      {3, KeptLevelFilter, KeptLevelFilter},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.dim);
    Current cur(GL_RGB, c.dim);
    __glGenericPickTextureProcs(cur.gc());
    EXPECT_EQ(cur.tex.get()->nearest, c.nearest);
    EXPECT_EQ(cur.tex.get()->linear, c.linear);
  }
}

TEST(TexturePicker, WithoutACurrentTextureTheFragmentSlotsAreEmpty) {
  Current cur;
  GlContext *gc = cur.gc();
  __glGenericPickTextureProcs(gc);
  ASSERT_EQ(gc->procs.texture, __glFastTextureFragment);
  gc->texture.current = nullptr;
  gc->texture.active = 0;
  __glGenericPickTextureProcs(gc);
  const GlTextureFragmentProc empty = __glNopProc<GlTextureFragmentProc>();
  EXPECT_EQ(gc->procs.texture, empty);
  EXPECT_EQ(gc->procs.textureRaster, empty);
  StandInRecorder recorder;
  GlColor color = {1.0f, 0.5f, 0.25f, 1.0f};
  gc->procs.texture(gc, &color, 0.5f, 0.5f, 1.0f);
  gc->procs.textureRaster(gc, &color, 0.5f, 0.5f, 1.0f);
  EXPECT_TRUE(StandInRecorder::calls().empty());
  EXPECT_EQ(color.g, 0.5f);
}

// Records the calls of a texture's make-resident procedure.
struct ResidencyCall {
  GlContext *gc;
  GlTextureObject *tex;
  uint32_t flag;
};
std::vector<ResidencyCall> residencyCalls;
GLbool8 RecordMakeResident(GlContext *gc, GlTextureObject *tex, uint32_t flag) {
  residencyCalls.push_back({gc, tex, flag});
  return 1;
}

TEST(TexturePicker, ATextureNotResidentIsMadeResidentAtEveryValidation) {
  struct Case {
    uint32_t resident;
    size_t calls;  // over two validations
  } cases[] = {{0, 2}, {1, 0}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.resident);
    residencyCalls.clear();
    Current cur;
    GlTextureObject *tex = cur.tex.get();
    tex->resident = c.resident;
    tex->residencyArg = 0xC0FFEEu;
    tex->makeResident = RecordMakeResident;
    __glGenericPickTextureProcs(cur.gc());
    __glGenericPickTextureProcs(cur.gc());
    ASSERT_EQ(residencyCalls.size(), c.calls);
    for (const ResidencyCall &call : residencyCalls) {
      EXPECT_EQ(call.gc, cur.gc());
      EXPECT_EQ(call.tex, tex);
      EXPECT_EQ(call.flag, 0xC0FFEEu);
    }
  }
}

TEST(TexturePicker, ATextureWithoutMakeResidentIsLeftAsItIs) {
  Current cur;
  cur.tex.get()->resident = 0;
  __glGenericPickTextureProcs(cur.gc());
  EXPECT_EQ(cur.tex.get()->resident, 0u);
  EXPECT_EQ(cur.gc()->procs.texture, __glFastTextureFragment);
}

}  // namespace
