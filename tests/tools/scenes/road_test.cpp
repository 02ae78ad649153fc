// The sample scenes through the whole road (loader, driver library with the
// SiS device, windows on a 16-bit screen, SwapBuffers, the screen read back)
// equal, within the chip model's tolerances (the clears go through the 2D
// engine), the same scenes through the software-only device's driver
// library in a separate process, and the same scenes drawn by the core into
// memory of the same 5-6-5 format in a separate program, laid out as the
// windows are; the software-only device's frames equal the core's pixel for
// pixel. Several sizes: even and odd, wider and narrower than 4:3.
#include <ctype.h>
#include <stdlib.h>

#include <ostream>
#include <string>
#include <tuple>

#include "platform/sis6326.h"
#include "platform/vlxdesktop.h"
#include "tests/tools/scenes/scene_expected.h"

// Scenes by name in the test's messages.
void PrintTo(const SceneEntry &scene, std::ostream *os) { *os << scene.name; }

namespace {

struct SizeCase {
  const char *name;
  int32_t width, height;
};

const SizeCase kSizes[] = {
    {"96x72", 96, 72},
    {"83x61", 83, 61},
    {"50x90", 50, 90},
};

void PrintTo(const SizeCase &size, std::ostream *os) { *os << size.name; }

using RoadCase = std::tuple<SceneEntry, SizeCase>;

class SceneRoad : public ::testing::TestWithParam<RoadCase> {
 protected:
  void SetUp() override {
    // The loader finds the driver library beside itself: the SiS device.
    unsetenv("VLX_GL_DRIVER");
    unsetenv("VLX_SOFT_BUFFER_SET");
  }
  void TearDown() override { EXPECT_TRUE(DesktopSetDisplayMode(16, 1024, 768)); }

  // The scene through the road at the case's size: what the screen shows.
  // The chip starts from power-on, so its model's record (what the
  // comparison's tolerances look up) holds this scene alone.
  static void Render(const SceneEntry &scene, const SizeCase &size, std::vector<uint32_t> *argb,
                     SceneFrame *frame) {
    PlatformSiS6326Reset();
    PlatformSiS6326SetLogging(FALSE);
    ASSERT_TRUE(SceneRoadSetDisplay(size.width, size.height));
    argb->assign(size_t(size.width) * size_t(size.height), 0);
    char why[256] = "";
    ASSERT_TRUE(SceneRoadRender(scene, size.width, size.height, argb->data(), frame, why,
                                sizeof why))
        << why;
  }
};

TEST_P(SceneRoad, ShowsWhatTheCoreDrawsInMemory) {
  const SceneEntry &scene = std::get<0>(GetParam());
  const SizeCase &size = std::get<1>(GetParam());
  std::vector<uint32_t> argb;
  SceneFrame frame;
  ASSERT_NO_FATAL_FAILURE(Render(scene, size, &argb, &frame));
  EXPECT_GT(frame.depthBits, 0);
  EXPECT_GT(frame.stencilBits, 0) << "the stencil view needs a stencil buffer";
  const std::vector<uint16_t> shown = Rgb565FromArgb(argb);

  // Window buffers run from the top of the screen down.
  std::vector<uint16_t> expected;
  std::string reason;
  ASSERT_TRUE(
      DrawSceneReference(scene, size.width, size.height, frame, true, &expected, &reason))
      << reason;
  ::testing::AssertionResult same = WithinChipTolerances(expected, shown, size.width);
  if (!same) {
    std::vector<uint16_t> bottomUp;
    if (DrawSceneReference(scene, size.width, size.height, frame, false, &bottomUp, &reason) &&
        WithinChipTolerances(bottomUp, shown, size.width))
      same << " (the bottom-up reference matches)";
  }
  EXPECT_TRUE(same);
}

// The SiS device's frame against the software-only device's: each drawn by
// its own device, the same format, every pixel within the chip's
// tolerances; and the software-only device's frame is the core's own.
TEST_P(SceneRoad, ShowsWhatTheSoftwareDeviceShows) {
  const SceneEntry &scene = std::get<0>(GetParam());
  const SizeCase &size = std::get<1>(GetParam());
  std::vector<uint32_t> argb;
  SceneFrame frame;
  ASSERT_NO_FATAL_FAILURE(Render(scene, size, &argb, &frame));
  std::vector<uint32_t> softArgb;
  SceneFrame softFrame;
  std::string reason;
  ASSERT_TRUE(
      DrawSceneThroughSoftDevice(scene, size.width, size.height, &softArgb, &softFrame, &reason))
      << reason;
  EXPECT_STREQ(frame.vendor, "SiS") << "the SiS device did not draw";
  // A scene that fell back to software whole proves nothing of the chip.
  EXPECT_GT(frame.primitives + frame.fills, 0u) << "the chip drew nothing";
  EXPECT_GT(frame.pixelsWritten, 0u);
  EXPECT_EQ(std::string(frame.renderer).rfind("6326", 0), 0u) << frame.renderer;
  EXPECT_STRNE(softFrame.vendor, "SiS") << "the software-only device did not draw";
  EXPECT_NE(softFrame.vendor[0], 0) << "the software-only device did not draw";
  EXPECT_EQ(frame.depthBits, softFrame.depthBits);
  EXPECT_EQ(frame.stencilBits, softFrame.stencilBits);
  // The screen is 5-6-5: compare the pixels it holds.
  EXPECT_TRUE(WithinChipTolerances(Rgb565FromArgb(softArgb), Rgb565FromArgb(argb), size.width));
  std::vector<uint16_t> expected;
  ASSERT_TRUE(
      DrawSceneReference(scene, size.width, size.height, softFrame, true, &expected, &reason))
      << reason;
  EXPECT_TRUE(SameImage(expected, Rgb565FromArgb(softArgb), size.width));
}

// The comparisons above mean something only when the windows hold a
// picture: each window's part of the screen has more than one colour. And
// no window drew into one above it (a front-buffer window included).
TEST_P(SceneRoad, EveryWindowShows) {
  const SceneEntry &scene = std::get<0>(GetParam());
  const SizeCase &size = std::get<1>(GetParam());
  std::vector<uint32_t> argb;
  SceneFrame frame;
  ASSERT_NO_FATAL_FAILURE(Render(scene, size, &argb, &frame));
  EXPECT_EQ(frame.coveredChanged, 0u);
  for (int32_t i = 0; i < scene.windowCount; i++) {
    SCOPED_TRACE(testing::Message() << "window " << i << ": " << scene.windows[i].view);
    const SceneRect r = ScenePlaceRect(scene.windows[i], size.width, size.height);
    const uint32_t corner = argb[size_t(r.y) * size_t(size.width) + size_t(r.x)];
    bool varied = false;
    for (int32_t y = r.y; y < r.y + r.height && !varied; y++)
      for (int32_t x = r.x; x < r.x + r.width && !varied; x++)
        varied = argb[size_t(y) * size_t(size.width) + size_t(x)] != corner;
    EXPECT_TRUE(varied);
  }
}

std::string RoadName(const ::testing::TestParamInfo<RoadCase> &info) {
  std::string name = std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
  for (char &c : name)
    if (!isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Scenes, SceneRoad,
                         ::testing::Combine(::testing::ValuesIn(kScenes),
                                            ::testing::ValuesIn(kSizes)),
                         RoadName);

}  // namespace
