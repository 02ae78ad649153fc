// The blend picker's choices and the front ends: which procedures each
// factor pair installs, that only the fetching front end reads the
// destination, and that colour-index mode leaves the slots alone.
#include <gtest/gtest.h>

#include "raster/s_blend.h"
#include "tests/raster/color/color_fixture.h"

namespace {

void Pick(GlContext *gc, GLenum sf, GLenum df, bool enabled) {
  gc->state.raster.blendSrc = sf;
  gc->state.raster.blendDst = df;
  gc->state.enables.general = enabled ? __GL_BLEND_ENABLE : 0;
  __glGenericPickBlendProcs(gc);
}

void Poison(GlBlendProcs *p) {
  p->blend = reinterpret_cast<decltype(p->blend)>(0x1111);
  p->blendColor = p->blendSrc = p->blendDst = p->blendAdd = reinterpret_cast<GlBlendProc>(0x2222);
}

const GlBlendProc kPoison = reinterpret_cast<GlBlendProc>(0x2222);
const GlBlendProc kNone = nullptr;  // "any": the row does not look at the slot

struct PickRow {
  GLenum sf, df;
  bool enabled;
  bool fetching;
  GlBlendProc color, src, dst;
};

const PickRow kRows[] = {
    // Fused pairs leave the factor slots as they were.
    {GL_SRC_ALPHA, GL_ZERO, true, false, __glDoBlend_SA_ZERO, kPoison, kPoison},
    {GL_SRC_ALPHA, GL_ONE, true, true, __glDoBlend_SA_ONE, kPoison, kPoison},
    {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, true, true, __glDoBlend_SA_MSA, kPoison, kPoison},
    {GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA, true, true, __glDoBlend_MSA_SA, kPoison, kPoison},
    // Pairs that cannot pass the scale skip the clamp.
    {GL_ONE, GL_ZERO, true, false, __glDoBlendNoClamp, __glDoBlendSourceONE, __glDoBlendDestZERO},
    {GL_ZERO, GL_ONE, true, true, __glDoBlendNoClamp, __glDoBlendSourceZERO, __glDoBlendDestONE},
    {GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA, true, true, __glDoBlendNoClamp, __glDoBlendSourceDA,
     __glDoBlendDestMDA},
    {GL_ONE_MINUS_DST_ALPHA, GL_DST_ALPHA, true, true, __glDoBlendNoClamp, __glDoBlendSourceMDA,
     __glDoBlendDestDA},
    {GL_ONE, GL_ONE_MINUS_SRC_COLOR, true, true, __glDoBlendNoClamp, __glDoBlendSourceONE,
     __glDoBlendDestMSC},
    {GL_ONE_MINUS_DST_COLOR, GL_ONE, true, true, __glDoBlendNoClamp, __glDoBlendSourceMDC,
     __glDoBlendDestONE},
    {GL_DST_COLOR, GL_ZERO, true, true, __glDoBlendNoClamp, __glDoBlendSourceDC,
     __glDoBlendDestZERO},
    // The rest clamp.
    {GL_ONE, GL_ONE, true, true, __glDoBlend, __glDoBlendSourceONE, __glDoBlendDestONE},
    {GL_SRC_ALPHA_SATURATE, GL_ONE, true, true, __glDoBlend, __glDoBlendSourceSAT,
     __glDoBlendDestONE},
    {GL_ONE_MINUS_SRC_ALPHA, GL_SRC_COLOR, true, true, __glDoBlend, __glDoBlendSourceMSA,
     __glDoBlendDestSC},
    {GL_DST_ALPHA, GL_ONE_MINUS_SRC_ALPHA, true, true, __glDoBlend, __glDoBlendSourceDA,
     __glDoBlendDestMSA},
    {GL_SRC_ALPHA, GL_SRC_ALPHA, true, true, __glDoBlend, __glDoBlendSourceSA,
     __glDoBlendDestSA},
    // Disabled: the no-op combiner; the front end still follows the factors.
    {GL_ONE, GL_ZERO, false, false, __glDoBlendNone, kPoison, kPoison},
    {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, false, true, __glDoBlendNone, kPoison, kPoison},
};

TEST(BlendPick, ProceduresForEachPair) {
  BoundColorBuffer b(kRgbFormats[6]);
  GlContext *gc = b.gc();
  for (const PickRow &row : kRows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.sf << " " << row.df << " on "
                                    << row.enabled);
    Poison(&gc->procs.blend);
    Pick(gc, row.sf, row.df, row.enabled);
    const GlBlendProcs &p = gc->procs.blend;
    EXPECT_EQ(p.blend, row.fetching ? __glBlendFetching : __glBlendNonFetching);
    EXPECT_EQ(p.blendColor, row.color);
    EXPECT_EQ(p.blendSrc, row.src);
    EXPECT_EQ(p.blendDst, row.dst);
    const bool fused = row.src == kPoison && row.enabled;
    EXPECT_EQ(p.blendAdd, fused ? kPoison : __glDoBlendAdd);
  }
}

TEST(BlendPick, ColourIndexModeLeavesTheSlots) {
  BoundColorBuffer b(kIndexFormats[0]);
  GlContext *gc = b.gc();
  Poison(&gc->procs.blend);
  const GlBlendProcs before = gc->procs.blend;
  Pick(gc, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, true);
  EXPECT_EQ(memcmp(&before, &gc->procs.blend, sizeof before), 0);
}

int gFetches = 0;
void RecordingFetch(GlColorBuffer *, int32_t, int32_t, GlColor *out) {
  gFetches++;
  *out = {1, 2, 3, 4};
}

bool NeedsDestination(GLenum sf, GLenum df) {
  const GLenum reads[] = {GL_DST_COLOR, GL_ONE_MINUS_DST_COLOR, GL_DST_ALPHA,
                          GL_ONE_MINUS_DST_ALPHA, GL_SRC_ALPHA_SATURATE};
  for (GLenum r : reads)
    if (sf == r) return true;
  return df != GL_ZERO;
}

TEST(BlendFrontEnd, OnlyTheFetchingFrontEndReads) {
  const GLenum sources[] = {GL_ZERO,          GL_ONE,           GL_DST_COLOR,
                            GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                            GL_DST_ALPHA,     GL_ONE_MINUS_DST_ALPHA, GL_SRC_ALPHA_SATURATE};
  const GLenum dests[] = {GL_ZERO,      GL_ONE,       GL_SRC_COLOR,
                          GL_ONE_MINUS_SRC_COLOR, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                          GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA};
  BoundColorBuffer b(kRgbFormats[6]);
  GlContext *gc = b.gc();
  b.SetFlags(__GL_SHADE_RGB | __GL_SHADE_BLEND);
  b.cfb()->pick(gc, b.cfb());
  b.cfb()->fetch[0] = b.cfb()->fetch[1] = RecordingFetch;
  for (GLenum sf : sources) {
    for (GLenum df : dests) {
      SCOPED_TRACE(testing::Message() << std::hex << sf << " " << df);
      Pick(gc, sf, df, true);
      gFetches = 0;
      GlFragment frag{};
      frag.x = kBias + 2, frag.y = kBias + 1;
      frag.color = {100, 100, 100, 100};
      b.cfb()->store(b.cfb(), &frag);
      EXPECT_EQ(gFetches, NeedsDestination(sf, df) ? 1 : 0);
    }
  }
}

}  // namespace
