#include "tests/geometry/varray/prim_stream.h"

#include <math.h>
#include <string.h>

#include <sstream>

#include "geometry/s_prim.h"

namespace prim_stream {

std::vector<Call> &Calls() {
  static std::vector<Call> calls;
  return calls;
}

std::vector<Call> Take() {
  std::vector<Call> calls;
  calls.swap(Calls());
  return calls;
}

namespace {

void Add(GlContext *gc, const char *kind, std::initializer_list<const GlVertex *> vs,
         uint32_t orCodes = 0) {
  Call c;
  c.kind = kind;
  for (const GlVertex *v : vs) c.vertices.push_back(*v);
  c.provoking = IdOf(gc->vertexBuffer.provoking);
  c.stippleStarted = gc->lineStippleStarted;
  c.orCodes = orCodes;
  Calls().push_back(c);
  gc->lineStippleStarted = 1;
}

void Point(GlContext *gc, GlVertex *v) { Add(gc, "point", {v}); }
void Line(GlContext *gc, GlVertex *a, GlVertex *b) { Add(gc, "line", {a, b}); }
void GLFASTCALL Triangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c) {
  Add(gc, "triangle", {a, b, c});
}
void ClipTriangle(GlContext *gc, GlVertex *a, GlVertex *b, GlVertex *c, uint32_t orCodes) {
  Add(gc, "clipTriangle", {a, b, c}, orCodes);
}
void IndependentLine(GlContext *gc, GlVertex *a, GlVertex *b) {
  const uint32_t orCodes = (a->has | b->has) & __GL_PRIM_CLIP_MASK;
  if (!orCodes)
    Add(gc, "line", {a, b});
  else if (!(a->has & b->has & __GL_PRIM_CLIP_MASK))
    Add(gc, "clipLine", {a, b}, orCodes);
}

GlContext *gInstalled;

}  // namespace

void Install(GlContext *gc) {
  gInstalled = gc;
  gc->procs.renderPoint = Point;
  gc->procs.renderLine = Line;
  gc->procs.renderTriangle = Triangle;
  gc->procs.clipTriangle = ClipTriangle;
  gc->procs.clipLine = IndependentLine;
}

namespace {

// The fields both paths fill the same way.
constexpr uint32_t kHasCompared = 0xFFFF0000u | __GL_HAS_SIZE_MASK | __GL_HAS_EDGEFLAG_BOUNDARY;

std::string Describe(const GlVertex &v) {
  std::ostringstream s;
  s << "#" << IdOf(&v) << " (" << v.obj.x << ", " << v.obj.y << ", " << v.obj.z << ", " << v.obj.w
    << ") has 0x" << std::hex << (v.has & kHasCompared);
  return s.str();
}

bool SameVertex(const GlVertex &a, const GlVertex &b, uint32_t hasMask, std::string *why) {
  if (memcmp(&a.obj, &b.obj, sizeof a.obj) || memcmp(&a.clip, &b.clip, sizeof a.clip) ||
      (a.has & hasMask) != (b.has & hasMask) ||
      memcmp(&a.colors[0], &b.colors[0], sizeof a.colors[0]) ||
      (!((a.has | b.has) & 0xFFFF0000u) && memcmp(&a.window, &b.window, sizeof a.window))) {
    *why = Describe(a) + " vs " + Describe(b);
    return false;
  }
  return true;
}

bool SameVertices(const Call &e, const Call &a, uint32_t hasMask, std::string *why) {
  const size_t n = e.vertices.size();
  if (a.vertices.size() != n) {
    *why = "vertex counts differ";
    return false;
  }
  // Triangles may start at any of their vertices, with the same winding.
  const size_t rotations =
      e.kind == "triangle" || e.kind == "clipTriangle" || e.kind == "clipPolygon" ? n : 1;
  std::string first;
  for (size_t r = 0; r < rotations; ++r) {
    std::string w;
    bool same = true;
    for (size_t i = 0; i < n && same; ++i)
      same = SameVertex(e.vertices[i], a.vertices[(i + r) % n], hasMask, &w);
    if (same) return true;
    if (r == 0) first = w;
  }
  *why = first;
  return false;
}

}  // namespace

testing::AssertionResult SameStream(const std::vector<Call> &expected,
                                    const std::vector<Call> &actual, bool boundaries) {
  const uint32_t hasMask = boundaries ? kHasCompared : kHasCompared & ~__GL_HAS_EDGEFLAG_BOUNDARY;
  for (size_t i = 0; i < expected.size() && i < actual.size(); ++i) {
    const Call &e = expected[i], &a = actual[i];
    std::string why;
    // Lines take their flat colour from their second vertex whatever
    // `provoking` says, and points have neither that nor a stipple.
    const bool polygon = e.kind != "point" && e.kind != "line" && e.kind != "clipLine";
    if (e.kind != a.kind)
      why = "kind " + e.kind + " vs " + a.kind;
    else if (polygon && e.provoking != a.provoking)
      why = "provoking " + std::to_string(e.provoking) + " vs " + std::to_string(a.provoking);
    else if (e.kind != "point" && e.stippleStarted != a.stippleStarted)
      why = "stipple restart " + std::to_string(e.stippleStarted) + " vs " +
            std::to_string(a.stippleStarted);
    else if (e.orCodes != a.orCodes)
      why = "clip codes differ";
    else
      SameVertices(e, a, hasMask, &why);
    if (!why.empty())
      return testing::AssertionFailure() << "call " << i << " (" << e.kind << "): " << why;
  }
  if (expected.size() != actual.size())
    return testing::AssertionFailure()
           << expected.size() << " calls expected, " << actual.size() << " made";
  return testing::AssertionSuccess();
}

}  // namespace prim_stream

// The two clippers primitive assembly and the array walks call by name.
extern "C" void __wrap__Z17__glDoPolygonClipP9GlContextPP8GlVertexij(GlContext *gc,
                                                                    GlVertex **list,
                                                                    int32_t count,
                                                                    uint32_t orCodes) {
  prim_stream::Call c;
  c.kind = "clipPolygon";
  for (int32_t i = 0; i < count; ++i) c.vertices.push_back(*list[i]);
  c.provoking = prim_stream::IdOf(gc->vertexBuffer.provoking);
  c.stippleStarted = gc->lineStippleStarted;
  c.orCodes = orCodes;
  prim_stream::Calls().push_back(c);
  gc->lineStippleStarted = 1;
}

extern "C" void __wrap__Z12__glClipLineP9GlContextP8GlVertexS2_(GlContext *gc, GlVertex *a,
                                                               GlVertex *b) {
  prim_stream::Call c;
  c.kind = "clipLine";
  c.vertices = {*a, *b};
  c.provoking = prim_stream::IdOf(gc->vertexBuffer.provoking);
  c.stippleStarted = gc->lineStippleStarted;
  c.orCodes = (a->has | b->has) & __GL_PRIM_CLIP_MASK;
  prim_stream::Calls().push_back(c);
  gc->lineStippleStarted = 1;
}
