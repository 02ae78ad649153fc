// The vertex picker's cache-off branch: the immediate table in force gets
// back the plain glBegin, glEnd and glVertexNfv entries.
#include <gtest/gtest.h>

#include "core/gl_entries.h"
#include "geometry/s_vertex_pick.h"
#include "tests/vertex/vertex_fixture.h"

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

}  // namespace
}  // namespace vertex_test
