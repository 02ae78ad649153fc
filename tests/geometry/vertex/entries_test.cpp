// The immediate attribute entries: every form's conversion into the current
// values, the colour flag of the vertex cache, and which of them bring the
// scaled colour up to date.
#include <gtest/gtest.h>
#include <limits.h>
#include <math.h>
#include <string.h>

#include <string>
#include <vector>

#include "tests/geometry/vertex/vertex_fixture.h"
#include "tests/geometry/vertex/vertex_reference.h"

namespace vertex_test {
namespace {

// The conversion constants as floats: 1/255, 1/65535, and the reciprocal of
// 4294964992, the float just below 2^32.
const double kUByte = float(1.0 / 255), kUShort = float(1.0 / 65535),
             kUInt = float(1.0 / 4294964992.0);

// Signed components map (2c + 1) onto [-1, 1] by the unsigned maximum.
double B(double c) { return (2 * c + 1) * kUByte; }
double S(double c) { return (2 * c + 1) * kUShort; }
double I(double c) { return (2 * c + 1) * kUInt; }
double US(double c) { return c * kUShort; }
double UI(double c) { return c * kUInt; }

void RecordApplyColor(GlContext *) { Calls().push_back("applyColor"); }

const GlColor kEarlierColor = {-5, -5, -5, -5};

class Entries : public VertexTest {
 protected:
  void SetUp() override {
    VertexTest::SetUp();
    gc->procs.applyColor = RecordApplyColor;
  }
  void Fresh() {
    gc->state.current.userColor = kEarlierColor;
    gc->vcache.colorChanged = 0;
    TakeCalls();
  }
};

TEST_F(Entries, TheConversionConstantsAreTheFloatsTheFormsAssume) {
  const GlConstants &k = gc->constants;
  EXPECT_EQ(k.oneOverUByteMax, float(kUByte));
  EXPECT_EQ(k.oneOverUShortMax, float(kUShort));
  EXPECT_EQ(k.oneOverUIntMax, float(kUInt));
  for (int i = 0; i < 256; ++i) ASSERT_TRUE(Near(k.uByteToFloat[i], i * kUByte)) << i;
}

// ---- glColor ----

struct ColorCase {
  const char *what;
  void (*call)();
  double want[4];
};

// clang-format off
const ColorCase kColorCases[] = {
    {"Color3b", [] { glColor3b(-128, 127, 0); }, {-1, 1, B(0), 1}},
    {"Color3bv", [] { const GLbyte v[] = {-1, 0, 64}; glColor3bv(v); }, {B(-1), B(0), B(64), 1}},
    {"Color4b", [] { glColor4b(1, -2, 3, -128); }, {B(1), B(-2), B(3), -1}},
    {"Color4bv", [] { const GLbyte v[] = {127, -128, 5, 127}; glColor4bv(v); }, {1, -1, B(5), 1}},
    {"Color3ub", [] { glColor3ub(255, 0, 128); }, {1, 0, 128 * kUByte, 1}},
    {"Color3ubv", [] { const GLubyte v[] = {1, 2, 254}; glColor3ubv(v); },
     {kUByte, 2 * kUByte, 254 * kUByte, 1}},
    {"Color4ub", [] { glColor4ub(10, 20, 30, 0); }, {10 * kUByte, 20 * kUByte, 30 * kUByte, 0}},
    {"Color4ubv", [] { const GLubyte v[] = {255, 255, 255, 7}; glColor4ubv(v); },
     {1, 1, 1, 7 * kUByte}},
    {"Color3s", [] { glColor3s(-32768, 32767, 0); }, {-1, 1, S(0), 1}},
    {"Color3sv", [] { const GLshort v[] = {-1, 100, -100}; glColor3sv(v); },
     {S(-1), S(100), S(-100), 1}},
    {"Color4s", [] { glColor4s(1, 2, 3, -32768); }, {S(1), S(2), S(3), -1}},
    {"Color4sv", [] { const GLshort v[] = {32767, 0, -5, 12345}; glColor4sv(v); },
     {1, S(0), S(-5), S(12345)}},
    {"Color3us", [] { glColor3us(65535, 0, 1); }, {1, 0, kUShort, 1}},
    {"Color3usv", [] { const GLushort v[] = {32768, 2, 65534}; glColor3usv(v); },
     {US(32768), US(2), US(65534), 1}},
    {"Color4us", [] { glColor4us(1, 65535, 3, 4); }, {US(1), 1, US(3), US(4)}},
    {"Color4usv", [] { const GLushort v[] = {0, 0, 0, 65535}; glColor4usv(v); }, {0, 0, 0, 1}},
    {"Color3i: the ends go slightly beyond 1", [] { glColor3i(INT_MAX, INT_MIN, 0); },
     {I(INT_MAX), I(INT_MIN), I(0), 1}},
    {"Color3iv", [] { const GLint v[] = {-1, 1 << 30, -(1 << 30)}; glColor3iv(v); },
     {I(-1), I(1 << 30), I(-(1 << 30)), 1}},
    {"Color4i", [] { glColor4i(INT_MAX, INT_MAX, INT_MAX, INT_MAX); },
     {I(INT_MAX), I(INT_MAX), I(INT_MAX), I(INT_MAX)}},
    {"Color4iv", [] { const GLint v[] = {0, 7, -7, INT_MIN}; glColor4iv(v); },
     {I(0), I(7), I(-7), I(INT_MIN)}},
    {"Color3ui", [] { glColor3ui(UINT_MAX, 0, 1u << 31); }, {UI(UINT_MAX), 0, UI(1u << 31), 1}},
    {"Color3uiv", [] { const GLuint v[] = {1, 2, 4294964992u}; glColor3uiv(v); },
     {UI(1), UI(2), 1, 1}},
    {"Color4ui", [] { glColor4ui(3, UINT_MAX, 5, 0); }, {UI(3), UI(UINT_MAX), UI(5), 0}},
    {"Color4uiv", [] { const GLuint v[] = {UINT_MAX, 1, 2, 3}; glColor4uiv(v); },
     {UI(UINT_MAX), UI(1), UI(2), UI(3)}},
    {"Color3f: not clamped", [] { glColor3f(-0.5f, 1.5f, 0.25f); }, {-0.5, 1.5, 0.25, 1}},
    {"Color3fv", [] { const GLfloat v[] = {2, -3, 0.125f}; glColor3fv(v); }, {2, -3, 0.125, 1}},
    {"Color4f", [] { glColor4f(0.1f, 0.2f, 0.3f, 7); }, {0.1f, 0.2f, 0.3f, 7}},
    {"Color4fv", [] { const GLfloat v[] = {0, 1, 0, 0.5f}; glColor4fv(v); }, {0, 1, 0, 0.5}},
    {"Color3d: rounded to float", [] { glColor3d(0.1, 1e-50, -2.5); }, {0.1f, 0, -2.5, 1}},
    {"Color3dv", [] { const GLdouble v[] = {1.0 / 3, 2.0 / 3, 1}; glColor3dv(v); },
     {float(1.0 / 3), float(2.0 / 3), 1, 1}},
    {"Color4d", [] { glColor4d(0.7, 0.8, 0.9, 1e300); }, {0.7f, 0.8f, 0.9f, INFINITY}},
    {"Color4dv", [] { const GLdouble v[] = {-0.25, 0, 0.5, 0.75}; glColor4dv(v); },
     {-0.25, 0, 0.5, 0.75}},
};
// clang-format on

TEST_F(Entries, EveryColourFormStoresTheColourAsGivenThenAppliesIt) {
  for (const ColorCase &c : kColorCases) {
    SCOPED_TRACE(c.what);
    Fresh();
    c.call();
    const GlColor &got = gc->state.current.userColor;
    const GLfloat *g = &got.r;
    for (int i = 0; i < 4; ++i) {
      EXPECT_TRUE(Near(g[i], c.want[i]))
          << "component " << i << ": " << g[i] << " vs " << c.want[i];
    }
    EXPECT_EQ(gc->vcache.colorChanged, 1) << "the vertex cache hears of it";
    EXPECT_EQ(TakeCalls(), std::vector<std::string>{"applyColor"});
  }
}

// The values the examples of the conversion rules name exactly.
TEST_F(Entries, NamedColourValuesAreExact) {
  Fresh();
  glColor3ub(255, 0, 128);
  EXPECT_EQ(gc->state.current.userColor.r, 1.0f);
  EXPECT_EQ(gc->state.current.userColor.g, 0.0f);
  EXPECT_EQ(gc->state.current.userColor.b, gc->constants.uByteToFloat[128]);
  EXPECT_EQ(gc->state.current.userColor.a, 1.0f);
  glColor3b(-128, 127, 0);
  EXPECT_EQ(gc->state.current.userColor.r, -1.0f);
  EXPECT_EQ(gc->state.current.userColor.g, 1.0f);
  EXPECT_EQ(gc->state.current.userColor.b, float(kUByte));
  glColor4i(INT_MAX, 0, 0, 0);
  EXPECT_GT(gc->state.current.userColor.r, 1.0f) << "above 1 until applyColor clamps";
}

// With the real colour procedure, the scaled colour follows.
TEST_F(Entries, TheScaledColourFollowsTheEntry) {
  glDisable(GL_LIGHTING);
  Ready();  // the picked applyColor back
  glColor4f(0.5f, 2, -1, 1);
  const GlColor &c = gc->state.current.color;
  EXPECT_EQ(c.r, 0.5f * gc->constants.redScale);
  EXPECT_EQ(c.g, gc->constants.greenScale) << "clamped to 1";
  EXPECT_EQ(c.b, 0.0f) << "clamped to 0";
}

// ---- glIndex ----

struct IndexCase {
  const char *what;
  void (*call)();
  GLfloat want;
};

// clang-format off
const IndexCase kIndexCases[] = {
    {"Indexd", [] { glIndexd(0.1); }, 0.1f},
    {"Indexdv", [] { const GLdouble c = -3.5; glIndexdv(&c); }, -3.5f},
    {"Indexf", [] { glIndexf(2.5f); }, 2.5f},
    {"Indexfv", [] { const GLfloat c = 1e20f; glIndexfv(&c); }, 1e20f},
    {"Indexi: rounded to the nearest float", [] { glIndexi(16777217); }, 16777216.0f},
    {"Indexiv", [] { const GLint c = -7; glIndexiv(&c); }, -7},
    {"Indexs", [] { glIndexs(-32768); }, -32768},
    {"Indexsv", [] { const GLshort c = 300; glIndexsv(&c); }, 300},
    {"Indexub: unsigned", [] { glIndexub(255); }, 255},
    {"Indexubv", [] { const GLubyte c = 200; glIndexubv(&c); }, 200},
};
// clang-format on

TEST_F(Entries, EveryIndexFormStoresTheIndexByValue) {
  for (const IndexCase &c : kIndexCases) {
    SCOPED_TRACE(c.what);
    Fresh();
    gc->state.current.index = -99;
    c.call();
    EXPECT_EQ(gc->state.current.index, c.want);
    EXPECT_EQ(gc->vcache.colorChanged, 1);
    EXPECT_TRUE(TakeCalls().empty()) << "no procedure is called";
    EXPECT_EQ(memcmp(&gc->state.current.userColor, &kEarlierColor, sizeof kEarlierColor), 0);
  }
}

// ---- glNormal ----

struct NormalCase {
  const char *what;
  void (*call)();
  double want[3];
};

// clang-format off
const NormalCase kNormalCases[] = {
    {"Normal3b", [] { glNormal3b(127, 0, -128); }, {1, B(0), -1}},
    {"Normal3bv", [] { const GLbyte v[] = {-1, 64, 3}; glNormal3bv(v); }, {B(-1), B(64), B(3)}},
    {"Normal3s", [] { glNormal3s(32767, -32768, 0); }, {1, -1, S(0)}},
    {"Normal3sv", [] { const GLshort v[] = {-1, 1000, -1000}; glNormal3sv(v); },
     {S(-1), S(1000), S(-1000)}},
    {"Normal3i", [] { glNormal3i(INT_MAX, INT_MIN, 0); }, {I(INT_MAX), I(INT_MIN), I(0)}},
    {"Normal3iv", [] { const GLint v[] = {5, -5, 1 << 20}; glNormal3iv(v); },
     {I(5), I(-5), I(1 << 20)}},
    {"Normal3f: not normalised", [] { glNormal3f(3, 4, 12); }, {3, 4, 12}},
    {"Normal3fv", [] { const GLfloat v[] = {0, -2, 0.5f}; glNormal3fv(v); }, {0, -2, 0.5}},
    {"Normal3d", [] { glNormal3d(0.1, 0.2, 0.3); }, {0.1f, 0.2f, 0.3f}},
    {"Normal3dv", [] { const GLdouble v[] = {1e-3, -1e3, 1e40}; glNormal3dv(v); },
     {1e-3f, -1e3f, INFINITY}},
};
// clang-format on

TEST_F(Entries, EveryNormalFormStoresTheNormalAsGiven) {
  for (const NormalCase &c : kNormalCases) {
    SCOPED_TRACE(c.what);
    Fresh();
    c.call();
    const GLfloat *n = gc->state.current.normal;
    for (int i = 0; i < 3; ++i)
      EXPECT_TRUE(Near(n[i], c.want[i]))
          << "component " << i << ": " << n[i] << " vs " << c.want[i];
    EXPECT_TRUE(TakeCalls().empty());
    EXPECT_EQ(gc->vcache.colorChanged, 0);
  }
}

// ---- glTexCoord ----

struct TexCoordCase {
  const char *what;
  void (*call)();
  GlCoord want;
};

// clang-format off
const TexCoordCase kTexCoordCases[] = {
    {"TexCoord1d", [] { glTexCoord1d(0.1); }, {0.1f, 0, 0, 1}},
    {"TexCoord1dv", [] { const GLdouble v[] = {-2}; glTexCoord1dv(v); }, {-2, 0, 0, 1}},
    {"TexCoord1f", [] { glTexCoord1f(0.5f); }, {0.5f, 0, 0, 1}},
    {"TexCoord1fv", [] { const GLfloat v[] = {7}; glTexCoord1fv(v); }, {7, 0, 0, 1}},
    {"TexCoord1i: not normalised", [] { glTexCoord1i(3); }, {3, 0, 0, 1}},
    {"TexCoord1iv", [] { const GLint v[] = {16777217}; glTexCoord1iv(v); }, {16777216.0f, 0, 0, 1}},
    {"TexCoord1s", [] { glTexCoord1s(-32768); }, {-32768, 0, 0, 1}},
    {"TexCoord1sv", [] { const GLshort v[] = {12}; glTexCoord1sv(v); }, {12, 0, 0, 1}},
    {"TexCoord2d", [] { glTexCoord2d(0.3, -0.7); }, {0.3f, -0.7f, 0, 1}},
    {"TexCoord2dv", [] { const GLdouble v[] = {1, 2}; glTexCoord2dv(v); }, {1, 2, 0, 1}},
    {"TexCoord2f", [] { glTexCoord2f(0.25f, 0.75f); }, {0.25f, 0.75f, 0, 1}},
    {"TexCoord2fv", [] { const GLfloat v[] = {-1, 9}; glTexCoord2fv(v); }, {-1, 9, 0, 1}},
    {"TexCoord2i", [] { glTexCoord2i(-4, 5); }, {-4, 5, 0, 1}},
    {"TexCoord2iv", [] { const GLint v[] = {INT_MAX, INT_MIN}; glTexCoord2iv(v); },
     {2147483648.0f, -2147483648.0f, 0, 1}},
    {"TexCoord2s", [] { glTexCoord2s(1, -1); }, {1, -1, 0, 1}},
    {"TexCoord2sv", [] { const GLshort v[] = {32767, 2}; glTexCoord2sv(v); }, {32767, 2, 0, 1}},
    {"TexCoord3d", [] { glTexCoord3d(1, 2, 3.1); }, {1, 2, 3.1f, 1}},
    {"TexCoord3dv", [] { const GLdouble v[] = {0, 0, -1}; glTexCoord3dv(v); }, {0, 0, -1, 1}},
    {"TexCoord3f", [] { glTexCoord3f(4, 5, 6); }, {4, 5, 6, 1}},
    {"TexCoord3fv", [] { const GLfloat v[] = {0.5f, 1.5f, 2.5f}; glTexCoord3fv(v); },
     {0.5f, 1.5f, 2.5f, 1}},
    {"TexCoord3i", [] { glTexCoord3i(7, 8, 9); }, {7, 8, 9, 1}},
    {"TexCoord3iv", [] { const GLint v[] = {-1, -2, -3}; glTexCoord3iv(v); }, {-1, -2, -3, 1}},
    {"TexCoord3s", [] { glTexCoord3s(10, 20, 30); }, {10, 20, 30, 1}},
    {"TexCoord3sv", [] { const GLshort v[] = {-10, 0, 10}; glTexCoord3sv(v); }, {-10, 0, 10, 1}},
    {"TexCoord4d", [] { glTexCoord4d(0.1, 0.2, 0.3, 0.4); }, {0.1f, 0.2f, 0.3f, 0.4f}},
    {"TexCoord4dv", [] { const GLdouble v[] = {1, 2, 3, 0}; glTexCoord4dv(v); }, {1, 2, 3, 0}},
    {"TexCoord4f", [] { glTexCoord4f(1, 2, 3, 4); }, {1, 2, 3, 4}},
    {"TexCoord4fv", [] { const GLfloat v[] = {-1, -2, -3, -4}; glTexCoord4fv(v); },
     {-1, -2, -3, -4}},
    {"TexCoord4i", [] { glTexCoord4i(1, 0, 0, 2); }, {1, 0, 0, 2}},
    {"TexCoord4iv", [] { const GLint v[] = {5, 6, 7, 8}; glTexCoord4iv(v); }, {5, 6, 7, 8}},
    {"TexCoord4s", [] { glTexCoord4s(0, 1, 2, 3); }, {0, 1, 2, 3}},
    {"TexCoord4sv", [] { const GLshort v[] = {9, 8, 7, 6}; glTexCoord4sv(v); }, {9, 8, 7, 6}},
};
// clang-format on

TEST_F(Entries, EveryTexCoordFormFillsTheMissingCoordinates) {
  for (const TexCoordCase &c : kTexCoordCases) {
    SCOPED_TRACE(c.what);
    gc->state.current.texture = {-9, -9, -9, -9};
    c.call();
    const GlCoord &t = gc->state.current.texture;
    EXPECT_TRUE(Same(t.x, c.want.x) && Same(t.y, c.want.y) && Same(t.z, c.want.z) &&
                Same(t.w, c.want.w))
        << t.x << " " << t.y << " " << t.z << " " << t.w;
  }
}

// The coordinates may be read from the current values themselves.
TEST_F(Entries, TexCoordFromTheCurrentCoordinatesKeepsThem) {
  gc->state.current.texture = {1, 2, 3, 4};
  glTexCoord4fv(&gc->state.current.texture.x);
  const GlCoord &t = gc->state.current.texture;
  EXPECT_TRUE(t.x == 1 && t.y == 2 && t.z == 3 && t.w == 4);
  glTexCoord2fv(&gc->state.current.texture.x);
  EXPECT_TRUE(t.x == 1 && t.y == 2 && t.z == 0 && t.w == 1);
}

// ---- glEdgeFlag ----

TEST_F(Entries, TheEdgeFlagIsKeptAsTheBoundaryBit) {
  const struct {
    const char *what;
    void (*call)();
    uint32_t want;
  } kCases[] = {
      {"true", [] { glEdgeFlag(GL_TRUE); }, __GL_HAS_EDGEFLAG_BOUNDARY},
      {"false", [] { glEdgeFlag(GL_FALSE); }, 0},
      {"any non-zero", [] { glEdgeFlag(2); }, __GL_HAS_EDGEFLAG_BOUNDARY},
      {"v, false",
       [] {
         const GLboolean f = GL_FALSE;
         glEdgeFlagv(&f);
       },
       0},
      {"v, true",
       [] {
         const GLboolean f = GL_TRUE;
         glEdgeFlagv(&f);
       },
       __GL_HAS_EDGEFLAG_BOUNDARY},
      {"v, 0x80",
       [] {
         const GLboolean f = 0x80;
         glEdgeFlagv(&f);
       },
       __GL_HAS_EDGEFLAG_BOUNDARY},
  };
  for (const auto &c : kCases) {
    SCOPED_TRACE(c.what);
    gc->state.current.edgeFlag = 0x5555;
    c.call();
    EXPECT_EQ(gc->state.current.edgeFlag, c.want);
  }
}

}  // namespace
}  // namespace vertex_test
