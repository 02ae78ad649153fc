// The cache's five entries in the dispatch: where validation puts them,
// what "__GL_VCACHE" and list compilation change, and the Begin/End
// protocol with its errors.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <vector>

#include "core/gl_entries.h"
#include "geometry/vc_cache.h"
#include "geometry/vc_entries.h"
#include "tests/geometry/vcache/vcache_fixture.h"

namespace vcache_test {
namespace {

GlDispatchWord Word(void(GLENTRY *f)(GLenum)) { return reinterpret_cast<GlDispatchWord>(f); }
GlDispatchWord Word(void(GLENTRY *f)(void)) { return reinterpret_cast<GlDispatchWord>(f); }
GlDispatchWord Word(void(GLENTRY *f)(const GLfloat *)) {
  return reinterpret_cast<GlDispatchWord>(f);
}

struct SlotRow {
  unsigned slot;
  GlDispatchWord cached, plain;
};
const SlotRow kSlots[] = {
    {7, Word(__glim_VertexCacheBegin), Word(__glim_Begin)},
    {43, Word(__glim_VertexCacheEnd), Word(__glim_End)},
    {129, Word(__glim_VertexCache2fv), Word(__glim_Vertex2fv)},
    {137, Word(__glim_VertexCache3fv), Word(__glim_Vertex3fv)},
    {145, Word(__glim_VertexCache4fv), Word(__glim_Vertex4fv)},
};

class CacheEntries : public VcacheTest {
 protected:
  void ExpectSlots(const GlDispatchState *table, bool cached) {
    for (const SlotRow &r : kSlots)
      EXPECT_EQ(__glDispatchSlot(table, r.slot), cached ? r.cached : r.plain) << "slot " << r.slot;
  }
  std::vector<uint8_t> CacheBytes() const {
    const uint8_t *p = reinterpret_cast<const uint8_t *>(&gc->vcache);
    return std::vector<uint8_t>(p, p + sizeof gc->vcache);
  }
};

// The process's own "__GL_VCACHE" (the test is run with it unset, 0 and 2).
TEST_F(CacheEntries, TheEnvironmentChoosesAtEveryReset) {
  const char *value = getenv("__GL_VCACHE");
  const bool on = value ? atoi(value) != 0 : true;  // on by default
  EXPECT_EQ(gc->vcache.enabled, on);
  ValidatePending();
  ExpectSlots(&gc->dispatch, on);
  EXPECT_EQ(gc->procs.matValidate == __glMatValidateVcache, on);
}

TEST_F(CacheEntries, ValidationPutsTheEntriesInAndHandsTheTableOn) {
  for (bool on : {true, false, true}) {
    SCOPED_TRACE(on ? "on" : "off");
    TakeHanded();
    Cache(on);
    ExpectSlots(&gc->dispatch, on);
    const std::vector<const GlDispatchState *> handed = TakeHanded();
    ASSERT_FALSE(handed.empty()) << "the changed table goes to the operating system";
    ExpectSlots(handed.back(), on);
  }
}

TEST_F(CacheEntries, WhileAListIsCompiledTheSavedTableGetsThem) {
  Cache(false);
  glNewList(1, GL_COMPILE);
  ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  ASSERT_EQ(gc->dispatchState, &gc->savedDispatch);
  Cache(true);
  ExpectSlots(&gc->savedDispatch, true);
  EXPECT_EQ(__glDispatchSlot(&gc->dispatch, 7), __glDispatchSlot(&__glListCompState, 7));
  EXPECT_EQ(__glDispatchSlot(&gc->dispatch, 137), __glDispatchSlot(&__glListCompState, 137));
  glEndList();
  ExpectSlots(&gc->dispatch, true);
}

// glBegin with validation pending validates, then calls glBegin again
// through the table in force: a cache switched off by it is not entered.
TEST_F(CacheEntries, BeginWithValidationPendingReentersThroughTheTable) {
  Cache(true);
  gc->vcache.enabled = 0;
  gc->dirtyMask |= __GL_DIRTY_ALL;
  gc->beginMode = __GL_VALIDATE_PENDING;
  __glim_VertexCacheBegin(GL_TRIANGLES);
  EXPECT_EQ(gc->beginMode, __GL_IN_BEGIN);
  ExpectSlots(&gc->dispatch, false);
  EXPECT_EQ(gc->vcache.vertexIncrement, 0) << "the immediate glBegin took the block";
  glEnd();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));

  Cache(true);
  gc->dirtyMask |= __GL_DIRTY_ALL;
  gc->beginMode = __GL_VALIDATE_PENDING;
  __glim_VertexCacheBegin(GL_LINES);
  EXPECT_EQ(gc->beginMode, __GL_IN_BEGIN);
  EXPECT_EQ(gc->vcache.mode, GLenum(GL_LINES));
  EXPECT_EQ(gc->vcache.vertexIncrement, 1);
  glEnd();
  EXPECT_EQ(gc->vcache.vertexIncrement, 0);
}

TEST_F(CacheEntries, ErrorsLeaveTheCacheAsItWas) {
  Cache(true);
  struct Case {
    const char *what;
    void (*before)();
    void (*call)();
    GLenum error;
  };
  const Case cases[] = {
      {"glEnd outside", [] {}, [] { glEnd(); }, GL_INVALID_OPERATION},
      {"mode above polygon", [] {}, [] { glBegin(GL_POLYGON + 1); }, GL_INVALID_ENUM},
      {"negative mode", [] {}, [] { glBegin(GLenum(-1)); }, GL_INVALID_ENUM},
      {"glBegin inside", [] {
         glBegin(GL_TRIANGLE_STRIP);
         const GLfloat p[] = {0.1f, 0.2f, 0.3f};
         glVertex3fv(p);
         glVertex3fv(p);
       },
       [] { glBegin(GL_POINTS); }, GL_INVALID_OPERATION},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    c.before();
    const std::vector<uint8_t> before = CacheBytes();
    const uint32_t begin = gc->beginMode;
    c.call();
    EXPECT_EQ(TakeError(), c.error);
    EXPECT_EQ(CacheBytes(), before);
    EXPECT_EQ(gc->beginMode, begin);
  }
  EXPECT_EQ(gc->vcache.mode, GLenum(GL_TRIANGLE_STRIP));
  EXPECT_EQ(gc->vcache.vertexCount, 2);
  glEnd();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  EXPECT_EQ(gc->vcache.vertexCount, 0);
}

// What a cached vertex holds: the coordinates by their size, the size
// class, the edge flag in force, and the attributes of the save index.
TEST_F(CacheEntries, AVertexHoldsItsCoordinatesSizeAndEdgeFlag) {
  Cache(true);
  // Outside the frustum: the fixture's window has no memory to draw into.
  const GLfloat p[] = {5, 6, 7, 2};
  glBegin(GL_POINTS);
  glEdgeFlag(GL_FALSE);
  glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
  glVertex2fv(p);
  glEdgeFlag(GL_TRUE);
  glVertex3fv(p);
  glVertex4fv(p);
  const GlVertexCacheMachine &vc = gc->vcache;
  ASSERT_EQ(vc.vertexCount, 3);
  EXPECT_EQ(vc.sizeMask, __GL_VC_SIZE2 | __GL_VC_SIZE3 | __GL_VC_SIZE4);
  struct Row {
    uint32_t has;
    GLfloat z, w;
  };
  const Row rows[] = {{__GL_HAS_SIZE2, 0, 1},
                      {__GL_HAS_SIZE3 | __GL_HAS_EDGEFLAG_BOUNDARY, 7, 1},
                      {__GL_HAS_SIZE4 | __GL_HAS_EDGEFLAG_BOUNDARY, 7, 2}};
  for (int i = 0; i < 3; ++i) {
    const GlVertex &v = vc.vertices[i];
    EXPECT_EQ(v.has, rows[i].has) << i;
    EXPECT_EQ(v.obj.x, 5.0f);
    EXPECT_EQ(v.obj.y, 6.0f);
    EXPECT_EQ(v.obj.z, rows[i].z) << i;
    EXPECT_EQ(v.obj.w, rows[i].w) << i;
    EXPECT_EQ(memcmp(&v.colors[__GL_FRONTFACE], &gc->state.current.color, sizeof(GlColor)), 0);
  }
  glEnd();
  EXPECT_EQ(vc.vertexCount, 0);
  EXPECT_EQ(vc.vertexIncrement, 0);
}

}  // namespace
}  // namespace vcache_test
