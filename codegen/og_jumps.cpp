// Jumps, calls and returns, and the patching of forward references.
#include <string.h>

#include "codegen/og_encoder.h"
#include "core/context.h"

namespace {

// Short opcodes of the conditional jumps, indexed by opcode - OG_OP_ja; the
// near form is 0F followed by the short opcode + 10h.
const uint8_t kShortJump[OG_OP_jns - OG_OP_ja + 1] = {
    0x77, 0x73, 0x72, 0x76, 0x7D, 0x7C, 0x7E, 0x7F, 0x74, 0x75, 0x70, 0x71, 0x78, 0x79,
};

// Distance from `from` to `to`; addresses are 32 bits, so it wraps as the
// processor's displacement does.
int32_t Distance(const uint8_t *from, const uint8_t *to) {
  return int32_t(uintptr_t(to) - uintptr_t(from));
}

void LeaveHole(OgBytes *out, OgCode *target, uint32_t width) {
  out->hole = out->length;
  out->holeWidth = width;
  out->target = target;
  for (uint32_t i = 0; i < width; i++) put8(out, 0);
}

bool EncodeConditional(OgBytes *out, uint32_t op, OgCode *target) {
  if (!is_label(target)) return og_refuse(out, "0");
  const uint8_t s = kShortJump[op - OG_OP_ja];
  const OgLabelSpec &l = target->data.label;
  if (l.where) {
    const int32_t d = Distance(out->cb, l.where);
    if (d >= 127 || d <= -127) {
      put8(out, 0x0F);
      put8(out, s + 0x10);
      put32(out, uint32_t(d - 6));
    } else {
      put8(out, s);
      put8(out, uint32_t(d - 2));
    }
    return true;
  }
  if (l.far) {
    put8(out, 0x0F);
    put8(out, s + 0x10);
    LeaveHole(out, target, 4);
  } else {
    put8(out, s);
    LeaveHole(out, target, 1);
  }
  return true;
}

bool EncodeJmp(OgBytes *out, OgCode *target) {
  if (!is_label(target)) return og_refuse(out, "0");
  const OgLabelSpec &l = target->data.label;
  if (l.where == nullptr) {  // always the long form forwards
    put8(out, 0xE9);
    LeaveHole(out, target, 4);
    return true;
  }
  const int32_t d = Distance(out->cb, l.where);
  if (d <= 126 && d >= -126) {
    put8(out, 0xEB);
    put8(out, uint32_t(d - 2));
  } else {
    put8(out, 0xE9);
    put32(out, uint32_t(d - 5));
  }
  return true;
}

bool EncodeCall(OgBytes *out, OgCode *target) {
  if (is_label(target)) {
    put8(out, 0xE8);
    if (target->data.label.where)
      put32(out, uint32_t(Distance(out->cb, target->data.label.where) - 5));
    else
      LeaveHole(out, target, 4);
    return true;
  }
  if (!is_reg32(target) && !is_mem(target)) return og_refuse(out, "0");
  put8(out, 0xFF);
  return emit_modrm_code(out, 2, target);
}

}  // namespace

bool emit_jump_code(OgBytes *out, const OgCode *c) {
  const uint32_t op = c->data.insn.op;
  OgCode *op1 = c->data.insn.op1;
  if (op >= OG_OP_ja && op <= OG_OP_jns) return EncodeConditional(out, op, op1);
  switch (op) {
    case OG_OP_call: return EncodeCall(out, op1);
    case OG_OP_jmp: return EncodeJmp(out, op1);
    case OG_OP_jmpi:
      if (!is_reg32(op1) && !is_mem(op1)) return og_refuse(out, "0");
      put8(out, 0xFF);
      return emit_modrm_code(out, 4, op1);
    case OG_OP_ret: put8(out, 0xC3); return true;
    case OG_OP_retn:
      if (!is_imm(op1)) return og_refuse(out, "0");
      if (op1->data.value < 0 || op1->data.value > 0xFFFF)
        return og_refuse(out, "c->data.insn.op1->data.value fits 16 bits");
      put8(out, 0xC2);
      put8(out, uint32_t(op1->data.value));
      put8(out, uint32_t(op1->data.value) >> 8);
      return true;
    default: return og_refuse(out, "0");
  }
}

void resolve(GlContext *gc, OgCode *label, uint8_t *cb) {
  OgState *ogs = &gc->ogs;
  if (!is_label(label)) {
    og_fail(gc, "label->what == LABEL");
    return;
  }
  label->data.label.where = cb;
  OgCode *ref = label->data.label.refs;
  label->data.label.refs = nullptr;
  // A chain never holds more references than the pool has records.
  for (int guard = 0; ref != nullptr && guard < OG_RECORD_COUNT; guard++) {
    if (!is_label(ref)) {
      og_fail(gc, "ref->what == LABEL");
      return;
    }
    OgCode *next = ref->data.label.refs;
    uint8_t *hole = ref->data.label.where;
    const uint32_t width = ref->data.label.far ? 4 : 1;
    if (hole == nullptr || hole < ogs->start || hole + width > ogs->end) {
      og_fail(gc, "ref->data.label.where lies in the buffer");
    } else if (width == 4) {
      const uint32_t rel = uint32_t(Distance(hole, cb) - 4);
      memcpy(hole, &rel, 4);
    } else {
      const int32_t rel = Distance(hole, cb) - 1;
      if (rel > 127 || rel < -127)
        og_fail(gc, "abs((cb - ref->data.label.where) - 1) <= 127");
      else
        *hole = uint8_t(rel);
    }
    ref = next;
  }
}
