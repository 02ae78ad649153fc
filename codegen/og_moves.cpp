// Integer moves, the stack, and the instructions of one or two fixed bytes.
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

// movsx, movzx (from a byte), movsxw, movzxw (from a word in memory).
bool EncodeExtend(OgBytes *out, uint32_t op, const OgCode *op1, const OgCode *op2) {
  static const uint8_t kSecond[4] = {0xBE, 0xB6, 0xBF, 0xB7};
  const bool fromByte = op == OG_OP_movsx || op == OG_OP_movzx;
  if (!is_reg32(op1) || !(is_mem(op2) || (fromByte && is_reg8(op2))))
    return og_refuse(out, "0");
  put8(out, 0x0F);
  put8(out, kSecond[op - OG_OP_movsx]);
  return emit_modrm_code(out, reg_number(op1), op2);
}

bool EncodePush(OgBytes *out, const OgCode *op1) {
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

bool EncodePop(OgBytes *out, const OgCode *op1) {
  if (is_reg32(op1)) {
    put8(out, 0x58 + reg_number(op1));
    return true;
  }
  if (!is_mem(op1)) return og_refuse(out, "0");
  put8(out, 0x8F);
  return emit_modrm_code(out, 0, op1);
}

// inc (digit 0) and dec (digit 1).
bool EncodeIncDec(OgBytes *out, uint32_t digit, const OgCode *op1) {
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

}  // namespace

bool emit_move_code(OgBytes *out, const OgCode *c) {
  const OgCode *op1 = c->data.insn.op1;
  const OgCode *op2 = c->data.insn.op2;
  switch (c->data.insn.op) {
    case OG_OP_mov: return EncodeMov(out, op1, op2);
    case OG_OP_movsx:
    case OG_OP_movzx:
    case OG_OP_movsxw:
    case OG_OP_movzxw: return EncodeExtend(out, c->data.insn.op, op1, op2);
    case OG_OP_lea:
      if (!is_reg32(op1) || !is_mem(op2)) return og_refuse(out, "0");
      put8(out, 0x8D);
      return emit_modrm_code(out, reg_number(op1), op2);
    case OG_OP_push: return EncodePush(out, op1);
    case OG_OP_pop: return EncodePop(out, op1);
    case OG_OP_inc: return EncodeIncDec(out, 0, op1);
    case OG_OP_dec: return EncodeIncDec(out, 1, op1);
    case OG_OP_int3: put8(out, 0xCC); return true;
    case OG_OP_wait: put8(out, 0x9B); return true;
    case OG_OP_size16: put8(out, 0x66); return true;
    case OG_OP_rep: put8(out, 0xF3); return true;
    case OG_OP_movsd: put8(out, 0xA5); return true;
    case OG_OP_nop: put8(out, 0x90); return true;
    case OG_OP_rdtsc: put8(out, 0x0F); put8(out, 0x31); return true;
    case OG_OP_emms: put8(out, 0x0F); put8(out, 0x77); return true;
    default: return og_refuse(out, "0");
  }
}
