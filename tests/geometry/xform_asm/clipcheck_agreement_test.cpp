// The frustum checks agree: the portable reference, the x87 check and the
// 3DNow! check give the same codes and store the same fields as a
// double-precision model: 1/w in every case, the clip bit added to `has`,
// window coordinates exactly when no code is set, nothing else. A
// coordinate or w that is not a number puts the vertex outside.
#include <math.h>

#include <memory>
#include <random>
#include <string>

#include "core/context.h"
#include "geometry/s_clipcheck.h"
#include "tests/geometry/xform_asm/asm_call.h"
#include "tests/geometry/xform_asm/clip_model.h"

namespace {

struct Check {
  const char *name;
  uint32_t (*proc)(GlContext *gc, GlVertex *v);
  Isa isa;
};
const Check kChecks[] = {
    {"__glClipCheckFrustum", __glClipCheckFrustum, Isa::Portable},
    {"__glI386ClipCheckFrustum", __glI386ClipCheckFrustum, Isa::X87},
    {"__glK3DClipCheckFrustum", __glK3DClipCheckFrustum, Isa::K3D},
};

void PrintTo(const Check &check, std::ostream *os) { *os << check.name; }

const float kInf = INFINITY;
const float kNaN = FloatOf(0x7FC00000u);
const float kNegativeNaN = FloatOf(0xFFC00000u);
const float kGuard = -12345.0f;
const uint32_t kHasBefore = __GL_HAS_SIZE3 | __GL_HAS_EDGEFLAG_BOUNDARY | __GL_HAS_FRONT_COLOR;

// Runs one check on a vertex with these clip coordinates and compares
// every field with the model.
void ExpectAgreement(const Check &check, GlContext *gc, const GlCoord &clip) {
  SCOPED_TRACE(check.name);
  GlVertex v;
  memset(&v, 0x5A, sizeof v);
  v.clip = clip;
  v.has = kHasBefore;
  v.window = GlCoord{kGuard, kGuard, kGuard, kGuard};
  const GlVertex before = v;
  const uint32_t codes =
      check.isa == Isa::Portable
          ? check.proc(gc, &v)
          : CallChecked(reinterpret_cast<const void *>(check.proc), {Word(gc), Word(&v)});
  const ClipModel m = ModelOf(gc->state.viewport, clip);

  EXPECT_EQ(codes, m.codes) << std::hex << "codes";
  EXPECT_EQ(v.has, kHasBefore | __GL_HAS_CLIP) << std::hex << "has";
  // 1/w: correctly rounded, or one step off from the 3DNow! reciprocal
  // estimate and its refinement.
  if (check.isa == Isa::K3D)
    EXPECT_TRUE(Within(v.window.w, m.invW, UlpOf(m.invW))) << "1/w";
  else
    EXPECT_TRUE(SameFloat(v.window.w, m.invW)) << "1/w";
  const float *window = &v.window.x;
  for (int k = 0; k < 3; ++k) {
    if (m.codes != 0) {
      EXPECT_EQ(window[k], kGuard) << "window " << k << " written for a vertex outside";
      continue;
    }
    // Rounded once, as the model: the same value. 3DNow! rounds the
    // quotient, the product with the scale and the sum.
    double tolerance = 0;
    if (check.isa == Isa::K3D)
      tolerance = 3 * UlpOf(fmax(fabs(m.term[k]), fabs(double(m.window[k]))));
    EXPECT_TRUE(Within(window[k], m.window[k], tolerance)) << "window " << k;
  }
  // Nothing else changes.
  GlVertex rest = v;
  rest.has = before.has;
  rest.window = before.window;
  EXPECT_EQ(memcmp(&rest, &before, sizeof rest), 0) << "a field besides has and window changed";
}

struct ClipRow {
  const char *what;
  GlCoord clip;
  uint32_t codes;
};

const ClipRow kRows[] = {
    {"inside, w = 1", {0.5f, -0.25f, 0.125f, 1}, 0},
    {"on every plane, w = 1", {1, -1, 1, 1}, 0},
    {"on every plane, w = 2", {-2, 2, -2, 2}, 0},
    {"one step beyond x = w", {nextafterf(2, 3), 0, 0, 2}, 0x20000},
    {"x = 3, w = 2", {3, 0, 0, 2}, 0x20000},
    {"x < -w", {-3, 0, 0, 2}, 0x10000},
    {"y < -w", {0, -3, 0, 2}, 0x40000},
    {"y > w", {0, 3, 0, 2}, 0x80000},
    {"z < -w", {0, 0, -3, 2}, 0x100000},
    {"z > w", {0, 0, 3, 2}, 0x200000},
    {"three sides", {3, -3, 3, 2}, 0x260000},
    {"w = 3 inside", {2.5f, -1, 0.75f, 3}, 0},
    {"w = -1 at the origin: both codes of every axis", {0, 0, 0, -1}, 0x3F0000},
    {"w = -2 inside |c| <= |w|", {1, 1, 1, -2}, 0x3F0000},
    {"w = -2 beyond the positive side", {3, 3, 3, -2}, 0x2A0000},
    {"w = -2 beyond the negative side", {-3, -3, -3, -2}, 0x150000},
    {"w = +0 at the origin", {0, 0, 0, 0.0f}, 0},
    {"w = -0 at the origin", {0, 0, 0, -0.0f}, 0},
    {"w = +0 with -0 coordinates", {-0.0f, -0.0f, -0.0f, 0.0f}, 0},
    {"w = +0, x = 1", {1, 0, 0, 0.0f}, 0x20000},
    {"w = +0, x = -1", {-1, 0, 0, 0.0f}, 0x10000},
    {"w = -0, x = 1", {1, 0, 0, -0.0f}, 0x20000},
    {"w = -0, x = -1", {-1, 0, 0, -0.0f}, 0x10000},
    {"w a NaN with the sign clear", {0.5f, 0.5f, 0.5f, kNaN}, 0x2A0000},
    {"w a NaN with the sign set", {0.5f, 0.5f, 0.5f, kNegativeNaN}, 0x2A0000},
    {"w a NaN at the origin", {0, 0, 0, kNaN}, 0x2A0000},
    {"w = +inf, finite coordinates", {1e30f, -1e30f, 5, kInf}, 0},
    {"w = +inf, x = +inf", {kInf, 0, 0, kInf}, 0},
    {"w = +inf, x = -inf", {-kInf, 0, 0, kInf}, 0},
    {"w = +inf, x a NaN", {kNaN, 0, 0, kInf}, 0x20000},
    {"w = -inf", {0, 0, 0, -kInf}, 0x3F0000},
    {"x a NaN, w = 1", {kNaN, 0, 0, 1}, 0x20000},
    {"x a NaN with the sign set, w = 1", {kNegativeNaN, 0, 0, 1}, 0x20000},
    {"y a NaN, w = 2", {0, kNaN, 0, 2}, 0x80000},
    {"z a NaN, w = 0.5", {0, 0, kNegativeNaN, 0.5f}, 0x200000},
    {"every coordinate a NaN", {kNaN, kNegativeNaN, kNaN, 1}, 0x2A0000},
    {"x a NaN, w = -1", {kNaN, 0, 0, -1}, 0x3E0000},
    {"x a NaN, w = +0", {kNegativeNaN, 0, 0, 0.0f}, 0x20000},
    {"x a NaN, w = -0", {kNaN, 0, 0, -0.0f}, 0x20000},
    {"x = +inf, w = 1", {kInf, 0, 0, 1}, 0x20000},
    {"x = -inf, w = 1", {-kInf, 0, 0, 1}, 0x10000},
    // Coordinate times scale overflows single precision; the quotient
    // does not.
    {"huge coordinates on the planes", {1e37f, -1e37f, 1e37f, 1e37f}, 0},
    {"huge w, small coordinates", {1, 2, 3, 8e37f}, 0},
    {"tiny w at the origin", {0, 0, 0, 1e-30f}, 0},
    {"tiny w, x beyond", {1e-29f, 0, 0, 1e-30f}, 0x20000},
    {"w = 1 exactly: 1/w is w", {0.3f, 0.6f, -0.9f, 1}, 0},
    {"w = 3: 1/w rounded", {1, 1, 1, 3}, 0},
    {"w = 7, inside", {-6.5f, 6.5f, 0.1f, 7}, 0},
};

class ClipCheckRows : public testing::TestWithParam<Check> {};

TEST_P(ClipCheckRows, AgreeWithTheModelOnEveryRow) {
  const Check &check = GetParam();
  SKIP_UNLESS_PROCESSOR_RUNS(check.isa);
  ViewportContext ctx;
  for (const ClipRow &row : kRows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(ModelOf(ctx.gc->state.viewport, row.clip).codes, row.codes) << std::hex << "table";
    ExpectAgreement(check, ctx.gc, row.clip);
  }
}

// Vertices around the volume with w of either sign, exactly 1 now and then,
// and coordinates now and then exactly on a plane.
TEST_P(ClipCheckRows, AgreeWithTheModelOnScatteredVertices) {
  const Check &check = GetParam();
  SKIP_UNLESS_PROCESSOR_RUNS(check.isa);
  ViewportContext ctx;
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> unit(-1.5f, 1.5f), magnitude(-2, 2);
  for (int i = 0; i < 2000; ++i) {
    float w = i % 10 == 0 ? 1.0f : ldexpf(1.0f + fabsf(unit(rng)), int(magnitude(rng) * 4));
    if (i % 7 == 3) w = -w;
    GlCoord c = {unit(rng) * fabsf(w), unit(rng) * fabsf(w), unit(rng) * fabsf(w), w};
    if (i % 5 == 1) c.y = i % 2 ? w : -w;
    SCOPED_TRACE(testing::Message() << "vertex " << i << std::hexfloat << " (" << c.x << ", " << c.y
                                    << ", " << c.z << ", " << c.w << ")");
    ExpectAgreement(check, ctx.gc, c);
    if (HasFailure()) break;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryCheck, ClipCheckRows, testing::ValuesIn(kChecks),
                         [](const testing::TestParamInfo<Check> &info) {
                           return std::string(info.param.name + 4);
                         });

}  // namespace
