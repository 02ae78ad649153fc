// Field offsets for the 3DNow! lighting routines, handed to the assembler as
// symbols so that the routines follow the records wherever the compiler
// places them, and the assembler macros the routines share. Expand
// K3D_LIGHT_EQUATES() once, inside a function of the file that holds the
// routines, before their text.
#pragma once

#include <stddef.h>

#include "core/context.h"
#include "geometry/s_light.h"

static_assert(sizeof(GlColor) == 16, "a face colour is 16 bytes: the routines shift the face by 4");

#define K3D_EQU(name, n) ".equ " name ", %c" #n "\n\t"

// clang-format off
#define K3D_LIGHT_EQUATES()                                                              \
  asm volatile(                                                                          \
      K3D_EQU("LK_SOURCES", 0) K3D_EQU("LK_MATCACHE", 1) K3D_EQU("LK_FRONT", 2)          \
      K3D_EQU("LK_BACK", 3) K3D_EQU("LK_LOCALVIEWER", 4) K3D_EQU("LK_REDSCALE", 5)       \
      K3D_EQU("LK_GREENSCALE", 6) K3D_EQU("LK_BLUESCALE", 7) K3D_EQU("MC_SIZE", 8)       \
      K3D_EQU("MC_SCENE", 9) K3D_EQU("MC_SPECTABLE", 10) K3D_EQU("MC_ALPHA", 11)         \
      K3D_EQU("M_AMBIENT", 12) K3D_EQU("M_DIFFUSE", 13) K3D_EQU("M_SPECULAR", 14)        \
      K3D_EQU("L_AMBIENT", 15) K3D_EQU("L_DIFFUSE", 16) K3D_EQU("L_SPECULAR", 17)        \
      K3D_EQU("V_NORMAL", 18) K3D_EQU("V_EYE", 19) K3D_EQU("V_COLORS", 20)               \
      :                                                                                  \
      : "i"(offsetof(GlContext, light.sources)),                                         \
        "i"(offsetof(GlContext, light.materialCache)),                                   \
        "i"(offsetof(GlContext, state.light.front)),                                     \
        "i"(offsetof(GlContext, state.light.back)),                                      \
        "i"(offsetof(GlContext, state.light.model.localViewer)),                         \
        "i"(offsetof(GlContext, constants.redScale)),                                    \
        "i"(offsetof(GlContext, constants.greenScale)),                                  \
        "i"(offsetof(GlContext, constants.blueScale)), "i"(sizeof(GlMaterialCache)),     \
        "i"(offsetof(GlMaterialCache, sceneColor)),                                      \
        "i"(offsetof(GlMaterialCache, specTable)), "i"(offsetof(GlMaterialCache, alpha)), \
        "i"(offsetof(GlMaterial, ambient)), "i"(offsetof(GlMaterial, diffuse)),          \
        "i"(offsetof(GlMaterial, specular)), "i"(offsetof(GlLight, ambient)),            \
        "i"(offsetof(GlLight, diffuse)), "i"(offsetof(GlLight, specular)),               \
        "i"(offsetof(GlVertex, normal)), "i"(offsetof(GlVertex, eye)),                   \
        "i"(offsetof(GlVertex, colors)));                                                \
  asm volatile(                                                                          \
      K3D_EQU("LC_SOURCE", 0) K3D_EQU("LC_CONSTANT", 1) K3D_EQU("LC_LINEAR", 2)          \
      K3D_EQU("LC_QUADRATIC", 3) K3D_EQU("LC_POSITION", 4) K3D_EQU("LC_DIRECTION", 5)    \
      K3D_EQU("LC_COSCUTOFF", 6) K3D_EQU("LC_ATTENUATION", 7) K3D_EQU("LC_ISSPOT", 8)    \
      K3D_EQU("LC_HHAT", 9) K3D_EQU("LC_UNITVPPLI", 10) K3D_EQU("LC_NEXT", 11)           \
      K3D_EQU("LC_SPOTTABLE", 12)                                                        \
      :                                                                                  \
      : "i"(offsetof(GlLightCache, source)), "i"(offsetof(GlLightCache, constantAttenuation)), \
        "i"(offsetof(GlLightCache, linearAttenuation)),                                  \
        "i"(offsetof(GlLightCache, quadraticAttenuation)),                               \
        "i"(offsetof(GlLightCache, position)), "i"(offsetof(GlLightCache, direction)),   \
        "i"(offsetof(GlLightCache, cosCutOffAngle)),                                     \
        "i"(offsetof(GlLightCache, attenuation)), "i"(offsetof(GlLightCache, isSpot)),   \
        "i"(offsetof(GlLightCache, hHat)), "i"(offsetof(GlLightCache, unitVPpli)),       \
        "i"(offsetof(GlLightCache, next)), "i"(offsetof(GlLightCache, spotTable)));      \
  asm volatile(K3D_LIGHT_MACROS)

// Steps the routines share, as assembler macros (intel syntax at the use):
// K3D_UNLESS_POSITIVE reg, skip: jumps to skip unless the float whose bits
//   are in reg is above 0 and a number.
// K3D_ADD_PRODUCT field, coef, rg, b, scratch: with ECX the light and ESI the
//   material, rg += (light.field x material.field) x coef for red and green,
//   b likewise for blue (the low half of coef). Uses MM2 and scratch.
#define K3D_LIGHT_MACROS                                                                 \
  ".macro K3D_UNLESS_POSITIVE reg, skip\n\t"                                             \
  "test \\reg, \\reg\n\t"                                                                \
  "jle \\skip\n\t"                                                                       \
  "cmp \\reg, 0x7F800000\n\t"                                                            \
  "ja \\skip\n\t"                                                                        \
  ".endm\n\t"                                                                            \
  ".macro K3D_ADD_PRODUCT field, coef, rg, b, scratch\n\t"                               \
  "movq mm2, [ecx + L_\\field]\n\t"                                                      \
  "pfmul mm2, [esi + M_\\field]\n\t"                                                     \
  "pfmul mm2, \\coef\n\t"                                                                \
  "pfadd \\rg, mm2\n\t"                                                                  \
  "movd mm2, [ecx + L_\\field + 8]\n\t"                                                  \
  "movd \\scratch, [esi + M_\\field + 8]\n\t"                                            \
  "pfmul mm2, \\scratch\n\t"                                                             \
  "pfmul mm2, \\coef\n\t"                                                                \
  "pfadd \\b, mm2\n\t"                                                                   \
  ".endm\n\t"
// clang-format on

// The look-up reads a table's words as {entries, threshold, scale} from the
// first: the material cache and the light cache keep them so.
static_assert(offsetof(GlMaterialCache, threshold) == offsetof(GlMaterialCache, specTable) + 4 &&
                  offsetof(GlMaterialCache, scale) == offsetof(GlMaterialCache, specTable) + 8,
              "specular table words in a row");
static_assert(offsetof(GlLightCache, spotThreshold) == offsetof(GlLightCache, spotTable) + 4 &&
                  offsetof(GlLightCache, spotScale) == offsetof(GlLightCache, spotTable) + 8,
              "spot table words in a row");
