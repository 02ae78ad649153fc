// Colour-index lighting: hand-worked indexes for the blend of the ambient,
// diffuse and specular indexes, the specular cap, the index shift and
// offset in 24.8 fixed point, and the light kinds; then random states
// against the double-precision model.
#include <math.h>

#include <gtest/gtest.h>

#include "geometry/s_light_calc.h"
#include "tests/geometry/lighting/light_fixture.h"
#include "tests/geometry/lighting/light_random.h"
#include "tests/geometry/lighting/lit_cases.h"
#include "tests/geometry/lighting/lit_model.h"
#include "tests/geometry/lighting/lit_support.h"

namespace {

enum Procs : unsigned { kFast = 1, kFastShift = 2, kFull = 4, kAll = 7 };

struct IndexProc {
  Procs which;
  const char *name;
  GlCalcColorProc proc;
  LitForm form;
  IndexShift shift;
};

const IndexProc kProcs[] = {
    {kFast, "__glFastCalcCIColor", __glFastCalcCIColor, LitForm::kFast, IndexShift::kNever},
    {kFastShift, "__glFastCalcCIColor_ShiftOffset", __glFastCalcCIColor_ShiftOffset,
     LitForm::kFast, IndexShift::kAlways},
    {kFull, "__glCalcCIColor", __glCalcCIColor, LitForm::kFull, IndexShift::kWhenSet},
};

GlColor Gray(const GlContext *gc, GLfloat v) {
  const GlConstants &k = gc->constants;
  return GlColor{v * k.redScale, v * k.greenScale, v * k.blueScale, k.alphaScale};
}

// Light 0 directional from +z, diffuse luminance 0.5, specular 0.2.
// Indexes: front ambient 10, diffuse 100, specular 200; back 20, 60, 120.
// Shininess 0: the specular coefficient is 1 wherever n.H >= 0.
void BaseState(LightContext &ctx) {
  GlContext *gc = ctx.gc();
  ctx.setLights(0x1);
  GlLight &l = ctx.light(0);
  l.diffuse = Gray(gc, 0.5f);
  l.specular = Gray(gc, 0.2f);
  l.positionEye = GlCoord{0, 0, 1, 0};
  GlMaterial &front = ctx.material(__GL_FRONTFACE);
  front.cmapa = 10, front.cmapd = 100, front.cmaps = 200;
  front.specularExponent = 0;
  GlMaterial &back = ctx.material(__GL_BACKFACE);
  back.cmapa = 20, back.cmapd = 60, back.cmaps = 120;
  back.specularExponent = 0;
  ctx.setEnable(__GL_LIGHTING_ENABLE, true);
}

void Shift(LightContext &ctx, GLfloat shift, GLfloat offset) {
  ctx.material(__GL_FRONTFACE).indexShift = shift;
  ctx.material(__GL_FRONTFACE).indexOffset = offset;
}

// The current index 5.5 offsets the front face.
void IndexMaterialOnTheFront(LightContext &ctx) {
  ctx.setEnable(__GL_INDEX_MATERIAL_ENABLE, true);
  ctx.gc()->state.light.indexMaterialFace = GL_FRONT;
  ctx.gc()->state.current.index = 5.5f;
}

// Light 0 at (0, 0, 2) shining down the z axis, cut off at 30 degrees.
void SpotDownFromAbove(LightContext &ctx) {
  ctx.light(0).positionEye = GlCoord{0, 0, 2, 1};
  ctx.light(0).spotLightCutOffAngle = 30;
  SetSpotDirection(ctx, 0, 0, 0, -1);
}

struct IndexCase {
  const char *what;
  void (*setup)(LightContext &);
  GlCoord eye, normal;
  int face;
  unsigned procs;
  double want;
};

const GlCoord kEye = {1, 2, -5, 1};
const GlCoord kUp = {0, 0, 1, 0};
const GlCoord kThird = {0, 0, 0.3f, 0};  // n.L 0.3: the index is 58.8
void Nothing(LightContext &) {}

const IndexCase kCases[] = {
    {"diffuse and specular luminances blend the indexes", Nothing, kEye, kUp, 0, kAll, 84},
    {"facing away: the ambient index", Nothing, kEye, {0, 0, -1, 0}, 0, kAll, 10},
    {"zero-length normal: the ambient index", Nothing, kEye, {0, 0, 0, 0}, 0, kAll, 10},
    {"luminances of the colour as given: an eighth of the diffuse range",
     [](LightContext &ctx) {
       ctx.light(0).diffuse = Gray(ctx.gc(), 0.125f);
       ctx.light(0).specular = Gray(ctx.gc(), 0.0f);
     },
     kEye, kUp, 0, kAll, 21.25},
    {"a specular sum of 1 or more: exactly the specular index",
     [](LightContext &ctx) { ctx.light(0).specular = Gray(ctx.gc(), 2.0f); }, kEye, kUp, 0, kAll,
     200},
    {"above the specular index: the specular index",
     [](LightContext &ctx) {
       ctx.light(0).diffuse = Gray(ctx.gc(), 3.0f);
       ctx.light(0).specular = Gray(ctx.gc(), 0.0f);
     },
     kEye, kUp, 0, kAll, 200},
    {"n.H below the specular table: no specular share",
     [](LightContext &ctx) {
       ctx.light(0).positionEye = GlCoord{1, 0, 0, 0};
       ctx.material(__GL_FRONTFACE).specularExponent = 10;
     },
     kEye, {0.2f, 0, -1, 0}, 0, kAll, 19},
    {"back face: negated normal, back indexes", Nothing, kEye, {0, 0, -1, 0}, 1, kAll, 56},
    {"without shift or offset the fraction stays", Nothing, kEye, kThird, 0, kFast | kFull, 58.8},
    {"_ShiftOffset rounds to 1/256 even without shift or offset", Nothing, kEye, kThird, 0,
     kFastShift, 58.80078125},
    {"shift 1 doubles, offset 3 adds 3", [](LightContext &ctx) { Shift(ctx, 1, 3); }, kEye,
     kThird, 0, kFastShift | kFull, 120.6015625},
    {"shift -2 drops two fraction bits", [](LightContext &ctx) { Shift(ctx, -2, 0); }, kEye,
     kThird, 0, kFastShift | kFull, 14.69921875},
    {"a shift of 33 is a shift of 1", [](LightContext &ctx) { Shift(ctx, 33, 0); }, kEye, kThird,
     0, kFastShift | kFull, 117.6015625},
    {"the offset truncated, negative too", [](LightContext &ctx) { Shift(ctx, 0, -2.7f); },
     kEye, kThird, 0, kFastShift | kFull, 56.80078125},
    {"a shift that is not a number shifts by 0", [](LightContext &ctx) { Shift(ctx, NAN, 0); },
     kEye, kThird, 0, kFastShift | kFull, 58.80078125},
    {"index material: the current index is the front offset", IndexMaterialOnTheFront, kEye,
     kThird, 0, kFastShift | kFull, 63.80078125},
    {"index material on the front leaves the back offset alone", IndexMaterialOnTheFront, kEye,
     {0, 0, -1, 0}, 1, kFastShift | kFull, 56},
    {"positional, constant attenuation 2 halves both sums",
     [](LightContext &ctx) {
       ctx.light(0).positionEye = GlCoord{0, 0, 2, 1};
       ctx.light(0).constantAttenuation = 2;
     },
     {0, 0, 0, 1}, kUp, 0, kFull, 49.25},
    {"spot on its axis", SpotDownFromAbove, {0, 0, 0, 1}, kUp, 0, kFull, 84},
    {"spot, outside the cone: the ambient index", SpotDownFromAbove, {2, 0, 0, 1}, kUp, 0, kFull,
     10},
    {"local viewer", [](LightContext &ctx) { ctx.gc()->state.light.model.localViewer = 1; },
     {0, 0, 3, 1}, {0, 0.6f, 0.8f, 0}, 0, kFull, NAN},
    {"a normal that is not a number: the ambient index", Nothing, kEye, {0, NAN, 1, 0}, 0, kAll,
     10},
    {"an eye position that is not a number: the ambient index",
     [](LightContext &ctx) { ctx.light(0).positionEye = GlCoord{0, 0, 2, 1}; },
     {0, 0, NAN, 1}, kUp, 0, kFull, 10},
};

TEST(LitIndex, HandWorkedCases) {
  for (const IndexCase &c : kCases) {
    SCOPED_TRACE(c.what);
    LightSetup setup;
    setup.colorIndex = true;
    LightContext ctx(setup);
    BaseState(ctx);
    c.setup(ctx);
    ctx.validate();
    for (const IndexProc &p : kProcs) {
      if (!(c.procs & p.which)) continue;
      SCOPED_TRACE(p.name);
      GlVertex v = LitVertex(c.eye, c.normal);
      p.proc(ctx.gc(), c.face, &v);
      const GLfloat got = v.colors[c.face].r;
      if (!isnan(c.want)) {
        EXPECT_NEAR(got, c.want, 1e-3);
      }
      const LitInterval m = ModelLitIndex(ctx.gc(), c.face, v, p.form, p.shift);
      EXPECT_TRUE(m.Contains(got)) << got << " outside [" << m.lo << ", " << m.hi << "]";
      EXPECT_EQ(v.colors[1 - c.face].r, -7.0f) << "the other face's index was written";
    }
  }
}

// `states` random states of each kind (only fast lights; any lights), each
// lighting random vertices on both faces with every procedure that serves it.
void ExpectRandomIndexes(LightSetup setup, uint32_t seed, int states) {
  setup.colorIndex = true;
  auto check = [](LightContext &ctx, const GlVertex &given, bool fast, int i) {
    for (int face = 0; face < 2; face++) {
      for (const IndexProc &p : kProcs) {
        if (p.form == LitForm::kFast && !fast) continue;
        SCOPED_TRACE(testing::Message() << p.name << " face " << face << " vertex " << i);
        GlVertex v = given;
        p.proc(ctx.gc(), face, &v);
        const GLfloat got = v.colors[face].r;
        const LitInterval m = ModelLitIndex(ctx.gc(), face, v, p.form, p.shift);
        EXPECT_TRUE(m.Contains(got))
            << got << " outside [" << m.lo << ", " << m.hi << "] around " << m.mid;
      }
    }
  };
  ForEachRandomLitVertex(setup, seed, states, 30, check);
}

TEST(LitIndex, RandomStatesAgainstTheModel) { ExpectRandomIndexes(LightSetup(), 555, 80); }

// Each component of a light colour is unscaled by its own scale before it
// weighs in a luminance.
TEST(LitIndex, RandomStatesWithDistinctColourScales) {
  ExpectRandomIndexes(DistinctScales(), 71, 30);
}

}  // namespace
