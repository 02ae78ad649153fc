// The all-pickers pass: which pickers each dirty group runs, in which
// order, and what the pass leaves behind.
#include <gtest/gtest.h>

#include <string.h>

#include <array>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/gl_api.h"
#include "core/s_nop.h"
#include "core/s_pick.h"
#include "core/s_standin.h"
#include "core/s_validate.h"
#include "raster/s_stencil.h"
#include "tests/core/validate/validate_fixture.h"

namespace validate_test {
namespace {

// The picker slots the pass calls, each replaced by a recorder of its name.
struct PickerSlot {
  const char *name;
  GlContextProc GlProcs::*slot;
};
const PickerSlot kPickerSlots[] = {
    {"pickBlendProcs", &GlProcs::pickBlendProcs},
    {"pickColorMaterialProcs", &GlProcs::pickColorMaterialProcs},
    {"pickTextureProcs", &GlProcs::pickTextureProcs},
    {"pickCalcTextureProcs", &GlProcs::pickCalcTextureProcs},
    {"pickFogProcs", &GlProcs::pickFogProcs},
    {"pickTransformProcs", &GlProcs::pickTransformProcs},
    {"pickPointProcs", &GlProcs::pickPointProcs},
    {"pickLineProcs", &GlProcs::pickLineProcs},
    {"pickTriangleProcs", &GlProcs::pickTriangleProcs},
    {"pickRenderBitmapProcs", &GlProcs::pickRenderBitmapProcs},
    {"pickPixelProcs", &GlProcs::pickPixelProcs},
    {"pickClipProcs", &GlProcs::pickClipProcs},
    {"pickParameterClipProcs", &GlProcs::pickParameterClipProcs},
    {"pickBufferProcs", &GlProcs::pickBufferProcs},
    {"pickStoreProcs", &GlProcs::pickStoreProcs},
    {"pickSpanProcs", &GlProcs::pickSpanProcs},
    {"pickVertexProcs", &GlProcs::pickVertexProcs},
    {"pickVertexArrayProcs", &GlProcs::pickVertexArrayProcs},
    {"pickDepthProcs", &GlProcs::pickDepthProcs},
    {"convertStipple", &GlProcs::convertStipple},
    {"computeClipBox", &GlProcs::computeClipBox},
};
constexpr int kPickerCount = int(sizeof kPickerSlots / sizeof kPickerSlots[0]);

template <int I>
void RecordPicker(GlContext *) {
  Record(kPickerSlots[I].name);
}
template <int... I>
constexpr std::array<GlContextProc, sizeof...(I)> Recorders(std::integer_sequence<int, I...>) {
  return {RecordPicker<I>...};
}
const auto kRecorders = Recorders(std::make_integer_sequence<int, kPickerCount>());

void RecordColorPick(GlContext *gc, GlColorBuffer *cfb) {
  Record(cfb == gc->front ? "front pick" : "back pick");
}
void RecordStencilPick(GlContext *, GlStencilBuffer *) { Record("stencil pick"); }

// The stencil buffer's own pick, logging "__glValidateStencil" when it
// rebuilt the maps (their entries are 0 or 1, never the mark).
void (*gRealStencilPick)(GlContext *, GlStencilBuffer *);
void RealStencilPick(GlContext *gc, GlStencilBuffer *sfb) {
  if (sfb->testMap) memset(sfb->testMap, 0xEE, __GL_STENCIL_MAP_SIZE);
  gRealStencilPick(gc, sfb);
  if (sfb->testMap && sfb->testMap[0] != 0xEE) Record("__glValidateStencil");
}

}  // namespace

// The array enables picker is real: the link routes the pass's call through
// here so that it is logged as the stand-ins are.
extern "C" void __real__Z33__glGenericPickVertexArrayEnablesP9GlContext(GlContext *gc);
extern "C" void __wrap__Z33__glGenericPickVertexArrayEnablesP9GlContext(GlContext *gc) {
  if (__glStandInHook) __glStandInHook("__glGenericPickVertexArrayEnables");
  __real__Z33__glGenericPickVertexArrayEnablesP9GlContext(gc);
}

// The vertex-shape pick is logged the same way; afterwards generated setups
// find every vertex field at its own offset.
extern "C" void __real__Z19__glPickVertexShapeP9GlContext(GlContext *gc);
extern "C" void __wrap__Z19__glPickVertexShapeP9GlContext(GlContext *gc) {
  if (__glStandInHook) __glStandInHook("__glPickVertexShape");
  gc->vertexShape.direct_map = 0;
  gc->vertexShape.hash = 0xDEADBEEFu;
  __real__Z19__glPickVertexShapeP9GlContext(gc);
  EXPECT_EQ(gc->vertexShape.direct_map, 1u);
  EXPECT_EQ(gc->vertexShape.hash, 0u);
  EXPECT_EQ(__glNSWhereIs(&gc->vertexShape, offsetof(GlVertex, window), 16),
            offsetof(GlVertex, window));
}

namespace {

// Of the stand-ins, those the pass calls itself.
void RecordPassStandIns(const char *name) {
  static const std::set<std::string> kCalledByThePass = {
      "__glPickVertexShape", "__glGenericPickVertexArrayEnables"};
  if (kCalledByThePass.count(name)) Record(name);
}

GLbool8 SomeSpanProcessor(GlContext *) { return 0; }

typedef std::vector<std::string> Names;

Names Concat(std::initializer_list<Names> runs) {
  Names all;
  for (const Names &run : runs) all.insert(all.end(), run.begin(), run.end());
  return all;
}

// The generic group's calls, for a double-buffered context with stencil;
// the table validators run between the last picker and the clip box.
const Names kGenericHead = {"__glPickVertexShape", "front pick", "back pick", "stencil pick",
                            "pickBufferProcs", "pickStoreProcs", "pickTransformProcs",
                            "pickColorMaterialProcs", "pickTextureProcs", "pickCalcTextureProcs",
                            "pickBlendProcs", "pickFogProcs", "pickParameterClipProcs",
                            "pickClipProcs", "pickRenderBitmapProcs"};
const Names kGenericTail = {"pickVertexProcs", "pickTriangleProcs", "pickPointProcs",
                            "pickLineProcs", "pickPixelProcs", "pickVertexArrayProcs"};
const Names kClipBox = {"computeClipBox"};
const Names kGeneric = Concat({kGenericHead, kClipBox, kGenericTail});

struct PassCase {
  const char *what;
  GlModes (*modes)();
  uint32_t dirty, tables;
  bool realStencilPick;
  Names calls;
  bool flagsComputed;
  bool spansRepicked;
};

GlModes Rgba16() { return TestModes(); }

const PassCase kPassCases[] = {
    {"nothing dirty", Rgba16, 0, 0, false, {}, false, false},
    {"generic", Rgba16, __GL_DIRTY_GENERIC, 0, false, kGeneric, true, true},
    {"lighting, material or texture", Rgba16, __GL_DIRTY_LIGHTING, 0, false, kGeneric, true, true},
    {"everything", Rgba16, __GL_DIRTY_ALL, 0, false,
     Concat({{"__glGenericPickVertexArrayEnables"}, kGenericHead, kClipBox, {"convertStipple"},
             {"pickDepthProcs"}, kGenericTail}),
     true, true},
    {"alpha and index tables", Rgba16, __GL_DIRTY_GENERIC,
     __GL_TABLE_DIRTY_ALPHA_TEST | __GL_TABLE_DIRTY_INDEX_TEST, false,
     Concat({kGenericHead, kClipBox, kGenericTail}),
     true, true},
    {"the stencil function alone: the stencil buffer rebuilds its tables", Rgba16,
     __GL_DIRTY_GENERIC, __GL_TABLE_DIRTY_STENCIL_FUNC, true,
     Concat({{"__glPickVertexShape", "front pick", "back pick", "__glValidateStencil"},
             Names(kGenericHead.begin() + 4, kGenericHead.end()), kClipBox, kGenericTail}),
     true, true},
    {"single-buffered, no stencil buffer", RgbaBare, __GL_DIRTY_GENERIC, 0, false,
     Concat({{"__glPickVertexShape", "front pick"},
             Names(kGenericHead.begin() + 4, kGenericHead.end()), kClipBox, kGenericTail}),
     true, true},
    {"line", Rgba16, __GL_DIRTY_LINE, 0, false, {"pickLineProcs"}, true, false},
    // The polygon modes and the cull face also decide what array vertices need.
    {"polygon", Rgba16, __GL_DIRTY_POLYGON, 0, false,
     {"pickVertexProcs", "pickTriangleProcs", "pickVertexArrayProcs"}, true, true},
    {"point", Rgba16, __GL_DIRTY_POINT, 0, false, {"pickPointProcs"}, true, false},
    {"pixel", Rgba16, __GL_DIRTY_PIXEL, 0, false, {"pickPixelProcs"}, true, false},
    {"polygon stipple", Rgba16, __GL_DIRTY_POLYGON_STIPPLE, 0, false, {"convertStipple"}, true,
     false},
    // Lines hold a depth test of their own: the depth group re-picks them.
    {"depth", Rgba16, __GL_DIRTY_DEPTH, 0, false,
     {"pickDepthProcs", "pickVertexProcs", "pickTriangleProcs", "pickLineProcs"}, true, true},
    {"stipple, depth and pixel", Rgba16,
     __GL_DIRTY_POLYGON_STIPPLE | __GL_DIRTY_DEPTH | __GL_DIRTY_PIXEL, 0, false,
     {"convertStipple", "pickDepthProcs", "pickVertexProcs", "pickTriangleProcs", "pickLineProcs",
      "pickPixelProcs"},
     true, true},
    {"scissor alone: the flags and nothing else", Rgba16, __GL_DIRTY_SCISSOR, 0, false, {}, true,
     false},
    // Tables asked for without a generic change are rebuilt, not dropped.
    {"tables alone: rebuilt without re-picking", Rgba16, 0,
     __GL_TABLE_DIRTY_ALPHA_TEST | __GL_TABLE_DIRTY_STENCIL_FUNC | __GL_TABLE_DIRTY_STENCIL_OP |
         __GL_TABLE_DIRTY_INDEX_TEST,
     true, {"__glValidateStencil"}, true, false},
    {"stencil operations with a scissor change", Rgba16, __GL_DIRTY_SCISSOR,
     __GL_TABLE_DIRTY_STENCIL_OP, true, {"__glValidateStencil"}, true, false},
    {"the alpha table with a point change", Rgba16, __GL_DIRTY_POINT, __GL_TABLE_DIRTY_ALPHA_TEST,
     false, {"pickPointProcs"}, true, false},
    {"stencil tables without a stencil buffer", RgbaBare, 0, __GL_TABLE_DIRTY_STENCIL_FUNC, false,
     {}, true, false},
    {"client arrays alone", Rgba16, __GL_DIRTY_VERTEX_ARRAY, 0, false,
     {"__glGenericPickVertexArrayEnables"}, false, false},
    {"modelview alone", Rgba16, __GL_DIRTY_TRANSFORM, 0, false, {}, false, false},
    {"modelview, client arrays and points", Rgba16,
     __GL_DIRTY_TRANSFORM | __GL_DIRTY_VERTEX_ARRAY | __GL_DIRTY_POINT, 0, false,
     {"__glGenericPickVertexArrayEnables", "pickPointProcs"}, true, false},
};

class PickAll : public ValidateTest {
 protected:
  void InstallRecorders(bool realStencilPick) {
    for (int i = 0; i < kPickerCount; ++i) gc->procs.*kPickerSlots[i].slot = kRecorders[i];
    gc->frontBuffer.pick = RecordColorPick;
    gc->backBuffer.pick = RecordColorPick;
    if (!realStencilPick) {
      gc->stencilBuffer.pick = RecordStencilPick;
    } else if (gc->stencilBuffer.pick != RealStencilPick) {
      gRealStencilPick = gc->stencilBuffer.pick;
      gc->stencilBuffer.pick = RealStencilPick;
    }
    __glStandInHook = RecordPassStandIns;
  }
};

TEST_F(PickAll, RunsThePickersOfEachDirtyGroupInOrder) {
  constexpr uint32_t kUntouched = 0xDEADBEEFu;
  for (const PassCase &c : kPassCases) {
    SCOPED_TRACE(c.what);
    Use(c.modes());
    InstallRecorders(c.realStencilPick);
    gc->dirtyMask = c.dirty;
    gc->tableDirtyMask = c.tables;
    gc->polygon.shader.modeFlags = kUntouched;
    gc->procs.span.processSpan = SomeSpanProcessor;
    // The alpha table is rebuilt exactly when its dirty bit was set.
    if (gc->alphaTestTable) memset(gc->alphaTestTable, 0xEE, size_t(gc->constants.alphaTestSize));
    TakeCalls();

    gc->procs.pickAllProcs(gc);

    EXPECT_EQ(TakeCalls(), c.calls);
    const bool alphaRebuilt = gc->alphaTestTable && gc->alphaTestTable[0] != 0xEE;
    EXPECT_EQ(alphaRebuilt, (c.tables & __GL_TABLE_DIRTY_ALPHA_TEST) != 0);
    EXPECT_EQ(gc->dirtyMask, 0u);
    EXPECT_EQ(gc->tableDirtyMask, 0u);
    if (c.flagsComputed)
      EXPECT_EQ(gc->polygon.shader.modeFlags, __glComputeRasterModeFlags(gc));
    else
      EXPECT_EQ(gc->polygon.shader.modeFlags, kUntouched);
    EXPECT_EQ(gc->procs.span.processSpan,
              c.spansRepicked ? __glPickProcessSpan : SomeSpanProcessor);
  }
}

// A group that a picker marks during the pass is re-picked by the later steps
// of the same pass, then cleared with the rest.
void MarkDepth(GlContext *gc) {
  Record("pickBufferProcs");
  gc->dirtyMask |= __GL_DIRTY_DEPTH;
}

TEST_F(PickAll, LaterStepsSeeGroupsMarkedDuringThePass) {
  InstallRecorders(false);
  gc->procs.pickBufferProcs = MarkDepth;
  gc->dirtyMask = __GL_DIRTY_GENERIC;
  gc->tableDirtyMask = 0;
  TakeCalls();
  gc->procs.pickAllProcs(gc);
  EXPECT_EQ(TakeCalls(),
            Concat({kGenericHead, kClipBox, {"pickDepthProcs"}, kGenericTail}));
  EXPECT_EQ(gc->dirtyMask, 0u);
}

// glDepthFunc marks the depth group alone; a line picked while the function
// was GL_NEVER draws nothing, so leaving GL_NEVER must pick lines again.
TEST_F(PickAll, LinesDrawAgainOnceTheDepthFunctionLeavesGL_NEVER) {
  const void *nothing = reinterpret_cast<const void *>(&__glNop1);
  glEnable(GL_DEPTH_TEST);
  for (GLenum func : {GL_LESS, GL_EQUAL, GL_ALWAYS}) {
    SCOPED_TRACE(func);
    glDepthFunc(GL_NEVER);
    glBegin(GL_LINES);
    glEnd();
    EXPECT_EQ(reinterpret_cast<const void *>(gc->procs.line.processLine), nothing);
    glDepthFunc(func);
    glBegin(GL_LINES);
    glEnd();
    EXPECT_NE(reinterpret_cast<const void *>(gc->procs.line.processLine), nothing);
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
}  // namespace validate_test
