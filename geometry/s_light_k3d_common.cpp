// Subroutines of the 3DNow! lighting routines, with a register convention
// of their own (they are called only from those routines, with MMX state in
// use, and keep every register they do not name):
//
// __glK3DLightLookUp: EAX -> the words {entries, threshold, scale} of a power
//   table, MM3 low = the argument x. Gives EAX = 0 when the term is skipped
//   (x below the threshold, or not a number); otherwise EAX != 0 and MM3 holds
//   the coefficient in both halves: entry (x - threshold) x scale + 0.5,
//   truncated, or 1.0 from index 256 on. Uses MM2.
//
// __glK3DLightStore: EAX = face, EBP = context, EBX = the face's material
//   cache, EDI = vertex, MM4 = (r, g), MM5 low = b. Clamps r, g, b into
//   [0, scale] (anything not above 0, not a number included, gives 0) and
//   stores them with the cache's alpha as the face's colour. Uses EAX, ECX,
//   EDX and MM4.
//
// Comparisons that must send a non-number one way are made on the bits with
// integer instructions: what 3DNow! arithmetic does with such values is not
// defined.
#include "geometry/s_light_k3d_equates.h"

__attribute__((used)) static void EmitK3DLightSubroutines() {
  K3D_LIGHT_EQUATES();
  asm volatile(R"(
        .pushsection .text.__glK3DLightSubroutines, "ax", @progbits
        .intel_syntax noprefix

        .globl __glK3DLightLookUp
        .hidden __glK3DLightLookUp
        .type __glK3DLightLookUp, @function
        .p2align 4
__glK3DLightLookUp:
        push ecx
        movd ecx, mm3
        and ecx, 0x7FFFFFFF
        cmp ecx, 0x7F800000
        ja 1f
        movd mm2, [eax + 4]
        pfcmpgt mm2, mm3
        movd ecx, mm2
        test ecx, ecx
        jne 1f
        movd mm2, [eax + 4]
        pfsub mm3, mm2
        movd mm2, [eax + 8]
        pfmul mm3, mm2
        mov ecx, 0x3F000000
        movd mm2, ecx
        pfadd mm3, mm2
        pf2id mm3, mm3
        movd ecx, mm3
        cmp ecx, 256
        jae 2f
        mov eax, [eax]
        movd mm3, [eax + 4 * ecx]
        jmp 3f
2:      mov ecx, 0x3F800000
        movd mm3, ecx
3:      punpckldq mm3, mm3
        pop ecx
        ret
1:      xor eax, eax
        pop ecx
        ret
        .size __glK3DLightLookUp, . - __glK3DLightLookUp

        .globl __glK3DLightStore
        .hidden __glK3DLightStore
        .type __glK3DLightStore, @function
        .p2align 4
__glK3DLightStore:
        shl eax, 4
        lea eax, [edi + eax + V_COLORS]
        movd edx, mm4
        mov ecx, [ebp + LK_REDSCALE]
        call 7f
        mov [eax], edx
        punpckhdq mm4, mm4
        movd edx, mm4
        mov ecx, [ebp + LK_GREENSCALE]
        call 7f
        mov [eax + 4], edx
        movd edx, mm5
        mov ecx, [ebp + LK_BLUESCALE]
        call 7f
        mov [eax + 8], edx
        mov edx, [ebx + MC_ALPHA]
        mov [eax + 12], edx
        ret
7:      K3D_UNLESS_POSITIVE edx, 8f
        cmp edx, ecx
        jl 9f
        mov edx, ecx
9:      ret
8:      xor edx, edx
        ret
        .size __glK3DLightStore, . - __glK3DLightStore

        .att_syntax prefix
        .popsection
)");
}
