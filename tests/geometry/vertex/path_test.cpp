// The vertex entries: every form reaches the glVertexNfv slot of the
// immediate table in force with its coordinates converted, and the fv
// entries fill a slot, transform it, clip-check it and hand it to the save
// procedure.
#include <gtest/gtest.h>
#include <limits.h>
#include <math.h>
#include <string.h>

#include <vector>

#include "core/gl_entries.h"
#include "tests/geometry/vertex/vertex_fixture.h"
#include "tests/geometry/vertex/vertex_reference.h"

namespace vertex_test {
namespace {

struct SlotCall {
  int count;     // 2, 3 or 4: which slot
  bool inForce;  // of the immediate table in force, not the one the system calls
  GLfloat v[4];
};

std::vector<SlotCall> &SlotCalls() {
  static std::vector<SlotCall> calls;
  return calls;
}

template <int N, bool InForce>
void GLENTRY RecordSlot(const GLfloat *v) {
  SlotCall c{N, InForce, {}};
  memcpy(c.v, v, N * sizeof(GLfloat));
  SlotCalls().push_back(c);
}

struct FormCase {
  const char *what;
  void (*call)();
  int count;
  GLfloat want[4];
};

// clang-format off
const FormCase kFormCases[] = {
    {"Vertex2d", [] { glVertex2d(0.1, -1e300); }, 2, {0.1f, -INFINITY}},
    {"Vertex2dv", [] { const GLdouble v[] = {1.5, 2.5}; glVertex2dv(v); }, 2, {1.5f, 2.5f}},
    {"Vertex2f", [] { glVertex2f(3, -4); }, 2, {3, -4}},
    {"Vertex2fv", [] { const GLfloat v[] = {5, 6}; glVertex2fv(v); }, 2, {5, 6}},
    {"Vertex2i", [] { glVertex2i(16777217, -3); }, 2, {16777216.0f, -3}},
    {"Vertex2iv", [] { const GLint v[] = {INT_MAX, INT_MIN}; glVertex2iv(v); }, 2,
     {2147483648.0f, -2147483648.0f}},
    {"Vertex2s", [] { glVertex2s(-32768, 32767); }, 2, {-32768, 32767}},
    {"Vertex2sv", [] { const GLshort v[] = {7, -7}; glVertex2sv(v); }, 2, {7, -7}},
    {"Vertex3d", [] { glVertex3d(0.2, 0.3, 0.4); }, 3, {0.2f, 0.3f, 0.4f}},
    {"Vertex3dv", [] { const GLdouble v[] = {-1, 0, 1}; glVertex3dv(v); }, 3, {-1, 0, 1}},
    {"Vertex3f", [] { glVertex3f(1, 2, 3); }, 3, {1, 2, 3}},
    {"Vertex3fv", [] { const GLfloat v[] = {4, 5, 6}; glVertex3fv(v); }, 3, {4, 5, 6}},
    {"Vertex3i", [] { glVertex3i(-1, -2, 33554435); }, 3, {-1, -2, 33554436.0f}},
    {"Vertex3iv", [] { const GLint v[] = {10, 20, 30}; glVertex3iv(v); }, 3, {10, 20, 30}},
    {"Vertex3s", [] { glVertex3s(1, -1, 2); }, 3, {1, -1, 2}},
    {"Vertex3sv", [] { const GLshort v[] = {100, 200, 300}; glVertex3sv(v); }, 3,
     {100, 200, 300}},
    {"Vertex4d", [] { glVertex4d(1, 2, 3, 0.5); }, 4, {1, 2, 3, 0.5f}},
    {"Vertex4dv", [] { const GLdouble v[] = {0.7, 0.8, 0.9, 0}; glVertex4dv(v); }, 4,
     {0.7f, 0.8f, 0.9f, 0}},
    {"Vertex4f", [] { glVertex4f(-1, -2, -3, -4); }, 4, {-1, -2, -3, -4}},
    {"Vertex4fv", [] { const GLfloat v[] = {9, 8, 7, 6}; glVertex4fv(v); }, 4, {9, 8, 7, 6}},
    {"Vertex4i", [] { glVertex4i(1, 0, -1, 2); }, 4, {1, 0, -1, 2}},
    {"Vertex4iv", [] { const GLint v[] = {3, 4, 5, 6}; glVertex4iv(v); }, 4, {3, 4, 5, 6}},
    {"Vertex4s", [] { glVertex4s(-5, 5, -5, 5); }, 4, {-5, 5, -5, 5}},
    {"Vertex4sv", [] { const GLshort v[] = {11, 12, 13, 14}; glVertex4sv(v); }, 4,
     {11, 12, 13, 14}},
};
// clang-format on

class VertexEntries : public VertexTest {
 protected:
  void TearDown() override {
    SlotCalls().clear();
    VertexTest::TearDown();
  }
};

// The vertex cache replaces the three fv slots of the table in force and
// must see every form. While a list is compiled that table is not the one
// the operating system calls.
TEST_F(VertexEntries, EveryFormGoesThroughTheSlotOfTheTableInForce) {
  memcpy(&gc->savedDispatch, &gc->dispatch, sizeof gc->dispatch);
  gc->savedDispatch.Vertex2fv = RecordSlot<2, true>;
  gc->savedDispatch.Vertex3fv = RecordSlot<3, true>;
  gc->savedDispatch.Vertex4fv = RecordSlot<4, true>;
  // What the fv forms themselves reach: they are the slots.
  gc->dispatch.Vertex2fv = RecordSlot<2, false>;
  gc->dispatch.Vertex3fv = RecordSlot<3, false>;
  gc->dispatch.Vertex4fv = RecordSlot<4, false>;
  gc->dispatchState = &gc->savedDispatch;
  for (const FormCase &c : kFormCases) {
    SCOPED_TRACE(c.what);
    SlotCalls().clear();
    c.call();
    ASSERT_EQ(SlotCalls().size(), 1u);
    const SlotCall &got = SlotCalls()[0];
    EXPECT_EQ(got.count, c.count);
    const bool fv = strstr(c.what, "fv") != nullptr;
    EXPECT_EQ(got.inForce, !fv);
    for (int i = 0; i < c.count; ++i)
      EXPECT_TRUE(Same(got.v[i], c.want[i])) << i << ": " << got.v[i] << " vs " << c.want[i];
  }
  gc->dispatchState = &gc->dispatch;
  EXPECT_TRUE(Handed().empty()) << "no vertex entered the pipeline";
}

// ---- The fv entries ----

struct PathCase {
  const char *what;
  void (*call)();
  uint32_t sizeClass;
  GlCoord obj;
};

const PathCase kPathCases[] = {
    {"two coordinates", [] { glVertex2f(0.25f, -0.5f); }, __GL_HAS_SIZE2, {0.25f, -0.5f, 0, 1}},
    {"three coordinates",
     [] { glVertex3f(0.25f, -0.5f, -3); },
     __GL_HAS_SIZE3,
     {0.25f, -0.5f, -3, 1}},
    {"four coordinates", [] { glVertex4f(0.5f, -1, -6, 2); }, __GL_HAS_SIZE4, {0.5f, -1, -6, 2}},
    {"outside", [] { glVertex3f(40, 0, -3); }, __GL_HAS_SIZE3, {40, 0, -3, 1}},
    {"behind the eye", [] { glVertex3f(0, 0, 5); }, __GL_HAS_SIZE3, {0, 0, 5, 1}},
    {"w = 0", [] { glVertex4f(1, 0.5f, -1, 0); }, __GL_HAS_SIZE4, {1, 0.5f, -1, 0}},
    {"NaN", [] { glVertex3f(NAN, 0, -3); }, __GL_HAS_SIZE3, {NAN, 0, -3, 1}},
};

TEST_F(VertexEntries, AVertexIsTransformedCheckedAndSaved) {
  glMatrixMode(GL_PROJECTION);
  glFrustum(-1, 1, -0.75, 0.75, 1, 10);
  glMatrixMode(GL_MODELVIEW);
  glRotatef(20, 0, 1, 0.5f);
  Ready();
  const GLfloat *mvp = gc->transform.modelView->mvp.matrix;
  gc->state.current.color = {0.25f, 0.5f, 0.75f, 1};
  for (GlVertex &slot : gc->vertexBuffer.slots) {
    slot.has = 0xFFFFFFFFu;
    slot.window = {-7, -7, -7, -7};
  }
  for (const PathCase &c : kPathCases) {
    SCOPED_TRACE(c.what);
    Handed().clear();
    c.call();
    ASSERT_EQ(Handed().size(), 1u);
    const GlVertex &v = Handed()[0];
    EXPECT_TRUE(Same(v.obj.x, c.obj.x) && Same(v.obj.y, c.obj.y) && Same(v.obj.z, c.obj.z) &&
                Same(v.obj.w, c.obj.w));
    const Vec4 clip = Transform(mvp, ToVec(c.obj));
    EXPECT_TRUE(Close(v.clip.x, clip.x, 1e-6) && Close(v.clip.y, clip.y, 1e-6) &&
                Close(v.clip.z, clip.z, 1e-6) && Close(v.clip.w, clip.w, 1e-6))
        << v.clip.x << " " << v.clip.y << " " << v.clip.z << " " << v.clip.w;
    const uint32_t codes = FrustumCodes(clip);
    EXPECT_EQ(v.has, c.sizeClass | __GL_HAS_CLIP | codes) << "nothing of the slot's earlier vertex";
    EXPECT_EQ(memcmp(&v.colors[__GL_FRONTFACE], &gc->state.current.color, sizeof(GlColor)), 0)
        << "saved";
    if (!codes) {
      EXPECT_TRUE(v.window.x >= gc->transform.clipBox[0] && v.window.x <= gc->transform.clipBox[2]);
    }
  }
}

// Outside glBegin/glEnd the state machine ignores the vertex.
TEST_F(VertexEntries, AVertexOutsideBeginChangesNothing) {
  Validate();
  ASSERT_EQ(gc->beginMode, __GL_NOT_IN_BEGIN);
  EXPECT_EQ(gc->vertexBuffer.next, &gc->vertexBuffer.slots[0]) << "the reset aims the cursor";
  glColor3f(0.5f, 0.25f, 1);
  glNormal3f(0, 1, 0);
  glTexCoord2f(3, 4);
  const GlCurrentState before = gc->state.current;
  const int32_t locks = gc->renderLockCount;
  glVertex2f(0, 0);
  glVertex3f(0.5f, 0.5f, 0.5f);
  glVertex4f(1, 1, 1, 1);
  EXPECT_EQ(memcmp(&before, &gc->state.current, sizeof before), 0);
  EXPECT_EQ(gc->vertexBuffer.next, &gc->vertexBuffer.slots[0]);
  EXPECT_EQ(gc->renderLockCount, locks);
  EXPECT_EQ(gc->error, GLenum(GL_NO_ERROR));
}

}  // namespace
}  // namespace vertex_test
