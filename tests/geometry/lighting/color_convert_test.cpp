// Conversions between the API colour forms, the unscaled form and the
// scaled form: every procedure on its edge values, in place and into
// another record, with unequal scales to catch components paired with the
// wrong scale.
#include <limits.h>
#include <math.h>

#include <gtest/gtest.h>

#include "geometry/s_color.h"
#include "tests/geometry/lighting/light_fixture.h"

namespace {

typedef void (*FloatProc)(GlContext *, GlColor *, const GlColor *);
typedef void (*IntProc)(GlContext *, GlColor *, const GLint[4]);

struct Scales {
  GLfloat r, g, b, a;
};
const Scales k255 = {255, 255, 255, 255};
const Scales kOdd = {31, 63, 15, 7};

LightSetup With(const Scales &s) {
  LightSetup setup;
  setup.red = s.r, setup.green = s.g, setup.blue = s.b, setup.alpha = s.a;
  return setup;
}

// One call: the context's scales, the colour in and the colour out.
struct FloatRow {
  const char *what;
  FloatProc proc;
  Scales scales;
  GlColor in, out;
};

const FloatRow kFloatRows[] = {
    {"clamp and scale", __glClampAndScaleColorf, k255, {1.5f, -0.2f, 0.5f, 1.0f},
     {255, 0, 127.5f, 255}},
    {"clamp and scale, not numbers", __glClampAndScaleColorf, k255,
     {NAN, -INFINITY, INFINITY, -0.0f}, {0, 0, 255, 0}},
    {"clamp and scale, own scales", __glClampAndScaleColorf, kOdd, {1, 1, 1, 2}, {31, 63, 15, 7}},
    {"scale, above one", __glScaleColorf, k255, {2, 2, 2, 2}, {510, 510, 510, 510}},
    {"scale, own scales", __glScaleColorf, kOdd, {1, 0.5f, -1, 3}, {31, 31.5f, -15, 21}},
    {"clamp, bounds kept", __glClampColorf, kOdd, {0, 1, 1.5f, -0.5f}, {0, 1, 1, 0}},
    {"clamp, not a number", __glClampColorf, k255, {NAN, 0.75f, INFINITY, -INFINITY},
     {0, 0.75f, 1, 0}},
    {"clamp scaled", __glClampScaledColorf, k255, {300, -1, 254.5f, 255}, {255, 0, 254.5f, 255}},
    {"clamp scaled, own scales", __glClampScaledColorf, kOdd, {40, 40, 40, 40}, {31, 40, 15, 7}},
    {"clamp scaled, not a number", __glClampScaledColorf, k255, {NAN, 1, 2, 3}, {0, 1, 2, 3}},
    {"clamp RGB", __glClampRGBColor, k255, {-0.0f, 0, 255, 256}, {0, 0, 255, 255}},
    {"clamp RGB, own scales", __glClampRGBColor, kOdd, {31, 62.5f, 16, -3}, {31, 62.5f, 15, 0}},
    {"clamp RGB, not a number", __glClampRGBColor, k255, {NAN, INFINITY, 1, 0.5f},
     {0, 255, 1, 0.5f}},
    {"unscale, own scales", __glUnScaleColorf, kOdd, {31, 63, 15, 7},
     {31 * (1 / 31.0f), 63 * (1 / 63.0f), 15 * (1 / 15.0f), 7 * (1 / 7.0f)}},
    {"unscale, half", __glUnScaleColorf, k255, {127.5f, 0, -255, 510},
     {127.5f * (1 / 255.0f), 0, -255 * (1 / 255.0f), 510 * (1 / 255.0f)}},
};

void ExpectColor(const GlColor &got, const GlColor &want) {
  EXPECT_EQ(got.r, want.r);
  EXPECT_EQ(got.g, want.g);
  EXPECT_EQ(got.b, want.b);
  EXPECT_EQ(got.a, want.a);
}

TEST(ColorConvert, FloatFormsOnTheirEdges) {
  for (const FloatRow &row : kFloatRows) {
    SCOPED_TRACE(row.what);
    LightContext ctx(With(row.scales));
    GlColor out{-9, -9, -9, -9};
    row.proc(ctx.gc(), &out, &row.in);
    ExpectColor(out, row.out);
    GlColor same = row.in;
    row.proc(ctx.gc(), &same, &same);
    ExpectColor(same, row.out);
    // "0 or below" gives 0: a negative zero comes out positive.
    if (row.proc == __glClampRGBColor) {
      EXPECT_EQ(signbit(out.r), signbit(row.out.r));
    }
  }
}

struct IntRow {
  const char *what;
  IntProc proc;
  Scales scales;
  GLint in[4];
  double out[4];
  double tolerance;  // absolute
};

// (2i + 1) / 4294964992: the largest integer is slightly above 1.
constexpr double kTop = 4294967295.0 / 4294964992.0;

const IntRow kIntRows[] = {
    {"scale, largest and smallest", __glScaleColori, k255, {INT_MAX, INT_MIN, 0, -1},
     {255 * kTop, -255 * kTop, 255 / 4294964992.0, -255 / 4294964992.0}, 3e-5},
    {"scale, own scales", __glScaleColori, kOdd, {INT_MAX, INT_MAX, INT_MAX, 1 << 30},
     {31 * kTop, 63 * kTop, 15 * kTop, 7 * 2147483649.0 / 4294964992.0}, 1e-5},
    {"clamp and scale", __glClampAndScaleColori, k255, {INT_MAX, INT_MIN, 1 << 30, -1},
     {255, 0, 255 * 2147483649.0 / 4294964992.0, 0}, 3e-5},
    {"clamp and scale, own scales", __glClampAndScaleColori, kOdd,
     {INT_MAX, INT_MAX, INT_MAX, INT_MAX}, {31, 63, 15, 7}, 0},
    {"clamp", __glClampColori, kOdd, {INT_MAX, INT_MIN, 1 << 30, -1},
     {1, 0, 2147483649.0 / 4294964992.0, 0}, 1e-7},
};

TEST(ColorConvert, IntegerFormsMapTheFullRangeOntoMinusOneToOne) {
  for (const IntRow &row : kIntRows) {
    SCOPED_TRACE(row.what);
    LightContext ctx(With(row.scales));
    GlColor out{};
    row.proc(ctx.gc(), &out, row.in);
    const GLfloat got[4] = {out.r, out.g, out.b, out.a};
    for (int i = 0; i < 4; i++) {
      EXPECT_NEAR(got[i], row.out[i], row.tolerance) << "component " << i;
      if (row.proc == __glScaleColori && row.in[i] == INT_MAX) {
        EXPECT_GT(got[i], (&row.scales.r)[i]) << "no clamp";
      }
    }
  }
}

TEST(ColorConvert, QueriesOfScaledColoursAsIntegers) {
  struct Case {
    const char *what;
    Scales scales;
    GlColor in;
    GLint out[4];
  } cases[] = {
      // 255 times the single reciprocal of 255 is slightly above 1.
      {"full", k255, {255, 0, -255, 127.5f}, {2147482622, 0, -2147482623, 1073741311}},
      {"beyond the scale saturates", k255, {510, -510, 1e30f, -1e30f},
       {INT_MAX, INT_MIN, INT_MAX, INT_MIN}},
      {"not numbers", k255, {NAN, INFINITY, -INFINITY, -NAN}, {0, INT_MAX, INT_MIN, 0}},
      {"own scales", kOdd, {31, 0, 15, 0}, {2147482432, 0, 2147482607, 0}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    LightContext ctx(With(c.scales));
    GLint out[4] = {7, 7, 7, 7};
    __glUnScaleColori(ctx.gc(), out, &c.in);
    for (int i = 0; i < 4; i++) EXPECT_EQ(out[i], c.out[i]) << "component " << i;
  }
}

}  // namespace
