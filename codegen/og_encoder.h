// Inside the encoder: each instruction is encoded into a small staging
// record first, so that a failed check or a full buffer writes nothing.
#pragma once

#include <stdint.h>

#include "codegen/og.h"

typedef struct OgBytes {
  uint8_t *cb;          // where the bytes will go (jump displacements depend on it)
  uint8_t byte[16];     // no IA-32 instruction is longer than 15 bytes
  uint32_t length;
  uint32_t hole;        // offset of a displacement left for resolve
  uint32_t holeWidth;   // 0 none, 1 or 4 bytes
  OgCode *target;       // the unplaced label the hole belongs to
  bool imm32;           // a 32-bit immediate was written
  const char *failure;  // text of the failed check
} OgBytes;

// ---- Operand predicates ----
inline bool is_imm(const OgCode *c) { return c && c->what == VALUE; }
inline bool is_register_of(const OgCode *c, uint32_t kind) {
  return c && c->what == kind && uint32_t(c->data.value) < 8;
}
inline bool is_reg8(const OgCode *c) { return is_register_of(c, REG8); }
inline bool is_reg32(const OgCode *c) { return is_register_of(c, REG32); }
inline bool is_reg(const OgCode *c) { return is_reg8(c) || is_reg32(c); }
inline bool is_fpreg(const OgCode *c) { return is_register_of(c, FPREG); }
inline bool is_mmxreg(const OgCode *c) { return is_register_of(c, MMXREG); }
inline bool is_mem(const OgCode *c) { return c && c->what == MEM; }
inline bool is_label(const OgCode *c) { return c && c->what == LABEL; }
inline bool is_byte_imm(const OgCode *c) {
  return is_imm(c) && c->data.value >= -128 && c->data.value <= 127;
}
// An immediate an 8-bit operand can take, signed or not.
inline bool is_byte_value(const OgCode *c) {
  return is_imm(c) && c->data.value >= -128 && c->data.value <= 255;
}
inline uint32_t reg_number(const OgCode *c) { return uint32_t(c->data.value); }

// ---- Staging ----
inline void put8(OgBytes *out, uint32_t b) { out->byte[out->length++] = uint8_t(b); }
inline void put32(OgBytes *out, uint32_t v) {
  for (int i = 0; i < 4; i++) put8(out, v >> (8 * i));
}
inline void put_imm32(OgBytes *out, int32_t v) {
  put32(out, uint32_t(v));
  out->imm32 = true;
}
// Records the failed check; always false.
inline bool og_refuse(OgBytes *out, const char *text) {
  if (out->failure == nullptr) out->failure = text;
  return false;
}

// ModRM, SIB and displacement of a register or memory operand with the
// given 3-bit register field.
bool emit_modrm_code(OgBytes *out, uint32_t regfield, const OgCode *op);

// The families; each encodes `c` (an INSN of its range) into `out`.
bool emit_move_code(OgBytes *out, const OgCode *c);   // 0-9, 44-49, 76-77
bool emit_arith_code(OgBytes *out, const OgCode *c);  // 29-43
bool emit_jump_code(OgBytes *out, const OgCode *c);   // 10-28
bool emit_fp_code(OgBytes *out, const OgCode *c);     // 50-75
bool emit_mmx_code(OgBytes *out, const OgCode *c);    // 78-124
