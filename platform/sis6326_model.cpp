// The SiS 6326 drawing model: the queue of work since the last fire, its
// execution at the fire, the violations of the model's rules, the record of
// what was drawn, unfired work met by surface accesses, and the dump switch.
#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/ddraw_internal.h"
#include "platform/screen.h"
#include "platform/sis6326_internal.h"
#include "platform/sis6326_model.h"
#include "platform/sis6326_model_internal.h"
#include "platform/sis6326_model_texture.h"

namespace platform {
namespace {

constexpr size_t kMaxViolations = 1u << 16;
constexpr size_t kMaxRecord = 1u << 20;  // a long run keeps the first million primitives
constexpr size_t kMaxTextured = 1u << 16;  // textured primitives kept whole for the sample query

struct Queued {
  SiS6326Event event;
  uint32_t position;
};

// The dump switch, read when the stand-in starts and at each power-on
// (PlatformSiS6326Reset): events come too often to ask the environment for each.
bool DumpSwitch() {
  const char *v = std::getenv("VLX_SIS_DUMP");
  return v != nullptr && v[0] != '\0' && std::strcmp(v, "0") != 0;
}

struct Model {
  std::mutex lock;
  bool dump = DumpSwitch();
  uint32_t position = 0;  // of the next event
  std::vector<Queued> queue;
  std::vector<SiS6326Violation> violations;
  size_t violationsDropped = 0;
  std::vector<SiS6326Drawn> drawn;
  std::vector<DrawnTriangle> triangles;
  std::vector<DrawnLine> lines;
  std::vector<std::pair<int, int>> depthTies;
  std::vector<Queued> textured;
  std::vector<Queued> sinceFire;  // for the dump
  bool open = false;              // the decoder holds a complete primitive
  SiS6326Event openPrimitive;
  bool openDropped = false;       // a surface access met it: the next event is not drawn
};

Model &TheModel() {
  static Model *model = new Model;  // never destroyed, like the chip
  return *model;
}

// Model lock held.
void Record(const char *rule, uint32_t position, const char *what) {
  Model &m = TheModel();
  if (m.violations.size() >= kMaxViolations) {
    ++m.violationsDropped;
    return;
  }
  SiS6326Violation v;
  std::memset(&v, 0, sizeof v);
  std::snprintf(v.rule, sizeof v.rule, "%s", rule);
  v.position = position;
  std::snprintf(v.what, sizeof v.what, "%s", what);
  m.violations.push_back(v);
}

const char *KindText(uint32_t kind) {
  static const char *const names[] = {"?", "wait", "register", "primitive", "fill", "fire",
                                      "sequencer", "stray", "port"};
  return kind < sizeof names / sizeof names[0] ? names[kind] : "?";
}

// The first layer's marks are violations of their own (M2).
void JudgeMarks(const SiS6326Event &e, uint32_t position) {
  struct Mark {
    uint32_t flag;
    const char *text;
  } const marks[] = {
      {SIS6326_FLAG_UNCOVERED, "no queue slot was taken for it"},
      {SIS6326_FLAG_DIRECT, "a plain store found in the window, its order lost"},
      {SIS6326_FLAG_MALFORMED, e.kind == SIS6326_EVENT_FIRE
                                   ? "a fire other than 0xFF"
                                   : "vertex words unlike the command, or no command"},
  };
  char what[160];
  for (const Mark &m : marks)
    if (e.flags & m.flag) {
      std::snprintf(what, sizeof what, "%s at 0x%X (value 0x%X): %s", KindText(e.kind), e.offset,
                    e.value, m.text);
      Record("M2", position, what);
    }
  if (e.kind == SIS6326_EVENT_STRAY) {
    std::snprintf(what, sizeof what, "%u-byte store of 0x%X %s 0x%X", e.index, e.value,
                  (e.flags & SIS6326_FLAG_OUTSIDE) ? "outside the window at" : "the map refuses at",
                  e.offset);
    Record("M2", position, what);
  }
  if (e.kind == SIS6326_EVENT_PORT) {
    std::snprintf(what, sizeof what, "store of 0x%X to port 0x%X, which the chip does not decode",
                  e.value, e.offset);
    Record("M2", position, what);
  }
}

// Whether a byte range a queued piece of work reads or writes satisfies `hit`.
bool Touches(const Queued &q, const Region &region, const TouchTest &hit) {
  if (q.event.kind == SIS6326_EVENT_FILL_2D)
    return region.pool == VideoPool::kLocal && FillTouches(q.event, hit);
  return PrimitiveTouches(q.event, region, hit);
}

void Execute(const Queued &q, VideoView &view, bool dump) {
  Model &m = TheModel();
  Judge judge{q.position, false, false};
  size_t before = m.violations.size();
  SiS6326Drawn d = {q.position, q.event.kind, q.event.value, 0, 0, 0};
  long written = -1;
  if (q.event.kind == SIS6326_EVENT_FILL_2D) {
    written = ExecuteFill(q.event, view, judge);
    d.covered = written < 0 ? 0 : uint32_t(written);
  } else {
    written = ExecutePrimitive(q.event, view, judge, &d.covered);
    double x[3], y[3];
    if (written >= 0 && m.triangles.size() < kMaxRecord && TriangleVertices(q.event, x, y)) {
      DrawnTriangle t{q.position, {x[0], x[1], x[2]}, {y[0], y[1], y[2]}};
      m.triangles.push_back(t);
    }
    if (written >= 0 && m.lines.size() < kMaxRecord && LineVertices(q.event, x, y)) {
      DrawnLine l{q.position, {x[0], x[1]}, {y[0], y[1]}};
      m.lines.push_back(l);
    }
    if (written >= 0 && m.textured.size() < kMaxTextured && Textured(q.event.value)) m.textured.push_back(q);
  }
  d.refused = written < 0;
  d.written = written < 0 ? 0 : uint32_t(written);
  if (m.drawn.size() < kMaxRecord) m.drawn.push_back(d);
  if (dump) {
    std::fprintf(stderr, "  -> %s 0x%X at %u: %u covered, %u written%s\n", KindText(q.event.kind),
                 q.event.value, q.position, d.covered, d.written, d.refused ? ", refused" : "");
    for (size_t i = before; i < m.violations.size(); ++i)
      std::fprintf(stderr, "     violation %s: %s\n", m.violations[i].rule, m.violations[i].what);
  }
}

// Runs the queue (ChipLock() held; takes the screen lock, then the model's).
void Fire(uint32_t position) {
  std::lock_guard<std::recursive_mutex> screen(ScreenLock());
  Model &m = TheModel();
  std::lock_guard<std::mutex> hold(m.lock);
  const bool dump = m.dump;
  if (dump) {
    std::fprintf(stderr, "sis6326 fire at %u: %zu events\n", position, m.sinceFire.size());
    for (const Queued &q : m.sinceFire)
      std::fprintf(stderr, "  %u %s 0x%X = 0x%X flags 0x%X\n", q.position, KindText(q.event.kind),
                   q.event.offset, q.event.value, q.event.flags);
    m.sinceFire.clear();
  }
  if (m.queue.empty()) return;  // most fires only close a lock: no surface walk
  VideoView view;
  std::vector<Queued> queue;
  queue.swap(m.queue);
  for (const Queued &q : queue) Execute(q, view, dump);
}

// Unfired work some of whose bytes `hit` reports is a violation and is dropped.
// Only bytes in the region can be hit.
// `surface`, when set, names the kind of surface `what` was done to. The
// text is only made when there is something to report: surfaces are locked
// for every primitive.
template <class HitTest>
void CheckUnfired(const char *what, const char *surface, const Region &region, const HitTest &touches) {
  Model &m = TheModel();
  std::lock_guard<std::mutex> hold(m.lock);
  if (m.queue.empty() && !(m.open && !m.openDropped)) return;
  const TouchTest hit(touches);
  char whole[64];
  if (surface != nullptr) {
    std::snprintf(whole, sizeof whole, "%s of a %s surface", what, surface);
    what = whole;
  }
  std::vector<Queued> kept;
  for (const Queued &q : m.queue) {
    if (!Touches(q, region, hit)) {
      kept.push_back(q);
      continue;
    }
    char text[120];
    std::snprintf(text, sizeof text, "unfired %s 0x%X meets %s", KindText(q.event.kind),
                  q.event.value, what);
    Record("A5", q.position, text);
  }
  m.queue.swap(kept);
  // The primitive whose words all came, still held by the decoder: it will be
  // the next event.
  if (m.open && !m.openDropped) {
    Queued q{m.openPrimitive, m.position};
    if (Touches(q, region, hit)) {
      char text[120];
      std::snprintf(text, sizeof text, "unfired primitive 0x%X meets %s", q.event.value, what);
      Record("A5", q.position, text);
      m.openDropped = true;
    }
  }
}

// Whether a touch holds a pixel of rectangle r of the surface at `begin`,
// row by row of the bytes it spans.
bool TouchesRect(const Touch &t, uint32_t begin, uint32_t pitch, uint32_t pixel, uint32_t rows,
                 const RECT &r) {
  uint64_t first = std::max<uint64_t>(t.offset, begin), last = t.offset + t.bytes;  // last: one past
  if (first >= last || pitch == 0 || pixel == 0) return false;
  int64_t top = std::max<int64_t>(int64_t((first - begin) / pitch), r.top);
  int64_t bottom = std::min<int64_t>({int64_t((last - 1 - begin) / pitch) + 1, int64_t(rows), r.bottom});
  for (int64_t row = top; row < bottom; ++row) {
    uint64_t rowStart = begin + uint64_t(row) * pitch;
    uint64_t a = std::max(first, rowStart), b = std::min(last, rowStart + pitch);
    if (a >= b) continue;
    int64_t left = int64_t((a - rowStart) / pixel), right = int64_t((b - 1 - rowStart) / pixel);
    if (left < r.right && right >= r.left) return true;
  }
  return false;
}

}  // namespace

bool Judge::Fail(const char *rule, const char *format, ...) {
  failed = true;
  if (quiet) return false;
  char what[160];
  va_list args;
  va_start(args, format);
  std::vsnprintf(what, sizeof what, format, args);
  va_end(args);
  Record(rule, position, what);
  return false;
}

void ModelEvent(const SiS6326Event &e) {
  Model &m = TheModel();
  uint32_t position;
  bool fire = false;
  {
    std::lock_guard<std::mutex> hold(m.lock);
    position = m.position++;
    JudgeMarks(e, position);
    bool dropped = m.openDropped;
    m.openDropped = false;
    if (m.dump) m.sinceFire.push_back({e, position});
    bool marked = (e.flags & (SIS6326_FLAG_UNCOVERED | SIS6326_FLAG_DIRECT | SIS6326_FLAG_MALFORMED)) != 0;
    if (e.kind == SIS6326_EVENT_PRIMITIVE && dropped) marked = true;
    if ((e.kind == SIS6326_EVENT_PRIMITIVE || e.kind == SIS6326_EVENT_FILL_2D) && !marked)
      m.queue.push_back({e, position});
    if ((e.kind == SIS6326_EVENT_PRIMITIVE || e.kind == SIS6326_EVENT_FILL_2D) && marked &&
        m.drawn.size() < kMaxRecord)
      m.drawn.push_back({position, e.kind, e.value, 0, 0, 1});
    fire = e.kind == SIS6326_EVENT_FIRE && e.value == 0xFF &&
           !(e.flags & (SIS6326_FLAG_DIRECT | SIS6326_FLAG_MALFORMED));
  }
  if (fire) Fire(position);
}

void ModelReset() {
  Model &m = TheModel();
  std::lock_guard<std::mutex> hold(m.lock);
  m.position = 0;
  m.queue.clear();
  m.violations.clear();
  m.violationsDropped = 0;
  m.drawn.clear();
  m.triangles.clear();
  m.lines.clear();
  m.depthTies.clear();
  m.textured.clear();
  m.sinceFire.clear();
  m.open = false;
  m.openDropped = false;
  m.dump = DumpSwitch();
}

void ModelOpenPrimitive(const SiS6326Event *primitive) {
  Model &m = TheModel();
  std::lock_guard<std::mutex> hold(m.lock);
  m.open = primitive != nullptr;
  if (primitive) m.openPrimitive = *primitive;
}

void ModelSurfaceAccess(const DdSurface *surface, const RECT *rect, const char *what) {
  if (surface == nullptr || surface->placement == Placement::kSystem) return;
  VideoPool pool = surface->placement == Placement::kNonLocal ? VideoPool::kNonLocal : VideoPool::kLocal;
  uint32_t begin = uint32_t(surface->pixels - VideoPoolBase(pool));
  RECT all = {0, 0, surface->width, surface->height};
  RECT r = rect != nullptr && surface->kind == SurfaceKind::kPrimary ? *rect : all;
  uint64_t end = begin + uint64_t(surface->pitch) * uint64_t(surface->height);
  CheckUnfired(what, KindName(surface), {pool, begin, end}, [&](const Touch &t) {
    return t.pool == pool && TouchesRect(t, begin, uint32_t(surface->pitch),
                                         uint32_t(surface->bytesPerPixel), uint32_t(surface->height), r);
  });
}

void ModelScreenRead(const RECT &screen) {
  ScreenMode mode = CurrentScreenMode();
  uint32_t begin = uint32_t(VideoMemoryBase() - VideoPoolBase(VideoPool::kLocal));
  uint64_t end = begin + uint64_t(mode.pitch) * uint64_t(mode.height);
  CheckUnfired("a read-back of the screen", nullptr, {VideoPool::kLocal, begin, end}, [&](const Touch &t) {
    return t.pool == VideoPool::kLocal && TouchesRect(t, begin, uint32_t(mode.pitch), uint32_t(mode.bytesPerPixel),
                       uint32_t(mode.height), screen);
  });
}

void NoteDepthTie(int column, int row) {
  Model &m = TheModel();
  if (m.depthTies.size() < kMaxRecord) m.depthTies.push_back({column, row});
}

std::vector<std::pair<int, int>> ModelDepthTies() {
  Model &m = TheModel();
  std::lock_guard<std::mutex> hold(m.lock);
  return m.depthTies;
}

std::vector<DrawnTriangle> ModelDrawnTriangles() {
  Model &m = TheModel();
  std::lock_guard<std::mutex> hold(m.lock);
  return m.triangles;
}

std::vector<DrawnLine> ModelDrawnLines() {
  Model &m = TheModel();
  std::lock_guard<std::mutex> hold(m.lock);
  return m.lines;
}

namespace {

// What the textured primitive sampled at pixel (column, row), clipped to
// that pixel alone; false when it does not cover it. Model lock held.
bool SampleAt(const Queued &q, int column, int row, TexturedPixel *out) {
  Judge quiet{q.position, true, false};
  TextureSetup texture;
  if (!ReadTextureSetup(q.event, quiet, &texture)) return false;
  if (!ClipOf(q.event).Holds(column, row) || column >= 8191 || row >= 8191) return false;
  SiS6326Event one = q.event;
  one.state[(0x8A30 - SIS6326_3D_FIRST) / 4] = uint32_t(row) << 13 | uint32_t(row + 1);
  one.state[(0x8A34 - SIS6326_3D_FIRST) / 4] = uint32_t(column) << 13 | uint32_t(column + 1);
  bool found = false;
  RasterPrimitive(one, quiet, [&](const Fragment &f) {
    if (f.x != column || f.y != row) return true;
    out->position = q.position;
    out->point = q.event.value == 0x200;
    out->alphaTested = (StateWord(q.event, 0x8A00) & kModeAlphaTest) != 0;
    out->texture = texture;
    out->plan = PlanSample(texture, f.s, f.t, f.rho);
    found = true;
    return false;
  });
  return found;
}

}  // namespace

std::vector<TexturedPixel> ModelTexturedPixels(int column, int row) {
  Model &m = TheModel();
  std::lock_guard<std::mutex> hold(m.lock);
  std::vector<TexturedPixel> out;
  TexturedPixel p;
  for (const Queued &q : m.textured)
    if (SampleAt(q, column, row, &p)) out.push_back(p);
  return out;
}

double DistanceToEdges(const DrawnTriangle &t, int column, int row) {
  double cx = column + 0.5, cy = row + 0.5, best = INFINITY;
  for (int k = 0; k < 3; ++k) {
    double ax = t.x[k], ay = t.y[k], bx = t.x[(k + 1) % 3], by = t.y[(k + 1) % 3];
    double ex = bx - ax, ey = by - ay, px = cx - ax, py = cy - ay;
    double length2 = ex * ex + ey * ey;
    double along = length2 > 0 ? std::clamp((px * ex + py * ey) / length2, 0.0, 1.0) : 0.0;
    // The distance to the edge's line where the foot lies on the edge, from
    // the exact cross product; else to the nearer end.
    double d = along > 0.0 && along < 1.0 ? std::fabs(px * ey - py * ex) / std::sqrt(length2)
                                          : std::hypot(px - along * ex, py - along * ey);
    best = std::min(best, d);
  }
  return best;
}

}  // namespace platform

using platform::TheModel;

PLATFORM_API size_t PlatformSiS6326Violations(SiS6326Violation *violations, size_t capacity) {
  platform::Model &m = TheModel();
  std::lock_guard<std::mutex> hold(m.lock);
  size_t n = violations == nullptr ? 0 : std::min(capacity, m.violations.size());
  if (n) std::memcpy(violations, m.violations.data(), n * sizeof *violations);
  return m.violations.size();
}

PLATFORM_API void PlatformSiS6326ClearViolations(void) {
  platform::Model &m = TheModel();
  std::lock_guard<std::mutex> hold(m.lock);
  m.violations.clear();
  m.violationsDropped = 0;
}

PLATFORM_API void PlatformSiS6326CheckUnfired(void) {
  platform::CheckUnfired("the end of the test", nullptr, {platform::VideoPool::kLocal, 0, UINT64_MAX},
                         [](const platform::Touch &) { return true; });
  // Work that touches nothing (a primitive outside its clip) is unfired all the same.
  platform::Model &m = TheModel();
  std::lock_guard<std::mutex> hold(m.lock);
  for (const platform::Queued &q : m.queue)
    platform::Record("A5", q.position, "unfired work at the end of the test");
  m.queue.clear();
  if (m.open && !m.openDropped) {
    platform::Record("A5", m.position, "unfired work at the end of the test");
    m.openDropped = true;
  }
}

PLATFORM_API size_t PlatformSiS6326Drawn(SiS6326Drawn *drawn, size_t capacity) {
  platform::Model &m = TheModel();
  std::lock_guard<std::mutex> hold(m.lock);
  size_t n = drawn == nullptr ? 0 : std::min(capacity, m.drawn.size());
  if (n) std::memcpy(drawn, m.drawn.data(), n * sizeof *drawn);
  return m.drawn.size();
}

PLATFORM_API BOOL PlatformSiS6326EdgeDistance(uint32_t position, int column, int row,
                                              double *distance) {
  platform::Model &m = TheModel();
  std::lock_guard<std::mutex> hold(m.lock);
  if (distance == nullptr) return FALSE;
  for (const platform::DrawnTriangle &t : m.triangles) {
    if (t.position != position) continue;
    *distance = platform::DistanceToEdges(t, column, row);
    return TRUE;
  }
  return FALSE;
}

PLATFORM_API BOOL PlatformSiS6326TextureSample(uint32_t position, int column, int row,
                                               SiS6326TextureSample *sample) {
  platform::Model &m = TheModel();
  std::lock_guard<std::mutex> hold(m.lock);
  if (sample == nullptr) return FALSE;
  for (const platform::Queued &q : m.textured) {
    if (q.position != position) continue;
    platform::TexturedPixel x;
    if (!platform::SampleAt(q, column, row, &x)) return FALSE;
    const platform::SamplePlan &p = x.plan;
    *sample = {p.s, p.t, p.rho, p.lambda, x.texture.switchOver, x.texture.filter, p.magnified, p.linear,
               uint32_t(p.levels), {uint32_t(p.level[0]), uint32_t(p.level[1])}, p.blend,
               {p.u[0], p.u[1]}, {p.v[0], p.v[1]}};
    return TRUE;
  }
  return FALSE;
}
