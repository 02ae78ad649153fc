// The x87 instructions: a stack-register form of two bytes, the second plus
// i, and a memory form of one opcode byte and ModRM with a digit.
#include "codegen/og_encoder.h"

namespace {

typedef struct FpForm {
  uint8_t regFirst;   // 0: no st(i) form
  uint8_t regSecond;  // + i
  uint8_t memOpcode;  // 0: no memory form
  uint8_t digit;
} FpForm;

// Indexed by opcode - OG_OP_fld.
const FpForm kFp[OG_OP_fchs - OG_OP_fld + 1] = {
    {0xD9, 0xC0, 0xD9, 0},  // fld: 32-bit real
    {0, 0, 0xDB, 0},        // fild: 32-bit integer
    {0, 0, 0xDF, 5},        // fildq: 64-bit integer
    {0xD9, 0xC8, 0, 0},     // fxch
    {0xDD, 0xD0, 0xD9, 2},  // fst
    {0xDD, 0xD8, 0xD9, 3},  // fstp
    {0, 0, 0xDD, 3},        // fstpq: 64-bit real
    {0, 0, 0xDB, 3},        // fistp
    {0, 0, 0xDB, 2},        // fist
    {0, 0, 0xDF, 7},        // fistpq
    {0xD8, 0xC8, 0xD8, 1},  // fmul
    {0xDE, 0xC8, 0, 0},     // fmulp
    {0xD8, 0xC0, 0xD8, 0},  // fadd
    {0xDE, 0xC0, 0, 0},     // faddp
    {0xD8, 0xE0, 0xD8, 4},  // fsub
    {0xD8, 0xF8, 0xD8, 7},  // fdivr
    {0xD8, 0xF0, 0xD8, 6},  // fdiv
    {0xD9, 0xEB, 0, 0},     // fldpi
    {0xD9, 0xE1, 0, 0},     // fabsolute
    {0, 0, 0xD9, 5},        // fldcw
    {0, 0, 0xD9, 7},        // fstcw, without a wait
    {0xDE, 0xE8, 0, 0},     // fsubp
    {0xDE, 0xE0, 0, 0},     // fsubrp
    {0xD9, 0xC0, 0xDD, 0},  // fldq: 64-bit real
    {0, 0, 0xDC, 0},        // faddq
    {0xD9, 0xE0, 0, 0},     // fchs
};

bool NoOperands(uint32_t op) {
  return op == OG_OP_fldpi || op == OG_OP_fabsolute || op == OG_OP_fchs;
}

bool Popping(uint32_t op) {
  return op == OG_OP_faddp || op == OG_OP_fmulp || op == OG_OP_fsubp || op == OG_OP_fsubrp;
}

}  // namespace

bool emit_fp_code(OgBytes *out, const OgCode *c) {
  const uint32_t op = c->data.insn.op;
  const OgCode *op1 = c->data.insn.op1;
  const FpForm &f = kFp[op - OG_OP_fld];
  if (NoOperands(op)) {
    put8(out, f.regFirst);
    put8(out, f.regSecond);
    return true;
  }
  if (Popping(op) && is_fpreg(op1) && c->data.insn.op2 != st0)
    return og_refuse(out, "c->data.insn.op2 == st0");
  if (is_fpreg(op1) && f.regFirst) {
    put8(out, f.regFirst);
    put8(out, f.regSecond + reg_number(op1));
    return true;
  }
  if (!is_mem(op1) || f.memOpcode == 0) return og_refuse(out, "0");
  const OgCode *disp = op1->data.mem.disp;
  if ((op == OG_OP_fstpq || op == OG_OP_faddq) && is_imm(disp) && (disp->data.value & 7) != 0)
    return og_refuse(out, "(c->data.insn.op1->data.mem.disp->data.value & 7) == 0");
  put8(out, f.memOpcode);
  return emit_modrm_code(out, f.digit, op1);
}
