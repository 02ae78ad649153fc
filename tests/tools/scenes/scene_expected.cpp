#include "tests/tools/scenes/scene_expected.h"

#include <stdio.h>

#include <sstream>

#include "platform/sis6326.h"
#include "platform/sis6326_compare.h"

namespace {

// One view at width x height from the reference program.
bool DrawView(const char *view, int32_t width, int32_t height, const SceneFrame &format,
              bool topDown, std::vector<uint16_t> *pixels, std::string *why) {
  std::ostringstream command;
  command << "'" << VLX_SCENE_REFERENCE_PATH << "' " << view << ' ' << width << ' ' << height
          << ' ' << format.depthBits << ' ' << format.stencilBits << ' ' << (topDown ? 1 : 0);
  FILE *pipe = popen(command.str().c_str(), "r");
  if (pipe == nullptr) return *why = "cannot start " + command.str(), false;
  pixels->assign(size_t(width) * size_t(height), 0);
  const size_t read = fread(pixels->data(), sizeof(uint16_t), pixels->size(), pipe);
  const int status = pclose(pipe);
  if (status != 0 || read != pixels->size()) {
    std::ostringstream text;
    text << command.str() << ": exit status " << status << ", " << read << " of "
         << pixels->size() << " pixels";
    return *why = text.str(), false;
  }
  return true;
}

}  // namespace

uint16_t Rgb565FromArgb(uint32_t argb) {
  const uint32_t r = (argb >> 19) & 0x1F, g = (argb >> 10) & 0x3F, b = (argb >> 3) & 0x1F;
  return uint16_t(r << 11 | g << 5 | b);
}

std::vector<uint16_t> Rgb565FromArgb(const std::vector<uint32_t> &argb) {
  std::vector<uint16_t> pixels(argb.size());
  for (size_t i = 0; i < argb.size(); i++) pixels[i] = Rgb565FromArgb(argb[i]);
  return pixels;
}

bool DrawSceneReference(const SceneEntry &scene, int32_t width, int32_t height,
                        const SceneFrame &format, bool topDown, std::vector<uint16_t> *pixels,
                        std::string *why) {
  pixels->assign(size_t(width) * size_t(height), 0);
  // Bottom window first: each later one is on top.
  for (int32_t i = 0; i < scene.windowCount; i++) {
    const SceneRect r = ScenePlaceRect(scene.windows[i], width, height);
    std::vector<uint16_t> view;
    if (!DrawView(scene.windows[i].view, r.width, r.height, format, topDown, &view, why))
      return false;
    for (int32_t y = 0; y < r.height; y++)
      for (int32_t x = 0; x < r.width; x++)
        (*pixels)[size_t(r.y + y) * size_t(width) + size_t(r.x + x)] =
            view[size_t(y) * size_t(r.width) + size_t(x)];
  }
  return true;
}

bool DrawSceneThroughSoftDevice(const SceneEntry &scene, int32_t width, int32_t height,
                                std::vector<uint32_t> *argb, SceneFrame *frame, std::string *why) {
  std::ostringstream command;
  command << "VLX_GL_DRIVER='" << VLX_SOFT_DRIVER_PATH << "' '" << VLX_SCENE_FRAME_PATH << "' "
          << scene.name << ' ' << width << ' ' << height;
  FILE *pipe = popen(command.str().c_str(), "r");
  if (pipe == nullptr) return *why = "cannot start " + command.str(), false;
  int32_t bits[2] = {0, 0};
  *frame = SceneFrame{};
  argb->assign(size_t(width) * size_t(height), 0);
  const bool gotHeader = fread(bits, sizeof bits, 1, pipe) == 1 &&
                         fread(frame->vendor, sizeof frame->vendor, 1, pipe) == 1 &&
                         fread(frame->renderer, sizeof frame->renderer, 1, pipe) == 1;
  const size_t read = gotHeader ? fread(argb->data(), sizeof(uint32_t), argb->size(), pipe) : 0;
  const int status = pclose(pipe);
  if (status != 0 || read != argb->size()) {
    std::ostringstream text;
    text << command.str() << ": exit status " << status << ", " << read << " of " << argb->size()
         << " pixels";
    return *why = text.str(), false;
  }
  // Bytes from another process: each string is made to end within its field.
  frame->vendor[sizeof frame->vendor - 1] = 0;
  frame->renderer[sizeof frame->renderer - 1] = 0;
  frame->depthBits = bits[0];
  frame->stencilBits = bits[1];
  return true;
}

::testing::AssertionResult SameImage(const std::vector<uint16_t> &expected,
                                     const std::vector<uint16_t> &actual, int32_t width) {
  if (expected.size() != actual.size())
    return ::testing::AssertionFailure()
           << "sizes differ: " << expected.size() << " and " << actual.size();
  size_t differing = 0;
  std::ostringstream first;
  for (size_t i = 0; i < expected.size(); i++) {
    if (expected[i] == actual[i]) continue;
    if (differing++ < 8)
      first << " (" << i % size_t(width) << ", " << i / size_t(width) << "): 0x" << std::hex
            << expected[i] << " wanted, 0x" << actual[i] << std::dec;
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differing << " pixels differ;" << first.str();
}

::testing::AssertionResult WithinChipTolerances(const std::vector<uint16_t> &software,
                                                const std::vector<uint16_t> &hardware,
                                                int32_t width) {
  if (software.size() != hardware.size() || width <= 0 || software.size() % size_t(width) != 0)
    return ::testing::AssertionFailure() << "frames of " << software.size() << " and "
                                         << hardware.size() << " pixels";
  const int height = int(software.size() / size_t(width));
  const SiS6326Frame hw{hardware.data(), width, height, width * 2, 0x11};
  const SiS6326Frame sw{software.data(), width, height, width * 2, 0x11};
  SiS6326Comparison c;
  const bool ok = PlatformSiS6326Compare(&hw, &sw, nullptr, nullptr, &c);
  const size_t violations = PlatformSiS6326Violations(nullptr, 0);
  if (ok && violations == 0) return ::testing::AssertionSuccess();
  ::testing::AssertionResult r = ::testing::AssertionFailure();
  r << c.differing << " pixels differ, " << c.allowed[SIS6326_ALLOWED_COLOUR]
    << " within one unit, largest difference " << c.largestDifference << ", "
    << violations << " model violations";
  if (c.firstFailedX >= 0) r << ", first failing pixel (" << c.firstFailedX << ", " << c.firstFailedY << ")";
  return r;
}
