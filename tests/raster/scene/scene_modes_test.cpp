// Polygon modes GL_LINE and GL_POINT through glBegin / glEnd: recorders in
// the line and point slots (and their trap and picked twins, so that the
// front end's traps hand on to them) take what every primitive kind hands
// on, which must be, by the OpenGL rules, per polygon and by its face's
// mode: each boundary edge once (an edge starts at a vertex whose edge flag
// is set; strips and fans ignore edge flags; the diagonals a quad or a
// polygon is split along never show), or each vertex that starts a boundary
// edge once, with the polygon's one colour when shading is flat.
#include <gtest/gtest.h>
#include <math.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/gl_api.h"
#include "geometry/s_vertex.h"
#include "tests/raster/scene/scene_builders.h"
#include "tests/raster/scene/scene_fixture.h"

namespace scene_test {
namespace {

struct ModeVertex {
  SceneVertex v;
  bool edge;
};

struct ModePrimitive {
  GLenum mode;
  std::vector<ModeVertex> v;
};

// A corner as the slots see it: GL window position on the 1/16 grid and
// colour on the 1/64 grid, as whole steps.
struct Corner {
  int64_t x, y, c[4];
  auto operator<=>(const Corner &) const = default;
};
struct Edge {
  Corner a, b;  // a <= b: the direction of an edge is not part of the rule
  auto operator<=>(const Edge &) const = default;
};
Edge MakeEdge(Corner a, Corner b) { return a <= b ? Edge{a, b} : Edge{b, a}; }

std::string Text(const Corner &c) {
  return "(" + std::to_string(c.x / 16.0) + ", " + std::to_string(c.y / 16.0) + " | " +
         std::to_string(c.c[0]) + " " + std::to_string(c.c[1]) + " " + std::to_string(c.c[2]) +
         " " + std::to_string(c.c[3]) + ")";
}

struct Recorded {
  std::vector<Edge> lines;
  std::vector<Corner> points;
};

struct ModeCase {
  std::string name;
  GLenum frontMode, backMode;
  GLenum frontFace;
  bool cull;
  GLenum cullFace;
  bool smooth;
};

// The recorders reach the test through these.
Recorded *gRecorded;
bool gInverted;
double gEpsilon, gColorScale;
bool gOffGrid;

Corner CornerOf(GlContext *gc, const GlVertex *v) {
  const double x = double(v->window.x) - gc->constants.fviewportXAdjust;
  double y = double(v->window.y) - gc->constants.fviewportYAdjust;
  if (gInverted) y = kHeight - gEpsilon - y;
  Corner c{llround(x * 16), llround(y * 16), {}};
  if (fabs(x * 16 - double(c.x)) > 1.0 / 64 || fabs(y * 16 - double(c.y)) > 1.0 / 64)
    gOffGrid = true;
  const GLfloat *color = &v->color->r;
  for (int k = 0; k < 4; k++) c.c[k] = llround(color[k] / gColorScale * 64);
  return c;
}

void RecordLine(GlContext *gc, GlVertex *a, GlVertex *b) {
  gRecorded->lines.push_back(MakeEdge(CornerOf(gc, a), CornerOf(gc, b)));
}
void RecordPoint(GlContext *gc, GlVertex *v) { gRecorded->points.push_back(CornerOf(gc, v)); }

Corner Expected(const SceneVertex &v, const SceneVertex &colour, bool rgba) {
  Corner c{llround(v.x * 16), llround(v.y * 16), {}};
  for (int k = 0; k < 4; k++) c.c[k] = rgba || k == 0 ? llround(colour.c[k] * 64) : 0;
  return c;
}

// One polygon of a primitive: vertex indexes in winding order, whether the
// edge flags count, the vertex whose colour flat shading takes.
struct GlPolygon {
  std::vector<int32_t> index;
  bool flags;
  int32_t provoking;
};

std::vector<GlPolygon> PolygonsOf(GLenum mode, int32_t n) {
  std::vector<GlPolygon> out;
  switch (mode) {
    case GL_TRIANGLES:
      for (int32_t i = 0; i + 2 < n; i += 3) out.push_back({{i, i + 1, i + 2}, true, i + 2});
      break;
    case GL_QUADS:
      for (int32_t i = 0; i + 3 < n; i += 4)
        out.push_back({{i, i + 1, i + 2, i + 3}, true, i + 3});
      break;
    case GL_QUAD_STRIP:
      for (int32_t i = 0; i + 3 < n; i += 2)
        out.push_back({{i, i + 1, i + 3, i + 2}, false, i + 3});
      break;
    case GL_POLYGON: {
      GlPolygon p{{}, true, 0};
      for (int32_t i = 0; i < n; i++) p.index.push_back(i);
      out.push_back(p);
      break;
    }
    default:  // strips and fans: every triangle a polygon of its own
      for (const TriangleIndexes &t : Decompose(mode, n))
        out.push_back({{t.a, t.b, t.c}, false, t.provoking});
      break;
  }
  return out;
}

Recorded Expect(const ModeCase &c, const ModePrimitive &p, bool rgba) {
  Recorded want;
  for (const GlPolygon &poly : PolygonsOf(p.mode, int32_t(p.v.size()))) {
    const size_t n = poly.index.size();
    double area = 0;
    for (size_t k = 0; k < n; k++) {
      const SceneVertex &a = p.v[poly.index[k]].v, &b = p.v[poly.index[(k + 1) % n]].v;
      area += a.x * b.y - b.x * a.y;
    }
    const bool front = (area > 0) == (c.frontFace == GL_CCW);
    if (c.cull && (c.cullFace == GL_FRONT_AND_BACK || (c.cullFace == GL_FRONT) == front)) continue;
    const GLenum mode = front ? c.frontMode : c.backMode;
    auto corner = [&](int32_t i) {
      return Expected(p.v[i].v, c.smooth ? p.v[i].v : p.v[poly.provoking].v, rgba);
    };
    for (size_t k = 0; k < n; k++) {
      const int32_t i = poly.index[k], j = poly.index[(k + 1) % n];
      if (poly.flags && !p.v[i].edge) continue;
      if (mode == GL_LINE) want.lines.push_back(MakeEdge(corner(i), corner(j)));
      if (mode == GL_POINT) want.points.push_back(corner(i));
    }
  }
  return want;
}

ModeVertex M(double x, double y, double r, double g, double b, bool edge = true) {
  return {V(x, y, 0.5, r, g, b, 1), edge};
}

// Every primitive kind with faces of both windings; edge flags off here
// and there in the kinds that take them; a polygon long enough to be drawn
// in several batches.
std::vector<ModePrimitive> Primitives() {
  std::vector<ModePrimitive> out;
  out.push_back({GL_TRIANGLES,
                 {M(2, 2, 1, 0, 0), M(12, 3, 0, 1, 0), M(6, 10, 0, 0, 1),
                  M(14, 2, 1, 1, 0, false), M(18, 11, 0, 1, 1), M(24, 3, 1, 0, 1),
                  M(26, 2, 0.5, 0, 0, false), M(34, 4, 0, 0.5, 0, false),
                  M(30, 11, 0, 0, 0.5, false)}});
  out.push_back({GL_TRIANGLE_STRIP,
                 {M(2, 14, 1, 0, 0, false), M(3, 22, 0, 1, 0), M(9, 14.5, 0, 0, 1),
                  M(10, 21, 1, 1, 0, false), M(16, 15, 0, 1, 1), M(17, 23, 1, 0, 1)}});
  out.push_back({GL_TRIANGLE_FAN,
                 {M(28, 18, 1, 1, 1, false), M(36, 18, 1, 0, 0), M(34, 24, 0, 1, 0),
                  M(28, 26, 0, 0, 1, false), M(22, 22, 1, 1, 0), M(37, 21.5, 0, 1, 1)}});
  out.push_back({GL_QUADS,
                 {M(40, 2, 1, 0, 0), M(48, 2.5, 0, 1, 0, false), M(47, 10, 0, 0, 1),
                  M(41, 9, 1, 1, 0), M(50, 2, 0.25, 0.5, 0.75), M(51, 10, 0.5, 0.75, 1),
                  M(58, 11, 0.75, 1, 0.25, false), M(60, 1, 1, 0.25, 0.5, false)}});
  out.push_back({GL_QUAD_STRIP,
                 {M(40, 14, 1, 0, 0, false), M(40, 22, 0, 1, 0), M(46, 13, 0, 0, 1),
                  M(47, 23, 1, 1, 0, false), M(54, 14.5, 0, 1, 1), M(53, 21, 1, 0, 1)}});
  out.push_back({GL_POLYGON,
                 {M(4, 28, 1, 0, 0), M(12, 27, 0, 1, 0, false), M(16, 34, 0, 0, 1),
                  M(10, 40, 1, 1, 0, false), M(3, 37, 0, 1, 1)}});
  out.push_back({GL_POLYGON,
                 {M(20, 28, 1, 0, 0), M(20, 40, 0, 1, 0), M(26, 41, 0, 0, 1, false),
                  M(27, 29, 1, 1, 0)}});
  ModePrimitive round{GL_POLYGON, {}};
  for (int i = 0; i < 33; i++) {
    const double angle = 2 * M_PI * i / 33;
    round.v.push_back(M(Grid(48 + 12 * cos(angle), 1.0 / 16), Grid(34 + 12 * sin(angle), 1.0 / 16),
                        (i % 8) / 8.0, (i % 5) / 4.0, (i % 3) / 2.0, i % 7 != 3 && i != 14));
  }
  out.push_back(round);
  ModePrimitive reversed = round;
  std::reverse(reversed.v.begin(), reversed.v.end());
  for (ModeVertex &v : reversed.v) v.v.x -= 30;
  out.push_back(reversed);
  return out;
}

std::vector<ModeCase> ModeCases() {
  std::vector<ModeCase> cases;
  const GLenum modes[] = {GL_POINT, GL_LINE, GL_FILL};
  for (GLenum front : modes)
    for (GLenum back : modes)
      for (bool smooth : {true, false})
        cases.push_back({std::string("front ") + (front == GL_POINT ? "points" : front == GL_LINE ? "lines" : "fill") +
                             ", back " + (back == GL_POINT ? "points" : back == GL_LINE ? "lines" : "fill") +
                             (smooth ? ", smooth" : ", flat"),
                         front, back, GL_CCW, false, GL_BACK, smooth});
  cases.push_back({"front CW: lines front, points back", GL_LINE, GL_POINT, GL_CW, false, GL_BACK, true});
  cases.push_back({"culled back faces draw no lines", GL_LINE, GL_LINE, GL_CCW, true, GL_BACK, false});
  cases.push_back({"culled front faces draw no points", GL_POINT, GL_POINT, GL_CW, true, GL_FRONT, true});
  cases.push_back({"culling both draws nothing", GL_LINE, GL_POINT, GL_CCW, true, GL_FRONT_AND_BACK, true});
  return cases;
}

template <typename T>
void ExpectSame(std::vector<T> got, std::vector<T> want, const std::string &what,
                std::string (*text)(const T &)) {
  std::sort(got.begin(), got.end());
  std::sort(want.begin(), want.end());
  if (got == want) return;
  std::vector<T> extra, missing;
  std::set_difference(got.begin(), got.end(), want.begin(), want.end(), std::back_inserter(extra));
  std::set_difference(want.begin(), want.end(), got.begin(), got.end(), std::back_inserter(missing));
  std::string out;
  for (size_t i = 0; i < extra.size() && i < 4; i++) out += "\n  extra " + text(extra[i]);
  for (size_t i = 0; i < missing.size() && i < 4; i++) out += "\n  missing " + text(missing[i]);
  ADD_FAILURE() << what << ": " << got.size() << " handed on, " << want.size() << " expected"
                << out;
}

std::string EdgeText(const Edge &e) { return Text(e.a) + " - " + Text(e.b); }
std::string CornerText(const Corner &c) { return Text(c); }

class PolygonModeTest : public SceneTest {
 protected:
  void Draw(const ModeCase &c, const ModePrimitive &p, Recorded *out) {
    glShadeModel(c.smooth ? GL_SMOOTH : GL_FLAT);
    glFrontFace(c.frontFace);
    glCullFace(c.cullFace);
    c.cull ? glEnable(GL_CULL_FACE) : glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT, c.frontMode);
    glPolygonMode(GL_BACK, c.backMode);
    Validate();
    GlProcs &procs = gc->procs;
    procs.renderLine = procs.renderLineTrap = procs.renderLinePicked = RecordLine;
    procs.renderPoint = procs.renderPointTrap = procs.renderPointPicked = RecordPoint;
    gRecorded = out;
    const double indexScale = format.rgba ? 1 : IndexRange(format);
    glBegin(p.mode);
    for (const ModeVertex &mv : p.v) {
      glEdgeFlag(GLboolean(mv.edge));
      const double c[4] = {mv.v.c[0] * indexScale, mv.v.c[1], mv.v.c[2], mv.v.c[3]};
      SendVertex(mv.v.x, mv.v.y, mv.v.z, c);
    }
    glEnd();
    gRecorded = nullptr;
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
};

const char *KindName(GLenum mode) {
  switch (mode) {
    case GL_TRIANGLES: return "triangles";
    case GL_TRIANGLE_STRIP: return "triangle strip";
    case GL_TRIANGLE_FAN: return "triangle fan";
    case GL_QUADS: return "quads";
    case GL_QUAD_STRIP: return "quad strip";
    default: return "polygon";
  }
}

TEST_F(PolygonModeTest, LineAndPointModesHandOnTheBoundary) {
  for (const ColorFormat &f : {kRgbFormats[6], kIndexFormats[0]})
    for (bool inverted : {false, true}) {
      if (!Open(f, 16, inverted)) continue;
      gInverted = inverted;
      gEpsilon = gc->constants.viewportEpsilon;
      gColorScale = f.rgba ? gc->constants.redScale : IndexRange(f);
      for (const ModeCase &c : ModeCases()) {
        std::vector<ModePrimitive> prims = Primitives();
        for (size_t i = 0; i < prims.size(); i++) {
          const std::string what = c.name + ", " + KindName(prims[i].mode) + " " +
                                   std::to_string(i) + ", " + f.name +
                                   (inverted ? ", top-down" : "");
          SCOPED_TRACE(what);
          Recorded got;
          gOffGrid = false;
          Draw(c, prims[i], &got);
          EXPECT_FALSE(gOffGrid) << what << ": a vertex moved off its place";
          const Recorded want = Expect(c, prims[i], f.rgba);
          ExpectSame(got.lines, want.lines, what + ", lines", EdgeText);
          ExpectSame(got.points, want.points, what + ", points", CornerText);
        }
      }
      glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
}

}  // namespace
}  // namespace scene_test
