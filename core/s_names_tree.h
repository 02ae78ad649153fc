// Internal to the name manager: the node allocator with its spare pools and
// the 2-3 tree of runs. Callers hold the names lock.
#pragma once

#include "core/gl_assert.h"
#include "core/s_names.h"

#define NAMES_ASSERT(condition) __GL_ASSERT(condition, #condition, "s_names")

namespace names {

inline GLuint RunLength(const GlNamesLeaf *leaf) { return leaf->end - leaf->start + 1; }
inline int32_t &RefCount(void *item) { return *static_cast<int32_t *>(item); }

// Holds the names lock for a scope.
struct Guard {
  Guard() { __glNamesEnterLock(); }
  ~Guard() { __glNamesLeaveLock(); }
  Guard(const Guard &) = delete;
  Guard &operator=(const Guard &) = delete;
};

// Drops the tree's or a lock's reference through the type's release.
inline void ReleaseItem(GlContext *gc, const GlNamesTypeInfo *info, void *item) {
  NAMES_ASSERT(info->free != nullptr);
  info->free(gc, item);
}

// Spare pools. fixMemoryProblem fills both; false when the heap refused
// (the pools keep what they got).
bool fixMemoryProblem(GlContext *gc, GlNamesArray *array);
// The spare branches a change of a tree this deep may use.
inline uint32_t SpareBranchesNeeded(const GlNamesArray *array) {
  uint32_t n = 3u * (uint32_t(array->depth) + 2u);
  if (n < GL_NAMES_SPARE_BRANCHES) return GL_NAMES_SPARE_BRANCHES;
  return n > GL_NAMES_MAX_SPARE_BRANCHES ? GL_NAMES_MAX_SPARE_BRANCHES : n;
}
inline bool PoolsFull(const GlNamesArray *array) {
  return array->nbranches >= SpareBranchesNeeded(array) &&
         array->nleaves == GL_NAMES_SPARE_LEAVES;
}

// Nodes come from the heap, or from the pools when the heap refuses.
GlNamesBranch *allocBranch(GlContext *gc, GlNamesArray *array);
GlNamesLeaf *allocLeaf(GlContext *gc, GlNamesArray *array, GLuint start, GLuint end);
void freeBranch(GlContext *gc, GlNamesBranch *branch);
// Frees the data list (not the items) and the leaf.
void freeLeaf(GlContext *gc, GlNamesLeaf *leaf);

// A data list of n entries, each the type's empty value; null when the heap
// refused.
void **allocDataList(GlContext *gc, const GlNamesTypeInfo *info, GLuint n);

// The leaf holding `name` (exact), or the first leaf ending at or after it.
GlNamesLeaf *findLeaf(const GlNamesArray *array, GLuint name, bool exact);
GlNamesLeaf *firstLeaf(const GlNamesArray *array);
GlNamesLeaf *nextLeaf(const GlNamesLeaf *leaf);
GlNamesLeaf *prevLeaf(const GlNamesLeaf *leaf);

// Links a leaf whose run overlaps no other leaf.
void insertLeaf(GlContext *gc, GlNamesArray *array, GlNamesLeaf *leaf);
// Unlinks a leaf; the caller frees it.
void deleteLeaf(GlContext *gc, GlNamesArray *array, GlNamesLeaf *leaf);
// After a leaf's end changed: the largest names stored above it.
void pushMaxVal(GlNamesLeaf *leaf);

// Gives the leaf the run [start, end] inside its old run, keeping the
// entries of the names that stay. Also extends a reserved leaf.
void resizeLeaf(GlContext *gc, GlNamesLeaf *leaf, GLuint start, GLuint end);
// Joins the leaf with its next, then its previous neighbour where they are
// adjacent and of the same kind (data runs up to GL_NAMES_MAX_DATA_RUN).
void mergeLeaf(GlContext *gc, GlNamesArray *array, GlNamesLeaf *leaf);

// Frees every node, releasing every item bound in a leaf.
void __glNamesFreeTree(GlContext *gc, GlNamesArray *array);

}  // namespace names
