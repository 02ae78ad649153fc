// Operands described by value, so that tables of instructions can be
// written as data and built into records inside a test.
#pragma once

#include <stdint.h>

#include "codegen/og.h"

typedef struct OgOperand {
  enum Kind { kNone, kReg, kImm, kMem } kind;
  OgCode *reg;    // kReg
  int32_t v;      // kImm: the value; kMem: the displacement
  OgCode *base;   // kMem
  OgCode *index;  // kMem
  uint32_t scale;
  bool hasDisp;
} OgOperand;

inline constexpr OgOperand kNo = {};
inline OgOperand R(OgCode *reg) { return {OgOperand::kReg, reg, 0, nullptr, nullptr, 1, false}; }
inline OgOperand I(int32_t v) { return {OgOperand::kImm, nullptr, v, nullptr, nullptr, 1, false}; }
// [base]
inline OgOperand M(OgCode *base) { return {OgOperand::kMem, nullptr, 0, base, nullptr, 1, false}; }
// [base + d], the displacement record present even when d is 0
inline OgOperand MD(OgCode *base, int32_t d) {
  return {OgOperand::kMem, nullptr, d, base, nullptr, 1, true};
}
// [base + index * scale]
inline OgOperand MS(OgCode *base, OgCode *index, uint32_t scale) {
  return {OgOperand::kMem, nullptr, 0, base, index, scale, false};
}
// [base + index * scale + d]; base may be null
inline OgOperand MSD(OgCode *base, OgCode *index, uint32_t scale, int32_t d) {
  return {OgOperand::kMem, nullptr, d, base, index, scale, true};
}
// [d], an absolute address
inline OgOperand A(int32_t d) { return {OgOperand::kMem, nullptr, d, nullptr, nullptr, 1, true}; }

inline OgCode *Build(GlContext *gc, const OgOperand &o) {
  switch (o.kind) {
    case OgOperand::kReg: return o.reg;
    case OgOperand::kImm: return value(gc, o.v);
    case OgOperand::kMem:
      return mem(gc, o.hasDisp ? value(gc, o.v) : nullptr, o.base, o.index, o.scale);
    default: return nullptr;
  }
}
