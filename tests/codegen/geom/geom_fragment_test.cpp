// The matrix fragments and scaleby, each inside a small routine run from
// executable memory against a C reference in double precision (the x87
// unit runs at 53 bits, so the sums round as doubles do).
#include <gtest/gtest.h>

#include <string.h>

#include "codegen/og_geom.h"
#include "geometry/s_xform.h"
#include "tests/codegen/emitter/og_run_support.h"

namespace {

float gOut[4];
float gHookSeen;
uint32_t gHookArg;

class GeomFragment : public RunTest {};

// Copies x' (already stored) where the test can see it was stored first.
uint8_t *Hook(GlContext *gc, uint8_t *cb, uint32_t arg) {
  cb = emit_code(gc, cb, mov(gc, eax, mem(gc, value(gc, int32_t(uintptr_t(&gOut[0]))), nullptr, nullptr, 1)));
  cb = emit_code(gc, cb, mov(gc, mem(gc, value(gc, int32_t(uintptr_t(&gHookSeen))), nullptr, nullptr, 1), eax));
  return emit_code(gc, cb, mov(gc, mem(gc, value(gc, int32_t(uintptr_t(&gHookArg))), nullptr, nullptr, 1), value(gc, int32_t(arg))));
}

OgCode *Out(GlContext *gc, int i) {
  return mem(gc, value(gc, int32_t(uintptr_t(&gOut[i]))), nullptr, nullptr, 1);
}

GlMatrix TestMatrix() {
  GlMatrix m = {};
  const float values[16] = {1.5f,  -0.25f, 2.0f,  0.125f, 0.75f, 3.0f,  -1.0f, 0.5f,
                            -2.5f, 0.375f, 1.25f, -0.75f, 10.0f, -7.5f, 4.25f, 2.0f};
  memcpy(m.matrix, values, sizeof values);
  return m;
}

// The reference: what each type and size promises.
void Reference(const GlMatrix &mt, uint32_t type, uint32_t n, const float *p, double out[4],
               bool *hasW, bool *hasZ) {
  const float *m = mt.matrix;
  const double x = p[0], y = p[1], z = n > 2 ? p[2] : 0.0, w = n == 4 ? p[3] : 1.0;
  *hasZ = true;
  if (type >= 3) {
    out[0] = n == 4 ? x * m[0] + w * m[12] : x * m[0] + m[12];
    out[1] = n == 4 ? y * m[5] + w * m[13] : y * m[5] + m[13];
    out[2] = n == 4 ? z * m[10] + w * m[14] : z * m[10] + m[14];
    *hasZ = n != 2;
    *hasW = n == 4;
    out[3] = w;
    return;
  }
  for (int r = 0; r < 4; r++) {
    double s = x * m[r] + y * m[4 + r];
    if (n > 2) s += z * m[8 + r];
    s += n == 4 ? w * m[12 + r] : double(m[12 + r]);
    out[r] = s;
  }
  *hasW = type < 2 || n == 4;
  if (type == 2) out[3] = w;
}

TEST_F(GeomFragment, DoMatrixForEveryTypeAndSize) {
  GlMatrix m = TestMatrix();
  const float point[4] = {0.3f, -1.7f, 2.9f, 0.6f};
  for (uint32_t type = 0; type <= 5; type++) {
    for (uint32_t n = 2; n <= 4; n++) {
      SCOPED_TRACE("type " + std::to_string(type) + ", size " + std::to_string(n));
      m.matrixType = type;
      Gen g = Start();
      g.E(mov(gc, edx, g.Arg(1)));
      g.cb = doMatrix(gc, g.cb, Out(gc, 0), Out(gc, 1), Out(gc, 2), type, &m, n, Hook, 77);
      double expect[4];
      bool hasW = false, hasZ = true;
      Reference(m, type, n, point, expect, &hasW, &hasZ);
      if (hasW) g.E(fstp(gc, Out(gc, 3)));
      g.E(ret(gc));
      const void *routine = Done(g);
      for (float &o : gOut) o = -999.0f;
      gHookSeen = 0.0f;
      gHookArg = 0;
      RunChecked(routine, {uint32_t(uintptr_t(point))});
      EXPECT_EQ(gOut[0], float(expect[0]));
      EXPECT_EQ(gOut[1], float(expect[1]));
      EXPECT_EQ(gOut[2], hasZ ? float(expect[2]) : -999.0f);
      EXPECT_EQ(gOut[3], hasW ? float(expect[3]) : -999.0f);
      EXPECT_EQ(gHookSeen, gOut[0]) << "the hook runs once x' is stored";
      EXPECT_EQ(gHookArg, 77u);
    }
  }
}

TEST_F(GeomFragment, NormalTimesTheInverseTranspose) {
  const GlMatrix m = TestMatrix();
  const float normal[3] = {0.48f, -0.6f, 0.64f};
  Gen g = Start();
  g.E(mov(gc, edx, g.Arg(1)));
  g.cb = doNormalMatrix(gc, g.cb, Out(gc, 0), Out(gc, 1), Out(gc, 2), &m);
  g.E(ret(gc));
  RunChecked(Done(g), {uint32_t(uintptr_t(normal))});
  for (int r = 0; r < 3; r++) {
    const double e = double(normal[0]) * m.matrix[r] + double(normal[1]) * m.matrix[4 + r] +
                     double(normal[2]) * m.matrix[8 + r];
    EXPECT_EQ(gOut[r], float(e)) << "row " << r;
  }
}

TEST_F(GeomFragment, ScalebyMultipliesWithMovesShiftsAndAdds) {
  // Instructions: one move, then per set bit above the lowest a shift or a
  // doubling, plus an add for each odd step.
  struct Case {
    uint32_t k, instructions;
  } const cases[] = {{1, 1},  {2, 2},  {3, 3},  {4, 2},  {5, 3},  {6, 4},  {7, 5},
                     {8, 2},  {9, 3},  {10, 4}, {11, 5}, {12, 4}, {13, 5}, {14, 6},
                     {15, 7}, {16, 2}, {144, 4}};
  for (const Case &c : cases) {
    SCOPED_TRACE("k = " + std::to_string(c.k));
    Gen g = Start();
    g.E(mov(gc, ecx, g.Arg(1)));
    uint8_t *from = g.cb;
    g.cb = scaleby(gc, g.cb, eax, ecx, c.k);
    const std::vector<uint8_t> body(from, g.cb);
    g.E(ret(gc));
    const void *routine = Done(g);
    for (uint32_t v : {0u, 1u, 7u, 1000u, 0x01234567u})
      EXPECT_EQ(RunChecked(routine, {v}), v * c.k) << "of " << v;
    std::vector<std::vector<std::string>> texts;
    if (Disassemble({body}, &texts)) {
      EXPECT_EQ(texts[0].size(), c.instructions);
    }
  }
}

TEST_F(GeomFragment, SetEsiStartsTheHasWord) {
  gc->vertexArray.sizeBits = 0x300;
  Gen g = Start();
  g.cb = set_esi(gc, g.cb, 0xFF);
  g.E(mov(gc, eax, esi));
  g.E(pop(gc, esi));
  g.E(ret(gc));
  EXPECT_EQ(RunChecked(Done(g), {}), 0x309u);
}

}  // namespace
