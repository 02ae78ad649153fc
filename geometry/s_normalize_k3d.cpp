// The single-precision normalisation of the 3DNow! lighting routines:
// len2 = (x² + z²) + y²; zero gives (0, 0, 0), exactly one the source
// itself; otherwise the reciprocal square root from the estimate
// y0 = bits 0x5F375A00 - (bits of len2 >> 1) and two Newton steps folded
// into one expression: a = len2·y0², b = 3 - a,
// r = ((12 - b²·a)·b·y0)·(1/16). Every step rounds to single precision.
// cdecl (dst, src), 3 floats each; dst may be src. Begins and ends with
// femms.
#include "geometry/s_xform.h"
#include "geometry/s_xform_i386_routine.h"

ASM_ROUTINE(K3DNormalizeCoord,
            "femms\n"
            "mov eax, [esp + 4]\n"
            "mov ecx, [esp + 8]\n"
            "movq mm0, qword ptr [ecx]\n"   // y:x
            "movd mm1, dword ptr [ecx + 8]\n"  // 0:z
            // len2 in the low lane of mm3.
            "movq mm2, mm0\n"
            "pfmul mm2, mm2\n"               // y²:x²
            "movq mm3, mm1\n"
            "pfmul mm3, mm3\n"               // 0:z²
            "pfadd mm3, mm2\n"               // .:x² + z²
            "psrlq mm2, 32\n"                // 0:y²
            "pfadd mm3, mm2\n"               // .:(x² + z²) + y²
            "movd edx, mm3\n"
            "test edx, edx\n"
            "jz 1f\n"
            "cmp edx, 0x3F800000\n"
            "je 2f\n"
            "shr edx, 1\n"
            "neg edx\n"
            "add edx, 0x5F375A00\n"
            "movd mm4, edx\n"                // y0
            "movq mm5, mm4\n"
            "pfmul mm5, mm4\n"               // y0²
            "pfmul mm5, mm3\n"               // a = len2·y0²
            "mov edx, 0x40400000\n"          // 3.0
            "movd mm6, edx\n"
            "pfsub mm6, mm5\n"               // b = 3 - a
            "movq mm7, mm6\n"
            "pfmul mm7, mm6\n"               // b²
            "pfmul mm7, mm5\n"               // b²·a
            "mov edx, 0x41400000\n"          // 12.0
            "movd mm2, edx\n"
            "pfsub mm2, mm7\n"               // 12 - b²·a
            "pfmul mm2, mm6\n"               // ·b
            "pfmul mm2, mm4\n"               // ·y0
            "mov edx, 0x3D800000\n"          // 0.0625
            "movd mm7, edx\n"
            "pfmul mm2, mm7\n"               // r
            "punpckldq mm2, mm2\n"
            "pfmul mm0, mm2\n"
            "pfmul mm1, mm2\n"
            "jmp 2f\n"
            "1:\n"
            "pxor mm0, mm0\n"
            "pxor mm1, mm1\n"
            "2:\n"
            "movq qword ptr [eax], mm0\n"
            "movd dword ptr [eax + 8], mm1\n"
            "femms\n"
            "ret\n")
