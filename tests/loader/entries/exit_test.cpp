// The end of the process, as on the platform: the thread that exits it gets
// the process detach and nothing else, wherever it exits from; threads that
// ended before got their detach; threads still running get nothing; and the
// driver's code stays loaded for them. Each case runs a program of its own.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>

#include <string>
#include <vector>

namespace {

struct ProcessEnd {
  const char *how;  // the exit program's argument
  std::vector<std::string> seen;
};

const ProcessEnd kProcessEnds[] = {
    {"return",
     {"process attach main", "thread attach passer", "thread detach passer",
      "process detach at exit main", "end"}},
    {"exit",
     {"process attach main", "thread attach passer", "thread detach passer",
      "process detach at exit main", "end"}},
    {"exit-elsewhere",
     {"process attach main", "thread attach passer", "thread detach passer",
      "thread attach other", "process detach at exit other", "end"}},
    {"exit-while-running",
     {"process attach main", "thread attach passer", "thread detach passer",
      "thread attach other", "process detach at exit main", "end"}},
};

// The program's output lines. Leak checking is off: the program exits with
// windows and contexts alive on purpose.
std::vector<std::string> RunExitProgram(const char *how) {
  std::string command =
      std::string("ASAN_OPTIONS=detect_leaks=0 '") + VLX_EXIT_PROGRAM_PATH + "' " + how;
  std::vector<std::string> lines;
  FILE *out = popen(command.c_str(), "r");
  if (out == nullptr) return lines;
  char line[256];
  while (fgets(line, sizeof line, out) != nullptr) {
    std::string text(line);
    while (!text.empty() && text.back() == '\n') text.pop_back();
    lines.push_back(text);
  }
  pclose(out);
  return lines;
}

TEST(LoaderProcessExit, TheExitingThreadGetsOnlyTheProcessDetach) {
  setenv("VLX_GL_DRIVER", VLX_FAKE_DRIVER_PATH, 1);
  for (const ProcessEnd &end : kProcessEnds) {
    SCOPED_TRACE(end.how);
    EXPECT_EQ(RunExitProgram(end.how), end.seen);
  }
}

}  // namespace
