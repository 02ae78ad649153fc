// Assembler text the x87 and 3DNow! frustum checks share: the field
// offsets they address, their entry and exit, and the integer test of one
// coordinate for w > 0.
// Both routines keep the context in ecx, the vertex in esi, the codes in
// ebx and the bit pattern of clip w in eax.
#pragma once

#include <stddef.h>

#include "core/context.h"
#include "geometry/s_vertex.h"
#include "geometry/s_xform_i386_routine.h"

static_assert(offsetof(GlVertex, clip.y) == offsetof(GlVertex, clip.x) + 4, "x, y read as a pair");
static_assert(offsetof(GlVertex, window.y) == offsetof(GlVertex, window.x) + 4,
              "x, y stored as a pair");

// Operands of the checks' asm statements, named as the text uses them.
#define CLIP_CHECK_OPERANDS                                                               \
  [clipX] "i"(offsetof(GlVertex, clip.x)), [clipY] "i"(offsetof(GlVertex, clip.y)),       \
      [clipZ] "i"(offsetof(GlVertex, clip.z)), [clipW] "i"(offsetof(GlVertex, clip.w)),   \
      [has] "i"(offsetof(GlVertex, has)), [winX] "i"(offsetof(GlVertex, window.x)),       \
      [winZ] "i"(offsetof(GlVertex, window.z)), [invW] "i"(offsetof(GlVertex, window.w)), \
      [xScale] "i"(offsetof(GlContext, state.viewport.xScale)),                          \
      [xCenter] "i"(offsetof(GlContext, state.viewport.xCenter)),                        \
      [yScale] "i"(offsetof(GlContext, state.viewport.yScale)),                          \
      [yCenter] "i"(offsetof(GlContext, state.viewport.yCenter)),                        \
      [zScale] "i"(offsetof(GlContext, state.viewport.zScale)),                          \
      [zCenter] "i"(offsetof(GlContext, state.viewport.zCenter))

// cdecl (gc, v): ebx and esi kept for the caller; the codes start at zero.
#define CLIP_CHECK_ENTER              \
  "push ebx\n"                        \
  "push esi\n"                        \
  "mov ecx, [esp + 12]\n"             \
  "mov esi, [esp + 16]\n"             \
  "xor ebx, ebx\n"                    \
  "mov eax, [esi + %c[clipW]]\n"
// The codes returned (3DNow! leaves the MMX state before the return).
#define CLIP_CHECK_LEAVE(beforeReturn) \
  "mov eax, ebx\n"                     \
  "pop esi\n"                          \
  "pop ebx\n"                          \
  beforeReturn                         \
  "ret\n"

// w > 0 and a number: its bit pattern lies in [1, 0x7F800000].
#define CLIP_UNLESS_W_POSITIVE(label) \
  "lea edx, [eax - 1]\n"              \
  "cmp edx, 0x7F7FFFFF\n"             \
  "ja " label "\n"

// For w > 0: the coordinate's magnitude against w as unsigned bit patterns
// (the order of non-negative floats). Outside on the side of its sign; a
// coordinate that is not a number on the far side, as the portable check
// puts it.
#define CLIP_FAST_AXIS(coordinate, low)          \
  "mov edx, [esi + " coordinate "]\n"            \
  "and edx, 0x7FFFFFFF\n"                        \
  "cmp edx, eax\n"                               \
  "jbe 9f\n"                                     \
  "cmp edx, 0x7F800000\n"                        \
  "ja 8f\n"                                      \
  "cmp dword ptr [esi + " coordinate "], 0\n"    \
  "jge 8f\n"                                     \
  "or ebx, " low "\n"                            \
  "jmp 9f\n"                                     \
  "8:\n"                                         \
  "or ebx, " low " * 2\n"                        \
  "9:\n"
