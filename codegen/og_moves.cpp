// Integer moves and the stack.
#include "codegen/og_encoder.h"

namespace {

// The mov forms, tried in this order.
bool EncodeMov(OgBytes *out, const OgCode *op1, const OgCode *op2) {
  if (is_reg32(op1) && is_imm(op2)) {
    put8(out, 0xB8 + reg_number(op1));
    put_imm32(out, op2->data.value);
    return true;
  }
  if (is_reg8(op1) && is_imm(op2)) {
    if (!is_byte_value(op2)) return og_refuse(out, "c->data.insn.op2->data.value fits a byte");
    put8(out, 0xB0 + reg_number(op1));
    put8(out, uint32_t(op2->data.value));
    return true;
  }
  if (is_mem(op1) && is_imm(op2)) {
    put8(out, 0xC7);
    if (!emit_modrm_code(out, 0, op1)) return false;
    put_imm32(out, op2->data.value);
    return true;
  }
  if (is_reg32(op1) && (is_reg32(op2) || is_mem(op2))) {
    put8(out, 0x8B);
    return emit_modrm_code(out, reg_number(op1), op2);
  }
  if (is_mem(op1) && is_reg32(op2)) {
    put8(out, 0x89);
    return emit_modrm_code(out, reg_number(op2), op1);
  }
  if (is_reg8(op1) && (is_reg8(op2) || is_mem(op2))) {
    put8(out, 0x8A);
    return emit_modrm_code(out, reg_number(op1), op2);
  }
  if (is_mem(op1) && is_reg8(op2)) {
    put8(out, 0x88);
    return emit_modrm_code(out, reg_number(op2), op1);
  }
  return og_refuse(out, "0");
}

// movsx, movzx (from a byte register or memory), movsxw, movzxw (from a
// word in memory): 0F, the second byte, ModRM.
typedef struct ExtendForm {
  uint32_t op;
  uint8_t second;
  bool fromByte;
} ExtendForm;

constexpr ExtendForm kExtendRows[] = {
    {OG_OP_movsx, 0xBE, true},
    {OG_OP_movzx, 0xB6, true},
    {OG_OP_movsxw, 0xBF, false},
    {OG_OP_movzxw, 0xB7, false},
};
static_assert(og_rows_match(kExtendRows, OgFamily::EXTEND));
constexpr OgByOpcode<ExtendForm> kExtend = og_by_opcode(kExtendRows);

// inc and dec: the ModRM digit of their byte and memory forms; the register
// form is 40h + 8 * digit + r.
typedef struct IncDecForm {
  uint32_t op;
  uint8_t digit;
} IncDecForm;

constexpr IncDecForm kIncDecRows[] = {{OG_OP_inc, 0}, {OG_OP_dec, 1}};
static_assert(og_rows_match(kIncDecRows, OgFamily::INCDEC));
constexpr OgByOpcode<IncDecForm> kIncDec = og_by_opcode(kIncDecRows);

}  // namespace

bool emit_mov_code(OgBytes *out, const OgCode *c) {
  return EncodeMov(out, c->data.insn.op1, c->data.insn.op2);
}

bool emit_extend_code(OgBytes *out, const OgCode *c) {
  const ExtendForm &f = kExtend[c->data.insn.op];
  const OgCode *op1 = c->data.insn.op1;
  const OgCode *op2 = c->data.insn.op2;
  if (!is_reg32(op1) || !(is_mem(op2) || (f.fromByte && is_reg8(op2))))
    return og_refuse(out, "0");
  put8(out, 0x0F);
  put8(out, f.second);
  return emit_modrm_code(out, reg_number(op1), op2);
}

bool emit_lea_code(OgBytes *out, const OgCode *c) {
  const OgCode *op1 = c->data.insn.op1;
  const OgCode *op2 = c->data.insn.op2;
  if (!is_reg32(op1) || !is_mem(op2)) return og_refuse(out, "0");
  put8(out, 0x8D);
  return emit_modrm_code(out, reg_number(op1), op2);
}

bool emit_push_code(OgBytes *out, const OgCode *c) {
  const OgCode *op1 = c->data.insn.op1;
  if (is_imm(op1)) {
    put8(out, 0x68);
    put_imm32(out, op1->data.value);
    return true;
  }
  if (is_reg32(op1)) {
    put8(out, 0x50 + reg_number(op1));
    return true;
  }
  if (!is_mem(op1)) return og_refuse(out, "0");
  put8(out, 0xFF);
  return emit_modrm_code(out, 6, op1);
}

bool emit_pop_code(OgBytes *out, const OgCode *c) {
  const OgCode *op1 = c->data.insn.op1;
  if (is_reg32(op1)) {
    put8(out, 0x58 + reg_number(op1));
    return true;
  }
  if (!is_mem(op1)) return og_refuse(out, "0");
  put8(out, 0x8F);
  return emit_modrm_code(out, 0, op1);
}

bool emit_incdec_code(OgBytes *out, const OgCode *c) {
  const uint32_t digit = kIncDec[c->data.insn.op].digit;
  const OgCode *op1 = c->data.insn.op1;
  if (is_reg32(op1)) {
    put8(out, 0x40 + 8 * digit + reg_number(op1));
    return true;
  }
  if (is_reg8(op1)) {
    put8(out, 0xFE);
    return emit_modrm_code(out, digit, op1);
  }
  if (!is_mem(op1)) return og_refuse(out, "0");
  put8(out, 0xFF);
  return emit_modrm_code(out, digit, op1);
}

