// Conversions of the generated routine as rows: what one array element of
// each kind becomes in the record, including the limits of colours.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include "codegen/og_geom.h"
#include "tests/codegen/compile/compile_fixture.h"

namespace compile_test {
namespace {

class CompileConvert : public CompileTest {
 protected:
  // One element (twice, so that the stride is walked) through the routine.
  GlVertex One() {
    const Records r = RunGenerated(0, 0, 2);
    EXPECT_EQ(memcmp(&r.records[0].obj, &r.records[1].obj, sizeof(GlCoord)), 0);
    return r.records[1];
  }
  void Arrays(const ArrayData &vertex) {
    Vertices(vertex);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glScalef(0.01f, 0.01f, 0.01f);
  }
};

TEST_F(CompileConvert, ShortVertexOfTwoComponentsGetsZeroAndOne) {
  Arrays(MakeArray(GL_SHORT, 2, 0, {-7, 31, -7, 31}));
  const GlVertex v = One();
  EXPECT_EQ(v.obj.x, -7.0f);
  EXPECT_EQ(v.obj.y, 31.0f);
  EXPECT_EQ(v.obj.z, 0.0f);
  EXPECT_EQ(v.obj.w, 1.0f);
}

TEST_F(CompileConvert, CoordinateTypesAndSizes) {
  struct Row {
    GLenum type;
    int32_t size;
    GlCoord want;
  };
  const Row rows[] = {
      {GL_SHORT, 3, {-5, 6, -7, 1}},   {GL_SHORT, 4, {-5, 6, -7, 8}},
      {GL_INT, 2, {-5, 6, 0, 1}},      {GL_INT, 4, {-5, 6, -7, 8}},
      {GL_FLOAT, 2, {-5, 6, 0, 1}},    {GL_FLOAT, 3, {-5, 6, -7, 1}},
      {GL_DOUBLE, 3, {-5, 6, -7, 1}},  {GL_DOUBLE, 4, {-5, 6, -7, 8}},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(testing::Message() << "type " << r.type << ", size " << r.size);
    const std::vector<float> one = {-5, 6, -7, 8};
    std::vector<float> values;
    for (int e = 0; e < 2; e++) values.insert(values.end(), one.begin(), one.begin() + r.size);
    Arrays(MakeArray(r.type, r.size, r.size * int32_t(TypeBytes(r.type)) + 2, values));
    const GlVertex v = One();
    EXPECT_EQ(memcmp(&v.obj, &r.want, sizeof r.want), 0)
        << v.obj.x << " " << v.obj.y << " " << v.obj.z << " " << v.obj.w;
  }
}

// Colours in RGBA 5-6-5 (scales 31, 63, 31) with alpha in use.
class CompileColor : public CompileConvert {
 protected:
  GlColor Colour(const ArrayData &colour) {
    Arrays(MakeArray(GL_FLOAT, 3, 0, {0, 0, 0, 0, 0, 0}));
    Colors(colour);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    return One().colors[__GL_FRONTFACE];
  }
  GlColor Scales() const {
    const GlConstants &k = gc->constants;
    return {k.redScale, k.greenScale, k.blueScale, k.alphaScale};
  }
};

TEST_F(CompileColor, LargestComponentsGiveExactlyTheScale) {
  const GlColor s = Scales();
  struct Row {
    GLenum type;
    float top;
  };
  for (const Row &r : {Row{GL_UNSIGNED_BYTE, 255.0f}, Row{GL_BYTE, 127.0f},
                       Row{GL_UNSIGNED_SHORT, 65535.0f}, Row{GL_SHORT, 32767.0f}}) {
    SCOPED_TRACE(testing::Message() << "type " << r.type);
    const std::vector<float> v(8, r.top);
    const GlColor c = Colour(MakeArray(r.type, 4, 0, v));
    EXPECT_EQ(c.r, s.r);
    EXPECT_EQ(c.g, s.g);
    EXPECT_EQ(c.b, s.b);
    EXPECT_EQ(c.a, s.a);
  }
}

TEST_F(CompileColor, ThreeComponentsWithAlphaInUseAreOpaque) {
  for (GLenum type : {GL_UNSIGNED_BYTE, GL_FLOAT, GL_SHORT}) {
    SCOPED_TRACE(testing::Message() << "type " << type);
    const GlColor c = Colour(MakeArray(type, 3, 0, {1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(c.a, Scales().a);
  }
}

// Every stored component lies in [0, scale]: above 1 is the scale, below
// 0 and NaN are 0, as the C path's clamp has them.
TEST_F(CompileColor, ComponentsAreLimitedToZeroAndTheScale) {
  const GlColor s = Scales();
  struct Row {
    const char *what;
    GLenum type;
    std::vector<float> element;  // red, green, blue, alpha
    GlColor want;
  };
  const Row rows[] = {
      {"float above one", GL_FLOAT, {1.5f, 2.0f, 100.0f, 7.0f}, s},
      {"float below zero", GL_FLOAT, {-0.5f, -1e30f, -0.0f, -2.0f}, {0, 0, 0, 0}},
      {"float NaNs", GL_FLOAT, {NAN, -NAN, INFINITY, -INFINITY}, {0, 0, s.b, 0}},
      {"double above and below", GL_DOUBLE, {3.0f, -3.0f, 0.5f, 1.0f}, {s.r, 0, 0.5f * s.b, s.a}},
      {"byte below zero", GL_BYTE, {-128.0f, -1.0f, 0.0f, -50.0f}, {0, 0, s.b / 255.0f, 0}},
      {"short most negative", GL_SHORT, {-32768.0f, 32767.0f, -1.0f, 0.0f},
       {0, s.g, 0, s.a / 65535.0f}},
      {"int most negative", GL_INT, {-2147483648.0f, 0.0f, 0.0f, 0.0f}, {0, 0, 0, 0}},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.what);
    std::vector<float> v = r.element;
    v.insert(v.end(), r.element.begin(), r.element.end());
    const GlColor c = Colour(MakeArray(r.type, 4, 0, v));
    const float *got = &c.r, *want = &r.want.r;
    for (int k = 0; k < 4; k++) {
      EXPECT_GE(got[k], 0.0f) << "channel " << k;
      EXPECT_NEAR(got[k], want[k], 1e-4f * (&s.r)[k]) << "channel " << k;
    }
  }
}

TEST_F(CompileColor, FactorsReachTheScaleExactly) {
  for (GLenum type : {GL_UNSIGNED_BYTE, GL_BYTE, GL_UNSIGNED_SHORT, GL_SHORT})
    for (float scale : {1.0f, 7.0f, 31.0f, 63.0f, 255.0f, 1023.0f, 4095.0f}) {
      const float f = __glOgColorFactor(type, scale);
      const double top = type == GL_UNSIGNED_BYTE || type == GL_BYTE ? 255.0 : 65535.0;
      EXPECT_GE(double(f) * top, double(scale)) << "type " << type << ", scale " << scale;
      EXPECT_LE(double(f) * top, double(scale) * (1 + 1e-6)) << "type " << type;
    }
}

TEST_F(CompileConvert, NormalTypesAreNormalised) {
  struct Row {
    GLenum type;
    float in[3];
    float out[3];
  };
  const Row rows[] = {
      {GL_BYTE, {127, -128, 0}, {1.0f, -1.0f, 1.0f / 255.0f}},
      {GL_SHORT, {32767, -32768, 0}, {1.0f, -1.0f, 1.0f / 65535.0f}},
      {GL_INT, {0, 0, 0}, {1.0f / 4294967296.0f, 1.0f / 4294967296.0f, 1.0f / 4294967296.0f}},
      {GL_FLOAT, {0.25f, -0.5f, 2.0f}, {0.25f, -0.5f, 2.0f}},
      {GL_DOUBLE, {0.25f, -0.5f, 2.0f}, {0.25f, -0.5f, 2.0f}},
  };
  glEnable(GL_CULL_VERTEX_VLX);  // the routine then needs the normal
  for (const Row &r : rows) {
    SCOPED_TRACE(testing::Message() << "type " << r.type);
    Arrays(MakeArray(GL_FLOAT, 3, 0, {0, 0, 0, 0, 0, 0}));
    std::vector<float> n(r.in, r.in + 3);
    n.insert(n.end(), r.in, r.in + 3);
    Normals(MakeArray(r.type, 3, 0, n));
    const GlVertex v = One();
    for (int k = 0; k < 3; k++) EXPECT_FLOAT_EQ((&v.normal.x)[k], r.out[k]) << "component " << k;
  }
}

}  // namespace
}  // namespace compile_test
