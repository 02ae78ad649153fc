// The device lock: nesting, the fallback flags, engine ownership by process,
// the identity of the loaded register state, and the buffer addresses it
// refreshes; and the context's software lock.
#include <stdio.h>

#include "tests/sis/engine/engine_fixture.h"

namespace {

using sisengine::EngineTest;
using sisengine::HandContext;
using sisengine::Script;

// A full upload with the working mode 0 of a context whose colour buffer
// lies at `address` with `pitch` bytes a row.
std::string FullUpload(uint32_t address, uint32_t pitch) {
  char s[96];
  snprintf(s, sizeof s, "w1 8A00 w2 8A14=%X 8A18=%X w2 8A30 8A34", pitch, address);
  return s;
}

class DeviceLock : public EngineTest {
 protected:
  // Locks and unlocks until the engine holds this context's state and no
  // group is dirty; forgets the log.
  void Drain(HandContext &c) {
    for (int i = 0; i < 2; ++i) {
      sis::LockDevice(c.gc());
      sis::UnlockDevice(c.gc());
    }
    sistest::TakeLog();
  }
  std::vector<sistest::Brief> Cycle(HandContext &c) {
    sis::LockDevice(c.gc());
    sis::UnlockDevice(c.gc());
    return Log();
  }
};

TEST_F(DeviceLock, OnlyTheOutermostLockUploadsAndOnlyTheOutermostUnlockFires) {
  HandContext &ctx = NewContext(1);
  PlantWords(ctx, 0);
  struct Step {
    char op;  // L lock, U unlock
    uint32_t depth;
    std::string expected;
  } const steps[] = {
      {'L', 1, FullUpload(0x1000, 1280)},
      {'L', 2, ""},
      {'L', 3, ""},
      {'U', 2, ""},
      {'U', 1, ""},
      {'U', 0, "w1 f"},
      // The full upload left the colour group dirty: the next lock sends it.
      {'L', 1, "w2 8A04 8A08 w2 8A14=500 8A18=1000"},
      {'L', 2, ""},
      {'U', 1, ""},
      {'U', 0, "w1 f"},
      {'L', 1, ""},
      {'U', 0, "w1 f"},
  };
  for (const Step &s : steps) {
    if (s.op == 'L') sis::LockDevice(ctx.gc());
    if (s.op == 'U') sis::UnlockDevice(ctx.gc());
    EXPECT_EQ(ctx.sis()->lockDepth, s.depth);
    EXPECT_EQ(Log(), Script(s.expected)) << s.op << " to depth " << s.depth;
  }
  EXPECT_EQ(ctx.sis()->dirty, 0u);
}

TEST_F(DeviceLock, AnUnlockWithoutALockChangesNothing) {
  HandContext &ctx = NewContext(1);
  PlantWords(ctx, 0);
  sis::UnlockDevice(ctx.gc());
  sis::UnlockDevice(ctx.gc());
  EXPECT_EQ(ctx.sis()->lockDepth, 0u);
  EXPECT_TRUE(Log().empty());
  // The next lock is still the outermost one.
  EXPECT_EQ(Cycle(ctx), Script(FullUpload(0x1000, 1280) + " w1 f"));
}

TEST_F(DeviceLock, AContextThatDrawsNothingInHardwareWritesNoRegisters) {
  struct Case {
    uint32_t triangle, line, point;
  } const cases[] = {
      {1, 1, 1}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}, {0, 0, 1}, {0, 0, 0},
  };
  for (const Case &c : cases) {
    PlatformSiS6326SetEngineOwner(sisengine::kOtherProcess);
    __wglProcess.sisLoadedSerial = 0;
    HandContext &ctx = NewContext(1);
    PlantWords(ctx, 0);
    ctx.sis()->triangleFallback = c.triangle;
    ctx.sis()->lineFallback = c.line;
    ctx.sis()->pointFallback = c.point;
    const bool all = c.triangle && c.line && c.point;
    sis::LockDevice(ctx.gc());
    EXPECT_EQ(Log(), Script(all ? "" : FullUpload(0x1000, 1280)))
        << c.triangle << c.line << c.point;
    // The unlock still waits for its slot and fires.
    sis::UnlockDevice(ctx.gc());
    EXPECT_EQ(Log(), Script("w1 f")) << c.triangle << c.line << c.point;
    // Nothing was claimed for a context that sent nothing.
    EXPECT_EQ(PlatformSiS6326EngineOwner(), all ? sisengine::kOtherProcess : sisengine::kSelf);
    EXPECT_EQ(__wglProcess.sisLoadedSerial, all ? 0u : 1u);
  }
}

TEST_F(DeviceLock, TheEngineIsClaimedByProcess) {
  struct Case {
    DWORD ownerWord, ownerId;
    uint8_t restoreAll;
  } const cases[] = {
      {0, sisengine::kSelf, 1},
      {sisengine::kSelf, sisengine::kSelf, 0},
      {sisengine::kOtherProcess, sisengine::kSelf, 1},
      {sisengine::kSelf, sisengine::kOtherProcess, 1},
  };
  HandContext &ctx = NewContext(1);
  for (const Case &c : cases) {
    PlatformSiS6326SetEngineOwner(c.ownerWord);
    ctx.sis()->ownerId = c.ownerId;
    ctx.sis()->restoreAll = uint8_t(1 - c.restoreAll);
    __glSiSHWLock(ctx.gc());
    EXPECT_EQ(ctx.sis()->restoreAll, c.restoreAll) << c.ownerWord << " " << c.ownerId;
    EXPECT_EQ(PlatformSiS6326EngineOwner(), c.ownerId);
  }
  EXPECT_TRUE(Log().empty());
}

TEST_F(DeviceLock, AfterAnotherProcessEveryGroupTheModeNeedsIsSent) {
  struct Case {
    uint32_t mode;
    std::string groups;  // after the mode word
  } const cases[] = {
      {0, "w2 8A14 8A18 w2 8A30 8A34"},
      {SIS_MODE_Z_TEST, "w2 8A04 8A08 w2 8A14 8A18 w2 8A30 8A34"},
      {SIS_MODE_ALPHA_TEST | SIS_MODE_FOG, "w2 8A0C 8A10 w2 8A14 8A18 w1 8A20 w2 8A30 8A34"},
      {SIS_MODE_LINE_PATTERN | SIS_MODE_BLEND, "w2 8A14 8A18 w1 8A1C w1 8A28 w2 8A30 8A34"},
      {SIS_MODE_TEXTURE,
       "w2 8A14 8A18 w2 8A30 8A34 w5 8A38=50008038 8A3C 8A40 8A80 8A90 w2 8A44 8A6C"},
      {SIS_MODE_TEXTURE | SIS_MODE_BLEND,
       "w2 8A14 8A18 w1 8A28 w2 8A30 8A34 w5 8A38=50008138 8A3C 8A40 8A80 8A90 w3 8A48 w2 8A44 "
       "8A6C"},
  };
  HandContext &ctx = NewContext(1);
  for (const Case &c : cases) {
    PlantWords(ctx, c.mode == (SIS_MODE_TEXTURE | SIS_MODE_BLEND) ? 1 : 0);
    // The colour words already match the buffer: nothing of this process is dirty.
    ctx.sis()->programmed.colorAddress = 0x1000;
    ctx.sis()->programmed.colorPitch = ctx.sis()->work.colorPitch = 1280;
    ctx.sis()->dirty = 0;
    ctx.sis()->work.mode = c.mode;
    __wglProcess.sisLoadedSerial = ctx.sis()->serial;
    PlatformSiS6326SetEngineOwner(sisengine::kOtherProcess);
    std::string expected = "w1 8A00 " + c.groups + " w1 f";
    size_t at;
    while ((at = expected.find("8A14 8A18")) != std::string::npos)
      expected.replace(at, 9, "8A14=500 8A18=1000");
    EXPECT_EQ(Cycle(ctx), Script(expected)) << std::hex << c.mode;
    EXPECT_EQ(PlatformSiS6326EngineOwner(), sisengine::kSelf);
    // The engine now holds this process's state: nothing to send.
    EXPECT_EQ(Cycle(ctx), Script("w1 f")) << std::hex << c.mode;
  }
}

TEST_F(DeviceLock, TwoContextsReloadFullyWhenTheyAlternate) {
  HandContext &a = NewContext(11);
  HandContext &b = NewContext(12);
  PlantWords(a, 0);
  PlantWords(b, 0);
  PlaceColor(b, 0x2000, 2560);
  Drain(a);
  Drain(b);
  struct Step {
    HandContext *ctx;
    std::string expected;
  } const steps[] = {
      {&a, FullUpload(0x1000, 1280) + " w1 f"},
      {&b, FullUpload(0x2000, 2560) + " w1 f"},
      {&a, FullUpload(0x1000, 1280) + " w1 f"},
      {&a, "w1 f"},
      {&a, "w1 f"},
      {&b, FullUpload(0x2000, 2560) + " w1 f"},
      {&b, "w1 f"},
  };
  for (const Step &s : steps) {
    EXPECT_EQ(Cycle(*s.ctx), Script(s.expected)) << (s.ctx == &a ? "a" : "b");
    EXPECT_EQ(__wglProcess.sisLoadedSerial, s.ctx->sis()->serial);
  }
}

TEST_F(DeviceLock, AContextWithANewSerialReloadsFully) {
  // A context moved to another window draws a new serial.
  HandContext &ctx = NewContext(21);
  PlantWords(ctx, 0);
  Drain(ctx);
  ctx.sis()->serial = 22;
  EXPECT_EQ(Cycle(ctx), Script(FullUpload(0x1000, 1280) + " w1 f"));
  EXPECT_EQ(Cycle(ctx), Script("w1 f"));
}

TEST_F(DeviceLock, BufferAddressesAndPitchesAreRecomputedAtEachLock) {
  HandContext &ctx = NewContext(1);
  PlantWords(ctx, 0);
  ctx.sis()->work.colorPitch = 0x0C000000;  // colour format bits stay
  ctx.sis()->work.zPitch = 0x00130000;      // depth function and Z format stay
  Drain(ctx);
  struct Step {
    const char *what;
    uint32_t colorOffset;
    int32_t colorPitch;
    bool depthTest;
    uint32_t depthOffset;
    int32_t depthPitch;
    std::string expected;
  } const steps[] = {
      {"nothing moved", 0x1000, 1280, false, 0x80000, 640, "w1 f"},
      {"the colour buffer moved", 0x3000, 1280, false, 0x80000, 640,
       "w2 8A04 8A08 w2 8A14=C000500 8A18=3000 w1 f"},
      {"its pitch changed", 0x3000, 2048, false, 0x80000, 640,
       "w2 8A04 8A08 w2 8A14=C000800 8A18=3000 w1 f"},
      {"a pitch wider than 14 bits", 0x3000, 0x4010, false, 0x80000, 640,
       "w2 8A04 8A08 w2 8A14=C000010 8A18=3000 w1 f"},
      {"the depth buffer is ignored without the depth test", 0x3000, 0x4010, false, 0x90000, 320,
       "w1 f"},
      {"the depth test brings it in", 0x3000, 0x4010, true, 0x90000, 320,
       "w2 8A04=130140 8A08=90000 w1 f"},
      {"the depth buffer moved", 0x3000, 0x4010, true, 0xA0000, 320,
       "w2 8A04=130140 8A08=A0000 w1 f"},
      {"both moved", 0x1000, 1280, true, 0x80000, 640,
       "w2 8A04=130280 8A08=80000 w2 8A14=C000500 8A18=1000 w1 f"},
      {"the depth test ends: the Z words stay", 0x1000, 1280, false, 0x10, 8,
       "w1 f"},
  };
  for (const Step &s : steps) {
    PlaceColor(ctx, s.colorOffset, s.colorPitch);
    PlaceDepth(ctx, s.depthOffset, s.depthPitch);
    ctx.gc()->polygon.shader.modeFlags = s.depthTest ? __GL_SHADE_DEPTH_TEST : 0;
    EXPECT_EQ(Cycle(ctx), Script(s.expected)) << s.what;
    EXPECT_EQ(ctx.sis()->dirty, 0u) << s.what;
    EXPECT_EQ(ctx.sis()->programmed.colorAddress, ctx.sis()->work.colorAddress) << s.what;
    EXPECT_EQ(ctx.sis()->programmed.colorPitch, ctx.sis()->work.colorPitch) << s.what;
  }
}

TEST_F(DeviceLock, AContextWithoutBuffersOrRegisterWindowIsLeftAlone) {
  HandContext &ctx = NewContext(1);
  PlantWords(ctx, 0);
  ctx.gc()->drawBuffer = nullptr;
  ctx.gc()->depthBuffer.buf.drawableBuf = nullptr;
  ctx.gc()->polygon.shader.modeFlags = __GL_SHADE_DEPTH_TEST;
  // No buffer to refresh from: the programmed words go as they are.
  EXPECT_EQ(Cycle(ctx), Script("w1 8A00 w2 8A14 8A18 w2 8A30 8A34 w1 f"));
  HandContext &bare = NewContext(2);
  bare.sis()->mmioBase = nullptr;
  EXPECT_EQ(Cycle(bare), Script(""));
  EXPECT_EQ(bare.sis()->lockDepth, 0u);
}

// ---- Making the current texture resident ----------------------------------------------------

// A texture whose make-resident counts its calls and the lock depth and the
// engine register log at the time of each.
struct CountedTexture {
  static inline int calls = 0;
  static inline uint32_t depthSeen = 0;
  static inline GlContext *contextSeen = nullptr;
  static GLbool8 MakeResident(GlContext *gc, GlTextureObject *tex, uint32_t flag) {
    ++calls;
    depthSeen = __glSiSTail(gc)->lockDepth;
    contextSeen = gc;
    return 1;
  }
};

class LockResidency : public EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    CountedTexture::calls = 0;
    texture.makeResident = CountedTexture::MakeResident;
  }
  GlTextureObject texture{};
};

TEST_F(LockResidency, OnlyTheOutermostLockOfATexturingHardwareContextMakesItResident) {
  struct Case {
    const char *name;
    bool texturing, current, triangleFallback;
    int calls;
  } const cases[] = {
      {"texturing with a current texture", true, true, false, 1},
      {"texturing off", false, true, false, 0},
      {"no current texture", true, false, false, 0},
      {"triangles fall back", true, true, true, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    HandContext &ctx = NewContext(1);
    PlantWords(ctx, 0);
    ctx.sis()->triangleFallback = c.triangleFallback;
    ctx.sis()->lineFallback = 0;  // the context still draws lines in hardware
    ctx.gc()->polygon.shader.modeFlags = c.texturing ? __GL_SHADE_TEXTURE : 0;
    ctx.gc()->texture.current = c.current ? &texture : nullptr;
    CountedTexture::calls = 0;
    sis::LockDevice(ctx.gc());
    sis::LockDevice(ctx.gc());  // nested: nothing more
    EXPECT_EQ(CountedTexture::calls, c.calls);
    if (c.calls) {
      EXPECT_EQ(CountedTexture::depthSeen, 1u);
      EXPECT_EQ(CountedTexture::contextSeen, ctx.gc());
    }
    sis::UnlockDevice(ctx.gc());
    sis::UnlockDevice(ctx.gc());
    sis::LockDevice(ctx.gc());  // the next outermost lock asks again
    EXPECT_EQ(CountedTexture::calls, 2 * c.calls);
    sis::UnlockDevice(ctx.gc());
  }
}

TEST_F(LockResidency, AContextThatDrawsNothingInHardwareMakesNothingResident) {
  HandContext &ctx = NewContext(1);
  ctx.sis()->triangleFallback = ctx.sis()->lineFallback = ctx.sis()->pointFallback = 1;
  ctx.gc()->polygon.shader.modeFlags = __GL_SHADE_TEXTURE;
  ctx.gc()->texture.current = &texture;
  sis::LockDevice(ctx.gc());
  sis::UnlockDevice(ctx.gc());
  EXPECT_EQ(CountedTexture::calls, 0);
}

// ---- The software lock -------------------------------------------------------------------

class SoftwareLock : public EngineTest {};

TEST_F(SoftwareLock, CountsNestingInTheContext) {
  HandContext &ctx = NewContext(1);
  struct Step {
    char op;  // L lock, U unlock
    bool result;
    uint8_t depth;
  } const steps[] = {
      {'U', false, 0},  // an unlock without a lock leaves the counter at 0
      {'L', false, 1}, {'L', true, 2}, {'L', true, 3},
      {'U', true, 2},  {'U', true, 1}, {'U', false, 0},
      {'U', false, 0}, {'L', false, 1}, {'U', false, 0},
  };
  for (const Step &s : steps) {
    const bool result = s.op == 'L' ? __glSiSsLock(ctx.gc()) : __glSiSsUnlock(ctx.gc());
    EXPECT_EQ(result, s.result) << s.op << " to " << int(s.depth);
    // The buffer locks read this counter to find their outermost level.
    EXPECT_EQ(ctx.gc()->sLockDepth, s.depth);
  }
  EXPECT_TRUE(Log().empty());
}

}  // namespace
