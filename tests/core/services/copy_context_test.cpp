// Context copy by attribute mask, and the release of the server attribute
// stack's records.
#include <stddef.h>
#include <string.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/current.h"
#include "core/s_attrib.h"
#include "core/s_setters.h"
#include "tests/core/services/service_context.h"

namespace {

// A context with its own lights and clip planes, every state byte set to
// `fill` (the pointers excepted), bound once and released: its state is set
// up.
class StateContext {
 public:
  explicit StateContext(uint8_t fill) {
    GlContext *gc = ctx_.gc();
    gc->flags = __GL_GC_VALIDATED_ONCE | __GL_GC_INITIALIZED;
    memset(&gc->state, fill, sizeof gc->state);
    memset(lights_, fill, sizeof lights_);
    memset(planes_, fill, sizeof planes_);
    gc->state.light.source = lights_;
    gc->state.transform.eyeClipPlanes = planes_;
    gc->state.current.rasterPos.color = &gc->state.current.rasterPos.colors[__GL_FRONTFACE];
    gc->beginMode = __GL_NOT_IN_BEGIN;
    // Fog's derived words as this context's own buffer gives them, as any
    // glFog leaves them.
    __glRederiveFog(gc);
  }
  GlContext *gc() const { return ctx_.gc(); }
  GlLight *lights() { return lights_; }
  GlCoord *planes() { return planes_; }

 private:
  ServiceContext ctx_;
  GlLight lights_[8];
  GlCoord planes_[6];
};

template <typename T>
bool Same(const T &a, const T &b) {
  return memcmp(&a, &b, sizeof a) == 0;
}

// The groups held as whole records: where they lie in GlState.
struct WholeGroup {
  GLuint bit;
  size_t offset, size;
};
#define GROUP(bit, member) {bit, offsetof(GlState, member), sizeof(GlState::member)}
const WholeGroup wholeGroups[] = {
    GROUP(GL_ACCUM_BUFFER_BIT, accum),         GROUP(GL_COLOR_BUFFER_BIT, raster),
    GROUP(GL_DEPTH_BUFFER_BIT, depth),         GROUP(GL_FOG_BIT, fog),
    GROUP(GL_HINT_BIT, hints),                 GROUP(GL_LINE_BIT, line),
    GROUP(GL_LIST_BIT, list),                  GROUP(GL_POINT_BIT, point),
    GROUP(GL_POLYGON_BIT, polygon),            GROUP(GL_POLYGON_STIPPLE_BIT, polygonStipple),
    GROUP(GL_SCISSOR_BIT, scissor),            GROUP(GL_STENCIL_BUFFER_BIT, stencil),
    GROUP(GL_VIEWPORT_BIT, viewport),          GROUP(GL_EVAL_BIT, evaluator),
};
#undef GROUP

const GLuint someMasks[] = {
    0,
    GL_ACCUM_BUFFER_BIT,
    GL_CURRENT_BIT | GL_VIEWPORT_BIT,
    GL_LIGHTING_BIT | GL_TRANSFORM_BIT,
    GL_DEPTH_BUFFER_BIT | GL_SCISSOR_BIT | GL_POLYGON_STIPPLE_BIT,
    GL_COLOR_BUFFER_BIT | GL_FOG_BIT | GL_HINT_BIT | GL_LINE_BIT | GL_LIST_BIT,
    GL_ALL_ATTRIB_BITS,
    0xFFFFFFFFu,
};

TEST(CopyContext, TheGroupsOfTheMaskArrive) {
  for (GLuint mask : someMasks) {
    SCOPED_TRACE(mask);
    StateContext src(0x11), dst(0x22);
    // The source's raster position takes its colour from the back entry.
    GlVertex &srcRaster = src.gc()->state.current.rasterPos;
    srcRaster.color = &srcRaster.colors[__GL_BACKFACE];
    GlState before = dst.gc()->state;
    GlLight lightsBefore[8];
    memcpy(lightsBefore, dst.lights(), sizeof lightsBefore);
    GlCoord planesBefore[6];
    memcpy(planesBefore, dst.planes(), sizeof planesBefore);
    int live = ServiceContext::Live();

    ASSERT_TRUE(__glCopyContext(dst.gc(), src.gc(), mask));
    EXPECT_EQ(ServiceContext::Live(), live) << "a copy allocates nothing";
    const GlState &d = dst.gc()->state;
    const GlState &s = src.gc()->state;
    for (const WholeGroup &g : wholeGroups) {
      SCOPED_TRACE(g.bit);
      const void *want = (mask & g.bit) ? static_cast<const void *>(&s) : &before;
      EXPECT_EQ(memcmp(reinterpret_cast<const char *>(&d) + g.offset,
                       static_cast<const char *>(want) + g.offset, g.size),
                0);
    }
    // Pointers keep leading to dst's own records; what they lead to is copied.
    EXPECT_EQ(d.light.source, dst.lights());
    EXPECT_EQ(d.transform.eyeClipPlanes, dst.planes());
    bool current = mask & GL_CURRENT_BIT;
    EXPECT_EQ(d.current.rasterPos.color,
              &d.current.rasterPos.colors[current ? __GL_BACKFACE : __GL_FRONTFACE]);
    EXPECT_TRUE(Same(d.current.color, current ? s.current.color : before.current.color));
    EXPECT_TRUE(Same(d.current.rasterPos.window,
                     current ? s.current.rasterPos.window : before.current.rasterPos.window));
    bool lighting = mask & GL_LIGHTING_BIT;
    EXPECT_TRUE(Same(d.light.front, lighting ? s.light.front : before.light.front));
    EXPECT_TRUE(Same(d.light.model, lighting ? s.light.model : before.light.model));
    EXPECT_EQ(memcmp(dst.lights(), lighting ? src.lights() : lightsBefore, sizeof lightsBefore),
              0);
    bool transform = mask & GL_TRANSFORM_BIT;
    EXPECT_EQ(d.transform.matrixMode,
              transform ? s.transform.matrixMode : before.transform.matrixMode);
    EXPECT_EQ(memcmp(dst.planes(), transform ? src.planes() : planesBefore, sizeof planesBefore),
              0);
  }
}

TEST(CopyContext, EachGroupBringsItsOwnEnables) {
  struct Case {
    GLuint mask;
    uint32_t general;  // general enable bits dst takes from src
    bool texture, lights, clipPlanes, eval;
  } cases[] = {
      {GL_ACCUM_BUFFER_BIT, 0, false, false, false, false},
      {GL_COLOR_BUFFER_BIT,
       __GL_ALPHA_TEST_ENABLE | __GL_BLEND_ENABLE | __GL_INDEX_LOGIC_OP_ENABLE |
           __GL_COLOR_LOGIC_OP_ENABLE | __GL_DITHER_ENABLE | __GL_INDEX_TEST_ENABLE,
       false, false, false, false},
      {GL_DEPTH_BUFFER_BIT, __GL_DEPTH_TEST_ENABLE, false, false, false, false},
      {GL_ENABLE_BIT, 0xFFFFFFFFu, true, true, true, true},
      {GL_EVAL_BIT, __GL_AUTO_NORMAL_ENABLE, false, false, false, true},
      {GL_FOG_BIT, __GL_FOG_ENABLE, false, false, false, false},
      {GL_LIGHTING_BIT,
       __GL_LIGHTING_ENABLE | __GL_COLOR_MATERIAL_ENABLE | __GL_INDEX_MATERIAL_ENABLE, false,
       true, false, false},
      {GL_LINE_BIT, __GL_LINE_SMOOTH_ENABLE | __GL_LINE_STIPPLE_ENABLE, false, false, false,
       false},
      {GL_POINT_BIT, __GL_POINT_SMOOTH_ENABLE, false, false, false, false},
      {GL_POLYGON_BIT,
       __GL_POLYGON_SMOOTH_ENABLE | __GL_CULL_FACE_ENABLE | __GL_POLYGON_STIPPLE_ENABLE |
           __GL_POLYGON_OFFSET_POINT_ENABLE | __GL_POLYGON_OFFSET_LINE_ENABLE |
           __GL_POLYGON_OFFSET_FILL_ENABLE,
       false, false, false, false},
      {GL_POLYGON_STIPPLE_BIT, __GL_POLYGON_STIPPLE_ENABLE, false, false, false, false},
      {GL_SCISSOR_BIT, __GL_SCISSOR_TEST_ENABLE, false, false, false, false},
      {GL_STENCIL_BUFFER_BIT, __GL_STENCIL_TEST_ENABLE, false, false, false, false},
      {GL_TEXTURE_BIT, 0, true, false, false, false},
      {GL_TRANSFORM_BIT, __GL_NORMALIZE_ENABLE, false, false, true, false},
      {GL_VIEWPORT_BIT | GL_HINT_BIT | GL_LIST_BIT | GL_CURRENT_BIT | GL_PIXEL_MODE_BIT, 0, false,
       false, false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.mask);
    StateContext src(0x00), dst(0x00);
    GlEnableState &s = src.gc()->state.enables;
    s.general = 0xFFFFFFFFu;
    s.texture = 0x3F;
    s.lights = 0xFF;
    s.clipPlanes = 0x3F;
    s.eval1 = s.eval2 = 0x1FF;
    ASSERT_TRUE(__glCopyContext(dst.gc(), src.gc(), c.mask));
    const GlEnableState &d = dst.gc()->state.enables;
    EXPECT_EQ(d.general, c.general);
    EXPECT_EQ(d.texture, c.texture ? 0x3Fu : 0u);
    EXPECT_EQ(d.lights, c.lights ? 0xFFu : 0u);
    EXPECT_EQ(d.clipPlanes, c.clipPlanes ? 0x3Fu : 0u);
    EXPECT_EQ(d.eval1, c.eval ? 0x1FF : 0);
    EXPECT_EQ(d.eval2, c.eval ? 0x1FF : 0);
  }
}

// What the copy marks and calls on the destination.
struct Calls {
  int colorMaterial = 0, applyColor = 0, applyViewport = 0;
};
Calls calls;

TEST(CopyContext, TheDestinationIsMarkedAndUpdated) {
  struct Case {
    GLuint mask;
    bool bound;  // dst bound to a drawable
    uint32_t dirty, tableDirty;
    int colorProcs, viewport;
  } cases[] = {
      {0, false, __GL_DIRTY_GENERIC, 0, 0, 0},
      {GL_COLOR_BUFFER_BIT, false, __GL_DIRTY_GENERIC, 0x1 | 0x8, 0, 0},
      {GL_DEPTH_BUFFER_BIT, false, __GL_DIRTY_GENERIC | __GL_DIRTY_DEPTH, 0, 0, 0},
      {GL_ENABLE_BIT, false,
       __GL_DIRTY_GENERIC | __GL_DIRTY_LINE | __GL_DIRTY_POLYGON | __GL_DIRTY_POINT |
           __GL_DIRTY_LIGHTING | __GL_DIRTY_DEPTH | __GL_DIRTY_SCISSOR,
       0, 1, 0},
      {GL_LIGHTING_BIT | GL_LINE_BIT, false,
       __GL_DIRTY_GENERIC | __GL_DIRTY_LIGHTING | __GL_DIRTY_LINE, 0, 0, 0},
      {GL_PIXEL_MODE_BIT | GL_POINT_BIT, false,
       __GL_DIRTY_GENERIC | __GL_DIRTY_PIXEL | __GL_DIRTY_POINT, 0, 0, 0},
      {GL_POLYGON_BIT, false, __GL_DIRTY_GENERIC | __GL_DIRTY_POLYGON, 0, 0, 0},
      {GL_POLYGON_STIPPLE_BIT, false,
       __GL_DIRTY_GENERIC | __GL_DIRTY_POLYGON | __GL_DIRTY_POLYGON_STIPPLE, 0, 0, 0},
      {GL_SCISSOR_BIT, false, __GL_DIRTY_GENERIC | __GL_DIRTY_SCISSOR, 0, 0, 0},
      {GL_STENCIL_BUFFER_BIT, false, __GL_DIRTY_GENERIC, 0x2 | 0x4, 0, 0},
      {GL_VIEWPORT_BIT, false, __GL_DIRTY_GENERIC, 0, 0, 0},
      {GL_VIEWPORT_BIT, true, __GL_DIRTY_GENERIC, 0, 0, 1},
      {GL_ALL_ATTRIB_BITS, true,
       __GL_DIRTY_ALL & ~(__GL_DIRTY_VERTEX_ARRAY | __GL_DIRTY_TRANSFORM), 0xF, 1, 1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.mask);
    StateContext src(0), dst(0);
    GlContext *gc = dst.gc();
    gc->procs.pickColorMaterialProcs = [](GlContext *) { calls.colorMaterial++; };
    gc->procs.applyColor = [](GlContext *) { calls.applyColor++; };
    gc->procs.applyViewport = [](GlContext *) -> GLbool8 {
      calls.applyViewport++;
      return 1;
    };
    // Any non-null drawable will do: the copy only asks whether there is one.
    alignas(8) char drawable[8];
    if (c.bound) {
      gc->flags = __GL_GC_VALIDATED_ONCE | __GL_GC_INITIALIZED;
      gc->drawablePrivate = reinterpret_cast<GlDrawable *>(drawable);
    }
    calls = Calls();
    ASSERT_TRUE(__glCopyContext(gc, src.gc(), c.mask));
    EXPECT_EQ(gc->dirtyMask, c.dirty);
    EXPECT_EQ(gc->tableDirtyMask, c.tableDirty);
    EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
    EXPECT_EQ(calls.colorMaterial, c.colorProcs);
    EXPECT_EQ(calls.applyColor, c.colorProcs);
    EXPECT_EQ(calls.applyViewport, c.viewport);
  }
}

TEST(CopyContext, TheCallersOwnContextIsLeftAlone) {
  StateContext src(0), dst(0), mine(0);
  // On a thread without a context: the shared placeholder is never written.
  int32_t placeholderMode = __wglPlaceholderContext.beginMode;
  ASSERT_TRUE(__glCopyContext(dst.gc(), src.gc(), GL_ALL_ATTRIB_BITS));
  EXPECT_EQ(__wglPlaceholderContext.beginMode, placeholderMode);
  // With another context current: its begin mode and marks stay.
  mine.gc()->beginMode = __GL_IN_BEGIN;
  __glSetTLSCXValue(mine.gc());
  ASSERT_TRUE(__glCopyContext(dst.gc(), src.gc(), GL_ALL_ATTRIB_BITS));
  __glSetTLSCXValue(&__wglPlaceholderContext);
  EXPECT_EQ(mine.gc()->beginMode, __GL_IN_BEGIN);
  EXPECT_EQ(mine.gc()->dirtyMask, 0u);
  // A destination inside glBegin keeps its begin mode and is still marked.
  dst.gc()->beginMode = __GL_IN_BEGIN;
  dst.gc()->dirtyMask = 0;
  ASSERT_TRUE(__glCopyContext(dst.gc(), src.gc(), GL_DEPTH_BUFFER_BIT));
  EXPECT_EQ(dst.gc()->beginMode, __GL_IN_BEGIN);
  EXPECT_EQ(dst.gc()->dirtyMask, __GL_DIRTY_GENERIC | __GL_DIRTY_DEPTH);
}

// A context's state is set up by its first binding: before it a source
// holds zeros (depth function 0, draw buffer 0 ...), and a destination
// would lose the copy to the reset. The copy is refused and reported.
TEST(CopyContext, ContextsNeverBoundAreRefused) {
  struct Case {
    const char *what;
    uint32_t srcFlags, dstFlags;
    bool copied;
  } cases[] = {
      {"both set up", __GL_GC_VALIDATED_ONCE | __GL_GC_INITIALIZED,
       __GL_GC_VALIDATED_ONCE | __GL_GC_INITIALIZED, true},
      {"source never bound", 0, __GL_GC_VALIDATED_ONCE | __GL_GC_INITIALIZED, false},
      {"destination never bound", __GL_GC_VALIDATED_ONCE | __GL_GC_INITIALIZED, 0, false},
      {"neither bound", 0, 0, false},
      {"source with buffers only", __GL_GC_INITIALIZED,
       __GL_GC_VALIDATED_ONCE | __GL_GC_INITIALIZED, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    StateContext src(0x11), dst(0x22);
    src.gc()->flags = c.srcFlags;
    dst.gc()->flags = c.dstFlags;
    GlState before = dst.gc()->state;
    GlLight lightsBefore[8];
    memcpy(lightsBefore, dst.lights(), sizeof lightsBefore);
    EXPECT_EQ(__glCopyContext(dst.gc(), src.gc(), GL_ALL_ATTRIB_BITS) != 0, c.copied);
    EXPECT_EQ(Same(dst.gc()->state, before), !c.copied);
    EXPECT_EQ(memcmp(dst.lights(), lightsBefore, sizeof lightsBefore) == 0, !c.copied);
    EXPECT_EQ(dst.gc()->dirtyMask != 0, c.copied);
    EXPECT_EQ(dst.gc()->beginMode,
              c.copied ? __GL_VALIDATE_PENDING : __GL_NOT_IN_BEGIN);
  }
}

TEST(CopyContext, CopyingAContextOntoItselfOrFromNothing) {
  StateContext one(0x33);
  GlState before = one.gc()->state;
  EXPECT_TRUE(__glCopyContext(one.gc(), one.gc(), GL_ALL_ATTRIB_BITS));
  EXPECT_TRUE(Same(one.gc()->state, before));
  EXPECT_FALSE(__glCopyContext(one.gc(), nullptr, GL_ALL_ATTRIB_BITS));
  EXPECT_FALSE(__glCopyContext(nullptr, one.gc(), GL_ALL_ATTRIB_BITS));
}

// ---- The server attribute records at destruction --------------------------------

TEST(AttributeRecords, EveryRecordAndItsCopiesAreFreed) {
  struct Case {
    int levels;           // records made
    bool lights, planes;  // copies each record owns
  } cases[] = {{0, false, false}, {1, true, false}, {3, false, true}, {16, true, true}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.levels);
    ServiceContext ctx;
    GlContext *gc = ctx.gc();
    int start = ServiceContext::Live();
    auto **stack = static_cast<GlAttribRecord **>(
        gc->imports.calloc(gc, gc->constants.maxAttribStackDepth, sizeof(GlAttribRecord *)));
    ASSERT_NE(stack, nullptr);
    gc->attributeStack = stack;
    for (int i = 0; i < c.levels; ++i) {
      auto *record =
          static_cast<GlAttribRecord *>(gc->imports.calloc(gc, 1, sizeof(GlAttribRecord)));
      ASSERT_NE(record, nullptr);
      if (c.lights) {
        record->state.light.source =
            static_cast<GlLight *>(gc->imports.calloc(gc, 8, sizeof(GlLight)));
      }
      if (c.planes) {
        record->state.transform.eyeClipPlanes =
            static_cast<GlCoord *>(gc->imports.calloc(gc, 6, sizeof(GlCoord)));
      }
      stack[i] = record;
    }
    gc->attributeStackTop = stack + c.levels;
    __glFreeAttributeState(gc);
    EXPECT_EQ(ServiceContext::Live(), start + 1) << "only the stack array is left";
    for (int i = 0; i < gc->constants.maxAttribStackDepth; ++i) EXPECT_EQ(stack[i], nullptr);
    EXPECT_EQ(gc->attributeStackTop, stack);
    __glFreeAttributeState(gc);  // twice is harmless
    gc->imports.free(gc, stack);
    EXPECT_EQ(ServiceContext::Live(), start);
  }
  ServiceContext none;
  __glFreeAttributeState(none.gc());  // no stack at all
}

}  // namespace
