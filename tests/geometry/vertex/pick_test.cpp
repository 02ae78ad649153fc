// The vertex picker's cache-off branch: the immediate table in force gets
// back the plain glBegin, glEnd and glVertexNfv entries. And the check of
// two-component vertices, picked again with every composite, through
// pushes, pops and projection changes that wrap the projection stamps.
#include <gtest/gtest.h>

#include "core/gl_entries.h"
#include "geometry/s_clipcheck.h"
#include "geometry/s_vertex_pick.h"
#include "tests/geometry/vertex/vertex_fixture.h"
#include "tests/geometry/vertex/vertex_reference.h"

namespace vertex_test {
namespace {

void GLENTRY OtherBegin(GLenum) {}
void GLENTRY OtherEnd(void) {}
void GLENTRY OtherVertex(const GLfloat *) {}

void Replace(GlDispatchState *table) {
  table->Begin = OtherBegin;
  table->End = OtherEnd;
  table->Vertex2fv = OtherVertex;
  table->Vertex3fv = OtherVertex;
  table->Vertex4fv = OtherVertex;
}

bool Plain(const GlDispatchState &table) {
  return table.Begin == __glim_Begin && table.End == __glim_End &&
         table.Vertex2fv == __glim_Vertex2fv && table.Vertex3fv == __glim_Vertex3fv &&
         table.Vertex4fv == __glim_Vertex4fv;
}

class VertexPicker : public VertexTest {};

TEST_F(VertexPicker, TheTableInForceGetsThePlainEntriesBack) {
  ASSERT_EQ(gc->vcache.enabled, 0);
  ASSERT_EQ(gc->dispatchState, &gc->dispatch);
  EXPECT_TRUE(Plain(gc->dispatch));
  Replace(&gc->dispatch);
  __glGenericPickVertexProcs(gc);
  EXPECT_TRUE(Plain(gc->dispatch));
}

// While a list is compiled the immediate table is the saved one; the table
// the operating system calls holds the list-compile entries and is left
// alone.
TEST_F(VertexPicker, WhileCompilingOnlyTheSavedTableChanges) {
  memcpy(&gc->savedDispatch, &gc->dispatch, sizeof gc->dispatch);
  Replace(&gc->savedDispatch);
  Replace(&gc->dispatch);
  gc->dispatchState = &gc->savedDispatch;
  __glGenericPickVertexProcs(gc);
  EXPECT_TRUE(Plain(gc->savedDispatch));
  EXPECT_EQ(gc->dispatch.Begin, OtherBegin);
  EXPECT_EQ(gc->dispatch.Vertex3fv, OtherVertex);
  gc->dispatchState = &gc->dispatch;
}

// Every composite change runs the picker too.
TEST_F(VertexPicker, AMatrixChangePutsThemBack) {
  Replace(&gc->dispatch);
  glMatrixMode(GL_MODELVIEW);
  glTranslatef(0, 0, 2);
  EXPECT_TRUE(Plain(gc->dispatch));
}

// ---- The check of two-component vertices follows the composite ----

struct CompositeStep {
  const char *what;
  void (*commands)();
  bool shortcut;  // x and y only: the composite keeps z = 0 inside
};

// From the identity on both stacks, in model-view mode. A stale shortcut
// after a pop would let vertices beyond the far plane through.
// clang-format off
const CompositeStep kCompositeSteps[] = {
    {"model-view z 0.5", [] { glTranslatef(0, 0, 0.5f); }, true},
    {"push, z 1.5", [] { glPushMatrix(); glTranslatef(0, 0, 1); }, false},
    {"pop to z 0.5", [] { glPopMatrix(); }, true},
    {"z 1.5", [] { glLoadIdentity(); glTranslatef(0, 0, 1.5f); }, false},
    {"push, identity", [] { glPushMatrix(); glLoadIdentity(); }, true},
    {"pop to z 1.5", [] { glPopMatrix(); }, false},
    {"projection push, z -2",
     [] { glMatrixMode(GL_PROJECTION); glPushMatrix(); glTranslatef(0, 0, -2); }, true},
    {"projection pop", [] { glPopMatrix(); }, false},
    {"orthographic projection", [] { glOrtho(-2, 2, -2, 2, -1, 1); }, false},
    {"model-view z 0.25",
     [] { glMatrixMode(GL_MODELVIEW); glLoadIdentity(); glTranslatef(0, 0, 0.25f); }, true},
    {"push, rotation about x", [] { glPushMatrix(); glRotatef(30, 1, 0, 0); }, false},
    {"pop the rotation", [] { glPopMatrix(); }, true},
    {"perspective projection",
     [] { glMatrixMode(GL_PROJECTION); glLoadIdentity(); glFrustum(-1, 1, -1, 1, 1, 10); }, false},
    {"projection identity", [] { glLoadIdentity(); }, true},
    {"projection push, z -0.5, pop",
     [] { glPushMatrix(); glTranslatef(0, 0, -0.5f); glPopMatrix(); }, true},
};
// clang-format on

class CompositeChecks : public VertexTest, public testing::WithParamInterface<uint32_t> {};

// Every step stamps, rebuilds or restores the composite; the stamp counter
// starts where one of the projection changes wraps it.
TEST_P(CompositeChecks, TwoComponentVerticesGetOpenGLsCodesAfterEveryStep) {
  const GLfloat kPoints[][2] = {{0, 0}, {0.375f, -0.75f}, {1.5f, 0.25f}, {-3, 3}};
  gc->transform.projectionSequence = GetParam();
  glMatrixMode(GL_MODELVIEW);
  for (const CompositeStep &step : kCompositeSteps) {
    SCOPED_TRACE(step.what);
    step.commands();
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(gc->procs.clipCheck[0] == __glClipCheckFrustum2D, step.shortcut);
    const GLfloat *mv = gc->transform.modelView->matrix.matrix;
    const GLfloat *projection = gc->transform.projection->matrix.matrix;
    for (const auto &p : kPoints) {
      Handed().clear();
      glVertex2f(p[0], p[1]);
      ASSERT_EQ(Handed().size(), 1u);
      const Vec4 clip = Transform(projection, Transform(mv, {p[0], p[1], 0, 1}));
      EXPECT_EQ(Handed()[0].has, __GL_HAS_SIZE2 | __GL_HAS_CLIP | FrustumCodes(clip))
          << p[0] << ", " << p[1];
    }
  }
  // Whichever counter it started from, the projection changes wrapped it.
  EXPECT_LT(gc->transform.projectionSequence, 16u);
}

INSTANTIATE_TEST_SUITE_P(StampCounter, CompositeChecks,
                         testing::Values(0u, 0xFFFFFFFDu, 0xFFFFFFFEu, 0xFFFFFFFFu));

}  // namespace
}  // namespace vertex_test
