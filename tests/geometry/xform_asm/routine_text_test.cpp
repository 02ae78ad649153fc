// The hand-written routines hold what was written and nothing the compiler
// adds: each begins with its own first instruction in every build (GCC puts
// a PIC-register set-up ahead of a naked function's body at -O0 with
// -fPIC).
#include <gtest/gtest.h>
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "geometry/s_clipcheck.h"
#include "geometry/s_xform.h"

namespace {

struct Opening {
  const char *name;
  const void *routine;
  std::vector<uint8_t> bytes;
};

#define ROUTINE(name) #name, reinterpret_cast<const void *>(name)

const std::vector<uint8_t> kLoadOut = {0x8B, 0x44, 0x24, 0x04};  // mov eax, [esp + 4]
const std::vector<uint8_t> kFemms = {0x0F, 0x0E};
const std::vector<uint8_t> kPushEbxEsi = {0x53, 0x56};

const Opening kOpenings[] = {
    {ROUTINE(__glI386XForm3), kLoadOut},        {ROUTINE(__glI386XForm4), kLoadOut},
    {ROUTINE(__glI386XForm3_W), kLoadOut},      {ROUTINE(__glI386XForm4_W), kLoadOut},
    {ROUTINE(__glK3DXForm2), kFemms},           {ROUTINE(__glK3DXForm3), kFemms},
    {ROUTINE(__glK3DXForm4), kFemms},           {ROUTINE(__glK3DXForm2_W), kFemms},
    {ROUTINE(__glK3DXForm3_W), kFemms},         {ROUTINE(__glK3DXForm4_W), kFemms},
    {ROUTINE(__glK3DXForm2_2DW), kFemms},       {ROUTINE(__glK3DXForm3_2DW), kFemms},
    {ROUTINE(__glK3DXForm4_2DW), kFemms},       {ROUTINE(__glK3DXForm2_2DNRW), kFemms},
    {ROUTINE(__glK3DXForm3_2DNRW), kFemms},     {ROUTINE(__glK3DXForm4_2DNRW), kFemms},
    {ROUTINE(K3DNormalizeCoord), kFemms},       {ROUTINE(__glK3DClipCheckFrustum), kFemms},
    {ROUTINE(__glI386ClipCheckFrustum), kPushEbxEsi},
};

std::string Hex(const uint8_t *p, size_t n) {
  std::string s;
  char b[4];
  for (size_t i = 0; i < n; ++i) {
    snprintf(b, sizeof b, "%02X ", p[i]);
    s += b;
  }
  return s;
}

TEST(RoutineText, EachRoutineBeginsWithItsOwnFirstInstruction) {
  for (const Opening &o : kOpenings) {
    const uint8_t *code = static_cast<const uint8_t *>(o.routine);
    EXPECT_EQ(memcmp(code, o.bytes.data(), o.bytes.size()), 0)
        << o.name << " begins " << Hex(code, 8);
  }
}

}  // namespace
