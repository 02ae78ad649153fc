// emit_code: encodes one instruction into a staging record, checks it and
// the buffer, and only then writes it and chains its forward reference.
#include <string.h>

#include "codegen/og_encoder.h"
#include "core/context.h"

namespace {

typedef bool (*Encoder)(OgBytes *out, const OgCode *c);

// Indexed by OgFamily.
constexpr Encoder kEncoders[] = {
#define OG_FAMILY_ENCODER(NAME, name) emit_##name##_code,
    OG_FAMILIES(OG_FAMILY_ENCODER)
#undef OG_FAMILY_ENCODER
};

bool Encode(OgBytes *out, const OgCode *c) {
  const uint32_t op = c->data.insn.op;
  if (op >= OG_OPCODE_COUNT) return og_refuse(out, "0");
  return kEncoders[uint32_t(kOgFamily[op])](out, c);
}

bool IsPrefix(uint32_t op) { return op == OG_OP_size16 || op == OG_OP_rep; }

// What forbids this instruction directly after size16, or null.
const char *BrokenBySize16(uint32_t op, const OgBytes &bytes) {
  if (bytes.imm32) return "size16 before a form with a 32-bit immediate";
  switch (kOgFamily[op]) {
    case OgFamily::FIXED: return og_fixed_form(op).afterSize16;
    case OgFamily::TOC:
    case OgFamily::JMP:
    case OgFamily::CALL:
    case OgFamily::JMPI:
    case OgFamily::RETN: return kOgSize16BeforeTransfer;
    case OgFamily::MOVD:
    case OgFamily::MOVQ:
    case OgFamily::MMX_S:
    case OgFamily::MMX: return kOgSize16BeforeMmx;
    default: return nullptr;
  }
}

}  // namespace

bool emit_none_code(OgBytes *out, const OgCode *) { return og_refuse(out, "0"); }

uint8_t *emit_code(GlContext *gc, uint8_t *cb, OgCode *c) {
  OgState *ogs = &gc->ogs;
  if (ogs->exhausted) {
    og_fail(gc, OG_RECORDS_EXHAUSTED);
    return cb;
  }
  if (c == nullptr || c->what != INSN) {
    og_fail(gc, "c->what == INSN");
    return cb;
  }
  OgBytes bytes = {};
  bytes.cb = cb;
  if (!Encode(&bytes, c)) {
    og_fail(gc, bytes.failure);
    return cb;
  }
  if (bytes.length == 0) return cb;  // a shift by nothing

  const uint32_t op = c->data.insn.op;
  if (ogs->size16 && !IsPrefix(op)) {
    const char *broken = BrokenBySize16(op, bytes);
    if (broken) {
      og_fail(gc, broken);
      return cb;
    }
  }
  // The reference record is taken before anything is written, so a pool
  // that runs out here leaves no hole behind.
  OgCode *ref = nullptr;
  if (bytes.holeWidth) {
    ref = label(gc);
    if (ogs->exhausted) return cb;
  }
  if (cb == nullptr || cb < ogs->start || cb + bytes.length > ogs->end) {
    og_fail(gc, "cb >= ogs->start && cb + length <= ogs->end");
    return cb;
  }
  memcpy(cb, bytes.byte, bytes.length);
  if (ref) {
    OgLabelSpec &target = bytes.target->data.label;
    ref->data.label.far = bytes.holeWidth == 4;
    ref->data.label.where = cb + bytes.hole;
    ref->data.label.refs = target.refs;
    target.refs = ref;
  }
  if (op == OG_OP_size16)
    ogs->size16 = 1;
  else if (!IsPrefix(op))
    ogs->size16 = 0;
  return cb + bytes.length;
}
