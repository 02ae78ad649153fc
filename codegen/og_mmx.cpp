// The MMX instructions, all behind 0Fh: moves, shifts and the rest.
#include "codegen/og_encoder.h"

namespace {

// Second opcode bytes, indexed by opcode - OG_OP_packssdw. For the shifts
// it is the register form; psraq has none (0).
const uint8_t kMmx[OG_OP_pxor - OG_OP_packssdw + 1] = {
    0x6B, 0x63, 0x67,                    // packssdw, packsswb, packuswb
    0xF2, 0xF3, 0xF1,                    // pslld, psllq, psllw
    0xE2, 0x00, 0xE1,                    // psrad, psraq, psraw
    0xD2, 0xD3, 0xD1,                    // psrld, psrlq, psrlw
    0x68, 0x6A, 0x69, 0x60, 0x62, 0x61,  // punpckhbw, hdq, hwd, lbw, ldq, lwd
    0xFC, 0xFE, 0xEC, 0xED, 0xDC, 0xDD,  // paddb, paddd, paddsb, paddsw, paddusb, paddusw
    0xFD, 0xDB, 0xDF,                    // paddw, pand, pandn
    0x74, 0x76, 0x75, 0x64, 0x65, 0x66,  // pcmpeqb, eqd, eqw, gtb, gtw, gtd
    0xF5, 0xE5, 0xD5,                    // pmaddwd, pmulhw, pmullw
    0xF8, 0xF9, 0xFA, 0xE8, 0xE9, 0xD8,  // psubb, psubw, psubd, psubsb, psubsw, psubusb
    0xD9, 0xEB, 0xEF,                    // psubusw, por, pxor
};

bool IsShift(uint32_t op) { return op >= OG_OP_pslld && op <= OG_OP_psrlw; }

// Register op1 with an MMX register or memory op2.
bool FromMmxOrMemory(OgBytes *out, uint8_t second, const OgCode *op1, const OgCode *op2) {
  if (!is_mmxreg(op1)) return og_refuse(out, "0");
  put8(out, 0x0F);
  put8(out, second);
  if (is_mmxreg(op2)) {
    put8(out, 0xC0 | reg_number(op1) << 3 | reg_number(op2));
    return true;
  }
  if (!is_mem(op2)) return og_refuse(out, "0");
  return emit_modrm_code(out, reg_number(op1), op2);
}

bool EncodeMovd(OgBytes *out, const OgCode *op1, const OgCode *op2) {
  if (is_mmxreg(op1)) {
    if (!is_reg32(op2) && !is_mem(op2)) return og_refuse(out, "0");
    put8(out, 0x0F);
    put8(out, 0x6E);
    return emit_modrm_code(out, reg_number(op1), op2);
  }
  if (!is_mmxreg(op2)) return og_refuse(out, "is_mmxreg(c->data.insn.op2)");
  if (!is_reg32(op1) && !is_mem(op1)) return og_refuse(out, "0");
  put8(out, 0x0F);
  put8(out, 0x7E);
  return emit_modrm_code(out, reg_number(op2), op1);
}

bool EncodeMovq(OgBytes *out, const OgCode *op1, const OgCode *op2) {
  if (is_mmxreg(op1)) return FromMmxOrMemory(out, 0x6F, op1, op2);
  if (!is_mmxreg(op2)) return og_refuse(out, "is_mmxreg(c->data.insn.op2)");
  if (!is_mem(op1)) return og_refuse(out, "0");
  put8(out, 0x0F);
  put8(out, 0x7F);
  return emit_modrm_code(out, reg_number(op2), op1);
}

bool EncodeShift(OgBytes *out, uint8_t regForm, const OgCode *op1, const OgCode *op2) {
  if (!is_imm(op2)) return FromMmxOrMemory(out, regForm, op1, op2);
  if (!is_mmxreg(op1)) return og_refuse(out, "0");
  if (op2->data.value < 0 || op2->data.value > 255)
    return og_refuse(out, "c->data.insn.op2->data.value fits a byte");
  put8(out, 0x0F);
  put8(out, 0x70 + (regForm & 3));  // 71 words, 72 doublewords, 73 quadword
  put8(out, 0xC0 | (regForm & 0x38) | reg_number(op1));
  put8(out, uint32_t(op2->data.value));
  return true;
}

}  // namespace

bool emit_mmx_code(OgBytes *out, const OgCode *c) {
  const uint32_t op = c->data.insn.op;
  const OgCode *op1 = c->data.insn.op1;
  const OgCode *op2 = c->data.insn.op2;
  if (op == OG_OP_movd) return EncodeMovd(out, op1, op2);
  if (op == OG_OP_movq) return EncodeMovq(out, op1, op2);
  const uint8_t second = kMmx[op - OG_OP_packssdw];
  if (second == 0) return og_refuse(out, "0");  // psraq: no such instruction
  if (IsShift(op)) return EncodeShift(out, second, op1, op2);
  return FromMmxOrMemory(out, second, op1, op2);
}
