// The core's drawing hardly depends on the drawable's row order: the scene
// drawn into a top-down buffer is within one step per component of the one
// drawn bottom-up, for each colour layout, with and without dithering, and
// for heights of every remainder modulo 4. Only the reference program runs:
// no driver is loaded. It runs the generic triangle path: the fast set-ups
// snap vertices down to 1/16 pixel in the buffer's own row order, so their
// coverage may differ by a pixel near an edge between the two orders; the
// path-agreement tests hold them to the generic path in both.
#include <string>

#include "tests/wgl/e2e/e2e_fixture.h"

namespace {

struct OrientationCase {
  const char *name;
  BYTE colorBits;
  BYTE redBits, redShift, greenBits, greenShift, blueBits, blueShift;
  BYTE depthBits;
  bool doubleBuffer;
};

const OrientationCase kLayouts[] = {
    {"Rgb565Double", 16, 5, 11, 6, 5, 5, 0, 16, true},
    {"Rgb565Single", 16, 5, 11, 6, 5, 5, 0, 32, false},
    {"Rgb555Double", 16, 5, 10, 5, 5, 5, 0, 16, true},
    {"Rgb888In24", 24, 8, 16, 8, 8, 8, 0, 32, true},
    {"Rgb888In32", 32, 8, 16, 8, 8, 8, 0, 16, true},
};

class E2eOrientation : public ::testing::TestWithParam<OrientationCase> {};

int Field(uint32_t pixel, int bits, int shift) { return int((pixel >> shift) & ((1u << bits) - 1)); }

// Every component of every pixel within one step of the other image's.
::testing::AssertionResult WithinOneStep(const std::vector<uint32_t> &a,
                                         const std::vector<uint32_t> &b,
                                         const PIXELFORMATDESCRIPTOR &pfd) {
  if (a.size() != b.size()) return ::testing::AssertionFailure() << "sizes differ";
  const int fields[3][2] = {{pfd.cRedBits, pfd.cRedShift},
                            {pfd.cGreenBits, pfd.cGreenShift},
                            {pfd.cBlueBits, pfd.cBlueShift}};
  size_t differing = 0;
  for (size_t i = 0; i < a.size(); i++) {
    bool differs = false;
    for (const auto &f : fields) {
      const int step = Field(a[i], f[0], f[1]) - Field(b[i], f[0], f[1]);
      if (step > 1 || step < -1)
        return ::testing::AssertionFailure()
               << "pixel " << i << ": 0x" << std::hex << a[i] << " and 0x" << b[i];
      differs |= step != 0;
    }
    differing += differs;
  }
  return ::testing::AssertionSuccess() << differing << " pixels one step apart";
}

TEST_P(E2eOrientation, TopDownAndBottomUpDifferByOneStepAtMost) {
  const OrientationCase &c = GetParam();
  PIXELFORMATDESCRIPTOR pfd{};
  pfd.nSize = sizeof pfd, pfd.nVersion = 1;
  pfd.dwFlags = PFD_SUPPORT_OPENGL | (c.doubleBuffer ? PFD_DOUBLEBUFFER : 0);
  pfd.cColorBits = c.colorBits;
  pfd.cRedBits = c.redBits, pfd.cRedShift = c.redShift;
  pfd.cGreenBits = c.greenBits, pfd.cGreenShift = c.greenShift;
  pfd.cBlueBits = c.blueBits, pfd.cBlueShift = c.blueShift;
  pfd.cDepthBits = c.depthBits;
  pfd.cStencilBits = 8;
  const struct {
    int width, height;
  } kSizes[] = {{96, 64}, {97, 65}, {90, 66}, {83, 67}};
  for (const auto &size : kSizes) {
    SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
    for (bool dither : {false, true}) {
      SCOPED_TRACE(dither ? "dithered" : "not dithered");
      std::vector<uint32_t> topDown, bottomUp;
      std::string why;
      ASSERT_TRUE(DrawReference(RequestFor(pfd, size.width, size.height, size.width,
                                           size.height, 37, 29, true, dither),
                                &topDown, &why, true))
          << why;
      ASSERT_TRUE(DrawReference(RequestFor(pfd, size.width, size.height, size.width,
                                           size.height, 37, 29, false, dither),
                                &bottomUp, &why, true))
          << why;
      // Not the same pixels: the spans are walked from the other end, so the
      // interpolated colours pick up other rounding errors, and a few pixels
      // round the other way. Dithered, the grid also flips with the rows: it
      // is indexed by the core's window rows, which count from the top in a
      // top-down buffer. Either way a pixel moves by one step at most.
      EXPECT_TRUE(WithinOneStep(bottomUp, topDown, pfd));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, E2eOrientation, ::testing::ValuesIn(kLayouts),
                         RowName());

}  // namespace
