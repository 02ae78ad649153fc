// The line picker: the stage lists with their counts, starts, end and final
// pairs and processor; the render procedure behind its trap; primitive
// assembly's line procedures.
#include <gtest/gtest.h>

#include <functional>

#include "core/s_pick.h"
#include "raster/s_line.h"
#include "raster/s_line_aa.h"
#include "raster/s_line_clip.h"
#include "raster/s_triangle.h"
#include "raster/s_shader.h"
#include "tests/core/pickers/picker_fixture.h"

namespace {

using NameList = std::vector<std::string>;
using Setup = std::function<void(RasterPickerContext &)>;

constexpr uint32_t RGB = __GL_SHADE_RGB;
constexpr uint32_t ITER = __GL_SHADE_ITERATE_COLOR;
constexpr uint32_t DEPTH = __GL_SHADE_DEPTH_TEST | __GL_SHADE_DEPTH_ITER;
constexpr uint32_t STENCIL = __GL_SHADE_STENCIL_TEST;
constexpr uint32_t ALPHA = __GL_SHADE_ALPHA_TEST | __GL_SHADE_ALPHA;
constexpr uint32_t STIPPLE = __GL_SHADE_LINE_STIPPLE;
constexpr uint32_t DITHER = __GL_SHADE_DITHER;

void ColorIndex8(RasterPickerContext &c) { c.SetColorIndex(8); }
void Wide(RasterPickerContext &c) { c.gc()->state.line.aliasedWidth = 3; }
void Smooth(RasterPickerContext &c) { c.gc()->state.enables.general |= __GL_LINE_SMOOTH_ENABLE; }

// ---- The stores ----

struct StoreCase {
  const char *name;
  uint32_t flags;
  Setup setup;
  const char *plain, *stippled;
};

const StoreCase kStores[] = {
    {"16-bit RGB, flat", RGB, nullptr, "__glStoreLine_RGB_16_Flat",
     "__glStoreStippledLine_RGB_16_Flat"},
    {"16-bit RGB, iterated colour", RGB | ITER, nullptr, "__glStoreLine_RGB_16_Smooth",
     "__glStoreStippledLine_RGB_16_Smooth"},
    {"16-bit RGB, textured", RGB | __GL_SHADE_TEXTURE, nullptr, "__glStoreLine_RGB_16_Smooth",
     "__glStoreStippledLine_RGB_16_Smooth"},
    {"16-bit RGB, per-fragment fog", RGB | __GL_SHADE_FRAGMENT_FOG, nullptr,
     "__glStoreLine_RGB_16_Smooth", "__glStoreStippledLine_RGB_16_Smooth"},
    {"16-bit RGB, dithered", RGB | ITER | DITHER, nullptr, "__glStoreLine_RGB_16_Dither",
     "__glStoreStippledLine_RGB_16_Dither"},
    {"8-bit index, flat", 0, ColorIndex8, "__glStoreLine_CI_8_Flat",
     "__glStoreStippledLine_CI_8_Flat"},
    {"8-bit index, iterated", ITER, ColorIndex8, "__glStoreLine_CI_8_Smooth",
     "__glStoreStippledLine_CI_8_Smooth"},
    {"8-bit index, dithered flat", DITHER, ColorIndex8, "__glStoreLine_CI_8_Flat_Dither",
     "__glStoreStippledLine_CI_8_Flat_Dither"},
    {"8-bit index, dithered iterated", DITHER | ITER, ColorIndex8,
     "__glStoreLine_CI_8_Smooth_Dither", "__glStoreStippledLine_CI_8_Smooth_Dither"},
    {"a write-protected channel keeps destination bits", RGB,
     [](RasterPickerContext &c) { c.gc()->frontBuffer.destMask = 0x001F; }, "__glStoreLine",
     "__glStoreStippledLine"},
    {"drawing the front buffer", RGB | __GL_SHADE_FRONT_BUFFER, nullptr, "__glStoreLine",
     "__glStoreStippledLine"},
    {"blending", RGB | __GL_SHADE_BLEND, nullptr, "__glStoreLine", "__glStoreStippledLine"},
    {"logic op", __GL_SHADE_LOGIC_OP, ColorIndex8, "__glStoreLine", "__glStoreStippledLine"},
    {"16-bit RGB with an alpha bit keeps its alpha", RGB | ITER,
     [](RasterPickerContext &c) { c.gc()->modes.alphaBits = 1; }, "__glStoreLine",
     "__glStoreStippledLine"},
    {"32-bit RGB", RGB, [](RasterPickerContext &c) { c.gc()->modes.colorBits = 32; },
     "__glStoreLine", "__glStoreStippledLine"},
    {"16-bit colour index", 0, [](RasterPickerContext &c) { c.SetColorIndex(16); }, "__glStoreLine",
     "__glStoreStippledLine"},
};

TEST(LinePicker, TheStoreFollowsThePixelSizeAndTheColourOperations) {
  for (const StoreCase &c : kStores) {
    SCOPED_TRACE(c.name);
    RasterPickerContext ctx;
    ctx.SetFlags(c.flags);
    if (c.setup) c.setup(ctx);
    __glGenericPickLineProcs(ctx.gc());
    const GlLineProcs &line = ctx.gc()->procs.line;
    ASSERT_GE(line.count, 1);
    EXPECT_EQ(NameOf(line.lineFuncs[line.count - 1]), c.plain);
    EXPECT_EQ(NameOf(line.stippledLineFuncs[line.count - 1]), c.stippled);
  }
}

// ---- The lists, their starts and the repeat pairs ----

// The end and final pairs processLine runs after the stages.
struct RepeatPairs {
  const char *end, *stippledEnd, *final, *stippledFinal;
};
const RepeatPairs kNoRepeat = {"__glNop1", "__glNop1", "__glNop1", "__glNop1"};
const RepeatPairs kRowRepeat = {"__glWideLineRep", "__glWideStippleLineRep", "__glNop1",
                                "__glNop1"};
const RepeatPairs kBufferRepeat = {"__glDrawBothLine", "__glDrawBothStippledLine", "__glNop1",
                                   "__glNop1"};
const RepeatPairs kRowThenBufferRepeat = {"__glWideLineRep", "__glWideStippleLineRep",
                                          "__glDrawBothLine", "__glDrawBothStippledLine"};

struct ListCase {
  const char *name;
  uint32_t flags;
  Setup setup;
  NameList plain, stippled;
  int32_t startReplicate, storeIndex;
  RepeatPairs repeat;
  const char *processLine;
};

const ListCase kLists[] = {
    {"the plainest line runs three stages without a loop",
     0,
     ColorIndex8,
     {"__glScissorLine", "__glFlatCISpan", "__glStoreLine_CI_8_Flat"},
     {"__glScissorStippledLine", "__glFlatCISpan", "__glStoreStippledLine_CI_8_Flat"},
     3,
     3,
     kNoRepeat,
     "__glProcessLine3NW"},
    {"line stipple leads, with no stippled twin",
     RGB | STIPPLE,
     nullptr,
     {"__glStippleLine", "__glScissorLine", "__glFlatRGBASpan", "__glStoreLine_RGB_16_Flat"},
     {"null", "__glScissorStippledLine", "__glFlatRGBASpan", "__glStoreStippledLine_RGB_16_Flat"},
     4,
     4,
     kNoRepeat,
     "__glProcessLine"},
    {"a wide line repeats from the scissor",
     RGB | STIPPLE,
     Wide,
     {"__glStippleLine", "__glScissorLine", "__glFlatRGBASpan", "__glStoreLine_RGB_16_Flat"},
     {"null", "__glScissorStippledLine", "__glFlatRGBASpan", "__glStoreStippledLine_RGB_16_Flat"},
     1,
     4,
     kRowRepeat,
     "__glProcessLine"},
    {"a wide line of three stages still loops",
     0,
     [](RasterPickerContext &c) {
       ColorIndex8(c);
       Wide(c);
     },
     {"__glScissorLine", "__glFlatCISpan", "__glStoreLine_CI_8_Flat"},
     {"__glScissorStippledLine", "__glFlatCISpan", "__glStoreStippledLine_CI_8_Flat"},
     0,
     3,
     kRowRepeat,
     "__glProcessLine"},
    {"both buffers repeat from the store",
     0,
     [](RasterPickerContext &c) {
       ColorIndex8(c);
       c.DrawBoth();
     },
     {"__glScissorLine", "__glFlatCISpan", "__glStoreLine_CI_8_Flat"},
     {"__glScissorStippledLine", "__glFlatCISpan", "__glStoreStippledLine_CI_8_Flat"},
     2,
     2,
     kBufferRepeat,
     "__glProcessLine"},
    {"a wide line into both buffers repeats rows, then buffers",
     RGB | DEPTH,
     [](RasterPickerContext &c) {
       Wide(c);
       c.DrawBoth();
     },
     {"__glScissorLine", "__glDepthTestLine", "__glFlatRGBASpan", "__glStoreLine_RGB_16_Flat"},
     {"__glScissorStippledLine", "__glDepthTestStippledLine", "__glFlatRGBASpan",
      "__glStoreStippledLine_RGB_16_Flat"},
     0,
     3,
     kRowThenBufferRepeat,
     "__glProcessLine"},
    {"depth after the scissor, no offset form",
     RGB | DEPTH | __GL_SHADE_POLYGON_OFFSET,
     nullptr,
     {"__glScissorLine", "__glDepthTestLine", "__glFlatRGBASpan", "__glStoreLine_RGB_16_Flat"},
     {"__glScissorStippledLine", "__glDepthTestStippledLine", "__glFlatRGBASpan",
      "__glStoreStippledLine_RGB_16_Flat"},
     4,
     4,
     kNoRepeat,
     "__glProcessLine"},
    {"stencil and depth",
     RGB | STENCIL | DEPTH,
     nullptr,
     {"__glScissorLine", "__glStencilTestLine", "__glDepthTestStencilLine", "__glFlatRGBASpan",
      "__glStoreLine_RGB_16_Flat"},
     {"__glScissorStippledLine", "__glStencilTestStippledLine", "__glDepthTestStencilStippledLine",
      "__glFlatRGBASpan", "__glStoreStippledLine_RGB_16_Flat"},
     5,
     5,
     kNoRepeat,
     "__glProcessLine"},
    {"stencil without depth",
     RGB | STENCIL,
     nullptr,
     {"__glScissorLine", "__glStencilTestLine", "__glDepthPassLine", "__glFlatRGBASpan",
      "__glStoreLine_RGB_16_Flat"},
     {"__glScissorStippledLine", "__glStencilTestStippledLine", "__glDepthPassStippledLine",
      "__glFlatRGBASpan", "__glStoreStippledLine_RGB_16_Flat"},
     5,
     5,
     kNoRepeat,
     "__glProcessLine"},
    // A pixel the alpha test rejects must leave depth and stencil alone.
    {"the alpha test decides before depth",
     RGB | ALPHA | DEPTH,
     nullptr,
     {"__glScissorLine", "__glFlatRGBASpan", "__glAlphaTestSpan", "__glDepthTestLine",
      "__glStoreLine_RGB_16_Flat"},
     {"__glScissorStippledLine", "__glFlatRGBASpan", "__glAlphaTestStippledSpan",
      "__glDepthTestStippledLine", "__glStoreStippledLine_RGB_16_Flat"},
     5,
     5,
     kNoRepeat,
     "__glProcessLine"},
    {"the index test decides before stencil",
     __GL_SHADE_INDEX_TEST | STENCIL,
     ColorIndex8,
     {"__glScissorLine", "__glFlatCISpan", "__glIndexTestSpan", "__glStencilTestLine",
      "__glDepthPassLine", "__glStoreLine_CI_8_Flat"},
     {"__glScissorStippledLine", "__glFlatCISpan", "__glIndexTestStippledSpan",
      "__glStencilTestStippledLine", "__glDepthPassStippledLine",
      "__glStoreStippledLine_CI_8_Flat"},
     6,
     6,
     kNoRepeat,
     "__glProcessLine"},
    {"a smooth line tests the buffers after its coverage",
     RGB | ITER | STENCIL | DEPTH,
     Smooth,
     {"__glScissorLine", "__glShadeRGBASpan", "__glAntiAliasLine", "__glStencilTestLine",
      "__glDepthTestStencilLine", "__glStoreLine_RGB_16_Smooth"},
     {"__glScissorStippledLine", "__glShadeRGBASpan", "__glAntiAliasStippledLine",
      "__glStencilTestStippledLine", "__glDepthTestStencilStippledLine",
      "__glStoreStippledLine_RGB_16_Smooth"},
     6,
     6,
     kNoRepeat,
     "__glProcessLine"},
    {"a smooth line's alpha test sees its coverage, before depth",
     RGB | ALPHA | DEPTH,
     Smooth,
     {"__glScissorLine", "__glFlatRGBASpan", "__glAntiAliasLine", "__glAlphaTestSpan",
      "__glDepthTestLine", "__glStoreLine_RGB_16_Flat"},
     {"__glScissorStippledLine", "__glFlatRGBASpan", "__glAntiAliasStippledLine",
      "__glAlphaTestStippledSpan", "__glDepthTestStippledLine",
      "__glStoreStippledLine_RGB_16_Flat"},
     6,
     6,
     kNoRepeat,
     "__glProcessLine"},
    {"a smooth line stipples in its coverage and is never wide",
     RGB | STIPPLE,
     [](RasterPickerContext &c) {
       Smooth(c);
       Wide(c);
     },
     {"__glScissorLine", "__glFlatRGBASpan", "__glAntiAliasLine", "__glStoreLine_RGB_16_Flat"},
     {"__glScissorStippledLine", "__glFlatRGBASpan", "__glAntiAliasStippledLine",
      "__glStoreStippledLine_RGB_16_Flat"},
     4,
     4,
     kNoRepeat,
     "__glProcessLine"},
    {"texture and per-fragment fog",
     RGB | ITER | __GL_SHADE_TEXTURE | __GL_SHADE_FOG | __GL_SHADE_FRAGMENT_FOG,
     [](RasterPickerContext &c) { c.gc()->state.hints.fog = GL_NICEST; },
     {"__glScissorLine", "__glShadeRGBASpan", "__glTextureSpan", "__glFogSpanSlow",
      "__glStoreLine_RGB_16_Smooth"},
     {"__glScissorStippledLine", "__glShadeRGBASpan", "__glTextureStippledSpan",
      "__glFogStippledSpanSlow", "__glStoreStippledLine_RGB_16_Smooth"},
     5,
     5,
     kNoRepeat,
     "__glProcessLine"},
};

TEST(LinePicker, ListsStartsAndRepeats) {
  for (const ListCase &c : kLists) {
    SCOPED_TRACE(c.name);
    RasterPickerContext ctx;
    ctx.SetFlags(c.flags);
    if (c.setup) c.setup(ctx);
    GlLineProcs &line = ctx.gc()->procs.line;
    for (int i = 0; i < __GL_MAX_LINE_FUNCS; ++i)
      line.lineFuncs[i] = line.stippledLineFuncs[i] = FrontStoreSpan;
    __glGenericPickLineProcs(ctx.gc());
    ASSERT_EQ(line.count, int32_t(c.plain.size()));
    ExpectStageLists(line.lineFuncs, line.stippledLineFuncs, __GL_MAX_LINE_FUNCS, c.plain,
                     c.stippled);
    EXPECT_EQ(line.startReplicate, c.startReplicate);
    EXPECT_EQ(line.storeIndex, c.storeIndex);
    EXPECT_EQ(NameOf(line.lineEnd), c.repeat.end);
    EXPECT_EQ(NameOf(line.stippledLineEnd), c.repeat.stippledEnd);
    EXPECT_EQ(NameOf(line.lineFinal), c.repeat.final);
    EXPECT_EQ(NameOf(line.stippledLineFinal), c.repeat.stippledFinal);
    EXPECT_EQ(NameOf(line.processLine), c.processLine);
  }
}

// ---- The render procedure ----

struct RenderCase {
  const char *name;
  GLenum renderMode;
  uint32_t flags;
  Setup setup;
  const char *picked;
  const char *unfogged;  // null: the slot is left alone
};

constexpr uint32_t FOG = __GL_SHADE_FOG | ITER;

const RenderCase kRenders[] = {
    {"aliased", GL_RENDER, RGB, nullptr, "__glRenderAliasLine", nullptr},
    {"antialiased", GL_RENDER, RGB, Smooth, "__glRenderAntiAliasLine", nullptr},
    {"flat fog wraps the line", GL_RENDER, RGB | FOG, nullptr, "__glRenderFlatFogLine",
     "__glRenderAliasLine"},
    {"flat fog wraps the antialiased line", GL_RENDER, RGB | FOG, Smooth, "__glRenderFlatFogLine",
     "__glRenderAntiAliasLine"},
    {"smooth shading iterates fogged colours itself", GL_RENDER,
     RGB | FOG | __GL_SHADE_SMOOTH_LIGHT, nullptr, "__glRenderAliasLine", nullptr},
    {"per-fragment fog needs no wrapper", GL_RENDER, RGB | FOG | __GL_SHADE_FRAGMENT_FOG, nullptr,
     "__glRenderAliasLine", nullptr},
    {"GL_NEVER still picks the line and arms its trap", GL_RENDER, RGB | DEPTH,
     [](RasterPickerContext &c) { c.gc()->state.depth.testFunc = GL_NEVER; }, "__glRenderAliasLine",
     nullptr},
    {"GL_NEVER keeps the fog wrapper", GL_RENDER, RGB | DEPTH | FOG,
     [](RasterPickerContext &c) { c.gc()->state.depth.testFunc = GL_NEVER; },
     "__glRenderFlatFogLine", "__glRenderAliasLine"},
    {"feedback", GL_FEEDBACK, RGB | FOG, nullptr, "__glFeedbackLine", nullptr},
    {"selection", GL_SELECT, RGB | FOG, Smooth, "__glSelectLine", nullptr},
};

TEST(LinePicker, TheRenderProcedureWaitsBehindTheTrapInEveryMode) {
  for (const RenderCase &c : kRenders) {
    SCOPED_TRACE(c.name);
    RasterPickerContext ctx;
    GlContext *gc = ctx.gc();
    gc->renderMode = c.renderMode;
    ctx.SetFlags(c.flags);
    if (c.setup) c.setup(ctx);
    GlProcs &p = gc->procs;
    p.renderLineUnfogged = __glFastClipFlatLine;  // a marker: left alone unless wrapped
    __glGenericPickLineProcs(gc);
    EXPECT_EQ(NameOf(p.renderLine), "__glRenderLineSyncTrap");
    EXPECT_EQ(NameOf(p.renderLineTrap), "__glRenderLineSyncTrap");
    EXPECT_EQ(NameOf(p.renderLinePicked), c.picked);
    EXPECT_EQ(NameOf(p.renderLineUnfogged), c.unfogged ? c.unfogged : "__glFastClipFlatLine");
    EXPECT_EQ(NameOf(p.renderTriangleLines), "__glRenderLineTriangle");
  }
}

TEST(LinePicker, NothingPassesGL_NEVERWithoutStencil) {
  for (bool smooth : {false, true}) {
    SCOPED_TRACE(smooth);
    RasterPickerContext ctx;
    ctx.SetFlags(RGB | DEPTH);
    if (smooth) Smooth(ctx);
    ctx.gc()->state.depth.testFunc = GL_NEVER;
    __glGenericPickLineProcs(ctx.gc());
    EXPECT_EQ(NameOf(ctx.gc()->procs.line.processLine), "__glNop1");
  }
  // With stencil the stencil operations still run.
  RasterPickerContext ctx;
  ctx.SetFlags(RGB | DEPTH | STENCIL);
  ctx.gc()->state.depth.testFunc = GL_NEVER;
  __glGenericPickLineProcs(ctx.gc());
  EXPECT_EQ(NameOf(ctx.gc()->procs.line.processLine), "__glProcessLine");
}

TEST(LinePicker, StripsValidateOnlyWhenTheFrontFaceNeedsSomething) {
  for (uint32_t needs : {0u, 0x1u, 0x18u}) {
    SCOPED_TRACE(needs);
    RasterPickerContext ctx;
    ctx.gc()->vertexBuffer.frontNeeds = needs;
    __glGenericPickLineProcs(ctx.gc());
    const GlProcs &p = ctx.gc()->procs;
    EXPECT_EQ(NameOf(p.primSteady[1]),
              needs ? "__glOtherLStripVertexLock" : "__glOtherLStripVertexFastLock");
    EXPECT_EQ(NameOf(p.primSteady[2]), "__glSecondLinesVertexLock");
    EXPECT_EQ(NameOf(p.primSteady[3]), "__glSecondLLoopVertexLock");
    EXPECT_EQ(NameOf(p.primSteady[4]), "__glEndLLoopLock");
    for (int i : {0, 5, 6, 7, 8, 9, 10, 11, 12}) EXPECT_EQ(p.primSteady[i], nullptr) << i;
  }
}

}  // namespace
