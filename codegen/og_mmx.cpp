// The MMX instructions, all behind 0Fh: moves, shifts and the rest.
#include "codegen/og_encoder.h"

namespace {

// Second opcode bytes. For the shifts it is the register form; the
// immediate form and its digit derive from it.
typedef struct MmxForm {
  uint32_t op;
  uint8_t second;
} MmxForm;

constexpr MmxForm kShiftRows[] = {
    {OG_OP_pslld, 0xF2}, {OG_OP_psllq, 0xF3}, {OG_OP_psllw, 0xF1},
    {OG_OP_psrad, 0xE2}, {OG_OP_psraw, 0xE1},
    {OG_OP_psrld, 0xD2}, {OG_OP_psrlq, 0xD3}, {OG_OP_psrlw, 0xD1},
};
static_assert(og_rows_match(kShiftRows, OgFamily::MMX_S));
constexpr OgByOpcode<MmxForm> kShift = og_by_opcode(kShiftRows);

constexpr MmxForm kMmxRows[] = {
    {OG_OP_packssdw, 0x6B},  {OG_OP_packsswb, 0x63},  {OG_OP_packuswb, 0x67},
    {OG_OP_punpckhbw, 0x68}, {OG_OP_punpckhdq, 0x6A}, {OG_OP_punpckhwd, 0x69},
    {OG_OP_punpcklbw, 0x60}, {OG_OP_punpckldq, 0x62}, {OG_OP_punpcklwd, 0x61},
    {OG_OP_paddb, 0xFC},     {OG_OP_paddd, 0xFE},     {OG_OP_paddsb, 0xEC},
    {OG_OP_paddsw, 0xED},    {OG_OP_paddusb, 0xDC},   {OG_OP_paddusw, 0xDD},
    {OG_OP_paddw, 0xFD},     {OG_OP_pand, 0xDB},      {OG_OP_pandn, 0xDF},
    {OG_OP_pcmpeqb, 0x74},   {OG_OP_pcmpeqd, 0x76},   {OG_OP_pcmpeqw, 0x75},
    {OG_OP_pcmpgtb, 0x64},   {OG_OP_pcmpgtw, 0x65},   {OG_OP_pcmpgtd, 0x66},
    {OG_OP_pmaddwd, 0xF5},   {OG_OP_pmulhw, 0xE5},    {OG_OP_pmullw, 0xD5},
    {OG_OP_psubb, 0xF8},     {OG_OP_psubw, 0xF9},     {OG_OP_psubd, 0xFA},
    {OG_OP_psubsb, 0xE8},    {OG_OP_psubsw, 0xE9},    {OG_OP_psubusb, 0xD8},
    {OG_OP_psubusw, 0xD9},   {OG_OP_por, 0xEB},       {OG_OP_pxor, 0xEF},
};
static_assert(og_rows_match(kMmxRows, OgFamily::MMX));
constexpr OgByOpcode<MmxForm> kMmx = og_by_opcode(kMmxRows);

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

}  // namespace

bool emit_movd_code(OgBytes *out, const OgCode *c) {
  const OgCode *op1 = c->data.insn.op1;
  const OgCode *op2 = c->data.insn.op2;
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

bool emit_movq_code(OgBytes *out, const OgCode *c) {
  const OgCode *op1 = c->data.insn.op1;
  const OgCode *op2 = c->data.insn.op2;
  if (is_mmxreg(op1)) return FromMmxOrMemory(out, 0x6F, op1, op2);
  if (!is_mmxreg(op2)) return og_refuse(out, "is_mmxreg(c->data.insn.op2)");
  if (!is_mem(op1)) return og_refuse(out, "0");
  put8(out, 0x0F);
  put8(out, 0x7F);
  return emit_modrm_code(out, reg_number(op2), op1);
}

bool emit_mmx_s_code(OgBytes *out, const OgCode *c) {
  const uint8_t regForm = kShift[c->data.insn.op].second;
  const OgCode *op1 = c->data.insn.op1;
  const OgCode *op2 = c->data.insn.op2;
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

bool emit_mmx_code(OgBytes *out, const OgCode *c) {
  return FromMmxOrMemory(out, kMmx[c->data.insn.op].second, c->data.insn.op1, c->data.insn.op2);
}
