// Test support for the SiS 3D engine: a chip at power-on reached through
// the process's display-information block, SiS contexts built by hand with
// one fallback flag cleared, and expected logs written as short scripts.
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/context.h"
#include "platform/kernel.h"
#include "raster/s_buffers.h"
#include "raster/s_shader.h"
#include "sis/sis_context.h"
#include "sis/sis_hw.h"
#include "tests/platform/sis6326/sis6326_support.h"
#include "wgl/wgl_drawable.h"
#include "wgl/wgl_process_state.h"

namespace sisengine {

constexpr DWORD kSelf = 4242;
constexpr DWORD kOtherProcess = 777;
// Where the primary surface seems to lie; buffers are placed after it. The
// driver only subtracts these addresses.
constexpr uintptr_t kFrameBuffer = 0x20000000;

// A value no other register carries, so a log shows which word was sent.
constexpr uint32_t Planted(uint32_t offset) { return 0x50000000u | offset; }

// One event of an expected log: "w<n>" a wait for n slots, "f" the fire,
// "8A04" the register with its planted value, "8A04=<hex>" with that value.
inline std::vector<sistest::Brief> Script(const std::string &script) {
  std::vector<sistest::Brief> out;
  std::istringstream in(script);
  std::string t;
  while (in >> t) {
    if (t[0] == 'w') {
      out.push_back({SIS6326_EVENT_WAIT, 0, uint32_t(std::stoul(t.substr(1))), 0});
    } else if (t == "f") {
      out.push_back({SIS6326_EVENT_FIRE, SIS6326_FIRE, 0xFF, 0});
    } else {
      const size_t eq = t.find('=');
      const uint32_t offset = uint32_t(std::stoul(t.substr(0, eq), nullptr, 16));
      const uint32_t value =
          eq == std::string::npos ? Planted(offset) : uint32_t(std::stoul(t.substr(eq + 1), nullptr, 16));
      out.push_back({SIS6326_EVENT_REGISTER, offset, value, 0});
    }
  }
  return out;
}

// A SiS context by hand: the tail as create leaves it for a chip that draws
// triangles, with a colour and a depth buffer bound.
struct HandContext {
  GlSiSContext *block = nullptr;
  GlDrawableBuffer color{}, depth{};

  GlContext *gc() const { return &block->gc; }
  GlSiSTail *sis() const { return &block->sis; }
};

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    chip = sistest::PowerOn();
    ASSERT_NE(chip.info, nullptr);
    __wglProcess.lpDispData = chip.info;
    PlatformSetProcessId(kSelf);
  }

  void TearDown() override {
    for (HandContext *c : contexts) {
      while (c->sis()->lockDepth != 0) sis::UnlockDevice(c->gc());
      free(c->block);
      delete c;
    }
    __wglResetProcessState();
    PlatformClearFaults();
    PlatformSetProcessId(0);
    PlatformSiS6326Reset();
  }

  HandContext &NewContext(uint64_t serial) {
    HandContext *c = new HandContext;
    c->block = static_cast<GlSiSContext *>(calloc(1, sizeof(GlSiSContext)));
    contexts.push_back(c);
    GlSiSTail *sis = c->sis();
    sis->mmioBase = chip.mmio;
    sis->ownerId = GetCurrentProcessId();
    sis->serial = serial;
    sis->frameBufferBase = reinterpret_cast<uint8_t *>(kFrameBuffer);
    sis->triangleFallback = 0;
    sis->lineFallback = 1;
    sis->pointFallback = 1;
    PlaceColor(*c, 0x1000, 1280);
    PlaceDepth(*c, 0x80000, 640);
    c->gc()->drawBuffer = &c->gc()->frontBuffer;
    c->gc()->frontBuffer.buf.drawableBuf = &c->color;
    c->gc()->depthBuffer.buf.drawableBuf = &c->depth;
    return *c;
  }

  static void PlaceColor(HandContext &c, uint32_t offset, int32_t pitchBytes) {
    c.color.base = reinterpret_cast<uint8_t *>(kFrameBuffer + offset);
    c.color.pitchBytes = pitchBytes;
  }
  static void PlaceDepth(HandContext &c, uint32_t offset, int32_t pitchBytes) {
    c.depth.base = reinterpret_cast<uint8_t *>(kFrameBuffer + offset);
    c.depth.pitchBytes = pitchBytes;
  }

  // Every word an upload may send gets its planted value; the texture
  // set-up names `highestLevel` in bits 8-11.
  static void PlantWords(HandContext &c, uint32_t highestLevel) {
    GlSiSTail *s = c.sis();
    struct Programmed {
      uint32_t GlSiSProgrammedRegs::*word;
      uint32_t offset;
    } const programmed[] = {
        {&GlSiSProgrammedRegs::mode, 0x8A00},         {&GlSiSProgrammedRegs::zPitch, 0x8A04},
        {&GlSiSProgrammedRegs::zAddress, 0x8A08},     {&GlSiSProgrammedRegs::alphaTest, 0x8A0C},
        {&GlSiSProgrammedRegs::alpha2, 0x8A10},       {&GlSiSProgrammedRegs::colorPitch, 0x8A14},
        {&GlSiSProgrammedRegs::colorAddress, 0x8A18}, {&GlSiSProgrammedRegs::linePattern, 0x8A1C},
        {&GlSiSProgrammedRegs::fog, 0x8A20},          {&GlSiSProgrammedRegs::blend, 0x8A28},
        {&GlSiSProgrammedRegs::clipRows, 0x8A30},     {&GlSiSProgrammedRegs::clipColumns, 0x8A34},
    };
    for (const Programmed &p : programmed) s->programmed.*p.word = Planted(p.offset);
    struct Working {
      uint32_t GlSiSWorkingRegs::*word;
      uint32_t offset;
    } const working[] = {
        {&GlSiSWorkingRegs::textureSetup, 0x8A38}, {&GlSiSWorkingRegs::textureEnv, 0x8A3C},
        {&GlSiSWorkingRegs::transparent, 0x8A40},  {&GlSiSWorkingRegs::levelLayout, 0x8A80},
        {&GlSiSWorkingRegs::texture8A90, 0x8A90},
    };
    for (const Working &w : working) s->work.*w.word = Planted(w.offset);
    s->work.textureSetup = (Planted(0x8A38) & ~0xF00u) | highestLevel << 8;
    for (uint32_t i = 0; i < 10; ++i) s->levelAddress[i] = Planted(0x8A44 + 4 * i);
    for (uint32_t k = 0; k < 5; ++k) s->levelPitch[k] = Planted(0x8A6C + 4 * k);
  }

  // The log since the last call; no store in it may lack a queue slot.
  static std::vector<sistest::Brief> Log() {
    std::vector<SiS6326Event> log = sistest::TakeLog();
    for (const SiS6326Event &e : log)
      EXPECT_EQ(e.flags & SIS6326_FLAG_UNCOVERED, 0u) << std::hex << "offset 0x" << e.offset;
    return sistest::Briefs(log);
  }

  sistest::Chip chip;
  std::vector<HandContext *> contexts;
};

}  // namespace sisengine
