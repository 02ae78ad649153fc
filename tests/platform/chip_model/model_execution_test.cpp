// The SiS 6326 drawing model's execution: the queue runs at the fire, each
// primitive with its own registers; the violations of the general rules and
// the first layer's marks; unfired work met by surface accesses; live
// surfaces; the record, the edge-distance query, the log switch and the dump
// (rules M2, A1-A6).
#include <unistd.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "platform/vlxdesktop.h"
#include "tests/platform/chip_model/model_support.h"

namespace {

using modeltest::kFlatTriangle;
using modeltest::Vertex;

class Execution : public modeltest::ModelTest {
 protected:
  // A byte of video memory, read behind the stand-in's back (no lock, so no
  // check of unfired work).
  uint8_t Peek(uint32_t offset) const {
    return reinterpret_cast<const uint8_t *>(uintptr_t(chip.info->frameBuffer))[offset];
  }
  uint16_t Pixel16(const modeltest::Target &t, int i, int j) const {
    uint32_t at = t.offset + uint32_t(j * t.pitch + i * 2);
    return uint16_t(Peek(at) | Peek(at + 1) << 8);
  }
  static std::string At(const char *rule, uint32_t position) {
    return std::string(rule) + "@" + std::to_string(position);
  }
};

using Strings = std::vector<std::string>;

TEST_F(Execution, A2_NothingIsDrawnBeforeTheFireEvenAfterAStatusRead) {
  const modeltest::Target &t = MakeTarget(8, 8);
  DrawInto(t);
  Triangle(kFlatTriangle, {0, 0, 0, 0xFFFFFFFF}, {8, 0, 0, 0xFFFFFFFF}, {0, 8, 0, 0xFFFFFFFF});
  EXPECT_EQ(Pixel16(t, 1, 1), 0u);
  SiS6326Load16(chip.mmio + SIS6326_QUEUE_STATUS);
  EXPECT_EQ(PlatformSiS6326QueuePending(), 0u) << "the status read frees the slots";
  EXPECT_EQ(Pixel16(t, 1, 1), 0u) << "but draws nothing";
  EXPECT_TRUE(modeltest::Drawn().empty());
  Fire();
  EXPECT_EQ(Pixel16(t, 1, 1), 0xFFFFu);
}

TEST_F(Execution, A2_QueuedWorkRunsInOrder) {
  const modeltest::Target &t = MakeTarget(8, 8);
  DrawInto(t);
  Triangle(kFlatTriangle, {0, 0, 0, 0xFFFF0000}, {8, 0, 0, 0xFFFF0000}, {0, 8, 0, 0xFFFF0000});
  Triangle(kFlatTriangle, {0, 0, 0, 0xFF0000FF}, {8, 0, 0, 0xFF0000FF}, {0, 8, 0, 0xFF0000FF});
  Fire();
  EXPECT_EQ(Pixel16(t, 1, 1), 0x001Fu);
  std::vector<SiS6326Drawn> drawn = modeltest::Drawn();
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_LT(drawn[0].position, drawn[1].position);
  EXPECT_EQ(drawn[0].covered, drawn[1].covered);
  EXPECT_EQ(drawn[0].written, drawn[0].covered);
}

TEST_F(Execution, A3_EachPrimitiveKeepsTheRegistersOfItsCommandWord) {
  const modeltest::Target &t = MakeTarget(16, 4);
  DrawInto(t);
  Clip(0, 0, 4, 4);
  Line(modeltest::LineCommand(false, false, false), {0, 1}, {16, 1});
  Clip(8, 0, 12, 4);
  Line(modeltest::LineCommand(false, false, false), {0, 2}, {16, 2});
  Fire();
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(Pixel16(t, i, 1) != 0, i < 4) << i;
    EXPECT_EQ(Pixel16(t, i, 2) != 0, i >= 8 && i < 12) << i;
  }
}

TEST_F(Execution, A1_TheColourAddressIsAnOffsetIntoVideoMemory) {
  const modeltest::Target &t = MakeTarget(8, 8, 32);
  DrawInto(t);
  Reg(modeltest::kColourAddress, t.offset + uint32_t(3 * t.pitch + 2 * 4));
  Point({0, 0, 0, 0x11223344});
  Fire();
  uint32_t at = t.offset + uint32_t(3 * t.pitch + 2 * 4);
  EXPECT_EQ(Peek(at), 0x44);
  EXPECT_EQ(Peek(at + 3), 0x11);
}

TEST_F(Execution, A4_MissingAndInterleavedVertexWordsAreReportedAndDrawNothing) {
  const modeltest::Target &t = MakeTarget(8, 8);
  DrawInto(t);
  uint32_t first = Next() + 1;
  chip.Wait(15);
  chip.Store32(SIS6326_PRIMITIVE_COMMAND, kFlatTriangle);
  Block(0, {0, 0});
  Block(1, {8, 0});
  Block(2, {0, 8}, 4);  // the colour word never comes
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), Strings{At("M2", first)});
  // Two threads writing at once: the second command cuts into the first's words.
  uint32_t second = Next() + 1;
  chip.Wait(32);
  chip.Store32(SIS6326_PRIMITIVE_COMMAND, kFlatTriangle);
  Block(0, {0, 0});
  chip.Store32(SIS6326_PRIMITIVE_COMMAND, kFlatTriangle);
  Block(0, {1, 0});
  for (int twice = 0; twice < 2; ++twice) {
    Block(1, {8, 0});
    Block(2, {0, 8});
  }
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), (Strings{At("M2", second), At("M2", second + 1)}));
  // Vertex words without a command.
  uint32_t third = Next() + 1;
  chip.Wait(5);
  Block(0, {1, 1});
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), Strings{At("M2", third)});
  for (int j = 0; j < 8; ++j)
    for (int i = 0; i < 8; ++i) EXPECT_EQ(Pixel16(t, i, j), 0u);
}

TEST_F(Execution, M2_EveryMarkOfTheDecoderIsAViolation) {
  const modeltest::Target &t = MakeTarget(8, 8);
  DrawInto(t);
  struct Case {
    const char *what;
    void (*provoke)(const sistest::Chip &);
  } const cases[] = {
      {"a store without a queue wait", [](const sistest::Chip &c) { c.Store32(modeltest::kFog, 1); }},
      {"a plain store into the window",
       [](const sistest::Chip &c) {
         c.mmio[modeltest::kFog] = 7;
         c.Wait(1);
         c.Fire();
       }},
      {"a 16-bit store to a 32-bit register",
       [](const sistest::Chip &c) {
         c.Wait(1);
         c.Store16(modeltest::kFog, 1);
       }},
      {"a store outside the window",
       [](const sistest::Chip &c) {
         c.Wait(1);
         SiS6326Store32(c.mmio + DD326_REGISTER_WINDOW_SIZE + 64, 1);
       }},
      {"a port the chip does not decode", [](const sistest::Chip &) { SiS6326PortOut(0x3D4, 1); }},
      {"a fire other than 0xFF",
       [](const sistest::Chip &c) {
         c.Wait(1);
         SiS6326Store8(c.mmio + SIS6326_FIRE, 0x01);
       }},
  };
  for (const Case &c : cases) {
    c.provoke(chip);
    std::vector<SiS6326Violation> v = modeltest::Violations();
    PlatformSiS6326ClearViolations();
    ASSERT_EQ(v.size(), 1u) << c.what << "\n" << modeltest::Describe(v);
    EXPECT_STREQ(v[0].rule, "M2") << c.what;
  }
}

TEST_F(Execution, M2_AMarkedFireRunsNothingAndAMarkedPrimitiveIsNotDrawn) {
  const modeltest::Target &t = MakeTarget(8, 8);
  DrawInto(t);
  Point({2, 2, 0, 0xFFFFFFFF});
  chip.Wait(1);
  SiS6326Store8(chip.mmio + SIS6326_FIRE, 0x0F);
  EXPECT_EQ(Pixel16(t, 2, 2), 0u);
  modeltest::TakeViolations();
  Fire();
  EXPECT_EQ(Pixel16(t, 2, 2), 0xFFFFu) << "the queue waits for a proper fire";
  // A point whose words had no queue slot.
  chip.Store32(SIS6326_PRIMITIVE_COMMAND, modeltest::kPoint);
  Block(0, {4, 4, 0, 0xFFFFFFFF});
  Fire();
  EXPECT_FALSE(modeltest::TakeViolations().empty());
  EXPECT_EQ(Pixel16(t, 4, 4), 0u);
}

TEST_F(Execution, A5_UnfiredWorkMetByALockBlitReleaseOrReadBackIsReported) {
  const modeltest::Target &t = MakeTarget(8, 8);
  const modeltest::Target &other = MakeTarget(8, 8);
  DDSURFACEDESC locked;
  struct Case {
    const char *what;
    bool reported;
  };
  // A lock of an unrelated surface is not.
  DrawInto(t);
  uint32_t point = Next() + 1;
  Point({2, 2, 0, 0xFFFFFFFF});
  ASSERT_EQ(ddtest::Lock(other.surface, nullptr, &locked), DD_OK);
  ddtest::Unlock(other.surface, nullptr);
  EXPECT_TRUE(modeltest::TakeViolations().empty());
  // A lock of its colour surface is, naming the access and the surface.
  ASSERT_EQ(ddtest::Lock(t.surface, nullptr, &locked), DD_OK);
  ddtest::Unlock(t.surface, nullptr);
  const std::string text = modeltest::Describe(modeltest::Violations());
  EXPECT_NE(text.find("meets a lock of a "), std::string::npos) << text;
  EXPECT_NE(text.find(" surface"), std::string::npos) << text;
  EXPECT_EQ(modeltest::TakeViolations(), Strings{At("A5", point)});
  Fire();
  EXPECT_EQ(Pixel16(t, 2, 2), 0u) << "reported work is dropped";
  // A blit from it.
  point = Next() + 1;
  Point({2, 2, 0, 0xFFFFFFFF});
  ASSERT_EQ(other.surface->lpVtbl->Blt(other.surface, nullptr, t.surface, nullptr, DDBLT_WAIT, nullptr),
            DD_OK);
  EXPECT_EQ(modeltest::TakeViolations(), Strings{At("A5", point)});
  // The end of a test.
  point = Next() + 1;
  Point({2, 2, 0, 0xFFFFFFFF});
  PlatformSiS6326CheckUnfired();
  EXPECT_EQ(modeltest::TakeViolations(), Strings{At("A5", point)});
  // A release.
  point = Next() + 1;
  Point({2, 2, 0, 0xFFFFFFFF});
  ddtest::Release(targets[0].surface);
  targets[0].surface = nullptr;
  EXPECT_EQ(modeltest::TakeViolations(), Strings{At("A5", point)});
}

TEST_F(Execution, A5_OnThePrimaryOnlyTheRectangleHoldingItsPixelsCounts) {
  modeltest::Target screen;
  screen.surface = nullptr;
  screen.offset = 0;
  screen.pitch = int(chip.info->screenPitch);
  screen.width = 64, screen.height = 64, screen.bytes = 2;
  DrawInto(screen);
  uint32_t point = Next() + 1;
  Point({40, 10, 0, 0xFFFFFFFF});
  DDSURFACEDESC locked;
  RECT elsewhere = {0, 0, 32, 32};  // another window's rectangle
  ASSERT_EQ(ddtest::Lock(primary, &elsewhere, &locked), DD_OK);
  ddtest::Unlock(primary, nullptr);
  EXPECT_TRUE(modeltest::TakeViolations().empty());
  HWND window = DesktopCreateWindow(100, 100, 16, 16);
  unsigned argb[16 * 16];
  ASSERT_TRUE(DesktopReadWindow(window, 0, 0, 16, 16, argb));
  EXPECT_TRUE(modeltest::TakeViolations().empty()) << "a read-back elsewhere";
  RECT holding = {32, 0, 64, 32};
  ASSERT_EQ(ddtest::Lock(primary, &holding, &locked), DD_OK);
  ddtest::Unlock(primary, nullptr);
  EXPECT_EQ(modeltest::TakeViolations(), Strings{At("A5", point)});
  point = Next() + 1;
  Point({3, 3, 0, 0xFFFFFFFF});
  HWND corner = DesktopCreateWindow(0, 0, 8, 8);
  ASSERT_TRUE(DesktopReadWindow(corner, 0, 0, 8, 8, argb));
  EXPECT_EQ(modeltest::TakeViolations(), Strings{At("A5", point)}) << "a read-back of its pixels";
  DestroyWindow(window);
  DestroyWindow(corner);
}

TEST_F(Execution, A6_AccessesOutsideLiveSurfacesAreReported) {
  modeltest::Target &t = MakeTarget(8, 8);
  uint32_t offset = t.offset;
  DrawInto(t);
  ddtest::Release(t.surface);
  t.surface = nullptr;
  uint32_t point = Next() + 1;
  Point({2, 2, 0, 0xFFFFFFFF});
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), Strings{At("A6", point)});
  EXPECT_EQ(Peek(offset + uint32_t(2 * 16 + 4)), 0) << "released memory untouched";
  // A lost surface.
  const modeltest::Target &u = MakeTarget(8, 8);
  DrawInto(u);
  PlatformLoseSurfaces();
  point = Next() + 1;
  Point({2, 2, 0, 0xFFFFFFFF});
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), Strings{At("A6", point)});
  // A primitive running off its surface draws nothing at all.
  ASSERT_EQ(u.surface->lpVtbl->Restore(u.surface), DD_OK);
  ASSERT_EQ(primary->lpVtbl->Restore(primary), DD_OK);
  DrawInto(u);
  Clip(0, 0, 100, 100);
  point = Next() + 1;
  Line(modeltest::LineCommand(false, false, false), {0, 1}, {60, 1});
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), Strings{At("A6", point)});
  EXPECT_EQ(Pixel16(u, 0, 1), 0u);
}

// The widest clip the registers hold, a triangle across it and a fill of the
// largest packet: both are refused at their first stray byte, and a lock
// meeting them while queued answers at once.
TEST_F(Execution, A6_TheLargestPrimitiveAndFillAreRefusedWithoutDelay) {
  const modeltest::Target &t = MakeTarget(8, 8);
  DrawInto(t);
  Clip(0, 0, 8191, 8191);
  uint32_t triangle = Next() + 1;
  Triangle(kFlatTriangle, {-10, -10}, {9000, -10}, {-10, 9000});
  uint32_t fill = Next() + 1;
  chip.Wait(6);
  chip.Store32(SIS6326_2D_PACKET + 4, t.offset);
  chip.Store32(SIS6326_2D_PACKET + 8, 0xFFFFu << 16);
  chip.Store32(SIS6326_2D_PACKET + 12, 0xFFFFFFFF);
  chip.Store32(SIS6326_2D_PACKET + 16, 0xCCu << 24);
  chip.Store16(SIS6326_2D_COMMAND, 0x31);
  DDSURFACEDESC locked;
  RECT corner = {1000, 700, 1024, 768};
  ASSERT_EQ(ddtest::Lock(primary, &corner, &locked), DD_OK);
  ddtest::Unlock(primary, nullptr);
  EXPECT_TRUE(modeltest::TakeViolations().empty());
  Fire();
  EXPECT_EQ(modeltest::TakeViolations(), (Strings{At("A6", triangle), At("A6", fill)}));
}

TEST_F(Execution, TakingTheLogBetweenPrimitivesChangesNothingDrawn) {
  const modeltest::Target &t = MakeTarget(8, 8);
  auto draw = [&](bool take) {
    Write(t, 0);
    DrawInto(t);
    for (int k = 0; k < 6; ++k) {
      Point({float(k), float(k), 0, 0xFFFFFFFF});
      if (take) sistest::TakeLog();
    }
    Fire();
    return Read(t);
  };
  EXPECT_EQ(draw(false), draw(true));
}

TEST_F(Execution, WithTheLogOffALongRunDrawsEveryPrimitive) {
  const modeltest::Target &t = MakeTarget(64, 64);
  DrawInto(t);
  sistest::TakeLog();
  PlatformSiS6326SetLogging(FALSE);
  const int points = 140000;  // 2 events each: more than the log holds
  for (int k = 0; k < points; ++k) {
    Point({float(k % 64), float(k / 64 % 64), 0, 0xFFFFFFFF});
    if (k % 1000 == 999) Fire();
  }
  Fire();
  EXPECT_EQ(PlatformSiS6326LogCount(), 0u);
  size_t written = 0;
  for (const SiS6326Drawn &d : modeltest::Drawn()) written += d.written;
  EXPECT_EQ(written, size_t(points));
}

TEST_F(Execution, TheEdgeDistanceQueryMeasuresFromPixelCentres) {
  const modeltest::Target &t = MakeTarget(16, 16);
  DrawInto(t);
  uint32_t at = Next() + 1;
  // Buffer vertices (1, 1), (13, 1), (1, 10): edges y = 1, x = 1 and 3x + 4y = 43.
  Triangle(kFlatTriangle, {0.5f, 0.5f}, {12.5f, 0.5f}, {0.5f, 9.5f});
  Fire();
  struct Case {
    int i, j;
    double distance;
  } const cases[] = {
      {1, 1, 0.5}, {3, 2, 1.5}, {1, 5, 0.5},
      {8, 4, std::fabs(3 * 8.5 + 4 * 4.5 - 43) / 5},  // beside the long edge
      {9, 4, std::fabs(3 * 9.5 + 4 * 4.5 - 43) / 5},  // just outside it
      {0, 0, std::hypot(0.5, 0.5)},                   // beyond a corner
  };
  for (const Case &c : cases) {
    double d = -1;
    ASSERT_TRUE(PlatformSiS6326EdgeDistance(at, c.i, c.j, &d));
    EXPECT_NEAR(d, c.distance, 1e-12) << c.i << ", " << c.j;
  }
  double d;
  EXPECT_FALSE(PlatformSiS6326EdgeDistance(at + 1, 0, 0, &d));
}

// The switch is read when the chip powers on: set later, it waits for the
// next power-on.
TEST_F(Execution, TheDumpSwitchShowsEachFire) {
  const modeltest::Target &t = MakeTarget(8, 8);
  unsetenv("VLX_SIS_DUMP");
  PlatformSiS6326Reset();
  setenv("VLX_SIS_DUMP", "1", 1);
  std::string dump[2];
  for (std::string &out : dump) {
    DrawInto(t);
    testing::internal::CaptureStderr();
    Point({2, 2, 0, 0xFFFFFFFF});
    Fire();
    out = testing::internal::GetCapturedStderr();
    PlatformSiS6326Reset();
  }
  unsetenv("VLX_SIS_DUMP");
  PlatformSiS6326Reset();
  EXPECT_EQ(dump[0].find("sis6326 fire"), std::string::npos) << dump[0];
  EXPECT_NE(dump[1].find("primitive 0x100"), std::string::npos) << dump[1];
  EXPECT_NE(dump[1].find("1 covered, 1 written"), std::string::npos) << dump[1];
}

// The fire takes the screen lock under the chip's; a surface lock asks the
// model under the screen lock: both at once from two threads must not deadlock.
TEST_F(Execution, FiresAndSurfaceLocksFromTwoThreads) {
  const modeltest::Target &t = MakeTarget(8, 8);
  const modeltest::Target &other = MakeTarget(8, 8);
  DrawInto(t);
  std::atomic<bool> done{false};
  std::thread locker([&] {
    while (!done) {
      DDSURFACEDESC locked;
      if (ddtest::Lock(other.surface, nullptr, &locked) == DD_OK) ddtest::Unlock(other.surface, nullptr);
    }
  });
  for (int k = 0; k < 300; ++k) {
    Point({float(k % 8), float(k / 8 % 8), 0, 0xFFFFFFFF});
    Fire();
  }
  done = true;
  locker.join();
  EXPECT_EQ(Pixel16(t, 7, 4), 0xFFFFu);
}

}  // namespace
