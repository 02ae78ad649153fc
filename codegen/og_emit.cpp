// emit_code: encodes one instruction into a staging record, checks it and
// the buffer, and only then writes it and chains its forward reference.
#include <string.h>

#include "codegen/og_encoder.h"
#include "core/context.h"

namespace {

bool Encode(OgBytes *out, const OgCode *c) {
  const uint32_t op = c->data.insn.op;
  if (op <= OG_OP_dec) return emit_move_code(out, c);
  if (op <= OG_OP_retn) return emit_jump_code(out, c);
  if (op <= OG_OP_test) return emit_arith_code(out, c);
  if (op <= OG_OP_nop) return emit_move_code(out, c);
  if (op <= OG_OP_fchs) return emit_fp_code(out, c);
  if (op <= OG_OP_emms) return emit_move_code(out, c);
  if (op <= OG_OP_pxor) return emit_mmx_code(out, c);
  return og_refuse(out, "0");
}

bool IsPrefix(uint32_t op) { return op == OG_OP_size16 || op == OG_OP_rep; }

// After an operand-size prefix the processor reads a 16-bit immediate,
// truncates jump targets to 16 bits and takes 0F-prefixed MMX opcodes for
// SSE2 ones: none of these forms may follow it.
const char *BrokenBySize16(uint32_t op, const OgBytes &bytes) {
  if (bytes.imm32) return "size16 before a form with a 32-bit immediate";
  if (op >= OG_OP_ja && op <= OG_OP_retn) return "size16 before a jump, call or return";
  if (op >= OG_OP_emms && op <= OG_OP_pxor) return "size16 before an MMX instruction";
  return nullptr;
}

}  // namespace

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
