// The emitter's records: one `OgCode` per operand, instruction and label.
// Generators build them with the constructors of codegen/og.h and hand the
// instructions to `emit_code`.
#pragma once

#include <stddef.h>
#include <stdint.h>

// Kinds of record (`what`). 2 is not used.
enum : uint32_t {
  VALUE = 0,   // immediate or absolute address
  REG8 = 1,    // byte register 0..7: al, cl, dl, bl, ah, ch, dh, bh
  REG32 = 3,   // general register 0..7: eax, ecx, edx, ebx, esp, ebp, esi, edi
  FPREG = 4,   // x87 stack register st(i)
  MMXREG = 5,  // mm0..mm7
  MEM = 6,     // [reg1 + reg2 * scale + disp]
  INSN = 7,    // instruction
  LABEL = 8,   // jump target, or a reference chained on one
};

typedef struct OgCode OgCode;

typedef struct OgMemSpec {
  OgCode *disp;    // a VALUE, or null
  uint32_t scale;  // 1, 2, 4 or 8; read only with an index
  OgCode *reg1;    // base (REG32), or null
  OgCode *reg2;    // index (REG32 other than esp), or null
} OgMemSpec;

typedef struct OgInsnSpec {
  uint32_t op;  // the instruction number below
  OgCode *op1;  // destination first (Intel order), or null
  OgCode *op2;
} OgInsnSpec;

// A label names a place in code. A reference chained on `refs` is a LABEL
// too: its `where` is the address of the hole to patch and `far` its width.
typedef struct OgLabelSpec {
  uint32_t far;      // 1: 32-bit displacements, 0: 8-bit
  OgCode *refs;      // unresolved references, newest first
  uint8_t *where;    // the place; null until placed
  const char *name;  // names an absolute target; the emitter never reads it
} OgLabelSpec;

struct OgCode {
  uint32_t what;
  union {
    int32_t value;
    OgMemSpec mem;
    OgInsnSpec insn;
    OgLabelSpec label;
  } data;
};

static_assert(sizeof(OgCode) == 20, "a record is five words");
static_assert(offsetof(OgCode, data) == 4, "the kind heads the record");
static_assert(offsetof(OgLabelSpec, where) == 8, "the place is the label's third word");

// The instruction set: number, constructor name and operand count. `and`,
// `or` and `xor` are spelt with a trailing underscore because C++ keeps the
// plain words as operators. The encoder relies on the ranges: 10-23
// conditional jumps, 24-28 transfers, 29-43 integer arithmetic, 50-75 x87,
// 77-124 MMX.
#define OG_INSTRUCTIONS(X)                                                       \
  X(0, mov, 2) X(1, movsx, 2) X(2, movzx, 2) X(3, movsxw, 2) X(4, movzxw, 2)     \
  X(5, lea, 2) X(6, push, 1) X(7, pop, 1) X(8, inc, 1) X(9, dec, 1)              \
  X(10, ja, 1) X(11, jae, 1) X(12, jb, 1) X(13, jbe, 1) X(14, jge, 1)            \
  X(15, jl, 1) X(16, jle, 1) X(17, jg, 1) X(18, je, 1) X(19, jne, 1)             \
  X(20, jo, 1) X(21, jno, 1) X(22, js, 1) X(23, jns, 1)                          \
  X(24, call, 1) X(25, jmp, 1) X(26, jmpi, 1) X(27, ret, 0) X(28, retn, 1)       \
  X(29, cmp, 2) X(30, add, 2) X(31, adc, 2) X(32, imul, 2) X(33, idiv, 1)        \
  X(34, sub, 2) X(35, sbb, 2) X(36, and_, 2) X(37, or_, 2) X(38, xor_, 2)        \
  X(39, rol, 2) X(40, shl, 2) X(41, shr, 2) X(42, sar, 2) X(43, test, 2)         \
  X(44, int3, 0) X(45, wait, 0) X(46, size16, 0) X(47, rep, 0) X(48, movsd, 0)   \
  X(49, nop, 0)                                                                  \
  X(50, fld, 1) X(51, fild, 1) X(52, fildq, 1) X(53, fxch, 1) X(54, fst, 1)      \
  X(55, fstp, 1) X(56, fstpq, 1) X(57, fistp, 1) X(58, fist, 1)                  \
  X(59, fistpq, 1) X(60, fmul, 1) X(61, fmulp, 2) X(62, fadd, 1)                 \
  X(63, faddp, 2) X(64, fsub, 1) X(65, fdivr, 1) X(66, fdiv, 1) X(67, fldpi, 0)  \
  X(68, fabsolute, 0) X(69, fldcw, 1) X(70, fstcw, 1) X(71, fsubp, 2)            \
  X(72, fsubrp, 2) X(73, fldq, 1) X(74, faddq, 1) X(75, fchs, 0)                 \
  X(76, rdtsc, 0) X(77, emms, 0) X(78, movd, 2) X(79, movq, 2)                   \
  X(80, packssdw, 2) X(81, packsswb, 2) X(82, packuswb, 2) X(83, pslld, 2)       \
  X(84, psllq, 2) X(85, psllw, 2) X(86, psrad, 2) X(87, psraq, 2)                \
  X(88, psraw, 2) X(89, psrld, 2) X(90, psrlq, 2) X(91, psrlw, 2)                \
  X(92, punpckhbw, 2) X(93, punpckhdq, 2) X(94, punpckhwd, 2)                    \
  X(95, punpcklbw, 2) X(96, punpckldq, 2) X(97, punpcklwd, 2) X(98, paddb, 2)    \
  X(99, paddd, 2) X(100, paddsb, 2) X(101, paddsw, 2) X(102, paddusb, 2)         \
  X(103, paddusw, 2) X(104, paddw, 2) X(105, pand, 2) X(106, pandn, 2)           \
  X(107, pcmpeqb, 2) X(108, pcmpeqd, 2) X(109, pcmpeqw, 2) X(110, pcmpgtb, 2)    \
  X(111, pcmpgtw, 2) X(112, pcmpgtd, 2) X(113, pmaddwd, 2) X(114, pmulhw, 2)     \
  X(115, pmullw, 2) X(116, psubb, 2) X(117, psubw, 2) X(118, psubd, 2)           \
  X(119, psubsb, 2) X(120, psubsw, 2) X(121, psubusb, 2) X(122, psubusw, 2)      \
  X(123, por, 2) X(124, pxor, 2)

// OG_OP_mov = 0 ... OG_OP_pxor = 124.
enum : uint32_t {
#define OG_OPCODE_ENUM(number, name, operands) OG_OP_##name = number,
  OG_INSTRUCTIONS(OG_OPCODE_ENUM)
#undef OG_OPCODE_ENUM
  OG_OPCODE_COUNT = 125
};
