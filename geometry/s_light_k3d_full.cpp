// __glK3DCalcRGBColor (gc, face, v), cdecl: the full RGBA lighting in
// 3DNow!, for positional lights, spotlights and the local viewer. Per light:
//
//   VP = from the vertex to the light (homogeneous, see VertexToLight)
//   L = unit VP; H = unit (L + unit -eye) with a local viewer, else
//   unit (L + (0, 0, 1))
//   a = 1 (directional), the cached 1 / constant (no linear or quadratic
//   term), else 1 / ((kq d + kl) d + kc) with d = |VP|
//   spot: sd = -L.D; nothing unless sd > 0, sd >= cos cutoff and sd reaches
//   the spot table; a *= coef(sd)
//   nothing when a is not above 0; t = La x Ma, plus, if n.L > 0, the
//   specular term (unless n.H is below the table) and Ld x Md x n.L;
//   c += t x a
//
// Directions are normalised by K3DNormalizeCoord (the integer estimate and
// two Newton steps, in 3DNow!); the distance and the attenuation's
// reciprocal come from the processor's estimates with their refinement
// steps. K3DNormalizeCoord is an ordinary cdecl procedure that begins and
// ends with FEMMS, so nothing stays in MMX registers across it: the vectors
// and the colour sum live on the stack. Registers: EBP context, ESI the
// face's material, EBX its material cache, EDI vertex, EDX light cache, ECX
// scratch and then its light. On the stack: the face normal, VP, L, H, the
// view vector, the colour and a. FEMMS at entry and exit.
#include <type_traits>

#include "geometry/s_light_k3d_equates.h"
#include "geometry/s_xform.h"

// The routine calls it by its linkage name, which this type fixes.
static_assert(std::is_same_v<decltype(K3DNormalizeCoord), void(GLfloat *, const GLfloat *)>,
              "_Z17K3DNormalizeCoordPfPKf is K3DNormalizeCoord(GLfloat *, const GLfloat *)");

__attribute__((used)) static void EmitK3DCalcRGBColor() {
  K3D_LIGHT_EQUATES();
  asm volatile(R"(
        .pushsection .text.__glK3DCalcRGBColor, "ax", @progbits
        .intel_syntax noprefix
        .equ F_N, 0
        .equ F_VP, 16
        .equ F_L, 32
        .equ F_H, 48
        .equ F_V, 64
        .equ F_C, 80
        .equ F_A, 96
        .equ F_SIZE, 112
        # K3DNormalizeCoord(esp + dst, esp + src); keeps EDX.
        .macro K3D_NORMALIZE dst, src
        push edx
        lea eax, [esp + 4 + \src]
        push eax
        lea eax, [esp + 8 + \dst]
        push eax
        call _Z17K3DNormalizeCoordPfPKf
        add esp, 8
        pop edx
        .endm
        # esp + dst = the three words at src, each XORed with sign (a sign
        # mask negates them, 0 copies them); uses ECX.
        .macro K3D_COPY3 dst, src, sign
        .irp i, 0, 4, 8
        mov ecx, [\src + \i]
        .ifnb \sign
        xor ecx, \sign
        .endif
        mov [esp + \dst + \i], ecx
        .endr
        .endm
        # dst low = (esp + a) . (esp + b) over three components; uses tmp and
        # scratch.
        .macro K3D_DOT3 dst, tmp, scratch, a, b
        movq \dst, [esp + \a]
        pfmul \dst, [esp + \b]
        movd \tmp, [esp + \a + 8]
        movd \scratch, [esp + \b + 8]
        pfmul \tmp, \scratch
        pfacc \dst, \dst
        pfadd \dst, \tmp
        .endm
        .globl __glK3DCalcRGBColor
        .hidden __glK3DCalcRGBColor
        .type __glK3DCalcRGBColor, @function
        .p2align 4
__glK3DCalcRGBColor:
        push ebp
        push ebx
        push esi
        push edi
        sub esp, F_SIZE
        femms
        mov ebp, [esp + F_SIZE + 20]
        mov eax, [esp + F_SIZE + 24]
        mov edi, [esp + F_SIZE + 28]
        lea esi, [ebp + LK_FRONT]
        lea ebx, [ebp + LK_MATCACHE]
        test eax, eax
        je 1f
        lea esi, [ebp + LK_BACK]
        lea ebx, [ebx + MC_SIZE]
        mov eax, 0x80000000
1:      K3D_COPY3 F_N, edi+V_NORMAL, eax
        K3D_COPY3 F_C, ebx+MC_SCENE
        mov edx, [ebp + LK_SOURCES]
        test edx, edx
        je 90f

10:     mov eax, [edi + V_EYE + 12]
        and eax, 0x7FFFFFFF
        mov ecx, [edx + LC_POSITION + 12]
        and ecx, 0x7FFFFFFF
        je 12f
        test eax, eax
        je 11f
        movd mm2, [edi + V_EYE + 12]
        punpckldq mm2, mm2
        movd mm3, [edx + LC_POSITION + 12]
        punpckldq mm3, mm3
        movq mm6, [edx + LC_POSITION]
        pfmul mm6, mm2
        movq mm7, [edi + V_EYE]
        pfmul mm7, mm3
        pfsub mm6, mm7
        movq [esp + F_VP], mm6
        movd mm6, [edx + LC_POSITION + 8]
        pfmul mm6, mm2
        movd mm7, [edi + V_EYE + 8]
        pfmul mm7, mm3
        pfsub mm6, mm7
        movd [esp + F_VP + 8], mm6
        jmp 20f
11:     K3D_COPY3 F_VP, edi+V_EYE, 0x80000000
        jmp 20f
12:     test eax, eax
        je 13f
        K3D_COPY3 F_VP, edx+LC_POSITION
        jmp 20f
13:     movq mm6, [edx + LC_POSITION]
        movq mm7, [edi + V_EYE]
        pfsub mm6, mm7
        movq [esp + F_VP], mm6
        movd mm6, [edx + LC_POSITION + 8]
        movd mm7, [edi + V_EYE + 8]
        pfsub mm6, mm7
        movd [esp + F_VP + 8], mm6

20:     K3D_NORMALIZE F_L, F_VP
        cmp byte ptr [ebp + LK_LOCALVIEWER], 0
        je 21f
        K3D_COPY3 F_V, edi+V_EYE, 0x80000000
        K3D_NORMALIZE F_V, F_V
        movq mm6, [esp + F_L]
        movq mm1, [esp + F_V]
        pfadd mm6, mm1
        movd mm7, [esp + F_L + 8]
        movd mm1, [esp + F_V + 8]
        pfadd mm7, mm1
        jmp 22f
21:     movq mm6, [esp + F_L]
        movd mm7, [esp + F_L + 8]
        mov eax, 0x3F800000
        movd mm1, eax
        pfadd mm7, mm1
22:     movq [esp + F_H], mm6
        movd [esp + F_H + 8], mm7
        K3D_NORMALIZE F_H, F_H

        mov ecx, 0x3F800000
        mov eax, [edx + LC_POSITION + 12]
        and eax, 0x7FFFFFFF
        je 39f
        mov eax, [edx + LC_LINEAR]
        or eax, [edx + LC_QUADRATIC]
        and eax, 0x7FFFFFFF
        jne 30f
        mov ecx, [edx + LC_ATTENUATION]
        jmp 39f
30:     movq mm6, [esp + F_VP]
        pfmul mm6, mm6
        movd mm7, [esp + F_VP + 8]
        pfmul mm7, mm7
        pfacc mm6, mm6
        pfadd mm6, mm7
        pxor mm2, mm2
        movd eax, mm6
        test eax, eax
        je 31f
        pfrsqrt mm2, mm6
        movq mm3, mm2
        pfmul mm2, mm2
        pfrsqit1 mm2, mm6
        pfrcpit2 mm2, mm3
        pfmul mm2, mm6
31:     movd mm3, [edx + LC_QUADRATIC]
        pfmul mm3, mm2
        movd mm6, [edx + LC_LINEAR]
        pfadd mm3, mm6
        pfmul mm3, mm2
        movd mm6, [edx + LC_CONSTANT]
        pfadd mm3, mm6
        pfrcp mm6, mm3
        pfrcpit1 mm3, mm6
        pfrcpit2 mm3, mm6
        movd ecx, mm3
39:     mov [esp + F_A], ecx

        cmp byte ptr [edx + LC_ISSPOT], 0
        je 49f
        movq mm6, [esp + F_L]
        movq mm7, [edx + LC_DIRECTION]
        pfmul mm6, mm7
        movd mm7, [esp + F_L + 8]
        movd mm2, [edx + LC_DIRECTION + 8]
        pfmul mm7, mm2
        pfacc mm6, mm6
        pfadd mm6, mm7
        movd eax, mm6
        xor eax, 0x80000000
        K3D_UNLESS_POSITIVE eax, 80f
        movd mm3, eax
        movd mm2, [edx + LC_COSCUTOFF]
        pfcmpgt mm2, mm3
        movd ecx, mm2
        test ecx, ecx
        jne 80f
        lea eax, [edx + LC_SPOTTABLE]
        call __glK3DLightLookUp
        test eax, eax
        je 80f
        movd mm2, [esp + F_A]
        pfmul mm3, mm2
        movd [esp + F_A], mm3
49:     mov eax, [esp + F_A]
        K3D_UNLESS_POSITIVE eax, 80f

        mov ecx, [edx + LC_SOURCE]
        movq mm6, [ecx + L_AMBIENT]
        pfmul mm6, [esi + M_AMBIENT]
        movd mm7, [ecx + L_AMBIENT + 8]
        movd mm2, [esi + M_AMBIENT + 8]
        pfmul mm7, mm2
        K3D_DOT3 mm0, mm1, mm2, F_N, F_L
        movd eax, mm0
        K3D_UNLESS_POSITIVE eax, 70f
        K3D_DOT3 mm3, mm1, mm2, F_N, F_H
        lea eax, [ebx + MC_SPECTABLE]
        call __glK3DLightLookUp
        test eax, eax
        je 60f
        K3D_ADD_PRODUCT SPECULAR, mm3, mm6, mm7, mm1
60:     punpckldq mm0, mm0
        K3D_ADD_PRODUCT DIFFUSE, mm0, mm6, mm7, mm1
70:     movd mm2, [esp + F_A]
        punpckldq mm2, mm2
        pfmul mm6, mm2
        pfmul mm7, mm2
        movq mm4, [esp + F_C]
        pfadd mm4, mm6
        movq [esp + F_C], mm4
        movd mm5, [esp + F_C + 8]
        pfadd mm5, mm7
        movd [esp + F_C + 8], mm5

80:     mov edx, [edx + LC_NEXT]
        test edx, edx
        jne 10b

90:     movq mm4, [esp + F_C]
        movd mm5, [esp + F_C + 8]
        mov eax, [esp + F_SIZE + 24]
        call __glK3DLightStore
        femms
        add esp, F_SIZE
        pop edi
        pop esi
        pop ebx
        pop ebp
        ret
        .size __glK3DCalcRGBColor, . - __glK3DCalcRGBColor
        .att_syntax prefix
        .popsection
)");
}
