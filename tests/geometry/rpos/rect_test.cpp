// glRect: a GL_POLYGON of four vertices issued through the dispatch in force
// (recorded there), reaching the polygon clipper with the winding its
// corners give; refused inside glBegin/glEnd.
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "core/gl_entries.h"
#include "tests/geometry/rpos/rpos_fixture.h"

namespace rpos_test {
namespace {

std::vector<std::string> gCalls;

std::string Text(double v) {
  char text[32];
  snprintf(text, sizeof text, "%.9g", v);
  return text;
}

// Recorders in the current dispatch table that pass the call on.
void GLENTRY RecordBegin(GLenum mode) {
  gCalls.push_back("Begin " + Text(mode));
  __glim_Begin(mode);
}
void GLENTRY RecordVertex2f(GLfloat x, GLfloat y) {
  gCalls.push_back("Vertex2f " + Text(x) + " " + Text(y));
  __glim_Vertex2f(x, y);
}
void GLENTRY RecordEnd() {
  gCalls.push_back("End");
  __glim_End();
}

// What the polygon clipper is handed: the window positions.
struct Polygon {
  std::vector<GlCoord> window;
};
std::vector<Polygon> gPolygons;
void RecordPolygon(GlContext *, GlVertex *first, int32_t count) {
  Polygon p;
  for (int32_t i = 0; i < count; ++i) p.window.push_back(first[i].window);
  gPolygons.push_back(p);
}

struct RectForm {
  const char *name;
  void (*call)(double x1, double y1, double x2, double y2);
  bool integral;
};

// Calls `entry` with the corners converted to T, one by one or as arrays.
template <typename T, typename Entry>
void Scalars(Entry entry, double x1, double y1, double x2, double y2) {
  entry(T(x1), T(y1), T(x2), T(y2));
}
template <typename T, typename Entry>
void Arrays(Entry entry, double x1, double y1, double x2, double y2) {
  const T v1[] = {T(x1), T(y1)}, v2[] = {T(x2), T(y2)};
  entry(v1, v2);
}

// The scalar and the array form of one type.
#define FORMS(suffix, T, integral)                                                  \
  {"glRect" #suffix,                                                                \
   [](double a, double b, double c, double d) { Scalars<T>(glRect##suffix, a, b, c, d); }, \
   integral},                                                                       \
  {"glRect" #suffix "v",                                                            \
   [](double a, double b, double c, double d) { Arrays<T>(glRect##suffix##v, a, b, c, d); }, \
   integral}
const RectForm kForms[] = {
    FORMS(d, GLdouble, false),
    FORMS(f, GLfloat, false),
    FORMS(i, GLint, true),
    FORMS(s, GLshort, true),
};
#undef FORMS

// Twice the signed area in window coordinates (rows upwards): positive is
// counter-clockwise.
double SignedArea(const Polygon &p) {
  double area = 0;
  const size_t n = p.window.size();
  for (size_t i = 0; i < n; ++i) {
    const GlCoord &a = p.window[i], &b = p.window[(i + 1) % n];
    area += double(a.x) * b.y - double(b.x) * a.y;
  }
  return area;
}

class RectTest : public RasterPosTest {
 protected:
  void Bound() override {
    ValidatePending();
    gCalls.clear();
    gPolygons.clear();
    // Validation puts the plain entries back: install after it.
    gc->dispatch.Begin = RecordBegin;
    gc->dispatch.Vertex2f = RecordVertex2f;
    gc->dispatch.End = RecordEnd;
    gc->procs.clipPolygon = RecordPolygon;
  }
};

struct Corners {
  const char *what;
  double x1, y1, x2, y2;
  int winding;  // sign of the area: 1 counter-clockwise, -1 clockwise, 0 none
};

const Corners kCorners[] = {
    {"x1 < x2, y1 < y2", -1, -1, 1, 1, 1},
    {"x1 > x2", 1, -1, -1, 1, -1},
    {"y1 > y2", -1, 1, 1, -1, -1},
    {"both swapped", 1, 1, -1, -1, 1},
    {"degenerate: x1 = x2", 0, -1, 0, 1, 0},
    {"fractions", 0.1, -1.0 / 3, 0.75, 0.5, 1},
};

// The four vertices in order, through the dispatch table, and the polygon
// that reaches the clipper turns as the corners say.
TEST_F(RectTest, FourVerticesThroughTheDispatchWithTheirWinding) {
  for (const RectForm &f : kForms) {
    for (const Corners &c : kCorners) {
      const bool whole = c.x1 == int(c.x1) && c.y1 == int(c.y1) && c.x2 == int(c.x2) &&
                         c.y2 == int(c.y2);
      if (f.integral && !whole) continue;
      SCOPED_TRACE(std::string(f.name) + ", " + c.what);
      gCalls.clear();
      gPolygons.clear();
      f.call(c.x1, c.y1, c.x2, c.y2);
      EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
      const std::string x1 = Text(GLfloat(c.x1)), y1 = Text(GLfloat(c.y1));
      const std::string x2 = Text(GLfloat(c.x2)), y2 = Text(GLfloat(c.y2));
      const std::vector<std::string> want = {
          "Begin " + Text(GL_POLYGON), "Vertex2f " + x1 + " " + y1, "Vertex2f " + x2 + " " + y1,
          "Vertex2f " + x2 + " " + y2, "Vertex2f " + x1 + " " + y2, "End"};
      EXPECT_EQ(gCalls, want);
      ASSERT_EQ(gPolygons.size(), 1u);
      ASSERT_EQ(gPolygons[0].window.size(), 4u);
      const double area = SignedArea(gPolygons[0]);
      EXPECT_EQ((area > 0) - (area < 0), c.winding) << area;
      // Identity matrices on the 64 x 48 window: the first corner's place.
      const GlConstants &k = gc->constants;
      EXPECT_NEAR(gPolygons[0].window[0].x, k.fviewportXAdjust + (GLfloat(c.x1) + 1) * 32, 1e-4);
      EXPECT_NEAR(gPolygons[0].window[0].y, k.fviewportYAdjust + (GLfloat(c.y1) + 1) * 24, 1e-4);
    }
  }
}

// Inside glBegin/glEnd every form is refused: nothing reaches the dispatch.
TEST_F(RectTest, RefusedInsideBegin) {
  for (const RectForm &f : kForms) {
    SCOPED_TRACE(f.name);
    gCalls.clear();
    gPolygons.clear();
    glBegin(GL_POINTS);
    f.call(-1, -1, 1, 1);
    glEnd();
    EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
    const std::vector<std::string> want = {"Begin " + Text(GL_POINTS), "End"};
    EXPECT_EQ(gCalls, want);
    EXPECT_TRUE(gPolygons.empty());
  }
}

}  // namespace
}  // namespace rpos_test
