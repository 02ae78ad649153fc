// __glK3DFastCalcRGBColor (gc, face, v), cdecl: the fast RGBA lighting in
// 3DNow!, red and green carried as one packed pair and blue beside them.
// Every enabled light is directional without spot under an infinite viewer,
// so each uses its cached direction L and half vector H:
//
//   c = scene colour of the face
//   per light: c += La x Ma; if n.L > 0: c += Ls x Ms x coef(n.H) unless
//              n.H is below the table, c += Ld x Md x n.L
//   clamp, alpha of the face
//
// Registers: EBP context, ESI the face's material, EBX its material cache,
// EDI vertex, EDX light cache, ECX its light; MM0 = (nx, ny), MM1 low = nz,
// MM4 = (r, g), MM5 low = b, MM6 low = n.L, MM3 the table argument and
// coefficient, MM2 and MM7 scratch. FEMMS at entry and exit leaves the
// floating-point unit free for x87 code.
#include "geometry/s_light_k3d_equates.h"

__attribute__((used)) static void EmitK3DFastCalcRGBColor() {
  K3D_LIGHT_EQUATES();
  asm volatile(R"(
        .pushsection .text.__glK3DFastCalcRGBColor, "ax", @progbits
        .intel_syntax noprefix
        # dst low = n . (the three floats at vec); uses MM2.
        .macro K3D_DOT_NORMAL dst, vec
        movq \dst, [\vec]
        pfmul \dst, mm0
        movd mm2, [\vec + 8]
        pfmul mm2, mm1
        pfacc \dst, \dst
        pfadd \dst, mm2
        .endm
        .globl __glK3DFastCalcRGBColor
        .hidden __glK3DFastCalcRGBColor
        .type __glK3DFastCalcRGBColor, @function
        .p2align 4
__glK3DFastCalcRGBColor:
        push ebp
        push ebx
        push esi
        push edi
        femms
        mov ebp, [esp + 20]
        mov eax, [esp + 24]
        mov edi, [esp + 28]
        lea esi, [ebp + LK_FRONT]
        lea ebx, [ebp + LK_MATCACHE]
        movq mm0, [edi + V_NORMAL]
        movd mm1, [edi + V_NORMAL + 8]
        test eax, eax
        je 1f
        lea esi, [ebp + LK_BACK]
        lea ebx, [ebx + MC_SIZE]
        mov ecx, 0x80000000
        movd mm7, ecx
        punpckldq mm7, mm7
        pxor mm0, mm7
        pxor mm1, mm7
1:      movq mm4, [ebx + MC_SCENE]
        movd mm5, [ebx + MC_SCENE + 8]
        mov edx, [ebp + LK_SOURCES]
        test edx, edx
        je 9f

2:      mov ecx, [edx + LC_SOURCE]
        movq mm2, [ecx + L_AMBIENT]
        pfmul mm2, [esi + M_AMBIENT]
        pfadd mm4, mm2
        movd mm2, [ecx + L_AMBIENT + 8]
        movd mm7, [esi + M_AMBIENT + 8]
        pfmul mm2, mm7
        pfadd mm5, mm2

        K3D_DOT_NORMAL mm6, edx+LC_UNITVPPLI
        movd eax, mm6
        K3D_UNLESS_POSITIVE eax, 8f

        K3D_DOT_NORMAL mm3, edx+LC_HHAT
        lea eax, [ebx + MC_SPECTABLE]
        call __glK3DLightLookUp
        test eax, eax
        je 3f
        K3D_ADD_PRODUCT SPECULAR, mm3, mm4, mm5, mm7
3:      punpckldq mm6, mm6
        K3D_ADD_PRODUCT DIFFUSE, mm6, mm4, mm5, mm7

8:      mov edx, [edx + LC_NEXT]
        test edx, edx
        jne 2b

9:      mov eax, [esp + 24]
        call __glK3DLightStore
        femms
        pop edi
        pop esi
        pop ebx
        pop ebp
        ret
        .size __glK3DFastCalcRGBColor, . - __glK3DFastCalcRGBColor
        .att_syntax prefix
        .popsection
)");
}
