#include "tests/geometry/prim/prim_fixture.h"

#include <gtest/gtest.h>
#include <string.h>

#include "core/s_nop.h"
#include "core/s_pick_steady.h"
#include "core/s_prim.h"
#include "geometry/s_prim.h"
#include "geometry/s_vertex.h"

namespace {
PrimFixture *current;
constexpr int kAtEnd = 1000000;  // `during` while glEnd runs
}  // namespace

// The recording procedures, reached through the fixture in use.
struct PrimRecorders {
  static void RenderPoint(GlContext *, GlVertex *v) {
    current->record("renderPoint", &v, 1, false, false);
  }
  static void RenderLine(GlContext *, GlVertex *a, GlVertex *b) {
    GlVertex *list[2] = {a, b};
    current->record("renderLine", list, 2, false, false);
  }
  static void ClipLine(GlContext *, GlVertex *a, GlVertex *b) {
    GlVertex *list[2] = {a, b};
    current->record("clipLine", list, 2, false, false);
  }
  static void GLFASTCALL RenderTriangle(GlContext *, GlVertex *a, GlVertex *b, GlVertex *c) {
    GlVertex *list[3] = {a, b, c};
    current->record("renderTriangle", list, 3, true, true);
  }
  static void ClipTriangle(GlContext *, GlVertex *a, GlVertex *b, GlVertex *c, uint32_t orCodes) {
    GlVertex *list[3] = {a, b, c};
    current->record("clipTriangle", list, 3, true, true, true, orCodes);
  }
  static void ClipPolygon(GlContext *, GlVertex *first, int32_t count) {
    std::vector<GlVertex *> list;
    for (int32_t i = 0; i < count; ++i) list.push_back(first + i);
    current->record("clipPolygon", list.data(), count, true, false);
    for (GlVertex *v : list) {
      // The clipper relies on every colour pointer staying in its own record.
      EXPECT_TRUE(v->color == &v->colors[__GL_FRONTFACE] || v->color == &v->colors[__GL_BACKFACE])
          << "vertex " << PrimFixture::IdOf(v) << " in a batch of " << count;
      if (current->paintBackColors) v->color = &v->colors[__GL_BACKFACE];
    }
  }
  static void DoPolygonClip(GlContext *, GlVertex **list, int32_t count, uint32_t orCodes) {
    current->record("__glDoPolygonClip", list, count, true, true, true, orCodes);
  }
  static void FullClipLine(GlContext *, GlVertex *a, GlVertex *b) {
    GlVertex *list[2] = {a, b};
    current->record("__glClipLine", list, 2, false, false);
  }
  template <int C>
  static uint32_t Validate(GlContext *, GlVertex *v, uint32_t needs) {
    current->recordValidate(C, v, needs);
    v->has |= needs;
    return v->has;
  }
  static void Lock(GlContext *gc) {
    EXPECT_EQ(gc->renderLockCount, 1);
    current->lockCalls_++;
  }
  static void Unlock(GlContext *gc) {
    EXPECT_EQ(gc->renderLockCount, 0);
    current->unlockCalls_++;
  }
};

// The clippers primitive assembly calls by name: the test program is linked
// with these in their place (see CMakeLists.txt).
void WrappedDoPolygonClip(GlContext *gc, GlVertex **list, int32_t count, uint32_t orCodes) __asm__(
    "__wrap__Z17__glDoPolygonClipP9GlContextPP8GlVertexij");
void WrappedDoPolygonClip(GlContext *gc, GlVertex **list, int32_t count, uint32_t orCodes) {
  PrimRecorders::DoPolygonClip(gc, list, count, orCodes);
}
void WrappedClipLine(GlContext *gc, GlVertex *a,
                     GlVertex *b) __asm__("__wrap__Z12__glClipLineP9GlContextP8GlVertexS2_");
void WrappedClipLine(GlContext *gc, GlVertex *a, GlVertex *b) {
  PrimRecorders::FullClipLine(gc, a, b);
}

PrimFixture::PrimFixture() : owned_(std::make_unique<GlContext>()), gc_(owned_.get()) {
  current = this;
  GlProcs &p = gc_->procs;
  p.beginPrim[GL_POINTS] = __glBeginPoints;
  p.beginPrim[GL_LINES] = __glBeginLines;
  p.beginPrim[GL_LINE_LOOP] = __glBeginLLoop;
  p.beginPrim[GL_LINE_STRIP] = __glBeginLStrip;
  p.beginPrim[GL_TRIANGLES] = __glBeginTriangles;
  p.beginPrim[GL_TRIANGLE_STRIP] = __glBeginTStrip;
  p.beginPrim[GL_TRIANGLE_FAN] = __glBeginTFan;
  p.beginPrim[GL_QUADS] = __glBeginQuads;
  p.beginPrim[GL_QUAD_STRIP] = __glBeginQStrip;
  p.beginPrim[GL_POLYGON] = __glBeginPolygon;
  p.endPrim = __glEndPrim;
  p.primVertex = __glNopProc<GlVertexProc>();
  p.matValidate = __glNop1;
  p.primSteady[__GL_STEADY_LINES] = __glSecondLinesVertexLock;
  p.primSteady[__GL_STEADY_LLOOP] = __glSecondLLoopVertexLock;
  p.primSteady[__GL_STEADY_END_LLOOP] = __glSteadyEnd(__glEndLLoopLock);
  p.primSteady[__GL_STEADY_TFAN] = __glOtherTFanVertexLock;
  p.primSteady[__GL_STEADY_EVEN_TSTRIP] = __glEvenTStripVertexLock;
  p.primSteady[__GL_STEADY_ODD_TSTRIP] = __glOddTStripVertexLock;
  p.primSteady[__GL_STEADY_TRIANGLES] = __glThirdTrianglesVertexLock;
  p.primSteady[__GL_STEADY_QSTRIP] = __glFourthQStripVertexLock;
  p.primSteady[__GL_STEADY_QUADS] = __glFourthQuadsVertexLock;
  p.primSteady[__GL_STEADY_POLYGON] = __glPolygonVertexLock;
  p.primSteady[__GL_STEADY_END_POLYGON] = __glSteadyEnd(__glEndPolygonLock);
  setFrontNeeds(0);
  installRecorders();
}

PrimFixture::PrimFixture(GlContext *gc) : gc_(gc) {
  current = this;
  installRecorders();
}

void PrimFixture::installRecorders() {
  GlProcs &p = gc_->procs;
  p.renderPoint = PrimRecorders::RenderPoint;
  p.renderLine = PrimRecorders::RenderLine;
  p.clipLine = PrimRecorders::ClipLine;
  p.renderTriangle = PrimRecorders::RenderTriangle;
  p.clipTriangle = PrimRecorders::ClipTriangle;
  p.clipPolygon = PrimRecorders::ClipPolygon;
  p.validateVertex[0] = PrimRecorders::Validate<0>;
  p.validateVertex[1] = PrimRecorders::Validate<1>;
  p.validateVertex[2] = PrimRecorders::Validate<2>;
  p.validateVertex[3] = PrimRecorders::Validate<3>;
}

PrimFixture::~PrimFixture() { current = nullptr; }

void PrimFixture::setFrontNeeds(uint32_t needs) {
  GlProcs &p = gc_->procs;
  gc_->vertexBuffer.frontNeeds = needs;
  p.primSteady[__GL_STEADY_POINT] = needs ? __glPointLock : __glPointFastLock;
  p.primSteady[__GL_STEADY_LSTRIP] =
      needs ? __glOtherLStripVertexLock : __glOtherLStripVertexFastLock;
}

void PrimFixture::prepare(GLenum mode) {
  GlContext *gc = gc_;
  mode_ = mode;
  during_ = 0;
  flushed_ = false;
  calls_.clear();
  flags_.clear();
  lockCalls_ = unlockCalls_ = 0;
  gc->lockRenderBuffers = lockProc ? PrimRecorders::Lock : nullptr;
  gc->unlockRenderBuffers = unlockProc ? PrimRecorders::Unlock : nullptr;
  lockCountBefore_ = gc->renderLockCount;
  memset(gc->vertexBuffer.slots, 0, sizeof gc->vertexBuffer.slots);
  for (GlVertex &v : gc->vertexBuffer.slots) {
    v.obj.y = CoordOf(-1);
    v.color = &v.colors[__GL_FRONTFACE];  // as the context's reset leaves them
  }
  gc->vertexBuffer.provoking = nullptr;
  // A line drawn before: only a restart shows 0.
  gc->lineStippleStarted = 1;
}

void PrimFixture::begin(GLenum mode) {
  prepare(mode);
  gc_->procs.beginPrim[mode](gc_);
}

GlVertex *PrimFixture::give(int id, uint32_t codes, bool edgeFlag) {
  GlContext *gc = gc_;
  GlVertex *v = gc->vertexBuffer.next;
  GlVertex *slots = gc->vertexBuffer.slots;
  if (v < slots || v >= slots + 16) {
    ADD_FAILURE() << "vertex " << id << ": next is outside the buffer";
    return nullptr;
  }
  during_ = id;
  if (size_t(id) >= flags_.size()) flags_.resize(id + 1);
  flags_[id] = edgeFlag;
  v->obj = {0.0f, CoordOf(id), 0.0f, 1.0f};
  v->has = (uint32_t(id % 4) << 14) | __GL_HAS_CLIP | codes;  // size class by index
  gc->state.current.edgeFlag = edgeFlag ? __GL_HAS_EDGEFLAG_BOUNDARY : 0;
  gc->procs.primVertex(gc, v);
  // The sixteenth slot of a polygon sends a batch off.
  if (mode_ == GL_POLYGON && v == slots + 15) flushed_ = true;
  checkEdgesKept("after a vertex");
  return v;
}

void PrimFixture::end() {
  GlContext *gc = gc_;
  during_ = kAtEnd;
  gc->procs.endPrim(gc);
  checkEdgesKept("after glEnd");
  EXPECT_EQ(reinterpret_cast<void *>(gc->procs.primVertex), reinterpret_cast<void *>(&__glNop2));
  EXPECT_EQ(gc->procs.endPrim, &__glEndPrim);
}

std::vector<PrimCall> PrimFixture::run(const PrimRun &r) {
  begin(r.mode);
  for (int i = 0; i < r.count; ++i) {
    if (!give(i, r.codes.empty() ? 0 : r.codes[i], r.flags.empty() || r.flags[i])) break;
  }
  end();
  for (PrimCall &c : calls_)
    if (c.during == kAtEnd) c.during = r.count;
  EXPECT_EQ(gc_->renderLockCount, lockCountBefore_);
  return calls_;
}

uint32_t PrimFixture::givenEdge(int id) const {
  switch (mode_) {
    case GL_TRIANGLES:
    case GL_QUADS:
    case GL_POLYGON:
      return flags_[id] ? __GL_HAS_EDGEFLAG_BOUNDARY : 0;
    case GL_TRIANGLE_STRIP:
    case GL_TRIANGLE_FAN:
    case GL_QUAD_STRIP:
      return __GL_HAS_EDGEFLAG_BOUNDARY;
    default:
      return 0;
  }
}

void PrimFixture::checkEdgesKept(const char *when) {
  const GlVertex *slots = gc_->vertexBuffer.slots;
  for (int s = 0; s < 16; ++s) {
    const int id = IdOf(&slots[s]);
    if (id < 0) continue;
    // The first vertex of a long polygon hides its edge to the next batch.
    if (mode_ == GL_POLYGON && s == 0 && flushed_) continue;
    EXPECT_EQ(slots[s].has & __GL_HAS_EDGEFLAG_BOUNDARY, givenEdge(id))
        << "vertex " << id << " in slot " << s << " " << when << " " << during_;
  }
}

void PrimFixture::record(const char *kind, GlVertex *const *vertices, int count, bool edges,
                         bool provoking, bool hasOr, uint32_t orCodes) {
  GlContext *gc = gc_;
  if (nestInHandOffs) __glRenderLock(gc);
  PrimCall c;
  c.during = during_;
  c.kind = kind;
  for (int i = 0; i < count; ++i) {
    const GlVertex *v = vertices[i];
    const GlVertex *slots = gc->vertexBuffer.slots;
    c.ids.push_back(v >= slots && v < slots + 16 ? IdOf(v) : -2);
    if (edges) c.edges += (v->has & __GL_HAS_EDGEFLAG_BOUNDARY) ? '1' : '0';
  }
  c.hasOr = hasOr;
  c.orCodes = orCodes;
  if (provoking) c.provoking = IdOf(gc->vertexBuffer.provoking);
  c.stipple = gc->lineStippleStarted;
  c.lockDepth = gc->renderLockCount - (nestInHandOffs ? 1 : 0);
  c.lockCalls = lockCalls_;
  calls_.push_back(c);
  // The rasterizer starts the stipple pattern with the first line it draws.
  gc->lineStippleStarted = 1;
  if (nestInHandOffs) __glRenderUnlock(gc);
}

void PrimFixture::recordValidate(int sizeClass, GlVertex *v, uint32_t needs) {
  PrimCall c;
  c.during = during_;
  c.kind = "validate" + std::to_string(sizeClass);
  c.ids.push_back(IdOf(v));
  c.needs = needs;
  c.lockDepth = gc_->renderLockCount;
  c.lockCalls = lockCalls_;
  calls_.push_back(c);
}
