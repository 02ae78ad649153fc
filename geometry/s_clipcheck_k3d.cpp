// The frustum clip check in 3DNow! code. For w > 0 the plane tests are the
// integer compares the x87 check makes, and 1/w is the reciprocal estimate
// refined by its two steps (no division; exactly 1 for w = 1). For w <= 0
// each coordinate is compared with -w and w by 3DNow! comparisons, which do
// not order values that are not numbers: those are found by their bit
// patterns and put on the far side, as the portable check does. 1/w is
// stored in every case, the clip bit set in `has`, and window coordinates
// computed in single precision when no code is set, as
// (clip · (1/w)) · scale + centre: the quotient first, so that no product
// of a huge coordinate and the scale overflows. Begins and ends with femms.
// cdecl (gc, v) -> codes.
#include "geometry/s_clipcheck.h"

#include "geometry/s_clipcheck_i386_asm.h"

// mm0 = 1/mm0 in the low lane (mm1 scratch).
#define K3D_RECIPROCAL        \
  "pfrcp mm1, mm0\n"          \
  "pfrcpit1 mm0, mm1\n"       \
  "pfrcpit2 mm0, mm1\n"

// A coordinate that is not a number: only the far side's code.
#define K3D_NAN_AXIS(coordinate, low)            \
  "mov edx, [esi + " coordinate "]\n"            \
  "and edx, 0x7FFFFFFF\n"                        \
  "cmp edx, 0x7F800000\n"                        \
  "jbe 9f\n"                                     \
  "and ebx, ~(" low " * 3)\n"                    \
  "or ebx, " low " * 2\n"                        \
  "9:\n"

// The code `code` when the low (or, after a shift, high) lane of a mask is
// set.
#define K3D_MASK_TO_CODE(mask, code) \
  "movd edx, " mask "\n"             \
  "and edx, " code "\n"              \
  "or ebx, edx\n"

ASM_ROUTINE(__glK3DClipCheckFrustum,
            "femms\n"
            CLIP_CHECK_ENTER
            CLIP_UNLESS_W_POSITIVE("5f")
            "movd mm0, eax\n"
            "cmp eax, 0x3F800000\n"
            "je 1f\n"
            K3D_RECIPROCAL
            "1:\n"
            "movd dword ptr [esi + %c[invW]], mm0\n"
            CLIP_FAST_AXIS("%c[clipX]", "0x10000")
            CLIP_FAST_AXIS("%c[clipY]", "0x40000")
            CLIP_FAST_AXIS("%c[clipZ]", "0x100000")
            "or dword ptr [esi + %c[has]], 0x20\n"
            "test ebx, ebx\n"
            "jnz 4f\n"
            // Window coordinates from mm0 = 1/w: x and y as a pair, then z.
            "3:\n"
            "punpckldq mm0, mm0\n"
            "movq mm1, qword ptr [esi + %c[clipX]]\n"
            "pfmul mm1, mm0\n"
            "movd mm2, dword ptr [ecx + %c[xScale]]\n"
            "punpckldq mm2, dword ptr [ecx + %c[yScale]]\n"
            "pfmul mm1, mm2\n"
            "movd mm2, dword ptr [ecx + %c[xCenter]]\n"
            "punpckldq mm2, dword ptr [ecx + %c[yCenter]]\n"
            "pfadd mm1, mm2\n"
            "movq qword ptr [esi + %c[winX]], mm1\n"
            "movd mm1, dword ptr [esi + %c[clipZ]]\n"
            "pfmul mm1, mm0\n"
            "movd mm2, dword ptr [ecx + %c[zScale]]\n"
            "pfmul mm1, mm2\n"
            "movd mm2, dword ptr [ecx + %c[zCenter]]\n"
            "pfadd mm1, mm2\n"
            "movd dword ptr [esi + %c[winZ]], mm1\n"
            "4:\n"
            CLIP_CHECK_LEAVE("femms\n")
            // w <= 0, or not a number.
            "5:\n"
            "mov edx, eax\n"
            "and edx, 0x7FFFFFFF\n"
            "cmp edx, 0x7F800000\n"
            "ja 6f\n"
            // 1/w: the infinity of w's sign for a zero w, whose estimate would
            // not be one.
            "movd mm0, eax\n"
            "test edx, edx\n"
            "jnz 1f\n"
            "or eax, 0x7F800000\n"
            "movd mm0, eax\n"
            "jmp 2f\n"
            "1:\n"
            K3D_RECIPROCAL
            "2:\n"
            "movd dword ptr [esi + %c[invW]], mm0\n"
            // mm1 = w:w, mm2 = -w:-w; -w > c sets the low code, c > w the high.
            "movd mm1, dword ptr [esi + %c[clipW]]\n"
            "punpckldq mm1, mm1\n"
            "mov edx, 0x80000000\n"
            "movd mm2, edx\n"
            "punpckldq mm2, mm2\n"
            "pxor mm2, mm1\n"
            "movq mm3, qword ptr [esi + %c[clipX]]\n"
            "movq mm4, mm2\n"
            "pfcmpgt mm4, mm3\n"
            "pfcmpgt mm3, mm1\n"
            "movd mm5, dword ptr [esi + %c[clipZ]]\n"
            "movq mm6, mm2\n"
            "pfcmpgt mm6, mm5\n"
            "pfcmpgt mm5, mm1\n"
            K3D_MASK_TO_CODE("mm4", "0x10000")
            K3D_MASK_TO_CODE("mm3", "0x20000")
            K3D_MASK_TO_CODE("mm6", "0x100000")
            K3D_MASK_TO_CODE("mm5", "0x200000")
            "psrlq mm4, 32\n"
            "psrlq mm3, 32\n"
            K3D_MASK_TO_CODE("mm4", "0x40000")
            K3D_MASK_TO_CODE("mm3", "0x80000")
            K3D_NAN_AXIS("%c[clipX]", "0x10000")
            K3D_NAN_AXIS("%c[clipY]", "0x40000")
            K3D_NAN_AXIS("%c[clipZ]", "0x100000")
            "or dword ptr [esi + %c[has]], 0x20\n"
            "test ebx, ebx\n"
            "jz 3b\n"
            "jmp 4b\n"
            // w is not a number: 1/w is that number, made quiet; every
            // coordinate is on the far side.
            "6:\n"
            "or eax, 0x400000\n"
            "mov [esi + %c[invW]], eax\n"
            "mov ebx, 0x2A0000\n"
            "or dword ptr [esi + %c[has]], 0x20\n"
            "jmp 4b\n",
            CLIP_CHECK_OPERANDS)
