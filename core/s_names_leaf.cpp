// The name manager's nodes: allocation with the spare pools, and the
// changes of one leaf (its run, merging with neighbours, freeing).
#include <string.h>

#include "core/context.h"
#include "core/s_names_tree.h"

namespace names {

bool fixMemoryProblem(GlContext *gc, GlNamesArray *array) {
  while (array->nbranches < SpareBranchesNeeded(array)) {
    void *node = gc->imports.malloc(gc, sizeof(GlNamesBranch));
    if (node == nullptr) return false;
    array->spareBranches[array->nbranches++] = static_cast<GlNamesBranch *>(node);
  }
  while (array->nleaves < GL_NAMES_SPARE_LEAVES) {
    void *node = gc->imports.malloc(gc, sizeof(GlNamesLeaf));
    if (node == nullptr) return false;
    array->spareLeaves[array->nleaves++] = static_cast<GlNamesLeaf *>(node);
  }
  return true;
}

GlNamesBranch *allocBranch(GlContext *gc, GlNamesArray *array) {
  GlNamesBranch *b = static_cast<GlNamesBranch *>(gc->imports.malloc(gc, sizeof(GlNamesBranch)));
  if (b == nullptr) {
    // The refill before every changing operation rules an empty pool out.
    NAMES_ASSERT(array->nbranches > 0);
    b = array->spareBranches[--array->nbranches];
    array->spareBranches[array->nbranches] = nullptr;
  }
  memset(b, 0, sizeof *b);
  return b;
}

GlNamesLeaf *allocLeaf(GlContext *gc, GlNamesArray *array, GLuint start, GLuint end) {
  GlNamesLeaf *leaf = static_cast<GlNamesLeaf *>(gc->imports.malloc(gc, sizeof(GlNamesLeaf)));
  if (leaf == nullptr) {
    NAMES_ASSERT(array->nleaves > 0);
    leaf = array->spareLeaves[--array->nleaves];
    array->spareLeaves[array->nleaves] = nullptr;
  }
  leaf->parent = nullptr;
  leaf->start = start;
  leaf->end = end;
  leaf->dataList = nullptr;
  leaf->dataInfo = array->dataInfo;
  return leaf;
}

void freeBranch(GlContext *gc, GlNamesBranch *branch) { gc->imports.free(gc, branch); }

void freeLeaf(GlContext *gc, GlNamesLeaf *leaf) {
  if (leaf->dataList) gc->imports.free(gc, leaf->dataList);
  gc->imports.free(gc, leaf);
}

void **allocDataList(GlContext *gc, const GlNamesTypeInfo *info, GLuint n) {
  NAMES_ASSERT(n <= GL_NAMES_MAX_DATA_RUN);
  void **list = static_cast<void **>(gc->imports.malloc(gc, n * sizeof(void *)));
  if (list == nullptr) return nullptr;
  for (GLuint i = 0; i < n; ++i) list[i] = info->empty;
  return list;
}

void resizeLeaf(GlContext *gc, GlNamesLeaf *leaf, GLuint start, GLuint end) {
  if (leaf->dataList) {
    NAMES_ASSERT(start >= leaf->start && end <= leaf->end);
    GLuint n = end - start + 1;
    memmove(leaf->dataList, leaf->dataList + (start - leaf->start), n * sizeof(void *));
    // A refused shrink keeps the old, larger block.
    void *list = gc->imports.realloc(gc, leaf->dataList, n * sizeof(void *));
    if (list) leaf->dataList = static_cast<void **>(list);
  }
  bool endMoved = end != leaf->end;
  leaf->start = start;
  leaf->end = end;
  if (endMoved) pushMaxVal(leaf);
}

namespace {

bool CanMerge(const GlNamesLeaf *a, const GlNamesLeaf *b) {
  if (a->end + 1 != b->start) return false;
  if ((a->dataList == nullptr) != (b->dataList == nullptr)) return false;
  return a->dataList == nullptr || RunLength(a) + RunLength(b) <= GL_NAMES_MAX_DATA_RUN;
}

// mergeLeaves: `keep` takes the run and entries of its neighbour `other`.
// The data list grows first, so a refusal leaves both leaves as they were.
bool MergeLeaves(GlContext *gc, GlNamesArray *array, GlNamesLeaf *keep, GlNamesLeaf *other) {
  bool otherFirst = other->end < keep->start;
  if (keep->dataList) {
    GLuint nk = RunLength(keep), no = RunLength(other);
    void **list = static_cast<void **>(
        gc->imports.realloc(gc, keep->dataList, (nk + no) * sizeof(void *)));
    if (list == nullptr) return false;
    if (otherFirst) {
      memmove(list + no, list, nk * sizeof(void *));
      memcpy(list, other->dataList, no * sizeof(void *));
    } else {
      memcpy(list + nk, other->dataList, no * sizeof(void *));
    }
    keep->dataList = list;
  }
  deleteLeaf(gc, array, other);
  if (otherFirst) {
    keep->start = other->start;
  } else {
    keep->end = other->end;
    pushMaxVal(keep);
  }
  freeLeaf(gc, other);
  return true;
}

}  // namespace

void mergeLeaf(GlContext *gc, GlNamesArray *array, GlNamesLeaf *leaf) {
  GlNamesLeaf *next = nextLeaf(leaf);
  if (next && CanMerge(leaf, next) && !MergeLeaves(gc, array, leaf, next)) return;
  GlNamesLeaf *prev = prevLeaf(leaf);
  if (prev && CanMerge(prev, leaf)) MergeLeaves(gc, array, leaf, prev);
}

namespace {

void FreeSubtree(GlContext *gc, void *node, int height) {
  if (height > 0) {
    GlNamesBranch *b = static_cast<GlNamesBranch *>(node);
    for (int i = 2; i >= 0; --i)
      if (b->children[i]) FreeSubtree(gc, b->children[i], height - 1);
    freeBranch(gc, b);
    return;
  }
  GlNamesLeaf *leaf = static_cast<GlNamesLeaf *>(node);
  if (leaf->dataList) {
    const GlNamesTypeInfo *info = leaf->dataInfo;
    for (GLuint i = 0, n = RunLength(leaf); i < n; ++i) {
      void *item = leaf->dataList[i];
      if (item != info->empty) ReleaseItem(gc, info, item);
    }
  }
  freeLeaf(gc, leaf);
}

}  // namespace

void __glNamesFreeTree(GlContext *gc, GlNamesArray *array) {
  if (array->root) FreeSubtree(gc, array->root, array->depth);
  array->root = nullptr;
  array->depth = 0;
}

}  // namespace names
