// Every row of the state table drawn through the whole road with the SiS
// device (the chip model executing what the driver sends) and through the
// software-only device's driver library in a process of its own, compared by
// the chip model's comparison helper. Each row also asserts that the model
// recorded no violation and that the primitive kinds the row names went to
// the chip. The helper's report for each row (counts per tolerance, largest
// and mean channel difference) is printed and recorded, so that an offset
// inside the tolerances shows in review.
//
// The process's settings come from the environment its test entry sets:
// HW_STATES_DISPLAY (16: 5-6-5, the default; 15: 5-5-5), HW_STATES_REVISION
// (the chip's PCI revision, hexadecimal; the stand-in's default otherwise)
// and GLFORCEZBITS, which both devices read.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <map>
#include <sstream>

#include "platform/sis6326.h"
#include "platform/sis6326_compare.h"
#include "tests/sis/hw_states/state_road.h"

namespace hwstates {
namespace {

// With a forced depth-buffer size only the rows that use the depth buffer run.
bool DepthRowsOnly() { return getenv("GLFORCEZBITS") != nullptr; }

bool Runs(const StateRow &row) { return row.depth || !DepthRowsOnly(); }

int DisplayBits() {
  const char *v = getenv("HW_STATES_DISPLAY");
  return v && atoi(v) == 15 ? 15 : 16;
}

struct SoftFrame {
  std::string vendor;
  std::vector<uint32_t> argb;
};

// The software-only device's frames of the rows this run draws.
std::map<std::string, SoftFrame> &SoftFrames() {
  static std::map<std::string, SoftFrame> frames;
  return frames;
}
std::string &SoftFailure() {
  static std::string why;
  return why;
}

void DrawThroughSoftDevice(const std::vector<std::string> &rows) {
  std::ostringstream command;
  command << "VLX_GL_DRIVER='" << VLX_SOFT_DRIVER_PATH << "' '" << VLX_STATE_FRAME_PATH << "' "
          << DisplayBits();
  for (const std::string &r : rows) command << ' ' << r;
  FILE *pipe = popen(command.str().c_str(), "r");
  if (pipe == nullptr) {
    SoftFailure() = "cannot start " + command.str();
    return;
  }
  for (const std::string &r : rows) {
    char vendor[16];
    SoftFrame f;
    f.argb.assign(size_t(kWidth) * size_t(kHeight), 0);
    if (fread(vendor, sizeof vendor, 1, pipe) != 1 ||
        fread(f.argb.data(), sizeof(uint32_t), f.argb.size(), pipe) != f.argb.size())
      break;
    vendor[sizeof vendor - 1] = 0;
    f.vendor = vendor;
    SoftFrames()[r] = f;
  }
  const int status = pclose(pipe);
  if (status != 0) SoftFailure() = command.str().substr(0, 200) + "...: exit status " +
                                   std::to_string(status);
}

// What the model drew from record entry `from` on, as StateKinds.
uint32_t KindsDrawn(size_t from) {
  std::vector<SiS6326Drawn> drawn(PlatformSiS6326Drawn(nullptr, 0));
  drawn.resize(PlatformSiS6326Drawn(drawn.data(), drawn.size()));
  uint32_t kinds = 0;
  for (size_t i = from; i < drawn.size(); i++) {
    const SiS6326Drawn &d = drawn[i];
    if (d.refused || d.covered == 0) continue;
    if (d.kind == SIS6326_EVENT_FILL_2D) kinds |= kFills;
    else if (d.command & 0x6000) kinds |= kTriangles;
    else if (d.command == 0x100 || d.command == 0x200) kinds |= kPoints;
    else kinds |= kLines;
  }
  return kinds;
}

// Whether a primitive in the log drew with texture set-up bit 5 (levels in
// non-local memory) and texturing on; the log is emptied.
bool DrewNonLocalTexels() {
  constexpr uint32_t kSetupWord = (0x8A38 - SIS6326_3D_FIRST) / 4, kNonLocal = 0x20;
  constexpr uint32_t kModeWord = 0, kModeTexture = 1u << 10;
  std::vector<SiS6326Event> events(1024);
  bool found = false;
  while (size_t n = PlatformSiS6326TakeLog(events.data(), events.size()))
    for (size_t i = 0; i < n; i++)
      if (events[i].kind == SIS6326_EVENT_PRIMITIVE && (events[i].state[kSetupWord] & kNonLocal) &&
          (events[i].state[kModeWord] & kModeTexture))
        found = true;
  return found;
}

std::string Report(const SiS6326Comparison &c) {
  static const char *const kNames[SIS6326_TOLERANCES] = {
      "none", "T2 colour", "T4 depth", "T1 edge", "T3 line step", "T4 depth tie",
      "T5 texel boundary", "T5 level switch", "T5 switch-over"};
  std::ostringstream s;
  s << c.differing << " of " << c.compared << " differ";
  for (uint32_t t = 0; t < SIS6326_TOLERANCES; t++)
    if (c.allowed[t]) s << ", " << kNames[t] << " " << c.allowed[t];
  s << "; largest " << c.largestDifference << ", mean " << c.meanDifference;
  if (c.firstFailedX >= 0) s << "; first failing (" << c.firstFailedX << ", " << c.firstFailedY << ")";
  return s.str();
}

class StateTableRoad : public ::testing::TestWithParam<StateRow> {
 protected:
  static void SetUpTestSuite() {
    if (const char *r = getenv("HW_STATES_REVISION"))
      PlatformSiS6326SetChip(0x6326, BYTE(strtoul(r, nullptr, 16)));
    PlatformSiS6326SetLogging(FALSE);  // the model draws either way
    ASSERT_TRUE(SetDisplay(DisplayBits()));
    // One process draws every row this run takes on the software side.
    std::vector<std::string> rows;
    const ::testing::UnitTest *unit = ::testing::UnitTest::GetInstance();
    for (int i = 0; i < unit->total_test_suite_count(); i++) {
      const ::testing::TestSuite *suite = unit->GetTestSuite(i);
      for (int j = 0; j < suite->total_test_count(); j++) {
        const ::testing::TestInfo *info = suite->GetTestInfo(j);
        if (!info->should_run() || info->value_param() == nullptr) continue;
        const std::string name = info->name();
        const StateRow *row = FindState(name.substr(name.find('/') + 1));
        if (row && Runs(*row)) rows.push_back(row->name);
      }
    }
    DrawThroughSoftDevice(rows);
  }
};

TEST_P(StateTableRoad, ChipDrawsWhatTheSoftwareDeviceDraws) {
  const StateRow &row = GetParam();
  if (!Runs(row)) GTEST_SKIP() << "no depth buffer in use";
  const int bits = DisplayBits();
  ASSERT_EQ(SoftFrames().count(row.name), 1u) << SoftFailure();
  const SoftFrame &soft = SoftFrames()[row.name];
  EXPECT_STRNE(soft.vendor.c_str(), "SiS") << "the software-only device did not draw";

  PlatformSiS6326ClearViolations();
  // The log shows where the texture's levels lay; kept only where asked.
  PlatformSiS6326SetLogging(IsNonLocal(row));
  const size_t recordStart = PlatformSiS6326Drawn(nullptr, 0);
  std::vector<uint32_t> argb;
  std::string vendor, why;
  bool coverKept = true;
  ASSERT_TRUE(DrawState(row, &argb, &vendor, &why, &coverKept)) << why;
  EXPECT_TRUE(coverKept) << "drawing the front buffer changed the window over it";
  EXPECT_EQ(vendor, "SiS") << "the SiS device did not draw";
  if (const char *z = getenv("GLFORCEZBITS")) {
    EXPECT_EQ(LastDepthBits(), atoi(z));
  }

  SiS6326Violation v[4];
  const size_t violations = PlatformSiS6326Violations(v, 4);
  EXPECT_EQ(violations, 0u) << (violations ? std::string(v[0].rule) + ": " + v[0].what : "");
  const uint32_t kinds = KindsDrawn(recordStart);
  printf("[ chip     ] %s: kinds 0x%x\n", row.name.c_str(), unsigned(kinds));
  EXPECT_EQ(kinds & row.kinds, row.kinds)
      << "kinds drawn by the chip 0x" << std::hex << kinds << ", wanted 0x" << row.kinds;

  if (IsNonLocal(row)) {
    EXPECT_TRUE(DrewNonLocalTexels()) << "no textured primitive read non-local levels";
    PlatformSiS6326SetLogging(FALSE);
  }

  const std::vector<uint16_t> hw = ScreenPixels(argb, bits);
  const std::vector<uint16_t> sw = ScreenPixels(soft.argb, bits);
  const uint32_t code = bits == 15 ? 0x10 : 0x11;
  const SiS6326Frame hwFrame{hw.data(), kWidth, kHeight, kWidth * 2, code};
  const SiS6326Frame swFrame{sw.data(), kWidth, kHeight, kWidth * 2, code};
  SiS6326Comparison c{};
  const bool same = PlatformSiS6326Compare(&hwFrame, &swFrame, nullptr, nullptr, &c) != FALSE;
  const std::string report = Report(c);
  printf("[ report   ] %s: %s\n", row.name.c_str(), report.c_str());
  RecordProperty("comparison", report);
  EXPECT_TRUE(same) << report;
  // A row that draws nothing visible compares nothing.
  EXPECT_GT(c.compared, 0u);
}

}  // namespace

// Rows by name in the test's messages.
void PrintTo(const StateRow &row, std::ostream *os) { *os << row.name; }

namespace {

std::string RowName(const ::testing::TestParamInfo<StateRow> &info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Rows, StateTableRoad, ::testing::ValuesIn(StateTable()), RowName);

}  // namespace
}  // namespace hwstates
