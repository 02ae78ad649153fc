// The 3DNow! transforms of 2D matrices: with a separate z (x and y
// independent of z) and without rotation (the identity too). The elements
// the type promises are never loaded (geometry/s_xform_k3d_asm.h).
#include "geometry/s_xform.h"
#include "geometry/s_xform_k3d_asm.h"

static_assert(offsetof(GlMatrix, matrix) == 0, "the routines address the elements from the record");

// out3:out2 of a 2D matrix: m[14] and 1 for two components; z·m[10] +
// m[14] and 1 for three; z·m[10] + w·m[14] and w for four.
#define K3D_2D_ZW_OF2                     \
  "movd mm3, dword ptr [edx + 56]\n"      \
  K3D_HIGH_LANE_ONE
#define K3D_2D_ZW_OF3                     \
  K3D_LANE_FIRST("mm6", "40")             \
  K3D_LANE_TRANSLATION                    \
  K3D_HIGH_LANE_ONE
#define K3D_2D_ZW_OF4                     \
  K3D_LANE_FIRST("mm6", "40")             \
  K3D_LANE_ADD("mm7", "56")               \
  K3D_HIGH_LANE_W

// ---- 2D: out0:out1 from x, y and the translation; out2 from z alone ----

#define K3D_2D_PAIR          \
  K3D_PAIR_FIRST("mm0", "0") \
  K3D_PAIR_ADD("mm1", "16")

ASM_ROUTINE(__glK3DXForm2_2DW,
            K3D_ENTER
            K3D_SPLAT_XY
            K3D_2D_PAIR
            "pfadd mm2, qword ptr [edx + 48]\n"
            K3D_2D_ZW_OF2
            K3D_LEAVE)

ASM_ROUTINE(__glK3DXForm3_2DW,
            K3D_ENTER
            K3D_SPLAT_XY
            K3D_SPLAT_Z
            K3D_2D_PAIR
            "pfadd mm2, qword ptr [edx + 48]\n"
            K3D_2D_ZW_OF3
            K3D_LEAVE)

ASM_ROUTINE(__glK3DXForm4_2DW,
            K3D_ENTER
            K3D_SPLAT_XY
            K3D_SPLAT_Z
            K3D_SPLAT_W
            K3D_2D_PAIR
            K3D_PAIR_ADD("mm7", "48")
            K3D_2D_ZW_OF4
            K3D_LEAVE)

// ---- Without rotation: (y:x) times (m[5]:m[0]) in one product ----

#define K3D_2DNR_PAIR                       \
  "movd mm2, dword ptr [edx]\n"             \
  "movd mm4, dword ptr [edx + 20]\n"        \
  "punpckldq mm2, mm4\n"                    \
  "pfmul mm2, qword ptr [ecx]\n"

ASM_ROUTINE(__glK3DXForm2_2DNRW,
            K3D_ENTER
            K3D_2DNR_PAIR
            "pfadd mm2, qword ptr [edx + 48]\n"
            K3D_2D_ZW_OF2
            K3D_LEAVE)

ASM_ROUTINE(__glK3DXForm3_2DNRW,
            K3D_ENTER
            K3D_SPLAT_Z
            K3D_2DNR_PAIR
            "pfadd mm2, qword ptr [edx + 48]\n"
            K3D_2D_ZW_OF3
            K3D_LEAVE)

ASM_ROUTINE(__glK3DXForm4_2DNRW,
            K3D_ENTER
            K3D_SPLAT_Z
            K3D_SPLAT_W
            K3D_2DNR_PAIR
            K3D_PAIR_ADD("mm7", "48")
            K3D_2D_ZW_OF4
            K3D_LEAVE)
