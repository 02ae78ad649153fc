// Integer arithmetic and logic: the ALU family, imul, idiv and the shifts.
#include "codegen/og_encoder.h"

namespace {

typedef struct AluForm {
  uint32_t op;
  uint8_t immediate;   // 81 /digit, or F7 /0 for test
  uint8_t regFromRm;   // 0 when the family member has no such form
  uint8_t rmFromReg;
  uint8_t digit;
  bool byteImmediate;  // 83 /digit ib for an immediate in -128..127
} AluForm;

// cmp alone takes a sign-extended byte immediate.
constexpr AluForm kAluRows[] = {
    {OG_OP_cmp, 0x81, 0x3B, 0x39, 7, true},
    {OG_OP_add, 0x81, 0x03, 0x01, 0, false},
    {OG_OP_adc, 0x81, 0x13, 0x11, 2, false},
    {OG_OP_sub, 0x81, 0x2B, 0x29, 5, false},
    {OG_OP_sbb, 0x81, 0x1B, 0x19, 3, false},
    {OG_OP_and_, 0x81, 0x23, 0x21, 4, false},
    {OG_OP_or_, 0x81, 0x0B, 0x09, 1, false},
    {OG_OP_xor_, 0x81, 0x33, 0x31, 6, false},
    {OG_OP_test, 0xF7, 0, 0x85, 0, false},
};
static_assert(og_rows_match(kAluRows, OgFamily::ARITH));
constexpr OgByOpcode<AluForm> kAlu = og_by_opcode(kAluRows);

typedef struct ShiftForm {
  uint32_t op;
  uint8_t digit;  // C1 /digit ib
} ShiftForm;

constexpr ShiftForm kShiftRows[] = {
    {OG_OP_rol, 0}, {OG_OP_shl, 4}, {OG_OP_shr, 5}, {OG_OP_sar, 7}};
static_assert(og_rows_match(kShiftRows, OgFamily::SHIFT));
constexpr OgByOpcode<ShiftForm> kShift = og_by_opcode(kShiftRows);

// Two registers of one instruction must be the same size.
bool SameSize(const OgCode *a, const OgCode *b) { return a->what == b->what; }

}  // namespace

bool emit_arith_code(OgBytes *out, const OgCode *c) {
  const AluForm &f = kAlu[c->data.insn.op];
  const OgCode *op1 = c->data.insn.op1;
  const OgCode *op2 = c->data.insn.op2;
  const bool byteOp1 = is_reg8(op1);
  if (is_imm(op2)) {
    if (!is_reg(op1) && !is_mem(op1)) return og_refuse(out, "0");
    if (byteOp1 && !is_byte_value(op2))
      return og_refuse(out, "c->data.insn.op2->data.value fits a byte");
    if (f.byteImmediate && is_byte_imm(op2)) {
      put8(out, byteOp1 ? 0x80 : 0x83);
      if (!emit_modrm_code(out, f.digit, op1)) return false;
      put8(out, uint32_t(op2->data.value));
      return true;
    }
    put8(out, f.immediate - (byteOp1 ? 1 : 0));
    if (!emit_modrm_code(out, f.digit, op1)) return false;
    if (byteOp1)
      put8(out, uint32_t(op2->data.value));
    else
      put_imm32(out, op2->data.value);
    return true;
  }
  if (is_reg(op2)) {
    if (!is_mem(op1) && !(is_reg(op1) && SameSize(op1, op2))) return og_refuse(out, "0");
    put8(out, f.rmFromReg - (is_reg8(op2) ? 1 : 0));
    return emit_modrm_code(out, reg_number(op2), op1);
  }
  if (is_reg(op1) && is_mem(op2) && f.regFromRm != 0) {
    put8(out, f.regFromRm - (byteOp1 ? 1 : 0));
    return emit_modrm_code(out, reg_number(op1), op2);
  }
  return og_refuse(out, "0");
}

bool emit_imul_code(OgBytes *out, const OgCode *c) {
  const OgCode *op1 = c->data.insn.op1;
  const OgCode *op2 = c->data.insn.op2;
  if (!is_reg32(op1)) return og_refuse(out, "0");
  if (is_imm(op2)) {  // op1 = op1 * imm
    put8(out, 0x69);
    emit_modrm_code(out, reg_number(op1), op1);
    put_imm32(out, op2->data.value);
    return true;
  }
  if (!is_reg32(op2) && !is_mem(op2)) return og_refuse(out, "0");
  put8(out, 0x0F);
  put8(out, 0xAF);
  return emit_modrm_code(out, reg_number(op1), op2);
}

bool emit_idiv_code(OgBytes *out, const OgCode *c) {
  const OgCode *op1 = c->data.insn.op1;
  if (!is_reg32(op1) && !is_mem(op1)) return og_refuse(out, "0");
  put8(out, 0xF7);
  return emit_modrm_code(out, 7, op1);
}

bool emit_shift_code(OgBytes *out, const OgCode *c) {
  const OgCode *op1 = c->data.insn.op1;
  const OgCode *op2 = c->data.insn.op2;
  if (!is_imm(op2)) return og_refuse(out, "is_imm(c->data.insn.op2)");
  const int32_t count = op2->data.value;
  if (count <= 0) return true;  // nothing to shift: nothing written
  if (!is_reg32(op1)) return og_refuse(out, "is_reg32(c->data.insn.op1)");
  // The processor keeps only five bits of the count.
  if (count > 31) return og_refuse(out, "c->data.insn.op2->data.value < 32");
  put8(out, 0xC1);
  put8(out, 0xC0 | kShift[c->data.insn.op].digit << 3 | reg_number(op1));
  put8(out, uint32_t(count));
  return true;
}
