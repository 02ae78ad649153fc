// Jumps, calls and returns, and the patching of forward references.
#include <string.h>

#include "codegen/og_encoder.h"
#include "core/context.h"

namespace {

// Short opcodes of the conditional jumps; the near form is 0F followed by
// the short opcode + 10h.
typedef struct TocForm {
  uint32_t op;
  uint8_t shortOpcode;
} TocForm;

constexpr TocForm kTocRows[] = {
    {OG_OP_jo, 0x70},  {OG_OP_jno, 0x71}, {OG_OP_jb, 0x72},  {OG_OP_jae, 0x73},
    {OG_OP_je, 0x74},  {OG_OP_jne, 0x75}, {OG_OP_jbe, 0x76}, {OG_OP_ja, 0x77},
    {OG_OP_js, 0x78},  {OG_OP_jns, 0x79}, {OG_OP_jl, 0x7C},  {OG_OP_jge, 0x7D},
    {OG_OP_jle, 0x7E}, {OG_OP_jg, 0x7F},
};
static_assert(og_rows_match(kTocRows, OgFamily::TOC));
constexpr OgByOpcode<TocForm> kToc = og_by_opcode(kTocRows);

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

}  // namespace

bool emit_toc_code(OgBytes *out, const OgCode *c) {
  OgCode *target = c->data.insn.op1;
  if (!is_label(target)) return og_refuse(out, "0");
  const uint8_t s = kToc[c->data.insn.op].shortOpcode;
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

bool emit_jmp_code(OgBytes *out, const OgCode *c) {
  OgCode *target = c->data.insn.op1;
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

bool emit_call_code(OgBytes *out, const OgCode *c) {
  OgCode *target = c->data.insn.op1;
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

bool emit_jmpi_code(OgBytes *out, const OgCode *c) {
  const OgCode *op1 = c->data.insn.op1;
  if (!is_reg32(op1) && !is_mem(op1)) return og_refuse(out, "0");
  put8(out, 0xFF);
  return emit_modrm_code(out, 4, op1);
}

bool emit_retn_code(OgBytes *out, const OgCode *c) {
  const OgCode *op1 = c->data.insn.op1;
  if (!is_imm(op1)) return og_refuse(out, "0");
  if (op1->data.value < 0 || op1->data.value > 0xFFFF)
    return og_refuse(out, "c->data.insn.op1->data.value fits 16 bits");
  put8(out, 0xC2);
  put8(out, uint32_t(op1->data.value));
  put8(out, uint32_t(op1->data.value) >> 8);
  return true;
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
