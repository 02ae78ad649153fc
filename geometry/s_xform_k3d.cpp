// The 3DNow! transforms of general and affine matrices: two components per
// instruction, single precision throughout (geometry/s_xform_k3d_asm.h).
#include "geometry/s_xform.h"
#include "geometry/s_xform_k3d_asm.h"

static_assert(offsetof(GlMatrix, matrix) == 0, "the routines address the elements from the record");

// out1:out0, the same for general and affine matrices: the source read
// whole (its components in both lanes), then x, y (and z) times the element
// pairs, and the translation pair, or w times it.
#define K3D_LOW_PAIR_OF2                 \
  K3D_ENTER                              \
  K3D_SPLAT_XY                           \
  K3D_PAIR_FIRST("mm0", "0")             \
  K3D_PAIR_ADD("mm1", "16")              \
  "pfadd mm2, qword ptr [edx + 48]\n"
#define K3D_LOW_PAIR_OF3                 \
  K3D_ENTER                              \
  K3D_SPLAT_XY                           \
  K3D_SPLAT_Z                            \
  K3D_PAIR_FIRST("mm0", "0")             \
  K3D_PAIR_ADD("mm1", "16")              \
  K3D_PAIR_ADD("mm6", "32")              \
  "pfadd mm2, qword ptr [edx + 48]\n"
#define K3D_LOW_PAIR_OF4                 \
  K3D_ENTER                              \
  K3D_SPLAT_XY                           \
  K3D_SPLAT_Z                            \
  K3D_SPLAT_W                            \
  K3D_PAIR_FIRST("mm0", "0")             \
  K3D_PAIR_ADD("mm1", "16")              \
  K3D_PAIR_ADD("mm6", "32")              \
  K3D_PAIR_ADD("mm7", "48")

// ---- General: out[j] = x·m[j] + y·m[4+j] (+ z·m[8+j]) + w·m[12+j] ----

ASM_ROUTINE(__glK3DXForm2,
            K3D_LOW_PAIR_OF2
            K3D_HIGH_PAIR_FIRST("mm0", "8")
            K3D_HIGH_PAIR_ADD("mm1", "24")
            "pfadd mm3, qword ptr [edx + 56]\n"
            K3D_LEAVE)

ASM_ROUTINE(__glK3DXForm3,
            K3D_LOW_PAIR_OF3
            K3D_HIGH_PAIR_FIRST("mm0", "8")
            K3D_HIGH_PAIR_ADD("mm1", "24")
            K3D_HIGH_PAIR_ADD("mm6", "40")
            "pfadd mm3, qword ptr [edx + 56]\n"
            K3D_LEAVE)

ASM_ROUTINE(__glK3DXForm4,
            K3D_LOW_PAIR_OF4
            K3D_HIGH_PAIR_FIRST("mm0", "8")
            K3D_HIGH_PAIR_ADD("mm1", "24")
            K3D_HIGH_PAIR_ADD("mm6", "40")
            K3D_HIGH_PAIR_ADD("mm7", "56")
            K3D_LEAVE)

// ---- Affine: out[0..2] as above, out[3] = 1, or w for four components ----

ASM_ROUTINE(__glK3DXForm2_W,
            K3D_LOW_PAIR_OF2
            K3D_LANE_FIRST("mm0", "8")
            K3D_LANE_ADD("mm1", "24")
            K3D_LANE_TRANSLATION
            K3D_HIGH_LANE_ONE
            K3D_LEAVE)

ASM_ROUTINE(__glK3DXForm3_W,
            K3D_LOW_PAIR_OF3
            K3D_LANE_FIRST("mm0", "8")
            K3D_LANE_ADD("mm1", "24")
            K3D_LANE_ADD("mm6", "40")
            K3D_LANE_TRANSLATION
            K3D_HIGH_LANE_ONE
            K3D_LEAVE)

ASM_ROUTINE(__glK3DXForm4_W,
            K3D_LOW_PAIR_OF4
            K3D_LANE_FIRST("mm0", "8")
            K3D_LANE_ADD("mm1", "24")
            K3D_LANE_ADD("mm6", "40")
            K3D_LANE_ADD("mm7", "56")
            K3D_HIGH_LANE_W
            K3D_LEAVE)
