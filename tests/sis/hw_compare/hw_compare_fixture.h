// The hardware primitives against the software path through the chip's
// drawing model: a SiS context whose colour and depth buffers lie in
// video-memory surfaces of the DirectDraw stand-in, the chip's registers
// set as validation will set them, and each scene drawn once by the
// hardware procedures and once by the generic ones, into the same
// surfaces, then compared within the model's tolerances.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/sis6326_compare.h"
#include "tests/platform/display/ddraw_support.h"
#include "tests/sis/context/sis_fixture.h"

namespace hwcompare {

constexpr int32_t kWidth = 64, kHeight = 48;
constexpr BYTE kRevisionPlain = 0xD2;    // chip code 0x23
constexpr BYTE kRevisionOrdered = 0x0B;  // chip code 0x26

// A vertex at unbiased window (x, y) with depth z and a colour at the
// context's scale, everything a fill needs already computed.
GlVertex Vertex(const GlContext *gc, double x, double y, double z, GlColor color);

class HardwareAgainstSoftware : public sis_test::SiSLifeTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A SiS context of a chip with this revision (device 0x6326), bound to
  // a window whose back and depth buffers are video-memory surfaces; the
  // modes default to 5-6-5 double-buffered with a 16-bit depth buffer.
  void Open(BYTE revision, const GlModes *modes = nullptr);
  // Releases what Open made.
  void Close();
  // Shading, depth testing and dithering for both paths; validates.
  void UseState(bool smooth, bool depthTest, bool dither = false);

  // Draws `draw` through the hardware (true) and the software (false) path
  // from cleared buffers and compares; the comparison's result. Fails the
  // test when the model recorded a violation.
  SiS6326Comparison Compare(const std::function<void(bool hardware)> &draw, bool *ok);

  // Resets the chip and its model, clears both buffers and loads the
  // registers for the state in use, without leaving the device locked.
  void LoadChip();

  GlContext *gc = nullptr;
  std::unique_ptr<life_test::TestWindow> window;
  ddtest::DirectDraw *dd = nullptr;
  LPDIRECTDRAWSURFACE primary = nullptr, colour = nullptr, depth = nullptr;
  BYTE revision = kRevisionPlain;

 private:
  void Clear();
  std::vector<uint16_t> Read(LPDIRECTDRAWSURFACE s);
  void ProgramChip();
  bool depthTest_ = false, dither_ = false;
};

// "T2 n, T1 n, ..." of a comparison, for failure messages.
std::string Describe(const SiS6326Comparison &c);

// The fixture on each of the two chips: one that takes vertices in the
// given order and one that wants them top-first.
class OnEachChip : public HardwareAgainstSoftware, public ::testing::WithParamInterface<BYTE> {
 protected:
  // Compare, expecting agreement; the counts go into the test's record
  // under `name`.
  SiS6326Comparison ExpectAgree(const char *name, const std::function<void(bool hardware)> &draw);
};

std::string ChipName(const ::testing::TestParamInfo<BYTE> &info);

}  // namespace hwcompare
