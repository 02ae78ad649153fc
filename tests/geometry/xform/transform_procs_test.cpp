// The transform procedures the pickers install, for each matrix type and
// point size, against double precision; the elements each type promises are
// seeded with NaN, so a procedure that reads one shows it.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "core/context.h"
#include "geometry/s_xform.h"
#include "tests/geometry/xform/matrix_reference.h"

namespace {

const float kNaN = nanf("");

// The pickers read only the context's processor features: none here (the
// x87 and 3DNow! choices are tested with those forms).
GlContext *NoFeatures() {
  static GlContext context;
  return &context;
}

// A matrix of the type: random values where the type allows them; NaN in
// the promised places (`seeded`), or the promised values (`promised`).
void OfType(uint32_t type, std::mt19937 &rng, GlMatrix *seeded, Ref *promised) {
  std::uniform_real_distribution<float> d(-3, 3);
  memset(seeded, 0, sizeof *seeded);
  for (float &e : seeded->matrix) e = d(rng);
  *promised = RefOf(*seeded);
  auto promise = [&](int i, double v) {
    seeded->matrix[i] = kNaN;
    (*promised)[i] = v;
  };
  if (type >= 1) promise(3, 0), promise(7, 0), promise(11, 0), promise(15, 1);
  if (type >= 2) promise(2, 0), promise(6, 0), promise(8, 0), promise(9, 0);
  if (type >= 3) promise(1, 0), promise(4, 0);
  if (type == 4) {
    // The identity's own values are read (it takes the 2D procedures).
    for (int i : {0, 5, 10}) seeded->matrix[i] = 1, (*promised)[i] = 1;
    for (int i : {12, 13, 14}) seeded->matrix[i] = 0, (*promised)[i] = 0;
  }
  seeded->matrixType = type;
}

struct Point {
  int size;  // 2, 3 or 4 components given
  float w;   // for size 4
};

struct ProcCase {
  uint32_t type;
  Point point;
};

std::string Name(const testing::TestParamInfo<ProcCase> &info) {
  const ProcCase &c = info.param;
  std::string w = c.point.w == 1 ? "1" : c.point.w == 0 ? "0" : c.point.w > 0 ? "2" : "Minus";
  return "Type" + std::to_string(c.type) + "Size" + std::to_string(c.point.size) +
         (c.point.size == 4 ? "W" + w : "");
}

class MatrixProcs : public testing::TestWithParam<ProcCase> {};

// Sums at extended precision rounded once: within about one single step of
// the exact value, relative to the magnitude of the terms.
TEST_P(MatrixProcs, MatchDoublePrecisionAndNeverReadPromisedElements) {
  const ProcCase &c = GetParam();
  std::mt19937 rng(c.type * 10 + c.point.size);
  std::uniform_real_distribution<float> d(-100, 100);
  GlContext *gc = NoFeatures();
  for (int round = 0; round < 200; ++round) {
    GlMatrix m;
    Ref promised;
    OfType(c.type, rng, &m, &promised);
    __glGenericPickMatrixProcs(gc, &m);
    float in[4] = {d(rng), d(rng), c.point.size > 2 ? d(rng) : 0,
                   c.point.size > 3 ? c.point.w : 1};
    std::array<double, 4> want = RefApply(promised, {in[0], in[1], in[2], in[3]});
    GlCoord out;
    GlXformProc proc = c.point.size == 2 ? m.xf2 : c.point.size == 3 ? m.xf3 : m.xf4;
    proc(&out, in, &m);
    const float got[4] = {out.x, out.y, out.z, out.w};
    for (int j = 0; j < 4; ++j)
      ASSERT_NEAR(got[j], want[j], 1e-6 * (1 + 4 * 300)) << "component " << j << " round " << round;
    // In place: the source may be the destination.
    float inOut[4];
    memcpy(inOut, in, sizeof inOut);
    proc(reinterpret_cast<GlCoord *>(inOut), inOut, &m);
    EXPECT_EQ(memcmp(inOut, got, sizeof inOut), 0);
  }
}

std::vector<ProcCase> AllProcCases() {
  std::vector<ProcCase> cases;
  for (uint32_t type = 0; type <= 4; ++type)
    for (Point p :
         {Point{2, 1}, Point{3, 1}, Point{4, 1}, Point{4, 2}, Point{4, 0}, Point{4, -0.5f}})
      cases.push_back({type, p});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(AllTypes, MatrixProcs, testing::ValuesIn(AllProcCases()), Name);

// The affine and 2D four-component forms give back w itself, exactly.
TEST(MatrixProcs, AffineFormsReturnWUnchanged) {
  for (uint32_t type = 1; type <= 4; ++type) {
    std::mt19937 rng(type);
    GlMatrix m;
    Ref promised;
    OfType(type, rng, &m, &promised);
    __glGenericPickMatrixProcs(NoFeatures(), &m);
    for (float w : {1.0f, 2.0f, 0.1f}) {
      const float in[4] = {1, 2, 3, w};
      GlCoord out;
      m.xf4(&out, in, &m);
      EXPECT_EQ(out.w, w) << "type " << type;
    }
  }
}

// ---- Inverse-transpose procedures ----

// A general inverse transpose transforms a normal with its fourth component
// read; an affine one gives w = 1 from three components; clip planes always
// take the general four-component form.
TEST(InvTransposeProcs, NormalsAndPlanes) {
  for (uint32_t type = 0; type <= 4; ++type) {
    std::mt19937 rng(100 + type);
    GlMatrix m;
    Ref promised;
    OfType(type, rng, &m, &promised);
    m.xf2 = __glXForm2_W;  // left as it was
    __glGenericPickInvTransposeProcs(NoFeatures(), &m);
    EXPECT_EQ(m.xf2, __glXForm2_W);
    EXPECT_EQ(m.xf4, __glXForm4) << "type " << type;

    const float normal[4] = {0.25f, -0.5f, 0.75f, type == 0 ? 2.0f : kNaN};
    GlCoord out;
    m.xf3(&out, normal, &m);
    std::array<double, 4> want =
        RefApply(promised, {normal[0], normal[1], normal[2], type == 0 ? 2.0 : 1.0});
    EXPECT_NEAR(out.x, want[0], 1e-5) << "type " << type;
    EXPECT_NEAR(out.y, want[1], 1e-5) << "type " << type;
    EXPECT_NEAR(out.z, want[2], 1e-5) << "type " << type;
    if (type != 0) {
      EXPECT_EQ(out.w, 1.0f) << "type " << type;
    }
  }
}

// ---- Transform by the transposed matrix ----

TEST(PreMultiply, TransformsByTheTranspose) {
  std::mt19937 rng(9);
  std::uniform_real_distribution<float> d(-5, 5);
  for (int round = 0; round < 100; ++round) {
    GlMatrix m;
    memset(&m, 0, sizeof m);
    for (float &e : m.matrix) e = d(rng);
    GlCoord v = {d(rng), d(rng), d(rng), d(rng)}, out;
    std::array<double, 4> want = RefApply(RefTranspose(RefOf(m)), {v.x, v.y, v.z, v.w});
    __glXForm4_PreMultiply(&out, &v, &m);
    ASSERT_NEAR(out.x, want[0], 1e-5);
    ASSERT_NEAR(out.y, want[1], 1e-5);
    ASSERT_NEAR(out.z, want[2], 1e-5);
    ASSERT_NEAR(out.w, want[3], 1e-5);
    __glXForm4_PreMultiply(&v, &v, &m);  // in place
    EXPECT_EQ(memcmp(&v, &out, sizeof v), 0);
  }
}

}  // namespace
