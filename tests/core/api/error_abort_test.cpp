// What ends the process: the GLERRORABORT switch and a broken Begin/End
// invariant. Each case runs in a child process of its own.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>

#include "core/context.h"
#include "core/gl_api.h"
#include "core/s_error.h"
#include "tests/core/api/bound_context.h"

namespace {

class Abort : public testing::Test {
 protected:
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

// Where 32-bit programs run under qemu-i386, the emulator adds its own line
// after the process dies; nothing else may follow the message.
#define EMULATOR_LINE "(qemu: uncaught target signal 6 \\(Aborted\\) - core dumped\n)?"

// The message, exactly, and nothing else on the standard error stream.
const char kAbortMessage[] =
    "^__glSetError\\(\\): GLERRORABORT set, aborting\\.\n" EMULATOR_LINE "$";

TEST_F(Abort, WithGLERRORABORTSetTheFirstErrorEndsTheProcess) {
  EXPECT_EXIT(
      {
        BoundContext bound;
        setenv("GLERRORABORT", "", 1);  // any value, even empty
        glEnd();
      },
      testing::KilledBySignal(SIGABRT), kAbortMessage);
}

TEST_F(Abort, AlsoAnErrorThatWouldNotBeRecorded) {
  EXPECT_EXIT(
      {
        BoundContext bound;
        __glSetError(GL_INVALID_VALUE);  // recorded, the switch still off
        setenv("GLERRORABORT", "1", 1);
        __glSetError(GL_INVALID_ENUM);
      },
      testing::KilledBySignal(SIGABRT), kAbortMessage);
}

TEST_F(Abort, WithoutTheSwitchErrorsAreOnlyRecorded) {
  unsetenv("GLERRORABORT");
  BoundContext bound;
  glEnd();
  EXPECT_EQ(glGetError(), GLenum(GL_INVALID_OPERATION));
}

TEST_F(Abort, EndWithABrokenBeginModeStopsOnTheAssertion) {
  EXPECT_EXIT(
      {
        BoundContext bound;
        bound.gc()->beginMode = 5;
        glEnd();
      },
      testing::KilledBySignal(SIGABRT),
      "^Assertion failed: beginMode == __GL_IN_BEGIN, file s_prim, line [0-9]+\n" EMULATOR_LINE "$");
}

}  // namespace
