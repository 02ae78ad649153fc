// The generating wrappers: where the pickers install them, what a call for
// no vertices does, what happens when a routine does not fit its cell, the
// colour-index decision, the locked compile from a first element above 0,
// and a matrix change between two compiles that no picker sees.
#include <gtest/gtest.h>

#include <string.h>

#include "codegen/og_geom.h"
#include "codegen/og_work.h"
#include "geometry/s_varray_compile.h"
#include "geometry/s_varray_og.h"
#include "geometry/s_varray_pick.h"
#include "geometry/vc_cache.h"
#include "tests/codegen/compile/compile_fixture.h"
#include "tests/support/counting_imports.h"

namespace compile_test {
namespace {

class CompileWrapper : public CompileTest {
 protected:
  void Scene(int32_t size = 3) {
    Vertices(MakeArray(GL_FLOAT, size, 0, Values(1, size_t(40 * size), -1.2f, 1.2f)));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }
  std::vector<uint8_t> Buffer() const {
    const GlVertexArrayMachine &va = gc->vertexArray;
    const uint8_t *p = reinterpret_cast<const uint8_t *>(va.buffer);
    return std::vector<uint8_t>(p, p + va.bufferBytes);
  }
};

TEST_F(CompileWrapper, InstalledInRenderModeUnlessSwitchedOff) {
  Scene();
  Ready();
  EXPECT_EQ(gc->vertexArray.compileProc, CompileElementsVarrayWrapper);
  const GlCompileProc vcache[3] = {CompileElementsVcache2Wrapper, CompileElementsVcache3Wrapper,
                                   CompileElementsVcache4Wrapper};
  for (int i = 0; i < 3; i++) EXPECT_EQ(gc->vcache.compile[i], vcache[i]) << "size " << i + 2;

  GLfloat feedback[64];
  glFeedbackBuffer(64, GL_3D, feedback);
  glRenderMode(GL_FEEDBACK);
  Ready();
  EXPECT_EQ(gc->vertexArray.compileProc, __glVarrayCCompile(gc)) << "feedback";
  for (int i = 0; i < 3; i++) EXPECT_EQ(gc->vcache.compile[i], __glCompileElements_NoCopy);
  glRenderMode(GL_RENDER);

  // Outlines need the edge flags, which only the C compile copies.
  glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
  Ready();
  EXPECT_EQ(gc->vertexArray.compileProc, __glVarrayCCompile(gc)) << "outlines";
}

TEST_F(CompileWrapper, NoVerticesLeaveTheBufferAlone) {
  Scene();
  Ready();
  GlVertexArrayMachine &va = gc->vertexArray;
  memset(va.buffer, 0x5A, size_t(va.bufferBytes));
  const std::vector<uint8_t> before = Buffer();
  const GlCompileProc wrappers[] = {CompileElementsVarrayWrapper, CompileElementsVcache2Wrapper,
                                    CompileElementsVcache3Wrapper, CompileElementsVcache4Wrapper};
  for (GlCompileProc w : wrappers)
    for (int32_t count : {0, -1, -100}) w(gc, 0, 0, count);
  EXPECT_EQ(Buffer(), before);
  // And the routine itself, called for none.
  void *code = Routine();
  ASSERT_NE(code, nullptr);
  reinterpret_cast<GlCompileProc>(code)(gc, 0, 0, 0);
  EXPECT_EQ(Buffer(), before);
}

// With every cell's bound lowered, the routine overflows: it is not
// installed, its cell keeps no key, and the C compile serves the state,
// giving the C compile's records.
TEST_F(CompileWrapper, ARoutineThatDoesNotFitGivesWayToTheCCompile) {
  Scene();
  Ready();
  for (int i = 0; i < GL_WORK_RECORD_COUNT; i++) gc->workRecords[i].size = 64;
  EXPECT_EQ(Routine(), nullptr);
  for (int i = 0; i < GL_WORK_RECORD_COUNT; i++)
    EXPECT_EQ(gc->workRecords[i].keyLength, 0u) << "cell " << i;

  const Records want = RunC(0, 4, 20);
  GlVertexArrayMachine &va = gc->vertexArray;
  memset(va.buffer, 0xCD, size_t(va.bufferBytes));
  ASSERT_EQ(va.compileProc, CompileElementsVarrayWrapper);
  va.compileProc(gc, 0, 4, 20);
  EXPECT_EQ(va.compileProc, __glVarrayCCompile(gc));
  for (int i = 0; i < 20; i++)
    EXPECT_EQ(memcmp(&want.records[size_t(i)], __glVarrayBatchVertex(va, i), sizeof(GlVertex)), 0)
        << "vertex " << i;

  // The vertex cache's wrapper the same way.
  GlVertexCacheMachine &vc = gc->vcache;
  va.cursor = uintptr_t(va.buffer);
  va.sizeBits = __GL_HAS_SIZE3;
  CompileElementsVcache3Wrapper(gc, 0, 0, 3);
  EXPECT_EQ(vc.compile[1], __glCompileElements_NoCopy);
  for (int i = 0; i < GL_WORK_RECORD_COUNT; i++) gc->workRecords[i].size = GL_WORK_BUFFER_SIZE;
}

TEST_F(CompileWrapper, ColourIndexWithAnIndexArrayKeepsTheCCompile) {
  Use(TestModes(false));
  Scene();
  Ready();
  EXPECT_EQ(gc->vertexArray.compileProc, CompileElementsVarrayWrapper) << "current index";
  Indices(MakeArray(GL_SHORT, 1, 0, Values(2, 40, -5, 20)));
  Ready();
  EXPECT_EQ(gc->vertexArray.compileProc, __glVarrayCCompile(gc)) << "index array";
  glDisableClientState(GL_INDEX_ARRAY);
  Colors(MakeArray(GL_FLOAT, 4, 0, Values(3, 160, 0, 1)));
  Ready();
  EXPECT_EQ(gc->vertexArray.compileProc, __glVarrayCCompile(gc)) << "colour array";
  glDisableClientState(GL_COLOR_ARRAY);
  Ready();
  EXPECT_EQ(gc->vertexArray.compileProc, CompileElementsVarrayWrapper) << "neither again";
}

// The largest routine the state table asks for: four doubles through a
// general matrix, six planes, the cull test, eight lights, four texture
// coordinates of doubles and depth.
TEST_F(CompileWrapper, TheLargestRoutineFitsItsCell) {
  Vertices(MakeArray(GL_DOUBLE, 4, 0, Values(4, 160, -1, 1)));
  Normals(MakeArray(GL_INT, 3, 0, Values(5, 120, -1e9f, 1e9f)));
  TexCoords(MakeArray(GL_DOUBLE, 4, 0, Values(6, 160, -1, 1)));
  glEnable(GL_TEXTURE_2D);
  glMatrixMode(GL_PROJECTION);
  glFrustum(-1, 1, -1, 1, 1, 10);
  glMatrixMode(GL_MODELVIEW);
  glRotatef(20.0f, 1.0f, 0.0f, 0.0f);
  const GLdouble plane[4] = {1, 1, 0, 1};
  for (int i = 0; i < 6; i++) {
    glClipPlane(GL_CLIP_PLANE0 + GLenum(i), plane);
    glEnable(GL_CLIP_PLANE0 + GLenum(i));
  }
  glEnable(GL_CULL_VERTEX_VLX);
  glEnable(GL_LIGHTING);
  for (int i = 0; i < 8; i++) glEnable(GL_LIGHT0 + GLenum(i));
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  Ready();
  ASSERT_EQ(what_needs(gc) & __GL_HAS_FRONT_COLOR, __GL_HAS_FRONT_COLOR) << "lighting generated";

  void *code = Routine();
  ASSERT_NE(code, nullptr) << (gc->ogs.failure ? gc->ogs.failure : "");
  // And it runs as the C compile does.
  Compare what;
  what.windowZ = true;
  what.lit = true;
  what.colorTolerance = 0.02f * gc->constants.redScale;
  EXPECT_TRUE(Same(RunC(0, 0, 36), RunGenerated(0, 0, 36), what));
}

// A locked range compiles element lockFirst + i into batch position i: the
// routine counts slots from the cursor, which lies lockFirst records before
// the buffer. Records around the buffer stay as they were.
TEST_F(CompileWrapper, ALockedCompileFromAFirstElementAboveZeroStaysInTheBuffer) {
  Scene();
  Ready();
  GlVertexArrayMachine &va = gc->vertexArray;
  constexpr int32_t kLockFirst = 9, kLockCount = 20, kFence = 4;
  std::vector<GlVertex> mine(size_t(kLockCount + 2 * kFence));
  memset(mine.data(), 0xA5, mine.size() * sizeof(GlVertex));
  const std::vector<GlVertex> fresh = mine;
  GlVertex *const savedBuffer = va.buffer;
  const uintptr_t savedCursor = va.cursor;
  va.buffer = &mine[kFence];
  va.cursor = uintptr_t(va.buffer) - uintptr_t(kLockFirst) * sizeof(GlVertex);
  va.compileProc(gc, kLockFirst, kLockFirst, kLockCount);
  va.buffer = savedBuffer;
  va.cursor = savedCursor;
  for (int i = 0; i < kFence; i++) {
    EXPECT_EQ(memcmp(&mine[size_t(i)], &fresh[0], sizeof(GlVertex)), 0) << "before, " << i;
    EXPECT_EQ(memcmp(&mine[size_t(kFence + kLockCount + i)], &fresh[0], sizeof(GlVertex)), 0)
        << "after, " << i;
  }
  const GLfloat *p = static_cast<const GLfloat *>(va.arrays[__GL_VARRAY_VERTEX].pointer);
  for (int i = 0; i < kLockCount; i++)
    EXPECT_EQ(mine[size_t(kFence + i)].obj.x, p[3 * (kLockFirst + i)]) << "position " << i;
}

// The modelview changes type between two compiles: validation re-runs no
// array picker, so the wrapper must not keep the routine of the old matrix.
TEST_F(CompileWrapper, AMatrixChangeBetweenCompilesIsSeen) {
  Scene();
  Ready();
  GlVertexArrayMachine &va = gc->vertexArray;
  va.compileProc(gc, 0, 0, 10);
  glRotatef(40.0f, 1.0f, 0.0f, 0.0f);
  glTranslatef(0.0f, 0.0f, 0.1f);
  ValidatePending();
  ASSERT_EQ(va.compileProc, CompileElementsVarrayWrapper);
  memset(va.buffer, 0xCD, size_t(va.bufferBytes));
  va.compileProc(gc, 0, 0, 10);
  const Records got{std::vector<GlVertex>(va.buffer, va.buffer + 10)};
  const Records want = RunC(0, 0, 10);
  Compare what;
  what.windowZ = false;  // no depth test: not produced
  what.alpha = false;
  EXPECT_TRUE(Same(want, got, what));
}

}  // namespace
}  // namespace compile_test
