#include "tests/wgl/e2e/e2e_image.h"

#include <stdio.h>
#include <sys/wait.h>

#include <sstream>

namespace {

uint32_t Component(uint32_t value8, int bits, int shift) {
  if (bits <= 0) return 0;
  return (value8 >> (8 - bits)) << shift;
}

bool Skipped(const std::vector<RECT> &skipped, int x, int y) {
  for (const RECT &r : skipped)
    if (r.left <= x && x < r.right && r.top <= y && y < r.bottom) return true;
  return false;
}

}  // namespace

ReferenceRequest RequestFor(const PIXELFORMATDESCRIPTOR &pfd, int width, int height,
                            int viewportWidth, int viewportHeight, int originX, int originY,
                            bool yInverted, bool dither) {
  ReferenceRequest r;
  r.width = width, r.height = height;
  r.viewportWidth = viewportWidth, r.viewportHeight = viewportHeight;
  r.originX = originX, r.originY = originY;
  r.colorBits = pfd.cColorBits;
  r.redBits = pfd.cRedBits, r.redShift = pfd.cRedShift;
  r.greenBits = pfd.cGreenBits, r.greenShift = pfd.cGreenShift;
  r.blueBits = pfd.cBlueBits, r.blueShift = pfd.cBlueShift;
  r.alphaBits = pfd.cAlphaBits, r.alphaShift = pfd.cAlphaShift;
  r.accumRedBits = pfd.cAccumRedBits, r.accumGreenBits = pfd.cAccumGreenBits;
  r.accumBlueBits = pfd.cAccumBlueBits, r.accumAlphaBits = pfd.cAccumAlphaBits;
  r.depthBits = pfd.cDepthBits;
  r.stencilBits = pfd.cStencilBits;
  r.doubleBuffer = (pfd.dwFlags & PFD_DOUBLEBUFFER) ? 1 : 0;
  r.yInverted = yInverted ? 1 : 0;
  r.dither = dither ? 1 : 0;
  return r;
}

bool DrawReference(const ReferenceRequest &request, std::vector<uint32_t> *pixels,
                   std::string *why, bool generic) {
  std::ostringstream command;
  if (generic) command << "__GL_DISABLE_FASTPATH=1 ";
  command << "'" << VLX_E2E_REFERENCE_PATH << "'";
#define E2E_REFERENCE_ARGUMENT(name) command << ' ' << request.name;
  E2E_REFERENCE_FIELDS(E2E_REFERENCE_ARGUMENT)
#undef E2E_REFERENCE_ARGUMENT
  FILE *pipe = popen(command.str().c_str(), "r");
  if (pipe == nullptr) return *why = "cannot start " + command.str(), false;
  pixels->assign(size_t(request.width) * size_t(request.height), 0);
  const size_t read = fread(pixels->data(), sizeof(uint32_t), pixels->size(), pipe);
  const int status = pclose(pipe);
  if (status != 0 || read != pixels->size()) {
    std::ostringstream text;
    text << command.str() << ": exit status " << status << ", " << read << " of "
         << pixels->size() << " pixels";
    *why = text.str();
    return false;
  }
  return true;
}

uint32_t ColorMask(const PIXELFORMATDESCRIPTOR &pfd) {
  return ComponentMask(pfd.cRedBits, pfd.cRedShift) |
         ComponentMask(pfd.cGreenBits, pfd.cGreenShift) |
         ComponentMask(pfd.cBlueBits, pfd.cBlueShift);
}

uint32_t NativeFromArgb(uint32_t argb, const PIXELFORMATDESCRIPTOR &pfd) {
  return Component((argb >> 16) & 0xFF, pfd.cRedBits, pfd.cRedShift) |
         Component((argb >> 8) & 0xFF, pfd.cGreenBits, pfd.cGreenShift) |
         Component(argb & 0xFF, pfd.cBlueBits, pfd.cBlueShift);
}

namespace {

bool WithinOneUnit(uint32_t a, uint32_t b, const PIXELFORMATDESCRIPTOR &pfd) {
  const struct {
    BYTE bits, shift;
  } components[] = {{pfd.cRedBits, pfd.cRedShift},
                    {pfd.cGreenBits, pfd.cGreenShift},
                    {pfd.cBlueBits, pfd.cBlueShift}};
  for (const auto &c : components) {
    const uint32_t max = (1u << c.bits) - 1;
    const int d = int((a >> c.shift) & max) - int((b >> c.shift) & max);
    if (d > 1 || d < -1) return false;
  }
  return true;
}

}  // namespace

::testing::AssertionResult SameImage(const std::vector<uint32_t> &expected,
                                     const std::vector<uint32_t> &actual, int width, int height,
                                     uint32_t mask, const std::vector<RECT> &skipped,
                                     const PIXELFORMATDESCRIPTOR *oneUnit) {
  const size_t pixels = size_t(width) * size_t(height);
  if (expected.size() != pixels || actual.size() != pixels)
    return ::testing::AssertionFailure() << "image sizes " << expected.size() << " and "
                                         << actual.size() << ", " << pixels << " wanted";
  size_t differing = 0;
  std::ostringstream first;
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++) {
      if (Skipped(skipped, x, y)) continue;
      const size_t i = size_t(y) * size_t(width) + size_t(x);
      if (((expected[i] ^ actual[i]) & mask) == 0) continue;
      if (oneUnit && WithinOneUnit(expected[i], actual[i], *oneUnit)) continue;
      if (differing++ < 8)
        first << " (" << x << ", " << y << "): expected 0x" << std::hex << (expected[i] & mask)
              << " got 0x" << (actual[i] & mask) << std::dec << ";";
    }
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differing << " of " << pixels
                                       << " pixels differ (rows from the top):" << first.str();
}
