// "__GL_FORCE_MMX" and "__GL_FORCE_K3D", which the driver reads once per
// process: each case runs this program again in a fresh process with the
// case's environment, and the child reports the word a context got.
#include <fcntl.h>
#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/s_cpu.h"
#include "tests/core/services/cpu_reference.h"
#include "tests/core/services/service_context.h"

extern char **environ;

namespace {

constexpr const char *kReport = "VLX_CPU_REPORT";

// The child's side: the word of a fresh context, written to the named file.
TEST(CpuReport, WritesTheContextWord) {
  const char *path = getenv(kReport);
  if (path == nullptr) GTEST_SKIP() << "runs only as the child of the override cases";
  ServiceContext ctx;
  __glI386GetCPUFlags(ctx.gc());
  FILE *f = fopen(path, "w");
  ASSERT_NE(f, nullptr);
  fprintf(f, "%u", ctx.gc()->constants.cpuFlags);
  fclose(f);
}

// Runs the child with the two variables as given (null: unset); the word it
// reports, or -1.
long RunChild(const char *mmx, const char *k3d) {
  char path[] = "/tmp/vlx_cpu_XXXXXX";
  int fd = mkstemp(path);
  if (fd < 0) return -1;
  close(fd);
  std::vector<std::string> env;
  for (char **e = environ; *e; ++e) {
    if (strncmp(*e, "__GL_FORCE_MMX=", 15) && strncmp(*e, "__GL_FORCE_K3D=", 15) &&
        strncmp(*e, "VLX_CPU_REPORT=", 15)) {
      env.push_back(*e);
    }
  }
  if (mmx) env.push_back(std::string("__GL_FORCE_MMX=") + mmx);
  if (k3d) env.push_back(std::string("__GL_FORCE_K3D=") + k3d);
  env.push_back(std::string(kReport) + "=" + path);
  std::vector<char *> envp;
  for (std::string &s : env) envp.push_back(s.data());
  envp.push_back(nullptr);
  char self[] = "/proc/self/exe";
  char filter[] = "--gtest_filter=CpuReport.*";
  char *argv[] = {self, filter, nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  int spawned = posix_spawn(&pid, self, &actions, nullptr, argv, envp.data());
  posix_spawn_file_actions_destroy(&actions);
  long word = -1;
  int status = 0;
  if (spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
      WEXITSTATUS(status) == 0) {
    FILE *f = fopen(path, "r");
    unsigned value;
    if (f && fscanf(f, "%u", &value) == 1) word = value;
    if (f) fclose(f);
  }
  unlink(path);
  return word;
}

TEST(CpuOverrides, ForcedFeaturesInFreshProcesses) {
  constexpr int kAsDetected = -1;
  struct Case {
    const char *mmx, *k3d;  // null: unset
    int wantMmx, wantK3d;   // 0 or 1, or as detected
  } cases[] = {
      {nullptr, nullptr, kAsDetected, kAsDetected},
      {"0", nullptr, 0, kAsDetected},
      {"1", nullptr, 1, kAsDetected},
      {nullptr, "1", kAsDetected, 1},
      {nullptr, "0", kAsDetected, 0},
      {"0", "0", 0, 0},
      {"1", "0", 1, 0},
      {"0", "1", 0, 1},
      {"1", "1", 1, 1},
      {"abc", "abc", 0, 0},
      {"", "", 0, 0},
      {" 7", "12abc", 1, 1},
      {"-1", "0x10", 1, 0},  // decimal: "0x10" reads as 0
      {"99999999999999999999", "000", 1, 0},
  };
  GlCpuFlags detected = ProcessorFeatures();
  for (const Case &c : cases) {
    SCOPED_TRACE(std::string("MMX=") + (c.mmx ? c.mmx : "(unset)") +
                 " K3D=" + (c.k3d ? c.k3d : "(unset)"));
    GlCpuFlags want = 0;
    if (c.wantMmx == kAsDetected ? (detected & __GL_CPU_MMX) : c.wantMmx) want |= __GL_CPU_MMX;
    if (c.wantK3d == kAsDetected ? (detected & __GL_CPU_K3D) : c.wantK3d) want |= __GL_CPU_K3D;
    EXPECT_EQ(RunChild(c.mmx, c.k3d), static_cast<long>(want));
  }
}

}  // namespace
