// What the accepted setters store, and the dirty and table bits they mark:
// the colour-buffer, depth, stencil, line, point, polygon, hint, shading and
// cull-point entries. Each row starts from a settled context of its visual.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <string>
#include <tuple>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/core/setters/setters_fixture.h"

namespace setters_test {
namespace {

const float kNaN = nanf("");
const float kInf = INFINITY;

struct StoreCase {
  const char *name;
  void (*command)();
  uint32_t dirty;
  uint32_t tables;
  void (*check)(const GlContext *gc);
  GlModes (*modes)() = nullptr;
};

class Stores : public SetterTest, public testing::WithParamInterface<StoreCase> {};

TEST_P(Stores, TheValueAndItsMarks) {
  const StoreCase &c = GetParam();
  if (c.modes) Rebind(c.modes());
  Settle();
  c.command();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->dirtyMask, c.dirty);
  EXPECT_EQ(gc->tableDirtyMask, c.tables);
  EXPECT_EQ(gc->beginMode, c.dirty ? __GL_VALIDATE_PENDING : __GL_NOT_IN_BEGIN);
  c.check(gc);
}

void ExpectColor(const GlColor &c, float r, float g, float b, float a) {
  EXPECT_EQ(c.r, r);
  EXPECT_EQ(c.g, g);
  EXPECT_EQ(c.b, b);
  EXPECT_EQ(c.a, a);
}

constexpr uint32_t kGeneric = __GL_DIRTY_GENERIC;

const StoreCase kColorBuffer[] = {
    {"AlphaFuncClampsAbove", [] { glAlphaFunc(GL_LESS, 2.0f); }, kGeneric,
     __GL_TABLE_DIRTY_ALPHA_TEST,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.raster.alphaFunction, GLenum(GL_LESS));
       EXPECT_EQ(gc->state.raster.alphaReference, 1.0f);
     }},
    {"AlphaFuncClampsBelow", [] { glAlphaFunc(GL_NEVER, -1.0f); }, kGeneric,
     __GL_TABLE_DIRTY_ALPHA_TEST,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.raster.alphaFunction, GLenum(GL_NEVER));
       EXPECT_EQ(gc->state.raster.alphaReference, 0.0f);
     }},
    {"AlphaFuncKeepsInside", [] { glAlphaFunc(GL_ALWAYS, 0.25f); }, kGeneric,
     __GL_TABLE_DIRTY_ALPHA_TEST,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.raster.alphaReference, 0.25f); }},
    {"AlphaFuncNaNIsZero", [] { glAlphaFunc(GL_GEQUAL, kNaN); }, kGeneric,
     __GL_TABLE_DIRTY_ALPHA_TEST,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.raster.alphaReference, 0.0f); }},
    {"BlendFuncEnds", [] { glBlendFunc(GL_SRC_ALPHA_SATURATE, GL_ONE_MINUS_DST_ALPHA); },
     kGeneric, 0,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.raster.blendSrc, GLenum(GL_SRC_ALPHA_SATURATE));
       EXPECT_EQ(gc->state.raster.blendDst, GLenum(GL_ONE_MINUS_DST_ALPHA));
     }},
    {"BlendFuncZeroOne", [] { glBlendFunc(GL_ZERO, GL_SRC_COLOR); }, kGeneric, 0,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.raster.blendSrc, GLenum(GL_ZERO));
       EXPECT_EQ(gc->state.raster.blendDst, GLenum(GL_SRC_COLOR));
     }},
    {"ClearAccumClamps", [] { glClearAccum(2.0f, -2.0f, 0.5f, kNaN); }, kGeneric, 0,
     [](const GlContext *gc) { ExpectColor(gc->state.accum.clear, 1, -1, 0.5f, -1); }},
    {"ClearColorClampsAndMarksNothing", [] { glClearColor(1.5f, -0.5f, 0.25f, kNaN); }, 0, 0,
     [](const GlContext *gc) { ExpectColor(gc->state.raster.clear, 1, 0, 0.25f, 0); }},
    {"ClearIndexKeepsSixteenths", [] { glClearIndex(3.7f); }, 0, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.raster.clearIndex, 3.6875f); }, ColorIndex4},
    {"ClearIndexMasksToTheBuffer", [] { glClearIndex(17.0f); }, 0, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.raster.clearIndex, 1.0f); }, ColorIndex4},
    {"ClearIndexEightBits", [] { glClearIndex(300.0625f); }, 0, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.raster.clearIndex, 44.0625f); }, ColorIndex8},
    {"ClearIndexHugeIsDefined", [] { glClearIndex(kInf); }, 0, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.raster.clearIndex, 15.9375f); }, ColorIndex4},
    {"ClearIndexNaNIsZero", [] { glClearIndex(kNaN); }, 0, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.raster.clearIndex, 0.0f); }, ColorIndex4},
    {"ColorMaskBytes", [] { glColorMask(0, 1, 2, 0); }, kGeneric, 0,
     [](const GlContext *gc) {
       const GlRasterState &r = gc->state.raster;
       EXPECT_EQ(r.rMask, 0);
       EXPECT_EQ(r.gMask, 1);
       EXPECT_EQ(r.bMask, 1);
       EXPECT_EQ(r.aMask, 0);
     }},
    {"IndexFuncAndReference", [] { glIndexFuncVLX(GL_NOTEQUAL, 3.5f); }, kGeneric,
     __GL_TABLE_DIRTY_INDEX_TEST,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.raster.indexFunction, GLenum(GL_NOTEQUAL));
       EXPECT_EQ(gc->state.raster.indexReference, 3.5f);
     }},
    {"IndexMaskFourBits", [] { glIndexMask(0xFFFFFFF5u); }, kGeneric, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.raster.writeMask, 0x5u); }, ColorIndex4},
    {"IndexMaskEightBits", [] { glIndexMask(0x1234u); }, kGeneric, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.raster.writeMask, 0x34u); }, ColorIndex8},
    {"LogicOpSet", [] { glLogicOp(GL_SET); }, kGeneric, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.raster.logicOp, GLenum(GL_SET)); }},
    {"LogicOpClear", [] { glLogicOp(GL_CLEAR); }, kGeneric, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.raster.logicOp, GLenum(GL_CLEAR)); }},
};

INSTANTIATE_TEST_SUITE_P(ColorBuffer, Stores, testing::ValuesIn(kColorBuffer), CaseName<StoreCase>);

// The draw buffer in force and as requested, on double- and single-buffered
// visuals.
struct DrawBufferCase {
  const char *name;
  GLenum request;
  bool doubleBuffered;
  GLenum inForce;
};

class DrawBuffer : public SetterTest, public testing::WithParamInterface<DrawBufferCase> {};

TEST_P(DrawBuffer, StoresTheBufferInForceBesideTheRequest) {
  const DrawBufferCase &c = GetParam();
  if (!c.doubleBuffered) Rebind(RgbaSingle());
  Settle();
  glDrawBuffer(c.request);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->state.raster.drawBuffer, c.inForce);
  EXPECT_EQ(gc->state.raster.drawBufferReturn, c.request);
  EXPECT_EQ(gc->dirtyMask, kGeneric);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, DrawBuffer,
    testing::Values(DrawBufferCase{"None", GL_NONE, true, GL_NONE},
                    DrawBufferCase{"FrontLeft", GL_FRONT_LEFT, true, GL_FRONT},
                    DrawBufferCase{"Front", GL_FRONT, true, GL_FRONT},
                    DrawBufferCase{"BackLeft", GL_BACK_LEFT, true, GL_BACK},
                    DrawBufferCase{"Back", GL_BACK, true, GL_BACK},
                    DrawBufferCase{"Left", GL_LEFT, true, GL_FRONT_AND_BACK},
                    DrawBufferCase{"FrontAndBack", GL_FRONT_AND_BACK, true, GL_FRONT_AND_BACK},
                    DrawBufferCase{"SingleFront", GL_FRONT, false, GL_FRONT},
                    DrawBufferCase{"SingleLeft", GL_LEFT, false, GL_FRONT},
                    DrawBufferCase{"SingleFrontAndBack", GL_FRONT_AND_BACK, false, GL_FRONT},
                    DrawBufferCase{"SingleNone", GL_NONE, false, GL_NONE}),
    CaseName<DrawBufferCase>);

const StoreCase kDepthStencil[] = {
    {"ClearDepthClampsAbove", [] { glClearDepth(2.0); }, kGeneric, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.depth.clear, 1.0); }},
    {"ClearDepthClampsBelow", [] { glClearDepth(-1.0); }, kGeneric, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.depth.clear, 0.0); }},
    {"ClearDepthKeepsDoublePrecision", [] { glClearDepth(0.1); }, kGeneric, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.depth.clear, 0.1); }},
    {"ClearStencilMasks", [] { glClearStencil(0x1234); }, kGeneric, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.stencil.clear, 0x34); }},
    {"ClearStencilNegative", [] { glClearStencil(-1); }, kGeneric, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.stencil.clear, 0xFF); }},
    {"DepthFunc", [] { glDepthFunc(GL_GEQUAL); }, __GL_DIRTY_DEPTH, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.depth.testFunc, GLenum(GL_GEQUAL)); }},
    {"DepthMaskOff", [] { glDepthMask(0); }, __GL_DIRTY_DEPTH, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.depth.writeEnable, 0); }},
    {"StencilFuncClampsReference", [] { glStencilFunc(GL_EQUAL, 300, ~0u); }, kGeneric,
     __GL_TABLE_DIRTY_STENCIL_FUNC,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.stencil.testFunc, GLenum(GL_EQUAL));
       EXPECT_EQ(gc->state.stencil.reference, 255);
       EXPECT_EQ(gc->state.stencil.mask, 255);
     }},
    {"StencilFuncNegativeReference", [] { glStencilFunc(GL_NEVER, -5, 0xF0Fu); }, kGeneric,
     __GL_TABLE_DIRTY_STENCIL_FUNC,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.stencil.reference, 0);
       EXPECT_EQ(gc->state.stencil.mask, 0x0F);
     }},
    {"StencilMaskMasks", [] { glStencilMask(0x1FFu); }, kGeneric, __GL_TABLE_DIRTY_STENCIL_FUNC,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.stencil.writeMask, 0xFF); }},
    {"StencilOpAllThree", [] { glStencilOp(GL_INVERT, GL_INCR, GL_DECR); }, kGeneric,
     __GL_TABLE_DIRTY_STENCIL_OP,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.stencil.fail, GLenum(GL_INVERT));
       EXPECT_EQ(gc->state.stencil.depthFail, GLenum(GL_INCR));
       EXPECT_EQ(gc->state.stencil.depthPass, GLenum(GL_DECR));
     }},
    {"StencilOpZeroReplaceKeep", [] { glStencilOp(GL_ZERO, GL_REPLACE, GL_KEEP); }, kGeneric,
     __GL_TABLE_DIRTY_STENCIL_OP,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.stencil.fail, GLenum(GL_ZERO));
       EXPECT_EQ(gc->state.stencil.depthFail, GLenum(GL_REPLACE));
       EXPECT_EQ(gc->state.stencil.depthPass, GLenum(GL_KEEP));
     }},
};

INSTANTIATE_TEST_SUITE_P(DepthStencil, Stores, testing::ValuesIn(kDepthStencil),
                         CaseName<StoreCase>);

const StoreCase kPrimitives[] = {
    {"LineStippleFactorBelow", [] { glLineStipple(0, 0xAAAA); }, __GL_DIRTY_LINE, 0,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.line.stippleRepeat, 1);
       EXPECT_EQ(gc->state.line.stipple, 0xAAAA);
     }},
    {"LineStippleFactorAbove", [] { glLineStipple(1000, 0x0F0F); }, __GL_DIRTY_LINE, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.line.stippleRepeat, 256); }},
    {"LineStippleFactorNegative", [] { glLineStipple(-7, 0x0F0F); }, __GL_DIRTY_LINE, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.line.stippleRepeat, 1); }},
    {"LineStippleFactorInside", [] { glLineStipple(37, 0x0F0F); }, __GL_DIRTY_LINE, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.line.stippleRepeat, 37); }},
    {"CullFace", [] { glCullFace(GL_FRONT_AND_BACK); }, __GL_DIRTY_POLYGON, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.polygon.cull, GLenum(GL_FRONT_AND_BACK)); }},
    {"FrontFace", [] { glFrontFace(GL_CW); }, __GL_DIRTY_POLYGON, 0,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.polygon.frontFaceDirection, GLenum(GL_CW));
     }},
    {"PolygonModeFrontPoint", [] { glPolygonMode(GL_FRONT, GL_POINT); },
     __GL_DIRTY_POLYGON | __GL_DIRTY_POINT, 0,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.polygon.frontMode, GLenum(GL_POINT));
       EXPECT_EQ(gc->state.polygon.backMode, GLenum(GL_FILL));
     }},
    {"PolygonModeBackLine", [] { glPolygonMode(GL_BACK, GL_LINE); },
     __GL_DIRTY_POLYGON | __GL_DIRTY_LINE, 0,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.polygon.frontMode, GLenum(GL_FILL));
       EXPECT_EQ(gc->state.polygon.backMode, GLenum(GL_LINE));
     }},
    {"PolygonModeBothLine", [] { glPolygonMode(GL_FRONT_AND_BACK, GL_LINE); },
     __GL_DIRTY_POLYGON | __GL_DIRTY_LINE, 0,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.polygon.frontMode, GLenum(GL_LINE));
       EXPECT_EQ(gc->state.polygon.backMode, GLenum(GL_LINE));
     }},
    {"PolygonModeFill", [] { glPolygonMode(GL_FRONT_AND_BACK, GL_FILL); }, __GL_DIRTY_POLYGON, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.polygon.backMode, GLenum(GL_FILL)); }},
    {"PolygonOffset", [] { glPolygonOffset(2.0f, -3.0f); }, __GL_DIRTY_POLYGON, 0,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.polygon.factor, 2.0f);
       EXPECT_EQ(gc->state.polygon.units, -3.0f);
     }},
    {"ShadeModelFlat", [] { glShadeModel(GL_FLAT); }, kGeneric, 0,
     [](const GlContext *gc) { EXPECT_EQ(gc->state.light.shadingModel, GLenum(GL_FLAT)); }},
};

INSTANTIATE_TEST_SUITE_P(Primitives, Stores, testing::ValuesIn(kPrimitives), CaseName<StoreCase>);

// Widths and sizes: the request kept, the aliased size a whole number of
// pixels up to 2048, the smooth size a step of 0.125 within [0.5, 10].
struct SizeCase {
  const char *name;
  GLfloat request;
  int32_t aliased;
  GLfloat smooth;
};

// The two entries that keep a size: how each is called and where it keeps
// the three forms.
struct SizeEntry {
  const char *name;
  void (*set)(GLfloat);
  uint32_t dirty;
  GLfloat (*requested)(const GlContext *gc);
  int32_t (*aliased)(const GlContext *gc);
  GLfloat (*smooth)(const GlContext *gc);
};

const SizeEntry kSizeEntries[] = {
    {"LineWidth", [](GLfloat w) { glLineWidth(w); }, __GL_DIRTY_LINE,
     [](const GlContext *gc) { return gc->state.line.requestedWidth; },
     [](const GlContext *gc) { return gc->state.line.aliasedWidth; },
     [](const GlContext *gc) { return gc->state.line.smoothWidth; }},
    {"PointSize", [](GLfloat s) { glPointSize(s); }, __GL_DIRTY_POINT,
     [](const GlContext *gc) { return gc->state.point.requestedSize; },
     [](const GlContext *gc) { return gc->state.point.aliasedSize; },
     [](const GlContext *gc) { return gc->state.point.smoothSize; }},
};

class Sizes : public SetterTest,
              public testing::WithParamInterface<std::tuple<SizeEntry, SizeCase>> {};

TEST_P(Sizes, KeepsTheRequestAndBothDrawnForms) {
  const SizeEntry &e = std::get<0>(GetParam());
  const SizeCase &c = std::get<1>(GetParam());
  e.set(c.request);
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(e.requested(gc), c.request);
  EXPECT_EQ(e.aliased(gc), c.aliased);
  EXPECT_EQ(e.smooth(gc), c.smooth);
  EXPECT_EQ(gc->dirtyMask, e.dirty);
}

INSTANTIATE_TEST_SUITE_P(
    Requests, Sizes,
    testing::Combine(
        testing::ValuesIn(kSizeEntries),
        testing::Values(SizeCase{"Tiny", 1e-30f, 1, 0.5f}, SizeCase{"BelowMinimum", 0.3f, 1, 0.5f},
                        SizeCase{"Minimum", 0.5f, 1, 0.5f}, SizeCase{"BelowOne", 0.99f, 1, 1.0f},
                        SizeCase{"One", 1.0f, 1, 1.0f}, SizeCase{"RoundsDown", 2.49f, 2, 2.5f},
                        SizeCase{"RoundsUp", 2.5f, 3, 2.5f}, SizeCase{"Step", 3.06f, 3, 3.0f},
                        SizeCase{"NextStep", 3.07f, 3, 3.125f},
                        SizeCase{"Maximum", 10.0f, 10, 10.0f},
                        SizeCase{"Hundred", 100.0f, 100, 10.0f},
                        SizeCase{"JustBelowLimit", 2047.4f, 2047, 10.0f},
                        SizeCase{"RoundsToLimit", 2047.6f, 2048, 10.0f},
                        SizeCase{"BeyondLimit", 1e9f, 2048, 10.0f},
                        SizeCase{"Largest", 3.4e38f, 2048, 10.0f},
                        SizeCase{"Infinity", INFINITY, 2048, 10.0f})),
    [](const testing::TestParamInfo<std::tuple<SizeEntry, SizeCase>> &info) {
      return std::string(std::get<0>(info.param).name) + std::get<1>(info.param).name;
    });

// Each hint marks the group whose procedures it chooses between.
struct HintCase {
  GLenum target;
  GLenum GlHintState::*field;
  uint32_t dirty;
};

class Hints : public SetterTest, public testing::WithParamInterface<HintCase> {};

TEST_P(Hints, StoreEachModeAndMarkTheirGroup) {
  const HintCase &c = GetParam();
  for (GLenum mode : {GL_NICEST, GL_FASTEST, GL_DONT_CARE}) {
    Settle();
    GlHintState before = gc->state.hints;
    glHint(c.target, mode);
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    GlHintState expected = before;
    expected.*c.field = mode;
    EXPECT_EQ(memcmp(&gc->state.hints, &expected, sizeof expected), 0);
    EXPECT_EQ(gc->dirtyMask, c.dirty);
    EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Targets, Hints,
    testing::Values(
        HintCase{GL_PERSPECTIVE_CORRECTION_HINT, &GlHintState::perspectiveCorrection, kGeneric},
        HintCase{GL_POINT_SMOOTH_HINT, &GlHintState::pointSmooth, __GL_DIRTY_POINT},
        HintCase{GL_LINE_SMOOTH_HINT, &GlHintState::lineSmooth, __GL_DIRTY_LINE},
        HintCase{GL_POLYGON_SMOOTH_HINT, &GlHintState::polygonSmooth, __GL_DIRTY_POLYGON},
        HintCase{GL_FOG_HINT, &GlHintState::fog, kGeneric}));

const StoreCase kExtensions[] = {
    {"CullEyePosition",
     [] {
       GLfloat v[4] = {1, 2, 3, 0};
       glCullParameterfvVLX(GL_CULL_VERTEX_EYE_POSITION_VLX, v);
     },
     kGeneric, 0,
     [](const GlContext *gc) {
       const GlCoord &p = gc->transform.cullEyePos;
       EXPECT_TRUE(p.x == 1 && p.y == 2 && p.z == 3 && p.w == 0);
       EXPECT_EQ(gc->transform.cullObjPosInForce, 0);
     }},
    {"CullObjectPosition",
     [] {
       GLfloat v[4] = {-1, -2, -3, 1};
       glCullParameterfvVLX(GL_CULL_VERTEX_OBJECT_POSITION_VLX, v);
     },
     kGeneric, 0,
     [](const GlContext *gc) {
       const GlCoord &p = gc->transform.cullObjPos;
       EXPECT_TRUE(p.x == -1 && p.y == -2 && p.z == -3 && p.w == 1);
       EXPECT_EQ(gc->transform.cullObjPosInForce, 1);
     }},
    {"CullObjectThenEyePosition",
     [] {
       GLdouble object[4] = {4, 5, 6, 1}, eye[4] = {0.1, 0.2, 0.3, 1e300};
       glCullParameterdvVLX(GL_CULL_VERTEX_OBJECT_POSITION_VLX, object);
       glCullParameterdvVLX(GL_CULL_VERTEX_EYE_POSITION_VLX, eye);
     },
     kGeneric, 0,
     [](const GlContext *gc) {
       const GlCoord &o = gc->transform.cullObjPos;
       EXPECT_TRUE(o.x == 4 && o.y == 5 && o.z == 6 && o.w == 1);
       const GlCoord &e = gc->transform.cullEyePos;
       EXPECT_TRUE(e.x == 0.1f && e.y == 0.2f && e.z == 0.3f && e.w == INFINITY);
       EXPECT_EQ(gc->transform.cullObjPosInForce, 0);
     }},
    {"IndexMaterial", [] { glIndexMaterialVLX(GL_BACK, GL_INDEX_OFFSET); }, 0, 0,
     [](const GlContext *gc) {
       EXPECT_EQ(gc->state.light.indexMaterialFace, GLenum(GL_BACK));
       EXPECT_EQ(gc->state.light.indexMaterialParam, GLenum(GL_INDEX_OFFSET));
     }},
};

INSTANTIATE_TEST_SUITE_P(Extensions, Stores, testing::ValuesIn(kExtensions), CaseName<StoreCase>);

}  // namespace
}  // namespace setters_test
