// What the pickers install for a feature word, run as the immediate entry
// runs it: the composite's transform into clip coordinates, then the clip
// check of the size class with `has` holding the class alone. Codes and
// window coordinates are held to double precision from the object
// coordinates, for every matrix type and vertex size, with and without
// 3DNow!, and two-component vertices take the shortcut only while the z
// translation keeps z inside (0.5 yes, 1.5 no: every vertex beyond the far
// plane).
#include <math.h>

#include <random>
#include <string>

#include "geometry/s_clipcheck.h"
#include "geometry/s_vertex_pick.h"
#include "geometry/s_xform.h"
#include "tests/geometry/xform_asm/asm_call.h"
#include "tests/geometry/xform_asm/clip_model.h"
#include "tests/geometry/xform_asm/xform_reference.h"

namespace {

struct Chain {
  const char *name;
  Isa isa;
  GlCpuFlags flags;
  uint32_t (*frustum)(GlContext *, GlVertex *);
};
const Chain kChains[] = {
    {"x87", Isa::X87, 0, __glI386ClipCheckFrustum},
    {"K3D", Isa::K3D, __GL_CPU_K3D, __glK3DClipCheckFrustum},
};

void PrintTo(const Chain &chain, std::ostream *os) { *os << chain.name; }

const uint32_t kSizeClass[] = {__GL_HAS_SIZE2, __GL_HAS_SIZE3, __GL_HAS_SIZE4};
const float kWs[] = {1, 2, 0.5f, -1, 1.5f};

// How far a window coordinate may be from the model: the transform's error
// in c and w carried through c / w and the scale, and the check's own
// rounding (the 3DNow! check rounds the quotient, product and sum).
double WindowTolerance(Isa isa, double scale, const XformExpected &e, int k, double window) {
  const double c = XformTolerance(isa, e.value[k], e.magnitude[k], float(e.value[k]));
  const double w = XformTolerance(isa, e.value[3], e.magnitude[3], float(e.value[3]));
  return fabs(scale) * (c + w) / fabs(e.value[3]) + 4 * UlpOf(window) + 4 * fabs(scale) * 0x1p-24;
}

// A vertex whose clip coordinates lie so near a face, or whose w so near
// zero, that rounding may decide its codes or blow up 1/w, tells nothing.
bool Decisive(const XformExpected &e) {
  const double w = e.value[3];
  double margin = 1e-4 * e.magnitude[3];
  if (fabs(w) <= 1e-2 * e.magnitude[3]) return false;
  for (int k = 0; k < 3; ++k) {
    margin = fmax(margin, 1e-4 * e.magnitude[k]);
    if (fabs(e.value[k] - w) <= margin || fabs(e.value[k] + w) <= margin) return false;
  }
  return true;
}

// A composite of this type whose x, y and z rows are a quarter of w's, so
// that many vertices land inside (the identity stays the identity).
TestMatrix ChainMatrix(uint32_t type, std::mt19937 &rng) {
  TestMatrix t = MakeMatrix(type, __GL_MT_GENERAL, rng);
  if (type == __GL_MT_IDENTITY) return t;
  for (int column = 0; column < 4; ++column)
    for (int row = 0; row < 3; ++row)
      SetElement(&t, 4 * column + row, t.m.matrix[4 * column + row] / 4);
  return t;
}

class VertexChain : public testing::TestWithParam<Chain> {
 protected:
  void SetUp() override {
    SKIP_UNLESS_PROCESSOR_RUNS(GetParam().isa);
    ctx.gc->transform.modelView = &modelView;
  }

  // Installs the composite `t` and picks as a change of it does.
  void Install(const TestMatrix &t) {
    GlTransform &mv = *ctx.gc->transform.modelView;
    mv.mvp = t.m;
    __glGenericPickMatrixProcs(ctx.gc, &mv.mvp);
    __glGenericPickVertexProcs(ctx.gc);
  }

  // One vertex through the installed transform and check; returns the
  // codes.
  uint32_t ExpectVertex(const TestMatrix &t, const float *in, int size) {
    GlContext *gc = ctx.gc;
    const GlMatrix &mvp = gc->transform.modelView->mvp;
    GlVertex v;
    memset(&v, 0, sizeof v);
    memcpy(&v.obj, in, size * sizeof(float));
    const GlXformProc xf = size == 2 ? mvp.xf2 : size == 3 ? mvp.xf3 : mvp.xf4;
    CallChecked(reinterpret_cast<const void *>(xf), {Word(&v.clip), Word(&v.obj), Word(&mvp)});
    v.has = kSizeClass[size - 2];
    const uint32_t codes = CallChecked(reinterpret_cast<const void *>(gc->procs.clipCheck[size - 2]),
                                       {Word(gc), Word(&v)});
    v.has |= codes;

    const XformExpected e = ReferenceXform(t, in, size);
    if (!Decisive(e)) return codes;
    GlCoord exact = {float(e.value[0]), float(e.value[1]), float(e.value[2]), float(e.value[3])};
    const ClipModel m = ModelOf(gc->state.viewport, exact);
    EXPECT_EQ(codes, m.codes) << std::hex << "codes";
    EXPECT_EQ(v.has, kSizeClass[size - 2] | __GL_HAS_CLIP | m.codes) << std::hex << "has";
    if (codes) return codes;
    const GlViewport &vp = gc->state.viewport;
    const double scale[3] = {vp.xScale, vp.yScale, vp.zScale};
    const double center[3] = {vp.xCenter, vp.yCenter, vp.zCenter};
    const float *window = &v.window.x;
    for (int k = 0; k < 3; ++k) {
      const double want = scale[k] * e.value[k] / e.value[3] + center[k];
      EXPECT_TRUE(Within(window[k], want, WindowTolerance(GetParam().isa, scale[k], e, k, want)))
          << "window " << k;
    }
    return codes;
  }

  ViewportContext ctx{GetParam().flags};
  GlTransform modelView = {};
};

TEST_P(VertexChain, EveryTypeAndSizeAgreesWithDoublePrecision) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> d(-2, 2);
  for (uint32_t type = __GL_MT_GENERAL; type <= __GL_MT_IDENTITY; ++type) {
    for (int size = 2; size <= 4; ++size) {
      for (int matrix = 0; matrix < 8; ++matrix) {
        SCOPED_TRACE(testing::Message() << "type " << type << ", size " << size << ", matrix "
                                        << matrix);
        const TestMatrix installed = ChainMatrix(type, rng);
        Install(installed);
        EXPECT_EQ(ctx.gc->procs.clipCheck[1], GetParam().frustum);
        EXPECT_EQ(ctx.gc->procs.clipCheck[2], GetParam().frustum);
        for (int n = 0; n < 40; ++n) {
          const float in[4] = {d(rng), d(rng), d(rng), kWs[n % 5]};
          SCOPED_TRACE(testing::Message() << "vertex " << n);
          ExpectVertex(installed, in, size);
          if (HasFailure()) return;
        }
      }
    }
  }
}

struct ShortcutCase {
  float zTranslation;
  bool shortcut;
};
const ShortcutCase kShortcutCases[] = {
    {0.5f, true}, {-0.5f, true}, {1.0f, true}, {-1.0f, true}, {1.5f, false}, {-1.5f, false},
};

TEST_P(VertexChain, TwoComponentVerticesTakeTheShortcutOnlyWhileZStaysInside) {
  std::mt19937 rng(9);
  std::uniform_real_distribution<float> d(-2, 2);
  for (uint32_t type = __GL_MT_IS2D; type <= __GL_MT_IS2DNR; ++type) {
    for (const ShortcutCase &c : kShortcutCases) {
      SCOPED_TRACE(testing::Message() << "type " << type << ", z translation " << c.zTranslation);
      TestMatrix t = ChainMatrix(type, rng);
      SetElement(&t, 14, c.zTranslation);
      Install(t);
      EXPECT_EQ(ctx.gc->procs.clipCheck[0],
                c.shortcut ? __glClipCheckFrustum2D : GetParam().frustum);
      for (int n = 0; n < 40; ++n) {
        const float in[2] = {d(rng), d(rng)};
        SCOPED_TRACE(testing::Message() << "vertex " << n);
        const uint32_t codes = ExpectVertex(t, in, 2);
        const uint32_t beyond = c.zTranslation > 0 ? __GL_CLIP_FAR : __GL_CLIP_NEAR;
        EXPECT_EQ((codes & beyond) != 0, !c.shortcut) << std::hex << codes;
        if (HasFailure()) return;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryFeatureWord, VertexChain, testing::ValuesIn(kChains),
                         [](const testing::TestParamInfo<Chain> &info) {
                           return std::string(info.param.name);
                         });

}  // namespace
