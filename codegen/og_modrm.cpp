// ModRM, SIB and displacement of one operand.
#include "codegen/og_encoder.h"

namespace {

constexpr uint32_t kEsp = 4;
constexpr uint32_t kEbp = 5;

// A test of magnitude, |v| < 128, on purpose: -128 would fit a signed byte,
// but this way a displacement and its negation always encode at the same
// length, so a routine's size never depends on which way its fields lie;
// the 32-bit form reaches the same address.
bool FitsByte(int32_t v) { return v > -128 && v < 128; }

// The two scale bits; false for a scale the SIB byte cannot hold.
bool ScaleBits(uint32_t scale, uint32_t *ss) {
  switch (scale) {
    case 1: *ss = 0; return true;
    case 2: *ss = 1; return true;
    case 4: *ss = 2; return true;
    case 8: *ss = 3; return true;
    default: return false;
  }
}

bool CheckMemory(OgBytes *out, const OgMemSpec &m) {
  if (m.disp && !is_imm(m.disp)) return og_refuse(out, "is_imm(op->data.mem.disp)");
  if (m.reg1 && !is_reg32(m.reg1)) return og_refuse(out, "is_reg32(op->data.mem.reg1)");
  if (m.reg2 == nullptr) {
    // Nothing at all to address.
    if (m.reg1 == nullptr && m.disp == nullptr)
      return og_refuse(out, "is_imm(op->data.mem.disp)");
    return true;
  }
  if (!is_reg32(m.reg2)) return og_refuse(out, "is_reg32(op->data.mem.reg2)");
  // Index 100b in a SIB byte means "no index": esp would silently vanish.
  if (reg_number(m.reg2) == kEsp) return og_refuse(out, "op->data.mem.reg2 != esp");
  uint32_t ss;
  if (!ScaleBits(m.scale, &ss))
    return og_refuse(out, "op->data.mem.scale is 1, 2, 4 or 8");
  // An index without a base is addressed with a 32-bit displacement only.
  if (m.reg1 == nullptr && m.disp == nullptr)
    return og_refuse(out, "is_imm(op->data.mem.disp)");
  return true;
}

void PutDisplacement(OgBytes *out, uint32_t mod, int32_t v) {
  if (mod == 1) put8(out, uint32_t(v));
  if (mod == 2) put32(out, uint32_t(v));
}

}  // namespace

bool emit_modrm_code(OgBytes *out, uint32_t regfield, const OgCode *op) {
  const uint32_t rf = (regfield & 7) << 3;
  if (is_reg(op)) {
    put8(out, 0xC0 | rf | reg_number(op));
    return true;
  }
  if (!is_mem(op)) return og_refuse(out, "0");
  const OgMemSpec &m = op->data.mem;
  if (!CheckMemory(out, m)) return false;

  const OgCode *base = m.reg1;
  const OgCode *index = m.reg2;
  const bool hasDisp = m.disp != nullptr;
  const int32_t v = hasDisp ? m.disp->data.value : 0;
  const uint32_t b = base ? reg_number(base) : 0;

  if (base == nullptr && index == nullptr) {  // absolute address
    put8(out, rf | 5);
    put32(out, uint32_t(v));
    return true;
  }
  if (index == nullptr && !hasDisp && b != kEsp && b != kEbp) {  // [base]
    put8(out, rf | b);
    return true;
  }
  if (index == nullptr && hasDisp && b != kEsp) {  // [base + disp], a zero still written
    const uint32_t mod = FitsByte(v) ? 1 : 2;
    put8(out, mod << 6 | rf | b);
    PutDisplacement(out, mod, v);
    return true;
  }
  uint32_t ss = 0;
  if (index) ScaleBits(m.scale, &ss);
  const uint32_t x = index ? reg_number(index) : 4;
  if (base == nullptr) {  // [index * scale + disp32]
    put8(out, rf | 4);
    put8(out, ss << 6 | x << 3 | 5);
    put32(out, uint32_t(v));
    return true;
  }
  // A SIB byte: base and index, or an esp or ebp base. An ebp base always
  // carries a displacement (mod 00 with base 101b would mean none).
  const bool writeDisp = v != 0 || b == kEbp;
  const uint32_t mod = !writeDisp ? 0 : FitsByte(v) ? 1 : 2;
  put8(out, mod << 6 | rf | 4);
  put8(out, ss << 6 | x << 3 | b);
  PutDisplacement(out, mod, v);
  return true;
}
