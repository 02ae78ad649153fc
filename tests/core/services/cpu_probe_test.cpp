// Feature detection from what a processor and the environment answer,
// including processors no test machine is: without the identification
// instruction, with no extended range or one that answers in the standard
// range.
#include <string.h>

#include <gtest/gtest.h>

#include <vector>

#include "core/s_cpu.h"

namespace {

constexpr uint32_t kMmxBit = 1u << 23;
constexpr uint32_t kK3dBit = 1u << 31;

// The processor and environment one case describes; null: not set.
struct FakeProcessor {
  bool hasCpuid;
  uint32_t highestExtended;  // EAX of function 0x80000000
  uint32_t standardEdx;      // EDX of function 1
  uint32_t extendedEdx;      // EDX of function 0x80000001
  const char *forceMmx, *forceK3d;
};

const FakeProcessor *fake;
std::vector<uint32_t> asked;  // functions queried, in order

GLbool8 FakeHasCpuid() { return fake->hasCpuid; }

void FakeCpuid(uint32_t function, uint32_t *eax, uint32_t *edx) {
  asked.push_back(function);
  // Unknown functions answer garbage, as real processors may.
  *eax = 0xDEADBEEFu;
  *edx = 0xFFFFFFFFu;
  if (function == 0x80000000u) *eax = fake->highestExtended;
  if (function == 0x80000001u) *edx = fake->extendedEdx;
  if (function == 1) *edx = fake->standardEdx;
}

const char *FakeEnvironment(const char *name) {
  if (strcmp(name, "__GL_FORCE_MMX") == 0) return fake->forceMmx;
  if (strcmp(name, "__GL_FORCE_K3D") == 0) return fake->forceK3d;
  return nullptr;
}

const GlCpuProbe probe = {FakeHasCpuid, FakeCpuid, FakeEnvironment};

TEST(CpuProbe, FeaturesFollowTheProcessorAndTheOverrides) {
  constexpr GlCpuFlags MMX = __GL_CPU_MMX, K3D = __GL_CPU_K3D;
  struct Case {
    const char *what;
    FakeProcessor cpu;
    GlCpuFlags want;
    bool extendedAsked;  // whether function 0x80000001 was queried
  } cases[] = {
      {"no identification instruction", {false, 0, 0, 0, nullptr, nullptr}, 0, false},
      {"no identification instruction, both forced",
       {false, 0, 0, 0, "1", "1"}, MMX | K3D, false},
      {"no identification instruction, one forced", {false, 0, 0, 0, nullptr, "5"}, K3D, false},
      {"MMX and 3DNow!", {true, 0x80000001u, kMmxBit, kK3dBit, nullptr, nullptr}, MMX | K3D,
       true},
      {"MMX only", {true, 0x80000008u, kMmxBit, ~kK3dBit, nullptr, nullptr}, MMX, true},
      {"every other bit set", {true, 0x80000001u, ~kMmxBit, ~kK3dBit, nullptr, nullptr}, 0, true},
      {"the extended range ends at its first function",
       {true, 0x80000000u, kMmxBit, kK3dBit, nullptr, nullptr}, MMX, false},
      // Compared as unsigned: a standard-range answer is below the range.
      {"a standard-range answer", {true, 0x0000000Du, kMmxBit, kK3dBit, nullptr, nullptr}, MMX,
       false},
      {"the largest answer", {true, 0xFFFFFFFFu, 0, kK3dBit, nullptr, nullptr}, K3D, true},
      {"forced off", {true, 0x80000001u, kMmxBit, kK3dBit, "0", "0"}, 0, true},
      {"forced on", {true, 0x80000001u, 0, 0, "1", "1"}, MMX | K3D, true},
      {"not numbers clear", {true, 0x80000001u, kMmxBit, kK3dBit, "abc", ""}, 0, true},
      {"decimal only", {true, 0x80000001u, kMmxBit, kK3dBit, "0x1", "-3"}, K3D, true},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    fake = &c.cpu;
    asked.clear();
    EXPECT_EQ(__glDetectCPUFlags(&probe), c.want);
    if (!c.cpu.hasCpuid) {
      EXPECT_TRUE(asked.empty()) << "the instruction is never run";
      continue;
    }
    bool extended = false, standard = false;
    for (uint32_t f : asked) extended |= f == 0x80000001u, standard |= f == 1;
    EXPECT_EQ(extended, c.extendedAsked);
    EXPECT_TRUE(standard);
  }
}

}  // namespace
