// The instructions of one or two fixed bytes: they take no operands, and
// any operands given are ignored.
#include "codegen/og_encoder.h"

namespace {

constexpr OgFixedForm kFixedRows[] = {
    {OG_OP_int3, 1, {0xCC}, nullptr},
    {OG_OP_wait, 1, {0x9B}, nullptr},
    {OG_OP_size16, 1, {0x66}, nullptr},
    {OG_OP_rep, 1, {0xF3}, nullptr},
    {OG_OP_movsd, 1, {0xA5}, nullptr},
    {OG_OP_nop, 1, {0x90}, nullptr},
    {OG_OP_ret, 1, {0xC3}, kOgSize16BeforeTransfer},
    {OG_OP_fldpi, 2, {0xD9, 0xEB}, nullptr},
    {OG_OP_fabsolute, 2, {0xD9, 0xE1}, nullptr},
    {OG_OP_fchs, 2, {0xD9, 0xE0}, nullptr},
    {OG_OP_rdtsc, 2, {0x0F, 0x31}, nullptr},
    {OG_OP_emms, 2, {0x0F, 0x77}, kOgSize16BeforeMmx},
};
static_assert(og_rows_match(kFixedRows, OgFamily::FIXED));

constexpr OgByOpcode<OgFixedForm> kFixed = og_by_opcode(kFixedRows);

}  // namespace

const OgFixedForm &og_fixed_form(uint32_t op) { return kFixed[op]; }

bool emit_fixed_code(OgBytes *out, const OgCode *c) {
  const OgFixedForm &f = kFixed[c->data.insn.op];
  for (uint32_t i = 0; i < f.length; i++) put8(out, f.bytes[i]);
  return true;
}
