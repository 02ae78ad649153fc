// The transform procedures the pickers install, by matrix type and the
// processor-feature word: the 3DNow! family whenever the word has 0x2,
// otherwise the x87 forms where they exist (three and four components of
// general and affine matrices) and the portable ones elsewhere.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "core/context.h"
#include "geometry/s_xform.h"

namespace {

struct Installed {
  GlXformProc xf2, xf3, xf4;
};

struct PickRow {
  uint32_t type;
  Installed plain, k3d;
};

// Type 7 does not occur; it is read as general, which assumes nothing.
const PickRow kMatrixRows[] = {
    {__GL_MT_GENERAL,
     {__glXForm2, __glI386XForm3, __glI386XForm4},
     {__glK3DXForm2, __glK3DXForm3, __glK3DXForm4}},
    {__GL_MT_W0001,
     {__glXForm2_W, __glI386XForm3_W, __glI386XForm4_W},
     {__glK3DXForm2_W, __glK3DXForm3_W, __glK3DXForm4_W}},
    {__GL_MT_IS2D,
     {__glXForm2_2DW, __glXForm3_2DW, __glXForm4_2DW},
     {__glK3DXForm2_2DW, __glK3DXForm3_2DW, __glK3DXForm4_2DW}},
    {__GL_MT_IS2DNR,
     {__glXForm2_2DNRW, __glXForm3_2DNRW, __glXForm4_2DNRW},
     {__glK3DXForm2_2DNRW, __glK3DXForm3_2DNRW, __glK3DXForm4_2DNRW}},
    {__GL_MT_IDENTITY,
     {__glXForm2_2DNRW, __glXForm3_2DNRW, __glXForm4_2DNRW},
     {__glK3DXForm2_2DNRW, __glK3DXForm3_2DNRW, __glK3DXForm4_2DNRW}},
    {7,
     {__glXForm2, __glI386XForm3, __glI386XForm4},
     {__glK3DXForm2, __glK3DXForm3, __glK3DXForm4}},
};

// The inverse transpose: xf3 for normals by type (a general one reads the
// fourth component), xf4 the portable general form for clip planes, xf2
// left alone.
struct InvRow {
  uint32_t type;
  GlXformProc plain, k3d;
};
const InvRow kInvRows[] = {
    {__GL_MT_GENERAL, __glXForm4, __glK3DXForm4},
    {__GL_MT_W0001, __glXForm3_W, __glK3DXForm3_W},
    {__GL_MT_IS2D, __glXForm3_2DW, __glK3DXForm3_2DW},
    {__GL_MT_IS2DNR, __glXForm3_2DNRW, __glK3DXForm3_2DNRW},
    {__GL_MT_IDENTITY, __glXForm3_2DNRW, __glK3DXForm3_2DNRW},
    {7, __glXForm4, __glK3DXForm4},
};

const GlCpuFlags kFeatureWords[] = {
    0, __GL_CPU_MMX, __GL_CPU_K3D, __GL_CPU_MMX | __GL_CPU_K3D, 0xFFFFFFFDu, 0xFFFFFFFFu};

struct FeatureContext {
  explicit FeatureContext(GlCpuFlags flags)
      : gc(static_cast<GlContext *>(calloc(1, sizeof(GlContext)))) {
    gc->constants.cpuFlags = flags;
  }
  ~FeatureContext() { free(gc); }
  GlContext *gc;
};

void Poison(GlMatrix *m) {
  m->xf2 = m->xf3 = m->xf4 = reinterpret_cast<GlXformProc>(uintptr_t(0xDEADBEEF));
}

TEST(XformPickers, MatrixProcsByTypeAndFeatures) {
  for (GlCpuFlags flags : kFeatureWords) {
    FeatureContext ctx(flags);
    for (const PickRow &row : kMatrixRows) {
      SCOPED_TRACE(testing::Message() << "features " << std::hex << flags << ", type " << row.type);
      GlMatrix m = {};
      m.matrixType = row.type;
      Poison(&m);
      __glGenericPickMatrixProcs(ctx.gc, &m);
      const Installed &want = (flags & __GL_CPU_K3D) ? row.k3d : row.plain;
      EXPECT_EQ(m.xf2, want.xf2);
      EXPECT_EQ(m.xf3, want.xf3);
      EXPECT_EQ(m.xf4, want.xf4);
      EXPECT_EQ(m.matrixType, row.type);
    }
  }
}

TEST(XformPickers, InverseTransposeProcsByTypeAndFeatures) {
  for (GlCpuFlags flags : kFeatureWords) {
    FeatureContext ctx(flags);
    for (const InvRow &row : kInvRows) {
      SCOPED_TRACE(testing::Message() << "features " << std::hex << flags << ", type " << row.type);
      GlMatrix m = {};
      m.matrixType = row.type;
      Poison(&m);
      __glGenericPickInvTransposeProcs(ctx.gc, &m);
      EXPECT_EQ(m.xf3, (flags & __GL_CPU_K3D) ? row.k3d : row.plain);
      EXPECT_EQ(m.xf4, __glXForm4);
      EXPECT_EQ(m.xf2, reinterpret_cast<GlXformProc>(uintptr_t(0xDEADBEEF))) << "xf2 left alone";
    }
  }
}

}  // namespace
