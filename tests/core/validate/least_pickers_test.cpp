// The pickers validation runs for subsystems still to come, in their least
// form: the vertex picker, the parameter-clip picker, the lazy span picker,
// and the fast rasterizer's triangle picker, which declines.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "core/s_pick.h"
#include "fastraster/fr_pick.h"
#include "geometry/s_clip_param.h"
#include "geometry/s_clipcheck.h"
#include "geometry/s_vertex_pick.h"
#include "geometry/s_vertex_procs.h"
#include "tests/core/validate/validate_fixture.h"

namespace validate_test {
namespace {

GlTextureObject gTexture;
void UseTexture(GlContext *gc) {
  gTexture = GlTextureObject{};
  gc->texture.current = &gTexture;
  gc->texture.active = 1;
}
void Light(GlContext *gc) { gc->state.enables.general |= __GL_LIGHTING_ENABLE; }
void SphereMap(GlContext *gc, uint32_t enable, int coord) {
  gc->state.enables.texture |= enable;
  gc->texture.texCoordGen[coord].mode = GL_SPHERE_MAP;
}
GlModes Rgba16() { return TestModes(); }

// ---- The vertex picker ----

typedef uint32_t (*ClipCheck)(GlContext *, GlVertex *);
typedef void (*SaveProc)(GlContext *, GlVertex *);

struct VertexCase {
  const char *what;
  GlModes (*modes)();
  void (*change)(GlContext *gc);
  ClipCheck clipCheck[3];
  bool validates;
  SaveProc save;
};

const ClipCheck I386 = __glI386ClipCheckFrustum, K3D = __glK3DClipCheckFrustum,
                Flat2D = __glClipCheckFrustum2D;

void Composite(GlContext *gc, uint32_t type, GLfloat zOffset) {
  gc->transform.modelView->mvp.matrixType = type;
  gc->transform.modelView->mvp.matrix[14] = zOffset;
}

const VertexCase kVertexCases[] = {
    {"defaults", Rgba16, [](GlContext *) {}, {Flat2D, I386, I386}, true, __glSaveC},
    {"3DNow!", Rgba16, [](GlContext *gc) { gc->constants.cpuFlags |= __GL_CPU_K3D; },
     {Flat2D, K3D, K3D}, true, __glSaveC},
    {"a user clip plane", Rgba16, [](GlContext *gc) { gc->state.enables.clipPlanes = 0x4; },
     {__glClipCheckAll2, __glClipCheckAll3, __glClipCheckAll4}, true, __glSaveC},
    {"a general composite", Rgba16, [](GlContext *gc) { Composite(gc, __GL_MT_GENERAL, 0); },
     {I386, I386, I386}, true, __glSaveC},
    {"an affine composite", Rgba16, [](GlContext *gc) { Composite(gc, __GL_MT_W0001, 0); },
     {I386, I386, I386}, true, __glSaveC},
    {"a 2D composite putting z at -1", Rgba16,
     [](GlContext *gc) { Composite(gc, __GL_MT_IS2D, -1.0f); }, {Flat2D, I386, I386}, true,
     __glSaveC},
    {"a 2D composite putting z at 1.5", Rgba16,
     [](GlContext *gc) { Composite(gc, __GL_MT_IS2DNR, 1.5f); }, {I386, I386, I386}, true,
     __glSaveC},
    {"a 2D composite putting z at NaN", Rgba16,
     [](GlContext *gc) { Composite(gc, __GL_MT_IS2D, NAN); }, {I386, I386, I386}, true,
     __glSaveC},
    {"nothing to validate", Rgba16, [](GlContext *gc) { gc->vertexBuffer.frontNeeds = 0; },
     {Flat2D, I386, I386}, false, __glSaveC},
    {"lighting", Rgba16, Light, {Flat2D, I386, I386}, true, __glSaveN},
    {"colour index", ColorIndex8, [](GlContext *) {}, {Flat2D, I386, I386}, true, __glSaveCI},
    {"colour index, lighting", ColorIndex8, Light, {Flat2D, I386, I386}, true, __glSaveN},
    {"texture", Rgba16, UseTexture, {Flat2D, I386, I386}, true, __glSaveCT},
    {"colour index, texture", ColorIndex8, UseTexture, {Flat2D, I386, I386}, true, __glSaveCIT},
    {"lighting, texture", Rgba16,
     [](GlContext *gc) {
       Light(gc);
       UseTexture(gc);
     },
     {Flat2D, I386, I386}, true, __glSaveNT},
    {"sphere-mapped s", Rgba16,
     [](GlContext *gc) {
       UseTexture(gc);
       SphereMap(gc, __GL_TEXTURE_GEN_S_ENABLE, __GL_TEXGEN_S);
     },
     {Flat2D, I386, I386}, true, __glSaveCAll},
    {"lighting, sphere-mapped s", Rgba16,
     [](GlContext *gc) {
       Light(gc);
       UseTexture(gc);
       SphereMap(gc, __GL_TEXTURE_GEN_S_ENABLE, __GL_TEXGEN_S);
     },
     {Flat2D, I386, I386}, true, __glSaveNT},
    {"sphere-mapped t: the normal is saved", Rgba16,
     [](GlContext *gc) {
       UseTexture(gc);
       SphereMap(gc, __GL_TEXTURE_GEN_T_ENABLE, __GL_TEXGEN_T);
     },
     {Flat2D, I386, I386}, true, __glSaveCAll},
    {"colour index, sphere-mapped t", ColorIndex8,
     [](GlContext *gc) {
       UseTexture(gc);
       SphereMap(gc, __GL_TEXTURE_GEN_T_ENABLE, __GL_TEXGEN_T);
     },
     {Flat2D, I386, I386}, true, __glSaveCIAll},
    {"sphere map without a current texture", Rgba16,
     [](GlContext *gc) { SphereMap(gc, __GL_TEXTURE_GEN_S_ENABLE, __GL_TEXGEN_S); },
     {Flat2D, I386, I386}, true, __glSaveC},
    {"feedback", Rgba16, [](GlContext *gc) { gc->renderMode = GL_FEEDBACK; },
     {Flat2D, I386, I386}, true, __glSaveCAll},
    {"feedback, colour index", ColorIndex8, [](GlContext *gc) { gc->renderMode = GL_FEEDBACK; },
     {Flat2D, I386, I386}, true, __glSaveCIAll},
};

class LeastPickers : public ValidateTest {
 protected:
  void Reset() {
    gc->texture.current = nullptr;
    gc->texture.active = 0;
    gc->renderMode = GL_RENDER;
  }
};

TEST_F(LeastPickers, TheVertexPickerFollowsTheState) {
  for (const VertexCase &c : kVertexCases) {
    SCOPED_TRACE(c.what);
    Use(c.modes());
    gc->vertexBuffer.frontNeeds = __GL_HAS_FRONT_COLOR;
    c.change(gc);
    __glGenericPickVertexProcs(gc);
    const GlProcs &p = gc->procs;
    for (int k = 0; k < 3; ++k) EXPECT_EQ(p.clipCheck[k], c.clipCheck[k]) << "size class " << k + 2;
    EXPECT_EQ(p.validateVertex[0], __glValidateNothing);
    EXPECT_EQ(p.validateVertex[1], c.validates ? __glValidateVertex2 : __glValidateNothing);
    EXPECT_EQ(p.validateVertex[2], c.validates ? __glValidateVertex3 : __glValidateNothing);
    EXPECT_EQ(p.validateVertex[3], c.validates ? __glValidateVertex4 : __glValidateNothing);
    EXPECT_EQ(p.v, c.save);
    Reset();
  }
}

// The callers store a validator's result as the vertex's `has`: the empty one
// must give it back unchanged.
TEST_F(LeastPickers, TheEmptyValidatorKeepsWhatTheVertexHas) {
  gc->vertexBuffer.frontNeeds = 0;
  __glGenericPickVertexProcs(gc);
  const uint32_t kHas[] = {0, __GL_HAS_SIZE3 | 0x20, 0xFFFF0000u, __GL_HAS_SIZE4 | 0x7F};
  for (uint32_t has : kHas) {
    GlVertex v{};
    v.has = has;
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(gc->procs.validateVertex[k](gc, &v, 0x5F), has) << "class " << k;
      EXPECT_EQ(v.has, has);
    }
  }
}

// ---- The parameter-clip picker ----

struct ClipParamCase {
  const char *what;
  GlModes (*modes)();
  void (*change)(GlContext *gc);
  uint32_t modeFlags;
  const char *line;
  const char *polygon;
};

void TwoSided(GlContext *gc) {
  Light(gc);
  gc->state.light.model.twoSided = 1;
}
void FlatShading(GlContext *gc) { gc->state.light.shadingModel = GL_FLAT; }
void Textured(GlContext *gc) { gc->texture.active = 1; }

constexpr uint32_t kSmooth = 0x20002, kFog = 0x2002, kDivided = 0x800000;

const ClipParamCase kClipParamCases[] = {
    {"RGBA, smooth", Rgba16, [](GlContext *) {}, kSmooth, "ClipC", "ClipC"},
    {"RGBA, two-sided lighting", Rgba16, TwoSided, kSmooth, "ClipC", "ClipBC"},
    {"two-sided model without lighting", Rgba16,
     [](GlContext *gc) { gc->state.light.model.twoSided = 1; }, kSmooth, "ClipC", "ClipC"},
    {"colour index, smooth", ColorIndex8, [](GlContext *) {}, kSmooth, "ClipI", "ClipI"},
    {"colour index, two-sided lighting", ColorIndex8, TwoSided, kSmooth, "ClipI", "ClipBI"},
    {"flat", Rgba16, FlatShading, 0, "Clip", "Clip"},
    {"flat, two-sided lighting", Rgba16,
     [](GlContext *gc) {
       FlatShading(gc);
       TwoSided(gc);
     },
     0, "Clip", "Clip"},
    {"flat fog", Rgba16, FlatShading, kFog, "ClipF", "ClipF"},
    {"smooth fog: in the colours", Rgba16, [](GlContext *) {}, kSmooth | kFog, "ClipC", "ClipC"},
    {"texture", Rgba16, Textured, kSmooth | 0x8, "ClipCT", "ClipCT"},
    {"texture divided by w", Rgba16, Textured, kSmooth | 0x8 | kDivided, "ClipCTP", "ClipCTP"},
    {"divided flag without texturing", Rgba16, [](GlContext *) {}, kSmooth | kDivided, "ClipC",
     "ClipC"},
    {"colour index, two-sided, divided texture", ColorIndex8,
     [](GlContext *gc) {
       TwoSided(gc);
       Textured(gc);
     },
     kSmooth | 0x8 | kDivided, "ClipITP", "ClipBITP"},
    {"flat fog, texture", Rgba16,
     [](GlContext *gc) {
       FlatShading(gc);
       Textured(gc);
     },
     kFog | 0x8, "ClipFT", "ClipFT"},
    {"flat fog, divided texture, colour index", ColorIndex8,
     [](GlContext *gc) {
       FlatShading(gc);
       Textured(gc);
     },
     kFog | 0x8 | kDivided, "ClipFTP", "ClipFTP"},
    {"two-sided RGBA, flat fog, divided texture", Rgba16,
     [](GlContext *gc) {
       TwoSided(gc);
       FlatShading(gc);
       Textured(gc);
     },
     kFog | 0x8 | kDivided, "ClipFTP", "ClipFTP"},
};

// The name of the installed procedure.
std::string NameOf(GlContext *, GlClipParamProc proc) {
  struct Named {
    GlClipParamProc proc;
    const char *name;
  };
#define NAMED(name) {geometry::name, #name}
  static const Named kNames[] = {
      NAMED(Clip),    NAMED(ClipI),    NAMED(ClipC),    NAMED(ClipBI),    NAMED(ClipBC),
      NAMED(ClipF),   NAMED(ClipIF),   NAMED(ClipCF),   NAMED(ClipBIF),   NAMED(ClipBCF),
      NAMED(ClipT),   NAMED(ClipIT),   NAMED(ClipCT),   NAMED(ClipBIT),   NAMED(ClipBCT),
      NAMED(ClipFT),  NAMED(ClipIFT),  NAMED(ClipCFT),  NAMED(ClipBIFT),  NAMED(ClipBCFT),
      NAMED(ClipTP),  NAMED(ClipITP),  NAMED(ClipCTP),  NAMED(ClipBITP),  NAMED(ClipBCTP),
      NAMED(ClipFTP), NAMED(ClipIFTP), NAMED(ClipCFTP), NAMED(ClipBIFTP), NAMED(ClipBCFTP),
  };
#undef NAMED
  for (const Named &n : kNames)
    if (n.proc == proc) return n.name;
  return "?";
}

TEST_F(LeastPickers, TheParameterClipPickerFollowsTheState) {
  for (const ClipParamCase &c : kClipParamCases) {
    SCOPED_TRACE(c.what);
    Use(c.modes());
    c.change(gc);
    gc->polygon.shader.modeFlags = c.modeFlags;
    __glGenericPickParameterClipProcs(gc);
    EXPECT_EQ(NameOf(gc, gc->procs.lineClipParam), c.line);
    EXPECT_EQ(NameOf(gc, gc->procs.polygonClipParam), c.polygon);
    Reset();
  }
}

// ---- The lazy span processor ----

GLbool8 ProcessRecorded(GlContext *) {
  Record("process");
  return 1;
}
void PickProcessor(GlContext *gc) {
  Record("pick");
  gc->procs.span.processSpan = ProcessRecorded;
}
void PickNothing(GlContext *) { Record("pick"); }

TEST_F(LeastPickers, TheFirstSpanPicksTheSpanStagesThenRunsThem) {
  gc->procs.pickSpanProcs = PickProcessor;
  gc->procs.span.processSpan = __glPickProcessSpan;
  TakeCalls();
  EXPECT_EQ(gc->procs.span.processSpan(gc), 1) << "the installed processor's answer";
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"pick", "process"}));
  EXPECT_EQ(gc->procs.span.processSpan, ProcessRecorded);
  gc->procs.span.processSpan(gc);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"process"})) << "picked once";
}

TEST_F(LeastPickers, ASpanPickerThatInstallsNothingEndsTheSpan) {
  gc->procs.pickSpanProcs = PickNothing;
  gc->procs.span.processSpan = __glPickProcessSpan;
  TakeCalls();
  EXPECT_EQ(__glPickProcessSpan(gc), 0);
  EXPECT_EQ(TakeCalls(), (std::vector<std::string>{"pick"}));
}

TEST_F(LeastPickers, ValidationLeavesTheSpanStagesToTheFirstSpan) {
  gc->dirtyMask = __GL_DIRTY_POLYGON;
  gc->procs.pickAllProcs(gc);
  ASSERT_EQ(gc->procs.span.processSpan, __glPickProcessSpan);
  gc->procs.span.processSpan(gc);
  EXPECT_NE(gc->procs.span.processSpan, __glPickProcessSpan) << "the span picker chose";
}

// ---- The fast rasterizer ----

// The fixture's buffers have no fast layout.
TEST_F(LeastPickers, TheFastRasterizerDeclinesAndChangesNothing) {
  const GlProcs before = gc->procs;
  const uint32_t flags = gc->polygon.shader.modeFlags;
  EXPECT_EQ(__glFRPickTriangleProcs(gc), 0);
  EXPECT_EQ(memcmp(&before, &gc->procs, sizeof before), 0);
  EXPECT_EQ(gc->polygon.shader.modeFlags, flags);
}

}  // namespace
}  // namespace validate_test
