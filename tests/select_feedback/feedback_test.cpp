// Feedback through the API: records of every primitive and vertex type
// against a layout built from what the application gave, the buffer cut at
// every value, the entries' errors, and the raster-position records.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "geometry/s_feedback.h"
#include "raster/s_shader.h"
#include "tests/select_feedback/sf_fixture.h"

namespace sf_test {
namespace {

// A vertex as the application gives it.
struct In {
  GLfloat x, y, z;
  GLfloat color[4];
  GLfloat index;
  GLfloat tex[4];
  bool edge = true;
};

const In kRed = {10, 10, 0.5f, {1, 0, 0, 1}, 3, {0.125f, 0.25f, 0.375f, 1}};
const In kGreen = {30, 10, 0, {0, 1, 0, 0.5f}, 7, {0.5f, 0.75f, 0, 2}};
const In kBlue = {30, 30, -0.5f, {0, 0, 1, 1}, 11, {1, 0, 0.5f, 1}};
const In kGrey = {10, 30, -1, {0.5f, 0.5f, 0.5f, 0.25f}, 12, {0, 1, 1, 1}};

// One item of an expected record: a token, or a vertex given with the
// colour of another vertex (flat shading).
struct Item {
  GLfloat token;
  int vertex = -1;
  int colorOf = -1;
};
Item T(GLfloat token) { return {token}; }
Item Vx(int v, int colorOf = -1) { return {0, v, colorOf < 0 ? v : colorOf}; }

// The values a vertex gives in the feedback type: window x and y are object
// x and y, window z in [0, 1], clip w 1.
void AppendVertex(std::vector<GLfloat> &out, GLenum type, bool rgba, const In &v, const In &c) {
  out.push_back(v.x);
  out.push_back(v.y);
  if (type == GL_2D) return;
  out.push_back(GLfloat(SelectFeedbackTest::WindowZ(v.z)));
  if (type == GL_4D_COLOR_TEXTURE) out.push_back(1.0f);
  if (type == GL_3D) return;
  if (rgba)
    out.insert(out.end(), c.color, c.color + 4);
  else
    out.push_back(c.index);
  if (type == GL_3D_COLOR) return;
  out.insert(out.end(), v.tex, v.tex + 4);
}

std::vector<GLfloat> Layout(GLenum type, bool rgba, const std::vector<In> &vertices,
                            const std::vector<Item> &items) {
  std::vector<GLfloat> out;
  for (const Item &item : items) {
    if (item.vertex < 0)
      out.push_back(item.token);
    else
      AppendVertex(out, type, rgba, vertices[item.vertex], vertices[item.colorOf]);
  }
  return out;
}

void ExpectValues(const std::vector<GLfloat> &got, const std::vector<GLfloat> &want,
                  const std::string &label) {
  ASSERT_EQ(got.size(), want.size()) << label;
  for (size_t i = 0; i < want.size(); ++i)
    EXPECT_NEAR(got[i], want[i], 1e-5 * std::fmax(1.0, std::fabs(want[i])))
        << label << ", value " << i;
}

void Give(const In &v, bool rgba) {
  glEdgeFlag(v.edge ? GL_TRUE : GL_FALSE);
  if (rgba)
    glColor4f(v.color[0], v.color[1], v.color[2], v.color[3]);
  else
    glIndexf(v.index);
  glTexCoord4f(v.tex[0], v.tex[1], v.tex[2], v.tex[3]);
  glVertex3f(v.x, v.y, v.z);
}

class Feedback : public SelectFeedbackTest {
 protected:
  // Draws the primitive in GL_FEEDBACK mode; the values written.
  std::vector<GLfloat> Draw(GLenum type, GLenum primitive, const std::vector<In> &vertices,
                            bool rgba = true) {
    std::vector<GLfloat> buffer(256, -12345.0f);
    glFeedbackBuffer(GLsizei(buffer.size()), type, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glBegin(primitive);
    for (const In &v : vertices) Give(v, rgba);
    glEnd();
    const GLint written = glRenderMode(GL_RENDER);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_GE(written, 0);
    buffer.resize(written < 0 ? 0 : size_t(written));
    return buffer;
  }
};

constexpr GLfloat kPass = GL_PASS_THROUGH_TOKEN, kPoint = GL_POINT_TOKEN,
                  kLine = GL_LINE_TOKEN, kPolygon = GL_POLYGON_TOKEN,
                  kReset = GL_LINE_RESET_TOKEN;

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

TEST_F(Feedback, RecordsOfEveryPrimitive) {
  for (bool rgba : {true, false}) {
    UseContext(rgba, 16);
    for (const Scene &s : kScenes) {
      glShadeModel(s.shade);
      glPolygonMode(GL_FRONT_AND_BACK, s.polygonMode);
      if (s.backMode) glPolygonMode(GL_BACK, s.backMode);
      ExpectValues(Draw(s.type, s.primitive, s.vertices, rgba),
                   Layout(s.type, rgba, s.vertices, s.items),
                   std::string(s.name) + (rgba ? ", rgba" : ", index"));
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

// glPassThrough, a point and a line: 13 values in GL_3D.
void PassPointLine(GLfloat *buffer, GLsizei size) {
  glFeedbackBuffer(size, GL_3D, buffer);
  glRenderMode(GL_FEEDBACK);
  glPassThrough(7.0f);
  glBegin(GL_POINTS);
  Give(kRed, true);
  glEnd();
  glBegin(GL_LINES);
  Give(kGreen, true);
  Give(kBlue, true);
  glEnd();
}

TEST_F(Feedback, AFullBufferKeepsWhatFit) {
  const std::vector<In> v = {kRed, kGreen, kBlue};
  const std::vector<GLfloat> full =
      Layout(GL_3D, true, v, {T(kPass), T(7), T(kPoint), Vx(0), T(kReset), Vx(1), Vx(2)});
  ASSERT_EQ(full.size(), 13u);
  for (size_t size = 0; size <= full.size() + 1; ++size) {
    std::vector<GLfloat> buffer(full.size() + 4, -12345.0f);
    PassPointLine(buffer.data(), GLsizei(size));
    EXPECT_EQ(glRenderMode(GL_RENDER), size >= full.size() ? GLint(full.size()) : -1) << size;
    std::vector<GLfloat> want = full;
    want.resize(std::min(size, full.size()));
    want.resize(buffer.size(), -12345.0f);
    ExpectValues(buffer, want, "size " + std::to_string(size));
  }
}

TEST_F(Feedback, PassThroughOutsideFeedbackWritesNothing) {
  GLfloat buffer[4] = {};
  glFeedbackBuffer(4, GL_2D, buffer);
  for (GLenum mode : {GLenum(GL_RENDER), GLenum(GL_SELECT)}) {
    GLuint names[4];
    glSelectBuffer(4, names);
    glRenderMode(mode);
    glPassThrough(1.0f);
    EXPECT_EQ(gc->feedback.cursor, buffer);
    glRenderMode(GL_RENDER);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}

struct BufferCall {
  GLsizei size;
  GLenum type;
  bool inFeedback;
  GLenum error;
};

const BufferCall kBufferCalls[] = {
    {4, GL_2D - 1, false, GL_INVALID_ENUM},
    {4, GL_4D_COLOR_TEXTURE + 1, false, GL_INVALID_ENUM},
    {-1, GL_4D_COLOR_TEXTURE + 1, false, GL_INVALID_ENUM},
    {-1, GL_3D, false, GL_INVALID_VALUE},
    {4, GL_3D, true, GL_INVALID_OPERATION},
    {0, GL_4D_COLOR_TEXTURE, false, GL_NO_ERROR},
};

TEST_F(Feedback, FeedbackBufferErrorsKeepTheBufferInForce) {
  for (const BufferCall &c : kBufferCalls) {
    GLfloat first[4], other[4];
    glFeedbackBuffer(4, GL_2D, first);
    if (c.inFeedback) glRenderMode(GL_FEEDBACK);
    glFeedbackBuffer(c.size, c.type, other);
    EXPECT_EQ(glGetError(), c.error) << c.size << " " << c.type;
    const bool taken = c.error == GL_NO_ERROR;
    EXPECT_EQ(gc->feedback.buffer, taken ? other : first) << c.size << " " << c.type;
    EXPECT_EQ(gc->feedback.type, taken ? c.type : GLenum(GL_2D));
    glRenderMode(GL_RENDER);
  }
}

// A buffer given as null with a size: entering reports the error and the
// mode stands; records then write nowhere.
TEST_F(Feedback, WithoutABufferNothingIsWritten) {
  glFeedbackBuffer(64, GL_3D, nullptr);
  glRenderMode(GL_FEEDBACK);
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
  glPassThrough(1.0f);
  glBegin(GL_TRIANGLES);
  Give(kRed, true);
  Give(kGreen, true);
  Give(kBlue, true);
  glEnd();
  EXPECT_EQ(glRenderMode(GL_RENDER), -1);
}

using EntryCall = void (*)();
struct InsideBegin {
  const char *name;
  EntryCall call;
};

GLfloat gValues[4];
GLuint gNames[4];
const InsideBegin kInsideBegin[] = {
    {"glFeedbackBuffer", [] { glFeedbackBuffer(4, GL_2D, gValues); }},
    {"glPassThrough", [] { glPassThrough(1.0f); }},
    {"glSelectBuffer", [] { glSelectBuffer(4, gNames); }},
    {"glInitNames", [] { glInitNames(); }},
    {"glLoadName", [] { glLoadName(1); }},
    {"glPushName", [] { glPushName(1); }},
    {"glPopName", [] { glPopName(); }},
};

TEST_F(Feedback, SelectionAndFeedbackEntriesAreRefusedInsideBegin) {
  GLuint names[4];
  glSelectBuffer(4, names);
  GLfloat values[4];
  glFeedbackBuffer(4, GL_2D, values);
  for (GLenum mode : {GLenum(GL_RENDER), GLenum(GL_SELECT), GLenum(GL_FEEDBACK)}) {
    for (const InsideBegin &c : kInsideBegin) {
      glRenderMode(mode);
      if (mode == GL_SELECT) glPushName(3);
      glBegin(GL_POINTS);
      c.call();
      glEnd();
      EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION)) << c.name << " " << mode;
      EXPECT_EQ(gc->feedback.buffer, values) << c.name;
      EXPECT_EQ(gc->select.buffer, names) << c.name;
      if (mode == GL_SELECT) {
        EXPECT_EQ(gc->select.sp - gc->select.stack, 1) << c.name;
      } else if (mode == GL_FEEDBACK) {
        EXPECT_EQ(gc->feedback.cursor, values) << c.name;
      }
      glRenderMode(GL_RENDER);
    }
  }
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
