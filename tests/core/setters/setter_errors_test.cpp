// Every rejected setter and enable call: the error recorded, and nothing
// else changed (state, lights and their caches, cull point, client arrays,
// stipple, clip box, begin mode, both dirty words), nothing called. Bad
// arguments are tried one at a time in the order the entry checks them,
// each after the ones before it were made good.
#include <gtest/gtest.h>

#include <limits.h>
#include <math.h>

#include "core/context.h"
#include "core/gl_api.h"
#include "tests/core/setters/setters_fixture.h"

namespace setters_test {
namespace {

const float kNaN = nanf("");
const float kInf = INFINITY;

struct ErrorCase {
  const char *name;
  void (*command)();
  GLenum error;
  GlModes (*modes)() = nullptr;  // the default visual when null
};

class ErrorTest : public SetterTest, public testing::WithParamInterface<ErrorCase> {
 protected:
  // Runs the row's call on the context as it stands.
  void ExpectRejected(const ErrorCase &c) {
    std::vector<uint8_t> before = Snapshot(gc);
    c.command();
    EXPECT_EQ(TakeError(), c.error);
    EXPECT_TRUE(Snapshot(gc) == before);
    EXPECT_TRUE(Calls().empty()) << Calls().front();
  }
};

class Rejected : public ErrorTest {};

TEST_P(Rejected, RecordsTheErrorAndChangesNothing) {
  const ErrorCase &c = GetParam();
  if (c.modes) Rebind(c.modes());
  Settle();
  ExpectRejected(c);
}

GLfloat gColor[4] = {0.5f, 0.5f, 0.5f, 1.0f};
GLint gIColor[4] = {1, 2, 3, 4};

const ErrorCase kBadArguments[] = {
    {"AlphaFuncBelowNever", [] { glAlphaFunc(GL_NEVER - 1, 0.5f); }, GL_INVALID_ENUM},
    {"AlphaFuncAboveAlways", [] { glAlphaFunc(GL_ALWAYS + 1, 0.5f); }, GL_INVALID_ENUM},
    {"BlendSourceColor", [] { glBlendFunc(GL_SRC_COLOR, GL_ZERO); }, GL_INVALID_ENUM},
    {"BlendSourceMinusColor", [] { glBlendFunc(GL_ONE_MINUS_SRC_COLOR, GL_ZERO); },
     GL_INVALID_ENUM},
    {"BlendSourceBeyond", [] { glBlendFunc(GL_SRC_ALPHA_SATURATE + 1, GL_ZERO); },
     GL_INVALID_ENUM},
    {"BlendDestinationDstColor", [] { glBlendFunc(GL_ONE, GL_DST_COLOR); }, GL_INVALID_ENUM},
    {"BlendDestinationSaturate", [] { glBlendFunc(GL_ONE, GL_SRC_ALPHA_SATURATE); },
     GL_INVALID_ENUM},
    {"BlendDestinationTwo", [] { glBlendFunc(GL_ONE, 2); }, GL_INVALID_ENUM},
    {"ColorMaterialFace", [] { glColorMaterial(GL_LEFT, GL_AMBIENT); }, GL_INVALID_ENUM},
    {"ColorMaterialMode", [] { glColorMaterial(GL_FRONT, GL_SHININESS); }, GL_INVALID_ENUM},
    {"CullFaceLeft", [] { glCullFace(GL_LEFT); }, GL_INVALID_ENUM},
    {"DepthFunc", [] { glDepthFunc(GL_ALWAYS + 1); }, GL_INVALID_ENUM},
    {"DrawBufferBackSingle", [] { glDrawBuffer(GL_BACK); }, GL_INVALID_OPERATION, RgbaSingle},
    {"DrawBufferBackLeftSingle", [] { glDrawBuffer(GL_BACK_LEFT); }, GL_INVALID_OPERATION,
     RgbaSingle},
    {"DrawBufferFrontRight", [] { glDrawBuffer(GL_FRONT_RIGHT); }, GL_INVALID_OPERATION},
    {"DrawBufferBackRight", [] { glDrawBuffer(GL_BACK_RIGHT); }, GL_INVALID_OPERATION},
    {"DrawBufferRight", [] { glDrawBuffer(GL_RIGHT); }, GL_INVALID_OPERATION},
    {"DrawBufferAux0", [] { glDrawBuffer(GL_AUX0); }, GL_INVALID_OPERATION},
    {"DrawBufferLastAux", [] { glDrawBuffer(0x4FF); }, GL_INVALID_OPERATION},
    {"DrawBufferBeyondAux", [] { glDrawBuffer(0x500); }, GL_INVALID_ENUM},
    {"DrawBufferBelowFront", [] { glDrawBuffer(GL_FRONT_LEFT - 1); }, GL_INVALID_ENUM},
    {"FrontFace", [] { glFrontFace(GL_FRONT); }, GL_INVALID_ENUM},
    {"HintMode", [] { glHint(GL_FOG_HINT, GL_DONT_CARE - 1); }, GL_INVALID_ENUM},
    {"HintTarget", [] { glHint(GL_FOG_HINT + 1, GL_NICEST); }, GL_INVALID_ENUM},
    {"IndexFunc", [] { glIndexFuncVLX(GL_NEVER - 1, 1.0f); }, GL_INVALID_ENUM},
    {"IndexMaterialFace", [] { glIndexMaterialVLX(GL_FRONT_LEFT, GL_INDEX_OFFSET); },
     GL_INVALID_ENUM},
    {"IndexMaterialShift", [] { glIndexMaterialVLX(GL_FRONT, GL_INDEX_SHIFT); },
     GL_INVALID_ENUM},
    {"LineWidthZero", [] { glLineWidth(0.0f); }, GL_INVALID_VALUE},
    {"LineWidthNegative", [] { glLineWidth(-1.0f); }, GL_INVALID_VALUE},
    {"LineWidthNaN", [] { glLineWidth(kNaN); }, GL_INVALID_VALUE},
    {"LineWidthMinusInfinity", [] { glLineWidth(-kInf); }, GL_INVALID_VALUE},
    {"LogicOpBelowClear", [] { glLogicOp(GL_CLEAR - 1); }, GL_INVALID_ENUM},
    {"LogicOpAboveSet", [] { glLogicOp(GL_SET + 1); }, GL_INVALID_ENUM},
    {"PointSizeZero", [] { glPointSize(0.0f); }, GL_INVALID_VALUE},
    {"PointSizeNaN", [] { glPointSize(kNaN); }, GL_INVALID_VALUE},
    {"PolygonModeMode", [] { glPolygonMode(GL_FRONT, GL_FILL + 1); }, GL_INVALID_ENUM},
    {"PolygonModeFaceWithFill", [] { glPolygonMode(GL_LEFT, GL_FILL); }, GL_INVALID_ENUM},
    {"ShadeModel", [] { glShadeModel(GL_SMOOTH + 1); }, GL_INVALID_ENUM},
    {"StencilFunc", [] { glStencilFunc(GL_ALWAYS + 1, 0, 0xFF); }, GL_INVALID_ENUM},
    {"StencilOpFail", [] { glStencilOp(GL_ONE, GL_KEEP, GL_KEEP); }, GL_INVALID_ENUM},
    {"StencilOpDepthFail", [] { glStencilOp(GL_KEEP, GL_SET, GL_KEEP); }, GL_INVALID_ENUM},
    {"StencilOpDepthPass", [] { glStencilOp(GL_KEEP, GL_KEEP, GL_DECR + 1); }, GL_INVALID_ENUM},
    {"CullParameterf", [] { glCullParameterfvVLX(GL_CULL_VERTEX_VLX, gColor); },
     GL_INVALID_ENUM},
    {"CullParameterd",
     [] {
       GLdouble v[4] = {1, 2, 3, 4};
       glCullParameterdvVLX(GL_CULL_VERTEX_VLX, v);
     },
     GL_INVALID_ENUM},

    {"FogfColor", [] { glFogf(GL_FOG_COLOR, 0.0f); }, GL_INVALID_ENUM},
    {"FogiColor", [] { glFogi(GL_FOG_COLOR, 0); }, GL_INVALID_ENUM},
    {"FogfBelowIndex", [] { glFogf(GL_FOG_INDEX - 1, 0.0f); }, GL_INVALID_ENUM},
    {"FogfvUnknown", [] { glFogfv(GL_FOG_COLOR + 1, gColor); }, GL_INVALID_ENUM},
    {"FogivUnknown", [] { glFogiv(GL_FOG_INDEX - 1, gIColor); }, GL_INVALID_ENUM},
    {"FogDensityNegative", [] { glFogf(GL_FOG_DENSITY, -0.5f); }, GL_INVALID_VALUE},
    {"FogDensityNaN", [] { glFogf(GL_FOG_DENSITY, kNaN); }, GL_INVALID_VALUE},
    {"FogDensityMinusInfinity", [] { glFogf(GL_FOG_DENSITY, -kInf); }, GL_INVALID_VALUE},
    {"FogiDensityNegative", [] { glFogi(GL_FOG_DENSITY, -1); }, GL_INVALID_VALUE},
    {"FogModeNotAMode", [] { glFogf(GL_FOG_MODE, GLfloat(GL_LINEAR + 1)); }, GL_INVALID_ENUM},
    {"FogModeNaN", [] { glFogf(GL_FOG_MODE, kNaN); }, GL_INVALID_ENUM},
    {"FogiModeZero", [] { glFogi(GL_FOG_MODE, 0); }, GL_INVALID_ENUM},

    {"LightEight", [] { glLightfv(GL_LIGHT0 + 8, GL_AMBIENT, gColor); }, GL_INVALID_ENUM},
    {"LightBelowZero", [] { glLightfv(GL_LIGHT0 - 1, GL_AMBIENT, gColor); }, GL_INVALID_ENUM},
    {"LightPnameBelow", [] { glLightfv(GL_LIGHT0, GL_AMBIENT - 1, gColor); }, GL_INVALID_ENUM},
    {"LightPnameAbove", [] { glLightiv(GL_LIGHT0, GL_QUADRATIC_ATTENUATION + 1, gIColor); },
     GL_INVALID_ENUM},
    {"LightfColour", [] { glLightf(GL_LIGHT0, GL_AMBIENT, 1.0f); }, GL_INVALID_ENUM},
    {"LightiDirection", [] { glLighti(GL_LIGHT0, GL_SPOT_DIRECTION, 1); }, GL_INVALID_ENUM},
    {"LightfEightExponent", [] { glLightf(GL_LIGHT0 + 8, GL_SPOT_EXPONENT, 1.0f); },
     GL_INVALID_ENUM},
    {"SpotExponentNegative", [] { glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, -0.5f); },
     GL_INVALID_VALUE},
    {"SpotExponentAbove", [] { glLightf(GL_LIGHT1, GL_SPOT_EXPONENT, 128.5f); },
     GL_INVALID_VALUE},
    {"SpotExponentNaN", [] { glLightf(GL_LIGHT2, GL_SPOT_EXPONENT, kNaN); }, GL_INVALID_VALUE},
    {"SpotExponentInteger", [] { glLighti(GL_LIGHT3, GL_SPOT_EXPONENT, 129); },
     GL_INVALID_VALUE},
    {"SpotCutoffAboveNinety", [] { glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 91.0f); },
     GL_INVALID_VALUE},
    {"SpotCutoffNegative", [] { glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, -1.0f); }, GL_INVALID_VALUE},
    {"SpotCutoffNearlyFlat", [] { glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 179.0f); },
     GL_INVALID_VALUE},
    {"SpotCutoffNaN", [] { glLightf(GL_LIGHT7, GL_SPOT_CUTOFF, kNaN); }, GL_INVALID_VALUE},
    {"SpotCutoffInteger", [] { glLighti(GL_LIGHT7, GL_SPOT_CUTOFF, 181); }, GL_INVALID_VALUE},
    {"ConstantAttenuationNegative",
     [] { glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, -1e-30f); }, GL_INVALID_VALUE},
    {"LinearAttenuationNaN", [] { glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, kNaN); },
     GL_INVALID_VALUE},
    {"QuadraticAttenuationNegative", [] { glLighti(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, -1); },
     GL_INVALID_VALUE},
    {"QuadraticAttenuationNaN", [] { glLightf(GL_LIGHT5, GL_QUADRATIC_ATTENUATION, kNaN); },
     GL_INVALID_VALUE},
    {"LightModelUnknown", [] { glLightModelfv(GL_LIGHT_MODEL_AMBIENT + 1, gColor); },
     GL_INVALID_ENUM},
    {"LightModelBelow", [] { glLightModeliv(GL_LIGHT_MODEL_LOCAL_VIEWER - 1, gIColor); },
     GL_INVALID_ENUM},
    {"LightModelfAmbient", [] { glLightModelf(GL_LIGHT_MODEL_AMBIENT, 1.0f); },
     GL_INVALID_ENUM},
    {"LightModeliAmbient", [] { glLightModeli(GL_LIGHT_MODEL_AMBIENT, 1); }, GL_INVALID_ENUM},

    {"MaterialFace", [] { glMaterialfv(GL_LEFT, GL_AMBIENT, gColor); }, GL_INVALID_ENUM},
    {"MaterialFaceBeforeShininess", [] { glMaterialf(GL_LEFT, GL_SHININESS, 500.0f); },
     GL_INVALID_ENUM},
    {"MaterialPname", [] { glMaterialfv(GL_FRONT, GL_POSITION, gColor); }, GL_INVALID_ENUM},
    {"MaterialShininessAbove", [] { glMaterialf(GL_FRONT, GL_SHININESS, 129.0f); },
     GL_INVALID_VALUE},
    {"MaterialShininessNegative", [] { glMaterialf(GL_BACK, GL_SHININESS, -1.0f); },
     GL_INVALID_VALUE},
    {"MaterialShininessNaN", [] { glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, kNaN); },
     GL_INVALID_VALUE},
    {"MaterialiShininessAbove", [] { glMateriali(GL_FRONT, GL_SHININESS, 129); },
     GL_INVALID_VALUE},
    {"MaterialivShininessAbove",
     [] {
       GLint v[1] = {200};
       glMaterialiv(GL_FRONT, GL_SHININESS, v);
     },
     GL_INVALID_VALUE},
    {"MaterialfAmbient", [] { glMaterialf(GL_FRONT, GL_AMBIENT, 1.0f); }, GL_INVALID_ENUM},
    {"MaterialfIndexOffset", [] { glMaterialf(GL_FRONT, GL_INDEX_OFFSET, 1.0f); },
     GL_INVALID_ENUM},
    {"MaterialiColorIndexes", [] { glMateriali(GL_FRONT, GL_COLOR_INDEXES, 1); },
     GL_INVALID_ENUM},

    {"EnableLightEight", [] { glEnable(GL_LIGHT0 + 8); }, GL_INVALID_ENUM},
    {"EnableClipPlaneSix", [] { glEnable(GL_CLIP_PLANE0 + 6); }, GL_INVALID_ENUM},
    {"DisableLightEight", [] { glDisable(GL_LIGHT0 + 8); }, GL_INVALID_ENUM},
    {"EnableBeyondMap1", [] { glEnable(GL_MAP1_VERTEX_4 + 1); }, GL_INVALID_ENUM},
    {"EnableBeyondMap2", [] { glEnable(GL_MAP2_VERTEX_4 + 1); }, GL_INVALID_ENUM},
    {"EnableZero", [] { glEnable(0); }, GL_INVALID_ENUM},
    {"EnableNextToIndexTest", [] { glEnable(GL_INDEX_TEST_VLX + 1); }, GL_INVALID_ENUM},
    {"DisableBeforeVertexArray", [] { glDisable(GL_VERTEX_ARRAY - 1); }, GL_INVALID_ENUM},
    {"IsEnabledUnknown", [] { EXPECT_EQ(glIsEnabled(GL_LIGHT0 + 8), GL_FALSE); },
     GL_INVALID_ENUM},
    {"IsEnabledClientNeighbour", [] { EXPECT_EQ(glIsEnabled(GL_EDGE_FLAG_ARRAY + 1), GL_FALSE); },
     GL_INVALID_ENUM},
    {"EnableClientStateLighting", [] { glEnableClientState(GL_LIGHTING); }, GL_INVALID_ENUM},
    {"DisableClientStateBeyond", [] { glDisableClientState(GL_EDGE_FLAG_ARRAY + 1); },
     GL_INVALID_ENUM},

    // A vector entry given no values does nothing; a bad pname still shows.
    {"FogfvNull", [] { glFogfv(GL_FOG_COLOR, nullptr); }, GL_NO_ERROR},
    {"FogivNullBadPname", [] { glFogiv(GL_FOG_COLOR + 1, nullptr); }, GL_INVALID_ENUM},
    {"LightfvNull", [] { glLightfv(GL_LIGHT0, GL_POSITION, nullptr); }, GL_NO_ERROR},
    {"LightivNull", [] { glLightiv(GL_LIGHT1, GL_SPOT_DIRECTION, nullptr); }, GL_NO_ERROR},
    {"LightModelfvNull", [] { glLightModelfv(GL_LIGHT_MODEL_AMBIENT, nullptr); }, GL_NO_ERROR},
    {"MaterialfvNull", [] { glMaterialfv(GL_FRONT, GL_SHININESS, nullptr); }, GL_NO_ERROR},
    {"MaterialivNullBadFace", [] { glMaterialiv(GL_LEFT, GL_AMBIENT, nullptr); },
     GL_INVALID_ENUM},
    {"CullParameterfNull", [] { glCullParameterfvVLX(GL_CULL_VERTEX_EYE_POSITION_VLX, nullptr); },
     GL_NO_ERROR},
    {"CullParameterdNull",
     [] { glCullParameterdvVLX(GL_CULL_VERTEX_OBJECT_POSITION_VLX, nullptr); }, GL_NO_ERROR},
};

INSTANTIATE_TEST_SUITE_P(BadArguments, Rejected, testing::ValuesIn(kBadArguments),
                         CaseName<ErrorCase>);

// Between glBegin and glEnd every entry but glMaterial refuses valid
// arguments; the scalar fog entries check their pname before the vector
// entry looks at the begin mode, and so does the double cull entry.
class InsideBegin : public ErrorTest {};

TEST_P(InsideBegin, RecordsTheErrorAndChangesNothing) {
  const ErrorCase &c = GetParam();
  Settle();
  gc->beginMode = __GL_IN_BEGIN;
  ExpectRejected(c);
  gc->beginMode = __GL_NOT_IN_BEGIN;  // a context is released outside glBegin only
}

const ErrorCase kInsideBegin[] = {
    {"AlphaFunc", [] { glAlphaFunc(GL_LESS, 0.5f); }, GL_INVALID_OPERATION},
    {"BlendFunc", [] { glBlendFunc(GL_ONE, GL_ONE); }, GL_INVALID_OPERATION},
    {"ClearAccum", [] { glClearAccum(0, 0, 0, 0); }, GL_INVALID_OPERATION},
    {"ClearColor", [] { glClearColor(1, 1, 1, 1); }, GL_INVALID_OPERATION},
    {"ClearDepth", [] { glClearDepth(0.5); }, GL_INVALID_OPERATION},
    {"ClearIndex", [] { glClearIndex(2.0f); }, GL_INVALID_OPERATION},
    {"ClearStencil", [] { glClearStencil(3); }, GL_INVALID_OPERATION},
    {"ColorMask", [] { glColorMask(0, 0, 0, 0); }, GL_INVALID_OPERATION},
    {"ColorMaterial", [] { glColorMaterial(GL_FRONT, GL_EMISSION); }, GL_INVALID_OPERATION},
    {"CullFace", [] { glCullFace(GL_FRONT); }, GL_INVALID_OPERATION},
    {"DepthFunc", [] { glDepthFunc(GL_NEVER); }, GL_INVALID_OPERATION},
    {"DepthMask", [] { glDepthMask(0); }, GL_INVALID_OPERATION},
    {"DrawBuffer", [] { glDrawBuffer(GL_FRONT); }, GL_INVALID_OPERATION},
    {"FrontFace", [] { glFrontFace(GL_CW); }, GL_INVALID_OPERATION},
    {"Hint", [] { glHint(GL_FOG_HINT, GL_NICEST); }, GL_INVALID_OPERATION},
    {"IndexFunc", [] { glIndexFuncVLX(GL_LESS, 1.0f); }, GL_INVALID_OPERATION},
    {"IndexMask", [] { glIndexMask(0); }, GL_INVALID_OPERATION},
    {"IndexMaterial", [] { glIndexMaterialVLX(GL_FRONT, GL_INDEX_OFFSET); },
     GL_INVALID_OPERATION},
    {"LineStipple", [] { glLineStipple(2, 0xF0F0); }, GL_INVALID_OPERATION},
    {"LineWidth", [] { glLineWidth(2.0f); }, GL_INVALID_OPERATION},
    {"LineWidthBadToo", [] { glLineWidth(0.0f); }, GL_INVALID_OPERATION},
    {"LogicOp", [] { glLogicOp(GL_CLEAR); }, GL_INVALID_OPERATION},
    {"PointSize", [] { glPointSize(3.0f); }, GL_INVALID_OPERATION},
    {"PolygonMode", [] { glPolygonMode(GL_FRONT, GL_POINT); }, GL_INVALID_OPERATION},
    {"PolygonOffset", [] { glPolygonOffset(1, 1); }, GL_INVALID_OPERATION},
    {"PolygonStipple",
     [] {
       static const GLubyte zeros[128] = {};
       glPolygonStipple(zeros);
     },
     GL_INVALID_OPERATION},
    {"ShadeModel", [] { glShadeModel(GL_FLAT); }, GL_INVALID_OPERATION},
    {"StencilFunc", [] { glStencilFunc(GL_NEVER, 1, 1); }, GL_INVALID_OPERATION},
    {"StencilMask", [] { glStencilMask(0); }, GL_INVALID_OPERATION},
    {"StencilOp", [] { glStencilOp(GL_ZERO, GL_ZERO, GL_ZERO); }, GL_INVALID_OPERATION},
    {"CullParameterf", [] { glCullParameterfvVLX(GL_CULL_VERTEX_EYE_POSITION_VLX, gColor); },
     GL_INVALID_OPERATION},
    {"CullParameterd",
     [] {
       GLdouble v[4] = {1, 2, 3, 4};
       glCullParameterdvVLX(GL_CULL_VERTEX_OBJECT_POSITION_VLX, v);
     },
     GL_INVALID_OPERATION},
    {"CullParameterdPnameFirst",
     [] {
       GLdouble v[4] = {1, 2, 3, 4};
       glCullParameterdvVLX(GL_CULL_VERTEX_VLX, v);
     },
     GL_INVALID_ENUM},
    {"Fogf", [] { glFogf(GL_FOG_START, 2.0f); }, GL_INVALID_OPERATION},
    {"Fogi", [] { glFogi(GL_FOG_MODE, GL_LINEAR); }, GL_INVALID_OPERATION},
    {"Fogfv", [] { glFogfv(GL_FOG_COLOR, gColor); }, GL_INVALID_OPERATION},
    {"FogfvBadPname", [] { glFogfv(GL_FOG_COLOR + 1, gColor); }, GL_INVALID_OPERATION},
    {"FogfBadPnameFirst", [] { glFogf(GL_FOG_COLOR, 1.0f); }, GL_INVALID_ENUM},
    {"FogiBadPnameFirst", [] { glFogi(GL_FOG_MODE + 2, 1); }, GL_INVALID_ENUM},
    {"Lightfv", [] { glLightfv(GL_LIGHT0, GL_DIFFUSE, gColor); }, GL_INVALID_OPERATION},
    {"Lightiv", [] { glLightiv(GL_LIGHT0, GL_POSITION, gIColor); }, GL_INVALID_OPERATION},
    {"Lightf", [] { glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, 2.0f); }, GL_INVALID_OPERATION},
    {"LightfBadPnameFirst", [] { glLightf(GL_LIGHT0, GL_POSITION, 2.0f); }, GL_INVALID_ENUM},
    {"LightModelfv", [] { glLightModelfv(GL_LIGHT_MODEL_AMBIENT, gColor); },
     GL_INVALID_OPERATION},
    {"LightModeli", [] { glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1); }, GL_INVALID_OPERATION},
    {"Enable", [] { glEnable(GL_LIGHTING); }, GL_INVALID_OPERATION},
    {"EnableUnknown", [] { glEnable(GL_LIGHT0 + 8); }, GL_INVALID_OPERATION},
    {"EnableClientArray", [] { glEnable(GL_VERTEX_ARRAY); }, GL_INVALID_OPERATION},
    {"Disable", [] { glDisable(GL_DITHER); }, GL_INVALID_OPERATION},
    {"IsEnabled", [] { EXPECT_EQ(glIsEnabled(GL_DITHER), GL_FALSE); }, GL_INVALID_OPERATION},
    {"EnableClientState", [] { glEnableClientState(GL_COLOR_ARRAY); }, GL_INVALID_OPERATION},
    {"DisableClientState", [] { glDisableClientState(GL_COLOR_ARRAY); }, GL_INVALID_OPERATION},
};

INSTANTIATE_TEST_SUITE_P(Setters, InsideBegin, testing::ValuesIn(kInsideBegin),
                         CaseName<ErrorCase>);

// The one rejected call that leaves a mark: a valid point or line mode has
// marked its group before the face is found bad.
struct PolygonModeCase {
  GLenum mode;
  uint32_t dirty;
};

class PolygonModeBadFace : public SetterTest, public testing::WithParamInterface<PolygonModeCase> {
};

TEST_P(PolygonModeBadFace, KeepsTheModesAndTheGroupMark) {
  const PolygonModeCase &c = GetParam();
  Settle();
  GlPolygonState before = gc->state.polygon;
  glPolygonMode(GL_FRONT_LEFT, c.mode);
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_ENUM));
  EXPECT_EQ(gc->state.polygon.frontMode, before.frontMode);
  EXPECT_EQ(gc->state.polygon.backMode, before.backMode);
  EXPECT_EQ(gc->dirtyMask, c.dirty);
  EXPECT_EQ(gc->beginMode, c.dirty ? __GL_VALIDATE_PENDING : __GL_NOT_IN_BEGIN);
}

INSTANTIATE_TEST_SUITE_P(Modes, PolygonModeBadFace,
                         testing::Values(PolygonModeCase{GL_POINT, __GL_DIRTY_POINT},
                                         PolygonModeCase{GL_LINE, __GL_DIRTY_LINE},
                                         PolygonModeCase{GL_FILL, 0}));

}  // namespace
}  // namespace setters_test
