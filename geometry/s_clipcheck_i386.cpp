// The frustum clip check in x87 code. For w > 0 (the common case) the six
// plane tests are integer compares of bit patterns and a w of exactly 1
// needs no division; otherwise each coordinate is compared with -w and w
// on the x87 unit, where a comparison with a value that is not a number
// puts the coordinate on the far side. Either way 1/w is stored, the clip
// bit set in `has`, and window coordinates computed when no code is set:
// clip · scale · (1/w) + centre, rounded once. cdecl (gc, v) -> codes.
#include "geometry/s_clipcheck.h"

#include "geometry/s_clipcheck_i386_asm.h"

// One coordinate against -w (st1) and w (st2): below -w only when ordered,
// above w also when unordered.
#define X87_SLOW_AXIS(coordinate, low)           \
  "fld dword ptr [esi + " coordinate "]\n"       \
  "fucom st(1)\n"                                \
  "fnstsw ax\n"                                  \
  "sahf\n"                                       \
  "jp 7f\n"                                      \
  "jae 7f\n"                                     \
  "or ebx, " low "\n"                            \
  "7:\n"                                         \
  "fucom st(2)\n"                                \
  "fnstsw ax\n"                                  \
  "sahf\n"                                       \
  "jp 8f\n"                                      \
  "jbe 9f\n"                                     \
  "8:\n"                                         \
  "or ebx, " low " * 2\n"                        \
  "9:\n"                                         \
  "fstp st(0)\n"

#define X87_WINDOW(coordinate, scale, center, window) \
  "fld dword ptr [esi + " coordinate "]\n"            \
  "fmul dword ptr [ecx + " scale "]\n"                \
  "fmul dword ptr [esi + %c[invW]]\n"                 \
  "fadd dword ptr [ecx + " center "]\n"               \
  "fstp dword ptr [esi + " window "]\n"

ASM_ROUTINE(__glI386ClipCheckFrustum,
            CLIP_CHECK_ENTER
            CLIP_UNLESS_W_POSITIVE("5f")
            CLIP_FAST_AXIS("%c[clipX]", "0x10000")
            CLIP_FAST_AXIS("%c[clipY]", "0x40000")
            CLIP_FAST_AXIS("%c[clipZ]", "0x100000")
            "cmp eax, 0x3F800000\n"
            "jne 1f\n"
            "mov [esi + %c[invW]], eax\n"
            "jmp 2f\n"
            "1:\n"
            "fld1\n"
            "fdiv dword ptr [esi + %c[clipW]]\n"
            "fstp dword ptr [esi + %c[invW]]\n"
            "2:\n"
            "or dword ptr [esi + %c[has]], 0x20\n"
            "test ebx, ebx\n"
            "jnz 4f\n"
            "3:\n"
            X87_WINDOW("%c[clipX]", "%c[xScale]", "%c[xCenter]", "%c[winX]")
            X87_WINDOW("%c[clipY]", "%c[yScale]", "%c[yCenter]", "%c[winX] + 4")
            X87_WINDOW("%c[clipZ]", "%c[zScale]", "%c[zCenter]", "%c[winZ]")
            "4:\n"
            CLIP_CHECK_LEAVE("")
            // w <= 0, or not a number: 1/w first, then both tests per axis with
            // -w and w on the stack.
            "5:\n"
            "fld1\n"
            "fdiv dword ptr [esi + %c[clipW]]\n"
            "fstp dword ptr [esi + %c[invW]]\n"
            "fld dword ptr [esi + %c[clipW]]\n"
            "fld st(0)\n"
            "fchs\n"
            X87_SLOW_AXIS("%c[clipX]", "0x10000")
            X87_SLOW_AXIS("%c[clipY]", "0x40000")
            X87_SLOW_AXIS("%c[clipZ]", "0x100000")
            "fstp st(0)\n"
            "fstp st(0)\n"
            "or dword ptr [esi + %c[has]], 0x20\n"
            "test ebx, ebx\n"
            "jz 3b\n"
            "jmp 4b\n",
            CLIP_CHECK_OPERANDS)
