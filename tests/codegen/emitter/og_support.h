// What the emitter's tests share: a context with the emitter's storage on
// the counting allocator, executable code memory, hex and objdump helpers,
// and a harness that runs generated code and reports the registers after it.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "codegen/og.h"
#include "core/context.h"

// A zeroed context with both constant pools and a 64 KiB executable buffer
// the emitter may write; `cb` is the cursor.
class OgTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kCodeSize = 65536;

  void SetUp() override;
  void TearDown() override;

  // Warm-up, the whole buffer as the bound, cursor at its start.
  void Begin();
  // Emits at the cursor and advances it.
  void Emit(OgCode *c) { cb = emit_code(gc, cb, c); }
  // The failed checks' first text, "" when none failed.
  std::string Failure() const { return gc->ogs.failure ? gc->ogs.failure : ""; }

  GlContext *gc = nullptr;
  uint8_t *code = nullptr;
  uint8_t *cb = nullptr;
  int liveBefore = 0;
};

// "c7 46 08" -> {0xC7, 0x46, 0x08}.
std::vector<uint8_t> ParseHex(const char *text);
std::string HexOf(const uint8_t *bytes, size_t length);

// Disassembles each chunk (addresses from 0) with objdump in Intel syntax:
// one list of instruction texts per chunk, whitespace runs made single
// spaces. False when objdump is missing or fails.
bool Disassemble(const std::vector<std::vector<uint8_t>> &chunks,
                 std::vector<std::vector<std::string>> *texts);
bool HaveObjdump();

// The run harness (og_call.cpp). The routine is called with the words of
// `args` pushed as a cdecl caller would, with ebx, esi, edi and ebp holding
// the sentinels below.
typedef struct OgCallResult {
  uint32_t eax, edx;
  uint32_t ebx, esi, edi, ebp;  // after the call
  int32_t espDelta;             // esp after the call minus esp before it
  uint16_t fpuEnvironment[14];  // x87 environment after the call
  uint32_t eflags;              // after the call
} OgCallResult;
static_assert(offsetof(OgCallResult, eflags) == 56, "the harness stores the flags there");

constexpr uint32_t kSentinelEbx = 0x1B1B1B1Bu;
constexpr uint32_t kSentinelEsi = 0x2E2E2E2Eu;
constexpr uint32_t kSentinelEdi = 0x3D3D3D3Du;
constexpr uint32_t kSentinelEbp = 0x4B4B4B4Bu;

// The same with ecx and edx loaded, as a fastcall caller passes its first
// two words.
extern "C" void OgCallCheckedFast(const void *routine, const uint32_t *args, uint32_t count,
                                  OgCallResult *result, uint32_t ecxValue, uint32_t edxValue);
void OgCallChecked(const void *routine, const uint32_t *args, uint32_t count,
                   OgCallResult *result);

// Runs `routine` and checks that it kept ebx, esi, edi, ebp and esp and
// left the x87 stack empty; returns eax.
uint32_t RunChecked(const void *routine, std::initializer_list<uint32_t> args);
// Runs a fastcall `routine` with ecx and edx and the stack words `args`;
// checks the same and that it removed `args` and left the direction flag
// clear.
OgCallResult RunFastChecked(const void *routine, uint32_t ecxValue, uint32_t edxValue,
                            std::initializer_list<uint32_t> args);

// What the platform's debugger output holds.
std::string DebugOutput();
