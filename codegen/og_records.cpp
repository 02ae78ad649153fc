// The record pool, the register records and the operand constructors.
#include <stdio.h>

#include "codegen/og.h"
#include "core/context.h"
#include "platform/kernel.h"

#define OG_REGISTER_RECORD(kind, number) {.what = (kind), .data = {.value = (number)}}
#define OG_REGISTER_SET(kind)                                                     \
  OG_REGISTER_RECORD(kind, 0), OG_REGISTER_RECORD(kind, 1),                       \
      OG_REGISTER_RECORD(kind, 2), OG_REGISTER_RECORD(kind, 3),                   \
      OG_REGISTER_RECORD(kind, 4), OG_REGISTER_RECORD(kind, 5),                   \
      OG_REGISTER_RECORD(kind, 6), OG_REGISTER_RECORD(kind, 7)

// Read-only data: a write through one of these pointers faults at once.
const OgCode ogRegisterRecords[32] = {
    OG_REGISTER_SET(REG32), OG_REGISTER_SET(REG8), OG_REGISTER_SET(FPREG),
    OG_REGISTER_SET(MMXREG)};

void og_warmup(GlContext *gc) {
  OgState *ogs = &gc->ogs;
  ogs->next = ogs->ready;
  ogs->start = nullptr;
  ogs->end = nullptr;
  ogs->failure = nullptr;
  ogs->failures = 0;
  ogs->size16 = 0;
  ogs->exhausted = 0;
}

void og_buffer(GlContext *gc, uint8_t *start, uint8_t *end) {
  gc->ogs.start = start;
  gc->ogs.end = start && end > start ? end : start;
}

void og_fail(GlContext *gc, const char *text) {
  OgState *ogs = &gc->ogs;
  if (ogs->failure == nullptr) ogs->failure = text;
  ogs->failures++;
  char line[256];
  snprintf(line, sizeof line, "Assertion failed: %s, file og\n", text);
  OutputDebugStringA(line);
}

// The last record is never handed out as a new one: once the pool runs
// short every constructor gets it back, and emit_code refuses to write, so
// no generation can run past the end of `ready`.
OgCode *gimme_celem(GlContext *gc, uint32_t what) {
  OgState *ogs = &gc->ogs;
  if (ogs->next == nullptr) ogs->next = ogs->ready;
  OgCode *c = ogs->next;
  if (c + 1 < ogs->ready + OG_RECORD_COUNT) {
    ogs->next = c + 1;
  } else {
    if (!ogs->exhausted)
      og_fail(gc, OG_RECORDS_EXHAUSTED);
    ogs->exhausted = 1;
  }
  c->what = what;
  return c;
}

OgCode *value(GlContext *gc, int32_t v) {
  OgCode *c = gimme_celem(gc, VALUE);
  c->data.value = v;
  return c;
}

namespace {

OgCode *NewLabel(GlContext *gc, uint32_t far) {
  OgCode *c = gimme_celem(gc, LABEL);
  c->data.label.far = far;
  c->data.label.refs = nullptr;
  c->data.label.where = nullptr;
  c->data.label.name = nullptr;
  return c;
}

}  // namespace

OgCode *label(GlContext *gc) { return NewLabel(gc, 1); }

OgCode *near_label(GlContext *gc) { return NewLabel(gc, 0); }

OgCode *named_label(GlContext *gc, const char *name, const void *address) {
  OgCode *c = NewLabel(gc, 1);
  c->data.label.where = static_cast<uint8_t *>(const_cast<void *>(address));
  c->data.label.name = name;
  return c;
}

OgCode *mem(GlContext *gc, OgCode *disp, OgCode *reg1, OgCode *reg2, uint32_t scale) {
  OgCode *c = gimme_celem(gc, MEM);
  c->data.mem.disp = disp;
  c->data.mem.scale = scale;
  c->data.mem.reg1 = reg1;
  c->data.mem.reg2 = reg2;
  return c;
}

OgCode *mem2(GlContext *gc, OgCode *disp, OgCode *reg1) {
  return mem(gc, disp, reg1, nullptr, 1);
}

OgCode *insn(GlContext *gc, uint32_t op, OgCode *op1, OgCode *op2) {
  OgCode *c = gimme_celem(gc, INSN);
  c->data.insn.op = op;
  c->data.insn.op1 = op1;
  c->data.insn.op2 = op2;
  return c;
}

#define OG_DEFINE_0(name, number) \
  OgCode *name(GlContext *gc) { return insn(gc, number, nullptr, nullptr); }
#define OG_DEFINE_1(name, number) \
  OgCode *name(GlContext *gc, OgCode *op1) { return insn(gc, number, op1, nullptr); }
#define OG_DEFINE_2(name, number) \
  OgCode *name(GlContext *gc, OgCode *op1, OgCode *op2) { return insn(gc, number, op1, op2); }
#define OG_DEFINE(number, name, operands, family) OG_DEFINE_##operands(name, number)
OG_INSTRUCTIONS(OG_DEFINE)
#undef OG_DEFINE
