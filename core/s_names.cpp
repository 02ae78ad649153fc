// The name manager: the type table, the lock, array life and the lookups.
// The operations that reserve, bind and delete names are in s_names_edit.
#include "core/s_names.h"

#include <math.h>
#include <string.h>

#include "core/context.h"
#include "core/s_error.h"
#include "core/s_names_tree.h"
#include "dlist/dl_dlist.h"
#include "pixels/px_texture.h"
#include "platform/kernel.h"

using namespace names;

const GlNamesTypeInfo namesTypeInfo[2] = {
    {GL_NAMES_DLIST, &emptyDlist, sizeof(GlDlist), __glDisposeDlist},
    // A texture name without an object holds nothing.
    {GL_NAMES_TEXOBJ, nullptr, sizeof(GlTextureObject), __glDisposeTexObj},
};

namespace {

// Initialised before main, while the process has one thread. It goes with
// the library (which may be unloaded and loaded again in one process); arrays
// released during process exit after that run without it, as only one thread
// is left then.
struct NamesLock {
  CRITICAL_SECTION section;
  bool live;
  NamesLock() : live(true) { InitializeCriticalSection(&section); }
  ~NamesLock() {
    live = false;
    DeleteCriticalSection(&section);
  }
};
NamesLock lock;

}  // namespace

void __glNamesEnterLock(void) {
  if (lock.live) EnterCriticalSection(&lock.section);
}
void __glNamesLeaveLock(void) {
  if (lock.live) LeaveCriticalSection(&lock.section);
}

GlNamesArray *__glNamesNewArray(GlContext *gc, GLuint type) {
  NAMES_ASSERT(type < sizeof namesTypeInfo / sizeof namesTypeInfo[0]);
  GlNamesArray *array = static_cast<GlNamesArray *>(gc->imports.malloc(gc, sizeof(GlNamesArray)));
  if (array == nullptr) {
    __glSetError(GL_OUT_OF_MEMORY);
    return nullptr;
  }
  memset(array, 0, sizeof *array);
  array->refcount = 1;
  array->dataInfo = &namesTypeInfo[type];
  NAMES_ASSERT(array->dataInfo->type == type);
  // Partly filled pools are topped up before the next change.
  fixMemoryProblem(gc, array);
  return array;
}

void __glNamesFreeArray(GlContext *gc, GlNamesArray *array) {
  Guard guard;
  while (array->nbranches > 0) freeBranch(gc, array->spareBranches[--array->nbranches]);
  while (array->nleaves > 0) gc->imports.free(gc, array->spareLeaves[--array->nleaves]);
  __glNamesFreeTree(gc, array);
  gc->imports.free(gc, array);
}

void __glNamesAddRef(GlContext *gc, GlNamesArray *array) {
  Guard guard;
  array->refcount++;
}

void __glNamesReleaseArray(GlContext *gc, GlNamesArray *array) {
  Guard guard;
  NAMES_ASSERT(array->refcount > 0);
  if (--array->refcount == 0) __glNamesFreeArray(gc, array);
}

GLboolean __glNamesIsName(GlContext *gc, GlNamesArray *array, GLuint name) {
  Guard guard;
  return findLeaf(array, name, true) != nullptr;
}

void *__glNamesLockData(GlContext *gc, GlNamesArray *array, GLuint name) {
  Guard guard;
  GlNamesLeaf *leaf = findLeaf(array, name, true);
  if (leaf == nullptr || leaf->dataList == nullptr) return nullptr;
  void *item = leaf->dataList[name - leaf->start];
  if (item) RefCount(item)++;
  return item;
}

namespace {

// A float list element plus the base, truncated toward zero; values that no
// 32-bit name can stand for (NaN, beyond +-2^63) give 0, the rest wrap.
GLuint FloatName(float value, GLuint base) {
  double sum = static_cast<double>(value) + static_cast<double>(base);
  if (!(fabs(sum) < 9223372036854775808.0)) return 0;
  return static_cast<GLuint>(static_cast<int64_t>(sum));
}

// The element of `type` at p, plus the base; advances p.
GLuint NextName(GLenum type, const GLubyte *&p, GLuint base) {
  GLuint value;
  switch (type) {
    case GL_BYTE: value = static_cast<GLuint>(static_cast<GLbyte>(p[0])); p += 1; break;
    case GL_UNSIGNED_BYTE: value = p[0]; p += 1; break;
    case GL_SHORT: {
      GLshort s;
      memcpy(&s, p, 2);
      value = static_cast<GLuint>(s);
      p += 2;
      break;
    }
    case GL_UNSIGNED_SHORT: {
      GLushort s;
      memcpy(&s, p, 2);
      value = s;
      p += 2;
      break;
    }
    case GL_INT:
    case GL_UNSIGNED_INT: memcpy(&value, p, 4); p += 4; break;
    case GL_FLOAT: {
      float f;
      memcpy(&f, p, 4);
      p += 4;
      return FloatName(f, base);
    }
    // Byte sequences, first byte most significant.
    case GL_2_BYTES: value = (GLuint(p[0]) << 8) | p[1]; p += 2; break;
    case GL_3_BYTES: value = (GLuint(p[0]) << 16) | (GLuint(p[1]) << 8) | p[2]; p += 3; break;
    case GL_4_BYTES:
      value = (GLuint(p[0]) << 24) | (GLuint(p[1]) << 16) | (GLuint(p[2]) << 8) | p[3];
      p += 4;
      break;
    default: __glAssertFailed("type of a list of names", "s_names", __LINE__);
  }
  return value + base;
}

}  // namespace

void __glNamesLockDataList(GlContext *gc, GlNamesArray *array, GLsizei n, GLenum type,
                           GLuint base, const GLvoid *lists, void **items) {
  Guard guard;
  const GLubyte *p = static_cast<const GLubyte *>(lists);
  void *empty = array->dataInfo->empty;
  GlNamesLeaf *leaf = nullptr;
  for (GLsizei i = 0; i < n; ++i) {
    GLuint name = NextName(type, p, base);
    // Runs of nearby names stay inside one leaf: no tree search for them.
    if (leaf == nullptr || name < leaf->start || name > leaf->end)
      leaf = findLeaf(array, name, true);
    void *item = leaf && leaf->dataList ? leaf->dataList[name - leaf->start] : empty;
    if (item) RefCount(item)++;
    items[i] = item;
  }
}

namespace {

// The type's release drops this reference and, at zero, frees the item
// through its own free procedure, as for a deleted name. The caller holds
// the lock.
void Unlock(GlContext *gc, const GlNamesTypeInfo *info, void *item) {
  NAMES_ASSERT(item != nullptr);
  NAMES_ASSERT(RefCount(item) > 0);
  ReleaseItem(gc, info, item);
}

}  // namespace

void __glNamesUnlockData(GlContext *gc, GlNamesArray *array, void *item) {
  Guard guard;
  Unlock(gc, array->dataInfo, item);
}

void __glNamesUnlockDataList(GlContext *gc, GlNamesArray *array, GLsizei n, void **items) {
  // One lock for the whole batch (glCallLists), not one per item.
  Guard guard;
  for (GLsizei i = 0; i < n; ++i) Unlock(gc, array->dataInfo, items[i]);
}
