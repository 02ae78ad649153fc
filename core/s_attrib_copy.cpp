// Context copy: the server attribute groups of a mask from one context to
// another, with the per-group enables, marks and calls of a pop.
#include <string.h>

#include "core/context.h"
#include "core/s_attrib.h"

namespace {

typedef void (*CopyGroup)(GlContext *dst, const GlContext *src);

// What the copy of a group calls on the destination afterwards.
enum GroupCall : uint8_t { kNoCall = 0, kColorProcs = 1, kViewport = 2 };

struct Group {
  GLuint bit;
  CopyGroup copy;         // null: the group's state is not held yet
  uint32_t enables;       // bits of enables.general taken from src
  uint32_t dirty;         // dirtyMask bits
  uint32_t tableDirty;    // tableDirtyMask bits
  GroupCall call;
};

int32_t Smaller(int32_t a, int32_t b) { return a < b ? a : b; }

// Arrays of records both contexts have: the entries both can hold.
template <typename T>
void CopyArray(T *dst, const T *src, int32_t count) {
  if (dst != nullptr && src != nullptr && count > 0) memcpy(dst, src, sizeof(T) * count);
}

void CopyCurrent(GlContext *dst, const GlContext *src) {
  GlVertex &raster = dst->state.current.rasterPos;
  const GlVertex &from = src->state.current.rasterPos;
  dst->state.current = src->state.current;
  // The raster position's colour pointer leads into its own record: point
  // it at the same face of dst's.
  raster.color = from.color == &from.colors[__GL_BACKFACE] ? &raster.colors[__GL_BACKFACE]
                                                           : &raster.colors[__GL_FRONTFACE];
}

void CopyLighting(GlContext *dst, const GlContext *src) {
  GlLightState &d = dst->state.light;
  const GlLightState &s = src->state.light;
  d.colorMaterialFace = s.colorMaterialFace;
  d.colorMaterialParam = s.colorMaterialParam;
  d.indexMaterialFace = s.indexMaterialFace;
  d.indexMaterialParam = s.indexMaterialParam;
  d.shadingModel = s.shadingModel;
  d.model = s.model;
  d.front = s.front;
  d.back = s.back;
  CopyArray(d.source, s.source,
            Smaller(dst->constants.numberOfLights, src->constants.numberOfLights));
  dst->state.enables.lights = src->state.enables.lights;
}

void CopyTransform(GlContext *dst, const GlContext *src) {
  dst->state.transform.matrixMode = src->state.transform.matrixMode;
  CopyArray(dst->state.transform.eyeClipPlanes, src->state.transform.eyeClipPlanes,
            Smaller(dst->constants.numberOfClipPlanes, src->constants.numberOfClipPlanes));
  dst->state.enables.clipPlanes = src->state.enables.clipPlanes;
}

// The grids and the map enables; the maps themselves are not state a copy
// carries.
void CopyEvaluator(GlContext *dst, const GlContext *src) {
  dst->state.evaluator = src->state.evaluator;
  dst->state.enables.eval1 = src->state.enables.eval1;
  dst->state.enables.eval2 = src->state.enables.eval2;
}

// The transfer modes (zoom included) and both read-buffer words.
void CopyPixelMode(GlContext *dst, const GlContext *src) {
  dst->pixel.transferMode = src->pixel.transferMode;
  dst->pixel.readBuffer = src->pixel.readBuffer;
  dst->pixel.readBufferReturn = src->pixel.readBufferReturn;
}

void CopyTextureEnables(GlContext *dst, const GlContext *src) {
  dst->state.enables.texture = src->state.enables.texture;
}

constexpr uint32_t kColorBufferEnables = __GL_ALPHA_TEST_ENABLE | __GL_BLEND_ENABLE |
                                         __GL_INDEX_LOGIC_OP_ENABLE | __GL_COLOR_LOGIC_OP_ENABLE |
                                         __GL_DITHER_ENABLE | __GL_INDEX_TEST_ENABLE;
constexpr uint32_t kLightingEnables =
    __GL_LIGHTING_ENABLE | __GL_COLOR_MATERIAL_ENABLE | __GL_INDEX_MATERIAL_ENABLE;
constexpr uint32_t kPolygonEnables =
    __GL_POLYGON_SMOOTH_ENABLE | __GL_CULL_FACE_ENABLE | __GL_POLYGON_STIPPLE_ENABLE |
    __GL_POLYGON_OFFSET_POINT_ENABLE | __GL_POLYGON_OFFSET_LINE_ENABLE |
    __GL_POLYGON_OFFSET_FILL_ENABLE;
constexpr uint32_t kColorBufferTables = __GL_TABLE_DIRTY_ALPHA_TEST | __GL_TABLE_DIRTY_INDEX_TEST;
constexpr uint32_t kStencilTables = __GL_TABLE_DIRTY_STENCIL_FUNC | __GL_TABLE_DIRTY_STENCIL_OP;
constexpr uint32_t kEnableDirty = __GL_DIRTY_LINE | __GL_DIRTY_POLYGON | __GL_DIRTY_POINT |
                                  __GL_DIRTY_LIGHTING | __GL_DIRTY_DEPTH | __GL_DIRTY_SCISSOR;

#define WHOLE(member) [](GlContext *d, const GlContext *s) { d->state.member = s->state.member; }

// In the order push, pop and copy visit the groups. The texture group holds
// only its enables until its subsystem arrives.
const Group groups[] = {
    {GL_ACCUM_BUFFER_BIT, WHOLE(accum), 0, 0, 0, kNoCall},
    {GL_COLOR_BUFFER_BIT, WHOLE(raster), kColorBufferEnables, 0, kColorBufferTables, kNoCall},
    {GL_CURRENT_BIT, CopyCurrent, 0, 0, 0, kNoCall},
    {GL_DEPTH_BUFFER_BIT, WHOLE(depth), __GL_DEPTH_TEST_ENABLE, __GL_DIRTY_DEPTH, 0, kNoCall},
    {GL_ENABLE_BIT, WHOLE(enables), 0, kEnableDirty, 0, kColorProcs},
    {GL_EVAL_BIT, CopyEvaluator, __GL_AUTO_NORMAL_ENABLE, 0, 0, kNoCall},
    {GL_FOG_BIT, WHOLE(fog), __GL_FOG_ENABLE, 0, 0, kNoCall},
    {GL_HINT_BIT, WHOLE(hints), 0, 0, 0, kNoCall},
    {GL_LIGHTING_BIT, CopyLighting, kLightingEnables, __GL_DIRTY_LIGHTING, 0, kNoCall},
    {GL_LINE_BIT, WHOLE(line), __GL_LINE_SMOOTH_ENABLE | __GL_LINE_STIPPLE_ENABLE,
     __GL_DIRTY_LINE, 0, kNoCall},
    {GL_LIST_BIT, WHOLE(list), 0, 0, 0, kNoCall},
    {GL_PIXEL_MODE_BIT, CopyPixelMode, 0, __GL_DIRTY_PIXEL, 0, kNoCall},
    {GL_POINT_BIT, WHOLE(point), __GL_POINT_SMOOTH_ENABLE, __GL_DIRTY_POINT, 0, kNoCall},
    {GL_POLYGON_BIT, WHOLE(polygon), kPolygonEnables, __GL_DIRTY_POLYGON, 0, kNoCall},
    // The stipple is converted during validation.
    {GL_POLYGON_STIPPLE_BIT, WHOLE(polygonStipple), __GL_POLYGON_STIPPLE_ENABLE,
     __GL_DIRTY_POLYGON | __GL_DIRTY_POLYGON_STIPPLE, 0, kNoCall},
    {GL_SCISSOR_BIT, WHOLE(scissor), __GL_SCISSOR_TEST_ENABLE, __GL_DIRTY_SCISSOR, 0, kNoCall},
    {GL_STENCIL_BUFFER_BIT, WHOLE(stencil), __GL_STENCIL_TEST_ENABLE, 0, kStencilTables, kNoCall},
    {GL_TEXTURE_BIT, CopyTextureEnables, 0, 0, 0, kNoCall},
    {GL_TRANSFORM_BIT, CopyTransform, __GL_NORMALIZE_ENABLE, 0, 0, kNoCall},
    {GL_VIEWPORT_BIT, WHOLE(viewport), 0, 0, 0, kViewport},
};

#undef WHOLE

void Call(GlContext *dst, GroupCall call) {
  if (call == kColorProcs) {
    if (dst->procs.pickColorMaterialProcs) dst->procs.pickColorMaterialProcs(dst);
    if (dst->procs.applyColor) dst->procs.applyColor(dst);
  } else if (call == kViewport) {
    // Only a bound context has a window to apply the viewport to; any other
    // one re-applies it when it is next bound.
    bool bound = (dst->flags & __GL_GC_INITIALIZED) && dst->drawablePrivate != nullptr;
    if (bound && dst->procs.applyViewport) dst->procs.applyViewport(dst);
  }
}

// A context's state is set up, and its colours scaled, on its first
// binding. Before that a source holds zeros that no setter would store, and
// the first binding would reset whatever a destination was given.
bool StateSetUp(const GlContext *gc) { return (gc->flags & __GL_GC_VALIDATED_ONCE) != 0; }

}  // namespace

GLbool8 __glCopyContext(GlContext *dst, GlContext *src, GLuint mask) {
  if (dst == nullptr || src == nullptr) return 0;
  if (!StateSetUp(dst) || !StateSetUp(src)) return 0;
  if (dst == src) return 1;
  uint32_t dirty = __GL_DIRTY_GENERIC, tableDirty = 0;
  for (const Group &group : groups) {
    if (!(mask & group.bit)) continue;
    if (group.copy) group.copy(dst, src);
    uint32_t &general = dst->state.enables.general;
    general = (general & ~group.enables) | (src->state.enables.general & group.enables);
    dirty |= group.dirty;
    tableDirty |= group.tableDirty;
    Call(dst, group.call);
  }
  // The destination, not the caller's current context, waits for
  // validation; a context inside glBegin keeps its begin mode.
  dst->dirtyMask |= dirty;
  dst->tableDirtyMask |= tableDirty;
  if (dst->beginMode != __GL_IN_BEGIN) dst->beginMode = __GL_VALIDATE_PENDING;
  return 1;
}
