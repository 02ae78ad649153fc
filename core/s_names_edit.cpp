// The name manager's changing operations: reserving, binding and deleting.
// Each one that links a new leaf tops the spare pools up first, so the tree
// change itself cannot fail half-way.
#include <string.h>

#include "core/context.h"
#include "core/s_error.h"
#include "core/s_names_tree.h"

using namespace names;

namespace {

// A new leaf [start, end] without data, linked.
void InsertReserved(GlContext *gc, GlNamesArray *array, GLuint start, GLuint end) {
  insertLeaf(gc, array, allocLeaf(gc, array, start, end));
}

bool TopUpPools(GlContext *gc, GlNamesArray *array) {
  if (PoolsFull(array) || fixMemoryProblem(gc, array)) return true;
  __glSetError(GL_OUT_OF_MEMORY);
  return false;
}

// Empties a data-list entry and releases the item it held. The entry is
// emptied first, so nothing the release runs can reach a freed item.
void ClearEntry(GlContext *gc, const GlNamesTypeInfo *info, void **entry) {
  void *old = *entry;
  if (old == info->empty) return;
  *entry = info->empty;
  ReleaseItem(gc, info, old);
}

}  // namespace

GLuint __glNamesGenRange(GlContext *gc, GlNamesArray *array, GLsizei n) {
  if (n < 1) return 0;
  Guard guard;
  if (!TopUpPools(gc, array)) return 0;
  const GLuint count = static_cast<GLuint>(n);

  GlNamesLeaf *a = firstLeaf(array);
  if (a == nullptr) {
    InsertReserved(gc, array, 1, count);
    return 1;
  }
  // Below the first leaf.
  if (a->start > count) {
    if (a->dataList) {
      InsertReserved(gc, array, 1, count);
      return 1;
    }
    resizeLeaf(gc, a, a->start - count, a->end);
    return a->start;
  }
  // The first gap between two leaves that holds n names.
  for (GlNamesLeaf *b = nextLeaf(a); b != nullptr; a = b, b = nextLeaf(b)) {
    if (b->start - (a->end + 1) < count) continue;
    const GLuint name = a->end + 1;
    if (a->dataList) {
      if (b->dataList) {
        InsertReserved(gc, array, name, name + count - 1);
        return name;
      }
      resizeLeaf(gc, b, b->start - count, b->end);
      return b->start;
    }
    resizeLeaf(gc, a, a->start, a->end + count);
    if (a->end + 1 == b->start && b->dataList == nullptr) mergeLeaf(gc, array, a);
    return name;
  }
  // Above the last leaf, unless the names would run past 0xFFFFFFFF.
  if (a->end > 0xFFFFFFFFu - count) return 0;
  const GLuint name = a->end + 1;
  if (a->dataList)
    InsertReserved(gc, array, name, a->end + count);
  else
    resizeLeaf(gc, a, a->start, a->end + count);
  return name;
}

void __glNamesGenNames(GlContext *gc, GlNamesArray *array, GLsizei n, GLuint *names) {
  if (n < 1 || names == nullptr) return;
  GLuint first = __glNamesGenRange(gc, array, n);
  if (first == 0) return;
  for (GLsizei i = 0; i < n; ++i) names[i] = first + static_cast<GLuint>(i);
}

GLboolean __glNamesNewData(GlContext *gc, GlNamesArray *array, GLuint name, void *data) {
  Guard guard;
  const GlNamesTypeInfo *info = array->dataInfo;
  GlNamesLeaf *leaf = findLeaf(array, name, true);

  if (leaf && leaf->dataList) {
    void **entry = &leaf->dataList[name - leaf->start];
    if (data != nullptr && *entry == data) return GL_TRUE;  // already bound here
    ClearEntry(gc, info, entry);
    if (data) {
      RefCount(data) = 1;
      *entry = data;
    }
    return GL_TRUE;
  }
  // Only releasing, and a reserved name holds nothing.
  if (leaf && data == nullptr) return GL_TRUE;

  // From here a leaf is created or split.
  if (!TopUpPools(gc, array)) return GL_FALSE;

  if (leaf == nullptr) {
    GlNamesLeaf *fresh = allocLeaf(gc, array, name, name);
    if (data) {
      fresh->dataList = allocDataList(gc, info, 1);
      if (fresh->dataList == nullptr) {
        freeLeaf(gc, fresh);
        __glSetError(GL_OUT_OF_MEMORY);
        return GL_FALSE;
      }
      RefCount(data) = 1;
      fresh->dataList[0] = data;
    }
    insertLeaf(gc, array, fresh);
    mergeLeaf(gc, array, fresh);
    return GL_TRUE;
  }

  // A reserved run: carve a window of at most 16 names around the name, and
  // let rests of fewer than 16 names on either side join it.
  const GLuint start = leaf->start, end = leaf->end;
  GLuint lo = name - 8;
  if (name < 8 || lo < start) lo = start;
  GLuint hi = lo + 15;
  if (hi < lo || hi > end) hi = end;
  if (lo - start < 16) lo = start;
  if (end - hi < 16) hi = end;

  // The data list first: when it cannot be had, nothing has changed.
  void **list = allocDataList(gc, info, hi - lo + 1);
  if (list == nullptr) {
    __glSetError(GL_OUT_OF_MEMORY);
    return GL_FALSE;
  }
  RefCount(data) = 1;
  list[name - lo] = data;

  if (lo == start && hi == end) {
    leaf->dataList = list;
    mergeLeaf(gc, array, leaf);
    return GL_TRUE;
  }
  if (lo == start) {
    resizeLeaf(gc, leaf, hi + 1, end);
  } else {
    resizeLeaf(gc, leaf, start, lo - 1);
    if (hi < end) InsertReserved(gc, array, hi + 1, end);
  }
  GlNamesLeaf *window = allocLeaf(gc, array, lo, hi);
  window->dataList = list;
  insertLeaf(gc, array, window);
  mergeLeaf(gc, array, window);
  return GL_TRUE;
}

void __glNamesDeleteRange(GlContext *gc, GlNamesArray *array, GLuint first, GLuint count) {
  if (count == 0) return;
  // A range reaching past the largest name stops there instead of wrapping.
  const GLuint last = count - 1 > 0xFFFFFFFFu - first ? 0xFFFFFFFFu : first + (count - 1);
  Guard guard;
  const GlNamesTypeInfo *info = array->dataInfo;
  GlNamesLeaf *leaf = findLeaf(array, first, false);
  while (leaf && leaf->start <= last) {
    const GLuint start = leaf->start, end = leaf->end;
    const GLuint lo = first > start ? first : start;
    const GLuint hi = last < end ? last : end;
    if (leaf->dataList) {
      for (GLuint name = lo;; ++name) {
        ClearEntry(gc, info, &leaf->dataList[name - start]);
        if (name == hi) break;
      }
    }
    if (lo == start && hi == end) {
      deleteLeaf(gc, array, leaf);
      freeLeaf(gc, leaf);
    } else if (lo == start) {
      resizeLeaf(gc, leaf, hi + 1, end);
    } else if (hi == end) {
      resizeLeaf(gc, leaf, start, lo - 1);
    } else {
      // The range lies strictly inside this leaf: split it, and no later
      // leaf holds names of the range. On failure the leaf stays whole (its
      // names reserved, their items already released).
      if (!TopUpPools(gc, array)) return;
      GlNamesLeaf *upper = allocLeaf(gc, array, hi + 1, end);
      if (leaf->dataList) {
        GLuint n = end - hi;
        void **list = static_cast<void **>(gc->imports.malloc(gc, n * sizeof(void *)));
        if (list == nullptr) {
          freeLeaf(gc, upper);
          __glSetError(GL_OUT_OF_MEMORY);
          return;
        }
        memcpy(list, leaf->dataList + (hi + 1 - start), n * sizeof(void *));
        upper->dataList = list;
      }
      resizeLeaf(gc, leaf, start, lo - 1);
      insertLeaf(gc, array, upper);
      return;
    }
    if (hi == last) return;
    leaf = findLeaf(array, hi + 1, false);
  }
}

void __glNamesDeleteNames(GlContext *gc, GlNamesArray *array, GLsizei n, const GLuint *names) {
  if (n < 1 || names == nullptr) return;
  Guard guard;
  for (GLsizei i = 0; i < n;) {
    GLsizei j = i + 1;
    while (j < n && names[j - 1] != 0xFFFFFFFFu && names[j] == names[j - 1] + 1) ++j;
    __glNamesDeleteRange(gc, array, names[i], static_cast<GLuint>(j - i));
    i = j;
  }
}
