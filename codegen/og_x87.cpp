// The x87 instructions: a stack-register form of two bytes, the second plus
// i, and a memory form of one opcode byte and ModRM with a digit.
#include "codegen/og_encoder.h"

namespace {

typedef struct FpForm {
  uint32_t op;
  uint8_t regFirst;   // 0: no st(i) form
  uint8_t regSecond;  // + i
  uint8_t memOpcode;  // 0: no memory form
  uint8_t digit;
  bool popping;   // writes st(i) and pops: op2 must be st0
  bool aligned8;  // a displacement must be a multiple of 8
} FpForm;

constexpr FpForm kFpRows[] = {
    {OG_OP_fld, 0xD9, 0xC0, 0xD9, 0, false, false},  // 32-bit real
    {OG_OP_fild, 0, 0, 0xDB, 0, false, false},       // 32-bit integer
    {OG_OP_fildq, 0, 0, 0xDF, 5, false, false},      // 64-bit integer
    {OG_OP_fxch, 0xD9, 0xC8, 0, 0, false, false},
    {OG_OP_fst, 0xDD, 0xD0, 0xD9, 2, false, false},
    {OG_OP_fstp, 0xDD, 0xD8, 0xD9, 3, false, false},
    {OG_OP_fstpq, 0, 0, 0xDD, 3, false, true},  // 64-bit real
    {OG_OP_fistp, 0, 0, 0xDB, 3, false, false},
    {OG_OP_fist, 0, 0, 0xDB, 2, false, false},
    {OG_OP_fistpq, 0, 0, 0xDF, 7, false, false},
    {OG_OP_fmul, 0xD8, 0xC8, 0xD8, 1, false, false},
    {OG_OP_fmulp, 0xDE, 0xC8, 0, 0, true, false},
    {OG_OP_fadd, 0xD8, 0xC0, 0xD8, 0, false, false},
    {OG_OP_faddp, 0xDE, 0xC0, 0, 0, true, false},
    {OG_OP_fsub, 0xD8, 0xE0, 0xD8, 4, false, false},
    {OG_OP_fdivr, 0xD8, 0xF8, 0xD8, 7, false, false},
    {OG_OP_fdiv, 0xD8, 0xF0, 0xD8, 6, false, false},
    {OG_OP_fldcw, 0, 0, 0xD9, 5, false, false},
    {OG_OP_fstcw, 0, 0, 0xD9, 7, false, false},  // without a wait
    {OG_OP_fsubp, 0xDE, 0xE8, 0, 0, true, false},
    {OG_OP_fsubrp, 0xDE, 0xE0, 0, 0, true, false},
    {OG_OP_fldq, 0xD9, 0xC0, 0xDD, 0, false, false},  // 64-bit real
    {OG_OP_faddq, 0, 0, 0xDC, 0, false, true},
};
static_assert(og_rows_match(kFpRows, OgFamily::FP));
constexpr OgByOpcode<FpForm> kFp = og_by_opcode(kFpRows);

}  // namespace

bool emit_fp_code(OgBytes *out, const OgCode *c) {
  const FpForm &f = kFp[c->data.insn.op];
  const OgCode *op1 = c->data.insn.op1;
  if (f.popping && is_fpreg(op1) && c->data.insn.op2 != st0)
    return og_refuse(out, "c->data.insn.op2 == st0");
  if (is_fpreg(op1) && f.regFirst) {
    put8(out, f.regFirst);
    put8(out, f.regSecond + reg_number(op1));
    return true;
  }
  if (!is_mem(op1) || f.memOpcode == 0) return og_refuse(out, "0");
  const OgCode *disp = op1->data.mem.disp;
  if (f.aligned8 && is_imm(disp) && (disp->data.value & 7) != 0)
    return og_refuse(out, "(c->data.insn.op1->data.mem.disp->data.value & 7) == 0");
  put8(out, f.memOpcode);
  return emit_modrm_code(out, f.digit, op1);
}
