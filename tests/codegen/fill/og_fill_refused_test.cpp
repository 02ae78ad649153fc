// When the process cannot have executable memory for the MMX fill, fills
// report it and write nothing; the process does not try again, and the
// callers keep storing the words themselves.
#include <stdlib.h>

#include <vector>

#include <gtest/gtest.h>

#include "codegen/og.h"
#include "codegen/og_fill.h"
#include "core/context.h"
#include "platform/control.h"

namespace {

TEST(FillRefused, NoMemoryMeansNoFill) {
  GlContext *gc = static_cast<GlContext *>(calloc(1, sizeof(GlContext)));
  gc->constants.cpuFlags = __GL_CPU_MMX;
  std::vector<uint32_t> area(16, 7);
  PlatformArmFault({"VirtualAlloc", nullptr, 0, 1, 0});
  EXPECT_FALSE(__glMMXFill(gc, area.data(), 1, 16));
  EXPECT_EQ(PlatformFaultsFired("VirtualAlloc"), 1u);
  PlatformClearFaults();
  EXPECT_FALSE(__glMMXFillRect(gc, area.data(), 4, 4, 0, 1));
  EXPECT_EQ(area, std::vector<uint32_t>(16, 7));
  free(gc);
}

}  // namespace
