// Early initialisation: what a context needs before it is ever bound, above
// all the per-context storage. Every creator calls it last; any allocation
// that fails makes it return false, and the creator then destroys the
// partly set-up context.
#include "codegen/og_cache.h"
#include "codegen/og_work.h"
#include "core/context.h"
#include "core/current.h"
#include "core/s_arena.h"
#include "core/s_attrib.h"
#include "core/s_context.h"
#include "core/s_nop.h"
#include "dlist/dl_names.h"
#include "geometry/s_xform.h"
#include "pixels/px_state.h"
#include "pixels/px_texture.h"
#include "platform/kernel.h"

#define GL_GROW_ARRAY_CAPACITY 1000
// Any non-zero start will do; a fixed one keeps victim draws repeatable.
#define GL_GEOM_CACHE_SEED 0x2545F491u

namespace {

// No caller in the window-system layer uses these two.
void BeginDispatchOverride(GlContext *) {}
void EndDispatchOverride(GlContext *) {}

template <typename T>
bool Allocate(GlContext *gc, T *&field, size_t count) {
  field = static_cast<T *>(gc->imports.calloc(gc, count, sizeof(T)));
  return field != nullptr;
}

bool AllocateGrowArray(GlContext *gc, GlGrowArray *array, size_t entrySize) {
  array->entries = gc->imports.calloc(gc, GL_GROW_ARRAY_CAPACITY, entrySize);
  array->count = 0;
  array->capacity = array->entries ? GL_GROW_ARRAY_CAPACITY : 0;
  return array->entries != nullptr;
}

bool AllocateWorkRecords(GlContext *gc) {
  if (!Allocate(gc, gc->workRecords, GL_WORK_RECORD_COUNT)) return false;
  // The buffers hold generated vertex routines, so they must be executable;
  // the platform's memory comes zero-filled.
  gc->workBuffers = static_cast<uint8_t *>(
      VirtualAlloc(nullptr, size_t(GL_WORK_RECORD_COUNT) * GL_WORK_BUFFER_SIZE,
                   MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE));
  if (gc->workBuffers == nullptr) return false;
  for (int i = 0; i < GL_WORK_RECORD_COUNT; i++) {
    gc->workRecords[i].buffer = gc->workBuffers + size_t(i) * GL_WORK_BUFFER_SIZE;
    gc->workRecords[i].size = GL_WORK_BUFFER_SIZE;
  }
  gc->geomCache.last = &gc->workRecords[0];
  gc->geomCache.seed = GL_GEOM_CACHE_SEED;
  return true;
}

GLbool8 EarlyInit(GlContext *gc) {
  GlConstants &c = gc->constants;
  c.fviewportXAdjust = GLfloat(c.viewportXAdjust);
  c.fviewportYAdjust = GLfloat(c.viewportYAdjust);
  c.one = 1.0f;
  c.half = 0.5f;

  gc->exports.copyContext = __glCopyContext;
  gc->exports.dispatchExec = __glDispatchExec;
  gc->exports.beginDispatchOverride = BeginDispatchOverride;
  gc->exports.endDispatchOverride = EndDispatchOverride;
  gc->procs.pickColorMaterialProcs = __glNop1;
  gc->procs.applyColor = __glNop1;

  if (!Allocate(gc, gc->state.light.source, size_t(c.numberOfLights))) return 0;
  if (!Allocate(gc, gc->light.lightCaches, size_t(c.numberOfLights))) return 0;
  gc->light.lutCache = nullptr;

  if (!Allocate(gc, gc->attributeStack, size_t(c.maxAttribStackDepth))) return 0;
  if (!Allocate(gc, gc->clientAttributeStack, size_t(c.maxClientAttribStackDepth))) return 0;
  if (!Allocate(gc, gc->select.stack, size_t(c.maxNameStackDepth))) return 0;
  if (!Allocate(gc, gc->spanColors[0], GL_SPAN_PIXELS)) return 0;
  if (!Allocate(gc, gc->spanColors[1], GL_SPAN_PIXELS)) return 0;
  if (!Allocate(gc, gc->spanStipple, GL_SPAN_STIPPLE_WORDS)) return 0;

  if (!__glEarlyInitTextureState(gc)) return 0;
  if (!__glEarlyInitTransformState(gc)) return 0;
  if (!__glEarlyInitPixelState(gc)) return 0;
  if (!__glEarlyInitVertexArrayState(gc)) return 0;

  gc->procs.newArena = __glNewArena;
  gc->procs.deleteArena = __glDeleteArena;
  gc->procs.arenaAlloc = __glArenaAlloc;
  gc->procs.arenaFreeAll = __glArenaFreeAll;

  __glSetCodeCacheSizes(gc);
  if (!__glInitializeCodeCache(gc)) return 0;
  if (!og_init_pools(gc)) return 0;

  if (!AllocateWorkRecords(gc)) return 0;
  if (!AllocateGrowArray(gc, &gc->growArray4, 4)) return 0;
  if (!AllocateGrowArray(gc, &gc->growArray8, 8)) return 0;

  if (!__glInitDlistState(gc)) return 0;
  return __glInitDlistArena(gc);
}

}  // namespace

GLbool8 __glEarlyInitContext(GlContext *gc) {
  // The services record their allocation failures on the thread's context,
  // which may be one the application has bound: the placeholder, which
  // records nothing, stands in, and the creator reports the failure.
  GlContext *bound = __glGetTLSCXValue();
  __glSetTLSCXValue(&__wglPlaceholderContext);
  GLbool8 made = EarlyInit(gc);
  __glSetTLSCXValue(bound);
  return made;
}

void __glSetCodeCacheSizes(GlContext *gc) {
  GlConstants &c = gc->constants;
  c.textureReadCacheCount = 4;
  c.textureReadCacheSize = 1024;
  c.depthTestCacheCount = 4;
  c.depthTestCacheSize = 256;
  c.triSetupCacheCount = 40;
  c.triSetupCacheSize = 4096;
  c.triSetupDataSize = 2048;
  c.triRasterCacheCount = 40;
  c.triRasterCacheSize = 16384;
  c.drawVertexesCacheCount = 20;
  c.drawVertexesCacheSize = 1024;
}
