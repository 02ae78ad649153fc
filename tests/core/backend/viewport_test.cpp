// CheckViewport: whether the biased viewport lies inside the clip box, in
// the clip box's row order, and the validation a change forces, also in the
// middle of a primitive; then the same through the core's contexts.
#include <gtest/gtest.h>

#include <limits.h>

#include <memory>
#include <ostream>

#include "core/context.h"
#include "core/s_backend.h"
#include "tests/core/backend/viewport_scenarios.h"
#include "tests/core/context/life_fixture.h"

namespace life_test {
namespace {

int gValidations;
int32_t gBeginModeSeen;
void CountValidate(GlContext *gc) {
  gValidations++;
  gBeginModeSeen = gc->beginMode;
}

// A zeroed context with the window bias, a drawable size and row order, and
// a clip box.
std::unique_ptr<GlContext> Record(int32_t width, int32_t height, bool yInverted,
                                  const int32_t clipBox[4]) {
  auto gc = std::make_unique<GlContext>();
  gc->constants.viewportXAdjust = 6144;
  gc->constants.viewportYAdjust = 6144;
  gc->constants.width = width;
  gc->constants.height = height;
  gc->constants.yInverted = yInverted;
  for (int i = 0; i < 4; i++) gc->transform.clipBox[i] = clipBox[i];
  gc->procs.validate = CountValidate;
  return gc;
}

struct ViewportCase {
  const char *what;
  bool yInverted;
  int32_t clipBox[4];  // biased, rows in the drawable's order
  int32_t x, y, width, height;
  bool inside;
};

void PrintTo(const ViewportCase &c, std::ostream *os) { *os << c.what; }

// A 640 x 480 window; B is the bias.
constexpr int32_t B = 6144;
const ViewportCase kViewports[] = {
    {"the whole window", false, {B, B, B + 640, B + 480}, 0, 0, 640, 480, true},
    {"a small inner rectangle", false, {B, B, B + 640, B + 480}, 10, 20, 100, 100, true},
    {"one column left", false, {B, B, B + 640, B + 480}, -1, 0, 640, 480, false},
    {"one row below", false, {B, B, B + 640, B + 480}, 0, -1, 10, 10, false},
    {"one column right", false, {B, B, B + 640, B + 480}, 1, 0, 640, 480, false},
    {"one row above", false, {B, B, B + 640, B + 480}, 0, 471, 10, 10, false},
    {"the scissor box", false, {B, B, B + 100, B + 100}, 0, 0, 100, 100, true},
    {"above the scissor box", false, {B, B, B + 100, B + 100}, 0, 380, 100, 100, false},
    // Top-down rows: the scissor box (0, 0, 100, 100) is rows 380 to 480.
    {"top-down: the whole window", true, {B, B, B + 640, B + 480}, 0, 0, 640, 480, true},
    {"top-down: the scissor box", true, {B, B + 380, B + 100, B + 480}, 0, 0, 100, 100, true},
    {"top-down: inside, low in the box", true, {B, B + 380, B + 100, B + 480}, 10, 5, 50, 50,
     true},
    // Read unflipped these rows would match the box's rows exactly.
    {"top-down: at the top, outside the box", true, {B, B + 380, B + 100, B + 480}, 0, 380, 100,
     100, false},
    {"top-down: one row above the box", true, {B, B + 380, B + 100, B + 480}, 0, 1, 100, 100,
     false},
    {"top-down: one row below the window", true, {B, B, B + 640, B + 480}, 0, -1, 640, 480,
     false},
    // Sums that do not fit 32 bits: the right edge must not wrap to a small
    // value.
    {"right edge past 2^31", false, {B, B, B + 640, B + 480}, INT_MAX - B - 100, 0, 2048, 10,
     false},
    {"top edge past 2^31", false, {B, B, B + 640, B + 480}, 0, INT_MAX - B - 100, 10, 2048,
     false},
    {"far left", false, {B, B, B + 640, B + 480}, INT_MIN, 0, 2048, 10, false},
    {"top-down far below", true, {B, B, B + 640, B + 480}, 0, INT_MIN, 10, 2048, false},
};

class CheckViewport : public testing::TestWithParam<ViewportCase> {};

TEST_P(CheckViewport, ComparesInTheClipBoxRowOrder) {
  const ViewportCase &c = GetParam();
  for (uint32_t before : {0u, 1u}) {
    SCOPED_TRACE(before ? "was inside" : "was outside");
    auto gc = Record(640, 480, c.yInverted, c.clipBox);
    gc->state.viewport.x = c.x;
    gc->state.viewport.y = c.y;
    gc->state.viewport.width = c.width;
    gc->state.viewport.height = c.height;
    core::CheckViewport(gc.get());  // settles the range byte
    gc->beginMode = __GL_NOT_IN_BEGIN;
    gc->dirtyMask = 0;
    gc->transform.viewportInside = before;
    gValidations = 0;
    core::CheckViewport(gc.get());
    EXPECT_EQ(gc->transform.viewportInside, c.inside ? 1u : 0u);
    const bool changed = before != (c.inside ? 1u : 0u);
    EXPECT_EQ(gc->beginMode, changed ? __GL_VALIDATE_PENDING : __GL_NOT_IN_BEGIN);
    EXPECT_EQ(gc->dirtyMask, changed ? __GL_DIRTY_GENERIC : 0u);
    EXPECT_EQ(gValidations, 0) << "outside glBegin the next drawing validates";
  }
}

INSTANTIATE_TEST_SUITE_P(Viewports, CheckViewport, testing::ValuesIn(kViewports));

TEST(CheckViewportInsideBegin, ValidatesAtOnceAndStaysInsideBegin) {
  struct Case {
    const char *what;
    uint32_t before;
    int validations;
  } cases[] = {{"containment changes", 0, 1}, {"containment stays", 1, 0}};
  const int32_t box[4] = {B, B, B + 640, B + 480};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    auto gc = Record(640, 480, false, box);
    gc->state.viewport.width = 640;
    gc->state.viewport.height = 480;
    gc->transform.viewportInRange = 1;
    gc->transform.viewportInside = c.before;
    gc->beginMode = __GL_IN_BEGIN;
    gValidations = 0;
    gBeginModeSeen = -1;
    core::CheckViewport(gc.get());
    EXPECT_EQ(gValidations, c.validations);
    if (c.validations) {
      EXPECT_EQ(gBeginModeSeen, __GL_VALIDATE_PENDING) << "validation sees a pending state";
      EXPECT_EQ(gc->dirtyMask & __GL_DIRTY_GENERIC, __GL_DIRTY_GENERIC);
    }
    EXPECT_EQ(gc->beginMode, __GL_IN_BEGIN) << "the primitive goes on";
    EXPECT_EQ(gc->transform.viewportInside, 1u);
  }
}

// The fast set-ups take rows and columns from float bits that hold only
// for biased coordinates in [4096, 8192): the range byte says whether the
// viewport, rows as the clip box runs them, stays within [4096, 8191].
TEST(CheckViewportRange, TheBiasedViewportWithinTheFastSetUpsRange) {
  struct Case {
    const char *what;
    bool yInverted;
    int32_t height;  // the drawable's
    int32_t x, y, width, height_;
    bool inRange;
  } cases[] = {
      {"2047 pixels at the origin", false, 480, 0, 0, 2047, 2047, true},
      {"2048 pixels wide at the origin", false, 480, 0, 0, 2048, 10, false},
      {"2048 pixels high at the origin", false, 480, 0, 0, 10, 2048, false},
      {"down to biased 4096", false, 480, -2048, -2048, 10, 10, true},
      {"one column below biased 4096", false, 480, -2049, 0, 10, 10, false},
      {"one row below biased 4096", false, 480, 0, -2049, 10, 10, false},
      {"top-down: 2047 pixels at the origin", true, 480, 0, 0, 2047, 2047, true},
      // Flipped, row 0 of the viewport lies height - y below the top.
      {"top-down: reaching 2048 rows below the top", true, 480, 0, 480 - 2048, 10, 10, false},
      {"top-down: reaching 2047 rows below the top", true, 480, 0, 480 - 2047, 10, 10, true},
  };
  const int32_t box[4] = {B, B, B + 640, B + 480};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    auto gc = Record(640, c.height, c.yInverted, box);
    gc->state.viewport.x = c.x;
    gc->state.viewport.y = c.y;
    gc->state.viewport.width = c.width;
    gc->state.viewport.height = c.height_;
    gc->transform.viewportInRange = !c.inRange;
    core::CheckViewport(gc.get());
    EXPECT_EQ(gc->transform.viewportInRange, c.inRange ? 1u : 0u);
    EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_GENERIC) << "a change of the range revalidates";
  }
}

// A top-down drawable flips the viewport by its height: growing it moves a
// viewport that hangs below the window out of the range although its
// containment in the clip box stays the same.
TEST(CheckViewportRange, ATopDownResizeLeavingTheRangeRevalidates) {
  const int32_t box[4] = {B, B, B + 640, B + 480};
  auto gc = Record(640, 480, true, box);
  gc->state.viewport.y = -1000;
  gc->state.viewport.width = gc->state.viewport.height = 100;
  core::CheckViewport(gc.get());
  ASSERT_EQ(gc->transform.viewportInRange, 1u);
  const uint32_t inside = gc->transform.viewportInside;
  gc->dirtyMask = 0;
  gc->beginMode = __GL_NOT_IN_BEGIN;
  gc->constants.height = 1100;  // rows 1100 + 1000 below the top reach biased 8244
  core::CheckViewport(gc.get());
  EXPECT_EQ(gc->transform.viewportInside, inside);
  EXPECT_EQ(gc->transform.viewportInRange, 0u);
  EXPECT_EQ(gc->dirtyMask, __GL_DIRTY_GENERIC);
  EXPECT_EQ(gc->beginMode, __GL_VALIDATE_PENDING);
}

// ---- The same check through the core's contexts ----

class CoreBackEnd : public LifeTest {
 protected:
  GlContext *CreateContext(const GlModes &modes) { return Create(modes); }
  static void CheckViewport(GlContext *gc) { core::CheckViewport(gc); }
};

}  // namespace
}  // namespace life_test

namespace viewport_scenarios {
INSTANTIATE_TYPED_TEST_SUITE_P(Core, ViewportScenarios, life_test::CoreBackEnd);
}  // namespace viewport_scenarios

