#include "tests/codegen/compile/compile_fixture.h"

#include <math.h>
#include <string.h>

#include <sstream>

#include "codegen/og_geom.h"
#include "geometry/s_prim.h"
#include "geometry/s_varray_compile.h"
#include "geometry/s_varray_pick.h"
#include "tests/codegen/emitter/og_support.h"

namespace compile_test {

namespace {

template <typename T>
void Put(std::vector<uint8_t> &bytes, size_t at, T v) {
  memcpy(&bytes[at], &v, sizeof v);
}

// A float as an element of `type`; integer types round to nearest and
// saturate, so the tests choose values in range.
void PutAs(std::vector<uint8_t> &bytes, size_t at, GLenum type, float v) {
  switch (type) {
    case GL_BYTE: Put<int8_t>(bytes, at, int8_t(lrintf(v))); break;
    case GL_UNSIGNED_BYTE: Put<uint8_t>(bytes, at, uint8_t(lrintf(v))); break;
    case GL_SHORT: Put<int16_t>(bytes, at, int16_t(lrintf(v))); break;
    case GL_UNSIGNED_SHORT: Put<uint16_t>(bytes, at, uint16_t(lrintf(v))); break;
    case GL_INT: Put<int32_t>(bytes, at, int32_t(llrint(double(v)))); break;
    case GL_UNSIGNED_INT: Put<uint32_t>(bytes, at, uint32_t(llrint(double(v)))); break;
    case GL_FLOAT: Put<float>(bytes, at, v); break;
    case GL_DOUBLE: Put<double>(bytes, at, double(v)); break;
    default: ADD_FAILURE() << "type " << type;
  }
}

bool Near(float a, float b, float tolerance) {
  if (a == b || (isnan(a) && isnan(b))) return true;
  return fabsf(a - b) <= tolerance;
}

uint16_t ControlWord() {
  uint16_t cw;
  __asm__ volatile("fnstcw %0" : "=m"(cw));
  return cw;
}

}  // namespace

uint32_t TypeBytes(GLenum type) {
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE: return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT: return 2;
    case GL_DOUBLE: return 8;
    default: return 4;
  }
}

int32_t ArrayData::Stride() const { return stride ? stride : size * int32_t(TypeBytes(type)); }

ArrayData MakeArray(GLenum type, int32_t size, int32_t stride, const std::vector<float> &values) {
  ArrayData a;
  a.type = type;
  a.size = size;
  a.stride = stride;
  const size_t count = values.size() / size_t(size);
  a.bytes.assign(count * size_t(a.Stride()) + 8, 0xEE);
  for (size_t e = 0; e < count; e++)
    for (int32_t c = 0; c < size; c++)
      PutAs(a.bytes, e * size_t(a.Stride()) + size_t(c) * TypeBytes(type), type,
            values[e * size_t(size) + size_t(c)]);
  return a;
}

std::vector<float> Values(uint32_t seed, size_t count, float lo, float hi) {
  std::vector<float> out(count);
  uint32_t s = seed * 2654435761u + 12345u;
  for (float &v : out) {
    s = s * 1664525u + 1013904223u;
    v = lo + (hi - lo) * float(s >> 8) / float(1u << 24);
  }
  return out;
}

void CompileTest::SetUp() {
  VarrayTest::SetUp();
  ASSERT_FALSE(gc->constants.cpuFlags & __GL_CPU_K3D);
}

void CompileTest::Ready() {
  gc->dirtyMask |= __GL_DIRTY_ALL;
  gc->beginMode = __GL_VALIDATE_PENDING;
  ValidatePending();
}

const void *CompileTest::Keep(const ArrayData &a) {
  kept_.push_back(a);
  return kept_.back().bytes.data();
}

void CompileTest::Vertices(const ArrayData &a) {
  glVertexPointer(a.size, a.type, a.stride, Keep(a));
  glEnableClientState(GL_VERTEX_ARRAY);
}
void CompileTest::Normals(const ArrayData &a) {
  glNormalPointer(a.type, a.stride, Keep(a));
  glEnableClientState(GL_NORMAL_ARRAY);
}
void CompileTest::Colors(const ArrayData &a) {
  glColorPointer(a.size, a.type, a.stride, Keep(a));
  glEnableClientState(GL_COLOR_ARRAY);
}
void CompileTest::TexCoords(const ArrayData &a) {
  glTexCoordPointer(a.size, a.type, a.stride, Keep(a));
  glEnableClientState(GL_TEXTURE_COORD_ARRAY);
}
void CompileTest::Indices(const ArrayData &a) {
  glIndexPointer(a.type, a.stride, Keep(a));
  glEnableClientState(GL_INDEX_ARRAY);
}

void *CompileTest::Routine(bool vcache, uint32_t n) {
  Ready();
  const GlVertexArrayMachine &va = gc->vertexArray;
  if (vcache) return __glGenerateCompileVcache(gc, n, 0x8000u);
  return __glGenerateCompileVcache(gc, uint32_t(va.arrays[__GL_VARRAY_VERTEX].size),
                                   uint32_t(va.compileIndex) & 0x6u);
}

void CompileTest::Fill() {
  GlVertexArrayMachine &va = gc->vertexArray;
  memset(va.buffer, 0xCD, size_t(va.bufferBytes));
}

Records CompileTest::Snapshot(int32_t dst, int32_t count) {
  Records r;
  for (int32_t i = 0; i < count; i++) r.records.push_back(*__glVarrayBatchVertex(gc->vertexArray, dst + i));
  return r;
}

Records CompileTest::RunC(int32_t dst, int32_t first, int32_t count) {
  Ready();
  Fill();
  __glVarrayCCompile(gc)(gc, dst, first, count);
  return Snapshot(dst, count);
}

Records CompileTest::RunGenerated(int32_t dst, int32_t first, int32_t count) {
  void *code = Routine();
  EXPECT_NE(code, nullptr);
  Fill();
  if (!code) return Snapshot(dst, count);
  const uint16_t cw = ControlWord();
  const OgCallResult r = RunFastChecked(code, uint32_t(uintptr_t(gc)), uint32_t(dst),
                                       {uint32_t(first), uint32_t(count)});
  EXPECT_EQ(r.fpuEnvironment[0] & 0x1F3F, cw & 0x1F3F) << "the caller's control word";
  return Snapshot(dst, count);
}

// The records in the batch buffer as the vertex cache leaves them for a
// pass of vertex size n, completed by `compile`.
template <typename F>
Records CompileTest::InCache(const std::vector<GlVertex> &start, uint32_t n, F compile) {
  Ready();
  GlVertexArrayMachine &va = gc->vertexArray;
  const GlVertexArrayMachine saved = va;
  va.cursor = uintptr_t(va.buffer);
  va.sizeBits = (n - 1) << 14;
  memcpy(va.buffer, start.data(), start.size() * sizeof(GlVertex));
  compile(int32_t(start.size()));
  Records r = Snapshot(0, int32_t(start.size()));
  va.cursor = saved.cursor;
  va.sizeBits = saved.sizeBits;
  return r;
}

Records CompileTest::RunCacheC(const std::vector<GlVertex> &start, uint32_t n) {
  return InCache(start, n, [&](int32_t count) { __glCompileElements_NoCopy(gc, 0, 0, count); });
}

Records CompileTest::RunCacheGenerated(const std::vector<GlVertex> &start, uint32_t n) {
  return InCache(start, n, [&](int32_t count) {
    void *code = __glGenerateCompileVcache(gc, n, 0x8000u);
    ASSERT_NE(code, nullptr);
    RunFastChecked(code, uint32_t(uintptr_t(gc)), 0, {0u, uint32_t(count)});
  });
}

testing::AssertionResult CompileTest::Same(const Records &c, const Records &g, const Compare &what) {
  std::ostringstream out;
  if (c.records.size() != g.records.size()) return testing::AssertionFailure() << "counts";
  const GlViewport &vp = gc->state.viewport;
  for (size_t i = 0; i < c.records.size(); i++) {
    GlVertex cv = c.records[i];
    GlVertex gv = g.records[i];
    std::ostringstream v;
    auto field = [&](const char *name, float a, float b, float tol) {
      if (!Near(a, b, tol)) v << " " << name << " " << a << " vs " << b << ";";
    };
    const uint32_t kCodes = 0xFFFF2000u | (what.sizeClass ? __GL_HAS_SIZE_MASK : 0);
    // Which codes a NaN gives depends on which products by zero a transform
    // leaves out; both paths must give it one, and the clippers recompute it.
    bool nan = false;
    for (int k = 0; k < 4; k++) nan = nan || isnan((&cv.obj.x)[k]);
    if (nan) {
      if (!(cv.has & __GL_PRIM_CLIP_MASK) || !(gv.has & __GL_PRIM_CLIP_MASK))
        v << std::hex << " NaN vertex has 0x" << cv.has << " vs 0x" << gv.has << std::dec << ";";
      for (int k = 0; k < 4; k++) field("obj", (&cv.obj.x)[k], (&gv.obj.x)[k], 0.0f);
      if (!v.str().empty()) out << "vertex " << i << ":" << v.str() << "\n";
      continue;
    }
    if ((cv.has & kCodes) != (gv.has & kCodes))
      v << std::hex << " has 0x" << cv.has << " vs 0x" << gv.has << std::dec << ";";
    if (what.obj)
      for (int k = 0; k < 4; k++) field("obj", (&cv.obj.x)[k], (&gv.obj.x)[k], 0.0f);
    if (what.normal)
      for (int k = 0; k < 3; k++) {
        const float e = (&cv.normal.x)[k];
        field("normal", e, (&gv.normal.x)[k], 1e-6f * fmaxf(1.0f, fabsf(e)));
      }
    if (!(cv.has & __GL_HAS_CULLED)) {
      field("1/w", cv.window.w, gv.window.w, 2e-6f * fmaxf(1.0f, fabsf(cv.window.w)));
      if (what.texture)
        for (int k = 0; k < 4; k++) field("texture", (&cv.texture.x)[k], (&gv.texture.x)[k], 0.0f);
      if (!(cv.has & __GL_PRIM_CLIP_MASK)) {
        field("window x", cv.window.x, gv.window.x, 2e-6f * fmaxf(1.0f, fabsf(cv.window.x)));
        field("window y", cv.window.y, gv.window.y, 2e-6f * fmaxf(1.0f, fabsf(cv.window.y)));
        if (what.windowZ)
          field("window z", cv.window.z, gv.window.z,
                2e-6f * fmaxf(fabsf(vp.zScale), fabsf(cv.window.z)));
      }
      if (what.colors && (!what.lit || !(cv.has & __GL_PRIM_CLIP_MASK))) {
        if (what.lit) {
          // What the render path sees: a record whose colour is not valid
          // yet is lit by the C validation.
          const uint32_t needs =
              gc->vertexBuffer.baseNeeds | gc->vertexBuffer.frontNeeds | __GL_HAS_FRONT_COLOR;
          for (GlVertex *r : {&cv, &gv})
            if (!(r->has & __GL_HAS_FRONT_COLOR))
              gc->procs.validateVertex[(r->has & __GL_HAS_SIZE_MASK) >> 14](gc, r, needs);
        }
        const GlColor &a = cv.colors[__GL_FRONTFACE], &b = gv.colors[__GL_FRONTFACE];
        field("red", a.r, b.r, what.colorTolerance);
        if (!gc->modes.colorIndexMode) {
          field("green", a.g, b.g, what.colorTolerance);
          field("blue", a.b, b.b, what.colorTolerance);
          if (what.alpha) field("alpha", a.a, b.a, what.colorTolerance);
        }
      }
    }
    if (!v.str().empty()) out << "vertex " << i << ":" << v.str() << "\n";
  }
  if (out.str().empty()) return testing::AssertionSuccess();
  return testing::AssertionFailure() << out.str();
}

}  // namespace compile_test
