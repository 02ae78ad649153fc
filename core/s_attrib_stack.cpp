// glPushAttrib and glPopAttrib: the server attribute stack. A push saves the
// enables and the groups of its mask into the level's record; the pop
// copies them back through the same group table as context copy.
#include "core/context.h"
#include "core/gl_assert.h"
#include "core/gl_entries.h"
#include "core/s_attrib.h"
#include "core/s_attrib_groups.h"
#include "core/s_entry.h"

namespace {

// The copies a push owns until its pop: only those its mask needs.
struct PushBlocks {
  GlLight *lights = nullptr;
  GlCoord *clipPlanes = nullptr;
  GlTextureEnv *textureEnv = nullptr;
};

template <typename T>
bool Take(GlContext *gc, bool wanted, int32_t count, T **block) {
  if (!wanted || count <= 0) return true;
  *block = static_cast<T *>(gc->imports.calloc(gc, size_t(count), sizeof(T)));
  return *block != nullptr;
}

template <typename T>
void Give(GlContext *gc, T **block) {
  if (*block) gc->imports.free(gc, *block);
  *block = nullptr;
}

bool TakeBlocks(GlContext *gc, GLuint mask, PushBlocks *b) {
  const GlConstants &k = gc->constants;
  if (Take(gc, mask & GL_LIGHTING_BIT, k.numberOfLights, &b->lights) &&
      Take(gc, mask & GL_TRANSFORM_BIT, k.numberOfClipPlanes, &b->clipPlanes) &&
      Take(gc, mask & GL_TEXTURE_BIT, k.numberOfTextureEnvs, &b->textureEnv))
    return true;
  Give(gc, &b->lights);
  Give(gc, &b->clipPlanes);
  Give(gc, &b->textureEnv);
  return false;
}

}  // namespace

void GLENTRY __glim_PushAttrib(GLbitfield mask) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  GlAttribRecord **sp = gc->attributeStackTop;
  if (sp >= gc->attributeStack + gc->constants.maxAttribStackDepth) {
    __glSetError(GL_STACK_OVERFLOW);
    return;
  }
  // A push that cannot have its memory leaves stack and state as they were.
  GlAttribRecord *record = *sp;
  const bool fresh = record == nullptr;
  if (fresh) record = static_cast<GlAttribRecord *>(gc->imports.calloc(gc, 1, sizeof *record));
  PushBlocks blocks;
  if (record == nullptr || !TakeBlocks(gc, mask, &blocks)) {
    if (fresh && record) gc->imports.free(gc, record);
    __glSetError(GL_OUT_OF_MEMORY);
    return;
  }
  *sp = record;
  record->mask = mask;
  record->state.enables = gc->state.enables;
  record->state.light.source = blocks.lights;
  record->state.transform.eyeClipPlanes = blocks.clipPlanes;
  record->textureEnv = blocks.textureEnv;
  uint32_t dirty = 0, tableDirty = 0;
  __glAttribTransfer(__glAttribRecordSide(gc, record), __glAttribContextSide(gc), mask,
                     __GL_ATTRIB_PUSH, &dirty, &tableDirty);
  gc->attributeStackTop = sp + 1;
}

void GLENTRY __glim_PopAttrib(void) {
  GlContext *gc = __glContextOutsideBegin();
  if (!gc) return;
  if (gc->attributeStackTop <= gc->attributeStack) {
    __glSetError(GL_STACK_UNDERFLOW);
    return;
  }
  GlAttribRecord **sp = gc->attributeStackTop - 1;
  GlAttribRecord *record = *sp;
  __GL_ASSERT(record != nullptr, "sp != 0", "s_attrib_stack");
  gc->attributeStackTop = sp;
  uint32_t dirty = __GL_DIRTY_GENERIC, tableDirty = 0;
  // The saved lights, planes and environments are copied into the
  // context's own arrays; the record's copies then go.
  __glAttribTransfer(__glAttribContextSide(gc), __glAttribRecordSide(gc, record), record->mask,
                     __GL_ATTRIB_POP, &dirty, &tableDirty);
  Give(gc, &record->state.light.source);
  Give(gc, &record->state.transform.eyeClipPlanes);
  Give(gc, &record->textureEnv);
  record->mask = 0;
  gc->tableDirtyMask |= tableDirty;
  __glDelayValidate(gc, dirty);
}
