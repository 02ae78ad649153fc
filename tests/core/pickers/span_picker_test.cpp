// The span picker: state in, both stage lists, the replication point, the
// count and the span processor out.
#include <gtest/gtest.h>

#include <functional>

#include "core/s_pick.h"
#include "raster/s_shader.h"
#include "tests/core/pickers/picker_fixture.h"

namespace {

using NameList = std::vector<std::string>;
using Setup = std::function<void(RasterPickerContext &)>;

constexpr uint32_t RGB = __GL_SHADE_RGB;
constexpr uint32_t SMOOTH = __GL_SHADE_ITERATE_COLOR | __GL_SHADE_SMOOTH_LIGHT;
constexpr uint32_t DEPTH = __GL_SHADE_DEPTH_TEST | __GL_SHADE_DEPTH_ITER;
constexpr uint32_t OFFSET = __GL_SHADE_POLYGON_OFFSET;
constexpr uint32_t STENCIL = __GL_SHADE_STENCIL_TEST;
constexpr uint32_t ALPHA = __GL_SHADE_ALPHA_TEST | __GL_SHADE_ALPHA;
constexpr uint32_t INDEX = __GL_SHADE_INDEX_TEST;

struct SpanCase {
  const char *name;
  uint32_t flags;
  Setup setup;
  NameList plain, stippled;
  int32_t n;  // -1: equal to the count
  const char *processSpan;
};

void Never(RasterPickerContext &c) { c.gc()->state.depth.testFunc = GL_NEVER; }
void SeparateOps(RasterPickerContext &c) { c.gc()->frontBuffer.separateSpanOps = 1; }
void Blend(RasterPickerContext &c, GLenum src, GLenum dst) {
  c.gc()->state.raster.blendSrc = src;
  c.gc()->state.raster.blendDst = dst;
}

const SpanCase kCases[] = {
    {"flat RGBA inside the window",
     RGB,
     nullptr,
     {"__glFlatRGBASpan", "FrontStoreSpan"},
     {"__glFlatRGBASpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"clipped when the viewport leaves the clip box",
     RGB,
     [](RasterPickerContext &c) { c.gc()->transform.viewportInside = 0; },
     {"__glClipSpan", "__glFlatRGBASpan", "FrontStoreSpan"},
     {"null", "__glFlatRGBASpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"smooth colour index with polygon stipple",
     SMOOTH | __GL_SHADE_STIPPLE,
     [](RasterPickerContext &c) { c.SetColorIndex(); },
     {"__glStippleSpan", "__glShadeCISpan", "FrontStoreSpan"},
     {"__glStippleStippledSpan", "__glShadeCISpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"flat colour index",
     0,
     [](RasterPickerContext &c) { c.SetColorIndex(); },
     {"__glFlatCISpan", "FrontStoreSpan"},
     {"__glFlatCISpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"fog iterates the colour",
     RGB | __GL_SHADE_ITERATE_COLOR | __GL_SHADE_FOG,
     nullptr,
     {"__glShadeRGBASpan", "FrontStoreSpan"},
     {"__glShadeRGBASpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"depth test before the colour",
     RGB | DEPTH,
     nullptr,
     {"__glDepthTestSpan", "__glFlatRGBASpan", "FrontStoreSpan"},
     {"__glDepthTestStippledSpan", "__glFlatRGBASpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"depth test with polygon offset",
     RGB | DEPTH | OFFSET,
     nullptr,
     {"__glDepthTestOffsetSpan", "__glFlatRGBASpan", "FrontStoreSpan"},
     {"__glDepthTestStippledOffsetSpan", "__glFlatRGBASpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"stencil without depth passes the depth stage",
     RGB | STENCIL,
     nullptr,
     {"__glStencilTestSpan", "__glDepthPassSpan", "__glFlatRGBASpan", "FrontStoreSpan"},
     {"__glStencilTestStippledSpan", "__glDepthPassStippledSpan", "__glFlatRGBASpan",
      "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"stencil and depth",
     RGB | STENCIL | DEPTH,
     nullptr,
     {"__glStencilTestSpan", "__glDepthTestStencilSpan", "__glFlatRGBASpan", "FrontStoreSpan"},
     {"__glStencilTestStippledSpan", "__glDepthTestStencilStippledSpan", "__glFlatRGBASpan",
      "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"stencil, depth and polygon offset",
     RGB | STENCIL | DEPTH | OFFSET,
     nullptr,
     {"__glStencilTestSpan", "__glDepthTestStencilOffsetSpan", "__glFlatRGBASpan",
      "FrontStoreSpan"},
     {"__glStencilTestStippledSpan", "__glDepthTestStencilStippledOffsetSpan", "__glFlatRGBASpan",
      "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"GL_NEVER without stencil draws nothing", RGB | DEPTH, Never, {}, {}, 0, "__glNop1"},
    {"GL_NEVER with stencil still runs the stencil operations",
     RGB | STENCIL | DEPTH,
     Never,
     {"__glStencilTestSpan", "__glDepthTestStencilSpan", "__glFlatRGBASpan", "FrontStoreSpan"},
     {"__glStencilTestStippledSpan", "__glDepthTestStencilStippledSpan", "__glFlatRGBASpan",
      "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"alpha test decides before depth",
     RGB | ALPHA | DEPTH,
     nullptr,
     {"__glFlatRGBASpan", "__glAlphaTestSpan", "__glDepthTestSpan", "FrontStoreSpan"},
     {"__glFlatRGBASpan", "__glAlphaTestStippledSpan", "__glDepthTestStippledSpan",
      "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"alpha test then GL_NEVER draws nothing", RGB | ALPHA | DEPTH, Never, {}, {}, 0, "__glNop1"},
    {"index test decides before stencil",
     INDEX | STENCIL | DEPTH,
     [](RasterPickerContext &c) { c.SetColorIndex(); },
     {"__glFlatCISpan", "__glIndexTestSpan", "__glStencilTestSpan", "__glDepthTestStencilSpan",
      "FrontStoreSpan"},
     {"__glFlatCISpan", "__glIndexTestStippledSpan", "__glStencilTestStippledSpan",
      "__glDepthTestStencilStippledSpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"texture and per-fragment fog under GL_NICEST",
     RGB | SMOOTH | __GL_SHADE_TEXTURE | __GL_SHADE_FOG | __GL_SHADE_FRAGMENT_FOG,
     [](RasterPickerContext &c) { c.gc()->state.hints.fog = GL_NICEST; },
     {"__glShadeRGBASpan", "__glTextureSpan", "__glFogSpanSlow", "FrontStoreSpan"},
     {"__glShadeRGBASpan", "__glTextureStippledSpan", "__glFogStippledSpanSlow",
      "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"per-fragment fog under another hint",
     RGB | __GL_SHADE_FRAGMENT_FOG,
     nullptr,
     {"__glFlatRGBASpan", "__glFogSpan", "FrontStoreSpan"},
     {"__glFlatRGBASpan", "__glFogStippledSpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"both buffers replicate the store",
     RGB | DEPTH,
     [](RasterPickerContext &c) { c.DrawBoth(); },
     {"__glDepthTestSpan", "__glFlatRGBASpan", "BackStoreSpan"},
     {"__glDepthTestStippledSpan", "__glFlatRGBASpan", "BackStoreStippledSpan"},
     2,
     "__glProcessReplicateSpan"},
    // A buffer that leaves its colour operations to the span stages.
    {"separate operations round an undithered colour",
     RGB,
     SeparateOps,
     {"__glFlatRGBASpan", "__glRoundRGBASpan", "FrontStoreSpan"},
     {"__glFlatRGBASpan", "__glRoundRGBAStippledSpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"separate operations dither",
     RGB | __GL_SHADE_DITHER,
     SeparateOps,
     {"__glFlatRGBASpan", "__glDitherRGBASpan", "FrontStoreSpan"},
     {"__glFlatRGBASpan", "__glDitherRGBAStippledSpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"separate operations of colour index",
     __GL_SHADE_DITHER,
     [](RasterPickerContext &c) {
       c.SetColorIndex();
       SeparateOps(c);
     },
     {"__glFlatCISpan", "__glDitherCISpan", "FrontStoreSpan"},
     {"__glFlatCISpan", "__glDitherCIStippledSpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"separate operations round colour indices",
     0,
     [](RasterPickerContext &c) {
       c.SetColorIndex();
       SeparateOps(c);
     },
     {"__glFlatCISpan", "__glRoundCISpan", "FrontStoreSpan"},
     {"__glFlatCISpan", "__glRoundCIStippledSpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"blending the destination fetches it first",
     RGB | __GL_SHADE_BLEND,
     [](RasterPickerContext &c) {
       SeparateOps(c);
       Blend(c, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
     },
     {"__glFlatRGBASpan", "FetchSpan", "__glBlendSpan_SA_MSA", "__glRoundRGBASpan",
      "FrontStoreSpan"},
     {"__glFlatRGBASpan", "FetchStippledSpan", "__glBlendStippledSpan", "__glRoundRGBAStippledSpan",
      "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"a blend that never reads the destination fetches nothing",
     RGB | __GL_SHADE_BLEND,
     [](RasterPickerContext &c) {
       SeparateOps(c);
       Blend(c, GL_SRC_ALPHA, GL_ZERO);
     },
     {"__glFlatRGBASpan", "__glBlendSpan_SA_ZERO", "__glRoundRGBASpan", "FrontStoreSpan"},
     {"__glFlatRGBASpan", "__glBlendStippledSpan", "__glRoundRGBAStippledSpan",
      "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"a destination source factor reads the destination",
     RGB | __GL_SHADE_BLEND,
     [](RasterPickerContext &c) {
       SeparateOps(c);
       Blend(c, GL_DST_COLOR, GL_ZERO);
     },
     {"__glFlatRGBASpan", "FetchSpan", "__glBlendSpan", "__glRoundRGBASpan", "FrontStoreSpan"},
     {"__glFlatRGBASpan", "FetchStippledSpan", "__glBlendStippledSpan", "__glRoundRGBAStippledSpan",
      "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"fused blends of the common pairs",
     RGB | __GL_SHADE_BLEND,
     [](RasterPickerContext &c) {
       SeparateOps(c);
       Blend(c, GL_ONE_MINUS_SRC_ALPHA, GL_SRC_ALPHA);
     },
     {"__glFlatRGBASpan", "FetchSpan", "__glBlendSpan_MSA_SA", "__glRoundRGBASpan",
      "FrontStoreSpan"},
     {"__glFlatRGBASpan", "FetchStippledSpan", "__glBlendStippledSpan", "__glRoundRGBAStippledSpan",
      "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"additive blend",
     RGB | __GL_SHADE_BLEND,
     [](RasterPickerContext &c) {
       SeparateOps(c);
       Blend(c, GL_SRC_ALPHA, GL_ONE);
     },
     {"__glFlatRGBASpan", "FetchSpan", "__glBlendSpan_SA_ONE", "__glRoundRGBASpan",
      "FrontStoreSpan"},
     {"__glFlatRGBASpan", "FetchStippledSpan", "__glBlendStippledSpan", "__glRoundRGBAStippledSpan",
      "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"a masked blend fetches once, for the mask",
     RGB | __GL_SHADE_BLEND | __GL_SHADE_MASK,
     [](RasterPickerContext &c) {
       SeparateOps(c);
       Blend(c, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
     },
     {"__glFlatRGBASpan", "FetchSpan", "__glBlendSpan_SA_MSA", "__glRoundRGBASpan",
      "__glMaskRGBASpan", "FrontStoreSpan"},
     {"__glFlatRGBASpan", "FetchStippledSpan", "__glBlendStippledSpan", "__glRoundRGBAStippledSpan",
      "__glMaskRGBASpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"index logic op with a partial mask",
     __GL_SHADE_LOGIC_OP | __GL_SHADE_MASK,
     [](RasterPickerContext &c) {
       c.SetColorIndex();
       SeparateOps(c);
     },
     {"__glFlatCISpan", "FetchSpan", "__glRoundCISpan", "__glLogicOpSpan", "__glMaskCISpan",
      "FrontStoreSpan"},
     {"__glFlatCISpan", "FetchStippledSpan", "__glRoundCIStippledSpan", "__glLogicOpStippledSpan",
      "__glMaskCISpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
    {"both buffers repeat the separate operations",
     RGB | __GL_SHADE_DITHER,
     [](RasterPickerContext &c) {
       c.DrawBoth();
       c.gc()->backBuffer.separateSpanOps = 1;
     },
     {"__glFlatRGBASpan", "__glDitherRGBASpan", "BackStoreSpan"},
     {"__glFlatRGBASpan", "__glDitherRGBAStippledSpan", "BackStoreStippledSpan"},
     1,
     "__glProcessReplicateSpan"},
    {"every stage at once fits the lists",
     RGB | SMOOTH | ALPHA | DEPTH | OFFSET | STENCIL | __GL_SHADE_STIPPLE | __GL_SHADE_TEXTURE |
         __GL_SHADE_FRAGMENT_FOG | __GL_SHADE_BLEND | __GL_SHADE_MASK | __GL_SHADE_DITHER,
     [](RasterPickerContext &c) {
       c.gc()->transform.viewportInside = 0;
       SeparateOps(c);
       Blend(c, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
     },
     {"__glClipSpan", "__glStippleSpan", "__glShadeRGBASpan", "__glTextureSpan", "__glFogSpan",
      "__glAlphaTestSpan", "__glStencilTestSpan", "__glDepthTestStencilOffsetSpan", "FetchSpan",
      "__glBlendSpan_SA_MSA", "__glDitherRGBASpan", "__glMaskRGBASpan", "FrontStoreSpan"},
     {"null", "__glStippleStippledSpan", "__glShadeRGBASpan", "__glTextureStippledSpan",
      "__glFogStippledSpan", "__glAlphaTestStippledSpan", "__glStencilTestStippledSpan",
      "__glDepthTestStencilStippledOffsetSpan", "FetchStippledSpan", "__glBlendStippledSpan",
      "__glDitherRGBAStippledSpan", "__glMaskRGBASpan", "FrontStoreStippledSpan"},
     -1,
     "__glProcessSpan"},
};

TEST(SpanPicker, StagesFollowTheFragmentOrder) {
  for (const SpanCase &c : kCases) {
    SCOPED_TRACE(c.name);
    RasterPickerContext ctx;
    ctx.SetFlags(c.flags);
    if (c.setup) c.setup(ctx);
    GlSpanProcs &span = ctx.gc()->procs.span;
    // Leftovers of an earlier pick must not survive.
    for (int i = 0; i < __GL_MAX_SPAN_FUNCS; ++i)
      span.spanFuncs[i] = span.stippledSpanFuncs[i] = FrontStoreSpan;
    __glGenericPickSpanProcs(ctx.gc());
    EXPECT_EQ(NameOf(span.processSpan), c.processSpan);
    if (c.plain.empty()) continue;  // nothing drawn: the lists are not read
    ASSERT_EQ(span.m, int32_t(c.plain.size()));
    ExpectStageLists(span.spanFuncs, span.stippledSpanFuncs, __GL_MAX_SPAN_FUNCS, c.plain,
                     c.stippled);
    EXPECT_EQ(span.n, c.n < 0 ? span.m : c.n);
  }
}

}  // namespace
