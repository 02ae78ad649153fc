// The array pickers: what each state needs of a compiled vertex, which
// compile serves it, the cull words, the slow-path flags and lockModes.
#include <gtest/gtest.h>

#include <functional>

#include "geometry/s_varray.h"
#include "geometry/s_varray_compile.h"
#include "geometry/s_varray_pick.h"
#include "pixels/px_texture.h"
#include "tests/geometry/varray/prim_stream.h"
#include "tests/geometry/varray/varray_fixture.h"
#include "tests/support/counting_imports.h"

namespace varray_test {
namespace {

constexpr uint32_t V = 0xFFu, N = 0xF00u, CI = 0xF00FF000u, T = 0x07F00000u;

struct Row {
  const char *what;
  std::function<void(GlContext *)> set;
  uint32_t needed;
  int32_t compileIndex;
  uint32_t flags;  // of 0x8, 0x10, 0x20
  uint32_t frontCull, backCull;
};

void Enable(GlContext *gc, uint32_t bits) { gc->state.enables.general |= bits; }

// The cull-vertex test on for `faces`, from the eye position, or from an
// object position when one is given.
void CullVertex(GlContext *gc, GLenum faces, GlCoord eye, const GlCoord *obj = nullptr) {
  Enable(gc, __GL_CULL_VERTEX_ENABLE);
  gc->state.polygon.cull = faces;
  gc->transform.cullObjPosInForce = obj != nullptr;
  if (obj) gc->transform.cullObjPos = *obj;
  gc->transform.cullEyePos = eye;
}

const Row kRows[] = {
    {"plain", [](GlContext *) {}, V | CI, 2, 0, 0, 0},
    {"lighting", [](GlContext *gc) { Enable(gc, __GL_LIGHTING_ENABLE); }, V | N, 1, 0, 0, 0},
    {"colour material without lighting",
     [](GlContext *gc) { Enable(gc, __GL_COLOR_MATERIAL_ENABLE); }, V | CI, 2, 0, 0, 0},
    {"lighting with colour material",
     [](GlContext *gc) { Enable(gc, __GL_LIGHTING_ENABLE | __GL_COLOR_MATERIAL_ENABLE); }, V | N,
     1, 0x20, 0, 0},
    {"texturing",
     [](GlContext *gc) { gc->state.enables.texture |= __GL_TEXTURE_2D_ENABLE; }, V | CI | T, 6,
     0, 0, 0},
    {"1D texturing, lit",
     [](GlContext *gc) {
       gc->state.enables.texture |= __GL_TEXTURE_1D_ENABLE;
       Enable(gc, __GL_LIGHTING_ENABLE);
     },
     V | N | T, 5, 0, 0, 0},
    {"sphere map on t",
     [](GlContext *gc) {
       gc->state.enables.texture |= __GL_TEXTURE_2D_ENABLE | __GL_TEXTURE_GEN_T_ENABLE;
       gc->texture.texCoordGen[__GL_TEXGEN_T].mode = GL_SPHERE_MAP;
     },
     V | CI | T | N, 7, 0, 0, 0},
    {"sphere map mode without its enable",
     [](GlContext *gc) {
       gc->state.enables.texture |= __GL_TEXTURE_2D_ENABLE;
       gc->texture.texCoordGen[__GL_TEXGEN_S].mode = GL_SPHERE_MAP;
     },
     V | CI | T, 6, 0, 0, 0},
    {"texture generation without texturing",
     [](GlContext *gc) {
       gc->state.enables.texture |= __GL_TEXTURE_GEN_S_ENABLE;
       gc->texture.texCoordGen[__GL_TEXGEN_S].mode = GL_SPHERE_MAP;
     },
     V | CI, 2, 0, 0, 0},
    {"cull vertex, back faces, direction",
     [](GlContext *gc) { CullVertex(gc, GL_BACK, {0, 0, 1, 0}); }, V | CI | N, 3, 0x8, 0, 0x2000},
    {"cull vertex, front faces, eye position",
     [](GlContext *gc) { CullVertex(gc, GL_FRONT, {0, 0, 1, 2}); }, V | CI | N, 3, 0x18, 0x2000,
     0},
    {"cull vertex, both faces, object position",
     [](GlContext *gc) {
       const GlCoord obj = {1, 2, 3, -1};
       CullVertex(gc, GL_FRONT_AND_BACK, {0, 0, 1, 0}, &obj);
     },
     V | CI | N, 3, 0x18, 0x2000, 0x2000},
    {"selection", [](GlContext *gc) { gc->renderMode = GL_SELECT; }, ~0u, -1, 0, 0, 0},
    {"feedback reports every attribute too",
     [](GlContext *gc) { gc->renderMode = GL_FEEDBACK; }, ~0u, -1, 0, 0, 0},
    {"front faces as lines", [](GlContext *gc) { gc->state.polygon.frontMode = GL_LINE; }, ~0u,
     -1, 0, 0, 0},
    {"back faces as points", [](GlContext *gc) { gc->state.polygon.backMode = GL_POINT; }, ~0u,
     -1, 0, 0, 0},
};

class ArrayPickers : public VarrayTest {};

TEST_F(ArrayPickers, DeriveWhatEachStateNeeds) {
  for (bool rgb : {true, false}) {
    for (const Row &row : kRows) {
      SCOPED_TRACE(testing::Message() << row.what << (rgb ? " (RGBA)" : " (index)"));
      Use(TestModes(rgb));
      ValidatePending();
      row.set(gc);
      GlVertexArrayMachine &va = gc->vertexArray;
      va.lockModes = 0;
      __glGenericPickVertexArrayProcs(gc);
      EXPECT_EQ(va.neededFields, row.needed);
      EXPECT_EQ(va.compileIndex, row.compileIndex);
      EXPECT_EQ(va.flags & 0x38u, row.flags);
      if (row.flags & 0x8) {
        EXPECT_EQ(va.frontCullBits, row.frontCull);
        EXPECT_EQ(va.backCullBits, row.backCull);
      }
      EXPECT_EQ(va.lockModes, ~0u);
      EXPECT_EQ(va.compileIndexed, CompileElementsIndexed);
      EXPECT_EQ(va.compileNoCull, CompileElementsAllNoCull);
      EXPECT_EQ(va.compileSilhouette, CompileElementsSilhouette);
      // No array has a pointer: nothing is in use, the vertex least of all.
      EXPECT_TRUE(va.flags & __GL_VARRAY_NO_VERTEX);
      const GlCompileProc *table = rgb ? RGBCompileProcs : CICompileProcs;
      EXPECT_EQ(va.compileProc, row.compileIndex < 0 ? CompileElementsAll : table[row.compileIndex]);
    }
  }
}

TEST_F(ArrayPickers, EnablesPickerDerivesTheSizeAndCopies) {
  static GLfloat data[64];
  GlVertexArrayMachine &va = gc->vertexArray;
  for (int size : {2, 3, 4}) {
    SCOPED_TRACE(size);
    glVertexPointer(size, GL_SHORT, 0, data);
    glEnableClientState(GL_VERTEX_ARRAY);
    ValidatePending();
    const GlMatrix &m = gc->transform.modelView->mvp;
    EXPECT_EQ(va.sizeBits, uint32_t(size - 1) << 14);
    EXPECT_EQ(va.transformProc, size == 2 ? m.xf2 : size == 3 ? m.xf3 : m.xf4);
    EXPECT_EQ(va.clipCheckProc, gc->procs.clipCheck[size - 2]);
    EXPECT_EQ(va.validateProc, gc->procs.validateVertex[size - 1]);
    EXPECT_FALSE(va.flags & __GL_VARRAY_NO_VERTEX);
    EXPECT_EQ(va.copy[__GL_VARRAY_VERTEX], va.arrays[__GL_VARRAY_VERTEX].copyProc);
    EXPECT_TRUE(va.flags & __GL_VARRAY_COMPILE_PENDING);
    EXPECT_FALSE(va.flags & __GL_VARRAY_LOCK_COMPILED);
  }
  // An enabled colour array without a pointer is not in use: the current
  // colour is copied in its place.
  glEnableClientState(GL_COLOR_ARRAY);
  ValidatePending();
  EXPECT_NE(va.copy[__GL_VARRAY_COLOR], nullptr);
  EXPECT_NE(va.copy[__GL_VARRAY_COLOR], va.arrays[__GL_VARRAY_COLOR].copyProc);
  glColorPointer(3, GL_FLOAT, 0, data);
  ValidatePending();
  EXPECT_EQ(va.copy[__GL_VARRAY_COLOR], va.arrays[__GL_VARRAY_COLOR].copyProc);
  // Locked: the range gets the buffer and counts as compiled.
  glLockArraysVLX(2, 5);
  ValidatePending();
  EXPECT_TRUE(va.flags & __GL_VARRAY_LOCK_COMPILED);
  EXPECT_EQ(__glVarrayBatchVertex(va, 2), va.buffer);
  glUnlockArraysVLX();
  ValidatePending();
  EXPECT_FALSE(va.flags & __GL_VARRAY_LOCK_COMPILED);
  EXPECT_EQ(va.cursor, reinterpret_cast<uintptr_t>(va.buffer));
}

// Texture generation decides whether a compiled vertex needs its normal:
// turning it on or off through the entries re-runs the array pickers.
TEST_F(ArrayPickers, TextureGenerationChangesRepickTheArrays) {
  static GLfloat data[64];
  GlVertexArrayMachine &va = gc->vertexArray;
  glVertexPointer(3, GL_FLOAT, 0, data);
  glNormalPointer(GL_FLOAT, 0, data);
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  glEnable(GL_TEXTURE_2D);
  gc->texture.texCoordGen[__GL_TEXGEN_S].mode = GL_SPHERE_MAP;
  ValidatePending();
  EXPECT_EQ(va.neededFields & N, 0u);
  EXPECT_EQ(va.compileIndex, 6);
  glEnable(GL_TEXTURE_GEN_S);
  ValidatePending();
  EXPECT_EQ(va.neededFields & N, N);
  EXPECT_EQ(va.compileIndex, 7);
  EXPECT_EQ(va.copy[__GL_VARRAY_NORMAL], va.arrays[__GL_VARRAY_NORMAL].copyProc);
  glDisable(GL_TEXTURE_GEN_S);
  ValidatePending();
  EXPECT_EQ(va.neededFields & N, 0u);
  EXPECT_EQ(va.compileIndex, 6);

  // A locked range compiled without normals is compiled again with them.
  for (int i = 0; i < 64; ++i) data[i] = GLfloat(i % 7) * 0.125f;
  // The points go to a recorder: the window has no memory to draw into.
  glLockArraysVLX(0, 8);
  ValidatePending();
  prim_stream::Install(gc);
  glDrawArrays(GL_POINTS, 0, 8);
  glEnable(GL_TEXTURE_GEN_S);
  ValidatePending();
  prim_stream::Install(gc);
  glDrawArrays(GL_POINTS, 0, 8);
  prim_stream::Take();
  EXPECT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  const GlVertex *v = __glVarrayBatchVertex(va, 5);
  EXPECT_EQ(v->normal.x, data[15]);
  EXPECT_EQ(v->normal.y, data[16]);
  EXPECT_EQ(v->normal.z, data[17]);
  glUnlockArraysVLX();
}

// The test, d exactly 0 included, from the vertex's own position and normal.
TEST_F(ArrayPickers, CullVertexClassification) {
  GlVertexArrayMachine &va = gc->vertexArray;
  va.frontCullBits = 0x1u;  // markers, to tell the two answers apart
  va.backCullBits = 0x2u;
  struct Case {
    bool position;
    GlCoord p, obj, normal;
    uint32_t bits;
  };
  const Case cases[] = {
      {true, {0, 0, 5, 1}, {0, 0, 0, 1}, {0, 0, 1, 0}, 0x1},    // facing the point
      {true, {0, 0, 5, 1}, {0, 0, 0, 1}, {0, 0, -1, 0}, 0x2},   // away from it
      {true, {0, 0, 5, 1}, {0, 0, 5, 1}, {0, 0, 1, 0}, 0x2},    // on it: d = 0
      {true, {3, 0, 0, 1}, {0, 0, 0, 1}, {0, 1, 0, 0}, 0x2},    // edge on: d = 0
      {false, {0, 0, 1, 0}, {9, 9, 9, 1}, {0, 0, 1, 0}, 0x1},   // a direction
      {false, {0, 0, 1, 0}, {9, 9, 9, 1}, {1, 0, 0, 0}, 0x2},   // d = 0
      {false, {1, 1, 0, 0}, {0, 0, 0, 1}, {-1, 1, 0, 0}, 0x2},  // d = 0 from two terms
  };
  for (const Case &c : cases) {
    va.flags = __GL_VARRAY_CULL_VERTEX | (c.position ? __GL_VARRAY_CULL_POSITION : 0);
    gc->transform.cullPoint = c.p;
    GlVertex v = {};
    v.obj = c.obj;
    v.normal = c.normal;
    EXPECT_EQ(__glVarrayCullBits(gc, &v), c.bits);
  }
  va.flags = 0;
  GlVertex v = {};
  EXPECT_EQ(__glVarrayCullBits(gc, &v), 0u) << "the test off";
}

}  // namespace
}  // namespace varray_test
