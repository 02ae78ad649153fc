// The instruction emitter: operand, instruction and label records, one
// constructor per instruction, the encoder and the constant pools. Every
// generator writes its x86, x87 and MMX code through it:
//
//   og_warmup(gc);
//   og_buffer(gc, code, code + size);
//   OgCode *done = near_label(gc);
//   cb = emit_code(gc, cb, test(gc, ecx, ecx));
//   cb = emit_code(gc, cb, je(gc, done));
//   cb = emit_code(gc, cb, mov(gc, eax, mem2(gc, value(gc, 8), esi)));
//   resolve(gc, done, cb);
//   if (gc->ogs.failure) ... the routine is unusable
//
// A failed check never writes: emit_code returns the cursor unchanged and
// the check's text stays in gc->ogs.failure until the next warm-up.
#pragma once

#include <stdint.h>

#include "codegen/og_code.h"
#include "codegen/og_state.h"
#include "core/calling.h"

struct GlContext;

// ---- Register records -------------------------------------------------------------
// Process-wide read-only records shared by every context; instructions point
// at them and registers are compared by address.
extern const OgCode ogRegisterRecords[32];

#define OG_REGISTER(kindBase, number) \
  const_cast<OgCode *>(&ogRegisterRecords[(kindBase) + (number)])

constinit inline OgCode *const eax = OG_REGISTER(0, 0);
constinit inline OgCode *const ecx = OG_REGISTER(0, 1);
constinit inline OgCode *const edx = OG_REGISTER(0, 2);
constinit inline OgCode *const ebx = OG_REGISTER(0, 3);
constinit inline OgCode *const esp = OG_REGISTER(0, 4);
constinit inline OgCode *const ebp = OG_REGISTER(0, 5);
constinit inline OgCode *const esi = OG_REGISTER(0, 6);
constinit inline OgCode *const edi = OG_REGISTER(0, 7);
constinit inline OgCode *const al = OG_REGISTER(8, 0);
constinit inline OgCode *const cl = OG_REGISTER(8, 1);
constinit inline OgCode *const dl = OG_REGISTER(8, 2);
constinit inline OgCode *const bl = OG_REGISTER(8, 3);
constinit inline OgCode *const ah = OG_REGISTER(8, 4);
constinit inline OgCode *const ch = OG_REGISTER(8, 5);
constinit inline OgCode *const dh = OG_REGISTER(8, 6);
constinit inline OgCode *const bh = OG_REGISTER(8, 7);
constinit inline OgCode *const st0 = OG_REGISTER(16, 0);
constinit inline OgCode *const st1 = OG_REGISTER(16, 1);
constinit inline OgCode *const st2 = OG_REGISTER(16, 2);
constinit inline OgCode *const st3 = OG_REGISTER(16, 3);
constinit inline OgCode *const st4 = OG_REGISTER(16, 4);
constinit inline OgCode *const st5 = OG_REGISTER(16, 5);
constinit inline OgCode *const st6 = OG_REGISTER(16, 6);
constinit inline OgCode *const st7 = OG_REGISTER(16, 7);
constinit inline OgCode *const mm0 = OG_REGISTER(24, 0);
constinit inline OgCode *const mm1 = OG_REGISTER(24, 1);
constinit inline OgCode *const mm2 = OG_REGISTER(24, 2);
constinit inline OgCode *const mm3 = OG_REGISTER(24, 3);
constinit inline OgCode *const mm4 = OG_REGISTER(24, 4);
constinit inline OgCode *const mm5 = OG_REGISTER(24, 5);
constinit inline OgCode *const mm6 = OG_REGISTER(24, 6);
constinit inline OgCode *const mm7 = OG_REGISTER(24, 7);

#undef OG_REGISTER

// ---- One generation -----------------------------------------------------------------
// Frees every record built since the last warm-up, forgets the buffer and
// the failures. The constant pools are kept.
void og_warmup(GlContext *gc);
// The buffer emit_code and resolve may write until the next warm-up; nothing
// is written before one is given.
void og_buffer(GlContext *gc, uint8_t *start, uint8_t *end);
// Records a failed check: its text (the first one stays in ogs.failure) and
// a line on the debugger output.
void og_fail(GlContext *gc, const char *text);

// ---- Records --------------------------------------------------------------------------
// Takes the next record of the pool and sets its kind; the fields are the
// caller's to fill.
OgCode *gimme_celem(GlContext *gc, uint32_t what);
OgCode *value(GlContext *gc, int32_t v);
OgCode *label(GlContext *gc);       // forward jumps to it take 32-bit displacements
OgCode *near_label(GlContext *gc);  // forward conditional jumps take 8 bits
// A label already placed at `address`, outside any buffer: calls to it reach
// a compiled procedure. `name` says which, for dumps and debugging.
OgCode *named_label(GlContext *gc, const char *name, const void *address);
OgCode *mem(GlContext *gc, OgCode *disp, OgCode *reg1, OgCode *reg2, uint32_t scale);
OgCode *mem2(GlContext *gc, OgCode *disp, OgCode *reg1);
OgCode *insn(GlContext *gc, uint32_t op, OgCode *op1, OgCode *op2);

// One constructor per instruction, operands in Intel order (destination first).
#define OG_DECLARE_0(name) OgCode *name(GlContext *gc);
#define OG_DECLARE_1(name) OgCode *name(GlContext *gc, OgCode *op1);
#define OG_DECLARE_2(name) OgCode *name(GlContext *gc, OgCode *op1, OgCode *op2);
#define OG_DECLARE(number, name, operands, family) OG_DECLARE_##operands(name)
OG_INSTRUCTIONS(OG_DECLARE)
#undef OG_DECLARE
#undef OG_DECLARE_0
#undef OG_DECLARE_1
#undef OG_DECLARE_2

// ---- Encoding ---------------------------------------------------------------------------
// Encodes one instruction at `cb` and returns the cursor behind it. Jumps
// to unplaced labels leave holes chained on the label.
uint8_t *emit_code(GlContext *gc, uint8_t *cb, OgCode *c);
// Places `label` at `cb` and patches every reference chained on it; the
// chain is empty afterwards.
void resolve(GlContext *gc, OgCode *label, uint8_t *cb);

// d = s x n for a whole n >= 1, with a move, then doublings, shifts and adds
// of s; d and s must be different registers.
uint8_t *scaleby(GlContext *gc, uint8_t *cb, OgCode *d, OgCode *s, uint32_t n);

// ---- Constant pools ---------------------------------------------------------------------
// A memory operand (absolute address) of a 32-bit float equal to `v`,
// interned by bit pattern: -0.0 and +0.0 differ, a NaN is its own constant.
// Only values a float holds exactly are accepted; null after a failure.
OgCode *fpk(GlContext *gc, double v);
// An 8-byte entry of the words a, b, c, d (low 16 bits each), lowest
// address first.
OgCode *mxk4(GlContext *gc, int32_t a, int32_t b, int32_t c, int32_t d);
// `count` constants that generated code reads as one array: they lie next to
// each other in one block, and the operand addresses the first.
OgCode *fpk_run(GlContext *gc, const float *values, uint32_t count);
OgCode *mxk4_run(GlContext *gc, const uint16_t (*words)[4], uint32_t count);
