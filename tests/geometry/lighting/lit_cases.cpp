#include "tests/geometry/lighting/lit_cases.h"

#include <math.h>

#include <gtest/gtest.h>

#include "geometry/s_lighting.h"
#include "tests/geometry/lighting/light_fixture.h"
#include "tests/geometry/lighting/lit_model.h"
#include "tests/geometry/lighting/lit_support.h"

namespace {

constexpr double X = NAN;  // a component left to the model
const double kModelOnly[4] = {X, X, X, X};

GlColor Scaled(const GlContext *gc, GLfloat r, GLfloat g, GLfloat b) {
  const GlConstants &k = gc->constants;
  return GlColor{r * k.redScale, g * k.greenScale, b * k.blueScale, k.alphaScale};
}

// Light 0 alone, directional from +z: ambient (0.1, 0.2, 0.3), diffuse
// (0.5, 0.4, 0.3), specular (0.25, 0.5, 0.125). Front material white with
// diffuse alpha 0.5; back material ambient 0.5, diffuse 0.25 with alpha
// 0.75, no specular; shininess 10; no scene colour.
void BaseState(LightContext &ctx) {
  GlContext *gc = ctx.gc();
  gc->state.light.model.ambient = GlColor{0, 0, 0, 0};
  ctx.setLights(0x1);
  GlLight &l = ctx.light(0);
  l.ambient = Scaled(gc, 0.1f, 0.2f, 0.3f);
  l.diffuse = Scaled(gc, 0.5f, 0.4f, 0.3f);
  l.specular = Scaled(gc, 0.25f, 0.5f, 0.125f);
  l.positionEye = GlCoord{0, 0, 1, 0};
  GlMaterial &front = ctx.material(__GL_FRONTFACE);
  front.ambient = front.specular = GlColor{1, 1, 1, 1};
  front.diffuse = GlColor{1, 1, 1, 0.5f};
  front.specularExponent = 10;
  GlMaterial &back = ctx.material(__GL_BACKFACE);
  back.ambient = GlColor{0.5f, 0.5f, 0.5f, 1};
  back.diffuse = GlColor{0.25f, 0.25f, 0.25f, 0.75f};
  back.specular = GlColor{0, 0, 0, 1};
  back.specularExponent = 10;
  ctx.setEnable(__GL_LIGHTING_ENABLE, true);
}

// Light 0 at (0, 0, 2) shining down the z axis, and a scene colour that
// shows when it adds nothing.
void Spot(LightContext &ctx, GLfloat cutoff, GLfloat exponent) {
  ctx.light(0).positionEye = GlCoord{0, 0, 2, 1};
  ctx.light(0).spotLightCutOffAngle = cutoff;
  ctx.light(0).spotLightExponent = exponent;
  SetSpotDirection(ctx, 0, 0, 0, -1);
  ctx.material(__GL_FRONTFACE).emissive = GlColor{10, 20, 30, 0};
}

// The spot direction after validation, with the cosine it computed: sd of
// a vertex straight below the light is exactly `cos` (or just below it).
void AimAtTheCutOff(LightContext &ctx, bool justOutside) {
  GLfloat c = ctx.cache(0).cosCutOffAngle;
  if (justOutside) c = nextafterf(c, 0.0f);
  const double s = sqrt(1.0 - double(c) * c);
  ctx.light(0).direction = GlCoord{GLfloat(s), 0, -c, 0};
  GLfloat *unit = ctx.cache(0).direction;
  unit[0] = GLfloat(s), unit[1] = 0, unit[2] = -c;
}

// A 60-degree spot at (0, 0, 1), aimed by AimAtTheCutOff after validation.
void WideSpotAtOne(LightContext &ctx) {
  Spot(ctx, 60, 0);
  ctx.light(0).positionEye = GlCoord{0, 0, 1, 1};
}

// Colour material on, then the current colour (0.5, 0.25, 1, 0.25) applied.
void ColorMaterial(LightContext &ctx, GLenum face, GLenum param) {
  GlContext *gc = ctx.gc();
  gc->state.light.colorMaterialFace = face;
  gc->state.light.colorMaterialParam = param;
  ctx.setEnable(__GL_COLOR_MATERIAL_ENABLE, true);
  __glGenericPickColorMaterialProcs(gc);
  gc->state.current.userColor = GlColor{0.5f, 0.25f, 1, 0.25f};
  gc->procs.applyColor(gc);
}

struct LitCase {
  const char *what;
  void (*setup)(LightContext &);  // before validation
  void (*after)(LightContext &);  // after validation, or null
  GlCoord eye, normal;
  int face;
  bool fastToo;  // only fast lights: the fast procedure must agree
  double want[4];
};

const GlCoord kEye = {1, 2, -5, 1};
const GlCoord kUp = {0, 0, 1, 0};
const GlCoord kOrigin = {0, 0, 0, 1};
void Nothing(LightContext &) {}

const LitCase kCases[] = {
    {"directional, facing the light", Nothing, nullptr, kEye, kUp, 0, true,
     {216.75, 255, 184.875, 127.5}},
    {"facing away: the ambient term alone", Nothing, nullptr, kEye, {0, 0, -1, 0}, 0, true,
     {25.5, 51, 76.5, 127.5}},
    {"back face: negated normal, back material", Nothing, nullptr, kEye, {0, 0, -1, 0}, 1, true,
     {44.625, 51, 57.375, 191.25}},
    {"back face of a normal facing the light", Nothing, nullptr, kEye, kUp, 1, true,
     {12.75, 25.5, 38.25, 191.25}},
    {"zero-length normal: the ambient term alone", Nothing, nullptr, kEye, {0, 0, 0, 0}, 0, true,
     {25.5, 51, 76.5, 127.5}},
    {"n.H below the specular table: ambient and diffuse",
     [](LightContext &ctx) { ctx.light(0).positionEye = GlCoord{1, 0, 0, 0}; }, nullptr, kEye,
     {0.2f, 0, -1, 0}, 0, true, {51, 71.4, 91.8, 127.5}},
    {"shininess 0: the whole specular term",
     [](LightContext &ctx) {
       ctx.light(0).positionEye = GlCoord{1, 0, 0, 0};
       ctx.material(__GL_FRONTFACE).specularExponent = 0;
     },
     nullptr, kEye, {0.5f, 0, 0.5f, 0}, 0, true, {153, 229.5, 146.625, 127.5}},
    {"beyond the scale clamps to it, a negative sum to 0",
     [](LightContext &ctx) { ctx.material(__GL_FRONTFACE).diffuse = GlColor{2, -3, 1, 0.5f}; },
     nullptr, kEye, kUp, 0, true, {255, 0, 184.875, 127.5}},
    {"two lights add up",
     [](LightContext &ctx) {
       ctx.setLights(0x3);
       ctx.light(1) = ctx.light(0);
       ctx.light(1).positionEye = GlCoord{1, 0, 0, 0};
     },
     nullptr, kEye, kUp, 0, true, {242.25, 255, 255, 127.5}},
    {"positional, constant attenuation 2 halves it",
     [](LightContext &ctx) {
       ctx.light(0).positionEye = GlCoord{0, 0, 2, 1};
       ctx.light(0).constantAttenuation = 2;
     },
     nullptr, kOrigin, kUp, 0, false, {108.375, 140.25, 92.4375, 127.5}},
    {"linear attenuation 1 at distance 2: a third",
     [](LightContext &ctx) {
       ctx.light(0).positionEye = GlCoord{0, 0, 2, 1};
       ctx.light(0).linearAttenuation = 1;
     },
     nullptr, kOrigin, kUp, 0, false, {72.25, 93.5, 61.625, 127.5}},
    {"quadratic attenuation 1/4 at distance 2: a half",
     [](LightContext &ctx) {
       ctx.light(0).positionEye = GlCoord{0, 0, 2, 1};
       ctx.light(0).quadraticAttenuation = 0.25f;
     },
     nullptr, kOrigin, kUp, 0, false, {108.375, 140.25, 92.4375, 127.5}},
    {"a directional light ignores its attenuation",
     [](LightContext &ctx) {
       GlLight &l = ctx.light(0);
       l.constantAttenuation = 2, l.linearAttenuation = 1, l.quadraticAttenuation = 3;
     },
     nullptr, kEye, kUp, 0, true, {216.75, 255, 184.875, 127.5}},
    {"positional, light and vertex homogeneous (w 2 and 0.5)",
     [](LightContext &ctx) { ctx.light(0).positionEye = GlCoord{0, 0, 4, 2}; }, nullptr,
     {0, 0, 0, 0.5f}, kUp, 0, false, {216.75, 255, 184.875, 127.5}},
    {"a vertex at infinity (eye w 0) sees a directional light from P2 - P1", Nothing, nullptr,
     {1, 0, 0, 0}, kUp, 0, false, {X, X, X, 127.5}},
    {"spot, on its axis", [](LightContext &ctx) { Spot(ctx, 30, 0); }, nullptr, kOrigin, kUp, 0,
     false, {226.75, 255, 214.875, 127.5}},
    {"spot, outside the cone: nothing, not even ambient",
     [](LightContext &ctx) { Spot(ctx, 30, 0); }, nullptr, {2, 0, 0, 1}, kUp, 0, false,
     {10, 20, 30, 127.5}},
    {"spot, exactly at the cut-off cosine: lit", WideSpotAtOne,
     [](LightContext &ctx) { AimAtTheCutOff(ctx, false); }, kOrigin, kUp, 0, false,
     {226.75, 255, 214.875, 127.5}},
    {"spot, just outside the cut-off cosine: nothing", WideSpotAtOne,
     [](LightContext &ctx) { AimAtTheCutOff(ctx, true); }, kOrigin, kUp, 0, false,
     {10, 20, 30, 127.5}},
    {"spot exponent 2, 20 degrees off the axis", [](LightContext &ctx) { Spot(ctx, 45, 2); },
     nullptr, {0.7279404f, 0, 0, 1}, kUp, 0, false, {X, X, X, 127.5}},
    {"spot exponent 128, 30 degrees off the axis: below its table, nothing",
     [](LightContext &ctx) { Spot(ctx, 45, 128); }, nullptr, {1.1547005f, 0, 0, 1}, kUp, 0,
     false, {10, 20, 30, 127.5}},
    {"spot with distance attenuation",
     [](LightContext &ctx) {
       Spot(ctx, 45, 5);
       ctx.light(0).linearAttenuation = 0.5f;
     },
     nullptr, {0.3f, -0.2f, 0, 1}, {0.1f, 0.2f, 0.9f, 0}, 0, false, {X, X, X, 127.5}},
    {"local viewer: the half vector follows the eye",
     [](LightContext &ctx) {
       ctx.light(0).positionEye = GlCoord{1, 0, 0, 0};
       ctx.gc()->state.light.model.localViewer = 1;
     },
     nullptr, {1, 0, 0, 1}, {0.6f, 0, 0.8f, 0}, 0, false, {102, 112.2, 122.4, 127.5}},
    {"the same vertex under an infinite viewer",
     [](LightContext &ctx) { ctx.light(0).positionEye = GlCoord{1, 0, 0, 0}; }, nullptr,
     {1, 0, 0, 1}, {0.6f, 0, 0.8f, 0}, 0, true, {X, X, X, 127.5}},
    {"local viewer with a positional spotlight, back face",
     [](LightContext &ctx) {
       Spot(ctx, 70, 3);
       ctx.gc()->state.light.model.localViewer = 1;
       ctx.material(__GL_BACKFACE).specular = GlColor{0.5f, 1, 0.25f, 1};
     },
     nullptr, {0.4f, 0.3f, -0.5f, 1}, {-0.2f, 0.1f, -0.95f, 0}, 1, false, {X, X, X, 191.25}},
    {"colour material: the current colour is the diffuse colour", Nothing,
     [](LightContext &ctx) { ColorMaterial(ctx, GL_FRONT, GL_DIFFUSE); }, kEye, kUp, 0, true,
     {153, 204, 184.875, 63.75}},
    {"colour material on both faces, ambient and diffuse, back face", Nothing,
     [](LightContext &ctx) { ColorMaterial(ctx, GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE); },
     kEye, {0, 0, -1, 0}, 1, true, {76.5, 38.25, 153, 63.75}},
    {"a normal that is not a number: the ambient term alone", Nothing, nullptr, kEye,
     {NAN, 0, 1, 0}, 0, true, {25.5, 51, 76.5, 127.5}},
    {"an eye position that is not a number: the ambient term alone",
     [](LightContext &ctx) { ctx.light(0).positionEye = GlCoord{0, 0, 2, 1}; }, nullptr,
     {NAN, 0, 0, 1}, kUp, 0, false, {25.5, 51, 76.5, 127.5}},
    {"... and an attenuation that is not a number: nothing",
     [](LightContext &ctx) {
       ctx.light(0).positionEye = GlCoord{0, 0, 2, 1};
       ctx.light(0).linearAttenuation = 1;
       ctx.material(__GL_FRONTFACE).emissive = GlColor{10, 20, 30, 0};
     },
     nullptr, {NAN, 0, 0, 1}, kUp, 0, false, {10, 20, 30, 127.5}},
    {"a material colour that is not a number gives 0",
     [](LightContext &ctx) { ctx.material(__GL_FRONTFACE).ambient.g = NAN; }, nullptr, kEye, kUp,
     0, true, {216.75, 0, 184.875, 127.5}},
};

void ExpectColor(const GlColor &got, const double want[4], const LitRGBA &model, double within) {
  const GLfloat values[4] = {got.r, got.g, got.b, got.a};
  for (int c = 0; c < 4; c++) {
    SCOPED_TRACE(testing::Message() << "component " << c);
    if (!isnan(want[c])) {
      EXPECT_NEAR(values[c], want[c], within);
    }
    if (c < 3) {
      const LitInterval &m = model.c[c];
      EXPECT_TRUE(m.Contains(values[c]))
          << values[c] << " outside the model's [" << m.lo << ", " << m.hi << "] around " << m.mid;
    } else {
      EXPECT_NEAR(values[c], model.alpha, 1e-4);
    }
  }
}

void ExpectOnlyThatFace(const GlVertex &v, int face) {
  const GlColor &other = v.colors[1 - face];
  EXPECT_TRUE(other.r == -7 && other.g == -7 && other.b == -7 && other.a == -7)
      << "the other face's colour was written";
}

}  // namespace

void ExpectLitCases(const LitProcs &procs) {
  SCOPED_TRACE(procs.name);
  for (const LitCase &c : kCases) {
    SCOPED_TRACE(c.what);
    LightContext ctx;
    BaseState(ctx);
    c.setup(ctx);
    ctx.validate();
    if (c.after) c.after(ctx);
    struct Run {
      const char *name;
      GlCalcColorProc proc;
      LitForm form;
    } runs[] = {{"full", procs.full, LitForm::kFull},
                {"fast", c.fastToo ? procs.fast : nullptr, LitForm::kFast}};
    for (const Run &run : runs) {
      if (!run.proc) continue;
      SCOPED_TRACE(run.name);
      GlVertex v = LitVertex(c.eye, c.normal);
      run.proc(ctx.gc(), c.face, &v);
      ExpectColor(v.colors[c.face], c.want, ModelLitRGBA(ctx.gc(), c.face, v, run.form), 0.01);
      ExpectOnlyThatFace(v, c.face);
    }
  }
}

LightSetup DistinctScales() {
  LightSetup setup;
  setup.red = 31.0f, setup.green = 63.0f, setup.blue = 127.0f, setup.alpha = 15.0f;
  return setup;
}

void ExpectRandomLitColors(const LitProcs &procs, uint32_t seed, int states, int vertices,
                           const LightSetup &setup) {
  SCOPED_TRACE(procs.name);
  auto check = [&](LightContext &ctx, const GlVertex &given, bool fast, int) {
    SCOPED_TRACE(testing::Message()
                 << "eye " << given.eye.x << " " << given.eye.y << " " << given.eye.z << " "
                 << given.eye.w << " normal " << given.normal.x << " " << given.normal.y << " "
                 << given.normal.z);
    for (int face = 0; face < 2; face++) {
      SCOPED_TRACE(face ? "back" : "front");
      const GlCalcColorProc fastProc = fast ? procs.fast : nullptr;
      if (fastProc) {
        GlVertex v = given;
        fastProc(ctx.gc(), face, &v);
        ExpectColor(v.colors[face], kModelOnly, ModelLitRGBA(ctx.gc(), face, v, LitForm::kFast),
                    0);
      }
      GlVertex v = given;
      procs.full(ctx.gc(), face, &v);
      ExpectColor(v.colors[face], kModelOnly, ModelLitRGBA(ctx.gc(), face, v, LitForm::kFull), 0);
    }
  };
  ForEachRandomLitVertex(setup, seed, states, vertices, check);
}
