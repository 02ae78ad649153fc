// The x87 transforms of general and affine matrices. All four sums live on
// the x87 stack at once: the products of x, then those of y added in, then
// z, then the translation, each component rounded once when it is stored.
// The source is read whole before the first store, so it may be the
// destination. cdecl (out, in, m); only eax, ecx and edx are used.
#include "geometry/s_xform.h"
#include "geometry/s_xform_i386_routine.h"

static_assert(offsetof(GlMatrix, matrix) == 0, "the routines address the elements from the record");

// Products of one source component with four matrix elements, pushed
// (st0 holds the last), then added into the four sums below them.
#define X87_PUSH_PRODUCTS4(src, m)                     \
  "fld dword ptr [ecx + " src "]\n"                    \
  "fmul dword ptr [edx + " m " + 0]\n"                 \
  "fld dword ptr [ecx + " src "]\n"                    \
  "fmul dword ptr [edx + " m " + 4]\n"                 \
  "fld dword ptr [ecx + " src "]\n"                    \
  "fmul dword ptr [edx + " m " + 8]\n"                 \
  "fld dword ptr [ecx + " src "]\n"                    \
  "fmul dword ptr [edx + " m " + 12]\n"
#define X87_ADD_INTO_SUMS4 \
  "faddp st(4), st\n"      \
  "faddp st(4), st\n"      \
  "faddp st(4), st\n"      \
  "faddp st(4), st\n"
// The translation row m[12..15] added without a product (w is 1).
#define X87_ADD_TRANSLATION4          \
  "fld dword ptr [edx + 48]\n"        \
  "faddp st(4), st\n"                 \
  "fld dword ptr [edx + 52]\n"        \
  "faddp st(3), st\n"                 \
  "fld dword ptr [edx + 56]\n"        \
  "faddp st(2), st\n"                 \
  "fadd dword ptr [edx + 60]\n"
#define X87_STORE4                    \
  "fstp dword ptr [eax + 12]\n"       \
  "fstp dword ptr [eax + 8]\n"        \
  "fstp dword ptr [eax + 4]\n"        \
  "fstp dword ptr [eax]\n"

// The same for the three sums of an affine matrix (m[3], m[7], m[11] and
// m[15] are never read).
#define X87_PUSH_PRODUCTS3(src, m)                     \
  "fld dword ptr [ecx + " src "]\n"                    \
  "fmul dword ptr [edx + " m " + 0]\n"                 \
  "fld dword ptr [ecx + " src "]\n"                    \
  "fmul dword ptr [edx + " m " + 4]\n"                 \
  "fld dword ptr [ecx + " src "]\n"                    \
  "fmul dword ptr [edx + " m " + 8]\n"
#define X87_ADD_INTO_SUMS3 \
  "faddp st(3), st\n"      \
  "faddp st(3), st\n"      \
  "faddp st(3), st\n"
#define X87_ADD_TRANSLATION3          \
  "fld dword ptr [edx + 48]\n"        \
  "faddp st(3), st\n"                 \
  "fld dword ptr [edx + 52]\n"        \
  "faddp st(2), st\n"                 \
  "fadd dword ptr [edx + 56]\n"
#define X87_STORE3                    \
  "fstp dword ptr [eax + 8]\n"        \
  "fstp dword ptr [eax + 4]\n"        \
  "fstp dword ptr [eax]\n"

#define X87_ARGUMENTS            \
  "mov eax, [esp + 4]\n"         \
  "mov ecx, [esp + 8]\n"         \
  "mov edx, [esp + 12]\n"

// The sums of x, y and z, four of them for a general matrix, three for an
// affine one.
#define X87_SUMS4_XYZ            \
  X87_ARGUMENTS                  \
  X87_PUSH_PRODUCTS4("0", "0")   \
  X87_PUSH_PRODUCTS4("4", "16")  \
  X87_ADD_INTO_SUMS4             \
  X87_PUSH_PRODUCTS4("8", "32")  \
  X87_ADD_INTO_SUMS4
#define X87_SUMS3_XYZ            \
  X87_ARGUMENTS                  \
  X87_PUSH_PRODUCTS3("0", "0")   \
  X87_PUSH_PRODUCTS3("4", "16")  \
  X87_ADD_INTO_SUMS3             \
  X87_PUSH_PRODUCTS3("8", "32")  \
  X87_ADD_INTO_SUMS3

// The bit pattern of 1.0: w is compared exactly, as an integer.
#define X87_ONE_BITS "0x3F800000"

ASM_ROUTINE(__glI386XForm3,
            X87_SUMS4_XYZ
            X87_ADD_TRANSLATION4
            X87_STORE4
            "ret\n")

ASM_ROUTINE(__glI386XForm4,
            X87_SUMS4_XYZ
            "cmp dword ptr [ecx + 12], " X87_ONE_BITS "\n"
            "je 1f\n"
            X87_PUSH_PRODUCTS4("12", "48")
            X87_ADD_INTO_SUMS4
            "jmp 2f\n"
            "1:\n"
            X87_ADD_TRANSLATION4
            "2:\n"
            X87_STORE4
            "ret\n")

ASM_ROUTINE(__glI386XForm3_W,
            X87_SUMS3_XYZ
            X87_ADD_TRANSLATION3
            X87_STORE3
            "mov dword ptr [eax + 12], " X87_ONE_BITS "\n"
            "ret\n")

// The result's w is the source's, copied as bits.
ASM_ROUTINE(__glI386XForm4_W,
            X87_SUMS3_XYZ
            "cmp dword ptr [ecx + 12], " X87_ONE_BITS "\n"
            "je 1f\n"
            X87_PUSH_PRODUCTS3("12", "48")
            X87_ADD_INTO_SUMS3
            "jmp 2f\n"
            "1:\n"
            X87_ADD_TRANSLATION3
            "2:\n"
            "mov ecx, [ecx + 12]\n"
            X87_STORE3
            "mov [eax + 12], ecx\n"
            "ret\n")
