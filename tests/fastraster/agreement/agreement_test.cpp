// The generated table of states drawn along this process's triangle path:
// each scene against the per-pixel reference where it models the state,
// and against the generic path's image. "VLX_AGREEMENT_LONG" set takes the
// long form (every value of every variant, three seeds).
#include <stdlib.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "core/gl_api.h"
#include "tests/fastraster/agreement/agreement_fixture.h"

namespace agreement {
namespace {

using scene_test::kHeight;
using scene_test::kWidth;
using scene_test::SceneReference;

// Each blend stores a truncated result and the pixel's next blend starts
// from that stored value, so the paths' one unit is per blended write: a
// pixel two triangles of a folding strip both blend may be two units apart.
std::vector<ColorAllowance> BlendAllowances(SceneReference &ref) {
  std::vector<ColorAllowance> out;
  for (int32_t row = 0; row < kHeight; row++)
    for (int32_t x = 0; x < kWidth; x++) {
      ColorAllowance al;
      al.units = std::max(1, int(ref.At(x, row).writes));
      out.push_back(al);
    }
  return out;
}

class TableTest : public AgreementTest {
 protected:
  void RunCase(const AgreementCase &c) {
    SCOPED_TRACE(c.name);
    if (!OpenTarget(c)) return;
    SceneReference ref(Target());
    const Image image = DrawCase(c, &ref);
    if (overlapped) {
      // The hidden part keeps its colour. The pixels are not the context's,
      // so what happens to their depth and stencil is the window system's
      // choice: the generic span tests and writes them, the paths that cut
      // triangles to the visible rectangles leave them. Neither the
      // reference, which knows no windows, nor the generic image is asked.
      for (int32_t row = kHidden.y0; row < kHidden.y1; row++)
        for (int32_t x = kHidden.x0; x < kHidden.x1; x++) {
          scene_test::RefPixel &p = ref.At(x, row);
          EXPECT_EQ(image.color[size_t(row * kWidth + x)], p.initial)
              << "hidden pixel " << x << ", row " << row << " written";
          p.ambiguous = true;
        }
    }
    std::vector<bool> skip = Skipped(ref);
    // Textured states compare within the texture path's own bounds.
    allowances.clear();
    if (c.texture.on) allowances = TextureAllowances(c, Target(), &skip);
    if (c.state.blend) allowances = BlendAllowances(ref);
    indexTestRef = c.indexTest ? int32_t(c.indexRef) : -1;
    if (c.Modeled()) Compare(ref, c.name);
    AgainstGeneric(c.name, image, skip);
    EXPECT_TRUE(frontMemory->GuardsIntact()) << "a store before or after the front buffer";
  }
};

TEST_F(TableTest, EveryStateDrawsTheReferenceAndTheGenericImage) {
  const bool longForm = getenv("VLX_AGREEMENT_LONG") != nullptr;
  for (const AgreementCase &c : AgreementCases(longForm)) {
    RunCase(c);
    if (HasFatalFailure()) return;
  }
}

TEST_F(TableTest, DeclinedStatesDrawTheGenericImage) {
  for (const AgreementCase &c : DeclinedCases()) RunCase(c);
}

}  // namespace
}  // namespace agreement
