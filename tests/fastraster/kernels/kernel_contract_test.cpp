// Every kernel entered as generated code enters a spanlet: mask in ECX,
// span in EDX, nothing on the stack; each must keep EBX, ESI, EDI, EBP and
// ESP, pop nothing and leave the x87 stack empty and the direction flag
// clear, and give the same result as a compiled call.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "fastraster/fr_ci.h"
#include "fastraster/fr_kernel_name.h"
#include "fastraster/fr_tables.h"
#include "tests/codegen/emitter/og_support.h"
#include "tests/fastraster/kernels/kernel_rig.h"

namespace {

// The span after one run of `kernel`, entered directly or through the
// checking harness.
FrSpan RunOnce(FrSpanletProc kernel, uint32_t mask, bool harness, uint8_t *pixels) {
  KernelRig rig;
  kref::GenInput in{};
  in.r = 0x30000, in.g = 0x20000, in.b = 0x10000, in.a = 0x800000;
  in.drdx = 0x1000, in.dgdx = 0x800, in.dbdx = 0x400, in.dadx = -0x10000;
  for (int i = 0; i < 32; i++)
    for (int k = 0; k < 4; k++) in.texel[i][k] = uint8_t(i * 7 + k * 50);
  in.env[0] = 10, in.env[1] = 200, in.env[2] = 90, in.env[3] = 128;
  rig.Load(in);
  rig.texelBytes = 4;
  for (int i = 0; i < 32; i++) rig.span.colors[i] = 0x80604020u + uint32_t(i) * 0x01020304u;
  for (int i = 0; i < 32 * 4; i++) pixels[i] = uint8_t(i * 13);
  rig.span.pixel = pixels;
  rig.span.ditherRow = __glFRDitherTable.data() + FR_DITHER_ROW + 2;
  if (harness) {
    RunFastChecked(reinterpret_cast<const void *>(kernel), mask,
                   uint32_t(uintptr_t(&rig.span)), {});
  } else {
    kernel(mask, &rig.span);
  }
  FrSpan out = rig.span;
  out.gc = nullptr;
  return out;
}

struct Family {
  FrKernelFamily family;
  const char *className;
  const FrSpanletProc *table;
  int slots;
};

TEST(KernelContract, EveryKernelKeepsTheSpanletRegisters) {
  std::vector<Family> families = {
      {FR_GEN_PIXELS, "CI1", __fr_ci_pix_table.data(), 16},
      {FR_GEN_COLORS, "CI1", __fr_ci_genclr_table.data(), 16},
      {FR_COMBINE_PIXELS, "CI1", __fr_ci_combine_table.data(), 32}};
  for (const KernelClass &kc : kKernelClasses) {
    families.push_back({FR_GEN_COLORS, kc.ref->name, kc.genColors->data(), 64});
    families.push_back({FR_COMBINE_PIXELS, kc.ref->name, kc.combine->data(), 128});
    families.push_back({FR_GEN_PIXELS, kc.ref->name, kc.genPixels->data(), 64});
  }
  for (const Family &f : families) {
    for (int slot = 0; slot < f.slots; slot++) {
      if (!f.table[slot]) continue;
      SCOPED_TRACE(FrKernelNameOf(f.family, f.className, uint32_t(slot)).text);
      uint8_t direct[128], checked[128];
      const FrSpan a = RunOnce(f.table[slot], 0xF0F0F00Fu, false, direct);
      const FrSpan b = RunOnce(f.table[slot], 0xF0F0F00Fu, true, checked);
      // The pixel pointers differ with the buffers; the rest must agree.
      FrSpan a2 = a, b2 = b;
      a2.pixel = b2.pixel = nullptr;
      ASSERT_EQ(0, memcmp(&a2, &b2, sizeof a2));
      ASSERT_EQ(0, memcmp(direct, checked, sizeof direct));
    }
  }
}

}  // namespace
