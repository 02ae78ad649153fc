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

// The instruction set: number, constructor name, operand count and
// encoding family, the encoder that writes the instruction (its families
// are listed in codegen/og_encoder.h). `and`, `or` and `xor` are spelt with
// a trailing underscore because C++ keeps the plain words as operators.
// psraq has a number and a constructor but no encoding (family NONE).
#define OG_INSTRUCTIONS(X)                                                            \
  X(0, mov, 2, MOV) X(1, movsx, 2, EXTEND) X(2, movzx, 2, EXTEND)                     \
  X(3, movsxw, 2, EXTEND) X(4, movzxw, 2, EXTEND) X(5, lea, 2, LEA)                   \
  X(6, push, 1, PUSH) X(7, pop, 1, POP) X(8, inc, 1, INCDEC) X(9, dec, 1, INCDEC)     \
  X(10, ja, 1, TOC) X(11, jae, 1, TOC) X(12, jb, 1, TOC) X(13, jbe, 1, TOC)           \
  X(14, jge, 1, TOC) X(15, jl, 1, TOC) X(16, jle, 1, TOC) X(17, jg, 1, TOC)           \
  X(18, je, 1, TOC) X(19, jne, 1, TOC) X(20, jo, 1, TOC) X(21, jno, 1, TOC)           \
  X(22, js, 1, TOC) X(23, jns, 1, TOC) X(24, call, 1, CALL) X(25, jmp, 1, JMP)        \
  X(26, jmpi, 1, JMPI) X(27, ret, 0, FIXED) X(28, retn, 1, RETN) X(29, cmp, 2, ARITH) \
  X(30, add, 2, ARITH) X(31, adc, 2, ARITH) X(32, imul, 2, IMUL) X(33, idiv, 1, IDIV) \
  X(34, sub, 2, ARITH) X(35, sbb, 2, ARITH) X(36, and_, 2, ARITH)                     \
  X(37, or_, 2, ARITH) X(38, xor_, 2, ARITH) X(39, rol, 2, SHIFT)                     \
  X(40, shl, 2, SHIFT) X(41, shr, 2, SHIFT) X(42, sar, 2, SHIFT)                      \
  X(43, test, 2, ARITH) X(44, int3, 0, FIXED) X(45, wait, 0, FIXED)                   \
  X(46, size16, 0, FIXED) X(47, rep, 0, FIXED) X(48, movsd, 0, FIXED)                 \
  X(49, nop, 0, FIXED) X(50, fld, 1, FP) X(51, fild, 1, FP) X(52, fildq, 1, FP)       \
  X(53, fxch, 1, FP) X(54, fst, 1, FP) X(55, fstp, 1, FP) X(56, fstpq, 1, FP)         \
  X(57, fistp, 1, FP) X(58, fist, 1, FP) X(59, fistpq, 1, FP) X(60, fmul, 1, FP)      \
  X(61, fmulp, 2, FP) X(62, fadd, 1, FP) X(63, faddp, 2, FP) X(64, fsub, 1, FP)       \
  X(65, fdivr, 1, FP) X(66, fdiv, 1, FP) X(67, fldpi, 0, FIXED)                       \
  X(68, fabsolute, 0, FIXED) X(69, fldcw, 1, FP) X(70, fstcw, 1, FP)                  \
  X(71, fsubp, 2, FP) X(72, fsubrp, 2, FP) X(73, fldq, 1, FP) X(74, faddq, 1, FP)     \
  X(75, fchs, 0, FIXED) X(76, rdtsc, 0, FIXED) X(77, emms, 0, FIXED)                  \
  X(78, movd, 2, MOVD) X(79, movq, 2, MOVQ) X(80, packssdw, 2, MMX)                   \
  X(81, packsswb, 2, MMX) X(82, packuswb, 2, MMX) X(83, pslld, 2, MMX_S)              \
  X(84, psllq, 2, MMX_S) X(85, psllw, 2, MMX_S) X(86, psrad, 2, MMX_S)                \
  X(87, psraq, 2, NONE) X(88, psraw, 2, MMX_S) X(89, psrld, 2, MMX_S)                 \
  X(90, psrlq, 2, MMX_S) X(91, psrlw, 2, MMX_S) X(92, punpckhbw, 2, MMX)              \
  X(93, punpckhdq, 2, MMX) X(94, punpckhwd, 2, MMX) X(95, punpcklbw, 2, MMX)          \
  X(96, punpckldq, 2, MMX) X(97, punpcklwd, 2, MMX) X(98, paddb, 2, MMX)              \
  X(99, paddd, 2, MMX) X(100, paddsb, 2, MMX) X(101, paddsw, 2, MMX)                  \
  X(102, paddusb, 2, MMX) X(103, paddusw, 2, MMX) X(104, paddw, 2, MMX)               \
  X(105, pand, 2, MMX) X(106, pandn, 2, MMX) X(107, pcmpeqb, 2, MMX)                  \
  X(108, pcmpeqd, 2, MMX) X(109, pcmpeqw, 2, MMX) X(110, pcmpgtb, 2, MMX)             \
  X(111, pcmpgtw, 2, MMX) X(112, pcmpgtd, 2, MMX) X(113, pmaddwd, 2, MMX)             \
  X(114, pmulhw, 2, MMX) X(115, pmullw, 2, MMX) X(116, psubb, 2, MMX)                 \
  X(117, psubw, 2, MMX) X(118, psubd, 2, MMX) X(119, psubsb, 2, MMX)                  \
  X(120, psubsw, 2, MMX) X(121, psubusb, 2, MMX) X(122, psubusw, 2, MMX)              \
  X(123, por, 2, MMX) X(124, pxor, 2, MMX)

// OG_OP_mov = 0 ... OG_OP_pxor = 124.
enum : uint32_t {
#define OG_OPCODE_ENUM(number, name, operands, family) OG_OP_##name = number,
  OG_INSTRUCTIONS(OG_OPCODE_ENUM)
#undef OG_OPCODE_ENUM
  OG_OPCODE_COUNT = 125
};
