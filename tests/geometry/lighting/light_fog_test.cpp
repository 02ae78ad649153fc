// Per-vertex fog of the colour: the blend towards the fog colour, the
// device that fogs in hardware, the colour-index clamp, and the lit forms
// that light first.
#include <gtest/gtest.h>

#include "geometry/s_light_fog.h"
#include "tests/geometry/lighting/light_fixture.h"

namespace {

struct RgbRow {
  const char *what;
  bool lit;
  uint8_t fogInHardware;
  GLfloat f;
  GlColor color, want;
};

// The lit procedure of the lit rows writes this colour first.
const GlColor kLit = {100, 40, 0, 50};
const GlColor kFogColor = {200, 80, 40, 255};

const RgbRow kRgbRows[] = {
    {"no fog", false, 0, 1.0f, {10, 20, 30, 40}, {10, 20, 30, 40}},
    {"all fog, alpha kept", false, 0, 0.0f, {10, 20, 30, 40}, {200, 80, 40, 40}},
    {"a quarter", false, 0, 0.25f, {100, 0, 40, 40}, {175, 60, 40, 40}},
    {"the device fogs", false, 1, 0.0f, {10, 20, 30, 40}, {10, 20, 30, 40}},
    {"lit, half", true, 0, 0.5f, {1, 1, 1, 1}, {150, 60, 20, 50}},
    {"lit, the device fogs", true, 1, 0.5f, {1, 1, 1, 1}, kLit},
};

void WriteLit(GlContext *, GLint face, GlVertex *v) { v->colors[face] = kLit; }

TEST(VertexFog, RgbColourBlendsTowardsTheFogColour) {
  for (const RgbRow &row : kRgbRows) {
    for (GLint face = 0; face < 2; face++) {
      SCOPED_TRACE(testing::Message() << row.what << ", face " << face);
      LightContext ctx;
      GlContext *gc = ctx.gc();
      gc->fogInHardware = row.fogInHardware;
      gc->state.fog.color = kFogColor;
      gc->procs.calcLitColor = WriteLit;
      GlVertex v{};
      v.fog = row.f;
      v.colors[face] = row.color;
      v.colors[1 - face] = GlColor{-1, -1, -1, -1};
      (row.lit ? __glFogLitRGBColor : __glFogRGBColor)(gc, face, &v);
      EXPECT_EQ(v.colors[face].r, row.want.r);
      EXPECT_EQ(v.colors[face].g, row.want.g);
      EXPECT_EQ(v.colors[face].b, row.want.b);
      EXPECT_EQ(v.colors[face].a, row.want.a);
      EXPECT_EQ(v.colors[1 - face].r, -1) << "the other face untouched";
    }
  }
}

TEST(VertexFog, IndexMovesTowardsTheFogIndexUpToTheTopIndex) {
  struct Case {
    const char *what;
    bool lit;
    uint32_t bits;
    GLfloat index, f, fogIndex, want;
  } cases[] = {
      {"no fog", false, 8, 10, 1.0f, 20, 10},
      {"half", false, 8, 10, 0.5f, 20, 20},
      {"clamped to 255", false, 8, 250, 0.0f, 20, 255},
      {"clamped to 15", false, 4, 3, 0.0f, 20, 15},
      {"32 bits, no clamp", false, 32, 3, 0.0f, 20, 23},
      {"lit first", true, 8, 0, 0.0f, 20, 120},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    LightSetup setup;
    setup.colorIndex = true;
    setup.indexBits = c.bits;
    LightContext ctx(setup);
    GlContext *gc = ctx.gc();
    gc->fogInHardware = 1;  // not consulted in colour-index mode
    gc->state.fog.index = c.fogIndex;
    gc->procs.calcLitColor = [](GlContext *, GLint face, GlVertex *v) { v->colors[face].r = 100; };
    GlVertex v{};
    v.fog = c.f;
    v.colors[1].r = c.index;
    (c.lit ? __glFogLitCIColor : __glFogCIColor)(gc, 1, &v);
    EXPECT_EQ(v.colors[1].r, c.want);
  }
}

}  // namespace
