// Feedback records through the API: every primitive and vertex type against
// a layout built from what the application gave, and the raster-position
// records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "geometry/s_feedback.h"
#include "raster/s_shader.h"
#include "tests/geometry/select_feedback/feedback_layout.h"

namespace sf_test {
namespace {

TEST(FeedbackTokens, AreTheValuesApplicationsRead) {
  EXPECT_EQ(kPass, 1792.0f);
  EXPECT_EQ(kPoint, 1793.0f);
  EXPECT_EQ(kLine, 1794.0f);
  EXPECT_EQ(kPolygon, 1795.0f);
  EXPECT_EQ(GLfloat(GL_BITMAP_TOKEN), 1796.0f);
  EXPECT_EQ(GLfloat(GL_DRAW_PIXEL_TOKEN), 1797.0f);
  EXPECT_EQ(GLfloat(GL_COPY_PIXEL_TOKEN), 1798.0f);
  EXPECT_EQ(kReset, 1799.0f);
}

const GLenum kTypes[] = {GL_2D, GL_3D, GL_3D_COLOR, GL_3D_COLOR_TEXTURE, GL_4D_COLOR_TEXTURE};

TEST_F(Feedback, APointInEveryTypeAndColourMode) {
  for (bool rgba : {true, false}) {
    UseContext(rgba, 16);
    for (GLenum type : kTypes) {
      const std::vector<In> v = {kGreen};
      ExpectValues(Draw(type, GL_POINTS, v, rgba), Layout(type, rgba, v, {T(kPoint), Vx(0)}),
                   std::string(rgba ? "rgba " : "index ") + std::to_string(type));
    }
  }
}

struct Scene {
  const char *name;
  GLenum type;
  GLenum shade;
  GLenum polygonMode;
  GLenum primitive;
  std::vector<In> vertices;
  std::vector<Item> items;
  GLenum backMode = 0;  // the back faces' polygon mode when it differs
};

In NoEdge(In v) {
  v.edge = false;
  return v;
}

const Scene kScenes[] = {
    {"line strip, smooth", GL_3D_COLOR, GL_SMOOTH, GL_FILL, GL_LINE_STRIP,
     {kRed, kGreen, kBlue},
     {T(kReset), Vx(0), Vx(1), T(kLine), Vx(1), Vx(2)}},
    {"line strip, flat: the second vertex colours a segment", GL_3D_COLOR, GL_FLAT, GL_FILL,
     GL_LINE_STRIP, {kRed, kGreen, kBlue},
     {T(kReset), Vx(0, 1), Vx(1), T(kLine), Vx(1, 2), Vx(2)}},
    {"independent lines restart each", GL_3D, GL_SMOOTH, GL_FILL, GL_LINES,
     {kRed, kGreen, kBlue, kGrey},
     {T(kReset), Vx(0), Vx(1), T(kReset), Vx(2), Vx(3)}},
    {"line loop closes to the first vertex", GL_2D, GL_SMOOTH, GL_FILL, GL_LINE_LOOP,
     {kRed, kGreen, kBlue},
     {T(kReset), Vx(0), Vx(1), T(kLine), Vx(1), Vx(2), T(kLine), Vx(2), Vx(0)}},
    {"triangle, newest vertex first", GL_3D_COLOR_TEXTURE, GL_SMOOTH, GL_FILL, GL_TRIANGLES,
     {kRed, kGreen, kBlue},
     {T(kPolygon), T(3), Vx(2), Vx(0), Vx(1)}},
    {"flat triangle takes the last vertex's colour", GL_3D_COLOR, GL_FLAT, GL_FILL, GL_TRIANGLES,
     {kRed, kGreen, kBlue},
     {T(kPolygon), T(3), Vx(2, 2), Vx(0, 2), Vx(1, 2)}},
    {"quad as two triangles of three", GL_4D_COLOR_TEXTURE, GL_SMOOTH, GL_FILL, GL_QUADS,
     {kRed, kGreen, kBlue, kGrey},
     {T(kPolygon), T(3), Vx(3), Vx(0), Vx(1), T(kPolygon), T(3), Vx(3), Vx(1), Vx(2)}},
    {"triangle outline", GL_3D, GL_SMOOTH, GL_LINE, GL_TRIANGLES, {kRed, kGreen, kBlue},
     {T(kReset), Vx(2), Vx(0), T(kLine), Vx(0), Vx(1), T(kLine), Vx(1), Vx(2)}},
    {"triangle outline without the edge from the first vertex", GL_2D, GL_SMOOTH, GL_LINE,
     GL_TRIANGLES, {NoEdge(kRed), kGreen, kBlue},
     {T(kReset), Vx(2), Vx(0), T(kLine), Vx(1), Vx(2)}},
    {"quad outline hides the diagonal", GL_2D, GL_SMOOTH, GL_LINE, GL_QUADS,
     {kRed, kGreen, kBlue, kGrey},
     {T(kReset), Vx(3), Vx(0), T(kLine), Vx(0), Vx(1), T(kLine), Vx(1), Vx(2), T(kLine), Vx(2),
      Vx(3)}},
    {"quad outline with a hidden edge", GL_2D, GL_SMOOTH, GL_LINE, GL_QUADS,
     {kRed, NoEdge(kGreen), kBlue, kGrey},
     {T(kReset), Vx(3), Vx(0), T(kLine), Vx(0), Vx(1), T(kLine), Vx(2), Vx(3)}},
    {"flat quad outline", GL_3D_COLOR, GL_FLAT, GL_LINE, GL_QUADS, {kRed, kGreen, kBlue, kGrey},
     {T(kReset), Vx(3, 3), Vx(0, 3), T(kLine), Vx(0, 3), Vx(1, 3), T(kLine), Vx(1, 3), Vx(2, 3),
      T(kLine), Vx(2, 3), Vx(3, 3)}},
    {"quad corners", GL_2D, GL_SMOOTH, GL_POINT, GL_QUADS, {kRed, kGreen, kBlue, kGrey},
     {T(kPoint), Vx(3), T(kPoint), Vx(0), T(kPoint), Vx(1), T(kPoint), Vx(2)}},
    {"triangle corners without an edge flag", GL_3D_COLOR, GL_SMOOTH, GL_POINT, GL_TRIANGLES,
     {kRed, NoEdge(kGreen), kBlue},
     {T(kPoint), Vx(2), T(kPoint), Vx(0)}},
    {"polygon as a fan from its first vertex", GL_3D, GL_SMOOTH, GL_FILL, GL_POLYGON,
     {kRed, kGreen, kBlue, kGrey},
     {T(kPolygon), T(3), Vx(0), Vx(1), Vx(2), T(kPolygon), T(3), Vx(0), Vx(2), Vx(3)}},
    {"flat polygon takes the first vertex's colour", GL_3D_COLOR, GL_FLAT, GL_FILL, GL_POLYGON,
     {kRed, kGreen, kBlue, kGrey},
     {T(kPolygon), T(3), Vx(0, 0), Vx(1, 0), Vx(2, 0), T(kPolygon), T(3), Vx(0, 0), Vx(2, 0),
      Vx(3, 0)}},
    {"polygon outline hides the fan's diagonals and restarts once", GL_2D, GL_SMOOTH, GL_LINE,
     GL_POLYGON, {kRed, kGreen, kBlue, kGrey},
     {T(kReset), Vx(0), Vx(1), T(kLine), Vx(1), Vx(2), T(kLine), Vx(2), Vx(3), T(kLine), Vx(3),
      Vx(0)}},
    {"polygon outline with a hidden edge", GL_2D, GL_SMOOTH, GL_LINE, GL_POLYGON,
     {kRed, NoEdge(kGreen), kBlue, kGrey},
     {T(kReset), Vx(0), Vx(1), T(kLine), Vx(2), Vx(3), T(kLine), Vx(3), Vx(0)}},
    {"triangle strip, newest vertex first", GL_3D, GL_SMOOTH, GL_FILL, GL_TRIANGLE_STRIP,
     {kRed, kGreen, kBlue, kGrey},
     {T(kPolygon), T(3), Vx(2), Vx(0), Vx(1), T(kPolygon), T(3), Vx(3), Vx(2), Vx(1)}},
    {"flat triangle strip: each triangle takes its newest vertex's colour", GL_3D_COLOR, GL_FLAT,
     GL_FILL, GL_TRIANGLE_STRIP, {kRed, kGreen, kBlue, kGrey},
     {T(kPolygon), T(3), Vx(2, 2), Vx(0, 2), Vx(1, 2), T(kPolygon), T(3), Vx(3, 3), Vx(2, 3),
      Vx(1, 3)}},
    {"triangle fan around its first vertex", GL_3D, GL_SMOOTH, GL_FILL, GL_TRIANGLE_FAN,
     {kRed, kGreen, kBlue, kGrey},
     {T(kPolygon), T(3), Vx(2), Vx(0), Vx(1), T(kPolygon), T(3), Vx(3), Vx(0), Vx(2)}},
    {"quad strip as two triangles", GL_3D, GL_SMOOTH, GL_FILL, GL_QUAD_STRIP,
     {kRed, kGreen, kBlue, kGrey},
     {T(kPolygon), T(3), Vx(2), Vx(0), Vx(1), T(kPolygon), T(3), Vx(2), Vx(1), Vx(3)}},
    {"quad strip outline hides the diagonal", GL_2D, GL_SMOOTH, GL_LINE, GL_QUAD_STRIP,
     {kRed, kGreen, kBlue, kGrey},
     {T(kReset), Vx(2), Vx(0), T(kLine), Vx(0), Vx(1), T(kLine), Vx(1), Vx(3), T(kLine), Vx(3),
      Vx(2)}},
    {"a front face filled while back faces are points", GL_2D, GL_SMOOTH, GL_FILL, GL_TRIANGLES,
     {kRed, kGreen, kBlue},
     {T(kPolygon), T(3), Vx(2), Vx(0), Vx(1)},
     GL_POINT},
    {"a back face as points while front faces are filled", GL_2D, GL_SMOOTH, GL_FILL,
     GL_TRIANGLES, {kRed, kGrey, kGreen},
     {T(kPoint), Vx(2), T(kPoint), Vx(0), T(kPoint), Vx(1)},
     GL_POINT},
};

// The scenes give the immediate road's order. The cache may start a polygon
// at another vertex: its filled records are compared up to rotation, and an
// outline or the corners of a polygon as the same records in any order.
TEST_F(Feedback, RecordsOfEveryPrimitive) {
  for (bool cache : {false, true}) {
    for (bool rgba : {true, false}) {
      UseContext(rgba, 16);
      SetVertexCache(cache);
      for (const Scene &s : kScenes) {
        glShadeModel(s.shade);
        glPolygonMode(GL_FRONT_AND_BACK, s.polygonMode);
        if (s.backMode) glPolygonMode(GL_BACK, s.backMode);
        const std::vector<GLfloat> want = Layout(s.type, rgba, s.vertices, s.items);
        std::vector<GLfloat> got = Draw(s.type, s.primitive, s.vertices, rgba);
        const std::string label =
            std::string(s.name) + (rgba ? ", rgba" : ", index") + (cache ? ", cached" : "");
        const bool outline = s.primitive >= GL_TRIANGLES && !want.empty() && want[0] != kPolygon;
        if (!cache) {
          ExpectValues(got, want, label);
        } else if (outline) {
          ExpectSameRecords(got, want, s.type, rgba, label);
        } else {
          ExpectValues(PolygonsTurnedLike(got, want, s.type, rgba), want, label);
        }
      }
    }
  }
}

TEST_F(Feedback, CulledTrianglesWriteNothing) {
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  const std::vector<In> clockwise = {kRed, kGrey, kGreen};
  EXPECT_TRUE(Draw(GL_2D, GL_TRIANGLES, clockwise).empty());
  glCullFace(GL_FRONT);
  EXPECT_EQ(Draw(GL_2D, GL_TRIANGLES, clockwise).size(), 8u);
}

// The raster operations' records, called directly: the raster position's
// texture coordinates are written as stored, while a pipeline vertex kept
// divided by w is multiplied back.
struct RasterRecord {
  const char *name;
  void (*write)(GlContext *gc, GlVertex *v);
  GLfloat token;
  bool divided;
  GLfloat tex[4];
};

void PointRecord(GlContext *gc, GlVertex *v) { __glFeedbackPoint(gc, v); }

const RasterRecord kRasterRecords[] = {
    {"bitmap", __glFeedbackBitmap, GL_BITMAP_TOKEN, false, {0.5f, 0.25f, 0.75f, 2}},
    {"bitmap, divided", __glFeedbackBitmap, GL_BITMAP_TOKEN, true, {0.5f, 0.25f, 0.75f, 2}},
    {"draw pixels, divided", __glFeedbackDrawPixels, GL_DRAW_PIXEL_TOKEN, true,
     {0.5f, 0.25f, 0.75f, 2}},
    {"copy pixels, divided", __glFeedbackCopyPixels, GL_COPY_PIXEL_TOKEN, true,
     {0.5f, 0.25f, 0.75f, 2}},
    {"point", PointRecord, GL_POINT_TOKEN, false, {0.5f, 0.25f, 0.75f, 2}},
    {"point, divided", PointRecord, GL_POINT_TOKEN, true, {1.5f, 0.75f, 0.75f, 6}},
};

TEST_F(Feedback, RasterPositionRecordsWriteTextureAsStored) {
  ValidatePending();
  for (bool rgba : {true, false}) {
    UseContext(rgba, 24);
    ValidatePending();
    const GlConstants &k = gc->constants;
    for (const RasterRecord &c : kRasterRecords) {
      std::vector<GLfloat> buffer(32, -12345.0f);
      glFeedbackBuffer(32, GL_4D_COLOR_TEXTURE, buffer.data());
      glRenderMode(GL_FEEDBACK);
      ValidatePending();
      if (c.divided)
        gc->polygon.shader.modeFlags |= __GL_SHADE_TEX_DIVIDED;
      else
        gc->polygon.shader.modeFlags &= ~__GL_SHADE_TEX_DIVIDED;
      GlVertex v{};
      v.has = __GL_HAS_SIZE4 | __GL_HAS_TEXTURE | __GL_HAS_FRONT_COLOR;
      v.window = {12 + k.fviewportXAdjust, 34 + k.fviewportYAdjust, 0.25f * k.depthScale, 0.5f};
      v.clip.w = 3;
      v.colors[0] = {0.5f * k.redScale, 0.25f * k.greenScale, 0.75f * k.blueScale, k.alphaScale};
      if (!rgba) v.colors[0].r = 9;
      v.color = &v.colors[0];
      v.texture = {0.5f, 0.25f, 0.75f, 2};
      c.write(gc, &v);
      const GLint written = glRenderMode(GL_RENDER);
      std::vector<GLfloat> want = {c.token, 12, 34, 0.25f, 3};
      if (rgba)
        want.insert(want.end(), {0.5f, 0.25f, 0.75f, 1});
      else
        want.push_back(9);
      want.insert(want.end(), c.tex, c.tex + 4);
      ASSERT_GE(written, 0) << c.name;
      buffer.resize(size_t(written));
      ExpectValues(buffer, want, std::string(c.name) + (rgba ? ", rgba" : ", index"));
    }
  }
}

}  // namespace
}  // namespace sf_test
