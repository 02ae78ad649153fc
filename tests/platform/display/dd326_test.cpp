// The display-information library "dd326_32.dll" and the selector query.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/control.h"
#include "platform/dd326.h"
#include "platform/kernel.h"
#include "platform/selector.h"
#include "platform/vlxdesktop.h"
#include "tests/platform/display/ddraw_support.h"

namespace {

typedef LPDD326DISPINFO(WINAPI *GetDispInfoProc)(void);

class DisplayInformation : public ::testing::Test {
 protected:
  void TearDown() override {
    PlatformClearFaults();
    DesktopSetDisplayMode(16, 1024, 768);
  }

  // As the driver reaches it: through the loader, by name.
  static LPDD326DISPINFO Load() {
    HMODULE module = LoadLibraryA("dd326_32.dll");
    if (module == nullptr) return nullptr;
    auto proc = reinterpret_cast<GetDispInfoProc>(
        reinterpret_cast<void *>(GetProcAddress(module, "ddGetDispInfo")));
    LPDD326DISPINFO info = proc ? proc() : nullptr;
    FreeLibrary(module);
    return info;
  }

  static uint32_t Word(const DD326DISPINFO *info, int n) {
    uint32_t word;
    std::memcpy(&word, reinterpret_cast<const char *>(info) + 4 * n, 4);
    return word;
  }
};

TEST_F(DisplayInformation, TheLibraryGivesTheBlockThroughTheLoader) {
  LPDD326DISPINFO info = Load();
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info, ddGetDispInfo());  // one block, whoever asks
  EXPECT_EQ(Word(info, 0), DD326_CHIP_ARGUMENT);
  EXPECT_EQ(Word(info, 6), 16u);
  EXPECT_EQ(Word(info, 22), 0x380u);  // the sequencer index port is base + 0x44 = 0x3C4
  EXPECT_EQ(Word(info, 23) & 0xFFFF, DD326_QUEUE_RESERVE);
  EXPECT_EQ(Word(info, 27), 0u);  // no process has used the engine
}

TEST_F(DisplayInformation, TheRegisterWindowAndCounterReadAllFree) {
  LPDD326DISPINFO info = Load();
  ASSERT_NE(info, nullptr);
  const uint8_t *registers = reinterpret_cast<const uint8_t *>(uintptr_t(Word(info, 14)));
  ASSERT_NE(registers, nullptr);
  uint16_t status;
  std::memcpy(&status, registers + DD326_QUEUE_STATUS, 2);
  EXPECT_EQ(status & 0x1FFFu, DD326_QUEUE_SLOTS);
  // The driver's queue wait: free = (status AND 0x1FFF) - reserve.
  const int16_t *counter = reinterpret_cast<const int16_t *>(uintptr_t(Word(info, 17)));
  ASSERT_NE(counter, nullptr);
  EXPECT_EQ(*counter, int16_t((status & 0x1FFF) - (Word(info, 23) & 0xFFFF)));
  // The whole register file up to the fire byte lies in the window.
  EXPECT_GT(DD326_REGISTER_WINDOW_SIZE, 0x8AFFu);
  volatile uint8_t fire = registers[0x8AFF];
  (void)fire;
}

TEST_F(DisplayInformation, BitsPerPixelFollowTheDisplayMode) {
  LPDD326DISPINFO info = Load();
  ASSERT_NE(info, nullptr);
  struct Case {
    int bits, width, height;
    uint32_t word;
  } const cases[] = {
      {8, 640, 480, 8}, {15, 800, 600, 15},  // 15 here, though GDI and DirectDraw say 16
      {16, 1024, 768, 16}, {24, 320, 200, 24}, {32, 1024, 768, 32},
  };
  for (const Case &c : cases) {
    ASSERT_TRUE(DesktopSetDisplayMode(c.bits, c.width, c.height)) << c.bits;
    EXPECT_EQ(Word(info, 6), c.word) << c.bits;  // the block the driver kept is live
    EXPECT_EQ(info->screenWidth, uint32_t(c.width));
    EXPECT_EQ(info->screenHeight, uint32_t(c.height));
  }
}

TEST_F(DisplayInformation, TheEngineOwnerWordKeepsWhatIsWritten) {
  LPDD326DISPINFO info = Load();
  ASSERT_NE(info, nullptr);
  info->engineOwner = GetCurrentProcessId();
  ASSERT_TRUE(DesktopSetDisplayMode(32, 640, 480));
  EXPECT_EQ(Load()->engineOwner, GetCurrentProcessId());
  info->engineOwner = 0;
}

TEST_F(DisplayInformation, AMissingLibraryOrFunctionOrDriverFails) {
  struct Case {
    PlatformFault fault;
  } const cases[] = {
      {{"LoadLibraryA", "dd326_32.dll", 0, 0, 0}},
      {{"GetProcAddress", "ddGetDispInfo", 0, 0, 0}},
      {{"ddGetDispInfo", nullptr, 0, 0, 0}},
  };
  for (const Case &c : cases) {
    PlatformArmFault(c.fault);
    EXPECT_EQ(Load(), nullptr) << c.fault.call;
    EXPECT_EQ(PlatformFaultsFired(c.fault.call), 1u) << c.fault.call;
    PlatformClearFaults();
    EXPECT_NE(Load(), nullptr) << c.fault.call;
  }
}

// ---- The selector query ---------------------------------------------------------------
uint32_t Base(const LDT_ENTRY &e) {
  return e.BaseLow | (uint32_t(e.HighWord.BaseMid) << 16) | (uint32_t(e.HighWord.BaseHi) << 24);
}

uint32_t Limit(const LDT_ENTRY &e) {
  uint32_t limit = e.LimitLow | (uint32_t(e.HighWord.Flags2 & 0x0F) << 16);
  return (e.HighWord.Flags2 & 0x80) ? (limit << 12) | 0xFFF : limit;
}

class Selectors : public ::testing::Test {
 protected:
  void TearDown() override { PlatformClearFaults(); }
};

TEST_F(Selectors, FlatSelectorsHaveBaseZeroAndTheWholeSpace) {
  for (DWORD selector : {PLATFORM_FLAT_CODE_SELECTOR, PLATFORM_FLAT_DATA_SELECTOR}) {
    LDT_ENTRY e;
    std::memset(&e, 0xAA, sizeof e);
    ASSERT_TRUE(GetThreadSelectorEntry(GetCurrentThread(), selector, &e)) << selector;
    EXPECT_EQ(Base(e), 0u);
    EXPECT_EQ(Limit(e), 0xFFFFFFFFu);
    EXPECT_TRUE(e.HighWord.Flags1 & 0x80);  // present
    EXPECT_EQ((e.HighWord.Flags1 >> 5) & 3, 3);  // ring 3
  }
}

// Cross-checked with where DirectDraw puts the screen.
TEST_F(Selectors, TheScreenSelectorIsBasedAtThePrimarySurface) {
  ddtest::DirectDraw dd;  // its release takes the primary with it
  LPDIRECTDRAWSURFACE primary = ddtest::Primary(dd);
  ASSERT_NE(primary, nullptr);
  DDSURFACEDESC desc;
  ASSERT_EQ(ddtest::Lock(primary, nullptr, &desc), DD_OK);
  ddtest::Unlock(primary, desc.lpSurface);
  for (DWORD rpl = 0; rpl < 4; ++rpl) {  // the privilege bits name the same descriptor
    LDT_ENTRY e;
    ASSERT_TRUE(GetThreadSelectorEntry(GetCurrentThread(), (PLATFORM_SCREEN_SELECTOR & ~3u) | rpl, &e));
    EXPECT_EQ(Base(e), reinterpret_cast<uintptr_t>(desc.lpSurface));
    EXPECT_GE(Limit(e), desc.lPitch * desc.dwHeight - 1);
  }
}

TEST_F(Selectors, BadQueriesFailAsThePlatformReportsThem) {
  LDT_ENTRY e;
  struct Case {
    HANDLE thread;
    DWORD selector;
    LDT_ENTRY *entry;
    DWORD error;
  } const cases[] = {
      {GetCurrentThread(), 0, &e, ERROR_INVALID_PARAMETER},  // the null selector
      {GetCurrentThread(), 0x1234, &e, ERROR_INVALID_PARAMETER},
      {GetCurrentThread(), PLATFORM_FLAT_DATA_SELECTOR, nullptr, ERROR_INVALID_PARAMETER},
      {nullptr, PLATFORM_FLAT_DATA_SELECTOR, &e, ERROR_INVALID_HANDLE},
      {INVALID_HANDLE_VALUE, PLATFORM_FLAT_DATA_SELECTOR, &e, ERROR_INVALID_HANDLE},
  };
  for (const Case &c : cases) {
    SetLastError(0);
    EXPECT_FALSE(GetThreadSelectorEntry(c.thread, c.selector, c.entry)) << c.selector;
    EXPECT_EQ(GetLastError(), c.error) << c.selector;
  }
  PlatformArmFault({"GetThreadSelectorEntry", nullptr, 0, 1, ERROR_ACCESS_DENIED});
  SetLastError(0);
  EXPECT_FALSE(GetThreadSelectorEntry(GetCurrentThread(), PLATFORM_FLAT_DATA_SELECTOR, &e));
  EXPECT_EQ(GetLastError(), (DWORD)ERROR_ACCESS_DENIED);
  EXPECT_TRUE(GetThreadSelectorEntry(GetCurrentThread(), PLATFORM_FLAT_DATA_SELECTOR, &e));
}

}  // namespace
