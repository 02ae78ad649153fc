// The driver going (unloaded, or the process exiting) while a thread is
// inside it binding a context.
#include <string>
#include <thread>

#include "tests/loader/entries/gl_exports.h"
#include "tests/loader/entries/loader_fixture.h"

namespace {

struct BindWhileGoing {
  const char *what;
  unsigned tableInside;  // a table the driver hands over inside the bind, 0 for none
};

class LoaderBindWhileGoing : public LoaderTest,
                             public ::testing::WithParamInterface<BindWhileGoing> {};

// The driver's tables are never used once it has had its process detach,
// whatever it hands over while it goes. Inside its bind the driver holds its
// lock, which its process detach waits for, and calls back into the loader:
// the loader must not make it wait in turn.
TEST_P(LoaderBindWhileGoing, TheThreadIsLeftWithNothingCurrent) {
  HDC hdc = FormattedDC();
  HGLRC context = wglCreateContext(hdc);
  ASSERT_NE(context, nullptr);
  FakeDriverSwitchInsideSetContext(GetParam().tableInside);
  FakeDriverHoldSetContextUntilDetach(1);
  BOOL bound = TRUE;
  unsigned marker = 1;
  HGLRC current = context;
  std::thread binder([&] {
    bound = wglMakeCurrent(hdc, context);
    marker = glGetError();
    current = wglGetCurrentContext();
  });
  while (FakeCallsOf(FAKE_DrvSetContext).empty()) std::this_thread::yield();
  EXPECT_TRUE(VlxGlUnloadDriver());
  binder.join();
  EXPECT_FALSE(bound);
  EXPECT_EQ(marker, 0u) << "a GL call went to the driver after its process detach";
  EXPECT_EQ(current, nullptr);
}

const BindWhileGoing kBindsWhileGoing[] = {
    {"TheBindAnswersATable", 0},
    {"ATableIsHandedOverInsideTheBind", 3},
};

INSTANTIATE_TEST_SUITE_P(Binds, LoaderBindWhileGoing, ::testing::ValuesIn(kBindsWhileGoing),
                         [](const ::testing::TestParamInfo<BindWhileGoing> &info) {
                           return std::string(info.param.what);
                         });

}  // namespace
