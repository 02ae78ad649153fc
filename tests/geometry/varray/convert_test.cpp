// Every converter and every compile against the immediate entries: an
// element compiled into the batch buffer must equal the vertex and the
// current values the immediate calls of glArrayElement make of it.
#include <gtest/gtest.h>

#include <limits.h>
#include <math.h>
#include <string.h>

#include <functional>
#include <string>
#include <vector>

#include "geometry/s_varray.h"
#include "geometry/s_varray_compile.h"
#include "geometry/s_varray_pick.h"
#include "tests/geometry/varray/varray_fixture.h"
#include "tests/support/counting_imports.h"

namespace varray_test {
namespace {

// Extreme values of each type, as doubles.
std::vector<double> Extremes(GLenum type) {
  switch (type) {
    case GL_BYTE: return {-128, 127, 0, -1, 1};
    case GL_UNSIGNED_BYTE: return {0, 255, 128, 1};
    case GL_SHORT: return {-32768, 32767, 0, -1, 3};
    case GL_UNSIGNED_SHORT: return {65535, 0, 32768, 7};
    case GL_INT: return {double(INT_MIN), double(INT_MAX), 0, -1, 1 << 30};
    case GL_UNSIGNED_INT: return {double(UINT_MAX), 0, 2147483648.0, 1};
    case GL_FLOAT: return {0.25, -3.5, 1e30, -1e-30, 7.0};
    default: return {1e300, -1e300, 0.1, -2.75, 123456789.123456789};
  }
}

int Bytes(GLenum type) {
  switch (type) {
    case GL_BYTE: case GL_UNSIGNED_BYTE: return 1;
    case GL_SHORT: case GL_UNSIGNED_SHORT: return 2;
    case GL_DOUBLE: return 8;
    default: return 4;
  }
}

void Store(GLenum type, double value, uint8_t *at) {
  switch (type) {
    case GL_BYTE: { GLbyte v = GLbyte(value); memcpy(at, &v, 1); break; }
    case GL_UNSIGNED_BYTE: { GLubyte v = GLubyte(value); memcpy(at, &v, 1); break; }
    case GL_SHORT: { GLshort v = GLshort(value); memcpy(at, &v, 2); break; }
    case GL_UNSIGNED_SHORT: { GLushort v = GLushort(value); memcpy(at, &v, 2); break; }
    case GL_INT: { GLint v = GLint(value); memcpy(at, &v, 4); break; }
    case GL_UNSIGNED_INT: { GLuint v = GLuint(value); memcpy(at, &v, 4); break; }
    case GL_FLOAT: { GLfloat v = GLfloat(value); memcpy(at, &v, 4); break; }
    default: memcpy(at, &value, 8); break;
  }
}

constexpr int kElements = 6;

// One client array filled with extreme values: element i, component k is
// value (i + k) of the type's list; the stride leaves a gap of 3 bytes.
struct ArrayData {
  GLenum type = GL_FLOAT;
  int size = 3;
  int stride = 0;
  std::vector<uint8_t> bytes;
  void Fill(GLenum t, int n) {
    type = t;
    size = n;
    stride = n * Bytes(t) + 3;
    bytes.assign(size_t(stride) * kElements, 0xCD);
    const std::vector<double> values = Extremes(t);
    for (int i = 0; i < kElements; ++i)
      for (int k = 0; k < n; ++k)
        Store(t, values[size_t(i + k) % values.size()], &bytes[size_t(i * stride + k * Bytes(t))]);
  }
};

std::vector<GlVertex> gHanded;
void Keep(GlContext *, GlVertex *v) { gHanded.push_back(*v); }

bool SameFloats(const void *a, const void *b, size_t n) { return memcmp(a, b, n * 4) == 0; }

std::string Floats(const GLfloat *f, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += std::to_string(f[i]) + " ";
  return s;
}

class Convert : public VarrayTest {
 protected:
  ArrayData vertex, normal, color, index, texture;
  std::vector<uint8_t> edges = std::vector<uint8_t>(kElements);

  void Bind() {
    glVertexPointer(vertex.size, vertex.type, vertex.stride, vertex.bytes.data());
    glNormalPointer(normal.type, normal.stride, normal.bytes.data());
    glColorPointer(color.size, color.type, color.stride, color.bytes.data());
    glIndexPointer(index.type, index.stride, index.bytes.data());
    glTexCoordPointer(texture.size, texture.type, texture.stride, texture.bytes.data());
    glEdgeFlagPointer(0, edges.data());
    for (GLenum a : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY, GL_INDEX_ARRAY,
                     GL_TEXTURE_COORD_ARRAY, GL_EDGE_FLAG_ARRAY})
      glEnableClientState(a);
    ASSERT_EQ(TakeError(), GLenum(GL_NO_ERROR));
  }

  void Defaults() {
    vertex.Fill(GL_FLOAT, 3);
    normal.Fill(GL_FLOAT, 3);
    color.Fill(GL_FLOAT, 4);
    index.Fill(GL_FLOAT, 1);
    texture.Fill(GL_FLOAT, 4);
    for (int i = 0; i < kElements; ++i) edges[size_t(i)] = uint8_t(i % 2 ? 0 : 7);
  }

  // Validates, then chooses the compile for `needed` and `compileIndex` as
  // the procs picker would have derived them.
  void Pick(uint32_t needed, int32_t compileIndex) {
    ValidatePending();
    GlVertexArrayMachine &va = gc->vertexArray;
    va.neededFields = needed;
    va.compileIndex = compileIndex;
    __glGenericPickVertexArrayEnables(gc);
  }

  // Compiles element i with `compile` into batch position 2 and compares it
  // with what glArrayElement(i) gives through the immediate entries.
  void Compare(int i, int32_t compileIndex, GlCompileProc compile, bool allFields = false,
               bool edge = true) {
    SCOPED_TRACE(testing::Message() << "element " << i);
    GlVertexArrayMachine &va = gc->vertexArray;
    GlVertex *got = __glVarrayBatchVertex(va, 2);
    memset(got, 0xEE, sizeof *got);
    got->color = &got->colors[0];
    compile(gc, 2, i, 1);

    gHanded.clear();
    gc->procs.primVertex = Keep;
    glArrayElement(i);
    ASSERT_EQ(gHanded.size(), 1u);
    const GlVertex &want = gHanded[0];
    const GlCurrentState &cur = gc->state.current;

    EXPECT_TRUE(SameFloats(&got->obj, &want.obj, 4))
        << Floats(&got->obj.x, 4) << "vs " << Floats(&want.obj.x, 4);
    const uint32_t boundary = __GL_HAS_EDGEFLAG_BOUNDARY;
    EXPECT_EQ(got->has & ~boundary, want.has & ~boundary);
    if (allFields && edge) {
      EXPECT_EQ(got->has & boundary, cur.edgeFlag);
    }
    EXPECT_TRUE(SameFloats(&got->clip, &want.clip, 4));
    if (!(want.has & 0xFFFF0000u)) {  // window coordinates of vertices inside only
      EXPECT_TRUE(SameFloats(&got->window, &want.window, 4))
          << Floats(&got->window.x, 4) << "vs " << Floats(&want.window.x, 4);
    }
    if (allFields || (compileIndex & 1)) {
      EXPECT_TRUE(SameFloats(&got->normal, cur.normal, 3))
          << Floats(&got->normal.x, 3) << "vs " << Floats(cur.normal, 3);
    }
    if (allFields || (compileIndex & 2)) {
      if (gc->modes.rgbMode)
        EXPECT_TRUE(SameFloats(&got->colors[0], &cur.color, 4))
            << Floats(&got->colors[0].r, 4) << "vs " << Floats(&cur.color.r, 4);
      else
        EXPECT_TRUE(SameFloats(&got->colors[0].r, &cur.index, 1))
            << got->colors[0].r << " vs " << cur.index;
    }
    if (allFields || (compileIndex & 4)) {
      EXPECT_TRUE(SameFloats(&got->texture, &cur.texture, 4))
          << Floats(&got->texture.x, 4) << "vs " << Floats(&cur.texture.x, 4);
    }
  }

  // `edge`: whether the compile keeps the edge flag (the cull-free one
  // leaves that to the silhouette compile that calls it).
  void CompareAll(int32_t compileIndex, GlCompileProc compile, bool allFields = false,
                  bool edge = true) {
    Bind();
    Pick(allFields ? ~0u : NeededFor(compileIndex), allFields ? -1 : compileIndex);
    for (int i = 0; i < kElements; ++i)
      Compare(i, compileIndex, compile ? compile : gc->vertexArray.compileProc, allFields, edge);
  }

  static uint32_t NeededFor(int32_t compileIndex) {
    uint32_t needed = __GL_VARRAY_VERTEX_FIELDS;
    if (compileIndex & 1) needed |= __GL_VARRAY_NORMAL_FIELDS;
    if (compileIndex & 2) needed |= __GL_VARRAY_COLOR_FIELDS | __GL_VARRAY_INDEX_FIELDS;
    if (compileIndex & 4) needed |= __GL_VARRAY_TEXCOORD_FIELDS;
    return needed;
  }
};

struct Form {
  int array;
  int size;
  GLenum type;
};

// Every allowed form of every array.
std::vector<Form> AllForms() {
  std::vector<Form> forms;
  for (int n : {2, 3, 4})
    for (GLenum t : {GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE}) forms.push_back({__GL_VARRAY_VERTEX, n, t});
  for (GLenum t : {GL_BYTE, GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE})
    forms.push_back({__GL_VARRAY_NORMAL, 3, t});
  for (int n : {3, 4})
    for (GLenum t : {GL_BYTE, GL_UNSIGNED_BYTE, GL_SHORT, GL_UNSIGNED_SHORT, GL_INT,
                     GL_UNSIGNED_INT, GL_FLOAT, GL_DOUBLE})
      forms.push_back({__GL_VARRAY_COLOR, n, t});
  for (GLenum t : {GL_UNSIGNED_BYTE, GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE})
    forms.push_back({__GL_VARRAY_INDEX, 1, t});
  for (int n : {1, 2, 3, 4})
    for (GLenum t : {GL_SHORT, GL_INT, GL_FLOAT, GL_DOUBLE})
      forms.push_back({__GL_VARRAY_TEXCOORD, n, t});
  return forms;
}

// Every converter through every table row that uses its array, in both
// colour modes.
TEST_F(Convert, EveryFormThroughEveryCompileEqualsTheImmediateEntries) {
  for (bool rgb : {true, false}) {
    Use(TestModes(rgb));
    for (const Form &f : AllForms()) {
      if (f.array == (rgb ? __GL_VARRAY_INDEX : __GL_VARRAY_COLOR)) continue;
      for (int32_t row = 0; row < 8; ++row) {
        const bool uses = f.array == __GL_VARRAY_VERTEX ||
                          (f.array == __GL_VARRAY_NORMAL && (row & 1)) ||
                          ((f.array == __GL_VARRAY_COLOR || f.array == __GL_VARRAY_INDEX) &&
                           (row & 2)) ||
                          (f.array == __GL_VARRAY_TEXCOORD && (row & 4));
        if (!uses) continue;
        SCOPED_TRACE(testing::Message() << (rgb ? "RGBA" : "index") << " row " << row
                                        << " array " << f.array << " size " << f.size
                                        << " type 0x" << std::hex << f.type);
        Defaults();
        ArrayData *data[] = {&vertex, &normal, &color, &index, &texture};
        data[f.array]->Fill(f.type, f.size);
        CompareAll(row, nullptr);
        if (HasFatalFailure()) return;
      }
    }
  }
}

// The general compile and the cull-free one, which copy every field.
TEST_F(Convert, TheGeneralCompilesCopyEveryField) {
  for (bool rgb : {true, false}) {
    Use(TestModes(rgb));
    for (const Form &f : AllForms()) {
      if (f.array == (rgb ? __GL_VARRAY_INDEX : __GL_VARRAY_COLOR)) continue;
      SCOPED_TRACE(testing::Message() << (rgb ? "RGBA" : "index") << " array " << f.array
                                      << " size " << f.size << " type 0x" << std::hex << f.type);
      Defaults();
      ArrayData *data[] = {&vertex, &normal, &color, &index, &texture};
      data[f.array]->Fill(f.type, f.size);
      CompareAll(7, nullptr, true);
      EXPECT_EQ(gc->vertexArray.compileProc, CompileElementsAll);
      CompareAll(7, CompileElementsAllNoCull, true, false);
      if (HasFatalFailure()) return;
    }
  }
}

// Plain floats at the vertex stride: the direct-read compiles serve rows 1,
// 4 and 5; they too equal the immediate entries.
TEST_F(Convert, DirectReadsOfInterleavedFloats) {
  for (bool rgb : {true, false}) {
    Use(TestModes(rgb));
    const int kFloats = 12;  // t s | nx ny nz | x y z | colour or index (4)
    std::vector<GLfloat> block(size_t(kFloats) * kElements);
    const std::vector<double> values = Extremes(GL_FLOAT);
    for (size_t i = 0; i < block.size(); ++i) block[i] = GLfloat(values[i % values.size()]) * GLfloat(i % 7 + 1);
    const uint8_t *base = reinterpret_cast<const uint8_t *>(block.data());
    const GLsizei stride = kFloats * 4;
    for (int32_t row = 0; row < 8; ++row) {
      SCOPED_TRACE(testing::Message() << (rgb ? "RGBA" : "index") << " row " << row);
      glTexCoordPointer(2, GL_FLOAT, stride, base);
      glNormalPointer(GL_FLOAT, stride, base + 8);
      glVertexPointer(3, GL_FLOAT, stride, base + 20);
      if (rgb)
        glColorPointer(3, GL_FLOAT, stride, base + 32);
      else
        glIndexPointer(GL_FLOAT, stride, base + 32);
      for (GLenum a : {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_COLOR_ARRAY, GL_INDEX_ARRAY,
                       GL_TEXTURE_COORD_ARRAY})
        glEnableClientState(a);
      Pick(NeededFor(row), row);
      const GlCompileProc *table = rgb ? RGBInterleavedCompileProcs : CIInterleavedCompileProcs;
      EXPECT_EQ(gc->vertexArray.compileProc, table[row]);
      for (int i = 0; i < kElements; ++i) Compare(i, row, gc->vertexArray.compileProc);
      // The same layout with the vertex at another stride is not direct.
      glVertexPointer(3, GL_FLOAT, stride + 4, base + 20);
      Pick(NeededFor(row), row);
      const GlCompileProc *plain = rgb ? RGBCompileProcs : CICompileProcs;
      if (row == 1 || row == 4 || row == 5) {
        EXPECT_EQ(gc->vertexArray.compileProc, plain[row]);
      }
    }
  }
}

// An element list places each element at the next position, in list order.
TEST_F(Convert, ElementListsCompileInListOrder) {
  Defaults();
  Bind();
  Pick(NeededFor(0), 0);
  GlVertexArrayMachine &va = gc->vertexArray;
  const uint32_t list[] = {9, 9, 9, 5, 2};
  va.compileIndexed(gc, 3, 3, 2, list);
  const GLfloat *v = reinterpret_cast<const GLfloat *>(vertex.bytes.data());
  const auto x = [&](int element) {
    GLfloat f;
    memcpy(&f, reinterpret_cast<const uint8_t *>(v) + element * vertex.stride, 4);
    return f;
  };
  EXPECT_EQ(__glVarrayBatchVertex(va, 3)->obj.x, x(5));
  EXPECT_EQ(__glVarrayBatchVertex(va, 4)->obj.x, x(2));
  // Without a list, one run from `first`.
  va.compileIndexed(gc, 0, 4, 2, nullptr);
  EXPECT_EQ(__glVarrayBatchVertex(va, 0)->obj.x, x(4));
  EXPECT_EQ(__glVarrayBatchVertex(va, 1)->obj.x, x(5));
}

}  // namespace
}  // namespace varray_test
