#include "tests/geometry/prim/prim_model.h"

#include <algorithm>

namespace {

constexpr uint32_t kMask = 0xFFFF2000u;  // clip codes and the cull bit

class Model {
 public:
  explicit Model(const ModelRun &run) : run_(run) {}

  std::vector<PrimCall> calls() {
    const int n = run_.count;
    switch (run_.mode) {
      case GL_POINTS:
        for (int i = 0; i < n; ++i) point(i);
        break;
      case GL_LINES:
        for (int i = 1; i < n; i += 2) {
          restart();
          line(i, "clipLine", i - 1, i);
        }
        break;
      case GL_LINE_STRIP:
        restart();
        if (n > 0 && slow()) validate(0, 0, run_.frontNeeds);
        for (int i = 1; i < n; ++i) stripSegment(i);
        break;
      case GL_LINE_LOOP:
        restart();
        if (n > 1) line(1, "clipLine", 0, 1);
        for (int i = 2; i < n; ++i) stripSegment(i);
        if (n > 1) line(n, "clipLine", n - 1, 0);  // closing, stipple continuing
        break;
      case GL_TRIANGLES:
        for (int i = 2; i < n; i += 3) triangle(i, {i - 2, i - 1, i});
        break;
      case GL_TRIANGLE_STRIP:
        for (int i = 2; i < n; ++i) {
          const int t = i - 2;  // odd triangles swap their first two vertices
          triangle(i,
                   t % 2 ? std::vector<int>{t + 1, t, t + 2} : std::vector<int>{t, t + 1, t + 2});
        }
        break;
      case GL_TRIANGLE_FAN:
        for (int i = 2; i < n; ++i) triangle(i, {0, i - 1, i});
        break;
      case GL_QUADS:
        for (int i = 3; i < n; i += 4) quad(i, {i - 3, i - 2, i - 1, i});
        break;
      case GL_QUAD_STRIP:
        for (int i = 3; i < n; i += 2) quad(i, {i - 3, i - 2, i, i - 1});
        break;
      case GL_POLYGON:
        polygon();
        break;
    }
    return out_;
  }

 private:
  bool slow() const { return run_.frontNeeds != 0; }
  uint32_t code(int id) const { return run_.codes.empty() ? 0 : run_.codes[id]; }
  uint32_t orOf(const std::vector<int> &ids) const {
    uint32_t r = 0;
    for (int id : ids) r |= code(id);
    return r & kMask;
  }
  uint32_t andOf(const std::vector<int> &ids) const {
    uint32_t r = ~0u;
    for (int id : ids) r &= code(id);
    return r & kMask;
  }
  // The boundary bit a vertex was given: edge flags count for independent
  // triangles, quads and polygons; every edge of a strip or fan is a boundary.
  bool given(int id) const {
    switch (run_.mode) {
      case GL_TRIANGLES:
      case GL_QUADS:
      case GL_POLYGON:
        return run_.flags.empty() || run_.flags[id];
      default:
        return true;
    }
  }
  // What each argument's boundary bit shows: its flag when the edge from it
  // to the next argument is an edge of the primitive `shape`, else nothing.
  std::string edges(const std::vector<int> &args, const std::vector<int> &shape) const {
    std::string s;
    for (size_t j = 0; j < args.size(); ++j) {
      const int from = args[j], to = args[(j + 1) % args.size()];
      bool isEdge = false;
      for (size_t k = 0; k < shape.size(); ++k)
        if (shape[k] == from && shape[(k + 1) % shape.size()] == to) isEdge = true;
      s += isEdge && given(from) ? '1' : '0';
    }
    return s;
  }
  // A rotation of the OpenGL order that puts the newest vertex first.
  static std::vector<int> newestFirst(std::vector<int> ids) {
    std::rotate(ids.begin(), std::max_element(ids.begin(), ids.end()), ids.end());
    return ids;
  }

  void restart() { stipple_ = 0; }
  PrimCall call(int during, const char *kind, std::vector<int> ids) {
    PrimCall c;
    c.during = during;
    c.kind = kind;
    c.ids = std::move(ids);
    c.lockDepth = 1;
    c.lockCalls = lockCalls_;
    return c;
  }
  // One hand-off: one lock for all the calls it makes.
  void handOff(std::vector<PrimCall> calls) {
    ++lockCalls_;
    for (PrimCall &c : calls) {
      c.lockCalls = lockCalls_;
      c.stipple = stipple_;
      stipple_ = 1;
      out_.push_back(c);
    }
  }
  void validate(int during, int id, uint32_t needs) {
    PrimCall c = call(during, "", {id});
    c.kind = "validate" + std::to_string(id % 4);
    c.needs = needs;
    c.lockDepth = 0;
    c.lockCalls = lockCalls_;
    out_.push_back(c);
  }

  void point(int i) {
    if (code(i) & kMask) return;
    if (slow()) validate(i, i, run_.frontNeeds | 0x1);
    handOff({call(i, "renderPoint", {i})});
  }
  void line(int during, const char *kind, int a, int b) { handOff({call(during, kind, {a, b})}); }
  // A line-strip segment from i - 1 to i.
  void stripSegment(int i) {
    const std::vector<int> ends = {i - 1, i};
    if (!slow()) {
      line(i, orOf(ends) ? "clipLine" : "renderLine", i - 1, i);
      return;
    }
    if (orOf(ends) == 0) {
      validate(i, i, run_.frontNeeds);
      line(i, "renderLine", i - 1, i);
    } else if (andOf(ends) == 0) {
      line(i, "__glClipLine", i - 1, i);
    }
  }
  void triangle(int i, const std::vector<int> &gl) {
    restart();
    if (andOf(gl)) return;
    const std::vector<int> args = newestFirst(gl);
    PrimCall c = call(i, orOf(gl) ? "clipTriangle" : "renderTriangle", args);
    c.hasOr = orOf(gl) != 0;
    c.orCodes = orOf(gl);
    c.edges = edges(args, gl);
    c.provoking = i;
    handOff({c});
  }
  // q in OpenGL order; drawn as (q3, q0, q1) and (q3, q1, q2).
  void quad(int i, const std::vector<int> &q) {
    restart();
    if (orOf(q) && andOf(q)) return;
    if (orOf(q)) {
      PrimCall c = call(i, "__glDoPolygonClip", q);
      c.hasOr = true;
      c.orCodes = orOf(q);
      c.edges = edges(q, q);
      c.provoking = i;
      handOff({c});
      return;
    }
    std::vector<PrimCall> both;
    for (const std::vector<int> &t :
         {std::vector<int>{q[3], q[0], q[1]}, std::vector<int>{q[3], q[1], q[2]}}) {
      PrimCall c = call(i, "renderTriangle", t);
      c.edges = edges(t, q);
      c.provoking = i;
      both.push_back(c);
    }
    handOff(both);
  }
  // Fans of at most fifteen vertices sharing the first; a batch goes out
  // when a sixteenth vertex arrives, and the last one at glEnd.
  void polygon() {
    restart();
    const int n = run_.count;
    std::vector<int> whole;
    for (int i = 0; i < n; ++i) whole.push_back(i);
    std::vector<int> batch;
    for (int i = 0; i < n; ++i) {
      batch.push_back(i);
      if (batch.size() < 16) continue;
      std::vector<int> drawn(batch.begin(), batch.begin() + 15);
      PrimCall c = call(i, "clipPolygon", drawn);
      c.edges = edges(drawn, whole);
      handOff({c});
      batch = {0, batch[14], batch[15]};
    }
    if (batch.size() >= 3) {
      PrimCall c = call(n, "clipPolygon", batch);
      c.edges = edges(batch, whole);
      handOff({c});
    }
  }

  const ModelRun &run_;
  std::vector<PrimCall> out_;
  int stipple_ = 1;
  int lockCalls_ = 0;
};

}  // namespace

std::vector<PrimCall> ModelCalls(const ModelRun &run) { return Model(run).calls(); }

std::vector<int> ModelWaiting(GLenum mode, int given) {
  auto range = [](int from, int to) {  // [from, to)
    std::vector<int> r;
    for (int i = std::max(from, 0); i < to; ++i) r.push_back(i);
    return r;
  };
  const int k = given;
  if (k == 0) return {};
  switch (mode) {
    case GL_LINES:
      return k % 2 ? range(k - 1, k) : range(0, 0);
    case GL_LINE_STRIP:
      return range(k - 1, k);
    case GL_LINE_LOOP:     // the first closes the loop
    case GL_TRIANGLE_FAN:  // the centre
      return k == 1 ? range(0, 1) : std::vector<int>{0, k - 1};
    case GL_TRIANGLES:
      return range(k - k % 3, k);
    case GL_TRIANGLE_STRIP:
      return range(k - 2, k);
    case GL_QUADS:
      return range(k - k % 4, k);
    case GL_QUAD_STRIP:  // the two a next quad shares, and an odd one waiting
      return k < 4 ? range(0, k) : range(k % 2 ? k - 3 : k - 2, k);
    case GL_POLYGON: {
      // Batches flush at the 16th, 29th, 42nd ... vertex, keeping the first
      // and the last two of the batch.
      int last = -1;
      for (int f = 15; f < k; f += 13) last = f;
      if (last < 0) return range(0, k);
      std::vector<int> r = {0};
      for (int i : range(last - 1, k)) r.push_back(i);
      return r;
    }
    default:
      return {};
  }
}
