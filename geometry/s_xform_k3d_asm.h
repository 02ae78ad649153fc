// Assembler text the 3DNow! transforms share. Each routine is cdecl
// (out, in, m) and begins and ends with femms, so x87 code before and after
// it runs unaffected. Registers while a routine runs:
//   eax out, ecx in, edx the matrix elements;
//   mm0 x:x, mm1 y:y, mm6 z:z, mm7 w:w (pairs are named high:low);
//   mm2 out1:out0 and mm3 out3:out2 accumulate, mm4 and mm5 are scratch.
// Every product and every sum is rounded to single precision. The source
// is read whole before the first store, so it may be the destination.
#pragma once

#include "geometry/s_xform_i386_routine.h"

#define K3D_ENTER                   \
  "femms\n"                         \
  "mov eax, [esp + 4]\n"            \
  "mov ecx, [esp + 8]\n"            \
  "mov edx, [esp + 12]\n"
#define K3D_LEAVE                   \
  "movq qword ptr [eax], mm2\n"     \
  "movq qword ptr [eax + 8], mm3\n" \
  "femms\n"                         \
  "ret\n"

// The source components, each in both lanes.
#define K3D_SPLAT_XY                  \
  "movq mm0, qword ptr [ecx]\n"       \
  "movq mm1, mm0\n"                   \
  "punpckldq mm0, mm0\n"              \
  "punpckhdq mm1, mm1\n"
#define K3D_SPLAT_Z                   \
  "movd mm6, dword ptr [ecx + 8]\n"   \
  "punpckldq mm6, mm6\n"
#define K3D_SPLAT_W                   \
  "movd mm7, dword ptr [ecx + 12]\n"  \
  "punpckldq mm7, mm7\n"

// mm2 = c times the element pair at byte offset `off`, then further rows
// added.
#define K3D_PAIR_FIRST(c, off)                \
  "movq mm2, " c "\n"                         \
  "pfmul mm2, qword ptr [edx + " off "]\n"
#define K3D_PAIR_ADD(c, off)                  \
  "movq mm4, " c "\n"                         \
  "pfmul mm4, qword ptr [edx + " off "]\n"    \
  "pfadd mm2, mm4\n"
// The same for mm3, the second pair of a general matrix.
#define K3D_HIGH_PAIR_FIRST(c, off)           \
  "movq mm3, " c "\n"                         \
  "pfmul mm3, qword ptr [edx + " off "]\n"
#define K3D_HIGH_PAIR_ADD(c, off)             \
  "movq mm5, " c "\n"                         \
  "pfmul mm5, qword ptr [edx + " off "]\n"    \
  "pfadd mm3, mm5\n"

// The low lane of mm3 alone (out2 of the affine and 2D matrices); one
// element is loaded, so the elements a type promises are never read. The
// high lane is filled at the end.
#define K3D_LANE_FIRST(c, off)                \
  "movd mm3, dword ptr [edx + " off "]\n"     \
  "pfmul mm3, " c "\n"
#define K3D_LANE_ADD(c, off)                  \
  "movd mm5, dword ptr [edx + " off "]\n"     \
  "pfmul mm5, " c "\n"                        \
  "pfadd mm3, mm5\n"
#define K3D_LANE_TRANSLATION                  \
  "movd mm5, dword ptr [edx + 56]\n"          \
  "pfadd mm3, mm5\n"
// out3 = 1 (ecx is free once the source is read) or out3 = w.
#define K3D_HIGH_LANE_ONE                     \
  "mov ecx, 0x3F800000\n"                     \
  "movd mm5, ecx\n"                           \
  "punpckldq mm3, mm5\n"
#define K3D_HIGH_LANE_W "punpckldq mm3, mm7\n"
