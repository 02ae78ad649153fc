// glDrawArrays and glDrawElements against glBegin / glArrayElement / glEnd
// through primitive assembly: the same render stream for every mode and
// count, element lists, locked ranges, the cull-vertex test and clipping.
#include <gtest/gtest.h>

#include <math.h>

#include <algorithm>
#include <functional>

#include <string>
#include <vector>

#include "geometry/s_varray.h"
#include "tests/geometry/varray/prim_stream.h"
#include "tests/geometry/varray/varray_fixture.h"

namespace varray_test {
namespace {

using prim_stream::Call;

constexpr int kVertices = 110;

const char *const kModeNames[] = {"points",    "lines",         "line loop",
                                  "line strip", "triangles",    "triangle strip",
                                  "triangle fan", "quads",      "quad strip",
                                  "polygon"};

int gTransforms;
GlXformProc gRealXf4;
void CountingXf4(GlCoord *out, const GLfloat *in, const GlMatrix *m) {
  ++gTransforms;
  gRealXf4(out, in, m);
}

class DrawStream : public VarrayTest {
 protected:
  std::vector<GLfloat> positions = std::vector<GLfloat>(4 * kVertices);
  std::vector<GLubyte> colors = std::vector<GLubyte>(4 * kVertices);
  std::vector<GLfloat> normals = std::vector<GLfloat>(3 * kVertices);

  // A ring of vertices (convex for every polygon drawn from consecutive
  // ones), `scale` 1.5 putting some outside the frustum.
  void Scene(GLfloat scale = 0.8f) {
    for (int i = 0; i < kVertices; ++i) {
      const double a = 2 * M_PI * i / 101.0;
      positions[size_t(4 * i)] = GLfloat(cos(a)) * scale;
      positions[size_t(4 * i + 1)] = GLfloat(sin(a)) * scale * (i % 3 == 1 ? 0.5f : 1.0f);
      positions[size_t(4 * i + 2)] = prim_stream::ZOf(i);
      positions[size_t(4 * i + 3)] = 1.0f;
      for (int k = 0; k < 4; ++k) colors[size_t(4 * i + k)] = GLubyte(i * 7 + k * 50);
      normals[size_t(3 * i)] = GLfloat(cos(a));
      normals[size_t(3 * i + 1)] = GLfloat(sin(a));
      normals[size_t(3 * i + 2)] = i % 4 == 0 ? -0.5f : 0.5f;
    }
    glVertexPointer(4, GL_FLOAT, 0, positions.data());
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, colors.data());
    glNormalPointer(GL_FLOAT, 0, normals.data());
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  }

  void Ready() {
    ValidatePending();
    prim_stream::Install(gc);
    gRealXf4 = gc->transform.modelView->mvp.xf4;
    gc->transform.modelView->mvp.xf4 = CountingXf4;
    prim_stream::Take();
  }

  std::vector<Call> Immediate(GLenum mode, const std::vector<GLint> &elements) {
    glBegin(mode);
    for (GLint e : elements) glArrayElement(e);
    glEnd();
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    return prim_stream::Take();
  }

  static std::vector<GLint> Range(GLint first, GLint count) {
    std::vector<GLint> r;
    for (GLint i = 0; i < count; ++i) r.push_back(first + i);
    return r;
  }

  void CompareArrays(GLenum mode, GLint first, GLint count) {
    SCOPED_TRACE(testing::Message() << kModeNames[mode] << " first " << first << " count "
                                    << count);
    const std::vector<Call> want = Immediate(mode, Range(first, count));
    glDrawArrays(mode, first, count);
    EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    EXPECT_TRUE(prim_stream::SameStream(want, prim_stream::Take()));
  }
};

const int kCounts[] = {0, 1, 2, 3, 4, 5, 6, 35, 36, 37, 38, 70, 71, 72, 73, 74, 100};

TEST_F(DrawStream, DrawArraysEqualsArrayElementsForEveryModeAndCount) {
  Scene();
  Ready();
  for (GLenum mode = GL_POINTS; mode <= GL_POLYGON; ++mode)
    for (int count : kCounts) CompareArrays(mode, 3, count);
}

TEST_F(DrawStream, ClippedPrimitivesGoToTheSameClippers) {
  Scene(1.5f);
  Ready();
  // A clipped polygon the immediate path clips whole, the array path
  // triangle by triangle: those two compare in pixels, not here.
  for (GLenum mode = GL_POINTS; mode < GL_POLYGON; ++mode)
    for (int count : kCounts) CompareArrays(mode, 0, count);
}

TEST_F(DrawStream, DrawElementsOfEachIndexTypeEqualsArrayElements) {
  Scene();
  Ready();
  std::vector<GLint> order;
  for (int i = 0; i < 100; ++i) order.push_back((i * 37 + 5) % 101);
  for (GLenum mode = GL_POINTS; mode <= GL_POLYGON; ++mode) {
    for (int count : {3, 6, 38, 74, 100}) {
      SCOPED_TRACE(testing::Message() << kModeNames[mode] << " count " << count);
      const std::vector<GLint> list(order.begin(), order.begin() + count);
      const std::vector<Call> want = Immediate(mode, list);
      std::vector<GLubyte> bytes(list.begin(), list.end());
      std::vector<GLushort> shorts(list.begin(), list.end());
      std::vector<GLuint> ints(list.begin(), list.end());
      if (count <= 100 && *std::max_element(list.begin(), list.end()) < 256) {
        glDrawElements(mode, count, GL_UNSIGNED_BYTE, bytes.data());
        EXPECT_TRUE(prim_stream::SameStream(want, prim_stream::Take())) << "bytes";
      }
      glDrawElements(mode, count, GL_UNSIGNED_SHORT, shorts.data());
      EXPECT_TRUE(prim_stream::SameStream(want, prim_stream::Take())) << "shorts";
      glDrawElements(mode, count, GL_UNSIGNED_INT, ints.data());
      EXPECT_TRUE(prim_stream::SameStream(want, prim_stream::Take())) << "ints";
      EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
    }
  }
}

TEST_F(DrawStream, LockedRangesCompileOnceAndDrawTheSame) {
  Scene();
  glLockArraysVLX(0, 100);
  Ready();
  for (GLenum mode = GL_POINTS; mode <= GL_POLYGON; ++mode) {
    SCOPED_TRACE(kModeNames[mode]);
    const std::vector<Call> want = Immediate(mode, Range(30, 40));
    gTransforms = 0;
    glDrawArrays(mode, 30, 40);
    EXPECT_TRUE(prim_stream::SameStream(want, prim_stream::Take()));
    EXPECT_EQ(gTransforms, mode == GL_POINTS ? 100 : 0) << "the range compiles at the first draw";
    gTransforms = 0;
    glDrawArrays(mode, 30, 40);
    EXPECT_TRUE(prim_stream::SameStream(want, prim_stream::Take()));
    EXPECT_EQ(gTransforms, 0);
  }
  glUnlockArraysVLX();
}

TEST_F(DrawStream, LockedDrawsPartlyOutsideTheRangeTakeTheBatchedWalk) {
  Scene();
  glLockArraysVLX(20, 30);
  Ready();
  for (GLenum mode = GL_POINTS; mode <= GL_POLYGON; ++mode) {
    SCOPED_TRACE(kModeNames[mode]);
    CompareArrays(mode, 10, 45);     // before and beyond the range
    CompareArrays(mode, 25, 20);     // inside: compiled again after the walk above
    const std::vector<Call> want = Immediate(mode, {49, 50, 21, 22});
    const GLuint list[] = {49, 50, 21, 22};
    glDrawElements(mode, 4, GL_UNSIGNED_INT, list);
    EXPECT_TRUE(prim_stream::SameStream(want, prim_stream::Take()));
  }
}

TEST_F(DrawStream, ALinePolygonShowsEveryEdgeInOneStippleRun) {
  Scene();
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  Ready();
  const std::vector<Call> want = Immediate(GL_POLYGON, Range(0, 50));
  glDrawArrays(GL_POLYGON, 0, 50);
  const std::vector<Call> got = prim_stream::Take();
  EXPECT_TRUE(prim_stream::SameStream(want, got, true));
  int edges = 0, restarts = 0;
  for (const Call &c : got) {
    for (const GlVertex &v : c.vertices) edges += (v.has & __GL_HAS_EDGEFLAG_BOUNDARY) != 0;
    restarts += c.stippleStarted == 0;
  }
  EXPECT_EQ(edges, 50);
  EXPECT_EQ(restarts, 1);
}

TEST_F(DrawStream, CulledPrimitivesAreLeftOutAndSilhouettesRecompiled) {
  Scene(1.2f);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnable(GL_CULL_VERTEX_VLX);
  glCullFace(GL_BACK);
  Ready();
  GlVertexArrayMachine &va = gc->vertexArray;
  ASSERT_TRUE(va.flags & __GL_VARRAY_CULL_VERTEX);
  // Which vertices the test culls, computed here from the cull point.
  const GlCoord p = gc->transform.cullPoint;
  const bool position = va.flags & __GL_VARRAY_CULL_POSITION;
  auto culled = [&](int id) {
    const GLfloat *v = &positions[size_t(4 * id)], *n = &normals[size_t(3 * id)];
    const GLfloat d = position ? (p.y - v[1]) * n[1] + (p.z - v[2]) * n[2] + (p.x - v[0]) * n[0]
                               : n[1] * p.y + n[2] * p.z + p.x * n[0];
    return !(d > 0.0f);
  };
  for (GLenum mode : {GL_POINTS, GL_LINES, GL_LINE_LOOP, GL_LINE_STRIP, GL_TRIANGLES,
                     GL_TRIANGLE_STRIP, GL_TRIANGLE_FAN}) {
    for (int count : {6, 38, 74}) {
      SCOPED_TRACE(testing::Message() << kModeNames[mode] << " count " << count);
      std::vector<Call> want;
      for (const Call &c : Immediate(mode, Range(0, count))) {
        bool all = true;
        for (const GlVertex &v : c.vertices) all = all && culled(prim_stream::IdOf(&v));
        if (!all) want.push_back(c);
      }
      glDrawArrays(mode, 0, count);
      std::vector<Call> got = prim_stream::Take();
      // The cull bit the array path adds is its own; the rest must agree.
      for (Call &c : got)
        for (GlVertex &v : c.vertices) {
          EXPECT_EQ(bool(v.has & __GL_HAS_CULLED), culled(prim_stream::IdOf(&v)));
          v.has &= ~__GL_HAS_CULLED;
        }
      // A primitive with a culled vertex goes to the clipper after its
      // silhouette vertices are compiled; with no clip code it is the
      // immediate path's plain line or triangle.
      for (Call &c : got) {
        if (c.orCodes == __GL_HAS_CULLED) {
          if (c.kind == "clipTriangle") c.kind = "triangle";
          if (c.kind == "clipLine") c.kind = "line";
        }
        c.orCodes &= ~__GL_HAS_CULLED;
      }
      EXPECT_TRUE(prim_stream::SameStream(want, got));
    }
  }
}

TEST_F(DrawStream, ArgumentErrorsValueBeforeEnum) {
  Scene();
  Ready();
  const GLuint list[] = {0, 1, 2};
  struct Case {
    const char *what;
    std::function<void()> call;
    GLenum error;
  };
  const Case cases[] = {
      {"mode 10", [] { glDrawArrays(10, 0, 3); }, GL_INVALID_ENUM},
      {"count -1", [] { glDrawArrays(GL_POINTS, 0, -1); }, GL_INVALID_VALUE},
      {"first -1", [] { glDrawArrays(GL_POINTS, -1, 3); }, GL_INVALID_VALUE},
      {"both", [] { glDrawArrays(10, 0, -1); }, GL_INVALID_VALUE},
      {"EXT mode", [] { glDrawArraysEXT(11, 0, 3); }, GL_INVALID_ENUM},
      {"elements mode", [&] { glDrawElements(10, 3, GL_UNSIGNED_INT, list); }, GL_INVALID_ENUM},
      {"elements count", [&] { glDrawElements(10, -1, GL_UNSIGNED_INT, list); },
       GL_INVALID_VALUE},
      {"elements type", [&] { glDrawElements(GL_POINTS, 3, GL_INT, list); }, GL_INVALID_ENUM},
      {"elements empty", [&] { glDrawElements(GL_POINTS, 0, GL_UNSIGNED_BYTE, list); },
       GL_NO_ERROR},
  };
  for (const Case &c : cases) {
    c.call();
    EXPECT_EQ(TakeError(), c.error) << c.what;
    EXPECT_TRUE(prim_stream::Take().empty()) << c.what;
  }
}

std::vector<std::string> gCompiled;
void GLENTRY RecBegin(GLenum mode) { gCompiled.push_back("begin " + std::to_string(mode)); }
void GLENTRY RecEnd() { gCompiled.push_back("end"); }
void GLENTRY RecColor(const GLubyte *c) { gCompiled.push_back("color " + std::to_string(c[0])); }
void GLENTRY RecVertex(const GLfloat *v) {
  gCompiled.push_back("vertex " + std::to_string(lroundf(v[2] * 1024.0f)));
}

// Until display lists exist, the list forms are seen through the calls
// they make through the dispatch in force.
TEST_F(DrawStream, ListFormsIssueTheCallsTheyStandFor) {
  Scene();
  ValidatePending();
  GlDispatchState &d = gc->dispatch;
  d.Begin = RecBegin;
  d.End = RecEnd;
  d.Color4ubv = RecColor;
  d.Vertex4fv = RecVertex;
  const GlDispatchState &lc = gc->listCompDispatch;
  auto color = [&](int id) { return "color " + std::to_string(colors[size_t(4 * id)]); };
  auto vertex = [](int id) { return "vertex " + std::to_string(id); };
  lc.DrawArrays(GL_TRIANGLES, 2, 3);
  EXPECT_EQ(gCompiled, (std::vector<std::string>{"begin 4", color(2), vertex(2), color(3),
                                                 vertex(3), color(4), vertex(4), "end"}));
  gCompiled.clear();
  lc.DrawArraysEXT(GL_POINTS, 5, 0);
  EXPECT_EQ(gCompiled, (std::vector<std::string>{"begin 0", "end"}));
  gCompiled.clear();
  const GLushort shorts[] = {7, 1};
  lc.DrawElements(GL_LINES, 2, GL_UNSIGNED_SHORT, shorts);
  EXPECT_EQ(gCompiled, (std::vector<std::string>{"begin 1", color(7), vertex(7), color(1),
                                                 vertex(1), "end"}));
  gCompiled.clear();
  lc.DrawArrays(10, 0, 3);
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_ENUM));
  lc.DrawElements(GL_LINES, -2, GL_UNSIGNED_SHORT, shorts);
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_VALUE));
  lc.DrawElements(GL_LINES, 2, GL_FLOAT, shorts);
  EXPECT_EQ(TakeError(), GLenum(GL_INVALID_ENUM));
  EXPECT_TRUE(gCompiled.empty());
}

}  // namespace
}  // namespace varray_test
