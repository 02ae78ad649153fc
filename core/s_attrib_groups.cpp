// The server attribute groups in the order push, pop and copy visit them,
// with the enables each brings back and the marks and calls that follow.
#include "core/s_attrib_groups.h"

#include <string.h>

#include "core/context.h"
#include "core/s_names.h"
#include "core/s_setters.h"

namespace {

typedef const GlAttribSide &Side;
typedef void (*CopyGroup)(Side dst, Side src);

// What a group calls on the destination context afterwards.
enum GroupCalls : uint8_t {
  kNoCall = 0,
  kColorProcs = 0x1,  // pickColorMaterialProcs, applyColor
  kViewport = 0x2,    // applyViewport
  kScissor = 0x4,     // computeClipBox, applyScissor
  kStipple = 0x8,     // convertStipple
};

struct Group {
  GLuint bit;
  CopyGroup copy;
  uint32_t enables;     // bits of enables.general taken from the source
  uint32_t popDirty;    // dirtyMask bits of a pop
  uint32_t copyDirty;   // and of a copy
  uint32_t tableDirty;  // tableDirtyMask bits of either
  uint8_t popCalls, copyCalls;
};

int32_t Smaller(int32_t a, int32_t b) { return a < b ? a : b; }

// Arrays both sides have: the entries both can hold.
template <typename T>
void CopyArray(T *dst, const T *src, int32_t count) {
  if (dst != nullptr && src != nullptr && count > 0) memcpy(dst, src, sizeof(T) * size_t(count));
}

void CopyCurrent(Side d, Side s) {
  GlVertex &raster = d.state->current.rasterPos;
  const GlVertex &from = s.state->current.rasterPos;
  d.state->current = s.state->current;
  // The raster position's colour pointer leads into its own record: point
  // it at the same face of the destination's.
  raster.color = from.color == &from.colors[__GL_BACKFACE] ? &raster.colors[__GL_BACKFACE]
                                                           : &raster.colors[__GL_FRONTFACE];
}

void CopyLighting(Side d, Side s) {
  GlLightState &dl = d.state->light;
  const GlLightState &sl = s.state->light;
  dl.colorMaterialFace = sl.colorMaterialFace;
  dl.colorMaterialParam = sl.colorMaterialParam;
  dl.indexMaterialFace = sl.indexMaterialFace;
  dl.indexMaterialParam = sl.indexMaterialParam;
  dl.shadingModel = sl.shadingModel;
  dl.model = sl.model;
  dl.front = sl.front;
  dl.back = sl.back;
  CopyArray(dl.source, sl.source, Smaller(d.lights, s.lights));
  d.state->enables.lights = s.state->enables.lights;
}

void CopyTransform(Side d, Side s) {
  d.state->transform.matrixMode = s.state->transform.matrixMode;
  CopyArray(d.state->transform.eyeClipPlanes, s.state->transform.eyeClipPlanes,
            Smaller(d.clipPlanes, s.clipPlanes));
  d.state->enables.clipPlanes = s.state->enables.clipPlanes;
}

// The grids and the map enables; the maps themselves are not in the group.
void CopyEvaluator(Side d, Side s) {
  d.state->evaluator = s.state->evaluator;
  d.state->enables.eval1 = s.state->enables.eval1;
  d.state->enables.eval2 = s.state->enables.eval2;
}

// A context derives what fog blends with from its own buffer.
void CopyFog(Side d, Side s) {
  d.state->fog = s.state->fog;
  if (d.gc) __glRederiveFog(d.gc);
}

// The transfer modes (zoom included) and both read-buffer words.
void CopyPixelMode(Side d, Side s) {
  *d.transferMode = *s.transferMode;
  *d.readBuffer = *s.readBuffer;
  *d.readBufferReturn = *s.readBufferReturn;
}

// A context first binds the saved names, as glBindTexture would; then the
// target's parameters go into its copy and, as glTexParameter writes them,
// into the object bound. A name that cannot be bound again (it names a
// texture of the other dimension now) keeps the bound object's own. A pop
// reports that name to its caller; a copy (the source is a context) has no
// caller to report to: the current context did not ask for the binding.
void CopyTextureTargets(Side d, Side s) {
  for (int i = 0; i < 2; ++i) {
    GlTextureTargetState &to = d.textureTargets[i];
    const GlTextureTargetState &from = s.textureTargets[i];
    if (d.gc == nullptr) {
      to = from;
      continue;
    }
    const bool copying = s.gc != nullptr;
    if (to.texobjs.name != from.texobjs.name &&
        (!copying || __glCanBindTexture(d.gc, i, from.texobjs.name)))
      __glBindTexture(d.gc, i, from.texobjs.name);
    if (to.texobjs.name != from.texobjs.name) continue;
    to.params = from.params;
    to.texobjs.priority = from.texobjs.priority;
    GlTextureObject *bound = d.gc->texture.bound[i];
    if (bound == nullptr) continue;
    // Another context may hold the same object.
    __glNamesEnterLock();
    __glLoadTextureParams(bound, &to.params);
    bound->texobjs.priority = to.texobjs.priority;
    __glNamesLeaveLock();
  }
}

void CopyTexture(Side d, Side s) {
  memcpy(d.texCoordGen, s.texCoordGen, sizeof(GlTexCoordGen) * 4);
  CopyTextureTargets(d, s);
  CopyArray(d.textureEnv, s.textureEnv, Smaller(d.textureEnvs, s.textureEnvs));
  d.state->enables.texture = s.state->enables.texture;
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
constexpr uint32_t kEnableCopyDirty = __GL_DIRTY_LINE | __GL_DIRTY_POLYGON | __GL_DIRTY_POINT |
                                      __GL_DIRTY_LIGHTING | __GL_DIRTY_DEPTH | __GL_DIRTY_SCISSOR;
constexpr uint32_t kEnablePopDirty = kEnableCopyDirty | __GL_DIRTY_PIXEL;
static_assert(kEnableCopyDirty == 0x1AE && kEnablePopDirty == 0x1BE, "the enable group's marks");

#define WHOLE(member) [](Side d, Side s) { d.state->member = s.state->member; }

const Group groups[] = {
    {GL_ACCUM_BUFFER_BIT, WHOLE(accum), 0, 0, 0, 0, kNoCall, kNoCall},
    {GL_COLOR_BUFFER_BIT, WHOLE(raster), kColorBufferEnables, 0, 0, kColorBufferTables, kNoCall,
     kNoCall},
    {GL_CURRENT_BIT, CopyCurrent, 0, 0, 0, 0, kNoCall, kNoCall},
    {GL_DEPTH_BUFFER_BIT, WHOLE(depth), __GL_DEPTH_TEST_ENABLE, __GL_DIRTY_DEPTH,
     __GL_DIRTY_DEPTH, 0, kNoCall, kNoCall},
    {GL_ENABLE_BIT, WHOLE(enables), 0, kEnablePopDirty, kEnableCopyDirty, 0,
     kColorProcs | kScissor, kColorProcs},
    {GL_EVAL_BIT, CopyEvaluator, __GL_AUTO_NORMAL_ENABLE, 0, 0, 0, kNoCall, kNoCall},
    {GL_FOG_BIT, CopyFog, __GL_FOG_ENABLE, 0, 0, 0, kNoCall, kNoCall},
    {GL_HINT_BIT, WHOLE(hints), 0, 0, 0, 0, kNoCall, kNoCall},
    {GL_LIGHTING_BIT, CopyLighting, kLightingEnables, __GL_DIRTY_LIGHTING, __GL_DIRTY_LIGHTING, 0,
     kNoCall, kNoCall},
    {GL_LINE_BIT, WHOLE(line), __GL_LINE_SMOOTH_ENABLE | __GL_LINE_STIPPLE_ENABLE,
     __GL_DIRTY_LINE, __GL_DIRTY_LINE, 0, kNoCall, kNoCall},
    {GL_LIST_BIT, WHOLE(list), 0, 0, 0, 0, kNoCall, kNoCall},
    {GL_PIXEL_MODE_BIT, CopyPixelMode, 0, __GL_DIRTY_PIXEL, __GL_DIRTY_PIXEL, 0, kNoCall, kNoCall},
    {GL_POINT_BIT, WHOLE(point), __GL_POINT_SMOOTH_ENABLE, __GL_DIRTY_POINT, __GL_DIRTY_POINT, 0,
     kNoCall, kNoCall},
    {GL_POLYGON_BIT, WHOLE(polygon), kPolygonEnables, __GL_DIRTY_POLYGON, __GL_DIRTY_POLYGON, 0,
     kNoCall, kNoCall},
    // A pop converts the stipple at once; a copy leaves it to validation.
    {GL_POLYGON_STIPPLE_BIT, WHOLE(polygonStipple), __GL_POLYGON_STIPPLE_ENABLE,
     __GL_DIRTY_POLYGON, __GL_DIRTY_POLYGON | __GL_DIRTY_POLYGON_STIPPLE, 0, kStipple, kNoCall},
    {GL_SCISSOR_BIT, WHOLE(scissor), __GL_SCISSOR_TEST_ENABLE, __GL_DIRTY_SCISSOR,
     __GL_DIRTY_SCISSOR, 0, kScissor, kNoCall},
    {GL_STENCIL_BUFFER_BIT, WHOLE(stencil), __GL_STENCIL_TEST_ENABLE, 0, 0, kStencilTables,
     kNoCall, kNoCall},
    {GL_TEXTURE_BIT, CopyTexture, 0, 0, 0, 0, kNoCall, kNoCall},
    {GL_TRANSFORM_BIT, CopyTransform, __GL_NORMALIZE_ENABLE, 0, 0, 0, kNoCall, kNoCall},
    {GL_VIEWPORT_BIT, WHOLE(viewport), 0, 0, 0, 0, kViewport, kViewport},
};

#undef WHOLE

void Call(GlContext *gc, uint8_t calls) {
  GlProcs &p = gc->procs;
  if ((calls & kColorProcs) && p.pickColorMaterialProcs) p.pickColorMaterialProcs(gc);
  if ((calls & kColorProcs) && p.applyColor) p.applyColor(gc);
  if ((calls & kScissor) && p.computeClipBox) p.computeClipBox(gc);
  if ((calls & kScissor) && p.applyScissor) p.applyScissor(gc);
  if ((calls & kStipple) && p.convertStipple) p.convertStipple(gc);
  if (calls & kViewport) {
    // Only a bound context has a window to apply the viewport to; any other
    // one re-applies it when it is next bound.
    bool bound = (gc->flags & __GL_GC_INITIALIZED) && gc->drawablePrivate != nullptr;
    if (bound && p.applyViewport) p.applyViewport(gc);
  }
}

}  // namespace

GlAttribSide __glAttribContextSide(GlContext *gc) {
  GlPixelMachine &px = gc->pixel;
  GlTextureMachine &tx = gc->texture;
  const GlConstants &k = gc->constants;
  return {gc,
          &gc->state,
          &px.transferMode,
          &px.readBuffer,
          &px.readBufferReturn,
          tx.targets,
          tx.texCoordGen,
          tx.env,
          k.numberOfLights,
          k.numberOfClipPlanes,
          k.numberOfTextureEnvs};
}

GlAttribSide __glAttribRecordSide(GlContext *owner, GlAttribRecord *record) {
  const GlConstants &k = owner->constants;
  return {nullptr,
          &record->state,
          &record->transferMode,
          &record->readBuffer,
          &record->readBufferReturn,
          record->textureTargets,
          record->texCoordGen,
          record->textureEnv,
          k.numberOfLights,
          k.numberOfClipPlanes,
          k.numberOfTextureEnvs};
}

void __glAttribTransfer(const GlAttribSide &dst, const GlAttribSide &src, GLuint mask,
                        GlAttribUse use, uint32_t *dirty, uint32_t *tableDirty) {
  for (const Group &group : groups) {
    if (!(mask & group.bit)) continue;
    group.copy(dst, src);
    if (use == __GL_ATTRIB_PUSH) continue;
    uint32_t &general = dst.state->enables.general;
    general = (general & ~group.enables) | (src.state->enables.general & group.enables);
    *dirty |= use == __GL_ATTRIB_POP ? group.popDirty : group.copyDirty;
    *tableDirty |= group.tableDirty;
    Call(dst.gc, use == __GL_ATTRIB_POP ? group.popCalls : group.copyCalls);
  }
}
