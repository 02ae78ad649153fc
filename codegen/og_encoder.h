// Inside the encoder: each instruction is encoded into a small staging
// record first, so that a failed check or a full buffer writes nothing.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <array>

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

// ---- Families ----
// The encoding family of each instruction is the last column of the
// instruction table (codegen/og_code.h); emit_code hands the instruction to
// its family's encoder, emit_<family>_code.
#define OG_FAMILIES(X)                                                            \
  X(NONE, none)   /* no encoding: refused like an unknown opcode */               \
  X(FIXED, fixed) /* one or two fixed bytes, whatever the operands */             \
  X(MOV, mov)                                                                     \
  X(EXTEND, extend)                                                               \
  X(LEA, lea)                                                                     \
  X(PUSH, push)                                                                   \
  X(POP, pop)                                                                     \
  X(INCDEC, incdec)                                                               \
  X(TOC, toc) /* conditional jumps */                                             \
  X(JMP, jmp)                                                                     \
  X(CALL, call)                                                                   \
  X(JMPI, jmpi)                                                                   \
  X(RETN, retn)                                                                   \
  X(ARITH, arith) /* the ALU family: an immediate, two register forms, a digit */ \
  X(IMUL, imul)                                                                   \
  X(IDIV, idiv)                                                                   \
  X(SHIFT, shift)                                                                 \
  X(FP, fp) /* x87: a stack-register form and a memory form */                    \
  X(MOVD, movd)                                                                   \
  X(MOVQ, movq)                                                                   \
  X(MMX_S, mmx_s) /* MMX shifts: register, memory or immediate count */           \
  X(MMX, mmx)     /* the other MMX instructions: register or memory source */

enum class OgFamily : uint8_t {
#define OG_FAMILY_ENUM(NAME, name) NAME,
  OG_FAMILIES(OG_FAMILY_ENUM)
#undef OG_FAMILY_ENUM
};

#define OG_FAMILY_ENCODER(NAME, name) bool emit_##name##_code(OgBytes *out, const OgCode *c);
OG_FAMILIES(OG_FAMILY_ENCODER)
#undef OG_FAMILY_ENCODER

// The family column, by opcode.
constexpr std::array<OgFamily, OG_OPCODE_COUNT> og_families() {
  std::array<OgFamily, OG_OPCODE_COUNT> t{};
#define OG_FAMILY_OF(number, name, operands, family) t[number] = OgFamily::family;
  OG_INSTRUCTIONS(OG_FAMILY_OF)
#undef OG_FAMILY_OF
  return t;
}
inline constexpr std::array<OgFamily, OG_OPCODE_COUNT> kOgFamily = og_families();

// A family's own table: rows that each name their instruction in `op`,
// laid out by opcode for the encoder to index.
template <class Row>
using OgByOpcode = std::array<Row, OG_OPCODE_COUNT>;

template <class Row, size_t N>
constexpr OgByOpcode<Row> og_by_opcode(const Row (&rows)[N]) {
  OgByOpcode<Row> t{};
  for (const Row &r : rows) t[r.op] = r;
  return t;
}

// True when the rows name exactly the instructions of `family`, each once,
// so that the family column and the family's table cannot drift apart.
template <class Row, size_t N>
constexpr bool og_rows_match(const Row (&rows)[N], OgFamily family) {
  uint32_t seen[OG_OPCODE_COUNT] = {};
  for (const Row &r : rows) {
    if (r.op >= OG_OPCODE_COUNT || kOgFamily[r.op] != family) return false;
    seen[r.op]++;
  }
  for (uint32_t op = 0; op < OG_OPCODE_COUNT; op++)
    if ((kOgFamily[op] == family) != (seen[op] == 1)) return false;
  return true;
}

// After an operand-size prefix the processor reads a 16-bit immediate,
// truncates jump targets to 16 bits and takes 0F-prefixed MMX opcodes for
// SSE2 ones: these are the refusals of such forms after size16.
inline constexpr char kOgSize16BeforeTransfer[] = "size16 before a jump, call or return";
inline constexpr char kOgSize16BeforeMmx[] = "size16 before an MMX instruction";

// The fixed-byte instructions' table (codegen/og_fixed.cpp).
typedef struct OgFixedForm {
  uint32_t op;
  uint8_t length;
  uint8_t bytes[2];
  const char *afterSize16;  // the refusal when size16 precedes it, or null
} OgFixedForm;

const OgFixedForm &og_fixed_form(uint32_t op);
