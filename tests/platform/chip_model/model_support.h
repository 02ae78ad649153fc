// Test support for the SiS 6326 drawing model: hand-built logs written
// through the stand-in's store calls as a driver would, surfaces to draw
// into, and the model's violations.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "tests/platform/display/ddraw_support.h"
#include "tests/platform/sis6326/sis6326_support.h"

namespace modeltest {

constexpr uint32_t kMode = 0x8A00, kZ = 0x8A04, kZAddress = 0x8A08, kAlpha = 0x8A0C;
constexpr uint32_t kColour = 0x8A14, kColourAddress = 0x8A18, kPattern = 0x8A1C, kFog = 0x8A20;
constexpr uint32_t kBlend = 0x8A28, kClipRows = 0x8A30, kClipColumns = 0x8A34;

// Triangle commands: flat or smooth, untextured, side bit clear.
constexpr uint32_t kFlatTriangle = 0x6000 | 0x02 | 0x40000 | 0x500;
constexpr uint32_t kSmoothTriangle = 0x6000 | 0x02 | 0x100000 | 0x500;
constexpr uint32_t kPoint = 0x100;

struct Vertex {
  float x, y;
  float z = 0.0f;
  uint32_t colour = 0xFFFFFFFF;
  uint32_t fog = 0;  // the fog byte
};

inline uint32_t FloatWord(float f) {
  uint32_t w;
  std::memcpy(&w, &f, sizeof w);
  return w;
}

inline std::vector<SiS6326Violation> Violations() {
  std::vector<SiS6326Violation> v(PlatformSiS6326Violations(nullptr, 0));
  v.resize(PlatformSiS6326Violations(v.data(), v.size()));
  return v;
}

// "rule@position" for each violation, for tables.
inline std::vector<std::string> TakeViolations() {
  std::vector<std::string> out;
  for (const SiS6326Violation &v : Violations()) out.push_back(std::string(v.rule) + "@" + std::to_string(v.position));
  PlatformSiS6326ClearViolations();
  return out;
}

inline std::string Describe(const std::vector<SiS6326Violation> &list) {
  std::string s;
  for (const SiS6326Violation &v : list) s += std::string(v.rule) + "@" + std::to_string(v.position) + ": " + v.what + "\n";
  return s;
}

inline std::vector<SiS6326Drawn> Drawn() {
  std::vector<SiS6326Drawn> d(PlatformSiS6326Drawn(nullptr, 0));
  d.resize(PlatformSiS6326Drawn(d.data(), d.size()));
  return d;
}

// A surface of video memory the chip draws into, with its offset.
struct Target {
  LPDIRECTDRAWSURFACE surface = nullptr;
  uint32_t offset = 0;
  int pitch = 0, width = 0, height = 0, bytes = 0;
};

class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ddtest::ResetDisplay();
    chip = sistest::PowerOn();
    ASSERT_NE(chip.info, nullptr);
    dd = new ddtest::DirectDraw;
    primary = ddtest::Primary(*dd);
    ASSERT_NE(primary, nullptr);
  }
  void TearDown() override {
    PlatformSiS6326CheckUnfired();
    if (expectClean) {
      EXPECT_EQ(Describe(Violations()), "") << "violations left at the end";
    }
    for (Target &t : targets)
      if (t.surface) ddtest::Release(t.surface);
    if (primary) ddtest::Release(primary);
    delete dd;
    PlatformClearFaults();
    PlatformSiS6326Reset();
    ddtest::ResetDisplay();
  }

  // An off-screen surface of video memory: 16 bits 5-6-5, 32 bits with alpha.
  Target &MakeTarget(int width, int height, int bits = 16) {
    DDSURFACEDESC d = ddtest::Desc(DDSCAPS_OFFSCREENPLAIN | DDSCAPS_VIDEOMEMORY, width, height);
    d.dwFlags |= DDSD_PIXELFORMAT;
    d.ddpfPixelFormat = bits == 16 ? ddtest::Rgb(16, 0xF800, 0x7E0, 0x1F)
                                   : ddtest::Rgb(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    return Adopt(d, bits / 8);
  }
  Target &MakeZ(int width, int height, int bits) {
    return Adopt(ddtest::ZDesc(DDSCAPS_VIDEOMEMORY, width, height, DWORD(bits)), bits / 8);
  }
  Target &Adopt(DDSURFACEDESC d, int bytes) {
    targets.emplace_back();
    Target &t = targets.back();
    EXPECT_EQ(ddtest::Create(*dd, d, &t.surface), DD_OK);
    if (t.surface == nullptr) return t;
    DDSURFACEDESC locked;
    EXPECT_EQ(ddtest::Lock(t.surface, nullptr, &locked), DD_OK);
    t.offset = uint32_t(reinterpret_cast<uintptr_t>(locked.lpSurface) - uintptr_t(chip.info->frameBuffer));
    t.pitch = int(locked.lPitch);
    t.width = int(locked.dwWidth);
    t.height = int(locked.dwHeight);
    t.bytes = bytes;
    std::memset(locked.lpSurface, 0, size_t(t.pitch) * size_t(t.height));
    ddtest::Unlock(t.surface, nullptr);
    return t;
  }

  // The surface's pixels, read through a lock.
  std::vector<uint32_t> Read(const Target &t) {
    std::vector<uint32_t> out(size_t(t.width) * size_t(t.height));
    DDSURFACEDESC locked;
    EXPECT_EQ(ddtest::Lock(t.surface, nullptr, &locked), DD_OK);
    const uint8_t *p = static_cast<const uint8_t *>(locked.lpSurface);
    for (int j = 0; j < t.height; ++j)
      for (int i = 0; i < t.width; ++i) {
        uint32_t v = 0;
        for (int b = 0; b < t.bytes; ++b) v |= uint32_t(p[j * t.pitch + i * t.bytes + b]) << (8 * b);
        out[size_t(j) * size_t(t.width) + size_t(i)] = v;
      }
    ddtest::Unlock(t.surface, nullptr);
    return out;
  }
  void Write(const Target &t, uint32_t value) {
    DDSURFACEDESC locked;
    EXPECT_EQ(ddtest::Lock(t.surface, nullptr, &locked), DD_OK);
    uint8_t *p = static_cast<uint8_t *>(locked.lpSurface);
    for (int j = 0; j < t.height; ++j)
      for (int i = 0; i < t.width; ++i)
        for (int b = 0; b < t.bytes; ++b) p[j * t.pitch + i * t.bytes + b] = uint8_t(value >> (8 * b));
    ddtest::Unlock(t.surface, nullptr);
  }

  // ---- The driver's side, by hand --------------------------------------------------------
  void Reg(uint32_t offset, uint32_t value) {
    chip.Wait(1);
    chip.Store32(offset, value);
  }
  void Clip(int left, int top, int right, int bottom) {
    Reg(kClipRows, uint32_t(top) << 13 | uint32_t(bottom));
    Reg(kClipColumns, uint32_t(left) << 13 | uint32_t(right));
  }
  // Colour buffer at the target, clipped to it; mode as given.
  void DrawInto(const Target &t, uint32_t mode = 0, uint32_t format = 0, uint32_t rop = 0xC) {
    if (format == 0) format = t.bytes == 2 ? 0x11 : 0x33;
    Reg(kMode, mode);
    Reg(kColour, rop << 24 | format << 16 | uint32_t(t.pitch));
    Reg(kColourAddress, t.offset);
    Clip(0, 0, t.width, t.height);
  }
  void Block(int block, const Vertex &v, int words = 5) {
    uint32_t base = SIS6326_VERTEX_BLOCKS + uint32_t(block) * SIS6326_VERTEX_BLOCK_SIZE;
    const uint32_t w[5] = {v.fog << 24, FloatWord(v.z), FloatWord(v.x), FloatWord(v.y), v.colour};
    for (int i = 0; i < words && i < 5; ++i) chip.Store32(base + 4 * uint32_t(i), w[i]);
  }
  void Triangle(uint32_t command, const Vertex &a, const Vertex &b, const Vertex &c) {
    chip.Wait(16);
    chip.Store32(SIS6326_PRIMITIVE_COMMAND, command);
    Block(0, a);
    Block(1, b);
    Block(2, c);
  }
  void Line(uint32_t command, const Vertex &a, const Vertex &b) {
    chip.Wait(11);
    chip.Store32(SIS6326_PRIMITIVE_COMMAND, command);
    Block(0, a);
    Block(1, b);
  }
  void Point(const Vertex &a) {
    chip.Wait(6);
    chip.Store32(SIS6326_PRIMITIVE_COMMAND, kPoint);
    Block(0, a);
  }
  void Fire() {
    chip.Wait(1);
    chip.Fire();
  }
  // The next event's position, while the test has not taken the log (it
  // closes a primitive still taking words).
  uint32_t Next() { return uint32_t(PlatformSiS6326LogCount()); }

  sistest::Chip chip;
  ddtest::DirectDraw *dd = nullptr;
  LPDIRECTDRAWSURFACE primary = nullptr;
  std::deque<Target> targets;  // references stay valid
  bool expectClean = true;
};

// The flat line commands by direction (rule B6) and the smooth ones.
inline uint32_t LineCommand(bool yMajor, bool backwards, bool smooth) {
  static const uint32_t table[2][2][2] = {{{0xC1301, 0x101301}, {0x50301, 0x110301}},
                                          {{0xC1381, 0x101381}, {0x50381, 0x110381}}};
  return table[yMajor][backwards][smooth];
}

}  // namespace modeltest
