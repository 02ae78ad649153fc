// The name manager: the object names of one type (display lists, texture
// objects) that a share group has reserved or bound, and the object bound
// to each name.
//
// Names are kept as runs in a balanced 2-3 tree: every branch has two or
// three children and all leaves hang at the same depth. A leaf is either a
// reserved run (no data list, the same cost for one name or a million) or a
// run with one data pointer per name. Operations that change the tree top up
// two small pools of spare nodes first, and node allocation falls back to
// them when the heap refuses, so a change never stops half-way.
//
// Every bound item begins with a signed 32-bit reference count: 1 for the
// tree's reference, plus one per lock.
//
// Concurrency: contexts that share lists or textures use one array from
// several threads, and the empty display list is shared by every array of
// the process. One re-entrant process-wide lock guards all arrays and the
// reference counts of the items they hold. One lock rather than one per
// array because the empty list's count is changed through every array;
// contention is low, since glCallLists resolves and locks its names in
// batches, and a mutex (unlike bare atomics) is something the thread checker
// understands. Subsystems that change an item's count outside the name
// manager (a texture unbound from a target) take the lock too.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "core/gl_defs.h"

struct GlContext;

// A row of namesTypeInfo. `free` drops one reference of an item and, at
// zero, releases the item through the item's own free procedure.
typedef struct GlNamesTypeInfo {
  GLuint type;
  void *empty;  // what a data list holds for a name without an object
  GLuint dataSize;
  void (*free)(GlContext *gc, void *item);
} GlNamesTypeInfo;

#define GL_NAMES_DLIST 0
#define GL_NAMES_TEXOBJ 1

extern const GlNamesTypeInfo namesTypeInfo[2];

typedef struct GlNamesBranch {
  GlNamesBranch *parent;  // null for the root
  GLuint low;             // largest name under children[0]
  GLuint medium;          // largest name under children[1]
  void *children[3];      // branches or leaves; children[2] null when two
} GlNamesBranch;

typedef struct GlNamesLeaf {
  GlNamesBranch *parent;  // null when the leaf is the root
  GLuint start;
  GLuint end;  // start <= end
  void **dataList;  // end - start + 1 entries, or null for a reserved run
  const GlNamesTypeInfo *dataInfo;
} GlNamesLeaf;

// A change links at most three leaves, and each may split every level of
// the tree and add a root: the branch pool is kept at three times the depth
// plus two (at least 16). A tree of at most 2^32 leaves is at most 32 deep.
#define GL_NAMES_SPARE_BRANCHES 16
#define GL_NAMES_MAX_SPARE_BRANCHES (3 * (32 + 2))
#define GL_NAMES_SPARE_LEAVES 3
// Runs with data merge only up to this many names, so a data list stays short.
#define GL_NAMES_MAX_DATA_RUN 1024

typedef struct GlNamesArray {
  void *root;      // a leaf when depth is 0, else a branch; null when empty
  int32_t depth;   // branch levels above the leaves
  int32_t refcount;  // contexts using the array
  const GlNamesTypeInfo *dataInfo;
  uint32_t nbranches;  // valid entries of spareBranches
  uint32_t nleaves;    // valid entries of spareLeaves
  GlNamesBranch *spareBranches[GL_NAMES_MAX_SPARE_BRANCHES];
  GlNamesLeaf *spareLeaves[GL_NAMES_SPARE_LEAVES];
} GlNamesArray;

// The lock of every array and item count (re-entrant).
void __glNamesEnterLock(void);
void __glNamesLeaveLock(void);

// A new array of `type` with refcount 1, or null after recording
// GL_OUT_OF_MEMORY.
GlNamesArray *__glNamesNewArray(GlContext *gc, GLuint type);
// Frees the array and releases every item bound in it.
void __glNamesFreeArray(GlContext *gc, GlNamesArray *array);
// Another context starts using the array.
void __glNamesAddRef(GlContext *gc, GlNamesArray *array);
// A context stops using the array; the last one frees it.
void __glNamesReleaseArray(GlContext *gc, GlNamesArray *array);

// The first of n consecutive names newly reserved; 0 when n < 1, when the
// names would run past 0xFFFFFFFF (no error) or after recording
// GL_OUT_OF_MEMORY.
GLuint __glNamesGenRange(GlContext *gc, GlNamesArray *array, GLsizei n);
// n reserved names into `names`; nothing is written when none could be had.
void __glNamesGenNames(GlContext *gc, GlNamesArray *array, GLsizei n, GLuint *names);
// Binds `data` to `name` (its count becomes 1), releasing what the name held;
// with data null only releases. False after recording GL_OUT_OF_MEMORY, and
// then the array does not hold `data`.
GLboolean __glNamesNewData(GlContext *gc, GlNamesArray *array, GLuint name, void *data);
GLboolean __glNamesIsName(GlContext *gc, GlNamesArray *array, GLuint name);
// The item bound to `name` with its count raised, or null.
void *__glNamesLockData(GlContext *gc, GlNamesArray *array, GLuint name);
// n names of the GL type (GL_BYTE .. GL_4_BYTES) read from `lists`, each
// plus `base`, resolved to their items (the type's empty value for a name
// without one), counts raised, into `items`.
void __glNamesLockDataList(GlContext *gc, GlNamesArray *array, GLsizei n, GLenum type,
                           GLuint base, const GLvoid *lists, void **items);
// Drop the references taken by the lock calls. The array gives the type
// whose release procedure frees an item that reaches zero.
void __glNamesUnlockData(GlContext *gc, GlNamesArray *array, void *item);
void __glNamesUnlockDataList(GlContext *gc, GlNamesArray *array, GLsizei n, void **items);
// Releases the names first .. first + count - 1 (stopping at 0xFFFFFFFF) and
// the items bound to them.
void __glNamesDeleteRange(GlContext *gc, GlNamesArray *array, GLuint first, GLuint count);
void __glNamesDeleteNames(GlContext *gc, GlNamesArray *array, GLsizei n, const GLuint *names);
