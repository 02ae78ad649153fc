// The 2-3 tree of name runs: lookups, the leaf walk, linking and unlinking.
//
// A branch stores the largest name of its first two subtrees (low, medium);
// the largest name of the last one is found by descending (computeMax). The
// kind of a node is known from its height only (leaves at height 0), so
// routines that walk the tree carry the height with them.
#include "core/context.h"
#include "core/s_names_tree.h"

namespace names {

namespace {

inline GlNamesBranch *ParentOf(void *node) { return *static_cast<GlNamesBranch **>(node); }
inline void SetParent(void *node, GlNamesBranch *parent) {
  *static_cast<GlNamesBranch **>(node) = parent;
}

int ChildCount(const GlNamesBranch *b) {
  return (b->children[0] != nullptr) + (b->children[1] != nullptr) + (b->children[2] != nullptr);
}

int IndexOf(const GlNamesBranch *b, const void *child) {
  for (int i = 0; i < 3; ++i)
    if (b->children[i] == child) return i;
  __glAssertFailed("child found in its parent", "s_names", __LINE__);
}

GLuint computeMax(void *node, int height) {
  for (; height > 0; --height) {
    GlNamesBranch *b = static_cast<GlNamesBranch *>(node);
    node = b->children[ChildCount(b) - 1];
  }
  return static_cast<GlNamesLeaf *>(node)->end;
}

void RefreshKeys(GlNamesBranch *b, int height) {
  b->low = computeMax(b->children[0], height - 1);
  b->medium = b->children[1] ? computeMax(b->children[1], height - 1) : b->low;
  NAMES_ASSERT(b->low <= b->medium);
}

// Keys of a branch and of every branch above it.
void RefreshUp(GlNamesBranch *b, int height) {
  for (; b != nullptr; b = b->parent, ++height) RefreshKeys(b, height);
}

void SetChildren(GlNamesBranch *b, void *const *kids, int n) {
  for (int i = 0; i < 3; ++i) {
    b->children[i] = i < n ? kids[i] : nullptr;
    if (i < n) SetParent(kids[i], b);
  }
}

void RemoveChild(GlNamesBranch *b, void *child) {
  int i = IndexOf(b, child);
  for (; i < 2; ++i) b->children[i] = b->children[i + 1];
  b->children[2] = nullptr;
}

// buildParent: a new root above `first` and `second` (at `height`), the
// tree one level deeper.
void GrowRoot(GlContext *gc, GlNamesArray *array, void *first, void *second, int height) {
  GlNamesBranch *root = allocBranch(gc, array);
  void *kids[2] = {first, second};
  SetChildren(root, kids, 2);
  RefreshKeys(root, height + 1);
  array->root = root;
  array->depth++;
}

// Puts `node` at position `pos` among the children of `b` (at `height`),
// splitting branches up to the root as needed.
void AddChild(GlContext *gc, GlNamesArray *array, GlNamesBranch *b, int height, int pos,
              void *node) {
  for (;;) {
    void *kids[4];
    int n = ChildCount(b);
    for (int i = 0, j = 0; i <= n; ++i) kids[i] = i == pos ? node : b->children[j++];
    if (n + 1 <= 3) {
      SetChildren(b, kids, n + 1);
      RefreshUp(b, height);
      return;
    }
    // splitParent: the first two stay, the last two go to a new sibling.
    GlNamesBranch *sibling = allocBranch(gc, array);
    SetChildren(b, kids, 2);
    SetChildren(sibling, kids + 2, 2);
    RefreshKeys(b, height);
    RefreshKeys(sibling, height);
    if (b->parent == nullptr) {
      GrowRoot(gc, array, b, sibling, height);
      return;
    }
    pos = IndexOf(b->parent, b) + 1;
    node = sibling;
    b = b->parent;
    ++height;
  }
}

// The leaf beside `leaf` in the direction `step` (+1 next, -1 previous):
// climb to the first ancestor with a child on that side, then descend along
// that child's near edge.
GlNamesLeaf *Neighbour(const GlNamesLeaf *leaf, int step) {
  void *node = const_cast<GlNamesLeaf *>(leaf);
  int height = 0;
  for (;;) {
    GlNamesBranch *parent = ParentOf(node);
    if (parent == nullptr) return nullptr;
    int i = IndexOf(parent, node) + step;
    ++height;
    if (i >= 0 && i < 3 && parent->children[i]) {
      node = parent->children[i];
      break;
    }
    node = parent;
  }
  for (--height; height > 0; --height) {
    GlNamesBranch *b = static_cast<GlNamesBranch *>(node);
    node = b->children[step > 0 ? 0 : ChildCount(b) - 1];
  }
  return static_cast<GlNamesLeaf *>(node);
}

}  // namespace

GlNamesLeaf *findLeaf(const GlNamesArray *array, GLuint name, bool exact) {
  void *node = array->root;
  if (node == nullptr) return nullptr;
  for (int h = array->depth; h > 0; --h) {
    const GlNamesBranch *b = static_cast<const GlNamesBranch *>(node);
    node = b->children[(b->low < name) + (b->medium < name)];
    // Only past the largest name of the whole tree.
    if (node == nullptr) return nullptr;
  }
  GlNamesLeaf *leaf = static_cast<GlNamesLeaf *>(node);
  if (name > leaf->end || (exact && name < leaf->start)) return nullptr;
  return leaf;
}

GlNamesLeaf *firstLeaf(const GlNamesArray *array) {
  void *node = array->root;
  if (node == nullptr) return nullptr;
  for (int h = array->depth; h > 0; --h) node = static_cast<GlNamesBranch *>(node)->children[0];
  return static_cast<GlNamesLeaf *>(node);
}

GlNamesLeaf *nextLeaf(const GlNamesLeaf *leaf) { return Neighbour(leaf, 1); }
GlNamesLeaf *prevLeaf(const GlNamesLeaf *leaf) { return Neighbour(leaf, -1); }

void insertLeaf(GlContext *gc, GlNamesArray *array, GlNamesLeaf *leaf) {
  leaf->parent = nullptr;
  if (array->root == nullptr) {
    array->root = leaf;
    array->depth = 0;
    return;
  }
  if (array->depth == 0) {
    GlNamesLeaf *other = static_cast<GlNamesLeaf *>(array->root);
    if (leaf->end < other->start)
      GrowRoot(gc, array, leaf, other, 0);
    else
      GrowRoot(gc, array, other, leaf, 0);
    return;
  }
  // Descend by the new run's end to the branch above the leaves: every
  // child passed over ends below the run, so it belongs in that branch.
  GlNamesBranch *b = static_cast<GlNamesBranch *>(array->root);
  for (int h = array->depth; h > 1; --h) {
    int i = (b->low < leaf->end) + (b->medium < leaf->end);
    if (b->children[i] == nullptr) i = 1;
    b = static_cast<GlNamesBranch *>(b->children[i]);
  }
  int pos = 0;
  while (pos < 3 && b->children[pos] &&
         static_cast<GlNamesLeaf *>(b->children[pos])->end < leaf->start)
    ++pos;
  AddChild(gc, array, b, 1, pos, leaf);
}

void deleteLeaf(GlContext *gc, GlNamesArray *array, GlNamesLeaf *leaf) {
  GlNamesBranch *b = leaf->parent;
  leaf->parent = nullptr;
  if (b == nullptr) {
    array->root = nullptr;
    array->depth = 0;
    return;
  }
  RemoveChild(b, leaf);
  for (int height = 1;; ++height) {
    if (ChildCount(b) >= 2) {
      RefreshUp(b, height);
      return;
    }
    void *orphan = b->children[0];
    if (b->parent == nullptr) {
      // A root with one child gives way to it.
      SetParent(orphan, nullptr);
      array->root = orphan;
      array->depth--;
      freeBranch(gc, b);
      return;
    }
    GlNamesBranch *grand = b->parent;
    int i = IndexOf(grand, b);
    bool left = i > 0;
    GlNamesBranch *sibling = static_cast<GlNamesBranch *>(grand->children[left ? i - 1 : i + 1]);
    if (ChildCount(sibling) == 3) {
      // Borrow the sibling's nearest child.
      void *kids[2];
      if (left) {
        kids[0] = sibling->children[2];
        kids[1] = orphan;
        sibling->children[2] = nullptr;
      } else {
        kids[0] = orphan;
        kids[1] = sibling->children[0];
        RemoveChild(sibling, kids[1]);
      }
      SetChildren(b, kids, 2);
      RefreshKeys(sibling, height);
      RefreshKeys(b, height);
      RefreshUp(grand, height + 1);
      return;
    }
    // The sibling takes the orphan; this branch goes.
    void *kids[3];
    if (left) {
      kids[0] = sibling->children[0];
      kids[1] = sibling->children[1];
      kids[2] = orphan;
    } else {
      kids[0] = orphan;
      kids[1] = sibling->children[0];
      kids[2] = sibling->children[1];
    }
    SetChildren(sibling, kids, 3);
    RefreshKeys(sibling, height);
    RemoveChild(grand, b);
    freeBranch(gc, b);
    b = grand;
  }
}

void pushMaxVal(GlNamesLeaf *leaf) {
  if (leaf->parent) RefreshUp(leaf->parent, 1);
}

}  // namespace names
